// Frogs: the player's lives in the panel, the player's frog with its hops, leaps, arrival and death,
// and the red frogs that come in from the corners.
#include <algorithm>
#include <array>
#include <cmath>
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

bool NearCell(const OFrog& frog, int32_t column, int32_t row, int32_t within) {
    return Near(frog.X(), CellX(column), within) && Near(frog.Y(), CellY(row), within);
}

// The neighbour order of the red frogs' choices: left, right, up, down.
constexpr std::array<int32_t, 4> kRedFrogOrder{kLeft, kRight, kUp, kDown};

void LeapTo(OFrog& frog, int32_t column, int32_t row) {
    frog.targetColumn = column;
    frog.targetRow = row;
    frog.state = OFrog::kLeaping;
    HopToward(frog, column, row);
}

bool RedFrogOrSunAt(int32_t column, int32_t row) {
    return RedFrogAt(column, row) || SunAt(column, row);
}

void EatFlyAt(OFrog& frog, int32_t column, int32_t row) {
    if (OFly* fly = FlyAt(column, row)) Eat(*fly, frog);
}

// The three cells of the arrival path, named from the grid's size.
struct ArrivalPath {
    std::array<int32_t, 2> corner, beside, diagonal;
};

ArrivalPath PathCells() {
    const Geometry& g = TheGeometry();
    return {{g.columns - 1, g.rows - 1}, {g.columns - 2, g.rows - 1}, {g.columns - 3, g.rows - 2}};
}

// After a landing on the way in: on to the next cell of the path, or straight to the entry island.
void FollowArrivalPath(OFrog& frog, uint32_t t) {
    const ArrivalPath path = PathCells();
    const OLeave* entry = G().entryIsland;
    const int32_t ec = entry ? entry->CellX() : 4, er = entry ? entry->CellY() : 3;
    const int32_t c = frog.CellX(), r = frog.CellY();
    if (c == path.corner[0] && r == path.corner[1]) {
        EatFlyAt(frog, c, r);
        if (RedFrogOrSunAt(path.beside[0], path.beside[1])) {
            if (!RedFrogOrSunAt(path.diagonal[0], path.diagonal[1])) {
                LeapTo(frog, path.diagonal[0], path.diagonal[1]);
            } else {
                LeapTo(frog, ec, er);
            }
        } else {
            LeapTo(frog, path.beside[0], path.beside[1]);
        }
        frog.landingTime = t;
    } else if (c == path.beside[0] && r == path.beside[1]) {
        EatFlyAt(frog, c, r);
        if (!MoreThan(t, frog.landingTime, 350)) {
            LeapTo(frog, c, r);  // waits a moment on the way
        } else {
            if (RedFrogOrSunAt(path.diagonal[0], path.diagonal[1])) {
                LeapTo(frog, ec, er);
            } else {
                LeapTo(frog, path.diagonal[0], path.diagonal[1]);
            }
            frog.landingTime = t;
        }
    } else if (c == path.diagonal[0] && r == path.diagonal[1]) {
        EatFlyAt(frog, c, r);
        if (!MoreThan(t, frog.landingTime, 350)) {
            LeapTo(frog, c, r);
        } else {
            LeapTo(frog, ec, er);
        }
    }
}

// The checks of a resting player's frog, in their order. Returns the pond object it stands on.
OLeave* CheckRestingPlayer(OFrog& frog) {
    OLeave* q = PondObjectAt(frog.CellX(), frog.CellY());
    if (!q) {
        Drown(frog);
        return nullptr;
    }
    if (HeartAt(frog.CellX(), frog.CellY())) {
        PlaySoundFile("WAV\\eat.wav");
        TakeHeartAway();
        OFrog* lastDead = nullptr;
        LivingFrogs(&lastDead);
        if (CountIslands() > 1 && lastDead) {
            ResetFrog(*lastDead, 0);
            lastDead->PlaceAt(static_cast<float>(lastDead->waitX), static_cast<float>(lastDead->waitY));
            --G().heartsGiven;
        }
    }
    if (OFrog* red = OtherRedFrogAt(frog)) {
        SinkNow(*q);
        Drown(*red);
        Drown(frog);
    } else if (OFly* flyer = FlyerRestingAt(frog.CellX(), frog.CellY())) {
        if (!(flyer->IsSun() && IslandAt(frog.CellX(), frog.CellY()))) Eat(*flyer, frog);
    }
    return q;
}

std::array<int32_t, 2> CornerCell(int32_t corner) {
    const Geometry& g = TheGeometry();
    switch (corner) {
        case 0:
            return {0, 0};
        case 1:
            return {g.columns - 1, 0};
        case 2:
            return {g.columns - 1, g.rows - 1};
        default:
            return {0, g.rows - 1};
    }
}

