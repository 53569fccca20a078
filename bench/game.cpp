// The game window headless with the generated pictures: one busy frame step with its composition
// (every leaf out, islands sinking, three red frogs on the pond, every flyer in the air, ripples
// playing; sounds off, so no step waits for one), and the game window's start-up to its first
// composed pond frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <climits>
#include <chrono>
#include <ctime>
#include <memory>

#include "game/GameSettings.h"
#include "graphics/ArtDetail.h"
#include "game/GameState.h"
#include "windows/OGameWindow.h"
#include "game/PondGrid.h"
#include "game/PondRules.h"
#include "platform/ProgramPath.h"
#include "tools/replay/ReplaySession.h"

namespace {

double ThreadCpuMicroseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// The generated pictures of the build folder, and saved files of the benchmark's own.
struct ProgramFolder {
    ProgramFolder() { platform::SetProgramDirectoryForTesting(std::string(MARSHWADE_BINARY_DIR) + "/"); }
    PrivateSavedFiles savedFiles;
};

// Brings the pond to its busiest: all leaves out, the entry island gone so the others sink, red frogs
// on three leaves, every flyer launched.
void MakeBusy(ReplaySession& session) {
    GameState& g = TheGameState();
    g.soundOn = false;
    for (int i = 0; i < 400; ++i) session.StepFrame();
    // The player's frog waits on a leaf that does not sink, so it neither drowns (a fading frog
    // holds the pond still) nor ends the level; the entry island behind it has gone under.
    OLeave* perch = nullptr;
    for (size_t i = static_cast<size_t>(pond::IslandCount()); i < g.pond.size() && !perch; ++i) {
        OLeave& leaf = *g.pond[i];
        if (leaf.CellX() >= 0 && !pond::RedFrogAt(leaf.CellX(), leaf.CellY())) perch = &leaf;
    }
    if (perch && g.player) {
        perch->stepTime = INT32_MAX;
        g.player->SetVelocity(0, 0);
        pond::SetCell(*g.player, perch->CellX(), perch->CellY());
        g.player->state = OFrog::kResting;
    }
    pond::SinkNow(*g.entryIsland);
    int placed = 0;
    for (size_t i = static_cast<size_t>(pond::IslandCount()); i < g.pond.size() && placed < 3; ++i) {
        OLeave& leaf = *g.pond[i];
        if (&leaf == perch || leaf.CellX() < 0 || pond::RedFrogAt(leaf.CellX(), leaf.CellY())) continue;
        OFrog& red = *g.redFrogs[static_cast<size_t>(placed++)];
        pond::ResetFrog(red, 0);
        red.ShowCurrent();
        pond::SetCell(red, leaf.CellX(), leaf.CellY());
        red.state = OFrog::kResting;
    }
    for (size_t i = 0; i < g.flyers.size(); ++i) {
        pond::LaunchFlyer(*g.flyers[i], static_cast<int32_t>(i));
        g.flyers[i]->ShowCurrent();
    }
    for (int c = 0; c < 8; c += 2) pond::ShowRipple(c, 5);
}

// The argument is the art's detail: 1 composes the game's own pictures; 2 and 3 the window at twice and
// three times the size, from the pictures drawn at that size.
void BM_BusyFrameStepWithComposition(benchmark::State& state) {
    ProgramFolder folder;
    graphics::SetArtDetail(static_cast<int32_t>(state.range(0)));
    ReplaySession session(5);
    const bool started = session.Start();
    graphics::SetArtDetail(1);
    if (!started) {
        state.SkipWithError("could not read the game's clips");
        return;
    }
    MakeBusy(session);
    double worst = 0, worstCpu = 0;
    int sinceSetUp = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = ThreadCpuMicroseconds();
        session.StepFrame();
        worstCpu = std::max(worstCpu, ThreadCpuMicroseconds() - c0);
        const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
        worst = std::max(worst, us);
        // The pond calms down as islands go under, and a frog may still drown or a dialog open: make
        // it busy again.
        const bool calm = TheGameState().fadeLength > 0 || session.Window()->IsModalPaused();
        if (++sinceSetUp == 250 || calm) {
            state.PauseTiming();
            session.Window()->StartLevel();
            MakeBusy(session);
            sinceSetUp = 0;
            state.ResumeTiming();
        }
    }
    // The wall-clock worst includes being preempted by other programs; the thread's own CPU time
    // does not.
    state.counters["worst_us"] = worst;
    state.counters["worst_cpu_us"] = worstCpu;
}
BENCHMARK(BM_BusyFrameStepWithComposition)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(3000)
    ->Repetitions(3);

void BM_GameWindowStartToFirstComposedFrame(benchmark::State& state) {
    ProgramFolder folder;
    for (auto _ : state) {
        auto session = std::make_unique<ReplaySession>(5);
        if (!session->Start()) {
            state.SkipWithError("could not read the game's clips");
            return;
        }
        session->StepFrame();
        // Tearing the window down is not part of the start-up.
        state.PauseTiming();
        session.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GameWindowStartToFirstComposedFrame)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
