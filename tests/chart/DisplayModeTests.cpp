// Display modes, bar geometry on each scale, and which surface a bar stands on.
#include "ChartFixture.h"

#include "chart/TimeHeader.h"

#include <QRegularExpression>
#include <set>

using namespace chart_test;
using core::DisplayMode;

namespace {

class DisplayModes : public ChartTest {};

TEST_F(DisplayModes, ButtonsSetTheModeAndTheCyclingCaption)
{
    show();
    EXPECT_EQ(form->displayMode(), DisplayMode::Week);  // after loading
    EXPECT_EQ(form->displayModeButton->text(), QStringLiteral("１週間表示"));
    const std::pair<QPushButton*, DisplayMode> buttons[] = {{form->oneDayButton, DisplayMode::OneDay},
                                                            {form->threeDaysButton, DisplayMode::ThreeDays},
                                                            {form->fourWeeksButton, DisplayMode::FourWeeks},
                                                            {form->weekButton, DisplayMode::Week}};
    for (auto [button, mode] : buttons) {
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(form->displayMode(), mode);
        EXPECT_EQ(form->displayModeButton->text(), core::displayModeCaption(mode));
    }
    // Four presses of the cycling button come back to the week.
    QStringList seen;
    for (int i = 0; i < 4; ++i) {
        QTest::mouseClick(form->displayModeButton, Qt::LeftButton);
        seen << form->displayModeButton->text();
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("４週間表示"), QStringLiteral("１日表示"), QStringLiteral("３日表示"), QStringLiteral("１週間表示")}));
    EXPECT_EQ(form->displayMode(), DisplayMode::Week);
}

TEST_F(DisplayModes, BarWidthFollowsTheScaleOfEachMode)
{
    const int day = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 24 * 60);
    const int early = addOrder(plan(), 2, QStringLiteral("M02"), at(2, 7), 60);  // an hour before the origin
    show();
    const double chartWidth = view().chartWidth();
    ASSERT_EQ(chartWidth, double(view().chartFrame->width() * 15));
    const std::pair<DisplayMode, double> dayWidths[] = {{DisplayMode::OneDay, chartWidth},
                                                        {DisplayMode::ThreeDays, chartWidth / 3},
                                                        {DisplayMode::Week, chartWidth / 7},
                                                        {DisplayMode::FourWeeks, chartWidth / 28}};
    for (const auto& [mode, expected] : dayWidths) {
        view().setDisplayMode(mode);
        const chart::BarVisual& b = state().bar(day);
        EXPECT_NEAR(b.right - b.left, expected, 1.0) << "day width " << expected;
        EXPECT_NEAR(b.left, expected, 1.0) << "the order starts a day after the origin";
        EXPECT_NEAR(state().bar(early).left, -expected / 24, 1.0);
    }
}

TEST_F(DisplayModes, ChangingTheModeKeepsTheTimeAtTheLeftEdge)
{
    show();
    view().scrollToMoment(at(9, 8));
    view().setDisplayMode(DisplayMode::OneDay);
    EXPECT_EQ(state().momentAtX(state().pxToX(0)).date(), core::Date::fromYmd(2024, 12, 9));
    view().setDisplayMode(DisplayMode::ThreeDays);
    EXPECT_EQ(state().momentAtX(state().pxToX(0)).date(), core::Date::fromYmd(2024, 12, 9));
    // Four weeks of a 30-day period leave two days to scroll: the end of the period stays in view.
    view().setDisplayMode(DisplayMode::FourWeeks);
    EXPECT_EQ(view().timeScrollBar->value(), view().timeScrollBar->maximum());
}

// Each mode writes every day caption in one form; a form without the month
// has the month above the days: at the left edge and where a month begins.
TEST_F(DisplayModes, DayCaptionsShareOneFormAndShowTheMonth)
{
    buildPlant(form->planner(), core::Date::fromYmd(2024, 11, 18), core::Date::fromYmd(2024, 12, 31));
    show();
    chart::DayDispArea* strip = view().dayCaptions;
    const QRegularExpression forms[] = {QRegularExpression(QStringLiteral(R"(^(\d+)/(\d+)\((.)\)$)")),
                                        QRegularExpression(QStringLiteral(R"(^()(\d+)\((.)\)$)")),
                                        QRegularExpression(QStringLiteral(R"(^()(\d+)()$)"))};
    for (int mode = 1; mode <= 4; ++mode) {
        SCOPED_TRACE(mode);
        view().setDisplayMode(core::DisplayMode(mode));
        view().scrollToMoment(core::Moment::of(core::Date::fromYmd(2024, 11, 29), core::TimeOfDay::fromHms(8, 0)));
        saveScreenshot(form.get(), QStringLiteral("day-captions-mode%1").arg(mode));
        const chart::DayDispArea::Captions c = strip->captions();
        std::set<int> used;
        bool monthChangeInView = false;
        for (const auto& day : c.days) {
            if (!day.rect.intersects(strip->rect())) continue;
            int form = 0;
            while (form < 3 && !forms[form].match(day.text).hasMatch()) ++form;
            ASSERT_LT(form, 3) << day.text.toStdString();
            used.insert(form);
            const auto m = forms[form].match(day.text);
            EXPECT_EQ(m.captured(2).toInt(), day.date.day());
            if (form == 0) {
                EXPECT_EQ(m.captured(1).toInt(), day.date.month());
            }
            if (form < 2) {
                EXPECT_EQ(m.captured(3), chart::weekdayName(day.date));
            }
            if (day.date.day() == 1 && day.rect.left() > 0) {
                monthChangeInView = true;
                if (form == 0) continue;
                bool shown = false;
                for (const auto& month : c.months)
                    shown = shown || (month.rect.left() == day.rect.left() && month.text.contains(QStringLiteral("12月")));
                EXPECT_TRUE(shown) << "December where it begins";
            }
        }
        EXPECT_EQ(used.size(), 1u) << "one caption form in the mode";
        EXPECT_EQ(monthChangeInView, mode >= 2);
        if (used.count(0)) continue;
        bool atLeftEdge = false;
        for (const auto& month : c.months)
            atLeftEdge = atLeftEdge || (month.rect.left() <= 0 && month.rect.right() > 0 && month.text.contains(QStringLiteral("11月")));
        EXPECT_TRUE(atLeftEdge) << "the month of the first day in view";
    }
}

