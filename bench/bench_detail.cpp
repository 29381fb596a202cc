// What opening the order detail window costs on a large plan, and what the
// search for the total minutes of a typed end costs.
//
// On a demo plant of 10,000 open orders (60 machines) in SQLite, loaded as the
// program loads it (class 10), the detail window is opened for 40 orders
// spread over the plan the way the window opens it (the session's openDetail:
// its reads and the form). The statements issued are printed (they read only
// the order's own rows: its links, its neighbouring processes, its item
// step's variants), and their time is set against a bare execution of the
// same statements with the same values through the driver (target: within 3×).
// Building the window's widgets is timed on its own.
//
// Then R4: an end typed 30 working days after a bar's start; the bounded
// search's count of end computations (target: at most 40) and its time against
// a search stepping one minute at a time.

#include "BareRead.h"
#include "core/TotalSearch.h"
#include "demoplant/DemoPlant.h"
#include "plan/PlanTime.h"
#include "session/PlanSession.h"
#include "store/loading/OrderDetailReads.h"
#include "windows/PlanWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

class YesPrompt : public core::Prompt {
public:
    bool askYesNo(const QString&, const QString&, bool) override { return true; }
    void tell(const QString&, const QString&, Icon) override {}
};

double msSince(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

// The same reads as the detail window makes for a record, bare.
void bareReads(db::Database& db, const plan::PlanRecord& r, int factory)
{
    bench::readAll(db, store::statements::previousProcesses(), {factory, qlonglong(r.orderNo)});
    if (r.parentOrderNo > 0) bench::readAll(db, store::statements::nextProcess(), {qlonglong(r.parentOrderNo)});
    bench::readAll(db, store::statements::relatedOrders(), {qlonglong(r.orderNo)});
    bench::readAll(db, store::statements::bomVariants(), {factory, r.itemCode, r.processSeq});
}

// Working minutes of the next `days` production days that have any, from `start` on a row.
std::int64_t workingDaysMinutes(const core::Planner& p, core::Moment start, int row, int days)
{
    std::int64_t sum = 0;
    core::Moment at = start;
    for (int found = 0, guard = 0; found < days && guard < 400; ++guard) {
        core::Moment next;
        const std::int64_t m = core::dayWorkMinutes(p, at, row, next);
        if (m > 0) {
            ++found;
            sum += m;
        }
        at = next;
    }
    return sum;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    auto database = db::Database::openSqlite(dir.filePath(QStringLiteral("plant.db")));
    demoplant::createSchema(*database);
    demoplant::DemoOptions options;
    options.orders = 10000;
    options.machines = 60;
    options.baseDate = core::Date::fromYmd(2025, 6, 2);
    demoplant::generateDemoPlant(*database, options);

    core::ProgramSettings s;
    s.TantoCode = QStringLiteral("1001");
    s.KojoCode = 1;
    s.processClassCode = QStringLiteral("10");
    s.PeriodStart = options.baseDate.addDays(-28);
    s.PeriodEnd = options.baseDate.addDays(88);
    s.GridMinutes = 10;
    s.KengenKubun = QStringLiteral("1");
    YesPrompt prompt;
    session::PlanSession session(s, database.get());
    session.setPrompt(&prompt);
    session.load();
    const plan::PlanData& plan = session.plan();

    std::vector<int> records;
    for (int i = 2; i <= plan.size() && records.size() < 40; i += std::max(1, plan.size() / 40))
        if (!plan[i].isHidden()) records.push_back(i);

    QStringList statements;
    int issued = 0;
    database->beforeStatement = [&](const QString& sql) {
        ++issued;
        if (statements.size() < 8) statements << sql;
    };
    (void)session.openDetail(records.front());  // the first use builds the look-up
    statements.clear();
    issued = 0;
    (void)session.openDetail(records.front());
    const int perOpen = issued;
    const QStringList shown = statements;

    double bestBare = 1e300, bestOpen = 1e300, bestWindow = 1e300;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer t;
        t.start();
        for (int i : records) bareReads(*database, plan[i], s.KojoCode);
        bestBare = std::min(bestBare, msSince(t));
        t.restart();
        for (int i : records) (void)session.openDetail(i);
        bestOpen = std::min(bestOpen, msSince(t));
        t.restart();
        for (int i : records) {
            windows::PlanWindow w(session, *session.openDetail(i));
            (void)w;
        }
        bestWindow = std::min(bestWindow, msSince(t));
    }
    database->beforeStatement = {};

    std::printf("plan: %d records (class 10 of a 10,000-order plant)\n", plan.size() - 1);
    std::printf("statements per opening: %d\n", perOpen);
    for (const QString& sql : shown) std::printf("  %s\n", qPrintable(sql));
    std::printf("%zu openings: bare reads %.2f ms, openDetail %.2f ms, ratio %.2f (target <= 3)\n", records.size(), bestBare, bestOpen,
                bestOpen / bestBare);
    std::printf("%zu windows built (reads, form and widgets): %.2f ms, %.2f ms each\n", records.size(), bestWindow,
                bestWindow / double(records.size()));

    // R4: an end 30 working days after a bar's start.
    int bar = 0;
    for (int i = 2; i <= plan.size() && !bar; ++i)
        if (!plan[i].isHidden() && plan[i].hasMachine() && session.planner().rows.isMachineRow(session.planner().rows.findRow(plan[i].machineCode)))
            bar = i;
    if (!bar) {
        std::printf("no bar on a machine\n");
        return 1;
    }
    const plan::PlanRecord& r = plan[bar];
    const core::MachineOfCode machine = core::machineOfCode(session.planner(), r.machineCode);
    const auto endOf = [&](std::int64_t t) { return plan::getEndTime(session.planner(), machine, r.start(), t); };
    const std::int64_t current = std::int64_t(r.setupMinutes) + r.workMinutes;
    const core::Moment wanted = endOf(workingDaysMinutes(session.planner(), r.start(), machine.row, 30) + 7);
    QElapsedTimer t;
    t.start();
    const core::TotalSearch found = core::searchTotalMinutes(endOf, current, wanted, std::max(1, r.setupMinutes), 600000);
    const double boundedMs = msSince(t);
    t.restart();
    std::int64_t stepped = current, steps = 1;
    while (core::minuteOf(endOf(stepped)) < core::minuteOf(wanted)) {
        ++stepped;
        ++steps;
    }
    const double steppedMs = msSince(t);
    std::printf("R4, end 30 working days after %s on %s: total %lld minutes (minute by minute: %lld), %d end computations "
                "(target <= 40; minute by minute: %lld), %.3f ms against %.1f ms\n",
                qPrintable(r.start().toDisplayText()), qPrintable(r.machineCode.trimmed()), (long long)found.total, (long long)stepped,
                found.evaluations, (long long)steps, boundedMs, steppedMs);

    std::optional<reschedule::DetailForm> form = session.openDetail(bar);
    form->boxes.endDate = wanted.date().toDisplayText();
    form->boxes.endTime = wanted.time().toDisplayText();
    t.restart();
    session.enterDetailBox(*form, reschedule::DetailBox::EndTime);
    std::printf("Enter in 終了時間 (R4 with formula Q and the components): %.3f ms, 合計時間 %s\n", msSince(t), qPrintable(form->boxes.totalMinutes));
    return found.evaluations <= 40 && found.total == stepped ? 0 : 1;
}
