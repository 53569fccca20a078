#include "game/GameRandom.h"

#include <cstdlib>
#include <mutex>
#include <random>

namespace game_random {
namespace {
struct Generator {
    std::mutex mutex;
    // Our own engine rather than the C runtime's rand, so a seed replays the same game on every
    // system and nothing else in the process (a library calling rand) shifts the sequence.
    std::mt19937 engine{1};
    std::optional<uint32_t> fixed;
};

Generator& SharedGenerator() {
    static Generator generator;
    return generator;
}
}  // namespace

void Seed(uint32_t seed) {
    std::lock_guard lock(SharedGenerator().mutex);
    SharedGenerator().engine.seed(seed);
}

int32_t Below(int32_t n) {
    if (n <= 0) return 0;
    std::lock_guard lock(SharedGenerator().mutex);
    const auto value = static_cast<int32_t>(SharedGenerator().engine() >> 1);
    return value % n;
}

uint32_t StartSeed(uint32_t clockMs) {
    {
        std::lock_guard lock(SharedGenerator().mutex);
        if (SharedGenerator().fixed) return *SharedGenerator().fixed;
    }
    if (const char* text = std::getenv("MARSHWADE_SEED"); text && *text) {
        char* end = nullptr;
        const unsigned long long value = std::strtoull(text, &end, 10);
        if (end && *end == '\0') return static_cast<uint32_t>(value);
    }
    return clockMs;
}

void FixSeed(std::optional<uint32_t> seed) {
    std::lock_guard lock(SharedGenerator().mutex);
    SharedGenerator().fixed = seed;
}

}  // namespace game_random
