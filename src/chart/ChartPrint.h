#pragma once
// The chart on paper (or in a PDF): the whole display period across the page
// and every row, a page per slice of rows, with the time header and the row
// names on every page and the period and class in the page header.

#include "chart/ChartState.h"

#include <QString>

class QPagedPaintDevice;

namespace chart {

class ChartMarks;

struct PrintHeading {
    QString processClass;  // the class as the window shows it
    QString printedAt;     // "yyyy/mm/dd hh:mm"
};

// Rows of the chart that go on paper, in order (row 1 included).
std::vector<int> printedRows(const ChartState& state);
// How many rows fit on one page of the device.
int rowsPerPage(QPagedPaintDevice& device);
// Paints every page; the number of pages, or 0 when the device cannot be painted on.
int printChart(QPagedPaintDevice& device, const ChartState& state, const ChartMarks* marks, const PrintHeading& heading);

}  // namespace chart
