// A drop at the head of a chain of 200+ adjacent bars on one machine of a
// 10,000-order plan (60 machines, two-shift calendars), as the main window
// runs it: the chart's drop signal, the session's step (rules and undo step on
// the session's lasting rule context), the window's redraw of the records the
// session reports (bars and grid rows) and the row query of the repaint that
// follows, for the view around the drop and, apart, for the whole row; against
// recomputing the end times of the chained bars alone.
#include "ChainPlant.h"
#include "chart/ChartState.h"
#include "chart/GanttView.h"
#include "chart/MainForm.h"
#include "core/Calendar.h"
#include "core/ChartGeometry.h"
#include "plan/PlanTime.h"

#include <QAction>
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

using namespace bench;

int main(int argc, char** argv)
{
    const bool dropOnly = argc > 1 && QString::fromLatin1(argv[1]) == QStringLiteral("--drop-only");
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
    const Planner& planner = session.planner();
    buildPlan(planner, session.plan(), 10000);
    const plan::PlanData& plan = session.plan();
    form.resize(1600, 900);
    form.show();
    form.showPlan();
    form.gantt().showOneDay();
    QCoreApplication::processEvents();
    chart::ChartState& state = form.chartState();
    reschedule::RuleContext& ctx = session.rules();

    const std::vector<int> chain = ctx.rowIndex().onMachine(machineCode(1));
    const int dropRow = planner.rows.findRow(machineCode(1));
    // Not timed: the undo, and the queued repaint request each action leaves
    // (its painting is the paint benchmark's business, bench_chart).
    const auto undo = [&] {
        QCoreApplication::sendPostedEvents(&form, QEvent::MetaCall);
        form.actUndo->trigger();
        QCoreApplication::sendPostedEvents(&form, QEvent::MetaCall);
    };

    // The planner has changed something already, as before every drop but a
    // session's first: one earlier step stays, so saving and undo are on.
    {
        std::vector<int> other = ctx.rowIndex().onMachine(machineCode(5));
        const int last = *std::max_element(other.begin(), other.end(),
                                           [&](int a, int b) { return plan[a].start() < plan[b].start(); });
        form.gantt().DragStartKikai = machineCode(5);
        emit form.gantt().barDropped(form.gantt().dropOf(last, machineCode(5), state.xOf(plan[last].start().addMinutes(60))), 0);
        QCoreApplication::sendPostedEvents(&form, QEvent::MetaCall);
    }

    // The dragged bar: an order of another machine, dropped at the chain's head,
    // described by the chart as its release does.
    const int dragged = ctx.rowIndex().onMachine(machineCode(2)).front();
    form.gantt().DragStartKikai = machineCode(2);
    const double headX = state.xOf(plan[chain.front()].start());
    const reschedule::BarDrop drop = form.gantt().dropOf(dragged, machineCode(1), headX);

    // The view: one chart width around the drop (the planner dropped where they looked).
    const double viewFrom = headX - state.scale().ChartWidth / 2;
    const double viewTo = viewFrom + state.scale().ChartWidth;

    std::vector<int> chained;
    for (int i : chain)
        if (!plan[i].isSetMember) chained.push_back(i);
    const auto recomputeEnds = [&] {
        std::int64_t s = 0;
        for (int i : chained) {
            const plan::PlanRecord& r = plan[i];
            s += calcEndTime(planner, r.start(), r.setupMinutes + r.workMinutes, r.machineCode).seconds();
        }
        return s;
    };

    // Each round drops and asks for the bars to paint, timed apart, and is then
    // undone (not timed). Every other round the repaint asks for the whole row
    // instead, as when the planner scrolls along all of it afterwards: every
    // pushed bar is completed. The baseline, the chained bars' end times
    // recomputed, is timed in every round too, so that both see the machine in
    // the same state (a shared machine's speed drifts within a run).
    std::vector<double> ends;
    std::size_t touched = 0;
    std::int64_t sink = 0, shown = 0;
    std::vector<double> whole, step, repaints, wholeRow;
    std::vector<int> reported;
    QObject::connect(&session, &session::PlanSession::recordsChanged, [&](const std::vector<int>& r) { reported = r; });
    for (int round = 0; round < (dropOnly ? 4000 : 202); ++round) {
        const bool allOfRow = round % 2 == 1;
        const auto a = std::chrono::steady_clock::now();
        emit form.gantt().barDropped(drop, 0);
        const auto b = std::chrono::steady_clock::now();
        const std::int64_t n = std::int64_t(allOfRow ? state.barsInView(dropRow, 0, 1e9).size()
                                                     : state.barsInView(dropRow, viewFrom, viewTo).size());
        const auto c = std::chrono::steady_clock::now();
        sink += n;
        if (allOfRow) {
            wholeRow.push_back(std::chrono::duration<double, std::micro>(c - a).count());
        } else {
            shown = n;
            step.push_back(std::chrono::duration<double, std::micro>(b - a).count());
            repaints.push_back(std::chrono::duration<double, std::micro>(c - b).count());
            whole.push_back(std::chrono::duration<double, std::micro>(c - a).count());
        }
        touched = reported.size();
        undo();
        const auto d = std::chrono::steady_clock::now();
        sink += recomputeEnds();
        ends.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - d).count());
    }
    const auto median = [](std::vector<double>& t) {
        std::sort(t.begin(), t.end());
        return t[t.size() / 2];
    };
    const double dropUs = median(whole), stepUs = median(step), repaintUs = median(repaints);
    const double wholeRowUs = median(wholeRow);
    const double endsUs = median(ends);

    // Check once that the drop really pushes the whole chain.
    std::vector<Moment> before;
    for (int i : chained) before.push_back(plan[i].start());
    emit form.gantt().barDropped(drop, 0);
    int pushed = 0;
    for (std::size_t k = 0; k < chained.size(); ++k) pushed += plan[chained[k]].start() != before[k] ? 1 : 0;
    const int steps = form.history().stepCount() - 1;  // less the earlier step
    undo();

    std::printf("drop at the head of %zu chained bars on one machine of a %d-record plan (%d pushed, %zu records reported\n"
                "and redrawn, %lld bars of the row in view, %d undo step):\n",
                chained.size(), plan.size(), pushed, touched, static_cast<long long>(shown), steps);
    std::printf("  drop through the window and session, with the repaint's query: %8.1f us\n", dropUs);
    std::printf("  of which the session's step and the window's redraw:            %8.1f us\n", stepUs);
    std::printf("  of which the repaint's query of the row in view:                %8.1f us\n", repaintUs);
    std::printf("  the same, the whole row shown:                                  %8.1f us\n", wholeRowUs);
    std::printf("  end times of the chained bars:                                  %8.1f us\n", endsUs);
    std::printf("  ratio: %.2f (target < 3); step and redraw alone: %.2f; repaint query alone: %.2f; whole row shown: %.2f\n",
                dropUs / endsUs, stepUs / endsUs, repaintUs / endsUs, wholeRowUs / endsUs);
    return sink == 42 ? 1 : 0;
}
