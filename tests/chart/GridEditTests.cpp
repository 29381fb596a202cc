// The plan grid edited with the keyboard and mouse as a planner does, the bulk
// change of several selected rows, and the bar and list searches of the window.
#include "ChartFixture.h"

#include "reschedule/MasterLookup.h"
#include "support/KeyInput.h"
#include "support/NoMasters.h"
#include "support/ScriptedPrompt.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using namespace chart_test;
using Col = chart::PlanGridModel::Column;

namespace {

class GridEditing : public ChartTest {
protected:
    void show()
    {
        ChartTest::show();
        form->setPrompt(&prompt);
        form->setMasterLookup(&masters);
    }
    chart::PlanDataGrid& grid() { return form->grid(); }
    // The editor commits once the key is through, and the rules run once the editor has closed.
    static void settle()
    {
        for (int k = 0; k < 3; ++k) QCoreApplication::processEvents();
    }
    QModelIndex cell(int rec, int column) { return grid().gridModel().index(grid().gridModel().gridRowOf(rec), column); }
    QString shown(int rec, int column) { return cell(rec, column).data().toString(); }
    void goTo(int rec, int column)
    {
        grid().setFocus();
        grid().setCurrentIndex(cell(rec, column));
    }
    template <typename Editor>
    Editor* openEditor()
    {
        QTest::keyClick(&grid(), Qt::Key_F2);
        return grid().viewport()->findChild<Editor*>();
    }
    // F2, the whole text replaced by `text`, Enter; the rules run once the editor is closed.
    void typeInto(int rec, int column, const QString& text)
    {
        goTo(rec, column);
        QLineEdit* editor = openEditor<QLineEdit>();
        ASSERT_TRUE(editor) << "no editor opened";
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        testing_support::typeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        settle();
    }
    // F2 on a kind, arrow keys through its list, Enter.
    void choose(int rec, int column, int stepsDown)
    {
        goTo(rec, column);
        QComboBox* combo = openEditor<QComboBox>();
        ASSERT_TRUE(combo) << "no list opened";
        for (int k = 0; k < std::abs(stepsDown); ++k) QTest::keyClick(combo, stepsDown > 0 ? Qt::Key_Down : Qt::Key_Up);
        QTest::keyClick(combo, Qt::Key_Return);
        settle();
    }
    std::vector<plan::PlanRecord> snapshot()
    {
        std::vector<plan::PlanRecord> all;
        for (int i = 1; i <= plan().size(); ++i) all.push_back(plan()[i]);
        return all;
    }
    void ctrlClick(int rec, Qt::KeyboardModifiers mods = Qt::ControlModifier)
    {
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, mods, grid().visualRect(cell(rec, Col::ColOrderNo)).center());
    }

    testing_support::ScriptedPrompt prompt;
    testing_support::NoMasters masters;
};

