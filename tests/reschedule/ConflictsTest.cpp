// The conflict finder and the machine load against plain references: every
// pair of bars compared, every minute of the calendar walked with the
// working-time arithmetic. Random plans are built so that bars touch, share
// moulds, form lot chains and end on their due date.

#include "core/CoreTestSupport.h"
#include "plan/PlanHistory.h"
#include "reschedule/Conflicts.h"
#include "reschedule/MachineLoad.h"

#include <gtest/gtest.h>
#include <random>

namespace {

using core::Date;
using core::Moment;
using reschedule::Conflict;
using reschedule::ConflictKind;
using namespace core_test;

const Date kStart = ymd(2024, 4, 1);

// Three machines: a day shift with a lunch break, two shifts running past
// midnight, and one that rests on Sundays; one supplier row.
core::Planner plant()
{
    core::Planner p = makePlanner(kStart, kStart.addDays(9), hm(8), {{hm(12), hm(12, 45)}, {hm(22), hm(22, 30)}});
    p.GridMinutes = 15;
    addMachine(p, QStringLiteral("M1"), everyDay(p, hm(8), hm(17)));
    addMachine(p, QStringLiteral("M2"), everyDay(p, hm(8), hm(17), hm(20), hm(5)));
    std::vector<core::CalendarDayRow> rows;
    for (const core::CalendarDayRow& d : everyDay(p, hm(6), hm(14), hm(14), hm(22)))
        if (d.date.dayOfWeek() != 7) rows.push_back(d);
    addMachine(p, QStringLiteral("M3"), rows);
    p.rows.append(QStringLiteral("S1"), QStringLiteral("Supplier"), QStringLiteral("Supplier"));
    return p;
}

struct RandomPlans {
    std::mt19937 rng;
    explicit RandomPlans(unsigned seed) : rng(seed) {}
    int pick(int n) { return int(rng() % unsigned(n)); }

    // Fills one record with random placement, mould, due date and chain link.
    void shuffle(plan::PlanRecord& r, const plan::PlanData& plan, Moment previousEnd)
    {
        static const QString machines[] = {QStringLiteral("M1"), QStringLiteral("M2 "), QStringLiteral("M3"), QStringLiteral(" ")};
        static const QString moulds[] = {QString(), QStringLiteral("K1"), QStringLiteral("K2 "), QStringLiteral("  ")};
        r.machineCode = machines[pick(4)];
        r.inOutKind = plan::InOutKind::InHouse;
        if (!r.hasMachine() && pick(2) == 0) {
            r.inOutKind = plan::InOutKind::Outside;
            r.destCode = QStringLiteral("S1");
        } else {
            r.destCode = QStringLiteral("0101");
        }
        r.mouldNo = moulds[pick(4)];
        // Often right after the previous bar: touching is no overlap.
        const Moment start = pick(3) == 0 ? previousEnd : Moment::of(kStart, hm(8)).addMinutes(15 * pick(4 * 24 * 6));
        r.setStart(start);
        r.setEnd(start.addMinutes(pick(5) == 0 ? 0 : 15 * (1 + pick(40))));
        r.initialDueDate = pick(3) == 0 ? Date() : kStart.addDays(pick(8));
        r.dueDate = pick(2) == 0 ? Date() : kStart.addDays(pick(8));
        r.isDeleted = pick(12) == 0;
        r.isSetMember = pick(15) == 0;
        r.parentOrderNo = plan.size() > 2 && pick(3) == 0 ? plan[2 + pick(plan.size() - 1)].orderNo : 0;
    }

