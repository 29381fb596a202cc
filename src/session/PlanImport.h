#pragma once
// A plan brought back from a CSV file (the export's columns, edited in a
// spreadsheet or written by another program) applied to the open plan through
// the paths a planner's hand takes: a new machine or start is a drop there
// (snapped to the grid and the working time, the cycle re-read for another
// machine, the overlaps resolved), a quantity the detail window's quantity
// change, persons, the fix and the confirmation kind the plan grid's edits.
//
// Only values that differ from the plan are changes: a file exported and
// brought back unchanged changes nothing. Rows apply in file order, each
// whole or not at all; the questions of the rules are answered by a policy,
// not row by row. The whole file is one undo step.

#include "plan/PlanKinds.h"
#include "session/CsvReading.h"
#include "session/PlanSession.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace session {

// How the move rules' questions are answered for every row: whether a moved
// bar starts after an earlier bar it overlaps and pushes the later ones back
// ("移動したよりも前の計画と…", "移動した先の後の計画と…"). A changed quantity
// always brings its work time and end along.
struct ImportPolicy {
    bool pushLater = true;
};

// One line of the file read against the plan: the record it names and the
// changes it asks for (only where the file differs from the plan).
struct ImportRow {
    int lineNo = 0;
    QString orderText;
    std::int64_t orderNo = 0;
    int recordNo = 0;   // 0: no record of the plan
    QString refusal;    // why the row cannot apply; empty when it can
    std::optional<QString> rowCode;  // the chart row to drop on; "" = the unplaced row
    std::optional<core::Moment> start;
    std::optional<std::int64_t> quantity;
    std::optional<std::int64_t> persons;
    std::optional<plan::FixKind> fixKind;
    std::optional<plan::ConfirmKind> confirmKind;
    QStringList requested;  // "field: old → new" of each change, for the planner

    bool hasChanges() const { return rowCode || start || quantity || persons || fixKind || confirmKind; }
};

struct ImportRequest {
    QStringList columns;  // the columns taken from the file
    QStringList ignored;  // columns present but not taken (derived values, texts)
    std::vector<ImportRow> rows;
};

// The file's table against the open plan. A file that cannot be read as a
// whole (no order-number column, an order twice, a column twice) is refused.
std::variant<ImportRequest, CsvProblem> matchImport(PlanSession& session, const CsvTable& table);

enum class RowStatus { Applied, Unchanged, Refused };

struct RowReport {
    int lineNo = 0;
    int recordNo = 0;
    QString orderText;
    RowStatus status = RowStatus::Unchanged;
    QString reason;      // refused: why
    QStringList notes;   // applied: what the rules said on the way
    QStringList requested;
};

// One field of one record as the import leaves it (moved neighbours included).
struct RecordChange {
    int recordNo = 0;
    std::int64_t orderNo = 0;
    QString field;
    QString before;
    QString after;
};

struct ImportReport {
    std::vector<RowReport> rows;
    std::vector<RecordChange> changes;
    int applied = 0;
    int unchanged = 0;
    int refused = 0;
    QString failure;  // the import could not run (a database failure): nothing changed
    bool failed() const { return !failure.isEmpty(); }
};

// What the import would do, without changing anything.
ImportReport previewImport(PlanSession& session, const ImportRequest& request, const ImportPolicy& policy);
// The rows that can apply, as one undo step ("CSV取込"). The report is the preview's.
ImportReport applyImport(PlanSession& session, const ImportRequest& request, const ImportPolicy& policy);

// "12 行目 手配番号 1001: ..." lines of the applied rows (what was asked and
// what came of it) and the refused ones (why), then one line for the other
// orders the moves pushed.
QStringList reportLines(const ImportReport& report);
QString reportSummary(const ImportReport& report);

}  // namespace session
