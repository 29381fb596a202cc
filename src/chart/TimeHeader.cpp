#include "chart/TimeHeader.h"

#include "chart/BarPainter.h"
#include "chart/BarSprites.h"
#include "chart/PlatForm.h"

#include <QHash>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace chart {

namespace {
const QColor kHeaderBack(244, 244, 244);
const QColor kWeekendBack(232, 238, 250);
const QColor kSunday(200, 0, 0);
const QColor kSaturday(0, 60, 200);
const QColor kViewport(0, 90, 220);

QColor dayColor(core::Date d)
{
    if (d.dayOfWeek() == 7) return kSunday;
    if (d.dayOfWeek() == 6) return kSaturday;
    return Qt::black;
}
}  // namespace

QString weekdayName(core::Date d)
{
    static const QString names = QStringLiteral("月火水木金土日");
    return d.isNull() ? QString() : QString(names.at(d.dayOfWeek() - 1));
}

QString dayCaption(core::Date d, DayCaptionForm form)
{
    switch (form) {
    case DayCaptionForm::MonthDayWeekday: return QStringLiteral("%1(%2)").arg(d.toMonthDayText(), weekdayName(d));
    case DayCaptionForm::DayWeekday: return QStringLiteral("%1(%2)").arg(d.day()).arg(weekdayName(d));
    case DayCaptionForm::Day: break;
    }
    return QString::number(d.day());
}

QString monthCaption(core::Date d) { return QStringLiteral("%1年%2月").arg(d.year()).arg(d.month()); }

PlatForm2::PlatForm2(ChartState& state, QWidget* parent) : QWidget(parent), state_(state)
{
    setObjectName(QStringLiteral("PlatForm2"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedHeight(22);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("４週間の概観：クリックした日時へ移動します"));
}

core::Moment PlatForm2::momentAtPx(int px) const
{
    const double scale = state_.scale().HourTwipsTop;
    return scale > 0 ? core::xToMoment(state_.origin(), double(px) * core::TwipsPerPixel, scale) : state_.origin();
}

QRect PlatForm2::viewportRectPx() const
{
    const auto topPx = [this](core::Moment m) { return core::pxOfTwips(state_.xOf(m, true)); };
    const int v1 = topPx(state_.momentAtX(state_.pxToX(0)));
    const int v2 = topPx(state_.momentAtX(state_.pxToX(int(state_.scale().ChartWidth / core::TwipsPerPixel))));
    return QRect(v1, 1, std::max(2, v2 - v1), height() - 3);
}

void PlatForm2::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    // A scroll step asks for the frame's two ends: the region, not its bounding
    // rectangle, says which days to paint again.
    const QRegion& area = e->region();
    for (const QRect& r : area) p.fillRect(r, kHeaderBack);
    const auto topPx = [this](core::Moment m) { return core::pxOfTwips(state_.xOf(m, true)); };
    p.setFont(chartFont(10));
    // All days as "m/d" or, where that does not fit, all as the day alone with a
    // darker line where a month begins.
    const int column = topPx(state_.origin().addDays(1)) - topPx(state_.origin());
    const bool withMonth = p.fontMetrics().horizontalAdvance(QStringLiteral("12/28")) <= column - 2;
    for (int d = 0; d < 28; ++d) {
        const core::Moment start = state_.origin().addDays(d);
        const int x1 = topPx(start), x2 = topPx(start.addDays(1));
        if (!area.intersects(QRect(x1, 0, x2 - x1 + 1, height()))) continue;
        const core::Date date = start.date();
        if (date.dayOfWeek() >= 6) p.fillRect(QRect(x1, 0, x2 - x1, height()), kWeekendBack);
        p.setPen(!withMonth && date.day() == 1 ? QColor(60, 60, 60) : QColor(150, 150, 150));
        p.drawLine(x1, 0, x1, height());
        p.setPen(dayColor(date));
        const QString text = withMonth ? date.toMonthDayText() : QString::number(date.day());
        if (p.fontMetrics().horizontalAdvance(text) <= x2 - x1 - 2) p.drawText(QRect(x1 + 1, 0, x2 - x1 - 1, height()), Qt::AlignCenter, text);
    }
    // The part of the period the main chart shows now.
    p.setPen(QPen(kViewport, 2));
    p.setBrush(QColor(0, 90, 220, 40));
    p.drawRect(viewportRectPx());
    const int now = topPx(core::nowMoment());
    p.setPen(QPen(Qt::red, 1));
    p.drawLine(now, 0, now, height());
    p.setPen(QColor(150, 150, 150));
    p.drawLine(0, height() - 1, width(), height() - 1);
}

