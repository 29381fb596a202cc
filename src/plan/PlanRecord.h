#pragma once
// One bar of the chart: one work order after loading, up to twenty member
// orders in two member groups after merging or splitting.
//
// Member and component arrays hold slots 1..20 at indexes 0..19.

#include "core/TimeTypes.h"
#include "plan/PlanKinds.h"

#include <QString>
#include <array>
#include <cstdint>

namespace plan {

constexpr int MemberSlots = 20;
constexpr int ComponentSlots = 20;
constexpr int MaxComponentsPerOrder = 19;  // loading keeps at most this many

template <typename T>
using Slots = std::array<T, MemberSlots>;

struct PlanRecord {
    Slots<std::int64_t> memberPlanNo{};    // group A: 生産計画番号
    Slots<std::int64_t> memberPlanNoB{};   // group B
    std::int64_t memberCount = 0;
    int barIndex = 0;                      // identity of the record's bar
    std::int64_t orderNo = 0;              // 手配番号 of the (first) order
    std::int64_t setRepOrderNo = 0;        // セット品代表手配番号; 0 = not in a set
    bool isSetMember = false;              // in a set and not its representative
    Slots<std::int64_t> memberOrderNo{};   // group A: 手配番号; 0 = free slot
    Slots<std::int64_t> memberOrderNoB{};
    Slots<std::int64_t> memberNewOrderNo{};   // split members: order they came from
    Slots<std::int64_t> memberNewOrderNoB{};
    QString machineCode = QStringLiteral(" ");  // a single space = not on a machine
    QString destCode;                      // 指示先コード
    double pieceSeconds = 0;
    double pieceSecondsOrig = 0;
    QString itemCode;
    int processSeq = 0;                    // 順序
    int setupMinutes = 0;
    QString itemCode2;
    Slots<QString> memberItemCode{};
    Slots<QString> memberItemCodeB{};
    Slots<int> memberProcessSeq{};
    Slots<int> memberProcessSeqB{};
    QString processName;                   // "混合" when the members' names differ
    QString processNameFirst;
    Slots<QString> memberProcessName{};
    Slots<QString> memberProcessNameB{};
    QString modelName;
    Slots<QString> memberModelName{};
    Slots<QString> memberModelNameB{};
    int spare = 0;
    int loadMark = 0;                      // 1 for every loaded record
    core::Date startDay;                   // 開始日
    core::Date dueDate;                    // 納期
    core::Date startDate;
    core::TimeOfDay startTime;
    core::Date endDate;
    core::TimeOfDay endTime;
    core::Date initialDueDate;             // GNT初期納期; null when not set
    core::Date startDateOrig;
    core::Date endDateOrig;
    std::int64_t orderQty = 0;
    std::int64_t receivedQty = 0;
    core::Date lastResultDate;
    Slots<std::int64_t> memberOrderQty{};
    Slots<std::int64_t> memberReceivedQty{};
    Slots<std::int64_t> memberOrderQtyB{};
    Slots<std::int64_t> memberReceivedQtyB{};
    QString planItemCode;                  // DB0251.品名コード
    bool isChanged = false;
    bool isEdited = false;
    ConfirmKind confirmKind = ConfirmKind::None;    // effective: Confirmed only when placed
    ConfirmKind confirmKindDb = ConfirmKind::None;  // as stored
    MemberGroup memberGroup = MemberGroup::One;
    std::int64_t workMinutes = 0;
    std::int64_t planQty = 0;
    QString instructionDate = QStringLiteral("00000000");
    bool isDeleted = false;
    FixKind fixKind = FixKind::Free;
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
    std::array<QString, ComponentSlots> compItemCode{};
    std::array<QString, ComponentSlots> compItemName{};
    std::array<double, ComponentSlots> compRequiredQty{};
    std::array<double, ComponentSlots> compUnitNum{};
    std::array<double, ComponentSlots> compUnitDen{};
    std::array<double, ComponentSlots> compUnitNumOrig{};
    std::array<double, ComponentSlots> compUnitDenOrig{};
    std::array<double, ComponentSlots> compDefectRate{};
    QString mouldShortName;
    int ganttDisplayKind = 0;
    QString remarks;
    InOutKind inOutKind = InOutKind::None;
    bool isMergedAway = false;
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
    bool usesGroupB() const { return keepsGroupB(memberGroup); }
    bool isConfirmed() const { return confirmKind == ConfirmKind::Confirmed; }

    friend bool operator==(const PlanRecord&, const PlanRecord&) = default;
};

// Lowest free member slot (order number 0) of a group; -1 when all are taken.
int lowestFreeSlot(const Slots<std::int64_t>& orderNos);

}  // namespace plan
