// The dialogs through the real game window without a display: opened by its buttons and by the
// requests its frame step posts, standing the game still while they are open, and the frame step
// acting on their answers. The test plays the main thread and every window's game thread.
#include <gtest/gtest.h>

#include <vector>

#include "engine/VirtualKey.h"
#include "engine/WindowDefaults.h"
#include "tests/game/GameFixture.h"
#include "tests/support/GoldenPicture.h"
#include "ui/OButton.h"
#include "ui/OCheckbox.h"
#include "windows/OWndScores.h"
#include "windows/OOptionsWindow.h"
#include "windows/OWndHelp.h"
#include "windows/OWndQuit.h"
#include "ui/OWndYesNo.h"

namespace {

using platform::NativeEventType;

class GameDialogsTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        Start(7);
        game = &Game();
        Step(30);
    }
    // The dialog over the game window, if one is open: the window of the newest native window.
    OWindow* Dialog() {
        platform::HeadlessNativeWindow* last = session->Os().LastWindow();
        auto* w = last ? static_cast<OWindow*>(last->UserData()) : nullptr;
        return w && w != game && OWindow::Exists(w) ? w : nullptr;
    }
    // A step of the dialog's own thread, then the main thread delivers what it posted.
    void StepDialog(OWindow* dialog) {
        session->Os().Manual().Advance(84);
        dialog->RunFrame();
        session->Os().Pump();
    }
    void Send(OWindow* w, NativeEventType type, int code = 0, int x = 0, int y = 0) {
        session->Os().Dispatch(w->Native(), {type, code, x, y});
        session->Os().Pump();
    }
    void Key(OWindow* w, int code) {
        Send(w, NativeEventType::KeyDown, code);
        Send(w, NativeEventType::KeyUp, code);
    }
    void ClickOn(OWindow* w, const OGraph* g) {
        const int x = static_cast<int>(g->X() + g->Width() / 2),
                  y = static_cast<int>(g->Y() + g->Height() / 2);
        for (int i = 0; i < 2; ++i) Send(w, NativeEventType::MouseMove, 0, x, y);
        Send(w, NativeEventType::ButtonDown, 1, x, y);
        Send(w, NativeEventType::ButtonUp, 1, x, y);
    }
    // Once the dialog's close has been carried out, its game thread tears it down.
    bool Finished(OWindow* dialog) {
        session->Os().Pump();
        if (OWindow::Exists(dialog) && dialog->IsStopping()) {
            dialog->Teardown();
            session->Os().Pump();
        }
        return !OWindow::Exists(dialog);
    }
    // The game window's picture, its 750 x 550 pixels.
    std::vector<uint8_t> Picture() const {
        std::vector<uint8_t> out;
        for (int y = 0; y < 550; ++y) {
            const uint8_t* row = game->GetPicture()->Row(y);
            out.insert(out.end(), row, row + 750 * 3);
        }
        return out;
    }

    OGameWindow* game = nullptr;
};

TEST_F(GameDialogsTest, ExitOpensTheQuitDialogCentredOverTheGameWithItsOwnSize) {
    session->Click(static_cast<int>(game->ExitButton()->X()) + 5,
                   static_cast<int>(game->ExitButton()->Y()) + 5);
    auto* quit = dynamic_cast<OWndQuit*>(Dialog());
    ASSERT_NE(quit, nullptr);
    EXPECT_EQ(quit->Width(), 280);
    EXPECT_EQ(quit->Height(), 185);
    const platform::Rect parent = static_cast<platform::HeadlessNativeWindow*>(game->Native())->ScreenRect();
    const platform::Rect own = session->Os().LastWindow()->ScreenRect();
    EXPECT_EQ(own.left - parent.left, (750 - 280) / 2);
    EXPECT_EQ(own.top - parent.top, static_cast<int>((550 - 185) * 0.5f));
    EXPECT_TRUE(game->IsModalPaused());
    EXPECT_EQ(TheGameState().pendingDialog, kQuitOpen);
    EXPECT_EQ(TheGameState().dialogAnswer, kNoAnswer);
    EXPECT_EQ(WindowDefaults::Current().width, 750) << "the main window's size is the default again";
    EXPECT_EQ(WindowDefaults::Current().height, 550);
    EXPECT_EQ(quit->Focus(), quit->YesButton());
}

