// The generator's output as the game will read it: every file the game names, well formed, with
// the frame counts and sizes the game's rules assume, and the same bytes on every run.

#include <cairo.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ClipBytes.h"
#include "storage/IniFile.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using assettest::ClipView;
using assettest::ReadClip;
using assettest::ReadFile;
using assettest::U16;
using assettest::U32;

// With the desktop icons in <folder>/icons, so that they too are checked for the same bytes.
bool RunGenerator(const std::string& folder) {
    const std::string command =
        std::string("\"") + ASSETGEN_PATH + "\" \"" + folder + "\" --icons \"" + folder + "/icons\"";
    return std::system(command.c_str()) == 0;
}

class GeneratedAssets : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        firstFolder_ = std::make_unique<TempFolder>("assetgen");
        secondFolder_ = std::make_unique<TempFolder>("assetgen");
        first_ = firstFolder_->Path().string();
        second_ = secondFolder_->Path().string();
        generated_ = !first_.empty() && !second_.empty() && RunGenerator(first_) && RunGenerator(second_);
    }
    static void TearDownTestSuite() {
        firstFolder_.reset();
        secondFolder_.reset();
    }
    void SetUp() override { ASSERT_TRUE(generated_) << "the generator did not run"; }

    static std::vector<uint8_t> File(const std::string& relative) {
        return ReadFile(first_ + "/" + relative);
    }
    static ClipView Clip(const std::string& name) {
        ClipView view;
        const std::string error = ReadClip(File("CLP/" + name + ".clp"), view);
        EXPECT_EQ(error, "") << name;
        return view;
    }

    static inline std::unique_ptr<TempFolder> firstFolder_, secondFolder_;
    static std::string first_, second_;
    static bool generated_;
};
std::string GeneratedAssets::first_, GeneratedAssets::second_;
bool GeneratedAssets::generated_ = false;

// Every clip the game and its dialogs load, with the number of frames each must at least have.
const std::map<std::string, int>& RequiredClips() {
    static const std::map<std::string, int> clips = [] {
        std::map<std::string, int> m;
        for (int i = 0; i < 4; ++i) {
            const std::string d = std::to_string(i);
            m["frog" + d] = 1;
            m["1-enemy" + d] = 1;
            for (const char* f : {"1-fly", "2-fly", "3-fly", "4-fly", "1-sun", "2-sun"}) m[f + d] = 1;
        }
        for (const char* leaf : {"1-leave0", "2-leave0", "3-leave0", "4-leave0", "island0"}) m[leaf] = 10;
        m["heart0"] = 1;
        m["waves0"] = 3;
        m["digits"] = 10;
        for (const char* b :
             {"btHelp", "btDown", "btExit", "btNew", "btOptions", "btTop10", "btGames", "btYes", "btNo",
              "btPlay", "btOK", "btCancel", "btClose", "btPublish", "btClear", "def_btn", "def_edit"})
            m[b] = 3;
        m["def_cbox"] = 6;
        m["smleav"] = 2;
        m["smfrog"] = 2;
        for (const char* one : {"ScoreName", "ScoreVal", "top", "bar", "ShoreLeft", "ShoreRight", "ShoreUp",
                                "ShoreDown", "ShoreMiddle", "VerBord", "HorBord"})
            m[one] = 1;
        return m;
    }();
    return clips;
}

const char* const kSounds[] = {"over", "eat", "uneat", "sink", "bell", "heartbeat", "gameover", "newlevel"};

TEST_F(GeneratedAssets, TwoRunsWriteTheSameBytes) {
    size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(first_)) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = fs::relative(entry.path(), first_);
        EXPECT_EQ(ReadFile(entry.path().string()), ReadFile((fs::path(second_) / relative).string()))
            << relative;
        ++files;
    }
    EXPECT_GT(files, 80u);
}

