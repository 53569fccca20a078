// assetgen: draws every picture, synthesises every sound and writes every data file the game reads
// beside itself. See kUsage for the options. The output is the same, byte for byte, on every run.

#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <set>
#include <string>

#include "tools/assetgen/AssetSet.h"
#include "tools/assetgen/Canvas.h"
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

constexpr const char* kUsage =
    "usage: assetgen OUTPUT_FOLDER [--scale N]... [--icons ICON_FOLDER] [--preview SHEET.png]\n"
    "                [--sheets SHEET_FOLDER]\n"
    "Writes CLP/, WAV/ and INI/ into OUTPUT_FOLDER.\n"
    "  --scale N      also draws every picture at N times its size (N 2 to 4) into CLP@Nx/\n"
    "  --icons DIR    writes the desktop icons into DIR/hicolor/\n"
    "  --preview PNG  writes one labelled sheet of the pond's pictures at 1x and 2x\n"
    "  --sheets DIR   writes contact sheets of every clip and composed scenes into DIR\n"
    "  --help         prints this and exits\n";

constexpr int kMaxScale = 4;

struct Arguments {
    std::string output;
    std::string preview;  // empty: no preview sheet
    std::string sheets;   // empty: no contact sheets
    std::string icons;    // empty: no desktop icons
    std::set<int> scales;  // beyond 1x
    bool help = false;
};

bool ReadScale(const std::string& text, int& scale) {
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    scale = std::atoi(text.c_str());
    return scale >= 1 && scale <= kMaxScale;
}

// Options may come before or after the folder; anything unknown, a missing value or a second folder
// is an error, so that a mistyped option is never taken for the folder to write into.
bool ReadArguments(int argc, char** argv, Arguments& args) {
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--help" || word == "-h") {
            args.help = true;
            return true;
        }
        if (word == "--preview" || word == "--sheets" || word == "--icons" || word == "--scale") {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') return false;
            const std::string value = argv[++i];
            if (word == "--preview") {
                args.preview = value;
            } else if (word == "--sheets") {
                args.sheets = value;
            } else if (word == "--icons") {
                args.icons = value;
            } else {
                int scale = 0;
                if (!ReadScale(value, scale)) return false;
                if (scale > 1) args.scales.insert(scale);
            }
        } else if (word.empty() || word[0] == '-' || !args.output.empty()) {
            return false;
        } else {
            args.output = word;
        }
    }
    return !args.output.empty();
}

// Every picture of the game, drawn at `scale`.
void AddPictures(assetgen::AssetSet& assets) {
    assetgen::DrawingScaleScope scope(assets.scale());
    assetgen::AddFrogs(assets);
    assetgen::AddFlyers(assets);
    assetgen::AddHeartAndRipples(assets);
    assetgen::AddLeavesAndIslands(assets);
    assetgen::AddDigits(assets);
    assetgen::AddBackdrops(assets);
    assetgen::AddButtons(assets);
    assetgen::AddControls(assets);
    assetgen::AddDialogFrames(assets);
}

int Run(const Arguments& args) {
    assetgen::AssetSet assets;
    AddPictures(assets);
    assetgen::AddSounds(assets);
    const std::string ini = assetgen::SettingsFileText();
    assets.AddFile("INI/Quillmoss.ini", std::vector<uint8_t>(ini.begin(), ini.end()));

    std::string error;
    if (!assets.WriteAll(args.output, error) ||
        (!args.icons.empty() && !assetgen::WriteDesktopIcons(args.icons, error))) {
        std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        return 1;
    }
    std::set<int> scales = args.scales;
    if (!args.preview.empty()) scales.insert(2);
    for (int scale : scales) {
        assetgen::AssetSet scaled(scale);
        AddPictures(scaled);
        if (args.scales.count(scale) && !scaled.WriteAll(args.output, error)) {
            std::fprintf(stderr, "assetgen: %s\n", error.c_str());
            return 1;
        }
        if (scale == 2 && !args.preview.empty() && !assetgen::WritePreviewSheet(assets, scaled, args.preview)) {
            std::fprintf(stderr, "assetgen: could not write the preview %s\n", args.preview.c_str());
            return 1;
        }
    }
    if (!args.sheets.empty() && !assetgen::WritePreviews(assets, args.sheets)) {
        std::fprintf(stderr, "assetgen: could not write the sheets into %s\n", args.sheets.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments args;
    if (!ReadArguments(argc, argv, args)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (args.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    int status = 1;
    try {
        status = Run(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
    }
    // Release Cairo's font and pattern caches, so a leak checker sees only real leaks.
    cairo_debug_reset_static_data();
    return status;
}
