// cliptool: look at and replace the game's pictures.
//   cliptool info FILE                  header, pictures, frames and commands of a clip file, or the
//                                       size, depth and colour key of a Windows bitmap file
//   cliptool render FILE OUT.png        every frame on a contact sheet, the colour key as a checkerboard
//   cliptool pack DESCRIPTION OUT.clp   build a clip file from PNG frames and a text description
// A file that cannot be read is reported with what is wrong, exit code 1.

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/cliptool/ClipDescription.h"
#include "tools/cliptool/ClipInspector.h"

namespace {

int Usage(const char* program) {
    std::fprintf(stderr, "usage: %s info FILE | render FILE OUT.png | pack DESCRIPTION OUT.clp\n", program);
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

int Info(const std::string& path) {
    std::string text, error;
    if (!cliptool::DescribeFile(path, text, error)) {
        std::fprintf(stderr, "cliptool: %s\n", error.c_str());
        return 1;
    }
    std::fputs(text.c_str(), stdout);
    return 0;
}

int Render(const std::string& path, const std::string& png) {
    std::string error;
    if (!cliptool::RenderFile(path, png, error)) {
        std::fprintf(stderr, "cliptool: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage(argv[0]);
    const std::string command = argv[1];
    if (command == "info" && argc == 3) return Info(argv[2]);
    if (command == "render" && argc == 4) return Render(argv[2], argv[3]);
    if (command == "pack" && argc == 4) return Pack(argv[2], argv[3]);
    return Usage(argv[0]);
}
