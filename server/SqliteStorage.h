#pragma once
#include <sqlite3.h>

#include <string>

#include "server/Storage.h"

namespace scores_server {

// The default store: one SQLite file in WAL mode, so page reads of the other workers go on while one
// publishes. Each worker opens its own connection; writers wait for each other through the busy timeout.
class SqliteStorage : public Storage {
  public:
    explicit SqliteStorage(std::string path);
    ~SqliteStorage() override;
    SqliteStorage(const SqliteStorage&) = delete;
    SqliteStorage& operator=(const SqliteStorage&) = delete;

    bool Open(std::string& error) override;
    bool Store(const publish::PublishedResult& result, const std::string& nameUtf8, const std::string& digits,
               int64_t now, StoreOutcome& outcome) override;
    bool Page(int skill, int64_t offset, int64_t limit, std::vector<ScoreRow>& rows) override;
    bool Count(int skill, int64_t& count) override;
    bool Locate(int64_t id, Place& place) override;
    bool Remove(int64_t id) override;
    std::string LastError() const override { return error_; }
    void LeaveMaintenanceToCaller() override { maintainedApart_ = true; }
    int64_t Maintain(bool restart) override;

  protected:
    bool Begin(bool writes) override;
    bool End(bool ok) override;
    bool Neighbours(bool ahead, int skill, int32_t score, int64_t id, int64_t limit,
                    std::vector<ScoreRow>& rows) override;

  private:
    // Appends the rows a statement gives, in Page's columns.
    bool ReadRows(sqlite3_stmt* statement, std::vector<ScoreRow>& rows);
    bool Exec(const char* sql);
    bool Prepare(const char* sql, sqlite3_stmt*& statement);
    bool Migrate();
    bool Fail(const char* what);

    std::string path_;
    std::string error_;
    sqlite3* db_ = nullptr;
    bool maintainedApart_ = false;
    sqlite3_stmt* find_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    sqlite3_stmt* page_ = nullptr;
    sqlite3_stmt* count_ = nullptr;
    sqlite3_stmt* locate_ = nullptr;
    // The ranges beside a row: above it at its own score, above it, from it at its score, below it.
    sqlite3_stmt* neighbours_[4] = {nullptr, nullptr, nullptr, nullptr};
    sqlite3_stmt* remove_ = nullptr;
};

}  // namespace scores_server
