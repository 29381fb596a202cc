#pragma once
// Multi-row INSERTs with bound values, for filling a table quickly.
//
// The writer checks the named columns against the table as the database
// describes it (a misspelt column is an error, not a silently missing value),
// converts each value to the column's type (so the generator need not know
// whether a code column was declared as text or number), and fills the audit
// columns and 削除フラグ '0' where the table has them and the caller did not.
// A column named with a leading '?' is optional: left out when the table lacks it.

#include "db/Database.h"

#include <QMetaType>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <vector>

namespace demoplant {

// Values of the audit columns (登録日 … 更新プログラム) on every row written.
struct AuditStamp {
    QString date;       // "yyyymmdd"
    QString time;       // "hhnnss"
    QString operatorCode;
    int terminal = 1;
    QString program;
};

class TableWriter {
public:
    TableWriter(db::Database& database, const QString& table, const QStringList& columns, const AuditStamp& audit);
    // One row: a value per column given to the constructor, in that order.
    void add(const QVariantList& values);
    // Writes what is pending; must be called after the last add().
    void flush();
    int rowsWritten() const { return written_; }

private:
    QVariant convert(const QVariant& value, int column) const;

    db::Database& db_;
    QString table_;
    QStringList columns_;                 // caller's kept columns, then audit and flag columns
    std::vector<bool> keep_;              // per caller column: does the table have it
    std::vector<QMetaType::Type> types_;  // target type per column
    QVariantList extraValues_;            // values of the automatic columns
    int callerColumns_ = 0;
    int rowsPerStatement_ = 1;
    QVariantList pending_;
    int pendingRows_ = 0;
    int written_ = 0;
};

}  // namespace demoplant