// Game counts of frame steps (a hop, the red frogs' arrival, a fade) are made for 50 steps per
// second. The leaves' clips come with a rate of more than a thousand (their frame time in ms), which
// used to carry the game window along when they were added, so it stepped as fast as it could.
TEST_F(GameDialogsTest, TheGameStepsFiftyTimesASecondAndEachDialogAtItsOwnRate) {
    EXPECT_EQ(game->FrameRate(), 50);
    struct Case {
        const char* name;
        OButton* button;
        int rate;
    } cases[] = {
        {"quit", game->ExitButton(), 12},
        {"options", game->OptionsButton(), 50},
        {"top 10", game->Top10Button(), 12},
        {"help", game->HelpButton(), 12},
    };
    for (const Case& c : cases) {
        ClickOn(game, c.button);
        OWindow* dialog = Dialog();
        ASSERT_NE(dialog, nullptr) << c.name;
        EXPECT_EQ(dialog->FrameRate(), c.rate) << c.name;
        Key(dialog, vk::kEscape);
        ASSERT_TRUE(Finished(dialog)) << c.name;
        for (int i = 0; i < 5; ++i) session->StepFrame();
    }
    EXPECT_EQ(game->FrameRate(), 50);
}

TEST_F(GameDialogsTest, WhileADialogIsOpenTheGameTakesNoClicksAndItsPictureDoesNotChange) {
    session->Click(static_cast<int>(game->HelpButton()->X()) + 5,
                   static_cast<int>(game->HelpButton()->Y()) + 5);
    OWindow* help = Dialog();
    ASSERT_NE(help, nullptr);
    const std::vector<uint8_t> before = Picture();
    const int frame = session->Frame();
    for (int i = 0; i < 40; ++i) {
        session->Click(300, 300);
        session->Key(vk::kLeft);
        session->Click(static_cast<int>(game->NewButton()->X()) + 5,
                       static_cast<int>(game->NewButton()->Y()) + 5);
        session->StepFrame();
        StepDialog(help);
    }
    EXPECT_EQ(session->Frame(), frame + 40);
    EXPECT_TRUE(Picture() == before) << "the pond stood still";
    EXPECT_EQ(Dialog(), help) << "no other dialog opened";
    Key(help, vk::kEscape);
    ASSERT_TRUE(Finished(help));
    for (int i = 0; i < 20; ++i) session->StepFrame();
    EXPECT_FALSE(Picture() == before) << "and moves on once the dialog has closed";
}

TEST_F(GameDialogsTest, TheGameWindowUnderTheQuitDialogLooksAsItsReference) {
    session->Click(static_cast<int>(game->ExitButton()->X()) + 5,
                   static_cast<int>(game->ExitButton()->Y()) + 5);
    OWindow* quit = Dialog();
    ASSERT_NE(quit, nullptr);
    for (int i = 0; i < 5; ++i) {
        session->StepFrame();
        StepDialog(quit);
    }
    EXPECT_TRUE(golden::Matches(*game->GetPicture(), 750, 550, "game_under_quit_dialog"));
}

TEST_F(GameDialogsTest, QuitAnsweredNoLetsPlayGoOnAndALaterYesOfAnotherDialogIsNotReadAsIt) {
    session->Click(static_cast<int>(game->ExitButton()->X()) + 5,
                   static_cast<int>(game->ExitButton()->Y()) + 5);
    auto* quit = dynamic_cast<OWndQuit*>(Dialog());
    ASSERT_NE(quit, nullptr);
    ClickOn(quit, quit->NoButton());
    ASSERT_TRUE(Finished(quit));
    EXPECT_FALSE(game->IsModalPaused());
    EXPECT_EQ(TheGameState().pendingDialog, kNoDialog);
    // What the score table's clear dialog leaves when it is confirmed.
    TheGameState().dialogAnswer = kAnswerYes;
    for (int i = 0; i < 10; ++i) session->StepFrame();
    EXPECT_FALSE(game->IsStopping()) << "the game goes on";
}

TEST_F(GameDialogsTest, QuitAnsweredYesClosesTheGameOnItsNextFrameStepAlsoWhenPaused) {
    session->Key(vk::kSpace);
    ASSERT_TRUE(TheGameState().paused);
    session->Click(static_cast<int>(game->ExitButton()->X()) + 5,
                   static_cast<int>(game->ExitButton()->Y()) + 5);
    OWindow* quit = Dialog();
    ASSERT_NE(quit, nullptr);
    Key(quit, vk::kEnter);
    ASSERT_TRUE(Finished(quit));
    EXPECT_FALSE(game->IsStopping());
    session->StepFrame();
    EXPECT_TRUE(game->IsStopping()) << "saved and closed";
}