TEST_F(GeneratedAssets, EveryFileTheGameNamesIsThere) {
    for (const auto& [name, frames] : RequiredClips())
        EXPECT_TRUE(fs::exists(first_ + "/CLP/" + name + ".clp")) << name;
    for (const char* bmp : {"all", "skin", "icon"})
        EXPECT_TRUE(fs::exists(first_ + "/CLP/" + bmp + ".bmp")) << bmp;
    for (const char* s : kSounds) EXPECT_TRUE(fs::exists(first_ + "/WAV/" + s + ".wav")) << s;
    EXPECT_TRUE(fs::exists(first_ + "/INI/Quillmoss.ini"));
}

TEST_F(GeneratedAssets, EveryClipIsWellFormedWithTheFramesTheGameNeeds) {
    for (const auto& [name, frames] : RequiredClips()) {
        const ClipView clip = Clip(name);
        EXPECT_GE(static_cast<int>(clip.frames.size()), frames) << name;
        EXPECT_GE(clip.frameRate, 0.0f) << name;
        for (const auto& p : clip.pictures) EXPECT_EQ(p.bits, 24) << name;
    }
    EXPECT_EQ(Clip("digits").frames.size(), 10u);
    EXPECT_EQ(Clip("def_cbox").frames.size(), 6u);
}

TEST_F(GeneratedAssets, CreaturesAreCellSizedAndEveryFrameOfAClipHasOneSize) {
    for (const auto& [name, frames] : RequiredClips()) {
        const bool creature = name.find("frog") == 0 || name.find("enemy") != std::string::npos ||
                              name.find("fly") != std::string::npos ||
                              name.find("sun") != std::string::npos ||
                              name.find("leave") != std::string::npos || name == "island0" ||
                              name == "heart0" || name == "waves0";
        if (!creature) continue;
        for (const auto& p : Clip(name).pictures) {
            EXPECT_EQ(p.width, 78) << name;
            EXPECT_EQ(p.height, 80) << name;
        }
    }
}

TEST_F(GeneratedAssets, LeavesAndIslandsSinkWithoutCommandsThatWouldFightTheGame) {
    // The game picks every frame of a leaf itself; a command would move or destroy it behind its back.
    for (const char* name : {"1-leave0", "2-leave0", "3-leave0", "4-leave0", "island0", "waves0", "heart0"})
        for (const auto& f : Clip(name).frames) EXPECT_TRUE(f.commands.empty()) << name;
    for (const auto& f : Clip("digits").frames) EXPECT_EQ(f.commands, (std::vector<int32_t>{1}));
}

TEST_F(GeneratedAssets, ButtonsFitThePanelAndTheBar) {
    auto size = [&](const std::string& n) {
        return std::pair{Clip(n).pictures[0].width, Clip(n).pictures[0].height};
    };
    int topRow = 0;
    for (const char* b : {"btHelp", "btDown", "btExit"}) {
        EXPECT_LE(size(b).second, 35) << b;  // the panel's first button starts at y 35
        topRow += size(b).first + 2;
    }
    EXPECT_LE(topRow, 750 - 580) << "the top row must leave the score digits (to x 580) free";
    int column = 35;
    for (const char* b : {"btNew", "btOptions", "btTop10", "btGames"}) {
        EXPECT_LE(size(b).first, 98) << b;
        column += size(b).second + 5;
    }
    EXPECT_LT(column, 300) << "the panel buttons must stay above the waiting frogs";
    // Three dialog buttons in a row between the shores of the 355-pixel score window.
    EXPECT_LE(size("btClose").first + size("btPublish").first + size("btClear").first + 20, 355 - 50);
}

TEST_F(GeneratedAssets, ShoresUseTheDialogKeyAndBordersAreThinLines) {
    for (const char* s : {"ShoreLeft", "ShoreRight", "ShoreUp", "ShoreDown", "ShoreMiddle"})
        EXPECT_EQ(Clip(s).pictures[0].key, 120034u) << s;
    EXPECT_EQ(Clip("ShoreLeft").pictures[0].width, 25);
    EXPECT_EQ(Clip("ShoreRight").pictures[0].width, 25);
    EXPECT_GE(Clip("ShoreLeft").pictures[0].height, 550);
    EXPECT_GE(Clip("ShoreUp").pictures[0].width, 580);
    EXPECT_LE(Clip("VerBord").pictures[0].width, 3);
    EXPECT_LE(Clip("HorBord").pictures[0].height, 3);
}