class BarSurfaces : public ChartTest {};

TEST_F(BarSurfaces, HiddenRecordsHaveNoBar)
{
    const int deleted = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    const int member = addOrder(plan(), 2, QStringLiteral("M01"), at(3, 8), 60);
    const int merged = addOrder(plan(), 3, QStringLiteral("M01"), at(3, 8), 60);
    const int rep = addOrder(plan(), 4, QStringLiteral("M01"), at(3, 8), 60);
    plan().edit(deleted).isDeleted = true;
    plan().edit(member).isSetMember = true;
    plan().edit(member).setRepOrderNo = 4;
    plan().edit(rep).setRepOrderNo = 4;
    plan().edit(merged).isMergedAway = true;
    show();
    EXPECT_FALSE(state().bar(deleted).visible);
    EXPECT_FALSE(state().bar(member).visible);
    EXPECT_FALSE(state().bar(merged).visible);
    EXPECT_TRUE(state().bar(rep).visible);
    // Only the representative can be hit on the row they share.
    EXPECT_EQ(state().barAtPx(chart::Surface::PlatForm, barCentre(rep).x(), barCentre(rep).y()), rep);
}

TEST_F(BarSurfaces, RowDecidesSurfaceAndScheduleList)
{
    const int onMachine = addOrder(plan(), 1, QStringLiteral("M03"), at(3, 8), 60);
    const int unplaced = addOrder(plan(), 2, QStringLiteral(" "), at(3, 8), 60);
    const int unknown = addOrder(plan(), 3, QStringLiteral("X99"), at(3, 8), 60);
    const int outside = addOrder(plan(), 4, QStringLiteral(" "), at(3, 8), 60);
    plan().edit(outside).destCode = QStringLiteral("S02");
    show();
    const auto& rows = form->planner().rows;
    EXPECT_EQ(state().bar(onMachine).surface, chart::Surface::PlatForm);
    EXPECT_EQ(state().bar(onMachine).row, rows.findRow(QStringLiteral("M03")));
    EXPECT_TRUE(state().inScheduleList(onMachine));
    EXPECT_EQ(state().bar(unplaced).row, 1);  // row 1 (Y 300) is on the chart too
    EXPECT_TRUE(state().inScheduleList(unplaced));
    EXPECT_EQ(state().bar(unknown).surface, chart::Surface::PlatForm3);
    EXPECT_FALSE(state().inScheduleList(unknown));
    EXPECT_EQ(state().bar(outside).row, rows.findRow(QStringLiteral("S02")));
    // A bar on no row is found on its own strip.
    const QPoint p3 = state().barRectPx(unknown).center();
    EXPECT_EQ(state().barAtPx(chart::Surface::PlatForm3, p3.x(), p3.y()), unknown);
}

TEST_F(BarSurfaces, ProgressOverlayIsTheReceivedShare)
{
    const int half = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 8 * 60);
    const int none = addOrder(plan(), 2, QStringLiteral("M01"), at(4, 8), 8 * 60);
    const int over = addOrder(plan(), 3, QStringLiteral("M01"), at(5, 8), 8 * 60);
    plan().edit(half).receivedQty = 50;
    plan().edit(none).orderQty = 0;
    plan().edit(over).receivedQty = 300;
    show();
    const chart::BarVisual& h = state().bar(half);
    EXPECT_NEAR(h.progressWidth, (h.right - h.left) / 2, 0.5);
    EXPECT_FALSE(state().bar(none).progressVisible);
    const chart::BarVisual& o = state().bar(over);
    EXPECT_NEAR(o.progressWidth, o.right - o.left, 0.5) << "never wider than the bar";
}

