#include "core/TimeTypes.h"

#include <QDateTime>
#include <QRegularExpression>

namespace core {
namespace {

// Proleptic Gregorian conversions (H. Hinnant's civil-from-days algorithms).
constexpr std::int32_t daysFromCivil(int y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + int(doe) - 719468;
}

struct Ymd { int y; unsigned m; unsigned d; };

constexpr Ymd civilFromDays(std::int32_t z)
{
    z += 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int y = int(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp + (mp < 10 ? 3 : -9);
    return {y + (m <= 2), m, d};
}

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

}  // namespace

Date Date::fromYmd(int year, int month, int day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return Date();
    return Date(daysFromCivil(year, unsigned(month), unsigned(day)));
}

Date Date::fromYmdText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.size() != 8) return Date();
    for (QChar c : t)
        if (c < u'0' || c > u'9') return Date();
    return fromYmd(t.left(4).toInt(), t.mid(4, 2).toInt(), t.mid(6, 2).toInt());
}

Date Date::fromDisplayText(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{4})[/\\-](\\d{1,2})[/\\-](\\d{1,2})\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return fromYmdText(text);
    return fromYmd(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

int Date::year() const { return civilFromDays(days_).y; }
int Date::month() const { return int(civilFromDays(days_).m); }
int Date::day() const { return int(civilFromDays(days_).d); }

int Date::dayOfWeek() const
{
    // 1970-01-01 was a Thursday (4).
    const int r = int(((std::int64_t(days_) + 3) % 7 + 7) % 7);
    return r + 1;
}

Date Date::addMonths(int n) const
{
    if (isNull()) return Date();
    const Ymd c = civilFromDays(days_);
    // 64-bit and range-checked first: the month table must never be read with a
    // month of a year before 1 (a negative remainder).
    const std::int64_t total = std::int64_t(c.y) * 12 + c.m - 1 + n;
    if (total < 12 || total >= 10000 * 12) return Date();
    const int y = int(total / 12);
    const int m = int(total % 12) + 1;
    return fromYmd(y, m, std::min(int(c.d), daysInMonth(y, m)));
}

QString Date::toYmdText() const
{
    if (isNull()) return QStringLiteral("00000000");
    const Ymd c = civilFromDays(days_);
    return QStringLiteral("%1%2%3").arg(c.y, 4, 10, QChar(u'0')).arg(c.m, 2, 10, QChar(u'0')).arg(c.d, 2, 10, QChar(u'0'));
}

QString Date::toDisplayText() const
{
    if (isNull()) return QString();
    const Ymd c = civilFromDays(days_);
    return QStringLiteral("%1/%2/%3").arg(c.y, 4, 10, QChar(u'0')).arg(c.m, 2, 10, QChar(u'0')).arg(c.d, 2, 10, QChar(u'0'));
}

QString Date::toMonthDayText() const
{
    if (isNull()) return QString();
    const Ymd c = civilFromDays(days_);
    return QStringLiteral("%1/%2").arg(c.m).arg(c.d);
}

std::optional<TimeOfDay> TimeOfDay::fromHhnnss(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 6) return std::nullopt;
    for (QChar c : t)
        if (c < u'0' || c > u'9') return std::nullopt;
    const int v = t.toInt();
    const int h = v / 10000, m = (v / 100) % 100, s = v % 100;
    if (h > 23 || m > 59 || s > 59) return std::nullopt;
    return fromHms(h, m, s);
}

std::optional<TimeOfDay> TimeOfDay::fromDisplayText(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const int h = m.captured(1).toInt(), mi = m.captured(2).toInt();
    const int s = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    if (h > 23 || mi > 59 || s > 59) return std::nullopt;
    return fromHms(h, mi, s);
}

QString TimeOfDay::toHhnnss() const
{
    return QStringLiteral("%1%2%3").arg(hour(), 2, 10, QChar(u'0')).arg(minute(), 2, 10, QChar(u'0')).arg(second(), 2, 10, QChar(u'0'));
}

QString TimeOfDay::toDisplayText() const
{
    return QStringLiteral("%1:%2:%3").arg(hour(), 2, 10, QChar(u'0')).arg(minute(), 2, 10, QChar(u'0')).arg(second(), 2, 10, QChar(u'0'));
}

QString TimeOfDay::toHhmm() const
{
    return QStringLiteral("%1:%2").arg(hour(), 2, 10, QChar(u'0')).arg(minute(), 2, 10, QChar(u'0'));
}

QString Moment::toDisplayText() const { return date().toDisplayText() + u' ' + time().toDisplayText(); }

QString dateMinuteText(Date d, TimeOfDay t) { return d.isNull() ? QString() : d.toDisplayText() + u' ' + t.toHhmm(); }

Moment nowMoment()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return Moment::of(Date::fromYmd(d.year(), d.month(), d.day()), TimeOfDay::fromHms(t.hour(), t.minute(), t.second()));
}

}  // namespace core
