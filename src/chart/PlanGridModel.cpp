#include "chart/PlanGridModel.h"

#include <algorithm>

#include "chart/BarPainter.h"

#include <QBrush>
#include <QColor>
#include <QMetaObject>

namespace chart {

namespace {
QString numberOrBlank(std::int64_t n) { return n == 0 ? QString() : QString::number(n); }
}  // namespace

PlanGridModel::PlanGridModel(const plan::PlanData& plan, const core::RowTable& rows, QObject* parent)
    : QAbstractTableModel(parent), plan_(plan), rows_(rows)
{
}

QStringList PlanGridModel::headers()
{
    return {QStringLiteral("表示"), QStringLiteral("確定"), QStringLiteral("手配番号"), QStringLiteral("ｾｯﾄ代表"),
            QStringLiteral("品名ｺｰﾄﾞ"), QStringLiteral("品名"), QStringLiteral("順序"), QStringLiteral("工程内容"),
            QStringLiteral("機械"), QStringLiteral("作業開始"), QStringLiteral("作業終了"), QStringLiteral("希望納期"),
            QStringLiteral("手配数"), QStringLiteral("受注実績数"), QStringLiteral("金型ｺｰﾄﾞ"), QStringLiteral("金型名"),
            QStringLiteral("必要時間"), QStringLiteral("備考"), QStringLiteral("BarID"), QStringLiteral("KEY"),
            QStringLiteral("固定"), QStringLiteral("人員")};
}

std::optional<reschedule::GridField> PlanGridModel::fieldOf(int column)
{
    switch (column) {
    case ColConfirm: return reschedule::GridField::ConfirmKind;
    case ColFix: return reschedule::GridField::FixKind;
    case ColOrderQty: return reschedule::GridField::OrderQty;
    case ColStart: return reschedule::GridField::Start;
    case ColPersons: return reschedule::GridField::Persons;
    case ColRemarks: return reschedule::GridField::Remarks;
    default: return std::nullopt;
    }
}

// Whether the record has a row: not merged away (its orders live on in the bar
// that absorbed it) and found by the list search.
inline bool PlanGridModel::listed(int recordNo)
{
    return !plan_[recordNo].isMergedAway && (needle_.isEmpty() || search_.matches(recordNo, needle_));
}

void PlanGridModel::setListFilter(const QString& typed)
{
    const QString needle = reschedule::PlanSearchIndex::needleOf(typed);
    if (needle == needle_) return;
    needle_ = needle;
    refresh();
}

void PlanGridModel::refresh()
{
    beginResetModel();
    records_.clear();
    rowOfRecord_.assign(std::size_t(plan_.size()) + 1, -1);
    records_.reserve(std::size_t(plan_.size()));
    unfiltered_ = 0;
    for (int i = 2; i <= plan_.size(); ++i) {
        if (plan_[i].isMergedAway) continue;
        ++unfiltered_;
        if (!needle_.isEmpty() && !search_.matches(i, needle_)) continue;
        rowOfRecord_[std::size_t(i)] = int(records_.size());
        records_.push_back(i);
    }
    endResetModel();
}

bool PlanGridModel::refreshRecords(const std::vector<int>& records)
{
    int first = int(records_.size()), last = -1;
    const int planSize = plan_.size();
    for (int rec : records) {
        // A record that appeared, went, was merged away or now is (or is no
        // longer) found by the list search changes the rows themselves.
        if (rec > planSize || rec < 2) return false;
        const int row = gridRowOf(rec);
        if ((row >= 0) != listed(rec)) return false;
        if (row < 0) continue;
        first = std::min(first, row);
        last = std::max(last, row);
    }
    if (last >= 0) emit dataChanged(index(first, 0), index(last, ColumnCount - 1));
    return true;
}

int PlanGridModel::recordAt(int gridRow) const
{
    return gridRow >= 0 && gridRow < int(records_.size()) ? records_[std::size_t(gridRow)] : 0;
}

int PlanGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(records_.size()); }
int PlanGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString PlanGridModel::text(const plan::PlanRecord& r, int recordNo, int column) const
{
    switch (column) {
    case ColShown: return r.isDeleted ? QStringLiteral("削除済") : r.isSetMember ? QStringLiteral("ｾｯﾄ") : QStringLiteral("○");
    case ColConfirm: return r.isConfirmed() ? QStringLiteral("確定") : QStringLiteral("予定");
    case ColOrderNo: return QString::number(r.orderNo);
    case ColSetRep: return numberOrBlank(r.setRepOrderNo);
    case ColItemCode: return r.itemCode.trimmed();
    case ColItemName: return r.modelName.trimmed();
    case ColSeq: return QString::number(r.processSeq);
    case ColProcess: return r.processName.trimmed();
    case ColMachine: return r.hasMachine() ? r.machineCode.trimmed() : r.destCode.trimmed();
    case ColStart: return core::dateMinuteText(r.startDate, r.startTime);
    case ColEnd: return core::dateMinuteText(r.endDate, r.endTime);
    case ColDue: return r.dueDate.toDisplayText();
    case ColOrderQty: return QString::number(r.orderQty);
    case ColReceivedQty: return QString::number(r.receivedQty);
    case ColMouldCode: return r.mouldNo.trimmed();
    case ColMouldName: return r.mouldShortName.trimmed();
    case ColMinutes: return QString::number(std::int64_t(r.setupMinutes) + r.workMinutes);
    case ColRemarks: return r.remarks.trimmed();
    case ColBarId: return QString::number(r.barIndex);
    case ColKey: return QString::number(recordNo);
    case ColFix: return r.fixKind == plan::FixKind::Other ? r.fixKindOtherText : reschedule::fixKindLabel(r.fixKind);
    case ColPersons: return QString::number(r.requiredPersons);
    default: return {};
    }
}