// Where an arriving red frog starts, outside the pond beyond its corner.
std::array<float, 2> ArrivalStart(int32_t corner) {
    const Geometry& g = TheGeometry();
    switch (corner) {
        case 0:
            return {10, -550};
        case 1:
            return {1200, static_cast<float>(CellY(2))};
        case 2:
            return {static_cast<float>(g.pondWidth + g.leftMargin + 2 * g.panelWidth),
                    static_cast<float>(g.pondHeight + g.topMargin + g.bottomMargin - 20)};
        default:
            return {static_cast<float>(CellX(2)), 1100};
    }
}

int32_t RedFrogQuota() {
    const int32_t level = S().levelNumber;
    return level >= 10 ? 3 : level >= 5 ? 2 : 1;
}

void TurnCorner() {
    G().redCorner = (G().redCorner + 3) % 4;
}

void RedFrogArrival() {
    GameState& g = G();
    const auto corner = CornerCell(g.redCorner);
    const bool quotaOpen = g.redArrived < RedFrogQuota() || LivingRedFrogs() < g.redArrived;
    const bool mayArrive = !RedFrogAt(corner[0], corner[1]) && !FrogAt(corner[0], corner[1]) &&
                           !SunAt(corner[0], corner[1]) && !ArrivingRedFrog() &&
                           g.frameCounter >= S().TimeAppOfBadFrog && quotaOpen;
    if (!mayArrive) {
        if (quotaOpen) TurnCorner();
        return;
    }
    OFrog* dead = nullptr;
    if (LivingRedFrogs(&dead) >= static_cast<int32_t>(g.redFrogs.size()) || !dead) return;
    const auto start = ArrivalStart(g.redCorner);
    dead->PlaceAt(start[0], start[1]);
    ResetFrog(*dead, 0);
    LeapTo(*dead, corner[0], corner[1]);
    if (g.redArrived < RedFrogQuota()) {
        ++g.redArrived;
        g.frameCounter = 0;
    }
    TurnCorner();
}

// A resting red frog whose leaf is sinking (or which sits on an island) leaps to a neighbouring leaf,
// the youngest or the one nearest the player's frog; at higher difficulty it may leap into open water
// toward the player, where a leaf comes up under it.
void LeaveLeaf(OFrog& red, int32_t f, uint32_t t) {
    const int32_t c = red.CellX(), r = red.CellY();
    const double own = Distance(c, r);
    int32_t nearest = kNoDirection, youngest = kNoDirection;
    double nearestDistance = own;
    int32_t youngestFrame = 100;
    for (int32_t d : kRedFrogOrder) {
        const auto n = Step(c, r, d);
        OLeave* p = PondObjectAt(n[0], n[1]);
        if (!p || p->IsIsland() || RedFrogAt(n[0], n[1]) || SunAt(n[0], n[1])) continue;
        if (p->Frame() >= p->FrameCount() - S().FramesEnoughForSitting) continue;
        const double distance = Distance(n[0], n[1]);
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = d;
        }
        if (p->Frame() < youngestFrame) {
            youngestFrame = p->Frame();
            youngest = d;
        }
    }
    const int32_t taken = f < S().ChanceForLeap ? youngest : nearest;
    if (taken != kNoDirection) {
        Hop(red, taken);
        return;
    }
    const int32_t e = game_random::Below(S().difficultyLevel);
    if (e < S().ChanceForLeap) return;
    int32_t chosen = kNoDirection;
    double best = own;
    for (int32_t d : kRedFrogOrder) {
        const auto n = Step(c, r, d);
        if (!InGrid(n[0], n[1]) || PondObjectAt(n[0], n[1])) continue;
        const double distance = Distance(n[0], n[1]);
        if (distance < best) {
            best = distance;
            chosen = d;
        }
    }
    if (chosen == kNoDirection) return;
    const auto n = Step(c, r, chosen);
    SpawnLeafUnder(n[0], n[1], t);
    Push(red, chosen, c, r);
}

