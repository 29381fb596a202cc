// resourcesSet: the chart's rows (blank row, the operator's machines with
// their working calendars, the subcontractors) and the calendar tables.

#include "store/loading/FieldValues.h"
#include "store/loading/PlanLoading.h"
#include "store/loading/PlanStatements.h"

#include <QDebug>
#include <vector>

namespace store {

namespace {

QVariant field(const db::Cursor& c, int column) { return column < 0 ? QVariant() : c.value(column); }

// Reads the break master into BreakTime; false when the master has no row.
bool loadBreakMaster(db::Database& db, core::CalendarTables& tables)
{
    db::Cursor c = db.query(statements::breakMaster());
    if (!c.next()) return false;
    std::array<std::pair<core::TimeOfDay, core::TimeOfDay>, 10> pairs{};
    for (int n = 0; n < 10; ++n) {
        const QString a = QStringLiteral("Jikoku%1").arg(2 * n + 1, 2, 10, QChar(u'0'));
        const QString b = QStringLiteral("Jikoku%1").arg(2 * n + 2, 2, 10, QChar(u'0'));
        pairs[std::size_t(n)] = {timeOrMidnight(field(c, c.column(a)), "break start", QStringLiteral("DB0496 ") + a),
                                 timeOrMidnight(field(c, c.column(b)), "break end", QStringLiteral("DB0496 ") + b)};
    }
    core::loadBreakMaster(tables, pairs);
    return true;
}

struct CalendarColumns {
    int date, hours, start1, end1, start2, end2, stopTitle, stopRemark, stopStart, stopHours;
    explicit CalendarColumns(const db::Cursor& c)
        : date(c.column(QStringLiteral("年月日"))), hours(c.column(QStringLiteral("勤務時間"))),
          start1(c.column(QStringLiteral("開始時刻１"))), end1(c.column(QStringLiteral("終了時刻１"))),
          start2(c.column(QStringLiteral("開始時刻２"))), end2(c.column(QStringLiteral("終了時刻２"))),
          stopTitle(c.column(QStringLiteral("停止タイトル"))), stopRemark(c.column(QStringLiteral("停止備考"))),
          stopStart(c.column(QStringLiteral("停止開始時刻"))), stopHours(c.column(QStringLiteral("停止時間")))
    {
    }
};

// Reads one machine's DB0491 rows of the calendar period into its days and builds every day.
void loadMachineCalendar(db::Database& db, core::Planner& planner, int machineIndex, const QString& machineCode)
{
    const int days = planner.calendarDays();
    const QString first = planner.PeriodStart.addDays(-2).toYmdText();
    const QString last = planner.PeriodStart.addDays(days - 2).toYmdText();
    db::Cursor c = db.query(statements::machineCalendar(), {machineCode, first, last});
    const CalendarColumns col(c);
    const QString where = QStringLiteral("DB0491 machine %1").arg(machineCode.trimmed());
    while (c.next()) {
        core::CalendarDayRow row;
        const QVariant dateValue = field(c, col.date);
        row.date = dateOf(dateValue);
        if (row.date.isNull()) {
            qWarning().noquote() << where << ": skipped a row whose 年月日" << textOf(dateValue) << "is no date";
            continue;
        }
        // The reason for a fall-back names machine and day; built only when needed.
        auto timeAt = [&](int column, const char* name) {
            const QVariant v = field(c, column);
            if (const auto t = timeOf(v)) return *t;
            qWarning().noquote() << where << row.date.toYmdText() << ":" << name << "holds" << textOf(v)
                                 << "which is no time of day; 00:00:00 is used";
            return core::TimeOfDay();
        };
        const QVariant hours = field(c, col.hours);
        if (!hours.isNull()) row.workingHours = int(integerOf(hours));
        row.start1 = timeAt(col.start1, "開始時刻１");
        row.end1 = timeAt(col.end1, "終了時刻１");
        row.start2 = timeAt(col.start2, "開始時刻２");
        row.end2 = timeAt(col.end2, "終了時刻２");
        row.stopTitle = textOf(field(c, col.stopTitle));
        row.stopRemark = textOf(field(c, col.stopRemark));
        row.stopStart = timeAt(col.stopStart, "停止開始時刻");
        const std::int64_t stopHours = integerOf(field(c, col.stopHours));
        if (stopHours < 0 || stopHours > 32767) {
            qWarning().noquote() << where << row.date.toYmdText() << ": 停止時間" << stopHours << "is out of range; no stop is used";
        } else {
            row.stopHours = int(stopHours);
        }
        core::storeCalendarRow(planner.calendar, machineIndex, planner.PeriodStart, row);
    }
    for (int day = 0; day <= days; ++day) core::buildMachineCalendar(planner.calendar, day, machineIndex, planner.DayChangeTime);
}

// A supplier's row label: code, line break, name, with the bracketed part of
// the name (half-width, then full-width bracket) on a line of its own.
QString supplierLabel(const QString& code, const QString& name)
{
    QString label = code + QChar(13) + name;
    for (QChar bracket : {QChar(u'('), QChar(u'（')}) {
        const int at = label.indexOf(bracket);
        if (at >= 0) label.insert(at, QChar(13));
    }
    return label;
}

}  // namespace

void resourcesSet(db::Database& db, const core::ProgramSettings& settings, core::Planner& planner, core::Prompt& prompt)
{
    planner.PeriodStart = settings.PeriodStart;
    planner.PeriodEnd = settings.PeriodEnd;
    planner.DayChangeTime = settings.DayChangeTime;
    planner.GridMinutes = settings.GridMinutes;

    // Days of the period plus the two days before it (a start may lie there) and one after.
    int calendarDays = settings.PeriodStart.daysTo(settings.PeriodEnd) + 3;
    if (settings.PeriodStart.isNull() || settings.PeriodEnd.isNull() || calendarDays < 3) {
        qWarning().noquote() << "display period" << settings.PeriodStart.toDisplayText() << "-"
                             << settings.PeriodEnd.toDisplayText() << "is no period; one day is used";
        calendarDays = 3;
    }
    planner.rows.clear();  // row 1: the blank row for orders without a machine
    planner.calendar.reset(calendarDays, 1);

    if (!loadBreakMaster(db, planner.calendar)) {
        prompt.tell(QStringLiteral("休憩マスタにデータがありません。"), QStringLiteral("警告"), core::Prompt::Icon::Warning);
        throw BreakMasterEmpty();
    }

    // Read the machine list completely before the calendar statements run:
    // some drivers drop an open forward-only result when the connection is reused.
    struct Machine { QString code, name; };
    std::vector<Machine> machines;
    {
        db::Cursor c = db.query(statements::machines(db.dialect(), settings.KojoCode),
                                {settings.TantoCode, settings.processClassCode});
        const int codeColumn = c.column(QStringLiteral("機械コード"));
        const int nameColumn = c.column(QStringLiteral("機械名"));
        while (c.next()) machines.push_back({textOf(field(c, codeColumn)), textOf(field(c, nameColumn))});
    }
    for (const Machine& m : machines) {
        const int row = planner.rows.append(m.code, m.name, m.code.trimmed() + QStringLiteral(" ") + m.name);
        planner.calendar.addMachine();  // calendar machine index = row number
        loadMachineCalendar(db, planner, row, m.code);
    }
    planner.rows.CalendarMachineCount = planner.rows.KikaiRowCount = planner.rows.machineRowCount();

    db::Cursor c = db.query(statements::suppliers(), {settings.processClassCode});
    const int codeColumn = c.column(QStringLiteral("仕入先コード"));
    const int nameColumn = c.column(QStringLiteral("仕入先名略名"));
    while (c.next()) {
        const QString code = textOf(field(c, codeColumn));
        const QString name = textOf(field(c, nameColumn));
        planner.rows.append(code, name, supplierLabel(code, name));
    }
}

}  // namespace store
