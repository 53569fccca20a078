// The datafile tool, run as players and support would run it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "TestFiles.h"
#include "storage/DataFileCodec.h"
#include "tests/storage/FaultyFiles.h"

namespace {

struct ToolRun {
    int status;
    std::string out;
};

ToolRun Tool(const std::string& arguments) {
    const std::string command = std::string(MARSHWADE_BINARY_DIR) + "/datafile " + arguments;
    ToolRun run{-1, ""};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class DatafileToolTest : public TempFolderTest {};

TEST_F(DatafileToolTest, PackThenDumpGivesTheTextBack) {
    const std::string text = "2004-7-5\tAnn\t2\t1500\n2004-7-6\tBob\t1\t900\n";
    WriteAll(Path("in.txt"), text);
    EXPECT_EQ(Tool("pack " + Path("t.dat") + " < " + Path("in.txt")).status, 0);
    EXPECT_EQ(ReadAll(Path("t.dat")).size(), 44u);
    ToolRun dump = Tool("dump " + Path("t.dat") + " 2>" + Path("err.txt"));
    EXPECT_EQ(dump.status, 0);
    EXPECT_EQ(dump.out, text);
    EXPECT_NE(ReadAll(Path("err.txt")).find("checksum matched"), std::string::npos);
}

TEST_F(DatafileToolTest, DumpTellsAMismatchedChecksum) {
    std::string file = EncodeDataFile("hello");
    file.back() = char(file.back() ^ 4);
    WriteAll(Path("t.dat"), file);
    ToolRun dump = Tool("dump " + Path("t.dat") + " 2>" + Path("err.txt"));
    EXPECT_EQ(dump.status, 1);
    EXPECT_EQ(dump.out, "hello");
    EXPECT_NE(ReadAll(Path("err.txt")).find("MISMATCH"), std::string::npos);
}

TEST_F(DatafileToolTest, MissingFileAndBadArgumentsFail) {
    EXPECT_EQ(Tool("dump " + Path("none.dat") + " 2>/dev/null").status, 2);
    EXPECT_EQ(Tool("frobnicate x 2>/dev/null").status, 2);
    EXPECT_EQ(Tool("2>/dev/null").status, 2);
    EXPECT_EQ(Tool("pack " + Path("no/such/folder.dat") + " </dev/null 2>/dev/null").status, 2);
}

class DatafileDumpFaultTest : public DatafileToolTest,
                              public ::testing::WithParamInterface<faulty_files::FaultCase> {
  protected:
    void TearDown() override { faulty_files::Undo(Path("t.dat")); }
};

// A FIFO is refused at once: a dump that waited for a writer would never return.
TEST_P(DatafileDumpFaultTest, AFileThatCannotBeReadFailsAtOnceAndSaysWhy) {
    using namespace faulty_files;
    const FaultCase& c = GetParam();
    if (const std::string why = Unavailable(c.fault); !why.empty()) GTEST_SKIP() << c.name << ": " << why;
    Make(c.fault, Path("t.dat"), EncodeDataFile("hello"));
    ToolRun dump = Tool("dump " + Path("t.dat") + " 2>" + Path("err.txt"));
    EXPECT_EQ(dump.status, 2);
    EXPECT_EQ(dump.out, "");
    EXPECT_NE(ReadAll(Path("err.txt")).find(Path("t.dat") + ": "), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Faults, DatafileDumpFaultTest, ::testing::ValuesIn(faulty_files::UnreadableCases()),
                         faulty_files::CaseName);

}  // namespace