struct Bmp {
    int32_t width = 0, height = 0;
    int bits = 0;
    std::vector<uint8_t> bytes;
    uint32_t Pixel(int x, int row) const {  // row counted from the bottom, as stored
        const size_t stride = ((static_cast<size_t>(width) * 3 + 3) / 4) * 4;
        const size_t at = 54 + static_cast<size_t>(row) * stride + static_cast<size_t>(x) * 3;
        return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16);
    }
};

Bmp LoadBmp(const std::vector<uint8_t>& bytes) {
    Bmp b;
    b.bytes = bytes;
    if (bytes.size() < 54) return b;
    b.width = static_cast<int32_t>(U32(bytes, 18));
    b.height = static_cast<int32_t>(U32(bytes, 22));
    b.bits = U16(bytes, 28);
    return b;
}

TEST_F(GeneratedAssets, WindowPicturesAreWholeWindow24BitBitmapsWithAUniqueCornerKey) {
    for (const char* name : {"all", "skin"}) {
        const Bmp b = LoadBmp(File(std::string("CLP/") + name + ".bmp"));
        ASSERT_EQ(b.width, 750) << name;
        ASSERT_EQ(b.height, 550) << name;
        ASSERT_EQ(b.bits, 24) << name;
        ASSERT_EQ(b.bytes.size(), 54u + 2252u * 550u) << name;
        // The game takes the key from the first stored pixel: no other pixel may share it.
        const uint32_t key = b.Pixel(0, 0);
        int same = 0;
        for (int row = 0; row < b.height; ++row)
            for (int x = 0; x < b.width; ++x) same += b.Pixel(x, row) == key;
        EXPECT_EQ(same, 1) << name;
    }
    const Bmp icon = LoadBmp(File("CLP/icon.bmp"));
    EXPECT_EQ(icon.width, 64);
    EXPECT_EQ(icon.height, 64);
    EXPECT_EQ(icon.bits, 24);
}

TEST_F(GeneratedAssets, SoundsAreShortMonoPcmAndNeverClip) {
    for (const char* name : kSounds) {
        const auto wav = File(std::string("WAV/") + name + ".wav");
        ASSERT_GT(wav.size(), 44u) << name;
        EXPECT_EQ(U16(wav, 20), 1u) << name;
        EXPECT_EQ(U16(wav, 22), 1u) << name;
        const uint32_t rate = U32(wav, 24);
        EXPECT_TRUE(rate == 22050 || rate == 44100) << name;
        EXPECT_EQ(U16(wav, 34), 16u) << name;
        const uint32_t data = U32(wav, 40);
        ASSERT_EQ(44u + data, wav.size()) << name;
        const double seconds = data / 2.0 / rate;
        EXPECT_LT(seconds, 1.6) << name;
        int peak = 0;
        for (size_t i = 44; i + 1 < wav.size(); i += 2)
            peak = std::max(peak, std::abs(static_cast<int16_t>(U16(wav, i))));
        EXPECT_LT(peak, 32000) << name;
        EXPECT_GT(peak, 8000) << name << " is too quiet";
        // Starts and ends softly: no click.
        EXPECT_LT(std::abs(static_cast<int16_t>(U16(wav, 44))), 500) << name;
        EXPECT_LT(std::abs(static_cast<int16_t>(U16(wav, wav.size() - 2))), 500) << name;
    }
}

// The pond stands still while a game sound plays. Those that come again and again during play must
// not make it stutter: the heartbeat and the bell every 1.5 s, eating whenever a fly is caught.
TEST_F(GeneratedAssets, SoundsThatRepeatDuringPlayHoldThePondOnlyBriefly) {
    const struct {
        const char* name;
        double maxSeconds;
    } limits[] = {{"heartbeat", 0.25}, {"bell", 0.25}, {"eat", 0.2}, {"uneat", 0.2}, {"over", 0.1}};
    for (const auto& limit : limits) {
        const auto wav = File(std::string("WAV/") + limit.name + ".wav");
        ASSERT_GT(wav.size(), 44u) << limit.name;
        EXPECT_LE(U32(wav, 40) / 2.0 / U32(wav, 24), limit.maxSeconds) << limit.name;
    }
}

