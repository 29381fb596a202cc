#include "chart/RowHeaders.h"

#include "chart/BarPainter.h"
#include "chart/ChartState.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <algorithm>

namespace chart {

RowHeaderColumn::RowHeaderColumn(const core::RowTable& rows, QWidget* parent) : QWidget(parent), rows_(rows)
{
    setObjectName(QStringLiteral("LineName2"));
    setFixedWidth(ColumnWidthPx);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setLabelCount(ChartState::DefaultVisibleRows);
}

void RowHeaderColumn::setLabelCount(int count)
{
    count = std::max(1, count);
    while (int(labels_.size()) < count) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("MachineName%1").arg(labels_.size() + 1));
        label->setFixedHeight(ChartState::RowHeightPx);
        label->setFont(chartFont(12));
        label->setMargin(0);
        label->setIndent(4);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->installEventFilter(this);
        labels_.push_back(label);
        layout()->addWidget(label);
    }
    count_ = count;
    for (std::size_t k = 0; k < labels_.size(); ++k) labels_[k]->setVisible(int(k) < count_);
    setFixedHeight(count_ * ChartState::RowHeightPx);
    showRows(firstRowOffset_);
}

void RowHeaderColumn::showRows(int firstRowOffset)
{
    firstRowOffset_ = firstRowOffset;
    for (int k = 1; k <= count_; ++k) {
        QLabel* label = labels_[std::size_t(k - 1)];
        const int r = firstRowOffset + k;
        // A style sheet is parsed and the label polished again at every set:
        // a scroll step sets only those that change.
        const auto setStyle = [label](const QString& back) {
            const QString style = QStringLiteral("QLabel{border-bottom:1px solid #aaa;border-right:1px solid #888;background:%1;}").arg(back);
            if (label->styleSheet() != style) label->setStyleSheet(style);
        };
        if (r < 1 || r > rows_.machineRowCount()) {
            label->setText(QString());
            label->setToolTip(QString());
            setStyle(QStringLiteral("#e8e8e8"));
            continue;
        }
        const core::ChartRow& row = rows_.row(r);
        // Long names are cut so the two lines never run into the chart.
        const QFontMetrics fm(label->font());
        const int room = ColumnWidthPx - 8;
        label->setText(fm.elidedText(row.RowCode.trimmed(), Qt::ElideRight, room) + QLatin1Char('\n')
                       + fm.elidedText(row.RowName.trimmed(), Qt::ElideRight, room));
        label->setToolTip(row.RowLabel.trimmed());
        const QString back = r == 1 ? QStringLiteral("#f6f6f0") : rows_.isSupplierRow(r) ? QStringLiteral("#eef4fc") : QStringLiteral("#fafafa");
        setStyle(back);
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
