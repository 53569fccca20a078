#pragma once
// Small helpers the pond's rule files share (leaves, frogs, flyers). Not for use outside them.
#include <array>
#include <cstdint>
#include <cstdlib>

#include "game/GameSettings.h"
#include "game/GameState.h"
#include "graphics/OClipBucks.h"

namespace pond {

inline GameState& G() {
    return TheGameState();
}
inline GameSettings& S() {
    return TheGameSettings();
}

inline bool At(const OClipBucks& c, int32_t column, int32_t row) {
    return c.CellX() == column && c.CellY() == row;
}

// "Within n pixels": strictly closer than n.
inline bool Near(int32_t a, int32_t b, int32_t within) {
    return std::abs(a - b) < within;
}

// The cell `distance` cells from (column, row) in a direction (0 up, 1 right, 2 down, 3 left).
inline std::array<int32_t, 2> Step(int32_t column, int32_t row, int32_t direction, int32_t distance = 1) {
    static constexpr int32_t kDc[] = {0, 1, 0, -1};
    static constexpr int32_t kDr[] = {-1, 0, 1, 0};
    return {column + kDc[direction] * distance, row + kDr[direction] * distance};
}

}  // namespace pond
