// The machine selection window on a real main window over a SQLite plant:
// the list, check all / clear all, OK and Cancel, and the chart rebuilt
// without losing or moving the planner's unsaved changes.

#include "chart/ChartFixture.h"
#include "loading/PlanTestPlant.h"
#include "support/ScriptedPrompt.h"
#include "windows/KikaiSelectForm.h"
#include "windows/WindowOpeners.h"

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QScrollBar>

using namespace plantest;

namespace {

class KikaiSelect : public ::testing::Test {
protected:
    void SetUp() override
    {
        t = testing_support::freshDatabase(db::Kind::Sqlite);
        ASSERT_TRUE(t.db);
        db::Database& d = *t.db;
        insert(d, "DB0496", {{"自社企業コード", "1"}, {"開始時刻１", "120000"}, {"終了時刻１", "130000"}});
        insert(d, "DB0382", {{"工程内容コード", "P1"}, {"工程内容名", QStringLiteral("成形")}, {"工程分類コード", "10"}});
        item(d, QStringLiteral("ITEM-A"));
        for (int n = 1; n <= 30; ++n) machine(d, QStringLiteral("M%1").arg(n, 2, 10, QLatin1Char('0')).toUtf8().constData());
        machine(d, "LONGCODE10", {{"機械名", QStringLiteral("長いコードの機械")}});
        for (const char* code : {"M01", "M02"})
            for (int day = 1; day <= 10; ++day)
                insert(d, "DB0491", {{"機械コード", code}, {"年月日", core::Date::fromYmd(2024, 5, day).toYmdText()}, {"勤務時間", 8},
                                     {"開始時刻１", "080000"}, {"終了時刻１", "170000"}});
        order(d, 1001);
        settings.TantoCode = QStringLiteral("T1");
        settings.KojoCode = 1;
        settings.TanmatsuNo = 4;
        settings.ProgramId = QStringLiteral("PLANNER");
        settings.processClassCode = QStringLiteral("10");
        settings.KengenKubun = QStringLiteral("1");
        settings.PeriodStart = core::Date::fromYmd(2024, 5, 1);
        settings.PeriodEnd = core::Date::fromYmd(2024, 5, 7);
        settings.GridMinutes = 10;
        settings.MainWidth = 1200 * 15;
        settings.MainHeight = 800 * 15;
        form = std::make_unique<chart::MainForm>(settings, d);
        windows::connectWindows(*form);
        form->setPrompt(&prompt);
        ASSERT_TRUE(form->load({}));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        for (int i = 2; i <= form->planData().size(); ++i)
            if (form->planData()[i].orderNo == 1001) rec = i;
    }
    windows::KikaiSelectForm* open()
    {
        QTest::mouseClick(form->machineSelectionButton, Qt::LeftButton);
        auto* w = form->findChild<windows::KikaiSelectForm*>();
        if (w) {
            QApplication::setActiveWindow(w);
            EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        }
        return w;
    }
    int rowOf(const char* code) { return form->planner().rows.findRow(QString::fromUtf8(code)); }
    QString selected(const QString& code)
    {
        db::Cursor c = t.db->query(QStringLiteral("SELECT 選択 FROM DB0497 WHERE 担当者コード='T1' AND 機械コード=?"), {code});
        return c.next() ? c.text(QStringLiteral("選択")) : QStringLiteral("none");
    }

