// The line plan window opened by a right-button press on a real chart:
// the day's boxes, Enter and focus, the checks, storing, the shading, and
// Ctrl+Z / Ctrl+Y.

#include "chart/ChartFixture.h"
#include "support/ScriptedPrompt.h"
#include "windows/LinePlanWindow.h"
#include "windows/WindowOpeners.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>

using chart_test::at;

namespace {

class LinePlan : public chart_test::ChartTest {
protected:
    void SetUp() override
    {
        ChartTest::SetUp();
        // Every machine works 08:00-17:00 with a break 12:00-13:00.
        core::Planner& p = form->planner();
        p.calendar.BreakTime[1] = core::TimeOfDay::fromHms(12, 0);
        p.calendar.BreakTime[2] = core::TimeOfDay::fromHms(13, 0);
        for (int row = 2; row <= p.rows.CalendarMachineCount; ++row)
            for (int d = 0; d <= p.calendarDays(); ++d) {
                p.calendar.day(d, row).ShiftTime[1] = core::TimeOfDay::fromHms(8, 0);
                p.calendar.day(d, row).ShiftTime[2] = core::TimeOfDay::fromHms(17, 0);
                core::buildMachineCalendar(p.calendar, d, row, p.DayChangeTime);
            }
        windows::connectWindows(*form);
        form->setPrompt(&prompt);
        m02 = p.rows.findRow(QStringLiteral("M02"));
        // 600 working minutes from 12/03 13:00: to 12/04 15:00.
        rec = chart_test::addOrder(plan(), 1, QStringLiteral("M02"), at(3, 13), 600);
        plan().edit(rec).setEnd(core::calcEndTime(p, at(3, 13), 600, QStringLiteral("M02")));
    }
    QPoint pointOf(int row, core::Moment m) { return {state().xToPx(state().xOf(m)), state().rowTopPx(row) + chart::ChartState::RowHeightPx / 2}; }
    QRgb pixel(int row, core::Moment m)
    {
        QCoreApplication::processEvents();
        return view().rowSurface->grab().toImage().pixel(pointOf(row, m));
    }
    windows::LinePlanWindow* rightClick(int row, core::Moment m)
    {
        QTest::mousePress(view().rowSurface, Qt::RightButton, {}, pointOf(row, m));
        QTest::mouseRelease(view().rowSurface, Qt::RightButton, {}, pointOf(row, m));
        auto* w = form->findChild<windows::LinePlanWindow*>();
        if (w) {
            QApplication::setActiveWindow(w);
            EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        }
        return w;
    }
    // Types into a box as the planner does: select everything, type, Enter.
    void type(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        QCoreApplication::processEvents();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        // keyClicks would send Latin-1 only; an IME hands over whole characters.
        for (QChar c : text) QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::keyClick(box, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    QWidget* focused() { return QApplication::focusWidget(); }

    testing_support::ScriptedPrompt prompt;
    int m02 = 0;
    int rec = 0;
};

TEST_F(LinePlan, RightClickChangesTheDayAndCtrlZTakesItBack)
{
    show();
    const int dec4 = 4;  // 2024/12/04: index 2 is 12/02
    const QRgb working = pixel(m02, at(4, 16, 30));
    const core::DayCalendar before = form->planner().calendar.day(dec4, m02).values();
    ASSERT_FALSE(form->saveButton->isEnabled());

    QPointer<windows::LinePlanWindow> w = rightClick(m02, at(4, 16, 30));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("機械別稼働時間変更"));
    EXPECT_EQ(w->row(), m02);
    EXPECT_EQ(w->dayIndex(), dec4);
    EXPECT_EQ(w->PlanDate->text(), QStringLiteral("2024/12/04"));
    EXPECT_EQ(w->PlanTime[0]->text(), QStringLiteral("08:00:00"));
    EXPECT_EQ(w->PlanTime[1]->text(), QStringLiteral("17:00:00"));
    EXPECT_EQ(w->PlanTime[2]->text(), QString());
    EXPECT_EQ(w->PlanSum->text(), QStringLiteral("9"));
    EXPECT_EQ(w->NoWorkingTime->text(), QStringLiteral("0"));

    type(w->PlanTime[0], QStringLiteral("9:00"));
    EXPECT_EQ(w->PlanTime[0]->text(), QStringLiteral("09:00:00"));
    EXPECT_EQ(focused(), w->PlanTime[1]);
    type(w->PlanTime[1], QStringLiteral("15"));  // no time: the focus stays
    EXPECT_EQ(prompt.told.value(0), QStringLiteral("認識できる時間を入力してください"));
    EXPECT_EQ(focused(), w->PlanTime[1]);
    type(w->PlanTime[1], QStringLiteral("15:00"));
    EXPECT_EQ(focused(), w->PlanTime[2]);
    type(w->PlanTime[2], QString());
    type(w->PlanTime[3], QString());
    EXPECT_EQ(focused(), w->NoWorkingTitle);
    type(w->NoWorkingTitle, QStringLiteral("金型交換"));
    EXPECT_EQ(focused(), w->PlanTime[4]);
    type(w->PlanTime[4], QStringLiteral("１０：００"));
    EXPECT_EQ(focused(), w->NoWorkingTime);
    type(w->NoWorkingTime, QStringLiteral("1"));
    EXPECT_EQ(focused(), w->ComOK);
    EXPECT_EQ(w->PlanSum->text(), QStringLiteral("6"));
    EXPECT_EQ(w->WorkingTimeSum->text(), QStringLiteral("5"));
    EXPECT_EQ(w->PlanTime[5]->text(), QStringLiteral("11:00:00"));
    EXPECT_EQ(prompt.told.size(), 1);
    chart_test::saveScreenshot(w, QStringLiteral("line_plan_window"));

    QTest::mouseClick(w->ComOK, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(!w || !w->isVisible());
    const core::MachineDay& day = form->planner().calendar.day(dec4, m02);
    EXPECT_EQ(day.CalTime[1], core::TimeOfDay::fromHms(9, 0));
    EXPECT_EQ(day.CalTime[2], core::TimeOfDay::fromHms(10, 0));
    EXPECT_EQ(day.CalTime[3], core::TimeOfDay::fromHms(11, 0));
    EXPECT_EQ(day.CalTime[6], core::TimeOfDay::fromHms(15, 0));
    EXPECT_EQ(day.stop.title, QStringLiteral("金型交換"));
    EXPECT_TRUE(form->saveButton->isEnabled());
    // The shading follows at once; the bar stays and is marked.
    EXPECT_NE(pixel(m02, at(4, 16, 30)), working);
    EXPECT_EQ(plan()[rec].end(), at(4, 15));
    EXPECT_TRUE(state().isOffCalendar(rec));
    chart_test::saveScreenshot(form.get(), QStringLiteral("line_plan_changed_day"));

    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->planner().calendar.day(dec4, m02).values(), before);
    EXPECT_EQ(pixel(m02, at(4, 16, 30)), working);
    EXPECT_FALSE(state().isOffCalendar(rec));
    EXPECT_FALSE(form->saveButton->isEnabled());
    QTest::keyClick(form.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(form->planner().calendar.day(dec4, m02).CalTime[1], core::TimeOfDay::fromHms(9, 0));
    EXPECT_NE(pixel(m02, at(4, 16, 30)), working);
    EXPECT_TRUE(state().isOffCalendar(rec));
}

TEST_F(LinePlan, RefusalsKeepTheWindowAndCancelChangesNothing)
{
    show();
    const core::DayCalendar before = form->planner().calendar.day(3, m02).values();
    QPointer<windows::LinePlanWindow> w = rightClick(m02, at(3, 10));
    ASSERT_TRUE(w);
    type(w->PlanTime[4], QStringLiteral("16:00"));
    type(w->NoWorkingTime, QStringLiteral("2"));
    prompt.told.clear();
    QTest::mouseClick(w->ComOK, Qt::LeftButton);
    QCoreApplication::processEvents();
    ASSERT_TRUE(w && w->isVisible());
    EXPECT_EQ(prompt.told, QStringList{QStringLiteral("停止時刻＋停止時間が終了時刻を超えています。")});
    EXPECT_EQ(focused(), w->NoWorkingTime);
    type(w->NoWorkingTime, QStringLiteral("0.5"));
    QTest::mouseClick(w->ComOK, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(prompt.told.last(), QStringLiteral("1～24時間の範囲で入力して下さい。"));
    QTest::mouseClick(w->ComCancel, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(!w || !w->isVisible());
    EXPECT_EQ(form->planner().calendar.day(3, m02).values(), before);
    EXPECT_FALSE(form->session().canUndo());
    EXPECT_FALSE(form->saveButton->isEnabled());
}

TEST_F(LinePlan, NothingOpensOnTheUnplacedRowOrASupplier)
{
    show();
    EXPECT_EQ(rightClick(1, at(3, 10)), nullptr);
    EXPECT_EQ(rightClick(form->planner().rows.findRow(QStringLiteral("S01")), at(3, 10)), nullptr);
}

TEST_F(LinePlan, InquiryModeShowsTheDayAndStoresNothing)
{
    settings.KengenKubun = QStringLiteral("0");
    show();
    QPointer<windows::LinePlanWindow> w = rightClick(m02, at(3, 10));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->PlanTime[0]->text(), QStringLiteral("08:00:00"));
    EXPECT_TRUE(w->PlanTime[0]->isReadOnly());
    EXPECT_FALSE(w->ComOK->isEnabled());
    QTest::mouseClick(w->ComOK, Qt::LeftButton);
    EXPECT_TRUE(form->session().changedCalendarDays().empty());
    EXPECT_FALSE(form->saveButton->isEnabled());
    w->close();
}

}  // namespace
