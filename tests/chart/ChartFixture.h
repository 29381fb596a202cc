#pragma once
// A small plant in memory for the chart tests: twelve machines working
// 08:00-12:00 and 13:00-17:00, two suppliers, a month's period from Monday
// 2024/12/02 with the day change at 08:00.

#include "chart/ChartState.h"
#include "chart/GanttView.h"
#include "chart/MainForm.h"
#include "chart/PlanDataGrid.h"
#include "chart/PlatForm.h"
#include "db/Database.h"
#include "plan/PlanHistory.h"

#include <QDir>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace chart_test {

inline core::Moment at(int day, int hour, int minute = 0)
{
    return core::Moment::of(core::Date::fromYmd(2024, 12, day), core::TimeOfDay::fromHms(hour, minute));
}

inline void buildPlant(core::Planner& p, core::Date start = core::Date::fromYmd(2024, 12, 2),
                       core::Date end = core::Date::fromYmd(2024, 12, 31))
{
    p.PeriodStart = start;
    p.PeriodEnd = end;
    p.DayChangeTime = core::TimeOfDay::fromHms(8, 0);
    p.GridMinutes = 10;
    p.rows.clear();
    const int days = p.PeriodStart.daysTo(p.PeriodEnd) + 3;
    p.calendar.reset(days, 1);
    for (int m = 1; m <= 12; ++m) {
        p.rows.append(QStringLiteral("M%1").arg(m, 2, 10, QLatin1Char('0')), QStringLiteral("成形機%1号").arg(m),
                      QStringLiteral("M%1 成形機").arg(m));
        p.calendar.addMachine();
    }
    p.rows.CalendarMachineCount = p.rows.KikaiRowCount = p.rows.machineRowCount();
    p.rows.append(QStringLiteral("S01"), QStringLiteral("外注A"), QStringLiteral("S01\n外注A"));
    p.rows.append(QStringLiteral("S02"), QStringLiteral("外注B"), QStringLiteral("S02\n外注B"));
    for (int row = 2; row <= p.rows.CalendarMachineCount; ++row)
        for (int d = 0; d <= days; ++d) {
            auto& cal = p.calendar.day(d, row).CalTime;
            cal[1] = core::TimeOfDay::fromHms(8, 0);
            cal[2] = core::TimeOfDay::fromHms(12, 0);
            cal[3] = core::TimeOfDay::fromHms(13, 0);
            cal[4] = core::TimeOfDay::fromHms(17, 0);
        }
}

// An order on a machine (blank for none) from start for the given clock minutes.
inline int addOrder(plan::PlanData& plan, std::int64_t orderNo, const QString& machine, core::Moment start, int minutes)
{
    plan::PlanRecord r;
    r.barIndex = plan.size() + 1;
    r.orderNo = orderNo;
    r.memberCount = 1;
    r.membersA = {plan::MemberOrder{.orderNo = orderNo}};
    r.machineCode = machine;
    r.itemCode = r.itemCode2 = QStringLiteral("ITEM%1").arg(orderNo);
    r.modelName = QStringLiteral("カバー%1").arg(orderNo);
    r.processName = QStringLiteral("成形");
    r.processSeq = 10;
    r.setStart(start);
    r.setEnd(start.addMinutes(minutes));
    r.workMinutes = minutes;
    r.orderQty = 100;
    r.confirmKind = plan::ConfirmKind::Confirmed;
    r.dueDate = r.initialDueDate = core::Date::fromYmd(2024, 12, 20);
    r.loadMark = 1;
    return plan.append(r);
}

// With CHART_SCREENSHOT_DIR set, keeps a picture of what the planner sees.
inline void saveScreenshot(QWidget* w, const QString& name)
{
    const QString dir = qEnvironmentVariable("CHART_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    w->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// The main window over the in-memory plant; each test adds its orders and calls show().
class ChartTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        database = db::Database::openSqlite(QStringLiteral(":memory:"));
        settings.KengenKubun = QStringLiteral("1");
        settings.DayChangeTime = core::TimeOfDay::fromHms(8, 0);
        settings.MainWidth = 1200 * 15;
        settings.MainHeight = 830 * 15;  // ten chart rows between the menu and the status bar
        form = std::make_unique<chart::MainForm>(settings, *database);
        buildPlant(form->planner());
    }
    void show()
    {
        form->showPlan();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QCoreApplication::processEvents();
    }
    chart::ChartState& state() { return form->chartState(); }
    chart::GanttView& view() { return form->gantt(); }
    plan::PlanData& plan() { return form->planData(); }
    QPoint barCentre(int rec) { return state().barRectPx(rec).center(); }

    core::ProgramSettings settings;
    std::unique_ptr<db::Database> database;
    std::unique_ptr<chart::MainForm> form;
};

}  // namespace chart_test
