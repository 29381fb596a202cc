// The schedule list as the planner uses it: opened from the main window,
// searched, sorted, reopened, following the plan, and a double-click that
// leads to the bar.
#include "WindowFixture.h"

#include "support/KeyInput.h"
#include "windows/ScheduleListWindow.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>

using namespace windows_test;
namespace sl = reschedule::schedule_list;

namespace {

class ScheduleList : public ChartWindowTest {
protected:
    windows::ScheduleListWindow* open(chart::MainForm& f)
    {
        QTest::mouseClick(f.scheduleListButton, Qt::LeftButton);
        QCoreApplication::processEvents();
        return f.findChild<windows::ScheduleListWindow*>();
    }
    windows::ScheduleListWindow* open() { return open(*form); }
    QString cell(windows::ScheduleListWindow* w, int row, int column)
    {
        return w->livIchiran->model()->index(row, column).data().toString();
    }
    void clickHeader(windows::ScheduleListWindow* w, int column)
    {
        QHeaderView* h = w->livIchiran->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(h->sectionViewportPosition(column) + 8, h->height() / 2));
    }
    void setText(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        testing_support::typeText(box, text);
    }
    int addListed(std::int64_t orderNo, const char* machine, core::Moment start, const char* itemCode, std::int64_t qty = 100)
    {
        const int rec = addOrder(plan(), orderNo, QString::fromLatin1(machine), start, 60);
        plan::PlanRecord& r = plan().edit(rec);
        r.itemCode2 = QString::fromLatin1(itemCode);
        r.machineCodeDb = QString::fromLatin1(machine);
        r.orderQty = qty;
        return rec;
    }
};

TEST_F(ScheduleList, NothingOnTheRowsIsToldAndTheWindowPlaceForgotten)
{
    addOrder(plan(), 1, QStringLiteral("X99"), at(3, 8), 60);  // a machine the chart has no row for
    const int member = addOrder(plan(), 2, QStringLiteral("M01"), at(3, 8), 60);
    plan().edit(member).setRepOrderNo = 7;
    plan().edit(member).isSetMember = true;
    settings.scheduleList.top = settings.scheduleList.left = 3000;
    show();
    EXPECT_TRUE(form->scheduleListButton->isEnabled());
    windows::ScheduleListWindow* w = open();
    ASSERT_TRUE(w);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(prompt.texts(), QStringList{QStringLiteral("予定一覧画面に表示するデータはありません。")});
    EXPECT_EQ(settings.scheduleList.top, 0);
    EXPECT_EQ(settings.scheduleList.left, 0);
}

