// Updatable row sets and cursors on every database kind.
#include "DbFixture.h"

namespace {

int count(db::Database& d, const QString& table)
{
    auto c = d.query(QStringLiteral("SELECT COUNT(*) AS n FROM ") + table);
    c.next();
    return int(c.integer(QStringLiteral("n")));
}

}  // namespace

class RowSets : public DbFixture {};

TEST_P(RowSets, AddEditAndReadBack)
{
    db::RowSet add(d(), QStringLiteral("DB0253"), QStringLiteral("手配番号=?"), {1001});
    ASSERT_TRUE(add.isEmpty());
    add.addNew();
    add.set(QStringLiteral("手配番号"), 1001);
    add.set(QStringLiteral("備考"), QStringLiteral("至急　ﾛｯﾄ"));
    add.set(QStringLiteral("手配数"), 100.5);
    add.set(QStringLiteral("GNT表示区分"), QStringLiteral(" "));
    add.update();
    add.set(QStringLiteral("手配数"), 120);  // the added row is now an existing one
    add.update();

    db::RowSet edit(d(), QStringLiteral("DB0253"), QStringLiteral("手配番号=1001"));
    ASSERT_EQ(edit.rowCount(), 1);
    EXPECT_EQ(edit.value(QStringLiteral("備考")).toString(), QStringLiteral("至急　ﾛｯﾄ"));
    EXPECT_EQ(edit.value(QStringLiteral("手配数")).toDouble(), 120.0);
    EXPECT_EQ(edit.value(QStringLiteral("GNT表示区分")).toString(), QStringLiteral(" "));
    EXPECT_EQ(edit.value(QStringLiteral("削除フラグ")).toString(), QStringLiteral("0"));  // default, never assigned
    edit.set(QStringLiteral("削除フラグ"), QStringLiteral("1"));
    edit.update();
    EXPECT_EQ(count(d(), QStringLiteral("DB0253 WHERE 削除フラグ='1'")), 1);
}

TEST_P(RowSets, UpdatesFindTheRowByItsKeyAsRead)
{
    d().exec(QStringLiteral("INSERT INTO DB0252 (上位手配番号, 品名コード, 順序, 必要数) VALUES (5, 'A', 1, 1)"));
    d().exec(QStringLiteral("INSERT INTO DB0252 (上位手配番号, 品名コード, 順序, 必要数) VALUES (5, 'C', 1, 1)"));
    db::RowSet rows(d(), QStringLiteral("DB0252"), QStringLiteral("上位手配番号=? ORDER BY 品名コード"), {5});
    ASSERT_EQ(rows.rowCount(), 2);
    rows.set(QStringLiteral("品名コード"), QStringLiteral("B"));  // a key column changes
    rows.set(QStringLiteral("必要数"), 7);
    rows.update();
    rows.set(QStringLiteral("必要数"), 8);  // and again, now under its new key
    rows.update();

    auto c = d().query(QStringLiteral("SELECT 品名コード, 必要数 FROM DB0252 ORDER BY 品名コード"));
    QStringList seen;
    while (c.next()) seen << c.text(QStringLiteral("品名コード")) + c.text(QStringLiteral("必要数"));
    EXPECT_EQ(seen, QStringList({QStringLiteral("B8"), QStringLiteral("C1")}));
}

TEST_P(RowSets, RowDeletedByAnotherProgramIsNotSilentlyLost)
{
    d().exec(QStringLiteral("INSERT INTO DB0492 (品名コード, 順序, 機械コード, サイクル) VALUES ('A', 1, 'M1', 30)"));
    db::RowSet rows(d(), QStringLiteral("DB0492"), QStringLiteral("品名コード='A'"));
    t.connectAgain()->exec(QStringLiteral("DELETE FROM DB0492"));
    rows.set(QStringLiteral("サイクル"), 40);
    EXPECT_THROW(rows.update(), db::Error);
    EXPECT_THROW(rows.set(QStringLiteral("存在しない列"), 1), db::Error);
}

TEST_P(RowSets, HostileOperatorCodeIsStoredAsData)
{
    const QString hostile = QStringLiteral("O'Brien'; DROP TABLE DB0003;--");
    d().exec(QStringLiteral("INSERT INTO DB0003 (担当者コード, Velmoran権限区分) VALUES ('T1', '1')"));
    db::RowSet rows(d(), QStringLiteral("DB0003"), QStringLiteral("担当者コード=?"), {hostile.left(10)});
    rows.addNew();
    rows.set(QStringLiteral("担当者コード"), hostile.left(10));
    rows.set(QStringLiteral("担当者名"), hostile);
    rows.update();

    auto c = d().query(QStringLiteral("SELECT * FROM DB0003 WHERE 担当者コード=?"), {hostile.left(10)});
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.text(QStringLiteral("担当者名")), hostile);
    EXPECT_EQ(count(d(), QStringLiteral("DB0003")), 2);
    auto other = d().query(QStringLiteral("SELECT Velmoran権限区分 FROM DB0003 WHERE 担当者コード='T1'"));
    ASSERT_TRUE(other.next());
    EXPECT_EQ(other.text(QStringLiteral("VELMORan権限区分")), QStringLiteral("1"));
}

TEST_P(RowSets, CursorReadsNullsBlanksAndGarbageAsZero)
{
    d().exec(QStringLiteral("INSERT INTO DB0253 (手配番号, 備考, 作業開始時間, 手配数, 作業時間, 段取時間, 上位手配番号) "
                            "VALUES (9007199254740993, 'abc', ' 12 ', NULL, 0.25, 2.5, 0)"));
    auto c = d().query(QStringLiteral("SELECT * FROM DB0253"));
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.integer(QStringLiteral("DB0253.手配番号")), 9007199254740993LL);  // beyond a double's precision
    EXPECT_EQ(c.number(QStringLiteral("備考")), 0.0);
    EXPECT_EQ(c.number(QStringLiteral("作業開始時間")), 12.0);
    EXPECT_TRUE(c.isNull(QStringLiteral("手配数")));
    EXPECT_EQ(c.text(QStringLiteral("手配数")), QString());
    EXPECT_EQ(c.integer(QStringLiteral("手配数")), 0);
    EXPECT_EQ(c.text(QStringLiteral("作業時間")), QStringLiteral("0.25"));  // same text on every kind
    EXPECT_EQ(c.integer(QStringLiteral("段取時間")), 2);                    // half to even
    EXPECT_EQ(c.text(QStringLiteral("存在しない列")), QString());
    EXPECT_EQ(c.number(QStringLiteral("存在しない列")), 0.0);
}

PLANNER_ON_EVERY_KIND(RowSets);
