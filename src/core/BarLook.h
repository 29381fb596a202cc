#pragma once
// How a plan record's bar looks: background by due date, text colour, changed
// mark and the two caption lines. Shared by the chart, the export and the tests.

#include "core/TimeTypes.h"

#include <QString>
#include <cstdint>

namespace core {

// The record values the look depends on.
struct BarFacts {
    Date endDate;
    Date initialDueDate;        // null: no first due date
    bool isConfirmed = false;
    bool isChanged = false;
    QString instructionDate;    // "yyyymmdd"; "00000000" = none issued
    QString itemCode2;
    QString modelName;
    QString processName;
    Date lastResultDate;
    std::int64_t receivedQty = 0;
    std::int64_t orderQty = 0;
    QString planItemCode;
    QString mouldShortName;
};

enum class DueClass { Late, Early, NearDue, NoDueDate };

struct BarLook {
    DueClass dueClass = DueClass::NoDueDate;
    std::uint32_t background = 0xC0C0C0;  // 0xRRGGBB
    std::uint32_t text = 0x000000;        // 0xRRGGBB
    bool changedMark = false;
    QString line1;
    QString line2;
};

// Colours are inline: a push recolours every bar it moves.
inline DueClass dueClassOf(Date endDate, Date initialDueDate)
{
    if (initialDueDate.isNull()) return DueClass::NoDueDate;
    if (endDate > initialDueDate) return DueClass::Late;
    if (endDate < initialDueDate.addDays(-3)) return DueClass::Early;
    return DueClass::NearDue;
}
inline std::uint32_t backgroundOf(DueClass c)  // 0xRRGGBB
{
    switch (c) {
    case DueClass::Late: return 0xFF6060;
    case DueClass::Early: return 0x80FFFF;
    case DueClass::NearDue: return 0xFFFF80;
    case DueClass::NoDueDate: break;
    }
    return 0xC0C0C0;
}
QString dueClassName(DueClass c);        // "late", "early", "near-due", "no-due-date" (export)
// Line 1: "●" when a work instruction was issued (instructionDate neither
// "00000000" nor blank), the trimmed itemCode2, a blank, modelName.
// Line 2: processName, a blank, lastResultDate "m/d" (left out when null),
// "(" receivedQty ")/" orderQty, then " " planItemCode and " " mould short name
// when not blank. A blank mould short name shows "型なし" when iniOption6 is not 0
// (orders without a mould stand out), nothing otherwise.
BarLook barLookOf(const BarFacts& f, int iniOption5, int iniOption6);
// The parts of the look, for callers that redraw many bars at once: colours are
// cheap, the two caption lines are not and are only needed for bars in view.
inline std::uint32_t textColourOf(bool isConfirmed, int iniOption5)
{
    return !isConfirmed && iniOption5 != 0 ? 0x0000FF : 0x000000;
}
void fillBarCaption(BarLook& look, const BarFacts& f, int iniOption6);

}  // namespace core
