#include "chart/BarPainter.h"

#include "core/ChartGeometry.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <optional>

namespace chart {

namespace {
QColor rgb(std::uint32_t v) { return QColor(int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF)); }

const QColor kOutline(96, 96, 96);
const QColor kChangedFrame(200, 0, 140);   // changed since loading: a strong magenta frame
const QColor kSelected(0, 70, 220);
const QColor kProgress(0, 110, 90);
constexpr int kProgressHeight = 5;
constexpr int kMinTextWidth = 14;

// The pixels of a rectangle outline stroked with a pen of the thickness (1 or 2)
// around the outer box: a one-pixel ring; a two-pixel ring without its two left
// corners, where a two-pixel pen leaves them out.
void frame(QPainter& p, const QRect& outer, int thickness, const QColor& colour)
{
    const int t = thickness;
    const int l = outer.left(), r = outer.right(), top = outer.top(), bottom = outer.bottom();
    const int cut = t == 2 ? 1 : 0;
    p.fillRect(QRect(QPoint(l + cut, top), QPoint(r, top)), colour);
    p.fillRect(QRect(QPoint(l + cut, bottom), QPoint(r, bottom)), colour);
    if (t == 2) {
        p.fillRect(QRect(QPoint(l, top + 1), QPoint(r, top + 1)), colour);
        p.fillRect(QRect(QPoint(l, bottom - 1), QPoint(r, bottom - 1)), colour);
    }
    p.fillRect(QRect(QPoint(l, top + t), QPoint(l + t - 1, bottom - t)), colour);
    p.fillRect(QRect(QPoint(r - t + 1, top + t), QPoint(r, bottom - t)), colour);
}

bool sameText(const QString& a, const QString& b)
{
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

// A caption's line shaped once, as far as the glyphs of the characters that
// start inside the room (and one more: a glyph may reach back over its start
// into it); the rest is clipped away anyway. Nothing when `text` is only the
// start of the line and does not reach two characters past the room's edge.
std::optional<QList<QGlyphRun>> shapedRuns(const QString& text, bool wholeLine, const QFont& font, int width, double& ascent)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) line.setPosition(QPointF(0, 0));
    layout.endLayout();
    ascent = line.isValid() ? line.ascent() : 0;
    if (!line.isValid()) return QList<QGlyphRun>();
    if (qRound(line.naturalTextWidth()) < width) {
        if (!wholeLine) return std::nullopt;
        return layout.glyphRuns();
    }
    int n = line.xToCursor(width, QTextLine::CursorOnCharacter) + 2;
    if (n > text.size() && !wholeLine) return std::nullopt;
    n = std::min(n, int(text.size()));
    if (n < text.size() && text.at(n - 1).isHighSurrogate()) ++n;
    return layout.glyphRuns(0, n);
}

// A narrow bar in the four-week view shows a few characters of a long line,
// and the first paint over many bars is mostly shaping: only as much of the
// line is shaped as could reach the room's edge, the whole line when that
// guess falls short.
QList<QGlyphRun> laidOut(const QString& text, const QFont& font, int width, double& ascent)
{
    // The chart's font has hardly a glyph narrower than a fifth of its size.
    const qsizetype reach = std::max<qsizetype>(4, qsizetype(width) * 5 / std::max(1, font.pixelSize()) + 3);
    if (text.size() > reach + 1) {
        const qsizetype cut = text.at(reach - 1).isHighSurrogate() ? reach + 1 : reach;
        if (auto runs = shapedRuns(text.left(cut), false, font, width, ascent)) return *runs;
    }
    return *shapedRuns(text, true, font, width, ascent);
}

const CaptionLayout& captionOf(const BarVisual& bar, const QFont& font, int pixelSize, int width)
{
    const CaptionLayout* c = bar.captionLayout.get();
    if (c && c->width == width && c->pixelSize == pixelSize && sameText(c->text1, bar.look.line1) && sameText(c->text2, bar.look.line2))
        return *c;
    auto made = std::make_shared<CaptionLayout>();
    made->text1 = bar.look.line1;
    made->text2 = bar.look.line2;
    made->pixelSize = pixelSize;
    made->width = width;
    made->line1 = laidOut(bar.look.line1, font, width, made->ascent1);
    made->line2 = laidOut(bar.look.line2, font, width, made->ascent2);
    bar.captionLayout = made;
    return *made;
}
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

void paintBarBody(QPainter& p, const QRect& rect, const BarVisual& bar, const QFont& font)
{
    p.fillRect(rect, rgb(bar.look.background));
    if (bar.progressVisible && bar.progressWidth > 0) {
        const int w = std::min(rect.width(), int(bar.progressWidth / core::TwipsPerPixel + 0.5));
        p.fillRect(QRect(rect.left(), rect.bottom() - kProgressHeight + 1, w, kProgressHeight), kProgress);
    }
    // Frames are filled, not stroked: a stroke cut by the paint's clip (a bar
    // across the edge of a strip a scroll exposed) loses its corner pixels,
    // and the moved part of the chart must match what is painted next to it.
    frame(p, rect, 1, kOutline);
    if (bar.look.changedMark) frame(p, rect, 2, kChangedFrame);
    if (rect.width() < kMinTextWidth) return;
    // The caption never runs into the neighbouring bar.
    const QRect text = rect.adjusted(3, 1, -2, -kProgressHeight);
    // CJK fonts carry a tall leading; two lines at a fixed step fit the 36-pixel bar.
    const int px = font.pixelSize() > 0 ? font.pixelSize() : 12;
    const int base1 = text.top() + px;
    const CaptionLayout& caption = captionOf(bar, font, px, text.width());
    // The glyph runs carry their font; a painter without a clip of its own (the
    // surfaces') needs no saved state, which costs as much as the drawing.
    const bool ownClip = p.hasClipping();
    if (ownClip) p.save();
    p.setClipRect(text, ownClip ? Qt::IntersectClip : Qt::ReplaceClip);
    p.setPen(rgb(bar.look.text));
    for (const QGlyphRun& run : caption.line1) p.drawGlyphRun(QPointF(text.left(), base1 - caption.ascent1), run);
    for (const QGlyphRun& run : caption.line2) p.drawGlyphRun(QPointF(text.left(), base1 + px + 4 - caption.ascent2), run);
    if (ownClip) p.restore();
    else p.setClipping(false);
}

void paintBarOverlay(QPainter& p, const QRect& rect, const BarVisual& bar, bool selected)
{
    Q_UNUSED(bar);
    // The selection outline lies around the bar and over its right and bottom
    // edges, never over the caption: it can be drawn after the bar's body.
    if (selected) frame(p, rect.adjusted(-2, -2, 1, 1), 2, kSelected);
}

void paintBar(QPainter& p, const QRect& rect, const BarVisual& bar, bool selected, const QFont& font)
{
    paintBarBody(p, rect, bar, font);
    paintBarOverlay(p, rect, bar, selected);
}

}  // namespace chart
