// The start selection dialog driven by real key events, offscreen.
#include "app/KBunSelect.h"
#include "app/SchedulerSplash.h"
#include "support/QtPrinting.h"
#include "support/ScriptedPrompt.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace app;

namespace {

const QString EnterDate = QStringLiteral("日付を入力してください");
const QString TooShort = QStringLiteral("指定期間は29日間以上を入力してください。");

class KBunSelectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.CommandLineText = QStringLiteral("20240101 T01 3 12 PGM");
        settings.DisplayMonths = 2;
        choices.factoryLabel = QStringLiteral("03：成形部");
        choices.lines = QStringList{"01 成形", "02 組立"};
    }
    void open()
    {
        dialog = std::make_unique<KBunSelect>(settings, choices, prompt);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        start = dialog->findChild<QLineEdit*>(QStringLiteral("strYYMMDD"));
        end = dialog->findChild<QLineEdit*>(QStringLiteral("endYYMMDD"));
        list = dialog->findChild<QListWidget*>(QStringLiteral("ComboKBun"));
        ASSERT_TRUE(start && end && list);
    }
    // Replaces a field's text as a planner would: focus (selects all), type, Enter.
    void typeInto(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        QApplication::processEvents();  // the selection happens once the focus has arrived
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    // Full-width text arrives from the input method as committed text.
    void commitInto(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        QApplication::processEvents();
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(field, &commit);
        QTest::keyClick(field, Qt::Key_Return);
    }

    core::ProgramSettings settings;
    ClassChoiceList choices;
    testing_support::ScriptedPrompt prompt;
    std::unique_ptr<KBunSelect> dialog;
    QLineEdit* start = nullptr;
    QLineEdit* end = nullptr;
    QListWidget* list = nullptr;
};

}  // namespace

TEST(DateCharacters, Normalisation)
{
    EXPECT_EQ(mDateChr("20240101"), QStringLiteral("2024/01/01"));
    EXPECT_EQ(mDateChr("2024/1/1"), QStringLiteral("2024/01/01"));
    EXPECT_EQ(mDateChr(QStringLiteral("２０２４／０１／０１")), QStringLiteral("2024/01/01"));
    EXPECT_EQ(mDateChr("2024-01-31"), QStringLiteral("2024/01/31"));
    EXPECT_EQ(mDateChr(QStringLiteral("2024年2月29日")), QStringLiteral("2024/02/29"));
    EXPECT_EQ(mDateChr("240315"), QStringLiteral("2024/03/15"));
    EXPECT_EQ(mDateChr("2023/02/29"), QString());  // no such day
    EXPECT_EQ(mDateChr("2024/13/01"), QString());
    EXPECT_EQ(mDateChr("abc"), QString());
    EXPECT_EQ(mDateChr(""), QString());
}

TEST(DefaultPeriod, FromTheCommandLine)
{
    const PeriodTexts p = defaultPeriod("20240131 T01 3 12 PGM", 1);
    EXPECT_EQ(p.start, QStringLiteral("2024/01/31"));
    EXPECT_EQ(p.end, QStringLiteral("2024/02/29"));  // calendar month, clamped to the month's end
    EXPECT_TRUE(defaultPeriod("1", 1).start.isEmpty());
    EXPECT_TRUE(defaultPeriod("", 1).end.isEmpty());
    EXPECT_TRUE(defaultPeriod("garbage! T01 3 12 PGM", 1).start.isEmpty());
}

TEST_F(KBunSelectTest, OpensWithDefaultsAndFocusOnTheList)
{
    settings.processClassCode = QStringLiteral("2");
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("工程分類指定"));
    EXPECT_EQ(start->text(), QStringLiteral("2024/01/01"));
    EXPECT_EQ(end->text(), QStringLiteral("2024/03/01"));
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_TRUE(list->hasFocus());
}

TEST_F(KBunSelectTest, EnterNormalisesTheStartAndMovesOn)
{
    open();
    commitInto(start, QStringLiteral("２０２４／０２／０１"));
    EXPECT_EQ(start->text(), QStringLiteral("2024/02/01"));
    QApplication::processEvents();
    EXPECT_TRUE(end->hasFocus());
    EXPECT_EQ(end->selectedText(), end->text());  // the whole end date is selected on arrival

    typeInto(start, QStringLiteral("2024/02/30"));  // no such date
    EXPECT_EQ(prompt.told, QStringList{EnterDate});
    EXPECT_TRUE(start->hasFocus());
}

