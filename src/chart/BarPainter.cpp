#include "chart/BarPainter.h"

#include "core/ChartGeometry.h"

#include <QPainter>
#include <algorithm>

namespace chart {

namespace {
QColor rgb(std::uint32_t v) { return QColor(int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF)); }

const QColor kOutline(96, 96, 96);
const QColor kChangedFrame(200, 0, 140);   // changed since loading: a strong magenta frame
const QColor kSelected(0, 70, 220);
const QColor kProgress(0, 110, 90);
constexpr int kProgressHeight = 5;
constexpr int kMinTextWidth = 14;
}  // namespace

QFont chartFont(int pixelSize)
{
    QFont f(QStringLiteral("Noto Sans CJK JP"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelSize);
    return f;
}

void paintOffCalendarMark(QPainter& p, const QRect& rect)
{
    const QColor red(220, 0, 0);
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(red, 2, Qt::DashLine));
    p.drawRect(rect.adjusted(1, 1, -1, -1));
    // A corner triangle stays visible on bars too narrow for the frame to show.
    const int size = std::min({12, rect.height(), std::max(6, rect.width())});
    const QPoint tr = rect.topRight();
    const QPoint corner[3] = {tr, tr + QPoint(-size, 0), tr + QPoint(0, size)};
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawPolygon(corner, 3);
    p.restore();
}

void paintBar(QPainter& p, const QRect& rect, const BarVisual& bar, bool selected, const QFont& font)
{
    p.fillRect(rect, rgb(bar.look.background));
    if (bar.progressVisible && bar.progressWidth > 0) {
        const int w = std::min(rect.width(), int(bar.progressWidth / core::TwipsPerPixel + 0.5));
        p.fillRect(QRect(rect.left(), rect.bottom() - kProgressHeight + 1, w, kProgressHeight), kProgress);
    }
    p.setPen(kOutline);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect.adjusted(0, 0, -1, -1));
    if (bar.look.changedMark) {
        p.setPen(QPen(kChangedFrame, 2));
        p.drawRect(rect.adjusted(1, 1, -1, -1));
    }
    if (selected) {
        p.setPen(QPen(kSelected, 2, Qt::SolidLine));
        p.drawRect(rect.adjusted(-1, -1, 0, 0));
    }
    if (rect.width() < kMinTextWidth) return;
    // The caption never runs into the neighbouring bar.
    const QRect text = rect.adjusted(3, 1, -2, -kProgressHeight);
    p.save();
    p.setClipRect(text);
    p.setFont(font);
    p.setPen(rgb(bar.look.text));
    // CJK fonts carry a tall leading; two lines at a fixed step fit the 36-pixel bar.
    const int px = font.pixelSize() > 0 ? font.pixelSize() : 12;
    const int base1 = text.top() + px;
    p.drawText(text.left(), base1, bar.look.line1);
    p.drawText(text.left(), base1 + px + 4, bar.look.line2);
    p.restore();
}

}  // namespace chart