void RestingRedFrog(OFrog& red, uint32_t t) {
    const int32_t f = game_random::Below(S().difficultyLevel);
    const int32_t k =
        f < S().ChanceForFrame ? game_random::Below(S().FramesForFrogLeap) + 1 : S().FramesForFrogLeap;
    OLeave* p = PondObjectAt(red.CellX(), red.CellY());
    if (!p) {
        Drown(red);
        return;
    }
    const bool leaves = p->IsIsland() || (MoreThan(t, red.landingTime, S().TimeSuspendOnLeave) &&
                                          p->Frame() > p->FrameCount() - k);
    if (leaves) {
        LeaveLeaf(red, f, t);
        return;
    }
    if (OFrog* other = OtherRedFrogAt(red)) {
        Drown(red);
        Drown(*other);
        SinkNow(*p);
    } else if (OFly* flyer = FlyerRestingAt(red.CellX(), red.CellY())) {
        Eat(*flyer, red);
    }
}

}  // namespace

int32_t LivingFrogs(OFrog** lastDead) {
    int32_t living = 0;
    if (lastDead) *lastDead = nullptr;
    for (auto& frog : G().frogs) {
        if (!frog->IsDead()) {
            ++living;
        } else if (lastDead) {
            *lastDead = frog.get();
        }
    }
    return living;
}

OFrog* FirstLivingFrog() {
    for (auto& frog : G().frogs) {
        if (!frog->IsDead()) return frog.get();
    }
    return nullptr;
}

OFrog* FrogAt(int32_t column, int32_t row) {
    for (auto& frog : G().frogs) {
        if (!frog->IsDead() && At(*frog, column, row)) return frog.get();
    }
    return nullptr;
}

OFrog* RedFrogAt(int32_t column, int32_t row) {
    for (auto& frog : G().redFrogs) {
        if (!frog->IsDead() && At(*frog, column, row)) return frog.get();
    }
    return nullptr;
}

OFrog* ArrivingRedFrog() {
    for (auto& frog : G().redFrogs) {
        if (frog->state == OFrog::kLeaping) return frog.get();
    }
    return nullptr;
}

int32_t LivingRedFrogs(OFrog** lastDead) {
    int32_t living = 0;
    if (lastDead) *lastDead = nullptr;
    for (auto& frog : G().redFrogs) {
        if (!frog->IsDead()) {
            ++living;
        } else if (lastDead) {
            *lastDead = frog.get();
        }
    }
    return living;
}

OFrog* OtherRedFrogAt(const OFrog& frog) {
    for (auto& red : G().redFrogs) {
        if (red.get() != &frog && !red->IsDead() && At(*red, frog.CellX(), frog.CellY())) return red.get();
    }
    return nullptr;
}

double Distance(int32_t column, int32_t row) {
    const OFrog* player = G().player;
    if (!player) return 0;
    const double dx = player->X() - CellX(column), dy = player->Y() - CellY(row);
    return std::sqrt(dx * dx + dy * dy);
}

void ResetFrog(OFrog& frog, int32_t clip) {
    frog.SetTransparency(0);
    frog.SetCurrent(clip);
    frog.SetFrame(0);
    frog.state = OFrog::kLeaping;
    frog.SetDepth(10);
    frog.SetCellFields(-1, -1);
    frog.SetVelocity(0, 0);
}

void Hop(OFrog& frog, int32_t direction) {
    const Geometry& g = TheGeometry();
    frog.SetCurrent(direction);
    const int32_t c = frog.CellX(), r = frog.CellY();
    const bool atEdge = (direction == kRight && c == g.columns - 1) || (direction == kLeft && c == 0) ||
                        (direction == kDown && r == g.rows - 1) || (direction == kUp && r == 0);
    if (atEdge) return;
    const auto speed = static_cast<float>(frog.hopSpeed);
    static constexpr float kVx[] = {0, 1, 0, -1};
    static constexpr float kVy[] = {-1, 0, 1, 0};
    frog.SetVelocity(kVx[direction] * speed, kVy[direction] * speed);
    frog.state = OFrog::kMoving;
}

void HopToward(OFrog& frog, int32_t column, int32_t row) {
    const int64_t x = frog.X(), y = frog.Y(), tx = CellX(column), ty = CellY(row);
    const int64_t dx = std::llabs(x - tx), dy = std::llabs(y - ty), s = frog.leapSpeed;
    int64_t vx = 0, vy = 0;
    if (dx == 0) {
        vy = dy == 0 ? 0 : s;
    } else if (dy > 0) {
        vx = static_cast<int64_t>(std::sqrt(static_cast<double>(dx * dx * s * s / (dx * dx + dy * dy))));
        vy = static_cast<int64_t>(std::sqrt(static_cast<double>(s * s - vx * vx)));
    } else {
        vx = s;
    }
    int32_t clip = kRight;
    if (x < tx) {
        if (y < ty) {
            clip = dx >= dy ? kRight : kDown;
        } else {
            clip = dx >= dy ? kRight : kUp;
            vy = -vy;
        }
    } else {
        vx = -vx;
        if (y < ty) {
            clip = dx < dy ? kDown : kLeft;
        } else {
            clip = dx >= dy ? kLeft : kUp;
            vy = -vy;
        }
    }
    frog.SetCurrent(clip);
    frog.SetVelocity(static_cast<float>(vx), static_cast<float>(vy));
}

