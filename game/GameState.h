#pragma once
#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "game/OFly.h"
#include "game/OFrog.h"
#include "game/OHeart.h"
#include "game/OLeave.h"
#include "game/OWave.h"
#include "ui/DialogAnswer.h"

// Which dialog the game is waiting for (the pending-dialog value). The frame step sets 1 and 3 and
// posts a mouse move; the game window's mouse-move handler, on the main thread, opens the dialog.
enum PendingDialog : int32_t {
    kNoDialog = 0,
    kLevelCompleted = 1,  // open the level-completed dialog
    kQuitOpen = 2,
    kGameOver = 3,  // open the name dialog
    kNameOpen = 4,
    kLevelOpen = 5,
};


// The running game: the values the game window, the creatures' rules, the dialogs and the saved
// state share, and the pond's lists. The level number, the difficulty level and the tuning values
// are in GameSettings.
//
// One process-wide record (TheGameState). Read and written only under the game window's lock: by its
// frame steps and input handlers, and by the dialogs' handlers, which run on the main thread while
// the game window is paused by them.
// Points added to a score or a level's points, held at the largest value rather than wrapping round
// to a negative score that the digits and the Top 10 cannot show.
inline void AddPoints(int32_t& total, int64_t points) {
    total = static_cast<int32_t>(std::clamp<int64_t>(int64_t{total} + points, INT32_MIN, INT32_MAX));
}
// The level bonus: twice the level's points.
inline int64_t LevelBonus(int32_t levelPoints) {
    return 2 * int64_t{levelPoints};
}

struct GameState {
    int32_t score = 0;
    int32_t levelPoints = 0;  // gained in the current level
    int32_t skill = 0;        // 0 Novice, 1 Expert, 2 Master
    static constexpr int32_t kNoSkill = -1;
    int32_t appliedSkill = kNoSkill;  // the skill the current game was set up for
    bool soundOn = true;
    bool autoSave = false;
    bool paused = false;
    int32_t pendingDialog = kNoDialog;
    int32_t dialogAnswer = kNoAnswer;
    int32_t frameCounter = 0;    // frame steps since the last red-frog arrival or new game
    bool levelAdvanced = false;  // the level number has been raised for the coming level
    bool bellRung = false;       // the warning bell of this level has sounded
    bool restored = false;       // the game in progress came from the saved state
    int32_t savedLives = 0;
    int32_t livesAtLevelStart = 0;

    // The drowned player's frog being faded out.
    OFrog* fadingFrog = nullptr;
    int32_t fadeCount = 0;
    int32_t fadeLength = 0;

    // Leaves and islands: islands first, the entry island last of them, then the leaves.
    std::vector<std::unique_ptr<OLeave>> pond;
    int32_t islandCount = 0;  // the islands made for this game; the settings may change meanwhile
    int32_t pondCount = 0;    // entries out in the pond
    uint32_t newLeafTime = 0;
    bool pondStart = true;
    bool meltOrder = true;  // set once per run, inverted by sinking islands
    OLeave* entryIsland = nullptr;
    OLeave* secondLastIsland = nullptr;
    OLeave* lastCountedIsland = nullptr;

    // The player's side (the lives, in panel order), the player's frog among them, the red frogs.
    std::vector<std::unique_ptr<OFrog>> frogs;
    OFrog* player = nullptr;
    std::vector<std::unique_ptr<OFrog>> redFrogs;
    int32_t redCorner = 2;  // where the next red frog arrives: 0 top left, then clockwise
    int32_t redArrived = 0;

    // Suns first, then flies.
    std::vector<std::unique_ptr<OFly>> flyers;
    int32_t sunCount = 0;         // suns made for this game, at the front of the list
    bool flyersLaunched = false;  // this level's flyers have come
    std::vector<std::unique_ptr<OWave>> ripples;
    std::unique_ptr<OHeart> heart;
    int32_t heartsGiven = 0;

    // Forgets the creatures (their clips belong to a window, which destroys them) and resets every
    // value to its start-up state. The melt order survives: it is set once per run.
    void Clear();
};

GameState& TheGameState();

// Plays a game sound ("WAV\\eat.wav") when the sound is on, and waits for its end: the frame step
// stands still meanwhile. A request made while another sound plays is dropped.
void PlaySoundFile(std::string_view fileName);
