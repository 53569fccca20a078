#include "server/Storage.h"

#include "server/PgStorage.h"
#include "server/SqliteStorage.h"

namespace scores_server {

std::unique_ptr<Storage> MakeStorage(const std::string& database, std::string& error) {
    if (database.rfind("sqlite:", 0) == 0 && database.size() > 7)
        return std::make_unique<SqliteStorage>(database.substr(7));
    if (database.rfind("postgresql://", 0) == 0 || database.rfind("postgres://", 0) == 0)
        return std::make_unique<PgStorage>(database);
    error = "--database \"" + database + "\": give sqlite:PATH or postgresql://...";
    return nullptr;
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
