#pragma once
#include <cstdint>

// The answer a dialog gives when it closes.
enum DialogAnswer : int32_t { kNoAnswer = 0, kAnswerYes = 1, kAnswerNo = 2 };
