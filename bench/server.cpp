// The score server under load: the real marshwade-scores on 127.0.0.1 (four worker threads) and, in
// this process, several keep-alive clients side by side, each sending its next request as soon as the
// last is answered. Requests per second over all clients, the 50th and 99th percentile latency, and the
// server's resident memory at the end and the CPU it spent per request, for the status check (the ceiling), a publish of a new result,
// and a leaderboard page.
//
// The database is SQLite in a fresh folder unless MARSHWADE_BENCH_DATABASE names another, as
// `make bench` does for PostgreSQL under pg_virtualenv ("postgresql://").
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>
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
        const char* database = std::getenv("MARSHWADE_BENCH_DATABASE");
        process_ = std::make_unique<ServerProcess>(
            std::string(MARSHWADE_BINARY_DIR) + "/marshwade-scores",
            std::vector<std::string>{"--listen", "127.0.0.1:0", "--database",
                                     database ? database : "sqlite:" + (folder_ / "scores.db").string(),
                                     "--threads", "4", "--publish-limit", "1000000"},
            (folder_ / "log").string());
    }
    ~BenchServer() {
        process_.reset();
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    int Port() const { return process_->Port(); }
    // The server's resident set in megabytes, from its status file.
    double ResidentMegabytes() const {
        std::ifstream status("/proc/" + std::to_string(process_->Pid()) + "/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
        return 0;
    }

    // The CPU the server has used, user and system, in seconds (from its stat file).
    double CpuSeconds() const {
        std::ifstream stat("/proc/" + std::to_string(process_->Pid()) + "/stat");
        std::string text;
        std::getline(stat, text);
        // Fields after the name in parentheses; utime and stime are the 14th and 15th of the line.
        const char* at = std::strrchr(text.c_str(), ')');
        double ticks = 0;
        for (int field = 2; at && *at; ++at) {
            if (*at != ' ') continue;
            ++field;
            if (field == 14 || field == 15) ticks += std::atof(at + 1);
        }
        return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
    }

  private:
    fs::path folder_;
    std::unique_ptr<ServerProcess> process_;
};

BenchServer& Server() {
    static BenchServer server;
    return server;
}

constexpr int kClients = 4;
constexpr int kRequestsPerClient = 5000;

// Each client sends its share, timing every request; `next(client, n)` gives the path of request n.
// One benchmark iteration is the whole run.
template <typename NextPath>
void Measure(benchmark::State& state, NextPath next) {
    if (Server().Port() <= 0) {
        state.SkipWithError("the server did not start");
        return;
    }
    std::vector<double> micros[kClients];
    std::atomic<int> failures{0};
    double seconds = 0;
    const double cpuBefore = Server().CpuSeconds();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::vector<std::thread> clients;
        for (int c = 0; c < kClients; ++c) {
            clients.emplace_back([&, c] {
                httplib::Client client("127.0.0.1", Server().Port());
                client.set_keep_alive(true);
                micros[c].reserve(kRequestsPerClient);
                for (int n = 0; n < kRequestsPerClient; ++n) {
                    const std::string path = next(c, n);
                    const auto sent = std::chrono::steady_clock::now();
                    auto result = client.Get(path.c_str());
                    const auto answered = std::chrono::steady_clock::now();
                    if (!result || result->status != 200) ++failures;
                    micros[c].push_back(std::chrono::duration<double, std::micro>(answered - sent).count());
                }
            });
        }
        for (std::thread& t : clients) t.join();
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
    }
    if (failures > 0) {
        state.SkipWithError("requests failed");
        return;
    }
    std::vector<double> all;
    for (auto& m : micros) all.insert(all.end(), m.begin(), m.end());
    std::sort(all.begin(), all.end());
    auto at = [&](double q) { return all[static_cast<size_t>(q * static_cast<double>(all.size() - 1))]; };
    state.counters["req/s"] = static_cast<double>(all.size()) / seconds;
    state.counters["p50_us"] = at(0.50);
    state.counters["p99_us"] = at(0.99);
    state.counters["server_MB"] = Server().ResidentMegabytes();
    state.counters["server_cpu_us"] = (Server().CpuSeconds() - cpuBefore) * 1e6 / static_cast<double>(all.size());
}

void BM_Healthz(benchmark::State& state) {
    Measure(state, [](int, int) { return std::string("/healthz"); });
}

void BM_PublishNewResult(benchmark::State& state) {
    // Each iteration a result never sent before: a fresh score, name and skill from a counter.
    static std::atomic<int32_t> next{0};
    Measure(state, [](int, int) {
        const int32_t counter = ++next;
        const std::string text = publish::RecordText(counter % 99'999'000 + 1, std::to_string(counter % 3 + 1),
                                                     "P" + std::to_string(counter));
        return "/cgi-bin/gameres.pl?e=" + publish::Encode(text);
    });
}

void BM_LeaderboardPage(benchmark::State& state) {
    Measure(state, [](int, int) { return std::string("/skill/expert"); });
}

// One run of 20 000 requests each, so that a slow machine still ends soon. The page runs after the
// publishes, over a board of 20 000 rows.
BENCHMARK(BM_Healthz)->Iterations(1)->UseManualTime();
BENCHMARK(BM_PublishNewResult)->Iterations(1)->UseManualTime();
BENCHMARK(BM_LeaderboardPage)->Iterations(1)->UseManualTime();

}  // namespace
