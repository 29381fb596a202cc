#pragma once
// Texts the rescheduling rules show the planner, exactly as the plant knows them.

#include <QString>
#include <cstdint>

namespace reschedule::msg {

inline QString cannotReturnBackFixed() { return QStringLiteral("終了時間を固定されているので、予定に戻す事はできません"); }
inline QString cannotMoveLaterBackFixed() { return QStringLiteral("終了時間を固定されているので、計画を後ろにずらす事はできません"); }
inline QString askStartAfterFront()
{
    return QStringLiteral("移動したよりも前の計画と重複している期間があります。その計画の終了日時をこの計画の開始に設定しますか？");
}
inline QString askPushBehind()
{
    return QStringLiteral("移動した先の後の計画と重複している期間があります。それらの計画を重複しないように調整しますか？");
}
inline QString firstBehindIsFixed() { return QStringLiteral("先頭の計画が固定されているので、スケジュール調整を行なえません"); }
inline QString gridFixedCannotMove() { return QStringLiteral("1:後ろ固定と2:完全固定の手配は移動出来ません。"); }
inline QString gridSetMemberCannotMove()
{
    return QStringLiteral("この手配は移動出来ません。") + QChar(13) + QStringLiteral("セット代表手配を移動して下さい。");
}
inline QString mergeSetRefused() { return QStringLiteral("セット取りの計画を合体させる事はできません"); }
inline QString mergeResultsRefused() { return QStringLiteral("実績が入力されている計画を合体させる事はできません"); }
inline QString askMerge() { return QStringLiteral("この２つの計画を合体させますか？"); }
inline QString expandSupplierRefused() { return QStringLiteral("外注先は展開できません"); }
inline QString expandUnplannedRefused() { return QStringLiteral("未計画分は展開できません"); }
inline QString askExpand() { return QStringLiteral("計画の展開を行ないますか？"); }
inline QString expandCount(int n) { return QString::number(n) + QStringLiteral("件"); }
inline QString arrangingProgress() { return QStringLiteral("計画データを配置しています。しばらくお待ちください．．．"); }
inline QString arrangingDone() { return QStringLiteral("計画データの配置が完了しました。"); }

}  // namespace reschedule::msg
