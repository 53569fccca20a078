#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "server/Storage.h"

// The score store through its real backends: SQLite in a fresh folder, or (built with
// MARSHWADE_TEST_POSTGRESQL) the cluster pg_virtualenv starts around the run. Places and pages come
// from tallies of score ranges; every case here is checked against the whole board sorted in memory.
namespace {

namespace fs = std::filesystem;
using scores_server::Place;
using scores_server::ScoreRow;
using scores_server::Storage;

class StorageTest : public ::testing::Test {
  protected:
    void SetUp() override {
#ifdef MARSHWADE_TEST_POSTGRESQL
        ASSERT_NE(std::getenv("PGPORT"), nullptr) << "run under pg_virtualenv";
        database_ = "postgresql://";
        ASSERT_TRUE(Sql("DROP TABLE IF EXISTS results, schema_version, board_counts CASCADE;"
                        " DROP FUNCTION IF EXISTS results_count CASCADE;"));
#else
        folder_ = fs::temp_directory_path() / ("marshwade-storage-test-" + std::to_string(getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        database_ = "sqlite:" + (folder_ / "scores.db").string();
#endif
    }
    void TearDown() override {
        storage_.reset();
        if (!folder_.empty()) fs::remove_all(folder_);
    }

    // Statements run beside the store, as an operator's own tool would.
    bool Sql(const std::string& sql) {
#ifdef MARSHWADE_TEST_POSTGRESQL
        const std::string command = "psql -q -v ON_ERROR_STOP=1 -c \"" + sql + "\" >/dev/null 2>&1";
        return std::system(command.c_str()) == 0;
#else
        sqlite3* db = nullptr;
        bool ok = sqlite3_open((folder_ / "scores.db").c_str(), &db) == SQLITE_OK &&
                  sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
        return ok;
#endif
    }

    void Open() {
        std::string error;
        storage_ = scores_server::MakeStorage(database_, error);
        ASSERT_TRUE(storage_ && storage_->Open(error)) << error;
    }

    void Add(int32_t score, int skill) {
        publish::PublishedResult result;
        result.score = score;
        result.skill = skill;
        scores_server::StoreOutcome outcome;
        const std::string name = "R" + std::to_string(expected_[skill].size() + 1000 * skill);
        ASSERT_TRUE(storage_->Store(result, name, "digits-" + name, 0, outcome)) << storage_->LastError();
        ASSERT_TRUE(outcome.added);
        expected_[skill].push_back({outcome.id, score});
    }

    // Every row's place and page, and each board's count, against the board sorted in memory.
    void ExpectBoardsAgree(int64_t perPage) {
        for (auto& [skill, board] : expected_) {
            std::sort(board.begin(), board.end(), [](const Row& a, const Row& b) {
                return a.score != b.score ? a.score > b.score : a.id < b.id;
            });
            int64_t count = -1;
            ASSERT_TRUE(storage_->Count(skill, count));
            ASSERT_EQ(count, static_cast<int64_t>(board.size())) << "skill " << skill;
            for (size_t i = 0; i < board.size(); ++i) {
                Place place;
                ASSERT_TRUE(storage_->Locate(board[i].id, place)) << storage_->LastError();
                ASSERT_EQ(place.rank, static_cast<int64_t>(i + 1)) << "score " << board[i].score;
                ASSERT_EQ(place.total, count);
                ASSERT_EQ(place.skill, skill);
                ASSERT_EQ(place.score, board[i].score);
                std::vector<ScoreRow> rows;
                ASSERT_TRUE(storage_->PageHolding(board[i].id, place, perPage, rows)) << storage_->LastError();
                const size_t first = i / static_cast<size_t>(perPage) * static_cast<size_t>(perPage);
                const size_t last = std::min(board.size(), first + static_cast<size_t>(perPage));
                ASSERT_EQ(rows.size(), last - first) << "the page of place " << i + 1;
                for (size_t k = 0; k < rows.size(); ++k)
                    ASSERT_EQ(rows[k].id, board[first + k].id) << "place " << first + k + 1 << " on the page of " << i + 1;
            }
        }
    }

    struct Row {
        int64_t id;
        int32_t score;
    };
    std::map<int, std::vector<Row>> expected_;
    fs::path folder_;
    std::string database_;
    std::unique_ptr<Storage> storage_;
};

// Scores on each side of the tallies' range edges (256 and 65 536 wide), ties among them, the
// highest score a link may carry, and seeded random scores, narrow and wide.
std::vector<int32_t> Scores() {
    std::vector<int32_t> scores{0,      0,      1,      255,    256,    256,      257,       511,
                                512,    65535,  65536,  65536,  65537,  65791,    65792,     131071,
                                131072, 131072, 999999, 1 << 24, 99'999'999, 99'999'999, 99'999'998};
    std::mt19937 random(23);
    std::uniform_int_distribution<int32_t> narrow(0, 3000), wide(0, 99'999'999);
    for (int i = 0; i < 60; ++i) scores.push_back(narrow(random));
    for (int i = 0; i < 30; ++i) scores.push_back(wide(random));
    return scores;
}

TEST_F(StorageTest, PlacesAndPagesMatchTheSortedBoardsAcrossRangeEdgesAndRemovals) {
    Open();
    const std::vector<int32_t> scores = Scores();
    for (size_t i = 0; i < scores.size(); ++i) ASSERT_NO_FATAL_FAILURE(Add(scores[i], static_cast<int>(i % 3 == 0)));
    for (int32_t score : {256, 256, 65536, 7}) ASSERT_NO_FATAL_FAILURE(Add(score, 2));
    for (int64_t perPage : {25, 7, 1}) ASSERT_NO_FATAL_FAILURE(ExpectBoardsAgree(perPage)) << perPage << " a page";

    // Removed rows are counted out of their ranges: a moderator's and one deleted by hand.
    auto& board = expected_[0];
    for (size_t i = 0; i < board.size(); i += 3) ASSERT_TRUE(storage_->Remove(board[i].id));
    ASSERT_TRUE(Sql("DELETE FROM results WHERE id = " + std::to_string(board[1].id) + ";"));
    std::vector<Row> kept;
    for (size_t i = 0; i < board.size(); ++i)
        if (i % 3 != 0 && i != 1) kept.push_back(board[i]);
    board = kept;
    ASSERT_NO_FATAL_FAILURE(ExpectBoardsAgree(25));
}

TEST_F(StorageTest, ADatabaseOfTheFirstVersionGetsTalliesOfTheRowsItHolds) {
    // The first schema as it shipped, with rows, then opened by this program.
#ifdef MARSHWADE_TEST_POSTGRESQL
    const std::string autoId = "BIGSERIAL PRIMARY KEY", bytes = "BYTEA";
#else
    const std::string autoId = "INTEGER PRIMARY KEY AUTOINCREMENT", bytes = "BLOB";
#endif
    ASSERT_TRUE(Sql("CREATE TABLE schema_version (version INTEGER NOT NULL); INSERT INTO schema_version VALUES (1);"
                    "CREATE TABLE results (id " + autoId + ", digits TEXT NOT NULL UNIQUE, name TEXT NOT NULL,"
                    " score INTEGER NOT NULL, skill INTEGER NOT NULL, published BIGINT NOT NULL, seed BIGINT,"
                    " input_log " + bytes + ");"));
    std::string rows;
    const int32_t old[] = {70000, 300, 300, 65536, 5};
    for (int i = 0; i < 5; ++i) {
        rows += (i ? "," : "") + std::string("('old") + std::to_string(i) + "', 'O" + std::to_string(i) + "', " +
                std::to_string(old[i]) + ", 1, 0)";
        expected_[1].push_back({i + 1, old[i]});
    }
    ASSERT_TRUE(Sql("INSERT INTO results (digits, name, score, skill, published) VALUES " + rows + ";"));
    Open();
    ASSERT_NO_FATAL_FAILURE(Add(300, 1));
    ASSERT_NO_FATAL_FAILURE(Add(65535, 1));
    ASSERT_NO_FATAL_FAILURE(ExpectBoardsAgree(3));
}

}  // namespace
