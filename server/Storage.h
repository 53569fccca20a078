#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "storage/PublishCodec.h"

namespace scores_server {

// One stored result. The name is UTF-8 (converted from the game's code page when it was stored).
struct ScoreRow {
    int64_t id = 0;
    std::string name;
    int32_t score = 0;
    int skill = 0;     // 0 Novice, 1 Expert, 2 Master
    int64_t time = 0;  // seconds since 1970, when it was first published
};

// What storing a publish did: the row's id and whether it is new.
struct StoreOutcome {
    int64_t id = 0;
    bool added = false;
};

// Where one row stands on its board: its skill and score, its 1-based place in the order Page gives,
// and how many rows the board holds.
struct Place {
    int skill = 0;
    int32_t score = 0;
    int64_t rank = 0;
    int64_t total = 0;
};

// The score store behind the server: one interface, an SQLite and a PostgreSQL backend. Every
// statement is prepared; the schema is created and migrated by Open, recorded in a version table.
//
// A result is identified by its digits: the same digits published again find the row they stored the
// first time. The schema keeps room for what a later verification needs (a seed and an input log per
// row) without any of it being filled today.
//
// Threads: one Storage object is used by one thread at a time; the server holds one per worker.
class Storage {
  public:
    virtual ~Storage() = default;

    // Creates or migrates the schema. False with `error` set when the database cannot be used.
    virtual bool Open(std::string& error) = 0;
    // Stores a decoded result unless its digits are stored already. False on a database error.
    virtual bool Store(const publish::PublishedResult& result, const std::string& nameUtf8,
                       const std::string& digits, int64_t now, StoreOutcome& outcome) = 0;
    // The rows of a skill, best first (equal scores: the earlier first), from `offset`, at most `limit`.
    virtual bool Page(int skill, int64_t offset, int64_t limit, std::vector<ScoreRow>& rows) = 0;
    virtual bool Count(int skill, int64_t& count) = 0;
    // Where row `id` stands. Counted from per-skill tallies of score ranges that the database keeps
    // beside the rows, so that it costs about the same on a board of ten rows and of ten million.
    virtual bool Locate(int64_t id, Place& place) = 0;
    // The page of `perPage` rows (in Page's order) that holds row `id` standing at `place`. Read from
    // the row outwards rather than by an offset, which would walk every row above it.
    bool PageHolding(int64_t id, const Place& place, int64_t perPage, std::vector<ScoreRow>& rows);
    // Removes one row; false when there is no such row or on a database error.
    virtual bool Remove(int64_t id) = 0;
    virtual std::string LastError() const = 0;

    // Runs `work` as one transaction where that is cheaper than one per statement (SQLite), or as it
    // comes; `writes` when it will write, so that it takes the write lock at once. False when `work`
    // or the transaction fails.
    template <typename Work>
    bool InTransaction(bool writes, Work work) {
        if (!Begin(writes)) return false;
        const bool ok = work();
        return End(ok) && ok;
    }

    // Before Open: the caller folds the write-ahead log back into the database itself, by calling
    // Maintain away from the requests, so that no publish waits for it. No effect for PostgreSQL.
    virtual void LeaveMaintenanceToCaller() {}
    // Folds back what it can without waiting for anyone; with `restart`, also waits for the readers
    // so that the next write starts the log again from its beginning, which needs no writer to write
    // meanwhile. The frames left in the log, 0 when there is none.
    virtual int64_t Maintain(bool /*restart*/) { return 0; }

  protected:
    virtual bool Begin(bool /*writes*/) { return true; }
    // Commits when `ok`, otherwise rolls back.
    virtual bool End(bool ok) { return ok; }

    // Up to `limit` rows of a skill next to the row (score, id) in board order, nearest first: with
    // `ahead`, the rows above it; otherwise the row itself and those below it.
    virtual bool Neighbours(bool ahead, int skill, int32_t score, int64_t id, int64_t limit,
                            std::vector<ScoreRow>& rows) = 0;
};

// Where the row $1 stands, for both backends (SQLite reads $1 as a named parameter, the first): its
// skill, its score, its place and the board's total. Above it: the wide score ranges above its own,
// the narrow ranges above its own within that, the rows above it in its narrow range, and the rows of
// its score published before it.
inline constexpr const char* kLocateSql =
    "SELECT r.skill, r.score, 1"
    " + (SELECT coalesce(sum(n), 0) FROM board_counts WHERE skill = r.skill AND width = 65536"
    "    AND bucket > r.score / 65536)"
    " + (SELECT coalesce(sum(n), 0) FROM board_counts WHERE skill = r.skill AND width = 256"
    "    AND bucket > r.score / 256 AND bucket < (r.score / 65536 + 1) * 256)"
    " + (SELECT count(*) FROM results o WHERE o.skill = r.skill AND o.score > r.score"
    "    AND o.score < (r.score / 256 + 1) * 256)"
    " + (SELECT count(*) FROM results o WHERE o.skill = r.skill AND o.score = r.score AND o.id < r.id),"
    " coalesce((SELECT n FROM board_counts WHERE skill = r.skill AND width = 0), 0)"
    " FROM results r WHERE r.id = $1;";

// The schema version this program writes; Open migrates older databases up to it.
inline constexpr int kSchemaVersion = 2;

// What takes a database from `version` (recorded in schema_version when `hasRow`) to kSchemaVersion:
// the backend's migrations still to run, then the statement that records the new version. Both
// backends run the same steps in their own transaction. False with `error` set for a database newer
// than this program, which must not be touched.
bool PlanMigration(int version, bool hasRow, const char* const* migrations, std::vector<std::string>& steps,
                   std::string& error);

// A new, unopened store for a --database value: "sqlite:PATH" or "postgresql://...". Null with `error`
// set for anything else.
std::unique_ptr<Storage> MakeStorage(const std::string& database, std::string& error);

}  // namespace scores_server
