// The schedule list and the order Gantt window over the demo plant, loaded the
// way start-up loads it. With CHART_SCREENSHOT_DIR set it keeps their pictures.
#include "WindowFixture.h"

#include "demoplant/DemoPlant.h"
#include "support/DemoPlantOpening.h"
#include "windows/OrderGanttWindow.h"
#include "windows/ScheduleListWindow.h"

#include <QMenu>
#include <QTimer>

using namespace windows_test;

namespace {

TEST(DemoPlantWindows, ListShowsWhatTheChartShowsAndAPlanRunsThroughItsProcesses)
{
    auto demo = testing_support::openDemoPlant(core::Date::fromYmd(2024, 12, 2), QStringLiteral("20 機械加工"), 1400, 900);
    chart::MainForm form(demo.settings, *demo.database);
    windows::attachListWindows(form);
    ASSERT_TRUE(form.load({}));
    RecordingPrompt prompt;
    form.setPrompt(&prompt);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    const plan::PlanData& plan = form.planData();
    std::vector<int> onRows;
    for (int i = 2; i <= plan.size(); ++i)
        if (form.chartState().inScheduleList(i)) onRows.push_back(i);
    QTest::mouseClick(form.scheduleListButton, Qt::LeftButton);
    auto* list = form.findChild<windows::ScheduleListWindow*>();
    ASSERT_TRUE(list && list->isVisible());
    EXPECT_EQ(list->shownRecords(), onRows);
    list->sortBy(reschedule::schedule_list::ColOrderQty);
    saveScreenshot(list, QStringLiteral("demo-schedule-list"));
    list->close();

    // A bar whose production plan also has lots in other process classes.
    int chosen = 0;
    std::size_t lotCount = 0;
    for (int i = 2; i <= plan.size() && chosen == 0; ++i) {
        if (plan[i].isHidden() || !plan[i].hasMachine() || !form.chartState().inScheduleList(i)) continue;
        const std::int64_t planNo = reschedule::planNoOf(plan[i]);
        int count = 0;
        db::Cursor c = demo.database->query(QStringLiteral("SELECT COUNT(*) FROM DB0253 WHERE 生産計画番号 = ? AND 削除フラグ = '0'"),
                                       {QVariant::fromValue<qlonglong>(planNo)});
        if (c.next()) count = int(c.integer(0));
        if (count >= 3) {
            chosen = i;
            lotCount = std::size_t(count);
        }
    }
    ASSERT_NE(chosen, 0);
    form.showRecord(chosen);
    QCoreApplication::processEvents();
    QTimer::singleShot(0, form.barMenu, &QMenu::close);
    QTest::mousePress(form.gantt().rowSurface, Qt::RightButton, Qt::NoModifier, form.chartState().barRectPx(chosen).center());
    form.orderGanttAction->trigger();
    QCoreApplication::processEvents();
    auto* gantt = form.findChild<windows::OrderGanttWindow*>();
    ASSERT_TRUE(gantt && gantt->isVisible());
    EXPECT_TRUE(prompt.told.empty());
    const auto& lots = gantt->picGantt->lots();
    EXPECT_EQ(lots.size(), lotCount);
    EXPECT_TRUE(std::any_of(lots.begin(), lots.end(), [](const reschedule::PlanLot& l) { return l.processClass != QStringLiteral("20"); }))
        << "lots of the other processes come from the database";
    EXPECT_TRUE(std::is_sorted(lots.begin(), lots.end(), [](const auto& a, const auto& b) { return a.processSeq < b.processSeq; }));
    EXPECT_EQ(std::count(gantt->picGantt->classes().begin(), gantt->picGantt->classes().end(), reschedule::LotClass::Selected), 1);
    saveScreenshot(gantt, QStringLiteral("demo-order-gantt"));
    gantt->close();
}

}  // namespace
