#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "TestFiles.h"
#include "platform/ProgramPath.h"
#include "storage/DataFilePath.h"
#include "storage/TScoresTable.h"
#include "tests/support/TempFolder.h"

namespace {

// An environment variable set for one test and put back afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

class DataFilePathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = platform::ProgramDirectory();
        platform::SetProgramDirectoryForTesting("/opt/marshwade");
        SetProgramFolderWritableForTesting(true);
    }
    void TearDown() override {
        SetProgramFolderWritableForTesting(std::nullopt);
        platform::SetProgramDirectoryForTesting(saved_);
    }
    std::string saved_;
};

TEST_F(DataFilePathTest, PlainNamesLiveBesideAWritableProgram) {
    EXPECT_EQ(DataFilePath("table.dat"), "/opt/marshwade/table.dat");
    EXPECT_EQ(DataFilePath("\\state.dat"), "/opt/marshwade/state.dat");
    EXPECT_EQ(DataFilePath("INI\\Quillmoss.ini"), "/opt/marshwade/INI/Quillmoss.ini");
}

TEST_F(DataFilePathTest, DriveAndDoubleBackslashNamesAreNotMoved) {
    SetProgramFolderWritableForTesting(false);
    EXPECT_EQ(DataFilePath("C:\\games\\table.dat"), "C:/games/table.dat");
    EXPECT_EQ(DataFilePath("\\\\server\\table.dat"), "//server/table.dat");
    EXPECT_EQ(DataFilePath("/var/games/table.dat"), "/var/games/table.dat");
}

TEST_F(DataFilePathTest, NamesOfOneCharacterOrLessAreUnchanged) {
    EXPECT_EQ(DataFilePath(""), "");
    EXPECT_EQ(DataFilePath("t"), "t");
    EXPECT_EQ(DataFilePath("\\"), "\\");
}

TEST_F(DataFilePathTest, ReadOnlyProgramFolderUsesTheUsersDataFolder) {
    SetProgramFolderWritableForTesting(false);
    struct Case {
        const char* xdg;
        const char* home;
        std::string expected;
    };
    const Case cases[] = {
        {"/data/xdg", "/home/ann", "/data/xdg/marshwade/table.dat"},
        // The base directory rules ignore a relative XDG_DATA_HOME.
        {"relative/xdg", "/home/ann", "/home/ann/.local/share/marshwade/table.dat"},
        {"", "/home/ann", "/home/ann/.local/share/marshwade/table.dat"},
        {nullptr, "/home/bob", "/home/bob/.local/share/marshwade/table.dat"},
    };
    for (const Case& c : cases) {
        ScopedEnv xdg("XDG_DATA_HOME", c.xdg);
        ScopedEnv home("HOME", c.home);
        EXPECT_EQ(DataFilePath("table.dat"), c.expected) << (c.xdg ? c.xdg : "(unset)");
    }
}

TEST(DataFolderProbeTest, AFolderTheProcessCannotWriteIsNotWritable) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    TempFolder program;
    chmod(program.Path().c_str(), 0555);
    const std::string saved = platform::ProgramDirectory();
    platform::SetProgramDirectoryForTesting(program.Path().string());
    ScopedEnv xdg("XDG_DATA_HOME", "/data/xdg");
    EXPECT_EQ(DataFilePath("table.dat"), "/data/xdg/marshwade/table.dat");
    chmod(program.Path().c_str(), 0755);
    EXPECT_EQ(DataFilePath("table.dat"), program.Path().string() + "/table.dat");
    platform::SetProgramDirectoryForTesting(saved);
}

TEST(InstalledGameTest, AnInstalledGameSavesInTheDataFolderEvenWhereItCouldWrite) {
    // <prefix>/games/marshwade with its data in <prefix>/share/games/marshwade, run by root.
    TempFolder prefix;
    std::filesystem::create_directories(prefix.Path() / "games");
    std::filesystem::create_directories(prefix.Path() / "share" / "games" / "marshwade" / "CLP");
    const std::string saved = platform::ProgramDirectory();
    platform::SetProgramDirectoryForTesting((prefix.Path() / "games").string());
    SetProgramFolderWritableForTesting(true);
    ScopedEnv xdg("XDG_DATA_HOME", "/data/xdg");
    EXPECT_EQ(DataFilePath("state.dat"), "/data/xdg/marshwade/state.dat");
    SetProgramFolderWritableForTesting(std::nullopt);
    platform::SetProgramDirectoryForTesting(saved);
}

class SavedFilesFolderTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        saved_ = platform::ProgramDirectory();
        platform::SetProgramDirectoryForTesting(Path("program"));
        std::filesystem::create_directory(Path("program"));
    }
    void TearDown() override {
        SetProgramFolderWritableForTesting(std::nullopt);
        platform::SetProgramDirectoryForTesting(saved_);
        TempFolderTest::TearDown();
    }
    std::string saved_;
};

TEST_F(SavedFilesFolderTest, FirstSaveMakesThePrivateDataFolderAndTheNextStartReadsIt) {
    SetProgramFolderWritableForTesting(false);
    ScopedEnv xdg("XDG_DATA_HOME", Path("home/.local/share").c_str());
    TScoresTable table;
    table.AddLine("2004-7-5\tAnn\t1\t1500");
    ASSERT_TRUE(table.SaveTable(DataFilePath("table.dat")));

    struct stat info {};
    ASSERT_EQ(stat(Path("home/.local/share/marshwade").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(std::filesystem::exists(Path("home/.local/share/marshwade/table.dat")));
    EXPECT_TRUE(std::filesystem::is_empty(Path("program"))) << "nothing is written beside the program";

    TScoresTable loaded;
    loaded.LoadTable(DataFilePath("table.dat"));
    ASSERT_EQ(loaded.records.size(), 1u);
    EXPECT_EQ(loaded.records.begin()->second.name, "Ann");
}

TEST_F(SavedFilesFolderTest, AWritableProgramFolderKeepsItsFilesAndMakesNoDataFolder) {
    SetProgramFolderWritableForTesting(true);
    ScopedEnv xdg("XDG_DATA_HOME", Path("xdg").c_str());
    TScoresTable table;
    ASSERT_TRUE(table.SaveTable(DataFilePath("table.dat")));
    EXPECT_TRUE(std::filesystem::exists(Path("program/table.dat")));
    EXPECT_FALSE(std::filesystem::exists(Path("xdg")));
}

TEST_F(SavedFilesFolderTest, AFolderThatCannotBeMadeFailsTheSaveAndSaysSo) {
    SetProgramFolderWritableForTesting(false);
    WriteAll(Path("file"), "not a folder");
    ScopedEnv xdg("XDG_DATA_HOME", Path("file").c_str());
    TScoresTable table;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(table.SaveTable(DataFilePath("table.dat")));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("could not"), std::string::npos);
}

}  // namespace