TEST_F(BarSurfaces, ChangedRecordMovesInTheRowIndex)
{
    const int rec = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    show();
    plan().edit(rec).machineCode = QStringLiteral("M05");
    plan().edit(rec).setStart(at(4, 9));
    plan().edit(rec).setEnd(at(4, 10));
    state().refreshChart(rec);
    const int m5 = form->planner().rows.findRow(QStringLiteral("M05"));
    EXPECT_EQ(state().bar(rec).row, m5);
    EXPECT_TRUE(state().barsInView(1 + 1, -1e9, 1e9).empty());
    EXPECT_EQ(state().barsInView(m5, -1e9, 1e9), std::vector<int>{rec});
}

}  // namespace

namespace {

// Bars moved by a push get their position and colours only when next used;
// whatever happens in between (a mode change, more moves), what they show then
// must be what a chart built afresh from the plan shows.
TEST_F(BarSurfaces, MovedBarsShowWhatAFreshChartShowsAfterAModeChange)
{
    std::vector<int> recs;
    for (int i = 0; i < 6; ++i) recs.push_back(addOrder(plan(), 1 + i, QStringLiteral("M01"), at(3, 8 + 2 * i), 90));
    plan().edit(recs[0]).initialDueDate = core::Date::fromYmd(2024, 12, 3);
    show();
    view().setDisplayMode(DisplayMode::OneDay);
    // Move every bar a day later and mark it; the first one becomes late.
    for (int rec : recs) {
        plan::PlanRecord& r = plan().editTimes(rec);
        r.setStart(r.start().addDays(1));
        r.setEnd(r.end().addDays(1));
        r.isChanged = true;
        state().refreshChart(rec);
    }
    view().setDisplayMode(DisplayMode::FourWeeks);  // before anything asked for the moved bars
    chart::ChartState fresh(settings, form->planner(), plan());
    fresh.setScale(state().scale().DisplayMode, state().scale().ChartWidth);
    fresh.refreshAll();
    for (int rec : recs) {
        const chart::BarVisual& b = state().bar(rec);
        const chart::BarVisual& f = fresh.bar(rec);
        EXPECT_EQ(b.left, f.left) << rec;
        EXPECT_EQ(b.right, f.right) << rec;
        EXPECT_EQ(b.look.background, f.look.background) << rec;
        EXPECT_TRUE(b.look.changedMark) << rec;
        EXPECT_EQ(state().barRectPx(rec), fresh.barRectPx(rec)) << rec;
    }
    EXPECT_EQ(state().bar(recs[0]).look.dueClass, core::DueClass::Late);
    const int row = form->planner().rows.findRow(QStringLiteral("M01"));
    EXPECT_EQ(state().barsInView(row, -1e9, 1e9), fresh.barsInView(row, -1e9, 1e9));
}

// A step reports its records in one list: most moved along their row, some to
// another row, some taken off the chart or back onto it, some not at all.
TEST_F(BarSurfaces, ReportedRecordsShowWhatAFreshChartShows)
{
    std::vector<int> row1;
    for (int i = 0; i < 5; ++i) row1.push_back(addOrder(plan(), 1 + i, QStringLiteral("M01"), at(3, 8 + 2 * i), 90));
    const int other = addOrder(plan(), 10, QStringLiteral("M02"), at(3, 8), 60);
    const int unplacing = addOrder(plan(), 11, QStringLiteral("M02"), at(3, 10), 60);
    const int returning = addOrder(plan(), 12, QStringLiteral("M04"), at(3, 8), 60);
    const int untouched = addOrder(plan(), 13, QStringLiteral("M04"), at(4, 8), 60);
    plan().edit(returning).isDeleted = true;
    show();
    for (int i = 0; i < 5; ++i) {
        plan::PlanRecord& r = plan().editTimes(row1[std::size_t(i)]);
        const int hours = i == 4 ? -10 : i == 3 ? -3 : 1;  // the last two overtake bars before them
        r.setStart(r.start().addSeconds(hours * 3600));
        r.setEnd(r.end().addSeconds(hours * 3600));
    }
    plan().edit(other).machineCode = QStringLiteral("M03");
    plan().edit(unplacing).machineCode = QStringLiteral(" ");
    plan().edit(row1[2]).isDeleted = true;
    plan().edit(returning).isDeleted = false;
    state().refreshBars({row1[0], row1[1], row1[2], row1[3], row1[4], other, unplacing, returning, untouched});

    chart::ChartState fresh(settings, form->planner(), plan());
    fresh.setScale(state().scale().DisplayMode, state().scale().ChartWidth);
    fresh.refreshAll();
    for (int rec = 2; rec <= plan().size(); ++rec) {
        EXPECT_EQ(state().bar(rec).visible, fresh.bar(rec).visible) << rec;
        if (!fresh.bar(rec).visible) continue;
        EXPECT_EQ(state().bar(rec).row, fresh.bar(rec).row) << rec;
        EXPECT_EQ(state().barRectPx(rec), fresh.barRectPx(rec)) << rec;
    }
    for (int row = 1; row <= form->planner().rows.machineRowCount(); ++row)
        EXPECT_EQ(state().barsInView(row, -1e9, 1e9), fresh.barsInView(row, -1e9, 1e9)) << row;
}

}  // namespace
