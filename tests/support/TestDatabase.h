#pragma once
// Throwaway production databases for tests, laid out from the schema scripts.
// SQLite databases live in a temporary file; PostgreSQL databases are created
// on the test server named by PLANNER_TEST_PG ("host:port:user"), which the
// test command starts (scripts/pg-test-server.sh). Without it, PostgreSQL
// cases are skipped, except under CI, where its absence is a failure.

#include "db/Database.h"

#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace testing_support {

struct TestDb {
    std::unique_ptr<db::Database> db;
    db::ConnectionSettings settings;
    // Another connection to the same database (a second program, a second saver).
    std::unique_ptr<db::Database> connectAgain() const;
    std::shared_ptr<QTemporaryDir> dir;  // keeps a SQLite file alive
    std::shared_ptr<void> cleanup;       // drops a PostgreSQL test database (declared last: goes first)
};

// A new empty database of the kind with every table of the schema.
// Returns an empty TestDb (db == nullptr) when the kind is not available here;
// under CI a missing PostgreSQL server throws db::Error instead.
TestDb freshDatabase(db::Kind kind);

bool postgresAvailable();
// Kinds every database test runs on: SQLite and PostgreSQL. Both are always
// listed (test lists are taken at build time); a case whose freshDatabase()
// comes back empty skips.
std::vector<db::Kind> testKinds();
const char* kindName(db::Kind kind);

}  // namespace testing_support
