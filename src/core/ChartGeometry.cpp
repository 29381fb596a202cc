#include "core/ChartGeometry.h"

#include <QString>
#include <cmath>

namespace core {

ChartScale scaleForMode(int displayMode, double chartWidth, const ChartScale& previous)
{
    ChartScale s;
    s.DisplayMode = displayMode >= 1 && displayMode <= 4 ? displayMode : 3;  // unknown modes show a week
    s.ChartWidth = chartWidth;
    s.HourTwipsTop = chartWidth / 672.0;
    s.HourTwipsPrev = previous.HourTwips * 24.0;
    switch (s.DisplayMode) {
    case 1: s.DayTwips = chartWidth; break;
    case 2: s.DayTwips = chartWidth / 3.0; break;
    case 3: s.DayTwips = chartWidth / 7.0; break;
    case 4:
        s.HourTwips = chartWidth / 672.0;
        s.DayTwips = s.HourTwips * 24.0;
        return s;
    }
    s.HourTwips = s.DayTwips / 24.0;
    return s;
}

int hourStepOf(int displayMode)
{
    switch (displayMode) {
    case 1: return 1;
    case 2: return 3;
    case 3: return 6;
    default: return 0;
    }
}

int nextDisplayMode(int displayMode) { return displayMode >= 1 && displayMode < 4 ? displayMode + 1 : 1; }

QString displayModeCaption(int displayMode)
{
    switch (displayMode) {
    case 1: return QStringLiteral("１日表示");
    case 2: return QStringLiteral("３日表示");
    case 4: return QStringLiteral("４週間表示");
    default: return QStringLiteral("１週間表示");
    }
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
