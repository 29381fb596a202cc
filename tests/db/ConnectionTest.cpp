// Connection settings: connection strings, database kinds, opening.
#include "DbFixture.h"
#include "db/ConnectionOpening.h"

#include <QTemporaryDir>

TEST(ConnectionStrings, SqlServerStringKeepsItsExactFragments)
{
    db::ConnectionSettings s;
    s.item14 = QStringLiteral("SRV01");
    s.item15 = QStringLiteral("PRODDB");
    s.item16 = QStringLiteral("planner");
    s.item17 = QStringLiteral("p;w");
    EXPECT_EQ(db::buildSqlConnectString(s),
              QStringLiteral("PROVIDER=SQLOLEDB;Data Source=SRV01; Initial Catalog=PRODDB; User ID=planner; Password=p;w;"));
    s.item15.clear();
    EXPECT_EQ(db::buildSqlConnectString(s),
              QStringLiteral("PROVIDER=SQLOLEDB;Data Source=SRV01; Initial Catalog=; User ID=planner; Password=p;w;"));
}

TEST(ConnectionStrings, OdbcValuesCannotAddAttributes)
{
    db::ConnectionSettings s;
    s.item14 = QStringLiteral("SRV01,1433");
    s.item15 = QStringLiteral("PRODDB");
    s.item16 = QStringLiteral("planner");
    s.item17 = QStringLiteral("x};DATABASE={master");
    const QString cs = db::odbcSqlServerConnectString(s, QStringLiteral("FreeTDS"));
    EXPECT_TRUE(cs.startsWith(QStringLiteral("DRIVER={FreeTDS};SERVER={SRV01};PORT={1433};DATABASE={PRODDB};UID={planner};"
                                             "PWD={x}};DATABASE={master};")))
        << cs.toStdString();
}

TEST(ConnectionStrings, PostgresHostAndPort)
{
    QString host;
    int port = 0;
    db::splitHostPort(QStringLiteral("db.plant:6543"), host, port);
    EXPECT_EQ(host, QStringLiteral("db.plant"));
    EXPECT_EQ(port, 6543);
    db::splitHostPort(QStringLiteral(" db.plant "), host, port);
    EXPECT_EQ(host, QStringLiteral("db.plant"));
    EXPECT_EQ(port, -1);
    db::splitHostPort(QStringLiteral("[::1]:5433"), host, port);
    EXPECT_EQ(host, QStringLiteral("::1"));
    EXPECT_EQ(port, 5433);
}

TEST(DbKindText, NumbersAndNames)
{
    const struct {
        const char* text;
        bool ok;
        db::Kind kind;
    } cases[] = {
        {"1", true, db::Kind::Oracle},       {"01", true, db::Kind::Oracle},          {" 1 ", true, db::Kind::Oracle},
        {"2", true, db::Kind::SqlServer},    {"SQLITE", true, db::Kind::Sqlite},      {"postgresql", true, db::Kind::PostgreSql},
        {"", false, db::Kind::Sqlite},       {"abc", false, db::Kind::Sqlite},
    };
    for (const auto& c : cases) {
        db::Kind kind = db::Kind::Sqlite;
        EXPECT_EQ(db::kindFromDbKindText(QString::fromLatin1(c.text), kind), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(kind, c.kind) << c.text;
        }
    }
}

TEST(Opening, SqliteFileIsTakenFromTheProgramDirectoryAndMustExist)
{
    QTemporaryDir dir;
    db::Database::openSqlite(dir.filePath(QStringLiteral("plant.db")))
        ->exec(QStringLiteral("CREATE TABLE DB0351 (表示期間＿ヶ月 INTEGER)"));
    db::ConnectionSettings s;
    s.kind = db::Kind::Sqlite;
    s.sqliteBaseDir = dir.path();
    s.item14 = QStringLiteral("plant.db");
    EXPECT_NO_THROW(db::Database::open(s)->query(QStringLiteral("SELECT * FROM DB0351")));
    s.item14 = QStringLiteral("typo.db");
    EXPECT_THROW(db::Database::open(s), db::Error);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("typo.db"))));
}

TEST(Opening, FailuresCarryTheDriversText)
{
    auto t = testing_support::freshDatabase(db::Kind::PostgreSql);
    if (!t.db) GTEST_SKIP() << "PostgreSQL not available";
    db::ConnectionSettings s = t.settings;
    s.item15 = QStringLiteral("no_such_database");
    try {
        db::Database::open(s);
        FAIL() << "opened a missing database";
    } catch (const db::Error& e) {
        EXPECT_TRUE(e.message.contains(QLatin1String("no_such_database"))) << e.what();
    }
    try {
        t.db->query(QStringLiteral("SELECT 存在しない列 FROM DB0003"));
        FAIL() << "ran a broken statement";
    } catch (const db::Error& e) {
        EXPECT_EQ(e.statement, QStringLiteral("SELECT 存在しない列 FROM DB0003"));
        EXPECT_FALSE(e.message.isEmpty());
    }
}

TEST(Scripts, StatementsSpanLinesAndCommentsAreSkipped)
{
    auto d = db::Database::openSqlite(QStringLiteral(":memory:"));
    d->execScript(QStringLiteral("-- a comment; with a semicolon\nCREATE TABLE T1 (\n  a INTEGER\n);\n"
                                 "INSERT INTO T1 VALUES (1);\nINSERT INTO T1 VALUES (2)\n"));
    auto c = d->query(QStringLiteral("SELECT SUM(a) AS s FROM T1"));
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.integer(QStringLiteral("s")), 3);
}
