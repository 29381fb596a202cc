#pragma once
// Painting of one bar with its progress overlay (PlanJBar) and frame
// (PlanBarFrame), shared by the surfaces that carry bars.

#include "chart/BarVisual.h"

#include <QFont>
#include <QRect>

class QPainter;

namespace chart {

// The chart's Japanese font at a pixel size (Noto Sans CJK JP where installed).
QFont chartFont(int pixelSize);

void paintBar(QPainter& p, const QRect& rect, const BarVisual& bar, bool selected, const QFont& font);
// paintBar's two parts: the bar itself (fill, progress, frames, caption),
// which BarSprites keeps as a picture, and what is drawn over it at every
// paint (the selection outline around it).
void paintBarBody(QPainter& p, const QRect& rect, const BarVisual& bar, const QFont& font);
void paintBarOverlay(QPainter& p, const QRect& rect, const BarVisual& bar, bool selected);
// The mark of a bar that no longer fits its machine's changed calendar: a red
// dashed frame and a warning corner, drawn over the bar.
void paintOffCalendarMark(QPainter& p, const QRect& rect);

}  // namespace chart
