// The window's caption, the save indicator and switching the classification.
#include "ChartFixture.h"

#include "support/ScriptedPrompt.h"

#include <QMenu>
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
    EXPECT_EQ(form->size(), QSize(1200, 800));
    settings.KengenKubun = QStringLiteral("0");
    chart::MainForm inquiry(settings, *database);
    EXPECT_TRUE(inquiry.windowTitle().endsWith(QStringLiteral("](照会モード)")));
}

TEST_F(MainWindow, SaveButtonFollowsTheHistory)
{
    const int rec = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    plan().edit(rec).isChanged = true;  // arranging at load marks records, yet nothing is to save
    show();
    EXPECT_FALSE(form->ComHozon->isEnabled());
    changeSomething(rec);
    EXPECT_TRUE(form->ComHozon->isEnabled());
    form->actUndo->trigger();
    EXPECT_FALSE(form->ComHozon->isEnabled());
    EXPECT_EQ(plan()[rec].start(), at(3, 8));
    EXPECT_EQ(state().bar(rec).startSec, at(3, 8).seconds()) << "the bar follows the undo";
    form->actRedo->trigger();
    EXPECT_EQ(plan()[rec].start(), at(5, 8));
    EXPECT_TRUE(form->ComHozon->isEnabled());
}

TEST_F(MainWindow, InquiryModeNeverEnablesSave)
{
    settings.KengenKubun = QStringLiteral("0");
    const int rec = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    show();
    changeSomething(rec);
    EXPECT_FALSE(form->ComHozon->isEnabled());
}

TEST_F(MainWindow, SwitchingClassificationAsksOnlyWithUnsavedChanges)
{
    const int rec = addOrder(plan(), 1, QStringLiteral("M01"), at(3, 8), 60);
    show();
    form->setPrompt(&prompt);
    QSignalSpy reselect(form.get(), &chart::MainForm::reselectRequested);
    QTest::mouseClick(form->KTbun, Qt::LeftButton);
    EXPECT_EQ(reselect.count(), 1);
    EXPECT_TRUE(prompt.asked.isEmpty());

    changeSomething(rec);
    prompt.answers = {false, true};
    QTest::mouseClick(form->KTbun, Qt::LeftButton);
    EXPECT_EQ(reselect.count(), 1) << "No keeps the window";
    QTest::mouseClick(form->KTbun, Qt::LeftButton);
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
    QTimer::singleShot(0, form->mnuPopup, &QMenu::close);
    QTest::mousePress(view().platForm, Qt::RightButton, Qt::NoModifier, p);
    EXPECT_EQ(form->PopupBarIndex, plan()[rec].barIndex);
    EXPECT_TRUE(form->popOrder->isVisible());
    // Entries whose windows do not exist yet cannot be chosen.
    EXPECT_FALSE(form->popDetail->isEnabled());
    EXPECT_FALSE(form->popOrder->isEnabled());
    form->mnuPopup->close();
}

}  // namespace
