// The schema steps both storage backends run: from an empty database, from the current version, and a
// database written by a newer program, which is refused untouched.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "server/Storage.h"

namespace {

using scores_server::kSchemaVersion;
using scores_server::PlanMigration;

TEST(MigrationTest, StepsFromEachVersionToThisProgramsAndANewerDatabaseRefused) {
    const char* const migrations[] = {"CREATE TABLE results (id INTEGER);", "CREATE TABLE board_counts (n INTEGER);"};
    static_assert(kSchemaVersion == 2, "add the new migrations to this table");
    struct Case {
        int version;
        bool hasRow, ok;
        std::vector<std::string> steps;
    } cases[] = {
        {0, false, true,
         {"CREATE TABLE results (id INTEGER);", "CREATE TABLE board_counts (n INTEGER);",
          "INSERT INTO schema_version VALUES (2);"}},
        {1, true, true, {"CREATE TABLE board_counts (n INTEGER);", "UPDATE schema_version SET version = 2;"}},
        {2, true, true, {}},
        {3, true, false, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> steps{"left from before"};
        std::string error;
        EXPECT_EQ(PlanMigration(c.version, c.hasRow, migrations, steps, error), c.ok) << c.version;
        EXPECT_EQ(steps, c.steps) << c.version;
        EXPECT_EQ(error.empty(), c.ok) << error;
    }
}

}  // namespace
