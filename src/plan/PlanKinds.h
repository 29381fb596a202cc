#pragma once
// The one-character kinds of a work order (DB0253) as the rules see them.
// Loading turns each stored text into its kind once; saving and the export turn
// the kind back into text here. Nothing else reads or writes the texts.
//
// A stored text that names no kind becomes Other, and the record keeps that
// text beside the kind (PlanRecord::fixKindOtherText, confirmKindDbOtherText),
// so a record writes back exactly what it was loaded with.

#include <QString>
#include <cstdint>

namespace plan {

// スケジューラ固定区分: "0" free, "1" back-fixed (the end time is fixed: the bar
// may go earlier, never later), "2" fully fixed. Other moves like a free order.
enum class FixKind : std::uint8_t { Free, BackFixed, FullyFixed, Other };
// The trimmed column text; a blank one is Free.
FixKind fixKindFromText(const QString& text);
// otherText: the stored text an Other kind stands for.
QString textOf(FixKind kind, const QString& otherText = QString());

// 手配確定区分: "1" planned (not placed), "2" placed and confirmed. None is the
// empty text (a record never loaded).
enum class ConfirmKind : std::uint8_t { None, Planned, Confirmed, Other };
ConfirmKind confirmKindFromText(const QString& text);
QString textOf(ConfirmKind kind, const QString& otherText = QString());

// 社内社外区分: "1" in-house, "2" outside. Any other text (often blank) is None:
// placed on neither side yet; saving writes it as in-house.
enum class InOutKind : std::uint8_t { None, InHouse, Outside };
InOutKind inOutKindFromText(const QString& text);
QString textOf(InOutKind kind);

// Which member group a record's members are kept in: One at load; Two and Four
// keep them in group B (the outer ring of a bearing set).
enum class MemberGroup : std::uint8_t { One = 1, Two, Three, Four };
constexpr bool keepsGroupB(MemberGroup g) { return g == MemberGroup::Two || g == MemberGroup::Four; }

}  // namespace plan
