#pragma once
// Texts of the order detail and order split windows, exactly as the plant knows them.

#include <QString>

namespace reschedule::msg {

inline QString enterValidTime() { return QStringLiteral("時刻を正しく入力してください"); }
inline QString enterValidDate() { return QStringLiteral("日付を正しく入力してください"); }
inline QString endBeforeStart() { return QStringLiteral("開始日時よりも前は設定できません"); }
inline QString askQuantityForEnd() { return QStringLiteral("変更された終了時間に合わせて手配数を変更しますか？"); }
inline QString askAdjustTimes() { return QStringLiteral("作業時間・終了時間の調整を行ないますか？"); }
inline QString askQuantityForWork() { return QStringLiteral("変更された作業時間に合わせて手配数を変更しますか？"); }
inline QString noProductivity() { return QStringLiteral("生産性が未入力のため、手配数を算出できませんでした。"); }
inline QString variantLocked() { return QStringLiteral("実績済みのため、構成選択順序は変更不可です"); }
inline QString quantityRequired() { return QStringLiteral("手配数は省略もしくは０は入力できません。"); }
inline QString setCannotSplit() { return QStringLiteral("セット取り手配は、手配分割できません"); }

// The split's checks and its confirmation.
inline QString chooseLots() { return QStringLiteral("分割するロットを選択してください"); }
inline QString chooseInner() { return QStringLiteral("内輪を選択してください"); }
inline QString chooseOuter() { return QStringLiteral("外輪を選択してください"); }
inline QString innerOuterDiffer() { return QStringLiteral("内輪と外輪のロット数量を同じにしてください"); }
inline QString innerOverLot() { return QStringLiteral("内輪で指定数がロット数量を上回っています"); }
inline QString outerOverLot() { return QStringLiteral("外輪で指定数がロット数量を上回っています"); }
inline QString wholeLotsRefused() { return QStringLiteral("ロットの全数を選択する事はできません"); }
inline QString askSplit() { return QStringLiteral("この内容で分割を実施しますか？"); }
inline QString splitTitle() { return QStringLiteral("分割の確認"); }

// Where the window's own checks go beyond the plant's texts.
inline QString noTotalReachesEnd()
{
    return QStringLiteral("入力された終了日時に合う作業時間がありません。") + QChar(13)
        + QStringLiteral("（段取時間以上、10000時間以内で計算します）");
}
inline QString fixKindChoices() { return QStringLiteral("スケジューラ固定区分は 0、1、2 のいずれかを入力してください"); }
inline QString acceptKindChoices() { return QStringLiteral("受入即検収区分は 0 か 1 を入力してください"); }
inline QString unknownMachine() { return QStringLiteral("機械/ラインのコードが見つかりません"); }
inline QString requirementUndefined(const QString& item)
{
    return QStringLiteral("部材 %1 は不良率が100％以上のため必要数を計算できません。前の必要数のままです。").arg(item.trimmed());
}

}  // namespace reschedule::msg
