#include "chart/RowHeaders.h"

#include "chart/BarPainter.h"
#include "chart/ChartState.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace chart {

namespace {
const QColor kRowLine(0xaa, 0xaa, 0xaa);
const QColor kColumnEdge(0x88, 0x88, 0x88);
}  // namespace

RowHeaderColumn::RowHeaderColumn(const core::RowTable& rows, QWidget* parent) : QWidget(parent), rows_(rows)
{
    setObjectName(QStringLiteral("LineName2"));
    setFixedWidth(ColumnWidthPx);
    // Opaque, so that a scroll moves the pixels already painted.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setLabelCount(ChartState::DefaultVisibleRows);
}

void RowHeaderColumn::setLabelCount(int count)
{
    count = std::max(1, count);
    while (int(labels_.size()) < count) {
        auto* label = new QLabel(this);
        label->setFont(chartFont(12));
        label->setMargin(0);
        // The bottom and right edges are the column's lines.
        label->setContentsMargins(0, 0, 1, 1);
        label->setIndent(4);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->installEventFilter(this);
        labels_.push_back(label);
    }
    count_ = count;
    for (int k = 1; k <= int(labels_.size()); ++k) {
        placeLabel(k);
        labels_[std::size_t(k - 1)]->setVisible(k <= count_);
    }
    setFixedHeight(count_ * ChartState::RowHeightPx);
    showRows(firstRowOffset_);
}

void RowHeaderColumn::placeLabel(int k)
{
    QLabel* label = labels_[std::size_t(k - 1)];
    label->setObjectName(QStringLiteral("MachineName%1").arg(k));
    label->setGeometry(0, (k - 1) * ChartState::RowHeightPx, ColumnWidthPx, ChartState::RowHeightPx);
}

void RowHeaderColumn::showRows(int firstRowOffset)
{
    const int shift = firstRowOffset_ - firstRowOffset;  // rows the captions move down
    firstRowOffset_ = firstRowOffset;
    if (shift == 0 || std::abs(shift) >= count_ || !isVisible()) {
        for (int k = 1; k <= count_; ++k) caption(k);
        update();
        return;
    }
    // The labels move with the pixels; those pushed out of the column come
    // back on the other side, on the rows that came into view.
    scroll(0, shift * ChartState::RowHeightPx);
    const auto first = labels_.begin(), end = labels_.begin() + count_;
    std::rotate(first, shift > 0 ? end - shift : first - shift, end);
    for (int k = 1; k <= count_; ++k) placeLabel(k);
    const int from = shift > 0 ? 1 : count_ + shift + 1;
    for (int k = from; k < from + std::abs(shift); ++k) caption(k);
}

void RowHeaderColumn::caption(int k)
{
    QLabel* label = labels_[std::size_t(k - 1)];
    const int r = firstRowOffset_ + k;
    if (r < 1 || r > rows_.machineRowCount()) {
        label->setText(QString());
        label->setToolTip(QString());
        return;
    }
    const core::ChartRow& row = rows_.row(r);
    // Long names are cut so the two lines never run into the chart.
    const QFontMetrics fm(label->font());
    const int room = ColumnWidthPx - 8;
    label->setText(fm.elidedText(row.RowCode.trimmed(), Qt::ElideRight, room) + QLatin1Char('\n')
                   + fm.elidedText(row.RowName.trimmed(), Qt::ElideRight, room));
    label->setToolTip(row.RowLabel.trimmed());
}

void RowHeaderColumn::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    const QRect area = e->rect();
    const int h = ChartState::RowHeightPx;
    for (int k = std::max(1, area.top() / h + 1); k <= std::min(count_, area.bottom() / h + 1); ++k) {
        const int r = firstRowOffset_ + k;
        const QColor back = r < 1 || r > rows_.machineRowCount() ? QColor(0xe8, 0xe8, 0xe8)
                            : r == 1                             ? QColor(0xf6, 0xf6, 0xf0)
                            : rows_.isSupplierRow(r)             ? QColor(0xee, 0xf4, 0xfc)
                                                                 : QColor(0xfa, 0xfa, 0xfa);
        const QRect band(0, (k - 1) * h, width(), h);
        p.fillRect(band.adjusted(0, 0, -1, -1), back);
        p.fillRect(QRect(band.left(), band.bottom(), band.width() - 1, 1), kRowLine);
        p.fillRect(QRect(band.right(), band.top(), 1, band.height()), kColumnEdge);
    }
}

int RowHeaderColumn::labelAt(QPoint pos) const
{
    const int k = pos.y() / ChartState::RowHeightPx + 1;
    return pos.y() >= 0 && k <= count_ ? k : 0;
}

bool RowHeaderColumn::eventFilter(QObject* watched, QEvent* event)
{
    const bool dbl = event->type() == QEvent::MouseButtonDblClick;
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (dbl || press) {
        auto* me = static_cast<QMouseEvent*>(event);
        for (int k = 1; k <= count_; ++k) {
            if (watched != labels_[std::size_t(k - 1)]) continue;
            const int r = rowOfLabel(k);
            if (r >= 1 && r <= rows_.machineRowCount() && ((dbl && me->button() == Qt::LeftButton) || (press && me->button() == Qt::RightButton)))
                emit rowActivated(r);
            return dbl || me->button() == Qt::RightButton;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace chart
