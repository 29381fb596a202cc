#pragma once
// A master look-up with no master rows: a new machine keeps the bar's cycle,
// no routing or requirement rule is found, and every machine delivers to
// `destination`.

#include "reschedule/MasterLookup.h"

#include <QString>
#include <utility>

namespace testing_support {

class NoMasters : public reschedule::MasterLookup {
public:
    explicit NoMasters(QString destination = QStringLiteral("0101        ")) : destination_(std::move(destination)) {}
    std::optional<double> machineCycle(const QString&, int, const QString&) override { return std::nullopt; }
    std::optional<reschedule::Productivity> routingProductivity(const QString&, int) override { return std::nullopt; }
    QString machineDestination(const QString&) override { return destination_; }
    std::optional<reschedule::RequirementRule> requirementRule(std::int64_t, const QString&) override { return std::nullopt; }

private:
    QString destination_;
};

}  // namespace testing_support
