#include "store/saving/ForeignOverlaps.h"

#include "store/loading/FieldValues.h"
#include "store/saving/SaveSql.h"

#include <QHash>
#include <algorithm>
#include <optional>
#include <tuple>

namespace store {

namespace {

struct Span {
    QString machine;  // trimmed
    QString mould;    // trimmed
    core::Moment start, end;
};

// The bars this save places anew: changed records on a machine whose machine
// or times differ from their stored row (a bar that stays where it is stored
// books nothing new), with the orders they carry.
struct SavedBar {
    Span span;
    std::int64_t orderNo = 0;
};

std::optional<core::Moment> storedMoment(const QVariant& date, const QVariant& time)
{
    const core::Date d = dateOf(date);
    const std::optional<core::TimeOfDay> t = timeOf(time);
    if (d.isNull() || !t) return std::nullopt;
    return core::Moment::of(d, *t);
}

std::optional<Span> storedSpan(const db::Cursor& c)
{
    const auto start = storedMoment(c.value(QStringLiteral("作業開始日付")), c.value(QStringLiteral("作業開始時間")));
    const auto end = storedMoment(c.value(QStringLiteral("作業終了日付")), c.value(QStringLiteral("作業終了時間")));
    if (!start || !end || !(*start < *end)) return std::nullopt;  // unreadable or empty: books no time
    return Span{c.text(QStringLiteral("機械コード")).trimmed(), c.text(QStringLiteral("金型番号")).trimmed(), *start, *end};
}

bool sameSpan(const Span& a, const Span& b) { return a.machine == b.machine && a.start == b.start && a.end == b.end; }

std::vector<SavedBar> barsPlacedAnew(const SaveContext& ctx)
{
    std::vector<SavedBar> out;
    QSet<int> seen;
    for (const MemberOrder& m : ctx.work.members) {
        const plan::PlanRecord& r = ctx.record(m);
        if (seen.contains(m.recordNo)) continue;  // the members of a bar share its place
        seen.insert(m.recordNo);
        if (!ctx.staysLive(m) || r.isHidden() || !r.hasMachine() || !(r.start() < r.end())) continue;
        const Span span{r.machineCode.trimmed(), r.mouldNo.trimmed(), r.start(), r.end()};
        if (!m.isNew()) {
            const auto row = ctx.rows.constFind(m.orderNo);
            if (row != ctx.rows.cend()) {
                const auto at = [&](const char16_t* column) { return ctx.rowValue(m.orderNo, QString::fromUtf16(column)); };
                const auto start = storedMoment(at(u"作業開始日付"), at(u"作業開始時間"));
                const auto end = storedMoment(at(u"作業終了日付"), at(u"作業終了時間"));
                if (start && end && sameSpan(span, Span{textOf(at(u"機械コード")).trimmed(), {}, *start, *end})) continue;
            }
        }
        out.push_back({span, m.orderNo});
    }
    return out;
}

// What the planner's plan shows for each loaded order: its bar.
QHash<std::int64_t, Span> planPlacements(const plan::PlanData& plan)
{
    QHash<std::int64_t, Span> out;
    for (int i = 2; i <= plan.size(); ++i) {
        const plan::PlanRecord& r = plan[i];
        if (r.isMergedAway) continue;
        const Span span{r.hasMachine() ? r.machineCode.trimmed() : QString(), r.mouldNo.trimmed(), r.start(), r.end()};
        for (const plan::MemberSlots* group : {&r.membersA, &r.membersB})
            for (const plan::MemberOrder& m : *group)
                if (m.orderNo > 0) out.insert(m.orderNo, span);
        if (r.orderNo > 0) out.insert(r.orderNo, span);
    }
    return out;
}

}  // namespace

std::vector<ForeignOverlap> findForeignOverlaps(SaveContext& ctx, const QSet<std::int64_t>& accepted)
{
    std::vector<ForeignOverlap> out;
    const std::vector<SavedBar> saved = barsPlacedAnew(ctx);
    if (saved.empty()) return out;

    QSet<std::int64_t> written;
    for (std::int64_t no : ctx.work.existingOrders()) written.insert(no);
    core::Moment from = saved.front().span.start, to = saved.front().span.end;
    QSet<QString> machines, moulds;
    for (const SavedBar& b : saved) {
        from = std::min(from, b.span.start);
        to = std::max(to, b.span.end);
        machines.insert(b.span.machine);
        if (!b.span.mould.isEmpty()) moulds.insert(b.span.mould);
    }
    const QHash<std::int64_t, Span> shown = planPlacements(ctx.plan);

    // Candidates by date only (texts compare as dates); machine, mould and the
    // exact times are compared here, trimmed, as every database pads differently.
    const auto read = [&](const QString& column, const QSet<QString>& codes) {
        if (codes.isEmpty()) return;
        QVariantList list;
        for (const QString& c : codes) list << c;
        queryInChunks(ctx.db,
                      QStringLiteral("SELECT 手配番号, 機械コード, 金型番号, 作業開始日付, 作業開始時間, 作業終了日付, 作業終了時間"
                                     " FROM DB0253 WHERE 削除フラグ = '0' AND 完納区分 <> '2' AND 生産工場コード = ?"
                                     " AND 作業開始日付 <= ? AND 作業終了日付 >= ? AND RTRIM(") +
                          column + QStringLiteral(") IN "),
                      list, {},
                      [&](db::Cursor& c) {
                          const std::int64_t no = c.integer(QStringLiteral("手配番号"));
                          if (written.contains(no) || accepted.contains(no)) return;
                          const std::optional<Span> other = storedSpan(c);
                          if (!other) return;
                          const auto mine = shown.constFind(no);
                          if (mine != shown.cend() && sameSpan(*mine, *other)) return;  // the planner sees it there
                          for (const SavedBar& b : saved) {
                              if (!(b.span.start < other->end && other->start < b.span.end)) continue;
                              const bool onMachine = column == QStringLiteral("機械コード") && b.span.machine == other->machine;
                              const bool inMould = column == QStringLiteral("金型番号") && !b.span.mould.isEmpty() && b.span.mould == other->mould;
                              if (onMachine || inMould) out.push_back({b.orderNo, no, other->machine, inMould ? other->mould : QString()});
                          }
                      },
                      {QVariant(ctx.settings.KojoCode), to.date().toYmdText(), from.date().toYmdText()});
    };
    read(QStringLiteral("機械コード"), machines);
    read(QStringLiteral("金型番号"), moulds);
    std::sort(out.begin(), out.end(), [](const ForeignOverlap& a, const ForeignOverlap& b) {
        return std::tie(a.savedOrder, a.otherOrder, a.mouldNo) < std::tie(b.savedOrder, b.otherOrder, b.mouldNo);
    });
    out.erase(std::unique(out.begin(), out.end(),
                          [](const ForeignOverlap& a, const ForeignOverlap& b) {
                              return a.savedOrder == b.savedOrder && a.otherOrder == b.otherOrder && a.mouldNo == b.mouldNo;
                          }),
              out.end());
    return out;
}

QString foreignOverlapQuestion(const std::vector<ForeignOverlap>& overlaps)
{
    constexpr std::size_t kListed = 10;
    QString text = QStringLiteral("他の計画で登録された手配と重なります。") + QStringLiteral("\r");
    for (std::size_t i = 0; i < overlaps.size() && i < kListed; ++i) {
        const ForeignOverlap& o = overlaps[i];
        const QString savedNo = o.savedOrder > 0 ? QString::number(o.savedOrder) : QStringLiteral("(新規)");
        text += o.mouldNo.isEmpty()
                    ? QStringLiteral("手配 %1 と手配 %2（機械 %3）").arg(savedNo).arg(o.otherOrder).arg(o.machineCode)
                    : QStringLiteral("手配 %1 と手配 %2（金型 %3）").arg(savedNo).arg(o.otherOrder).arg(o.mouldNo);
        text += QStringLiteral("\r");
    }
    if (overlaps.size() > kListed) text += QStringLiteral("ほか %1件").arg(overlaps.size() - kListed) + QStringLiteral("\r");
    return text + QStringLiteral("そのまま保存しますか？");
}

}  // namespace store
