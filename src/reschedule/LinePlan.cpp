#include "reschedule/LinePlan.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace reschedule {

namespace {

constexpr std::int64_t kDay = core::TimeOfDay::kSecondsPerDay;

QString timeNotRecognised() { return QStringLiteral("時間と認識できません"); }
QString notNumeric() { return QStringLiteral("数値と認識できません"); }

// Full-width input (ＩＭＥ) reads as ASCII.
QString plain(const QString& text) { return text.normalized(QString::NormalizationForm_KC).trimmed(); }

// The times of the eight boxes, or the first box that is no time.
std::optional<int> readTimes(const LinePlanEntry& entry, std::array<core::TimeOfDay, 8>& t)
{
    for (int i = 0; i < 8; ++i) {
        const auto v = readTimeBox(entry.planTime[std::size_t(i)]);
        if (!v) return i;
        t[std::size_t(i)] = *v;
    }
    return std::nullopt;
}

// Seconds of a range; one whose end is not after its start runs past midnight.
std::int64_t rangeSeconds(core::TimeOfDay from, core::TimeOfDay to)
{
    std::int64_t d = to.seconds() - from.seconds();
    if (d <= 0) d += kDay;
    return d;
}

bool used(core::TimeOfDay from, core::TimeOfDay to) { return from != to; }

}  // namespace

std::optional<core::TimeOfDay> readTimeBox(const QString& text)
{
    const QString t = plain(text);
    if (t.isEmpty()) return core::TimeOfDay();
    return core::TimeOfDay::fromDisplayText(t);
}

std::optional<double> readHoursBox(const QString& text)
{
    const QString t = plain(text);
    if (t.isEmpty()) return 0.0;
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

QString hoursText(double hours)
{
    if (hours == std::floor(hours) && std::fabs(hours) < 1e9) return QString::number(std::int64_t(hours));
    QString s = QString::number(hours, 'f', 2);
    while (s.endsWith(QLatin1Char('0'))) s.chop(1);
    if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    return s;
}

LinePlanCheck computeSums(const LinePlanEntry& entry, LinePlanSums& sums)
{
    std::array<core::TimeOfDay, 8> t{};
    if (const auto bad = readTimes(entry, t)) return {timeNotRecognised(), *bad};
    const auto stop = readHoursBox(entry.noWorkingTime);
    if (!stop) return {notNumeric(), NoWorkingTimeBox};
    // A range that passes midnight counts to the next day; an unused one (start
    // equal to end) counts nothing.
    sums.planSeconds = 0;
    for (std::size_t r = 0; r < 4; r += 2)
        if (used(t[r], t[r + 1])) sums.planSeconds += rangeSeconds(t[r], t[r + 1]);
    sums.stopHours = *stop;
    const double planHours = double(sums.planSeconds) / 3600.0;
    sums.planSum = hoursText(planHours);
    sums.workingTimeSum = hoursText(planHours - sums.stopHours);
    return {};
}

LinePlanCheck checkLinePlan(const LinePlanEntry& entry)
{
    std::array<core::TimeOfDay, 8> t{};
    if (const auto bad = readTimes(entry, t)) return {timeNotRecognised(), *bad};  // 1
    const auto stop = readHoursBox(entry.noWorkingTime);
    if (!stop) return {notNumeric(), NoWorkingTimeBox};  // 2
    const double hours = *stop;
    if (hours == 0) return {};  // 3: no stop, nothing more to check

    // 4: the plan range runs from the first start to the end of the last used
    // range, into the next day when that end is not after the start.
    const std::int64_t start = t[0].seconds();
    const core::TimeOfDay endTime = used(t[2], t[3]) ? t[3] : t[1];
    std::int64_t end = endTime.seconds();
    if (end <= start) end += kDay;
    std::int64_t stopStart = t[4].seconds();
    if (stopStart < start) stopStart += kDay;
    if (stopStart >= end) return {QStringLiteral("計画時刻の範囲外は入力できません。"), 4};

    // 5: a plan range that ends at midnight ends at 23:59:59 for this check.
    const std::int64_t limit = endTime.isZero() ? end - 1 : end;
    if (double(stopStart) + hours * 3600.0 > double(limit))
        return {QStringLiteral("停止時刻＋停止時間が終了時刻を超えています。"), NoWorkingTimeBox};

    // 6
    if (hours < 1 || hours > 24) return {QStringLiteral("1～24時間の範囲で入力して下さい。"), NoWorkingTimeBox};
    // The stop is kept in whole hours: 1.5 must not be stored as 2.
    if (hours != std::floor(hours)) return {QStringLiteral("停止時間は1時間単位で入力して下さい。"), NoWorkingTimeBox};
    return {};
}

LinePlanEntry entryOf(const core::DayCalendar& day)
{
    LinePlanEntry e;
    for (std::size_t r = 0; r < 4; r += 2) {
        const core::TimeOfDay from = day.ShiftTime[r + 1], to = day.ShiftTime[r + 2];
        if (!used(from, to)) continue;  // an unused range shows empty
        e.planTime[r] = from.toDisplayText();
        e.planTime[r + 1] = to.toDisplayText();
    }
    if (day.stop.hours != 0 || !day.stop.start.isZero()) e.planTime[4] = day.stop.start.toDisplayText();
    e.noWorkingTitle = day.stop.title.trimmed();
    e.noWorkingTime = QString::number(day.stop.hours);
    e.planTime[5] = stopEndText(e.planTime[4], e.noWorkingTime);
    return e;
}

core::DayCalendar storedDay(const LinePlanEntry& entry, const core::DayCalendar& before)
{
    std::array<core::TimeOfDay, 8> t{};
    readTimes(entry, t);
    const double hours = readHoursBox(entry.noWorkingTime).value_or(0);
    core::DayCalendar d = before;
    for (std::size_t i = 0; i < 4; ++i) d.ShiftTime[i + 1] = t[i];
    d.stop.title = entry.noWorkingTitle.isEmpty() ? QStringLiteral(" ") : entry.noWorkingTitle;
    d.stop.start = t[4];
    d.stop.hours = int(hours);
    // Working hours of the day, to the nearest hour (the column holds whole hours).
    std::int64_t seconds = 0;
    for (std::size_t r = 0; r < 4; r += 2)
        if (used(t[r], t[r + 1])) seconds += rangeSeconds(t[r], t[r + 1]);
    seconds -= std::int64_t(d.stop.hours) * 3600;
    d.KinmuJikan = int(std::clamp<std::int64_t>(seconds >= 0 ? (seconds + 1800) / 3600 : -((-seconds + 1800) / 3600), -32768, 32767));
    return d;
}

QString stopEndText(const QString& stopStart, const QString& stopHours)
{
    const auto start = readTimeBox(stopStart);
    const auto hours = readHoursBox(stopHours);
    if (plain(stopStart).isEmpty() || !start || !hours || *hours <= 0 || *hours > 24) return {};
    return core::TimeOfDay::fromSeconds(start->seconds() + std::int32_t(std::llround(*hours * 3600))).toDisplayText();
}

}  // namespace reschedule
