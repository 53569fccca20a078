#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "game/GameState.h"

class OClipBucks;
class OWindow;

// The rules of the pond: leaves and islands, frogs, flies, suns, the heart and ripples. Every rule
// works on TheGameState() and TheGameSettings() and runs under the game window's lock (its frame
// step or an input handler). Lookups are linear scans of short lists, in list order, returning the
// first match, as the rules rely on that order for their ties.
namespace pond {

// The creatures every copy is made from; owned by the game window.
struct Prototypes {
    std::vector<OLeave*> leafKinds;  // four
    OLeave* island = nullptr;
    OFrog* frog = nullptr;
    OFrog* redFrog = nullptr;
    std::vector<OFly*> flies;  // four
    std::vector<OFly*> suns;   // two
    OWave* ripple = nullptr;
};

// Directions, as the clips of frogs and flyers are numbered.
enum Direction : int32_t { kUp = 0, kRight = 1, kDown = 2, kLeft = 3, kNoDirection = 4 };

// ---- Leaves and islands --------------------------------------------------------------------
int32_t IslandCount();                              // MaxIslandNumbers, held to the pond list's length
OLeave* PondObjectAt(int32_t column, int32_t row);  // a leaf, or an island not gone under
OLeave* LeafAt(int32_t column, int32_t row);        // a leaf not gone under
OLeave* IslandAt(int32_t column, int32_t row);      // an island not gone under
// Islands afloat on the grid, the entry island not counted; remembers the only one as the last.
int32_t CountIslands();
OLeave* FirstIsland();
OLeave* MostIntactIsland();
bool OnlyIsland(const OClipBucks* creature);

// Creates the islands (copies of the island prototype, added to `window`).
void CreateIslands(const Prototypes& prototypes, OWindow* window);
// The entry island is the last island of the list and the second-last the one before it, whatever
// objects stand there after the islands were placed or loaded.
void RememberArrivalIslands();
void PlaceIslands();
// With `window`, creates the leaves first (random kinds, added to it); every leaf then waits.
void ResetLeaves(const Prototypes* prototypes, OWindow* window);
void PlaceLeaf(OLeave& leaf);
void UpdatePond(uint32_t t);
void StepLeaf(OLeave& leaf, uint32_t t);
void SpawnLeafUnder(int32_t column, int32_t row, uint32_t t);
// Sinks a pond object at once (its last frame).
void SinkNow(OClipBucks& object);

// ---- Frogs ------------------------------------------------------------------------------------
// Frogs of the player's side that are not dead; `lastDead` the dead one with the highest index.
int32_t LivingFrogs(OFrog** lastDead = nullptr);
OFrog* FirstLivingFrog();
OFrog* FrogAt(int32_t column, int32_t row);
OFrog* RedFrogAt(int32_t column, int32_t row);
OFrog* ArrivingRedFrog();
int32_t LivingRedFrogs(OFrog** lastDead = nullptr);
OFrog* OtherRedFrogAt(const OFrog& frog);
double Distance(int32_t column, int32_t row);

void ResetFrog(OFrog& frog, int32_t clip);
void Hop(OFrog& frog, int32_t direction);
void HopToward(OFrog& frog, int32_t column, int32_t row);
// True when the leaping frog has landed on its target.
bool FinishLeap(OFrog& frog, uint32_t t);
void FollowMove(OFrog& frog, uint32_t t);
void Drown(OFrog& frog);
void Push(OFrog& frog, int32_t direction, int32_t column, int32_t row);
// With prototypes and a window, creates the frogs first.
void PlaceLives(const Prototypes* prototypes, OWindow* window);
void ResetRedFrogs(const Prototypes* prototypes, OWindow* window);
void EnterPond();
// The player's frog's step. `landed` tells whether it came to rest on a cell in this step; the
// result is then whether it stands on the only island left.
bool UpdatePlayer(uint32_t t, bool& landed);
void UpdateRedFrogs(uint32_t t);

// ---- Flies, suns, the heart and ripples --------------------------------------------------------
OFly* FlyerRestingAt(int32_t column, int32_t row);
OFly* FlyAt(int32_t column, int32_t row);
OFly* SunAt(int32_t column, int32_t row);
void CreateFlyers(const Prototypes& prototypes, OWindow* window);
void LaunchFlyer(OFly& flyer, int32_t n);
void LaunchFlyers();
void UpdateFlyers();
void TurnBack(OFly& flyer, int32_t direction);
void TakeOff(OFly& flyer, int32_t column, int32_t row);
int32_t ChooseFlight(const OFly& flyer, int32_t column, int32_t row);
void Eat(OFly& flyer, OFrog& frog);
void TouchFlyers(OFrog& frog);
// Flight commands: turn toward the direction and fly on unless at that edge.
void FlyIn(OFly& flyer, int32_t direction);

void PlaceHeart(OLeave& island);
void TakeHeartAway();
bool HeartAt(int32_t column, int32_t row);
void UpdateHeart(uint32_t t);

void CreateRipples(const Prototypes& prototypes, OWindow* window);
void ShowRipple(int32_t column, int32_t row);
bool RippleShownAt(int32_t column, int32_t row);
void ResetRipple(OWave& ripple);
void UpdateRipples();

}  // namespace pond
