#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "server/RateLimiter.h"
#include "server/Storage.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace scores_server {

struct ServerSettings {
    std::string host = "127.0.0.1";
    int port = 8080;  // 0: any free port, reported by Port() once listening
    int threads = 4;
    int publishesPerMinute = 30;
    std::string database = "sqlite:marshwade-scores.db";
    std::string clipFolder;  // where frog0.clp is; empty: no frog
};

// The score server: the game's publish link, the leaderboard pages, the JSON rows, the games page.
//
// Threads: Run blocks the calling thread and serves on `threads` workers, each borrowing a Storage
// from the pool for one request. Stop may be called from any thread; Run then returns once the
// requests in hand are answered.
class ScoreServer {
  public:
    explicit ScoreServer(ServerSettings settings);
    ~ScoreServer();
    ScoreServer(const ScoreServer&) = delete;
    ScoreServer& operator=(const ScoreServer&) = delete;

    // Opens the database (creating or migrating it) and binds the address. False with `error` set.
    bool Start(std::string& error);
    // Serves until Stop; false when the listening socket fails.
    bool Run();
    void Stop();
    int Port() const { return port_; }

  private:
    void Route();
    void Publish(const httplib::Request& request, httplib::Response& response);
    void Skill(int skill, const httplib::Request& request, httplib::Response& response);
    void Front(httplib::Response& response);
    void Api(const httplib::Request& request, httplib::Response& response);
    void Refuse(httplib::Response& response, int status, const std::string& title,
                const std::string& sentence);
    std::unique_ptr<Storage> Borrow();
    std::unique_ptr<Storage> OpenStorage(std::string& error);
    void MaintainUntilStopped();
    // Runs `work` while no publish is being stored; those that come meanwhile wait.
    template <typename Work>
    void HoldPublishes(Work work);
    void GiveBack(std::unique_ptr<Storage> storage);
    bool CachedPage(const std::string& key, std::string& html);
    void CachePage(const std::string& key, uint64_t generation, const std::string& html);
    std::string HashedAddress(const std::string& address) const;
    void Log(const httplib::Request& request, const httplib::Response& response) const;

    ServerSettings settings_;
    std::unique_ptr<httplib::Server> http_;
    RateLimiter limiter_;
    std::string frog_;
    uint64_t addressSalt_ = 0;
    int port_ = 0;

    const bool serialWrites_;
    // SQLite's publishes: queued, then stored by one connection in as few transactions as the load
    // allows. Unused for PostgreSQL, where each worker stores its own.
    struct Queued {
        const publish::PublishedResult* result;
        const std::string* name;
        const std::string* digits;
        StoreOutcome outcome{};
        bool ok = false;
        bool done = false;
    };
    bool StoreInTurn(const publish::PublishedResult& result, const std::string& name, const std::string& digits,
                     StoreOutcome& outcome);
    void CommitBatch(const std::vector<Queued*>& batch);
    std::mutex publishMutex_;
    std::condition_variable committed_;
    std::vector<Queued*> queued_;
    bool committing_ = false;
    std::unique_ptr<Storage> publisher_;

    // SQLite's log is folded back into the database every kMaintainMillis on a connection of its own.
    std::unique_ptr<Storage> maintainer_;
    std::mutex maintenanceMutex_;
    std::condition_variable maintenanceWake_;
    bool stopping_ = false;
    std::mutex poolMutex_;
    std::vector<std::unique_ptr<Storage>> pool_;

    // Rendered pages, keyed by path and page; a publish that adds a row bumps the generation, which
    // drops every page rendered before it. Each server process keeps its own: with several processes
    // against one database, a page may lag another process's publish by up to kCacheMillis.
    std::mutex cacheMutex_;
    std::atomic<uint64_t> generation_{0};
    struct CachedEntry {
        uint64_t generation;
        int64_t rendered;
        std::string html;
    };
    std::map<std::string, CachedEntry> cache_;
};

// Pages are served from the cache for at most this long, so other processes' publishes show.
inline constexpr int64_t kCacheMillis = 1000;
inline constexpr int64_t kMaintainMillis = 100;
// A log this long (in pages: 16 MB of 4 KB pages) is made to start again.
inline constexpr int64_t kLongLogFrames = 4096;

}  // namespace scores_server
