#include "chart/TimeHeader.h"

#include "chart/BarPainter.h"
#include "chart/PlatForm.h"

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

QString dayCaption(core::Date d) { return QStringLiteral("%1(%2)").arg(d.toMonthDayText(), weekdayName(d)); }

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

void PlatForm2::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    p.fillRect(e->rect(), kHeaderBack);
    const auto topPx = [this](core::Moment m) { return core::pxOfTwips(state_.xOf(m, true)); };
    p.setFont(chartFont(10));
    for (int d = 0; d < 28; ++d) {
        const core::Moment start = state_.origin().addDays(d);
        const int x1 = topPx(start), x2 = topPx(start.addDays(1));
        const core::Date date = start.date();
        if (date.dayOfWeek() >= 6) p.fillRect(QRect(x1, 0, x2 - x1, height()), kWeekendBack);
        p.setPen(QColor(150, 150, 150));
        p.drawLine(x1, 0, x1, height());
        p.setPen(dayColor(date));
        if (x2 - x1 >= 24) p.drawText(QRect(x1 + 1, 0, x2 - x1 - 1, height()), Qt::AlignCenter, date.toMonthDayText());
    }
    // The part of the period the main chart shows now.
    const int v1 = topPx(state_.momentAtX(state_.pxToX(0)));
    const int v2 = topPx(state_.momentAtX(state_.pxToX(int(state_.scale().ChartWidth / core::TwipsPerPixel))));
    p.setPen(QPen(kViewport, 2));
    p.setBrush(QColor(0, 90, 220, 40));
    p.drawRect(QRect(v1, 1, std::max(2, v2 - v1), height() - 3));
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

void DayDispArea::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    const QRect area = e->rect();
    p.fillRect(area, kHeaderBack);
    const double dayTwips = state_.scale().DayTwips;
    if (dayTwips <= 0) return;
    const int firstDay = int(std::floor(state_.pxToX(area.left()) / dayTwips)) - 1;
    const int lastDay = int(std::floor(state_.pxToX(area.right() + 1) / dayTwips)) + 1;
    const QFont dayFont = chartFont(12), hourFont = chartFont(10);
    const int step = core::hourStepOf(state_.scale().DisplayMode);
    const int mid = 19;
    for (int d = firstDay; d <= lastDay; ++d) {
        const core::Moment start = state_.origin().addDays(d);
        const int x1 = state_.xToPx(state_.xOf(start)), x2 = state_.xToPx(state_.xOf(start.addDays(1)));
        const core::Date date = start.date();
        if (date.dayOfWeek() >= 6) p.fillRect(QRect(x1, 0, x2 - x1, height()), kWeekendBack);
        p.setFont(dayFont);
        // The longest caption that fits the column: "12/7(月)", "7(月)", "7".
        const QFontMetrics fm(dayFont);
        QString caption = dayCaption(date);
        if (fm.horizontalAdvance(caption) > x2 - x1 - 4) caption = QStringLiteral("%1(%2)").arg(date.day()).arg(weekdayName(date));
        if (fm.horizontalAdvance(caption) > x2 - x1 - 4) caption = QString::number(date.day());
        p.setPen(dayColor(date));
        p.drawText(QRect(x1, 0, x2 - x1, mid), Qt::AlignCenter, caption);
        if (step > 0) {
            p.setFont(hourFont);
            p.setPen(QColor(80, 80, 80));
            for (int h = 0; h < 24; h += step) {
                const core::Moment m = start.addSeconds(h * 3600);
                const int x = state_.xToPx(state_.xOf(m));
                p.drawLine(x, mid + 12, x, height());
                p.drawText(QRect(x + 2, mid, 40, height() - mid), Qt::AlignLeft | Qt::AlignVCenter, QString::number(m.time().hour()));
            }
        }
        p.setPen(QColor(120, 120, 120));
        p.drawLine(x1, 0, x1, height());
    }
    p.setPen(QColor(150, 150, 150));
    p.drawLine(area.left(), mid, area.right(), mid);
    p.drawLine(area.left(), height() - 1, area.right(), height() - 1);
}

}  // namespace chart
