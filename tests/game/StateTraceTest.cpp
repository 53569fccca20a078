// The state log of the real program: MARSHWADE_STATE_LOG naming a file makes the game window append
// the replay tool's line after every frame step; the map of the pond and the resting flies in it.
#include <stdlib.h>

#include <fstream>
#include <vector>

#include "game/StateTrace.h"
#include "tests/game/GameFixture.h"

namespace {

using StateLog = GameTest;

std::vector<std::string> Lines(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST_F(StateLog, TheGameWindowWritesTheReplayLineOfEveryFrameStepOnlyWhenAsked) {
    TempFolder logs("marshwade-state-log");
    const std::filesystem::path file = logs.Path() / "state.log";
    struct Case {
        const char* name;
        std::string variable;  // empty: unset
        size_t lines;
    } cases[] = {
        {"named file", file.string(), 30},
        {"not set", "", 0},
        {"a folder that does not exist: the game runs without a log",
         (logs.Path() / "none/state.log").string(), 0},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(file);
        if (c.variable.empty()) {
            unsetenv("MARSHWADE_STATE_LOG");
        } else {
            setenv("MARSHWADE_STATE_LOG", c.variable.c_str(), 1);
        }
        Start(5);
        unsetenv("MARSHWADE_STATE_LOG");
        Step(30);
        const std::string last = session->StateLine();
        EXPECT_EQ(Game().LoadingPicture(), nullptr) << c.name;
        session.reset();
        const auto lines = Lines(file);
        ASSERT_EQ(lines.size(), c.lines) << c.name;
        if (lines.empty()) continue;
        // Frame steps counted as the replay tool counts them, the last one as the tool prints it.
        EXPECT_EQ(lines.front().rfind("{\"frame\":1,", 0), 0u) << lines.front();
        EXPECT_EQ(lines.back(), last);
    }
}

TEST_F(StateLog, TheLineMapsIslandsLeavesAndWaterAndListsTheRestingFlies) {
    Start(1, "[Frogs]\nMaxBadFrogNumber=0\n[Flyes]\nSunNumber=0\n");
    WaitForArrival();
    ClearPond();
    ParkIslands();
    OLeave& fresh = PutLeaf(0, 0, 0);
    OLeave& sinking = PutLeaf(7, 5, 3);
    PutLeaf(2, 1, fresh.FrameCount() - 2);  // one frame left
    OFly& fly = *G().flyers.at(0);
    fly.ShowCurrent();
    fly.SetVelocity(0, 0);
    pond::SetCell(fly, 2, 1);
    fly.state = OFly::kResting;
    OFly& hidden = *G().flyers.at(1);  // eaten: resting but no longer shown
    pond::SetCell(hidden, 0, 0);
    hidden.state = OFly::kResting;
    hidden.HideAll();

    const std::string line = StateTrace::Line(7);
    auto left = [](const OLeave& leaf) {
        return static_cast<char>('0' + std::min(9, leaf.FrameCount() - 1 - leaf.Frame()));
    };
    std::string map =
        "?......./"
        "..1...../"
        "......../"
        "....E.../"
        "......../"
        ".......?";
    map.front() = left(fresh);
    map.back() = left(sinking);
    EXPECT_NE(line.find("\"pond\":\"" + map + "\""), std::string::npos) << line;
    EXPECT_NE(line.find("\"flies\":[[2,1]]}"), std::string::npos) << line;
    EXPECT_NE(line.find("\"skill\":0,"), std::string::npos) << line;
    EXPECT_EQ(line.rfind("{\"frame\":7,", 0), 0u) << line;
}

}  // namespace
