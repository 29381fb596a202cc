#pragma once
// The operator's machine selection (DB0497): which machines of the factory and
// process class are rows of the chart.

#include "core/ProgramSettings.h"
#include "core/TimeTypes.h"
#include "db/Database.h"

#include <QString>
#include <vector>

namespace store {

struct MachineChoice {
    QString code;  // 機械コード as the machine table holds it, never cut to the list's width
    QString name;  // 機械名
    bool selected = true;
};

// Every machine of the factory and the chosen class in code order, with the
// operator's choice; a machine the operator never chose counts as selected.
// Throws db::Error.
std::vector<MachineChoice> readMachineSelection(db::Database& db, const core::ProgramSettings& settings);

// Writes every choice in one transaction: a missing row is added with the
// registration columns, every row gets 選択, 削除フラグ and the update columns.
// On a failure everything is rolled back and db::Error is rethrown.
void saveMachineSelection(db::Database& db, const core::ProgramSettings& settings, const std::vector<MachineChoice>& choices,
                          core::Moment now);

}  // namespace store