TEST_F(ScheduleList, FirstFillShowsTheChartsRowsInTableOrderAtItsPlace)
{
    const int a = addListed(11, "M01", at(3, 8), "AB-1");
    plan().edit(a).mouldShortName = QStringLiteral(" K-1 ");
    const int unplaced = addListed(12, " ", at(2, 8), "CD-2", 40);
    addOrder(plan(), 13, QStringLiteral("X99"), at(3, 8), 60);  // apart from the rows: not listed
    show();
    windows::ScheduleListWindow* w = open();
    ASSERT_TRUE(w && w->isVisible());
    saveScreenshot(w, QStringLiteral("schedule-list"));
    EXPECT_EQ(w->objectName(), QStringLiteral("frmYoteiIchiran"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("予定一覧"));
    EXPECT_EQ(w->pos(), QPoint(540 / 15, 3705 / 15));
    EXPECT_EQ(w->shownRecords(), std::vector<int>({a, unplaced}));
    QStringList row;
    for (int c = 0; c < sl::ColumnCount; ++c) row << cell(w, 0, c);
    EXPECT_EQ(row, QStringList({"2", "11", "AB-1", QStringLiteral("カバー11"), "10", QStringLiteral("成形"), "M01", "2024/12/03",
                                "2024/12/03", "100", "K-1", ""}));
    EXPECT_EQ(cell(w, 1, sl::ColMachine), QStringLiteral("未設定"));
    EXPECT_EQ(w->txtYYMMDD_St->text(), QStringLiteral("2024/12/02"));
    EXPECT_EQ(w->txtYYMMDD_Ed->text(), QStringLiteral("2024/12/31"));
    EXPECT_EQ(w->livIchiran->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("SystemＩd"));
}

TEST_F(ScheduleList, SearchChecksTheDueDatesThenKeepsWhatContainsTheCodes)
{
    const int a = addListed(11, "M01", at(3, 8), "XAB-1");
    const int b = addListed(12, "M02", at(5, 8), "AB");
    addListed(13, "M03", at(3, 8), "CD");
    const int late = addListed(14, "M04", at(20, 8), "AB-9");
    show();
    windows::ScheduleListWindow* w = open();
    ASSERT_TRUE(w);
    setText(w->txtHinmeiCd, QStringLiteral("AB"));
    setText(w->txtYYMMDD_St, QString());
    QTest::keyClick(w->txtHinmeiCd, Qt::Key_Return);  // Enter in a box searches
    setText(w->txtYYMMDD_St, QStringLiteral("２０２４/１２/０３"));
    setText(w->txtYYMMDD_Ed, QStringLiteral("12/10"));
    QTest::mouseClick(w->cmdKensaku, Qt::LeftButton);
    EXPECT_EQ(prompt.texts(), QStringList({QStringLiteral("納期始期に日付を入力して下さい。"), QStringLiteral("納期終期に日付を正しく入力して下さい。")}));
    for (const Notice& n : prompt.told) {
        EXPECT_EQ(n.title, QStringLiteral("日付入力エラー"));
        EXPECT_EQ(n.icon, core::Prompt::Icon::Warning);
    }
    EXPECT_EQ(w->shownRecords().size(), 4u) << "a refused search leaves the list";
    EXPECT_FALSE(settings.scheduleList.searchActive);

    setText(w->txtYYMMDD_Ed, QStringLiteral("2024/12/10"));
    QTest::keyClick(w->txtYYMMDD_Ed, Qt::Key_Return);
    EXPECT_EQ(w->shownRecords(), std::vector<int>({a, b})) << "contains AB, ends within 12/3 to 12/10";
    EXPECT_TRUE(settings.scheduleList.searchActive);
    (void)late;
}

TEST_F(ScheduleList, HeaderClicksSortByTheColumnAndAgainTheOtherWay)
{
    const int ten = addListed(11, "M01", at(3, 8), "AB-1", 10);
    const int nine = addListed(12, "M02", at(3, 8), "AB-2", 9);
    const int hundred = addListed(13, "M03", at(4, 8), "AB-3", 100);
    const int other = addListed(14, "M04", at(4, 8), "CD-4", 1);
    show();
    windows::ScheduleListWindow* w = open();
    ASSERT_TRUE(w);
    clickHeader(w, sl::ColOrderQty);
    EXPECT_EQ(w->shownRecords(), std::vector<int>({other, nine, ten, hundred})) << "9 before 10";
    EXPECT_EQ(cell(w, 0, sl::ColStart), QStringLiteral("24/12/04")) << "dates after a sort";
    clickHeader(w, sl::ColOrderQty);
    EXPECT_EQ(w->shownRecords(), std::vector<int>({hundred, ten, nine, other}));

    // A sort keeps the list narrowed to the search its boxes show.
    setText(w->txtHinmeiCd, QStringLiteral("AB"));
    QTest::mouseClick(w->cmdKensaku, Qt::LeftButton);
    setText(w->txtHinmeiCd, QStringLiteral("typed, not searched"));
    clickHeader(w, sl::ColItemCode);
    EXPECT_EQ(w->shownRecords(), std::vector<int>({ten, nine, hundred}));
    EXPECT_EQ(w->txtHinmeiCd->text(), QStringLiteral("AB"));
}

TEST_F(ScheduleList, SearchSortAndPlaceAreRememberedForTheRun)
{
    const int a = addListed(11, "M01", at(3, 8), "AB-1", 50);
    const int b = addListed(12, "M02", at(4, 8), "AB-2", 5);
    addListed(13, "M03", at(4, 8), "CD-3", 7);
    show();
    windows::ScheduleListWindow* w = open();
    ASSERT_TRUE(w);
    setText(w->txtHinmeiCd, QStringLiteral("AB"));
    QTest::mouseClick(w->cmdKensaku, Qt::LeftButton);
    clickHeader(w, sl::ColOrderQty);
    ASSERT_EQ(w->shownRecords(), std::vector<int>({b, a}));
    w->move(300, 200);
    QTest::mouseClick(w->cmdCancel, Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(settings.scheduleList.left, 300 * 15);

    w = open();
    ASSERT_TRUE(w->isVisible());
    EXPECT_EQ(w->pos(), QPoint(300, 200));
    EXPECT_EQ(w->txtHinmeiCd->text(), QStringLiteral("AB"));
    EXPECT_EQ(w->shownRecords(), std::vector<int>({b, a}));
    w->close();

    // The next main window of the run (another class chosen) opens it the same way.
    chart::MainForm next(settings, *database);
    buildPlant(next.planner());
    addOrder(next.planData(), 21, QStringLiteral("M01"), at(3, 8), 60);
    const int match = addOrder(next.planData(), 22, QStringLiteral("M01"), at(4, 8), 60);
    next.planData().edit(match).itemCode2 = QStringLiteral("ZAB");
    windows::attachListWindows(next);
    next.showPlan();
    next.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&next));
    windows::ScheduleListWindow* again = open(next);
    ASSERT_TRUE(again && again->isVisible());
    EXPECT_EQ(again->pos(), QPoint(300, 200));
    EXPECT_EQ(again->txtHinmeiCd->text(), QStringLiteral("AB"));
    EXPECT_EQ(again->shownRecords(), std::vector<int>({match}));
}

