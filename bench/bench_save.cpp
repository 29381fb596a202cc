// What saving costs beyond writing its rows.
//
// A demo plant with some 10,000 open orders of the moulding class is loaded
// and every loaded order is changed (its remark), then saved. The same rows
// are then written bare into an identical copy of the database: one plain
// UPDATE (of the columns the save changed) or INSERT per row the save wrote,
// in one transaction, through the same connection wrapper. Prints both times,
// their ratio (target below 2) and the statements per saved order. Runs on
// SQLite, and on PostgreSQL when PLANNER_TEST_PG ("host:port:user") is set.

#include "core/Prompt.h"
#include "demoplant/DemoPlant.h"
#include "session/PlanSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int kOrders = 10000;

class YesPrompt : public core::Prompt {
public:
    bool askYesNo(const QString&, const QString&, bool) override { return true; }
    void tell(const QString& text, const QString&, Icon) override { std::printf("  told: %s\n", qPrintable(text)); }
};

demoplant::DemoOptions plantOptions()
{
    demoplant::DemoOptions o;
    o.orders = 25500;  // some 10,000 of them fall to the moulding class
    o.machines = 60;
    o.componentRows = 2 * o.orders;
    o.baseDate = core::Date::fromYmd(2025, 6, 2);
    return o;
}

core::ProgramSettings benchSettings(core::Date base)
{
    core::ProgramSettings s;
    s.TantoCode = QStringLiteral("1001");
    s.KojoCode = 1;
    s.TanmatsuNo = 3;
    s.ProgramId = QStringLiteral("BENCHSAV");
    s.processClassCode = QStringLiteral("10");
    s.PeriodStart = base.addDays(-28);
    s.PeriodEnd = base.addDays(88);
    s.DayChangeTime = core::TimeOfDay::fromHms(8, 0);
    s.GridMinutes = 10;
    s.KengenKubun = QStringLiteral("1");
    return s;
}

const core::Moment kSavedAt = core::Moment::of(core::Date::fromYmd(2025, 6, 3), core::TimeOfDay::fromHms(11, 22, 33));

// The rows the save wrote, found by its audit stamp, with what they hold.
struct WrittenRow {
    QString table;
    bool inserted = false;
    QStringList keys, columns;
    QVariantList keyValues, values;
};

