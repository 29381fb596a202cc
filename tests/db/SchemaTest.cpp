// The schema scripts: they run, they agree with each other and with the key
// table the row sets update by, and the plant's fixed statements run on them.
#include "DbFixture.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

using namespace testing_support;

namespace {

QString readScript(const QString& name)
{
    QFile f(QStringLiteral(PLANNER_SQL_DIR "/") + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    return QString::fromUtf8(f.readAll());
}

// Upper-cased column names of a table (PostgreSQL folds ASCII letters).
QStringList columnsOf(db::Database& d, const QString& table)
{
    QStringList names;
    if (d.kind() == db::Kind::Sqlite) {
        auto c = d.query(QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid"), {table});
        while (c.next()) names << c.text(0).toUpper();
    } else {
        auto c = d.query(QStringLiteral("SELECT column_name FROM information_schema.columns WHERE table_name = ? "
                                        "ORDER BY ordinal_position"),
                         {table.toLower()});
        while (c.next()) names << c.text(0).toUpper();
    }
    return names;
}

QStringList keyOf(db::Database& d, const QString& table)
{
    QStringList keys;
    if (d.kind() == db::Kind::Sqlite) {
        auto c = d.query(QStringLiteral("SELECT name FROM pragma_table_info(?) WHERE pk > 0 ORDER BY pk"), {table});
        while (c.next()) keys << c.text(0);
    } else {
        auto c = d.query(QStringLiteral("SELECT k.column_name FROM information_schema.table_constraints t "
                                        "JOIN information_schema.key_column_usage k ON k.constraint_name = t.constraint_name "
                                        "WHERE t.table_name = ? AND t.constraint_type = 'PRIMARY KEY' "
                                        "ORDER BY k.ordinal_position"),
                         {table.toLower()});
        while (c.next()) keys << c.text(0);
    }
    return keys;
}

}  // namespace

class Schema : public DbFixture {};

TEST_P(Schema, KeysMatchTheRowSetKeyTable)
{
    // Ignoring case: PostgreSQL reports 所要計画No as 所要計画no.
    for (const QString& table : db::Database::schemaTables())
        EXPECT_EQ(keyOf(d(), table).join(QLatin1Char(',')).toUpper(),
                  db::Database::primaryKeyOf(table).join(QLatin1Char(',')).toUpper())
            << table.toStdString();
}

TEST_P(Schema, ColumnsAreTheSameAsOnSqlite)
{
    // PostgreSQL cuts long names with only a notice; a cut name would differ here.
    auto reference = freshDatabase(db::Kind::Sqlite);
    for (const QString& table : db::Database::schemaTables()) {
        const QStringList cols = columnsOf(d(), table);
        EXPECT_FALSE(cols.isEmpty()) << table.toStdString();
        EXPECT_EQ(cols, columnsOf(*reference.db, table)) << table.toStdString();
    }
}

TEST_P(Schema, FixedStatementsRunOnTheColumnTypes)
{
    // Comparisons whose operand types must agree with the column types. (SQLite
    // finds a bare "ORDER BY 機械コード" ambiguous across the join, so it is qualified.)
    const QStringList statements = {
        QStringLiteral("SELECT 部名 FROM DB0370 WHERE 部コード=1 AND 課コード = '0' AND 削除フラグ='0' ORDER BY 部コード"),
        QStringLiteral("SELECT * FROM DB0370 WHERE 部コード=1 AND 課コード<>0 ORDER BY 課コード"),
        QStringLiteral("SELECT   DB0394.機械コード , DB0394.機械名") + d().dialect().nullFunction()
            + QStringLiteral("DB0497.選択,1) 選択 FROM DB0394 LEFT JOIN DB0497   ON DB0497.担当者コード = 'T1'"
                             "   AND DB0497.機械コード = DB0394.機械コード WHERE DB0394.生産工場コード=1"
                             "   AND DB0394.工程分類コード='10'   AND DB0394.削除フラグ='0'   AND (DB0497.選択='1'"
                             "   OR DB0497.選択 is NULL ) ORDER BY DB0394.機械コード"),
        QStringLiteral("SELECT * FROM DB0259 WHERE 生産工場コード=1 and 手配番号 = 5 and 実績区分 = ' ' and 実績番号 = 0 "
                       "and 実績行番号 = 0 and 削除フラグ='0'  and ロット番号 = 0"),
        QStringLiteral("SELECT SUM(手配数) AS 手配数合計,MAX(納期) AS 最大納期  FROM DB0253  WHERE 生産計画番号=7 AND "
                       "品名コード='A' AND 順序=999 AND 手配確定区分='2' GROUP BY 品名コード,順序 "),
        QStringLiteral("SELECT 仕入先コード,仕入先名略名 FROM DB0369 INNER JOIN DB0493 ON DB0369.仕入先コード=DB0493.指示先コード "
                       " WHERE 仕入先分類='2' AND DB0369.削除フラグ='0' AND 工程分類コード='10' ORDER BY 仕入先コード"),
        QStringLiteral("SELECT * FROM DB0494 LEFT JOIN DB0204 ON DB0204.受注番号 = DB0494.番号 LEFT JOIN DB0202 ON "
                       "DB0202.所要計画No = DB0494.番号 WHERE DB0494.削除フラグ='0' AND 手配番号=5"),
    };
    for (const QString& sql : statements) EXPECT_NO_THROW(d().query(sql)) << sql.toStdString();
}

TEST_P(Schema, SelectionFlagStoresAndComparesAsWritten)
{
    d().exec(QStringLiteral("INSERT INTO DB0394 (機械コード, 生産工場コード, 工程分類コード) VALUES ('M1', 1, '10')"));
    d().exec(QStringLiteral("INSERT INTO DB0394 (機械コード, 生産工場コード, 工程分類コード) VALUES ('M2', 1, '10')"));
    d().exec(QStringLiteral("INSERT INTO DB0394 (機械コード, 生産工場コード, 工程分類コード) VALUES ('M3', 1, '10')"));
    d().exec(QStringLiteral("INSERT INTO DB0497 (担当者コード, 機械コード, 選択) VALUES ('T1', 'M1', ?)"), {0});
    d().exec(QStringLiteral("INSERT INTO DB0497 (担当者コード, 機械コード, 選択) VALUES ('T1', 'M2', ?)"), {QStringLiteral("1")});
    auto c = d().query(QStringLiteral("SELECT DB0394.機械コード") + d().dialect().nullFunction()
                       + QStringLiteral("DB0497.選択,1) 選択 FROM DB0394 LEFT JOIN DB0497 ON DB0497.担当者コード = 'T1' "
                                        "AND DB0497.機械コード = DB0394.機械コード WHERE (DB0497.選択='1' OR DB0497.選択 is NULL) "
                                        "ORDER BY DB0394.機械コード"));
    QStringList shown;
    while (c.next()) shown << c.text(QStringLiteral("機械コード")) + QLatin1Char('=') + c.text(QStringLiteral("選択"));
    EXPECT_EQ(shown, QStringList({QStringLiteral("M2=1"), QStringLiteral("M3=1")}));
}

PLANNER_ON_EVERY_KIND(Schema);

TEST(SchemaScripts, DeploymentScriptsCreateEveryTable)
{
    for (const QString& name : {QStringLiteral("sqlserver.sql"), QStringLiteral("oracle.sql"), QStringLiteral("sqlite.sql"),
                                QStringLiteral("postgresql.sql")}) {
        const QString script = readScript(name);
        QSet<QString> created;
        static const QRegularExpression create(QStringLiteral("CREATE TABLE (DB\\d{4})"));
        for (auto m = create.globalMatch(script); m.hasNext();) created << m.next().captured(1);
        for (const QString& table : db::Database::schemaTables())
            EXPECT_TRUE(created.contains(table)) << name.toStdString() << " lacks " << table.toStdString();
        EXPECT_EQ(created.size(), db::Database::schemaTables().size()) << name.toStdString();
    }
}
