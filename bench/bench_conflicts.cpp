// Conflicts and machine load on a 10,000-order plan (60 machines, two-shift
// calendars, about eleven bars per mould, every tenth lot supplying the
// next): the check after a drop at the head
// of a chain of 200+ adjacent bars against the drop itself as the main window
// runs it, and a full conflict scan against one sort of the records by mould
// and time.
#include "ChainPlant.h"
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

using namespace bench;

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
    buildPlan(session.planner(), session.plan(), 10000, /*mouldsAndLotChains=*/true);
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
