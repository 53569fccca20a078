#pragma once
// What the fake image-processing library saw; read by the tests through FakeEffectsGetLog.
#include <array>
#include <vector>

#include "graphics/EffectsLibrary.h"

struct FakeEffectsLog {
    int headersCreated = 0;
    std::vector<int> deallocations;
    int copies = 0;
    int composites = 0;
    graphics::EffectsRegion sourceRegion, maskRegion, destinationRegion;
    std::array<int, 5> compositeArguments{};
};

extern "C" FakeEffectsLog* FakeEffectsGetLog();
