// Each dialog rendered headless and compared with its reference picture in tests/golden/ (written
// only with MARSHWADE_UPDATE_GOLDEN=1, and looked at before it is committed).
#include "game/OFrog.h"
#include "tests/support/GoldenPicture.h"
#include "tests/ui/DialogFixture.h"
#include "ui/OCheckbox.h"
#include "windows/ONewLevel.h"
#include "windows/OOptionsWindow.h"
#include "windows/OWndHelp.h"
#include "windows/OWndQuit.h"

namespace dialog_test {
namespace {

class DialogGoldenTest : public DialogTest {
  protected:
    // A few frames, so every clip shows a picture and the buttons their looks.
    void Settle(OWindow* dialog) {
        for (int i = 0; i < 3; ++i) Frame(dialog);
    }
    ::testing::AssertionResult Looks(OWindow* dialog, const std::string& name) {
        return golden::Matches(*dialog->GetPicture(), static_cast<int>(dialog->ClientWidth()),
                               static_cast<int>(dialog->ClientHeight()), name);
    }
};

TEST_F(DialogGoldenTest, Quit) {
    OWndQuit* quit = Open<OWndQuit>(280, 185);
    Settle(quit);
    EXPECT_TRUE(Looks(quit, "dialog_quit"));
}

TEST_F(DialogGoldenTest, LevelCompletedWithABonusFrog) {
    TheGameSettings().levelNumber = 3;
    TheGameState().score = 1000;
    for (int i = 0; i < 8; ++i) {
        TheGameState().frogs.push_back(std::make_unique<OFrog>());
        TheGameState().frogs.back()->state = i < 2 ? OFrog::kDead : OFrog::kResting;
    }
    ONewLevel* dialog = nullptr;
    {
        DialogSize size(300, 320);
        dialog = new ONewLevel(parent);
    }
    made.push_back(dialog);
    dialog->levelPoints = 120;
    dialog->bonusFrog = true;
    ASSERT_TRUE(StartDialog(dialog));
    Settle(dialog);
    EXPECT_TRUE(Looks(dialog, "dialog_level_completed"));
}

TEST_F(DialogGoldenTest, OptionsWithExpertAndAutoSave) {
    TheGameState().skill = 1;
    TheGameState().autoSave = true;
    OOptionsWindow* options = Open<OOptionsWindow>(260, 480);
    Settle(options);
    EXPECT_TRUE(Looks(options, "dialog_options"));
}

TEST_F(DialogGoldenTest, Help) {
    OWndHelp* help = Open<OWndHelp>(OWndHelp::kWidth, OWndHelp::kHeight);
    Settle(help);
    EXPECT_TRUE(Looks(help, "dialog_help"));
}

}  // namespace
}  // namespace dialog_test
