// Loading a sound of one second (22050 Hz, 16-bit mono, the size of the game's longer sounds): parsing
// and converting it to the device format from memory, reading it from disk as the first Play does,
// and the lookup every later Play of it costs.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "platform/DeviceSound.h"
#include "platform/ProgramPath.h"
#include "platform/SoundLibrary.h"
#include "platform/WavFile.h"
#include "tests/support/WavBuilder.h"

namespace {

std::vector<uint8_t> OneSecond() {
    return testing_support::PcmWav(1, 22050, 16, 22050);
}

void BM_DecodeOneSecondWav(benchmark::State& state) {
    auto bytes = OneSecond();
    for (auto _ : state) {
        platform::WavFile wav;
        platform::DeviceSound sound;
        std::string reason;
        bool ok = platform::ParseWavFile(bytes, wav, reason) && platform::ConvertToDevice(wav, sound, reason);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(sound.samples.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_DecodeOneSecondWav)->Unit(benchmark::kMicrosecond);

class SoundFiles {
  public:
    SoundFiles() : saved_(platform::ProgramDirectory()) {
        root_ = std::filesystem::temp_directory_path() / ("bench_sound_" + std::to_string(getpid()));
        testing_support::WriteBytes(root_ / "WAV" / "eat.wav", OneSecond());
        platform::SetProgramDirectoryForTesting(root_.string());
    }
    ~SoundFiles() {
        platform::SetProgramDirectoryForTesting(saved_);
        std::filesystem::remove_all(root_);
    }
    std::string Path() const { return (root_ / "WAV" / "eat.wav").string(); }

  private:
    std::string saved_;
    std::filesystem::path root_;
};

void BM_LoadOneSecondWavFromDisk(benchmark::State& state) {
    SoundFiles files;
    for (auto _ : state) {
        platform::DeviceSound sound;
        std::string reason;
        bool ok = platform::LoadWavFile(files.Path(), sound, reason);
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_LoadOneSecondWavFromDisk)->Unit(benchmark::kMicrosecond);

void BM_CachedSoundLookup(benchmark::State& state) {
    SoundFiles files;
    platform::SteadyClock clock;
    platform::SoundLibrary library(clock);
    library.Find("WAV\\eat.wav");
    for (auto _ : state) {
        auto sound = library.Find("WAV\\eat.wav");
        benchmark::DoNotOptimize(sound.get());
    }
}
BENCHMARK(BM_CachedSoundLookup)->Unit(benchmark::kMicrosecond);

}  // namespace
