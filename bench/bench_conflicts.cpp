// Conflicts and machine load on a 10,000-order plan (60 machines, two-shift
// calendars, about eleven bars per mould, every tenth lot supplying the
// next): the check after a drop at the head
// of a chain of 200+ adjacent bars against the drop itself as the main window
// runs it, and a full conflict scan against one sort of the records by mould
// and time.
#include "chart/ChartState.h"
#include "chart/GanttView.h"
#include "chart/MainForm.h"
#include "core/Calendar.h"
#include "core/ChartGeometry.h"
#include "reschedule/Conflicts.h"
#include "reschedule/MachineLoad.h"
#include "session/PlanWatch.h"

#include <QAction>
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

using namespace core;

namespace {

constexpr int kMachines = 60;
constexpr int kChain = 220;

struct AlwaysYes : Prompt {
    bool askYesNo(const QString&, const QString&, bool) override { return true; }
    void tell(const QString&, const QString&, Icon) override {}
};

struct NoMasters : reschedule::MasterLookup {
    std::optional<double> machineCycle(const QString&, int, const QString&) override { return std::nullopt; }
    std::optional<reschedule::Productivity> routingProductivity(const QString&, int) override { return std::nullopt; }
    QString machineDestination(const QString&) override { return QStringLiteral("0101        "); }
    std::optional<reschedule::RequirementRule> requirementRule(std::int64_t, const QString&) override { return std::nullopt; }
};

QString machineCode(int m) { return QStringLiteral("M%1").arg(m, 2, 10, QLatin1Char('0')); }

Planner twoShiftPlant()
{
    Planner p;
    p.PeriodStart = Date::fromYmd(2024, 4, 1);
    p.PeriodEnd = p.PeriodStart.addDays(41);
    p.DayChangeTime = TimeOfDay::fromHms(8, 0);
    p.GridMinutes = 5;
    p.calendar.reset(p.PeriodStart.daysTo(p.PeriodEnd) + 3, 1);
    std::array<std::pair<TimeOfDay, TimeOfDay>, 10> breaks{};
    breaks[0] = {TimeOfDay::fromHms(12, 0), TimeOfDay::fromHms(12, 45)};
    breaks[1] = {TimeOfDay::fromHms(22, 0), TimeOfDay::fromHms(22, 30)};
    loadBreakMaster(p.calendar, breaks);
    for (int m = 1; m <= kMachines; ++m) {
        const int r = p.rows.append(machineCode(m), machineCode(m), machineCode(m));
        p.rows.CalendarMachineCount = p.rows.KikaiRowCount = r;
        p.calendar.addMachine();
        std::vector<CalendarDayRow> rows;
        for (int i = 0; i <= p.calendarDays(); ++i) {
            CalendarDayRow d;
            d.date = p.PeriodStart.addDays(i - 2);
            if (d.date.dayOfWeek() == 7) continue;  // Sundays off
            d.workingHours = 16;
            d.start1 = TimeOfDay::fromHms(8, 0);
            d.end1 = TimeOfDay::fromHms(17, 0);
            d.start2 = TimeOfDay::fromHms(17, 0);
            d.end2 = TimeOfDay::fromHms(2, 0);
            rows.push_back(d);
        }
        loadMachineCalendar(p.calendar, r, p.PeriodStart, rows, p.DayChangeTime);
    }
    return p;
}

// `orders` confirmed orders: kChain of them back to back on M01, the rest spread
// over the other machines, back to back as well; every 25th leads a set of two.
void buildPlan(const Planner& planner, plan::PlanData& plan, int orders)
{
    std::mt19937 rng(11);
    plan.clear();
    std::vector<Moment> next(kMachines + 1, Moment::of(planner.PeriodStart, TimeOfDay::fromHms(8, 0)));
    for (int k = 0; plan.size() - 1 < orders; ++k) {
        const int m = k < kChain ? 1 : 2 + (k % (kMachines - 1));
        plan::PlanRecord r;
        r.barIndex = plan.size() + 1;
        r.orderNo = 1000 + k;
        r.memberCount = 1;
        r.orderQty = 100 + std::int64_t(rng() % 900);
        r.membersA = {plan::MemberOrder{.orderNo = r.orderNo, .orderQty = r.orderQty}};
        r.machineCode = r.machineCodeDb = machineCode(m);
        r.destCode = QStringLiteral("0101        ");
        r.inOutKind = plan::InOutKind::InHouse;
        r.confirmKind = r.confirmKindDb = plan::ConfirmKind::Confirmed;
        r.itemCode = r.itemCode2 = r.planItemCode = QStringLiteral("ITEM%1").arg(k % 700);
        r.modelName = QStringLiteral("MODEL");
        r.processName = QStringLiteral("成形");
        r.loadMark = 1;
        r.cavities = 1 + rng() % 4;
        r.cycle = 20 + rng() % 40;
        r.pieceSeconds = r.cycle / double(r.cavities);
        r.setupMinutes = 15;
        r.workMinutes = 45 + rng() % 75;
        r.initialDueDate = planner.PeriodStart.addDays(5 + int(rng() % 30));
        r.mouldNo = QStringLiteral("K%1").arg(k % 900);  // about eleven bars per mould: some clash
        if (k % 10 == 3) r.parentOrderNo = 1000 + k + 1;  // lot chains: this lot supplies the next order
        r.setStart(next[std::size_t(m)]);
        r.setEnd(calcEndTime(planner, r.start(), r.setupMinutes + r.workMinutes, r.machineCode));
        next[std::size_t(m)] = r.end();
        r.startDateOrig = r.startDate;
        r.endDateOrig = r.endDate;
        const bool set = k % 25 == 7 && plan.size() + 1 < orders;
        if (set) r.setRepOrderNo = r.orderNo;
        plan.append(r);
        if (set) {
            r.barIndex = plan.size() + 1;
            r.orderNo = r.membersA[0].orderNo = 500000 + k;
            r.isSetMember = true;
            plan.append(r);
        }
    }
}

template <typename F>
double medianMicros(int rounds, F&& f)
{
    std::vector<double> t;
    for (int i = 0; i < rounds; ++i) {
        const auto a = std::chrono::steady_clock::now();
        f();
        t.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - a).count());
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    // --check-only: the drops and checks alone, many of them (for a profiler).
    const bool checkOnly = argc > 1 && QString::fromLatin1(argv[1]) == QStringLiteral("--check-only");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ProgramSettings settings;
    settings.KengenKubun = QStringLiteral("1");
    settings.DayChangeTime = TimeOfDay::fromHms(8, 0);
    auto database = db::Database::openSqlite(QStringLiteral(":memory:"));
    chart::MainForm form(settings, *database);
    AlwaysYes prompt;
    NoMasters lookup;
    form.setPrompt(&prompt);
    form.setMasterLookup(&lookup);
    session::PlanSession& session = form.session();
    session.planner() = twoShiftPlant();
    buildPlan(session.planner(), session.plan(), 10000);
    const plan::PlanData& plan = session.plan();
    form.resize(1600, 900);
    form.show();
    form.showPlan();
    form.gantt().showOneDay();
    QCoreApplication::processEvents();
    session::PlanWatch& watch = session.watch();
    watch.bringUpToDate();
    chart::ChartState& state = form.chartState();
    reschedule::RuleContext& ctx = session.rules();

