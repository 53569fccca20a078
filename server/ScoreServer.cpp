#include "server/ScoreServer.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>
#include <thread>

#include "storage/PublishCodec.h"
#include "server/FrogPicture.h"
#include "server/Pages.h"
#include "server/Text.h"

namespace scores_server {
namespace {

constexpr int64_t kMaxApiLimit = 200;
constexpr int64_t kMaxOffset = 1'000'000'000;
// Longer request targets than this are refused before anything looks at them: a publish link is
// under 400 characters.
constexpr size_t kMaxTarget = 1024;

int64_t NowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

int64_t NowMillis() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A plain decimal number within [low, high], or false.
bool ParseNumber(const std::string& text, int64_t low, int64_t high, int64_t& value) {
    if (text.empty() || text.size() > 10) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value >= low && value <= high;
}

bool KnownPath(const std::string& path) {
    for (const char* p : {"/", "/cgi-bin/gameres.pl", "/api/scores", "/games.html", "/healthz", "/frog.bmp",
                          "/skill/novice", "/skill/expert", "/skill/master"})
        if (path == p) return true;
    return false;
}

const char* StatusTitle(int status) {
    switch (status) {
        case 400:
            return "Bad request";
        case 404:
            return "Not found";
        case 405:
            return "Method not allowed";
        case 429:
            return "Too many publishes";
        default:
            return status >= 500 ? "Server error" : "Error";
    }
}

}  // namespace

ScoreServer::ScoreServer(ServerSettings settings)
    : settings_(std::move(settings)),
      http_(std::make_unique<httplib::Server>()),
      limiter_(settings_.publishesPerMinute),
      serialWrites_(settings_.database.rfind("sqlite:", 0) == 0) {
    std::random_device device;
    addressSalt_ = (static_cast<uint64_t>(device()) << 32) ^ device();
}

ScoreServer::~ScoreServer() = default;

std::unique_ptr<Storage> ScoreServer::Borrow() {
    {
        std::lock_guard lock(poolMutex_);
        if (!pool_.empty()) {
            auto storage = std::move(pool_.back());
            pool_.pop_back();
            return storage;
        }
    }
    std::string error;
    auto storage = OpenStorage(error);
    if (!storage) std::fprintf(stderr, "marshwade-scores: %s\n", error.c_str());
    return storage;
}

std::unique_ptr<Storage> ScoreServer::OpenStorage(std::string& error) {
    auto storage = MakeStorage(settings_.database, error);
    if (!storage) return nullptr;
    storage->LeaveMaintenanceToCaller();
    return storage->Open(error) ? std::move(storage) : nullptr;
}

void ScoreServer::GiveBack(std::unique_ptr<Storage> storage) {
    std::lock_guard lock(poolMutex_);
    pool_.push_back(std::move(storage));
}

bool ScoreServer::Start(std::string& error) {
    auto storage = OpenStorage(error);
    if (!storage) return false;
    if (serialWrites_) {
        publisher_ = std::move(storage);
        if (!(maintainer_ = OpenStorage(error))) return false;
    } else {
        GiveBack(std::move(storage));
    }
    if (!settings_.clipFolder.empty()) frog_ = FrogBmp(settings_.clipFolder);
    const int threads = settings_.threads;
    http_->new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<size_t>(threads)); };
    // Answers are small and written whole: without this, Nagle's wait and the client's delayed
    // acknowledgement add 40 ms to every answer on a kept-alive connection.
    http_->set_tcp_nodelay(true);
    http_->set_keep_alive_max_count(1000);
    Route();
    port_ = settings_.port == 0 ? http_->bind_to_any_port(settings_.host)
                                : (http_->bind_to_port(settings_.host, settings_.port) ? settings_.port : -1);
    if (port_ <= 0) {
        error = "cannot listen on " + settings_.host + ":" + std::to_string(settings_.port);
        return false;
    }
    return true;
}

bool ScoreServer::Run() {
    std::thread maintenance;
    if (maintainer_) maintenance = std::thread([this] { MaintainUntilStopped(); });
    const bool ok = http_->listen_after_bind();
    {
        std::lock_guard lock(maintenanceMutex_);
        stopping_ = true;
    }
    maintenanceWake_.notify_all();
    if (maintenance.joinable()) maintenance.join();
    return ok;
}

