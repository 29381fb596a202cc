// The order detail window with real keys and clicks: what it shows, where
// Enter goes, the recomputation rules, and what closing does to the plan.
#include "WindowTestSupport.h"

#include "reschedule/DetailMessages.h"
#include "windows/DetailLines.h"

using namespace windows_test;

namespace {

class DetailWindow : public WindowTest {};

TEST_F(DetailWindow, ShowsTheRecordGreyWhereItCannotBeEdited)
{
    details.related = {{true, 700001, "PO-1", "P-9", "ポンプ筐体", "C001", "東和電機(株)", day(20), 380},
                       {false, 800001, {}, "P-9", "ポンプ筐体", "C002", "みなと精機", day(22), 300}};
    const int i = addOrder(7, "M1", at(2, 8));
    plan().edit(i).remarks = QStringLiteral("型替え注意");
    auto w = openWindow(i);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("詳細情報"));
    EXPECT_EQ(w->Text14->text(), "7");
    EXPECT_EQ(w->Text4->text(), "5007");
    EXPECT_EQ(w->Text7->text(), "2024/04/02");
    EXPECT_EQ(w->Text1->text(), "08:00:00");
    EXPECT_EQ(w->Text6->text(), "08:25:00");
    EXPECT_EQ(w->txt_Before_EndYMD->text(), "0000/00/00");  // nothing supplies it
    EXPECT_EQ(w->txt_Before_EndTIME->text(), "00:00:00");
    EXPECT_EQ(w->Text5->currentText(), "M1");
    EXPECT_EQ(w->Text28->text(), "4");
    EXPECT_EQ(w->Text27->text(), "8");
    EXPECT_EQ(w->Text39->text(), QStringLiteral("型替え注意"));
    EXPECT_TRUE(w->Text14->isReadOnly());
    EXPECT_FALSE(w->Text3->isReadOnly());
    EXPECT_EQ(w->Text14->palette().color(QPalette::Base), QColor(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(w->Text3->palette().color(QPalette::Base), QColor(Qt::white));
    ASSERT_EQ(w->JList->count(), 2);
    EXPECT_TRUE(w->JList->item(0)->text().startsWith(QStringLiteral("受注       700001 PO-1")));
    EXPECT_TRUE(w->JList->item(1)->text().startsWith(QStringLiteral("所要計画   800001")));
    EXPECT_TRUE(w->JList->item(0)->text().endsWith(QStringLiteral("04/20       380")));
    ASSERT_EQ(w->ZList->count(), 1);
    EXPECT_EQ(w->ZList->item(0)->text(), windows::componentLine(plan()[i].components[0]));
    EXPECT_TRUE(w->ZList->item(0)->text().contains(QStringLiteral("34.000")));
    EXPECT_EQ(w->NList->count(), 1);
    EXPECT_EQ(w->GList->count(), 0);
    saveScreenshot(w.get(), QStringLiteral("detail-window"));
}

TEST_F(DetailWindow, EnterStepsThroughTheEditableBoxesAndWraps)
{
    auto w = openWindow(addOrder(7, "M1", at(2, 8)));
    const QList<QWidget*> order = {w->Text18, w->Text7, w->Text1, w->Text8, w->Text6, w->Text12, w->Text5,
                                   w->Text15, w->Text40, w->Text3, w->Text13, w->Text19, w->Text30, w->Text18};
    prompt.answers = {false, false};  // 手配数 and 作業時間 ask; No changes nothing
    w->Text18->setFocus();
    for (int k = 0; k + 1 < order.size(); ++k) {
        ASSERT_EQ(focused(), order[k]) << "step " << k << ": " << QApplication::focusWidget()->objectName().toStdString() << " in "
                                       << QApplication::focusWidget()->parentWidget()->objectName().toStdString();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(focused(), w->Text18);
    EXPECT_EQ(prompt.asked.size(), 2);
    EXPECT_EQ(w->Text3->text(), "100");  // nothing changed on the way

    // A click selects the whole text, and so does gaining the focus.
    QTest::mouseClick(w->Text13, Qt::LeftButton);
    EXPECT_EQ(w->Text13->selectedText(), w->Text13->text());
    QTest::mouseClick(w->Text2, Qt::LeftButton);  // grey boxes too
    EXPECT_EQ(w->Text2->selectedText(), w->Text2->text());
}

TEST_F(DetailWindow, InvalidTimesAndDatesKeepTheFocusWithTheirMessage)
{
    auto w = openWindow(addOrder(7, "M1", at(2, 8)));
    typeAndEnter(w->Text1, "25:00");
    EXPECT_EQ(prompt.told, QStringList{"時刻を正しく入力してください"});
    EXPECT_EQ(focused(), w->Text1);
    typeAndEnter(w->Text1, "11:50");
    EXPECT_EQ(focused(), w->Text8);
    EXPECT_EQ(w->Text1->text(), "11:50:00");
    EXPECT_EQ(w->Text6->text(), "13:15:00");  // 10 minutes before lunch, 15 after

    typeAndEnter(w->Text7, "2024/13/01");
    EXPECT_EQ(prompt.told.last(), "日付を正しく入力してください");
    EXPECT_EQ(focused(), w->Text7);
    typeAndEnter(w->Text7, "２０２４０４０３");
    EXPECT_EQ(w->Text7->text(), "2024/04/03");
    EXPECT_EQ(w->Text8->text(), "2024/04/03");

    typeAndEnter(w->Text8, "soon");
    EXPECT_EQ(prompt.told.last(), "時刻を正しく入力してください");
    EXPECT_EQ(focused(), w->Text8);
}

TEST_F(DetailWindow, AnEndTypedGivesTheTotalAndOnYesTheQuantity)
{
    auto w = openWindow(addOrder(7, "M1", at(2, 8)));
    prompt.answers = {true};
    typeAndEnter(w->Text6, "12:30");  // in the lunch break, counting up: 13:00 is no end, 12:00 ... 13:01
    EXPECT_EQ(prompt.asked, QStringList{reschedule::msg::askQuantityForEnd()});
    EXPECT_EQ(prompt.defaults, QList<bool>{false});
    EXPECT_EQ(w->Text16->text(), "241");
    EXPECT_EQ(w->Text19->text(), "241");
    EXPECT_EQ(w->Text6->text(), "13:01:00");
    EXPECT_EQ(w->Text3->text(), "964");  // Int(241 × 60 / 15) × 1
    EXPECT_EQ(w->Text27->text(), "80");
    EXPECT_TRUE(w->ZList->item(0)->text().contains(QStringLiteral("322.000")));

    typeAndEnter(w->Text6, "07:00");
    EXPECT_EQ(prompt.told.last(), "開始日時よりも前は設定できません");
    EXPECT_EQ(focused(), w->Text6);
}

TEST_F(DetailWindow, SetUpPersonsQuantityWorkAndTotalRecompute)
{
    auto w = openWindow(addOrder(7, "M1", at(2, 8)));
    typeAndEnter(w->Text13, "20");  // R5
    EXPECT_EQ(w->Text19->text(), "25");
    EXPECT_EQ(w->Text16->text(), "45");
    EXPECT_EQ(w->Text6->text(), "08:45:00");
    typeAndEnter(w->Text40, "2");
    EXPECT_EQ(w->Text19->text(), "12");  // 12.5 halves to even

    prompt.answers = {true};  // R6
    typeAndEnter(w->Text3, "480");
    EXPECT_EQ(w->Text19->text(), "60");
    EXPECT_EQ(w->Text16->text(), "80");
    EXPECT_EQ(w->Text28->text(), "0");
    EXPECT_EQ(w->Text27->text(), "40");

    prompt.answers = {false};  // R7, No: the quantity stays
    typeAndEnter(w->Text19, "100");
    EXPECT_EQ(w->Text16->text(), "120");
    EXPECT_EQ(w->Text3->text(), "480");
    EXPECT_EQ(w->Text6->text(), "10:00:00");

    typeAndEnter(w->Text15, "0");  // R5 with no 生産性: cycle 30 over 2 cavities
    EXPECT_EQ(w->Text19->text(), "60");
    prompt.answers = {true};
    typeAndEnter(w->Text19, "90");
    EXPECT_EQ(prompt.told.last(), "生産性が未入力のため、手配数を算出できませんでした。");

    QTest::mouseClick(w->Text16, Qt::LeftButton);  // R8 from the grey total
    QTest::keyClick(w->Text16, Qt::Key_Return);
    EXPECT_EQ(w->Text19->text(), "90");

    settings.DbKind = QStringLiteral("2");  // R9
    typeAndEnter(w->Text5, QStringLiteral("Ｍ２"));
    EXPECT_EQ(w->Text5->currentText(), "M2      ");
    QTest::mouseClick(w->Text18, Qt::LeftButton);
    typeText(w->Text18, QStringLiteral("１"));
    w->Text7->setFocus();  // leaving 固定区分 narrows it
    EXPECT_EQ(w->Text18->text(), "1");
}

TEST_F(DetailWindow, CancelLeavesThePlanAsItWasAfterFormulaQ)
{
    const int i = addOrder(7, "M1", at(2, 8));
    const plan::PlanData before = plan();
    for (int way = 0; way < 3; ++way) {
        auto w = openWindow(i);
        prompt.answers = {true};
        typeAndEnter(w->Text19, "200");  // formula Q: 800 pieces, components recomputed
        EXPECT_EQ(w->Text3->text(), "800");
        typeAndEnter(w->Text1, "09:00");
        if (way == 0) QTest::mouseClick(w->Command8, Qt::LeftButton);
        if (way == 1) w->close();  // the close box
        if (way == 2) QTest::keyClick(w.get(), Qt::Key_Escape);
        EXPECT_FALSE(w->isVisible());
        EXPECT_FALSE(w->applied());
        EXPECT_EQ(plan(), before) << "way " << way;
        EXPECT_EQ(session->history().stepCount(), 0);
    }
}

TEST_F(DetailWindow, ApplyIsOneStepThatUndoGivesBackFieldForField)
{
    const int i = addOrder(7, "M1", at(2, 8));
    const int behind = addOrder(8, "M1", at(2, 9));
    const plan::PlanData before = plan();
    auto w = openWindow(i);
    prompt.answers = {true};
    typeAndEnter(w->Text19, "60");  // Q: 240 pieces, C1 80
    typeAndEnter(w->Text13, "15");  // R5 keeps the work at 60
    typeAndEnter(w->Text30, "1");
    prompt.answers = {true};  // push the bar behind
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_TRUE(w->applied());
    EXPECT_FALSE(w->isVisible());
    const plan::PlanRecord& r = plan()[i];
    EXPECT_EQ(r.orderQty, 240);
    EXPECT_EQ(r.membersA[0].orderQty, 240);
    EXPECT_EQ(r.components[0].requiredQty, 80);
    EXPECT_EQ(r.setupMinutes, 15);
    EXPECT_EQ(r.end(), at(2, 9, 15));
    EXPECT_EQ(r.acceptInspectKind, "1");
    EXPECT_EQ(plan()[behind].start(), at(2, 9, 15));
    EXPECT_EQ(session->history().stepCount(), 1);
    EXPECT_TRUE(session->canSave());

    session->undo();
    EXPECT_EQ(plan(), before);
    session->redo();
    EXPECT_EQ(plan()[i].orderQty, 240);
}

TEST_F(DetailWindow, CompleteRefusesAMissingQuantityAndAnInvalidEnd)
{
    const int i = addOrder(7, "M1", at(2, 8));
    auto w = openWindow(i);
    QTest::mouseClick(w->Text3, Qt::LeftButton);
    QTest::keyClick(w->Text3, Qt::Key_Delete);
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_EQ(prompt.told.last(), "手配数は省略もしくは０は入力できません。");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(focused(), w->Text3);

    QTest::keyClicks(w->Text3, "100");
    QTest::mouseClick(w->Text6, Qt::LeftButton);
    typeText(w->Text6, QStringLiteral("8時"));  // typed, never entered
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_EQ(prompt.told.last(), "時刻を正しく入力してください");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(focused(), w->Text6);
    EXPECT_EQ(session->history().stepCount(), 0);
}

TEST_F(DetailWindow, VariantsChangeTheComponentsUntilResultsExist)
{
    details.variantList = {{1, {{"C1", "樹脂", 1, 3, 0, "2", 0}}}, {2, {{"C7", "樹脂(再生材)", 1, 2, 0, "1", 0}}}};
    const int i = addOrder(7, "M1", at(2, 8));
    auto w = openWindow(i);
    w->ListTabs->setCurrentIndex(1);
    EXPECT_EQ(w->Text37->text(), "1");
    EXPECT_EQ(w->KList->currentRow(), 0);
    QTest::mouseClick(w->KList->viewport(), Qt::LeftButton, {}, w->KList->visualItemRect(w->KList->item(1)).center());
    EXPECT_EQ(w->Text37->text(), "2");
    EXPECT_TRUE(w->ZList->item(0)->text().startsWith(QStringLiteral("C7")));
    EXPECT_TRUE(w->ZList->item(0)->text().contains(QStringLiteral("50.000")));
    prompt.answers = {false};  // a new quantity recomputes them by the variant's own ratios
    typeAndEnter(w->Text3, "300");
    EXPECT_TRUE(w->ZList->item(0)->text().contains(QStringLiteral("150.000")));
    saveScreenshot(w.get(), QStringLiteral("detail-window-variant"));
    QTest::mouseClick(w->Command8, Qt::LeftButton);
    EXPECT_EQ(plan()[i].components[0].itemCode, "C1");

    plan().edit(i).receivedQty = 5;
    plan().edit(i).membersA[0].receivedQty = 5;
    auto again = openWindow(i);
    again->ListTabs->setCurrentIndex(1);
    QTest::mouseClick(again->KList->viewport(), Qt::LeftButton, {}, again->KList->visualItemRect(again->KList->item(1)).center());
    EXPECT_EQ(prompt.told.last(), "実績済みのため、構成選択順序は変更不可です");
    EXPECT_EQ(again->Text37->text(), "1");
    EXPECT_EQ(again->KList->currentRow(), 0);
}

TEST_F(DetailWindow, InquiryModeComputesAndAppliesButNeverEnablesTheSave)
{
    settings.KengenKubun = QStringLiteral("0");
    const int i = addOrder(7, "M1", at(2, 8));
    auto w = openWindow(i);
    typeAndEnter(w->Text13, "30");
    EXPECT_EQ(w->Text16->text(), "55");
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_EQ(plan()[i].setupMinutes, 30);
    EXPECT_FALSE(session->canSave());
}

}  // namespace
