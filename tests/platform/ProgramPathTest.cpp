#include "platform/ProgramPath.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ProgramPathTest, ProgramDirectoryIsTheFolderOfTheTestBinary) {
    auto exe = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(platform::ProgramDirectory(), exe.parent_path().string() + "/");
}

class ResolveDataPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = platform::ProgramDirectory();
        platform::SetProgramDirectoryForTesting("/opt/game");
    }
    void TearDown() override { platform::SetProgramDirectoryForTesting(saved_); }
    std::string saved_;
};

TEST_F(ResolveDataPathTest, RelativeNamesLiveBesideTheProgram) {
    EXPECT_EQ(platform::ResolveDataPath("CLP\\frog0.clp"), "/opt/game/CLP/frog0.clp");
    EXPECT_EQ(platform::ResolveDataPath("\\table.dat"), "/opt/game/table.dat");
    EXPECT_EQ(platform::ResolveDataPath("../html/Games.html"), "/opt/game/../html/Games.html");
}

TEST_F(ResolveDataPathTest, AbsoluteDriveAndDoubleBackslashNamesAreUsedAsGiven) {
    EXPECT_EQ(platform::ResolveDataPath("/tmp/x.clp"), "/tmp/x.clp");
    EXPECT_EQ(platform::ResolveDataPath("C:\\games\\x.clp"), "C:/games/x.clp");
    EXPECT_EQ(platform::ResolveDataPath("\\\\server\\x.clp"), "//server/x.clp");
}

TEST_F(ResolveDataPathTest, EmptyNameStaysEmpty) { EXPECT_EQ(platform::ResolveDataPath(""), ""); }

}  // namespace
