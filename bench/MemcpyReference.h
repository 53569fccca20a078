#pragma once
// One memcpy of a whole 750 x 550 picture as the yardstick of the drawing benchmarks: each states its
// own processor time as a multiple of it ("x_memcpy"), measured in the same run on the same machine,
// so the figure means the same under any load.
#include <benchmark/benchmark.h>
#include <time.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace bench_support {

// This thread's processor time: time spent waiting for the processor while other programs run is not
// counted.
inline double ThreadCpuNanoseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

inline double MemcpyFrameNanoseconds() {
    std::vector<uint8_t> from(static_cast<size_t>(750) * 550 * 3, 1), to(from.size());
    const double t0 = ThreadCpuNanoseconds();
    for (int i = 0; i < 1000; ++i) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::ClobberMemory();
    }
    return (ThreadCpuNanoseconds() - t0) / 1000;
}

// Runs `body` once per iteration and adds the counter x_memcpy.
template <typename Body>
void TimedAgainstMemcpy(benchmark::State& state, Body body) {
    const double t0 = ThreadCpuNanoseconds();
    for (auto _ : state) body();
    const double each = (ThreadCpuNanoseconds() - t0) / static_cast<double>(state.iterations());
    state.counters["x_memcpy"] = each / MemcpyFrameNanoseconds();
}

}  // namespace bench_support
