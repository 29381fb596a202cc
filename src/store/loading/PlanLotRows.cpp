#include "store/loading/PlanLotRows.h"

#include "store/loading/FieldValues.h"
#include "store/loading/OrderColumns.h"

namespace store {

namespace {

QString planLotsStatement()
{
    return QStringLiteral(
        "SELECT DB0253.* "
        "   ,DB0378.品名＿品名仕様 型番名"
        "   ,DB0382.工程内容名"
        "   ,DB0382.工程分類コード"
        " FROM DB0253"
        "    LEFT JOIN DB0381"
        "      ON  DB0253.品名コード = DB0381.品名コード"
        "      AND DB0253.順序 = DB0381.順序"
        "      AND DB0253.生産工場コード = DB0381.生産工場コード"
        "    LEFT JOIN DB0378"
        "      ON DB0253.品名コード = DB0378.品名コード"
        "    LEFT JOIN DB0382"
        "      ON DB0382.工程内容コード = DB0381.工程内容コード"
        " WHERE DB0253.生産計画番号 = ?"
        "   AND DB0253.生産工場コード = ?"
        "   AND DB0253.削除フラグ = '0'"
        " ORDER BY DB0253.順序, DB0253.手配番号");
}

}  // namespace

std::vector<reschedule::PlanLot> readPlanLots(db::Database& db, const core::ProgramSettings& settings, std::int64_t planNo)
{
    db::Cursor c = db.query(planLotsStatement(), {QVariant::fromValue<qlonglong>(planNo), settings.KojoCode});
    const OrderColumns col(c);
    const auto at = [&c](int column) { return column < 0 ? QVariant() : c.value(column); };
    std::vector<reschedule::PlanLot> lots;
    while (c.next()) {
        reschedule::PlanLot lot;
        lot.orderNo = integerOf(at(col.orderNo));
        lot.parentOrderNo = integerOf(at(col.parentOrderNo));
        lot.planNo = integerOf(at(col.planNo));
        lot.itemCode = textOf(at(col.itemCode)).trimmed();
        const QString sundry = textOf(at(col.itemSundry)).trimmed();
        lot.itemName = sundry.isEmpty() ? textOf(at(col.modelName)).trimmed() : sundry;
        lot.processSeq = int(integerOf(at(col.processSeq)));
        lot.processName = textOf(at(col.processName)).trimmed();
        lot.processClass = textOf(at(col.processClass)).trimmed();
        lot.machineCode = textOf(at(col.machineCode));
        lot.destCode = textOf(at(col.destCode));
        lot.inOutKind = plan::inOutKindFromText(textOf(at(col.inOutKind)));
        lot.orderQty = integerOf(at(col.orderQty));
        lot.receivedQty = integerOf(at(col.receivedQty));
        const QString fix = textOf(at(col.fixKind)).trimmed();
        lot.fixKind = plan::fixKindFromText(fix);
        lot.confirmKind = plan::confirmKindFromText(textOf(at(col.confirmKind)).trimmed());
        const QVariant completion = at(col.completionKind);
        lot.completed = textOf(completion).trimmed() == QLatin1String("2");
        lot.startDay = dateOf(at(col.startDay));
        lot.dueDate = dateOf(at(col.dueDate));

        // Scheduled as the plan loading reads it: confirmed, with times (or finished).
        const std::optional<core::TimeOfDay> startTime = timeOf(at(col.workStartTime));
        const std::optional<core::TimeOfDay> endTime = timeOf(at(col.workEndTime));
        const bool completionOpen = completion.isNull() || textOf(completion).trimmed() == QLatin1String("0");
        const bool placed = lot.confirmKind == plan::ConfirmKind::Confirmed
            && (numberOf(at(col.workStartTime)) != 0 || numberOf(at(col.workEndTime)) != 0 || !completionOpen);
        const core::Date startDate = dateOf(at(col.workStartDate));
        core::Date endDate = dateOf(at(col.workEndDate));
        if (endDate.isNull()) endDate = lot.dueDate;
        const bool onRow = !lot.machineCode.trimmed().isEmpty()
            || (lot.inOutKind == plan::InOutKind::Outside && !lot.destCode.trimmed().isEmpty());
        if (placed && onRow && !startDate.isNull() && !endDate.isNull()) {
            lot.start = core::Moment::of(startDate, startTime.value_or(settings.DayChangeTime));
            lot.end = core::Moment::of(endDate, endTime.value_or(settings.DayChangeTime));
            lot.allocated = !(lot.end < lot.start);
        }
        lots.push_back(std::move(lot));
    }
    return lots;
}

}  // namespace store
