// The controls in a real window on a private X server, driven with xdotool: the looks on screenshots,
// the events the window receives (the demo writes them to a log), the caret and the typed text.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/e2e/XvfbSession.h"

namespace {
using namespace e2e;

struct Area {
    int x, y, w, h;
};

// Window coordinates of the demo's controls.
constexpr Area kButton{30, 30, 90, 34};
constexpr Area kCheckbox{30, 90, 40, 40};
constexpr Area kEdit{30, 160, 200, 36};

class ControlsE2E : public XvfbTest {
  protected:
    void SetUp() override {
        XvfbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        log = std::string(MARSHWADE_BINARY_DIR) + "/e2e_controls_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
        std::remove(log.c_str());
        app = Spawn({std::string(MARSHWADE_BINARY_DIR) + "/controls_demo", log}, {"DISPLAY=" + display});
        ASSERT_GT(app, 0);
        Window win = WaitForWindow("Main window");
        ASSERT_NE(win, 0u) << "the demo window did not appear";
        Window child = 0;
        XTranslateCoordinates(x, win, DefaultRootWindow(x), 0, 0, &originX, &originY, &child);
        ASSERT_TRUE(WaitForLine("ready"));
        ASSERT_TRUE(Xdo({"windowfocus", "--sync", std::to_string(win)}));
        std::this_thread::sleep_for(300ms);
    }

