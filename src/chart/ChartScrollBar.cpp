#include "chart/ChartScrollBar.h"

#include <QImage>
#include <QPainter>
#include <QStyleOptionSlider>
#include <vector>

namespace chart {

namespace {
constexpr int kEndMargin = 2;  // pixels about a handle's end that a move may change

// The interval [a, b] widened by the margin, along the bar.
bool within(int line, int a, int b) { return line >= std::min(a, b) - kEndMargin && line <= std::max(a, b) + kEndMargin; }

int startOf(const QRect& r, Qt::Orientation o) { return o == Qt::Horizontal ? r.left() : r.top(); }
int endOf(const QRect& r, Qt::Orientation o) { return o == Qt::Horizontal ? r.right() : r.bottom(); }

// Lines along the bar (columns of a horizontal bar, rows of a vertical one)
// where two pictures of it differ.
std::vector<int> differingLines(const QImage& a, const QImage& b, Qt::Orientation along)
{
    std::vector<int> out;
    if (a.size() != b.size() || a.format() != b.format()) return out;
    const int lines = along == Qt::Horizontal ? a.width() : a.height();
    std::vector<bool> differs(std::size_t(std::max(0, lines)), false);
    for (int y = 0; y < a.height(); ++y) {
        const auto* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if (pa[x] != pb[x]) differs[std::size_t(along == Qt::Horizontal ? x : y)] = true;
    }
    for (int i = 0; i < lines; ++i)
        if (differs[std::size_t(i)]) out.push_back(i);
    return out;
}
}  // namespace

QRect ChartScrollBar::handleRect() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
}

bool ChartScrollBar::movesByEnds(const QStyleOptionSlider& now)
{
    const Probe key{style(), size(), now.state, now.activeSubControls, now.palette.cacheKey()};
    if (probe_ && probe_->style == key.style && probe_->size == key.size && probe_->state == key.state &&
        probe_->active == key.active && probe_->palette == key.palette)
        return probe_->byEnds;
    probe_ = key;
    if (devicePixelRatioF() != 1.0 || size().isEmpty()) return probe_->byEnds = false;

    // The bar drawn with its handle in two places away from the arrows: only
    // the pixels about the handle's ends may differ.
    QStyleOptionSlider at = now;
    at.minimum = 0;
    at.maximum = 1000;
    at.pageStep = 250;
    at.sliderPosition = at.sliderValue = 300;
    QStyleOptionSlider moved = at;
    moved.sliderPosition = moved.sliderValue = 400;
    const QRect from = style()->subControlRect(QStyle::CC_ScrollBar, &at, QStyle::SC_ScrollBarSlider, this);
    const QRect to = style()->subControlRect(QStyle::CC_ScrollBar, &moved, QStyle::SC_ScrollBarSlider, this);
    if (from.size() != to.size() || from == to) return probe_->byEnds = false;
    const auto picture = [this](const QStyleOptionSlider& o) {
        QImage image(size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(palette().color(QPalette::Window));
        QPainter p(&image);
        style()->drawComplexControl(QStyle::CC_ScrollBar, &o, &p, this);
        return image;
    };
    const Qt::Orientation o = orientation();
    for (int line : differingLines(picture(at), picture(moved), o))
        if (!within(line, startOf(from, o), startOf(to, o)) && !within(line, endOf(from, o), endOf(to, o)))
            return probe_->byEnds = false;
    return probe_->byEnds = true;
}

void ChartScrollBar::sliderChange(SliderChange change)
{
    if (change != SliderValueChange || painted_.isNull()) {
        QScrollBar::sliderChange(change);
        return;
    }
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect now = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    // A style may draw the arrows differently at either end of the range.
    const bool atEnd = value() == minimum() || value() == maximum();
    if (atEnd || wasAtEnd_) {
        wasAtEnd_ = atEnd;
        update();
        return;
    }
    if (now == painted_) return;
    if (now.size() != painted_.size() || !movesByEnds(option)) {
        update(now.united(painted_).adjusted(-1, -1, 1, 1));
        return;
    }
    const Qt::Orientation o = orientation();
    const auto band = [&](int a, int b) {
        const int lo = std::min(a, b) - kEndMargin, hi = std::max(a, b) + kEndMargin;
        return o == Qt::Horizontal ? QRect(lo, 0, hi - lo + 1, height()) : QRect(0, lo, width(), hi - lo + 1);
    };
    update(QRegion(band(startOf(painted_, o), startOf(now, o))) + band(endOf(painted_, o), endOf(now, o)));
}

void ChartScrollBar::paintEvent(QPaintEvent* e)
{
    QScrollBar::paintEvent(e);
    painted_ = handleRect();
    wasAtEnd_ = value() == minimum() || value() == maximum();
}

}  // namespace chart
