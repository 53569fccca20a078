#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "TestFiles.h"
#include "storage/DataFileCodec.h"
#include "storage/DataFileIo.h"
#include "storage/TScoresTable.h"

namespace {

struct Row {
    int32_t score;
    std::string date, name, skill;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Row& r) {
    return os << r.score << " " << r.date << "|" << r.name << "|" << r.skill;
}

// The records as the score windows walk them: highest score first.
std::vector<Row> Walk(const TScoresTable& table) {
    std::vector<Row> rows;
    for (auto it = table.records.rbegin(); it != table.records.rend(); ++it)
        rows.push_back({it->first, it->second.date, it->second.name, it->second.skill});
    return rows;
}

std::string Line(const std::string& name, const std::string& skill, int score) {
    return "2004-7-5\t" + name + "\t" + skill + "\t" + std::to_string(score);
}

TEST(TScoresTableParseTest, OneLineGivesOneRecordWithOrWithoutCarriageReturn) {
    for (const char* text : {"2004-7-5\tAnn\t2\t1500\n", "2004-7-5\tAnn\t2\t1500\r\n"}) {
        TScoresTable table;
        table.ParseTableText(text);
        EXPECT_EQ(Walk(table), (std::vector<Row>{{1500, "2004-7-5", "Ann", "2"}}));
    }
}

TEST(TScoresTableParseTest, LinesWithoutExactlyFourFieldsAreDropped) {
    TScoresTable table;
    table.ParseTableText(
        "a\tb\tc\n"               // two tabs
        "2004-7-5\tBob\t1\t10\n"  // read from its own first character
        "1\t2\t3\t4\t5\n"         // five fields
        "\n"                      // empty line
        "d\tCid\t3\t-7");         // last line without a line feed
    EXPECT_EQ(Walk(table), (std::vector<Row>{{10, "2004-7-5", "Bob", "1"}, {-7, "d", "Cid", "3"}}));
    TScoresTable trailingTab;
    trailingTab.ParseTableText("d\tDan\t1\t");
    EXPECT_TRUE(trailingTab.records.empty()) << "a final tab without a line feed ends no field";
}

TEST(TScoresTableParseTest, ScoreTextReadsLikeAtoi) {
    TScoresTable table;
    table.ParseTableText("d\ta\t1\t12abc\nd\tb\t1\tabc\nd\tc\t1\t  -3\nd\td\t1\t99999999999\n");
    std::vector<int32_t> scores;
    for (const Row& r : Walk(table)) scores.push_back(r.score);
    EXPECT_EQ(scores, (std::vector<int32_t>{2147483647, 12, 0, -3}));
}

TEST(TScoresTableParseTest, AddLineKeepsWhateverFieldsItGets) {
    TScoresTable table;
    table.AddLine(Line("Ann", "2", 1500));
    table.AddLine("x\t5");
    table.AddLine("42");
    table.AddLine("a\tb\tc\td\t7");
    EXPECT_EQ(Walk(table),
              (std::vector<Row>{
                  {1500, "2004-7-5", "Ann", "2"}, {42, "", "", ""}, {7, "a", "b", "c"}, {5, "x", "", ""}}));
}

TEST(TScoresTableOrderTest, NewRecordOfEqualScoreIsWrittenAboveTheOlderOnes) {
    TScoresTable table;
    table.ParseTableText(Line("Old", "1", 100) + "\n");
    table.AddLine(Line("New", "1", 100));
    EXPECT_EQ(table.TableText(), Line("New", "1", 100) + "\n" + Line("Old", "1", 100) + "\n");
    // Loading that text and saving again reverses the tied records once more.
    TScoresTable reloaded;
    reloaded.ParseTableText(table.TableText());
    EXPECT_EQ(reloaded.TableText(), Line("Old", "1", 100) + "\n" + Line("New", "1", 100) + "\n");
}

TEST(TScoresTableSaveTest, OnlyTheTenBestOfOnePlayerAtOneSkillAreWritten) {
    TScoresTable table;
    for (int i = 1; i <= 11; ++i) table.AddLine(Line("Ann", "1", i * 10));
    TScoresTable reloaded;
    reloaded.ParseTableText(table.TableText());
    ASSERT_EQ(reloaded.records.size(), 10u);
    EXPECT_EQ(reloaded.records.begin()->first, 20) << "the eleventh-best (10) is gone";
    EXPECT_EQ(table.records.size(), 11u) << "the table in memory keeps it";
}

TEST(TScoresTableSaveTest, ElevenPlayersNamesDifferingInCaseAndSkillsCountApart) {
    TScoresTable table;
    for (int i = 0; i < 11; ++i) table.AddLine(Line("P" + std::to_string(i), "1", i));
    for (int i = 0; i < 10; ++i) {
        table.AddLine(Line("Ann", "2", 1000 + i));
        table.AddLine(Line("ann", "2", 2000 + i));
        table.AddLine(Line("Ann", "3", 3000 + i));
    }
    TScoresTable reloaded;
    reloaded.ParseTableText(table.TableText());
    EXPECT_EQ(reloaded.records.size(), 41u);
}

TEST(TScoresTableSaveTest, RemoveSkillErasesOnlyThatSkillText) {
    TScoresTable table;
    for (const char* skill : {"1", "2", "3", "3", "03", " 3"}) table.AddLine(Line("Ann", skill, 5));
    table.RemoveSkill("3");
    std::vector<std::string> left;
    for (const Row& r : Walk(table)) left.push_back(r.skill);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{" 3", "03", "1", "2"}));
}

