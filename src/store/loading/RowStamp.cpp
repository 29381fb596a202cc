#include "store/loading/RowStamp.h"

#include "store/loading/FieldValues.h"

namespace store {

namespace {

// The columns whose change by another program matters to the schedule.
constexpr std::array<const char16_t*, 13> kDigestColumns = {
    u"機械コード", u"作業開始日付", u"作業開始時間", u"作業終了日付", u"作業終了時間", u"手配数", u"手配確定区分",
    u"スケジューラ固定区分", u"削除フラグ", u"完納区分", u"受入実績数", u"指示先コード", u"金型番号"};

QString textAt(const db::Cursor& row, int column) { return column < 0 ? QString() : textOf(row.value(column)); }

}  // namespace

OrderRowStamper::OrderRowStamper(const db::Cursor& c)
    : updateDate_(c.column(QStringLiteral("更新日"))), updateTime_(c.column(QStringLiteral("更新時刻"))),
      updateOperator_(c.column(QStringLiteral("更新オペレータ"))), updateTerminal_(c.column(QStringLiteral("更新端末番号"))),
      updateProgram_(c.column(QStringLiteral("更新プログラム")))
{
    for (std::size_t i = 0; i < kDigestColumns.size(); ++i)
        digestColumns_[i] = c.column(QString::fromUtf16(kDigestColumns[i]));
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
    for (int column : digestColumns_) {
        const QVariant v = column < 0 ? QVariant() : row.value(column);
        s.contentDigest += v.isNull() ? QStringLiteral("\u2400") : textOf(v).trimmed();
        s.contentDigest += QChar(0x1f);
    }
    return s;
}

plan::LoadedRowStamp stampOfOrderRow(const db::Cursor& row) { return OrderRowStamper(row).stamp(row); }

}  // namespace store
