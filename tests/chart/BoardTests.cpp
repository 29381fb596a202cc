// What the main window shows of the plan's conflicts and load while the
// planner works, and the chart on paper: the ファイル menu, the PDF's pages
// and text, the PNG of the view.
#include "ChartFixture.h"

#include "chart/ChartMarks.h"
#include "chart/ChartPrint.h"
#include "chart/ConflictDock.h"
#include "demoplant/DemoPlant.h"
#include "reschedule/MasterLookup.h"
#include "session/PlanWatch.h"
#include "support/DemoPlantOpening.h"
#include "support/NoMasters.h"
#include "support/ScriptedPrompt.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>

using namespace chart_test;

namespace {

void sendMove(QWidget* w, QPoint pos)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(pos), w->mapToGlobal(QPointF(pos)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

class Board : public ChartTest {
protected:
    testing_support::NoMasters masters{QString()};
    void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
};

TEST_F(Board, OverlappingBarsShareTheRowTheSelectedOneOnTopAndTheListJumpsToThem)
{
    const int a = addOrder(plan(), 101, QStringLiteral("M01"), at(3, 8), 240);
    const int b = addOrder(plan(), 102, QStringLiteral("M01"), at(3, 10), 180);
    const int alone = addOrder(plan(), 103, QStringLiteral("M02"), at(3, 8), 60);
    settings.processClassLine = QStringLiteral("10 成形");
    show();
    settle();
    const QRect ra = state().barRectPx(a), rb = state().barRectPx(b);
    EXPECT_FALSE(ra.intersects(rb)) << "both stay readable";
    EXPECT_EQ(ra.height() + rb.height(), state().barRectPx(alone).height());
    EXPECT_EQ(state().barAtPx(chart::Surface::PlatForm, rb.center().x(), rb.center().y()), b) << "the lower lane is the second bar";
    EXPECT_EQ(form->lblConflictCount->text(), QStringLiteral("競合 1件"));
    EXPECT_EQ(form->lblOrdersShown->text(), QStringLiteral("表示 3件"));
    EXPECT_TRUE(form->lblPeriod->text().contains(QStringLiteral("2024/12/02～2024/12/31")));
    EXPECT_EQ(form->lblClass->text(), QStringLiteral("工程分類 10 成形"));

    // The count opens the list; a click on its line selects the bar.
    QTest::mouseClick(form->lblConflictCount, Qt::LeftButton);
    settle();
    ASSERT_TRUE(form->conflictDock->isVisible());
    QTableView* table = form->conflictDock->table;
    ASSERT_EQ(table->model()->rowCount(), 1);
    EXPECT_EQ(table->model()->index(0, 0).data().toString(), QStringLiteral("機械重複"));
    EXPECT_EQ(table->model()->index(0, 1).data().toString(), QStringLiteral("101 / 102"));
    EXPECT_EQ(table->model()->index(0, 2).data().toString(), QStringLiteral("M01 / M01"));
    EXPECT_EQ(table->model()->index(0, 3).data().toString(), QStringLiteral("12/3 10:00～12/3 12:00"));
    form->gantt().rowScrollBar->setValue(10);
    form->gantt().timeScrollBar->setValue(form->gantt().timeScrollBar->maximum());
    table->resizeRowsToContents();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(table->model()->index(0, 0)).center());
    EXPECT_EQ(state().selectedRecord(), a);
    EXPECT_TRUE(view().rowSurface->rect().intersects(state().barRectPx(a))) << "scrolled to the conflict";
    saveScreenshot(form.get(), QStringLiteral("board-overlap-list"));

    // Moving one bar away ends the conflict; the bars get the whole row back.
    testing_support::ScriptedPrompt prompt;
    form->setPrompt(&prompt);
    form->setMasterLookup(&masters);
    view().DragStartKikai = QStringLiteral("M01");
    form->session().dropBar(view().dropOf(b, QStringLiteral("M01"), state().xOf(at(4, 8))));
    ASSERT_TRUE(prompt.told.isEmpty()) << prompt.told.join(u'\n').toStdString();
    EXPECT_EQ(form->lblConflictCount->text(), QStringLiteral("競合 1件")) << "counted on the next turn of the event loop";
    settle();
    EXPECT_EQ(form->lblConflictCount->text(), QStringLiteral("競合 0件"));
    EXPECT_EQ(form->lblChangedCount->text(), QStringLiteral("変更 1件（未保存）"));
    EXPECT_EQ(table->model()->rowCount(), 0);
    EXPECT_EQ(state().barRectPx(a).height(), state().barRectPx(alone).height());
    form->actUndo->trigger();
    settle();
    EXPECT_EQ(form->lblConflictCount->text(), QStringLiteral("競合 1件"));
    EXPECT_EQ(form->lblChangedCount->text(), QStringLiteral("変更 0件"));
}

TEST_F(Board, TipsTellABarsConflictsAndTheLoadOfTheDayUnderTheStrip)
{
    const int a = addOrder(plan(), 201, QStringLiteral("M01"), at(3, 8), 240);
    const int b = addOrder(plan(), 202, QStringLiteral("M02"), at(3, 9), 120);
    plan().edit(a).mouldNo = plan().edit(b).mouldNo = QStringLiteral("K-7");
    plan().edit(b).initialDueDate = core::Date::fromYmd(2024, 12, 2);
    const int fixed = addOrder(plan(), 203, QStringLiteral("M03"), at(3, 8), 60);
    plan().edit(fixed).fixKind = plan::FixKind::FullyFixed;
    show();
    settle();
    sendMove(view().rowSurface, barCentre(b));
    const QString tip = view().hoverTip->text();
    EXPECT_TRUE(tip.contains(QStringLiteral("手配番号: 202"))) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral("※金型重複: 金型 K-7 手配 201 (M01) 12/3 09:00～12/3 11:00"))) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral("※納期遅れ: 納期 2024/12/02 を過ぎて終了"))) << tip.toStdString();

    // 08:00-12:00 on M01 against the day's 480 working minutes.
    const QPoint strip(barCentre(a).x(), state().rowTopPx(2) + 1);
    sendMove(view().rowSurface, strip);
    EXPECT_EQ(view().hoverTip->text(), QStringLiteral("負荷 M01 12/3: 計画 240分 / 稼働 480分 (50%)"));
    saveScreenshot(form.get(), QStringLiteral("board-marks"));
}

