#include "reschedule/ScheduleList.h"

#include "core/SearchText.h"

#include <algorithm>

namespace reschedule::schedule_list {

QStringList headers()
{
    return {QStringLiteral("SystemＩd"), QStringLiteral("手配番号"), QStringLiteral("品名コード"), QStringLiteral("品名"),
            QStringLiteral("順序"), QStringLiteral("工程内容名"), QStringLiteral("機械コード"), QStringLiteral("開始日"),
            QStringLiteral("納期"), QStringLiteral("手配数"), QStringLiteral("金型コード"), QStringLiteral("製造依頼番号")};
}

QString nothingToShow() { return QStringLiteral("予定一覧画面に表示するデータはありません。"); }
QString unsetMachine() { return QStringLiteral("未設定"); }
QString dateErrorTitle() { return QStringLiteral("日付入力エラー"); }

namespace {

QString shortDate(core::Date d)
{
    return d.isNull() ? QString() : QStringLiteral("%1/%2/%3").arg(d.year() % 100, 2, 10, QChar(u'0')).arg(d.month(), 2, 10, QChar(u'0')).arg(d.day(), 2, 10, QChar(u'0'));
}

QString machineText(const plan::PlanRecord& r)
{
    const QString m = r.machineCodeDb.trimmed();
    return m.isEmpty() ? unsetMachine() : m;
}

bool isNumberColumn(int column)
{
    return column == ColSystemId || column == ColOrderNo || column == ColSeq || column == ColOrderQty;
}
bool isDateColumn(int column) { return column == ColStart || column == ColDue; }

std::int64_t numberOf(const plan::PlanRecord& r, int column)
{
    switch (column) {
    case ColSystemId: return r.barIndex;
    case ColOrderNo: return r.orderNo;
    case ColSeq: return r.processSeq;
    case ColOrderQty: return r.orderQty;
    default: return 0;
    }
}

core::Date dateOf(const plan::PlanRecord& r, int column) { return column == ColStart ? r.startDate : r.endDate; }

}  // namespace

QString cellText(const plan::PlanRecord& r, int column, DateStyle dates)
{
    if (isNumberColumn(column)) return QString::number(numberOf(r, column));
    if (isDateColumn(column)) return dates == DateStyle::Short ? shortDate(dateOf(r, column)) : dateOf(r, column).toDisplayText();
    switch (column) {
    case ColItemCode: return r.itemCode2.trimmed();
    case ColItemName: return r.modelName.trimmed();
    case ColProcess: return r.processName.trimmed();
    case ColMachine: return machineText(r);
    case ColMould: return r.mouldShortName.trimmed();
    default: return {};  // 製造依頼番号: the plan table holds none
    }
}

std::vector<int> markedRecords(const plan::PlanData& plan, const std::function<bool(int)>& marked)
{
    std::vector<int> out;
    for (int i = 2; i <= plan.size(); ++i)
        if (marked(i)) out.push_back(i);
    return out;
}

DueDateCheck checkDueDates(const QString& fromText, const QString& toText)
{
    DueDateCheck c;
    const QString from = core::foldForSearch(fromText.trimmed());  // full-width digits as typed with the IME
    const QString to = core::foldForSearch(toText.trimmed());
    if (from.isEmpty()) {
        c.message = QStringLiteral("納期始期に日付を入力して下さい。");
        return c;
    }
    c.from = core::Date::fromDisplayText(from);
    if (c.from.isNull()) {
        c.message = QStringLiteral("納期始期に日付を正しく入力して下さい。");
        return c;
    }
    if (to.isEmpty()) {
        c.message = QStringLiteral("納期終期に日付を入力して下さい。");
        return c;
    }
    c.to = core::Date::fromDisplayText(to);
    if (c.to.isNull()) c.message = QStringLiteral("納期終期に日付を正しく入力して下さい。");
    return c;
}

namespace {

// One bracket expression at pattern[p] (just after "["); returns the index
// after "]" and whether ch is in it, or -1 when the bracket is never closed.
qsizetype matchBracket(QStringView pattern, qsizetype p, QChar ch, bool& in)
{
    bool negate = false;
    if (p < pattern.size() && pattern[p] == u'!') {
        negate = true;
        ++p;
    }
    bool found = false;
    const qsizetype start = p;
    while (p < pattern.size() && (pattern[p] != u']' || p == start)) {
        const QChar lo = pattern[p];
        if (p + 2 < pattern.size() && pattern[p + 1] == u'-' && pattern[p + 2] != u']') {
            if (ch >= lo && ch <= pattern[p + 2]) found = true;
            p += 3;
        } else {
            if (ch == lo) found = true;
            ++p;
        }
    }
    if (p >= pattern.size()) return -1;
    in = found != negate;
    return p + 1;
}

bool likeFrom(QStringView text, qsizetype t, QStringView pattern, qsizetype p)
{
    while (p < pattern.size()) {
        const QChar pc = pattern[p];
        if (pc == u'*') {
            while (p < pattern.size() && pattern[p] == u'*') ++p;
            if (p == pattern.size()) return true;
            for (qsizetype k = t; k <= text.size(); ++k)
                if (likeFrom(text, k, pattern, p)) return true;
            return false;
        }
        if (t >= text.size()) return false;
        if (pc == u'?') {
            ++t, ++p;
        } else if (pc == u'#') {
            if (!text[t].isDigit()) return false;
            ++t, ++p;
        } else if (pc == u'[') {
            bool in = false;
            const qsizetype next = matchBracket(pattern, p + 1, text[t], in);
            if (next < 0) {  // never closed: a plain "["
                if (text[t] != pc) return false;
                ++t, ++p;
            } else {
                if (!in) return false;
                ++t;
                p = next;
            }
        } else {
            if (text[t] != pc) return false;
            ++t, ++p;
        }
    }
    return t == text.size();
}

bool containsPattern(const QString& text, const QString& typed)
{
    if (typed.isEmpty()) return true;
    return likeMatch(text, QStringLiteral("*") + typed + QStringLiteral("*"));
}

}  // namespace

bool likeMatch(QStringView text, QStringView pattern) { return likeFrom(text, 0, pattern, 0); }

bool matches(const plan::PlanRecord& r, const Criteria& c)
{
    if (!containsPattern(r.itemCode2, c.itemCode)) return false;
    if (!containsPattern(r.mouldShortName, c.mould)) return false;
    return !(r.endDate < c.from) && !(r.endDate > c.to);
}

void sortRecords(const plan::PlanData& plan, std::vector<int>& records, int column, bool descending)
{
    // Keys built once per record, then the records ordered by them.
    struct Keyed {
        std::int64_t number = 0;
        QString text;
        int record = 0;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(records.size());
    const bool numeric = isNumberColumn(column) || isDateColumn(column);
    for (int rec : records) {
        const plan::PlanRecord& r = plan[rec];
        Keyed k;
        k.record = rec;
        if (isNumberColumn(column)) k.number = numberOf(r, column);
        else if (isDateColumn(column)) k.number = dateOf(r, column).serial();  // no date: the smallest
        else k.text = cellText(r, column, DateStyle::Short);
        keyed.push_back(std::move(k));
    }
    const auto less = [numeric](const Keyed& a, const Keyed& b) {
        return numeric ? a.number < b.number : QStringView(a.text).compare(QStringView(b.text)) < 0;
    };
    if (descending) std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) { return less(b, a); });
    else std::stable_sort(keyed.begin(), keyed.end(), less);
    for (std::size_t i = 0; i < keyed.size(); ++i) records[i] = keyed[i].record;
}

}  // namespace reschedule::schedule_list
