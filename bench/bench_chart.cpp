// What the chart costs at plant scale, with 10,000 orders loaded and the view
// as tall as a plant window (about 1,200 bars in view in the four-week mode):
//  - a repaint in each display mode against the same repaint with the bars'
//    rectangles and colours alone (the view without bars plus the bare fills
//    and outlines of the same bars in view);
//  - a horizontal and a vertical scroll step (timeScrollBar / rowScrollBar, painted the
//    way the window paints, the scroll bar's own repaint included and shown apart)
//    against repainting only the strips that came into view, and against those
//    strips plus Qt's copy of what stays in view (blank surfaces scrolled alike);
//  - page steps in the three-day view onto bars not yet seen (their captions
//    shaped and drawn in the step), the same after a rest (the view prepares
//    the pages around it), and onto a page already seen;
//  - a display-mode change (every bar repositioned) against one bare
//    dateTimeToX call per bar.
// Prints the ratios. --orders N loads N orders instead. With --scroll-only it runs nothing but warm scroll steps
// (for a profiler: valgrind --toggle-collect='*warmScrollSteps*').

#include "chart/BarPainter.h"
#include "chart/ChartState.h"
#include "chart/GanttView.h"
#include "chart/PlatForm.h"
#include "chart/RowHeaders.h"
#include "chart/TimeHeader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kMachines = 60;
int orderCount = 10000;  // --orders N
constexpr int kDenseDays = 28;  // two 10-hour bars a day on every machine from the period start

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
    r.confirmKind = n % 4 ? plan::ConfirmKind::Confirmed : plan::ConfirmKind::Planned;
    r.initialDueDate = start.date().addDays(n % 7 - 2);
    r.mouldShortName = QStringLiteral("HD-4個取");
    plan.append(r);
}

// Four dense weeks on every machine, the rest of the orders later in the year.
void addOrders(plan::PlanData& plan, const core::Planner& p)
{
    const core::Moment origin = core::chartOrigin(p.PeriodStart, p.DayChangeTime);
    int n = 0;
    for (int d = 0; d < kDenseDays; ++d)
        for (int m = 0; m < kMachines; ++m)
            for (int k = 0; k < 2; ++k, ++n)
                addOrder(plan, n, p.rows.row(2 + m).RowCode, origin.addMinutes(std::int64_t(d) * 1440 + k * 720 + (m % 5) * 20), 600);
    // The rest spread evenly over the period after them, one after another on each machine.
    const core::Moment later = origin.addDays(kDenseDays + 2);
    const std::int64_t perMachine = std::max(1, (orderCount - n) / kMachines + 1);
    const std::int64_t spacing = std::max<std::int64_t>(30 * 60, later.minutesTo(core::chartOrigin(p.PeriodEnd, p.DayChangeTime)) / perMachine);
    for (int i = 0; n < orderCount; ++i, ++n)
        addOrder(plan, n, p.rows.row(2 + i % kMachines).RowCode, later.addMinutes(std::int64_t(i / kMachines) * spacing), 30 * 60);
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

    explicit Chart(bool withOrders)
    {
        buildPlanner(planner);
        if (withOrders) addOrders(plan, planner);
        state.refreshAll();
        view = std::make_unique<chart::GanttView>(state);
        view->resize(1400, 1040);
        view->show();
        QCoreApplication::processEvents();
        view->refreshLayout();
        QCoreApplication::processEvents();
    }
    void setMode(core::DisplayMode m)
    {
        view->setDisplayMode(m);
        view->timeScrollBar->setValue(0);
        view->rowScrollBar->setValue(0);
        QCoreApplication::processEvents();
    }
    std::vector<int> barsInView() const
    {
        std::vector<int> out;
        const QRect area = view->rowSurface->rect();
        const double fromX = state.pxToX(area.left()), toX = state.pxToX(area.right() + 1);
        for (int r = state.firstVisibleRow(); r < state.firstVisibleRow() + state.visibleRows(); ++r)
            for (int rec : state.barsInView(r, fromX, toX)) out.push_back(rec);
        return out;
    }
};

