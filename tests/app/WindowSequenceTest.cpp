// The window program's sequence on a demo plant: dialog, splash, main window,
// re-selection and the end of the program. Modal windows are answered from a
// timer, as a planner would.
#include "support/QtPrinting.h"
#include "app/KBunSelect.h"
#include "app/WindowSequence.h"
#include "chart/MainForm.h"
#include "demoplant/DemoPlant.h"

#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

using namespace app;

namespace {

// Calls `answer` with each modal window until it returns true.
void whenModal(std::function<bool(QWidget*)> answer)
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && answer(modal)) timer->deleteLater();
    });
    timer->start(10);
}

bool chooseFirstClass(QWidget* modal)
{
    auto* dialog = qobject_cast<KBunSelect*>(modal);
    if (!dialog) return false;
    QTest::keyClick(dialog->findChild<QListWidget*>(QStringLiteral("ComboKBun")), Qt::Key_Return);
    return true;
}

chart::MainForm* visibleMainForm()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<chart::MainForm*>(w); f && f->isVisible()) return f;
    return nullptr;
}

class WindowSequenceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        database = db::Database::openSqlite(dir.filePath(QStringLiteral("demo.sqlite")));
        demoplant::createSchema(*database);
        demoplant::DemoOptions options;
        options.baseDate = core::Date::fromYmd(2024, 1, 5);
        options.orders = 60;
        demoplant::generateDemoPlant(*database, options);
        settings.CommandLineText = QStringLiteral("20240105 1001 1 1 PLANNER");
        settings.TantoCode = QStringLiteral("1001");
        settings.KojoCode = 1;
        settings.MainWidth = 12000;
        settings.MainHeight = 8880;
    }

    QTemporaryDir dir;
    std::unique_ptr<db::Database> database;
    core::ProgramSettings settings;
};

}  // namespace

TEST_F(WindowSequenceTest, DialogSplashMainWindowAndReselection)
{
    WindowSequence windows(settings, *database);
    QSignalSpy finished(&windows, &WindowSequence::finished);

    whenModal(chooseFirstClass);
    ASSERT_TRUE(windows.openMainWindow());
    chart::MainForm* first = visibleMainForm();
    ASSERT_TRUE(first);
    EXPECT_EQ(settings.processClassCode, QStringLiteral("10"));
    EXPECT_EQ(settings.PeriodStart, core::Date::fromYmd(2024, 1, 5));
    EXPECT_TRUE(first->windowTitle().startsWith(QStringLiteral("工程計画立案支援システム　[Velmoran Ver.")));
    EXPECT_FALSE(first->windowTitle().contains(QStringLiteral("(照会モード)")));
    EXPECT_EQ(first->width(), 800);  // the height may be held up by the layout's minimum

    // Re-selection opens the dialog again and builds a new main window.
    QPointer<chart::MainForm> old(first);
    whenModal(chooseFirstClass);
    emit first->reselectRequested();
    QTRY_VERIFY(visibleMainForm() && visibleMainForm() != old.data());
    QTRY_VERIFY(old.isNull());  // the replaced window is gone
    EXPECT_EQ(finished.count(), 0);

    // Re-selecting and answering Yes to "終了しますか？" ends the program.
    whenModal([](QWidget* modal) {
        if (auto* dialog = qobject_cast<KBunSelect*>(modal)) {
            QMetaObject::invokeMethod(dialog, &KBunSelect::reject, Qt::QueuedConnection);
            return false;  // the question comes next
        }
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (box->text() != QStringLiteral("終了しますか？") || box->windowTitle() != QStringLiteral("終了確認")) return false;
            box->button(QMessageBox::Yes)->click();
            return true;
        }
        return false;
    });
    emit visibleMainForm()->reselectRequested();
    QTRY_COMPARE(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), 0);
    EXPECT_EQ(visibleMainForm(), nullptr);
}

TEST_F(WindowSequenceTest, InquiryModeAndClosingTheMainWindow)
{
    settings.TantoCode = QStringLiteral("9001");
    settings.KengenKubun = QStringLiteral("0");
    WindowSequence windows(settings, *database);
    QSignalSpy finished(&windows, &WindowSequence::finished);
    whenModal(chooseFirstClass);
    ASSERT_TRUE(windows.openMainWindow());
    chart::MainForm* form = visibleMainForm();
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->windowTitle().endsWith(QStringLiteral("(照会モード)")));
    form->close();
    QTRY_COMPARE(finished.count(), 1);
}
