// The score windows as the real game window opens them: the table from the Top10 button, the name
// entry after the last frog is lost, and what the game does once they have closed.
#include <gtest/gtest.h>

#include <memory>

#include "engine/VirtualKey.h"
#include "engine/WindowDefaults.h"
#include "game/GameState.h"
#include "windows/OGameWindow.h"
#include "game/PondRules.h"
#include "windows/OWndInsert.h"
#include "windows/OWndScores.h"
#include "storage/TScoresTable.h"
#include "tests/windows/ProgramFolder.h"
#include "tools/replay/ReplaySession.h"
#include "ui/OButton.h"
#include "ui/OEdit.h"

namespace {

using platform::NativeEventType;

class ScoreDialogsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        OWndInsert::PlayerName().clear();
        session_ = std::make_unique<ReplaySession>(11);
        ASSERT_TRUE(session_->Start());
        game_ = session_->Window();
    }
    void TearDown() override {
        for (OWindow* w : dialogs_)
            if (OWindow::Exists(w)) {
                w->RequestStop();
                w->Teardown();
            }
        session_.reset();
        OWndInsert::PlayerName().clear();
    }
    // The dialog the game made last, or none when the last window made is the game's own.
    OWindow* Dialog() {
        auto* w = static_cast<OWindow*>(session_->Os().LastWindow()->UserData());
        if (w == game_ || !w) return nullptr;
        dialogs_.push_back(w);
        return w;
    }
    void Send(OWindow* w, NativeEventType type, int code = 0, int x = 0, int y = 0) {
        session_->Os().Dispatch(w->Native(), {type, code, x, y});
    }
    void Click(OWindow* w, const OGraph* control) {
        const int x = static_cast<int>(control->X() + control->Width() / 2);
        const int y = static_cast<int>(control->Y() + control->Height() / 2);
        Send(w, NativeEventType::MouseMove, 0, x, y);
        Send(w, NativeEventType::MouseMove, 0, x, y);
        Send(w, NativeEventType::ButtonDown, 1, x, y);
        Send(w, NativeEventType::ButtonUp, 1, x, y);
    }
    // Carries out the close the dialog asked for and tears it down as its game thread would.
    void Finish(OWindow* w) {
        session_->Os().Pump();
        ASSERT_TRUE(w->IsStopping());
        w->Teardown();
        session_->Os().Pump();
    }
    // Every frog of the player's side drowned: the next frame step ends the game.
    static void LoseEveryFrog() {
        for (auto& frog : TheGameState().frogs) frog->state = OFrog::kDead;
    }

    ProgramFolder program_;
    std::unique_ptr<ReplaySession> session_;
    OGameWindow* game_ = nullptr;
    std::vector<OWindow*> dialogs_;
};

TEST_F(ScoreDialogsTest, Top10OpensTheTableOverTheStillGame) {
    session_->StepFrame();
    Click(game_, game_->Top10Button());
    auto* table = dynamic_cast<OWndScores*>(Dialog());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->ClientWidth(), 355);
    EXPECT_EQ(table->ClientHeight(), 550);
    EXPECT_EQ(WindowDefaults::Current().width, 750) << "the next window is not the table's size";
    EXPECT_EQ(WindowDefaults::Current().height, 550);
    EXPECT_TRUE(game_->IsModalPaused());

    const int frame = session_->Frame();
    const std::string before = session_->StateLine();
    session_->StepFrame();
    EXPECT_EQ(session_->StateLine().substr(session_->StateLine().find(',')), before.substr(before.find(',')))
        << "the pond stands still at frame " << frame;

    Send(table, NativeEventType::KeyDown, vk::kEscape);
    Finish(table);
    EXPECT_FALSE(game_->IsModalPaused());
}

TEST_F(ScoreDialogsTest, LosingTheLastFrogAsksForANameAndYesRecordsItThenANewGame) {
    session_->StepFrame();
    TheGameState().score = 2750;
    LoseEveryFrog();
    session_->StepFrame();  // the game over posts a mouse move, which opens the name dialog
    auto* entry = dynamic_cast<OWndInsert*>(Dialog());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->ClientWidth(), 280);
    EXPECT_EQ(entry->ClientHeight(), 280);
    EXPECT_EQ(TheGameState().pendingDialog, kNameOpen);
    EXPECT_EQ(entry->NameEdit()->GetText(), "Anonymous");

    Click(entry, entry->NameEdit());
    Send(entry, NativeEventType::KeyDown, vk::kEnd);
    for (int i = 0; i < 9; ++i) Send(entry, NativeEventType::KeyDown, vk::kBackspace);
    for (char c : std::string("Ann")) Send(entry, NativeEventType::Char, c);
    Click(entry, entry->YesButton());
    Finish(entry);

    session_->StepFrame();
    EXPECT_EQ(TheGameState().pendingDialog, kNoDialog);
    EXPECT_EQ(TheGameState().score, 0) << "a new game";
    EXPECT_GT(pond::LivingFrogs(), 0);
    TScoresTable table;
    table.LoadTable(program_.File("table.dat"));
    ASSERT_EQ(table.records.size(), 1u);
    EXPECT_EQ(table.records.begin()->first, 2750);
    EXPECT_EQ(table.records.begin()->second.name, "Ann");
}

TEST_F(ScoreDialogsTest, ANameDialogThatCannotBeShownStillLeadsToANewGame) {
    session_->StepFrame();
    LoseEveryFrog();
    session_->Os().FailWindowCreation(true);
    session_->StepFrame();
    session_->Os().FailWindowCreation(false);
    EXPECT_FALSE(game_->IsModalPaused());
    session_->StepFrame();
    EXPECT_EQ(TheGameState().pendingDialog, kNoDialog);
    EXPECT_GT(pond::LivingFrogs(), 0);
}

}  // namespace
