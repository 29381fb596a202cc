#include "core/TypedText.h"

#include "core/SearchText.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace core {

namespace {

// Date texts only: full-width digits to ASCII, every separator to "/", blanks dropped.
QString dateDigits(const QString& s)
{
    QString r;
    r.reserve(s.size());
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19) r += QChar(u'0' + (u - 0xFF10));  // ０..９
        else if (u == 0xFF0F || u == 0xFF0D || u == 0xFF0E || u == 0x30FC || u == 0x2212 || u == u'-' || u == u'.'
                 || u == u'年' || u == u'月')
            r += u'/';  // ／ － ． ー − and the kanji separators all mean "next part"
        else if (u == u'日' || u == 0x3000 || u == u' ')
            continue;  // "日" closes the date; blanks carry nothing
        else
            r += c;
    }
    return r;
}

QString displayTextOf(int y, int m, int d)
{
    const Date date = Date::fromYmd(y, m, d);
    return date.isNull() ? QString() : date.toDisplayText();
}

// Full-width katakana in the order of the half-width block U+FF66 .. U+FF9F.
const QString& katakanaOrder()
{
    static const QString order = QStringLiteral("ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜");
    return order;
}

}  // namespace

QString mDateChr(const QString& typed)
{
    const QString s = dateDigits(typed.trimmed());
    static const QRegularExpression digitsOnly(QStringLiteral("^\\d+$"));
    if (digitsOnly.match(s).hasMatch()) {
        if (s.size() == 8) return displayTextOf(s.left(4).toInt(), s.mid(4, 2).toInt(), s.mid(6, 2).toInt());
        if (s.size() == 6) return displayTextOf(2000 + s.left(2).toInt(), s.mid(2, 2).toInt(), s.mid(4, 2).toInt());
        return {};
    }
    static const QRegularExpression parts(QStringLiteral("^(\\d{4}|\\d{2})/(\\d{1,2})/(\\d{1,2})$"));
    const QRegularExpressionMatch m = parts.match(s);
    if (!m.hasMatch()) return {};
    int year = m.captured(1).toInt();
    if (m.captured(1).size() == 2) year += 2000;
    return displayTextOf(year, m.captured(2).toInt(), m.captured(3).toInt());
}

Date typedDate(const QString& typed) { return Date::fromDisplayText(mDateChr(typed)); }

std::optional<TimeOfDay> typedTime(const QString& typed)
{
    QString s = toHalfWidth(typed);
    s.replace(u'：', u':');
    return TimeOfDay::fromDisplayText(s);
}

QString toHalfWidth(const QString& text)
{
    QString r;
    r.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E) {
            r += QChar(char16_t(u - 0xFF01 + 0x21));
        } else if (u == 0x3000) {
            r += u' ';
        } else if (u == u'。') {
            r += QChar(0xFF61);
        } else if (u == u'「') {
            r += QChar(0xFF62);
        } else if (u == u'」') {
            r += QChar(0xFF63);
        } else if (u == u'、') {
            r += QChar(0xFF64);
        } else if (u == u'・') {
            r += QChar(0xFF65);
        } else if (u >= 0x30A1 && u <= 0x30FC) {
            // Voiced katakana decompose into the plain one and its mark.
            const QString parts = QString(c).normalized(QString::NormalizationForm_D);
            for (QChar p : parts) {
                const char16_t v = p.unicode();
                if (v == 0x3099) {
                    r += QChar(0xFF9E);
                } else if (v == 0x309A) {
                    r += QChar(0xFF9F);
                } else if (const qsizetype at = katakanaOrder().indexOf(p); at >= 0) {
                    r += QChar(char16_t(0xFF66 + at));
                } else {
                    r += p;  // small ヮ, ヵ, ヶ have no half-width form
                }
            }
        } else {
            r += c;
        }
    }
    return r;
}

double leadingValue(const QString& text)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (c != u' ' && c != u'\t') s += c;
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)"));
    const QRegularExpressionMatch m = number.match(s);
    if (!m.hasMatch()) return 0;
    const double v = m.captured(0).toDouble();
    return std::isfinite(v) ? v : 0;
}

std::int32_t roundToInt32(double v)
{
    if (!std::isfinite(v)) return 0;
    const double r = std::nearbyint(v);  // the default rounding mode: halves to even
    if (r >= double(std::numeric_limits<std::int32_t>::max())) return std::numeric_limits<std::int32_t>::max();
    if (r <= double(std::numeric_limits<std::int32_t>::min())) return std::numeric_limits<std::int32_t>::min();
    return std::int32_t(r);
}

std::int64_t roundToInt64(double v)
{
    if (!std::isfinite(v)) return 0;
    const double r = std::nearbyint(v);
    // 2^63 is exact in a double; everything below it converts.
    if (r >= 9223372036854775807.0) return std::numeric_limits<std::int64_t>::max();
    if (r <= -9223372036854775807.0) return std::numeric_limits<std::int64_t>::min();
    return std::int64_t(r);
}

QString groupedText(double value, int decimals)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::DefaultNumberOptions);  // with group separators
    QString t = c.toString(value, 'f', decimals);
    if (t.startsWith(u'-') && t.count(u'0') + t.count(u',') + t.count(u'.') == t.size() - 1) t.remove(0, 1);  // no "-0.000"
    return t;
}

std::optional<std::int64_t> typedWholeNumber(const QString& typed)
{
    QString t = foldForSearch(typed.trimmed());
    t.remove(u',');
    bool ok = false;
    const std::int64_t n = t.toLongLong(&ok);
    return ok ? std::optional<std::int64_t>(n) : std::nullopt;
}

}  // namespace core
