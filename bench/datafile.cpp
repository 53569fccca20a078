// The cost of the data files: a full table (30 players × 3 skills × 10 results) encoded and
// decoded in memory, parsed, and the DES block function alone. The game loads or saves a table
// once per score window, so these figures show how far from mattering that is.
#include <benchmark/benchmark.h>

#include <string>

#include "storage/DataFileCodec.h"
#include "storage/DesEngine.h"
#include "storage/TScoresTable.h"

namespace {

std::string FullTableText() {
    TScoresTable table;
    for (int player = 0; player < 30; ++player)
        for (int skill = 1; skill <= 3; ++skill)
            for (int i = 0; i < 10; ++i)
                table.AddLine("2026-12-7\tPlayer" + std::to_string(player) + "\t" + std::to_string(skill) +
                              "\t" + std::to_string(player * 1000 + i * 37));
    return table.TableText();
}

void BM_EncodeFullTable(benchmark::State& state) {
    const std::string text = FullTableText();
    for (auto _ : state) benchmark::DoNotOptimize(EncodeDataFile(text));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_EncodeFullTable);

void BM_DecodeFullTable(benchmark::State& state) {
    const std::string file = EncodeDataFile(FullTableText());
    for (auto _ : state) benchmark::DoNotOptimize(DecodeDataFile(file));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}
BENCHMARK(BM_DecodeFullTable);

void BM_ParseFullTable(benchmark::State& state) {
    const std::string text = FullTableText();
    for (auto _ : state) {
        TScoresTable table;
        table.ParseTableText(text);
        benchmark::DoNotOptimize(table.records.size());
    }
}
BENCHMARK(BM_ParseFullTable);

void BM_DesBlock(benchmark::State& state) {
    DesEngine engine;
    engine.DesInit(kDesModeDataFile);
    engine.DesSetKey(kDataFileKey);
    DesEngine::Block block{};
    for (auto _ : state) {
        engine.DesEncryptBlock(block);
        benchmark::DoNotOptimize(block);
    }
}
BENCHMARK(BM_DesBlock);

}  // namespace