TEST_F(Board, FileMenuComesFirstWithItsCommandsAndASeparatorBeforeExit)
{
    QMenu* file = form->fileMenu();
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->objectName(), QStringLiteral("mnuFile"));
    EXPECT_EQ(file->title(), QStringLiteral("ファイル(&F)"));
    EXPECT_EQ(form->findChild<QMenu*>(QStringLiteral("mnuFile")), file);
    const QList<QAction*> menus = form->menuBar()->actions();
    ASSERT_GE(menus.size(), 2);
    EXPECT_EQ(menus[0]->menu(), file);
    EXPECT_EQ(menus[1]->text(), QStringLiteral("編集(&E)"));
    QStringList texts;
    for (QAction* a : file->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts, (QStringList{QStringLiteral("印刷..."), QStringLiteral("PDF出力..."), QStringLiteral("PNG出力..."), QStringLiteral("-"),
                                  QStringLiteral("終了")}));
}

TEST_F(Board, PngOfTheViewAndFailuresToWriteAreTold)
{
    addOrder(plan(), 301, QStringLiteral("M01"), at(3, 8), 240);
    show();
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("chart.png"));
    form->askSaveFileName = [&](const QString&, const QString&, const QString&) { return png; };
    form->actPng->trigger();
    QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), view().size() * view().devicePixelRatio());

    testing_support::ScriptedPrompt prompt;
    form->setPrompt(&prompt);
    const QString nowhere = dir.filePath(QStringLiteral("missing/dir/chart"));
    EXPECT_FALSE(form->exportPng(nowhere + QStringLiteral(".png")));
    EXPECT_FALSE(form->exportPdf(nowhere + QStringLiteral(".pdf")));
    ASSERT_EQ(prompt.told.size(), 2);
    EXPECT_TRUE(prompt.told[0].startsWith(QStringLiteral("PNGファイルを書き込めませんでした。")));
    EXPECT_TRUE(prompt.told[1].startsWith(QStringLiteral("PDFファイルを書き込めませんでした。")));
}

// The text of one page of a PDF, or nullopt without pdftotext.
std::optional<QString> pageText(const QString& pdf, int page)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) return std::nullopt;
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page),
                                          QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    // The CJK font's ideographs come back as their compatibility forms (radicals).
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

