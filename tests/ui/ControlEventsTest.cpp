#include <gtest/gtest.h>

#include <vector>

#include "ui/ControlEvents.h"

namespace {
using S = ControlState;
using E = ControlEvent;

std::vector<int> Events(uint32_t before, uint32_t after) {
    const ControlEventList list = ControlEventsFor(before, after);
    return {list.begin(), list.end()};
}

TEST(ControlEvents, NoChangeRaisesNothing) {
    EXPECT_TRUE(Events(0, 0).empty());
    EXPECT_TRUE(Events(S::Hover | S::Focused, S::Hover | S::Focused).empty());
}

TEST(ControlEvents, ReleaseOverTheControlClicks) {
    EXPECT_EQ(Events(S::Hover | S::Pressed, S::Hover), (std::vector<int>{E::ButtonUp, E::Click}));
}

TEST(ControlEvents, ReleaseAfterLeavingGivesButtonUpWithoutClick) {
    EXPECT_EQ(Events(S::Pressed | S::Captured, S::Captured), (std::vector<int>{E::ButtonUp}));
}

TEST(ControlEvents, LeavingAndReleasingAtOnceReportsLeaveBeforeButtonUpAndNoClick) {
    EXPECT_EQ(Events(S::Hover | S::Pressed, 0), (std::vector<int>{E::MouseLeave, E::ButtonUp}));
}

TEST(ControlEvents, EnterReleasedWithFocusClicksAndWithoutFocusDoesNot) {
    EXPECT_EQ(Events(S::Focused | S::KeyDown, S::Focused), (std::vector<int>{E::KeyRelease, E::Click}));
    EXPECT_EQ(Events(S::KeyDown, 0), (std::vector<int>{E::KeyRelease}));
}

TEST(ControlEvents, LosingFocusWhileEnterIsDownGivesNoClick) {
    // The focus and the key go in one change: the Click test sees the focus already gone.
    EXPECT_EQ(Events(S::Focused | S::KeyDown, 0), (std::vector<int>{E::KeyRelease, E::FocusOut}));
}

TEST(ControlEvents, EveryBitAtOnceInTheFixedOrder) {
    const uint32_t all = S::Hover | S::Pressed | S::KeyDown | S::Focused | S::Captured;
    EXPECT_EQ(Events(0, all),
              (std::vector<int>{E::MouseEnter, E::ButtonDown, E::KeyPress, E::FocusIn, E::CaptureIn}));
    EXPECT_EQ(Events(all, 0),
              (std::vector<int>{E::MouseLeave, E::ButtonUp, E::KeyRelease, E::FocusOut, E::CaptureOut}));
}

TEST(ControlEvents, BothKindsOfReleaseCanClickInOneChange) {
    const uint32_t before = S::Hover | S::Pressed | S::KeyDown | S::Focused;
    EXPECT_EQ(Events(before, S::Hover | S::Focused),
              (std::vector<int>{E::ButtonUp, E::Click, E::KeyRelease, E::Click}));
}

TEST(ControlEvents, UnknownBitsAreIgnored) {
    EXPECT_TRUE(Events(0, 0xFFFFFF00u).empty());
}
}  // namespace
