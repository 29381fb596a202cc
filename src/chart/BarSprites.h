#pragma once
// Bars kept as pictures: a bar's body (fill, progress, frames and caption) is
// painted once into an image of its size and copied onto the surface at every
// paint until the bar's look, caption or size (the display mode) changes.
// Drawing the captions' glyphs costs several times the rectangles; a copy
// costs about as much as a fill.

#include "chart/BarVisual.h"

#include <QCache>
#include <QFont>
#include <QImage>
#include <QRect>
#include <optional>

class QPainter;

namespace chart {

// The image the painter draws on, when it is one a picture can be copied onto
// with the same pixels as painting there directly; nullptr otherwise.
const QImage* plainTarget(const QPainter& p);

class BarSprites {
public:
    // budgetBytes: the pictures kept at most; the least recently painted go first.
    explicit BarSprites(qsizetype budgetBytes);
    // Paints as paintBar does. The picture is used only where it gives the same
    // pixels: on an image at device pixel ratio 1, opaque, untransformed; anything
    // else (the drag preview's transparency, a grab into a pixmap) is painted directly.
    void paint(QPainter& p, int key, const QRect& rect, const BarVisual& bar, bool selected, const QFont& font);
    // Makes the picture a paint of the bar at this size would make, before the
    // paint needs it; returns the bytes made (0 when the picture is kept
    // already, or no opaque image surface has been painted on yet).
    qsizetype prepare(int key, QSize size, const BarVisual& bar, const QFont& font);
    qsizetype budgetBytes() const { return sprites_.maxCost(); }
    int picturesMade() const { return made_; }
    void clear() { sprites_.clear(); }

private:
    struct Sprite {
        QImage image;
        QString text1, text2;
        QFont font;
        std::uint32_t background = 0, text = 0;
        int progressPx = 0;
        bool changedMark = false;
    };
    // The kept picture, made when missing or out of date; nullptr when it cannot be kept.
    Sprite* pictureOf(int key, QSize size, QImage::Format format, const BarVisual& bar, const QFont& font, qsizetype* madeBytes);

    QCache<int, Sprite> sprites_;
    std::optional<QImage::Format> format_;  // of the surface last painted on
    int made_ = 0;
};

}  // namespace chart