void ScoreServer::MaintainUntilStopped() {
    // Most of the log is folded back while the publishes go on, syncs and all. But the log only
    // starts again from its beginning once a fold has caught up with the last write, which under a
    // steady stream of publishes never happens by itself: when the log has grown long, the
    // publishes are held back (they queue, and go in one batch afterwards) for one last fold.
    std::unique_lock lock(maintenanceMutex_);
    while (!maintenanceWake_.wait_for(lock, std::chrono::milliseconds(kMaintainMillis), [this] { return stopping_; })) {
        lock.unlock();
        if (maintainer_->Maintain(false) > kLongLogFrames) HoldPublishes([this] { maintainer_->Maintain(true); });
        lock.lock();
    }
    lock.unlock();
    HoldPublishes([this] { maintainer_->Maintain(true); });
}

template <typename Work>
void ScoreServer::HoldPublishes(Work work) {
    std::unique_lock lock(publishMutex_);
    committed_.wait(lock, [this] { return !committing_; });
    committing_ = true;
    lock.unlock();
    work();
    lock.lock();
    committing_ = false;
    committed_.notify_all();
}

void ScoreServer::Stop() {
    http_->stop();
}

void ScoreServer::Refuse(httplib::Response& response, int status, const std::string& title,
                         const std::string& sentence) {
    response.status = status;
    response.set_content(ErrorPage(status, title, sentence), "text/html; charset=utf-8");
}

void ScoreServer::Route() {
    using httplib::Request;
    using httplib::Response;
    http_->set_pre_routing_handler([this](const Request& request, Response& response) {
        if (request.target.size() > kMaxTarget) {
            Refuse(response, 400, "Bad request", "The address is longer than any this server answers.");
            return httplib::Server::HandlerResponse::Handled;
        }
        if (request.method == "GET" || request.method == "HEAD")
            return httplib::Server::HandlerResponse::Unhandled;
        if (KnownPath(request.path)) {
            response.set_header("Allow", "GET, HEAD");
            Refuse(response, 405, "Method not allowed", "This page is only read, with GET.");
        } else {
            Refuse(response, 404, "Not found", "There is no such page.");
        }
        return httplib::Server::HandlerResponse::Handled;
    });
    http_->set_error_handler([this](const Request&, Response& response) {
        if (response.body.empty())
            Refuse(response, response.status, StatusTitle(response.status),
                   response.status == 404 ? "There is no such page." : "The request could not be answered.");
    });
    http_->set_logger([this](const Request& request, const Response& response) { Log(request, response); });

    http_->Get("/cgi-bin/gameres.pl", [this](const Request& q, Response& r) { Publish(q, r); });
    http_->Get("/", [this](const Request&, Response& r) { Front(r); });
    http_->Get("/skill/novice", [this](const Request& q, Response& r) { Skill(0, q, r); });
    http_->Get("/skill/expert", [this](const Request& q, Response& r) { Skill(1, q, r); });
    http_->Get("/skill/master", [this](const Request& q, Response& r) { Skill(2, q, r); });
    http_->Get("/api/scores", [this](const Request& q, Response& r) { Api(q, r); });
    http_->Get("/games.html", [this](const Request&, Response& r) {
        r.set_content(GamesPage(!frog_.empty()), "text/html; charset=utf-8");
    });
    http_->Get("/healthz", [](const Request&, Response& r) { r.set_content("ok\n", "text/plain"); });
    http_->Get("/frog.bmp", [this](const Request&, Response& r) {
        if (frog_.empty()) {
            r.status = 404;
            return;
        }
        r.set_header("Cache-Control", "max-age=86400");
        r.set_content(frog_, "image/bmp");
    });
}