TEST_F(GameDialogsTest, OptionsChangingTheSkillStartANewGameWithTheSkillsLives) {
    const int32_t expertLives = TheGameSettings().MaxFrogNumber - 2;
    TheGameState().score = 500;
    session->Click(static_cast<int>(game->OptionsButton()->X()) + 5,
                   static_cast<int>(game->OptionsButton()->Y()) + 5);
    auto* options = dynamic_cast<OOptionsWindow*>(Dialog());
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->Width(), 260);
    EXPECT_EQ(options->Height(), 480);
    ClickOn(options, options->SkillBoxes()[1]);
    ClickOn(options, options->OkButton());
    ASSERT_TRUE(Finished(options));
    session->StepFrame();
    EXPECT_EQ(TheGameState().appliedSkill, 1);
    EXPECT_EQ(TheGameState().score, 0);
    EXPECT_EQ(TheGameSettings().levelNumber, 1);
    EXPECT_EQ(pond::LivingFrogs(), expertLives);
}

TEST_F(GameDialogsTest, ACompletedLevelOpensItsDialogAndTheNextLevelStartsWhenItCloses) {
    const int32_t level = TheGameSettings().levelNumber;
    TheGameState().levelPoints = 40;
    TheGameState().score = 100;
    game->FinishLevel();
    session->Os().Pump();  // the posted mouse move opens the dialog
    OWindow* dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Width(), 300);
    EXPECT_EQ(dialog->Height(), 320);
    EXPECT_EQ(TheGameState().pendingDialog, kLevelOpen);
    EXPECT_EQ(TheGameState().score, 180);
    Key(dialog, vk::kEscape);
    ASSERT_TRUE(Finished(dialog));
    session->StepFrame();
    EXPECT_EQ(TheGameSettings().levelNumber, level + 1);
    EXPECT_EQ(TheGameState().pendingDialog, kNoDialog);
    EXPECT_EQ(TheGameState().score, 180);
}

TEST_F(GameDialogsTest, AButtonsDialogIsRefusedWhileACompletedLevelWaitsForItsOwn) {
    const int x = static_cast<int>(game->OptionsButton()->X()) + 5;
    const int y = static_cast<int>(game->OptionsButton()->Y()) + 5;
    Send(game, NativeEventType::MouseMove, 0, x, y);
    game->Lock();
    game->FinishLevel();  // the frame step's request waits in the queue behind the click
    game->Unlock();
    session->Os().Dispatch(game->Native(), {NativeEventType::ButtonDown, 1, x, y});
    session->Os().Dispatch(game->Native(), {NativeEventType::ButtonUp, 1, x, y});
    EXPECT_EQ(Dialog(), nullptr) << "the options wait";
    session->Os().Pump();
    OWindow* dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dynamic_cast<OOptionsWindow*>(dialog), nullptr) << "the level dialog, not the options";
    EXPECT_EQ(TheGameState().pendingDialog, kLevelOpen);
    EXPECT_EQ(session->Os().WindowCount(), 2u) << "one dialog at a time";
}

TEST_F(GameDialogsTest, AClosedDialogsAnswerIsActedOnBeforeAButtonOpensAnotherDialog) {
    // The level dialog or the name dialog has closed and the frame step that acts on it (the next
    // level, a new game) has not run yet: a click on Help or Exit then must not replace what waits.
    struct Case {
        const char* name;
        int32_t pending;
        OButton* button;
    } cases[] = {
        {"Help after the level dialog", kLevelOpen, game->HelpButton()},
        {"Exit after the level dialog", kLevelOpen, game->ExitButton()},
        {"Help after the name dialog", kNameOpen, game->HelpButton()},
        {"Exit after the name dialog", kNameOpen, game->ExitButton()},
    };
    for (const Case& c : cases) {
        const int32_t level = TheGameSettings().levelNumber;
        TheGameState().score = 30;
        TheGameState().pendingDialog = c.pending;
        ClickOn(game, c.button);
        EXPECT_EQ(Dialog(), nullptr) << c.name;
        EXPECT_EQ(TheGameState().pendingDialog, c.pending) << c.name;
        session->StepFrame();
        EXPECT_EQ(TheGameState().pendingDialog, kNoDialog) << c.name;
        if (c.pending == kLevelOpen) {
            EXPECT_EQ(TheGameSettings().levelNumber, level + 1) << c.name << ": the next level";
        } else {
            EXPECT_EQ(TheGameState().score, 0) << c.name << ": a new game";
        }
    }
}

