#pragma once
// Small marks drawn over bars and rows: the lock or pin of a fixed bar, the
// badges of the conflicts a bar takes part in, the hatching of an overlap and
// the colours of the load strip.

#include "plan/PlanKinds.h"
#include "reschedule/MachineLoad.h"

#include <QColor>
#include <QRect>

class QPainter;

namespace chart {

// A lock (fully fixed) or a pin (back-fixed) at the bar's start; nothing for free bars.
void paintFixedMark(QPainter& p, const QRect& bar, plan::FixKind kind);

// Which conflicts a bar takes part in (bits of ConflictKind).
using ConflictKinds = unsigned;
constexpr ConflictKinds kindBit(int kind) { return 1u << unsigned(kind); }
// One badge per kind along the bar's top right, left of the off-calendar corner.
void paintConflictBadges(QPainter& p, const QRect& bar, ConflictKinds kinds);

// The time two bars of a row overlap, across the row's band.
void paintOverlapHatch(QPainter& p, const QRect& area);

// The heat of a machine day: none, light to strong green, amber, red when overloaded.
QColor loadColour(const reschedule::DayLoad& load);
// The strip of one machine day at the top of its row's band.
void paintLoadCell(QPainter& p, const QRect& cell, const reschedule::DayLoad& load);

}  // namespace chart
