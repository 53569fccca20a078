// The level-completed dialog over a plain parent: its texts at their places, the bonus credited,
// the bonus-frog row only when frogs are missing, the sound and the Play button.
#include "engine/VirtualKey.h"
#include "game/OFrog.h"
#include "tests/ui/DialogFixture.h"
#include "ui/OButton.h"
#include "windows/ONewLevel.h"

namespace dialog_test {
namespace {

class NewLevelTest : public DialogTest {
  protected:
    // `frogs` frog objects, the first `dead` of them drowned.
    static void Frogs(int frogs, int dead) {
        auto& list = TheGameState().frogs;
        list.clear();
        for (int i = 0; i < frogs; ++i) {
            list.push_back(std::make_unique<OFrog>());
            list.back()->state = i < dead ? OFrog::kDead : OFrog::kResting;
        }
    }
    ONewLevel* OpenWith(int32_t levelPoints, bool bonusFrog) {
        TheGameState().pendingDialog = kLevelOpen;
        ONewLevel* dialog = nullptr;
        {
            DialogSize size(300, 320);
            dialog = new ONewLevel(parent);
        }
        made.push_back(dialog);
        dialog->levelPoints = levelPoints;
        dialog->bonusFrog = bonusFrog;
        EXPECT_TRUE(StartDialog(dialog));
        Frame(dialog);
        return dialog;
    }
};

TEST_F(NewLevelTest, ShowsTheLevelsPointsItsBonusAndTheTotalWithTheBonusCredited) {
    TheGameSettings().levelNumber = 4;
    TheGameState().score = 1000;
    Frogs(8, 0);
    ONewLevel* dialog = OpenWith(120, false);
    EXPECT_EQ(Texts(dialog), (std::vector<std::string>{"Level 4 completed", "Score", "120", "Bonus", "240",
                                                       "Total score", "1240"}));
    EXPECT_EQ(TheGameState().score, 1240);

    // Right-aligned numbers end at 270 (their places on the picture: the golden test).
    EXPECT_EQ(Lines(dialog).at(190).rbegin()->second.right, 270);
}

// Points past what the digits hold come only from a modder's tuning, but must not wrap the score round.
TEST_F(NewLevelTest, ABonusPastTheLargestScoreHoldsTheTotalThere) {
    TheGameSettings().levelNumber = 4;
    TheGameState().score = 2000000000;
    Frogs(8, 0);
    ONewLevel* dialog = OpenWith(2000000000, false);
    EXPECT_EQ(Texts(dialog), (std::vector<std::string>{"Level 4 completed", "Score", "2000000000", "Bonus",
                                                       "4000000000", "Total score", "2147483647"}));
    EXPECT_EQ(TheGameState().score, INT32_MAX);
}

struct BonusRow {
    int dead;
    bool bonusFrog;
    std::vector<std::string> row;  // what shows at y 140
};

class BonusFrogRow : public NewLevelTest, public ::testing::WithParamInterface<BonusRow> {};

TEST_P(BonusFrogRow, ShowsOnlyWhenFrogsAreMissing) {
    Frogs(8, GetParam().dead);
    ONewLevel* dialog = OpenWith(50, GetParam().bonusFrog);
    std::vector<std::string> row;
    const auto lines = Lines(dialog);
    if (lines.count(140)) {
        for (const auto& [x, line] : lines.at(140)) row.push_back(line.text);
    }
    EXPECT_EQ(row, GetParam().row);
}

INSTANTIATE_TEST_SUITE_P(NewLevel, BonusFrogRow,
                         ::testing::Values(BonusRow{0, false, {}}, BonusRow{0, true, {}},
                                           BonusRow{3, true, {"Bonus frog ", "YES "}},
                                           BonusRow{1, false, {"Bonus frog ", "NO "}}));

TEST_F(NewLevelTest, PlaysTheNewLevelSoundOnceWhenTheSoundIsOn) {
    for (bool on : {true, false}) {
        SCOPED_TRACE(on);
        sounds.ClearRequests();
        TheGameState().soundOn = on;
        ONewLevel* dialog = OpenWith(10, false);
        Frame(dialog);
        EXPECT_EQ(SoundFiles(),
                  on ? std::vector<std::string>{"WAV\\newlevel.wav"} : std::vector<std::string>{});
        Key(dialog, vk::kEscape);
        ASSERT_TRUE(Closed(dialog));
    }
}

TEST_F(NewLevelTest, PlayIsCentredAtTheBottomFocusedAndAnswersYes) {
    ONewLevel* dialog = OpenWith(10, false);
    const OButton* play = dialog->YesButton();
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(dialog->Focus(), play);
    EXPECT_EQ(dialog->NoButton(), nullptr);
    EXPECT_FLOAT_EQ(play->X(), (300 - play->Width()) / 2);
    EXPECT_FLOAT_EQ(play->Y() + play->Height(), 320 - 10);
    ClickOn(dialog, play);
    EXPECT_TRUE(Closed(dialog));
    EXPECT_EQ(TheGameState().dialogAnswer, kAnswerYes);
    EXPECT_EQ(TheGameState().pendingDialog, kLevelOpen) << "the game starts the next level";
}

}  // namespace
}  // namespace dialog_test
