// cliptool: look at and replace the game's pictures.
//   cliptool pack DESCRIPTION OUT.clp   build a clip file from PNG frames and a text description
// A file that cannot be read is reported with what is wrong, exit code 1.

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/cliptool/ClipDescription.h"

namespace {

int Usage(const char* program) {
    std::fprintf(stderr, "usage: %s pack DESCRIPTION OUT.clp\n", program);
    return 2;
}

int Pack(const std::string& description, const std::string& outPath) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!cliptool::PackClip(description, bytes, error)) {
        std::fprintf(stderr, "cliptool: %s\n", error.c_str());
        return 1;
    }
    std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cliptool: cannot write %s\n", outPath.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage(argv[0]);
    const std::string command = argv[1];
    if (command == "pack" && argc == 4) return Pack(argv[2], argv[3]);
    return Usage(argv[0]);
}
