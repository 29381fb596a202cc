// Scrolling, selection between grid and chart, the hover tip and grab-scrolling,
// driven by real mouse and wheel events.
#include "ChartFixture.h"

#include "chart/PlatForm.h"
#include "chart/RowHeaders.h"
#include "chart/TimeHeader.h"

#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

using namespace chart_test;

namespace {

void sendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void sendWheel(QWidget* w, int notches, Qt::KeyboardModifiers mods, QPoint at = {-1, -1})
{
    const QPointF pos = at.x() < 0 ? QPointF(w->width() / 2.0, w->height() / 2.0) : QPointF(at);
    QWheelEvent e(pos, w->mapToGlobal(pos), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, mods, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

class Scrolling : public ChartTest {
protected:
    // What is on screen in each surface of the chart, the row headers and the
    // scroll bars is what a fresh paint of it gives.
    void expectFreshPicture(const QString& after)
    {
        const auto onScreen = [this](QWidget* w) {
            const QPoint at = w->mapTo(form.get(), QPoint(0, 0));
            return form->screen()->grabWindow(form->winId(), at.x(), at.y(), w->width(), w->height()).toImage().convertToFormat(QImage::Format_RGB32);
        };
        const auto fresh = [](QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); };
        for (QWidget* w : {static_cast<QWidget*>(view().rowSurface), static_cast<QWidget*>(view().unplacedStrip),
                           static_cast<QWidget*>(view().dayCaptions), static_cast<QWidget*>(view().topStrip),
                           static_cast<QWidget*>(view().rowHeaders), static_cast<QWidget*>(view().timeScrollBar),
                           static_cast<QWidget*>(view().rowScrollBar)})
            EXPECT_TRUE(onScreen(w) == fresh(w)) << w->objectName().toStdString() << " after " << after.toStdString();
    }
};

TEST_F(Scrolling, RowHeadersShiftByOneWithKScroll)
{
    show();
    chart::RowHeaderColumn* headers = view().rowHeaders;
    EXPECT_EQ(headers->MachineName(2)->text(), QStringLiteral("M01\n成形機1号"));
    view().rowScrollBar->setValue(1);
    for (int k = 1; k <= 10; ++k) {
        const core::ChartRow& row = form->planner().rows.row(1 + k);
        EXPECT_EQ(headers->MachineName(k)->text(), row.RowCode.trimmed() + QLatin1Char('\n') + row.RowName.trimmed()) << k;
    }
    // The bands move with the captions: row 2 is now the first band.
    EXPECT_EQ(state().rowAtPx(5), 2);
    EXPECT_EQ(state().rowTopPx(2), 0);
    // 15 rows, ten shown, and room below the last row to drop a bar off its machine.
    EXPECT_EQ(view().rowScrollBar->maximum(), 6);
    view().rowScrollBar->setValue(6);
    EXPECT_EQ(state().rowAtPx(9 * 40 + 5), 0);
}

TEST_F(Scrolling, WheelScrollsRowsAndShiftWheelScrollsTime)
{
    show();
    sendWheel(view().rowSurface, -1, Qt::NoModifier);
    EXPECT_EQ(view().rowScrollBar->value(), 1);
    sendWheel(view().rowSurface, -2, Qt::ShiftModifier);
    EXPECT_GT(view().timeScrollBar->value(), 0);
    EXPECT_EQ(view().rowScrollBar->value(), 1);
}

TEST_F(Scrolling, GrabScrollFollowsThePointerOnTheBackground)
{
    show();
    view().timeScrollBar->setValue(300);
    QWidget* pf = view().rowSurface;
    const QPoint start(400, 100);  // no bar here
    sendMouse(pf, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(view().DragMode, chart::DragKind::GrabScroll);
    sendMouse(pf, QEvent::MouseMove, start + QPoint(-120, -80), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(view().timeScrollBar->value(), 420);
    EXPECT_EQ(view().rowScrollBar->value(), 2);
    sendMouse(pf, QEvent::MouseButtonRelease, start + QPoint(-120, -80), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(view().DragMode, chart::DragKind::Idle);
}

class Selection : public ChartTest {};

TEST_F(Selection, ClickingABarSelectsItsGridRowAndBack)
{
    const int a = addOrder(plan(), 11, QStringLiteral("M01"), at(3, 8), 120);
    const int b = addOrder(plan(), 12, QStringLiteral("M12"), at(20, 9), 120);  // off screen at first
    show();
    QTest::mouseClick(view().rowSurface, Qt::LeftButton, Qt::NoModifier, barCentre(a));
    EXPECT_EQ(state().selectedRecord(), a);
    EXPECT_EQ(form->grid().selectedRecord(), a);
    EXPECT_EQ(plan()[a].start(), at(3, 8)) << "a click moves nothing";

    const int row = form->grid().gridModel().gridRowOf(b);
    form->grid().selectRow(row);
    EXPECT_EQ(state().selectedRecord(), b);
    const QRect r = state().barRectPx(b);
    EXPECT_TRUE(view().rowSurface->rect().contains(r.topLeft())) << "the bar was scrolled into view";
    EXPECT_EQ(state().barAtPx(chart::Surface::PlatForm, r.center().x(), r.center().y()), b);
}

TEST_F(Selection, GridListsOrdersWithTheirColumns)
{
    addOrder(plan(), 11, QStringLiteral("M01"), at(3, 8), 120);
    const int merged = addOrder(plan(), 12, QStringLiteral("M01"), at(3, 10), 120);
    plan().edit(merged).isMergedAway = true;
    show();
    const chart::PlanGridModel& m = form->grid().gridModel();
    EXPECT_EQ(m.rowCount(), 1);
    EXPECT_EQ(m.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("表示"));
    EXPECT_EQ(m.headerData(19, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("KEY"));
    EXPECT_EQ(m.data(m.index(0, chart::PlanGridModel::ColOrderNo), Qt::DisplayRole).toString(), QStringLiteral("11"));
    EXPECT_EQ(m.data(m.index(0, chart::PlanGridModel::ColStart), Qt::DisplayRole).toString(), QStringLiteral("2024/12/03 08:00"));
}

TEST_F(Selection, HoverTipShowsTheOrderBesideTheBar)
{
    const int a = addOrder(plan(), 4711, QStringLiteral("M01"), at(3, 8), 240);
    plan().edit(a).mouldNo = QStringLiteral("K-100");
    show();
    sendMouse(view().rowSurface, QEvent::MouseMove, barCentre(a), Qt::NoButton, Qt::NoButton);
    QLabel* tip = view().hoverTip;
    ASSERT_TRUE(tip->isVisible());
    EXPECT_TRUE(tip->text().contains(QStringLiteral("手配番号: 4711")));
    EXPECT_TRUE(tip->text().contains(QStringLiteral("K-100")));
    EXPECT_TRUE(tip->text().contains(QStringLiteral("初期納期: 2024/12/20")));
    sendMouse(view().rowSurface, QEvent::MouseMove, QPoint(5, 380), Qt::NoButton, Qt::NoButton);
    EXPECT_FALSE(tip->isVisible());
}

TEST_F(Selection, HoverTipFollowsTheChartMovingUnderThePointer)
{
    const int a = addOrder(plan(), 4711, QStringLiteral("M01"), at(3, 8), 240);
    const int b = addOrder(plan(), 4712, QStringLiteral("M02"), at(3, 8), 240);  // one row below a
    show();
    QWidget* pf = view().rowSurface;
    QLabel* tip = view().hoverTip;
    const QPoint p = barCentre(a);
    sendMouse(pf, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
    ASSERT_TRUE(tip->text().contains(QStringLiteral("手配番号: 4711")));

    // The wheel scrolls the rows under a pointer that stays put: b is under it now.
    sendWheel(pf, -1, Qt::NoModifier, p);
    ASSERT_EQ(state().barAtPx(chart::Surface::PlatForm, p.x(), p.y()), b);
    EXPECT_TRUE(tip->isVisible());
    EXPECT_TRUE(tip->text().contains(QStringLiteral("手配番号: 4712"))) << tip->text().toStdString();

    // The scroll bar moves the time away from under the pointer.
    view().timeScrollBar->setValue(view().timeScrollBar->value() + 600);
    EXPECT_FALSE(tip->isVisible());

    // A mode button: the bars are drawn anew at another scale.
    view().timeScrollBar->setValue(0);
    sendMouse(pf, QEvent::MouseMove, barCentre(b), Qt::NoButton, Qt::NoButton);
    ASSERT_TRUE(tip->isVisible());
    QTest::mouseClick(form->fourWeeksButton, Qt::LeftButton);
    EXPECT_FALSE(tip->isVisible());
}

}  // namespace

// A scroll step moves what stays in view and paints only what came into view:
// the picture on screen must be the one a fresh paint gives, bars, captions,
// selection and non-working shading included, and the row headers beside them.
TEST_F(Scrolling, AScrollStepShowsWhatAFreshPaintShows)
{
    for (int m = 1; m <= 12; ++m)
        for (int d = 2; d <= 20; d += 2)
            addOrder(plan(), 1000 + m * 100 + d, QStringLiteral("M%1").arg(m, 2, 10, QLatin1Char('0')), at(d, 9 + m % 5), 20 * 60 + m * 37);
    addOrder(plan(), 9001, QString(), at(3, 10), 16 * 60);  // on the strip of bars on no row
    show();
    state().setSelectedRecord(5);
    view().showFourWeeks();
    view().showWeek();
    QCoreApplication::processEvents();

    const struct { int dx, rows; } steps[] = {{37, 0}, {-11, 0}, {0, 2}, {0, -1}, {123, 1}, {-60, -2}};
    for (const auto& s : steps) {
        view().timeScrollBar->setValue(view().timeScrollBar->value() + s.dx);
        view().rowScrollBar->setValue(view().rowScrollBar->value() + s.rows);
        QCoreApplication::processEvents();
        expectFreshPicture(QStringLiteral("a step of %1 px, %2 rows").arg(s.dx).arg(s.rows));
    }
}

// Months come and go at both edges of the months' line, the four-week frame
// moves or stays, the scroll bars' handles move by their ends: every single
// step over a period of three months, in every display mode, shows what a
// fresh paint shows.
TEST_F(Scrolling, StepByStepOverMonthsShowsWhatAFreshPaintShows)
{
    buildPlant(form->planner(), core::Date::fromYmd(2024, 11, 18), core::Date::fromYmd(2025, 1, 24));
    for (int m = 1; m <= 12; ++m)
        for (int d = 2; d <= 28; d += 3)
            addOrder(plan(), 1000 + m * 100 + d, QStringLiteral("M%1").arg(m, 2, 10, QLatin1Char('0')), at(d, 8 + m % 7), 30 * 60);
    show();
    using Show = void (chart::GanttView::*)();
    const struct { Show show; const char* name; } modes[] = {{&chart::GanttView::showOneDay, "one day"},
                                                             {&chart::GanttView::showThreeDays, "three days"},
                                                             {&chart::GanttView::showWeek, "week"},
                                                             {&chart::GanttView::showFourWeeks, "four weeks"}};
    for (const auto& m : modes) {
        (view().*m.show)();
        QScrollBar* time = view().timeScrollBar;
        time->setValue(0);
        QCoreApplication::processEvents();
        // Forward to the end in single steps (a few hundred at most), then back by pages.
        const int step = std::max(time->singleStep(), time->maximum() / 150);
        for (int k = 0; time->value() < time->maximum(); ++k) {
            time->setValue(time->value() + step);
            QCoreApplication::processEvents();
            expectFreshPicture(QStringLiteral("%1, step %2 forward").arg(QLatin1String(m.name)).arg(k));
            if (HasFailure()) return;
        }
        while (time->value() > 0) {
            time->setValue(time->value() - time->pageStep() / 3);
            QCoreApplication::processEvents();
            expectFreshPicture(QStringLiteral("%1, back to %2").arg(QLatin1String(m.name)).arg(time->value()));
            if (HasFailure()) return;
        }
    }
    for (int k = 0; k < 3; ++k) {
        view().rowScrollBar->setValue(view().rowScrollBar->value() + 1);
        QCoreApplication::processEvents();
        expectFreshPicture(QStringLiteral("row step %1").arg(k));
    }
}

// While the planner rests, the chart makes the pictures of the bars a page
// away; the page step after the rest then shapes no caption, and shows what a
// fresh paint shows.
TEST_F(Scrolling, ARestPreparesTheNeighbouringPages)
{
    for (int m = 1; m <= 12; ++m)
        for (int d = 2; d <= 28; ++d)
            addOrder(plan(), 2000 + m * 100 + d, QStringLiteral("M%1").arg(m, 2, 10, QLatin1Char('0')), at(d, 9), 10 * 60);
    show();
    view().showOneDay();
    QCoreApplication::processEvents();
    QScrollBar* time = view().timeScrollBar;
    const double nextDay = state().pxToX(time->pageStep());
    ASSERT_FALSE(state().barsInView(2, nextDay, nextDay + (nextDay - state().pxToX(0))).empty()) << "the next page must hold bars";
    const auto* surface = static_cast<const chart::PlatForm*>(view().rowSurface);
    const int shown = surface->barPicturesMade();
    int last = -1;
    const bool prepared = QTest::qWaitFor(
        [&] {
            const int now = surface->barPicturesMade();
            const bool settled = now > shown && now == last;
            last = now;
            return settled;
        },
        5000);
    ASSERT_TRUE(prepared) << "no pictures were prepared while the view rested";

    time->setValue(time->value() + time->pageStep());
    QCoreApplication::processEvents();
    EXPECT_EQ(surface->barPicturesMade(), last) << "the page step made pictures the rest should have made";
    expectFreshPicture(QStringLiteral("a page step after a rest"));
}
