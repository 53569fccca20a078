#include "game/PlayBounds.h"

#include <algorithm>
#include <array>

#include "game/GameSettings.h"

namespace play_bounds {
namespace {
struct Range {
    const char* key;
    int32_t GameSettings::*field;
    int32_t low;
    int32_t high;
};

// The leaves' bound follows the islands as they will be used.
std::array<Range, 6> RangesFor(const GameSettings& s) {
    const int32_t islands = std::clamp(s.MaxIslandNumbers, kMinIslands, kMaxIslands);
    return {{
        {"MaxIslandNumbers", &GameSettings::MaxIslandNumbers, kMinIslands, kMaxIslands},
        {"MaxLeavesPerScreen", &GameSettings::MaxLeavesPerScreen, islands, kMaxPondObjects},
        {"MaxFrogNumber", &GameSettings::MaxFrogNumber, 1, kMaxFrogs},
        {"MaxBadFrogNumber", &GameSettings::MaxBadFrogNumber, 0, kMaxRedFrogs},
        {"FlyNumber", &GameSettings::FlyNumber, 0, kMaxFlies},
        {"SunNumber", &GameSettings::SunNumber, 0, kMaxSuns},
    }};
}
}  // namespace

std::vector<Clamp> ClampsFor(const GameSettings& s) {
    std::vector<Clamp> out;
    for (const Range& r : RangesFor(s)) {
        const int32_t value = s.*(r.field);
        const int32_t used = std::clamp(value, r.low, r.high);
        if (used != value) out.push_back({r.key, value, used});
    }
    return out;
}

void Apply(GameSettings& s) {
    for (const Range& r : RangesFor(s)) s.*(r.field) = std::clamp(s.*(r.field), r.low, r.high);
}

void DeriveForPlay(GameSettings& settings, int skill) {
    DeriveLevelSettings(settings, skill);
    Apply(settings);
}

}  // namespace play_bounds
