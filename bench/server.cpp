// The score server under load: the real marshwade-scores on 127.0.0.1 (SQLite in a fresh folder, two
// threads), a keep-alive client in this process. Requests per second and the p50/p99 latency of the
// status check (the ceiling), a publish of a new result, and a leaderboard page.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "storage/PublishCodec.h"
#include "tests/support/ServerProcess.h"

namespace {

namespace fs = std::filesystem;

// One server for the whole run, with a publish limit no benchmark reaches.
class BenchServer {
  public:
    BenchServer()
        : folder_(fs::temp_directory_path() / ("marshwade-bench-server-" + std::to_string(getpid()))) {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        process_ = std::make_unique<ServerProcess>(
            std::string(MARSHWADE_BINARY_DIR) + "/marshwade-scores",
            std::vector<std::string>{"--listen", "127.0.0.1:0", "--database",
                                     "sqlite:" + (folder_ / "scores.db").string(), "--threads", "2",
                                     "--publish-limit", "1000000"},
            (folder_ / "log").string());
    }
    ~BenchServer() {
        process_.reset();
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    int Port() const { return process_->Port(); }

  private:
    fs::path folder_;
    std::unique_ptr<ServerProcess> process_;
};

BenchServer& Server() {
    static BenchServer server;
    return server;
}

// Times each request and reports the rate and the 50th and 99th percentiles in microseconds.
template <typename NextPath>
void Measure(benchmark::State& state, NextPath next) {
    if (Server().Port() <= 0) {
        state.SkipWithError("the server did not start");
        return;
    }
    httplib::Client client("127.0.0.1", Server().Port());
    client.set_keep_alive(true);
    std::vector<double> micros;
    micros.reserve(static_cast<size_t>(state.max_iterations));
    for (auto _ : state) {
        const std::string path = next();
        const auto start = std::chrono::steady_clock::now();
        auto result = client.Get(path.c_str());
        const auto end = std::chrono::steady_clock::now();
        if (!result || result->status != 200) {
            state.SkipWithError("a request failed");
            break;
        }
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    if (micros.empty()) return;
    std::sort(micros.begin(), micros.end());
    auto at = [&](double q) { return micros[static_cast<size_t>(q * static_cast<double>(micros.size() - 1))]; };
    state.counters["req/s"] = benchmark::Counter(static_cast<double>(micros.size()), benchmark::Counter::kIsRate);
    state.counters["p50_us"] = at(0.50);
    state.counters["p99_us"] = at(0.99);
}

void BM_Healthz(benchmark::State& state) {
    Measure(state, [] { return std::string("/healthz"); });
}

void BM_PublishNewResult(benchmark::State& state) {
    // Each iteration a result never sent before: a fresh score, name and skill from a counter.
    static int32_t counter = 0;
    Measure(state, [] {
        ++counter;
        const std::string text = publish::RecordText(counter % 99'999'000 + 1, std::to_string(counter % 3 + 1),
                                                     "P" + std::to_string(counter));
        return "/cgi-bin/gameres.pl?e=" + publish::Encode(text);
    });
}

void BM_LeaderboardPage(benchmark::State& state) {
    Measure(state, [] { return std::string("/skill/expert"); });
}

// Bounded in count so that a slow machine still ends soon.
BENCHMARK(BM_Healthz)->Iterations(20000)->UseRealTime();
BENCHMARK(BM_PublishNewResult)->Iterations(20000)->UseRealTime();
BENCHMARK(BM_LeaderboardPage)->Iterations(20000)->UseRealTime();

}  // namespace
