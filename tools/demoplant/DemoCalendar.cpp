// Break master and machine calendars of the demo plant, and the working time
// they give each machine (which the order layout places jobs on).

#include "DemoModel.h"

#include <algorithm>

namespace demoplant {

namespace {

using core::TimeOfDay;
constexpr std::int32_t kDayChange = 8 * 3600;  // planner.ini item 7 of the demo: 08:00:00
constexpr std::int32_t kDay = 86400;

// Production-day-relative seconds: a start at the day change is 0, an end there is 24 h.
std::int32_t relStart(TimeOfDay t) { return (t.seconds() - kDayChange + kDay) % kDay; }
std::int32_t relEnd(TimeOfDay t)
{
    const std::int32_t r = relStart(t);
    return r == 0 ? kDay : r;
}

using Ranges = std::vector<std::pair<std::int32_t, std::int32_t>>;

void subtract(Ranges& ranges, std::int32_t from, std::int32_t to)
{
    if (to <= from)
        return;
    Ranges out;
    for (const auto& [s, e] : ranges) {
        if (to <= s || from >= e) {
            out.push_back({s, e});
            continue;
        }
        if (s < from)
            out.push_back({s, from});
        if (to < e)
            out.push_back({to, e});
    }
    ranges.swap(out);
}

QString fullWidthNumber(int n)
{
    QString s = QString::number(n);
    for (QChar& c : s)
        c = QChar(char16_t(0xFF10 + (c.unicode() - u'0')));
    return s;
}

CalendarDay makeDay(const Machine& m, core::Date date, DemoRandom& rnd)
{
    CalendarDay d;
    d.date = date;
    const int dow = date.dayOfWeek();
    const bool saturdayWork = dow == 6 && m.shift == ShiftPattern::TwoShift && rnd.chance(0.05);
    if (dow == 6 && !saturdayWork)
        return d;  // a day off with a row: hours 0, no shift
    if (saturdayWork || m.shift == ShiftPattern::DayShift) {
        d.start1 = TimeOfDay::fromHms(8, 0);
        d.end1 = TimeOfDay::fromHms(17, 0);
    } else if (m.shift == ShiftPattern::TwoShift) {
        d.start1 = TimeOfDay::fromHms(8, 0);
        d.end1 = TimeOfDay::fromHms(17, 0);
        d.start2 = TimeOfDay::fromHms(17, 0);
        d.end2 = TimeOfDay::fromHms(1, 0);
    } else {
        d.start1 = TimeOfDay::fromHms(20, 0);
        d.end1 = TimeOfDay::fromHms(5, 0);
    }
    if (!saturdayWork && rnd.chance(0.06)) {
        static const std::vector<std::pair<QString, QString>> stops = {
            {QStringLiteral("金型交換"), QStringLiteral("次ロット金型へ交換")},
            {QStringLiteral("定期保全"), QStringLiteral("月次保全(油脂類交換)")},
            {QStringLiteral("設備点検"), QStringLiteral("安全装置点検")},
            {QStringLiteral("治具交換"), QString()},
            {QStringLiteral("清掃"), QString()},
        };
        const auto& [title, remark] = rnd.pick(stops);
        d.stopTitle = title;
        d.stopRemark = remark;
        if (m.shift == ShiftPattern::NightShift) {
            d.stopStart = TimeOfDay::fromHms(rnd.chance(0.5) ? 1 : 21, 0);
            d.stopHours = rnd.between(1, 2);
        } else {
            static const std::vector<int> hours = {9, 10, 13, 14};
            d.stopStart = TimeOfDay::fromHms(rnd.pick(hours), 0);
            d.stopHours = rnd.between(1, 3);
        }
    }
    std::int64_t minutes = 0;
    for (const auto& [s, e] : workingRanges(d))
        minutes += (e - s) / 60;
    d.hours = int(minutes / 60);
    return d;
}

}  // namespace

const std::vector<std::pair<TimeOfDay, TimeOfDay>>& breakPeriods()
{
    static const std::vector<std::pair<TimeOfDay, TimeOfDay>> breaks = {
        {TimeOfDay::fromHms(10, 0), TimeOfDay::fromHms(10, 10)},
        {TimeOfDay::fromHms(12, 0), TimeOfDay::fromHms(13, 0)},
        {TimeOfDay::fromHms(15, 0), TimeOfDay::fromHms(15, 10)},
        {TimeOfDay::fromHms(22, 0), TimeOfDay::fromHms(22, 10)},
        {TimeOfDay::fromHms(0, 0), TimeOfDay::fromHms(0, 30)},  // from midnight
        {TimeOfDay::fromHms(3, 0), TimeOfDay::fromHms(3, 10)},
    };
    return breaks;
}

std::vector<std::pair<std::int64_t, std::int64_t>> workingRanges(const CalendarDay& day)
{
    Ranges r;
    if (day.start1 != day.end1)
        r.push_back({relStart(day.start1), relEnd(day.end1)});
    if (day.start2 != day.end2)
        r.push_back({relStart(day.start2), relEnd(day.end2)});
    std::sort(r.begin(), r.end());
    for (const auto& [b, e] : breakPeriods())
        subtract(r, relStart(b), relEnd(e));
    if (day.stopHours > 0)
        subtract(r, relStart(day.stopStart), std::min(kDay, relStart(day.stopStart) + day.stopHours * 3600));

    const std::int64_t origin = core::Moment::of(day.date, TimeOfDay::fromSeconds(kDayChange)).seconds();
    std::vector<std::pair<std::int64_t, std::int64_t>> out;
    for (const auto& [s, e] : r)
        if (e > s)
            out.push_back({origin + s, origin + e});
    return out;
}

void writeCalendars(db::Database& db, PlantModel& model, DemoRandom& rnd)
{
    const AuditStamp& a = model.audit;

    QStringList breakColumns = {QStringLiteral("自社企業コード")};
    QVariantList breakRow = {QStringLiteral("1")};
    for (int n = 1; n <= 10; ++n) {
        breakColumns << QStringLiteral("開始時刻") + fullWidthNumber(n) << QStringLiteral("終了時刻") + fullWidthNumber(n);
        const bool used = n <= int(breakPeriods().size());
        breakRow << (used ? breakPeriods()[n - 1].first : TimeOfDay()).toHhnnss()
                 << (used ? breakPeriods()[n - 1].second : TimeOfDay()).toHhnnss();
    }
    TableWriter breaks(db, QStringLiteral("DB0496"), breakColumns, a);
    breaks.add(breakRow);
    breaks.flush();

    TableWriter days(db, QStringLiteral("DB0491"),
                     {QStringLiteral("機械コード"), QStringLiteral("年月日"), QStringLiteral("勤務時間"),
                      QStringLiteral("開始時刻１"), QStringLiteral("終了時刻１"), QStringLiteral("開始時刻２"),
                      QStringLiteral("終了時刻２"), QStringLiteral("停止タイトル"), QStringLiteral("停止備考"),
                      QStringLiteral("停止開始時刻"), QStringLiteral("停止時間")}, a);
    for (Machine& m : model.machines) {
        for (core::Date date = model.calendarFirst; date <= model.calendarLast; date = date.addDays(1)) {
            if (date.dayOfWeek() == 7)
                continue;  // Sundays have no calendar row at all
            const CalendarDay d = makeDay(m, date, rnd);
            days.add({m.code, date.toYmdText(), d.hours, d.start1.toHhnnss(), d.end1.toHhnnss(), d.start2.toHhnnss(),
                      d.end2.toHhnnss(), d.stopTitle, d.stopRemark, d.stopStart.toHhnnss(), d.stopHours});
            const auto ranges = workingRanges(d);
            m.working.insert(m.working.end(), ranges.begin(), ranges.end());
        }
    }
    days.flush();
}

}  // namespace demoplant
