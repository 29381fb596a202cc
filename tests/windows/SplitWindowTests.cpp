// The order split window: lot lines, counts for both rings of a lot, the
// checks, and the split started from the detail window, which shows the rest.
#include "WindowTestSupport.h"

#include "reschedule/DetailMessages.h"

using namespace windows_test;

namespace {

class SplitWindow : public WindowTest {
protected:
    // Order 41 (lot 501) and 42 (lot 502) on one bar; with `ring`, their outer rings 51 and 52 in group B.
    int addLots(bool ring)
    {
        const int i = addOrder(41, "M1", at(2, 8), 150);
        plan::PlanRecord& r = plan().edit(i);
        r.membersA = {plan::MemberOrder{.planNo = 501, .orderNo = 41, .orderQty = 100, .processName = "研削", .modelName = "6205 内輪"},
                      plan::MemberOrder{.planNo = 502, .orderNo = 42, .orderQty = 50, .processName = "研削", .modelName = "6205 内輪"}};
        if (ring)
            r.membersB = {plan::MemberOrder{.planNo = 501, .orderNo = 51, .orderQty = 100, .processName = "研削", .modelName = "6205 外輪"},
                          plan::MemberOrder{.planNo = 502, .orderNo = 52, .orderQty = 50, .processName = "研削", .modelName = "6205 外輪"}};
        r.memberCount = ring ? 4 : 2;
        lookup.rules[{41, "C1"}] = reschedule::RequirementRule{"2", 0, 1, 3, 0};
        return i;
    }
    std::unique_ptr<windows::BunWindow> openSplit(int i)
    {
        auto w = std::make_unique<windows::BunWindow>(*session, i);
        w->show();
        QApplication::setActiveWindow(w.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return w;
    }
    static void clickLine(QListWidget* list, int row)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    static void enterCount(windows::BunWindow& w, const QString& count)
    {
        QTest::keyClicks(w.Text14, count);
        QTest::keyClick(w.Text14, Qt::Key_Return);
    }
};

TEST_F(SplitWindow, ACountGoesToBothRingsOfTheLotAndTheChecksTell)
{
    const int i = addLots(true);
    const plan::PlanData before = plan();
    auto w = openSplit(i);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("手配分割"));
    ASSERT_EQ(w->NList->count(), 2);
    ASSERT_EQ(w->GList->count(), 2);
    EXPECT_EQ(w->NList->currentRow(), 0);
    EXPECT_FALSE(w->Text14->isEnabled());
    EXPECT_TRUE(w->NList->item(0)->text().endsWith(QStringLiteral("         0/100      ")));

    QTest::mouseClick(w->Command3, Qt::LeftButton);
    EXPECT_EQ(prompt.told.last(), reschedule::msg::chooseLots());

    clickLine(w->GList, 1);
    EXPECT_EQ(w->Text1->text(), "502");
    EXPECT_TRUE(w->Text14->isEnabled());
    EXPECT_EQ(w->Text14->selectedText(), "0");
    enterCount(*w, "60");
    EXPECT_TRUE(w->NList->item(1)->text().endsWith(QStringLiteral("        60/50       ")));
    EXPECT_TRUE(w->GList->item(1)->text().endsWith(QStringLiteral("        60/50       ")));
    EXPECT_EQ(w->Text2->text(), "60");
    EXPECT_EQ(w->Text3->text(), "60");
    EXPECT_TRUE(w->NList->selectedItems().isEmpty());
    saveScreenshot(w.get(), QStringLiteral("split-window"));
    QTest::mouseClick(w->Command3, Qt::LeftButton);
    EXPECT_EQ(prompt.told.last(), reschedule::msg::innerOverLot());

    clickLine(w->NList, 1);
    enterCount(*w, "20");
    prompt.answers = {false};  // No to the confirmation stops
    QTest::mouseClick(w->Command3, Qt::LeftButton);
    EXPECT_EQ(prompt.asked.last(), reschedule::msg::askSplit());
    EXPECT_EQ(prompt.defaults.last(), false);
    EXPECT_TRUE(w->isVisible());
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_FALSE(w->splitDone());
    EXPECT_EQ(plan(), before);
}

TEST_F(SplitWindow, SplitFromTheDetailWindowIsOneStepAndTheDetailShowsTheRest)
{
    const int i = addLots(false);
    const plan::PlanData before = plan();
    auto w = openWindow(i);
    bool splitShown = false;
    QTimer::singleShot(0, [&] {
        auto* bun = qobject_cast<windows::BunWindow*>(QApplication::activeModalWidget());
        if (!bun) return;
        splitShown = true;
        clickLine(bun->NList, 0);
        enterCount(*bun, "40");
        prompt.answers = {true};
        QTest::mouseClick(bun->Command3, Qt::LeftButton);
    });
    QTest::mouseClick(w->Command3, Qt::LeftButton);
    ASSERT_TRUE(splitShown);
    EXPECT_EQ(plan().size(), before.size() + 1);
    EXPECT_EQ(w->Text3->text(), "110");
    EXPECT_EQ(w->Text19->text(), "28");  // 110 × 15 s
    EXPECT_EQ(w->Text6->text(), "08:28:00");
    EXPECT_EQ(w->Text27->text(), "9");
    EXPECT_EQ(w->NList->count(), 2);
    EXPECT_EQ(session->history().stepCount(), 1);
    const plan::PlanRecord& added = plan()[plan().size()];
    EXPECT_EQ(added.orderQty, 40);
    EXPECT_LT(added.orderNo, 0);

    // Closing the detail window without changes leaves the split as its own step.
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_EQ(session->history().stepCount(), 1);
    session->undo();
    EXPECT_EQ(plan(), before);
}

TEST_F(SplitWindow, SetTakeOrdersAreNotSplit)
{
    const int i = addLots(false);
    plan().edit(i).setRepOrderNo = 41;  // the representative of its own set
    auto w = openWindow(i);
    QTest::mouseClick(w->Command3, Qt::LeftButton);
    EXPECT_EQ(prompt.told.last(), QStringLiteral("セット取り手配は、手配分割できません"));
    EXPECT_EQ(QApplication::activeModalWidget(), w.get());
}

}  // namespace