DayDispArea::DayDispArea(ChartState& state, QWidget* parent) : QWidget(parent), state_(state)
{
    setObjectName(QStringLiteral("DayDispArea"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedHeight(36);
}

namespace {
constexpr int kCaptionLine = DayDispArea::CaptionLinePx;
constexpr int kCaptionPad = 4;

// The longest form whose widest caption fits a day column of the given width
// (the widths are measured once: every paint asks).
DayCaptionForm formFor(int columnPx)
{
    static const auto widthOf = [](DayCaptionForm f) {
        const core::Date widest = core::Date::fromYmd(2024, 12, 28);  // two-digit month and day
        return QFontMetrics(chartFont(12)).horizontalAdvance(dayCaption(widest, f));
    };
    static const int monthDayWeekday = widthOf(DayCaptionForm::MonthDayWeekday), dayWeekday = widthOf(DayCaptionForm::DayWeekday);
    if (monthDayWeekday <= columnPx - kCaptionPad) return DayCaptionForm::MonthDayWeekday;
    if (dayWeekday <= columnPx - kCaptionPad) return DayCaptionForm::DayWeekday;
    return DayCaptionForm::Day;
}
// A month's caption as a picture on the strip's background, drawn once per
// text: laying out its glyphs is what a scroll step, which repaints both ends
// of the months' line, would otherwise spend most on.
struct MonthPicture {
    QImage image;
    int textWidth = 0;
};
MonthPicture monthPicture(const QString& text, const QFont& font, QImage::Format format)
{
    static QHash<QString, MonthPicture> pictures;
    const QString key = text + QChar(u'\x1f') + QString::number(int(format)) + QChar(u'\x1f') + font.key();
    auto it = pictures.find(key);
    if (it == pictures.end()) {
        MonthPicture made;
        made.textWidth = QFontMetrics(font).horizontalAdvance(text);
        made.image = QImage(made.textWidth + kCaptionPad, kCaptionLine, format);  // room for glyphs that overhang
        made.image.fill(kHeaderBack);
        QPainter p(&made.image);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(made.image.rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        it = pictures.insert(key, made);
    }
    return *it;
}
}  // namespace

DayDispArea::Captions DayDispArea::captions(const QRegion& within) const
{
    const QRect area = rect();
    Captions out;
    const double dayTwips = state_.scale().DayTwips;
    if (dayTwips <= 0) return out;
    const int firstDay = int(std::floor(state_.pxToX(area.left()) / dayTwips)) - 1;
    const int lastDay = int(std::floor(state_.pxToX(area.right() + 1) / dayTwips)) + 1;
    const auto xAt = [this](core::Moment m) { return state_.xToPx(state_.xOf(m)); };
    const core::Moment first = state_.origin().addDays(firstDay);
    const DayCaptionForm form = formFor(xAt(first.addDays(1)) - xAt(first));
    const bool monthsAbove = form != DayCaptionForm::MonthDayWeekday;
    const QRect dayLine = monthsAbove ? QRect(0, kCaptionLine, 0, height() - kCaptionLine) : QRect(0, 0, 0, kCaptionLine);
    // Hours only below days that carry their month; narrower columns have no room for them.
    const int step = monthsAbove ? 0 : core::hourStepOf(state_.scale().DisplayMode);
    for (int d = firstDay; d <= lastDay; ++d) {
        const core::Moment start = state_.origin().addDays(d);
        const int x1 = xAt(start), x2 = xAt(start.addDays(1));
        const core::Date date = start.date();
        // An hour's caption reaches 40 px past its hour, into the next day.
        const bool wanted = within.isEmpty() || within.intersects(QRect(x1 - 2, 0, x2 - x1 + 44, height()));
        if (wanted) out.days.push_back({QRect(x1, dayLine.top(), x2 - x1, dayLine.height()), dayCaption(date, form), date});
        for (int h = 0; h < 24 && step > 0 && wanted; h += step) {
            const core::Moment m = start.addSeconds(h * 3600);
            out.hours.push_back({QRect(xAt(m) + 2, kCaptionLine, 40, height() - kCaptionLine), QString::number(m.time().hour()), date});
        }
        // A month stands from its first day (or the left edge) to its last day (or the right edge).
        if (monthsAbove && (d == firstDay || date.day() == 1)) {
            const core::Date next = core::Date::fromYmd(date.year(), date.month(), 1).addMonths(1);
            const int left = std::max(x1, 0);
            const int right = std::min(xAt(start.addDays(date.daysTo(next))), width());
            if (right > left) out.months.push_back({QRect(left, 0, right - left, kCaptionLine), monthCaption(date), date});
        }
    }
    return out;
}

void DayDispArea::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    // A scroll step asks for the strip that came into view and the ends of the
    // months' line: the region, not its bounding rectangle, says what to paint.
    const QRegion& area = e->region();
    for (const QRect& r : area) p.fillRect(r, kHeaderBack);
    const Captions c = captions(area);
    const QImage* target = plainTarget(p);  // where a month's picture gives the pixels drawText gives
    const QFont dayFont = chartFont(12);
    p.setFont(dayFont);
    const auto meets = [&area](const QRect& r) { return area.intersects(r); };
    for (const Caption& day : c.days) {
        if (!meets(day.rect)) continue;
        // Weekends are shaded under their day and hour captions, not under a month's.
        const int top = c.months.empty() ? 0 : day.rect.top();
        if (day.date.dayOfWeek() >= 6) p.fillRect(QRect(day.rect.left(), top, day.rect.width(), height() - top), kWeekendBack);
        p.setPen(dayColor(day.date));
        p.drawText(day.rect, Qt::AlignCenter, day.text);
        p.setPen(QColor(120, 120, 120));
        p.drawLine(day.rect.left(), top, day.rect.left(), height());
    }
    for (const Caption& month : c.months) {
        if (!meets(month.rect)) continue;
        p.setPen(QColor(120, 120, 120));
        p.drawLine(month.rect.left(), 0, month.rect.left(), kCaptionLine);
        // A month with little room in view drops its year rather than show a cut number.
        const QRect room = month.rect.adjusted(kCaptionPad, 0, 0, 0);
        const QImage::Format format = target ? target->format() : QImage::Format_ARGB32_Premultiplied;
        QString text = month.text;
        MonthPicture picture = monthPicture(text, dayFont, format);
        if (picture.textWidth > room.width()) {
            text = QStringLiteral("%1月").arg(month.date.month());
            picture = monthPicture(text, dayFont, format);
        }
        if (picture.textWidth > room.width()) continue;
        if (target) {
            p.drawImage(room.topLeft(), picture.image, QRect(0, 0, std::min(room.width(), picture.image.width()), kCaptionLine));
            continue;
        }
        p.setPen(Qt::black);
        p.drawText(room, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }
    p.setFont(chartFont(10));
    p.setPen(QColor(80, 80, 80));
    for (const Caption& hour : c.hours) {
        if (!meets(hour.rect.adjusted(-2, 0, 0, 0))) continue;
        p.drawLine(hour.rect.left() - 2, kCaptionLine + 12, hour.rect.left() - 2, height());
        p.drawText(hour.rect, Qt::AlignLeft | Qt::AlignVCenter, hour.text);
    }
    p.setPen(QColor(150, 150, 150));
    p.drawLine(0, kCaptionLine, width(), kCaptionLine);
    p.drawLine(0, height() - 1, width(), height() - 1);
}

int DayDispArea::monthCaptionReachPx() const
{
    static const int reach = QFontMetrics(chartFont(12)).horizontalAdvance(monthCaption(core::Date::fromYmd(2024, 12, 1))) + kCaptionPad + 2;
    return reach;
}

}  // namespace chart
