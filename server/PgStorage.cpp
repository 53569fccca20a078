#include "server/PgStorage.h"

#include <cstdlib>
#include <memory>
#include <iterator>
#include <utility>
#include <vector>

namespace scores_server {
namespace {

// The same schema as the SQLite store's, version for version, in PostgreSQL's types.
const char* const kMigrations[] = {
    "CREATE TABLE results ("
    " id BIGSERIAL PRIMARY KEY,"
    " digits TEXT NOT NULL UNIQUE,"
    " name TEXT NOT NULL,"
    " score INTEGER NOT NULL,"
    " skill INTEGER NOT NULL,"
    " published BIGINT NOT NULL,"
    " seed BIGINT,"
    " input_log BYTEA);"
    "CREATE INDEX results_board ON results (skill, score DESC, id);",

    // Each skill's tallies, as in the SQLite store: all rows (width 0) and by score ranges 256 and
    // 65 536 wide, kept by a trigger. Every insert takes the rows it counts in the same order, so two
    // publishes at once wait for each other rather than deadlock.
    "CREATE TABLE board_counts ("
    " skill INTEGER NOT NULL, width INTEGER NOT NULL, bucket INTEGER NOT NULL, n BIGINT NOT NULL,"
    " PRIMARY KEY (skill, width, bucket));"
    "INSERT INTO board_counts SELECT skill, 0, 0, count(*) FROM results GROUP BY skill;"
    "INSERT INTO board_counts SELECT skill, 256, score / 256, count(*) FROM results GROUP BY 1, 3;"
    "INSERT INTO board_counts SELECT skill, 65536, score / 65536, count(*) FROM results GROUP BY 1, 3;"
    "CREATE FUNCTION results_count() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN"
    " IF TG_OP = 'INSERT' THEN"
    "  INSERT INTO board_counts VALUES (NEW.skill, 0, 0, 1), (NEW.skill, 256, NEW.score / 256, 1),"
    "  (NEW.skill, 65536, NEW.score / 65536, 1)"
    "  ON CONFLICT (skill, width, bucket) DO UPDATE SET n = board_counts.n + 1;"
    "  RETURN NEW;"
    " END IF;"
    " UPDATE board_counts SET n = n - 1 WHERE skill = OLD.skill AND ((width = 0 AND bucket = 0)"
    "  OR (width = 256 AND bucket = OLD.score / 256) OR (width = 65536 AND bucket = OLD.score / 65536));"
    " RETURN OLD;"
    " END $$;"
    "CREATE TRIGGER results_counted AFTER INSERT OR DELETE ON results"
    " FOR EACH ROW EXECUTE FUNCTION results_count();",
};

static_assert(std::size(kMigrations) == kSchemaVersion, "one migration per schema version");

// Any number constant; every server process migrating takes this lock, so only one migrates.
constexpr const char* kMigrationLock = "SELECT pg_advisory_xact_lock(7300123);";

struct ResultDeleter {
    void operator()(PGresult* r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

}  // namespace

PgStorage::PgStorage(std::string conninfo) : conninfo_(std::move(conninfo)) {}

PgStorage::~PgStorage() {
    PQfinish(db_);
}

bool PgStorage::Fail(const char* what) {
    error_ = std::string(what) + ": " + (db_ ? PQerrorMessage(db_) : "no connection");
    while (!error_.empty() && error_.back() == '\n') error_.pop_back();
    return false;
}

bool PgStorage::Exec(const char* sql) {
    Result r(PQexec(db_, sql));
    const ExecStatusType status = PQresultStatus(r.get());
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || Fail("exec");
}

bool PgStorage::Prepare(const char* name, const char* sql, int parameters) {
    Result r(PQprepare(db_, name, sql, parameters, nullptr));
    return PQresultStatus(r.get()) == PGRES_COMMAND_OK || Fail(name);
}

PGresult* PgStorage::Run(const char* name, std::initializer_list<std::string> parameters) {
    std::vector<const char*> values;
    for (const std::string& p : parameters) values.push_back(p.c_str());
    PGresult* r =
        PQexecPrepared(db_, name, static_cast<int>(values.size()), values.data(), nullptr, nullptr, 0);
    const ExecStatusType status = PQresultStatus(r);
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return r;
    Fail(name);
    PQclear(r);
    return nullptr;
}

bool PgStorage::Migrate() {
    if (!Exec("BEGIN;") || !Exec(kMigrationLock)) return false;
    bool ok = Exec("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL);");
    int version = 0;
    bool hasRow = false;
    if (ok) {
        Result r(PQexec(db_, "SELECT version FROM schema_version;"));
        ok = PQresultStatus(r.get()) == PGRES_TUPLES_OK || Fail("version");
        if (ok && PQntuples(r.get()) > 0) {
            version = std::atoi(PQgetvalue(r.get(), 0, 0));
            hasRow = true;
        }
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

bool PgStorage::Open(std::string& error) {
    db_ = PQconnectdb(conninfo_.c_str());
    bool ok = PQstatus(db_) == CONNECTION_OK || Fail("connect");
    ok = ok && Exec("SET client_min_messages = warning;") && Migrate();
    ok = ok &&
         Prepare("insert",
                 "INSERT INTO results (digits, name, score, skill, published) VALUES ($1, $2, $3, $4, $5)"
                 " ON CONFLICT (digits) DO NOTHING RETURNING id;",
                 5);
    ok = ok && Prepare("find", "SELECT id FROM results WHERE digits = $1;", 1);
    ok = ok && Prepare("page",
                       "SELECT id, name, score, skill, published FROM results WHERE skill = $1"
                       " ORDER BY score DESC, id LIMIT $3 OFFSET $2;",
                       3);
    ok = ok && Prepare("count",
                       "SELECT coalesce((SELECT n FROM board_counts WHERE skill = $1 AND width = 0), 0);", 1);
    ok = ok && Prepare("locate", kLocateSql, 1);
    ok = ok && Prepare("ahead",
                       "SELECT id, name, score, skill, published FROM ("
                       " (SELECT 0 AS part, * FROM results WHERE skill = $1 AND score = $2 AND id < $3"
                       "  ORDER BY id DESC LIMIT $4)"
                       " UNION ALL"
                       " (SELECT 1 AS part, * FROM results WHERE skill = $1 AND score > $2"
                       "  ORDER BY score, id DESC LIMIT $4)) AS near"
                       " ORDER BY part, score, id DESC LIMIT $4;",
                       4);
    ok = ok && Prepare("from",
                       "SELECT id, name, score, skill, published FROM ("
                       " (SELECT 0 AS part, * FROM results WHERE skill = $1 AND score = $2 AND id >= $3"
                       "  ORDER BY id LIMIT $4)"
                       " UNION ALL"
                       " (SELECT 1 AS part, * FROM results WHERE skill = $1 AND score < $2"
                       "  ORDER BY score DESC, id LIMIT $4)) AS near"
                       " ORDER BY part, score DESC, id LIMIT $4;",
                       4);
    ok = ok && Prepare("remove", "DELETE FROM results WHERE id = $1;", 1);
    // The connection string may carry a password: the error names the database by its kind only.
    if (!ok) error = "postgresql: " + error_;
    return ok;
}

bool PgStorage::Store(const publish::PublishedResult& result, const std::string& nameUtf8,
                      const std::string& digits, int64_t now, StoreOutcome& outcome) {
    outcome = StoreOutcome{};
    Result inserted(Run("insert", {digits, nameUtf8, std::to_string(result.score),
                                   std::to_string(result.skill), std::to_string(now)}));
    if (!inserted) return false;
    if (PQntuples(inserted.get()) == 1) {
        outcome.id = std::atoll(PQgetvalue(inserted.get(), 0, 0));
        outcome.added = true;
        return true;
    }
    Result found(Run("find", {digits}));
    if (!found) return false;
    if (PQntuples(found.get()) != 1) return Fail("find");
    outcome.id = std::atoll(PQgetvalue(found.get(), 0, 0));
    return true;
}

bool PgStorage::Page(int skill, int64_t offset, int64_t limit, std::vector<ScoreRow>& rows) {
    return ReadRows(Run("page", {std::to_string(skill), std::to_string(offset), std::to_string(limit)}), rows);
}

bool PgStorage::Neighbours(bool ahead, int skill, int32_t score, int64_t id, int64_t limit,
                           std::vector<ScoreRow>& rows) {
    return ReadRows(Run(ahead ? "ahead" : "from", {std::to_string(skill), std::to_string(score),
                                                   std::to_string(id), std::to_string(limit)}),
                    rows);
}

bool PgStorage::ReadRows(PGresult* result, std::vector<ScoreRow>& rows) {
    rows.clear();
    Result r(result);
    if (!r) return false;
    for (int i = 0; i < PQntuples(r.get()); ++i) {
        ScoreRow row;
        row.id = std::atoll(PQgetvalue(r.get(), i, 0));
        row.name.assign(PQgetvalue(r.get(), i, 1), static_cast<size_t>(PQgetlength(r.get(), i, 1)));
        row.score = std::atoi(PQgetvalue(r.get(), i, 2));
        row.skill = std::atoi(PQgetvalue(r.get(), i, 3));
        row.time = std::atoll(PQgetvalue(r.get(), i, 4));
        rows.push_back(std::move(row));
    }
    return true;
}

bool PgStorage::Count(int skill, int64_t& count) {
    Result r(Run("count", {std::to_string(skill)}));
    if (!r || PQntuples(r.get()) != 1) return r ? Fail("count") : false;
    count = std::atoll(PQgetvalue(r.get(), 0, 0));
    return true;
}

bool PgStorage::Locate(int64_t id, Place& place) {
    Result r(Run("locate", {std::to_string(id)}));
    if (!r) return false;
    if (PQntuples(r.get()) != 1) {
        error_ = "no result with id " + std::to_string(id);
        return false;
    }
    place.skill = std::atoi(PQgetvalue(r.get(), 0, 0));
    place.score = std::atoi(PQgetvalue(r.get(), 0, 1));
    place.rank = std::atoll(PQgetvalue(r.get(), 0, 2));
    place.total = std::atoll(PQgetvalue(r.get(), 0, 3));
    return true;
}

bool PgStorage::Remove(int64_t id) {
    Result r(Run("remove", {std::to_string(id)}));
    if (!r) return false;
    if (std::string(PQcmdTuples(r.get())) == "1") return true;
    error_ = "no result with id " + std::to_string(id);
    return false;
}

}  // namespace scores_server