    testing_support::TestDb t;
    core::ProgramSettings settings;
    testing_support::ScriptedPrompt prompt;
    std::unique_ptr<chart::MainForm> form;
    int rec = 0;
};

TEST_F(KikaiSelect, TheListKeepsFullCodesAndItsPlace)
{
    QPointer<windows::KikaiSelectForm> w = open();
    ASSERT_TRUE(w);
    ASSERT_EQ(w->KList->count(), 31);
    const QListWidgetItem* longItem = w->KList->item(0);
    EXPECT_EQ(longItem->text(), QStringLiteral("LONGCODE 長いコードの機械"));  // fitted to 8 bytes
    EXPECT_EQ(longItem->checkState(), Qt::Checked);                            // never chosen: shown
    EXPECT_EQ(w->KList->currentRow(), 0);

    w->KList->setCurrentRow(20);
    w->KList->scrollToItem(w->KList->item(20));
    const int scroll = w->KList->verticalScrollBar()->value();
    ASSERT_GT(scroll, 0);
    QTest::mouseClick(w->ComAllClear, Qt::LeftButton);
    for (int i = 0; i < w->KList->count(); ++i) EXPECT_EQ(w->KList->item(i)->checkState(), Qt::Unchecked);
    EXPECT_EQ(w->KList->currentRow(), 20);
    EXPECT_EQ(w->KList->verticalScrollBar()->value(), scroll);
    QTest::mouseClick(w->ComAllCheck, Qt::LeftButton);
    EXPECT_EQ(w->KList->item(30)->checkState(), Qt::Checked);
    EXPECT_EQ(w->KList->currentRow(), 20);

    // Only the long-coded machine and M02 stay: Space on the current item.
    QTest::mouseClick(w->ComAllClear, Qt::LeftButton);
    for (int row : {0, 2}) {
        w->KList->setCurrentRow(row);
        QTest::keyClick(w->KList, Qt::Key_Space);
    }
    chart_test::saveScreenshot(w, QStringLiteral("kikai_select_form"));
    QTest::mouseClick(w->ComOK, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(!w || !w->isVisible());
    EXPECT_EQ(selected(QStringLiteral("LONGCODE10")), QStringLiteral("1"));  // the whole code
    EXPECT_EQ(selected(QStringLiteral("LONGCODE")), QStringLiteral("none"));
    EXPECT_EQ(selected(QStringLiteral("M01")), QStringLiteral("0"));
    EXPECT_EQ(selected(QStringLiteral("M02")), QStringLiteral("1"));
    EXPECT_EQ(rowOf("LONGCODE10"), 2);
    EXPECT_EQ(rowOf("M02"), 3);
    EXPECT_EQ(rowOf("M01"), 0);
    EXPECT_EQ(form->planner().rows.CalendarMachineCount, 3);
    chart_test::saveScreenshot(form.get(), QStringLiteral("kikai_select_rows"));
}

TEST_F(KikaiSelect, UnsavedChangesSurviveARowChangeAndUndoStaysExact)
{
    ASSERT_NE(rec, 0);
    const plan::PlanRecord loaded = form->planData()[rec];
    // An unsaved move of the bar on M01.
    form->session().apply(QStringLiteral("移動"), [&](reschedule::RuleContext& ctx) {
        plan::PlanRecord& r = ctx.plan.editTimes(rec);
        r.setStart(r.start().addSeconds(3600));
        r.setEnd(r.end().addSeconds(3600));
        r.isChanged = true;
        reschedule::RuleOutcome out;
        out.touch(rec);
        return out;
    });
    const plan::PlanRecord moved = form->planData()[rec];
    ASSERT_TRUE(form->saveButton->isEnabled());
    ASSERT_EQ(form->chartState().bar(rec).surface, chart::Surface::PlatForm);

    QPointer<windows::KikaiSelectForm> w = open();
    ASSERT_TRUE(w);
    w->KList->setCurrentRow(1);  // M01
    QTest::keyClick(w->KList, Qt::Key_Space);
    QTest::mouseClick(w->ComOK, Qt::LeftButton);
    QCoreApplication::processEvents();
    ASSERT_EQ(rowOf("M01"), 0);
    EXPECT_TRUE(form->planData()[rec] == moved);  // kept and not moved
    EXPECT_TRUE(form->chartState().bar(rec).visible);
    EXPECT_EQ(form->chartState().bar(rec).surface, chart::Surface::PlatForm3);  // waits apart, as at loading
    EXPECT_TRUE(form->saveButton->isEnabled());

    w = open();
    ASSERT_TRUE(w);
    QTest::mouseClick(w->ComAllCheck, Qt::LeftButton);
    QTest::mouseClick(w->ComOK, Qt::LeftButton);
    QCoreApplication::processEvents();
    ASSERT_EQ(rowOf("M01"), 3);
    EXPECT_EQ(form->chartState().bar(rec).surface, chart::Surface::PlatForm);
    EXPECT_EQ(form->chartState().bar(rec).row, 3);
    EXPECT_TRUE(form->planData()[rec] == moved);

    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(form->planData()[rec] == loaded);
    EXPECT_FALSE(form->saveButton->isEnabled());
}

TEST_F(KikaiSelect, CancelSavesNothingAndAFailureIsToldAndRolledBack)
{
    QPointer<windows::KikaiSelectForm> w = open();
    ASSERT_TRUE(w);
    QTest::mouseClick(w->ComAllClear, Qt::LeftButton);
    QTest::mouseClick(w->ComCancel, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(selected(QStringLiteral("M01")), QStringLiteral("none"));
    EXPECT_EQ(form->planner().rows.CalendarMachineCount, 32);

    w = open();
    ASSERT_TRUE(w);
    QTest::mouseClick(w->ComAllClear, Qt::LeftButton);
    int inserts = 0;
    t.db->beforeStatement = [&](const QString& sql) {
        if (sql.startsWith(QStringLiteral("INSERT")) && ++inserts == 10) throw db::Error(QStringLiteral("injected failure"));
    };
    QTest::mouseClick(w->ComOK, Qt::LeftButton);
    t.db->beforeStatement = nullptr;
    QCoreApplication::processEvents();
    EXPECT_EQ(prompt.told.last(), QStringLiteral("subSaveKikaiSelect関数で異常が発生しました。"));
    EXPECT_EQ(selected(QStringLiteral("LONGCODE10")), QStringLiteral("none"));
    EXPECT_EQ(form->planner().rows.CalendarMachineCount, 32);  // the chart read again: as before
}

TEST_F(KikaiSelect, WorksInInquiryMode)
{
    settings.KengenKubun = QStringLiteral("0");
    QPointer<windows::KikaiSelectForm> w = open();
    ASSERT_TRUE(w);
    QTest::mouseClick(w->ComAllClear, Qt::LeftButton);
    w->KList->setCurrentRow(0);
    QTest::keyClick(w->KList, Qt::Key_Space);
    QTest::mouseClick(w->ComOK, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->planner().rows.CalendarMachineCount, 2);
    EXPECT_FALSE(form->saveButton->isEnabled());
}

}  // namespace
