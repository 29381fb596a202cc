#include "chart/MarkPainters.h"

#include "chart/BarPainter.h"
#include "reschedule/Conflicts.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace chart {

namespace {
constexpr int kBadge = 11;
constexpr int kOffCalendarCorner = 12;  // paintOffCalendarMark's triangle

struct Badge {
    reschedule::ConflictKind kind;
    QColor colour;
    const char16_t* letter;
};
const Badge kBadges[] = {
    {reschedule::ConflictKind::MachineOverlap, QColor(200, 0, 0), u"重"},
    {reschedule::ConflictKind::MouldClash, QColor(120, 40, 170), u"型"},
    {reschedule::ConflictKind::Late, QColor(150, 0, 30), u"遅"},
    {reschedule::ConflictKind::ChainOrder, QColor(220, 110, 0), u"順"},
};
}  // namespace

void paintFixedMark(QPainter& p, const QRect& bar, plan::FixKind kind)
{
    if (kind != plan::FixKind::FullyFixed && kind != plan::FixKind::BackFixed) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(bar.left() + 1, bar.top() + 1, 11, 13);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawRoundedRect(box, 2, 2);
    if (kind == plan::FixKind::FullyFixed) {
        // A padlock: shackle over a body.
        const QColor ink(40, 40, 40);
        p.setPen(QPen(ink, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(box.left() + 2.5, box.top() + 1.5, 6, 7), 0, 180 * 16);
        p.drawLine(QPointF(box.left() + 2.5, box.top() + 5), QPointF(box.left() + 2.5, box.top() + 6.5));
        p.drawLine(QPointF(box.left() + 8.5, box.top() + 5), QPointF(box.left() + 8.5, box.top() + 6.5));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRect(QRectF(box.left() + 1.5, box.top() + 6, 8, 6));
    } else {
        // A pin: the end is held, the bar may only go earlier.
        const QColor ink(0, 80, 190);
        p.setBrush(ink);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(box.left() + 2.5, box.top() + 1.5, 6, 6));
        p.setPen(QPen(ink, 1.6));
        p.drawLine(QPointF(box.left() + 5.5, box.top() + 7), QPointF(box.left() + 5.5, box.top() + 12.5));
    }
    p.restore();
}

void paintConflictBadges(QPainter& p, const QRect& bar, ConflictKinds kinds)
{
    if (kinds == 0) return;
    p.save();
    QFont f = chartFont(9);
    f.setBold(true);
    p.setFont(f);
    int right = bar.right() - kOffCalendarCorner;
    const int top = bar.top() + 1;
    // A bar too narrow for its badges shows them beside each other beyond its end.
    if (bar.width() < kOffCalendarCorner + 2 * kBadge) right = bar.right() + 1 + kBadge * 4;
    for (const Badge& b : kBadges) {
        if (!(kinds & kindBit(int(b.kind)))) continue;
        const QRect r(right - kBadge + 1, top, kBadge, kBadge);
        p.fillRect(r, b.colour);
        p.setPen(Qt::white);
        p.drawText(r, Qt::AlignCenter, QString::fromUtf16(b.letter));
        right -= kBadge + 1;
    }
    p.restore();
}

void paintOverlapHatch(QPainter& p, const QRect& area)
{
    if (area.width() <= 0) return;
    // Light enough that the captions underneath stay readable.
    p.fillRect(area, QBrush(QColor(210, 0, 0, 110), Qt::FDiagPattern));
    p.fillRect(QRect(area.left(), area.top(), area.width(), 1), QColor(200, 0, 0));
    p.fillRect(QRect(area.left(), area.bottom(), area.width(), 1), QColor(200, 0, 0));
    p.fillRect(QRect(area.left(), area.top(), 1, area.height()), QColor(200, 0, 0));
    p.fillRect(QRect(area.right(), area.top(), 1, area.height()), QColor(200, 0, 0));
}

QColor loadColour(const reschedule::DayLoad& load)
{
    if (load.overloaded()) return QColor(220, 30, 30);
    if (load.offered <= 0) return QColor();
    const double ratio = double(load.planned) / double(load.offered);
    if (ratio <= 0) return QColor(235, 235, 235);
    if (ratio <= 0.5) return QColor(170, 225, 170);
    if (ratio <= 0.85) return QColor(80, 180, 90);
    return QColor(240, 170, 30);
}

void paintLoadCell(QPainter& p, const QRect& cell, const reschedule::DayLoad& load)
{
    const QColor c = loadColour(load);
    if (!c.isValid()) return;
    p.fillRect(cell, c);
    if (!load.overloaded()) return;
    // Overloaded: a notch below the strip in the middle of the day.
    const int cx = cell.center().x();
    const QPoint notch[3] = {QPoint(cx - 5, cell.bottom() + 1), QPoint(cx + 5, cell.bottom() + 1), QPoint(cx, cell.bottom() + 6)};
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 0, 0));
    p.drawPolygon(notch, 3);
    p.restore();
}

}  // namespace chart