TEST_F(Board, PdfHasAPagePerSliceOfRowsWithTheOrdersOfThoseRows)
{
    // More suppliers than a page holds rows, two orders on every machine and supplier row.
    for (int k = 3; k <= 24; ++k)
        form->planner().rows.append(QStringLiteral("S%1").arg(k, 2, 10, QLatin1Char('0')), QStringLiteral("外注%1").arg(k), QString());
    const core::RowTable& rows = form->planner().rows;
    std::map<int, std::vector<std::int64_t>> ordersOfRow;
    for (int r = 2; r <= rows.machineRowCount(); ++r)
        for (int k = 0; k < 2; ++k) {
            const std::int64_t no = 70000 + r * 10 + k;
            const int rec = addOrder(plan(), no, rows.isMachineRow(r) ? rows.row(r).RowCode : QStringLiteral(" "), at(3 + 7 * k, 8), 600);
            if (!rows.isMachineRow(r)) {
                plan().edit(rec).destCode = rows.row(r).RowCode;
                plan().edit(rec).inOutKind = plan::InOutKind::Outside;
            }
            ordersOfRow[r].push_back(no);
        }
    settings.processClassLine = QStringLiteral("10 成形");
    show();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("plan.pdf"));
    form->askSaveFileName = [&](const QString&, const QString&, const QString&) { return pdf; };
    form->actPdf->trigger();
    ASSERT_TRUE(QFileInfo::exists(pdf));
    if (const QString shots = qEnvironmentVariable("CHART_SCREENSHOT_DIR"); !shots.isEmpty()) {
        QFile::remove(shots + QStringLiteral("/board-rows.pdf"));
        QFile::copy(pdf, shots + QStringLiteral("/board-rows.pdf"));
    }

    QPdfWriter probe(dir.filePath(QStringLiteral("probe.pdf")));
    probe.setPageSize(QPageSize(QPageSize::A4));
    probe.setPageOrientation(QPageLayout::Landscape);
    probe.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    const int perPage = chart::rowsPerPage(probe);
    const std::vector<int> printed = chart::printedRows(state());
    ASSERT_EQ(int(printed.size()), rows.machineRowCount());
    const int pages = (int(printed.size()) + perPage - 1) / perPage;
    ASSERT_GE(pages, 2) << "the plant has more rows than a page holds";

    if (!pageText(pdf, 1)) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QProcess whole;
    whole.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    whole.waitForFinished(30000);
    EXPECT_EQ(whole.readAllStandardOutput().count('\f'), pages) << "one page per slice of rows";
    for (int page = 1; page <= pages; ++page) {
        const QString text = *pageText(pdf, page);
        EXPECT_TRUE(text.contains(QStringLiteral("工程分類: 10 成形"))) << page;
        EXPECT_TRUE(text.contains(QStringLiteral("期間: 2024/12/02")) && text.contains(QStringLiteral("2024/12/31"))) << page;
        EXPECT_TRUE(text.contains(QStringLiteral("12/2"))) << "the time header on page " << page;
        for (std::size_t i = 0; i < printed.size(); ++i) {
            const int row = printed[i];
            const bool here = int(i) / perPage == page - 1;
            if (row >= 2) {
                EXPECT_EQ(text.contains(rows.row(row).RowCode.trimmed()), here) << "row " << row << " on page " << page;
            }
            for (std::int64_t no : ordersOfRow[row]) EXPECT_EQ(text.contains(QString::number(no)), here) << no << " on page " << page;
        }
    }
}

// With CHART_SCREENSHOT_DIR set: the demo plant with conflicts, fixed bars and
// the load strip, as the planner sees it.
TEST(BoardDemo, DemoPlantShowsItsConflictsFixedBarsAndLoad)
{
    const QString shots = qEnvironmentVariable("CHART_SCREENSHOT_DIR");
    auto demo = testing_support::openDemoPlant(core::Date::fromYmd(2024, 12, 2), QStringLiteral("10 成形"), 1500, 950);
    chart::MainForm form(demo.settings, *demo.database);
    testing_support::ScriptedPrompt prompt;
    ASSERT_TRUE(form.load({}));
    form.setPrompt(&prompt);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    // Two bars of one machine made to overlap (No to the push) and a bar fixed.
    const plan::PlanData& plan = form.planData();
    reschedule::RuleContext& ctx = form.session().rules();
    QString machine;
    std::vector<int> free;
    for (int row = 2; row <= form.planner().rows.CalendarMachineCount && free.size() < 3; ++row) {
        machine = form.planner().rows.row(row).RowCode;
        free.clear();
        for (int rec : ctx.rowIndex().onMachine(machine))
            if (plan[rec].isDraggable() && !plan[rec].isFixed() && plan[rec].start() >= core::Moment::of(demo.options.baseDate, {}))
                free.push_back(rec);
    }
    ASSERT_GE(free.size(), 3u);
    form.gantt().DragStartKikai = machine;
    prompt.answers.assign(5, false);
    form.session().dropBar(form.gantt().dropOf(free[1], machine, form.chartState().xOf(plan[free[0]].start().addSeconds(3600))));
    form.session().apply(QStringLiteral("固定"), [&](reschedule::RuleContext& c) {
        c.plan.edit(free[2]).fixKind = plan::FixKind::FullyFixed;
        reschedule::RuleOutcome out;
        out.changed = true;
        return out;
    });
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const reschedule::ConflictIndex& conflicts = form.session().watch().conflicts();
    EXPECT_GT(conflicts.count(), 0u);
    EXPECT_TRUE(conflicts.has(free[1], reschedule::ConflictKind::MachineOverlap));
    EXPECT_EQ(form.lblConflictCount->text(), QStringLiteral("競合 %1件").arg(conflicts.count()));
    if (shots.isEmpty()) return;
    form.conflictDock->show();
    form.showRecord(free[1]);
    QCoreApplication::processEvents();
    form.grab().save(shots + QStringLiteral("/board-demo-week.png"));
    form.gantt().showThreeDays();
    form.showRecord(free[1]);
    QCoreApplication::processEvents();
    form.grab().save(shots + QStringLiteral("/board-demo-3days.png"));
    form.gantt().showFourWeeks();
    QCoreApplication::processEvents();
    form.grab().save(shots + QStringLiteral("/board-demo-4weeks.png"));
    form.exportPdf(shots + QStringLiteral("/board-demo.pdf"));
}

}  // namespace
