// Reading the brought-back table against the open plan: which columns are
// taken, which record each line names, and which of its values differ from
// the plan (those are the changes).

#include "session/PlanImport.h"

#include "core/SearchText.h"
#include "core/TypedText.h"
#include "reschedule/GridEdit.h"
#include "reschedule/GridMessages.h"
#include "session/PlanCsv.h"
#include "store/loading/StoredOrders.h"

#include <QHash>

namespace session {

namespace {

const QString kOrderNo = QStringLiteral("手配番号");
const QString kMachineCode = QStringLiteral("機械コード");
const QString kMachineName = QStringLiteral("機械");
const QString kStartFull = QStringLiteral("開始日時");
const QString kStartMinute = QStringLiteral("作業開始");
const QString kQuantity = QStringLiteral("手配数");
const QString kPersons = QStringLiteral("必要人員");
const QString kFixKind = QStringLiteral("固定区分");
const QString kConfirmKind = QStringLiteral("確定");

const QStringList& takenColumns()
{
    static const QStringList names{kOrderNo, kMachineCode, kMachineName, kStartFull, kStartMinute,
                                   kQuantity, kPersons,    kFixKind,     kConfirmKind};
    return names;
}

CsvProblem problem(const QString& ja, const QString& en) { return CsvProblem{ja, en}; }

// "yyyy/mm/dd hh:mm[:ss]" (also y/m/d and full-width digits); a date alone keeps `timeOfDay`.
std::optional<core::Moment> momentOf(const QString& cell, core::TimeOfDay timeOfDay)
{
    const QStringList parts = core::foldForSearch(cell.trimmed()).split(u' ', Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.size() > 2) return std::nullopt;
    const core::Date date = core::Date::fromDisplayText(parts[0]);
    if (date.isNull()) return std::nullopt;
    if (parts.size() == 2) {
        const std::optional<core::TimeOfDay> t = core::TimeOfDay::fromDisplayText(parts[1]);
        if (!t) return std::nullopt;
        timeOfDay = *t;
    }
    return core::Moment::of(date, timeOfDay);
}

QString momentText(core::Moment m) { return m.toDisplayText(); }

QString rowText(const core::RowTable& rows, const QString& rowCode)
{
    if (rowCode.trimmed().isEmpty()) return QStringLiteral("（未配置）");
    const int row = rows.findRow(rowCode);
    if (row < 1) return rowCode.trimmed();
    const QString name = rows.row(row).RowName.trimmed();
    return name.isEmpty() || name == rowCode.trimmed() ? rowCode.trimmed() : QStringLiteral("%1 %2").arg(rowCode.trimmed(), name);
}

QString confirmText(plan::ConfirmKind k)
{
    return k == plan::ConfirmKind::Confirmed || k == plan::ConfirmKind::Planned ? reschedule::confirmKindLabel(k)
                                                                               : plan::textOf(k);
}

// Reads one line's cells into the changes it asks for. Returns the refusal, or
// an empty text.
class LineReader {
public:
    LineReader(PlanSession& session, const QHash<QString, int>& columns, const QStringList& cells, ImportRow& row)
        : session_(session), columns_(columns), cells_(cells), row_(row), r_(session.plan()[row.recordNo])
    {
    }

    QString read()
    {
        if (QString why = readMachine(); !why.isEmpty()) return why;
        if (QString why = readStart(); !why.isEmpty()) return why;
        if (QString why = readNumber(kQuantity, r_.orderQty, row_.quantity, reschedule::msg::quantityInvalid()); !why.isEmpty())
            return why;
        if (QString why = readNumber(kPersons, r_.requiredPersons, row_.persons, reschedule::msg::personsInvalid()); !why.isEmpty())
            return why;
        if (QString why = readFixKind(); !why.isEmpty()) return why;
        return readConfirmKind();
    }

private:
    // The cell of a column; nullopt when the file has no such column or the line ends before it.
    std::optional<QString> cell(const QString& column) const
    {
        const auto it = columns_.find(column);
        if (it == columns_.end() || *it >= cells_.size()) return std::nullopt;
        return plainCellText(cells_[*it]).trimmed();
    }
    static QString unreadable(const QString& column, const QString& text)
    {
        return QStringLiteral("%1「%2」が読めません。").arg(column, text);
    }
    void request(const QString& field, const QString& before, const QString& after)
    {
        row_.requested << QStringLiteral("%1: %2 → %3").arg(field, before, after);
    }

