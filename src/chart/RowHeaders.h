#pragma once
// The row header column LineName2: ten labels MachineName(1..10) showing rows
// KScroll.Value + k, each with the row's code over its name.

#include "core/RowTable.h"

#include <QWidget>
#include <array>

class QLabel;

namespace chart {

class RowHeaderColumn : public QWidget {
    Q_OBJECT
public:
    static constexpr int Labels = 10;
    static constexpr int ColumnWidthPx = 140;

    RowHeaderColumn(const core::RowTable& rows, QWidget* parent = nullptr);
    // Captions for the rows firstRowOffset + 1 .. firstRowOffset + 10.
    void showRows(int firstRowOffset);
    QLabel* MachineName(int k) const { return labels_[std::size_t(k - 1)]; }  // k = 1..10
    int rowOfLabel(int k) const { return firstRowOffset_ + k; }
    // Label index under a point of the column; 0 when none.
    int labelAt(QPoint pos) const;

signals:
    // Double click or right click on a row's label (expandRow).
    void rowActivated(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const core::RowTable& rows_;
    std::array<QLabel*, Labels> labels_{};
    int firstRowOffset_ = 0;
};

}  // namespace chart
