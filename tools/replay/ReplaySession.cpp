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
#include "game/OGameWindow.h"
#include "game/StateTrace.h"
#include "graphics/OffscreenPicture.h"
#include "scores/DataFilePath.h"

using platform::NativeEventType;

namespace {
constexpr uint32_t kFramePeriodMs = 20;

int KeyCode(std::string_view name) {
    static const std::pair<const char*, int> kKeys[] = {
        {"Left", vk::kLeft},     {"Right", vk::kRight}, {"Up", vk::kUp},
        {"Down", vk::kDown},     {"Space", vk::kSpace}, {"P", 'P'},
        {"Escape", vk::kEscape}, {"Enter", vk::kEnter}, {"Tab", vk::kTab}};
    for (const auto& [key, code] : kKeys) {
        if (name == key) return code;
    }
    int code = 0;
    for (char c : name) {
        if (c < '0' || c > '9' || code > 9999) return -1;
        code = code * 10 + (c - '0');
    }
    return name.empty() ? -1 : code;
}
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

void ReplaySession::Send(NativeEventType type, int code, int x, int y) {
    if (!window_ || !OWindow::Exists(window_) || !window_->Native()) return;
    os_.Dispatch(window_->Native(), {type, code, x, y});
    os_.Pump();
}

void ReplaySession::Key(int code) {
    Send(NativeEventType::KeyDown, code, 0, 0);
    Send(NativeEventType::KeyUp, code, 0, 0);
}

void ReplaySession::Click(int x, int y, int button) {
    Send(NativeEventType::MouseMove, 0, x, y);
    Send(NativeEventType::ButtonDown, button, x, y);
    Send(NativeEventType::ButtonUp, button, x, y);
}

void ReplaySession::Focus(bool on) {
    Send(NativeEventType::FocusChanged, on ? 1 : 0, 0, 0);
}

void ReplaySession::StepFrame() {
    if (!window_ || !OWindow::Exists(window_)) return;
    os_.Manual().Advance(kFramePeriodMs);
    window_->RunFrame();
    os_.Pump();
    ++frame_;
}

std::string ReplaySession::StateLine() const {
    return StateTrace::Line(frame_);
}

bool ParseScript(std::string_view text, std::vector<ScriptInput>& inputs, std::string& error) {
    std::istringstream in{std::string(text)};
    std::string raw;
    for (int number = 1; std::getline(in, raw); ++number) {
        std::istringstream words(raw);
        std::string first;
        if (!(words >> first) || first[0] == '#') continue;
        ScriptInput input;
        std::string verb, a, b, rest;
        char* end = nullptr;
        input.frame = static_cast<int>(std::strtol(first.c_str(), &end, 10));
        const bool frameOk = end && *end == '\0' && input.frame >= 0;
        words >> verb >> a;
        std::getline(words >> std::ws, b);
        auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        };
        if (!frameOk) return fail("the frame must be a number");
        if (verb == "key") {
            input.kind = ScriptInput::Kind::Key;
            input.code = KeyCode(a);
            if (input.code < 0 || !b.empty()) return fail("unknown key '" + a + "'");
        } else if (verb == "click" || verb == "rclick") {
            input.kind = verb == "click" ? ScriptInput::Kind::Click : ScriptInput::Kind::RightClick;
            std::istringstream xy(a + " " + b);
            if (!(xy >> input.x >> input.y) || (xy >> rest)) return fail("a click needs X and Y");
        } else if (verb == "shot" && !a.empty() && b.empty()) {
            input.kind = ScriptInput::Kind::Shot;
            input.file = a;
        } else if (verb == "focus" && (a == "on" || a == "off") && b.empty()) {
            input.kind = ScriptInput::Kind::Focus;
            input.code = a == "on" ? 1 : 0;
        } else {
            return fail("expected key, click, rclick, focus or shot");
        }
        inputs.push_back(input);
    }
    std::stable_sort(inputs.begin(), inputs.end(),
                     [](const ScriptInput& l, const ScriptInput& r) { return l.frame < r.frame; });
    return true;
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
