// returnPlanData: the plan table from the open work orders of the factory and
// the chosen process class. Rows with holes or garbage load with fall-backs and
// a logged reason; nothing is written to the database.

#include "plan/PlanTime.h"
#include "store/loading/FieldValues.h"
#include "store/loading/OrderColumns.h"
#include "store/loading/PlanComponents.h"
#include "store/loading/PlanLoading.h"
#include "store/loading/PlanStatements.h"
#include "store/loading/RowStamp.h"

#include <QDebug>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace store {

namespace {

// No order runs longer than a year; larger figures are garbage and would keep
// the working-time arithmetic walking calendars for ages.
constexpr std::int64_t kMaxJobMinutes = 366LL * 24 * 60;

// Smallest whole number of minutes not below 60 × hours. The figures are
// decimal in the database but binary here: 1.1 h × 60 gives 66.00000000000001,
// which must still be 66 minutes.
std::int64_t ceilMinutesOfHours(double hours) { return std::int64_t(std::ceil(hours * 60.0 - 1e-9)); }

// Minutes a bar can hold; nullopt (0 is used, and the stored value is kept
// for the save) for anything beyond.
std::optional<std::int64_t> boundedMinutes(std::int64_t minutes, const char* what, std::int64_t orderNo)
{
    if (minutes >= 0 && minutes <= kMaxJobMinutes) return minutes;
    qWarning().noquote() << "order" << orderNo << ":" << what << minutes << "minutes is out of range; 0 is used";
    return std::nullopt;
}

// Seconds per piece from the routing's productivity and its unit class.
double routingPieceSeconds(double productivity, std::int64_t unitClass, std::int64_t orderNo)
{
    if (productivity == 0) qWarning().noquote() << "order" << orderNo << ": productivity 0; no time per piece";
    return plan::pieceSecondsFromProductivity(productivity, unitClass);
}

class RowReader {
public:
    explicit RowReader(const db::Cursor& c) : c_(c) {}

    QVariant at(int column) const { return column < 0 ? QVariant() : c_.value(column); }
    QString text(int column) const { return textOf(at(column)); }
    QString code(int column) const { return textOf(at(column)).trimmed(); }
    double number(int column) const { return numberOf(at(column)); }
    std::int64_t integer(int column) const { return integerOf(at(column)); }
    core::Date date(int column) const { return dateOf(at(column)); }

    // A work start or end time: "hhnnss"; a value that is no time of day counts
    // as seconds after midnight; garbage gives 00:00:00.
    core::TimeOfDay workTime(int column, const char* name, std::int64_t orderNo) const
    {
        const QVariant v = at(column);
        if (const auto t = timeOf(v)) return *t;
        const double n = numberOf(v);
        if (n > 0 && n < core::TimeOfDay::kSecondsPerDay)
            return core::TimeOfDay::fromSeconds(std::int32_t(n));
        qWarning().noquote() << "order" << orderNo << ":" << name << textOf(v) << "is no time; 00:00:00 is used";
        return core::TimeOfDay();
    }