    const std::vector<int> chain = ctx.rowIndex().onMachine(machineCode(1));
    const int dragged = ctx.rowIndex().onMachine(machineCode(2)).front();
    form.gantt().DragStartKikai = machineCode(2);
    const reschedule::BarDrop drop = form.gantt().dropOf(dragged, machineCode(1), state.xOf(plan[chain.front()].start()));
    std::size_t reported = 0;
    QObject::connect(&session, &session::PlanSession::recordsChanged, [&](const std::vector<int>& r) { reported = r.size(); });

    // Each round: the drop as the window runs it, then the check the window
    // asks for on the next turn of the event loop (conflicts, load, counts,
    // lanes and status bar), timed apart; the undo and its check are not timed.
    std::vector<double> drops, checks;
    for (int round = 0; round < (checkOnly ? 3001 : 101); ++round) {
        const auto a = std::chrono::steady_clock::now();
        emit form.gantt().barDropped(drop, 0);
        const auto b = std::chrono::steady_clock::now();
        watch.bringUpToDate();
        const auto c = std::chrono::steady_clock::now();
        drops.push_back(std::chrono::duration<double, std::micro>(b - a).count());
        checks.push_back(std::chrono::duration<double, std::micro>(c - b).count());
        if (round == 0) {
            // Once: the incremental check is the full one.
            if (watch.conflicts().all() != reschedule::findConflicts(plan)) std::printf("MISMATCH after the drop\n");
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        form.actUndo->trigger();
        watch.bringUpToDate();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    }
    const auto median = [](std::vector<double>& t) {
        std::sort(t.begin(), t.end());
        return t[t.size() / 2];
    };
    const double dropUs = median(drops), checkUs = median(checks);
    // The check's parts apart, on indexes of their own.
    std::vector<double> conflictParts, loadParts;
    {
        reschedule::ConflictIndex index;
        reschedule::MachineLoad load;
        index.rebuild(plan);
        load.rebuild(session.planner(), plan);
        std::vector<int> records;
        QObject::connect(&session, &session::PlanSession::recordsChanged, [&](const std::vector<int>& r) { records = r; });
        for (int round = 0; round < 101; ++round) {
            emit form.gantt().barDropped(drop, 0);
            const auto a = std::chrono::steady_clock::now();
            index.update(plan, records);
            const auto b = std::chrono::steady_clock::now();
            load.update(session.planner(), plan, records);
            const auto c = std::chrono::steady_clock::now();
            conflictParts.push_back(std::chrono::duration<double, std::micro>(b - a).count());
            loadParts.push_back(std::chrono::duration<double, std::micro>(c - b).count());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
            form.actUndo->trigger();
            index.update(plan, records);
            load.update(session.planner(), plan, records);
            watch.bringUpToDate();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        }
    }
    const double conflictUs = median(conflictParts), loadPartUs = median(loadParts);
    if (checkOnly) {
        std::printf("drop %.1f us, check %.1f us\n", dropUs, checkUs);
        return 0;
    }

    // A full scan against one sort of the records by mould and time, taken in
    // turns so that both meet the same load of the machine.
    std::int64_t sink = 0;
    std::vector<double> scans, sorts;
    for (int round = 0; round < 31; ++round) {
        scans.push_back(medianMicros(1, [&] {
            reschedule::ConflictIndex index;
            index.rebuild(plan);
            sink += std::int64_t(index.count());
        }));
        sorts.push_back(medianMicros(1, [&] {
            struct Key {
                QString mould;
                std::int64_t start;
                int record;
            };
            std::vector<Key> keys;
            keys.reserve(std::size_t(plan.size()));
            for (int i = 2; i <= plan.size(); ++i) keys.push_back({plan[i].mouldNo.trimmed(), plan[i].start().seconds(), i});
            std::sort(keys.begin(), keys.end(), [](const Key& x, const Key& y) {
                if (const int c = QString::compare(x.mould, y.mould); c != 0) return c < 0;
                return x.start != y.start ? x.start < y.start : x.record < y.record;
            });
            sink += keys.front().record;
        }));
    }
    const double scanUs = median(scans), sortUs = median(sorts);
    const double loadUs = medianMicros(21, [&] {
        reschedule::MachineLoad load;
        load.rebuild(session.planner(), plan);
        sink += load.at(2, 2).planned;
    });
    std::size_t kinds[4] = {};
    for (const reschedule::Conflict& c : reschedule::findConflicts(plan)) ++kinds[int(c.kind)];

    std::printf("%d-record plan, %zu conflicts (%zu machine overlaps, %zu mould clashes, %zu late, %zu lot chains);\n"
                "a drop at the head of %zu chained bars reports %zu records:\n",
                plan.size(), kinds[0] + kinds[1] + kinds[2] + kinds[3], kinds[0], kinds[1], kinds[2], kinds[3], chain.size(), reported);
    std::printf("  the drop (session step and window redraw):          %8.1f us\n", dropUs);
    std::printf("  checking conflicts, load, counts and lanes after it: %8.1f us\n", checkUs);
    std::printf("  ratio: %.2f (target <= 1)\n", checkUs / dropUs);
    std::printf("  of the check: conflicts %.1f us, load %.1f us\n", conflictUs, loadPartUs);
    std::printf("  full conflict scan:                                  %8.1f us\n", scanUs);
    std::printf("  one sort of the records by mould and time:           %8.1f us\n", sortUs);
    std::printf("  ratio: %.2f (target <= 3)\n", scanUs / sortUs);
    std::printf("  (full machine load, for reference:                   %8.1f us)\n", loadUs);
    return sink == 42 ? 1 : 0;
}
