// Leaves and islands: the pond list, its lookups, placing islands and leaves, and their life from
// coming out to going under.
#include <algorithm>
#include <array>

#include "engine/OWindow.h"
#include "game/GameRandom.h"
#include "game/GameSettings.h"
#include "game/PondClock.h"
#include "game/PondCommon.h"
#include "game/PondGrid.h"
#include "game/PondRules.h"

namespace pond {
namespace {

bool OnGrid(const OClipBucks& c) {
    return c.CellX() >= 0 && c.CellY() >= 0;
}

// Islands afloat on the grid, the entry island included.
int32_t IslandsAfloat(OLeave** only) {
    int32_t count = 0;
    for (int32_t i = 0; i < IslandCount(); ++i) {
        OLeave& island = *G().pond[static_cast<size_t>(i)];
        if (island.IsGone() || !OnGrid(island)) continue;
        ++count;
        if (only) *only = &island;
    }
    return count;
}

// The frame-time bounds of a leaf that comes out, from the level's settings.
void TakeFrameTimes(OLeave& leaf) {
    leaf.longestFrameTime = S().MaxAniVelocLeav;
    leaf.shortestFrameTime = S().MinAniVelocLeav;
}

void DrawOwnFrameTime(OLeave& leaf) {
    leaf.ownFrameTime =
        leaf.shortestFrameTime + game_random::Below(leaf.longestFrameTime - leaf.shortestFrameTime);
    leaf.SetRate(8);
}

// A leaf under a resting frog without a good way out gets its new leaf next to the frog: whether the
// frog at (c, r) has such a way out (a young enough leaf beside it, no red frog there, not only the
// cell of one of the two islands the frogs arrive by).
bool FrogNeedsEscape(const OFrog& frog) {
    const int32_t c = frog.CellX(), r = frog.CellY();
    const std::array<std::array<int32_t, 2>, 4> around{{{c + 1, r}, {c - 1, r}, {c, r + 1}, {c, r - 1}}};
    int32_t good = 0;
    std::array<int32_t, 2> last{};
    for (const auto& n : around) {
        OLeave* p = PondObjectAt(n[0], n[1]);
        if (!p || p->IsIsland() || RedFrogAt(n[0], n[1])) continue;
        const int32_t f = p->Frame(), count = p->FrameCount();
        if (count / 4 < f && f < count - count / 2) {
            ++good;
            last = n;
        }
    }
    if (good == 0) return true;
    if (good > 1) return false;
    for (const OLeave* island : {G().entryIsland, G().secondLastIsland}) {
        if (island && At(*island, last[0], last[1])) return true;
    }
    return false;
}

bool IsNeighbour(const OFrog& frog, int32_t c, int32_t r) {
    const int32_t dc = c - frog.CellX(), dr = r - frog.CellY();
    return (dc == 0 && (dr == 1 || dr == -1)) || (dr == 0 && (dc == 1 || dc == -1));
}

bool CellTaken(int32_t c, int32_t r) {
    return PondObjectAt(c, r) != nullptr || RippleShownAt(c, r);
}

void ParkOffGrid(OLeave& leaf) {
    leaf.SetCellFields(-1, -1);
    leaf.PlaceAt(static_cast<float>(-CellX(1)), static_cast<float>(-CellY(1)));
}

int32_t LevelHeartLimit() {
    static constexpr int32_t kBySkill[] = {5, 4, 3};
    const int32_t skill = G().skill >= 0 && G().skill <= 2 ? G().skill : 0;
    return std::min(kBySkill[skill], G().livesAtLevelStart);
}

void OfferHeart() {
    OLeave* p = MostIntactIsland();
    // With every island gone there is nothing to put the heart on.
    if (!p || p == G().entryIsland || G().heart == nullptr || G().heart->active) return;
    if (p->Frame() >= p->FrameCount() - 4) return;
    const int32_t living = LivingFrogs();
    if (living > 0 && living < LevelHeartLimit() - G().heartsGiven) {
        PlaceHeart(*p);
        ++G().heartsGiven;
    }
}

// The last island rings every 1.5 s and goes under after its eleventh stroke.
void RingLastIsland(uint32_t t) {
    OLeave* q = FirstIsland();
    if (!q || !MoreThan(t, q->lastStepTime, 1500)) return;
    if (G().player && !G().player->IsDead()) PlaySoundFile("WAV\\bell.wav");
    ++q->bellCount;
    q->lastStepTime = t;
    if (q->bellCount > 10) SinkNow(*q);
    ShowRipple(q->CellX(), q->CellY());
    OHeart* heart = G().heart.get();
    if (heart && LivingFrogs() < static_cast<int32_t>(G().frogs.size()) && !q->IsGone() &&
        !(heart->active && At(*heart, q->CellX(), q->CellY())))
        PlaceHeart(*q);
}

// Island i sinks a frame after a wait that grows with its place in the current melt order.
void MeltIsland(OLeave& island, int32_t i, uint32_t t) {
    const int32_t n = IslandCount();
    const int64_t k = G().meltOrder ? i + 1 : n - i - 1;
    if (!island.IsGone() && MoreThan(t, island.lastStepTime, k * S().IslandMeltTime)) {
        island.SetFrame(island.Frame() + 1);
        island.lastStepTime = t;
    }
    if (island.Frame() == island.FrameCount() - 2) {
        ShowRipple(island.CellX(), island.CellY());
        G().meltOrder = !G().meltOrder;
    }
}

void HandleIsland(OLeave& island, int32_t i, uint32_t t) {
    if (CountIslands() == 1) {
        RingLastIsland(t);
    } else {
        MeltIsland(island, i, t);
    }
    OHeart* heart = G().heart.get();
    if (island.IsGone() && heart && heart->active && At(*heart, island.CellX(), island.CellY()))
        TakeHeartAway();
}

void LeavesComingOut(uint32_t t) {
    auto& pond = G().pond;
    if (G().pondCount < static_cast<int32_t>(pond.size())) {
        OLeave& next = *pond[static_cast<size_t>(G().pondCount)];
        if (next.state == OLeave::kWaiting && MoreThan(t, G().newLeafTime, S().TimeAppOfNewLeave)) {
            G().newLeafTime = t;
            next.lastStepTime = t;
            TakeFrameTimes(next);
            next.stepTime = S().MinAniVelocLeav / 10;
            PlaceLeaf(next);
            next.state = OLeave::kLeaf;
            next.SetFrame(0);
            ++G().pondCount;
        }
    }
    for (int32_t i = 0; i < G().pondCount; ++i) {
        OLeave& object = *pond[static_cast<size_t>(i)];
        if (!object.IsIsland()) {
            StepLeaf(object, t);
            continue;
        }
        // Islands stay afloat while the leaves come out.
        object.lastStepTime = t;
        if (object.Frame() == object.FrameCount() - 2) ShowRipple(object.CellX(), object.CellY());
    }
}

void AllLeavesOut(uint32_t t) {
    OfferHeart();
    auto& pond = G().pond;
    const int32_t islands = IslandCount();
    for (size_t i = 0; i < pond.size(); ++i) {
        OLeave& object = *pond[i];
        if (static_cast<int32_t>(i) >= islands) {
            StepLeaf(object, t);
        } else if (&object != G().entryIsland && G().entryIsland && G().entryIsland->IsGone()) {
            HandleIsland(object, static_cast<int32_t>(i), t);
        }
    }
}

}  // namespace

int32_t IslandCount() {
    return std::clamp<int32_t>(G().islandCount, 0, static_cast<int32_t>(G().pond.size()));
}

OLeave* PondObjectAt(int32_t column, int32_t row) {
    for (auto& p : G().pond) {
        if (At(*p, column, row) && (!p->IsIsland() || !p->IsGone())) return p.get();
    }
    return nullptr;
}

OLeave* LeafAt(int32_t column, int32_t row) {
    for (auto& p : G().pond) {
        if (At(*p, column, row) && !p->IsIsland() && !p->IsGone()) return p.get();
    }
    return nullptr;
}

OLeave* IslandAt(int32_t column, int32_t row) {
    for (auto& p : G().pond) {
        if (At(*p, column, row) && p->IsIsland() && !p->IsGone()) return p.get();
    }
    return nullptr;
}

int32_t CountIslands() {
    int32_t count = 0;
    OLeave* last = nullptr;
    for (int32_t i = 0; i < IslandCount(); ++i) {
        OLeave* island = G().pond[static_cast<size_t>(i)].get();
        if (island == G().entryIsland || island->IsGone() || !OnGrid(*island)) continue;
        ++count;
        last = island;
    }
    if (count == 1) G().lastCountedIsland = last;
    return count;
}

OLeave* FirstIsland() {
    for (int32_t i = 0; i < IslandCount(); ++i) {
        OLeave* island = G().pond[static_cast<size_t>(i)].get();
        if (!island->IsGone() && OnGrid(*island)) return island;
    }
    return nullptr;
}

OLeave* MostIntactIsland() {
    OLeave* best = nullptr;
    for (int32_t i = 0; i < IslandCount(); ++i) {
        OLeave* island = G().pond[static_cast<size_t>(i)].get();
        if (island->IsGone()) continue;
        if (!best || island->Frame() < best->Frame()) best = island;
    }
    return best;
}

bool OnlyIsland(const OClipBucks* creature) {
    OLeave* only = nullptr;
    if (IslandsAfloat(&only) != 1) return false;
    return !creature || At(*creature, only->CellX(), only->CellY());
}

void CreateIslands(const Prototypes& prototypes, OWindow* window) {
    const int32_t count = S().MaxIslandNumbers;
    for (int32_t i = 0; i < count; ++i) {
        auto island = std::make_unique<OLeave>();
        island->CopyLeaf(*prototypes.island);
        island->AddTo(window);
        G().pond.push_back(std::move(island));
    }
    G().islandCount = count;
    RememberArrivalIslands();
}

void RememberArrivalIslands() {
    const int32_t n = IslandCount();
    G().entryIsland = n >= 1 ? G().pond[static_cast<size_t>(n - 1)].get() : nullptr;
    G().secondLastIsland = n >= 2 ? G().pond[static_cast<size_t>(n - 2)].get() : nullptr;
}

void PlaceIslands() {
    const int32_t n = IslandCount();
    if (n == 0) return;
    const Geometry& g = TheGeometry();
    std::vector<std::array<int32_t, 2>> cells(static_cast<size_t>(n));
    cells[0] = {4, 3};
    for (int32_t i = 1; i < n; ++i) {
        OLeave& island = *G().pond[static_cast<size_t>(i)];
        cells[static_cast<size_t>(i)] = {island.CellX(), island.CellY()};
        bool placed = false;
        for (int32_t d2 = 5; d2 >= 1 && !placed; --d2) {
            for (int32_t attempt = 0; attempt < 10000 && !placed; ++attempt) {
                const int32_t c = game_random::Below(g.columns - 1);
                const int32_t r = game_random::Below(g.rows - 1);
                bool good = true;
                for (int32_t j = 0; j < i && good; ++j) {
                    const int32_t dc = c - cells[static_cast<size_t>(j)][0];
                    const int32_t dr = r - cells[static_cast<size_t>(j)][1];
                    good = dc * dc + dr * dr >= d2;
                }
                if (good) {
                    cells[static_cast<size_t>(i)] = {c, r};
                    placed = true;
                }
            }
        }
    }
    for (int32_t i = 0; i < n; ++i) {
        OLeave& island = *G().pond[static_cast<size_t>(i)];
        const auto& cell = cells[static_cast<size_t>(i)];
        // A leaf left from the last level where an island now stands goes under.
        OLeave* there = PondObjectAt(cell[0], cell[1]);
        if (there && there != &island && !there->IsIsland()) SinkNow(*there);
        SetCell(island, cell[0], cell[1]);
        island.SetFrame(0);
        island.bellCount = 0;
    }
    // The island on (4, 3) goes last: the frogs arrive there.
    std::swap(G().pond[0], G().pond[static_cast<size_t>(n - 1)]);
    RememberArrivalIslands();
}

void ResetLeaves(const Prototypes* prototypes, OWindow* window) {
    auto& pond = G().pond;
    if (prototypes && window && !prototypes->leafKinds.empty()) {
        const int32_t kinds = static_cast<int32_t>(prototypes->leafKinds.size());
        for (int32_t i = IslandCount(); i < S().MaxLeavesPerScreen; ++i) {
            auto leaf = std::make_unique<OLeave>();
            leaf->CopyLeaf(*prototypes->leafKinds[static_cast<size_t>(game_random::Below(kinds))]);
            leaf->AddTo(window);
            leaf->SetFrame(0);
            pond.push_back(std::move(leaf));
        }
    }
    for (size_t i = static_cast<size_t>(IslandCount()); i < pond.size(); ++i) {
        OLeave& leaf = *pond[i];
        ParkOffGrid(leaf);
        leaf.state = OLeave::kWaiting;
        leaf.stepTime = S().MinAniVelocLeav;
    }
}

void PlaceLeaf(OLeave& leaf) {
    const Geometry& g = TheGeometry();
    const OFrog* frog = G().player;
    const bool resting = frog && frog->state == OFrog::kResting;
    const bool needsEscape = resting && FrogNeedsEscape(*frog);
    for (int32_t attempt = 0; attempt < 1000; ++attempt) {
        const int32_t c = game_random::Below(g.columns);
        const int32_t r = game_random::Below(g.rows);
        if (CellTaken(c, r)) continue;
        if (needsEscape && !IsNeighbour(*frog, c, r)) continue;
        SetCell(leaf, c, r);
        DrawOwnFrameTime(leaf);
        return;
    }
    for (int32_t attempt = 0; attempt < 10000; ++attempt) {
        const int32_t c = game_random::Below(g.columns);
        const int32_t r = game_random::Below(g.rows);
        if (CellTaken(c, r)) continue;
        SetCell(leaf, c, r);
        DrawOwnFrameTime(leaf);
        return;
    }
    ParkOffGrid(leaf);
    DrawOwnFrameTime(leaf);
}

void UpdatePond(uint32_t t) {
    GameState& g = G();
    if (g.pondStart) {
        g.newLeafTime = t;
        for (int32_t i = 0; i < IslandCount(); ++i) g.pond[static_cast<size_t>(i)]->lastStepTime = t;
        g.pondStart = false;
    }
    // The flyers come once per level, when half the pond is out.
    if (!g.flyersLaunched && g.pondCount >= static_cast<int32_t>(g.pond.size()) / 2) {
        LaunchFlyers();
        g.flyersLaunched = true;
    }
    if (g.pondCount < static_cast<int32_t>(g.pond.size())) {
        LeavesComingOut(t);
    } else {
        AllLeavesOut(t);
    }
}

void StepLeaf(OLeave& leaf, uint32_t t) {
    const int32_t c = leaf.CellX(), r = leaf.CellY(), count = leaf.FrameCount();
    // A red frog sitting on the leaf leaps off before it goes under; the leaf waits for it.
    if (RedFrogAt(c, r) && leaf.Frame() > count - S().FramesForFrogLeap) return;
    if (AtLeast(t, leaf.lastStepTime, leaf.stepTime)) {
        leaf.SetFrame(leaf.Frame() + 1);
        leaf.lastStepTime = t;
        if (leaf.stepTime == S().DeclineSuspendTime) leaf.stepTime = leaf.ownFrameTime;
    }
    const int32_t frame = leaf.Frame();
    if (frame == 2) leaf.stepTime = S().DeclineSuspendTime;
    if (frame >= count - S().FramesForFlyLeap) {
        if (OFly* fly = FlyerRestingAt(c, r)) TakeOff(*fly, c, r);
    }
    if (frame >= count - S().FrameBeforeWaveApp - 1) ShowRipple(c, r);
    if (frame == count - 1) {
        TakeFrameTimes(leaf);
        PlaceLeaf(leaf);
        leaf.lastStepTime = t;
        leaf.stepTime = S().MinAniVelocLeav / 10;
        leaf.SetFrame(0);
    }
}

void SpawnLeafUnder(int32_t column, int32_t row, uint32_t t) {
    GameState& g = G();
    if (g.pondCount < static_cast<int32_t>(g.pond.size()) &&
        g.pond[static_cast<size_t>(g.pondCount)]->state == OLeave::kWaiting) {
        OLeave& leaf = *g.pond[static_cast<size_t>(g.pondCount)];
        g.newLeafTime = t;
        leaf.lastStepTime = t;
        TakeFrameTimes(leaf);
        leaf.stepTime = S().MinAniVelocLeav / 10;
        SetCell(leaf, column, row);
        DrawOwnFrameTime(leaf);
        leaf.state = OLeave::kLeaf;
        leaf.SetFrame(0);
        ++g.pondCount;
        return;
    }
    // Otherwise the most sunken leaf that no frog stands on comes up here.
    OLeave* best = nullptr;
    for (size_t i = static_cast<size_t>(IslandCount()); i < g.pond.size(); ++i) {
        OLeave& leaf = *g.pond[i];
        if (RedFrogAt(leaf.CellX(), leaf.CellY())) continue;
        if (g.player && At(*g.player, leaf.CellX(), leaf.CellY())) continue;
        if (!best || leaf.Frame() > best->Frame()) best = &leaf;
    }
    if (!best) return;
    SetCell(*best, column, row);
    best->SetFrame(0);
}

void SinkNow(OClipBucks& object) {
    object.SetFrame(object.FrameCount() - 1);
}

}  // namespace pond
