#pragma once
// The plan table as CSV for the shop floor and spreadsheets: a header line,
// then one line per loaded order that is shown on the chart. Fields are quoted
// as RFC 4180 asks (commas, quotes and line breaks inside a field), lines end
// with CR LF.

#include "core/RowTable.h"
#include "plan/PlanData.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

namespace session {

// A text cell that a spreadsheet shows as the text it is: a leading
// apostrophe where it would start a formula, control characters (but line
// breaks) dropped. Numbers and dates are written as they are.
QString spreadsheetText(const QString& value);
// The text a cell written by spreadsheetText stood for (its apostrophe dropped).
QString plainCellText(const QString& cell);
// One field, quoted when it has to be.
QString csvField(const QString& value);
// One line without its line end.
QString csvLine(const QStringList& fields);

// The header: the plan grid's columns, then the export's own.
QStringList planCsvHeader();
// The fields of one record; `rows` gives the machine names.
QStringList planCsvFields(const plan::PlanData& plan, int recordNo, const core::RowTable& rows);
// The whole file, UTF-8, optionally with a byte-order mark (spreadsheets on Windows want one).
QByteArray planCsv(const plan::PlanData& plan, const core::RowTable& rows, bool withBom = false);
// The same written to `out` as it is made; false when a write fails.
bool writePlanCsv(QIODevice& out, const plan::PlanData& plan, const core::RowTable& rows, bool withBom = false);

}  // namespace session
