#include "core/BarLook.h"

namespace core {

QString dueClassName(DueClass c)
{
    switch (c) {
    case DueClass::Late: return QStringLiteral("late");
    case DueClass::Early: return QStringLiteral("early");
    case DueClass::NearDue: return QStringLiteral("near-due");
    case DueClass::NoDueDate: break;
    }
    return QStringLiteral("no-due-date");
}

void fillBarCaption(BarLook& look, const BarFacts& f, int iniOption6)
{
    const bool instructed = f.instructionDate.trimmed() != u"00000000" && !f.instructionDate.trimmed().isEmpty();
    look.line1 = (instructed ? QStringLiteral("●") : QString()) + f.itemCode2.trimmed() + u' ' + f.modelName;

    // e.g. "成形 5/12(300)/1000 P-01 型A": result date, received in brackets, ordered,
    // plan item and mould, each piece left out when there is nothing to show.
    QString line2 = f.processName + u' ' + f.lastResultDate.toMonthDayText() + u'(' + QString::number(f.receivedQty) + u')'
        + u'/' + QString::number(f.orderQty);
    const QString planItem = f.planItemCode.trimmed();
    if (!planItem.isEmpty()) line2 += u' ' + planItem;
    QString mould = f.mouldShortName.trimmed();
    if (mould.isEmpty() && iniOption6 != 0) mould = QStringLiteral("型なし");  // orders still waiting for a mould stand out
    if (!mould.isEmpty()) line2 += u' ' + mould;
    look.line2 = line2;
}

BarLook barLookOf(const BarFacts& f, int iniOption5, int iniOption6)
{
    BarLook look;
    look.dueClass = dueClassOf(f.endDate, f.initialDueDate);
    look.background = backgroundOf(look.dueClass);
    look.text = textColourOf(f.isConfirmed, iniOption5);
    look.changedMark = f.isChanged;
    fillBarCaption(look, f, iniOption6);
    return look;
}

}  // namespace core
