// The main window's "ファイル" menu: printing the chart, PDF and PNG export, and 終了.

#include "chart/ChartMarks.h"
#include "chart/ChartPrint.h"
#include "chart/GanttView.h"
#include "chart/MainForm.h"

#include <QAction>
#include <QDateTime>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPdfWriter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>

namespace chart {

void MainForm::buildFileMenu()
{
    fileMenu_ = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    fileMenu_->setObjectName(QStringLiteral("mnuFile"));
    actPrint = fileMenu_->addAction(QStringLiteral("印刷..."), this, &MainForm::printFromDialog);
    actPrint->setObjectName(QStringLiteral("mnuPrint"));
    actPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    actPdf = fileMenu_->addAction(QStringLiteral("PDF出力..."), this, [this] { exportFromDialog(true); });
    actPdf->setObjectName(QStringLiteral("mnuPdf"));
    actPng = fileMenu_->addAction(QStringLiteral("PNG出力..."), this, [this] { exportFromDialog(false); });
    actPng->setObjectName(QStringLiteral("mnuPng"));
    fileMenu_->addSeparator();
    actExit = fileMenu_->addAction(QStringLiteral("終了"), this, &QWidget::close);  // asks about unsaved changes
    actExit->setObjectName(QStringLiteral("mnuExit"));

    askSaveFileName = [this](const QString& title, const QString& filter, const QString& suffix) {
        QFileDialog dialog(this, title, QString(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(suffix);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front() : QString();
    };
}

QString MainForm::processClassText() const
{
    return settings_.processClassLine.isEmpty() ? settings_.processClassCode : settings_.processClassLine;
}

bool MainForm::printChart(QPrinter& printer)
{
    const PrintHeading heading{processClassText(), QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd hh:mm"))};
    if (chart::printChart(printer, *state_, marks_, heading) > 0) return true;
    prompt().tell(QStringLiteral("印刷できませんでした。"), QStringLiteral("印刷"), core::Prompt::Icon::Critical);
    return false;
}

bool MainForm::exportPdf(const QString& path)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(QStringLiteral("工程計画表 %1").arg(processClassText()));
    writer.setCreator(QStringLiteral("Velmoran"));
    const PrintHeading heading{processClassText(), QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd hh:mm"))};
    if (chart::printChart(writer, *state_, marks_, heading) > 0) return true;
    prompt().tell(QStringLiteral("PDFファイルを書き込めませんでした。\n%1").arg(path), QStringLiteral("PDF出力"), core::Prompt::Icon::Critical);
    return false;
}

bool MainForm::exportPng(const QString& path)
{
    if (gantt_->grab().save(path, "PNG")) return true;
    prompt().tell(QStringLiteral("PNGファイルを書き込めませんでした。\n%1").arg(path), QStringLiteral("PNG出力"), core::Prompt::Icon::Critical);
    return false;
}

void MainForm::printFromDialog()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QStringLiteral("工程計画表 %1").arg(processClassText()));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("印刷"));
    if (dialog.exec() == QDialog::Accepted) printChart(printer);
}

void MainForm::exportFromDialog(bool pdf)
{
    const QString path = pdf ? askSaveFileName(QStringLiteral("PDF出力"), QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"))
                             : askSaveFileName(QStringLiteral("PNG出力"), QStringLiteral("PNG (*.png)"), QStringLiteral("png"));
    if (path.isEmpty()) return;
    if (pdf) exportPdf(path);
    else exportPng(path);
}

}  // namespace chart