    std::vector<std::string> Lines() const {
        std::ifstream in(log);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    bool Has(const std::string& line) const {
        const auto lines = Lines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    bool WaitForLine(const std::string& line) const {
        for (int i = 0; i < 250; ++i) {
            if (Has(line)) return true;
            std::this_thread::sleep_for(20ms);
        }
        return false;
    }
    // The lines written since `from` lines had been seen.
    std::vector<std::string> LinesFrom(size_t from) const {
        auto lines = Lines();
        if (from >= lines.size()) return {};
        return {lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end()};
    }
    // The last line that starts with `prefix`; empty when none does.
    std::string Last(const std::string& prefix) const {
        std::string found;
        for (const auto& line : Lines())
            if (line.rfind(prefix, 0) == 0) found = line;
        return found;
    }

    bool MoveTo(int wx, int wy) {
        bool ok = Xdo({"mousemove", "--sync", std::to_string(originX + wx), std::to_string(originY + wy)});
        std::this_thread::sleep_for(150ms);
        return ok;
    }
    bool Centre(const Area& a) { return MoveTo(a.x + a.w / 2, a.y + a.h / 2); }
    bool Do(const std::vector<std::string>& args) {
        bool ok = Xdo(args);
        std::this_thread::sleep_for(200ms);
        return ok;
    }

    double Brightness(const Ppm& shot, const Area& a) const {
        double sum = 0;
        for (int yy = 0; yy < a.h; ++yy)
            for (int xx = 0; xx < a.w; ++xx) {
                auto p = shot.At(originX + a.x + xx, originY + a.y + yy);
                sum += p[0] + p[1] + p[2];
            }
        return sum / (a.w * a.h);
    }
    int Count(const Ppm& shot, const Area& a, bool (*test)(const std::array<int, 3>&)) const {
        int n = 0;
        for (int yy = 0; yy < a.h; ++yy)
            for (int xx = 0; xx < a.w; ++xx) n += test(shot.At(originX + a.x + xx, originY + a.y + yy));
        return n;
    }
    static bool Dark(const std::array<int, 3>& p) { return p[0] < 60 && p[1] < 60 && p[2] < 60; }
    static bool Green(const std::array<int, 3>& p) { return p[1] > p[0] + 40 && p[1] > p[2] + 40; }

    std::string log;
    int originX = 0, originY = 0;
};

int Field(const std::string& line, const std::string& name) {
    std::istringstream in(line);
    for (std::string word; in >> word;) {
        if (word == name) {
            int value = -1;
            in >> value;
            return value;
        }
    }
    return -1;
}

TEST_F(ControlsE2E, ButtonLightsUpOnHoverDarkensWhenPressedAndAReleaseOutsideDoesNotClick) {
    const double normal = Brightness(Shot("e2e_controls_normal"), kButton);
    ASSERT_TRUE(Centre(kButton));
    // The look is composed before the event is written; give the screen a moment to show it.
    ASSERT_TRUE(WaitForLine("button 1"));
    std::this_thread::sleep_for(100ms);
    const double hover = Brightness(Shot("e2e_controls_hover"), kButton);
    ASSERT_TRUE(Do({"mousedown", "1"}));
    ASSERT_TRUE(WaitForLine("button 64"));
    std::this_thread::sleep_for(100ms);
    const double pressed = Brightness(Shot("e2e_controls_pressed"), kButton);
    EXPECT_GT(hover, normal + 10);
    EXPECT_LT(pressed, normal - 10);

    ASSERT_TRUE(MoveTo(300, 40));
    ASSERT_TRUE(Do({"mouseup", "1"}));
    ASSERT_TRUE(WaitForLine("button 128"));
    ASSERT_TRUE(MoveTo(310, 40));
    ASSERT_TRUE(WaitForLine("button 32"));
    std::this_thread::sleep_for(100ms);
    // Outside, still focused: the highlighted look.
    EXPECT_NEAR(Brightness(Shot("e2e_controls_released_outside"), kButton), hover, 3);
    EXPECT_TRUE(Has("button 1"));
    EXPECT_TRUE(Has("button 64"));
    EXPECT_TRUE(Has("button 2"));
    EXPECT_TRUE(Has("button 128"));
    EXPECT_FALSE(Has("button 1024"));
    const auto lines = Lines();
    auto at = [&](const std::string& l) { return std::find(lines.begin(), lines.end(), l) - lines.begin(); };
    EXPECT_LT(at("button 64"), at("button 2"));
    EXPECT_LT(at("button 2"), at("button 128"));
}

TEST_F(ControlsE2E, EnterClicksTheFocusedButtonAndTabWalksTheControlsThenLeavesNone) {
    ASSERT_TRUE(Do({"key", "Tab"}));
    EXPECT_TRUE(WaitForLine("button 4"));
    size_t seen = Lines().size();
    ASSERT_TRUE(Do({"key", "Return"}));
    ASSERT_TRUE(WaitForLine("button 1024"));
    std::vector<std::string> events;
    for (const auto& line : LinesFrom(seen))
        if (line.rfind("button ", 0) == 0) events.push_back(line);
    EXPECT_EQ(events, (std::vector<std::string>{"button 256", "button 512", "button 1024"}));

    ASSERT_TRUE(Do({"key", "Tab"}));
    EXPECT_TRUE(WaitForLine("button 8"));
    EXPECT_TRUE(WaitForLine("checkbox 4"));
    ASSERT_TRUE(Do({"key", "Tab"}));
    EXPECT_TRUE(WaitForLine("edit 4"));
    seen = Lines().size();
    ASSERT_TRUE(Do({"key", "Tab"}));  // past the last: nobody
    auto after = LinesFrom(seen);
    EXPECT_NE(std::find(after.begin(), after.end(), "edit 8"), after.end());
    EXPECT_EQ(std::find(after.begin(), after.end(), "button 4"), after.end());
    seen = Lines().size();
    ASSERT_TRUE(Do({"key", "Tab"}));  // and round again
    after = LinesFrom(seen);
    EXPECT_NE(std::find(after.begin(), after.end(), "button 4"), after.end());
}

TEST_F(ControlsE2E, CheckBoxTogglesOnEveryClick) {
    ASSERT_TRUE(Centre(kCheckbox));
    ASSERT_TRUE(WaitForLine("checkbox 1"));
    const int before = Count(Shot("e2e_controls_unchecked"), kCheckbox, Green);
    ASSERT_TRUE(Do({"click", "1"}));
    ASSERT_TRUE(WaitForLine("checkbox 1024"));
    ASSERT_TRUE(MoveTo(kCheckbox.x + 21, kCheckbox.y + 21));
    const int checked = Count(Shot("e2e_controls_checked"), kCheckbox, Green);
    ASSERT_TRUE(Do({"click", "1"}));
    ASSERT_TRUE(MoveTo(kCheckbox.x + 20, kCheckbox.y + 20));
    const int again = Count(Shot("e2e_controls_unchecked_again"), kCheckbox, Green);
    EXPECT_GT(checked, before + 50);
    EXPECT_LT(again, checked - 50);
    const auto lines = Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "checkbox 1024"), 2);
}

TEST_F(ControlsE2E, TypingPastTheBoxScrollsAndShowsABlinkingCaretAndHomeScrollsBack) {
    const int emptyDark = Count(Shot("e2e_controls_edit_empty"), kEdit, Dark);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(Do({"key", "Tab"}));
    ASSERT_TRUE(WaitForLine("edit 4"));
    const std::string name = "Bartholomew Fitzgerald";
    ASSERT_TRUE(Do({"type", "--delay", "40", name}));
    for (int i = 0; i < 100 && Last("text ").rfind("text " + name + " ", 0) != 0; ++i)
        std::this_thread::sleep_for(20ms);
    const std::string typed = Last("text ");
    ASSERT_EQ(typed.substr(0, 5 + name.size()), "text " + name) << typed;
    EXPECT_GT(Field(typed, "first"), 0) << typed;
    EXPECT_EQ(Field(typed, "cursor"), static_cast<int>(name.size()));
    const int caretX = Field(typed, "caret");
    EXPECT_GT(caretX, kEdit.x);
    EXPECT_LT(caretX, kEdit.x + kEdit.w);

    // The caret blinks: over a few shots its middle pixel is black in some and not in others.
    int on = 0, off = 0;
    Ppm last;
    for (int i = 0; i < 8; ++i) {
        last = Shot("e2e_controls_caret");
        (Dark(last.At(originX + caretX + 1, originY + kEdit.y + kEdit.h / 2)) ? on : off) += 1;
        std::this_thread::sleep_for(110ms);
    }
    EXPECT_GT(on, 0);
    EXPECT_GT(off, 0);
    EXPECT_GT(Count(last, kEdit, Dark), emptyDark + 200);

    ASSERT_TRUE(Do({"key", "Home"}));
    for (int i = 0; i < 100 && Last("key 36").empty(); ++i) std::this_thread::sleep_for(20ms);
    const std::string home = Last("key 36");
    EXPECT_EQ(Field(home, "first"), 0) << home;
    EXPECT_EQ(Field(home, "cursor"), 0);
    const Ppm scrolledBack = Shot("e2e_controls_home");
    int differing = 0;
    for (int yy = 0; yy < kEdit.h; ++yy)
        for (int xx = 8; xx < kEdit.w - 8; ++xx)
            differing += last.At(originX + kEdit.x + xx, originY + kEdit.y + yy) !=
                         scrolledBack.At(originX + kEdit.x + xx, originY + kEdit.y + yy);
    EXPECT_GT(differing, 200);
}

}  // namespace
