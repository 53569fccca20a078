#pragma once
// A player who looks before hopping: with the frog resting on the grid, it picks the neighbouring
// leaf that will float longest, or an island, and heads for the last island once only one is left.
// Random keys alone drown the frogs within seconds; the soak lets this player steer for a while so
// that games last and levels get completed.
#include <random>

namespace soak_pilot {

// The arrow key (a virtual-key code) the player would press now, or 0 to stay. Reads the game state;
// call it between frame steps.
int NextKey(std::mt19937& random);

}  // namespace soak_pilot
