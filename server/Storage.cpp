#include "server/Storage.h"

#include "server/PgStorage.h"
#include "server/SqliteStorage.h"

#include <iterator>

namespace scores_server {

std::unique_ptr<Storage> MakeStorage(const std::string& database, std::string& error) {
    if (database.rfind("sqlite:", 0) == 0 && database.size() > 7)
        return std::make_unique<SqliteStorage>(database.substr(7));
    if (database.rfind("postgresql://", 0) == 0 || database.rfind("postgres://", 0) == 0)
        return std::make_unique<PgStorage>(database);
    error = "--database \"" + database + "\": give sqlite:PATH or postgresql://...";
    return nullptr;
}

bool Storage::PageHolding(int64_t id, const Place& place, int64_t perPage, std::vector<ScoreRow>& rows) {
    rows.clear();
    if (perPage <= 0 || place.rank <= 0) return true;
    const int64_t above = (place.rank - 1) % perPage;
    std::vector<ScoreRow> before;
    if (above > 0 && !Neighbours(true, place.skill, place.score, id, above, before)) return false;
    if (!Neighbours(false, place.skill, place.score, id, perPage - above, rows)) return false;
    rows.insert(rows.begin(), std::make_move_iterator(before.rbegin()), std::make_move_iterator(before.rend()));
    return true;
}

bool PlanMigration(int version, bool hasRow, const char* const* migrations, std::vector<std::string>& steps,
                   std::string& error) {
    steps.clear();
    if (version > kSchemaVersion) {
        error = "the database has schema version " + std::to_string(version) +
                ", newer than this program's " + std::to_string(kSchemaVersion);
        return false;
    }
    for (int v = version; v < kSchemaVersion; ++v) steps.emplace_back(migrations[v]);
    if (version != kSchemaVersion) {
        const char* record =
            hasRow ? "UPDATE schema_version SET version = " : "INSERT INTO schema_version VALUES (";
        steps.push_back(record + std::to_string(kSchemaVersion) + (hasRow ? ";" : ");"));
    }
    return true;
}

}  // namespace scores_server
