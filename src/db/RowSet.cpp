#include "db/Database.h"

#include <QSqlRecord>

namespace db {

RowSet::RowSet(Database& db, const QString& table, const QString& condition, const QVariantList& binds)
    : db_(db), table_(table), keyFields_(Database::primaryKeyOf(table))
{
    QString sql = QStringLiteral("SELECT * FROM ") + table;
    if (!condition.trimmed().isEmpty()) sql += QStringLiteral(" WHERE ") + condition;
    Cursor c = db.query(sql, binds);
    for (int i = 0; i < c.record_.count(); ++i) fields_ << c.record_.fieldName(i);

    QVector<int> keyColumns;
    for (const QString& k : keyFields_) {
        const int i = fieldIndex(k);
        keyColumns << i;
    }
    // Read everything now: on PostgreSQL a later statement on the same
    // connection would discard the rest of a forward-only result.
    while (c.next()) {
        Row row;
        row.values.resize(fields_.size());
        row.changed.fill(false, fields_.size());
        for (int i = 0; i < fields_.size(); ++i) row.values[i] = c.value(i);
        for (int k : keyColumns) row.keyValues << row.values[k];
        rows_.push_back(std::move(row));
    }
}

int RowSet::fieldIndex(const QString& field) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].compare(field, Qt::CaseInsensitive) == 0) return i;
    throw Error(QStringLiteral("table %1 has no column %2").arg(table_, field));
}

void RowSet::addNew()
{
    Row row;
    row.values.resize(fields_.size());
    row.changed.fill(false, fields_.size());
    row.isNew = true;
    rows_.push_back(std::move(row));
    current_ = int(rows_.size()) - 1;
}

QVariant RowSet::value(const QString& field) const
{
    const int i = fieldIndex(field);
    if (atEnd()) throw Error(QStringLiteral("no current row in %1").arg(table_));
    return rows_[current_].values[i];
}

void RowSet::set(const QString& field, const QVariant& value)
{
    const int i = fieldIndex(field);
    if (atEnd()) throw Error(QStringLiteral("no current row in %1").arg(table_));
    Row& row = rows_[current_];
    row.values[i] = value;
    row.changed[i] = true;
}

void RowSet::update()
{
    if (atEnd()) throw Error(QStringLiteral("no current row in %1").arg(table_));
    Row& row = rows_[current_];
    QStringList assigned;
    QVariantList binds;
    for (int i = 0; i < fields_.size(); ++i) {
        if (!row.changed[i]) continue;
        assigned << fields_[i];
        binds << row.values[i];
    }
    if (row.isNew) {
        // Only the assigned columns: the others take their defaults ('0' for 削除フラグ).
        if (assigned.isEmpty()) throw Error(QStringLiteral("nothing assigned to the new row of %1").arg(table_));
        QStringList marks;
        for (int i = 0; i < assigned.size(); ++i) marks << QStringLiteral("?");
        db_.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                     .arg(table_, assigned.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                 binds);
    } else {
        if (assigned.isEmpty()) return;
        if (keyFields_.isEmpty()) throw Error(QStringLiteral("table %1 has no key to update a row by").arg(table_));
        QStringList where;
        for (int k = 0; k < keyFields_.size(); ++k) {
            // The key as read, so a row whose key columns were reassigned is still found.
            if (row.keyValues[k].isNull()) {
                where << keyFields_[k] + QStringLiteral(" IS NULL");
            } else {
                where << keyFields_[k] + QStringLiteral("=?");
                binds << row.keyValues[k];
            }
        }
        const QString sql = QStringLiteral("UPDATE %1 SET %2=? WHERE %3")
                                .arg(table_, assigned.join(QStringLiteral("=?,")), where.join(QStringLiteral(" AND ")));
        if (db_.exec(sql, binds) == 0)
            // Deleted by another program since it was read: say so rather than lose the change.
            throw Error(QStringLiteral("the row of %1 no longer exists").arg(table_), sql);
    }
    row.isNew = false;
    row.changed.fill(false);
    row.keyValues.clear();
    for (const QString& k : keyFields_) row.keyValues << row.values[fieldIndex(k)];
}

}  // namespace db