    // A stored time that is empty or reads as a time of day (workTime takes it as it is).
    bool isTime(int column) const
    {
        const QVariant v = at(column);
        if (v.isNull() || textOf(v).trimmed().isEmpty() || timeOf(v)) return true;
        const double n = numberOf(v);
        return n > 0 && n < core::TimeOfDay::kSecondsPerDay;
    }

private:
    const db::Cursor& c_;
};

struct Placement {
    core::Date startDate, endDate;
    core::TimeOfDay startTime, endTime;
    QStringList problems;  // what could not be read, for the planner
};

// Start and end as stored, with the fall-backs for holes in them.
Placement storedPlacement(const RowReader& r, const OrderColumns& col, const core::ProgramSettings& s, std::int64_t orderNo)
{
    Placement p;
    p.startTime = r.workTime(col.workStartTime, "作業開始時間", orderNo);
    p.endTime = r.workTime(col.workEndTime, "作業終了時間", orderNo);
    if (!r.isTime(col.workStartTime) || !r.isTime(col.workEndTime)) p.problems << QStringLiteral("作業時刻が読めません");
    if (p.startTime.isZero() && p.endTime.isZero()) p.startTime = p.endTime = s.DayChangeTime;  // no times: whole days

    p.startDate = r.date(col.workStartDate);
    if (p.startDate.isNull()) {
        p.startDate = r.date(col.startDay);
        if (p.startTime.isZero()) p.startTime = s.DayChangeTime;
        if (p.startDate.isNull()) {
            qWarning().noquote() << "order" << orderNo << ": neither 作業開始日付 nor 開始日 is a date; the period start is used";
            p.startDate = s.PeriodStart;
            p.problems << QStringLiteral("作業開始日付が読めません");
        }
    }
    p.endDate = r.date(col.workEndDate);
    if (p.endDate.isNull()) p.endDate = r.date(col.dueDate);
    if (p.endDate.isNull()) {
        qWarning().noquote() << "order" << orderNo << ": neither 作業終了日付 nor 納期 is a date; the start date is used";
        p.endDate = p.startDate;
        p.problems << QStringLiteral("作業終了日付が読めません");
    }
    const core::Date epoch = core::Date::fromYmd(1970, 1, 1);
    if (p.startDate == epoch || p.endDate == epoch) p.problems << QStringLiteral("日付が1970/01/01です");
    if (core::Moment::of(p.endDate, p.endTime) < core::Moment::of(p.startDate, p.startTime))
        p.problems << QStringLiteral("作業終了が作業開始より前です");
    return p;
}

// The outer ring of a bearing set (GNT表示区分 2 or 4) stands on its inner
// ring's bar: the same lot (生産計画番号), the same process step, stored on the
// same machine from the same start to the same end. Only orders stored that way
// together are put on one bar; any other outer ring keeps a bar of its own.
bool isOuterRing(const plan::PlanRecord& r) { return r.ganttDisplayKind == 2 || r.ganttDisplayKind == 4; }

QString ringKey(const plan::PlanRecord& r, std::int64_t planNo)
{
    return QString::number(planNo) + u'|' + QString::number(r.processSeq) + u'|' + r.machineCode.trimmed() + u'|'
        + QString::number(r.start().seconds()) + u'|' + QString::number(r.end().seconds());
}

struct PendingOuterRing {
    plan::PlanRecord record;
    QString key;
};

// Outer rings join their inner ring's bar in member group B; the others get a
// bar of their own with their member in group B.
void placeOuterRings(plan::PlanData& plan, const QHash<QString, int>& innerOf, std::vector<PendingOuterRing>& outers)
{
    for (PendingOuterRing& o : outers) {
        plan::MemberOrder member = o.record.membersA.front();
        const int inner = innerOf.value(o.key, 0);
        if (inner != 0) {
            plan::PlanRecord& bar = plan.edit(inner);
            if (const int slot = plan::lowestFreeSlot(bar.membersB); slot >= 0) {
                plan::memberSlot(bar.membersB, slot) = member;
                ++bar.memberCount;
                continue;
            }
        }
        plan::PlanRecord& r = o.record;
        r.membersA.clear();
        r.membersB = {member};
        r.memberGroup = plan::MemberGroup::Two;
        r.barIndex = plan.size() + 1;
        plan.append(std::move(r));
    }
}

// The order rows of the class, read to the end (the statement is finished
// before the components' one runs: some drivers serve one statement at a time).
void readPlanOrders(db::Database& db, const core::ProgramSettings& settings, const core::Planner& planner, plan::PlanData& plan,
                    const ProgressText& progress)
{
    db::Cursor c = db.query(statements::planOrders(db.dialect(), settings.KojoCode), {settings.processClassCode});
    const OrderColumns col(c);
    const OrderRowStamper stamper(c);
    const RowReader r(c);
    const QString classCode = settings.processClassCode.trimmed();
    QSet<QString> unknownMachines;
    std::int64_t rowsRead = 0;
    QHash<QString, int> innerRingOf;  // ring key → the record of an order that may carry an outer ring
    std::vector<PendingOuterRing> outerRings;

    while (c.next()) {
        ++rowsRead;
        if (progress && rowsRead % 100 == 0)
            progress(QStringLiteral("計画データを読み込んでいます。しばらくお待ちください．．．") + groupedNumber(rowsRead));

        const std::int64_t orderNo = r.integer(col.orderNo);
        if (r.integer(col.factory) != settings.KojoCode || r.code(col.processClass) != classCode) {
            qWarning().noquote() << "order" << orderNo << "skipped: factory or process class differs from the chosen one";
            continue;
        }
        if (orderNo <= 0) {
            qWarning().noquote() << "skipped a work order whose 手配番号" << r.text(col.orderNo) << "is no order number";
            continue;
        }

        plan::PlanRecord rec;
        const QString machineDb = r.text(col.machineCode);
        const QVariant completion = r.at(col.completionKind);
        const bool completionOpen = completion.isNull() || textOf(completion).trimmed() == QLatin1String("0");
        const bool placed = plan::confirmKindFromText(r.code(col.confirmKind)) == plan::ConfirmKind::Confirmed
            && (r.number(col.workStartTime) != 0 || r.number(col.workEndTime) != 0 || !completionOpen);
        if (placed) {
            rec.machineCode = machineDb.trimmed().isEmpty() ? QStringLiteral(" ") : machineDb;
            rec.confirmKind = plan::ConfirmKind::Confirmed;
            const QString fix = r.code(col.fixKind);
            rec.fixKind = plan::fixKindFromText(fix);
            if (rec.fixKind == plan::FixKind::Other) rec.fixKindOtherText = fix;
        } else {
            rec.machineCode = settings.IniOption3 != 0 && !machineDb.trimmed().isEmpty() ? machineDb : QStringLiteral(" ");
            rec.confirmKind = plan::ConfirmKind::Planned;
            rec.fixKind = plan::FixKind::Free;
        }
        if (rec.hasMachine() && planner.rows.findRow(rec.machineCode) == 0 && !unknownMachines.contains(rec.machineCode.trimmed())) {
            unknownMachines.insert(rec.machineCode.trimmed());
            qWarning().noquote() << "order" << orderNo << "stands on machine" << rec.machineCode.trimmed()
                                 << "which is no row of the chart (not selected or unknown)";
        }
        const Placement stored = storedPlacement(r, col, settings, orderNo);

        rec.barIndex = plan.size() + 1;
        rec.machineCodeDb = machineDb;
        const QString confirmStored = r.text(col.confirmKind);
        rec.confirmKindDb = plan::confirmKindFromText(confirmStored);
        if (rec.confirmKindDb == plan::ConfirmKind::Other) rec.confirmKindDbOtherText = confirmStored;
        rec.destCode = r.text(col.destCode);
        rec.orderNo = orderNo;
        rec.setRepOrderNo = r.integer(col.setRepOrderNo);
        rec.isSetMember = rec.setRepOrderNo != 0 && rec.setRepOrderNo != orderNo;
        rec.inOutKind = plan::inOutKindFromText(r.text(col.inOutKind));
        rec.planQty = r.integer(col.planQty);
        rec.packUnitQty = r.integer(col.packUnitQty);
        rec.acceptInspectKind = r.text(col.acceptInspectKind);
        const QString gantt = r.text(col.ganttDisplayKind);
        rec.ganttDisplayKind = gantt == QStringLiteral(" ") ? 0 : int(r.integer(col.ganttDisplayKind));
        rec.remarks = r.text(col.remarks);
        rec.requiredPersons = r.integer(col.requiredPersons);
        rec.actualMinutes = r.integer(col.actualMinutes);
        rec.mouldNo = r.text(col.mouldNo);
        rec.mouldShortName = r.text(col.mouldShortName);

        // Cavities: the set mould's, else the moulded item's, else the mould's.
        const std::int64_t setCavities = r.integer(col.setCavities), itemCavities = r.integer(col.mouldedCavities);
        rec.cavities = setCavities != 0 ? setCavities : itemCavities != 0 ? itemCavities : r.integer(col.mouldCavities);
        rec.shotWeightPerPiece = rec.cavities != 0 ? r.number(col.shotWeight) / double(rec.cavities) : 0.0;

        // Cycle: the order's own, else the machine-specific one, else the moulded item's.
        const double ownCycle = r.number(col.ownCycle), machineCycle = r.number(col.machineCycle);
        rec.cycle = ownCycle != 0 ? ownCycle : machineCycle != 0 ? machineCycle : r.number(col.mouldedCycle);
        rec.pieceSeconds = rec.cycle != 0 ? plan::pieceSecondsOfCycle(rec.cycle, rec.cavities)
                                          : routingPieceSeconds(r.number(col.productivity), r.integer(col.productivityUnit), orderNo);
        rec.pieceSecondsOrig = rec.pieceSeconds;

        rec.itemCode = r.text(col.itemCode);
        rec.itemCode2 = rec.itemCode;
        rec.processSeq = int(r.integer(col.processSeq));
        rec.parentOrderNo = r.integer(col.parentOrderNo);
        rec.memberGroup = plan::MemberGroup::One;

        const QString processName = r.text(col.processName);
        const QString modelName = r.text(col.modelName);
        const std::int64_t orderQty = r.integer(col.orderQty), receivedQty = r.integer(col.receivedQty);
        if (const int slot = plan::lowestFreeSlot(rec.members()); slot >= 0) {
            plan::MemberOrder& m = plan::memberSlot(rec.members(), slot);
            m.orderNo = orderNo;
            m.processName = processName;
            m.modelName = modelName;
            m.itemCode = rec.itemCode;
            m.processSeq = rec.processSeq;
            m.orderQty = orderQty;
            m.receivedQty = receivedQty;
            m.planNo = r.integer(col.planNo);
        }
        rec.memberCount = 1;

        rec.loadMark = 1;
        rec.startTime = stored.startTime;
        rec.endTime = stored.endTime;
        if (placed || stored.startDate >= settings.PeriodStart) {
            rec.startDate = stored.startDate;
            rec.endDate = stored.endDate;
        } else {  // unplaced orders of the past wait at the period start
            rec.startDate = settings.PeriodStart;
            rec.endDate = settings.PeriodStart.addDays(1);
        }
        rec.startDay = r.date(col.startDay);
        rec.dueDate = r.date(col.dueDate);

        rec.processName = processName;
        rec.processNameFirst = processName;
        const QString sundry = r.text(col.itemSundry);
        rec.modelName = sundry.trimmed().isEmpty() ? modelName : sundry;
        const QString instruction = r.text(col.instructionDate);
        if (!instruction.isEmpty()) rec.instructionDate = instruction;
        rec.orderQty = orderQty;
        rec.receivedQty = receivedQty;
        rec.lastResultDate = r.date(col.lastResultDate);
        rec.isChanged = false;
        rec.isEdited = false;
        rec.initialDueDate = r.date(col.initialDueDate);  // null (grey bar) when not a date
        rec.planItemCode = r.text(col.planItemCode);

        // Set-up: the order's own hours, else the moulded item's minutes before and after.
        const double setupHours = r.number(col.setupHours);
        std::int64_t setup = 0;
        if (setupHours != 0) {
            setup = ceilMinutesOfHours(setupHours);
        } else if (!r.at(col.setupBefore).isNull()) {
            setup = std::int64_t(std::nearbyint(r.number(col.setupBefore) + r.number(col.setupAfter)));
        }
        const std::optional<std::int64_t> setupMinutes = boundedMinutes(setup, "set-up", orderNo);
        rec.setupMinutes = int(setupMinutes.value_or(0));

        const double workHours = r.number(col.workHours);
        std::int64_t work = 0;
        if (workHours != 0) {
            work = ceilMinutesOfHours(workHours);
        } else {
            work = plan::workMinutesFor(plan::pieceSecondsOrCycle(rec), rec.orderQty, rec.requiredPersons);
        }
        const std::optional<std::int64_t> workMinutes = boundedMinutes(work, "work", orderNo);
        rec.workMinutes = workMinutes.value_or(0);

        rec.startDateOrig = rec.startDate;
        rec.endDateOrig = rec.endDate;
        rec.isMergedAway = false;

        plan::LoadedRowStamp stamp = stamper.stamp(c);
        // Only a confirmed order keeps its stored times; the others are placed
        // by the rules, which compute their times anew.
        const bool placementMatters = rec.confirmKind == plan::ConfirmKind::Confirmed && !stored.problems.isEmpty();
        QStringList problems = placementMatters ? stored.problems : QStringList();
        stamp.setupMadeUp = !setupMinutes;
        stamp.workMadeUp = !workMinutes;
        if (!setupMinutes) problems << QStringLiteral("段取時間が大きすぎます（0分として表示）");
        if (!workMinutes) problems << QStringLiteral("作業時間が大きすぎます（0分として表示）");
        if (placementMatters) {
            stamp.placementMadeUp = rec.placementUnreadable = true;
            stamp.madeUpStart = rec.start();
            stamp.madeUpEnd = rec.end();
        }
        if (!problems.isEmpty())
            plan.loadProblems << QStringLiteral("手配 %1: %2").arg(orderNo).arg(problems.join(QStringLiteral("、")));
        plan.loadedStamps.insert(orderNo, stamp);
        const std::int64_t planNo = rec.membersA.empty() ? 0 : rec.membersA.front().planNo;
        if (planNo != 0 && rec.setRepOrderNo == 0) {
            const QString key = ringKey(rec, planNo);
            if (isOuterRing(rec)) {
                outerRings.push_back({std::move(rec), key});
                continue;
            }
            if (!innerRingOf.contains(key)) innerRingOf.insert(key, plan.size() + 1);
        }
        plan.append(std::move(rec));
    }
    placeOuterRings(plan, innerRingOf, outerRings);
}

// Each loaded order's component rows (an outer ring that joined its inner
// ring's bar is no record and keeps none). The statement reads the components
// of every open order; only the loaded orders' are kept while reading.
void attachComponents(db::Database& db, int kojoCode, plan::PlanData& plan)
{
    QMultiHash<std::int64_t, int> recordsOf;
    recordsOf.reserve(plan.size());
    for (int i = 1; i <= plan.size(); ++i) recordsOf.insert(plan[i].orderNo, i);
    const ComponentsByOrder components = readPlanComponents(db, kojoCode, [&recordsOf](std::int64_t orderNo) { return recordsOf.contains(orderNo); });
    for (auto it = components.cbegin(); it != components.cend(); ++it) {
        const std::vector<ComponentRow>& rows = it.value();
        for (auto rec = recordsOf.constFind(it.key()); rec != recordsOf.cend() && rec.key() == it.key(); ++rec) {
            plan::PlanRecord& r = plan.edit(rec.value());
            r.components.reserve(rows.size());
            for (const ComponentRow& c : rows) {
                r.components.push_back(plan::Component{c.itemCode, c.itemName, c.requiredQty, c.unitNum, c.unitDen, c.unitNum, c.unitDen,
                                                       c.defectRate});
                r.storedComponentItems.push_back(c.itemCode.trimmed());
            }
        }
    }
}

}  // namespace

void returnPlanData(db::Database& db, const core::ProgramSettings& settings, const core::Planner& planner,
                    plan::PlanData& plan, const ProgressText& progress)
{
    plan.clear();
    readPlanOrders(db, settings, planner, plan, progress);
    attachComponents(db, settings.KojoCode, plan);
    if (progress)
        progress(QStringLiteral("計画データ読込完了。次の処理を開始します．．．") + groupedNumber(plan.size()));
}

}  // namespace store