TEST_F(KBunSelectTest, TwentyNineDayRule)
{
    open();
    typeInto(end, QStringLiteral("2024/01/29"));
    EXPECT_EQ(prompt.told, QStringList{TooShort});
    EXPECT_EQ(end->text(), QStringLiteral("2024/01/30"));
    EXPECT_TRUE(end->hasFocus());

    QTest::keyClick(end, Qt::Key_Return);  // the corrected end is accepted
    EXPECT_EQ(prompt.told.size(), 1);
    EXPECT_TRUE(list->hasFocus());
}

TEST_F(KBunSelectTest, PeriodsAreAYearAtMostAndEndBy99991230)
{
    open();
    typeInto(end, QStringLiteral("2025/01/02"));  // 367 days
    EXPECT_EQ(prompt.told, QStringList{QStringLiteral("指定期間は366日以内で入力してください。")});
    EXPECT_EQ(end->text(), QStringLiteral("2025/01/01"));
    EXPECT_TRUE(end->hasFocus());
    QTest::keyClick(end, Qt::Key_Return);  // the corrected end is accepted
    EXPECT_EQ(prompt.told.size(), 1);
    EXPECT_TRUE(list->hasFocus());

    prompt.told.clear();
    start->setText(QStringLiteral("9999/12/10"));
    end->setText(QStringLiteral("9999/12/31"));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(prompt.told, QStringList{QStringLiteral("9999/12/30 より後の日付は指定できません。")});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(settings.processClassCode.isEmpty());  // nothing stored
    EXPECT_TRUE(defaultPeriod("99991231 T01 3 12 PGM", 1).start.isEmpty());
    EXPECT_EQ(defaultPeriod("99991215 T01 3 12 PGM", 1).end, QStringLiteral("9999/12/30"));
}

TEST_F(KBunSelectTest, ListEnterChoosesAndStores)
{
    open();
    typeInto(end, QStringLiteral("20240130"));
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(settings.processClassCode, QStringLiteral("02"));
    EXPECT_EQ(settings.processClassLine, QStringLiteral("02 組立"));
    EXPECT_EQ(settings.PeriodStart, core::Date::fromYmd(2024, 1, 1));
    EXPECT_EQ(settings.PeriodEnd, core::Date::fromYmd(2024, 1, 30));
    EXPECT_TRUE(prompt.told.isEmpty());
}

TEST_F(KBunSelectTest, ListRefusesMissingOrShortPeriod)
{
    open();
    start->clear();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(prompt.told, QStringList{EnterDate});
    EXPECT_TRUE(start->hasFocus());
    EXPECT_TRUE(dialog->isVisible());

    // Typed without Enter and then chosen by double-click: still checked.
    start->setText(QStringLiteral("2024/03/01"));
    end->setText(QStringLiteral("2024/03/10"));
    const QPoint onFirst = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, onFirst);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, onFirst);
    EXPECT_EQ(prompt.told.last(), TooShort);
    EXPECT_EQ(end->text(), QStringLiteral("2024/03/30"));
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(KBunSelectTest, CloseBoxAsksBeforeEnding)
{
    open();
    prompt.answers = {false, true};
    dialog->close();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(list->hasFocus());
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(prompt.asked, QStringList({"終了しますか？", "終了しますか？"}));
    EXPECT_TRUE(settings.processClassCode.isEmpty());  // nothing stored
}

TEST(SchedulerSplash, VersionAndProgress)
{
    SchedulerSplash splash;
    splash.show();
    EXPECT_EQ(SchedulerSplash::versionText(),
              QStringLiteral("Ver.%1.%2.%3").arg(PLANNER_VERSION_MAJOR).arg(PLANNER_VERSION_MINOR).arg(PLANNER_VERSION_REVISION));
    splash.setProgressText(QStringLiteral("計画データを読み込んでいます。"));
    EXPECT_EQ(splash.progressText(), QStringLiteral("計画データを読み込んでいます。"));
    QTest::keyClick(&splash, Qt::Key_Space);
    EXPECT_FALSE(splash.isVisible());
}
