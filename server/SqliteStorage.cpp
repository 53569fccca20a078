#include "server/SqliteStorage.h"

#include <iterator>
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

    // Tallies of each skill's rows: all of them (width 0) and by score range, 256 and 65 536 scores
    // wide. A place is then a sum over a few hundred tallies at most, plus the rows of one narrow
    // range, instead of a count of every row above. Kept by triggers, so that a row removed by hand
    // is counted out too.
    "CREATE TABLE board_counts ("
    " skill INTEGER NOT NULL, width INTEGER NOT NULL, bucket INTEGER NOT NULL, n INTEGER NOT NULL,"
    " PRIMARY KEY (skill, width, bucket)) WITHOUT ROWID;"
    "INSERT INTO board_counts SELECT skill, 0, 0, count(*) FROM results GROUP BY skill;"
    "INSERT INTO board_counts SELECT skill, 256, score / 256, count(*) FROM results GROUP BY 1, 3;"
    "INSERT INTO board_counts SELECT skill, 65536, score / 65536, count(*) FROM results GROUP BY 1, 3;"
    "CREATE TRIGGER results_counted AFTER INSERT ON results BEGIN"
    " INSERT INTO board_counts VALUES (NEW.skill, 0, 0, 1), (NEW.skill, 256, NEW.score / 256, 1),"
    " (NEW.skill, 65536, NEW.score / 65536, 1) ON CONFLICT DO UPDATE SET n = n + 1;"
    " END;"
    "CREATE TRIGGER results_uncounted AFTER DELETE ON results BEGIN"
    " UPDATE board_counts SET n = n - 1 WHERE skill = OLD.skill AND ((width = 0 AND bucket = 0)"
    " OR (width = 256 AND bucket = OLD.score / 256) OR (width = 65536 AND bucket = OLD.score / 65536));"
    " END;",
};

static_assert(std::size(kMigrations) == kSchemaVersion, "one migration per schema version");

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
    for (sqlite3_stmt* s : {find_, insert_, page_, count_, locate_, remove_}) sqlite3_finalize(s);
    for (sqlite3_stmt* s : neighbours_) sqlite3_finalize(s);
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
    // The log file is cut back to this size whenever it starts again, after a burst of publishes.
    ok = ok && Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;"
                    " PRAGMA journal_size_limit=16777216;");
    // Left to itself, SQLite folds the log back into the file in the commit that fills it, with a
    // sync of both: a pause for whichever publish happens to be that one.
    if (ok && maintainedApart_) sqlite3_wal_autocheckpoint(db_, 0);
    ok = ok && Migrate();
    ok = ok && Prepare("SELECT id FROM results WHERE digits = ?1;", find_);
    ok = ok &&
         Prepare("INSERT INTO results (digits, name, score, skill, published) VALUES (?1, ?2, ?3, ?4, ?5);",
                 insert_);
    ok = ok && Prepare(
                   "SELECT id, name, score, skill, published FROM results WHERE skill = ?1"
                   " ORDER BY score DESC, id LIMIT ?3 OFFSET ?2;",
                   page_);
    ok = ok && Prepare("SELECT coalesce((SELECT n FROM board_counts WHERE skill = ?1 AND width = 0), 0);",
                       count_);
    ok = ok && Prepare(kLocateSql, locate_);
    // Each side of a row is two ranges of the board index, read one after the other: the row's own
    // score first, then the scores beyond it. (Both in one statement made SQLite copy and sort them.)
    const char* const neighbours[] = {
        "score = ?2 AND id < ?3 ORDER BY id DESC",
        "score > ?2 ORDER BY score, id DESC",
        "score = ?2 AND id >= ?3 ORDER BY id",
        "score < ?2 ORDER BY score DESC, id",
    };
    for (int i = 0; ok && i < 4; ++i)
        ok = Prepare((std::string("SELECT id, name, score, skill, published FROM results WHERE skill = ?1 AND ") +
                      neighbours[i] + " LIMIT ?4;")
                         .c_str(),
                     neighbours_[i]);
    ok = ok && Prepare("DELETE FROM results WHERE id = ?1;", remove_);
    if (!ok) error = path_ + ": " + error_;
    return ok;
}

bool SqliteStorage::Begin(bool writes) {
    return Exec(writes ? "BEGIN IMMEDIATE;" : "BEGIN;");
}

bool SqliteStorage::End(bool ok) {
    if (ok) return Exec("COMMIT;");
    const std::string kept = error_;
    Exec("ROLLBACK;");
    error_ = kept;
    return false;
}

int64_t SqliteStorage::Maintain(bool restart) {
    int frames = 0, copied = 0;
    const int mode = restart ? SQLITE_CHECKPOINT_RESTART : SQLITE_CHECKPOINT_PASSIVE;
    if (sqlite3_wal_checkpoint_v2(db_, nullptr, mode, &frames, &copied) != SQLITE_OK) return -1;
    return frames;
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

bool SqliteStorage::ReadRows(sqlite3_stmt* statement, std::vector<ScoreRow>& rows) {
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        ScoreRow row;
        row.id = sqlite3_column_int64(statement, 0);
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
        row.name.assign(text ? text : "", static_cast<size_t>(sqlite3_column_bytes(statement, 1)));
        row.score = sqlite3_column_int(statement, 2);
        row.skill = sqlite3_column_int(statement, 3);
        row.time = sqlite3_column_int64(statement, 4);
        rows.push_back(std::move(row));
    }
    return rc == SQLITE_DONE || Fail("rows");
}

bool SqliteStorage::Page(int skill, int64_t offset, int64_t limit, std::vector<ScoreRow>& rows) {
    Reset reset{page_};
    sqlite3_bind_int(page_, 1, skill);
    sqlite3_bind_int64(page_, 2, offset);
    sqlite3_bind_int64(page_, 3, limit);
    rows.clear();
    return ReadRows(page_, rows);
}

bool SqliteStorage::Neighbours(bool ahead, int skill, int32_t score, int64_t id, int64_t limit,
                               std::vector<ScoreRow>& rows) {
    rows.clear();
    for (int range = ahead ? 0 : 2, end = range + 2; range < end; ++range) {
        const int64_t wanted = limit - static_cast<int64_t>(rows.size());
        if (wanted <= 0) break;
        sqlite3_stmt* statement = neighbours_[range];
        Reset reset{statement};
        sqlite3_bind_int(statement, 1, skill);
        sqlite3_bind_int(statement, 2, score);
        sqlite3_bind_int64(statement, 3, id);
        sqlite3_bind_int64(statement, 4, wanted);
        if (!ReadRows(statement, rows)) return false;
    }
    return true;
}

bool SqliteStorage::Count(int skill, int64_t& count) {
    Reset reset{count_};
    sqlite3_bind_int(count_, 1, skill);
    if (sqlite3_step(count_) != SQLITE_ROW) return Fail("count");
    count = sqlite3_column_int64(count_, 0);
    return true;
}

bool SqliteStorage::Locate(int64_t id, Place& place) {
    Reset reset{locate_};
    sqlite3_bind_int64(locate_, 1, id);
    if (sqlite3_step(locate_) != SQLITE_ROW) {
        error_ = "no result with id " + std::to_string(id);
        return false;
    }
    place.skill = sqlite3_column_int(locate_, 0);
    place.score = sqlite3_column_int(locate_, 1);
    place.rank = sqlite3_column_int64(locate_, 2);
    place.total = sqlite3_column_int64(locate_, 3);
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
