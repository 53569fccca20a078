// Loading a clip file of 16 frames of 78 x 80 pixels, the size of the game's creature animations:
// parsing from memory, and reading the file from disk and parsing it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "graphics/ClipFileReader.h"
#include "tests/support/ClipFileBuilder.h"

namespace {

std::vector<uint8_t> SixteenFrameClip() {
    testing_support::ClipFileBuilder builder;
    builder.Rate(10.0f);
    for (int16_t i = 0; i < 16; ++i) {
        builder.Picture(testing_support::PictureRecordBytes(78, 80, 0xFF00FF));
        builder.Frame({0, 0, 0, i, i == 15 ? std::vector<int32_t>{3, 0} : std::vector<int32_t>{}});
    }
    return builder.Build();
}

void BM_ParseClipFile16Frames78x80(benchmark::State& state) {
    auto bytes = SixteenFrameClip();
    for (auto _ : state) {
        graphics::ClipFile clip;
        std::string reason;
        bool ok = graphics::ParseClipFile(bytes, clip, reason);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(clip.pictures.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ParseClipFile16Frames78x80)->Unit(benchmark::kMicrosecond);

void BM_ReadClipFile16Frames78x80(benchmark::State& state) {
    auto bytes = SixteenFrameClip();
    auto path = std::filesystem::temp_directory_path() / ("bench_clip_" + std::to_string(getpid()) + ".clp");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    for (auto _ : state) {
        graphics::ClipFile clip;
        std::string reason;
        bool ok = graphics::ReadClipFile(path.string(), clip, reason);
        benchmark::DoNotOptimize(ok);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadClipFile16Frames78x80)->Unit(benchmark::kMicrosecond);

}  // namespace
