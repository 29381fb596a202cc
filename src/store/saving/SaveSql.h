#pragma once
// The statement shapes the save writes with: reads over IN lists of bound
// numbers, multi-row INSERTs and multi-row UPDATEs keyed by the table's key.
// Writing many rows with one statement keeps a save of thousands of orders to
// a few hundred round trips; every value still travels as a bound parameter.

#include "db/Database.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <cstdint>
#include <functional>
#include <type_traits>
#include <vector>

namespace store {

// How the save binds values: whole numbers as 64-bit integers, texts as they are.
inline QVariant number(std::int64_t n) { return QVariant::fromValue<qlonglong>(n); }
inline QVariant text(const QString& s) { return QVariant(s); }
// The values of a container bound for an IN list, in the container's order.
template <typename Values>
QVariantList inList(const Values& values)
{
    QVariantList out;
    out.reserve(qsizetype(values.size()));
    for (const auto& v : values) {
        if constexpr (std::is_same_v<std::decay_t<decltype(v)>, QString>) out << text(v);
        else out << number(v);
    }
    return out;
}

// Values of the audit columns, taken once per save.
struct AuditValues {
    QString date;          // "yyyymmdd"
    QString time;          // "hhnnss"
    QString operatorCode;  // TantoCode
    int terminal = 0;      // TanmatsuNo
    QString program;       // ProgramId
};

// The columns of a table as the database reports them.
class TableColumns {
public:
    TableColumns(db::Database& db, const QString& table);
    const QString& table() const { return table_; }
    const QStringList& names() const { return names_; }
    bool has(const QString& column) const { return indexOf(column) >= 0; }
    bool isNumeric(const QString& column) const;
    // Position of a column in names(), ignoring case; -1 when absent.
    int indexOf(const QString& column) const { return index_.value(column.toLower(), -1); }

private:
    QString table_;
    QStringList names_;
    QHash<QString, int> index_;  // lower-cased name → position
    std::vector<bool> numeric_;
};

// Column assignments in order; setting a column twice (in any case) keeps the last value.
class Assignments {
public:
    void set(const QString& column, const QVariant& value);
    QVariant value(const QString& column) const;
    const QStringList& columns() const { return columns_; }
    const QVariantList& values() const { return values_; }

private:
    QStringList columns_;
    QVariantList values_;
    QHash<QString, int> index_;  // lower-cased name → position
};

// The update audit columns the table has (更新日, 更新時刻 or 更新時間, 更新オペレータ,
// 更新端末番号, 更新プログラム); the insert variant adds the 登録 five as well.
void setUpdateAudit(Assignments& a, const TableColumns& t, const AuditValues& audit);
void setInsertAudit(Assignments& a, const TableColumns& t, const AuditValues& audit);

// "?,?,?" for n values.
QString placeholders(int n);

// Runs head + "(?,...)" + tail once per chunk of at most 500 values, with
// leading binds before the chunk's values, and hands every row to onRow.
// Rows are read completely before the next chunk runs.
void queryInChunks(db::Database& db, const QString& head, const QVariantList& inValues, const QString& tail,
                   const std::function<void(db::Cursor&)>& onRow, const QVariantList& leadingBinds = {});

// Runs head + "(?,...)" + tail per chunk as a statement; returns the rows affected.
int execInChunks(db::Database& db, const QString& head, const QVariantList& inValues, const QString& tail = {},
                 const QVariantList& leadingBinds = {});

// Rows to add, all with the same columns.
struct NewRows {
    QStringList columns;
    std::vector<QVariantList> rows;
    void add(const Assignments& a);  // the first row fixes the columns
};
void insertRows(db::Database& db, const TableColumns& t, const NewRows& rows);

// Rows to change, found by their key, all assigning the same columns.
struct KeyedRows {
    QStringList keyColumns;
    QStringList setColumns;
    std::vector<QVariantList> keys;
    std::vector<QVariantList> values;
    void add(const QVariantList& key, const Assignments& a);  // the first row fixes the columns
};
// Returns the rows affected.
int updateRows(db::Database& db, const TableColumns& t, const KeyedRows& rows);

}  // namespace store
