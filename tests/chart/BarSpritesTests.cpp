// Bars painted from their kept pictures must look exactly as bars painted
// afresh, also after the bar's look, caption, progress or size changed.
#include "chart/BarPainter.h"
#include "chart/BarSprites.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

QImage surface() { return QImage(260, 60, QImage::Format_RGB32); }

QImage painted(const chart::BarVisual& bar, QRect rect, bool selected, chart::BarSprites* sprites)
{
    QImage image = surface();
    image.fill(Qt::white);
    QPainter p(&image);
    const QFont font = chart::chartFont(12);
    if (sprites) sprites->paint(p, 7, rect, bar, selected, font);
    else chart::paintBar(p, rect, bar, selected, font);
    return image;
}

TEST(BarSprites, PaintLikeABarPaintedAfreshThroughEveryChange)
{
    chart::BarVisual bar;
    bar.look.background = 0x80FFFF;
    bar.look.line1 = QStringLiteral("●P10015 ハウジング HD-4 PC 黒");
    bar.look.line2 = QStringLiteral("成形 12/3(300)/4600");
    chart::BarSprites sprites(1 << 20);
    QRect rect(20, 10, 180, 36);
    const auto same = [&](bool selected, const char* what) {
        EXPECT_TRUE(painted(bar, rect, selected, &sprites) == painted(bar, rect, selected, nullptr)) << what;
    };
    same(false, "first paint");
    same(false, "from the picture");
    same(true, "selected");
    rect.moveTo(31, 12);
    same(false, "elsewhere on the surface");
    bar.look.background = 0xFF6060;
    same(false, "new colour");
    bar.look.text = 0xFFFFFF;
    same(false, "new text colour");
    bar.look.changedMark = true;
    same(false, "changed mark");
    bar.progressVisible = true;
    bar.progressWidth = 40 * 15;
    same(false, "progress");
    bar.look.line2 = QStringLiteral("成形 12/4(900)/4600");
    same(false, "new caption");
    rect.setWidth(60);
    same(false, "narrower (another display mode)");
    rect.setWidth(9);
    same(false, "too narrow for a caption");
}

TEST(BarSprites, PaintDirectlyWhereAPictureWouldNotMatch)
{
    chart::BarVisual bar;
    bar.look.line1 = QStringLiteral("P1 ノブ");
    chart::BarSprites sprites(1 << 20);
    const QRect rect(10, 10, 120, 36);
    const QFont font = chart::chartFont(12);
    // Half transparent (the dragged bar): every part blends on its own, as painted directly.
    QImage a = surface(), b = surface();
    a.fill(Qt::white);
    b.fill(Qt::white);
    {
        QPainter p(&a);
        p.setOpacity(0.75);
        sprites.paint(p, 1, rect, bar, true, font);
        QPainter q(&b);
        q.setOpacity(0.75);
        chart::paintBar(q, rect, bar, true, font);
    }
    EXPECT_TRUE(a == b);
    // A picture larger than the whole budget is not kept.
    chart::BarSprites tiny(64);
    EXPECT_TRUE(painted(bar, rect, false, &tiny) == painted(bar, rect, false, nullptr));
}

}  // namespace

// A bar shapes only the start of its caption lines that can show in its width.
// Whatever it leaves out, the pixels inside its caption area must be those of
// the same lines on a bar wide enough to show them whole: for narrow glyphs,
// zero-width marks, surrogate pairs and CJK text, at every width.
TEST(BarCaption, ANarrowBarShowsWhatAWideBarShowsInTheSameColumns)
{
    const QString lines[] = {
        QStringLiteral("●P10015 ハウジング HD-4 PC 黒 成形 12/3(300)/4600"),
        QStringLiteral("iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii l1l1 .,.,.,.,.,.,"),
        QStringLiteral("e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301 a\u200Bb\u200Bc\u200Bd\u200Be\u200Bf"),
        QStringLiteral("\U0001F642\U0001F642 𠮷野家𠮷野家𠮷 \U0001F642 ABCDEFGHIJKLMNOPQRSTUVWXYZ"),
    };
    const QFont font = chart::chartFont(12);
    const auto painted = [&font](const chart::BarVisual& bar, int width) {
        QImage image(700, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        chart::paintBar(p, QRect(10, 10, width, 36), bar, false, font);
        return image;
    };
    for (const QString& line : lines) {
        chart::BarVisual bar;
        bar.look.background = 0xFFFF80;
        bar.look.line1 = line;
        bar.look.line2 = line.mid(3);
        const QImage wide = painted(bar, 680);
        for (int width = 14; width <= 160; ++width) {
            const QRect captionArea(13, 11, width - 5, 30);  // inside the frame, above the progress strip
            const QImage narrow = painted(bar, width);
            ASSERT_TRUE(narrow.copy(captionArea) == wide.copy(captionArea)) << line.toStdString() << " at " << width << " px";
        }
    }
}
