#include <gtest/gtest.h>

#include "platform/ProgramPath.h"
#include "scores/DataFilePath.h"

namespace {

class DataFilePathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = platform::ProgramDirectory();
        platform::SetProgramDirectoryForTesting("/opt/marshwade");
    }
    void TearDown() override { platform::SetProgramDirectoryForTesting(saved_); }
    std::string saved_;
};

TEST_F(DataFilePathTest, PlainNamesLiveBesideTheProgram) {
    EXPECT_EQ(DataFilePath("table.dat"), "/opt/marshwade/table.dat");
    EXPECT_EQ(DataFilePath("\\state.dat"), "/opt/marshwade/state.dat");
    EXPECT_EQ(DataFilePath("INI\\Quillmoss.ini"), "/opt/marshwade/INI/Quillmoss.ini");
}

TEST_F(DataFilePathTest, DriveAndDoubleBackslashNamesAreNotMoved) {
    EXPECT_EQ(DataFilePath("C:\\games\\table.dat"), "C:/games/table.dat");
    EXPECT_EQ(DataFilePath("\\\\server\\table.dat"), "//server/table.dat");
    EXPECT_EQ(DataFilePath("/var/games/table.dat"), "/var/games/table.dat");
}

TEST_F(DataFilePathTest, NamesOfOneCharacterOrLessAreUnchanged) {
    EXPECT_EQ(DataFilePath(""), "");
    EXPECT_EQ(DataFilePath("t"), "t");
    EXPECT_EQ(DataFilePath("\\"), "\\");
}

}  // namespace