// What an editor starts from: the whole value, not the shortened display.
QString PlanGridModel::editText(const plan::PlanRecord& r, int column) const
{
    switch (column) {
    case ColConfirm: return reschedule::confirmKindLabel(r.confirmKind);
    case ColFix: return reschedule::fixKindLabel(r.fixKind);
    case ColRemarks: return r.remarks.trimmed();
    default: return text(r, 0, column);
    }
}

Qt::ItemFlags PlanGridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (cellEdited && fieldOf(index.column())) f |= Qt::ItemIsEditable;
    return f;
}

bool PlanGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int rec = recordAt(index.row());
    const std::optional<reschedule::GridField> field = fieldOf(index.column());
    if (role != Qt::EditRole || rec == 0 || !field || !cellEdited) return false;
    const QString typed = value.toString();
    if (typed == editText(plan_[rec], index.column())) return false;  // left as it was
    QMetaObject::invokeMethod(this, [this, rec, f = *field, typed] {
        if (cellEdited && rec <= plan_.size()) cellEdited(rec, f, typed);
    }, Qt::QueuedConnection);
    return true;
}

QVariant PlanGridModel::data(const QModelIndex& index, int role) const
{
    const int rec = recordAt(index.row());
    if (rec == 0) return {};
    const plan::PlanRecord& r = plan_[rec];
    switch (role) {
    case Qt::DisplayRole: return text(r, rec, index.column());
    case Qt::EditRole: return editText(r, index.column());
    case Qt::TextAlignmentRole:
        switch (index.column()) {
        case ColOrderNo: case ColSetRep: case ColSeq: case ColOrderQty: case ColReceivedQty: case ColMinutes: case ColBarId: case ColKey:
        case ColPersons:
            return int(Qt::AlignRight | Qt::AlignVCenter);
        default: return int(Qt::AlignLeft | Qt::AlignVCenter);
        }
    case Qt::BackgroundRole:
        if (r.isDeleted) return QBrush(QColor(220, 220, 220));
        if (r.isSetMember) return QBrush(QColor(238, 238, 238));
        if (r.fixKind == plan::FixKind::FullyFixed) return QBrush(QColor(255, 236, 236));
        return {};
    case Qt::ForegroundRole:
        return r.isChanged ? QBrush(QColor(180, 0, 120)) : QVariant();
    default: return {};
    }
}

QVariant PlanGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount) return headers().at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace chart
