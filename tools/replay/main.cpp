// marshwade-replay [--seed N] [--frames N] SCRIPT: plays a script of timed inputs on the real game
// without a display and prints one line of JSON per frame step. The same seed and script give the
// same lines, so a run can be attached to a bug report and replayed.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "tools/replay/ReplaySession.h"

namespace {
int Usage() {
    std::fprintf(stderr, "usage: marshwade-replay [--seed N] [--frames N] SCRIPT\n");
    return 2;
}

bool Number(const char* text, long max, long& out) {
    char* end = nullptr;
    out = std::strtol(text, &end, 10);
    return end && *end == '\0' && out >= 0 && out <= max;
}
}  // namespace

int main(int argc, char** argv) {
    long seed = 1, frames = 500;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--seed" || arg == "--frames") && i + 1 < argc) {
            long& target = arg == "--seed" ? seed : frames;
            if (!Number(argv[++i], arg == "--seed" ? 4294967295L : long{kLastScriptFrame}, target))
                return Usage();
        } else if (path.empty() && arg.rfind("--", 0) != 0) {
            path = arg;
        } else {
            return Usage();
        }
    }
    if (path.empty()) return Usage();
    std::ifstream file(path);
    if (!file) {
        std::fprintf(stderr, "marshwade-replay: cannot read %s\n", path.c_str());
        return 1;
    }
    std::stringstream text;
    text << file.rdbuf();
    std::vector<ScriptInput> inputs;
    std::string error;
    if (!ParseScript(text.str(), inputs, error)) {
        std::fprintf(stderr, "marshwade-replay: %s: %s\n", path.c_str(), error.c_str());
        return 1;
    }
    if (!RunReplay(static_cast<uint32_t>(seed), static_cast<int>(frames), inputs, std::cout)) {
        std::fprintf(stderr, "marshwade-replay: Could not read clip\n");
        return 1;
    }
    return 0;
}
