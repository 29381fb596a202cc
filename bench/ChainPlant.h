#pragma once
// The plant both drop benchmarks work on: 60 machines on two-shift calendars
// (Sundays off), a plan whose first orders stand back to back on M01 so that a
// drop at their head pushes them all, the rest spread over the other machines,
// every 25th order leading a set of two; prompts that say yes and no masters.
#include "core/Calendar.h"
#include "core/ChartGeometry.h"
#include "core/Prompt.h"
#include "plan/PlanData.h"
#include "plan/PlanTime.h"
#include "reschedule/MasterLookup.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <random>
#include <vector>

namespace bench {

using namespace core;

inline constexpr int kMachines = 60;
inline constexpr int kChain = 220;

struct AlwaysYes : Prompt {
    bool askYesNo(const QString&, const QString&, bool) override { return true; }
    void tell(const QString&, const QString&, Icon) override {}
};

struct NoMasters : reschedule::MasterLookup {
    std::optional<double> machineCycle(const QString&, int, const QString&) override { return std::nullopt; }
    std::optional<reschedule::Productivity> routingProductivity(const QString&, int) override { return std::nullopt; }
    QString machineDestination(const QString&) override { return QStringLiteral("0101        "); }
    std::optional<reschedule::RequirementRule> requirementRule(std::int64_t, const QString&) override { return std::nullopt; }
};

inline QString machineCode(int m) { return QStringLiteral("M%1").arg(m, 2, 10, QLatin1Char('0')); }

inline Planner twoShiftPlant()
{
    Planner p;
    p.PeriodStart = Date::fromYmd(2024, 4, 1);
    p.PeriodEnd = p.PeriodStart.addDays(41);
    p.DayChangeTime = TimeOfDay::fromHms(8, 0);
    p.GridMinutes = 5;
    p.calendar.reset(p.PeriodStart.daysTo(p.PeriodEnd) + 3, 1);
    std::array<std::pair<TimeOfDay, TimeOfDay>, 10> breaks{};
    breaks[0] = {TimeOfDay::fromHms(12, 0), TimeOfDay::fromHms(12, 45)};
    breaks[1] = {TimeOfDay::fromHms(22, 0), TimeOfDay::fromHms(22, 30)};
    loadBreakMaster(p.calendar, breaks);
    for (int m = 1; m <= kMachines; ++m) {
        const int r = p.rows.append(machineCode(m), machineCode(m), machineCode(m));
        p.rows.CalendarMachineCount = p.rows.KikaiRowCount = r;
        p.calendar.addMachine();
        std::vector<CalendarDayRow> rows;
        for (int i = 0; i <= p.calendarDays(); ++i) {
            CalendarDayRow d;
            d.date = p.PeriodStart.addDays(i - 2);
            if (d.date.dayOfWeek() == 7) continue;  // Sundays off
            d.workingHours = 16;
            d.start1 = TimeOfDay::fromHms(8, 0);
            d.end1 = TimeOfDay::fromHms(17, 0);
            d.start2 = TimeOfDay::fromHms(17, 0);
            d.end2 = TimeOfDay::fromHms(2, 0);
            rows.push_back(d);
        }
        loadMachineCalendar(p.calendar, r, p.PeriodStart, rows, p.DayChangeTime);
    }
    return p;
}

// `orders` confirmed orders: kChain of them back to back on M01, the rest spread
// over the other machines, back to back as well; every 25th leads a set of two.
// With mouldsAndLotChains about eleven bars share each mould (some clash) and
// every tenth lot supplies the next order.
inline void buildPlan(const Planner& planner, plan::PlanData& plan, int orders, bool mouldsAndLotChains = false)
{
    std::mt19937 rng(11);
    plan.clear();
    std::vector<Moment> next(kMachines + 1, Moment::of(planner.PeriodStart, TimeOfDay::fromHms(8, 0)));
    for (int k = 0; plan.size() - 1 < orders; ++k) {
        const int m = k < kChain ? 1 : 2 + (k % (kMachines - 1));
        plan::PlanRecord r;
        r.barIndex = plan.size() + 1;
        r.orderNo = 1000 + k;
        r.memberCount = 1;
        r.orderQty = 100 + std::int64_t(rng() % 900);
        r.membersA = {plan::MemberOrder{.orderNo = r.orderNo, .orderQty = r.orderQty}};
        r.machineCode = r.machineCodeDb = machineCode(m);
        r.destCode = QStringLiteral("0101        ");
        r.inOutKind = plan::InOutKind::InHouse;
        r.confirmKind = r.confirmKindDb = plan::ConfirmKind::Confirmed;
        r.itemCode = r.itemCode2 = r.planItemCode = QStringLiteral("ITEM%1").arg(k % 700);
        r.modelName = QStringLiteral("MODEL");
        r.processName = QStringLiteral("成形");
        r.loadMark = 1;
        r.cavities = 1 + rng() % 4;
        r.cycle = 20 + rng() % 40;
        r.pieceSeconds = r.cycle / double(r.cavities);
        r.setupMinutes = 15;
        r.workMinutes = 45 + rng() % 75;
        r.initialDueDate = planner.PeriodStart.addDays(5 + int(rng() % 30));
        if (mouldsAndLotChains) {
            r.mouldNo = QStringLiteral("K%1").arg(k % 900);  // about eleven bars per mould: some clash
            if (k % 10 == 3) r.parentOrderNo = 1000 + k + 1;  // lot chains: this lot supplies the next order
        }
        r.setStart(next[std::size_t(m)]);
        r.setEnd(calcEndTime(planner, r.start(), r.setupMinutes + r.workMinutes, r.machineCode));
        next[std::size_t(m)] = r.end();
        r.startDateOrig = r.startDate;
        r.endDateOrig = r.endDate;
        const bool set = k % 25 == 7 && plan.size() + 1 < orders;
        if (set) r.setRepOrderNo = r.orderNo;
        plan.append(r);
        if (set) {
            r.barIndex = plan.size() + 1;
            r.orderNo = r.membersA[0].orderNo = 500000 + k;
            r.isSetMember = true;
            plan.append(r);
        }
    }
}

template <typename F>
double medianMicros(int rounds, F&& f)
{
    std::vector<double> t;
    for (int i = 0; i < rounds; ++i) {
        const auto a = std::chrono::steady_clock::now();
        f();
        t.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - a).count());
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

}  // namespace bench
