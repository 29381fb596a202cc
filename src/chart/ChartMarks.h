#pragma once
// What the chart draws from the session's watch: overlapping bars stacked in
// their row with the overlap hatched, conflict badges, the lock or pin of
// fixed bars, and the load strip along each machine row; and the hover texts
// of all of these. The watch is brought up to date before a paint or a hit
// test, never during a step.

#include "chart/ChartState.h"
#include "session/PlanWatch.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

class QPainter;

namespace chart {

class ChartMarks : public QObject {
    Q_OBJECT
public:
    // The strip's height at the top of a machine row's band (pixels).
    static constexpr int LoadStripPx = 4;

    ChartMarks(ChartState& state, session::PlanWatch& watch, QObject* parent = nullptr);

    // The watch up to date, the lanes of overlapping bars with it.
    void prepare();
    // Over a bar: its fixed mark and conflict badges.
    void paintBarMarks(QPainter& p, int recordNo, const QRect& rect) const;
    // Over a row's band once its bars are drawn: overlaps hatched, the load strip.
    void paintRowMarks(QPainter& p, int row, const QRect& band, double fromX, double toX) const;
    // The hover text at a PlatForm pixel: over the load strip the day's load,
    // over a bar its text with its conflicts, elsewhere the text as it is.
    QString tipText(int recordNo, QPoint pos, const QString& text);

    // The load strip is shown (on by default).
    bool loadStripShown() const { return loadStrip_; }
    void setLoadStripShown(bool shown) { loadStrip_ = shown; }

private:
    void rebuildLanes();

    ChartState& state_;
    session::PlanWatch& watch_;
    std::vector<std::vector<reschedule::Conflict>> overlapsOfRow_;  // machine overlaps by PlatForm row
    bool loadStrip_ = true;
    bool stacked_ = true;  // lanes or hatching were set at the last check
};

}  // namespace chart