    // 機械コード and 機械 (the row's name): a blank cell is the unplaced row.
    // Whichever differs from the plan is the change; both differing must agree.
    QString readMachine()
    {
        const core::RowTable& rows = session_.planner().rows;
        const QString current = reschedule::rowCodeOf(session_.planner(), r_);
        std::optional<QString> byCode, byName;
        if (const auto c = cell(kMachineCode); c && *c != r_.machineCode.trimmed()) {
            if (c->isEmpty()) {
                byCode = QString();
            } else {
                const int row = rows.findRow(*c);
                if (row < 2) return QStringLiteral("機械コード「%1」はこの画面の機械・外注先にありません。").arg(*c);
                byCode = rows.row(row).RowCode;
            }
        }
        const int currentRow = r_.hasMachine() ? rows.findRow(r_.machineCode) : 0;
        const QString currentName = currentRow > 0 ? rows.row(currentRow).RowName.trimmed() : r_.machineCode.trimmed();
        if (const auto c = cell(kMachineName); c && *c != currentName) {
            if (c->isEmpty()) {
                byName = QString();
            } else {
                int found = 0, matches = 0;
                for (int i = 2; i <= rows.machineRowCount(); ++i)
                    if (rows.row(i).RowName.trimmed() == *c) {
                        found = i;
                        ++matches;
                    }
                if (matches == 0) found = rows.findRow(*c) >= 2 ? rows.findRow(*c) : 0;
                if (matches > 1) return QStringLiteral("機械「%1」は複数あります。機械コードで指定してください。").arg(*c);
                if (found < 2) return QStringLiteral("機械「%1」はこの画面の機械・外注先にありません。").arg(*c);
                byName = rows.row(found).RowCode;
            }
        }
        if (byCode && byName && byCode->trimmed() != byName->trimmed())
            return QStringLiteral("機械コード「%1」と機械「%2」が食い違っています（変える方だけを残し、もう一方の列は削除してください）。")
                .arg(*cell(kMachineCode), *cell(kMachineName));
        const std::optional<QString> target = byCode ? byCode : byName;
        if (!target || target->trimmed() == current.trimmed()) return {};
        if (!target->trimmed().isEmpty() && r_.startDate.isNull() && !cell(kStartFull).value_or(QString()).size()
            && !cell(kStartMinute).value_or(QString()).size())
            return QStringLiteral("開始日時のない手配は、開始日時も指定しないと配置できません。");
        row_.rowCode = *target;
        request(QStringLiteral("機械"), rowText(rows, current), rowText(rows, *target));
        return {};
    }

    // 開始日時 (to the second) and 作業開始 (to the minute), each compared with
    // the plan in its own precision. A blank cell asks for nothing.
    QString readStart()
    {
        const core::Moment current = r_.start();
        std::optional<core::Moment> full, minute;
        if (const auto c = cell(kStartFull); c && !c->isEmpty()) {
            const auto m = momentOf(*c, r_.startTime);
            if (!m) return unreadable(kStartFull, *c);
            if (r_.startDate.isNull() || *m != current) full = m;
        }
        if (const auto c = cell(kStartMinute); c && !c->isEmpty()) {
            const auto m = momentOf(*c, r_.startTime);
            if (!m) return unreadable(kStartMinute, *c);
            const core::Moment currentMinute = current.addSeconds(-current.time().second());
            if (r_.startDate.isNull() || *m != currentMinute) minute = m;
        }
        if (full && minute && full->seconds() / 60 != minute->seconds() / 60)
            return QStringLiteral("開始日時「%1」と作業開始「%2」が食い違っています（変える方だけを残し、もう一方の列は削除してください）。")
                .arg(*cell(kStartFull), *cell(kStartMinute));
        const std::optional<core::Moment> start = full ? full : minute;
        if (!start) return {};
        row_.start = start;
        request(QStringLiteral("開始"), r_.startDate.isNull() ? QStringLiteral("（なし）") : momentText(current), momentText(*start));
        return {};
    }

