// What the headless export needs in memory at plant scale.
//
// On a demo plant of 40,000 open orders on 60 machines in SQLite:
//  - the live plan: the export's own load (loadCommandPlan: the same start-up,
//    session and load) and the heap it holds in use afterwards (plan table,
//    rows, calendars, masters, the driver's cache);
//  - the export's peak: runExport as `planner --export` runs it, the peak
//    resident memory it adds (the kernel's high-water mark, reset before);
//  - their ratio (target at most 1.3: no second copy of the records is ever
//    alive, the CSV is no second plan) and the bytes per loaded record.

#include "app/startup/ExportRun.h"
#include "ScalePlant.h"
#include "plan/PlanRecord.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <malloc.h>
#include <cstdio>

namespace {

constexpr int kOrders = 40000;
const core::Date kBase = bench::ScalePlantBase;

// A field of /proc/self/status in bytes ("VmRSS", "VmHWM").
long statusBytes(const char* field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field)) return line.mid(int(qstrlen(field)) + 1).trimmed().split(' ').front().toLong() * 1024L;
    return -1;
}

// Starts the high-water mark again from the present resident memory.
bool resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

std::size_t heapInUse()
{
    const struct mallinfo2 m = ::mallinfo2();
    return m.uordblks + m.hblkhd;
}

double mb(double bytes) { return bytes / (1024.0 * 1024.0); }

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    bench::makeScalePlant(dir.filePath(QStringLiteral("demo.sqlite")), kOrders);
    const QString ini = dir.filePath(QStringLiteral("planner.ini"));
    {
        QFile f(ini);
        if (!f.open(QIODevice::WriteOnly)) return 1;
        f.write(QByteArrayLiteral("x\ny\n0\n0\n0\n0\n08:00:00\n800\n600\n\n\n\nSQLITE\ndemo.sqlite\n\n\n\n"));
    }
    app::ExportOptions o;
    o.exportPlan = true;
    o.classCode = QStringLiteral("10");
    o.from = kBase.addDays(-28).toDisplayText();
    o.to = kBase.addDays(88).toDisplayText();
    o.outFile = dir.filePath(QStringLiteral("plan.csv"));
    o.commandTokens = QStringList{"20250602", "1001", "1", "1", "PLANNER"};
    QString errors;
    QTextStream err(&errors);

    // A first load brings in what any load needs once: the driver, code pages, locale data.
    if (!app::loadCommandPlan(o, ini, dir.path(), err)) {
        std::fprintf(stderr, "the load failed: %s\n", qPrintable(errors));
        return 1;
    }
    // The live plan.
    ::malloc_trim(0);
    const std::size_t heapBefore = heapInUse();
    const long rssBefore = statusBytes("VmRSS");
    std::size_t live = 0;
    long liveRss = 0;
    int records = 0;
    {
        const auto plan = app::loadCommandPlan(o, ini, dir.path(), err);
        if (!plan) {
            std::fprintf(stderr, "the load failed: %s\n", qPrintable(errors));
            return 1;
        }
        live = heapInUse() - heapBefore;
        ::malloc_trim(0);  // what the load freed is no part of the live plan
        liveRss = statusBytes("VmRSS") - rssBefore;
        records = plan->session->plan().size() - 1;
    }

    // The export's peak, the best of three.
    long added = -1;
    for (int round = 0; round < 3; ++round) {
        ::malloc_trim(0);
        const long before = statusBytes("VmRSS");
        if (!resetPeak() || before < 0) {
            std::fprintf(stderr, "the peak resident memory cannot be reset here (/proc/self/clear_refs)\n");
            return 1;
        }
        if (app::runExport(o, ini, dir.path(), err) != 0) {
            std::fprintf(stderr, "the export failed: %s\n", qPrintable(errors));
            return 1;
        }
        const long peak = statusBytes("VmHWM") - before;
        added = added < 0 ? peak : std::min(added, peak);
    }
    std::printf("%d demo orders, %d loaded by the export (CSV %.1f MB)\n", kOrders, records, mb(double(QFile(o.outFile).size())));
    std::printf("live plan: %.1f MB of heap in use after the load (%.1f MB resident)\n", mb(double(live)), mb(double(liveRss)));
    std::printf("export: its peak adds %.1f MB of resident memory\n", mb(double(added)));
    std::printf("export peak / live plan (target <= 1.3): %.2f\n", double(added) / double(live));
    std::printf("per loaded record: %.0f bytes of the live plan (the record itself %zu bytes; target about 2 KB plus its texts)\n",
                double(live) / std::max(1, records), sizeof(plan::PlanRecord));
    return 0;
}
