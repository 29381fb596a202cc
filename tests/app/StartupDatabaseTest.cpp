// Start-up against a throwaway production database: connection, permission,
// display settings, the dialog's lines, and the double start.
#include "app/startup/ClassChoice.h"
#include "app/startup/InstanceLock.h"
#include "app/startup/Startup.h"
#include "support/TestDatabase.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/QtPrinting.h"

using namespace app;

namespace {

// Runs a case on every database kind available here (SQLite, and the
// PostgreSQL test server when it runs).
template <typename Case>
void onEveryKind(Case run)
{
    for (db::Kind kind : testing_support::testKinds()) {
        SCOPED_TRACE(testing_support::kindName(kind));
        auto t = testing_support::freshDatabase(kind);
        ASSERT_TRUE(t.db);
        run(t);
    }
}

DisplaySettings displayAfterStartup(db::Database& db)
{
    core::ProgramSettings s;
    s.TantoCode = QStringLiteral("T01");
    auto r = readOperatorSettings(db, s);
    EXPECT_FALSE(failed(r)) << (failed(r) ? errorOf(r).message.toStdString() : "");
    return {s.DisplayMonths, s.GridMinutes};
}

}  // namespace

TEST(StartupDatabase, PermissionAndInquiryMode)
{
    onEveryKind([](testing_support::TestDb& t) {
        t.db->exec(QStringLiteral("INSERT INTO DB0003 (担当者コード, Velmoran権限区分) VALUES (?, ?)"), {"VIEW", "0"});
        t.db->exec(QStringLiteral("INSERT INTO DB0003 (担当者コード, Velmoran権限区分) VALUES (?, ?)"), {"O'NE", "1"});

        core::ProgramSettings s;
        s.TantoCode = QStringLiteral("VIEW");
        ASSERT_FALSE(failed(readOperatorSettings(*t.db, s)));
        EXPECT_TRUE(s.inquiryMode());

        s.TantoCode = QStringLiteral("O'NE");  // a quote in the code is a value, not SQL
        ASSERT_FALSE(failed(readOperatorSettings(*t.db, s)));
        EXPECT_EQ(s.KengenKubun, QStringLiteral("1"));
        EXPECT_FALSE(s.inquiryMode());

        s.TantoCode = QStringLiteral("NOBODY");  // no row: full rights
        ASSERT_FALSE(failed(readOperatorSettings(*t.db, s)));
        EXPECT_TRUE(s.KengenKubun.isEmpty());
        EXPECT_FALSE(s.inquiryMode());
    });
}

TEST(StartupDatabase, DisplaySettingsCorrections)
{
    onEveryKind([](testing_support::TestDb& t) {
        DisplaySettings d = displayAfterStartup(*t.db);  // no row at all
        EXPECT_EQ(d.DisplayMonths, 1);
        EXPECT_EQ(d.GridMinutes, 1);

        struct Case { int months, grid, wantMonths, wantGrid; };
        for (const Case c : {Case{5, 0, 3, 1}, Case{0, 15, 1, 15}, Case{2, 30, 2, 30}, Case{-1, -5, -1, -5}}) {
            t.db->exec(QStringLiteral("DELETE FROM DB0351"));
            t.db->exec(QStringLiteral("INSERT INTO DB0351 (表示期間＿ヶ月, グリッド単位＿分) VALUES (?, ?)"), {c.months, c.grid});
            d = displayAfterStartup(*t.db);
            EXPECT_EQ(d.DisplayMonths, c.wantMonths) << c.months;
            EXPECT_EQ(d.GridMinutes, c.wantGrid) << c.grid;
        }
    });
}

TEST(StartupDatabase, FailuresCarryTheDatabaseText)
{
    onEveryKind([](testing_support::TestDb& t) {
        t.db->exec(QStringLiteral("DROP TABLE DB0351"));
        core::ProgramSettings s;
        auto r = readOperatorSettings(*t.db, s);
        ASSERT_TRUE(failed(r));
        EXPECT_TRUE(errorOf(r).message.contains(QStringLiteral("DB0351")));
        EXPECT_GT(errorOf(r).message.count(u'\n'), 0);  // the database's own text follows
    });

    StartupConfig c;
    c.settings.DbKind = QStringLiteral("SQLITE");
    c.connection.item14 = QStringLiteral("/nonexistent/dir/plant.db");
    auto conn = connectDatabase(c);
    ASSERT_TRUE(failed(conn));
    EXPECT_TRUE(errorOf(conn).message.startsWith(QStringLiteral("データベースに接続できません。")));
}

TEST(StartupDatabase, DialogLinesAndFactoryLabel)
{
    onEveryKind([](testing_support::TestDb& t) {
        t.db->exec(QStringLiteral("INSERT INTO DB0370 (部コード, 課コード, 部名, 削除フラグ) VALUES (3, 0, '成形部', '0')"));
        t.db->exec(QStringLiteral("INSERT INTO DB0370 (部コード, 課コード, 部名, 削除フラグ) VALUES (3, 1, '成形一課', '0')"));
        t.db->exec(QStringLiteral("INSERT INTO DB0399 (工程分類コード, 工程分類名, 削除フラグ) VALUES ('02', '組立', '0')"));
        t.db->exec(QStringLiteral("INSERT INTO DB0399 (工程分類コード, 工程分類名, 削除フラグ) VALUES ('01', '成形', '0')"));
        t.db->exec(QStringLiteral("INSERT INTO DB0399 (工程分類コード, 工程分類名, 削除フラグ) VALUES ('03', '廃止', '1')"));

        const ClassChoiceList list = loadClassChoices(*t.db, 3);
        EXPECT_EQ(list.factoryLabel, QStringLiteral("03：成形部"));
        EXPECT_EQ(list.lines, QStringList({"01 成形", "02 組立"}));
        EXPECT_EQ(preselectedLine(list.lines, QString()), 0);   // first start
        EXPECT_EQ(preselectedLine(list.lines, "2"), 1);         // numeric value of the code
        EXPECT_EQ(preselectedLine(list.lines, "09"), 0);        // no longer listed
        EXPECT_EQ(loadClassChoices(*t.db, 7).factoryLabel, QStringLiteral("07："));
    });
}

TEST(InstanceLock, SecondCopyIsRefusedUntilTheFirstEnds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("session/planner.lock"));
    auto first = std::make_unique<InstanceLock>(path);
    ASSERT_TRUE(first->tryLock());
    InstanceLock second(path);
    EXPECT_FALSE(second.tryLock());
    first.reset();
    EXPECT_TRUE(second.tryLock());
    EXPECT_TRUE(InstanceLock::defaultPath().endsWith(QStringLiteral(".lock")));
}
