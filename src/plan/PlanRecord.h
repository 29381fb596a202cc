#pragma once
// One bar of the chart: one work order after loading, up to twenty member
// orders in each of two member groups after merging or splitting.

#include "core/TimeTypes.h"
#include "plan/PlanKinds.h"

#include <QString>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace plan {

constexpr int MaxMembersPerGroup = 20;
constexpr int MaxComponentsPerOrder = 19;  // loading keeps at most this many

// One member order of a bar. Members keep their slot: slot k of a group is
// index k, and a slot whose order number is 0 is free (as is every slot past
// the end of the group). Texts have initialisers ({}) so that designated
// initialisers may leave them out.
struct MemberOrder {
    std::int64_t planNo = 0;        // 生産計画番号
    std::int64_t orderNo = 0;       // 手配番号; 0 = free slot
    std::int64_t newOrderNo = 0;    // split members: the order they came from
    std::int64_t orderQty = 0;      // 手配数
    std::int64_t receivedQty = 0;   // 受入実績数
    int processSeq = 0;             // 順序
    QString itemCode{};             // 品名コード
    QString processName{};          // 工程内容名
    QString modelName{};            // 型番名

    friend bool operator==(const MemberOrder&, const MemberOrder&) = default;
};
using MemberSlots = std::vector<MemberOrder>;

// A component the order consumes (DB0252).
struct Component {
    QString itemCode{};             // 品名コード
    QString itemName{};             // 品名＿品名仕様
    double requiredQty = 0;         // 必要数
    double unitNum = 0;             // 原単位分子
    double unitDen = 0;             // 原単位分母
    double unitNumOrig = 0;         // as loaded or last saved
    double unitDenOrig = 0;
    double defectRate = 0;          // 不良率

    friend bool operator==(const Component&, const Component&) = default;
};

struct PlanRecord {
    // What a push reads of every bar it moves, and the chart of every bar it
    // redraws, stands together (about two cache lines), small fields first.
    int barIndex = 0;                      // identity of the record's bar
    int setupMinutes = 0;
    int loadMark = 0;                      // 1 for every loaded record
    core::Date startDate;
    core::TimeOfDay startTime;
    core::Date endDate;
    core::TimeOfDay endTime;
    bool isSetMember = false;              // in a set and not its representative
    bool isChanged = false;
    bool isDeleted = false;
    bool isMergedAway = false;
    ConfirmKind confirmKind = ConfirmKind::None;    // effective: Confirmed only when placed
    FixKind fixKind = FixKind::Free;
    InOutKind inOutKind = InOutKind::None;
    std::int64_t orderNo = 0;              // 手配番号 of the (first) order
    std::int64_t setRepOrderNo = 0;        // セット品代表手配番号; 0 = not in a set
    std::int64_t orderQty = 0;
    std::int64_t workMinutes = 0;
    QString machineCode = QStringLiteral(" ");  // a single space = not on a machine
    QString destCode;                      // 指示先コード

    MemberSlots membersA;                  // group A: ordinary bars, filled at load
    MemberSlots membersB;                  // group B: the outer ring of a bearing set
    std::int64_t memberCount = 0;
    double pieceSeconds = 0;
    double pieceSecondsOrig = 0;
    QString itemCode;
    int processSeq = 0;                    // 順序
    QString itemCode2;
    QString processName;                   // "混合" when the members' names differ
    QString processNameFirst;
    QString modelName;
    int spare = 0;
    core::Date startDay;                   // 開始日
    core::Date dueDate;                    // 納期
    core::Date initialDueDate;             // GNT初期納期; null when not set
    core::Date startDateOrig;
    core::Date endDateOrig;
    std::int64_t receivedQty = 0;
    core::Date lastResultDate;
    QString planItemCode;                  // DB0251.品名コード
    bool isEdited = false;
    ConfirmKind confirmKindDb = ConfirmKind::None;  // as stored
    MemberGroup memberGroup = MemberGroup::One;
    std::int64_t planQty = 0;
    QString instructionDate = QStringLiteral("00000000");
    QString acceptInspectKind;
    std::int64_t packUnitQty = 0;
    std::int64_t cavities = 0;
    double shotWeightPerPiece = 0;
    std::int64_t requiredPersons = 0;
    std::int64_t actualMinutes = 0;
    double cycle = 0;
    QString mouldNo;
    std::int64_t parentOrderNo = 0;
    QString machineCodeDb;
    std::vector<Component> components;
    // Items of the component rows the plan holds as stored (at most
    // MaxComponentsPerOrder): a save deletes only rows of these that the bar no
    // longer has, never a row the plan did not load.
    std::vector<QString> storedComponentItems;
    QString mouldShortName;
    int ganttDisplayKind = 0;
    QString remarks;
    bool placementUnreadable = false;      // loading could not read its start and end: arranging leaves it alone
    // The stored texts of fixKind and confirmKindDb when they name no kind (Other).
    QString fixKindOtherText;
    QString confirmKindDbOtherText;

    // Derived views used throughout the rules.
    core::Moment start() const { return core::Moment::of(startDate, startTime); }
    core::Moment end() const { return core::Moment::of(endDate, endTime); }
    void setStart(core::Moment m) { startDate = m.date(); startTime = m.time(); }
    void setEnd(core::Moment m) { endDate = m.date(); endTime = m.time(); }
    bool hasMachine() const { return !machineCode.trimmed().isEmpty(); }
    bool isFixed() const { return fixKind == FixKind::BackFixed || fixKind == FixKind::FullyFixed; }
    bool isHidden() const { return isDeleted || isSetMember || isMergedAway; }
    // Whether the planner may pick the bar up: not fully fixed and not hidden
    // (a set member moves with its representative only).
    bool isDraggable() const { return fixKind != FixKind::FullyFixed && !isHidden(); }
    bool usesGroupB() const { return keepsGroupB(memberGroup); }
    bool isConfirmed() const { return confirmKind == ConfirmKind::Confirmed; }

    MemberSlots& members(bool groupB) { return groupB ? membersB : membersA; }
    const MemberSlots& members(bool groupB) const { return groupB ? membersB : membersA; }
    // The group the record's members are in (memberGroup).
    MemberSlots& members() { return members(usesGroupB()); }
    const MemberSlots& members() const { return members(usesGroupB()); }

    friend bool operator==(const PlanRecord&, const PlanRecord&) = default;
};

// The plan table grows by moving records; a throwing move would make it copy them.
static_assert(std::is_nothrow_move_constructible_v<PlanRecord> && std::is_nothrow_move_assignable_v<PlanRecord>);

// Lowest free slot of a group; -1 when all MaxMembersPerGroup slots are taken.
int lowestFreeSlot(const MemberSlots& group);
// The member in `slot` (0 .. MaxMembersPerGroup - 1), the group grown with free slots to reach it.
MemberOrder& memberSlot(MemberSlots& group, int slot);

}  // namespace plan
