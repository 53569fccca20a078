// Frogs, red frogs, flies, suns, the heart and ripples on a pond laid out by hand.
#include <fstream>

#include "engine/VirtualKey.h"
#include "graphics/OClip.h"
#include "tests/game/GameFixture.h"

namespace {

using Creatures = GameTest;

// Shows a flyer resting on a cell, facing `direction`.
void Rest(OFly& flyer, int c, int r, int direction = pond::kRight) {
    flyer.SetCurrent(direction);
    flyer.SetVelocity(0, 0);
    pond::SetCell(flyer, c, r);
    flyer.state = OFly::kResting;
}

OFly& Sun() {
    return *TheGameState().flyers.at(0);
}
// Flies follow the suns in the list, kinds in turn: 5, 10, 15, 5 points.
OFly& Fly(int kind) {
    return *TheGameState().flyers.at(static_cast<size_t>(TheGameState().sunCount + kind));
}

int Played(ReplaySession& session, const std::string& file) {
    int n = 0;
    for (const auto& r : session.Sound().Requests()) n += r.fileName == file;
    return n;
}

TEST_F(Creatures, AFrogPressedAgainstTheEdgeOnlyTurns) {
    Start();
    WaitForArrival();
    ClearPond();
    PutLeaf(7, 2);
    PutOn(Player(), 7, 2);
    Player().SetCurrent(pond::kUp);
    Game().OnPress(vk::kRight, 0, 0);
    Step(5);
    EXPECT_EQ(Player().CurrentIndex(), pond::kRight);
    EXPECT_EQ(Player().state, OFrog::kResting);
    EXPECT_EQ(Player().CellX(), 7);
}

TEST_F(Creatures, AHopOntoOpenWaterDrownsAndThePondStandsStillWhileTheFrogFades) {
    Start();
    WaitForArrival();
    ClearPond();
    OFrog* drowned = &Player();
    session->Sound().ClearRequests();
    Game().OnPress(vk::kLeft, 0, 0);
    Step(5);  // four moves, and the landing seen at the fifth step
    EXPECT_TRUE(drowned->IsDead());
    EXPECT_EQ(Played(*session, "WAV\\sink.wav"), 1);
    EXPECT_NE(G().player, drowned);
    const int32_t frames = G().frameCounter;
    Step(S().DeadTimeExtend);
    EXPECT_EQ(G().frameCounter, frames) << "the pond moved while the frog faded";
    EXPECT_GT(drowned->Clips()[0]->Transparency(), 250u);
    Step();
    EXPECT_EQ(G().frameCounter, frames + 1);
    EXPECT_EQ(drowned->CellX(), -1);
}

// Counts at the top of their range, as a modder's tuning reaches them: a fade of millions of steps, a
// level where no red frog ever resets the frame counter. Neither wraps round.
TEST_F(Creatures, ALongFadeAndALevelWithoutRedFrogsCountWithoutWrappingRound) {
    Start(1, "[Frogs]\nMaxBadFrogNumber=0\n");
    WaitForArrival();
    ClearPond();
    S().DeadTimeExtend = INT32_MAX;
    Game().OnPress(vk::kLeft, 0, 0);
    Step(5);
    OFrog* drowned = G().fadingFrog;
    ASSERT_NE(drowned, nullptr);
    ASSERT_EQ(G().fadeLength, INT32_MAX);
    G().fadeCount = 100000000;
    Step();
    EXPECT_EQ(drowned->Clips()[0]->Transparency(), 100000000ull * 255 / INT32_MAX);
    G().fadeCount = G().fadeLength;
    Step(2);
    ASSERT_EQ(G().fadingFrog, nullptr);
    G().frameCounter = INT32_MAX - 1;
    Step(3);
    EXPECT_EQ(G().frameCounter, INT32_MAX);
}

TEST_F(Creatures, ARedFrogAndThePlayersFrogOnOneCellBothDrownAndTheLeafGoesUnder) {
    Start();
    WaitForArrival();
    ClearPond();
    OLeave& leaf = PutLeaf(2, 2);
    OFrog* player = &Player();
    PutOn(*player, 2, 2);
    OFrog& red = PutRedFrog(2, 2);
    Step();
    EXPECT_TRUE(player->IsDead());
    EXPECT_TRUE(red.IsDead());
    EXPECT_EQ(leaf.CellX(), -1) << "the leaf went with the frog";
    EXPECT_EQ(G().fadeLength, S().DeadTimeExtend);
}

TEST_F(Creatures, ALeapOntoOpenWaterBringsALeafUnderTheFrog) {
    Start();
    ASSERT_EQ(pond::LeafAt(7, 5), nullptr);
    while (Player().CellX() != 7) Step();
    EXPECT_NE(pond::LeafAt(7, 5), nullptr);
}

TEST_F(Creatures, WithRedFrogsOnBothCellsOfTheWayTheArrivingFrogLeapsStraightToTheEntryIsland) {
    Start();
    Step();
    ClearPond();
    PutLeaf(6, 5);
    PutLeaf(5, 4);
    PutRedFrog(6, 5, 0);
    PutRedFrog(5, 4, 1);
    for (int i = 0; i < 20 && Player().CellX() != 7; ++i) Step();
    ASSERT_EQ(Player().CellX(), 7);
    EXPECT_EQ(Player().targetColumn, 4);
    EXPECT_EQ(Player().targetRow, 3);
    for (int i = 0; i < 60 && Player().state != OFrog::kResting; ++i) Step();
    EXPECT_EQ(Player().CellX(), 4);
    EXPECT_EQ(Player().CellY(), 3);
}

TEST_F(Creatures, TheFirstRedFrogComesAfterItsWaitAndAtLevelOneNoSecondFollows) {
    Start(9);
    int arrival = -1;
    for (int frame = 1; frame <= 1500; ++frame) {
        Step();
        if (arrival < 0 && pond::ArrivingRedFrog()) arrival = frame;
        EXPECT_LE(pond::LivingRedFrogs(), 1) << "frame " << frame;
    }
    // 150 steps of waiting; then the corner must be free, which it is at once or within a turn.
    EXPECT_GE(arrival, 150);
    EXPECT_LE(arrival, 160);
    EXPECT_EQ(G().redArrived, 1);
}

TEST_F(Creatures, FlyersEnterFromASideAwayFromThePlayersFrog) {
    Start();
    WaitForArrival();
    ClearPond();
    enum Side { kFromLeft, kFromTop, kFromRight, kFromBottom };
    struct Case {
        int column, row, n;
        Side side;
    } cases[] = {
        {0, 2, 0, kFromTop},   {1, 2, 0, kFromTop},   {2, 2, 0, kFromLeft},
        {0, 0, 0, kFromRight}, {1, 1, 4, kFromRight}, {0, 5, 0, kFromLeft},
        {0, 5, 1, kFromTop},   {7, 5, 2, kFromLeft},  {7, 4, 3, kFromBottom},
    };
    for (const Case& c : cases) {
        PutOn(Player(), c.column, c.row);
        OFly& fly = Fly(0);
        pond::LaunchFlyer(fly, c.n);
        Side side = fly.X() < 0                ? kFromLeft
                    : fly.Y() < 0              ? kFromTop
                    : fly.X() > pond::CellX(7) ? kFromRight
                                               : kFromBottom;
        EXPECT_EQ(side, c.side) << "frog on " << c.column << "," << c.row << " n " << c.n;
    }
}

TEST_F(Creatures, EatingAFlyScoresItsPointsAndASunPushesTheFrogAway) {
    Start();
    WaitForArrival();
    ClearPond();
    PutLeaf(2, 2);
    PutLeaf(3, 2);
    PutOn(Player(), 2, 2);
    OFly& fly = Fly(2);
    fly.ShowCurrent();
    Rest(fly, 2, 2);
    G().score = 100;
    Step();
    EXPECT_EQ(G().score, 115);
    EXPECT_EQ(G().levelPoints, 15);
    // Eaten, it comes back from a side of the pond at once.
    EXPECT_EQ(pond::FlyAt(2, 2), nullptr);
    EXPECT_TRUE(fly.IsShown());
    EXPECT_NE(pond::InPond(fly.X(), fly.Y()), pond::kInside);

    session->Sound().ClearRequests();
    Sun().ShowCurrent();
    Rest(Sun(), 2, 2, pond::kRight);
    Step();
    EXPECT_EQ(Played(*session, "WAV\\uneat.wav"), 1);
    EXPECT_EQ(Player().state, OFrog::kPushed);
    Step(10);
    EXPECT_EQ(Player().CellX(), 3);
    EXPECT_EQ(Player().state, OFrog::kResting);
}

TEST_F(Creatures, AFlyTurnsBackBeforeThePlayersFrogAndHoversWhereNoLeafIsLeft) {
    Start();
    WaitForArrival();
    ClearPond();
    PutLeaf(2, 2);
    PutOn(Player(), 2, 2);
    OFly& fly = Fly(0);
    fly.ShowCurrent();
    Rest(fly, 4, 2);
    fly.PlaceAt(static_cast<float>(pond::CellX(2) + 30), static_cast<float>(pond::CellY(2)));
    fly.state = OFly::kFlying;
    pond::FlyIn(fly, pond::kLeft);
    Step(10);
    EXPECT_EQ(fly.heading, pond::kRight) << "it turned back";
    EXPECT_NE(fly.state, OFly::kResting);
    // Over open water with no leaf in sight it stops and hovers; a leaf in its line draws it on.
    fly.PlaceAt(static_cast<float>(pond::CellX(5)), static_cast<float>(pond::CellY(4)));
    pond::FlyIn(fly, pond::kUp);
    Step(2);
    EXPECT_EQ(fly.Clips()[0]->VelocityX(), 0);
    EXPECT_EQ(fly.Clips()[0]->VelocityY(), 0);
    PutLeaf(5, 1, 0);
    Step(90);
    EXPECT_EQ(fly.state, OFly::kResting);
    EXPECT_EQ(fly.CellY(), 1);
}

TEST_F(Creatures, AHeartBringsBackTheLastLostFrogUnlessOnlyOneIslandIsLeft) {
    for (bool lastIsland : {false, true}) {
        Start();
        WaitForArrival();
        ClearPond();
        PutLeaf(2, 2);
        PutOn(Player(), 2, 2);
        pond::SinkNow(*G().entryIsland);
        if (lastIsland) {
            for (int i = 1; i < pond::IslandCount(); ++i) pond::SinkNow(*G().pond[static_cast<size_t>(i)]);
        }
        OFrog& lost = *G().frogs[5];
        pond::Drown(lost);
        G().heartsGiven = 1;
        pond::SetCell(*G().heart, 2, 2);
        G().heart->active = 1;
        session->Sound().ClearRequests();
        Step();
        EXPECT_EQ(Played(*session, "WAV\\eat.wav"), 1);
        EXPECT_FALSE(G().heart->active);
        EXPECT_EQ(lost.IsDead(), lastIsland);
        EXPECT_EQ(G().heartsGiven, lastIsland ? 1 : 0);
        if (!lastIsland) {
            EXPECT_EQ(lost.X(), lost.waitX);
        }
        session.reset();
    }
}

TEST_F(Creatures, RipplesComeFromAPoolOfFortyEight) {
    Start();
    ClearPond();
    for (int c = 0; c < 8; ++c) {
        for (int r = 0; r < 6; ++r) pond::ShowRipple(c, r);
    }
    pond::ShowRipple(-1, 3);  // the forty-ninth
    int shown = 0;
    for (auto& ripple : G().ripples) shown += ripple->IsShown();
    EXPECT_EQ(shown, 48);
    for (auto& ripple : G().ripples) EXPECT_GE(ripple->CellX(), 0);
}

TEST_F(Creatures, AFrogDrownedOnAnIslandLeavesTheIslandWhereTheNextFrogsArrive) {
    Start();
    WaitForArrival();
    OLeave* entry = G().entryIsland;
    pond::Drown(Player());
    EXPECT_EQ(entry->CellX(), 4);
    EXPECT_EQ(entry->CellY(), 3);
}

TEST_F(Creatures, FlyersComeOncePerLevelWhenHalfThePondIsOutEvenIfTheCountSkipsTheMark) {
    Start();
    Step();
    G().pondCount = 16;  // one below half; a landing and a new leaf in one step take it to 18
    pond::SpawnLeafUnder(0, 0, Now());
    pond::SpawnLeafUnder(1, 0, Now());
    Step();
    ASSERT_TRUE(G().flyersLaunched);
    OFly& fly = Fly(0);
    ASSERT_EQ(fly.state, OFly::kFlying);
    const int x = fly.X(), y = fly.Y();
    Step(3);
    EXPECT_NE(fly.X() * 10000 + fly.Y(), x * 10000 + y) << "launched again instead of flying on";
}

TEST_F(Creatures, ActiveCountsAboveTheObjectsAndSettingsChangedInPlayStayWithinTheLists) {
    Start(1, "[Flyes]\nFlyNumber=1\nSunNumber=0\n");
    WaitForArrival();
    S().activeSunCount = 3;
    S().activeFlyCount = 5;
    pond::LaunchFlyers();
    // More of everything in the file now: the lists keep the size they were made with.
    std::ofstream(std::filesystem::path(platform::ProgramDirectory()) / "INI" / "Quillmoss.ini")
        << "[Leaves]\nMaxLeavesPerScreen=80\n[Frogs]\nMaxFrogNumber=12\nMaxBadFrogNumber=6\n"
        << "[Game]\nMaxIslandNumbers=9\n[Flyes]\nFlyNumber=12\nSunNumber=6\n";
    Game().NewGame();
    Step(300);
    EXPECT_EQ(G().pond.size(), 35u);
    EXPECT_EQ(G().frogs.size(), 8u);
    EXPECT_EQ(pond::IslandCount(), 6);
    EXPECT_EQ(pond::LivingFrogs(), 8);
}

}  // namespace
