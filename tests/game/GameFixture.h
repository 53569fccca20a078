#pragma once
// The real game window, headless, in a program folder of the test's own (the generated pictures and
// sounds linked in, a settings file of the test's choosing), stepped frame by frame on a clock that
// moves 20 ms per step. Helpers lay out a pond by hand for rules that a random game would reach only
// by chance: every leaf parked, flyers and red frogs kept away, then leaves and frogs put on cells.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "game/GameSettings.h"
#include "game/GameState.h"
#include "windows/OGameWindow.h"
#include "game/PondGrid.h"
#include "game/PondRules.h"
#include "platform/ProgramPath.h"
#include "tests/support/PlayFolder.h"
#include "tools/replay/ReplaySession.h"

class GameTest : public ::testing::Test {
  protected:
    void SetUp() override { folder_ = std::make_unique<PlayFolder>("marshwade-test"); }
    void TearDown() override {
        session.reset();
        folder_.reset();
    }

    // Starts the game with this seed; `settings` is the text of INI/Quillmoss.ini (none when empty).
    void Start(uint32_t seed = 1, const std::string& settings = "") {
        if (!settings.empty()) folder_->UseSettings(settings.c_str());
        session = std::make_unique<ReplaySession>(seed);
        ASSERT_TRUE(session->Start());
    }
    void Step(int frames = 1) {
        for (int i = 0; i < frames; ++i) session->StepFrame();
    }
    uint32_t Now() { return session->Os().NowMs(); }

    static GameState& G() { return TheGameState(); }
    static GameSettings& S() { return TheGameSettings(); }
    static OFrog& Player() { return *G().player; }
    OGameWindow& Game() { return *session->Window(); }

    // Steps until the player's frog rests on the entry island (it arrives within a second or two).
    void WaitForArrival() {
        for (int i = 0; i < 200 && !(Player().state == OFrog::kResting && Player().CellX() == 4); ++i) Step();
        ASSERT_EQ(Player().state, OFrog::kResting);
    }

    // Every leaf parked off the grid and held there, the leaves all counted out (so no more come),
    // flyers idle and hidden with their launch done, red frogs gone and not coming, the heart away.
    void ClearPond() {
        for (size_t i = static_cast<size_t>(pond::IslandCount()); i < G().pond.size(); ++i) {
            OLeave& leaf = *G().pond[i];
            leaf.SetCellFields(-1, -1);
            leaf.PlaceAt(-100, -100);
            leaf.SetFrame(0);
            Freeze(leaf);
        }
        G().pondCount = static_cast<int32_t>(G().pond.size());
        G().flyersLaunched = true;
        for (auto& flyer : G().flyers) {
            flyer->state = OFly::kIdle;
            flyer->HideAll();
        }
        for (auto& red : G().redFrogs) {
            red->HideAll();
            red->state = OFrog::kDead;
            red->SetCellFields(-1, -1);
        }
        G().frameCounter = INT_MIN / 2;
        pond::TakeHeartAway();
    }
    // A leaf that stays as it is until the test says otherwise.
    void Freeze(OLeave& leaf) {
        leaf.stepTime = INT32_MAX;
        leaf.lastStepTime = Now();
    }
    // The next parked leaf, put on (c, r) at `frame`, held there. (A fully opened leaf at frame 2
    // would start its rest again at every step; frame 3 is the first sinking frame.)
    OLeave& PutLeaf(int c, int r, int frame = 3) {
        for (size_t i = static_cast<size_t>(pond::IslandCount()); i < G().pond.size(); ++i) {
            OLeave& leaf = *G().pond[i];
            if (leaf.CellX() >= 0) continue;
            leaf.state = OLeave::kLeaf;
            pond::SetCell(leaf, c, r);
            leaf.SetFrame(frame);
            Freeze(leaf);
            return leaf;
        }
        ADD_FAILURE() << "no parked leaf left";
        return *G().pond.back();
    }
    // A creature standing still on a cell.
    static void PutOn(OFrog& frog, int c, int r) {
        frog.ShowCurrent();
        frog.SetVelocity(0, 0);
        pond::SetCell(frog, c, r);
        frog.state = OFrog::kResting;
    }
    OFrog& PutRedFrog(int c, int r, size_t which = 0) {
        OFrog& red = *G().redFrogs.at(which);
        pond::ResetFrog(red, 0);
        PutOn(red, c, r);
        red.landingTime = Now();
        return red;
    }
    // The frog arrived, then standing on a held leaf at (0, 5) with every island sunk but the first,
    // which is returned.
    OLeave& OnlyTheLastIslandLeft() {
        WaitForArrival();
        ClearPond();
        PutLeaf(0, 5);
        PutOn(Player(), 0, 5);
        for (int i = 1; i < pond::IslandCount(); ++i) pond::SinkNow(*G().pond[static_cast<size_t>(i)]);
        EXPECT_EQ(pond::CountIslands(), 1);
        return *G().pond[0];
    }
    // Islands other than the entry island taken off the grid, so that none of them can end the level.
    void ParkIslands() {
        for (int32_t i = 0; i + 1 < pond::IslandCount(); ++i) {
            OLeave& island = *G().pond[static_cast<size_t>(i)];
            island.SetCellFields(-2, -2);
            island.PlaceAt(-200, -200);
        }
    }

    std::unique_ptr<ReplaySession> session;

  private:
    std::unique_ptr<PlayFolder> folder_;
};
