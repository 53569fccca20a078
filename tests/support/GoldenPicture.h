#pragma once
// Golden pictures: a window's picture compared with a committed reference PNG in tests/golden/.
//
// A reference is only written on request: run the test with MARSHWADE_UPDATE_GOLDEN=1 and look at
// the new picture before committing it. On a mismatch the picture as drawn is written beside the
// test binary (golden-out/NAME.png) so it can be looked at.
#include <gtest/gtest.h>

#include <string>

class OffscreenPicture;

namespace golden {

// The window rows 0 .. height-1 and columns 0 .. width-1 of `picture` as an RGB PNG.
bool WritePng(const OffscreenPicture& picture, int width, int height, const std::string& path);

// Pixels whose channels all lie within `tolerance` of the reference count as equal (font smoothing);
// the picture matches when at most `allowedShare` of its pixels differ by more.
::testing::AssertionResult Matches(const OffscreenPicture& picture, int width, int height,
                                   const std::string& name, int tolerance = 24, double allowedShare = 0.001);

}  // namespace golden
