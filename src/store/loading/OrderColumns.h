#pragma once
// Column positions of the plan statement, looked up once per load rather than
// by name for every row.

#include "db/Database.h"

namespace store {

struct OrderColumns {
    explicit OrderColumns(const db::Cursor& c);

    // DB0253
    int orderNo, parentOrderNo, planNo, factory, itemCode, itemSundry, processSeq, machineCode, destCode, mouldNo,
        setRepOrderNo, inOutKind, confirmKind, fixKind, acceptInspectKind, ganttDisplayKind, completionKind, workStartDate,
        workStartTime, workEndDate, workEndTime, startDay, dueDate, initialDueDate, workHours, setupHours, requiredPersons,
        actualMinutes, orderQty, receivedQty, lastResultDate, instructionDate, ownCycle, remarks;
    // Joined masters (aliases of the statement)
    int productivity, productivityUnit, modelName, packUnitQty, processName, processClass, planQty, planItemCode,
        mouldedCycle, mouldedCavities, shotWeight, setupBefore, setupAfter, machineCycle, mouldShortName, mouldCavities,
        setCavities;
};

}  // namespace store
