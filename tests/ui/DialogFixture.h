#pragma once
// Dialogs over a plain 750 x 550 parent through the headless platform: opened as the game opens them
// (their own size, started at once), stepped by hand at 12 frames a second, driven by native events
// through the window procedure, and torn down when they close as their game thread would. The program
// folder is the build folder, so the generated CLP/ and WAV/ are found; sounds are recorded.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "game/GameSettings.h"
#include "game/GameState.h"
#include "graphics/LiveSet.h"
#include "graphics/OClip.h"
#include "platform/HeadlessSoundPlayer.h"
#include "platform/ProgramPath.h"
#include "tests/support/HeadlessWindowTest.h"
#include "tests/support/TempFolder.h"
#include "ui/DialogSize.h"
#include "ui/OText.h"

namespace dialog_test {

class DialogTest : public HeadlessWindowTest {
  protected:
    void SetUp() override {
        HeadlessWindowTest::SetUp();
        savedProgramDir_ = platform::ProgramDirectory();
        UseProgramFolder(MARSHWADE_BINARY_DIR);
        previousPlayer_ = platform::SoundPlayer::SetShared(&sounds);
        os.Manual().Set(now);
        TheGameState().Clear();
        TheGameSettings() = GameSettings{};
        parent = Make();
        parent->Start();
    }
    void TearDown() override {
        HeadlessWindowTest::TearDown();
        TheGameState().Clear();
        platform::SoundPlayer::SetShared(previousPlayer_);
        platform::SetProgramDirectoryForTesting(savedProgramDir_);
    }
    static void UseProgramFolder(const std::string& folder) {
        platform::SetProgramDirectoryForTesting(folder + "/");
    }
    // A program folder holding the build's pictures and sounds but for the clip files named.
    std::string FolderWithout(const std::vector<std::string>& clips) {
        namespace fs = std::filesystem;
        const fs::path from(MARSHWADE_BINARY_DIR);
        for (const char* sub : {"CLP", "WAV"}) {
            fs::create_directories(folder.Path() / sub);
            for (const auto& entry : fs::directory_iterator(from / sub)) {
                const std::string name = entry.path().filename().string();
                if (std::find(clips.begin(), clips.end(), name) != clips.end()) continue;
                fs::copy_file(entry.path(), folder.Path() / sub / name, fs::copy_options::overwrite_existing);
            }
        }
        return folder.Path().string();
    }

    // Makes a dialog as the game's openers do, starts it and lets it show its first frame.
    template <class Dialog>
    Dialog* Open(int width, int height) {
        Dialog* dialog = nullptr;
        {
            DialogSize size(width, height);
            dialog = new Dialog(parent);
        }
        made.push_back(dialog);
        EXPECT_TRUE(StartDialog(dialog));
        Frame(dialog);
        return dialog;
    }
    // One frame step 1000/12 ms after the last, then the main thread shows what was composed.
    void Frame(OWindow* dialog) {
        now += 84;
        os.Manual().Set(now);
        if (OWindow::Exists(dialog)) dialog->RunFrame();
        os.Pump();
    }

    // Input as the main thread's event loop delivers it.
    void Send(OWindow* w, platform::NativeEventType type, int code = 0, int x = 0, int y = 0) {
        if (OWindow::Exists(w) && w->Native()) os.Dispatch(w->Native(), {type, code, x, y});
    }
    void Key(OWindow* w, int code) {
        Send(w, platform::NativeEventType::KeyDown, code);
        Send(w, platform::NativeEventType::KeyUp, code);
    }
    // The pointer where a real one would be, and the motion event it gives.
    void MoveMouse(OWindow* w, int x, int y) {
        if (OWindow::Exists(w)) NativeOf(w)->SetCursor(x, y);
        Send(w, platform::NativeEventType::MouseMove, 0, x, y);
    }
    // A real pointer arrives in several motions: the first one may only take the capture from the
    // control it leaves, the next one reaches the control under it.
    void Click(OWindow* w, int x, int y) {
        MoveMouse(w, x, y);
        MoveMouse(w, x, y);
        Send(w, platform::NativeEventType::ButtonDown, 1, x, y);
        Send(w, platform::NativeEventType::ButtonUp, 1, x, y);
    }
    // The centre of a drawable, in its window's coordinates.
    static std::pair<int, int> CentreOf(const OGraph* g) {
        return {static_cast<int>(g->X() + g->Width() / 2), static_cast<int>(g->Y() + g->Height() / 2)};
    }
    void ClickOn(OWindow* w, const OGraph* g) {
        auto [x, y] = CentreOf(g);
        Click(w, x, y);
    }

    // Delivers what is posted; a dialog whose close was carried out is torn down as its game thread
    // would. True when the dialog is gone.
    bool Closed(OWindow* dialog) {
        os.Pump();
        if (OWindow::Exists(dialog) && dialog->IsStopping()) {
            dialog->Teardown();
            os.Pump();
        }
        return !OWindow::Exists(dialog);
    }

    // The texts of a window, each a line of its words as laid out: keyed by the line's top, then by
    // the x of its first word. Words keep their trailing space.
    struct Line {
        int x = 0;
        int right = 0;  // the end of the last word
        std::string text;
    };
    static std::map<int, std::map<int, Line>> Lines(const OWindow* w) {
        std::map<int, std::map<int, Line>> lines;
        for (OGraph* g : w->Graphics()) {
            auto* text = dynamic_cast<OText*>(g);
            if (!text) continue;
            const int x = static_cast<int>(text->X()), y = static_cast<int>(text->Y());
            auto& row = lines[y];
            // Words of one line follow each other without a gap.
            bool joined = false;
            for (auto& [start, line] : row) {
                if (line.right == x) {
                    line.text += text->GetText();
                    line.right = x + static_cast<int>(text->Width());
                    joined = true;
                    break;
                }
            }
            if (!joined) row[x] = {x, x + static_cast<int>(text->Width()), text->GetText()};
        }
        return lines;
    }
    // Every text of the window on one line each, top to bottom and left to right, trailing space cut.
    static std::vector<std::string> Texts(const OWindow* w) {
        std::vector<std::string> out;
        for (const auto& [y, row] : Lines(w)) {
            for (const auto& [x, line] : row) {
                std::string t = line.text;
                while (!t.empty() && t.back() == ' ') t.pop_back();
                out.push_back(t);
            }
        }
        return out;
    }
    // The clips of a window that are not inside a control, in the order they were added.
    static std::vector<OClip*> Clips(const OWindow* w) {
        std::vector<OClip*> out;
        for (OGraph* g : w->Graphics()) {
            if (auto* clip = dynamic_cast<OClip*>(g)) out.push_back(clip);
        }
        return out;
    }
    std::vector<std::string> SoundFiles() const {
        std::vector<std::string> out;
        for (const auto& r : sounds.Requests()) out.push_back(r.fileName);
        return out;
    }

    platform::HeadlessSoundPlayer sounds{os.Manual()};
    TempFolder folder;
    TestWindow* parent = nullptr;
    uint32_t now = 1000;

  private:
    std::string savedProgramDir_;
    platform::SoundPlayer* previousPlayer_ = nullptr;
};

}  // namespace dialog_test
