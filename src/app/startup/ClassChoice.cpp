#include "app/startup/ClassChoice.h"

#include "core/TypedText.h"

#include <algorithm>

namespace app {

ClassChoiceList loadClassChoices(db::Database& db, int kojoCode)
{
    ClassChoiceList list;
    // The factory code goes as text: it compares with a text key on every kind
    // of server, and with a numeric key as well.
    db::Cursor dept = db.query(QStringLiteral("SELECT 部名 FROM DB0370 WHERE 部コード=? AND 課コード = '0' AND 削除フラグ='0' ORDER BY 部コード"),
                               {QString::number(kojoCode)});
    const QString deptName = dept.next() ? dept.text(QStringLiteral("部名")) : QString();
    list.factoryLabel = QStringLiteral("%1").arg(kojoCode, 2, 10, QLatin1Char('0')) + QStringLiteral("：") + deptName;

    db::Cursor classes = db.query(QStringLiteral("SELECT * FROM DB0399 WHERE 削除フラグ='0' ORDER BY 工程分類コード"));
    while (classes.next())
        list.lines << classes.text(QStringLiteral("工程分類コード")) + QLatin1Char(' ') + classes.text(QStringLiteral("工程分類名"));
    return list;
}

QString classCodeOfLine(const QString& line)
{
    const qsizetype blank = line.indexOf(u' ');
    return (blank < 0 ? line : line.left(blank)).trimmed();
}

bool sameClassCode(const QString& a, const QString& b)
{
    bool okA = false, okB = false;
    const qlonglong na = a.trimmed().toLongLong(&okA);
    const qlonglong nb = b.trimmed().toLongLong(&okB);
    if (okA && okB) return na == nb;
    return a.trimmed() == b.trimmed();
}

int preselectedLine(const QStringList& lines, const QString& currentClassCode)
{
    if (lines.isEmpty()) return -1;
    if (!currentClassCode.trimmed().isEmpty())
        for (int i = 0; i < lines.size(); ++i)
            if (sameClassCode(classCodeOfLine(lines[i]), currentClassCode)) return i;
    return 0;
}

QString mDateChr(const QString& typed) { return core::mDateChr(typed); }

PeriodTexts defaultPeriod(const QString& commandLineText, int displayMonths)
{
    if (commandLineText == QStringLiteral("1") || commandLineText.isEmpty()) return {};
    const core::Date start = core::Date::fromYmdText(commandLineText.left(8));
    if (start.isNull() || start > latestPeriodEnd()) return {};
    return {start.toDisplayText(), periodEndAfter(start, displayMonths).toDisplayText()};
}

bool periodLongEnough(core::Date start, core::Date end)
{
    return !start.isNull() && !end.isNull() && start.daysTo(end) >= MinimumPeriodDays;
}

core::Date latestPeriodEnd() { return core::Date::fromYmd(9999, 12, 30); }

core::Date periodEndAfter(core::Date start, int months)
{
    const core::Date end = start.addMonths(months);
    return end.isNull() || end > latestPeriodEnd() ? latestPeriodEnd() : end;
}

PeriodCheck checkPeriod(core::Date start, core::Date end)
{
    if (start.isNull() || end.isNull()) return PeriodCheck::Missing;
    if (end > latestPeriodEnd() || start > latestPeriodEnd()) return PeriodCheck::TooLate;
    if (!periodLongEnough(start, end)) return PeriodCheck::TooShort;
    if (start.daysTo(end) > MaximumPeriodDays) return PeriodCheck::TooLong;
    return PeriodCheck::Ok;
}

QString periodMessage(PeriodCheck check)
{
    switch (check) {
    case PeriodCheck::Ok: return {};
    case PeriodCheck::Missing: return enterDateMessage();
    case PeriodCheck::TooShort: return periodTooShortMessage();
    case PeriodCheck::TooLong: return QStringLiteral("指定期間は%1日以内で入力してください。").arg(MaximumPeriodDays);
    case PeriodCheck::TooLate: return QStringLiteral("%1 より後の日付は指定できません。").arg(latestPeriodEnd().toDisplayText());
    }
    return {};
}

QString periodTooShortMessage() { return QStringLiteral("指定期間は29日間以上を入力してください。"); }
QString enterDateMessage() { return QStringLiteral("日付を入力してください"); }

}  // namespace app
