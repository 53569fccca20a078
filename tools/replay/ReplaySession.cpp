#include "tools/replay/ReplaySession.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>

#include "engine/Engine.h"
#include "engine/VirtualKey.h"
#include "game/GameRandom.h"
#include "windows/OGameWindow.h"
#include "game/StateTrace.h"
#include "graphics/OffscreenPicture.h"
#include "storage/DataFilePath.h"

namespace {
constexpr uint32_t kFramePeriodMs = 20;
}  // namespace

ReplaySession::ReplaySession(uint32_t seed) {
    engine::SetPlatform(&os_);
    engine::SetGameThreads(false);
    previousSound_ = platform::SoundPlayer::SetShared(&sound_);
    game_random::FixSeed(seed);
    os_.Manual().Set(1000);
}

PrivateSavedFiles::PrivateSavedFiles() {
    if (!folder_.Path().empty()) OverrideSavedFilesFolder(folder_.Path().string());
}

// The folder itself goes with its member, after the game has stopped saving there.
PrivateSavedFiles::~PrivateSavedFiles() {
    if (!folder_.Path().empty()) OverrideSavedFilesFolder(std::nullopt);
}

ReplaySession::~ReplaySession() {
    // Dialogs first (the newest window is the one in front), then the game window; none may outlive
    // the platform its native window belongs to.
    for (size_t left = os_.WindowCount(); left > 0; --left) {
        platform::HeadlessNativeWindow* native = os_.LastWindow();
        auto* window = native ? static_cast<OWindow*>(native->UserData()) : nullptr;
        if (!window || !OWindow::Exists(window)) break;
        window->RequestStop();
        window->Teardown();
        os_.Pump();
    }
    if (window_ && OWindow::Exists(window_)) {
        window_->RequestStop();
        window_->Teardown();
    }
    os_.Pump();
    game_random::FixSeed(std::nullopt);
    platform::SoundPlayer::SetShared(previousSound_);
    engine::SetPlatform(nullptr);
    engine::SetGameThreads(true);
}

bool ReplaySession::Start() {
    OGameWindow::UseGameWindowDefaults();
    window_ = new OGameWindow();
    if (window_->CreationFailed() || !window_->Start()) return false;
    os_.Pump();
    return true;
}

OWindow* ReplaySession::Front() {
    if (!window_ || !OWindow::Exists(window_)) return nullptr;
    windows_.Refresh(window_);
    return windows_.Front();
}

void ReplaySession::Key(int code) {
    if (OWindow* front = Front()) windows_.Key(*front, code);
}

void ReplaySession::Click(int x, int y, int button) {
    if (OWindow* front = Front()) windows_.Click(*front, x, y, button);
}

void ReplaySession::Focus(bool on) {
    if (OWindow* front = Front()) windows_.Focus(*front, on);
}

void ReplaySession::StepFrame() {
    if (!window_ || !OWindow::Exists(window_)) return;
    os_.Manual().Advance(kFramePeriodMs);
    window_->RunFrame();
    os_.Pump();
    ++frame_;
}

void ReplaySession::StepDialogs() {
    if (window_ && OWindow::Exists(window_)) windows_.StepDialogs(window_);
}

std::string ReplaySession::StateLine() {
    OWindow* front = Front();
    return StateTrace::Line(frame_, HeadlessWindows::DialogName(front));
}

bool RunReplay(uint32_t seed, int frames, const std::vector<ScriptInput>& inputs, std::ostream& out) {
    PrivateSavedFiles savedFiles;
    ReplaySession session(seed);
    if (!session.Start()) return false;
    size_t next = 0;
    std::vector<const ScriptInput*> shots;
    for (int frame = 1; frame <= frames; ++frame) {
        shots.clear();
        for (; next < inputs.size() && inputs[next].frame <= frame; ++next) {
            const ScriptInput& in = inputs[next];
            switch (in.kind) {
                case ScriptInput::Kind::Shot:
                    shots.push_back(&in);
                    break;
                case ScriptInput::Kind::Key:
                    session.Key(in.code);
                    break;
                case ScriptInput::Kind::Click:
                    session.Click(in.x, in.y, vk::kLeftButton);
                    break;
                case ScriptInput::Kind::RightClick:
                    session.Click(in.x, in.y, vk::kRightButton);
                    break;
                case ScriptInput::Kind::Focus:
                    session.Focus(in.code != 0);
                    break;
            }
        }
        session.StepFrame();
        session.StepDialogs();
        out << session.StateLine() << '\n';
        for (const ScriptInput* shot : shots) {
            if (session.Window() && !WriteWindowPpm(*session.Window(), shot->file))
                std::fprintf(stderr, "marshwade-replay: cannot write %s\n", shot->file.c_str());
        }
    }
    return true;
}

bool WriteWindowPpm(const OGameWindow& window, const std::string& path) {
    const OffscreenPicture* picture = window.GetPicture();
    if (!picture) return false;
    const int w = std::min(window.Width(), picture->Width()),
              h = std::min(window.Height(), picture->Height());
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << w << ' ' << h << "\n255\n";
    std::vector<char> row(static_cast<size_t>(w) * 3);
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = picture->Row(y);
        for (int x = 0; x < w; ++x) {
            row[static_cast<size_t>(x) * 3] = static_cast<char>(src[x * 3 + 2]);
            row[static_cast<size_t>(x) * 3 + 1] = static_cast<char>(src[x * 3 + 1]);
            row[static_cast<size_t>(x) * 3 + 2] = static_cast<char>(src[x * 3]);
        }
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
    return static_cast<bool>(out);
}
