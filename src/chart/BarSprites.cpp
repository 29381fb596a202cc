#include "chart/BarSprites.h"

#include "chart/BarPainter.h"
#include "core/ChartGeometry.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>

namespace chart {

namespace {
// Wider bars (long orders in the short modes) are few in view: they are painted directly.
constexpr int kWidestSpritePx = 1024;

bool sameText(const QString& a, const QString& b)
{
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

int progressPxOf(const BarVisual& bar, int width)
{
    return bar.progressVisible && bar.progressWidth > 0 ? std::min(width, int(bar.progressWidth / core::TwipsPerPixel + 0.5)) : 0;
}

}  // namespace

const QImage* plainTarget(const QPainter& p)
{
    const QPaintEngine* engine = p.paintEngine();
    if (!engine || !engine->paintDevice() || engine->paintDevice()->devType() != QInternal::Image) return nullptr;
    const auto* image = static_cast<const QImage*>(engine->paintDevice());
    const QImage::Format f = image->format();
    if ((f != QImage::Format_RGB32 && f != QImage::Format_ARGB32_Premultiplied) || image->devicePixelRatio() != 1.0) return nullptr;
    if (p.opacity() != 1.0 || p.compositionMode() != QPainter::CompositionMode_SourceOver
        || p.deviceTransform().type() > QTransform::TxTranslate)
        return nullptr;
    return image;
}

BarSprites::BarSprites(qsizetype budgetBytes) : sprites_(budgetBytes) {}

void BarSprites::paint(QPainter& p, int key, const QRect& rect, const BarVisual& bar, bool selected, const QFont& font)
{
    const QImage* target = rect.width() <= kWidestSpritePx && !rect.isEmpty() ? plainTarget(p) : nullptr;
    if (!target) {
        paintBar(p, rect, bar, selected, font);
        return;
    }
    const int progressPx = progressPxOf(bar, rect.width());
    Sprite* s = sprites_.object(key);
    const bool fits = s && s->image.size() == rect.size() && s->image.format() == target->format() && s->background == bar.look.background
                      && s->text == bar.look.text && s->changedMark == bar.look.changedMark && s->progressPx == progressPx
                      && sameText(s->text1, bar.look.line1) && sameText(s->text2, bar.look.line2) && s->font == font;
    if (!fits) {
        auto made = std::make_unique<Sprite>();
        made->image = QImage(rect.size(), target->format());
        made->text1 = bar.look.line1;
        made->text2 = bar.look.line2;
        made->font = font;
        made->background = bar.look.background;
        made->text = bar.look.text;
        made->progressPx = progressPx;
        made->changedMark = bar.look.changedMark;
        QPainter painter(&made->image);
        paintBarBody(painter, QRect(QPoint(0, 0), rect.size()), bar, font);
        painter.end();
        s = made.get();
        const qsizetype bytes = made->image.sizeInBytes();
        if (!sprites_.insert(key, made.release(), bytes)) {  // larger than the whole budget
            paintBar(p, rect, bar, selected, font);
            return;
        }
    }
    p.drawImage(rect.topLeft(), s->image);
    paintBarOverlay(p, rect, bar, selected);
}

}  // namespace chart