// Loudness of a WAV file's samples in 10 ms windows, as a share of its loudest window.
std::vector<double> Envelope(const std::vector<uint8_t>& wav) {
    const size_t window = U32(wav, 24) / 100;
    std::vector<double> rms;
    for (size_t start = 44; start + 2 * window <= wav.size(); start += 2 * window) {
        double sum = 0;
        for (size_t i = 0; i < window; ++i) {
            const double v = static_cast<int16_t>(U16(wav, start + 2 * i));
            sum += v * v;
        }
        rms.push_back(std::sqrt(sum / window));
    }
    const double peak = rms.empty() ? 1 : *std::max_element(rms.begin(), rms.end());
    for (double& r : rms) r /= peak;
    return rms;
}

// Short, but still what they are: the heartbeat two thumps with a hush between, the bell ringing on
// after its strike rather than a click.
TEST_F(GeneratedAssets, ShortHeartbeatIsStillALubDubAndTheShortBellStillRings) {
    const std::vector<double> heart = Envelope(File("WAV/heartbeat.wav"));
    ASSERT_GE(heart.size(), 20u);
    const auto lub = std::max_element(heart.begin(), heart.begin() + 8);
    const auto dub = std::max_element(heart.begin() + 10, heart.end());
    const double hush = *std::min_element(lub, dub);
    EXPECT_GT(*dub, 0.5) << "the second thump is heard";
    EXPECT_LT(hush, 0.35 * *dub) << "the thumps are apart";
    const std::vector<double> bell = Envelope(File("WAV/bell.wav"));
    ASSERT_GE(bell.size(), 20u);
    EXPECT_GT(bell[10], 0.25) << "rings 100 ms after the strike";
    EXPECT_LT(bell.back(), 0.05) << "and has died away at the end, not been cut off";
}

