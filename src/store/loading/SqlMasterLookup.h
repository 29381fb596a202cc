#pragma once
// The rescheduling rules' master look-ups over the production database. Each
// answer is kept for the session, so a drag that asks again costs nothing;
// clear() forgets them (after a save that wrote cycles, for example).

#include "db/Database.h"
#include "reschedule/MasterLookup.h"

#include <QHash>

namespace store {

class SqlMasterLookup : public reschedule::MasterLookup {
public:
    // departmentCode: the configured department (the factory code).
    SqlMasterLookup(db::Database& db, int departmentCode);

    std::optional<double> machineCycle(const QString& itemCode, int processSeq, const QString& machineCode) override;
    std::optional<reschedule::Productivity> routingProductivity(const QString& itemCode, int processSeq) override;
    QString machineDestination(const QString& machineCode) override;
    std::optional<reschedule::RequirementRule> requirementRule(std::int64_t orderNo, const QString& componentItemCode) override;

    void clear();

private:
    QString departmentFirstSection();

    db::Database& db_;
    int departmentCode_;
    QHash<QString, std::optional<double>> cycles_;
    QHash<QString, std::optional<reschedule::Productivity>> productivities_;
    QHash<QString, QString> destinations_;
    std::optional<QString> firstSection_;
    QHash<QString, std::optional<reschedule::RequirementRule>> requirementRules_;
};

}  // namespace store
