#pragma once
// The load of each machine per production day: the working minutes the
// machine's calendar offers that day against the working minutes the bars on
// the machine take inside it. Bars that overlap both count, which is what
// makes a day overloaded.
//
// MachineLoad keeps the figures for the whole plan; after a step only the
// shares of the records the step touched are taken off and added again.

#include "core/WorkingTime.h"
#include "plan/PlanData.h"

#include <QVarLengthArray>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace reschedule {

struct DayLoad {
    std::int64_t offered = 0;  // working minutes of the calendar
    std::int64_t planned = 0;  // working minutes taken by bars
    bool overloaded() const { return planned > offered; }
    friend bool operator==(const DayLoad&, const DayLoad&) = default;
};

// Working minutes of [from, to) inside the production day (each period's
// share in whole minutes); 0 for rows without a calendar and days outside it.
std::int64_t workingMinutesIn(const core::Planner& p, int row, int dayIndex, core::Moment from, core::Moment to);

class MachineLoad {
public:
    void rebuild(const core::Planner& p, const plan::PlanData& plan);
    // Records a step changed, appended or took out.
    void update(const core::Planner& p, const plan::PlanData& plan, const std::vector<int>& changed);
    // A machine day's calendar changed: its offer and the shares of the bars on it again.
    void calendarDayChanged(const core::Planner& p, const plan::PlanData& plan, int row, int dayIndex);

    // Row 2 .. last calendar machine, day index 0 .. calendar days; zero elsewhere.
    DayLoad at(int row, int dayIndex) const;
    friend bool operator==(const MachineLoad& a, const MachineLoad& b) { return a.cells_ == b.cells_; }

private:
    struct Share {
        int row = 0;  // 0 = none
        int firstDay = 0;
        // From firstDay on; a bar seldom spans more than a few days, so they
        // stay beside the rest and a push reads no other memory.
        QVarLengthArray<std::int32_t, 4> minutes;
        QString rawMachine;                 // the code the row was found from
        int machineRow = 0;
    };
    // A machine day's working periods in seconds after its day change.
    struct DayPeriods {
        int count = 0;
        std::array<std::int32_t, 24> bounds{};  // start, end, start, end, ...
    };
    static DayPeriods periodsOf(const core::Planner& p, int row, int dayIndex);
    // Where a bar takes calendar time now.
    struct Place {
        int row = 0, first = 0, last = -1;  // machine row, production days first..last
        std::int64_t start = 0, end = 0;    // seconds
    };
    bool placeOf(const core::Planner& p, const plan::PlanData& plan, int recordNo, Share& s, Place& at) const;
    std::int32_t minutesOn(const Place& at, int dayIndex) const;
    void apply(const Share& s, int sign);
    void refresh(const core::Planner& p, const plan::PlanData& plan, int recordNo);

    std::vector<Share> shares_;                  // by record number
    std::vector<std::vector<DayLoad>> cells_;    // [row][day]
    std::vector<std::vector<DayPeriods>> periods_;  // [row][day]
    std::int64_t base_ = 0;                      // day index 2's day change, seconds
};

}  // namespace reschedule
