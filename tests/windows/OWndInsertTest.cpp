// The enter-name window over a plain parent: what it shows and offers, and what Yes, No and Escape
// record.
#include <gtest/gtest.h>

#include <ctime>

#include "engine/VirtualKey.h"
#include "storage/DataFileCodec.h"
#include "tests/storage/FaultyFiles.h"
#include "tests/windows/ScoreWindowsFixture.h"
#include "tests/support/GoldenPicture.h"
#include "ui/OButton.h"
#include "ui/OEdit.h"
#include "ui/OText.h"

namespace {

using namespace scores_test;

std::string Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%d-%d-%d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return text;
}

class OWndInsertTest : public ScoreWindowsTest {
  protected:
    // The words the window shows, in the order they were laid out, without their trailing spaces.
    static std::vector<std::string> Words(const OWindow* w) {
        std::vector<std::string> words;
        for (OGraph* g : w->Graphics()) {
            if (const auto* text = dynamic_cast<const OText*>(g)) {
                std::string word = text->GetText();
                while (!word.empty() && word.back() == ' ') word.pop_back();
                words.push_back(word);
            }
        }
        return words;
    }
    // Replaces the offered name with `name` as a player would: click into the field, go to the end,
    // delete back to the start, type.
    void EnterName(OWndInsert* w, const std::string& name) {
        Click(w, w->NameEdit());
        Key(w, vk::kEnd);
        for (size_t i = w->NameEdit()->GetText().size(); i > 0; --i) Key(w, vk::kBackspace);
        Type(w, name);
    }
    // A whole game over: the window opens, the name is entered and Yes pressed.
    void Record(int score, int skill, const std::string& name) {
        OWndInsert* w = OpenInsert(score, skill);
        EnterName(w, name);
        Click(w, w->YesButton());
        ASSERT_TRUE(Finished(w));
    }
    std::string Offered(int skill) {
        OWndInsert* w = OpenInsert(100, skill);
        const std::string name = w->NameEdit()->GetText();
        Key(w, vk::kEscape);
        EXPECT_TRUE(Finished(w));
        return name;
    }
};

TEST_F(OWndInsertTest, ShowsTheScoreAndAskForAName) {
    OWndInsert* w = OpenInsert(1250, 1);
    EXPECT_EQ(w->ClientWidth(), 280);
    EXPECT_EQ(w->ClientHeight(), 280);
    // The trailing space of "Your score is : " makes a word of its own, as every layout does.
    EXPECT_EQ(Words(w), (std::vector<std::string>{"Congratulation", "Your", "score", "is", ":", "", "1250",
                                                  "Enter", "your", "name:"}));
    const OEdit* edit = w->NameEdit();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->X(), (280 - edit->Width()) / 2);
    float lastWordBottom = 0;
    for (OGraph* g : w->Graphics())
        if (dynamic_cast<OText*>(g)) lastWordBottom = std::max(lastWordBottom, g->Y() + g->Height());
    EXPECT_EQ(edit->Y(), lastWordBottom) << "right below the texts";
    EXPECT_EQ(w->Focus(), w->YesButton());
    EXPECT_TRUE(parent->IsModalPaused());
}

TEST_F(OWndInsertTest, OfferedNameIsTheLastEnteredElseTheBestAtTheSkillElseAnonymous) {
    EXPECT_EQ(Offered(0), "Anonymous") << "no table";
    WriteTable({{"Eve", "2", 9000}, {"Ann", "1", 700}, {"Bob", "1", 300}});
    EXPECT_EQ(Offered(0), "Ann") << "the best Novice";
    EXPECT_EQ(Offered(2), "Anonymous") << "no Master result";

    Record(50, 0, "Zoe");
    EXPECT_EQ(Offered(1), "Zoe") << "the last name entered in this run, whatever the table holds";
    Record(60, 0, "");
    EXPECT_EQ(Offered(1), "Eve") << "an empty name offers the table's best again";
}

TEST_F(OWndInsertTest, YesRecordsTheResultWithTodaysDate) {
    WriteTable({{"Ann", "1", 700}});
    const std::string before = Today();
    OWndInsert* w = OpenInsert(1250, 1);
    EnterName(w, "Bob");
    Click(w, w->YesButton());
    const std::string after = Today();
    EXPECT_EQ(TheGameState().dialogAnswer, kAnswerYes);
    ASSERT_TRUE(Finished(w));
    EXPECT_FALSE(parent->IsModalPaused());

    TScoresTable table;
    table.LoadTable(TablePath());
    ASSERT_EQ(table.records.size(), 2u);
    const auto& [score, record] = *table.records.rbegin();
    EXPECT_EQ(score, 1250);
    EXPECT_EQ(record.name, "Bob");
    EXPECT_EQ(record.skill, "2");
    EXPECT_TRUE(record.date == before || record.date == after) << record.date;
}