bool FinishLeap(OFrog& frog, uint32_t t) {
    if (!NearCell(frog, frog.targetColumn, frog.targetRow, 50)) {
        HopToward(frog, frog.targetColumn, frog.targetRow);
        return false;
    }
    OLeave* there = PondObjectAt(frog.targetColumn, frog.targetRow);
    if (!there || (!there->IsIsland() && there->IsGone()))
        SpawnLeafUnder(frog.targetColumn, frog.targetRow, t);
    frog.SetVelocity(0, 0);
    SetCell(frog, frog.targetColumn, frog.targetRow);
    frog.ShowCurrent();
    frog.state = OFrog::kResting;
    return true;
}

void FollowMove(OFrog& frog, uint32_t t) {
    if (frog.state == OFrog::kPushed) {
        if (NearCell(frog, frog.targetColumn, frog.targetRow, 50)) {
            frog.SetVelocity(0, 0);
            SetCell(frog, frog.targetColumn, frog.targetRow);
            frog.ShowCurrent();
            frog.state = OFrog::kResting;
        } else {
            HopToward(frog, frog.targetColumn, frog.targetRow);
        }
        return;
    }
    const int32_t c = frog.CellX(), r = frog.CellY(), x = frog.X(), y = frog.Y();
    OLeave* entry = G().entryIsland;
    if (&frog == G().player && entry && At(frog, entry->CellX(), entry->CellY())) {
        // The entry island goes under as soon as the player's frog has left it.
        const bool left = Near(x, CellX(c - 1), 10) || Near(x, CellX(c + 1), 10) ||
                          Near(y, CellY(r - 1), 10) || Near(y, CellY(r + 1), 10);
        if (left) {
            ShowRipple(entry->CellX(), entry->CellY());
            SinkNow(*entry);
        }
    }
    int32_t nc = c, nr = r;
    if (Near(x, CellX(c - 1), 9)) {
        nc = c - 1;
    } else if (Near(y, CellY(r - 1), 9)) {
        nr = r - 1;
    } else if (Near(x, CellX(c + 1), 9)) {
        nc = c + 1;
    } else if (Near(y, CellY(r + 1), 9)) {
        nr = r + 1;
    } else {
        return;
    }
    frog.SetVelocity(0, 0);
    SetCell(frog, nc, nr);
    frog.state = OFrog::kResting;
    frog.landingTime = t;
}

void Drown(OFrog& frog) {
    const bool offGrid = frog.CellX() == -1 && frog.CellY() == -1;
    if (!offGrid && !NearCell(frog, frog.CellX(), frog.CellY(), 10)) return;
    GameState& g = G();
    const bool player = &frog == g.player;
    frog.SetVelocity(0, 0);
    if (player) {
        frog.SetDepth(90);  // behind the leaves while it fades
    } else {
        frog.SetTransparency(255);
    }
    frog.state = OFrog::kDead;
    if (InGrid(frog.CellX(), frog.CellY())) ShowRipple(frog.CellX(), frog.CellY());
    if (!player) return;
    PlaySoundFile("WAV\\sink.wav");
    g.fadingFrog = &frog;
    g.fadeCount = 0;
    g.fadeLength = S().DeadTimeExtend;
    // The leaf it stood on goes with it; an island stays where the next frogs arrive.
    OLeave* under = PondObjectAt(frog.CellX(), frog.CellY());
    if (under && !under->IsIsland()) {
        under->PlaceAt(static_cast<float>(-CellX(5)), static_cast<float>(-CellY(5)));
        under->SetCellFields(-1, -1);
    }
    if (OFrog* next = FirstLivingFrog()) {
        g.player = next;
        EnterPond();
    }
}

void Push(OFrog& frog, int32_t direction, int32_t column, int32_t row) {
    const bool player = &frog == G().player;
    for (int32_t attempt = 0; attempt < 4; ++attempt) {
        const auto n = Step(column, row, direction);
        const bool good = InGrid(n[0], n[1]) && !SunAt(n[0], n[1]) && (player || !IslandAt(n[0], n[1]));
        if (good) {
            if (player) {
                frog.state = OFrog::kPushed;
                frog.targetColumn = n[0];
                frog.targetRow = n[1];
                HopToward(frog, n[0], n[1]);
            } else {
                Hop(frog, direction);
            }
            return;
        }
        direction = (direction + 1) % 4;
    }
    Drown(frog);
}

