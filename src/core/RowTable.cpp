#include "core/RowTable.h"

namespace core {

RowTable::RowTable() { clear(); }

void RowTable::clear()
{
    rows_.clear();
    rowOfTrimmedCode_.clear();
    CalendarMachineCount = KikaiRowCount = 1;
    append(QStringLiteral(" "), QStringLiteral(" "), QStringLiteral(" "));
}

int RowTable::append(const QString& code, const QString& name, const QString& label)
{
    const int r = int(rows_.size()) + 1;
    ChartRow row{code, name, label, (r - 1) * double(RowHeightTwips) + RowHeightTwips / 2.0, 0};
    row.RowBoundY = row.RowCenterY + RowHeightTwips / 2.0;
    rowOfTrimmedCode_.insert(code, r);  // first match wins
    rows_.push_back(std::move(row));
    return r;
}

int RowTable::getMachineIndex(QStringView code) const
{
    const int r = findRow(code);
    return r == 0 ? 1 : r;
}

int RowTable::rowAtY(double y) const
{
    // Rows are equally high: row r's lower boundary is r × RowHeightTwips.
    if (!(y < double(rows_.size()) * RowHeightTwips)) return 0;  // also NaN
    if (y < 0) return 1;
    return int(y / RowHeightTwips) + 1;
}

QString RowTable::codeAtY(double y) const
{
    const int r = rowAtY(y);
    return r == 0 ? QString() : rows_[std::size_t(r - 1)].RowCode;
}

double RowTable::centerYOf(const QString& code) const
{
    const int r = findRow(code);
    return r == 0 ? 0.0 : rows_[std::size_t(r - 1)].RowCenterY;
}

}  // namespace core
