#include "core/ChartGeometry.h"

#include <QString>
#include <cmath>

namespace core {

ChartScale scaleForMode(DisplayMode displayMode, double chartWidth, const ChartScale& previous)
{
    ChartScale s;
    s.DisplayMode = displayMode;
    s.ChartWidth = chartWidth;
    s.HourTwipsTop = chartWidth / 672.0;
    s.HourTwipsPrev = previous.HourTwips * 24.0;
    switch (displayMode) {
    case DisplayMode::OneDay: s.DayTwips = chartWidth; break;
    case DisplayMode::ThreeDays: s.DayTwips = chartWidth / 3.0; break;
    case DisplayMode::Week: s.DayTwips = chartWidth / 7.0; break;
    case DisplayMode::FourWeeks:
        s.HourTwips = chartWidth / 672.0;
        s.DayTwips = s.HourTwips * 24.0;
        return s;
    }
    s.HourTwips = s.DayTwips / 24.0;
    return s;
}

int hourStepOf(DisplayMode displayMode)
{
    switch (displayMode) {
    case DisplayMode::OneDay: return 1;
    case DisplayMode::ThreeDays: return 3;
    case DisplayMode::Week: return 6;
    case DisplayMode::FourWeeks: break;
    }
    return 0;
}

DisplayMode nextDisplayMode(DisplayMode displayMode)
{
    switch (displayMode) {
    case DisplayMode::OneDay: return DisplayMode::ThreeDays;
    case DisplayMode::ThreeDays: return DisplayMode::Week;
    case DisplayMode::Week: return DisplayMode::FourWeeks;
    case DisplayMode::FourWeeks: break;
    }
    return DisplayMode::OneDay;
}

QString displayModeCaption(DisplayMode displayMode)
{
    switch (displayMode) {
    case DisplayMode::OneDay: return QStringLiteral("１日表示");
    case DisplayMode::ThreeDays: return QStringLiteral("３日表示");
    case DisplayMode::Week: break;
    case DisplayMode::FourWeeks: return QStringLiteral("４週間表示");
    }
    return QStringLiteral("１週間表示");
}

Moment chartOrigin(Date periodStart, TimeOfDay dayChangeTime)
{
    return Moment::of(periodStart, TimeOfDay::fromHms(dayChangeTime.hour(), dayChangeTime.minute()));
}

Moment xToMoment(Moment origin, double x, double scale)
{
    if (!(scale > 0) || !std::isfinite(x)) return origin;
    return origin.addMinutes(std::int64_t(std::trunc(x / scale * 60.0)));
}

}  // namespace core
