#pragma once
#include "platform/Rect.h"

// Window-client rectangles of the scene: left, top, right, bottom, 32-bit signed, right and
// bottom exclusive.
using ORect = platform::Rect;
using platform::IntersectRect;
