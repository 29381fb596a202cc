#pragma once
// A small plant for the rule tests: two machines working 08:00-12:00 and
// 13:00-17:00 every day, one supplier row, a map-based master look-up, and
// bars placed with ends computed on their machine's calendar.

#include "core/Calendar.h"
#include "core/ChartGeometry.h"
#include "core/CoreTestSupport.h"
#include "plan/PlanHistory.h"
#include "plan/PlanTime.h"
#include "reschedule/BarMove.h"
#include "reschedule/Consistency.h"
#include "reschedule/RuleContext.h"
#include "support/ScriptedPrompt.h"

#include <QHash>
#include <gtest/gtest.h>
#include <map>

namespace rules_test {

using core::Date;
using core::Moment;
using core::TimeOfDay;

inline Date day(int d) { return Date::fromYmd(2024, 4, d); }  // 2024-04-01 is the first displayed day
inline Moment at(int d, int h, int m = 0) { return Moment::of(day(d), TimeOfDay::fromHms(h, m)); }

class MapLookup : public reschedule::MasterLookup {
public:
    std::map<std::tuple<QString, int, QString>, double> cycles;
    std::map<std::pair<QString, int>, reschedule::Productivity> productivities;
    QHash<QString, QString> destinations;
    std::map<std::pair<std::int64_t, QString>, reschedule::RequirementRule> rules;
    int cycleReads = 0, productivityReads = 0;

    std::optional<double> machineCycle(const QString& item, int seq, const QString& machine) override
    {
        ++cycleReads;
        const auto it = cycles.find({item, seq, machine.trimmed()});
        return it == cycles.end() ? std::nullopt : std::optional<double>(it->second);
    }
    std::optional<reschedule::Productivity> routingProductivity(const QString& item, int seq) override
    {
        ++productivityReads;
        const auto it = productivities.find({item, seq});
        return it == productivities.end() ? std::nullopt : std::optional<reschedule::Productivity>(it->second);
    }
    QString machineDestination(const QString& machine) override { return destinations.value(machine.trimmed(), QStringLiteral("0101        ")); }
    std::optional<reschedule::RequirementRule> requirementRule(std::int64_t orderNo, const QString& item) override
    {
        const auto it = rules.find({orderNo, item});
        return it == rules.end() ? std::nullopt : std::optional<reschedule::RequirementRule>(it->second);
    }
};

inline core::Planner makePlant()
{
    using core_test::hm;
    core::Planner p = core_test::makePlanner(day(1), day(14), hm(8));
    p.GridMinutes = 15;
    for (const QString& code : {QStringLiteral("M1"), QStringLiteral("M2")})
        core_test::addMachine(p, code, core_test::everyDay(p, hm(8), hm(12), hm(13), hm(17)));
    p.rows.append(QStringLiteral("S1"), QStringLiteral("Supplier"), QStringLiteral("Supplier"));
    return p;
}

// Twips on the test chart: one twip per minute from the origin.
constexpr double kScale = 60;

class RuleTest : public ::testing::Test {
protected:
    core::Planner planner = makePlant();
    plan::PlanData plan;
    plan::PlanHistory history{plan};
    testing_support::ScriptedPrompt prompt;
    MapLookup lookup;
    core::ProgramSettings settings;
    reschedule::RuleContext ctx{planner, plan, prompt, lookup, settings};

    // A loaded, confirmed order on a machine (or " ") with its end from its work minutes.
    int addBar(std::int64_t orderNo, const QString& machine, Moment start, int workMinutes, std::int64_t qty = 100)
    {
        plan::PlanRecord r;
        r.barIndex = plan.size() + 1;
        r.orderNo = orderNo;
        r.memberCount = 1;
        r.membersA = {plan::MemberOrder{.orderNo = orderNo, .orderQty = qty}};
        r.orderQty = qty;
        r.machineCode = machine;
        r.machineCodeDb = machine;
        r.destCode = QStringLiteral("0101        ");
        r.inOutKind = plan::InOutKind::InHouse;
        r.itemCode = r.itemCode2 = r.planItemCode = QStringLiteral("ITEM%1").arg(orderNo);
        r.processSeq = 10;
        r.modelName = QStringLiteral("model");
        r.confirmKind = r.confirmKindDb = plan::ConfirmKind::Confirmed;
        r.loadMark = 1;
        r.workMinutes = workMinutes;
        r.cavities = 1;
        r.setStart(start);
        r.setEnd(core::calcEndTime(planner, start, workMinutes == 0 ? 480 : workMinutes, machine));
        r.startDateOrig = r.startDate;
        r.endDateOrig = r.endDate;
        return plan.append(r);
    }
    plan::PlanRecord& rec(int i) { return plan.edit(i); }  // setting up, before any step

    reschedule::BarDrop dropAt(int i, const QString& toRow, Moment start)
    {
        reschedule::BarDrop d;
        d.recordNo = i;
        d.DragStartKikai = plan[i].machineCode;
        d.newKikai = toRow;
        d.origin = core::chartOrigin(planner.PeriodStart, planner.DayChangeTime);
        d.scale = kScale;
        d.newLeftTwips = double(d.origin.minutesTo(start));
        d.currentLeftTwips = double(d.origin.minutesTo(plan[i].start()));
        return d;
    }

    void expectSound()
    {
        const QStringList problems = reschedule::checkConsistency(plan);
        EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
        EXPECT_TRUE(ctx.rowIndex().matchesFreshBuild());
    }
};

}  // namespace rules_test
