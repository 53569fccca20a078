#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/ProgramPath.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

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

TEST_F(ResolveDataPathTest, EmptyNameStaysEmpty) {
    EXPECT_EQ(platform::ResolveDataPath(""), "");
}

// An installed tree: <prefix>/<bin>/marshwade, <prefix>/share/games/marshwade/{CLP,WAV,INI}, and
// whatever data folders the case puts beside the program.
struct Layout {
    const char* what;
    const char* programFolder;               // under the prefix
    std::vector<const char*> besideProgram;  // data folders made beside the program
    bool installedData;                      // share/games/marshwade/ with CLP/, WAV/, INI/
    const char* dataFolder;                  // expected DataDirectory(), under the prefix
};

TEST_F(ResolveDataPathTest, ReadOnlyDataComesFromOneFolderSavedFilesStayBesideTheProgram) {
    const Layout layouts[] = {
        {"build folder", "build", {"CLP", "WAV", "INI"}, false, "build/"},
        {"build folder wins over an install", "bin", {"CLP", "WAV", "INI"}, true, "bin/"},
        {"installed in bin", "bin", {}, true, "share/games/marshwade/"},
        {"installed in games", "games", {}, true, "share/games/marshwade/"},
        {"a partial folder beside the program is not mixed in",
         "games",
         {"WAV", "INI"},
         true,
         "share/games/marshwade/"},
        {"no data anywhere: missing files are named beside the program", "bin", {}, false, "bin/"},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.what);
        TempFolder prefix("marshwade-prefix");
        ASSERT_FALSE(prefix.Path().empty());
        const fs::path program = prefix.Path() / layout.programFolder;
        fs::create_directories(program);
        for (const char* folder : layout.besideProgram) fs::create_directories(program / folder);
        if (layout.installedData) {
            for (const char* folder : {"CLP", "WAV", "INI"})
                fs::create_directories(prefix.Path() / "share/games/marshwade" / folder);
        }
        platform::SetProgramDirectoryForTesting(program.string());

        const std::string data = (prefix.Path() / layout.dataFolder).string();
        const std::string beside = program.string() + "/";
        EXPECT_EQ(platform::DataDirectory(), data);
        EXPECT_EQ(platform::ResolveDataPath("CLP\\frog0.clp"), data + "CLP/frog0.clp");
        EXPECT_EQ(platform::ResolveDataPath("\\WAV\\eat.wav"), data + "WAV/eat.wav");
        EXPECT_EQ(platform::ResolveDataPath("INI\\Quillmoss.ini"), data + "INI/Quillmoss.ini");
        EXPECT_EQ(platform::ResolveDataPath("table.dat"), beside + "table.dat");
        EXPECT_EQ(platform::ResolveDataPath("..\\html\\Games.html"), beside + "../html/Games.html");
        EXPECT_EQ(platform::ResolveDataPath("CLPX\\a.clp"), beside + "CLPX/a.clp");
    }
}

}  // namespace
