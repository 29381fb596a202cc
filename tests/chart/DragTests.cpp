// Rescheduling with the mouse: real press/move/release sequences on the chart
// and the grid, checked on the plan table, the undo history and saveButton.
#include "ChartFixture.h"

#include "chart/RowHeaders.h"
#include "reschedule/MasterLookup.h"
#include "support/NoMasters.h"
#include "support/ScriptedPrompt.h"

#include <QLabel>
#include <QTimer>

using namespace chart_test;

namespace {

class Dragging : public ChartTest {
protected:
    void show()
    {
        ChartTest::show();
        form->setPrompt(&prompt);
        form->setMasterLookup(&masters);
        loaded = snapshot();
    }
    std::vector<plan::PlanRecord> snapshot()
    {
        std::vector<plan::PlanRecord> all;
        for (int i = 1; i <= plan().size(); ++i) all.push_back(plan()[i]);
        return all;
    }
    void send(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    // Presses on the bar's centre and moves in steps to `to` (PlatForm pixels); releases when asked.
    void drag(int rec, QPoint to, bool release = true)
    {
        QWidget* pf = view().rowSurface;
        const QPoint from = barCentre(rec);
        send(pf, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int i = 1; i <= 4; ++i) send(pf, QEvent::MouseMove, from + (to - from) * i / 4, Qt::NoButton, Qt::LeftButton);
        if (release) send(pf, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    // Where to release so that the bar's left edge lands on moment m in row `row`.
    QPoint dropPoint(int rec, core::Moment m, int row)
    {
        const QRect r = state().barRectPx(rec);
        return QPoint(state().xToPx(state().xOf(m)) + (r.center().x() - r.left()), state().rowTopPx(row) + 20);
    }
    int rowOf(const char* code) { return form->planner().rows.findRow(QString::fromLatin1(code)); }

    testing_support::ScriptedPrompt prompt;
    testing_support::NoMasters masters{QString()};
    std::vector<plan::PlanRecord> loaded;
};

TEST_F(Dragging, DropMovesTheBarToAnotherMachineAndUndoTakesItBack)
{
    const int rec = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    show();
    // Dropped in the lunch break of M03: it starts when the machine works again.
    drag(rec, dropPoint(rec, at(4, 12, 30), rowOf("M03")), false);
    const chart::DragPreview& preview = state().dragPreview;
    ASSERT_TRUE(preview.active);
    EXPECT_EQ(preview.targetRow, rowOf("M03"));
    ASSERT_TRUE(preview.guideVisible);
    EXPECT_EQ(preview.guideText, QStringLiteral("開始 12/4 13:00"));
    EXPECT_EQ(plan()[rec].machineCode, QStringLiteral("M01")) << "nothing changes before the drop";
    send(view().rowSurface, QEvent::MouseButtonRelease, dropPoint(rec, at(4, 12, 30), rowOf("M03")), Qt::LeftButton, Qt::NoButton);

    EXPECT_FALSE(state().dragPreview.active);
    EXPECT_EQ(plan()[rec].machineCode.trimmed(), QStringLiteral("M03"));
    EXPECT_EQ(plan()[rec].start(), at(4, 13));
    EXPECT_EQ(plan()[rec].end(), at(4, 14));
    EXPECT_EQ(state().bar(rec).row, rowOf("M03"));
    EXPECT_TRUE(form->saveButton->isEnabled());
    EXPECT_EQ(form->history().stepCount(), 1);

    form->actUndo->trigger();
    EXPECT_EQ(snapshot(), loaded);
    EXPECT_EQ(state().bar(rec).row, rowOf("M01"));
    EXPECT_FALSE(form->saveButton->isEnabled());
    form->actRedo->trigger();
    EXPECT_EQ(plan()[rec].start(), at(4, 13));
    EXPECT_TRUE(form->saveButton->isEnabled());
}

TEST_F(Dragging, APushRedrawsTheChainInOrderAndUndoPutsItBack)
{
    // Three bars back to back on M01 and one on M02 dropped onto the first of them.
    const int a = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    const int b = addOrder(plan(), 2, QStringLiteral("M01"), at(3, 9), 60);
    const int c = addOrder(plan(), 3, QStringLiteral("M01"), at(3, 10), 60);
    const int moved = addOrder(plan(), 4, QStringLiteral("M02"), at(3, 14), 120);
    show();
    const int m01 = rowOf("M01");
    const auto barsOnM01 = [&] { return state().barsInView(m01, 0, 1e9); };
    const auto drawnAtItsStart = [&](int rec) {
        return state().barRectPx(rec).left() == state().xToPx(state().xOf(plan()[rec].start()));
    };
    prompt.answers = {true, true};  // start behind the bar in front; push the bars behind
    drag(moved, dropPoint(moved, at(3, 8, 30), m01));

    EXPECT_EQ(plan()[moved].start(), at(3, 9));
    EXPECT_EQ(plan()[b].start(), at(3, 11));
    EXPECT_EQ(plan()[c].start(), at(3, 12));
    EXPECT_EQ(barsOnM01(), (std::vector<int>{a, moved, b, c}));
    for (int rec : {a, moved, b, c}) {
        EXPECT_EQ(state().bar(rec).row, m01);
        EXPECT_TRUE(drawnAtItsStart(rec)) << "record " << rec;
    }
    EXPECT_TRUE(state().bar(b).look.changedMark);

    form->actUndo->trigger();
    EXPECT_EQ(snapshot(), loaded);
    EXPECT_EQ(barsOnM01(), (std::vector<int>{a, b, c}));
    EXPECT_EQ(state().bar(moved).row, rowOf("M02"));
    for (int rec : {a, b, c, moved}) EXPECT_TRUE(drawnAtItsStart(rec)) << "record " << rec;
    EXPECT_FALSE(state().bar(b).look.changedMark);

    // Along its own row to behind the others: the row's paint order follows.
    drag(a, dropPoint(a, at(3, 11), m01));
    EXPECT_EQ(plan()[a].start(), at(3, 11));
    EXPECT_EQ(barsOnM01(), (std::vector<int>{b, c, a}));
    EXPECT_TRUE(drawnAtItsStart(a));
}

TEST_F(Dragging, TheDroppedBarStandsAtTheDropWhileTheQuestionsAreAsked)
{
    addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    const int moved = addOrder(plan(), 2, QStringLiteral("M02"), at(3, 14), 120);
    show();
    const int m01 = rowOf("M01");
    struct Seen {
        int row = 0;
        int leftPx = 0;
    };
    std::vector<Seen> seen;
    class WatchingPrompt : public testing_support::ScriptedPrompt {
    public:
        std::function<void()> onAsk;
        bool askYesNo(const QString& text, const QString& title, bool defaultYes) override
        {
            onAsk();
            return ScriptedPrompt::askYesNo(text, title, defaultYes);
        }
    } watching;
    watching.onAsk = [&] { seen.push_back({state().bar(moved).row, state().barRectPx(moved).left()}); };
    watching.answers = {false, false};  // neither start behind the bar in front nor push
    form->setPrompt(&watching);
    drag(moved, dropPoint(moved, at(3, 8, 30), m01));

    ASSERT_FALSE(seen.empty()) << "the overlap was not asked about";
    for (const Seen& s : seen) {
        EXPECT_EQ(s.row, m01);
        EXPECT_EQ(s.leftPx, state().xToPx(state().xOf(at(3, 8, 30))));
    }
}

TEST_F(Dragging, DropsOnTheHeadersOrStripsCancel)
{
    const int rec = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    show();
    drag(rec, QPoint(-60, 100));  // the row header column
    drag(rec, QPoint(300, -20));  // PlatForm3, the strip above the rows
    drag(rec, QPoint(300, -60));  // the day captions
    EXPECT_EQ(snapshot(), loaded);
    EXPECT_EQ(form->history().stepCount(), 0);
    EXPECT_FALSE(form->saveButton->isEnabled());
    EXPECT_TRUE(prompt.told.isEmpty());
}

TEST_F(Dragging, FixedBarsDoNotMoveAndBackFixedOnesOnlyEarlier)
{
    const int fixedBar = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    const int backFixed = addOrder(plan(), 2, QStringLiteral("M02"), at(4, 8), 60);
    plan().edit(fixedBar).fixKind = plan::FixKind::FullyFixed;
    plan().edit(backFixed).fixKind = plan::FixKind::BackFixed;
    show();
    drag(fixedBar, dropPoint(fixedBar, at(5, 9), rowOf("M01")));
    EXPECT_FALSE(state().dragPreview.active);
    drag(backFixed, dropPoint(backFixed, at(6, 9), rowOf("M02")));
    EXPECT_EQ(snapshot(), loaded);
    EXPECT_EQ(prompt.told, QStringList{QStringLiteral("終了時間を固定されているので、計画を後ろにずらす事はできません")});
    drag(backFixed, dropPoint(backFixed, at(3, 9), rowOf("M02")));
    EXPECT_EQ(plan()[backFixed].start(), at(3, 9));
}

TEST_F(Dragging, BelowTheLastRowReturnsTheOrderToTheUnplacedRow)
{
    const int rec = addOrder(plan(), 1, QStringLiteral("M12"), at(3, 8), 60);
    plan().edit(rec).startDateOrig = core::Date::fromYmd(2024, 12, 10);
    plan().edit(rec).endDateOrig = core::Date::fromYmd(2024, 12, 10);
    show();
    view().rowScrollBar->setValue(view().rowScrollBar->maximum());
    const QPoint below(state().barRectPx(rec).center().x(), 9 * 40 + 20);
    ASSERT_EQ(state().rowAtPx(below.y()), 0);
    drag(rec, below);
    EXPECT_FALSE(plan()[rec].hasMachine());
    EXPECT_EQ(state().bar(rec).row, 1);
    form->actUndo->trigger();
    EXPECT_EQ(snapshot(), loaded);
}

TEST_F(Dragging, RowHeaderRightClickAsksTheExpandRule)
{
    addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    show();
    view().rowScrollBar->setValue(view().rowScrollBar->maximum());  // rows 7..15: the suppliers are in view
    chart::RowHeaderColumn* headers = view().rowHeaders;
    const int supplierLabel = rowOf("S01") - view().rowScrollBar->value();
    QTest::mouseClick(headers->MachineName(supplierLabel), Qt::RightButton);
    EXPECT_EQ(prompt.told, QStringList{QStringLiteral("外注先は展開できません")});
    EXPECT_EQ(form->history().stepCount(), 0);
}

TEST_F(Dragging, GridRowDraggedOntoAnotherTakesItsPlace)
{
    const int a = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    const int b = addOrder(plan(), 2, QStringLiteral("M05"), at(5, 9), 60);
    const int fixedRow = addOrder(plan(), 3, QStringLiteral("M02"), at(3, 8), 60);
    plan().edit(fixedRow).fixKind = plan::FixKind::BackFixed;
    show();
    chart::PlanDataGrid& grid = form->grid();
    QWidget* vp = grid.viewport();
    const auto rowPoint = [&](int rec) { return grid.visualRect(grid.gridModel().index(grid.gridModel().gridRowOf(rec), 2)).center(); };

    send(vp, QEvent::MouseButtonPress, rowPoint(a), Qt::LeftButton, Qt::LeftButton);
    send(vp, QEvent::MouseMove, (rowPoint(a) + rowPoint(b)) / 2, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(view().DragMode, chart::DragKind::GridRow);
    send(vp, QEvent::MouseMove, rowPoint(b), Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(grid.GridDragLine->isVisible());
    prompt.answers = {true};  // push the order that stood there behind the dropped one
    send(vp, QEvent::MouseButtonRelease, rowPoint(b), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(prompt.asked.size(), 1);
    EXPECT_EQ(view().DragMode, chart::DragKind::Idle);
    EXPECT_FALSE(grid.GridDragLine->isVisible());
    EXPECT_EQ(plan()[a].machineCode.trimmed(), QStringLiteral("M05"));
    EXPECT_EQ(plan()[a].start(), at(5, 9));
    EXPECT_EQ(state().bar(a).row, rowOf("M05"));
    EXPECT_GE(plan()[b].start(), plan()[a].end());
    EXPECT_EQ(state().bar(b).startSec, plan()[b].start().seconds()) << "the pushed bar was redrawn";

    send(vp, QEvent::MouseButtonPress, rowPoint(fixedRow), Qt::LeftButton, Qt::LeftButton);
    send(vp, QEvent::MouseMove, rowPoint(b), Qt::NoButton, Qt::LeftButton);
    send(vp, QEvent::MouseButtonRelease, rowPoint(b), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(prompt.told.value(0), QStringLiteral("1:後ろ固定と2:完全固定の手配は移動出来ません。"));
    EXPECT_EQ(view().DragMode, chart::DragKind::Idle);
    // Undo of the whole drop, push chain included, gives back the loaded table.
    form->actUndo->trigger();
    EXPECT_EQ(snapshot(), loaded);
}

TEST_F(Dragging, AClickOnAGridRowSelectsItOnlyADragIsRefused)
{
    const int rep = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    const int member = addOrder(plan(), 2, QStringLiteral("M01"), at(3, 8), 60);
    const int other = addOrder(plan(), 3, QStringLiteral("M02"), at(4, 8), 60);
    plan().edit(rep).setRepOrderNo = 1;
    plan().edit(member).setRepOrderNo = 1;
    plan().edit(member).isSetMember = true;
    show();
    chart::PlanDataGrid& grid = form->grid();
    QWidget* vp = grid.viewport();
    const auto rowPoint = [&](int rec) { return grid.visualRect(grid.gridModel().index(grid.gridModel().gridRowOf(rec), 2)).center(); };

    // A click, even one that wobbles less than a drag distance, only selects.
    const QPoint p = rowPoint(member);
    const QPoint wobble(QApplication::startDragDistance() / 2, 0);
    send(vp, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    send(vp, QEvent::MouseMove, p + wobble, Qt::NoButton, Qt::LeftButton);
    send(vp, QEvent::MouseButtonRelease, p + wobble, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(prompt.told.isEmpty()) << prompt.told.join(u'|').toStdString();
    EXPECT_EQ(grid.selectedRecord(), member);
    EXPECT_EQ(state().selectedRecord(), member);
    EXPECT_EQ(view().DragMode, chart::DragKind::Idle);

    // Dragging it onto another row is refused, once, and moves nothing.
    send(vp, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    send(vp, QEvent::MouseMove, (p + rowPoint(other)) / 2, Qt::NoButton, Qt::LeftButton);
    send(vp, QEvent::MouseMove, rowPoint(other), Qt::NoButton, Qt::LeftButton);
    send(vp, QEvent::MouseButtonRelease, rowPoint(other), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(prompt.told, QStringList{QStringLiteral("この手配は移動出来ません。\rセット代表手配を移動して下さい。")});
    EXPECT_FALSE(grid.GridDragLine->isVisible());
    EXPECT_EQ(view().DragMode, chart::DragKind::Idle);
    EXPECT_EQ(snapshot(), loaded);
}

TEST_F(Dragging, BarDroppedOnABarOfTheSameItemMerges)
{
    const int a = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    const int b = addOrder(plan(), 2, QStringLiteral("M02"), at(4, 8), 120);
    for (int rec : {a, b}) {
        plan().edit(rec).itemCode = plan().edit(rec).itemCode2 = QStringLiteral("P10015");
        plan().edit(rec).modelName = QStringLiteral("パネル");
    }
    show();
    const int gridRows = form->grid().gridModel().rowCount();
    prompt.answers = {true};
    drag(a, barCentre(b));
    EXPECT_EQ(prompt.asked, QStringList{QStringLiteral("この２つの計画を合体させますか？")});
    EXPECT_TRUE(plan()[a].isMergedAway);
    EXPECT_EQ(plan()[b].orderQty, 200);
    EXPECT_FALSE(state().bar(a).visible);
    EXPECT_EQ(form->grid().gridModel().rowCount(), gridRows - 1);
    form->actUndo->trigger();
    EXPECT_EQ(snapshot(), loaded);
    EXPECT_TRUE(state().bar(a).visible);
    EXPECT_EQ(form->grid().gridModel().rowCount(), gridRows);
}

TEST_F(Dragging, HoldingABarAtTheRightEdgeScrollsTheChart)
{
    const int rec = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    show();
    drag(rec, QPoint(view().rowSurface->width() - 5, state().rowTopPx(2) + 20), false);
    EXPECT_TRUE(view().autoScrollTimer->isActive());
    QTest::qWait(200);
    EXPECT_GT(view().timeScrollBar->value(), 0);
    EXPECT_TRUE(state().dragPreview.active) << "the bar stays under the pointer";
    send(view().rowSurface, QEvent::MouseButtonRelease, QPoint(300, -20), Qt::LeftButton, Qt::NoButton);  // cancelled
    EXPECT_FALSE(view().autoScrollTimer->isActive());
    EXPECT_EQ(snapshot(), loaded);
}

}  // namespace