TEST_F(ScheduleList, FollowsThePlanAndNeverShowsARecordThatIsGone)
{
    const int a = addListed(11, "M01", at(3, 8), "AB-1");
    const int b = addListed(12, "M02", at(4, 8), "AB-2");
    show();
    windows::ScheduleListWindow* w = open();
    ASSERT_TRUE(w);
    clickHeader(w, sl::ColStart);
    ASSERT_EQ(w->shownRecords(), std::vector<int>({a, b}));

    // A change elsewhere: the row shows it, the sort follows it.
    form->session().apply(QStringLiteral("test"), [&](reschedule::RuleContext& ctx) {
        plan::PlanRecord& r = ctx.plan.edit(a);
        r.setStart(at(6, 8));
        r.setEnd(at(6, 9));
        r.orderQty = 250;
        reschedule::RuleOutcome out;
        out.touch(a);
        return out;
    });
    EXPECT_EQ(w->shownRecords(), std::vector<int>({b, a}));
    EXPECT_EQ(cell(w, 1, sl::ColOrderQty), QStringLiteral("250"));

    // A record that appears, then goes again with an undo.
    int added = 0;
    form->session().apply(QStringLiteral("add"), [&](reschedule::RuleContext& ctx) {
        plan::PlanRecord r = ctx.plan[b];
        r.barIndex = ctx.plan.largestBarIndex() + 1;
        r.orderNo = 99;
        r.setStart(at(2, 8));
        r.setEnd(at(2, 9));
        added = ctx.plan.append(r);
        reschedule::RuleOutcome out;
        out.touch(added);
        return out;
    });
    EXPECT_EQ(w->shownRecords(), std::vector<int>({added, b, a}));
    form->actUndo->trigger();
    EXPECT_EQ(w->shownRecords(), std::vector<int>({b, a}));

    // Merged away: no bar, no line.
    form->session().apply(QStringLiteral("merge"), [&](reschedule::RuleContext& ctx) {
        plan::PlanRecord& r = ctx.plan.edit(b);
        r.isMergedAway = true;
        r.orderNo = 0;
        reschedule::RuleOutcome out;
        out.touch(b);
        return out;
    });
    EXPECT_EQ(w->shownRecords(), std::vector<int>({a}));
    for (int row = 0; row < w->livIchiran->model()->rowCount(); ++row) EXPECT_NE(cell(w, row, sl::ColOrderNo), QStringLiteral("0"));
}

TEST_F(ScheduleList, DoubleClickShowsTheBarAndAsksForItsDetail)
{
    addListed(11, "M01", at(3, 8), "AB-1");
    const int far = addListed(12, "M12", at(27, 8), "AB-2");
    show();
    windows::ScheduleListWindow* w = open();
    ASSERT_TRUE(w);
    QSignalSpy detail(form.get(), &chart::MainForm::detailRequested);
    const QRect r = w->livIchiran->visualRect(w->livIchiran->model()->index(1, sl::ColOrderNo));
    // A double-click as the window system delivers it: press, release, double-click, release.
    QWidget* vp = w->livIchiran->viewport();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent e(type, QPointF(r.center()), vp->mapToGlobal(QPointF(r.center())), Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(vp, &e);
    }
    ASSERT_EQ(detail.count(), 1);
    EXPECT_EQ(detail.at(0).at(0).toInt(), far);
    EXPECT_EQ(state().selectedRecord(), far);
    EXPECT_EQ(form->grid().selectedRecord(), far);
    EXPECT_TRUE(view().rowSurface->rect().intersects(state().barRectPx(far))) << "scrolled into view";
}

}  // namespace
