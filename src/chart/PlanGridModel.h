#pragma once
// The plan table as rows of the plan grid PlanDataGrid: one row per order
// record (merged-away records are left out), in table order.

#include "core/RowTable.h"
#include "plan/PlanData.h"

#include <QAbstractTableModel>
#include <vector>

namespace chart {

class PlanGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        ColShown, ColConfirm, ColOrderNo, ColSetRep, ColItemCode, ColItemName, ColSeq, ColProcess, ColMachine,
        ColStart, ColEnd, ColDue, ColOrderQty, ColReceivedQty, ColMouldCode, ColMouldName, ColMinutes, ColRemarks,
        ColBarId, ColKey, ColumnCount
    };

    PlanGridModel(const plan::PlanData& plan, const core::RowTable& rows, QObject* parent = nullptr);

    static QStringList headers();
    // planGridRefresh: the rows again from the plan table.
    void refresh();
    // The rows of these records again, told to the view as one range (a push
    // changes hundreds of rows; the view repaints only what it shows). False,
    // changing nothing, when a record appeared, went or was merged away: the
    // rows must be built again (refresh()).
    bool refreshRecords(const std::vector<int>& records);

    int recordAt(int gridRow) const;        // 0 when out of range
    int gridRowOf(int recordNo) const;      // -1 when the record has no row

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString text(const plan::PlanRecord& r, int recordNo, int column) const;

    const plan::PlanData& plan_;
    const core::RowTable& rows_;
    std::vector<int> records_;
    std::vector<int> rowOfRecord_;  // grid row by record number; -1 none
};

}  // namespace chart
