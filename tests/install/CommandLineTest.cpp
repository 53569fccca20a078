// The program's command line as a shell user meets it: --help and --version answer and end, an
// unknown option is a usage error, and a machine with no display to open is told so at once.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/TempFolder.h"

namespace {

struct Outcome {
    int code = -1;
    std::string out, err;
};

// Runs the built program with `args` (shell words) and no display, under a time limit: a program that
// would wait for ever shows as exit 124.
Outcome Marshwade(const std::string& args, const platform::TempFolder& folder) {
    const std::string out = (folder.Path() / "out").string(), err = (folder.Path() / "err").string();
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy timeout 20 " +
                                std::string(MARSHWADE_BINARY_DIR) + "/marshwade " + args + " >" + out +
                                " 2>" + err;
    const int status = std::system(command.c_str());
    auto read = [](const std::string& path) {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read(out), read(err)};
}

TEST(CommandLineTest, OptionsAnswerAndEndAsCommandLineProgramsDo) {
    platform::TempFolder folder("marshwade-cmdline");
    struct Case {
        const char* args;
        int code;
        const char* out;  // found in standard output
        const char* err;  // found in standard error
    } cases[] = {
        {"--help", 0, "Usage: marshwade", ""},
        {"-h", 0, "--version", ""},
        {"--version", 0, "marshwade 0.", ""},
        {"--fly-away", 2, "", "unknown option '--fly-away'"},
        {"level3", 2, "", "Usage: marshwade"},
        {"", 1, "", "no display to open"},
        {"-h", 0, "--scale N", ""},
        {"--scale 0", 2, "", "--scale takes auto or a whole number"},
        {"--scale 9", 2, "", "--scale takes auto"},
        {"--scale big", 2, "", "--scale takes auto"},
        {"--scale", 2, "", "unknown option '--scale'"},  // the number is missing
        {"--scale 3", 1, "", "no display to open"},       // a good scale: on to opening the window
        {"--scale auto --fullscreen", 1, "", "no display to open"},
    };
    for (const Case& c : cases) {
        const Outcome run = Marshwade(c.args, folder);
        EXPECT_EQ(run.code, c.code) << c.args << ": " << run.err;
        EXPECT_NE(run.out.find(c.out), std::string::npos) << c.args << ": " << run.out;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << c.args << ": " << run.err;
    }
}

}  // namespace
