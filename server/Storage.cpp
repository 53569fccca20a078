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

}  // namespace scores_server
