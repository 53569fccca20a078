#include "server/SqliteStorage.h"

#include <utility>

namespace scores_server {
namespace {

// Migrations in order: entry i takes the schema from version i to i + 1. Never edit one that has
// shipped; add the next. The seed and input columns wait for results verified by a replay.
const char* const kMigrations[] = {
    "CREATE TABLE results ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " digits TEXT NOT NULL UNIQUE,"
    " name TEXT NOT NULL,"
    " score INTEGER NOT NULL,"
    " skill INTEGER NOT NULL,"
    " published INTEGER NOT NULL,"
    " seed INTEGER,"
    " input_log BLOB);"
    "CREATE INDEX results_board ON results (skill, score DESC, id);",
};

// Keeps a prepared statement's bindings for one use only.
struct Reset {
    sqlite3_stmt* statement;
    ~Reset() {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    }
};

}  // namespace

SqliteStorage::SqliteStorage(std::string path) : path_(std::move(path)) {}

SqliteStorage::~SqliteStorage() {
    for (sqlite3_stmt* s : {find_, insert_, page_, count_, rank_, remove_}) sqlite3_finalize(s);
    sqlite3_close(db_);
}

bool SqliteStorage::Fail(const char* what) {
    error_ = std::string(what) + ": " + (db_ ? sqlite3_errmsg(db_) : "no database");
    return false;
}

bool SqliteStorage::Exec(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
    error_ = message ? message : "sqlite3_exec failed";
    sqlite3_free(message);
    return false;
}

bool SqliteStorage::Prepare(const char* sql, sqlite3_stmt*& statement) {
    if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) == SQLITE_OK)
        return true;
    return Fail("prepare");
}

bool SqliteStorage::Migrate() {
    if (!Exec("BEGIN IMMEDIATE;")) return false;
    bool ok = Exec("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL);");
    sqlite3_stmt* read = nullptr;
    int version = 0;
    bool hasRow = false;
    if (ok && (ok = Prepare("SELECT version FROM schema_version;", read))) {
        if (sqlite3_step(read) == SQLITE_ROW) {
            version = sqlite3_column_int(read, 0);
            hasRow = true;
        }
        sqlite3_finalize(read);
    }
    std::vector<std::string> steps;
    ok = ok && PlanMigration(version, hasRow, kMigrations, steps, error_);
    for (size_t i = 0; ok && i < steps.size(); ++i) ok = Exec(steps[i].c_str());
    if (!ok) {
        const std::string kept = error_;
        Exec("ROLLBACK;");
        error_ = kept;
        return false;
    }
    return Exec("COMMIT;");
}

bool SqliteStorage::Open(std::string& error) {
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    bool ok = sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr) == SQLITE_OK || Fail("open");
    ok = ok && sqlite3_busy_timeout(db_, 5000) == SQLITE_OK;
    ok = ok && Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;");
    ok = ok && Migrate();
    ok = ok && Prepare("SELECT id FROM results WHERE digits = ?1;", find_);
    ok = ok &&
         Prepare("INSERT INTO results (digits, name, score, skill, published) VALUES (?1, ?2, ?3, ?4, ?5);",
                 insert_);
    ok = ok && Prepare(
                   "SELECT id, name, score, skill, published FROM results WHERE skill = ?1"
                   " ORDER BY score DESC, id LIMIT ?3 OFFSET ?2;",
                   page_);
    ok = ok && Prepare("SELECT count(*) FROM results WHERE skill = ?1;", count_);
    ok = ok &&
         // Two counts rather than one with an OR: each is a range of the board index, where the
         // OR made SQLite walk every row of the skill on every publish.
         Prepare(
             "SELECT r.skill,"
             " (SELECT count(*) FROM results o WHERE o.skill = r.skill AND o.score > r.score) +"
             " (SELECT count(*) FROM results o WHERE o.skill = r.skill AND o.score = r.score AND o.id <= r.id)"
             " FROM results r WHERE r.id = ?1;",
             rank_);
    ok = ok && Prepare("DELETE FROM results WHERE id = ?1;", remove_);
    if (!ok) error = path_ + ": " + error_;
    return ok;
}

bool SqliteStorage::Store(const publish::PublishedResult& result, const std::string& nameUtf8,
                          const std::string& digits, int64_t now, StoreOutcome& outcome) {
    outcome = StoreOutcome{};
    // The insert decides: a second publish of the same digits loses on the unique key and finds the
    // first row, so two workers storing the same result at once still store it once.
    {
        Reset reset{insert_};
        sqlite3_bind_text(insert_, 1, digits.data(), static_cast<int>(digits.size()), SQLITE_STATIC);
        sqlite3_bind_text(insert_, 2, nameUtf8.data(), static_cast<int>(nameUtf8.size()), SQLITE_STATIC);
        sqlite3_bind_int(insert_, 3, result.score);
        sqlite3_bind_int(insert_, 4, result.skill);
        sqlite3_bind_int64(insert_, 5, now);
        const int rc = sqlite3_step(insert_);
        if (rc == SQLITE_DONE) {
            outcome.id = sqlite3_last_insert_rowid(db_);
            outcome.added = true;
            return true;
        }
        if (sqlite3_extended_errcode(db_) != SQLITE_CONSTRAINT_UNIQUE) return Fail("insert");
    }
    Reset reset{find_};
    sqlite3_bind_text(find_, 1, digits.data(), static_cast<int>(digits.size()), SQLITE_STATIC);
    if (sqlite3_step(find_) != SQLITE_ROW) return Fail("find");
    outcome.id = sqlite3_column_int64(find_, 0);
    return true;
}

bool SqliteStorage::Page(int skill, int64_t offset, int64_t limit, std::vector<ScoreRow>& rows) {
    rows.clear();
    Reset reset{page_};
    sqlite3_bind_int(page_, 1, skill);
    sqlite3_bind_int64(page_, 2, offset);
    sqlite3_bind_int64(page_, 3, limit);
    int rc;
    while ((rc = sqlite3_step(page_)) == SQLITE_ROW) {
        ScoreRow row;
        row.id = sqlite3_column_int64(page_, 0);
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(page_, 1));
        row.name.assign(text ? text : "", static_cast<size_t>(sqlite3_column_bytes(page_, 1)));
        row.score = sqlite3_column_int(page_, 2);
        row.skill = sqlite3_column_int(page_, 3);
        row.time = sqlite3_column_int64(page_, 4);
        rows.push_back(std::move(row));
    }
    return rc == SQLITE_DONE || Fail("page");
}

bool SqliteStorage::Count(int skill, int64_t& count) {
    Reset reset{count_};
    sqlite3_bind_int(count_, 1, skill);
    if (sqlite3_step(count_) != SQLITE_ROW) return Fail("count");
    count = sqlite3_column_int64(count_, 0);
    return true;
}

bool SqliteStorage::Rank(int64_t id, int64_t& rank, int& skill) {
    Reset reset{rank_};
    sqlite3_bind_int64(rank_, 1, id);
    if (sqlite3_step(rank_) != SQLITE_ROW) return Fail("rank");
    skill = sqlite3_column_int(rank_, 0);
    rank = sqlite3_column_int64(rank_, 1);
    return true;
}

bool SqliteStorage::Remove(int64_t id) {
    Reset reset{remove_};
    sqlite3_bind_int64(remove_, 1, id);
    if (sqlite3_step(remove_) != SQLITE_DONE) return Fail("remove");
    if (sqlite3_changes(db_) == 1) return true;
    error_ = "no result with id " + std::to_string(id);
    return false;
}

}  // namespace scores_server
