#pragma once
// The score windows over a plain parent window on the headless platform, in a program folder of the
// test's own.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "game/GameState.h"
#include "platform/HeadlessSoundPlayer.h"
#include "platform/ProgramPath.h"
#include "storage/DataFilePath.h"
#include "windows/OWndInsert.h"
#include "windows/OWndScores.h"
#include "storage/TScoresTable.h"
#include "tests/windows/ProgramFolder.h"
#include "tests/support/HeadlessWindowTest.h"
#include "ui/DialogSize.h"
#include "ui/OControl.h"

namespace scores_test {

namespace fs = std::filesystem;

class ScoreWindowsTest : public HeadlessWindowTest {
  protected:
    void SetUp() override {
        HeadlessWindowTest::SetUp();
        program = std::make_unique<ProgramFolder>();
        previousPlayer_ = platform::SoundPlayer::SetShared(&sounds);
        TheGameState().Clear();
        OWndInsert::PlayerName().clear();
        parent = Make();
        parent->Start();
    }
    void TearDown() override {
        for (OWindow* w : dialogs_) {
            if (OWindow::Exists(w)) Close(w);
        }
        HeadlessWindowTest::TearDown();
        TheGameState().Clear();
        OWndInsert::PlayerName().clear();
        platform::SoundPlayer::SetShared(previousPlayer_);
        program.reset();
    }

    // The score table window over the parent, at the given skill, after its first frame.
    OWndScores* OpenScores(int skill) {
        TheGameState().skill = skill;
        OWndScores* w = nullptr;
        {
            DialogSize size(OWndScores::kWidth, OWndScores::kHeight);
            w = new OWndScores(parent);
        }
        dialogs_.push_back(w);
        w->Start();
        Frame(w);
        return w;
    }
    // The enter-name window over the parent, for a game that ended with `score` at `skill`.
    OWndInsert* OpenInsert(int score, int skill) {
        TheGameState().score = score;
        TheGameState().skill = skill;
        OWndInsert* w = nullptr;
        {
            DialogSize size(OWndInsert::kWidth, OWndInsert::kHeight);
            w = new OWndInsert(parent);
        }
        dialogs_.push_back(w);
        w->Start();
        Frame(w);
        return w;
    }
    // The window made last (a dialog another window opened).
    OWindow* Newest() {
        auto* w = static_cast<OWindow*>(os.LastWindow()->UserData());
        if (w) dialogs_.push_back(w);
        return w;
    }

    // One frame step of `w`, then the main thread shows it.
    void Frame(OWindow* w) {
        w->RunFrame();
        os.Pump();
    }
    // Input as the window procedure delivers it (a window paused by a dialog ignores it).
    void Send(OWindow* w, platform::NativeEventType type, int code = 0, int x = 0, int y = 0) {
        os.Dispatch(w->Native(), {type, code, x, y});
    }
    void Key(OWindow* w, int code) {
        Send(w, platform::NativeEventType::KeyDown, code);
        Send(w, platform::NativeEventType::KeyUp, code);
    }
    void Type(OWindow* w, const std::string& text) {
        for (char c : text) Send(w, platform::NativeEventType::Char, static_cast<uint8_t>(c));
    }
    void Click(OWindow* w, const OGraph* control) {
        const int x = static_cast<int>(control->X() + control->Width() / 2);
        const int y = static_cast<int>(control->Y() + control->Height() / 2);
        // The first move only takes the capture from a control the mouse comes from, as a real mouse's
        // first step off it does; the second reaches the control.
        Send(w, platform::NativeEventType::MouseMove, 0, x, y);
        Send(w, platform::NativeEventType::MouseMove, 0, x, y);
        Send(w, platform::NativeEventType::ButtonDown, 1, x, y);
        Send(w, platform::NativeEventType::ButtonUp, 1, x, y);
    }
    // Lets the main thread carry out a close the window asked for, then tears it down as its game
    // thread would. True when the window is gone.
    bool Finished(OWindow* w) {
        os.Pump();
        if (OWindow::Exists(w) && w->IsStopping()) {
            w->Teardown();
            os.Pump();
        }
        return !OWindow::Exists(w);
    }

    std::string TablePath() const { return program->File("table.dat"); }
    // Writes table.dat with one result per entry: date 2004-7-5, name, skill text, score.
    struct Result {
        std::string name, skill;
        int score;
    };
    void WriteTable(const std::vector<Result>& results) {
        TScoresTable table;
        for (const Result& r : results)
            table.AddLine("2004-7-5\t" + r.name + "\t" + r.skill + "\t" + std::to_string(r.score));
        ASSERT_TRUE(table.SaveTable(TablePath()));
    }
    // The file's results, best first, as "name skill score".
    std::vector<std::string> FileResults() const {
        TScoresTable table;
        table.LoadTable(TablePath());
        std::vector<std::string> out;
        for (auto it = table.records.rbegin(); it != table.records.rend(); ++it)
            out.push_back(it->second.name + " " + it->second.skill + " " + std::to_string(it->first));
        return out;
    }

    std::unique_ptr<ProgramFolder> program;
    platform::HeadlessSoundPlayer sounds{os.Manual()};
    TestWindow* parent = nullptr;

  private:
    std::vector<OWindow*> dialogs_;
    platform::SoundPlayer* previousPlayer_ = nullptr;
};

}  // namespace scores_test
