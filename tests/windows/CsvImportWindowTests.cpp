// "ファイル" → "CSV取込" over the demo plant: the window shows what the file
// changes and what it cannot, the policy changes the preview, "取込" applies
// the rest as one undo step, and a bad file is told and opens nothing. With
// CHART_SCREENSHOT_DIR set it keeps its picture.
#include "WindowFixture.h"

#include "demoplant/DemoPlant.h"
#include "session/CsvReading.h"
#include "session/PlanCsv.h"
#include "support/DemoPlantOpening.h"
#include "windows/CsvImportWindow.h"
#include "windows/WindowOpeners.h"

#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSet>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace windows_test;

namespace {

class CsvImportWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto demo = testing_support::openDemoPlant(core::Date::fromYmd(2024, 12, 2), QStringLiteral("10 成形"), 1400, 900);
        database = std::move(demo.database);
        settings = demo.settings;
        form = std::make_unique<chart::MainForm>(settings, *database);
        windows::connectWindows(*form);
        ASSERT_TRUE(form->load({}));
        form->setPrompt(&prompt);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    // The export with a later start for two bars of one machine (the first
    // runs into the second) and a line for an order that does not exist.
    QString editedFile()
    {
        const plan::PlanData& p = form->planData();
        for (int i = 2; i <= p.size() && !second; ++i) {
            const plan::PlanRecord& r = p[i];
            if (r.isHidden() || r.isFixed() || !r.hasMachine() || r.setRepOrderNo != 0) continue;
            for (int j = 2; j <= p.size(); ++j)
                if (j != i && !p[j].isHidden() && !p[j].isFixed() && p[j].isConfirmed() && p[j].setRepOrderNo == 0
                    && p[j].machineCode == r.machineCode && p[j].startDate > settings.PeriodStart
                    && p[j].start() > r.end()) {
                    first = i;
                    second = j;
                    break;
                }
        }
        EXPECT_NE(second, 0);
        session::CsvRead read = session::parseCsv(session::planCsv(p, form->planner().rows));
        const session::CsvTable& table = std::get<session::CsvTable>(read);
        const int orderCol = int(table.header.indexOf(QStringLiteral("手配番号")));
        const int startCol = int(table.header.indexOf(QStringLiteral("開始日時")));
        QString text = session::csvLine(table.header) + QStringLiteral("\r\n");
        for (QStringList row : table.rows) {
            if (row[orderCol] == QString::number(p[first].orderNo)) row[startCol] = p[second].start().toDisplayText();
            text += session::csvLine(row) + QStringLiteral("\r\n");
        }
        QStringList unknown(table.header.size());
        unknown[orderCol] = QStringLiteral("4242424242");
        text += session::csvLine(unknown) + QStringLiteral("\r\n");
        return write(text.toUtf8());
    }
    QString write(const QByteArray& bytes)
    {
        const QString path = dir.filePath(QStringLiteral("plan.csv"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QStringList column(QTableWidget* t, int c)
    {
        QStringList out;
        for (int r = 0; r < t->rowCount(); ++r) out << t->item(r, c)->text();
        return out;
    }

    QTemporaryDir dir;
    core::ProgramSettings settings;
    std::unique_ptr<db::Database> database;
    std::unique_ptr<chart::MainForm> form;
    RecordingPrompt prompt;
    int first = 0, second = 0;
};

}  // namespace

TEST_F(CsvImportWindowTest, ShowsTheChangesAndTheRefusedLinesAndAppliesOnConfirmation)
{
    // The entry sits in the file menu, before 編集.
    QMenu* file = form->menuBar()->findChild<QMenu*>(QStringLiteral("mnuFile"));
    ASSERT_TRUE(file);
    EXPECT_EQ(form->menuBar()->actions().front(), file->menuAction());
    // Last of the file commands, before the separator and 終了.
    const QList<QAction*> entries = file->actions();
    ASSERT_GE(entries.size(), 3);
    EXPECT_EQ(entries[entries.size() - 3]->objectName(), QStringLiteral("mnuCsvImport"));
    EXPECT_TRUE(entries[entries.size() - 2]->isSeparator());
    EXPECT_EQ(entries.back()->text(), QStringLiteral("終了"));
    file->popup(form->menuBar()->mapToGlobal(QPoint(0, form->menuBar()->height())));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(file));
    saveScreenshot(file, QStringLiteral("csv-import-menu"));
    saveScreenshot(form->menuBar(), QStringLiteral("csv-import-menubar"));
    file->close();

    const plan::PlanData before = form->planData();
    windows::CsvImportWindow* w = windows::openCsvImport(*form, editedFile());
    ASSERT_TRUE(w);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    const QString firstNo = QString::number(before[first].orderNo), secondNo = QString::number(before[second].orderNo);

    // Pushing (the default): other bars of the row move too, and the window says so.
    EXPECT_TRUE(w->optPushYes->isChecked());
    const QStringList pushedOrders = column(w->grdChanges, 0);
    EXPECT_TRUE(pushedOrders.contains(firstNo));
    EXPECT_GE(QSet<QString>(pushedOrders.begin(), pushedOrders.end()).size(), 2);
    EXPECT_EQ(column(w->grdRefused, 1), QStringList{QStringLiteral("4242424242")});
    EXPECT_TRUE(column(w->grdRefused, 2).front().contains(QStringLiteral("ありません")));
    saveScreenshot(w, QStringLiteral("csv-import"));

    // Not pushing: only the moved bar changes, at the start the file gave.
    QTest::mouseClick(w->optPushNo, Qt::LeftButton);
    EXPECT_TRUE(w->optPushNo->isChecked());
    const QStringList keptOrders = column(w->grdChanges, 0);
    EXPECT_EQ(QSet<QString>(keptOrders.begin(), keptOrders.end()), QSet<QString>{firstNo});
    EXPECT_TRUE(column(w->grdChanges, 3).contains(before[second].start().toDisplayText()))
        << column(w->grdChanges, 3).join(u' ').toStdString() << " / " << before[second].start().toDisplayText().toStdString();
    EXPECT_TRUE(form->planData() == before);  // a preview changes nothing
    EXPECT_FALSE(form->history().canUndo());

    QTest::mouseClick(w->optPushYes, Qt::LeftButton);
    const std::vector<session::RecordChange> expected = w->preview().changes;
    QTest::mouseClick(w->cmdImport, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->history().stepCount(), 1);
    EXPECT_EQ(form->history().undoText(), QStringLiteral("CSV取込"));
    for (const session::RecordChange& c : expected) {
        if (c.field == QStringLiteral("開始")) {
            EXPECT_EQ(form->planData()[c.recordNo].start().toDisplayText(), c.after);
        }
    }
    EXPECT_TRUE(form->saveButton->isEnabled());
    EXPECT_TRUE(prompt.asked.isEmpty());
    form->actUndo->trigger();
    EXPECT_TRUE(form->planData() == before);
}

TEST_F(CsvImportWindowTest, ABadFileIsToldAndOpensNothing)
{
    EXPECT_EQ(windows::openCsvImport(*form, write("\x8e\xe8\x94\x7a\x94\xd4\x8d\x86\r\n1\r\n")), nullptr);
    EXPECT_EQ(windows::openCsvImport(*form, write("手配番号;手配数\r\n1;2\r\n")), nullptr);
    ASSERT_EQ(prompt.told.size(), 2u);
    EXPECT_TRUE(prompt.told[0].text.contains(QStringLiteral("UTF-8")));
    EXPECT_TRUE(prompt.told[1].text.contains(QStringLiteral("区切り文字")));
    EXPECT_EQ(prompt.told[1].title, QStringLiteral("CSV取込"));
    EXPECT_FALSE(form->findChild<windows::CsvImportWindow*>());
    EXPECT_FALSE(form->history().canUndo());
}
