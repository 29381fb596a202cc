#include "chart/BarTip.h"

#include <QStringList>

namespace chart {

namespace {

// The row's name beside the code, so the planner need not look up the code.
QString placeText(const plan::PlanRecord& r, const core::RowTable& rows)
{
    const QString code = r.hasMachine() ? r.machineCode.trimmed() : r.destCode.trimmed();
    if (code.isEmpty()) return QStringLiteral("（未割付）");
    const int row = rows.findRow(code);
    return row > 1 ? code + QLatin1Char(' ') + rows.row(row).RowName.trimmed() : code;
}
}  // namespace

QString fixKindText(plan::FixKind fixKind)
{
    switch (fixKind) {
    case plan::FixKind::BackFixed: return QStringLiteral("1:後ろ固定");
    case plan::FixKind::FullyFixed: return QStringLiteral("2:完全固定");
    case plan::FixKind::Free:
    case plan::FixKind::Other: break;
    }
    return QStringLiteral("0:固定なし");
}

QString confirmKindText(plan::ConfirmKind confirmKind)
{
    return confirmKind == plan::ConfirmKind::Confirmed ? QStringLiteral("2:確定") : QStringLiteral("1:予定");
}

QString barTipText(const plan::PlanRecord& r, const core::RowTable& rows)
{
    QStringList lines;
    QString order = QStringLiteral("手配番号: %1").arg(r.orderNo);
    if (r.memberCount > 1) order += QStringLiteral("（他%1件）").arg(r.memberCount - 1);
    lines << order;
    lines << QStringLiteral("品名: %1  %2").arg(r.itemCode.trimmed(), r.modelName.trimmed());
    lines << QStringLiteral("工程: %1  %2").arg(r.processSeq).arg(r.processName.trimmed());
    lines << QStringLiteral("機械: %1").arg(placeText(r, rows));
    lines << QStringLiteral("開始: %1").arg(core::dateMinuteText(r.startDate, r.startTime));
    lines << QStringLiteral("終了: %1").arg(core::dateMinuteText(r.endDate, r.endTime));
    lines << QStringLiteral("手配数: %1  受入実績数: %2").arg(r.orderQty).arg(r.receivedQty);
    lines << QStringLiteral("段取時間: %1分  作業時間: %2分").arg(r.setupMinutes).arg(r.workMinutes);
    const QString mould = r.mouldNo.trimmed();
    lines << QStringLiteral("金型: %1").arg(mould.isEmpty() ? QStringLiteral("なし") : mould + QLatin1Char(' ') + r.mouldShortName.trimmed());
    lines << QStringLiteral("納期: %1  初期納期: %2")
                 .arg(r.dueDate.toDisplayText(), r.initialDueDate.isNull() ? QStringLiteral("なし") : r.initialDueDate.toDisplayText());
    lines << QStringLiteral("固定区分: %1  確定区分: %2").arg(fixKindText(r.fixKind), confirmKindText(r.confirmKind));
    return lines.join(QLatin1Char('\n'));
}

}  // namespace chart
