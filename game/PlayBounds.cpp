#include "game/PlayBounds.h"

#include <algorithm>
#include <string_view>
#include <variant>

#include "game/GameSettings.h"

namespace play_bounds {
namespace {
struct Range {
    const char* key;
    int32_t GameSettings::*field;
    int32_t low;
    int32_t high;
};

int32_t IntValue(const GameSettings& s, const SettingsKey& k) {
    return s.*std::get<int32_t GameSettings::*>(k.field);
}

const SettingsKey& KeyNamed(std::string_view key) {
    for (const SettingsKey& k : kSettingsKeys)
        if (key == k.key) return k;
    return kSettingsKeys[0];  // not reached: every lowKey names a key of the table
}

// The keys of the settings table that have a range. A bound that follows another key (the leaves
// follow the islands) takes that key's value as it will be used, held to its own range.
std::vector<Range> RangesFor(const GameSettings& s) {
    std::vector<Range> ranges;
    for (const SettingsKey& k : kSettingsKeys) {
        if (!k.HasRange()) continue;
        int32_t low = k.low;
        if (k.lowKey) {
            const SettingsKey& other = KeyNamed(k.lowKey);
            low = std::clamp(IntValue(s, other), other.low, other.high);
        }
        ranges.push_back({k.key, std::get<int32_t GameSettings::*>(k.field), low, k.high});
    }
    return ranges;
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
