// The window over the demo plant, loaded the way start-up loads it. With
// CHART_SCREENSHOT_DIR set it also saves a picture of each display mode.
#include "ChartFixture.h"

#include "demoplant/DemoPlant.h"
#include "support/DemoPlantOpening.h"

#include <QDir>
#include <QScreen>

using namespace chart_test;

namespace {

TEST(DemoPlant, LoadsEveryOrderOntoItsRow)
{
    const QString shots = qEnvironmentVariable("CHART_SCREENSHOT_DIR");
    // Pictures show today's plan with its red line; the test itself stays on a fixed date.
    const core::Date base = shots.isEmpty() ? core::Date::fromYmd(2024, 12, 2) : core::nowMoment().date();
    // The week in view starts on the Monday before the base date.
    auto demo = testing_support::openDemoPlant(base, QStringLiteral("10 成形"), 1400, 900, base.addDays(1 - base.dayOfWeek()));
    chart::MainForm form(demo.settings, *demo.database);
    QStringList progress;
    ASSERT_TRUE(form.load([&](const QString& text) { progress << text; }));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_FALSE(form.saveButton->isEnabled());
    EXPECT_EQ(form.displayMode(), core::DisplayMode::Week);

    const plan::PlanData& plan = form.planData();
    const core::RowTable& rows = form.planner().rows;
    ASSERT_GT(plan.size(), 2);
    int onRows = 0;
    for (int i = 2; i <= plan.size(); ++i) {
        const chart::BarVisual& b = form.chartState().bar(i);
        if (!b.visible || b.surface != chart::Surface::PlatForm) continue;
        ++onRows;
        const QString code = plan[i].hasMachine() ? plan[i].machineCode : (rows.findRow(plan[i].destCode) > rows.CalendarMachineCount ? plan[i].destCode : QStringLiteral(" "));
        EXPECT_EQ(rows.row(b.row).RowCode.trimmed(), code.trimmed()) << "record " << i;
    }
    EXPECT_GT(onRows, 0);
    EXPECT_GT(form.grid().gridModel().rowCount(), 0);

    if (shots.isEmpty()) return;
    QDir().mkpath(shots);
    using core::DisplayMode;
    const std::pair<DisplayMode, const char*> modes[] = {{DisplayMode::Week, "mode3-week"},
                                                         {DisplayMode::OneDay, "mode1-day"},
                                                         {DisplayMode::ThreeDays, "mode2-3days"},
                                                         {DisplayMode::FourWeeks, "mode4-4weeks"}};
    // What the window shows on screen: the surfaces as painted and scrolled, not a fresh paint.
    const auto save = [&](const char* name) {
        QCoreApplication::processEvents();
        form.screen()->grabWindow(form.winId()).save(QStringLiteral("%1/%2.png").arg(shots, QLatin1String(name)));
    };
    for (const auto& [mode, name] : modes) {
        form.gantt().setDisplayMode(mode);
        save(name);
    }
    form.gantt().setDisplayMode(DisplayMode::Week);
    form.gantt().rowScrollBar->setValue(form.gantt().rowScrollBar->maximum());
    save("mode3-week-last-rows");
}

}  // namespace
