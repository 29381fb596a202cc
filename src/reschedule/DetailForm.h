#pragma once
// The order detail window's rules, apart from its widgets: what each box
// shows, what Enter in a box recomputes (R1 to R9 with the work-minutes
// formula W and the quantity formula Q), the cases, the components and the
// variant, the checks before closing, and what the record takes over.
//
// The window works on a DetailForm: the box texts and an edit copy of the
// record. Nothing reaches the plan table before applyDetail, which runs as
// one undo step; a cancelled window leaves the plan exactly as it was, also
// after formula Q recomputed the quantity and the components.

#include "reschedule/OrderDetailLookup.h"
#include "reschedule/RuleContext.h"
#include "reschedule/RuleOutcome.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace reschedule {

// The boxes as the planner sees them.
struct DetailBoxes {
    QString orderNo;          // Text14 手配番号
    QString planNo;           // Text4 生産計画番号
    QString planQty;          // Text17 計画数
    QString setRepOrderNo;    // Text38 セット品代表手配番号
    QString fixKind;          // Text18 スケジューラ固定区分
    QString beforeEndDate;    // txt_Before_EndYMD
    QString beforeEndTime;    // txt_Before_EndTIME
    QString startDate;        // Text7
    QString startTime;        // Text1
    QString afterStartDate;   // txt_After_StartYMD
    QString afterStartTime;   // txt_After_StartTIME
    QString endDate;          // Text8
    QString endTime;          // Text6
    QString initialDueDate;   // Text11 希望納期
    QString destCode;         // Text12 指示先
    QString machineCode;      // Text5 機械/ライン
    QString mouldShortName;   // Text29 金型番号
    QString itemCode;         // Text10 品名コード
    QString itemName;         // Text2
    QString processSeq;       // Text23 順序
    QString packUnitQty;      // Text22 入り数
    QString pieceSeconds;     // Text15 生産性
    QString requiredPersons;  // Text40 必要人員
    QString processName;      // Text9 工程内容
    QString cavities;         // Text25 取数
    QString cycle;            // Text24 サイクル
    QString shotWeight;       // Text26 単重
    QString looseQty;         // Text28 バラ数
    QString cases;            // Text27 ケース数
    QString orderQty;         // Text3 手配数
    QString setupMinutes;     // Text13 段取時間
    QString workMinutes;      // Text19 作業時間
    QString totalMinutes;     // Text16 合計時間
    QString acceptInspectKind;  // Text30 受入即検収区分
    QString receivedQty;      // Text20 実績数
    QString lastResultDate;   // Text21 最終実績日
    QString actualMinutes;    // Text42 実績時間
    QString remarks;          // Text39 備考
    QString variant;          // Text37 構成選択

    friend bool operator==(const DetailBoxes&, const DetailBoxes&) = default;
};

// The boxes Enter and the close checks name.
enum class DetailBox {
    FixKind, StartDate, StartTime, EndDate, EndTime, DestCode, MachineCode, PieceSeconds, RequiredPersons,
    OrderQty, SetupMinutes, WorkMinutes, TotalMinutes, AcceptInspectKind, ItemCode,
};

struct DetailForm {
    int recordNo = 0;
    // The record as opened; formula Q's quantity, the recomputed components and
    // a chosen variant's components go here, never into the plan table.
    plan::PlanRecord copy;
    DetailBoxes boxes;
    // The boxes as filled: a box left as it was hands over the record's own
    // exact value (a per-piece time of 20 ÷ 3 seconds is shown rounded).
    DetailBoxes opened;
    // Per component of the copy: the rule a chosen variant brought with it;
    // nullopt asks the master (the order's own component row).
    std::vector<std::optional<RequirementRule>> componentRules;
    std::vector<RelatedOrder> related;
    std::vector<BomVariant> variants;
    QString itemLookedUp;  // the item code whose names Text2 and Text9 show
};

