// What the chart costs as the plan grows: one repaint of the visible chart
// with 10,000 orders loaded against the same view with 100 orders loaded, and a
// display-mode change (every bar repositioned) against 10,000 bare
// dateTimeToX calls. Prints both ratios.

#include "chart/ChartState.h"
#include "chart/GanttView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLayout>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kMachines = 60;
constexpr int kVisibleOrders = 100;  // ten on each of the first ten rows, within the first week

void buildPlanner(core::Planner& p)
{
    p.PeriodStart = core::Date::fromYmd(2025, 1, 6);
    p.PeriodEnd = p.PeriodStart.addDays(364);
    p.DayChangeTime = core::TimeOfDay::fromHms(8, 0);
    p.GridMinutes = 10;
    const int days = p.PeriodStart.daysTo(p.PeriodEnd) + 3;
    p.calendar.reset(days, 1);
    for (int m = 1; m <= kMachines; ++m) {
        p.rows.append(QStringLiteral("M%1").arg(m, 3, 10, QLatin1Char('0')), QStringLiteral("成形機%1号").arg(m), {});
        p.calendar.addMachine();
    }
    p.rows.CalendarMachineCount = p.rows.KikaiRowCount = p.rows.machineRowCount();
    for (int row = 2; row <= p.rows.CalendarMachineCount; ++row)
        for (int d = 0; d <= days; ++d) {
            auto& cal = p.calendar.day(d, row);
            cal.CalTime[1] = core::TimeOfDay::fromHms(8, 0);
            cal.CalTime[2] = core::TimeOfDay::fromHms(12, 0);
            cal.CalTime[3] = core::TimeOfDay::fromHms(13, 0);
            cal.CalTime[4] = core::TimeOfDay::fromHms(2, 0);
            cal.stop = {QStringLiteral("点検"), {}, core::TimeOfDay::fromHms(14, 0), d % 9 == 0 ? 2 : 0};
        }
}

void addOrder(plan::PlanData& plan, int n, const QString& machine, core::Moment start, int minutes)
{
    plan::PlanRecord r;
    r.barIndex = plan.size() + 1;
    r.orderNo = 100000 + n;
    r.memberCount = 1;
    r.machineCode = machine;
    r.itemCode = r.itemCode2 = QStringLiteral("P%1").arg(n % 500, 5, 10, QLatin1Char('0'));
    r.modelName = QStringLiteral("ハウジング　HD-%1 PC 黒").arg(n % 97);
    r.processName = QStringLiteral("成形");
    r.setStart(start);
    r.setEnd(start.addMinutes(minutes));
    r.orderQty = 1000 + n % 5000;
    r.receivedQty = (n % 3) * 300;
    r.confirmKind = plan::ConfirmKind::Confirmed;
    r.initialDueDate = start.date().addDays(n % 7 - 2);
    r.mouldShortName = QStringLiteral("HD-4個取");
    plan.append(r);
}

// The orders in view: ten 12-hour bars on each of the first ten machine rows.
void addVisibleOrders(plan::PlanData& plan, const core::Planner& p)
{
    const core::Moment origin = core::chartOrigin(p.PeriodStart, p.DayChangeTime);
    for (int i = 0; i < kVisibleOrders; ++i)
        addOrder(plan, i, p.rows.row(2 + i / 10).RowCode, origin.addMinutes(std::int64_t(i % 10) * 16 * 60), 12 * 60);
}

// The rest of the year: bars on every row, all after the week in view.
void addLaterOrders(plan::PlanData& plan, const core::Planner& p, int count)
{
    const core::Moment later = core::chartOrigin(p.PeriodStart, p.DayChangeTime).addDays(8);
    for (int i = 0; i < count; ++i) {
        const int row = 2 + i % kMachines;
        const int slot = i / kMachines;
        addOrder(plan, kVisibleOrders + i, p.rows.row(row).RowCode, later.addMinutes(std::int64_t(slot) * 31 * 60), 30 * 60);
    }
}

double medianNs(int runs, const std::function<void()>& f)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        f();
        t.push_back(double(clock.nsecsElapsed()));
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

struct Chart {
    core::ProgramSettings settings;
    core::Planner planner;
    plan::PlanData plan;
    chart::ChartState state{settings, planner, plan};
    std::unique_ptr<chart::GanttView> view;

    explicit Chart(int laterOrders)
    {
        buildPlanner(planner);
        addVisibleOrders(plan, planner);
        addLaterOrders(plan, planner, laterOrders);
        state.refreshAll();
        view = std::make_unique<chart::GanttView>(state);
        view->resize(1400, 520);
        view->show();
        QCoreApplication::processEvents();
        view->refreshLayout();
        view->showWeek();
    }
    double repaintNs()
    {
        QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
        return medianNs(41, [&] { view->render(&image); });
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    Chart small(0);
    Chart large(10000 - kVisibleOrders);
    small.repaintNs();  // fonts and caches warmed up
    const double smallNs = small.repaintNs();
    const double largeNs = large.repaintNs();
    std::printf("repaint of the visible chart, %d orders loaded:    %10.3f ms\n", small.plan.size() - 1, smallNs / 1e6);
    std::printf("repaint of the visible chart, %d orders loaded: %10.3f ms\n", large.plan.size() - 1, largeNs / 1e6);
    std::printf("ratio (target < 2): %.2f\n", largeNs / smallNs);

    // A mode change repositions every bar; the baseline converts each bar's start once.
    // Bars complete their position when first used: use every one once, so that
    // the change has all of them to reposition.
    for (int i = 2; i <= large.state.barCount(); ++i) (void)large.state.bar(i);
    const double width = large.view->chartWidth();
    using core::DisplayMode;
    DisplayMode mode = DisplayMode::Week;
    const double modeNs = medianNs(41, [&] {
        mode = mode == DisplayMode::Week ? DisplayMode::OneDay : DisplayMode::Week;
        large.state.setScale(mode, width);
    });
    const core::Moment origin = large.state.origin();
    const double hourTwips = large.state.scale().HourTwips;
    volatile std::int64_t sink = 0;
    const double bareNs = medianNs(41, [&] {
        std::int64_t sum = 0;
        for (int i = 2; i <= 10001 && i <= large.plan.size(); ++i)
            sum += core::dateTimeToX(origin, large.plan[i].startDate, large.plan[i].startTime, hourTwips);
        sink = sink + sum;
    });
    std::printf("display-mode change repositioning %d bars:   %10.3f ms\n", large.plan.size() - 1, modeNs / 1e6);
    std::printf("10,000 calls of dateTimeToX:              %10.3f ms\n", bareNs / 1e6);
    std::printf("ratio (target < 3): %.2f\n", modeNs / bareNs);
    return 0;
}
