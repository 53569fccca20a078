// Many publishes with many repeats through the real server on SQLite: afterwards the leaderboards hold
// each distinct result exactly once, with its score and skill, and the database's log never grew
// without bound meanwhile. `make test` sends 20 000; `make soak`
// sends MARSHWADE_PUBLISH_SOAK_COUNT (a million) from MARSHWADE_PUBLISH_SOAK_SEED.
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/ServerProcess.h"
#include "storage/PublishCodec.h"

namespace {

namespace fs = std::filesystem;

uint64_t FromEnvironment(const char* name, uint64_t fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::strtoull(value, nullptr, 10) : fallback;
}

struct Expected {
    int32_t score;
    int skill;  // 0 to 2
};

// Result i of the pool: its own name, a score and a skill taken from i, so that equal scores and
// all three skills come up.
Expected PoolResult(uint64_t i) { return {static_cast<int32_t>((i * 7919) % 50'000), static_cast<int>(i % 3)}; }
std::string PoolName(uint64_t i) { return "S" + std::to_string(i); }

TEST(PublishSoak, RepeatedPublishesLeaveEachDistinctResultOnceOnTheBoards) {
    const uint64_t count = FromEnvironment("MARSHWADE_PUBLISH_SOAK_COUNT", 20'000);
    const uint64_t seed = FromEnvironment("MARSHWADE_PUBLISH_SOAK_SEED", 23);
    // A pool a quarter of the publishes: most results are sent several times, some never.
    const uint64_t pool = std::max<uint64_t>(1, count / 4);

    const fs::path folder = fs::temp_directory_path() / ("marshwade-publish-soak-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    ServerProcess server(std::string(MARSHWADE_BINARY_DIR) + "/marshwade-scores",
                         {"--listen", "127.0.0.1:0", "--database", "sqlite:" + (folder / "scores.db").string(),
                          "--threads", "4", "--publish-limit", "1000000"},
                         (folder / "log").string());
    ASSERT_GT(server.Port(), 0);

    // Two clients side by side, each its own seeded share, so that repeats also race each other.
    std::map<std::string, Expected> sent[2];
    uint64_t failures[2] = {0, 0};
    auto client = [&](int k) {
        std::mt19937_64 random(seed * 2 + static_cast<uint64_t>(k));
        std::uniform_int_distribution<uint64_t> pick(0, pool - 1);
        httplib::Client http("127.0.0.1", server.Port());
        http.set_keep_alive(true);
        for (uint64_t n = static_cast<uint64_t>(k); n < count; n += 2) {
            const uint64_t i = pick(random);
            const Expected e = PoolResult(i);
            const std::string link =
                "/cgi-bin/gameres.pl?e=" +
                publish::Encode(publish::RecordText(e.score, std::to_string(e.skill + 1), PoolName(i)));
            auto r = http.Get(link.c_str());
            if (!r || r->status != 200) {
                ++failures[k];
                continue;
            }
            sent[k][PoolName(i)] = e;
        }
    };
    // The log's size, looked at all along: under publishes that never pause it must still start
    // again now and then (each publish adds some 15 KB to it).
    std::atomic<bool> sending{true};
    std::atomic<uintmax_t> longestLog{0};
    std::thread watch([&] {
        while (sending) {
            std::error_code missing;
            const uintmax_t size = fs::file_size(folder / "scores.db-wal", missing);
            if (!missing && size > longestLog) longestLog = size;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    std::thread other(client, 1);
    client(0);
    other.join();
    sending = false;
    watch.join();
    EXPECT_LT(longestLog.load(), 48u << 20) << "the log grew to " << longestLog.load() << " bytes";
    EXPECT_EQ(failures[0] + failures[1], 0u) << "publishes refused or lost (seed " << seed << ")";
    sent[0].merge(sent[1]);
    const std::map<std::string, Expected>& distinct = sent[0];

    // Every row of the three boards, read back through the API.
    std::map<std::string, Expected> stored;
    uint64_t rows = 0;
    httplib::Client http("127.0.0.1", server.Port());
    for (int skill = 0; skill < 3; ++skill) {
        for (uint64_t offset = 0;; offset += 200) {
            const std::string path = "/api/scores?skill=" + std::to_string(skill) +
                                     "&offset=" + std::to_string(offset) + "&limit=200";
            auto r = http.Get(path.c_str());
            ASSERT_TRUE(r && r->status == 200) << path;
            size_t at = 0, here = 0;
            while ((at = r->body.find("\"name\":\"", at)) != std::string::npos) {
                at += 8;
                const std::string name = r->body.substr(at, r->body.find('"', at) - at);
                const size_t scoreAt = r->body.find("\"score\":", at) + 8;
                stored[name] = {std::atoi(r->body.c_str() + scoreAt), skill};
                ++rows;
                ++here;
            }
            if (here < 200) break;
        }
    }
    EXPECT_EQ(rows, distinct.size()) << "rows stored, against distinct results sent (seed " << seed << ")";
    ASSERT_EQ(stored.size(), distinct.size());
    for (const auto& [name, e] : distinct) {
        auto it = stored.find(name);
        ASSERT_NE(it, stored.end()) << name << " was sent but is not on its board";
        EXPECT_EQ(it->second.score, e.score) << name;
        EXPECT_EQ(it->second.skill, e.skill) << name;
    }
    EXPECT_EQ(server.Terminate(), 0);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

}  // namespace