TEST_F(GeneratedAssets, SettingsFileHoldsEveryKeyAtItsDefaultWithItsRange) {
    const auto bytes = File("INI/Quillmoss.ini");
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::map<std::string, std::string> values, comments;  // "Section.Key" -> value, its comment
    std::string line, section, comment;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        if (line[0] == ';') {
            comment = line;
            continue;
        }
        if (line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);
            continue;
        }
        const auto eq = line.find('=');
        ASSERT_NE(eq, std::string::npos) << line;
        EXPECT_FALSE(comment.empty()) << line << " has no comment above it";
        values[section + "." + line.substr(0, eq)] = line.substr(eq + 1);
        comments[section + "." + line.substr(0, eq)] = comment;
        comment.clear();
    }
    const std::map<std::string, std::string> defaults = {
        {"Game.MaxIslandNumbers", "6"},
        {"Game.ScoreForBonus", "10"},
        {"Game.ScoreForChangeLevel", "50"},
        {"Leaves.MaxLeavesPerScreen", "35"},
        {"Leaves.MinAniVelocLeav", "800"},
        {"Leaves.MaxAniVelocLeav", "1500"},
        {"Leaves.DeclineSuspendTime", "2000"},
        {"Leaves.IslandMeltTime", "1000"},
        {"Leaves.TimeAppOfNewLeave", "200"},
        {"Frogs.MaxFrogNumber", "8"},
        {"Frogs.MaxBadFrogNumber", "3"},
        {"Frogs.TimeAppOfBadFrog", "150"},
        {"Frogs.FrogVeloc", "80"},
        {"Frogs.FrogReincarnVeloc", "80"},
        {"Frogs.FramesForFrogLeap", "6"},
        {"Frogs.FramesEnoughForSitting", "5"},
        {"Frogs.TimeSuspendOnLeave", "300"},
        {"Frogs.FramesForIslandLeap", "2"},
        {"Frogs.DeadTimeExtend", "300"},
        {"Frogs.ChanceForLeap", "2"},
        {"Frogs.ChanceForFrame", "3"},
        {"Flyes.FlyNumber", "6"},
        {"Flyes.SunNumber", "3"},
        {"Flyes.FlyVelocity", "50"},
        {"Flyes.FramesForFlyLeap", "3"},
        {"Waves.FrameBeforeWaveApp", "1"},
        {"Rates.IslandRate", "0"},
        {"Rates.MinAniLeaveRate", "0"},
        {"Rates.MaxAniLeaveRate", "0"},
        {"Rates.NiceFrogRate", "-0.4"},
        {"Rates.BadFrogRate", "0.4"},
        {"Rates.AppBadFrogRate", "0"},
        {"Rates.FlyNumberRate", "0"},
        {"Rates.SunNumberRate", "0.2"},
        {"Rates.IslandMeltRate", "300"},
        {"Rates.AgressionRate", "0.25"},
        {"Rates.LeaveDeclineRate", "-70"},
        {"Links.GamesPage", "https://marshwade.org/games.html"},
        {"Links.ScoresPage", "https://marshwade.org"},
        {"Display.Scale", "auto"},
        {"Display.Fullscreen", "0"},
        {"Display.FineArt", "1"}};
    EXPECT_EQ(values, defaults);
    // The game's own reader sees the same values.
    IniFile game;
    ASSERT_TRUE(game.Load(first_ + "/INI/Quillmoss.ini"));
    for (const auto& [name, value] : defaults) {
        const size_t dot = name.find('.');
        EXPECT_EQ(game.GetString(name.substr(0, dot), name.substr(dot + 1), "(absent)"), value) << name;
    }
    // The ranges the game holds the counts to, so a modder knows what takes effect.
    const std::map<std::string, std::string> ranges = {
        {"Game.MaxIslandNumbers", "2..12"}, {"Leaves.MaxLeavesPerScreen", "MaxIslandNumbers..96"},
        {"Frogs.MaxFrogNumber", "1..12"},   {"Frogs.MaxBadFrogNumber", "0..6"},
        {"Flyes.FlyNumber", "0..12"},       {"Flyes.SunNumber", "0..6"}};
    for (const auto& [name, range] : ranges) {
        EXPECT_TRUE(comments[name].ends_with("; range " + range)) << name << ": " << comments[name];
    }
    EXPECT_NE(comments["Links.GamesPage"].find("\"?r=qmw&a=avp\""), std::string::npos);
    EXPECT_NE(comments["Links.ScoresPage"].find("\"/cgi-bin/gameres.pl?e=\""), std::string::npos);
}

// The icon theme's sizes, each a square PNG whose corners show the panel through (the icon is a
// disc) and whose centre is opaque, and a scalable SVG of the same drawing.
TEST_F(GeneratedAssets, DesktopIconsAreRoundSquarePngsOfEveryThemeSizeAndAnSvg) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const std::string path = first_ + "/icons/hicolor/" + name + "/apps/marshwade.png";
        cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
        ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS) << path;
        EXPECT_EQ(cairo_image_surface_get_format(png), CAIRO_FORMAT_ARGB32);
        ASSERT_EQ(cairo_image_surface_get_width(png), size);
        ASSERT_EQ(cairo_image_surface_get_height(png), size);
        const unsigned char* data = cairo_image_surface_get_data(png);
        const int stride = cairo_image_surface_get_stride(png);
        auto alpha = [&](int x, int y) {
            return reinterpret_cast<const uint32_t*>(data + y * stride)[x] >> 24;
        };
        for (int corner : {0, size - 1}) {
            EXPECT_EQ(alpha(corner, 0), 0u);
            EXPECT_EQ(alpha(corner, size - 1), 0u);
        }
        EXPECT_EQ(alpha(size / 2, size / 2), 255u);
        cairo_surface_destroy(png);
    }
    const std::vector<uint8_t> svg = File("icons/hicolor/scalable/apps/marshwade.svg");
    const std::string text(svg.begin(), svg.end());
    EXPECT_EQ(text.rfind("<?xml", 0), 0u);
    EXPECT_NE(text.find("viewBox=\"0 0 64 64\""), std::string::npos);
    EXPECT_EQ(text.find("<image"), std::string::npos) << "drawn as vectors, not a picture inside the SVG";
}

}  // namespace