// The bars in view as rectangles and colours only, the way paintBar fills and outlines them.
void paintRectangles(QPainter& p, const chart::ChartState& s, const std::vector<int>& bars, QPoint offset)
{
    for (int rec : bars) {
        const chart::BarVisual& b = s.bar(rec);
        const QRect r = s.barRectPx(rec).translated(offset);
        p.fillRect(r, QColor(QRgb(b.look.background)));
        if (b.progressVisible && b.progressWidth > 0)
            p.fillRect(QRect(r.left(), r.bottom() - 4, std::min(r.width(), int(b.progressWidth / core::TwipsPerPixel + 0.5)), 5), QColor(0, 110, 90));
        p.setPen(QColor(96, 96, 96));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

// One scroll step of a scroll bar as the window takes it: the value changes and
// the paint the change asked for is done (the backing store's copy of what
// stays in view, the strips that came into view, the scroll bar itself).
// With following = false the chart does not follow: the scroll bar's own repaint.
double scrollStepNs(QScrollBar* bar, int step, bool following = true)
{
    int dir = 1;
    return medianNs(41, [&] {
        if (bar->value() + step * dir > bar->maximum() || bar->value() + step * dir < bar->minimum()) dir = -dir;
        const QSignalBlocker quiet(following ? nullptr : bar);
        bar->setValue(bar->value() + step * dir);
        QCoreApplication::processEvents();  // paints what the step marked dirty, nothing more
    });
}

// Steps over bars already seen, back and forth, for a profiler to look at alone.
__attribute__((noinline)) void warmScrollSteps(QScrollBar* bar, int step, int count)
{
    for (int i = 0; i < count; ++i) {
        bar->setValue(bar->value() + (i % 2 ? -step : step));
        QCoreApplication::processEvents();
    }
}

// The strips the same steps bring into view, each repainted alone in one
// paint over the same walk (the chart's scroll position follows, nothing on
// screen moves), so that they meet the same bars, captions and shading.
double stripsNs(chart::ChartState& state, QScrollBar* time, QScrollBar* rows, QScrollBar* bar, int step,
                const std::vector<std::pair<QWidget*, QRect>>& strips)
{
    int dir = 1;
    std::vector<double> t;
    for (int i = 0; i < 41; ++i) {
        if (bar->value() + step * dir > bar->maximum() || bar->value() + step * dir < bar->minimum()) dir = -dir;
        {
            const QSignalBlocker quiet(bar);
            bar->setValue(bar->value() + step * dir);
        }
        state.setScroll(time->value(), rows->value());
        QElapsedTimer clock;
        clock.start();
        for (const auto& [w, r] : strips) w->update(r);
        QCoreApplication::processEvents();
        t.push_back(double(clock.nsecsElapsed()));
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// What moving what stays in view costs by itself: Qt copies it inside the
// window's back buffer, a cost no painting can take away. Blank opaque
// surfaces in the places of the given ones, in a window of the view's size,
// scrolled by (dx, dy) and asked to paint nothing.
class BlankSurface : public QWidget {
public:
    explicit BlankSurface(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

protected:
    void paintEvent(QPaintEvent*) override {}
};

double copyNs(QWidget* view, const std::vector<QWidget*>& surfaces, int dx, int dy)
{
    QWidget window;
    window.resize(view->size());
    std::vector<BlankSurface*> blanks;
    for (QWidget* w : surfaces) {
        blanks.push_back(new BlankSurface(&window));
        blanks.back()->setGeometry(QRect(w->mapTo(view, QPoint(0, 0)), w->size()));
    }
    window.show();
    QCoreApplication::processEvents();
    int dir = 1;
    return medianNs(41, [&] {
        dir = -dir;
        for (BlankSurface* b : blanks) b->scroll(dx * dir, dy * dir);
        QCoreApplication::processEvents();
    });
}

// coldNs: the first time over the bars (their captions are laid out as they come
// into view); stepNs: the same steps again.
void printStep(const char* name, double coldNs, double stepNs, double barNs, double stripNs, double copyNs)
{
    std::printf("  %-24s %7.3f ms (the first time over these bars %.3f ms; the scroll bar's own repaint %.3f ms)\n"
                "  %-24s exposed strips alone %.3f ms: ratio (target <= 1.5) %.2f\n"
                "  %-24s Qt's copy of what stays in view alone %.3f ms: ratio to the strips and the copy (target <= 1.5) %.2f\n",
                name, stepNs / 1e6, coldNs / 1e6, barNs / 1e6, "", stripNs / 1e6, stepNs / stripNs, "", copyNs / 1e6,
                stepNs / (stripNs + copyNs));
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    if (const int at = int(app.arguments().indexOf(QStringLiteral("--orders"))); at > 0 && at + 1 < app.arguments().size())
        orderCount = std::max(kDenseDays * kMachines * 2, app.arguments().at(at + 1).toInt());
    Chart full(true);
    if (app.arguments().contains(QStringLiteral("--scroll-only"))) {
        full.setMode(core::DisplayMode::FourWeeks);
        for (QScrollBar* bar : {full.view->timeScrollBar, full.view->rowScrollBar}) {
            const int step = bar->singleStep();
            bar->setValue(bar->maximum() / 2);  // away from the ends, where a bar repaints whole
            warmScrollSteps(bar, step, 2);  // the bars' captions laid out once
            warmScrollSteps(bar, step, 4000);
        }
        return 0;
    }
    Chart empty(false);  // the same view without bars: background, shading, headers
    QImage image(full.view->size(), QImage::Format_ARGB32_Premultiplied);
    const QPoint platFormAt = full.view->rowSurface->mapTo(full.view.get(), QPoint(0, 0));

    using core::DisplayMode;
    const struct { DisplayMode mode; const char* name; } modes[] = {
        {DisplayMode::OneDay, "one day"}, {DisplayMode::ThreeDays, "three days"}, {DisplayMode::Week, "week"}, {DisplayMode::FourWeeks, "four weeks"}};
    std::printf("%d orders, %d machine rows, %d rows in view\n", full.plan.size() - 1, kMachines, full.state.visibleRows());
    for (const auto& m : modes) {
        full.setMode(m.mode);
        empty.setMode(m.mode);
        const std::vector<int> bars = full.barsInView();
        full.view->render(&image);  // captions laid out once, as on the first paint of a mode
        const double paintNs = medianNs(21, [&] { full.view->render(&image); });
        const double emptyNs = medianNs(21, [&] { empty.view->render(&image); });
        const double rectNs = medianNs(21, [&] {
            QPainter p(&image);
            paintRectangles(p, full.state, bars, platFormAt);
        });
        std::printf("%-10s %5zu bars in view: repaint %8.3f ms, rectangles only %8.3f ms, ratio (target <= 2): %.2f\n", m.name,
                    bars.size(), paintNs / 1e6, (emptyNs + rectNs) / 1e6, paintNs / (emptyNs + rectNs));
    }

    // Scroll steps in the crowded four-week view.
    full.setMode(DisplayMode::FourWeeks);
    chart::GanttView& v = *full.view;
    const std::size_t inView = full.barsInView().size();
    const int hStep = v.timeScrollBar->singleStep();
    const int rowPx = chart::ChartState::RowHeightPx;
    std::printf("four weeks, %zu bars in view:\n", inView);
    {
        const double cold = scrollStepNs(v.timeScrollBar, hStep);
        v.timeScrollBar->setValue(0);
        QCoreApplication::processEvents();
        const double step = scrollStepNs(v.timeScrollBar, hStep);
        const double bar = scrollStepNs(v.timeScrollBar, hStep, false);
        v.timeScrollBar->setValue(0);
        QCoreApplication::processEvents();
        // The rows, the strip of bars on no row and the day captions.
        const std::vector<QWidget*> moved = {v.rowSurface, v.unplacedStrip, v.dayCaptions};
        std::vector<std::pair<QWidget*, QRect>> strips;
        for (QWidget* w : moved) strips.emplace_back(w, QRect(w->width() - hStep, 0, hStep, w->height()));
        char name[40];
        std::snprintf(name, sizeof name, "horizontal step (%d px):", hStep);
        const double stripNs = stripsNs(full.state, v.timeScrollBar, v.rowScrollBar, v.timeScrollBar, hStep, strips);
        v.timeScrollBar->setValue(0);
        v.repaintChart();  // the walk left the pixels where they were
        QCoreApplication::processEvents();
        printStep(name, cold, step, bar, stripNs, copyNs(&v, moved, hStep, 0));
    }
    {
        const double cold = scrollStepNs(v.rowScrollBar, 1);
        v.rowScrollBar->setValue(0);
        QCoreApplication::processEvents();
        const double step = scrollStepNs(v.rowScrollBar, 1);
        const double bar = scrollStepNs(v.rowScrollBar, 1, false);
        v.rowScrollBar->setValue(0);
        QCoreApplication::processEvents();
        // The row and its header.
        const std::vector<std::pair<QWidget*, QRect>> strips = {
            {v.rowSurface, QRect(0, v.rowSurface->height() - rowPx, v.rowSurface->width(), rowPx)},
            {v.rowHeaders, QRect(0, v.rowHeaders->height() - rowPx, v.rowHeaders->width(), rowPx)}};
        const double stripNs = stripsNs(full.state, v.timeScrollBar, v.rowScrollBar, v.rowScrollBar, 1, strips);
        v.rowScrollBar->setValue(0);
        v.repaintChart();  // the walk left the pixels where they were
        QCoreApplication::processEvents();
        printStep("vertical step (1 row):", cold, step, bar, stripNs, copyNs(&v, {v.rowSurface, v.rowHeaders}, 0, rowPx));
    }

    // Page steps in the three-day view onto bars not yet seen at that size:
    // straight after each other (their captions are shaped and drawn in the
    // step), then each after a rest in which the view prepares the pages
    // around it; and a page already seen.
    {
        full.setMode(DisplayMode::ThreeDays);
        QScrollBar* b = v.timeScrollBar;
        const auto pageNs = [&](int dir) {
            QElapsedTimer t;
            t.start();
            b->setValue(b->value() + dir * b->pageStep());
            QCoreApplication::processEvents();
            return double(t.nsecsElapsed());
        };
        const auto rest = [] {
            QElapsedTimer t;
            t.start();
            while (t.elapsed() < 3 * chart::PlatForm::PrefetchAfterMs) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        };
        std::vector<double> first, rested, again;
        std::size_t bars = 0;
        for (int k = 0; k < 3; ++k) {  // the first nine pages lie in the crowded weeks
            first.push_back(pageNs(1));
            bars += full.barsInView().size();
        }
        for (int k = 0; k < 3; ++k) {
            rest();
            rested.push_back(pageNs(1));
        }
        for (int k = 0; k < 3; ++k) {
            again.push_back(pageNs(-1));
            bars += full.barsInView().size();
        }
        std::sort(first.begin(), first.end());
        std::sort(rested.begin(), rested.end());
        std::sort(again.begin(), again.end());
        std::printf("three days, %zu bars in view: page step onto bars not yet seen %.2f ms; after a rest %.2f ms; onto a page seen %.2f ms\n",
                    bars / 6, first[1] / 1e6, rested[1] / 1e6, again[1] / 1e6);
    }

    // A mode change repositions every bar; the baseline converts each bar's start once.
    for (int i = 2; i <= full.state.barCount(); ++i) (void)full.state.bar(i);
    const double width = v.chartWidth();
    DisplayMode mode = DisplayMode::Week;
    const double modeNs = medianNs(41, [&] {
        mode = mode == DisplayMode::Week ? DisplayMode::OneDay : DisplayMode::Week;
        full.state.setScale(mode, width);
    });
    const core::Moment origin = full.state.origin();
    const double hourTwips = full.state.scale().HourTwips;
    volatile std::int64_t sink = 0;
    const double bareNs = medianNs(41, [&] {
        std::int64_t sum = 0;
        for (int i = 2; i <= full.plan.size(); ++i)
            sum += core::dateTimeToX(origin, full.plan[i].startDate, full.plan[i].startTime, hourTwips);
        sink = sink + sum;
    });
    std::printf("display-mode change repositioning %d bars: %8.3f ms, as many dateTimeToX %8.3f ms, ratio (target < 3): %.2f\n",
                full.plan.size() - 1, modeNs / 1e6, bareNs / 1e6, modeNs / bareNs);
    return 0;
}
