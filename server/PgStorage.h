#pragma once
#include <libpq-fe.h>

#include <string>

#include "server/Storage.h"

namespace scores_server {

// The shared store: one PostgreSQL database behind any number of server processes. The same tables and
// version as the SQLite store; the statements are prepared once per connection.
class PgStorage : public Storage {
  public:
    explicit PgStorage(std::string conninfo);
    ~PgStorage() override;
    PgStorage(const PgStorage&) = delete;
    PgStorage& operator=(const PgStorage&) = delete;

    bool Open(std::string& error) override;
    bool Store(const publish::PublishedResult& result, const std::string& nameUtf8, const std::string& digits,
               int64_t now, StoreOutcome& outcome) override;
    bool Page(int skill, int64_t offset, int64_t limit, std::vector<ScoreRow>& rows) override;
    bool Count(int skill, int64_t& count) override;
    bool Locate(int64_t id, Place& place) override;
    bool Remove(int64_t id) override;
    std::string LastError() const override { return error_; }

  protected:
    bool Neighbours(bool ahead, int skill, int32_t score, int64_t id, int64_t limit,
                    std::vector<ScoreRow>& rows) override;

  private:
    // The rows of a result from Page's columns; takes `result`, which may be null after an error.
    bool ReadRows(PGresult* result, std::vector<ScoreRow>& rows);
    bool Exec(const char* sql);
    bool Migrate();
    bool Prepare(const char* name, const char* sql, int parameters);
    // Runs a prepared statement with text parameters; null (error_ set) unless it succeeded.
    PGresult* Run(const char* name, std::initializer_list<std::string> parameters);
    bool Fail(const char* what);

    std::string conninfo_;
    std::string error_;
    PGconn* db_ = nullptr;
};

}  // namespace scores_server
