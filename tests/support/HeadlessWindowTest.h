#pragma once
// A fixture with the headless platform installed, and helpers to make and close windows on it.
#include <gtest/gtest.h>

#include <array>

#include "engine/Engine.h"
#include "engine/OWindow.h"
#include "engine/WindowDefaults.h"
#include "engine/WindowRegistry.h"
#include "platform/HeadlessPlatform.h"

class TestWindow : public OWindow {
  public:
    explicit TestWindow(OWindow* parent = nullptr) : OWindow(parent) {}
    void QueryClose(bool& allow) override { allow = allowClose; }
    void OnCommand(int a, int b) override {
        commands.push_back({a, b});
        OWindow::OnCommand(a, b);
    }
    bool allowClose = true;
    std::vector<std::pair<int, int>> commands;
};

class HeadlessWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        engine::SetPlatform(&os);
        engine::SetGameThreads(false);
        WindowDefaults::Current() = WindowDefaults{};
        WindowDefaults& d = WindowDefaults::Current();
        d.background = 0xD0A743;
        d.style = 3;
        d.width = 750;
        d.height = 550;
    }
    void TearDown() override {
        for (OWindow* w : made) {
            if (OWindow::Exists(w)) Close(w);
        }
        os.Pump();
        engine::SetPlatform(nullptr);
        engine::SetGameThreads(true);
    }
    TestWindow* Make(OWindow* parent = nullptr) {
        auto* w = new TestWindow(parent);
        made.push_back(w);
        return w;
    }
    // Stops and tears the window down as its game thread would, then lets the main thread run.
    void Close(OWindow* w) {
        w->RequestStop();
        w->Teardown();
        os.Pump();
    }
    platform::HeadlessNativeWindow* NativeOf(OWindow* w) {
        return static_cast<platform::HeadlessNativeWindow*>(w->Native());
    }
    // The colour of window pixel (x, y) as blue, green, red.
    static std::array<uint8_t, 3> PixelAt(const OWindow* w, int x, int y) {
        const uint8_t* p = w->GetPicture()->Row(y) + x * 3;
        return {p[0], p[1], p[2]};
    }

    platform::HeadlessPlatform os{1024, 768};
    std::vector<OWindow*> made;
};
