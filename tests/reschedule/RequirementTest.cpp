// Component requirements and their rounding.
#include "RuleTestSupport.h"

#include "reschedule/Requirement.h"

using namespace rules_test;
using reschedule::RequirementRule;
using reschedule::requirementFor;

namespace {

TEST(Requirement, RoundsAsTheUnitPrescribes)
{
    EXPECT_EQ(requirementFor(1000, RequirementRule{"1", 0, 2, 1, 0}), 2000);
    EXPECT_EQ(requirementFor(1000, RequirementRule{"2", 0, 1, 3, 0}), 334);
    EXPECT_EQ(requirementFor(1000, RequirementRule{"3", 0, 1, 3, 0}), 333);
    EXPECT_EQ(requirementFor(1000, RequirementRule{"1", 1, 1, 3, 0}), 330);
    EXPECT_EQ(requirementFor(100, RequirementRule{"1", 0, 1, 1, 10}), 111);
    EXPECT_EQ(requirementFor(100, RequirementRule{"1", 0, 1, 0, 0}), 100);  // no denominator
    EXPECT_EQ(requirementFor(1000, RequirementRule{"1", 255, 1, 3, 0}), 333.3);  // one decimal
}

TEST(Requirement, DecimalRatiosDoNotLoseAUnitToBinaryError)
{
    // Decimal ratios are a hair off in binary; the exact products are whole.
    EXPECT_EQ(requirementFor(100, RequirementRule{"1", 0, 0.29, 1, 0}), 29);  // 28.999999999999996 in binary
    EXPECT_EQ(requirementFor(10, RequirementRule{"1", 0, 0.7, 1, 0}), 7);
    EXPECT_EQ(requirementFor(3, RequirementRule{"1", 0, 0.1, 0.3, 0}), 1);
    EXPECT_EQ(requirementFor(1000, RequirementRule{"1", 0, 1.1, 1, 0}), 1100);
    // ... while a real fraction still counts.
    EXPECT_EQ(requirementFor(999, RequirementRule{"2", 0, 1, 1000, 0}), 1);
    EXPECT_EQ(requirementFor(999, RequirementRule{"1", 0, 1, 1000, 0}), 0);
}

class RequirementSlots : public RuleTest {};

TEST_F(RequirementSlots, EveryKnownComponentOfTheRecordIsRecomputed)
{
    const int i = addBar(7, "M1", at(2, 8), 60, 1000);
    rec(i).components = {plan::Component{.itemCode = "C1"},
                         plan::Component{.itemCode = "C2", .requiredQty = 5}};  // unknown to the master: stays
    lookup.rules[{7, "C1"}] = RequirementRule{"2", 0, 1, 3, 0};
    reschedule::RuleOutcome out;
    reschedule::recalcRequirements(ctx, i, out);
    EXPECT_EQ(plan[i].components[0].requiredQty, 334);
    EXPECT_EQ(plan[i].components[1].requiredQty, 5);
    EXPECT_TRUE(plan[i].isChanged);
}

}  // namespace

namespace {

TEST_F(RequirementSlots, ADefectRateOfAHundredPercentKeepsThePreviousRequirement)
{
    const int i = addBar(8, "M1", at(2, 8), 60, 1000);
    rec(i).components = {plan::Component{.itemCode = "C1", .requiredQty = 7}};
    lookup.rules[{8, "C1"}] = RequirementRule{"1", 0, 1, 1, 100};
    reschedule::RuleOutcome out;
    EXPECT_FALSE(reschedule::recalcRequirement(ctx, i, 1, out));
    EXPECT_EQ(plan[i].components[0].requiredQty, 7);
    EXPECT_EQ(prompt.told.size(), 1);
    lookup.rules[{8, "C1"}] = RequirementRule{"1", 0, 1, 1, 150};
    EXPECT_FALSE(reschedule::recalcRequirement(ctx, i, 1, out));
    EXPECT_EQ(plan[i].components[0].requiredQty, 7);
    EXPECT_EQ(reschedule::definedRequirement(10, RequirementRule{"1", 0, 1, 1, 99.9}).has_value(), true);
}

}  // namespace