TEST_F(GridEditing, EveryEditableColumnThroughTheKeyboardOneStepEach)
{
    const int rec = addOrder(plan(), 11, QStringLiteral("M01"), at(3, 8), 120);
    const int next = addOrder(plan(), 12, QStringLiteral("M01"), at(4, 13), 60);
    show();
    const auto loaded = snapshot();
    EXPECT_FALSE(form->saveButton->isEnabled());

    // Typing straight into the quantity cell opens its editor.
    goTo(rec, Col::ColOrderQty);
    QTest::keyClick(&grid(), Qt::Key_2);
    QLineEdit* editor = grid().viewport()->findChild<QLineEdit*>();
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->text(), QStringLiteral("2")) << "the key typed replaces the quantity";
    QTest::keyClicks(editor, "50");
    QTest::keyClick(editor, Qt::Key_Return);
    prompt.answers = {false};  // keep the work time
    settle();
    EXPECT_EQ(prompt.asked, QStringList{QStringLiteral("作業時間・終了時間の調整を行ないますか？")});
    EXPECT_EQ(plan()[rec].orderQty, 250);
    EXPECT_EQ(shown(rec, Col::ColOrderQty), QStringLiteral("250"));
    EXPECT_TRUE(form->saveButton->isEnabled());
    EXPECT_EQ(form->history().stepCount(), 1);

    // The start, typed in full width inside the lunch break: onto the grid and the working time;
    // the bar now running into the next one pushes it when the planner agrees.
    prompt.answers = {true};
    typeInto(rec, Col::ColStart, QStringLiteral("２０２４/１２/０４ １２:１５"));
    EXPECT_EQ(plan()[rec].start(), at(4, 13));
    EXPECT_EQ(plan()[next].start(), plan()[rec].end());
    EXPECT_EQ(state().bar(rec).startSec, at(4, 13).seconds()) << "the bar follows";
    EXPECT_EQ(shown(rec, Col::ColStart), QStringLiteral("2024/12/04 13:00"));

    choose(rec, Col::ColConfirm, -1);  // 確定 → 予定
    EXPECT_EQ(plan()[rec].confirmKind, plan::ConfirmKind::Planned);
    EXPECT_EQ(shown(rec, Col::ColConfirm), QStringLiteral("予定"));
    choose(rec, Col::ColFix, 1);  // 0:可動 → 1:後ろ固定
    EXPECT_EQ(plan()[rec].fixKind, plan::FixKind::BackFixed);
    typeInto(rec, Col::ColPersons, QStringLiteral("2"));
    EXPECT_EQ(plan()[rec].requiredPersons, 2);
    goTo(rec, Col::ColRemarks);
    QLineEdit* remark = openEditor<QLineEdit>();
    ASSERT_TRUE(remark);
    testing_support::typeText(remark, QStringLiteral("客先指定日"));
    saveScreenshot(form.get(), QStringLiteral("grid-in-edit"));
    QTest::keyClick(remark, Qt::Key_Return);
    settle();
    EXPECT_EQ(plan()[rec].remarks, QStringLiteral("客先指定日"));
    EXPECT_TRUE(plan()[rec].isChanged && plan()[rec].isEdited);
    EXPECT_EQ(form->history().stepCount(), 6);
    saveScreenshot(form.get(), QStringLiteral("grid-after-edits"));

    // An editor left as it was is no change.
    typeInto(rec, Col::ColRemarks, QStringLiteral("客先指定日"));
    EXPECT_EQ(form->history().stepCount(), 6);

    for (int k = 0; k < 6; ++k) form->actUndo->trigger();
    EXPECT_EQ(snapshot(), loaded);
    EXPECT_FALSE(form->saveButton->isEnabled());
    EXPECT_EQ(shown(rec, Col::ColOrderQty), QStringLiteral("100"));
}

TEST_F(GridEditing, SetMembersAndFullyFixedRowsOpenNoEditor)
{
    const int rep = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    const int member = addOrder(plan(), 2, QStringLiteral("M01"), at(3, 8), 60);
    const int fixed = addOrder(plan(), 3, QStringLiteral("M02"), at(3, 8), 60);
    plan().edit(rep).setRepOrderNo = plan().edit(member).setRepOrderNo = 1;
    plan().edit(member).isSetMember = true;
    plan().edit(fixed).fixKind = plan::FixKind::FullyFixed;
    show();
    goTo(member, Col::ColRemarks);
    EXPECT_EQ(openEditor<QLineEdit>(), nullptr);
    goTo(fixed, Col::ColOrderQty);
    QTest::keyClick(&grid(), Qt::Key_5);
    EXPECT_EQ(grid().viewport()->findChild<QLineEdit*>(), nullptr);
    EXPECT_EQ(prompt.told, QStringList({QStringLiteral("セット品手配は、代表手配のみ変更可能です。"),
                                        QStringLiteral("2:完全固定の手配は、入力不可です。")}));
    // Columns that are only shown never open an editor.
    goTo(rep, Col::ColItemName);
    EXPECT_EQ(openEditor<QLineEdit>(), nullptr);
    EXPECT_EQ(form->history().stepCount(), 0);
}

TEST_F(GridEditing, SeveralRowsChangeTheirConfirmationKindInOneStep)
{
    const int a = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    const int b = addOrder(plan(), 2, QStringLiteral("M02"), at(3, 8), 60);
    const int c = addOrder(plan(), 3, QStringLiteral("M03"), at(3, 8), 60);
    const int fixed = addOrder(plan(), 4, QStringLiteral("M04"), at(3, 8), 60);
    const int untouched = addOrder(plan(), 5, QStringLiteral("M05"), at(3, 8), 60);
    plan().edit(fixed).fixKind = plan::FixKind::FullyFixed;
    show();
    const auto loaded = snapshot();
    ctrlClick(a, Qt::NoModifier);
    ctrlClick(c, Qt::ShiftModifier);  // a to c
    ctrlClick(fixed);                 // and the fixed one
    EXPECT_EQ(grid().selectedRecords(), std::vector<int>({a, b, c, fixed}));
    QTest::mouseClick(form->ComIkkatsuYotei, Qt::LeftButton);
    for (int r : {a, b, c}) EXPECT_EQ(plan()[r].confirmKind, plan::ConfirmKind::Planned);
    EXPECT_TRUE(plan()[fixed].isConfirmed());
    EXPECT_TRUE(plan()[untouched].isConfirmed());
    EXPECT_EQ(prompt.told, QStringList{QStringLiteral("次の手配は変更できませんでした。\n手配番号 4：2:完全固定の手配は、入力不可です。")});
    EXPECT_EQ(form->history().stepCount(), 1);
    EXPECT_EQ(shown(b, Col::ColConfirm), QStringLiteral("予定"));
    form->actUndo->trigger();
    EXPECT_EQ(snapshot(), loaded);
}

