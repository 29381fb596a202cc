// Every message box the planner can meet names its buttons in Japanese, also
// without Qt's own translation (this test program loads none).
#include "support/QtPrinting.h"
#include "app/KBunSelect.h"
#include "app/WindowSequence.h"
#include "chart/MainForm.h"
#include "chart/MessageBoxPrompt.h"
#include "chart/MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>
#include <utility>

namespace {

// Records the text and button captions (sorted) of each message box that
// opens, and closes it with its default button.
class BoxWatcher {
public:
    std::vector<std::pair<QString, QStringList>> seen;

    BoxWatcher()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box == answered_) return;
            answered_ = box;
            QStringList buttons;
            for (QAbstractButton* b : box->buttons()) buttons << b->text();
            buttons.sort();
            seen.emplace_back(box->text(), buttons);
            if (const QString shots = qEnvironmentVariable("CHART_SCREENSHOT_DIR"); !shots.isEmpty() && QDir().mkpath(shots))
                box->grab().save(QStringLiteral("%1/message-box-%2.png").arg(shots).arg(seen.size()));
            QAbstractButton* answer = box->defaultButton();
            QTest::mouseClick(answer ? answer : box->buttons().value(0), Qt::LeftButton);
        });
        timer_.start(10);
    }

private:
    QTimer timer_;
    QPointer<QMessageBox> answered_;
};

const QStringList YesNo = {QStringLiteral("いいえ"), QStringLiteral("はい")};
const QStringList Ok = {QStringLiteral("OK")};

TEST(JapaneseButtons, RulesQuestionsNoticesAndStartupErrors)
{
    BoxWatcher boxes;
    chart::MessageBoxPrompt prompt(nullptr);
    prompt.askYesNo(QStringLiteral("この２つの計画を合体させますか？"));
    prompt.tell(QStringLiteral("外注先は展開できません"), {}, core::Prompt::Icon::Warning);
    app::showStartupError({QStringLiteral("planner.iniが見つかりません"), QStringLiteral("planner.ini not found")});
    // A database without the plant's tables: the load fails and says so.
    core::ProgramSettings settings;
    auto empty = db::Database::openSqlite(QStringLiteral(":memory:"));
    chart::MainForm form(settings, *empty);
    EXPECT_FALSE(form.load({}));

    ASSERT_EQ(boxes.seen.size(), 4u);
    EXPECT_EQ(boxes.seen[0].second, YesNo);
    for (std::size_t i = 1; i < boxes.seen.size(); ++i) EXPECT_EQ(boxes.seen[i].second, Ok) << boxes.seen[i].first.toStdString();
}

TEST(JapaneseButtons, StartDialogsRefusalAndQuestion)
{
    core::ProgramSettings settings;
    settings.CommandLineText = QStringLiteral("20240101 T01 3 12 PGM");
    app::ClassChoiceList choices;
    choices.lines = QStringList{QStringLiteral("01 成形")};
    chart::MessageBoxPrompt prompt(nullptr);
    app::KBunSelect dialog(settings, choices, prompt);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    BoxWatcher boxes;
    auto* start = dialog.findChild<QLineEdit*>(QStringLiteral("strYYMMDD"));
    start->setFocus();
    start->selectAll();
    QTest::keyClicks(start, QStringLiteral("abc"));
    QTest::keyClick(start, Qt::Key_Return);     // no date: told so
    QTest::keyClick(&dialog, Qt::Key_Escape);  // "終了しますか？"
    ASSERT_EQ(boxes.seen.size(), 2u);
    EXPECT_EQ(boxes.seen[0].second, Ok);
    EXPECT_EQ(boxes.seen[1], std::make_pair(QStringLiteral("終了しますか？"), YesNo));
}

// What Qt draws itself (line edit menus, standard dialogs) comes from its own
// translation, which the program loads at start.
TEST(JapaneseButtons, QtsOwnTranslationIsInstalled)
{
    QTranslator* translator = chart::installQtTranslation();
    ASSERT_TRUE(translator) << "qtbase_ja.qm (qt6-translations-l10n) is missing";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    QCoreApplication::removeTranslator(translator);  // the other tests see no translation
    delete translator;
}

}  // namespace