void ScoreServer::Publish(const httplib::Request& request, httplib::Response& response) {
    if (!limiter_.Allow(request.remote_addr, NowSeconds())) {
        response.set_header("Retry-After", "60");
        Refuse(response, 429, "Too many publishes",
               "Too many results were sent from your address; wait a minute.");
        return;
    }
    if (request.params.size() != 1 || !request.has_param("e")) {
        Refuse(response, 400, "Bad request", "The link carries no result.");
        return;
    }
    const std::string digits = request.get_param_value("e");
    const publish::Decoded decoded = publish::Decode(digits);
    if (!decoded.ok()) {
        Refuse(response, 400, "Bad request", publish::Describe(decoded.error));
        return;
    }
    StoreOutcome outcome;
    Place place;
    std::vector<ScoreRow> rows;
    bool ok = true;
    const std::string name = Windows1252ToUtf8(decoded.result.name);
    auto storage = Borrow();
    if (publisher_) {
        ok = StoreInTurn(decoded.result, name, digits, outcome);
    } else {
        ok = storage && storage->Store(decoded.result, name, digits, NowSeconds(), outcome);
    }
    if (ok && outcome.added) ++generation_;
    // One read transaction: the place and the page are those of one state of the board.
    ok = ok && storage && storage->InTransaction(false, [&] {
        return storage->Locate(outcome.id, place) && storage->PageHolding(outcome.id, place, kRowsPerPage, rows);
    });
    if (!ok && storage) std::fprintf(stderr, "marshwade-scores: publish: %s\n", storage->LastError().c_str());
    if (!ok) {
        Refuse(response, 500, "Server error", "The result could not be stored; please try again later.");
    } else {
        const int64_t page = (place.rank - 1) / kRowsPerPage + 1;
        const std::string banner = "You are " + Ordinal(place.rank) + " of " + Grouped(place.total) + " at " +
                                   SkillName(place.skill) +
                                   (outcome.added ? "." : " (this result was sent before).");
        response.set_content(
            LeaderboardPage(place.skill, page, place.total, rows, outcome.id, banner, !frog_.empty()),
            "text/html; charset=utf-8");
    }
    if (storage) GiveBack(std::move(storage));
}

bool ScoreServer::StoreInTurn(const publish::PublishedResult& result, const std::string& name,
                              const std::string& digits, StoreOutcome& outcome) {
    // SQLite takes one writer at a time and makes the others sleep and retry. This process's
    // publishes queue here instead, and whoever finds no commit under way stores everything queued
    // in one transaction: a commit writes the same few pages whether it holds one row or four, and
    // under load most publishes then wait for one commit instead of one each.
    Queued mine{&result, &name, &digits};
    std::unique_lock lock(publishMutex_);
    queued_.push_back(&mine);
    while (!mine.done) {
        if (committing_) {
            committed_.wait(lock);
            continue;
        }
        committing_ = true;
        std::vector<Queued*> batch;
        batch.swap(queued_);
        lock.unlock();
        CommitBatch(batch);
        lock.lock();
        for (Queued* q : batch) q->done = true;
        committing_ = false;
        committed_.notify_all();
    }
    outcome = mine.outcome;
    return mine.ok;
}

void ScoreServer::CommitBatch(const std::vector<Queued*>& batch) {
    auto storeOne = [this](Queued& q) {
        q.ok = publisher_->Store(*q.result, *q.name, *q.digits, NowSeconds(), q.outcome);
        return q.ok;
    };
    const bool together = publisher_->InTransaction(true, [&] {
        for (Queued* q : batch)
            if (!storeOne(*q)) return false;
        return true;
    });
    if (together) return;
    // Something in the batch failed and it was rolled back whole: each again on its own, so that
    // one bad moment fails only the publish it hit.
    std::fprintf(stderr, "marshwade-scores: publish: %s\n", publisher_->LastError().c_str());
    for (Queued* q : batch)
        if (!storeOne(*q)) std::fprintf(stderr, "marshwade-scores: publish: %s\n", publisher_->LastError().c_str());
}

bool ScoreServer::CachedPage(const std::string& key, std::string& html) {
    std::lock_guard lock(cacheMutex_);
    const auto it = cache_.find(key);
    if (it == cache_.end() || it->second.generation != generation_ ||
        NowMillis() - it->second.rendered > kCacheMillis)
        return false;
    html = it->second.html;
    return true;
}

void ScoreServer::CachePage(const std::string& key, uint64_t generation, const std::string& html) {
    std::lock_guard lock(cacheMutex_);
    // Only the first pages of each skill are worth holding; deep pages are rare and would let the
    // cache grow with the table.
    if (cache_.size() > 64) cache_.clear();
    cache_[key] = CachedEntry{generation, NowMillis(), html};
}

