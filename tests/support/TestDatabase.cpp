#include "TestDatabase.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <atomic>

namespace testing_support {

namespace {

QString readSchema(const char* name)
{
    QFile f(QStringLiteral(PLANNER_SQL_DIR "/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly)) throw db::Error(QStringLiteral("cannot read schema ") + f.fileName());
    return QString::fromUtf8(f.readAll());
}

bool underCi()
{
    return !qEnvironmentVariable("CI").isEmpty();
}

// PLANNER_TEST_PG = "host:port:user".
bool postgresServer(db::ConnectionSettings& admin)
{
    const QStringList parts = qEnvironmentVariable("PLANNER_TEST_PG").trimmed().split(QLatin1Char(':'));
    if (parts.size() != 3 || parts[0].isEmpty() || parts[2].isEmpty()) return false;
    admin.kind = db::Kind::PostgreSql;
    admin.item14 = parts[0] + QLatin1Char(':') + parts[1];
    admin.item15 = QStringLiteral("postgres");
    admin.item16 = parts[2];
    return true;
}

// Drops a test database when the TestDb holding it goes; FORCE ends the
// connections the test still has open to it.
struct PgDropper {
    db::ConnectionSettings admin;
    QString name;
    ~PgDropper()
    {
        try {
            auto conn = db::Database::open(admin);
            conn->exec(QStringLiteral("DROP DATABASE IF EXISTS ") + name + QStringLiteral(" WITH (FORCE)"));
        } catch (const db::Error&) {
            // The throwaway server goes with its directory anyway.
        }
    }
};

TestDb freshPostgres()
{
    TestDb t;
    db::ConnectionSettings admin;
    if (!postgresServer(admin)) {
        // Thrown rather than reported, so that no test body runs on a missing database.
        if (underCi()) throw db::Error(QStringLiteral("PLANNER_TEST_PG is not set under CI: PostgreSQL cases cannot run"));
        return t;
    }
    static std::atomic<int> counter{0};
    // pid and counter keep parallel test programs apart; the random part keeps
    // a reused pid from meeting a database left by a crashed earlier run.
    const QString name = QStringLiteral("planner_test_%1_%2_%3")
                             .arg(QCoreApplication::applicationPid())
                             .arg(++counter)
                             .arg(QRandomGenerator::global()->generate() & 0xffffff, 6, 16, QLatin1Char('0'));
    {
        auto conn = db::Database::open(admin);
        conn->exec(QStringLiteral("CREATE DATABASE ") + name + QStringLiteral(" ENCODING 'UTF8' TEMPLATE template0"));
    }
    auto dropper = std::make_shared<PgDropper>();
    dropper->admin = admin;
    dropper->name = name;
    t.settings = admin;
    t.settings.item15 = name;
    t.db = db::Database::open(t.settings);
    t.db->begin();
    t.db->execScript(readSchema("postgresql.sql"));
    t.db->commit();
    t.cleanup = dropper;
    return t;
}

TestDb freshSqlite()
{
    TestDb t;
    t.dir = std::make_shared<QTemporaryDir>();
    if (!t.dir->isValid()) throw db::Error(QStringLiteral("cannot create a temporary directory"));
    const QString file = t.dir->filePath(QStringLiteral("planner.db"));
    t.db = db::Database::openSqlite(file);
    t.db->begin();
    t.db->execScript(readSchema("sqlite.sql"));
    t.db->commit();
    t.settings.kind = db::Kind::Sqlite;
    t.settings.item14 = file;
    t.settings.sqliteBaseDir = t.dir->path();
    return t;
}

}  // namespace

std::unique_ptr<db::Database> TestDb::connectAgain() const
{
    return db::Database::open(settings);
}

TestDb freshDatabase(db::Kind kind)
{
    switch (kind) {
    case db::Kind::Sqlite: return freshSqlite();
    case db::Kind::PostgreSql: return freshPostgres();
    default: return TestDb();
    }
}

bool postgresAvailable()
{
    db::ConnectionSettings admin;
    return postgresServer(admin);
}

std::vector<db::Kind> testKinds()
{
    // Always both: the test list is taken when the test program is built,
    // perhaps without PLANNER_TEST_PG; the PostgreSQL cases then skip when run
    // without a server (freshDatabase returns an empty TestDb) and fail under CI.
    return {db::Kind::Sqlite, db::Kind::PostgreSql};
}

const char* kindName(db::Kind kind)
{
    switch (kind) {
    case db::Kind::Sqlite: return "SQLite";
    case db::Kind::PostgreSql: return "PostgreSQL";
    case db::Kind::SqlServer: return "SQLServer";
    case db::Kind::Oracle: return "Oracle";
    }
    return "?";
}

}  // namespace testing_support
