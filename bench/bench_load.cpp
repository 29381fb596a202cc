// What loading a plant costs beyond reading its rows.
//
// For demo plants of 2,500, 10,000 and 40,000 open orders on 60 machines (two
// component rows per order) in SQLite, prints the bare cost of executing the
// statements a load issues (rows, calendars, masters, components and plan, as
// recorded from a first load, with the same values) and reading every column
// through the same driver, the cost of the whole load as the program runs it (a plan session's
// load: rows and calendars, plan table, arrangement), their ratio (target
// below 2), the growth between sizes (linear growth gives 4; target at most
// 4.4 from 10,000 to 40,000) and the process's peak memory after each size.
//
// The plan table is fresh memory at every load.
// Where the first touch of a memory page is expensive (some virtual machines
// take tens of microseconds per page) that alone can cost as much as reading
// the rows, so the bench also measures it on its own and prints the ratio
// without it.

#include "BareRead.h"
#include "ScalePlant.h"
#include "core/Prompt.h"
#include "session/PlanSession.h"
#include "store/loading/PlanStatements.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <sys/mman.h>
#include <sys/resource.h>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

class YesPrompt : public core::Prompt {
public:
    int questions = 0;
    bool askYesNo(const QString&, const QString&, bool) override { ++questions; return true; }
    void tell(const QString&, const QString&, Icon) override {}
};

core::ProgramSettings benchSettings(core::Date base)
{
    core::ProgramSettings s;
    s.TantoCode = QStringLiteral("1001");
    s.KojoCode = 1;
    s.processClassCode = QStringLiteral("10");
    s.PeriodStart = base.addDays(-28);  // about 120 calendar days, as the demo's calendars
    s.PeriodEnd = base.addDays(88);
    s.DayChangeTime = core::TimeOfDay::fromHms(8, 0);
    s.GridMinutes = 10;
    s.KengenKubun = QStringLiteral("1");
    return s;
}

// First touch of fresh memory the size of the loaded plan table.
double firstTouchMs(std::size_t bytes)
{
    QElapsedTimer t;
    t.start();
    void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return 0;
    for (std::size_t i = 0; i < bytes; i += 4096) static_cast<volatile char*>(p)[i] = 1;
    const double ms = double(t.nsecsElapsed()) / 1e6;
    ::munmap(p, bytes);
    return ms;
}

double msSince(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

struct Result {
    int orders = 0;
    int loaded = 0;
    int statements = 0;
    double bareMs = 1e300, loadMs = 1e300, touchMs = 1e300;
};

Result measure(int orders)
{
    QTemporaryDir dir;
    auto database = bench::makeScalePlant(dir.filePath(QStringLiteral("plant.db")), orders);
    core::ProgramSettings s = benchSettings(bench::ScalePlantBase);

    Result r;
    r.orders = orders;
    // The statements a load issues, in order, with their values: the bare read repeats them.
    std::vector<std::pair<QString, QVariantList>> issued;
    {
        YesPrompt quiet;
        session::PlanSession first(s, database.get());
        first.setPrompt(&quiet);
        database->statementIssued = [&](const QString& sql, const QVariantList& binds) { issued.emplace_back(sql, binds); };
        first.load();  // also warms the page cache
        database->statementIssued = nullptr;
    }
    // The machine is shared: rounds alternate the bare read and the load so that
    // both meet the same conditions, and the best round of each counts. The
    // tables of each load outlive its timing (the program keeps them; their
    // destruction is no part of a load).
    std::vector<std::unique_ptr<session::PlanSession>> sessions;
    YesPrompt prompt;
    for (int round = 0; round < 7; ++round) {
        QElapsedTimer t;
        t.start();
        for (const auto& [sql, binds] : issued) bench::readAll(*database, sql, binds);
        r.bareMs = std::min(r.bareMs, msSince(t));
        r.statements = int(issued.size());

        sessions.push_back(std::make_unique<session::PlanSession>(s, database.get()));
        session::PlanSession& session = *sessions.back();
        session.setPrompt(&prompt);
        t.restart();
        session.load();
        r.loadMs = std::min(r.loadMs, msSince(t));
        r.loaded = session.plan().size() - 1;

        t.restart();
        firstTouchMs(std::size_t(r.loaded + 1) * sizeof(plan::PlanRecord));
        r.touchMs = std::min(r.touchMs, msSince(t));
    }
    return r;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::vector<Result> results;
    std::printf("%7s %7s %8s %8s %6s %8s %7s %8s\n", "orders", "loaded", "bare ms", "load ms", "ratio", "touch ms", "ratio-t", "peak MB");
    for (int orders : {2500, 10000, 40000}) {
        const Result r = measure(orders);
        results.push_back(r);
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        std::printf("%7d %7d %8.1f %8.1f %6.2f %8.1f %7.2f %8.1f\n", r.orders, r.loaded, r.bareMs, r.loadMs, r.loadMs / r.bareMs, r.touchMs,
                    (r.loadMs - r.touchMs) / r.bareMs, double(usage.ru_maxrss) / 1024.0);
        std::fflush(stdout);
    }
    std::printf("load = a plan session's load: rows and calendars + plan table + arrangement (best round)\n"
                "ratio = load / bare (target < 2)\n"
                "touch = first touch of fresh memory the size of the loaded table; ratio-t = (load - touch) / bare\n"
                "peak MB = the process's peak resident memory so far (seven sessions of each size are kept)\n"
                "bare = the %d statements of a load (%d at the largest size) executed and read through the same driver\n",
                results.front().statements, results.back().statements);
    for (std::size_t i = 1; i < results.size(); ++i)
        std::printf("growth %d -> %d orders: bare x%.2f, load x%.2f (linear: x%.2f)\n", results[i - 1].orders, results[i].orders,
                    results[i].bareMs / results[i - 1].bareMs, results[i].loadMs / results[i - 1].loadMs,
                    double(results[i].orders) / results[i - 1].orders);
    return 0;
}
