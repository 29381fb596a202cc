#pragma once
// The time headers above the chart: PlatForm2, the top strip that always spans
// four weeks (HourTwipsTop) and marks the part in view, and DayDispArea, the
// day captions of the main scale.

#include "chart/ChartState.h"

#include <QWidget>

namespace chart {

QString dayCaption(core::Date d);  // "12/7(月)"
QString weekdayName(core::Date d); // "月"

class PlatForm2 : public QWidget {
    Q_OBJECT
public:
    PlatForm2(ChartState& state, QWidget* parent = nullptr);
    // The moment at a pixel of the strip (used to jump there).
    core::Moment momentAtPx(int px) const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    ChartState& state_;
};

class DayDispArea : public QWidget {
    Q_OBJECT
public:
    DayDispArea(ChartState& state, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    ChartState& state_;
};

}  // namespace chart
