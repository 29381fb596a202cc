// The planner: the window program started by the plant's menu, or, with
// options, the command mode (help, headless plan export and import).

#include "app/WindowSequence.h"
#include "app/startup/CommandLine.h"
#include "app/startup/ExportOptions.h"
#include "app/startup/ExportRun.h"
#include "app/startup/ImportRun.h"
#include "app/startup/InstanceLock.h"
#include "app/startup/PlannerIni.h"
#include "app/startup/Startup.h"
#include "chart/MessageBoxes.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

// Help and export need no display: a plain core application.
int runCommandMode(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    auto parsed = app::parseExportOptions(app.arguments().mid(1));
    if (app::failed(parsed)) {
        app::printStartupError(err, app::errorOf(parsed));
        return 2;
    }
    const app::ExportOptions& options = std::get<app::ExportOptions>(parsed);
    if (options.help) {
        QTextStream(stdout) << app::exportHelpText();
        return 0;
    }
    if (!options.importFile.isEmpty())
        return app::runImport(options, app::plannerIniPath(), QCoreApplication::applicationDirPath(), err);
    return app::runExport(options, app::plannerIniPath(), QCoreApplication::applicationDirPath(), err);
}

int runWindowProgram(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("工程計画立案支援システム"));
    // The main window's close ends the program, not the dialog closing before it.
    QApplication::setQuitOnLastWindowClosed(false);
    chart::installQtTranslation();  // before the first window

    auto configRead = app::readStartupConfig(app::plannerIniPath(), app::commandLineTextOf(app.arguments().mid(1)),
                                             QCoreApplication::applicationDirPath());
    if (app::failed(configRead)) {
        app::showStartupError(app::errorOf(configRead));
        return 1;
    }
    app::StartupConfig config = std::get<app::StartupConfig>(std::move(configRead));

    app::InstanceLock lock;
    if (!lock.tryLock()) {
        QTextStream(stderr) << app::doubleStartMessage() << Qt::endl;
        chart::showMessage(nullptr, QMessageBox::Information, app::doubleStartTitle(), app::doubleStartMessage());
        return 0;
    }

    auto connected = app::connectDatabase(config);
    if (app::failed(connected)) {
        app::showStartupError(app::errorOf(connected));
        return 1;
    }
    std::unique_ptr<db::Database> db = std::get<std::unique_ptr<db::Database>>(std::move(connected));
    if (auto read = app::readOperatorSettings(*db, config.settings); app::failed(read)) {
        app::showStartupError(app::errorOf(read));
        return 1;
    }

    app::WindowSequence windows(config.settings, *db);
    if (!windows.openMainWindow()) return windows.exitStatus();
    QObject::connect(&windows, &app::WindowSequence::finished, &app, [](int status) { QCoreApplication::exit(status); });
    return app.exec();
}

}  // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (app::isCommandMode(arguments)) return runCommandMode(argc, argv);
    return runWindowProgram(argc, argv);
}
