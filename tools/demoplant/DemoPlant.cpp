#include "DemoPlant.h"

#include "DemoModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace demoplant {

QString schemaDirectory()
{
    QStringList candidates;
    const QString env = qEnvironmentVariable("PLANNER_SQL_DIR");
    if (!env.isEmpty())
        candidates << env;
    if (QCoreApplication::instance()) {
        const QString app = QCoreApplication::applicationDirPath();
        candidates << app + QStringLiteral("/sql") << app + QStringLiteral("/../sql");
    }
#ifdef PLANNER_SQL_DIR
    candidates << QStringLiteral(PLANNER_SQL_DIR);
#endif
    for (const QString& dir : candidates)
        if (QFileInfo::exists(dir + QStringLiteral("/sqlite.sql")))
            return QDir::cleanPath(dir);
    return {};
}

void createSchema(db::Database& database)
{
    QString file;
    switch (database.kind()) {
    case db::Kind::Sqlite: file = QStringLiteral("sqlite.sql"); break;
    case db::Kind::PostgreSql: file = QStringLiteral("postgresql.sql"); break;
    default:
        throw db::Error(QStringLiteral("no schema script for this kind of database; create the tables with the plant's own tools"));
    }
    const QString dir = schemaDirectory();
    QFile script(dir + QLatin1Char('/') + file);
    if (dir.isEmpty() || !script.open(QIODevice::ReadOnly))
        throw db::Error(QStringLiteral("schema script %1 not found (set PLANNER_SQL_DIR)").arg(file));
    // One transaction: on a disk, SQLite would otherwise sync after every table.
    const bool own = !database.inTransaction();
    if (own)
        database.begin();
    try {
        database.execScript(QString::fromUtf8(script.readAll()));
        if (own)
            database.commit();
    } catch (...) {
        if (own && database.inTransaction())
            database.rollback();
        throw;
    }
}

void generateDemoPlant(db::Database& database, const DemoOptions& options)
{
    PlantModel model;
    model.options = options;
    model.base = options.baseDate.isNull() ? core::nowMoment().date() : options.baseDate;
    model.calendarFirst = model.base.addDays(-30);
    model.calendarLast = model.base.addDays(90);
    // Rows look as if the plant's tools had registered them a while ago.
    model.audit = {model.base.addDays(-40).toYmdText(), QStringLiteral("090000"), QStringLiteral("1001"), 1,
                   QStringLiteral("DEMO")};

    DemoRandom rnd(options.seed);
    database.begin();
    try {
        writeOrganisation(database, model, rnd);
        writeCalendars(database, model, rnd);
        writeItems(database, model, rnd);
        writeOrders(database, model, rnd);
        database.commit();
    } catch (...) {
        try {
            if (database.inTransaction())
                database.rollback();
        } catch (const db::Error&) {
            // the original failure is the one worth reporting
        }
        throw;
    }
}

}  // namespace demoplant
