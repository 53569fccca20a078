#include "tests/soak/SoakProfiles.h"

#include <array>

namespace {

// Few islands and leaves, islands melting at the fastest the rules allow (500 ms a frame), short
// fades and red frogs soon.
constexpr const char* kQuick =
    "[Game]\nMaxIslandNumbers=3\n"
    "[Leaves]\nMaxLeavesPerScreen=16\nDeclineSuspendTime=1000\nIslandMeltTime=500\nTimeAppOfNewLeave=20\n"
    "[Frogs]\nMaxFrogNumber=5\nTimeAppOfBadFrog=60\nDeadTimeExtend=20\n"
    "[Rates]\nIslandMeltRate=0\nLeaveDeclineRate=0\n";

// Every count at its upper bound: a full pond, where leaves find no free cell.
constexpr const char* kCrowded =
    "[Game]\nMaxIslandNumbers=12\n"
    "[Leaves]\nMaxLeavesPerScreen=96\nIslandMeltTime=500\nTimeAppOfNewLeave=20\n"
    "[Frogs]\nMaxFrogNumber=12\nMaxBadFrogNumber=6\nTimeAppOfBadFrog=20\nDeadTimeExtend=20\n"
    "[Flyes]\nFlyNumber=12\nSunNumber=6\n"
    "[Rates]\nIslandMeltRate=0\nFlyNumberRate=1\n";

// Every count at its lower bound: two islands, no leaf, one frog, nothing else.
constexpr const char* kBare =
    "[Game]\nMaxIslandNumbers=2\n"
    "[Leaves]\nMaxLeavesPerScreen=2\nIslandMeltTime=500\n"
    "[Frogs]\nMaxFrogNumber=1\nMaxBadFrogNumber=0\nDeadTimeExtend=10\n"
    "[Flyes]\nFlyNumber=0\nSunNumber=0\n"
    "[Rates]\nIslandMeltRate=0\n";

// Values no one should write: negative, zero and huge, and words where numbers belong.
constexpr const char* kWild =
    "[Game]\nMaxIslandNumbers=0\n"
    "[Leaves]\nMaxLeavesPerScreen=100000\nMinAniVelocLeav=-5\nMaxAniVelocLeav=seven\n"
    "DeclineSuspendTime=0\nIslandMeltTime=-100\nTimeAppOfNewLeave=-1\n"
    "[Frogs]\nMaxFrogNumber=-3\nMaxBadFrogNumber=99\nTimeAppOfBadFrog=-10\nFramesForFrogLeap=0\n"
    "FramesEnoughForSitting=-4\nTimeSuspendOnLeave=-1\nDeadTimeExtend=0\nChanceForFrame=1000\n"
    "[Flyes]\nFlyNumber=-1\nSunNumber=40\nFramesForFlyLeap=-5\n"
    "[Waves]\nFrameBeforeWaveApp=99\n"
    "[Rates]\nIslandMeltRate=-1e9\nAgressionRate=1e30\nLeaveDeclineRate=nan\nFlyNumberRate=-3\n";

constexpr std::array<SoakProfile, 5> kProfiles{{
    {"defaults", nullptr, 30},
    {"quick", kQuick, 35},
    {"crowded", kCrowded, 15},
    {"bare", kBare, 10},
    {"wild", kWild, 10},
}};

}  // namespace

std::span<const SoakProfile> SoakProfiles() {
    return kProfiles;
}
