#include "store/loading/OrderColumns.h"

namespace store {

OrderColumns::OrderColumns(const db::Cursor& c)
{
    auto col = [&c](const char16_t* name) { return c.column(QString::fromUtf16(name)); };
    orderNo = col(u"手配番号");
    parentOrderNo = col(u"上位手配番号");
    planNo = col(u"生産計画番号");
    factory = col(u"生産工場コード");
    itemCode = col(u"品名コード");
    itemSundry = col(u"品名＿諸口");
    processSeq = col(u"順序");
    machineCode = col(u"機械コード");
    destCode = col(u"指示先コード");
    mouldNo = col(u"金型番号");
    setRepOrderNo = col(u"セット品代表手配番号");
    inOutKind = col(u"社内社外区分");
    confirmKind = col(u"手配確定区分");
    fixKind = col(u"スケジューラ固定区分");
    acceptInspectKind = col(u"受入即検収区分");
    ganttDisplayKind = col(u"GNT表示区分");
    completionKind = col(u"完納区分");
    workStartDate = col(u"作業開始日付");
    workStartTime = col(u"作業開始時間");
    workEndDate = col(u"作業終了日付");
    workEndTime = col(u"作業終了時間");
    startDay = col(u"開始日");
    dueDate = col(u"納期");
    initialDueDate = col(u"GNT初期納期");
    workHours = col(u"作業時間");
    setupHours = col(u"段取時間");
    requiredPersons = col(u"必要人員");
    actualMinutes = col(u"実績時間");
    orderQty = col(u"手配数");
    receivedQty = col(u"受入実績数");
    lastResultDate = col(u"最終実績日");
    instructionDate = col(u"指示書発行日");
    ownCycle = col(u"サイクル");
    remarks = col(u"備考");

    productivity = col(u"生産性");
    productivityUnit = col(u"生産性区分");
    modelName = col(u"型番名");
    packUnitQty = col(u"包装単位数量");
    processName = col(u"工程内容名");
    processClass = col(u"工程分類コード");
    planQty = col(u"計画数");
    planItemCode = col(u"品名コード2");
    mouldedCycle = col(u"成形品Mサイクル");
    mouldedCavities = col(u"成形品M取数");
    shotWeight = col(u"ショット重量");
    setupBefore = col(u"前段取時間");
    setupAfter = col(u"後段取時間");
    machineCycle = col(u"優先サイクル");
    mouldShortName = col(u"金型略称");
    mouldCavities = col(u"金型取数");
    setCavities = col(u"セット取り取数");
}

}  // namespace store