    QString readNumber(const QString& column, std::int64_t current, std::optional<std::int64_t>& into, const QString& bad)
    {
        const auto c = cell(column);
        if (!c || c->isEmpty()) return {};
        const auto n = core::typedWholeNumber(*c);
        if (!n) return bad + QStringLiteral("（%1「%2」）").arg(column, *c);
        if (*n == current) return {};
        into = n;
        request(column, QString::number(current), QString::number(*n));
        return {};
    }

    QString readFixKind()
    {
        const auto c = cell(kFixKind);
        if (!c || c->isEmpty() || *c == plan::textOf(r_.fixKind, r_.fixKindOtherText)) return {};
        const QString folded = core::foldForSearch(*c);
        const QStringList choices = reschedule::fixKindChoices();
        for (int k = 0; k < choices.size(); ++k)
            if (folded == choices[k] || folded == QString::number(k) || folded == choices[k].mid(2)) {
                const auto kind = plan::FixKind(k);
                if (kind == r_.fixKind && r_.fixKindOtherText.isEmpty()) return {};
                row_.fixKind = kind;
                request(kFixKind, reschedule::fixKindLabel(r_.fixKind), reschedule::fixKindLabel(kind));
                return {};
            }
        return unreadable(kFixKind, *c);
    }

    QString readConfirmKind()
    {
        const auto c = cell(kConfirmKind);
        if (!c || c->isEmpty() || *c == plan::textOf(r_.confirmKind)) return {};
        const QString folded = core::foldForSearch(*c);
        plan::ConfirmKind kind;
        if (folded == QStringLiteral("確定") || folded == QStringLiteral("2")) kind = plan::ConfirmKind::Confirmed;
        else if (folded == QStringLiteral("予定") || folded == QStringLiteral("1")) kind = plan::ConfirmKind::Planned;
        else return unreadable(kConfirmKind, *c);
        if (kind == r_.confirmKind) return {};
        row_.confirmKind = kind;
        request(kConfirmKind, confirmText(r_.confirmKind), confirmText(kind));
        return {};
    }