TEST_F(GameDialogsTest, ALevelCompletedWhileOptionsAreOpenShowsItsDialogWhenTheyClose) {
    ClickOn(game, game->OptionsButton());
    auto* options = dynamic_cast<OOptionsWindow*>(Dialog());
    ASSERT_NE(options, nullptr);
    // The frame step that finished the level had run just before the click was handled.
    game->Lock();
    game->FinishLevel();
    game->Unlock();
    session->Os().Pump();
    EXPECT_EQ(Dialog(), options) << "no second dialog over the first";
    EXPECT_EQ(TheGameState().pendingDialog, kLevelCompleted);
    ClickOn(options, options->OkButton());
    ASSERT_TRUE(Finished(options));
    OWindow* level = Dialog();
    ASSERT_NE(level, nullptr) << "the kept request opens the level dialog";
    EXPECT_NE(level, options);
    EXPECT_EQ(TheGameState().pendingDialog, kLevelOpen);
    EXPECT_TRUE(game->IsModalPaused());
}

TEST_F(GameDialogsTest, AQuitDialogThatCannotBeShownLeavesTheGameRunningAndNothingPending) {
    session->Os().FailWindowCreation(true);
    session->Click(static_cast<int>(game->ExitButton()->X()) + 5,
                   static_cast<int>(game->ExitButton()->Y()) + 5);
    session->Os().FailWindowCreation(false);
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_FALSE(game->IsModalPaused());
    EXPECT_EQ(TheGameState().pendingDialog, kNoDialog);
    EXPECT_EQ(WindowDefaults::Current().width, 750);
    const int32_t frames = TheGameState().frameCounter;
    session->StepFrame();
    EXPECT_EQ(TheGameState().frameCounter, frames + 1);
}

TEST_F(GameDialogsTest, ALevelDialogThatCannotBeShownCreditsTheBonusAndTheNextLevelStarts) {
    struct Case {
        int32_t levelPoints, score, after;
    } cases[] = {
        {25, 100, 150},
        {INT32_MAX / 2 + 1, 0, INT32_MAX},  // a bonus past the largest score is held there
        {1000, INT32_MAX - 5, INT32_MAX},
    };
    for (const Case& c : cases) {
        const int32_t level = TheGameSettings().levelNumber;
        TheGameState().levelPoints = c.levelPoints;
        TheGameState().score = c.score;
        session->Os().FailWindowCreation(true);
        game->FinishLevel();
        session->Os().Pump();
        session->Os().FailWindowCreation(false);
        EXPECT_EQ(Dialog(), nullptr);
        EXPECT_FALSE(game->IsModalPaused());
        EXPECT_EQ(TheGameState().score, c.after) << c.levelPoints << " points on " << c.score;
        Step();
        EXPECT_EQ(TheGameSettings().levelNumber, level + 1);
        EXPECT_EQ(TheGameState().pendingDialog, kNoDialog);
    }
}

// Help, Options and Top 10 stand a few pixels apart: a pointer that jumps from one straight onto the
// next in one move, or rests on a button while its dialog opens and closes, must still have every
// click open the window of the button under it, and no click on a button may hop the frog.
TEST_F(GameDialogsTest, EveryClickOnAButtonOpensItsDialogWhereverThePointerCameFrom) {
    struct Button {
        const char* name;
        OButton* button;
        bool (*is)(OWindow*);
    } buttons[] = {
        {"help", game->HelpButton(), [](OWindow* w) { return dynamic_cast<OWndHelp*>(w) != nullptr; }},
        {"options", game->OptionsButton(), [](OWindow* w) { return dynamic_cast<OOptionsWindow*>(w) != nullptr; }},
        {"top 10", game->Top10Button(), [](OWindow* w) { return dynamic_cast<OWndScores*>(w) != nullptr; }},
    };
    auto centre = [](const OGraph* g, int& x, int& y) {
        x = static_cast<int>(g->X() + g->Width() / 2);
        y = static_cast<int>(g->Y() + g->Height() / 2);
    };
    auto pressAt = [&](int x, int y) {
        Send(game, NativeEventType::ButtonDown, 1, x, y);
        Send(game, NativeEventType::ButtonUp, 1, x, y);
    };
    auto closeWithEscape = [&](OWindow* dialog) {
        Key(dialog, vk::kEscape);
        ASSERT_TRUE(Finished(dialog));
        for (int i = 0; i < 3; ++i) session->StepFrame();
    };
    WaitForArrival();
    ClearPond();
    const int frogX = G().player->X(), frogY = G().player->Y();
    for (const Button& from : buttons) {
        for (const Button& to : buttons) {
            if (&from == &to) continue;
            const std::string pair = std::string(from.name) + " -> " + to.name;
            int x = 0, y = 0;
            centre(from.button, x, y);
            Send(game, NativeEventType::MouseMove, 0, x, y);
            centre(to.button, x, y);
            Send(game, NativeEventType::MouseMove, 0, x, y);  // one jump, no move in between
            pressAt(x, y);
            OWindow* dialog = Dialog();
            ASSERT_TRUE(dialog && to.is(dialog)) << pair;
            closeWithEscape(dialog);
            // Again in the same spot with the pointer resting where it was.
            static_cast<platform::HeadlessNativeWindow*>(game->Native())->SetCursor(x, y);
            pressAt(x, y);
            dialog = Dialog();
            ASSERT_TRUE(dialog && to.is(dialog)) << pair << ", clicked again in place";
            closeWithEscape(dialog);
        }
    }
    EXPECT_EQ(G().player->X(), frogX) << "a click on a button hopped the frog";
    EXPECT_EQ(G().player->Y(), frogY);
}