void PlaceLives(const Prototypes* prototypes, OWindow* window) {
    GameState& g = G();
    if (prototypes && window && prototypes->frog) {
        for (int32_t n = 0; n < S().MaxFrogNumber; ++n) {
            auto frog = std::make_unique<OFrog>();
            frog->CopyFrog(*prototypes->frog);
            frog->AddTo(window);
            g.frogs.push_back(std::move(frog));
        }
    }
    const Geometry& geo = TheGeometry();
    const int32_t count = static_cast<int32_t>(g.frogs.size());
    for (int32_t n = 0; n < count; ++n) {
        OFrog& frog = *g.frogs[static_cast<size_t>(n)];
        const int32_t row = n / 2, column = n % 2;
        frog.waitX = geo.windowWidth - geo.panelWidth + 35 * column;
        frog.waitY = static_cast<int32_t>(geo.windowHeight - frog.Height() * 0.65 * (row + 1) - 20);
        frog.PlaceAt(static_cast<float>(frog.waitX), static_cast<float>(frog.waitY));
        ResetFrog(frog, 0);
    }
    if (count == 0) return;
    // However many lives a file or the skill asks for, at least the player's frog plays.
    const int32_t asked = g.restored ? g.savedLives : S().startLives;
    const int32_t lives = std::clamp(asked, 1, count);
    g.player = g.frogs[static_cast<size_t>(count - lives)].get();
    for (int32_t n = 0; n < count - lives; ++n) Drown(*g.frogs[static_cast<size_t>(n)]);
    g.livesAtLevelStart = lives;
}

void ResetRedFrogs(const Prototypes* prototypes, OWindow* window) {
    GameState& g = G();
    if (prototypes && window && prototypes->redFrog) {
        for (int32_t n = 0; n < S().MaxBadFrogNumber; ++n) {
            auto frog = std::make_unique<OFrog>();
            frog->CopyFrog(*prototypes->redFrog);
            frog->AddTo(window);
            g.redFrogs.push_back(std::move(frog));
        }
    }
    for (auto& red : g.redFrogs) {
        red->HideAll();
        red->state = OFrog::kDead;
    }
}

void EnterPond() {
    GameState& g = G();
    OFrog* frog = g.player;
    if (!frog) return;
    const auto corner = PathCells().corner;
    frog->state = OFrog::kLeaping;
    frog->targetColumn = corner[0];
    frog->targetRow = corner[1];
    HopToward(*frog, corner[0], corner[1]);
    if (CountIslands() == 1 && g.lastCountedIsland) g.lastCountedIsland->bellCount = 0;
    OLeave* entry = g.entryIsland;
    if (!entry) return;
    const int32_t ec = entry->CellX(), er = entry->CellY();
    if (OLeave* leaf = LeafAt(ec, er)) {
        if (OFly* fly = FlyerRestingAt(ec, er)) TakeOff(*fly, ec, er);
        if (OFrog* red = RedFrogAt(ec, er)) Drown(*red);
        SinkNow(*leaf);
        leaf->SetCellFields(-1, -1);
        leaf->PlaceAt(-100, -100);
    }
    entry->SetFrame(entry->FrameCount() - 5);
}

bool UpdatePlayer(uint32_t t, bool& landed) {
    landed = false;
    GameState& g = G();
    OFrog* frog = g.player;
    if (!frog) return false;
    if (frog->state == OFrog::kLeaping) {
        g.levelAdvanced = false;
        if (FinishLeap(*frog, t)) {
            landed = true;
            FollowArrivalPath(*frog, t);
        }
    } else {
        FollowMove(*frog, t);
    }
    bool result = false;
    if (frog->state == OFrog::kResting) {
        OLeave* q = CheckRestingPlayer(*frog);
        result = q && OnlyIsland(q);
    }
    if (frog->state == OFrog::kMoving) TouchFlyers(*frog);
    return result;
}

void UpdateRedFrogs(uint32_t t) {
    RedFrogArrival();
    for (auto& frog : G().redFrogs) {
        OFrog& red = *frog;
        if (red.IsDead()) continue;
        if (red.state == OFrog::kLeaping) FinishLeap(red, t);
        if (red.state != OFrog::kLeaping) FollowMove(red, t);
        if (red.state == OFrog::kResting) {
            RestingRedFrog(red, t);
        } else if (red.state == OFrog::kMoving) {
            TouchFlyers(red);
        }
    }
}

}  // namespace pond
