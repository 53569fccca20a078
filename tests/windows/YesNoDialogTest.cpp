// The yes/no dialogs over a plain parent: the frame, the answers by key and by click, and the quit
// dialog's own rules (Yes lifts the pause; anything else leaves nothing pending).
#include "engine/VirtualKey.h"
#include "tests/ui/DialogFixture.h"
#include "ui/OButton.h"
#include "windows/ONewLevel.h"
#include "windows/OWndHelp.h"
#include "windows/OWndQuit.h"

namespace dialog_test {
namespace {

using platform::NativeEventType;

class YesNoDialogTest : public DialogTest {
  protected:
    OWndQuit* OpenQuit() {
        TheGameState().pendingDialog = kQuitOpen;
        TheGameState().dialogAnswer = kNoAnswer;
        return Open<OWndQuit>(280, 185);
    }
};

enum class Kind { Quit, NewLevel, Help };

class EveryYesNoDialog : public YesNoDialogTest, public ::testing::WithParamInterface<Kind> {
  protected:
    OWndYesNo* OpenIt() {
        switch (GetParam()) {
            case Kind::Quit:
                return OpenQuit();
            case Kind::NewLevel:
                TheGameState().pendingDialog = kLevelOpen;
                return Open<ONewLevel>(300, 320);
            case Kind::Help:
                break;
        }
        return Open<OWndHelp>(OWndHelp::kWidth, OWndHelp::kHeight);
    }
};

TEST_P(EveryYesNoDialog, EscapeAnswersNoAndClosesAlsoWithAButtonFocused) {
    OWndYesNo* dialog = OpenIt();
    ASSERT_NE(dialog->Focus(), nullptr);
    EXPECT_TRUE(parent->IsModalPaused());
    Key(dialog, vk::kEscape);
    EXPECT_TRUE(Closed(dialog));
    EXPECT_EQ(TheGameState().dialogAnswer, kAnswerNo);
    EXPECT_FALSE(parent->IsModalPaused());
}

TEST_P(EveryYesNoDialog, StepsTwelveTimesASecondInItsFrame) {
    OWndYesNo* dialog = OpenIt();
    EXPECT_EQ(dialog->FrameRate(), OWndYesNo::kFrameRate);
    const std::vector<OClip*> clips = Clips(dialog);
    ASSERT_GE(clips.size(), 8u);
    const float w = dialog->ClientWidth(), h = dialog->ClientHeight();
    struct Piece {
        float x, y, depth;
        uint32_t key;
    };
    const Piece frame[] = {{0, 0, 10, 120034},      {0, 0, 0, 0},     {0, -30, 10, 120034},
                           {w - 25, 0, 10, 120034}, {w - 2, 0, 0, 0}, {0, h - 2, 0, 0}};
    const int order[] = {0, 1, 2, 4, 5, 7};  // ShoreLeft, VerBord, ShoreUp, ShoreRight, VerBord, HorBord
    for (size_t i = 0; i < std::size(order); ++i) {
        const OClip* clip = clips[static_cast<size_t>(order[i])];
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(clip->X(), frame[i].x);
        EXPECT_FLOAT_EQ(clip->Y(), frame[i].y);
        EXPECT_FLOAT_EQ(clip->Depth(), frame[i].depth);
        EXPECT_EQ(clip->ColourKey(), frame[i].key);
    }
    EXPECT_FLOAT_EQ(clips[6]->Y() + clips[6]->Height(), h) << "ShoreDown lies on the bottom edge";
}

std::string KindName(const ::testing::TestParamInfo<Kind>& info) {
    static const char* const kNames[] = {"Quit", "NewLevel", "Help"};
    return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Dialogs, EveryYesNoDialog, ::testing::Values(Kind::Quit, Kind::NewLevel, Kind::Help),
                         KindName);

TEST_F(YesNoDialogTest, EnterOnTheFocusedYesAnswersYesLiftsThePauseAndLeavesTheQuitPending) {
    TheGameState().paused = true;
    OWndQuit* quit = OpenQuit();
    ASSERT_EQ(quit->Focus(), quit->YesButton());
    Key(quit, vk::kEnter);
    EXPECT_TRUE(Closed(quit));
    EXPECT_EQ(TheGameState().dialogAnswer, kAnswerYes);
    EXPECT_EQ(TheGameState().pendingDialog, kQuitOpen);
    EXPECT_FALSE(TheGameState().paused);
}

TEST_F(YesNoDialogTest, ClickOnNoAnswersNoAndLeavesNothingPending) {
    TheGameState().paused = true;
    OWndQuit* quit = OpenQuit();
    ClickOn(quit, quit->NoButton());
    EXPECT_TRUE(Closed(quit));
    EXPECT_EQ(TheGameState().dialogAnswer, kAnswerNo);
    EXPECT_EQ(TheGameState().pendingDialog, kNoDialog);
    EXPECT_TRUE(TheGameState().paused);
}

TEST_F(YesNoDialogTest, QuitClosedByTheWindowManagerLeavesNothingPending) {
    OWndQuit* quit = OpenQuit();
    Send(quit, NativeEventType::Close);
    EXPECT_TRUE(Closed(quit));
    EXPECT_EQ(TheGameState().dialogAnswer, kNoAnswer);
    EXPECT_EQ(TheGameState().pendingDialog, kNoDialog);
}

TEST_F(YesNoDialogTest, ReleasingTheMouseOutsideThePressedButtonClosesNothing) {
    OWndQuit* quit = OpenQuit();
    auto [x, y] = CentreOf(quit->YesButton());
    MoveMouse(quit, x, y);
    Send(quit, NativeEventType::ButtonDown, 1, x, y);
    MoveMouse(quit, 140, 20);
    Send(quit, NativeEventType::ButtonUp, 1, 140, 20);
    Frame(quit);
    EXPECT_FALSE(Closed(quit));
    EXPECT_EQ(TheGameState().dialogAnswer, kNoAnswer);
    EXPECT_TRUE(parent->IsModalPaused());
}

TEST_F(YesNoDialogTest, TheFirstAnswerStandsUntilTheDialogHasClosed) {
    OWndQuit* quit = OpenQuit();
    Key(quit, vk::kEscape);
    Key(quit, vk::kEnter);  // before the close has been carried out
    EXPECT_TRUE(Closed(quit));
    EXPECT_EQ(TheGameState().dialogAnswer, kAnswerNo);
    EXPECT_EQ(TheGameState().pendingDialog, kNoDialog);
}

TEST_F(YesNoDialogTest, AMissingShoreUpLeavesThatPieceOutAndTheDialogStillOpens) {
    UseProgramFolder(FolderWithout({"ShoreUp.clp"}));
    OWndQuit* quit = OpenQuit();
    const std::vector<OClip*> clips = Clips(quit);
    ASSERT_EQ(clips.size(), 7u);
    for (const OClip* clip : clips) EXPECT_NE(clip->Y(), -30.0f);
    EXPECT_NE(quit->YesButton(), nullptr);
    Key(quit, vk::kEnter);
    EXPECT_TRUE(Closed(quit));
    EXPECT_EQ(TheGameState().dialogAnswer, kAnswerYes);
}

TEST_F(YesNoDialogTest, ADialogWhoseWindowCouldNotBeCreatedIsDisposedOfAndHoldsNothing) {
    os.FailWindowCreation(true);
    const size_t windows = window_registry::Count();
    OWndQuit* quit = nullptr;
    {
        DialogSize size(280, 185);
        quit = new OWndQuit(parent);
    }
    EXPECT_FALSE(StartDialog(quit));
    os.FailWindowCreation(false);
    EXPECT_EQ(window_registry::Count(), windows);
    EXPECT_FALSE(parent->IsModalPaused());
    EXPECT_EQ(WindowDefaults::Current().width, 750);
    EXPECT_EQ(WindowDefaults::Current().height, 550);
}

}  // namespace
}  // namespace dialog_test