// Without a mouse: Tab walks every button of the game window and of each dialog once, in its order,
// and past the last leaves none; Shift+Tab walks the same buttons backwards.
TEST_F(GameDialogsTest, TabAndShiftTabWalkEveryButtonOfTheGameAndOfEachDialog) {
    struct Case {
        const char* name;
        OButton* opener;  // the game's button that opens the dialog; none for the game window itself
        std::vector<OButton*> (*order)(OGameWindow*, OWindow*);
    } cases[] = {
        {"game", nullptr,
         [](OGameWindow* g, OWindow*) {
             return std::vector<OButton*>{g->HelpButton(),    g->DownButton(),  g->ExitButton(), g->NewButton(),
                                          g->OptionsButton(), g->Top10Button(), g->GamesButton()};
         }},
        {"quit", game->ExitButton(),
         [](OGameWindow*, OWindow* d) {
             auto* q = dynamic_cast<OWndYesNo*>(d);
             return std::vector<OButton*>{q->YesButton(), q->NoButton()};
         }},
        {"options", game->OptionsButton(),
         [](OGameWindow*, OWindow* d) {
             auto* o = dynamic_cast<OOptionsWindow*>(d);
             return std::vector<OButton*>{o->OkButton(), o->CancelButton()};
         }},
        {"help", game->HelpButton(),
         [](OGameWindow*, OWindow* d) { return std::vector<OButton*>{dynamic_cast<OWndYesNo*>(d)->NoButton()}; }},
        {"top 10", game->Top10Button(),
         [](OGameWindow*, OWindow* d) {
             auto* t = dynamic_cast<OWndScores*>(d);
             return std::vector<OButton*>{t->CloseButton(), t->PublishButton(), t->ClearButton()};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OWindow* w = game;
        if (c.opener) {
            ClickOn(game, c.opener);
            w = Dialog();
            ASSERT_NE(w, nullptr);
        }
        const std::vector<OButton*> expected = c.order(game, w);
        w->FocusGraph(nullptr);
        std::vector<OGraph*> forwards(expected.size() + 1), backwards(expected.size() + 1);
        for (size_t i = 0; i <= expected.size(); ++i) {
            Key(w, vk::kTab);
            forwards[i] = w->Focus();
        }
        Send(w, NativeEventType::KeyDown, vk::kShift);
        for (size_t i = 0; i <= expected.size(); ++i) {
            Key(w, vk::kTab);
            backwards[i] = w->Focus();
        }
        Send(w, NativeEventType::KeyUp, vk::kShift);
        std::vector<OGraph*> want(expected.size() + 1), wantBack(expected.size() + 1);
        std::copy(expected.begin(), expected.end(), want.begin());
        std::copy(expected.rbegin(), expected.rend(), wantBack.begin());
        EXPECT_EQ(forwards, want);
        EXPECT_EQ(backwards, wantBack);
        // The focused button shows it: Tab to the first and its look is no longer the resting one.
        Key(w, vk::kTab);
        EXPECT_TRUE(expected.front()->State() & ControlState::Focused);
        if (c.opener) {
            Key(w, vk::kEscape);
            ASSERT_TRUE(Finished(w));
            for (int i = 0; i < 3; ++i) session->StepFrame();
        }
    }
}

TEST_F(GameDialogsTest, NewWhilePausedShowsTheNewPondAtOnceAndThePauseStays) {
    G().paused = true;
    Step(2);
    const std::vector<uint8_t> before = Picture();
    ClickOn(game, game->NewButton());
    Step(2);
    EXPECT_TRUE(G().paused);
    EXPECT_NE(Picture(), before) << "the old pond is still on screen";
}

}  // namespace
