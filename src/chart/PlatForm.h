#pragma once
// The chart surfaces that carry bars: PlatForm, one 600-twip band per row with
// the machines' non-working time, and PlatForm3, the strip of bars that stand
// on no row. Both paint only the rows and time range in view.

#include "chart/BarSprites.h"
#include "chart/ChartState.h"

#include <QTimer>
#include <QWidget>
#include <vector>

namespace chart {

class PlatForm : public QWidget {
    Q_OBJECT
public:
    PlatForm(ChartState& state, QWidget* parent = nullptr);
    // The stop period under a pixel, for the hover tip; empty when none.
    QString stopTipAt(QPoint px) const;

    // Pictures of bars made so far (painted or prepared).
    int barPicturesMade() const { return sprites_.picturesMade(); }

    // How long the view rests before the pictures of the neighbouring pages are made.
    static constexpr int PrefetchAfterMs = 150;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void paintRowBackground(QPainter& p, int row, const QRect& band, double fromX, double toX);
    // Once the view rests, the bars a page away (later, earlier, below, above)
    // get their pictures, a few milliseconds at a time between events, so that
    // a page step lays out no captions. Any paint starts it over.
    void planPrefetch();
    void prefetch(int generation);

    ChartState& state_;
    BarSprites sprites_{32 << 20};  // a tall four-week view holds some 6 MB of bars
    QTimer* resting_ = nullptr;
    std::vector<int> pending_;
    std::size_t next_ = 0;
    qsizetype prefetched_ = 0;
    int generation_ = 0;
};

class PlatForm3 : public QWidget {
    Q_OBJECT
public:
    PlatForm3(ChartState& state, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    ChartState& state_;
    BarSprites sprites_{4 << 20};
};

// Shared by the surfaces: vertical day lines (and finer hour lines in the
// short modes) and the red line of the current moment.
void paintTimeLines(QPainter& p, const ChartState& s, const QRect& area);
void paintNowLine(QPainter& p, const ChartState& s, const QRect& area);

}  // namespace chart