    PlanSession& session_;
    const QHash<QString, int>& columns_;
    const QStringList& cells_;
    ImportRow& row_;
    const plan::PlanRecord& r_;
};

// Why a number names no record that can take changes; empty when it names one.
struct Lookup {
    QHash<std::int64_t, int> live;       // order → its bar's record
    QHash<std::int64_t, QString> hidden; // order → why it has no row of its own
};

Lookup lookupOf(const plan::PlanData& plan)
{
    Lookup l;
    for (int i = 2; i <= plan.size(); ++i) {
        const plan::PlanRecord& r = plan[i];
        if (!r.isHidden()) {
            if (!l.live.contains(r.orderNo)) l.live.insert(r.orderNo, i);
            for (const plan::MemberOrder& m : r.members())
                if (m.orderNo != 0 && m.orderNo != r.orderNo && !l.hidden.contains(m.orderNo))
                    l.hidden.insert(m.orderNo, QStringLiteral("他の手配と合体したバーの手配です。バーの手配番号 %1 の行で変更してください。").arg(r.orderNo));
            continue;
        }
        if (l.hidden.contains(r.orderNo)) continue;
        l.hidden.insert(r.orderNo, r.isDeleted      ? QStringLiteral("削除された手配です。")
                                   : r.isSetMember  ? reschedule::msg::setMemberEditRefused()
                                                    : QStringLiteral("他の手配と合体した手配です。合体先のバーの行で変更してください。"));
    }
    return l;
}

}  // namespace

std::variant<ImportRequest, CsvProblem> matchImport(PlanSession& session, const CsvTable& table)
{
    QHash<QString, int> columns;
    ImportRequest request;
    for (int k = 0; k < table.header.size(); ++k) {
        const QString name = plainCellText(table.header[k]).trimmed();
        if (!takenColumns().contains(name)) {
            if (!name.isEmpty()) request.ignored << name;
            continue;
        }
        if (columns.contains(name))
            return problem(QStringLiteral("見出しに「%1」が2つあります。").arg(name), QStringLiteral("The header names \"%1\" twice.").arg(name));
        columns.insert(name, k);
        request.columns << name;
    }
    if (!columns.contains(kOrderNo)) {
        const QString first = table.header.join(u',');
        if (first.contains(kOrderNo) && (first.contains(u';') || first.contains(u'\t')))
            return problem(QStringLiteral("区切り文字がカンマ（,）ではありません。カンマ区切りの CSV で保存してください。"),
                           QStringLiteral("The fields are not separated by commas. Save the file as comma-separated CSV."));
        return problem(QStringLiteral("見出し行に「手配番号」の列がありません。"), QStringLiteral("The header has no 手配番号 (order number) column."));
    }
    if (request.columns.size() == 1)
        return problem(QStringLiteral("取り込める列（機械、作業開始、手配数、必要人員、固定区分、確定など）がありません。"),
                       QStringLiteral("The file has no column that can be imported."));

    const int orderColumn = columns.value(kOrderNo);
    QHash<std::int64_t, int> lineOfOrder;
    const Lookup lookup = lookupOf(session.plan());
    std::vector<std::size_t> unknown;  // rows whose order has no record: asked of the database together
    for (std::size_t n = 0; n < table.rows.size(); ++n) {
        const QStringList& cells = table.rows[n];
        ImportRow row;
        row.lineNo = table.lineNos[n];
        row.orderText = orderColumn < cells.size() ? plainCellText(cells[orderColumn]).trimmed() : QString();
        const auto number = core::typedWholeNumber(row.orderText);
        if (!number) {
            row.refusal = row.orderText.isEmpty() ? QStringLiteral("手配番号がありません。") : QStringLiteral("手配番号が読めません。");
            request.rows.push_back(row);
            continue;
        }
        row.orderNo = *number;
        if (const auto seen = lineOfOrder.constFind(row.orderNo); seen != lineOfOrder.constEnd())
            return problem(QStringLiteral("手配番号 %1 が %2 行目と %3 行目にあります。1つの手配は1行にしてください。").arg(row.orderNo).arg(*seen).arg(row.lineNo),
                           QStringLiteral("Order %1 appears on lines %2 and %3.").arg(row.orderNo).arg(*seen).arg(row.lineNo));
        lineOfOrder.insert(row.orderNo, row.lineNo);
        if (const auto it = lookup.live.constFind(row.orderNo); it != lookup.live.constEnd()) {
            row.recordNo = *it;
            row.refusal = LineReader(session, columns, cells, row).read();
            if (row.refusal.isEmpty() && row.hasChanges() && session.plan()[row.recordNo].fixKind == plan::FixKind::FullyFixed)
                row.refusal = reschedule::msg::fullyFixedEditRefused();
        } else if (const auto why = lookup.hidden.constFind(row.orderNo); why != lookup.hidden.constEnd()) {
            row.refusal = *why;
        } else {
            unknown.push_back(request.rows.size());
        }
        request.rows.push_back(row);
    }
    if (!unknown.empty()) {
        std::set<std::int64_t> stored;
        bool asked = false;
        if (db::Database* db = session.database()) {
            std::vector<std::int64_t> numbers;
            for (std::size_t k : unknown) numbers.push_back(request.rows[k].orderNo);
            try {
                stored = store::storedOrderNumbers(*db, session.settings().KojoCode, numbers);
                asked = true;
            } catch (const db::Error&) {
                // Not worth failing the import for: the row is refused either way.
            }
        }
        for (std::size_t k : unknown) {
            ImportRow& row = request.rows[k];
            row.refusal = !asked                       ? QStringLiteral("この工程分類・期間に読み込まれていない手配です。")
                        : stored.count(row.orderNo) != 0 ? QStringLiteral("この工程分類・期間に読み込まれていない手配です。")
                                                       : QStringLiteral("手配番号 %1 の手配はありません。").arg(row.orderNo);
        }
    }
    return request;
}

}  // namespace session
