// Every step of a save, made to fail and made to die, by a real fault injector: strace runs the
// datafile tool once to list the system calls of the save, then once per call with an error injected
// there and once with the process killed there. After each run the file holds the old text or the new
// one, byte for byte, never a mix; and after the next good save no temporary file is left. The calls
// come from the log, so a step the save gains later is covered without touching this test.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "TestFiles.h"
#include "storage/DataFileCodec.h"

namespace {

namespace fs = std::filesystem;

struct Step {
    std::string call;  // the system call's name, as strace writes it
    int when;          // which call of that name since the program started, from 1
    std::string line;  // the log line, for the report
};

struct ToolRun {
    int status = -1;  // the exit status, or -1 when the process did not exit
    std::string log;
};

// The errors a real system gives at each step; EIO elsewhere.
std::string ErrorFor(const std::string& call) {
    static const std::map<std::string, std::string> errors = {
        {"write", "ENOSPC"}, {"openat", "EMFILE"}, {"rename", "EXDEV"}, {"fchmod", "EPERM"}};
    const auto it = errors.find(call);
    return it == errors.end() ? "EIO" : it->second;
}

// The calls from the first that names `target` (after the program's own start) to the end, each
// numbered as strace's `when` counts them.
std::vector<Step> SaveSteps(const std::string& log, const std::string& target) {
    std::vector<Step> steps;
    std::map<std::string, int> seen;
    std::istringstream lines(log);
    bool saving = false;
    for (std::string line; std::getline(lines, line);) {
        // The process id of -f comes first, padded with spaces to a width that depends on its digits.
        size_t at = line.find_first_not_of("0123456789");
        if (at != std::string::npos && at > 0) at = line.find_first_not_of(' ', at);
        const size_t open = line.find('(', at);
        if (at == std::string::npos || open == std::string::npos) continue;
        const std::string call = line.substr(at, open - at);
        if (call.empty() ||
            call.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_") != std::string::npos)
            continue;  // "+++ exited", "--- SIG...", "<... resumed>"
        const int when = ++seen[call];
        saving = saving || (call != "execve" && line.find('"' + target) != std::string::npos);
        if (saving && call != "exit_group") steps.push_back({call, when, line});
    }
    return steps;
}

class AtomicSaveFaultTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        if (std::system("strace -V >/dev/null 2>&1") != 0)
            FAIL() << "strace is missing: scripts/install-deps installs it";
        if (std::system("strace -o /dev/null true >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "ptrace is not permitted here (a container without CAP_SYS_PTRACE?): "
                            "the save's fault injection cannot run";
        fs::create_directory(Path("data"));
        target_ = Path("data/t.dat");
        WriteAll(Path("old.txt"), "2004-7-5\tAnn\t1\t900\n2004-7-6\tBob\t2\t800\n");
        WriteAll(Path("new.txt"), "2024-1-1\tCid\t3\t70\n");
        newText_ = ReadAll(Path("new.txt"));
        newFile_ = EncodeDataFile(newText_);
    }

    // `datafile pack` of `input` into the target, under strace with `inject` when it is given.
    ToolRun Pack(const std::string& input, const std::string& inject = "") {
        const std::string tool = std::string(MARSHWADE_BINARY_DIR) + "/datafile pack '" + target_ + "' < '" +
                                 Path(input) + "' 2>/dev/null";
        // LeakSanitizer cannot work under ptrace and would fail a sanitizer build's every run.
        const std::string command = inject.empty() ? tool
                                                   : "ASAN_OPTIONS=detect_leaks=0 strace -f -o '" +
                                                         Path("log") + "' " + inject + " " + tool;
        ToolRun run;
        const int status = std::system(command.c_str());
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.log = inject.empty() ? std::string() : ReadAll(Path("log"));
        return run;
    }
    // A good save of the old text: the start of every run, and the check that nothing is left over.
    void SaveOld(const std::string& after) {
        ASSERT_EQ(Pack("old.txt").status, 0) << after;
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(Path("data"))) names.insert(entry.path().filename());
        EXPECT_EQ(names, std::set<std::string>{"t.dat"}) << "left behind after " << after;
        oldFile_ = ReadAll(target_);
    }
    // Which file `bytes` are. The old one is known byte for byte; the new one only by its text, as
    // the cipher's filler bytes differ from save to save, so it must be a whole data file of that
    // text: its size, every block and the checksum over all of them.
    std::string Holds(const std::string& bytes) const {
        if (bytes == oldFile_) return "the old file";
        const DecodedDataFile file = DecodeDataFile(bytes);
        if (bytes.size() == newFile_.size() && file.CrcMatched() && file.text == newText_)
            return "the new file";
        return "a mix";
    }
    // The steps of a save that nothing disturbs.
    std::vector<Step> TraceSave() {
        const ToolRun run = Pack("new.txt", "--quiet=attach");
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(Holds(ReadAll(target_)), "the new file");
        return SaveSteps(run.log, target_);
    }

    std::string target_, newText_, newFile_;
    std::string oldFile_;  // as the last good save wrote it
};

TEST_F(AtomicSaveFaultTest, AnErrorOrAKillAtAnyStepLeavesTheOldFileOrTheNewOneWhole) {
    SaveOld("the first save");
    const std::vector<Step> steps = TraceSave();
    std::set<std::string> calls;
    for (const Step& step : steps) calls.insert(step.call);
    for (const char* call : {"openat", "write", "fchmod", "fsync", "close", "rename"})
        EXPECT_TRUE(calls.count(call)) << "the save no longer calls " << call << "? The log:\n"
                                       << ReadAll(Path("log"));

    RecordProperty("steps", static_cast<int>(steps.size()));
    std::printf("%zu steps, each with an error and with a kill\n", steps.size());
    for (const Step& step : steps) {
        const std::string at = step.call + " #" + std::to_string(step.when) + " (" + step.line + ")";
        for (bool kill : {false, true}) {
            SCOPED_TRACE((kill ? "killed at " : "error at ") + at);
            SaveOld("the run before");
            const std::string fault = kill ? "signal=SIGKILL" : "error=" + ErrorFor(step.call);
            const ToolRun run =
                Pack("new.txt", "--inject=" + step.call + ":" + fault + ":when=" + std::to_string(step.when));
            // The fault must really have struck this step, or the run proves nothing.
            ASSERT_NE(run.log.find(kill ? "+++ killed by SIGKILL" : "(INJECTED)"), std::string::npos)
                << run.log;
            const std::string holds = Holds(ReadAll(target_));
            EXPECT_NE(holds, "a mix");
            if (!kill) {
                EXPECT_EQ(holds, run.status == 0 ? "the new file" : "the old file") << "as the tool reported";
            }
        }
    }
    SaveOld("the last run");
}

}  // namespace