TEST(TScoresTableSaveTest, FieldsCannotForgeOrShiftLines) {
    TScoresTable table;
    table.records.emplace(5, TScoresTableRec{"d", "Eve\n2004-1-1\tEve\t1\t999999", "1"});
    table.records.emplace(6, TScoresTableRec{"d", "Tab\tName", "1"});
    TScoresTable reloaded;
    reloaded.ParseTableText(table.TableText());
    EXPECT_EQ(Walk(reloaded),
              (std::vector<Row>{{6, "d", "Tab Name", "1"}, {5, "d", "Eve 2004-1-1 Eve 1 999999", "1"}}));
}

class TScoresTableFileTest : public TempFolderTest {
  protected:
    void TearDown() override {
        SetAtomicWriteHookForTesting(nullptr);
        TempFolderTest::TearDown();
    }
};

TEST_F(TScoresTableFileTest, EmptyTableSavesAsATwelveByteFileAndMissingFileLoadsEmpty) {
    TScoresTable table;
    EXPECT_EQ(table.LoadTable(Path("table.dat")), 1);
    EXPECT_TRUE(table.records.empty());
    EXPECT_TRUE(table.SaveTable(Path("table.dat")));
    EXPECT_EQ(ReadAll(Path("table.dat")).size(), 12u);
}

TEST_F(TScoresTableFileTest, SaveAndLoadKeepEveryWrittenRecordAndLeaveNoTemporaryFile) {
    TScoresTable table;
    table.AddLine(Line("Ann", "2", 1500));
    table.AddLine(Line("Bob", "1", -20));
    ASSERT_TRUE(table.SaveTable(Path("table.dat")));
    EXPECT_EQ(FileCount(), 1u);
    TScoresTable loaded;
    loaded.LoadTable(Path("table.dat"));
    EXPECT_EQ(Walk(loaded), Walk(table));
}

TEST_F(TScoresTableFileTest, SaveInterruptedAfterTheTemporaryFileKeepsTheOldTable) {
    TScoresTable old;
    old.AddLine(Line("Ann", "2", 1500));
    ASSERT_TRUE(old.SaveTable(Path("table.dat")));
    const std::string before = ReadAll(Path("table.dat"));

    // A child process starts a save and dies the moment its temporary file is complete.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SetAtomicWriteHookForTesting([](const std::string&) { _exit(0); });
        TScoresTable changed;
        changed.AddLine(Line("Bob", "1", 9999));
        changed.SaveTable(Path("table.dat"));
        _exit(1);  // never reached when the hook ran
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the save never reached its temporary file";

    EXPECT_EQ(ReadAll(Path("table.dat")), before);
    EXPECT_EQ(FileCount(), 2u) << "the abandoned temporary file lies beside it";
    TScoresTable loaded;
    loaded.LoadTable(Path("table.dat"));
    EXPECT_EQ(Walk(loaded), (std::vector<Row>{{1500, "2004-7-5", "Ann", "2"}}));
}

TEST_F(TScoresTableFileTest, FailedSaveReportsFailureAndLeavesNothingBehind) {
    TScoresTable table;
    EXPECT_FALSE(table.SaveTable(Path("no-such-folder/table.dat")));
    std::filesystem::create_directory(Path("table.dat"));  // a folder where the file should go
    EXPECT_FALSE(table.SaveTable(Path("table.dat")));
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(TScoresTableFileTest, WrongChecksumStillGivesTheRecords) {
    TScoresTable table;
    table.AddLine(Line("Ann", "2", 1500));
    table.SaveTable(Path("table.dat"));
    std::string bytes = ReadAll(Path("table.dat"));
    bytes.back() = char(bytes.back() ^ 1);
    WriteAll(Path("table.dat"), bytes);
    TScoresTable loaded;
    ::testing::internal::CaptureStdout();
    loaded.LoadTable(Path("table.dat"));
    EXPECT_NE(::testing::internal::GetCapturedStdout().find("CRC error! "), std::string::npos);
    EXPECT_EQ(Walk(loaded), Walk(table));
}

}  // namespace
