#include <gtest/gtest.h>

#include "platform/VirtualKeys.h"

namespace {

TEST(VirtualKeys, ArrowsLettersDigitsAndEditingKeysGetTheirWindowsCodes) {
    EXPECT_EQ(platform::VirtualKeyForKeyName("Left"), 37);
    EXPECT_EQ(platform::VirtualKeyForKeyName("Up"), 38);
    EXPECT_EQ(platform::VirtualKeyForKeyName("Right"), 39);
    EXPECT_EQ(platform::VirtualKeyForKeyName("Down"), 40);
    EXPECT_EQ(platform::VirtualKeyForKeyName("A"), 65);
    EXPECT_EQ(platform::VirtualKeyForKeyName("Z"), 90);
    EXPECT_EQ(platform::VirtualKeyForKeyName("0"), 48);
    EXPECT_EQ(platform::VirtualKeyForKeyName("9"), 57);
    EXPECT_EQ(platform::VirtualKeyForKeyName("Space"), 32);
    EXPECT_EQ(platform::VirtualKeyForKeyName("Return"), 13);
    EXPECT_EQ(platform::VirtualKeyForKeyName("Escape"), 27);
    EXPECT_EQ(platform::VirtualKeyForKeyName("Tab"), 9);
    EXPECT_EQ(platform::VirtualKeyForKeyName("Backspace"), 8);
    EXPECT_EQ(platform::VirtualKeyForKeyName("Delete"), 46);
    EXPECT_EQ(platform::VirtualKeyForKeyName("Home"), 36);
    EXPECT_EQ(platform::VirtualKeyForKeyName("End"), 35);
    EXPECT_EQ(platform::VirtualKeyForKeyName("F1"), 112);
    EXPECT_EQ(platform::VirtualKeyForKeyName("VolumeUp"), 0);
    EXPECT_EQ(platform::VirtualKeyForKeyName("no such key"), 0);
}

TEST(VirtualKeys, OnlyEnterBackspaceTabAndEscapeMakeControlCharacters) {
    EXPECT_EQ(platform::ControlCharForVirtualKey(13), 13);
    EXPECT_EQ(platform::ControlCharForVirtualKey(8), 8);
    EXPECT_EQ(platform::ControlCharForVirtualKey(9), 9);
    EXPECT_EQ(platform::ControlCharForVirtualKey(27), 27);
    EXPECT_EQ(platform::ControlCharForVirtualKey(37), 0);
    EXPECT_EQ(platform::ControlCharForVirtualKey(65), 0);
}

TEST(VirtualKeys, TextBecomesWindows1252AndWhatItCannotHoldIsDropped) {
    using Bytes = std::vector<uint8_t>;
    EXPECT_EQ(platform::Utf8ToCp1252("Ab1"), (Bytes{'A', 'b', '1'}));
    EXPECT_EQ(platform::Utf8ToCp1252("\xC3\xA9"), (Bytes{0xE9}));      // e acute
    EXPECT_EQ(platform::Utf8ToCp1252("\xE2\x82\xAC"), (Bytes{0x80}));  // euro sign
    EXPECT_EQ(platform::Utf8ToCp1252("\xE6\x97\xA5x"), (Bytes{'x'}));  // not in the code page
    EXPECT_EQ(platform::Utf8ToCp1252("\xF0\x9F\x90\xB8"), (Bytes{}));  // an emoji
    EXPECT_EQ(platform::Utf8ToCp1252("\xC3"), (Bytes{}));              // cut off
    EXPECT_EQ(platform::Utf8ToCp1252("\xC3(a"), (Bytes{'(', 'a'}));    // broken sequence
    EXPECT_EQ(platform::Utf8ToCp1252("\x80q"), (Bytes{'q'}));          // stray continuation
}

}  // namespace
