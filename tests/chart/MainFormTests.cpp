// The window's caption, the save indicator and switching the classification.
#include "ChartFixture.h"

#include "chart/RowHeaders.h"
#include "support/ScriptedPrompt.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTimer>

#include <QSignalSpy>

using namespace chart_test;

namespace {

class MainWindow : public ChartTest {
protected:
    // A change the planner made: one undoable step.
    void changeSomething(int rec)
    {
        form->session().apply(QStringLiteral("test"), [&](reschedule::RuleContext& ctx) {
            ctx.plan.edit(rec).setStart(at(5, 8));
            reschedule::RuleOutcome out;
            out.touch(rec);
            return out;
        });
    }
    testing_support::ScriptedPrompt prompt;
};

TEST_F(MainWindow, CaptionAndSize)
{
    show();
    EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("工程計画立案支援システム　[Velmoran Ver.")));
    EXPECT_FALSE(form->windowTitle().contains(QStringLiteral("照会モード")));
    EXPECT_EQ(form->size(), QSize(settings.MainWidth / 15, settings.MainHeight / 15));
    settings.KengenKubun = QStringLiteral("0");
    chart::MainForm inquiry(settings, *database);
    EXPECT_TRUE(inquiry.windowTitle().endsWith(QStringLiteral("](照会モード)")));
}

TEST_F(MainWindow, SaveButtonFollowsTheHistory)
{
    const int rec = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    plan().edit(rec).isChanged = true;  // arranging at load marks records, yet nothing is to save
    show();
    EXPECT_FALSE(form->saveButton->isEnabled());
    changeSomething(rec);
    EXPECT_TRUE(form->saveButton->isEnabled());
    form->actUndo->trigger();
    EXPECT_FALSE(form->saveButton->isEnabled());
    EXPECT_EQ(plan()[rec].start(), at(3, 8));
    EXPECT_EQ(state().bar(rec).startSec, at(3, 8).seconds()) << "the bar follows the undo";
    form->actRedo->trigger();
    EXPECT_EQ(plan()[rec].start(), at(5, 8));
    EXPECT_TRUE(form->saveButton->isEnabled());
}

TEST_F(MainWindow, InquiryModeNeverEnablesSave)
{
    settings.KengenKubun = QStringLiteral("0");
    const int rec = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    show();
    changeSomething(rec);
    EXPECT_FALSE(form->saveButton->isEnabled());
}

TEST_F(MainWindow, SwitchingClassificationAsksOnlyWithUnsavedChanges)
{
    const int rec = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    show();
    form->setPrompt(&prompt);
    QSignalSpy reselect(form.get(), &chart::MainForm::reselectRequested);
    QTest::mouseClick(form->classButton, Qt::LeftButton);
    EXPECT_EQ(reselect.count(), 1);
    EXPECT_TRUE(prompt.asked.isEmpty());

    changeSomething(rec);
    prompt.answers = {false, true};
    QTest::mouseClick(form->classButton, Qt::LeftButton);
    EXPECT_EQ(reselect.count(), 1) << "No keeps the window";
    QTest::mouseClick(form->classButton, Qt::LeftButton);
    EXPECT_EQ(reselect.count(), 2);
    EXPECT_EQ(prompt.asked, (QStringList{QStringLiteral("変更を保存せずに破棄しますか？"), QStringLiteral("変更を保存せずに破棄しますか？")}));
}

TEST_F(MainWindow, ClosingWithUnsavedChangesAsksAndNoKeepsTheWindow)
{
    const int rec = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    show();
    form->setPrompt(&prompt);
    changeSomething(rec);
    prompt.answers = {false};
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(prompt.asked, QStringList{QStringLiteral("変更を保存せずに破棄しますか？")});
    EXPECT_EQ(plan()[rec].start(), at(5, 8)) << "the change is still there";

    prompt.answers = {true};
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainWindow, ClosingWithNothingToSaveOrInInquiryModeAsksNothing)
{
    settings.KengenKubun = QStringLiteral("0");
    const int rec = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    show();
    form->setPrompt(&prompt);
    changeSomething(rec);
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(prompt.asked.isEmpty());
}