TEST_F(OWndInsertTest, NoAndEscapeRecordNothing) {
    WriteTable({{"Ann", "1", 700}});
    const std::vector<std::string> before = FileResults();
    for (bool escape : {false, true}) {
        OWndInsert* w = OpenInsert(5000, 0);
        EnterName(w, "Bob");
        if (escape)
            Key(w, vk::kEscape);
        else
            Click(w, w->NoButton());
        EXPECT_EQ(TheGameState().dialogAnswer, kAnswerNo);
        ASSERT_TRUE(Finished(w));
        EXPECT_EQ(FileResults(), before);
    }
    fs::remove(TablePath());
    OWndInsert* w = OpenInsert(5000, 0);
    Key(w, vk::kEscape);
    ASSERT_TRUE(Finished(w));
    EXPECT_FALSE(fs::exists(TablePath())) << "not even an empty table";
}

TEST_F(OWndInsertTest, OnlyTheFirstAnswerCounts) {
    // Keys and clicks handled before the close is carried out: Escape then Yes, Yes twice.
    OWndInsert* w = OpenInsert(700, 0);
    Key(w, vk::kEscape);
    Click(w, w->YesButton());
    EXPECT_EQ(TheGameState().dialogAnswer, kAnswerNo);
    ASSERT_TRUE(Finished(w));
    EXPECT_FALSE(fs::exists(TablePath()));

    w = OpenInsert(800, 0);
    Click(w, w->YesButton());
    Click(w, w->YesButton());
    ASSERT_TRUE(Finished(w));
    EXPECT_EQ(FileResults().size(), 1u);
}

TEST_F(OWndInsertTest, ALongNameIsOfferedWholeAndRecordedCutToForty) {
    const std::string name = std::string(100, 'x') + std::string(50, 'y');
    Record(300, 0, name);
    EXPECT_EQ(FileResults(), (std::vector<std::string>{std::string(40, 'x') + " 1 300"}));
    EXPECT_EQ(Offered(0), name) << "offered whole at the next game over";
    Record(200, 0, name);
    EXPECT_EQ(FileResults().size(), 2u);
}

class OWndInsertFaultTest : public OWndInsertTest,
                            public ::testing::WithParamInterface<faulty_files::FaultCase> {
  protected:
    void TearDown() override {
        faulty_files::Undo(TablePath());
        OWndInsertTest::TearDown();
    }
};

TEST_P(OWndInsertFaultTest, AResultThatCannotBeRecordedIsSaidInTheWindowAndTheFileStays) {
    using namespace faulty_files;
    const FaultCase& c = GetParam();
    if (const std::string why = Unavailable(c.fault); !why.empty()) GTEST_SKIP() << c.name << ": " << why;
    faulty_files::Make(c.fault, TablePath(), EncodeDataFile("2004-7-5\tAnn\t1\t900\n"));
    const std::string before = Snapshot(TablePath());

    testing::internal::CaptureStderr();
    OWndInsert* w = OpenInsert(1250, 0);
    EnterName(w, "Bob");
    Click(w, w->YesButton());
    EXPECT_FALSE(Finished(w)) << "the window stays, showing why";
    EXPECT_EQ(w->Note().Text(),
              c.unreadable ? "Your result could not be recorded: the score file could not be read."
                           : "Your result could not be recorded: the score file could not be written.");
    EXPECT_EQ(Snapshot(TablePath()), before);
    EXPECT_NE(TheGameState().dialogAnswer, kAnswerYes);
    // Between the name field and the buttons, inside the frame.
    for (const OText* word : w->Note().Words()) {
        EXPECT_GE(word->Y(), w->NameEdit()->Y() + w->NameEdit()->Height()) << word->GetText();
        EXPECT_LE(word->Y() + word->Height(), w->YesButton()->Y()) << word->GetText();
        EXPECT_GE(word->X(), 10) << word->GetText();
        EXPECT_LE(word->X() + word->Width(), OWndInsert::kWidth - 10) << word->GetText();
    }

    Click(w, w->YesButton());  // tries again, with the same outcome
    EXPECT_FALSE(Finished(w));
    Key(w, vk::kEscape);
    EXPECT_TRUE(Finished(w));
    EXPECT_EQ(TheGameState().dialogAnswer, kAnswerNo) << "nothing recorded";
    EXPECT_EQ(Snapshot(TablePath()), before);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("table.dat"), std::string::npos) << err;
}

INSTANTIATE_TEST_SUITE_P(Faults, OWndInsertFaultTest, ::testing::ValuesIn(faulty_files::kFaultCases),
                         faulty_files::CaseName);

TEST_F(OWndInsertTest, ThePicture) {
    WriteTable({{"Ann", "1", 700}});
    OWndInsert* w = OpenInsert(15250, 0);
    Frame(w);
    EXPECT_TRUE(golden::Matches(*w->GetPicture(), OWndInsert::kWidth, OWndInsert::kHeight, "scores_insert"));
}

TEST_F(OWndInsertTest, ThePictureOfAResultNotRecorded) {
    faulty_files::Make(faulty_files::Fault::Folder, TablePath(), "");
    OWndInsert* w = OpenInsert(15250, 0);
    Click(w, w->YesButton());
    Frame(w);
    EXPECT_TRUE(golden::Matches(*w->GetPicture(), OWndInsert::kWidth, OWndInsert::kHeight,
                                "scores_insert_not_recorded"));
}

}  // namespace