// Fills the form for record `recordNo` (reads the neighbouring processes,
// the related orders and the variants).
DetailForm openDetail(RuleContext& ctx, OrderDetailLookup& lookup, int recordNo);
// After a split of the record: the copy and the boxes the split changed
// (quantity, cases, work and total time, end, persons, cycle, remarks) from
// the record again; the other boxes keep what the planner typed.
void refreshAfterSplit(RuleContext& ctx, DetailForm& f);

// What the boxes show for a record.
DetailBoxes boxesOf(const plan::PlanRecord& r);
QString dateText(core::Date d);        // "yyyy/mm/dd"; "" for no date
QString timeText(core::TimeOfDay t);   // "hh:mm:ss"
QString plainNumber(double v);         // as few digits as show it (7 significant)

struct EnterResult {
    bool moveOn = true;                 // false: the focus stays (in `focus`)
    DetailBox focus = DetailBox::FixKind;
};
// Enter in a box: its recomputation rule (R1 to R9); boxes without a rule just move on.
EnterResult enterBox(RuleContext& ctx, DetailForm& f, DetailBox box);

// "End from start": the end of 合計時間 minutes from the start on the record's
// machine, into 終了日付 and 終了時間. Nothing when the start is not valid.
void endFromStart(RuleContext& ctx, DetailForm& f);
// Formula W: work minutes from 生産性 (else サイクル ÷ 取数, else 1 ÷ 取数),
// 手配数 and 必要人員.
std::int64_t formulaW(const DetailForm& f);
// Formula Q: Int(作業時間 × 60 ÷ 生産性) × persons; nullopt without a 生産性.
std::optional<std::int64_t> formulaQ(const DetailForm& f);
// Q into 手配数 and the edit copy, then cases and components.
void applyFormulaQ(RuleContext& ctx, DetailForm& f, std::int64_t quantity);
// バラ数 and ケース数 from 手配数 and 入り数.
void recomputeCases(DetailBoxes& b);
// 必要数 of every component of the copy for 手配数, rounded as its unit prescribes.
void recomputeComponents(RuleContext& ctx, DetailForm& f);

// A selection in the variant list: refused once results exist (told);
// otherwise the copy takes the variant's components. True when it changed.
bool changeVariant(RuleContext& ctx, DetailForm& f, int variantNumber);
// The variant whose lines the record's components hold; 0 when none.
int currentVariant(const plan::PlanRecord& r, const std::vector<BomVariant>& variants);

// Leaving スケジューラ固定区分: full-width characters to half-width.
void leaveFixKind(DetailForm& f);
// Leaving 品名コード: a code other than the one shown is looked up (never the
// codes 199913, 199914 and 199915); a known item gives 品名 and 工程内容.
void leaveItemCode(OrderDetailLookup& lookup, DetailForm& f);

// "手配分割": refused for an order of a set-take mould (told).
bool mayStartSplit(RuleContext& ctx, const DetailForm& f);

struct CloseCheck {
    enum class Kind { Apply, JustClose, Refused } kind = Kind::Apply;
    DetailBox focus = DetailBox::StartDate;  // Refused: the box to go back to
};
// "変更完了": an empty or non-positive 手配数 is refused (told).
bool quantityAccepted(RuleContext& ctx, const DetailForm& f);
// The checks when the window unloads after "変更完了": no item code closes
// without applying; start, end, machine and the kinds must be valid (told).
CloseCheck checkClose(RuleContext& ctx, const DetailForm& f);

// What the record takes over when the window closes with "変更完了" (run it
// as one step): the item, names, kinds and remarks, the times (the start
// rounded up to the grid), quantity (members in line), persons, set-up,
// per-piece time, work minutes and components, a machine or destination
// typed; then the bar is placed on its row again with its overlaps resolved.
// Nothing changes when nothing differs.
RuleOutcome applyDetail(RuleContext& ctx, const DetailForm& f);

}  // namespace reschedule