void ScoreServer::Skill(int skill, const httplib::Request& request, httplib::Response& response) {
    int64_t page = 1;
    for (const auto& [key, value] : request.params) {
        if (key != "page" || !ParseNumber(value, 1, kMaxOffset / kRowsPerPage, page)) {
            Refuse(response, 400, "Bad request", "Pages are asked for as ?page=1, ?page=2 ...");
            return;
        }
    }
    const std::string key = std::string(SkillSlug(skill)) + "/" + std::to_string(page);
    std::string html;
    if (!CachedPage(key, html)) {
        const uint64_t generation = generation_;
        auto storage = Borrow();
        std::vector<ScoreRow> rows;
        int64_t total = 0;
        const bool ok = storage && storage->Count(skill, total) &&
                        storage->Page(skill, (page - 1) * kRowsPerPage, kRowsPerPage, rows);
        if (storage) GiveBack(std::move(storage));
        if (!ok) {
            Refuse(response, 500, "Server error", "The leaderboard cannot be read just now.");
            return;
        }
        html = LeaderboardPage(skill, page, total, rows, 0, "", !frog_.empty());
        if (page <= 4) CachePage(key, generation, html);
    }
    response.set_content(html, "text/html; charset=utf-8");
}

void ScoreServer::Front(httplib::Response& response) {
    std::string html;
    if (!CachedPage("front", html)) {
        const uint64_t generation = generation_;
        auto storage = Borrow();
        std::vector<ScoreRow> best[3];
        int64_t totals[3] = {0, 0, 0};
        bool ok = storage != nullptr;
        for (int s = 0; ok && s < 3; ++s)
            ok = storage->Count(s, totals[s]) && storage->Page(s, 0, 10, best[s]);
        if (storage) GiveBack(std::move(storage));
        if (!ok) {
            Refuse(response, 500, "Server error", "The leaderboards cannot be read just now.");
            return;
        }
        html = FrontPage(best, totals, !frog_.empty());
        CachePage("front", generation, html);
    }
    response.set_content(html, "text/html; charset=utf-8");
}

void ScoreServer::Api(const httplib::Request& request, httplib::Response& response) {
    int64_t skill = -1, offset = 0, limit = kRowsPerPage;
    bool ok = true;
    for (const auto& [key, value] : request.params) {
        if (key == "skill")
            ok = ok && ParseNumber(value, 0, 2, skill);
        else if (key == "offset")
            ok = ok && ParseNumber(value, 0, kMaxOffset, offset);
        else if (key == "limit")
            ok = ok && ParseNumber(value, 1, kMaxApiLimit, limit);
        else
            ok = false;
    }
    if (!ok || skill < 0) {
        response.status = 400;
        response.set_content("{\"error\":\"skill=0|1|2 is needed; offset >= 0; limit 1 to 200\"}\n",
                             "application/json");
        return;
    }
    auto storage = Borrow();
    std::vector<ScoreRow> rows;
    ok = storage && storage->Page(static_cast<int>(skill), offset, limit, rows);
    if (storage) GiveBack(std::move(storage));
    if (!ok) {
        response.status = 500;
        response.set_content("{\"error\":\"the scores cannot be read just now\"}\n", "application/json");
        return;
    }
    std::string json = "[";
    for (const ScoreRow& row : rows) {
        if (json.size() > 1) json += ",";
        json += "{\"id\":" + std::to_string(row.id) + ",\"name\":\"" + JsonEscape(row.name) +
                "\",\"score\":" + std::to_string(row.score) + ",\"skill\":" + std::to_string(row.skill) +
                ",\"time\":" + std::to_string(row.time) + "}";
    }
    response.set_content(json + "]\n", "application/json");
}

std::string ScoreServer::HashedAddress(const std::string& address) const {
    // FNV-1a over a salt drawn at start: lines of one run can be told apart by address, but an address
    // cannot be recovered from a log, nor matched across runs.
    uint64_t hash = 0xcbf29ce484222325ull ^ addressSalt_;
    for (char c : address) {
        hash ^= static_cast<uint8_t>(c);
        hash *= 0x100000001b3ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%012llx", static_cast<unsigned long long>(hash & 0xFFFFFFFFFFFFull));
    return text;
}

void ScoreServer::Log(const httplib::Request& request, const httplib::Response& response) const {
    // The path only: a publish's query carries the player's name.
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%SZ", &utc);
    // Cut and made printable, so that no request can write a line of its own into the log.
    auto printable = [](const std::string& text) {
        std::string out = text.substr(0, 64);
        for (char& c : out)
            if (static_cast<unsigned char>(c) <= ' ' || static_cast<unsigned char>(c) >= 0x7F) c = '?';
        return out;
    };
    std::fprintf(stderr, "%s %s %s %s %d %zu\n", when, HashedAddress(request.remote_addr).c_str(),
                 printable(request.method).c_str(), printable(request.path).c_str(), response.status,
                 response.body.size());
}

}  // namespace scores_server
