#pragma once
// The chart's rows: row 1 is the blank row for orders without a machine, then
// the operator's machines (each with a working calendar), then the outside
// suppliers. Rows are numbered from 1 and are RowHeightTwips high.

#include "core/CodeIndex.h"

#include <QString>
#include <vector>

namespace core {

struct ChartRow {
    QString RowCode;   // machine or supplier code; a single space for row 1
    QString RowName;   // machine name or supplier short name
    QString RowLabel;  // text shown for the row (may hold line breaks)
    double RowCenterY = 0;  // twips
    double RowBoundY = 0;   // lower boundary, twips
};

class RowTable {
public:
    static constexpr int RowHeightTwips = 600;

    RowTable();  // holds row 1 only

    int machineRowCount() const { return int(rows_.size()); }
    int CalendarMachineCount = 1;  // last row that is a machine with a calendar
    int KikaiRowCount = 1;         // same value; kept under both names

    const ChartRow& row(int r) const { return rows_.at(std::size_t(r - 1)); }  // r = 1 .. MachineRowCount
    // Appends a row with its centre and boundary set from its position; returns its number.
    int append(const QString& code, const QString& name, const QString& label);
    void clear();  // back to row 1 only

    // Row whose trimmed code equals the trimmed argument; 1 when none (getMachineIndex).
    int getMachineIndex(QStringView code) const;
    // Row whose trimmed code equals the trimmed argument; 0 when none.
    int findRow(QStringView code) const { return rowOfTrimmedCode_.find(code); }
    bool isMachineRow(int r) const { return r >= 2 && r <= CalendarMachineCount; }
    bool isSupplierRow(int r) const { return r > CalendarMachineCount && r <= machineRowCount(); }
    // Row at a Y position (first row whose lower boundary lies below y); 0 below the last row.
    int rowAtY(double y) const;
    // Code of the row at y; empty when y lies below the last row.
    QString codeAtY(double y) const;
    // Centre Y of a code's row; 0 when the code is no row.
    double centerYOf(const QString& code) const;

private:
    std::vector<ChartRow> rows_;
    CodeIndex rowOfTrimmedCode_;  // first row of each trimmed code
};

}  // namespace core
