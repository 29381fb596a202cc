#pragma once
// The one place that turns moments into chart positions and back.
// Positions are twips (15 per pixel); the chart's origin is the first displayed
// day at the day change.

#include "core/TimeTypes.h"

#include <cmath>
#include <cstdint>

namespace core {

constexpr int TwipsPerPixel = 15;
// The pixel a position in twips falls on.
inline int pxOfTwips(double twips) { return int(std::floor(twips / TwipsPerPixel)); }

// How much of the period the chart shows across its width.
enum class DisplayMode : std::uint8_t { OneDay = 1, ThreeDays, Week, FourWeeks };

struct ChartScale {
    core::DisplayMode DisplayMode = core::DisplayMode::Week;
    double ChartWidth = 0;    // visible chart width, twips
    double DayTwips = 0;
    double HourTwips = 0;
    double HourTwipsTop = 0;  // top strip: always four weeks across
    double HourTwipsPrev = 0;
};

// The scale step of dispGantt for a display mode; `previous` gives HourTwipsPrev.
ChartScale scaleForMode(DisplayMode displayMode, double chartWidth, const ChartScale& previous);
DisplayMode nextDisplayMode(DisplayMode displayMode);  // one day → three days → week → four weeks → one day
// Hours between the hour lines on the chart and the hour captions above it:
// every hour across one day, fewer as the days get narrower; 0 = none.
int hourStepOf(DisplayMode displayMode);
QString displayModeCaption(DisplayMode displayMode);  // "１日表示" ...

// Origin of the chart: PeriodStart at the day change's hours and minutes.
Moment chartOrigin(Date periodStart, TimeOfDay dayChangeTime);

// X in twips of date + time: whole minutes from the origin × scale ÷ 60, halves to even.
// Minutes are counted down to the minute started (floor), so a moment 30 seconds
// before the origin lies one minute left of it, like every other minute.
// Inline: a redraw converts both ends of every bar it touches.
inline std::int64_t dateTimeToX(Moment origin, Moment m, double scale)
{
    const std::int64_t diff = m.seconds() - origin.seconds();
    const std::int64_t minutes = diff / 60 - ((diff % 60 != 0 && diff < 0) ? 1 : 0);
    return std::int64_t(std::nearbyint(scale * double(minutes) / 60.0));  // default rounding mode: halves to even
}
inline std::int64_t dateTimeToX(Moment origin, Date date, TimeOfDay time, double scale)
{
    return dateTimeToX(origin, Moment::of(date, time), scale);
}

// The inverse used when a bar is dropped: origin + trunc(x ÷ scale × 60) minutes
// (the origin itself for a scale that is not positive).
Moment xToMoment(Moment origin, double x, double scale);

}  // namespace core
