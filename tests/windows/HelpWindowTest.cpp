// The help window over a plain parent: the sample clips at their places (the heart held still), the
// running text laid out line by line, and the Play button.
#include "engine/VirtualKey.h"
#include "tests/ui/DialogFixture.h"
#include "ui/OButton.h"
#include "windows/OWndHelp.h"

namespace dialog_test {
namespace {

class HelpWindowTest : public DialogTest {
  protected:
    OWndHelp* OpenHelp() { return Open<OWndHelp>(OWndHelp::kWidth, OWndHelp::kHeight); }
    // The clips after the eight frame pieces: the samples.
    static std::vector<OClip*> Samples(const OWindow* w) {
        std::vector<OClip*> clips = Clips(w);
        return {clips.begin() + std::min<ptrdiff_t>(8, static_cast<ptrdiff_t>(clips.size())), clips.end()};
    }
    static std::vector<std::pair<float, float>> Places(const std::vector<OClip*>& clips) {
        std::vector<std::pair<float, float>> out;
        for (const OClip* c : clips) out.push_back({c->X(), c->Y()});
        return out;
    }
};

using PlaceList = std::vector<std::pair<float, float>>;

TEST_F(HelpWindowTest, EightSamplesAtTheirPlacesAllAnimatedButTheHeart) {
    OWndHelp* help = OpenHelp();
    const std::vector<OClip*> samples = Samples(help);
    EXPECT_EQ(
        Places(samples),
        (PlaceList{
            {110, 160}, {240, 160}, {370, 160}, {20, 287}, {120, 287}, {220, 287}, {320, 287}, {420, 287}}));
    ASSERT_EQ(samples.size(), 8u);
    for (int i = 0; i < 12; ++i) Frame(help);
    for (size_t i = 0; i + 1 < samples.size(); ++i) EXPECT_FALSE(samples[i]->IsHolding()) << i;
    EXPECT_TRUE(samples.back()->IsHolding());
    EXPECT_EQ(samples.back()->ShownIndex(), 0);
}

TEST_F(HelpWindowTest, AMissingSampleLeavesAGapAndTheRestUnchanged) {
    OWndHelp* whole = OpenHelp();
    const std::vector<std::string> texts = Texts(whole);
    const float playX = whole->NoButton()->X();
    Key(whole, vk::kEscape);
    ASSERT_TRUE(Closed(whole));

    UseProgramFolder(FolderWithout({"2-fly0.clp"}));
    OWndHelp* help = OpenHelp();
    EXPECT_EQ(Places(Samples(help)),
              (PlaceList{{110, 160}, {240, 160}, {370, 160}, {20, 287}, {220, 287}, {320, 287}, {420, 287}}));
    EXPECT_EQ(Clips(help).size(), 8u + 7u);
    EXPECT_EQ(Texts(help), texts);
    EXPECT_FLOAT_EQ(help->NoButton()->X(), playX);
}

TEST_F(HelpWindowTest, TheTextsAreLaidOutLineByLineWithTheLastBlockFrom357) {
    OWndHelp* help = OpenHelp();
    const auto lines = Lines(help);
    // Twenty texts, the empty one three times: no text wraps onto a second line (it would push the
    // text below it over the pictures).
    EXPECT_EQ(lines.size(), 22u);
    // Every line starts at the left edge of the band; the paragraphs' first lines start with two
    // one-space words, so their text begins two spaces in.
    for (const auto& [y, row] : lines) {
        ASSERT_EQ(row.size(), 1u) << "one line at y " << y;
        EXPECT_EQ(row.begin()->second.x, 30) << y;
    }
    EXPECT_EQ(lines.begin()->first, 27);
    const std::string& first = lines.begin()->second.begin()->second.text;
    EXPECT_EQ(first.rfind("  Now, how do you like", 0), 0u) << first;
    ASSERT_EQ(lines.count(357), 1u);
    EXPECT_EQ(lines.at(357).begin()->second.text.rfind("  One more important thing.", 0), 0u);
    const std::string labels = std::string(14, ' ') + "+ 15" + std::string(18, ' ') + "+ 10" +
                               std::string(18, ' ') + "+ 5" + std::string(23, ' ') + "+ 5" +
                               std::string(19, ' ') + "+ life ";
    bool found = false;
    int labelsY = 0;
    for (const auto& [y, row] : lines) {
        if (row.begin()->second.text == labels) {
            found = true;
            labelsY = y;
        }
    }
    EXPECT_TRUE(found) << "the point labels, 112 characters, on a line of their own";
    EXPECT_GT(labelsY, 287) << "below the second row of pictures";
    EXPECT_LT(labelsY, 357);
    // Lines follow each other one text height apart, but for the jump to 357.
    int previous = -1, step = 0;
    for (const auto& [y, row] : lines) {
        if (previous >= 0 && y != 357) {
            if (step == 0) step = y - previous;
            EXPECT_EQ(y - previous, step) << "at y " << y;
        }
        previous = y;
    }
    EXPECT_GT(step, 0);
}

TEST_F(HelpWindowTest, PlayInTheLowerRightCornerFocusedAndAnswersNo) {
    OWndHelp* help = OpenHelp();
    const OButton* play = help->NoButton();
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(help->YesButton(), nullptr);
    EXPECT_EQ(help->Focus(), play);
    EXPECT_FLOAT_EQ(play->X() + play->Width(), OWndHelp::kWidth - 40);
    EXPECT_FLOAT_EQ(play->Y() + play->Height(), 540 - 10);
    ClickOn(help, play);
    EXPECT_TRUE(Closed(help));
    EXPECT_EQ(TheGameState().dialogAnswer, kAnswerNo);
}

}  // namespace
}  // namespace dialog_test
