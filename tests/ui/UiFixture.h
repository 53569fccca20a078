#pragma once
// A started headless window stepped by hand, the program folder pointed at the build folder (so the
// generated CLP/ and WAV/ files are found), a headless sound player that records every request, and
// builders for clip files of plain-coloured frames.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "graphics/OGraphNotify.h"
#include "platform/HeadlessSoundPlayer.h"
#include "platform/ProgramPath.h"
#include "tests/support/ClipFileBuilder.h"
#include "tests/support/HeadlessWindowTest.h"
#include "tests/support/TempFolder.h"
#include "ui/OControl.h"

namespace ui_test {

using Colour = std::array<uint8_t, 3>;  // blue, green, red
constexpr Colour kPond{0xD0, 0xA7, 0x43};

// A colour as a 24-bit pixel value of a picture record.
constexpr uint32_t Pixel(const Colour& c) {
    return c[0] | (c[1] << 8) | (c[2] << 16);
}

class UiTest : public HeadlessWindowTest {
  protected:
    void SetUp() override {
        HeadlessWindowTest::SetUp();
        savedProgramDir_ = platform::ProgramDirectory();
        platform::SetProgramDirectoryForTesting(std::string(MARSHWADE_BINARY_DIR) + "/");
        previousPlayer_ = platform::SoundPlayer::SetShared(&sounds);
        os.Manual().Set(now);
        w = Make();
        w->Start();
        Frame();
    }
    void TearDown() override {
        HeadlessWindowTest::TearDown();
        platform::SoundPlayer::SetShared(previousPlayer_);
        platform::SetProgramDirectoryForTesting(savedProgramDir_);
    }

    // One frame step 20 ms after the last (the window's 50 steps a second), then the main thread
    // shows what was composed.
    void Frame() {
        now += 20;
        os.Manual().Set(now);
        w->RunFrame();
        os.Pump();
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }
    Colour At(int x, int y) const { return PixelAt(w, x, y); }

    // The window's input routing, as the window procedure calls it.
    void Move(int x, int y) { w->OnMouseMove(x, y); }
    void Press(int code, int x = 0, int y = 0) { w->OnPress(code, x, y); }
    void Release(int code, int x = 0, int y = 0) { w->OnRelease(code, x, y); }
    void Key(int code) {
        Press(code);
        Release(code);
    }
    void Type(const std::string& text) {
        for (char c : text) w->OnChar(static_cast<uint8_t>(c));
    }

    // The events the window received from `control`, in order.
    std::vector<int> EventsOf(const OControl* control) const {
        std::vector<int> out;
        for (const auto& [source, event] : w->commands)
            if (source == control->CommandId()) out.push_back(event);
        return out;
    }
    std::vector<std::string> SoundFiles() const {
        std::vector<std::string> out;
        for (const auto& r : sounds.Requests()) out.push_back(r.fileName);
        return out;
    }

    // A clip file in the test's folder whose frames are plain rectangles of the given colours, each
    // frame showing its own picture. Returns its absolute name.
    std::string WriteClip(const std::string& name, int width, int height, const std::vector<Colour>& frames,
                          float rate = 10.0f) {
        testing_support::ClipFileBuilder builder;
        builder.Rate(rate);
        for (size_t i = 0; i < frames.size(); ++i) {
            const uint32_t value = Pixel(frames[i]);
            builder.Picture(testing_support::PictureRecordBytes(width, height, 0xFF00FF,
                                                                [value](int, int) { return value; }));
            builder.Frame({0, 0, 0, static_cast<int16_t>(i), {}});
        }
        const std::vector<uint8_t> bytes = builder.Build();
        const std::filesystem::path path = folder.Path() / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    platform::HeadlessSoundPlayer sounds{os.Manual()};
    TempFolder folder;
    TestWindow* w = nullptr;
    uint32_t now = 1000;

  private:
    std::string savedProgramDir_;
    platform::SoundPlayer* previousPlayer_ = nullptr;
};

}  // namespace ui_test
