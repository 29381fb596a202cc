#pragma once
// The time headers above the chart: PlatForm2, the top strip that always spans
// four weeks (HourTwipsTop) and marks the part in view, and DayDispArea, the
// day captions of the main scale.

#include "chart/ChartState.h"

#include <QWidget>
#include <vector>

namespace chart {

// The forms of a day caption, longest first. A mode writes all its days in
// one form: the longest that fits the day column.
enum class DayCaptionForm { MonthDayWeekday, DayWeekday, Day };  // "12/7(月)", "7(月)", "7"
QString dayCaption(core::Date d, DayCaptionForm form = DayCaptionForm::MonthDayWeekday);
QString weekdayName(core::Date d); // "月"
QString monthCaption(core::Date d); // "2024年12月"

class PlatForm2 : public QWidget {
    Q_OBJECT
public:
    PlatForm2(ChartState& state, QWidget* parent = nullptr);
    // The moment at a pixel of the strip (used to jump there).
    core::Moment momentAtPx(int px) const;
    // The frame of the part of the period the main chart shows.
    QRect viewportRectPx() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    ChartState& state_;
};

class DayDispArea : public QWidget {
    Q_OBJECT
public:
    struct Caption {
        QRect rect;
        QString text;
        core::Date date;
    };
    // What the strip shows over its columns: a caption per day and
    // the hours below it; or, where the day captions leave the month out, the
    // months above the days (at the left edge and where a month begins).
    struct Captions {
        std::vector<Caption> months, days, hours;
    };

    // The upper line of captions ends here; the months stand above it.
    static constexpr int CaptionLinePx = 19;

    DayDispArea(ChartState& state, QWidget* parent = nullptr);
    // Days and hours only where they meet `within` (the whole strip when empty);
    // months always over the whole strip.
    Captions captions(const QRegion& within = {}) const;
    // How far from either end of the months' line a scroll step can change it:
    // the month standing at the left edge, and a month just starting at the
    // right edge whose caption is shortened to the room it has.
    int monthCaptionReachPx() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    ChartState& state_;
};

}  // namespace chart
