#pragma once
#include <cstdint>
#include <optional>

// The game's one random generator. Every random choice of the pond takes a non-negative 31-bit value
// from it and reduces it modulo n. It is seeded once when the game window starts, so a run is
// replayed exactly by the same seed and the same inputs at the same frame steps.
//
// Process-wide; safe from any thread, though only the game window's frame steps and handlers use it.
namespace game_random {

void Seed(uint32_t seed);
// A value in [0, n); 0 when n is 0 or negative.
int32_t Below(int32_t n);

// The seed the game window uses when it starts: the fixed one if a test or tool set it, else the
// number in MARSHWADE_SEED if that is set, else `clockMs` (the milliseconds of the clock at start).
uint32_t StartSeed(uint32_t clockMs);
void FixSeed(std::optional<uint32_t> seed);

}  // namespace game_random
