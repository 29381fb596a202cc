#pragma once
// The plan table as rows of the plan grid PlanDataGrid: one row per order
// record (merged-away records are left out), in table order, narrowed to the
// records the list search finds. Some columns can be edited in place; the
// model hands the typed text on (cellEdited) and redraws from the session.

#include "core/RowTable.h"
#include "plan/PlanData.h"
#include "reschedule/GridEdit.h"
#include "reschedule/PlanSearch.h"

#include <QAbstractTableModel>
#include <functional>
#include <optional>
#include <vector>

namespace chart {

class PlanGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        ColShown, ColConfirm, ColOrderNo, ColSetRep, ColItemCode, ColItemName, ColSeq, ColProcess, ColMachine,
        ColStart, ColEnd, ColDue, ColOrderQty, ColReceivedQty, ColMouldCode, ColMouldName, ColMinutes, ColRemarks,
        ColBarId, ColKey, ColFix, ColPersons, ColumnCount
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
    // -1 when the record has no row. Inline: a push refreshes hundreds of rows.
    int gridRowOf(int recordNo) const
    {
        return recordNo >= 0 && std::size_t(recordNo) < rowOfRecord_.size() ? rowOfRecord_[std::size_t(recordNo)] : -1;
    }

    // The list search: only records whose order number, item code or name
    // contains the text (any width, any case); blank shows every record.
    void setListFilter(const QString& typed);
    bool isFiltered() const { return !needle_.isEmpty(); }
    // Records the grid would show without the list search.
    int unfilteredCount() const { return unfiltered_; }
    reschedule::PlanSearchIndex& searchIndex() { return search_; }

    // The field a column edits; nullopt for columns that are only shown.
    static std::optional<reschedule::GridField> fieldOf(int column);
    // Told the text the planner committed in a cell; the plan changes (or
    // not) through the session, which redraws the row. Queued, so that the
    // editor has closed before the rules ask anything. Without it nothing is editable.
    std::function<void(int recordNo, reschedule::GridField field, const QString& text)> cellEdited;

    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString text(const plan::PlanRecord& r, int recordNo, int column) const;
    QString editText(const plan::PlanRecord& r, int column) const;
    bool listed(int recordNo);

    const plan::PlanData& plan_;
    const core::RowTable& rows_;
    std::vector<int> records_;
    std::vector<int> rowOfRecord_;  // grid row by record number; -1 none
    reschedule::PlanSearchIndex search_{plan_};
    QString needle_;
    int unfiltered_ = 0;
};

}  // namespace chart
