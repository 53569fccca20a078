#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct GameSettings;

// The settings file is read and scaled exactly as written, but a few of its counts decide how many
// objects the game makes and how it indexes them: those are held to ranges in which the pond can be
// played (no island means no entry island, a huge frog count runs off the panel). Each bound is
// named in the generated settings file.
namespace play_bounds {

constexpr int32_t kMinIslands = 2;
constexpr int32_t kMaxIslands = 12;
constexpr int32_t kMaxPondObjects = 96;
constexpr int32_t kMaxFrogs = 12;
constexpr int32_t kMaxRedFrogs = 6;
constexpr int32_t kMaxFlies = 12;
constexpr int32_t kMaxSuns = 6;

struct Clamp {
    std::string key;
    int32_t read = 0;
    int32_t used = 0;
};

// The values that fall outside their range, with what the game uses instead.
std::vector<Clamp> ClampsFor(const GameSettings& settings);
// Applies them.
void Apply(GameSettings& settings);

// The game's derivation of the level's values: read and scaled as the settings say, then held to the
// ranges above.
void DeriveForPlay(GameSettings& settings, int skill);

}  // namespace play_bounds
