// From Enter in the start dialog to a painted main window.
//
// For demo plants of 10,000 and 40,000 open orders on 60 machines in SQLite,
// runs the start-up sequence the program runs (start dialog, splash, main
// window with its windows attached), presses Enter on the process class in the
// dialog and waits for the chart's first paint. Every statement issued on the
// way is recorded with its values; the bare read executes them again through
// the same driver and reads every column. Prints both, their ratio (target at
// most 3) and the process's peak memory. Message boxes that open on the way
// are answered at once and counted.

#include "app/WindowSequence.h"
#include "chart/MainForm.h"
#include "BareRead.h"
#include "ScalePlant.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <sys/resource.h>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using Statements = std::vector<std::pair<QString, QVariantList>>;

double msSince(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

void readAll(db::Database& db, const Statements& statements)
{
    for (const auto& [sql, binds] : statements) bench::readAll(db, sql, binds);
}

// Watches for the first paint of the chart's rows and answers message boxes.
class Watch : public QObject {
public:
    bool painted = false;
    int boxes = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->objectName() == QLatin1String("PlatForm")) painted = true;
        if (event->type() == QEvent::Show)
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                ++boxes;
                QTimer::singleShot(0, box, [box] { box->done(box->defaultButton() ? box->buttonRole(box->defaultButton()) : 0); });
            }
        return false;
    }
};

struct Opening {
    double openMs = 0;
    Statements statements;
    int boxes = 0;
};

// One opening: Enter on class 10 in the start dialog, until the chart has painted.
Opening openOnce(core::ProgramSettings settings, db::Database& db, core::Date from, core::Date to)
{
    Opening o;
    Watch watch;
    qApp->installEventFilter(&watch);
    QElapsedTimer clock;
    QTimer::singleShot(0, [&] {
        auto* dialog = QApplication::activeModalWidget();
        if (!dialog) qFatal("no start dialog");
        dialog->findChild<QLineEdit*>(QStringLiteral("strYYMMDD"))->setText(from.toDisplayText());
        dialog->findChild<QLineEdit*>(QStringLiteral("endYYMMDD"))->setText(to.toDisplayText());
        auto* list = dialog->findChild<QListWidget*>(QStringLiteral("ComboKBun"));
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->text().startsWith(QStringLiteral("10"))) list->setCurrentRow(i);
        db.statementIssued = [&](const QString& sql, const QVariantList& binds) { o.statements.emplace_back(sql, binds); };
        clock.start();
        QTest::keyClick(list, Qt::Key_Return);
    });
    app::WindowSequence sequence(settings, db);
    if (!sequence.openMainWindow()) qFatal("the main window did not open");
    while (!watch.painted) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    o.openMs = msSince(clock);
    db.statementIssued = nullptr;
    qApp->removeEventFilter(&watch);
    o.boxes = watch.boxes;
    return o;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("%7s %8s %8s %6s %10s %6s %8s\n", "orders", "open ms", "bare ms", "ratio", "statements", "boxes", "peak MB");
    for (int orders : {10000, 40000}) {
        QTemporaryDir dir;
        auto database = bench::makeScalePlant(dir.filePath(QStringLiteral("plant.db")), orders);

        core::ProgramSettings s;
        s.TantoCode = QStringLiteral("1001");
        s.KojoCode = 1;
        s.KengenKubun = QStringLiteral("1");
        s.CommandLineText = QStringLiteral("20250602 1001 1 1 PLANNER");
        s.DayChangeTime = core::TimeOfDay::fromHms(8, 0);
        s.GridMinutes = 10;
        s.MainWidth = 1600 * 15;
        s.MainHeight = 900 * 15;
        const core::Date from = bench::ScalePlantBase.addDays(-28), to = bench::ScalePlantBase.addDays(88);  // as bench_load

        // Rounds alternate opening and bare read on a shared machine; the best of each counts.
        double openMs = 1e300, bareMs = 1e300;
        Opening last;
        for (int round = 0; round < 3; ++round) {
            last = openOnce(s, *database, from, to);
            openMs = std::min(openMs, last.openMs);
            QElapsedTimer t;
            t.start();
            readAll(*database, last.statements);
            bareMs = std::min(bareMs, msSince(t));
        }
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        std::printf("%7d %8.1f %8.1f %6.2f %10zu %6d %8.1f\n", orders, openMs, bareMs, openMs / bareMs, last.statements.size(), last.boxes,
                    double(usage.ru_maxrss) / 1024.0);
        std::fflush(stdout);
    }
    std::printf("open = Enter on the process class in the start dialog until the chart's first paint (best of 3)\n"
                "bare = the statements issued meanwhile, executed again and read through the same driver (best of 3)\n"
                "ratio = open / bare (target at most 3)\n");
    return 0;
}
