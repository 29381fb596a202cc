#pragma once
// The row header column rowHeaders: one label MachineName(k) per row in view,
// showing row rowScrollBar.Value + k with the row's code over its name.

#include "core/RowTable.h"

#include <QWidget>
#include <vector>

class QLabel;

namespace chart {

class RowHeaderColumn : public QWidget {
    Q_OBJECT
public:
    static constexpr int ColumnWidthPx = 140;

    RowHeaderColumn(const core::RowTable& rows, QWidget* parent = nullptr);
    // As many labels as the chart shows rows; the column is as high as they are.
    void setLabelCount(int count);
    int labelCount() const { return count_; }
    // Captions for the rows firstRowOffset + 1 .. firstRowOffset + labelCount().
    // A shift by fewer rows than are shown moves what stays in view and
    // captions only the rows that came into view.
    void showRows(int firstRowOffset);
    QLabel* MachineName(int k) const { return labels_[std::size_t(k - 1)]; }  // k = 1..labelCount()
    int rowOfLabel(int k) const { return firstRowOffset_ + k; }
    // Label index under a point of the column; 0 when none.
    int labelAt(QPoint pos) const;

signals:
    // Double click or right click on a row's label (expandRow).
    void rowActivated(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The labels are transparent: the column paints their backgrounds and borders.
    void paintEvent(QPaintEvent* e) override;

private:
    void caption(int k);
    void placeLabel(int k);

    const core::RowTable& rows_;
    std::vector<QLabel*> labels_;  // in display order; some may be hidden beyond count_
    int count_ = 0;
    int firstRowOffset_ = 0;
};

}  // namespace chart
