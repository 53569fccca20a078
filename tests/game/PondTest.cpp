// Leaves and islands: where islands go, how leaves come out, sink and come up again, how islands
// sink and the last one rings, and the settings that would otherwise break the pond.
#include <set>

#include "tests/game/GameFixture.h"

namespace {

using Pond = GameTest;

int Strokes(const ReplaySession& session, std::vector<uint32_t>* times = nullptr) {
    int count = 0;
    for (const auto& r : const_cast<ReplaySession&>(session).Sound().Requests()) {
        if (r.fileName != "WAV\\bell.wav") continue;
        ++count;
        if (times) times->push_back(r.atMs);
    }
    return count;
}

TEST_F(Pond, IslandsOfEveryLevelStandApartWithTheEntryIslandLastOnFourThree) {
    Start(5);
    for (int level = 0; level < 60; ++level) {
        if (level > 0) Game().StartLevel();
        const int n = pond::IslandCount();
        ASSERT_EQ(n, 6);
        const OLeave* entry = G().pond[static_cast<size_t>(n - 1)].get();
        ASSERT_EQ(G().entryIsland, entry) << "the entry island is the last of the list";
        EXPECT_EQ(G().secondLastIsland, G().pond[static_cast<size_t>(n - 2)].get());
        EXPECT_EQ(entry->CellX(), 4);
        EXPECT_EQ(entry->CellY(), 3);
        for (int i = 0; i < n; ++i) {
            const OLeave& a = *G().pond[static_cast<size_t>(i)];
            EXPECT_LE(a.CellX(), 6);
            EXPECT_LE(a.CellY(), 4);
            for (int j = i + 1; j < n; ++j) {
                const OLeave& b = *G().pond[static_cast<size_t>(j)];
                const int dc = a.CellX() - b.CellX(), dr = a.CellY() - b.CellY();
                // Five apart where the search finds room, never touching even diagonally when it
                // must settle for less.
                EXPECT_GE(dc * dc + dr * dr, 4) << "islands " << i << " and " << j << " at level " << level;
            }
        }
    }
}

TEST_F(Pond, LeavesOpenRestAndSinkThenComeUpElsewhere) {
    Start(2);
    Step(3);
    // The first leaf comes out after 200 ms and opens in two steps of 80 ms.
    Step(10);
    const OLeave& leaf = *G().pond[6];
    ASSERT_EQ(leaf.state, OLeave::kLeaf);
    EXPECT_TRUE(pond::InGrid(leaf.CellX(), leaf.CellY()));
    Step(10);
    EXPECT_EQ(leaf.Frame(), 2);
    EXPECT_EQ(leaf.stepTime, S().DeclineSuspendTime);
    EXPECT_EQ(S().DeclineSuspendTime, 1930);
    // Then it sinks one frame every 800 to 1499 ms, and at the last frame comes up anew at frame 0.
    Step(100);
    EXPECT_EQ(leaf.Frame(), 3);
    EXPECT_GE(leaf.ownFrameTime, 800);
    EXPECT_LT(leaf.ownFrameTime, 1500);
    int lastFrame = leaf.Frame(), restarts = 0;
    for (int i = 0; i < 1500 && restarts == 0; ++i) {
        Step();
        if (leaf.Frame() < lastFrame) ++restarts;
        lastFrame = leaf.Frame();
    }
    EXPECT_EQ(restarts, 1);
    EXPECT_EQ(G().pondCount, 35) << "every leaf is out by now";
}

TEST_F(Pond, ALeafUnderARestingRedFrogWaitsOneStepBeforeDrowningIt) {
    Start();
    WaitForArrival();
    ClearPond();
    const int count = G().pond[6]->FrameCount();
    OLeave& held = PutLeaf(1, 1, count - 7);
    OLeave& free = PutLeaf(5, 1, count - 7);
    for (OLeave* leaf : {&held, &free}) leaf->stepTime = 60;
    PutRedFrog(1, 1);
    Step(30);
    EXPECT_EQ(held.Frame(), count - S().FramesForFrogLeap + 1);
    EXPECT_FALSE(G().redFrogs[0]->IsDead());
    EXPECT_LT(free.Frame(), count - 7) << "a leaf without a frog sinks through and comes up anew";
}

TEST_F(Pond, WithEveryCellTakenANewLeafWaitsOffTheGridAndTheCountStillGrows) {
    Start(1, "[Leaves]\nMaxLeavesPerScreen=60\n");
    WaitForArrival();
    ClearPond();
    for (int c = 0; c < 8; ++c) {
        for (int r = 0; r < 6; ++r) {
            if (!pond::PondObjectAt(c, r)) PutLeaf(c, r);
        }
    }
    G().pondCount = 48;
    G().pond[48]->state = OLeave::kWaiting;
    Step(15);
    EXPECT_GE(G().pondCount, 49);
    EXPECT_EQ(G().pond[48]->CellX(), -1);
    EXPECT_EQ(G().pond[48]->state, OLeave::kLeaf);
}

TEST_F(Pond, TheLastIslandRingsEveryOneAndAHalfSecondsAndGoesUnderAfterItsEleventhStroke) {
    Start();
    OLeave& last = OnlyTheLastIslandLeft();
    session->Sound().ClearRequests();
    std::vector<uint32_t> times;
    for (int i = 0; i < 1200 && !last.IsGone(); ++i) Step();
    Strokes(*session, &times);
    EXPECT_TRUE(last.IsGone());
    // The level's warning bell, then eleven strokes of the last island.
    ASSERT_EQ(times.size(), 12u);
    for (size_t i = 2; i < times.size(); ++i) {
        EXPECT_GT(times[i] - times[i - 1], 1500u);
        EXPECT_LE(times[i] - times[i - 1], 1540u);
    }
    Step();
    EXPECT_EQ(G().pendingDialog, kLevelOpen) << "no island left ends the level: its dialog is open";
}

TEST_F(Pond, WithoutLeavesTheIslandsSinkInTurnOnceThePlayerHasLeftTheEntryIsland) {
    Start(4, "[Leaves]\nMaxLeavesPerScreen=6\n");
    EXPECT_EQ(G().pond.size(), 6u);
    WaitForArrival();
    Step(100);
    EXPECT_EQ(G().pondCount, 6);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(G().pond[static_cast<size_t>(i)]->Frame(), 0);
    // The only way off the entry island is onto another one; the entry island goes under behind.
    const OLeave& first = *G().pond[0];
    PutOn(Player(), first.CellX(), first.CellY());
    pond::SinkNow(*G().entryIsland);
    Step(120);
    int sinking = 0;
    for (int i = 0; i < 5; ++i) sinking += G().pond[static_cast<size_t>(i)]->Frame() > 0;
    EXPECT_GE(sinking, 1);
    EXPECT_FALSE(Player().IsDead());
}

TEST_F(Pond, TheHeartRuleAsksNothingOfAPondWithoutIslands) {
    Start();
    WaitForArrival();
    ClearPond();
    PutLeaf(2, 2);
    PutOn(Player(), 2, 2);
    for (int i = 0; i < pond::IslandCount(); ++i) pond::SinkNow(*G().pond[static_cast<size_t>(i)]);
    G().frogs[0]->state = OFrog::kDead;  // a frog is missing, so a heart would be due
    Step(5);
    EXPECT_FALSE(G().heart->active);
}

TEST_F(Pond, LeavesGoOnComingAndSinkingAcrossTheClocksWrap) {
    Start(6);
    session->Os().Manual().Set(UINT32_MAX - 2000);
    Step(1500);
    EXPECT_EQ(G().pondCount, 35);
    std::set<int> frames;
    for (size_t i = 6; i < G().pond.size(); ++i) frames.insert(G().pond[i]->Frame());
    EXPECT_GT(frames.size(), 3u) << "the leaves stopped sinking after the wrap";
}

TEST_F(Pond, CountsThatWouldBreakThePondAreHeldToWhatItCanPlay) {
    struct Case {
        const char* settings;
        int islands, objects, frogs;
    } cases[] = {
        {"[Game]\nMaxIslandNumbers=0\n", 2, 35, 8},
        {"[Game]\nMaxIslandNumbers=1\n", 2, 35, 8},
        {"[Game]\nMaxIslandNumbers=100000\n", 12, 35, 8},
        {"[Game]\nMaxIslandNumbers=6\n[Leaves]\nMaxLeavesPerScreen=3\n", 6, 6, 8},
        {"[Leaves]\nMaxLeavesPerScreen=5000000\n", 6, 96, 8},
        {"[Frogs]\nMaxFrogNumber=0\n", 6, 35, 1},
        {"[Frogs]\nMaxFrogNumber=900\nMaxBadFrogNumber=-4\n[Flyes]\nFlyNumber=-1\nSunNumber=40\n", 6, 35, 12},
    };
    for (const Case& c : cases) {
        Start(7, c.settings);
        EXPECT_EQ(pond::IslandCount(), c.islands) << c.settings;
        EXPECT_EQ(G().pond.size(), static_cast<size_t>(c.objects)) << c.settings;
        EXPECT_EQ(G().frogs.size(), static_cast<size_t>(c.frogs)) << c.settings;
        EXPECT_LE(G().redFrogs.size(), 6u);
        EXPECT_LE(G().flyers.size(), 18u);
        Step(400);
        session.reset();
    }
}

}  // namespace