std::vector<WrittenRow> rowsWritten(db::Database& saved, db::Database& untouched)
{
    std::vector<WrittenRow> out;
    const QString time = kSavedAt.time().toHhnnss();
    for (const QString& table : {QStringLiteral("DB0253"), QStringLiteral("DB0252"), QStringLiteral("DB0259"), QStringLiteral("DB0251"),
                                 QStringLiteral("DB0492"), QStringLiteral("DB0491"), QStringLiteral("DB0018")}) {
        QSqlQuery probe(saved.handle());
        probe.exec(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE 1=0"));
        const QSqlRecord layout = probe.record();
        const bool hourColumn = layout.indexOf(QStringLiteral("更新時間")) >= 0;
        const QString stamp = hourColumn ? QStringLiteral("更新時間") : QStringLiteral("更新時刻");
        const QString registered = hourColumn ? QStringLiteral("登録時間") : QStringLiteral("登録時刻");
        const QStringList keys = db::Database::primaryKeyOf(table);
        db::Cursor c = saved.query(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE ") + stamp +
                                       QStringLiteral("=? AND 更新プログラム='BENCHSAV'"),
                                   {time});
        std::vector<WrittenRow> rows;
        while (c.next()) {
            WrittenRow r;
            r.table = table;
            r.keys = keys;
            r.inserted = c.text(registered) == time;
            for (const QString& k : keys) r.keyValues << c.value(k);
            for (int i = 0; i < layout.count(); ++i) {
                const QString name = layout.fieldName(i);
                if (keys.contains(name, Qt::CaseInsensitive)) continue;
                r.columns << name;
                r.values << c.value(name);
            }
            rows.push_back(r);
        }
        // An update sets what the save changed, and the audit columns.
        for (WrittenRow& r : rows) {
            if (r.inserted) continue;
            QStringList where;
            for (const QString& k : r.keys) where << k + QStringLiteral("=?");
            db::Cursor before = untouched.query(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE ") +
                                                    where.join(QStringLiteral(" AND ")),
                                                r.keyValues);
            if (!before.next()) continue;
            QStringList columns;
            QVariantList values;
            for (int i = 0; i < r.columns.size(); ++i) {
                if (before.text(r.columns[i]) == (r.values[i].isNull() ? QString() : r.values[i].toString()) &&
                    !r.columns[i].startsWith(QStringLiteral("更新")))
                    continue;
                columns << r.columns[i];
                values << r.values[i];
            }
            while (before.next()) {
            }
            r.columns = columns;
            r.values = values;
        }
        for (WrittenRow& r : rows) out.push_back(std::move(r));
    }
    return out;
}

double writeBare(db::Database& db, const std::vector<WrittenRow>& rows)
{
    QElapsedTimer t;
    t.start();
    db.begin();
    for (const WrittenRow& r : rows) {
        if (r.inserted) {
            QStringList marks;
            for (int i = 0; i < r.keys.size() + r.columns.size(); ++i) marks << QStringLiteral("?");
            db.exec(QStringLiteral("INSERT INTO ") + r.table + QStringLiteral(" (") + (r.keys + r.columns).join(QLatin1Char(',')) +
                        QStringLiteral(") VALUES (") + marks.join(QLatin1Char(',')) + QLatin1Char(')'),
                    r.keyValues + r.values);
        } else {
            QStringList sets, where;
            for (const QString& c : r.columns) sets << c + QStringLiteral("=?");
            for (const QString& k : r.keys) where << k + QStringLiteral("=?");
            db.exec(QStringLiteral("UPDATE ") + r.table + QStringLiteral(" SET ") + sets.join(QLatin1Char(',')) + QStringLiteral(" WHERE ") +
                        where.join(QStringLiteral(" AND ")),
                    r.values + r.keyValues);
        }
    }
    db.commit();
    return double(t.nsecsElapsed()) / 1e6;
}

void run(const char* label, db::Database& a, db::Database& b)
{
    const demoplant::DemoOptions o = plantOptions();
    core::ProgramSettings s = benchSettings(o.baseDate);
    YesPrompt prompt;
    session::PlanSession session(s, &a);
    session.setPrompt(&prompt);
    session.setClock([] { return kSavedAt; });
    session.load();
    session.apply(QStringLiteral("備考"), [](reschedule::RuleContext& ctx) {
        reschedule::RuleOutcome out;
        const int changed = std::min(kOrders, ctx.plan.size() - 1);
        for (int i = 2; i <= changed + 1; ++i) {
            plan::PlanRecord& r = ctx.plan.edit(i);
            r.remarks = QStringLiteral("計画変更 %1").arg(i);
            r.isChanged = true;
            out.touch(i);
        }
        return out;
    });

    int statements = 0;
    // With PLANNER_BENCH_PROFILE set, the time up to the next statement is
    // charged to the statement's opening words.
    const bool profile = !qEnvironmentVariable("PLANNER_BENCH_PROFILE").isEmpty();
    QHash<QString, double> spent;
    QString previous;
    QElapsedTimer since;
    since.start();
    a.beforeStatement = [&](const QString& sql) {
        ++statements;
        if (!profile) return;
        if (!previous.isEmpty()) spent[previous] += double(since.nsecsElapsed()) / 1e6;
        previous = sql.left(34);
        since.restart();
    };
    QElapsedTimer t;
    t.start();
    const store::SaveResult result = session.save();
    const double saveMs = double(t.nsecsElapsed()) / 1e6;
    a.beforeStatement = nullptr;
    if (profile) {
        spent[previous] += double(since.nsecsElapsed()) / 1e6;
        QList<QPair<double, QString>> top;
        for (auto it = spent.cbegin(); it != spent.cend(); ++it) top << qMakePair(it.value(), it.key());
        std::sort(top.begin(), top.end(), [](const auto& x, const auto& y) { return x.first > y.first; });
        for (int i = 0; i < top.size() && i < 12; ++i) std::printf("  %9.1f ms  %s\n", top[i].first, qPrintable(top[i].second));
    }
    if (result.outcome != store::SaveOutcome::Saved) {
        std::printf("%s: save did not complete: %s\n", label, qPrintable(result.error));
        return;
    }

    const std::vector<WrittenRow> rows = rowsWritten(a, b);
    const double bareMs = writeBare(b, rows);
    std::printf("%-10s %8d %9.1f %9zu %9.1f %7.2f %10d %9.3f\n", label, result.ordersWritten, saveMs, rows.size(), bareMs,
                saveMs / bareMs, statements, double(statements) / std::max(1, result.ordersWritten));
    std::fflush(stdout);
}

void sqlite()
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.db")), b = dir.filePath(QStringLiteral("b.db"));
    {
        auto db = db::Database::openSqlite(a);
        demoplant::createSchema(*db);
        demoplant::generateDemoPlant(*db, plantOptions());
    }
    QFile::copy(a, b);
    auto dbA = db::Database::openSqlite(a);
    auto dbB = db::Database::openSqlite(b);
    run("SQLite", *dbA, *dbB);
}

