// The lots of a production plan for the order Gantt window: the open plan's
// state over the database's rows, process order, and the colour classes.
#include "RuleTestSupport.h"

#include "reschedule/PlanLots.h"

using namespace rules_test;
using reschedule::LotClass;
using reschedule::PlanLot;

namespace {

PlanLot lot(std::int64_t orderNo, int seq, std::int64_t parent, std::optional<std::pair<Moment, Moment>> times)
{
    PlanLot l;
    l.orderNo = orderNo;
    l.planNo = 500;
    l.processSeq = seq;
    l.parentOrderNo = parent;
    l.machineCode = times ? "M1" : " ";
    l.allocated = times.has_value();
    if (times) {
        l.start = times->first;
        l.end = times->second;
    }
    return l;
}

std::vector<std::int64_t> orderNos(const std::vector<PlanLot>& lots)
{
    std::vector<std::int64_t> out;
    for (const PlanLot& l : lots) out.push_back(l.orderNo);
    return out;
}

class PlanLots : public RuleTest {};

TEST_F(PlanLots, FourClassesAlongTheChainOfProcesses)
{
    // 10 → 20 → 30 in one chain; 20 starts before 10 ends; 30 waits for its place; 40 is fine.
    const std::vector<PlanLot> lots = {
        lot(1, 10, 2, {{at(2, 8), at(2, 12)}}),
        lot(2, 20, 3, {{at(2, 11), at(2, 15)}}),
        lot(3, 30, 4, std::nullopt),
        lot(4, 40, 0, {{at(3, 8), at(3, 9)}}),
        lot(5, 20, 3, {{at(2, 12), at(2, 13)}}),  // a second lot of 20 that no lot supplies
    };
    EXPECT_EQ(reschedule::classifyLots(lots, {}),
              std::vector<LotClass>({LotClass::Other, LotClass::Overlapping, LotClass::Unallocated, LotClass::Other, LotClass::Other}));
    // The selected lot takes its colour whatever else it is.
    EXPECT_EQ(reschedule::classifyLots(lots, {2, 3})[1], LotClass::Selected);
    EXPECT_EQ(reschedule::classifyLots(lots, {2, 3})[2], LotClass::Selected);

    // A lot split off in this session is supplied by whatever supplied its source.
    std::vector<PlanLot> split = lots;
    split.push_back(lot(-1, 20, 3, {{at(2, 10), at(2, 11)}}));
    split.back().sourceOrderNo = 2;
    EXPECT_EQ(reschedule::overlapsPreviousProcess(split).back(), true);
}

TEST_F(PlanLots, WithoutLinksTheProcessesFollowBySequence)
{
    const std::vector<PlanLot> lots = {
        lot(1, 10, 0, {{at(2, 8), at(2, 12)}}),
        lot(2, 30, 0, {{at(2, 11), at(2, 13)}}),  // after 20, which ends earlier: no overlap
        lot(3, 20, 0, {{at(2, 9), at(2, 10)}}),   // starts while 10 runs
    };
    EXPECT_EQ(reschedule::overlapsPreviousProcess(lots), std::vector<bool>({false, false, true}));
}

TEST_F(PlanLots, ProcessOrderThenStartThenNumber)
{
    std::vector<PlanLot> lots = {lot(7, 20, 0, {{at(3, 8), at(3, 9)}}), lot(3, 20, 0, std::nullopt),
                                 lot(6, 20, 0, {{at(2, 8), at(2, 9)}}), lot(9, 10, 0, std::nullopt), lot(8, 10, 0, std::nullopt)};
    reschedule::sortIntoProcessOrder(lots);
    EXPECT_EQ(orderNos(lots), std::vector<std::int64_t>({8, 9, 6, 7, 3}));
}

TEST_F(PlanLots, TheOpenPlanShowsOverTheDatabaseWhereItHoldsTheOrder)
{
    // The database knows orders 1 (moulding), 2 (machining, not loaded here) and 3 (merged away here).
    std::vector<PlanLot> lots = {lot(1, 10, 2, {{at(2, 8), at(2, 12)}}), lot(2, 20, 0, {{at(3, 8), at(3, 12)}}),
                                 lot(3, 10, 2, {{at(4, 8), at(4, 12)}})};
    const int moved = addBar(1, "M2", at(5, 8), 60, 80);
    rec(moved).membersA[0].planNo = 500;
    rec(moved).isChanged = true;
    const int merged = addBar(3, "M1", at(4, 8), 60);
    rec(merged).isMergedAway = true;
    // A lot split off order 1 in this session: not in the database yet.
    const int split = addBar(-1, " ", at(1, 8), 60, 20);
    rec(split).membersA[0] = plan::MemberOrder{.planNo = 500, .orderNo = -1, .newOrderNo = 1, .orderQty = 20, .processSeq = 10};
    rec(split).confirmKind = plan::ConfirmKind::Planned;
    const int otherPlan = addBar(9, "M1", at(6, 8), 60);
    rec(otherPlan).membersA[0].planNo = 501;

    reschedule::overlayOpenPlan(lots, 500, plan);
    reschedule::sortIntoProcessOrder(lots);
    ASSERT_EQ(orderNos(lots), std::vector<std::int64_t>({1, -1, 2}));
    EXPECT_EQ(lots[0].machineCode, "M2");
    EXPECT_EQ(lots[0].start, at(5, 8));
    EXPECT_EQ(lots[0].orderQty, 80);
    EXPECT_TRUE(lots[0].changed);
    EXPECT_EQ(lots[0].recordNo, moved);
    EXPECT_FALSE(lots[1].allocated) << "split off and not placed yet";
    EXPECT_EQ(lots[1].parentOrderNo, 2) << "supplies what its source supplies";
    EXPECT_EQ(lots[2].start, at(3, 8)) << "not loaded here: as the database has it";
    EXPECT_EQ(lots[2].recordNo, 0);
    EXPECT_EQ(reschedule::planNoOf(plan[moved]), 500);
}

}  // namespace
