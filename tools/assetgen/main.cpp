// assetgen: draws every picture, synthesises every sound and writes every data file the game reads
// beside itself. Usage: assetgen OUTPUT_FOLDER [--preview PREVIEW_FOLDER] [--icons ICON_FOLDER]
// --icons also writes the desktop icons into an icon theme folder (ICON_FOLDER/hicolor/...).
// The output is the same, byte for byte, on every run.

#include <cairo.h>

#include <cstdio>
#include <exception>
#include <string>

#include "tools/assetgen/AssetSet.h"
#include "tools/assetgen/Creatures.h"
#include "tools/assetgen/DesktopIcons.h"
#include "tools/assetgen/IniText.h"
#include "tools/assetgen/PondArt.h"
#include "tools/assetgen/Preview.h"
#include "tools/assetgen/Sounds.h"
#include "tools/assetgen/UiArt.h"

// Fontconfig, which Cairo uses to find the face of the words on the buttons, keeps a few small
// allocations to the end of the process; only those are not reported when built with LeakSanitizer.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}

namespace {

struct Arguments {
    std::string output;
    std::string preview;  // empty: no previews
    std::string icons;    // empty: no desktop icons
};

bool ReadArguments(int argc, char** argv, Arguments& args) {
    if (argc < 2 || argc % 2 != 0) return false;
    args.output = argv[1];
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--preview") {
            args.preview = argv[i + 1];
        } else if (option == "--icons") {
            args.icons = argv[i + 1];
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments args;
    if (!ReadArguments(argc, argv, args)) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER [--preview PREVIEW_FOLDER] [--icons ICON_FOLDER]\n",
                     argv[0]);
        return 2;
    }
    try {
        assetgen::AssetSet assets;
        assetgen::AddFrogs(assets);
        assetgen::AddFlyers(assets);
        assetgen::AddHeartAndRipples(assets);
        assetgen::AddLeavesAndIslands(assets);
        assetgen::AddDigits(assets);
        assetgen::AddBackdrops(assets);
        assetgen::AddButtons(assets);
        assetgen::AddControls(assets);
        assetgen::AddDialogFrames(assets);
        assetgen::AddSounds(assets);
        const std::string ini = assetgen::SettingsFileText();
        assets.AddFile("INI/Quillmoss.ini", std::vector<uint8_t>(ini.begin(), ini.end()));

        std::string error;
        if (!assets.WriteAll(args.output, error) ||
            (!args.icons.empty() && !assetgen::WriteDesktopIcons(args.icons, error))) {
            std::fprintf(stderr, "assetgen: %s\n", error.c_str());
            return 1;
        }
        if (!args.preview.empty() && !assetgen::WritePreviews(assets, args.preview)) {
            std::fprintf(stderr, "assetgen: could not write the previews into %s\n", args.preview.c_str());
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    // Release Cairo's font and pattern caches, so a leak checker sees only real leaks.
    cairo_debug_reset_static_data();
    return 0;
}