TEST_F(GridEditing, InquiryModeTriesEditsButNeverSaves)
{
    settings.KengenKubun = QStringLiteral("0");
    const int rec = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    show();
    typeInto(rec, Col::ColRemarks, QStringLiteral("試し"));
    EXPECT_EQ(plan()[rec].remarks, QStringLiteral("試し"));
    ctrlClick(rec, Qt::NoModifier);
    QTest::mouseClick(form->ComIkkatsuYotei, Qt::LeftButton);
    EXPECT_EQ(plan()[rec].confirmKind, plan::ConfirmKind::Planned);
    EXPECT_FALSE(form->saveButton->isEnabled());
    EXPECT_TRUE(form->actUndo->isEnabled());
}

TEST_F(GridEditing, BarSearchStepsThroughTheMatchesAndSaysWhenThereIsNone)
{
    // Matches far apart in time and rows: each must be scrolled into view.
    const int a = addOrder(plan(), 4711, QStringLiteral("M01"), at(3, 8), 60);
    addOrder(plan(), 900, QStringLiteral("M02"), at(3, 8), 60);
    const int b = addOrder(plan(), 5000, QStringLiteral("M12"), at(27, 8), 60);
    plan().edit(b).modelName = QStringLiteral("ｶﾊﾞｰ4711用");
    show();
    QLineEdit* field = form->txtBarKensaku;
    testing_support::typeText(field, QStringLiteral("４７１１"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(grid().selectedRecord(), a);
    EXPECT_EQ(state().selectedRecord(), a);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(grid().selectedRecord(), b);
    EXPECT_EQ(state().selectedRecord(), b);
    EXPECT_TRUE(view().rowSurface->rect().intersects(state().barRectPx(b))) << "scrolled to the bar";
    QTest::keyClick(field, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(grid().selectedRecord(), a);
    EXPECT_TRUE(view().rowSurface->rect().intersects(state().barRectPx(a)));

    field->clear();
    testing_support::typeText(field, QStringLiteral("存在しない"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(prompt.told, QStringList{QStringLiteral("「存在しない」に該当する手配はありません。")});
    EXPECT_EQ(grid().selectedRecord(), a) << "the selection stays";
}

TEST_F(GridEditing, ListSearchNarrowsTheGridWithoutChangingThePlan)
{
    const int a = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    const int b = addOrder(plan(), 2, QStringLiteral("M02"), at(3, 8), 60);
    const int c = addOrder(plan(), 3, QStringLiteral("M03"), at(3, 8), 60);
    plan().edit(a).modelName = QStringLiteral("ｶﾊﾞｰ");
    plan().edit(b).modelName = QStringLiteral("ギア");
    plan().edit(c).itemCode = QStringLiteral("cover-1");
    plan().edit(c).modelName = QStringLiteral("カバー（大）");
    show();
    const auto loaded = snapshot();
    testing_support::typeText(form->txtListKensaku, QStringLiteral("カバ"));
    const chart::PlanGridModel& m = grid().gridModel();
    ASSERT_EQ(m.rowCount(), 2);
    EXPECT_EQ(m.recordAt(0), a);
    EXPECT_EQ(m.recordAt(1), c);
    EXPECT_EQ(form->lblListCount->text(), QStringLiteral("2 / 3 件"));
    saveScreenshot(form.get(), QStringLiteral("grid-list-search"));

    form->txtListKensaku->clear();
    testing_support::typeText(form->txtListKensaku, QStringLiteral("ＣＯＶＥＲ"));
    ASSERT_EQ(m.rowCount(), 1);
    EXPECT_EQ(m.recordAt(0), c);
    form->txtListKensaku->clear();
    EXPECT_EQ(m.rowCount(), 3);
    EXPECT_EQ(form->lblListCount->text(), QStringLiteral("3 件"));
    EXPECT_EQ(snapshot(), loaded);
    EXPECT_EQ(form->history().stepCount(), 0);
}

}  // namespace
