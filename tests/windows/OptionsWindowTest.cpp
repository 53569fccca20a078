// The options window over a plain parent: switches and skills applied at once, OK keeping them,
// Cancel and Escape putting back what was found, its frame, its focus order and what it leaves behind.
#include <algorithm>
#include <vector>

#include "engine/VirtualKey.h"
#include "tests/ui/DialogFixture.h"
#include "ui/OButton.h"
#include "ui/OCheckbox.h"
#include "windows/OOptionsWindow.h"

namespace dialog_test {
namespace {

class OptionsWindowTest : public DialogTest {
  protected:
    OOptionsWindow* OpenOptions() { return Open<OOptionsWindow>(260, 480); }
    // Which skill boxes show their checked look.
    static std::vector<int> Checked(const OOptionsWindow* w) {
        std::vector<int> out;
        for (const OCheckbox* box : w->SkillBoxes()) out.push_back(box->Index());
        return out;
    }
};

TEST_F(OptionsWindowTest, CancelAfterSwitchingSoundOffLeavesItOn) {
    OOptionsWindow* options = OpenOptions();
    ASSERT_EQ(options->SoundBox()->Index(), 1);
    ClickOn(options, options->SoundBox());
    EXPECT_FALSE(TheGameState().soundOn) << "applied at once";
    EXPECT_EQ(options->SoundBox()->Index(), 0);
    ClickOn(options, options->CancelButton());
    EXPECT_TRUE(Closed(options));
    EXPECT_TRUE(TheGameState().soundOn);
}

TEST_F(OptionsWindowTest, OkAfterExpertThenMasterLeavesMasterCheckedAlone) {
    OOptionsWindow* options = OpenOptions();
    EXPECT_EQ(Checked(options), (std::vector<int>{1, 0, 0}));
    ClickOn(options, options->SkillBoxes()[1]);
    EXPECT_EQ(TheGameState().skill, 1);
    ClickOn(options, options->SkillBoxes()[2]);
    EXPECT_EQ(Checked(options), (std::vector<int>{0, 0, 1}));
    ClickOn(options, options->OkButton());
    EXPECT_TRUE(Closed(options));
    EXPECT_EQ(TheGameState().skill, 2);
}

// Every switch changes its look by hiding one picture, which clears the window's focus; Enter must
// still close the window as OK does, after any of them.
TEST_F(OptionsWindowTest, EnterAfterClickingASwitchIsStillOk) {
    for (int which = 0; which < 3; ++which) {
        OOptionsWindow* options = OpenOptions();
        OControl* switches[] = {options->SkillBoxes()[2], options->SoundBox(), options->AutoSaveBox()};
        ClickOn(options, switches[which]);
        Key(options, vk::kEnter);
        EXPECT_TRUE(Closed(options)) << "switch " << which;
    }
    EXPECT_EQ(TheGameState().skill, 2) << "OK kept the skill chosen";
}

// Up and Down move the skill one step without a mouse, stopping at Novice and Master; Enter keeps
// the skill chosen, Escape puts back the one found.
TEST_F(OptionsWindowTest, UpAndDownChooseTheSkillAndEnterOrEscapeEndsAsWithTheMouse) {
    const struct {
        int start;
        std::vector<int> keys;
        int close;  // vk::kEnter or vk::kEscape
        int expected;
    } cases[] = {
        {0, {vk::kDown}, vk::kEnter, 1},
        {0, {vk::kDown, vk::kDown, vk::kDown}, vk::kEnter, 2},
        {2, {vk::kUp, vk::kUp, vk::kUp}, vk::kEnter, 0},
        {1, {vk::kUp, vk::kDown, vk::kDown}, vk::kEnter, 2},
        {1, {vk::kDown}, vk::kEscape, 1},
    };
    for (const auto& c : cases) {
        TheGameState().skill = c.start;
        OOptionsWindow* options = OpenOptions();
        int shown = c.start;
        for (int key : c.keys) {
            Key(options, key);
            shown = std::clamp(shown + (key == vk::kDown ? 1 : -1), 0, 2);
        }
        std::vector<int> checked(3, 0);
        checked[static_cast<size_t>(shown)] = 1;
        EXPECT_EQ(Checked(options), checked) << "from " << c.start << ", " << c.keys.size() << " keys";
        Key(options, c.close);
        EXPECT_TRUE(Closed(options));
        EXPECT_EQ(TheGameState().skill, c.expected) << "from " << c.start << ", " << c.keys.size() << " keys";
    }
}

TEST_F(OptionsWindowTest, ClickingTheCheckedSkillKeepsIt) {
    TheGameState().skill = 1;
    OOptionsWindow* options = OpenOptions();
    ASSERT_EQ(Checked(options), (std::vector<int>{0, 1, 0}));
    ClickOn(options, options->SkillBoxes()[1]);
    ClickOn(options, options->SkillBoxes()[1]);
    EXPECT_EQ(Checked(options), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(TheGameState().skill, 1);
}

TEST_F(OptionsWindowTest, EscapePutsBackSkillSoundAndAutoSaveLikeCancel) {
    TheGameState().autoSave = true;
    OOptionsWindow* options = OpenOptions();
    ClickOn(options, options->SkillBoxes()[2]);
    ClickOn(options, options->SoundBox());
    ClickOn(options, options->AutoSaveBox());
    EXPECT_EQ(TheGameState().skill, 2);
    EXPECT_FALSE(TheGameState().autoSave);
    Key(options, vk::kEscape);
    EXPECT_TRUE(Closed(options));
    EXPECT_EQ(TheGameState().skill, 0);
    EXPECT_TRUE(TheGameState().soundOn);
    EXPECT_TRUE(TheGameState().autoSave);
    EXPECT_FALSE(parent->IsModalPaused());
}

TEST_F(OptionsWindowTest, KeepsFiftyStepsASecondAndTabMovesOnlyBetweenOkAndCancel) {
    OOptionsWindow* options = OpenOptions();
    EXPECT_EQ(options->FrameRate(), 50);
    EXPECT_EQ(options->Focus(), options->OkButton());
    MoveMouse(options, 40, 60);  // hovering over a switch leaves the focus with OK
    EXPECT_EQ(options->Focus(), options->OkButton());
    Key(options, vk::kTab);
    EXPECT_EQ(options->Focus(), options->CancelButton());
    Key(options, vk::kTab);
    EXPECT_EQ(options->Focus(), nullptr);
    Key(options, vk::kTab);
    EXPECT_EQ(options->Focus(), options->OkButton());
    Key(options, vk::kEnter);
    EXPECT_TRUE(Closed(options));
}

TEST_F(OptionsWindowTest, LeavesNoDrawableBehindOnceClosed) {
    const size_t before = live_set::Count();
    OOptionsWindow* options = OpenOptions();
    ClickOn(options, options->SkillBoxes()[1]);
    ClickOn(options, options->OkButton());
    ASSERT_TRUE(Closed(options));
    EXPECT_EQ(live_set::Count(), before)
        << "the templates, never in the window's lists, go with their copies";
}

}  // namespace
}  // namespace dialog_test