    plan::PlanData plan(int n)
    {
        plan::PlanData out;
        Moment end = Moment::of(kStart, hm(8));
        for (int k = 0; k < n; ++k) {
            plan::PlanRecord r;
            r.barIndex = out.size() + 1;
            r.orderNo = 1000 + k;
            r.memberCount = 1;
            r.membersA = {plan::MemberOrder{.orderNo = r.orderNo}};
            // A lot split off keeps the order it came from: links to that order reach it too.
            if (pick(10) == 0) r.membersA.push_back(plan::MemberOrder{.orderNo = -k, .newOrderNo = 1000 + pick(k + 1)});
            shuffle(r, out, end);
            end = r.end();
            out.append(r);
        }
        return out;
    }
};

bool holds(const plan::PlanRecord& r, std::int64_t order)
{
    if (r.orderNo == order) return true;
    for (const plan::MemberOrder& m : r.membersA)
        if (m.orderNo != 0 && (m.orderNo == order || m.newOrderNo == order)) return true;
    return false;
}

// Every pair compared. `touchingOverlaps` is a deliberate fault: bars that only
// meet are taken as overlapping.
std::vector<Conflict> everyPair(const plan::PlanData& plan, bool touchingOverlaps = false)
{
    std::vector<Conflict> out;
    const auto meets = [&](const plan::PlanRecord& a, const plan::PlanRecord& b) {
        return touchingOverlaps ? b.start() <= a.end() && b.end() >= a.start() : b.start() < a.end() && b.end() > a.start();
    };
    for (int i = 2; i <= plan.size(); ++i) {
        const plan::PlanRecord& a = plan[i];
        for (int j = i + 1; j <= plan.size(); ++j) {
            const plan::PlanRecord& b = plan[j];
            const Moment from = std::max(a.start(), b.start()), to = std::min(a.end(), b.end());
            if (reschedule::occupiesMachine(a) && reschedule::occupiesMachine(b) && a.machineCode.trimmed() == b.machineCode.trimmed()
                && meets(a, b))
                out.push_back({ConflictKind::MachineOverlap, i, j, from, to});
            if (reschedule::occupiesMould(a) && reschedule::occupiesMould(b) && a.mouldNo.trimmed() == b.mouldNo.trimmed() && meets(a, b))
                out.push_back({ConflictKind::MouldClash, i, j, from, to});
        }
        if (!reschedule::isScheduled(a)) continue;
        const Date due = a.initialDueDate.isNull() ? a.dueDate : a.initialDueDate;
        if (!due.isNull() && a.endDate > due) out.push_back({ConflictKind::Late, i, 0, Moment::of(due.addDays(1), {}), a.end()});
        for (int j = 2; j <= plan.size(); ++j)
            if (j != i && a.parentOrderNo != 0 && reschedule::isScheduled(plan[j]) && holds(plan[j], a.parentOrderNo)
                && plan[j].start() < a.end())
                out.push_back({ConflictKind::ChainOrder, i, j, plan[j].start(), a.end()});
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST(Conflicts, FinderAgreesWithEveryPairOnRandomPlansAndCatchesASeededFault)
{
    int faultCaught = 0;
    std::size_t kinds[4] = {};
    for (unsigned seed = 1; seed <= 40; ++seed) {
        RandomPlans gen(seed);
        const plan::PlanData plan = gen.plan(60);
        const std::vector<Conflict> found = reschedule::findConflicts(plan);
        ASSERT_EQ(found, everyPair(plan)) << "seed " << seed;
        for (const Conflict& c : found) ++kinds[int(c.kind)];
        if (found != everyPair(plan, true)) ++faultCaught;
    }
    EXPECT_GT(faultCaught, 20) << "the plans must have bars that only touch";
    for (std::size_t k : kinds) EXPECT_GT(k, 10u) << "every kind of conflict occurs";
}

TEST(Conflicts, AfterRandomChangesOnlyTheTouchedRecordsGiveTheSameAsAFullScan)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        RandomPlans gen(100 + seed);
        plan::PlanData plan = gen.plan(80);
        const core::Planner p = plant();
        reschedule::ConflictIndex index;
        reschedule::MachineLoad load;
        index.rebuild(plan);
        load.rebuild(p, plan);
        for (int round = 0; round < 30; ++round) {
            std::vector<int> touched;
            if (round % 4 == 3) {
                // A push along a machine: every bar of M2 from a moment on moves later.
                const Moment from = Moment::of(kStart.addDays(gen.pick(4)), hm(8));
                for (int i = 2; i <= plan.size(); ++i)
                    if (plan[i].machineCode.trimmed() == QStringLiteral("M2") && plan[i].start() >= from) {
                        plan::PlanRecord& r = plan.editTimes(i);
                        r.setStart(r.start().addMinutes(60));
                        r.setEnd(r.end().addMinutes(60));
                        touched.push_back(i);
                    }
            }
            const int n = 1 + gen.pick(6);
            for (int k = 0; k < n; ++k) {
                if (gen.pick(8) == 0) {
                    // Appended (a split), or the last record taken out (its undo).
                    plan::PlanRecord r = plan[2 + gen.pick(plan.size() - 1)];
                    r.barIndex = plan.size() + 1;
                    r.orderNo = r.membersA[0].orderNo = 5000 + plan.size();
                    touched.push_back(plan.append(r));
                    continue;
                }
                const int i = 2 + gen.pick(plan.size() - 1);
                if (gen.pick(6) == 0) {  // the detail window: a new due date alone
                    plan.edit(i).initialDueDate = kStart.addDays(gen.pick(8));
                } else if (gen.pick(2) == 0) {  // a push: the times alone
                    plan::PlanRecord& r = plan.editTimes(i);
                    const std::int64_t shift = 15 * (gen.pick(9) - 4);
                    r.setStart(r.start().addMinutes(shift));
                    r.setEnd(r.end().addMinutes(shift));
                } else {
                    gen.shuffle(plan.edit(i), plan, plan[i].start());
                }
                touched.push_back(i);
            }
            index.update(plan, touched);
            load.update(p, plan, touched);
            ASSERT_EQ(index.all(), reschedule::findConflicts(plan)) << "seed " << seed << " round " << round;
            ASSERT_EQ(index.count(), index.all().size());
            reschedule::MachineLoad fresh;
            fresh.rebuild(p, plan);
            ASSERT_TRUE(load == fresh) << "seed " << seed << " round " << round;
        }
    }
}

TEST(Conflicts, RecordsAppendedAndDroppedAgainByAnUndoLeaveNoConflictBehind)
{
    RandomPlans gen(7);
    plan::PlanData plan = gen.plan(30);
    plan::PlanHistory history(plan);
    reschedule::ConflictIndex index;
    index.rebuild(plan);
    // A copy of a bar on M1, late, appended in one step and taken out by its undo.
    history.begin(QStringLiteral("split"));
    plan::PlanRecord copy = plan[2];
    copy.barIndex = plan.size() + 1;
    copy.machineCode = QStringLiteral("M1");
    copy.isDeleted = copy.isSetMember = false;
    copy.initialDueDate = kStart;
    copy.setEnd(Moment::of(kStart.addDays(3), hm(9)));
    const int added = plan.append(copy);
    ASSERT_TRUE(history.end());
    index.update(plan, history.lastChanged());
    EXPECT_TRUE(index.has(added, ConflictKind::Late));
    ASSERT_TRUE(history.undo());
    index.update(plan, history.lastChanged());
    EXPECT_TRUE(index.of(added).empty());
    EXPECT_EQ(index.all(), reschedule::findConflicts(plan));
    ASSERT_TRUE(history.redo());
    index.update(plan, history.lastChanged());
    EXPECT_EQ(index.all(), reschedule::findConflicts(plan));
}

// The reference: minute by minute, a minute is working when a one-minute job
// started there ends a minute later on the machine's calendar.
TEST(MachineLoad, MinutesPerDayMatchAMinuteByMinuteWalkOfTheCalendar)
{
    core::Planner p = plant();
    // A changed day with a stop period in the middle of the shift.
    core::MachineDay& changed = p.calendar.day(4, 2);
    core::DayCalendar values = changed.values();
    values.stop = core::StopInfo{QStringLiteral("点検"), {}, hm(10), 2};
    changed.setValues(values);
    core::buildMachineCalendar(p.calendar, 4, 2, p.DayChangeTime);

    RandomPlans gen(3);
    const plan::PlanData plan = gen.plan(80);
    reschedule::MachineLoad load;
    load.rebuild(p, plan);
    int overloaded = 0;
    for (int row = 2; row <= p.rows.CalendarMachineCount; ++row)
        for (int d = 1; d <= 8; ++d) {
            const Moment dayStart = Moment::of(kStart.addDays(d - 2), p.DayChangeTime);
            std::int64_t offered = 0, planned = 0;
            for (int m = 0; m < 24 * 60; ++m) {
                const Moment t = dayStart.addMinutes(m);
                if (core::endTimeOnRow(p, t, 1, row) != t.addMinutes(1)) continue;
                ++offered;
                for (int i = 2; i <= plan.size(); ++i)
                    if (reschedule::occupiesMachine(plan[i]) && p.rows.findRow(plan[i].machineCode) == row && plan[i].start() <= t
                        && t.addMinutes(1) <= plan[i].end())
                        ++planned;
            }
            const reschedule::DayLoad got = load.at(row, d);
            EXPECT_EQ(got.offered, offered) << "row " << row << " day " << d;
            EXPECT_EQ(got.planned, planned) << "row " << row << " day " << d;
            overloaded += got.overloaded() ? 1 : 0;
        }
    EXPECT_GT(overloaded, 0) << "overlapping bars overload some days";
    EXPECT_EQ(load.at(2, 4).offered, 9 * 60 - 45 - 120);  // lunch and the two-hour stop
    EXPECT_EQ(load.at(4, 8).offered, 0) << "a Sunday off";
}

// Bars moved by whole days, bars starting or ending right at a day change,
// and bars stretched over several days land on the days a fresh count gives them.
TEST(MachineLoad, BarsMovedByWholeDaysOrOntoTheDayChangeLandOnTheRightDays)
{
    const core::Planner p = plant();
    RandomPlans gen(5);
    plan::PlanData plan = gen.plan(60);
    reschedule::MachineLoad load;
    load.rebuild(p, plan);
    int round = 0;
    for (const int minutes : {24 * 60, 48 * 60, -24 * 60, 72 * 60, 48 * 60 + 1, -48 * 60, 0, 1}) {
        std::vector<int> touched;
        for (int i = 2; i <= plan.size(); ++i) {
            if (!reschedule::occupiesMachine(plan[i])) continue;
            plan::PlanRecord& r = plan.editTimes(i);
            if (minutes == 1) {
                r.setEnd(r.start().addMinutes(84 * 60));  // three and a half days
            } else if (minutes == 0) {
                // Onto the day change two days on, alternately starting or ending there.
                const Moment change = Moment::of(r.start().date().addDays(2), p.DayChangeTime);
                r.setStart(i % 2 ? change : change.addMinutes(-90));
                r.setEnd(i % 2 ? change.addMinutes(90) : change);
            } else {
                r.setStart(r.start().addMinutes(minutes));
                r.setEnd(r.end().addMinutes(minutes));
            }
            touched.push_back(i);
        }
        load.update(p, plan, touched);
        reschedule::MachineLoad fresh;
        fresh.rebuild(p, plan);
        ASSERT_TRUE(load == fresh) << "round " << round;
        // And the figures themselves, day by day from the calendar.
        for (int row = 2; row <= p.rows.CalendarMachineCount; ++row)
            for (int d = 0; d <= p.calendarDays(); ++d) {
                std::int64_t planned = 0;
                for (int i = 2; i <= plan.size(); ++i)
                    if (reschedule::occupiesMachine(plan[i]) && p.rows.findRow(plan[i].machineCode) == row)
                        planned += reschedule::workingMinutesIn(p, row, d, plan[i].start(), plan[i].end());
                ASSERT_EQ(load.at(row, d).planned, planned) << "round " << round << " row " << row << " day " << d;
            }
        ++round;
    }
}

TEST(MachineLoad, AChangedCalendarDayChangesItsOfferAndTheBarsOnIt)
{
    core::Planner p = plant();
    RandomPlans gen(9);
    const plan::PlanData plan = gen.plan(60);
    reschedule::MachineLoad load;
    load.rebuild(p, plan);
    for (int d : {3, 5}) {
        core::MachineDay& day = p.calendar.day(d, 3);
        core::DayCalendar values = day.values();
        values.ShiftTime[2] = hm(11);  // the day shift ends at 11:00
        day.setValues(values);
        core::buildMachineCalendar(p.calendar, d, 3, p.DayChangeTime);
        load.calendarDayChanged(p, plan, 3, d);
    }
    reschedule::MachineLoad fresh;
    fresh.rebuild(p, plan);
    EXPECT_TRUE(load == fresh);
}

}  // namespace
