#pragma once
// Exact calendar values used everywhere in the planner.
//
// Dates are whole days, times of day whole seconds, moments whole seconds on a
// naive local time line (the plant works in one time zone and stores no zone).
// Nothing here is a floating-point day fraction.

#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

namespace core {

// A calendar date; a default-constructed Date is "no date" ("00000000").
class Date {
public:
    constexpr Date() = default;
    static Date fromYmd(int year, int month, int day);  // null when invalid
    static constexpr Date fromSerial(std::int32_t daysSinceEpoch) { return Date(daysSinceEpoch); }

    // "yyyymmdd" as stored in the database; "00000000", blanks and garbage give a null Date.
    static Date fromYmdText(const QString& text);
    // "yyyy/mm/dd" as typed or displayed (also accepts "yyyy/m/d" and "yyyy-mm-dd").
    static Date fromDisplayText(const QString& text);

    bool isNull() const { return days_ == kNull; }
    std::int32_t serial() const { return days_; }  // days since 1970-01-01
    int year() const;
    int month() const;
    int day() const;
    int dayOfWeek() const;  // 1 = Monday .. 7 = Sunday

    Date addDays(int n) const { return isNull() ? Date() : Date(days_ + n); }
    Date addMonths(int n) const;  // clamps the day to the month's end
    int daysTo(Date other) const { return other.days_ - days_; }

    QString toYmdText() const;      // "yyyymmdd"; "00000000" for null
    QString toDisplayText() const;  // "yyyy/mm/dd"; "" for null
    QString toMonthDayText() const; // "m/d"; "" for null

    friend constexpr bool operator==(Date a, Date b) = default;
    friend constexpr auto operator<=>(Date a, Date b) = default;

private:
    static constexpr std::int32_t kNull = INT32_MIN;
    constexpr explicit Date(std::int32_t d) : days_(d) {}
    std::int32_t days_ = kNull;
};

// A time of day in whole seconds, 0 .. 86399. 00:00:00 doubles as "empty" in
// calendar slots and as 24:00 when it ends a working period.
class TimeOfDay {
public:
    static constexpr std::int32_t kSecondsPerDay = 86400;
    constexpr TimeOfDay() = default;
    static constexpr TimeOfDay fromSeconds(std::int32_t s) { return TimeOfDay(((s % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay); }
    static constexpr TimeOfDay fromHms(int h, int m, int s = 0) { return fromSeconds(h * 3600 + m * 60 + s); }

    // "hhnnss" (six digits, as stored); also a plain number of up to six digits.
    static std::optional<TimeOfDay> fromHhnnss(const QString& text);
    // "hh:mm:ss" or "hh:mm" as typed or displayed; "24:00:00" is not a time of day.
    static std::optional<TimeOfDay> fromDisplayText(const QString& text);

    constexpr std::int32_t seconds() const { return secs_; }
    constexpr int hour() const { return secs_ / 3600; }
    constexpr int minute() const { return (secs_ / 60) % 60; }
    constexpr int second() const { return secs_ % 60; }
    constexpr bool isZero() const { return secs_ == 0; }

    QString toHhnnss() const;       // "hhnnss"
    QString toDisplayText() const;  // "hh:mm:ss"
    QString toHhmm() const;         // "hh:mm"

    friend constexpr bool operator==(TimeOfDay a, TimeOfDay b) = default;
    friend constexpr auto operator<=>(TimeOfDay a, TimeOfDay b) = default;

private:
    friend class Moment;
    constexpr explicit TimeOfDay(std::int32_t s) : secs_(s) {}
    std::int32_t secs_ = 0;
};

// A point on the plant's local time line, in whole seconds since 1970-01-01 00:00.
class Moment {
public:
    constexpr Moment() = default;
    static constexpr Moment fromSeconds(std::int64_t s) { return Moment(s); }
    static Moment of(Date d, TimeOfDay t) { return Moment(std::int64_t(d.serial()) * TimeOfDay::kSecondsPerDay + t.seconds()); }

    constexpr std::int64_t seconds() const { return secs_; }
    // Inline: every bar placed or drawn splits its moments.
    constexpr Date date() const { return Date::fromSerial(std::int32_t(daysSinceEpoch())); }
    constexpr TimeOfDay time() const
    {
        return TimeOfDay(std::int32_t(secs_ - daysSinceEpoch() * TimeOfDay::kSecondsPerDay));  // already 0 .. 86399
    }

    constexpr Moment addSeconds(std::int64_t s) const { return Moment(secs_ + s); }
    constexpr Moment addMinutes(std::int64_t m) const { return Moment(secs_ + m * 60); }
    Moment addDays(int d) const { return Moment(secs_ + std::int64_t(d) * TimeOfDay::kSecondsPerDay); }
    // Whole minutes from this to other, truncated toward zero.
    constexpr std::int64_t minutesTo(Moment other) const { return (other.secs_ - secs_) / 60; }

    QString toDisplayText() const;  // "yyyy/mm/dd hh:mm:ss"

    friend constexpr bool operator==(Moment a, Moment b) = default;
    friend constexpr auto operator<=>(Moment a, Moment b) = default;

private:
    constexpr explicit Moment(std::int64_t s) : secs_(s) {}
    constexpr std::int64_t daysSinceEpoch() const  // rounded down, also before the epoch
    {
        const std::int64_t d = secs_ / TimeOfDay::kSecondsPerDay;
        return d - (secs_ % TimeOfDay::kSecondsPerDay < 0 ? 1 : 0);
    }
    std::int64_t secs_ = 0;
};

// Current local date and time, from the system clock (whole seconds).
Moment nowMoment();

// "yyyy/mm/dd hh:mm" of a record's date and time of day; "" when there is no date.
QString dateMinuteText(Date d, TimeOfDay t);

}  // namespace core