void postgres()
{
    const QStringList parts = qEnvironmentVariable("PLANNER_TEST_PG").split(QLatin1Char(':'));
    if (parts.size() != 3) return;
    db::ConnectionSettings admin;
    admin.kind = db::Kind::PostgreSql;
    admin.item14 = parts[0] + QLatin1Char(':') + parts[1];
    admin.item15 = QStringLiteral("postgres");
    admin.item16 = parts[2];
    const QString a = QStringLiteral("bench_save_%1_a").arg(QCoreApplication::applicationPid());
    const QString b = QStringLiteral("bench_save_%1_b").arg(QCoreApplication::applicationPid());
    auto server = db::Database::open(admin);
    for (const QString& name : {a, b}) server->exec(QStringLiteral("DROP DATABASE IF EXISTS ") + name);
    server->exec(QStringLiteral("CREATE DATABASE ") + a + QStringLiteral(" ENCODING 'UTF8' TEMPLATE template0"));
    db::ConnectionSettings sa = admin, sb = admin;
    sa.item15 = a;
    sb.item15 = b;
    {
        auto db = db::Database::open(sa);
        demoplant::createSchema(*db);
        demoplant::generateDemoPlant(*db, plantOptions());
        db->exec(QStringLiteral("ANALYZE"));
    }
    server->exec(QStringLiteral("CREATE DATABASE ") + b + QStringLiteral(" TEMPLATE ") + a);
    {
        auto dbA = db::Database::open(sa);
        auto dbB = db::Database::open(sb);
        run("PostgreSQL", *dbA, *dbB);
    }
    for (const QString& name : {a, b}) server->exec(QStringLiteral("DROP DATABASE IF EXISTS ") + name + QStringLiteral(" WITH (FORCE)"));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::printf("%-10s %8s %9s %9s %9s %7s %10s %9s\n", "database", "orders", "save ms", "rows", "bare ms", "ratio", "statements",
                "per order");
    try {
        sqlite();
        postgres();
    } catch (const db::Error& e) {
        std::printf("failed: %s\n", e.what());
        return 1;
    }
    std::printf("save = the whole save (checks, reads, writes, commit); bare = one plain UPDATE or INSERT per row the save\n"
                "wrote, in one transaction; ratio = save / bare (target < 2); statements = statements the save issued\n");
    return 0;
}
