// The atomic save of the data files, through the table's SaveText as the game uses it: links,
// permissions and what crashed saves leave behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "TestFiles.h"
#include "storage/DataFileIo.h"
#include "storage/TScoresTable.h"
#include "tests/storage/FaultyFiles.h"

namespace {

namespace fs = std::filesystem;

class AtomicSaveTest : public TempFolderTest {
  protected:
    void TearDown() override {
        SetAtomicWriteHookForTesting(nullptr);
        TempFolderTest::TearDown();
    }
    std::string Load(const std::string& path) {
        std::string text;
        table_.LoadText(path, text);
        return text;
    }
    // A save that dies the moment its temporary file is complete, in a child process.
    void CrashWhileSaving(const std::string& path) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SetAtomicWriteHookForTesting([](const std::string&) { _exit(0); });
            table_.SaveText(path, "never lands");
            _exit(1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    static mode_t ModeOf(const std::string& path) {
        struct stat info {};
        stat(path.c_str(), &info);
        return info.st_mode & 07777;
    }
    TScoresTable table_;
};

TEST_F(AtomicSaveTest, ALinkStaysALinkAndItsTargetGetsTheNewText) {
    fs::create_directory(Path("elsewhere"));
    ASSERT_TRUE(table_.SaveText(Path("elsewhere/real.dat"), "old"));
    fs::create_symlink("elsewhere/real.dat", Path("table.dat"));  // relative, as users make them
    ASSERT_TRUE(table_.SaveText(Path("table.dat"), "new"));

    EXPECT_TRUE(fs::is_symlink(Path("table.dat")));
    EXPECT_EQ(Load(Path("elsewhere/real.dat")), "new");
    EXPECT_EQ(FileCount(), 2u) << "the link and the folder, no temporary file";
    EXPECT_EQ(std::distance(fs::directory_iterator(Path("elsewhere")), fs::directory_iterator()), 1);
}

TEST_F(AtomicSaveTest, ALinkToAMissingFileCreatesItsTarget) {
    fs::create_directory(Path("elsewhere"));
    fs::create_symlink(Path("elsewhere/state.dat"), Path("state.dat"));
    ASSERT_TRUE(table_.SaveText(Path("state.dat"), "text"));
    EXPECT_TRUE(fs::is_symlink(Path("state.dat")));
    EXPECT_EQ(Load(Path("elsewhere/state.dat")), "text");
}

TEST_F(AtomicSaveTest, ALoopOfLinksFailsAndSaysSo) {
    fs::create_symlink(Path("b.dat"), Path("a.dat"));
    fs::create_symlink(Path("a.dat"), Path("b.dat"));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(table_.SaveText(Path("a.dat"), "text"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("a.dat: could not be saved"), std::string::npos);
    EXPECT_TRUE(fs::is_symlink(Path("a.dat")));
}

TEST_F(AtomicSaveTest, TheReplacedFileKeepsItsPermissions) {
    for (mode_t mode : {0600, 0640, 0444}) {
        const std::string path = Path("table" + std::to_string(mode) + ".dat");
        ASSERT_TRUE(table_.SaveText(path, "old"));
        ASSERT_EQ(chmod(path.c_str(), mode), 0);
        ASSERT_TRUE(table_.SaveText(path, "new"));
        EXPECT_EQ(ModeOf(path), mode);
        EXPECT_EQ(Load(path), "new");
    }
}

TEST_F(AtomicSaveTest, TheNextSaveRemovesWhatACrashedSaveLeftBehind) {
    ASSERT_TRUE(table_.SaveText(Path("table.dat"), "old"));
    CrashWhileSaving(Path("table.dat"));
    ASSERT_EQ(FileCount(), 2u) << "the crash left its temporary file";
    EXPECT_EQ(Load(Path("table.dat")), "old");

    ASSERT_TRUE(table_.SaveText(Path("table.dat"), "new"));
    EXPECT_EQ(FileCount(), 1u);
    EXPECT_EQ(Load(Path("table.dat")), "new");
}

TEST_F(AtomicSaveTest, TemporaryFilesOfLiveProcessesAndOtherNamesStay) {
    const std::string mine = "table.dat.tmp" + std::to_string(getpid()) + "-99";
    const std::string kept[] = {
        mine,           "table.dat.tmp", "table.dat.tmp12x-1", "table.dat.tmp1-", "state.dat.tmp999999-1",
        "table.dat.old"};
    for (const std::string& name : kept) WriteAll(Path(name), "x");
    ASSERT_TRUE(table_.SaveText(Path("table.dat"), "new"));
    for (const std::string& name : kept) EXPECT_TRUE(fs::exists(Path(name))) << name;
}

TEST_F(AtomicSaveTest, OnlyARegularFileIsReplaced) {
    using namespace faulty_files;
    for (Fault fault : {Fault::Fifo, Fault::Folder, Fault::Device}) {
        if (!Unavailable(fault).empty()) continue;
        const std::string path = Path("state" + std::to_string(int(fault)) + ".dat");
        Make(fault, path, "");
        const std::string before = Snapshot(path);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(table_.SaveText(path, "text")) << int(fault);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("could not be saved"), std::string::npos);
        EXPECT_EQ(Snapshot(path), before) << int(fault);
    }
}

}  // namespace
