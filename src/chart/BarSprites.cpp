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

BarSprites::Sprite* BarSprites::pictureOf(int key, QSize size, QImage::Format format, const BarVisual& bar, const QFont& font,
                                          qsizetype* madeBytes)
{
    const int progressPx = progressPxOf(bar, size.width());
    Sprite* s = sprites_.object(key);
    const bool fits = s && s->image.size() == size && s->image.format() == format && s->background == bar.look.background
                      && s->text == bar.look.text && s->changedMark == bar.look.changedMark && s->progressPx == progressPx
                      && sameText(s->text1, bar.look.line1) && sameText(s->text2, bar.look.line2) && s->font == font;
    if (fits) return s;
    auto made = std::make_unique<Sprite>();
    made->image = QImage(size, format);
    made->text1 = bar.look.line1;
    made->text2 = bar.look.line2;
    made->font = font;
    made->background = bar.look.background;
    made->text = bar.look.text;
    made->progressPx = progressPx;
    made->changedMark = bar.look.changedMark;
    QPainter painter(&made->image);
    paintBarBody(painter, QRect(QPoint(0, 0), size), bar, font);
    painter.end();
    ++made_;
    const qsizetype bytes = made->image.sizeInBytes();
    s = made.get();
    if (!sprites_.insert(key, made.release(), bytes)) return nullptr;  // larger than the whole budget
    if (madeBytes) *madeBytes = bytes;
    return s;
}

void BarSprites::paint(QPainter& p, int key, const QRect& rect, const BarVisual& bar, bool selected, const QFont& font)
{
    const QImage* target = rect.width() <= kWidestSpritePx && !rect.isEmpty() ? plainTarget(p) : nullptr;
    if (target) format_ = target->format();
    const Sprite* s = target ? pictureOf(key, rect.size(), target->format(), bar, font, nullptr) : nullptr;
    if (!s) {
        paintBar(p, rect, bar, selected, font);
        return;
    }
    p.drawImage(rect.topLeft(), s->image);
    paintBarOverlay(p, rect, bar, selected);
}

qsizetype BarSprites::prepare(int key, QSize size, const BarVisual& bar, const QFont& font)
{
    if (!format_ || size.width() > kWidestSpritePx || size.isEmpty()) return 0;
    qsizetype bytes = 0;
    pictureOf(key, size, *format_, bar, font, &bytes);
    return bytes;
}

}  // namespace chart
