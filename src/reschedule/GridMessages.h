#pragma once
// Texts of the plan grid's edits and of the quantity rule.

#include <QString>

namespace reschedule::msg {

inline QString setMemberEditRefused() { return QStringLiteral("セット品手配は、代表手配のみ変更可能です。"); }
inline QString fullyFixedEditRefused() { return QStringLiteral("2:完全固定の手配は、入力不可です。"); }
inline QString quantityRequired() { return QStringLiteral("手配数は省略もしくは０は入力できません。"); }
inline QString quantityInvalid() { return QStringLiteral("手配数を正しく入力して下さい。"); }
inline QString askAdjustWorkTime() { return QStringLiteral("作業時間・終了時間の調整を行ないますか？"); }
inline QString dateInvalid() { return QStringLiteral("日付を正しく入力してください"); }
inline QString timeInvalid() { return QStringLiteral("時刻を正しく入力してください"); }
inline QString personsInvalid() { return QStringLiteral("必要人員を正しく入力して下さい。"); }
inline QString remarksTooLong() { return QStringLiteral("備考は200文字以内で入力して下さい。"); }
inline QString confirmUnplacedRefused() { return QStringLiteral("機械または外注先に配置されていない手配は確定できません。"); }
inline QString kindInvalid() { return QStringLiteral("一覧から選択して下さい。"); }
inline QString bulkRefusedHeader() { return QStringLiteral("次の手配は変更できませんでした。"); }

}  // namespace reschedule::msg
