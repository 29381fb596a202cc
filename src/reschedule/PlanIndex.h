#pragma once
// Which records stand on which row, and which set members follow which
// representative, kept current from the plan's change journal. Built once;
// afterwards only the records changed since the last look-up are filed again,
// so a drop or an arrangement never walks the whole plan table per bar.

#include "plan/PlanData.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <vector>

namespace reschedule {

class PlanIndex {
public:
    explicit PlanIndex(const plan::PlanData& plan);

    // Catches up with the plan's changes (or rebuilds after a new load).
    void sync();

    // Records whose trimmed machine code is the given one, in table order.
    const std::vector<int>& onMachine(const QString& machineCode) const;
    // Records without a machine whose trimmed destination is the given one, in table order.
    const std::vector<int>& atDestination(const QString& destCode) const;
    // Set members (isSetMember) of the representative's order number, in table order.
    const std::vector<int>& setMembersOf(std::int64_t repOrderNo) const;

    // True when this index files every record exactly as a fresh build would.
    bool matchesFreshBuild() const;

private:
    struct Keys {
        QString machine;        // trimmed machine code; empty = none
        QString destination;    // trimmed destination when there is no machine
        std::int64_t rep = 0;   // representative's order number of a set member
        bool filed = false;
        QString rawMachine, rawDestination;  // as the record holds them: a quick "unchanged"
        bool sameFiling(const Keys& o) const { return machine == o.machine && destination == o.destination && rep == o.rep && filed == o.filed; }
    };
    static Keys keysOf(const plan::PlanRecord& r);
    void rebuild();
    void refile(int recordNo);
    void file(int recordNo, const Keys& k);
    void unfile(int recordNo, const Keys& k);

    const plan::PlanData& plan_;
    std::uint64_t generation_ = 0;
    std::size_t readTo_ = 0;
    std::vector<Keys> keys_;  // by record number (index 0 unused)
    QHash<QString, std::vector<int>> machines_;
    QHash<QString, std::vector<int>> destinations_;
    QHash<std::int64_t, std::vector<int>> members_;
};

}  // namespace reschedule
