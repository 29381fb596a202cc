#pragma once
// The dockable list of the plan's conflicts (dockConflicts): kind, orders,
// machines and times, one line per conflict; a click jumps to it.

#include "reschedule/Conflicts.h"

#include <QAbstractTableModel>
#include <QDockWidget>
#include <vector>

class QTableView;

namespace core { class RowTable; }
namespace plan { class PlanData; }

namespace chart {

class ConflictListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ConflictListModel(const plan::PlanData& plan, QObject* parent = nullptr);
    void setConflicts(std::vector<reschedule::Conflict> conflicts);
    const reschedule::Conflict& conflictAt(int row) const { return conflicts_[std::size_t(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const plan::PlanData& plan_;
    std::vector<reschedule::Conflict> conflicts_;
};

class ConflictDock : public QDockWidget {
    Q_OBJECT
public:
    ConflictDock(const plan::PlanData& plan, QWidget* parent = nullptr);
    void setConflicts(std::vector<reschedule::Conflict> conflicts);
    ConflictListModel& model() { return *model_; }
    QTableView* table = nullptr;

signals:
    // The planner chose a conflict: the bar to show and the time it is about.
    void conflictChosen(int recordNo, core::Moment at);

private:
    ConflictListModel* model_ = nullptr;
};

}  // namespace chart