TEST_F(MainWindow, RightClickOnABarOpensThePopupForThatBar)
{
    const int rec = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 240);
    show();
    const QPoint p = barCentre(rec);
    QTimer::singleShot(0, form->barMenu, &QMenu::close);
    QTest::mousePress(view().rowSurface, Qt::RightButton, Qt::NoModifier, p);
    EXPECT_EQ(form->PopupBarIndex, plan()[rec].barIndex);
    EXPECT_TRUE(form->orderGanttAction->isVisible());
    // Entries whose windows do not exist yet cannot be chosen.
    EXPECT_FALSE(form->detailAction->isEnabled());
    EXPECT_FALSE(form->orderGanttAction->isEnabled());
    form->barMenu->close();
}

// A window below the chart's full height: chart and grid share it, the chart
// in whole rows, its scroll bar in the window, the grid with rows to read.
TEST_F(MainWindow, SmallWindowShowsWholeChartRowsAndAGridToRead)
{
    for (int i = 0; i < 14; ++i) addOrder(plan(), 1 + i, QStringLiteral("M%1").arg(1 + i % 12, 2, 10, QLatin1Char('0')), at(3 + i % 5, 8), 240);
    show();
    form->resize(900, 560);
    QCoreApplication::processEvents();
    saveScreenshot(form.get(), QStringLiteral("small-window"));
    ASSERT_EQ(form->size(), QSize(900, 560));

    const auto inWindow = [&](QWidget* w) { return form->rect().contains(QRect(w->mapTo(form.get(), QPoint(0, 0)), w->size())); };
    QWidget* pf = view().rowSurface;
    EXPECT_TRUE(inWindow(pf));
    EXPECT_TRUE(inWindow(view().timeScrollBar));
    const int rows = pf->height() / chart::ChartState::RowHeightPx;
    EXPECT_GE(rows, 3);
    EXPECT_EQ(pf->height(), rows * chart::ChartState::RowHeightPx) << "the last row is whole";
    EXPECT_EQ(view().rowScrollBar->height(), pf->height());
    // Row headers, scroll range and hit tests count the rows in view.
    EXPECT_EQ(view().rowHeaders->height(), pf->height());
    EXPECT_EQ(view().rowScrollBar->pageStep(), rows);
    EXPECT_EQ(view().rowScrollBar->maximum(), form->planner().rows.machineRowCount() + 1 - rows);
    view().rowScrollBar->setValue(3);
    const int lastRow = 3 + rows;
    EXPECT_EQ(state().rowAtPx(pf->height() - 1), lastRow);
    EXPECT_EQ(view().rowHeaders->MachineName(rows)->text().section(u'\n', 0, 0), form->planner().rows.row(lastRow).RowCode.trimmed());

    chart::PlanDataGrid& grid = form->grid();
    EXPECT_TRUE(inWindow(&grid));
    EXPECT_GE(grid.viewport()->height() / grid.verticalHeader()->defaultSectionSize(), 4) << "grid rows in view";
}

// The divider between chart and grid moves in whole chart rows and stays where
// the planner left it when the window is built anew for another class.
TEST_F(MainWindow, DividerSnapsToWholeRowsAndIsKeptForTheNextWindow)
{
    show();
    auto* splitter = form->findChild<QSplitter*>();
    ASSERT_TRUE(splitter);
    QWidget* pf = view().rowSurface;
    const int rowsBefore = pf->height() / chart::ChartState::RowHeightPx;
    QWidget* handle = splitter->handle(1);
    const QPoint grip = handle->rect().center();
    const QPoint gripOnScreen = handle->mapToGlobal(grip);  // the handle moves while dragged
    const auto send = [&](QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(pos), QPointF(gripOnScreen + (pos - grip)), button, held, Qt::NoModifier);
        QApplication::sendEvent(handle, &e);
    };
    send(QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, grip + QPoint(0, -40), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, grip + QPoint(0, -70), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, grip + QPoint(0, -70), Qt::LeftButton, Qt::NoButton);
    QCoreApplication::processEvents();
    const int rows = rowsBefore - 2;  // 70 pixels: nearer two rows than one
    EXPECT_EQ(pf->height(), rows * chart::ChartState::RowHeightPx);

    chart::MainForm next(settings, *database);
    buildPlant(next.planner());
    next.showPlan();
    next.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&next));
    QCoreApplication::processEvents();
    EXPECT_EQ(next.gantt().rowSurface->height(), rows * chart::ChartState::RowHeightPx);
}

}  // namespace
