// The schema scripts: they run, they match each other and the key table the
// row sets update by.
#include "support/TestDatabase.h"

#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

QString readScript(const QString& name)
{
    QFile f(QStringLiteral(PLANNER_SQL_DIR "/") + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    return QString::fromUtf8(f.readAll());
}

}  // namespace

TEST(Schema, SqliteKeysMatchTheRowSetKeyTable)
{
    auto t = freshDatabase(db::Kind::Sqlite);
    for (const QString& table : db::Database::schemaTables()) {
        auto c = t.db->query(QStringLiteral("SELECT name, pk FROM pragma_table_info('") + table + QStringLiteral("') WHERE pk > 0 ORDER BY pk"));
        QStringList keys;
        while (c.next()) keys << c.text(QStringLiteral("name"));
        EXPECT_EQ(keys, db::Database::primaryKeyOf(table)) << table.toStdString();
    }
}
