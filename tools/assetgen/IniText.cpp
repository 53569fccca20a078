#include "tools/assetgen/IniText.h"

#include "game/GameSettings.h"
#include "platform/DisplayScale.h"
#include "storage/DisplaySettings.h"
#include "storage/PublishLink.h"

namespace assetgen {

namespace {

// The opening comment, before the first section.
constexpr const char* kPreamble =
    R"(; Quillmoss.ini: tuning values of the pond. Every key is optional; the value shown is the
; default the game uses when the key is missing. Times in ms, "frames" are frame steps (50 a second).
; "Scaled" values grow with the difficulty level (the level number plus 4 on Expert, 9 on Master).
; Where a comment gives a range, the game holds the value to it when it takes it, so the pond stays
; playable; the file itself is read as written.

)";

// The links the game's buttons open: not tuning values, read where they are used.
std::string LinksText() {
    return std::string("\n[Links]\n; the page the Games button opens; the game appends \"") +
           publish::kGamesQuery + "\"\nGamesPage=" + publish::kDefaultGamesPage +
           "\n; the host the score table's Publish button sends results to; the game appends \"" +
           publish::kScoresPath + "\" and the digits\nScoresPage=" + publish::kDefaultScoresPage + "\n";
}

// How the window is shown: read by the program at start-up, not tuning values either.
std::string DisplayText() {
    using namespace display_settings;
    const std::string scaleComment =
        "; the window's size: auto, the largest whole number of times the picture fits the screen, or a "
        "number from 1 to " +
        std::to_string(platform::kMaxScale) +
        " (anything else is reported and auto used); --scale and MARSHWADE_SCALE come first\n";
    const std::string fullscreenComment =
        "; 1 starts fullscreen; F11 or Alt+Enter switch it, and that choice, kept in display.ini beside the "
        "saved games, then wins over this key\n";
    const std::string fineArtComment =
        "; 1 draws a window shown 2 or 3 times its size from the pictures drawn at that size, where they are "
        "installed; 0 enlarges the game's own pictures, in less memory (at 3 times 38 MB instead of 98 MB); "
        "MARSHWADE_FINE_ART comes first\n";
    return std::string("\n[") + kSection + "]\n" + scaleComment + kScaleKey + "=" + kDefaultScale + "\n" +
           fullscreenComment + kFullscreenKey + "=" + kDefaultFullscreen + "\n" + fineArtComment + kFineArtKey +
           "=" + kDefaultFineArt + "\n";
}

// "; what it does; range LOW..HIGH" for a key with a range, the low bound named by its key where it
// follows one.
std::string CommentLine(const SettingsKey& k) {
    std::string line = std::string("; ") + k.comment;
    if (k.HasRange()) {
        line += "; range ";
        line += k.lowKey ? std::string(k.lowKey) : std::to_string(k.low);
        line += ".." + std::to_string(k.high);
    }
    return line + '\n';
}

}  // namespace

// Written from the game's own settings table, so the file lists exactly the keys the game reads,
// with its defaults and ranges.
std::string SettingsFileText() {
    std::string text = kPreamble;
    std::string section;
    for (const SettingsKey& k : kSettingsKeys) {
        if (section != k.section) {
            if (!section.empty()) text += '\n';
            section = k.section;
            text += "[" + section + "]\n";
        }
        text += CommentLine(k);
        text += std::string(k.key) + "=" + k.defaultText + "\n";
    }
    return text + LinksText() + DisplayText();
}

}  // namespace assetgen
