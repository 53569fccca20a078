// A table file that is there but cannot be read, or cannot be replaced: the table never saves over
// what it could not read, and the file stays exactly as it was.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "scores/DataFileCodec.h"
#include "scores/TScoresTable.h"
#include "tests/scores/FaultyFiles.h"

namespace {

using namespace faulty_files;

class TableFileFaultTest : public TempFolderTest, public ::testing::WithParamInterface<FaultCase> {
  protected:
    void TearDown() override { Undo(Path("table.dat")); }
};

TEST_P(TableFileFaultTest, TheTableRefusesToSaveAndTheFileStaysAsItWas) {
    const FaultCase& c = GetParam();
    if (const std::string why = Unavailable(c.fault); !why.empty()) GTEST_SKIP() << c.name << ": " << why;
    const std::string path = Path("table.dat");
    Make(c.fault, path, EncodeDataFile("2004-7-5\tAnn\t1\t900\n"));
    const std::string before = Snapshot(path);

    TScoresTable table;
    testing::internal::CaptureStderr();
    table.LoadTable(path);  // returns at once, whatever lies there
    table.AddLine("2024-1-1\tBob\t1\t50");
    EXPECT_FALSE(table.SaveTable(path));
    const std::string err = testing::internal::GetCapturedStderr();

    EXPECT_EQ(table.LoadedFrom(), c.unreadable ? DataFileState::Unreadable : DataFileState::Read);
    EXPECT_EQ(table.records.size(), c.unreadable ? 1u : 2u);
    EXPECT_EQ(Snapshot(path), before);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find(c.unreadable ? "could not be read" : "could not be saved"), std::string::npos) << err;
}

INSTANTIATE_TEST_SUITE_P(Faults, TableFileFaultTest, ::testing::ValuesIn(kFaultCases), CaseName);

TEST(TableFileStateTest, OnlyAMissingFileReadsAsAnEmptyTableThatSaves) {
    TempFolder folder;
    const std::string path = (folder.Path() / "table.dat").string();
    TScoresTable table;
    table.LoadTable(path);
    EXPECT_EQ(table.LoadedFrom(), DataFileState::Missing);
    table.AddLine("2024-1-1\tBob\t1\t50");
    ASSERT_TRUE(table.SaveTable(path));

    TScoresTable again;
    again.LoadTable(path);
    EXPECT_EQ(again.LoadedFrom(), DataFileState::Read);
    EXPECT_EQ(again.records.size(), 1u);
}

}  // namespace
