#pragma once
// The baseline of the benchmarks that read the database: a statement executed
// forward-only through the same driver, every column of every row touched,
// nothing kept.
#include "db/Database.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariantList>

namespace bench {

// Returns the rows read.
inline qint64 readAll(db::Database& db, const QString& sql, const QVariantList& binds)
{
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant& v : binds) q.addBindValue(v);
    if (!q.exec()) qFatal("bare read failed: %s", qPrintable(sql));
    const int columns = q.record().count();
    qint64 rows = 0;
    while (q.next()) {
        for (int i = 0; i < columns; ++i) (void)q.value(i);
        ++rows;
    }
    return rows;
}

}  // namespace bench
