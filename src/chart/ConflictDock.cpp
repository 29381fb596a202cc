#include "chart/ConflictDock.h"

#include "chart/BarPainter.h"
#include "chart/ConflictTexts.h"

#include <QHeaderView>
#include <QTableView>

namespace chart {

namespace {
enum Column { ColKind, ColOrders, ColMachines, ColTime, ColCount };

// The bar a conflict is about: the later process of a chain is the one that
// starts too early; otherwise the first bar.
int barOf(const reschedule::Conflict& c)
{
    return c.kind == reschedule::ConflictKind::ChainOrder ? c.second : c.first;
}
}  // namespace

ConflictListModel::ConflictListModel(const plan::PlanData& plan, QObject* parent) : QAbstractTableModel(parent), plan_(plan) {}

void ConflictListModel::setConflicts(std::vector<reschedule::Conflict> conflicts)
{
    beginResetModel();
    conflicts_ = std::move(conflicts);
    endResetModel();
}

int ConflictListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(conflicts_.size()); }

int ConflictListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColCount; }

QVariant ConflictListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole || std::size_t(index.row()) >= conflicts_.size()) return {};
    const reschedule::Conflict& c = conflicts_[std::size_t(index.row())];
    const auto valid = [this](int rec) { return rec >= 2 && rec <= plan_.size(); };
    const auto both = [&](auto text) {
        QString out = valid(c.first) ? text(plan_[c.first]) : QString();
        if (valid(c.second)) out += QStringLiteral(" / ") + text(plan_[c.second]);
        return out;
    };
    switch (index.column()) {
    case ColKind: return conflictKindText(c.kind);
    case ColOrders: return both([](const plan::PlanRecord& r) { return ordersText(r); });
    case ColMachines: return both([](const plan::PlanRecord& r) { return placeCode(r); });
    case ColTime: return spanText(c.from, c.to);
    default: return {};
    }
}

QVariant ConflictListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case ColKind: return QStringLiteral("種類");
    case ColOrders: return QStringLiteral("手配番号");
    case ColMachines: return QStringLiteral("機械");
    case ColTime: return QStringLiteral("時間");
    default: return {};
    }
}

ConflictDock::ConflictDock(const plan::PlanData& plan, QWidget* parent) : QDockWidget(QStringLiteral("競合一覧"), parent)
{
    setObjectName(QStringLiteral("dockConflicts"));
    model_ = new ConflictListModel(plan, this);
    table = new QTableView(this);
    table->setObjectName(QStringLiteral("tblConflicts"));
    table->setModel(model_);
    table->setFont(chartFont(12));
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setDefaultSectionSize(20);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setColumnWidth(ColKind, 70);
    table->setColumnWidth(ColOrders, 120);
    table->setColumnWidth(ColMachines, 90);
    setWidget(table);
    connect(table, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (!index.isValid()) return;
        const reschedule::Conflict& c = model_->conflictAt(index.row());
        emit conflictChosen(barOf(c), c.from);
    });
}

void ConflictDock::setConflicts(std::vector<reschedule::Conflict> conflicts) { model_->setConflicts(std::move(conflicts)); }

}  // namespace chart
