#include "store/saving/SaveSql.h"

#include "db/ValueTypes.h"

#include <QMetaType>
#include <QSet>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

namespace store {

namespace {

constexpr int MaxInList = 500;
constexpr int MaxRowsPerInsert = 500;

void setAudit(Assignments& a, const TableColumns& t, const AuditValues& audit, const QString& prefix)
{
    const auto put = [&](const QString& column, const QVariant& v) {
        if (t.has(column)) a.set(column, v);
    };
    put(prefix + QStringLiteral("日"), audit.date);
    // DB0259 names its time column 時間 where the other tables say 時刻.
    put(prefix + QStringLiteral("時刻"), audit.time);
    put(prefix + QStringLiteral("時間"), audit.time);
    put(prefix + QStringLiteral("オペレータ"), audit.operatorCode);
    put(prefix + QStringLiteral("端末番号"), audit.terminal);
    put(prefix + QStringLiteral("プログラム"), audit.program);
}

// "k1=123 AND k2=?" for one key; integral key values are written as numbers.
QString keyCondition(const QStringList& keyColumns, const QVariantList& key, QVariantList& binds)
{
    QStringList parts;
    for (int c = 0; c < keyColumns.size(); ++c) {
        const QVariant& v = key.at(c);
        if (db::isIntegralValue(v)) {
            parts << keyColumns[c] + QLatin1Char('=') + QString::number(v.toLongLong());
        } else {
            parts << keyColumns[c] + QStringLiteral("=?");
            binds << v;
        }
    }
    return parts.join(QStringLiteral(" AND "));
}

int bindsOfKey(const QVariantList& key)
{
    int n = 0;
    for (const QVariant& v : key) n += db::isIntegralValue(v) ? 0 : 1;
    return n;
}

int updateChunk(db::Database& db, const TableColumns& t, const KeyedRows& rows, std::size_t from, std::size_t to)
{
    QStringList sets;
    QVariantList binds;
    const bool singleKey = rows.keyColumns.size() == 1;
    for (int c = 0; c < rows.setColumns.size(); ++c) {
        const QString& column = rows.setColumns[c];
        bool constant = true;
        for (std::size_t r = from + 1; r < to && constant; ++r) constant = rows.values[r].at(c) == rows.values[from].at(c);
        if (constant) {
            sets << column + QStringLiteral(" = ?");
            binds << rows.values[from].at(c);
            continue;
        }
        QString expr = singleKey ? QStringLiteral("CASE ") + rows.keyColumns[0] : QStringLiteral("CASE");
        for (std::size_t r = from; r < to; ++r) {
            const QVariant& key = rows.keys[r].at(0);
            if (singleKey && db::isIntegralValue(key)) {
                expr += QStringLiteral(" WHEN ") + QString::number(key.toLongLong()) + QStringLiteral(" THEN ?");
            } else if (singleKey) {
                expr += QStringLiteral(" WHEN ? THEN ?");
                binds << key;
            } else {
                expr += QStringLiteral(" WHEN ") + keyCondition(rows.keyColumns, rows.keys[r], binds) + QStringLiteral(" THEN ?");
            }
            binds << rows.values[r].at(c);
        }
        expr += QStringLiteral(" END");
        // PostgreSQL types the parameters of a CASE as text; the cast gives
        // numeric columns a number on every database.
        if (t.isNumeric(column)) expr = QStringLiteral("CAST(") + expr + QStringLiteral(" AS DECIMAL(18,6))");
        sets << column + QStringLiteral(" = ") + expr;
    }
    QString where;
    if (singleKey) {
        QStringList keys;
        for (std::size_t r = from; r < to; ++r) {
            const QVariant& key = rows.keys[r].at(0);
            if (db::isIntegralValue(key)) {
                keys << QString::number(key.toLongLong());
            } else {
                keys << QStringLiteral("?");
                binds << key;
            }
        }
        where = rows.keyColumns[0] + QStringLiteral(" IN (") + keys.join(QLatin1Char(',')) + QLatin1Char(')');
    } else {
        // The first key column's values up front let the database reach the
        // rows through its key instead of testing every row against the ORs.
        QStringList firsts, conditions;
        QSet<QString> seen;
        for (std::size_t r = from; r < to; ++r) {
            const QVariant& v = rows.keys[r].at(0);
            if (db::isIntegralValue(v)) {
                const QString literal = QString::number(v.toLongLong());
                if (!seen.contains(literal)) firsts << literal;
                seen.insert(literal);
            } else {
                firsts << QStringLiteral("?");
                binds << v;
            }
        }
        for (std::size_t r = from; r < to; ++r)
            conditions << QLatin1Char('(') + keyCondition(rows.keyColumns, rows.keys[r], binds) + QLatin1Char(')');
        where = rows.keyColumns[0] + QStringLiteral(" IN (") + firsts.join(QLatin1Char(',')) + QStringLiteral(") AND (") +
                conditions.join(QStringLiteral(" OR ")) + QLatin1Char(')');
    }
    return db.exec(QStringLiteral("UPDATE ") + t.table() + QStringLiteral(" SET ") + sets.join(QStringLiteral(", ")) +
                       QStringLiteral(" WHERE ") + where,
                   binds);
}

}  // namespace

TableColumns::TableColumns(db::Database& db, const QString& table) : table_(table)
{
    // The layout of an empty result: the same on every driver, where the
    // drivers' catalogue look-ups differ in how they fold table names.
    QSqlQuery q(db.handle());
    if (!q.exec(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE 1=0")))
        throw db::Error(q.lastError().text(), QStringLiteral("SELECT * FROM ") + table);
    const QSqlRecord rec = q.record();
    for (int i = 0; i < rec.count(); ++i) {
        names_ << rec.fieldName(i);
        index_.insert(rec.fieldName(i).toLower(), i);
        numeric_.push_back(db::isNumericType(rec.field(i).metaType()));
    }
}

bool TableColumns::isNumeric(const QString& column) const
{
    const int i = indexOf(column);
    return i >= 0 && numeric_[std::size_t(i)];
}

void Assignments::set(const QString& column, const QVariant& value)
{
    const QString key = column.toLower();
    const auto it = index_.constFind(key);
    if (it != index_.cend()) {
        values_[*it] = value;
        return;
    }
    index_.insert(key, int(columns_.size()));
    columns_ << column;
    values_ << value;
}

QVariant Assignments::value(const QString& column) const
{
    const auto it = index_.constFind(column.toLower());
    return it == index_.cend() ? QVariant() : values_[*it];
}

void setUpdateAudit(Assignments& a, const TableColumns& t, const AuditValues& audit)
{
    setAudit(a, t, audit, QStringLiteral("更新"));
}

void setInsertAudit(Assignments& a, const TableColumns& t, const AuditValues& audit)
{
    setAudit(a, t, audit, QStringLiteral("登録"));
    setAudit(a, t, audit, QStringLiteral("更新"));
}

QString placeholders(int n)
{
    QString s;
    s.reserve(n * 2);
    for (int i = 0; i < n; ++i) s += i == 0 ? QStringLiteral("?") : QStringLiteral(",?");
    return s;
}

void queryInChunks(db::Database& db, const QString& head, const QVariantList& inValues, const QString& tail,
                   const std::function<void(db::Cursor&)>& onRow, const QVariantList& leadingBinds)
{
    for (qsizetype from = 0; from < inValues.size(); from += MaxInList) {
        const qsizetype n = std::min<qsizetype>(MaxInList, inValues.size() - from);
        QVariantList binds = leadingBinds;
        binds.append(inValues.mid(from, n));
        db::Cursor c = db.query(head + QLatin1Char('(') + placeholders(int(n)) + QLatin1Char(')') + tail, binds);
        while (c.next()) onRow(c);
    }
}

int execInChunks(db::Database& db, const QString& head, const QVariantList& inValues, const QString& tail,
                 const QVariantList& leadingBinds)
{
    int affected = 0;
    for (qsizetype from = 0; from < inValues.size(); from += MaxInList) {
        const qsizetype n = std::min<qsizetype>(MaxInList, inValues.size() - from);
        QVariantList binds = leadingBinds;
        binds.append(inValues.mid(from, n));
        affected += db.exec(head + QLatin1Char('(') + placeholders(int(n)) + QLatin1Char(')') + tail, binds);
    }
    return affected;
}

void NewRows::add(const Assignments& a)
{
    if (rows.empty()) columns = a.columns();
    QVariantList row;
    row.reserve(columns.size());
    for (const QString& c : columns) row << a.value(c);
    rows.push_back(row);
}

void insertRows(db::Database& db, const TableColumns& t, const NewRows& rows)
{
    if (rows.rows.empty()) return;
    const int width = int(rows.columns.size());
    const std::size_t perStatement =
        !db.dialect().multiRowValues()
            ? 1
            : std::size_t(std::max(1, std::min(MaxRowsPerInsert, db.dialect().bindsPerStatement() / std::max(1, width))));
    const QString head = QStringLiteral("INSERT INTO ") + t.table() + QStringLiteral(" (") + rows.columns.join(QLatin1Char(',')) +
                         QStringLiteral(") VALUES ");
    const QString tuple = QLatin1Char('(') + placeholders(width) + QLatin1Char(')');
    for (std::size_t from = 0; from < rows.rows.size(); from += perStatement) {
        const std::size_t to = std::min(rows.rows.size(), from + perStatement);
        QString sql = head;
        QVariantList binds;
        for (std::size_t r = from; r < to; ++r) {
            if (r != from) sql += QLatin1Char(',');
            sql += tuple;
            binds.append(rows.rows[r]);
        }
        db.exec(sql, binds);
    }
}

void KeyedRows::add(const QVariantList& key, const Assignments& a)
{
    if (keys.empty()) setColumns = a.columns();
    QVariantList row;
    row.reserve(setColumns.size());
    for (const QString& c : setColumns) row << a.value(c);
    keys.push_back(key);
    values.push_back(row);
}

int updateRows(db::Database& db, const TableColumns& t, const KeyedRows& rows)
{
    int affected = 0;
    std::size_t from = 0;
    while (from < rows.keys.size()) {
        // Grow the chunk while its parameters fit.
        std::size_t to = from;
        int binds = 0;
        const int width = int(rows.setColumns.size());
        while (to < rows.keys.size() && to - from < std::size_t(db.dialect().rowsPerUpdate())) {
            // Upper bound: a value and the key's text parts per column, and the key again in WHERE.
            const int keyBinds = bindsOfKey(rows.keys[to]);
            const int rowBinds = width * (1 + keyBinds) + keyBinds + (db::isIntegralValue(rows.keys[to].at(0)) ? 0 : 1);
            if (to > from && binds + rowBinds > db.dialect().bindsPerStatement()) break;
            binds += rowBinds;
            ++to;
        }
        affected += updateChunk(db, t, rows, from, to);
        from = to;
    }
    return affected;
}

}  // namespace store
