#include "store/loading/RowStamp.h"

#include "store/loading/FieldValues.h"

namespace store {

namespace {

QString textAt(const db::Cursor& row, int column) { return column < 0 ? QString() : textOf(row.value(column)); }

}  // namespace

const QStringList& comparedOrderColumns()
{
    static const QStringList columns = {
        // Written by the save.
        QStringLiteral("生産計画番号"), QStringLiteral("品名コード"), QStringLiteral("順序"), QStringLiteral("手配区分"),
        QStringLiteral("社内社外区分"), QStringLiteral("仕入区分"), QStringLiteral("受入即検収区分"), QStringLiteral("手配確定区分"),
        QStringLiteral("生産工場コード"), QStringLiteral("スケジューラ固定区分"), QStringLiteral("GNT表示区分"), QStringLiteral("サイクル"),
        QStringLiteral("備考"), QStringLiteral("機械コード"), QStringLiteral("指示先コード"), QStringLiteral("計上先コード"),
        QStringLiteral("手配数"), QStringLiteral("発注数"), QStringLiteral("作業開始日付"), QStringLiteral("作業終了日付"),
        QStringLiteral("作業開始時間"), QStringLiteral("作業終了時間"), QStringLiteral("開始日"), QStringLiteral("納期"),
        QStringLiteral("GNT初期納期"), QStringLiteral("GNT所要時間＿分"), QStringLiteral("作業時間"), QStringLiteral("必要人員"),
        QStringLiteral("段取時間"), QStringLiteral("削除フラグ"), QStringLiteral("単価"), QStringLiteral("金額"),
        QStringLiteral("消費税額"), QStringLiteral("合計金額"),
        // Not written, but the plan was made on them.
        QStringLiteral("完納区分"), QStringLiteral("受入実績数"), QStringLiteral("金型番号"),
    };
    return columns;
}

OrderRowStamper::OrderRowStamper(const db::Cursor& c)
    : updateDate_(c.column(QStringLiteral("更新日"))), updateTime_(c.column(QStringLiteral("更新時刻"))),
      updateOperator_(c.column(QStringLiteral("更新オペレータ"))), updateTerminal_(c.column(QStringLiteral("更新端末番号"))),
      updateProgram_(c.column(QStringLiteral("更新プログラム")))
{
    for (const QString& name : comparedOrderColumns()) digestColumns_.push_back(c.column(name));
}

plan::LoadedRowStamp OrderRowStamper::stamp(const db::Cursor& row) const
{
    plan::LoadedRowStamp s;
    s.updateDate = textAt(row, updateDate_);
    s.updateTime = textAt(row, updateTime_);
    s.updateOperator = textAt(row, updateOperator_);
    s.updateTerminal = textAt(row, updateTerminal_);
    s.updateProgram = textAt(row, updateProgram_);
    // Values as read, trimmed (fixed-width columns pad differently per driver),
    // NULL kept apart from "" so that clearing a column counts as a change.
    // Kept as a 64-bit FNV-1a hash: a loaded order costs eight bytes for it.
    std::uint64_t h = 0xcbf29ce484222325ull;
    const auto add = [&h](QStringView text) {
        for (QChar ch : text) {
            h ^= ch.unicode();
            h *= 0x100000001b3ull;
        }
    };
    for (int column : digestColumns_) {
        const QVariant v = column < 0 ? QVariant() : row.value(column);
        add(v.isNull() ? QStringView(u"\u2400") : QStringView(textOf(v)).trimmed());
        add(u"\u001f");
    }
    s.contentDigest = h;
    return s;
}

plan::LoadedRowStamp stampOfOrderRow(const db::Cursor& row) { return OrderRowStamper(row).stamp(row); }

}  // namespace store
