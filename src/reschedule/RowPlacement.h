#pragma once
// Putting a bar on the row it was dropped on: a machine row gives the bar that
// machine (in-house work, destination from the machine), any other row code
// is a supplier (outside work, no machine).

#include "reschedule/RuleContext.h"

#include <QHash>

namespace reschedule {

struct RowTarget {
    bool machineRow = false;
    QString machineCode;  // the machine row's code; a single space otherwise
    QString destCode;     // the row code when it is not a machine row; blank otherwise
};

// Splits a row code as the chart's rows know it.
RowTarget splitRowCode(const core::Planner& planner, const QString& rowCode);

// Step 1 of insertPlanBarStep2: stores the row's machine or supplier in the
// record and recomputes its end. `destinations` caches machine destinations
// across many calls (arranging); may be null.
void placeOnRow(RuleContext& ctx, int recordNo, const QString& rowCode, QHash<QString, QString>* destinations = nullptr);

}  // namespace reschedule
