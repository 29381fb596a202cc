// Transactions, savepoints and the statement hook on every database kind.
#include "DbFixture.h"

#include <QThread>
#include <atomic>

namespace {

QStringList items(db::Database& d)
{
    auto c = d.query(QStringLiteral("SELECT 品名コード FROM DB0492 ORDER BY 品名コード"));
    QStringList out;
    while (c.next()) out << c.text(0);
    return out;
}

void addItem(db::Database& d, const QString& item)
{
    d.exec(QStringLiteral("INSERT INTO DB0492 (品名コード, 順序, 機械コード) VALUES (?, 1, 'M1')"), {item});
}

}  // namespace

class Transactions : public DbFixture {};

TEST_P(Transactions, RollbackLeavesNothingAndCommitIsSeenByOthers)
{
    d().begin();
    addItem(d(), QStringLiteral("A"));
    addItem(d(), QStringLiteral("B"));
    d().rollback();
    EXPECT_TRUE(items(d()).isEmpty());

    d().begin();
    addItem(d(), QStringLiteral("C"));
    d().commit();
    EXPECT_EQ(items(*t.connectAgain()), QStringList{QStringLiteral("C")});
    EXPECT_THROW(d().commit(), db::Error);  // nothing open any more
}

TEST_P(Transactions, SavepointUndoesOnlyWhatFollowedIt)
{
    d().begin();
    addItem(d(), QStringLiteral("A"));
    d().savepoint(QStringLiteral("row_b"));
    addItem(d(), QStringLiteral("B"));
    d().rollbackToSavepoint(QStringLiteral("row_b"));
    d().releaseSavepoint(QStringLiteral("row_b"));
    addItem(d(), QStringLiteral("C"));
    d().commit();
    EXPECT_EQ(items(d()), QStringList({QStringLiteral("A"), QStringLiteral("C")}));
    d().begin();
    EXPECT_THROW(d().savepoint(QStringLiteral("x; DROP TABLE DB0492")), db::Error);
    d().rollback();
}

TEST_P(Transactions, InjectedFailureThrowsAndRollbackKeepsTheDatabaseAsItWas)
{
    addItem(d(), QStringLiteral("A"));
    d().beforeStatement = [](const QString& sql) {
        if (sql.startsWith(QLatin1String("UPDATE DB0492"))) throw db::Error(QStringLiteral("injected"), sql);
    };
    d().begin();
    addItem(d(), QStringLiteral("B"));
    db::RowSet rows(d(), QStringLiteral("DB0492"), QStringLiteral("品名コード='A'"));
    rows.set(QStringLiteral("サイクル"), 5);
    EXPECT_THROW(rows.update(), db::Error);
    d().rollback();
    EXPECT_EQ(items(d()), QStringList{QStringLiteral("A")});
}

TEST_P(Transactions, CommitAfterAFailedStatementReportsTheLoss)
{
    d().begin();
    addItem(d(), QStringLiteral("A"));
    EXPECT_THROW(addItem(d(), QStringLiteral("A")), db::Error);  // duplicate key
    if (GetParam() == db::Kind::PostgreSql) {
        // The server has aborted the transaction; its COMMIT is a rollback.
        EXPECT_THROW(d().commit(), db::Error);
        EXPECT_FALSE(d().inTransaction());
        EXPECT_TRUE(items(d()).isEmpty());
    } else {
        d().rollback();
    }
}

PLANNER_ON_EVERY_KIND(Transactions);

TEST(SqliteConcurrency, SecondWriterWaitsForTheFirst)
{
    auto t = testing_support::freshDatabase(db::Kind::Sqlite);
    std::atomic<bool> holding{false};
    QThread* first = QThread::create([&] {
        auto other = t.connectAgain();  // a connection belongs to the thread that opened it
        other->begin();
        addItem(*other, QStringLiteral("A"));
        holding = true;
        QThread::msleep(300);
        other->commit();
    });
    first->start();
    while (!holding) QThread::msleep(5);
    EXPECT_NO_THROW(t.db->begin());  // blocks until the first commits instead of failing "busy"
    addItem(*t.db, QStringLiteral("B"));
    t.db->commit();
    first->wait();
    delete first;
    EXPECT_EQ(items(*t.db), QStringList({QStringLiteral("A"), QStringLiteral("B")}));
}
