// Flies and suns over the pond, the heart and the ripples.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "engine/OWindow.h"
#include "game/GameRandom.h"
#include "game/GameSettings.h"
#include "game/PondClock.h"
#include "game/PondCommon.h"
#include "game/PondGrid.h"
#include "game/PondRules.h"

namespace pond {
namespace {

constexpr int32_t kRipplePool = 48;

int32_t Reverse(int32_t direction) {
    return (direction + 2) % 4;
}

// The side a flyer enters from must lie away from the player's frog, unless the frog sits in the
// bottom-left corner.
bool SideAccepted(int32_t side, int32_t pc, int32_t pr) {
    const Geometry& g = TheGeometry();
    if (pc == 0 && pr == g.rows - 1) return true;
    switch (side) {
        case 0:
            return pc > 1;
        case 1:
            return pr > 1;
        case 2:
            return pc < g.columns - 1;
        default:
            return pr < g.rows - 1;
    }
}

void Land(OFly& flyer, int32_t column, int32_t row) {
    flyer.SetVelocity(0, 0);
    SetCell(flyer, column, row);
    flyer.state = OFly::kResting;
    flyer.landingHeading = flyer.CurrentIndex();
}

// A flying flyer that comes near the corner of a cell looks at what is there.
void MeetCell(OFly& flyer, int32_t c, int32_t r) {
    OLeave* p = PondObjectAt(c, r);
    const bool leaf = p && !p->IsIsland();
    if (leaf && At(flyer, c, r)) return;
    OFly* resting = leaf ? FlyerRestingAt(c, r) : nullptr;
    if (leaf && resting == &flyer) return;
    if (leaf && !resting) {
        if (flyer.IsSun()) {
            Land(flyer, c, r);
        } else if (FrogAt(c, r)) {
            TurnBack(flyer, flyer.heading);
        } else if (!RedFrogAt(c, r)) {
            Land(flyer, c, r);
        } else {
            TakeOff(flyer, c, r);
        }
        return;
    }
    TakeOff(flyer, c, r);
}

void UpdateFlyingFlyer(OFly& flyer) {
    const int32_t side = InPond(flyer.X(), flyer.Y());
    // Heading back in: right when out on the left, down at the top, left on the right, up at the bottom.
    static constexpr int32_t kHeadingIn[] = {kRight, kDown, kLeft, kUp};
    if (side != kInside && flyer.heading != kHeadingIn[side]) {
        TurnBack(flyer, flyer.heading);
        return;
    }
    const Geometry& g = TheGeometry();
    for (int32_t c = 0; c < g.columns; ++c) {
        for (int32_t r = 0; r < g.rows; ++r) {
            if (flyer.state != OFly::kFlying) return;
            if (Near(flyer.X(), CellX(c), 9) && Near(flyer.Y(), CellY(r), 9)) MeetCell(flyer, c, r);
        }
    }
}

// A frog that meets a sun is pushed away from it, one cell in the sun's direction.
void PushedBySun(OFly& sun, OFrog& frog, bool player) {
    int32_t c = 0, r = 0;
    PixelToCell(frog.X(), frog.Y(), c, r);
    if (!InGrid(c, r)) {
        if (player && InGrid(sun.CellX(), sun.CellY())) {
            c = sun.CellX();
            r = sun.CellY();
        } else {
            c = frog.CellX();
            r = frog.CellY();
        }
    }
    Push(frog, sun.CurrentIndex(), c, r);
}

// A shown flyer of the cell that sits on its corner (not one merely passing over it).
OFly* RestingAt(int32_t column, int32_t row, bool fliesOnly) {
    for (auto& flyer : G().flyers) {
        if (fliesOnly && flyer->IsSun()) continue;
        if (flyer->IsShown() && At(*flyer, column, row) && Near(flyer->X(), CellX(column), 10) &&
            Near(flyer->Y(), CellY(row), 10))
            return flyer.get();
    }
    return nullptr;
}

}  // namespace

OFly* FlyerRestingAt(int32_t column, int32_t row) {
    return RestingAt(column, row, false);
}

OFly* FlyAt(int32_t column, int32_t row) {
    return RestingAt(column, row, true);
}

OFly* SunAt(int32_t column, int32_t row) {
    for (auto& flyer : G().flyers) {
        if (flyer->IsSun() && flyer->IsShown() && At(*flyer, column, row)) return flyer.get();
    }
    return nullptr;
}

void CreateFlyers(const Prototypes& prototypes, OWindow* window) {
    GameState& g = G();
    auto add = [&](const OFly& prototype) {
        auto flyer = std::make_unique<OFly>();
        flyer->CopyFly(prototype);
        flyer->HideAll();
        flyer->state = OFly::kIdle;
        flyer->AddTo(window);
        g.flyers.push_back(std::move(flyer));
    };
    g.sunCount = 0;
    if (!prototypes.suns.empty()) {
        for (int32_t i = 0; i < S().SunNumber; ++i)
            add(*prototypes.suns[static_cast<size_t>(i) % prototypes.suns.size()]);
        g.sunCount = S().SunNumber;
    }
    if (!prototypes.flies.empty()) {
        for (int32_t i = 0; i < S().FlyNumber; ++i)
            add(*prototypes.flies[static_cast<size_t>(i) % prototypes.flies.size()]);
    }
}

void FlyIn(OFly& flyer, int32_t direction) {
    const Geometry& g = TheGeometry();
    const auto speed = static_cast<float>(flyer.speed);
    flyer.heading = direction;
    flyer.SetCurrent(direction);
    // Near the edge it is heading for, the command only turns it.
    switch (direction) {
        case kRight:
            if (!Near(flyer.X(), CellX(g.columns - 1), 10)) flyer.SetVelocity(speed, 0);
            break;
        case kLeft:
            if (!Near(flyer.X(), CellX(0), 10)) flyer.SetVelocity(-speed, 0);
            break;
        case kDown:
            if (!Near(flyer.Y(), CellY(g.rows - 1), 10)) flyer.SetVelocity(0, speed);
            break;
        default:
            if (!Near(flyer.Y(), CellY(0), 10)) flyer.SetVelocity(0, -speed);
            break;
    }
}

void LaunchFlyer(OFly& flyer, int32_t n) {
    const Geometry& g = TheGeometry();
    int32_t side = n % 4;
    const int32_t m = n == 0 ? 1 : n;
    flyer.state = OFly::kFlying;
    const OFrog* player = G().player;
    const int32_t pc = player ? player->CellX() : -1, pr = player ? player->CellY() : -1;
    bool accepted = false;
    for (int32_t pass = 0; pass < 100 && !accepted; ++pass) {
        accepted = SideAccepted(side, pc, pr);
        if (!accepted) side = (side + 1) % 4;
    }
    if (!accepted) return;
    const auto far = static_cast<float>((m + 1) * 50);
    switch (side) {
        case 0: {
            const int32_t row = game_random::Below(g.rows);
            flyer.PlaceAt(-far, static_cast<float>(CellY(row)));
            flyer.SetCellFields(-2, row);
            FlyIn(flyer, kRight);
            break;
        }
        case 1: {
            const int32_t column = game_random::Below(g.columns);
            flyer.PlaceAt(static_cast<float>(CellX(column)), -far);
            flyer.SetCellFields(column, -2);
            FlyIn(flyer, kDown);
            break;
        }
        case 2: {
            const int32_t row = game_random::Below(g.rows);
            flyer.PlaceAt(static_cast<float>(CellX(g.columns - 1) + m * 50 + 50),
                          static_cast<float>(CellY(row)));
            flyer.SetCellFields(g.columns + 3, row);
            FlyIn(flyer, kLeft);
            break;
        }
        default: {
            const int32_t column = game_random::Below(g.columns);
            flyer.PlaceAt(static_cast<float>(CellX(column)),
                          static_cast<float>(CellY(g.rows - 1) + m * 50 + 50));
            flyer.SetCellFields(column, g.rows + 1);
            FlyIn(flyer, kUp);
            break;
        }
    }
}

void LaunchFlyers() {
    GameState& g = G();
    const int32_t suns = std::min(S().activeSunCount, g.sunCount);
    const int32_t flies = std::min(S().activeFlyCount, static_cast<int32_t>(g.flyers.size()) - g.sunCount);
    for (int32_t i = 0; i < suns; ++i) {
        OFly& sun = *g.flyers[static_cast<size_t>(i)];
        LaunchFlyer(sun, i + 1);
        sun.ShowCurrent();
    }
    for (int32_t j = 0; j < flies; ++j) {
        OFly& fly = *g.flyers[static_cast<size_t>(g.sunCount + j)];
        LaunchFlyer(fly, g.sunCount + j);
        fly.ShowCurrent();
    }
}

void UpdateFlyers() {
    for (auto& flyer : G().flyers) {
        // An eaten flyer comes back from a side, one per step.
        if (flyer->state != OFly::kIdle && !flyer->IsShown()) {
            LaunchFlyer(*flyer, game_random::Below(4));
            flyer->ShowCurrent();
            break;
        }
    }
    for (auto& flyer : G().flyers) {
        if (flyer->IsShown() && flyer->state == OFly::kFlying) UpdateFlyingFlyer(*flyer);
    }
}

void TurnBack(OFly& flyer, int32_t direction) {
    const Geometry& g = TheGeometry();
    if (flyer.turn == OFly::kNoTurn) {
        const int32_t c = flyer.CellX(), r = flyer.CellY();
        int32_t turn = Reverse(direction);
        // At the edge of the grid it turns along the edge instead.
        if (turn == kUp && r == 0) {
            turn = c == 0 ? kRight : kLeft;
        } else if (turn == kRight && c == g.columns - 1) {
            turn = r == 0 ? kDown : kUp;
        } else if (turn == kDown && r == g.rows - 1) {
            turn = c == 0 ? kRight : kLeft;
        } else if (turn == kLeft && c == 0) {
            turn = r == 0 ? kDown : kUp;
        }
        flyer.turn = turn;
    }
    FlyIn(flyer, flyer.turn);
}

void TakeOff(OFly& flyer, int32_t column, int32_t row) {
    flyer.turn = OFly::kNoTurn;
    const int32_t d = ChooseFlight(flyer, column, row);
    if (d != flyer.CurrentIndex() && d != kNoDirection)
        flyer.PlaceAt(static_cast<float>(CellX(column)), static_cast<float>(CellY(row)));
    if (d == kNoDirection) {
        flyer.SetVelocity(0, 0);  // hovers until a leaf comes up
    } else {
        FlyIn(flyer, d);
    }
    flyer.state = OFly::kFlying;
}

int32_t ChooseFlight(const OFly& flyer, int32_t column, int32_t row) {
    static constexpr int32_t kOrder[] = {kRight, kLeft, kDown, kUp};
    std::array<bool, 4> blocked{};
    int32_t best = 1000, result = kNoDirection;
    for (int32_t i = 1; i <= 7; ++i) {
        for (int32_t d : kOrder) {
            const auto cell = Step(column, row, d, i);
            if (!InGrid(cell[0], cell[1]) || blocked[static_cast<size_t>(d)]) continue;
            if (!flyer.IsSun()) {
                // A fly keeps away from the player's frog and from red frogs along its line.
                const auto next = Step(cell[0], cell[1], d), after = Step(cell[0], cell[1], d, 2);
                if (FrogAt(cell[0], cell[1]) || FrogAt(next[0], next[1]) || FrogAt(after[0], after[1]) ||
                    RedFrogAt(cell[0], cell[1])) {
                    blocked[static_cast<size_t>(d)] = true;
                    continue;
                }
            }
            OLeave* p = PondObjectAt(cell[0], cell[1]);
            if (!p || p->IsIsland() || FlyerRestingAt(cell[0], cell[1])) continue;
            if (d == Reverse(flyer.CurrentIndex())) continue;
            if (p->Frame() < best && p->Frame() < p->FrameCount() - S().FramesForFlyLeap) {
                best = p->Frame();
                result = d;
            }
        }
    }
    return result;
}

void Eat(OFly& flyer, OFrog& frog) {
    GameState& g = G();
    const bool player = &frog == g.player;
    if (!flyer.IsSun()) {
        flyer.HideAll();
        if (!player) return;
        PlaySoundFile("WAV\\eat.wav");
        AddPoints(g.score, flyer.points);
        AddPoints(g.levelPoints, flyer.points);
        return;
    }
    if (player) PlaySoundFile("WAV\\uneat.wav");
    PushedBySun(flyer, frog, player);
}

void TouchFlyers(OFrog& frog) {
    for (auto& flyer : G().flyers) {
        if (flyer->IsShown() && Near(flyer->X(), frog.X(), 40) && Near(flyer->Y(), frog.Y(), 40)) {
            Eat(*flyer, frog);
            return;
        }
    }
}

void PlaceHeart(OLeave& island) {
    OHeart* heart = G().heart.get();
    if (!heart) return;
    SetCell(*heart, island.CellX(), island.CellY());
    heart->ShowCurrent();
    heart->PlayFrom(0);
    heart->active = 1;
}

void TakeHeartAway() {
    OHeart* heart = G().heart.get();
    if (!heart) return;
    heart->SetCellFields(-5, -5);
    heart->PlaceAt(-100, -100);
    heart->active = 0;
    heart->lastBeatTime = 0;
    heart->beatCount = 0;
}

bool HeartAt(int32_t column, int32_t row) {
    const OHeart* heart = G().heart.get();
    return heart && heart->active && At(*heart, column, row);
}

void UpdateHeart(uint32_t t) {
    OHeart* heart = G().heart.get();
    if (!heart || !heart->active || !MoreThan(t, heart->lastBeatTime, 1500)) return;
    if (CountIslands() > 1) PlaySoundFile("WAV\\heartbeat.wav");
    ++heart->beatCount;
    heart->lastBeatTime = t;
    if (heart->beatCount > 10) TakeHeartAway();
}

void CreateRipples(const Prototypes& prototypes, OWindow* window) {
    if (!prototypes.ripple) return;
    for (int32_t i = 0; i < kRipplePool; ++i) {
        auto ripple = std::make_unique<OWave>();
        ripple->CopyFrom(*prototypes.ripple);
        ResetRipple(*ripple);
        ripple->AddTo(window);
        G().ripples.push_back(std::move(ripple));
    }
}

bool RippleShownAt(int32_t column, int32_t row) {
    for (auto& ripple : G().ripples) {
        if (ripple->IsShown() && At(*ripple, column, row)) return true;
    }
    return false;
}

void ShowRipple(int32_t column, int32_t row) {
    if (RippleShownAt(column, row)) return;
    for (auto& ripple : G().ripples) {
        if (ripple->IsShown()) continue;
        if (column < 0 || row < 0) {
            ripple->PlaceAt(-100, -100);
        } else {
            SetCell(*ripple, column, row);
        }
        ripple->ShowCurrent();
        ripple->SetTransparency(200);
        ripple->PlayFrom(0);
        return;
    }
}

void ResetRipple(OWave& ripple) {
    ripple.SetFrame(0);
    ripple.PlaceAt(static_cast<float>(-CellX(5)), static_cast<float>(-CellY(5)));
    ripple.SetCellFields(-5, -5);
    ripple.HideAll();
}

void UpdateRipples() {
    for (auto& ripple : G().ripples) {
        if (ripple->IsShown() && ripple->Frame() >= ripple->FrameCount() - 2) ResetRipple(*ripple);
    }
}

}  // namespace pond
