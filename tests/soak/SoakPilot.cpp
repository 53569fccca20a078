#include "tests/soak/SoakPilot.h"

#include <array>
#include <cstdlib>

#include "engine/VirtualKey.h"
#include "game/GameState.h"
#include "game/PondGrid.h"
#include "game/PondRules.h"

namespace soak_pilot {
namespace {

constexpr int kUnsafe = -1000;

// How good a cell is to stand on for the next moments: an island is good, a leaf by the frames it
// has left, water or a red frog or a sun not at all. Toward the last island counts extra.
int Value(int column, int row) {
    if (!pond::InGrid(column, row) || pond::RedFrogAt(column, row) || pond::SunAt(column, row))
        return kUnsafe;
    const OLeave* p = pond::PondObjectAt(column, row);
    if (!p) return kUnsafe;
    int value = 0;
    if (p->IsIsland()) {
        value = p == TheGameState().entryIsland ? 0 : 60;
    } else {
        const int left = p->FrameCount() - 1 - p->Frame();
        if (left < 4) return kUnsafe;
        value = left * 4;
    }
    const GameState& g = TheGameState();
    if (pond::CountIslands() == 1 && g.lastCountedIsland) {
        const int distance =
            std::abs(g.lastCountedIsland->CellX() - column) + std::abs(g.lastCountedIsland->CellY() - row);
        value += 100 - 20 * distance;
    }
    return value;
}

}  // namespace

int NextKey(std::mt19937& random) {
    const OFrog* frog = TheGameState().player;
    if (!frog || frog->state != OFrog::kResting) return 0;
    const int c = frog->CellX(), r = frog->CellY();
    if (!pond::InGrid(c, r)) return 0;
    static constexpr std::array<std::array<int, 3>, 4> kMoves{
        {{vk::kUp, 0, -1}, {vk::kRight, 1, 0}, {vk::kDown, 0, 1}, {vk::kLeft, -1, 0}}};
    int bestKey = 0, best = Value(c, r);
    // Standing still is worth a little, so the frog does not hop to and fro without reason.
    best += 8;
    const int first = static_cast<int>(random() % 4);
    for (int i = 0; i < 4; ++i) {
        const auto& move = kMoves[static_cast<size_t>((first + i) % 4)];
        const int value = Value(c + move[1], r + move[2]);
        if (value > best) {
            best = value;
            bestKey = move[0];
        }
    }
    return bestKey;
}

}  // namespace soak_pilot
