// planner-demo: writes the demo plant into a new SQLite file.

#include "DemoPlant.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

namespace {

const char* kUsageEnglish =
    "Usage: planner-demo --db FILE [--seed N] [--date yyyymmdd] [--orders N]\n"
    "                    [--machines N] [--components N] [--force]\n"
    "\n"
    "Creates a SQLite production database with a demo plant: machines with\n"
    "calendars, items, moulds, production plans and work orders around the date.\n"
    "\n"
    "  --db FILE         database file to create\n"
    "  --seed N          random seed; the same seed gives the same plant (1)\n"
    "  --date yyyymmdd   the day the plan is laid out around (today)\n"
    "  --orders N        number of work orders (300)\n"
    "  --machines N      moulding machines; other classes get fewer (14)\n"
    "  --components N    component rows in total (as the bills of materials give)\n"
    "  --force           replace an existing file\n"
    "  --help            this text\n";

const char* kUsageJapanese =
    "使い方: planner-demo --db ファイル [--seed N] [--date yyyymmdd] [--orders N]\n"
    "                     [--machines N] [--components N] [--force]\n"
    "\n"
    "デモ工場の生産データベース(SQLite)を作成します。機械とカレンダー、品目、金型、\n"
    "生産計画と手配を指定日の前後に作ります。\n"
    "\n"
    "  --db ファイル     作成するデータベースファイル\n"
    "  --seed N          乱数の種。同じ種からは同じデータができます (1)\n"
    "  --date yyyymmdd   計画の基準日 (今日)\n"
    "  --orders N        手配数 (300)\n"
    "  --machines N      成形機の台数。他の工程分類はこれより少なくなります (14)\n"
    "  --components N    部材行の総数 (部品表どおり)\n"
    "  --force           既存のファイルを置き換えます\n"
    "  --help            この説明\n";

bool japanese()
{
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString v = qEnvironmentVariable(var);
        if (!v.isEmpty())
            return v.startsWith(QLatin1String("ja"));
    }
    return false;
}

int fail(const QString& message)
{
    std::fprintf(stderr, "planner-demo: %s\n", qPrintable(message));
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);

    demoplant::DemoOptions options;
    QString file;
    bool force = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&](QString& out) {
            if (i + 1 >= args.size())
                return false;
            out = args[++i];
            return true;
        };
        const auto number = [&](int& out) {
            QString text;
            bool ok = false;
            if (value(text))
                out = text.toInt(&ok);
            return ok && out >= 0;
        };
        QString text;
        int n = 0;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            std::fputs(japanese() ? kUsageJapanese : kUsageEnglish, stdout);
            return 0;
        } else if (a == QLatin1String("--db")) {
            if (!value(file))
                return fail(QStringLiteral("--db needs a file name"));
        } else if (a == QLatin1String("--seed")) {
            if (!number(n))
                return fail(QStringLiteral("--seed needs a number"));
            options.seed = quint32(n);
        } else if (a == QLatin1String("--date")) {
            if (!value(text) || (options.baseDate = core::Date::fromYmdText(text)).isNull())
                return fail(QStringLiteral("--date needs a date yyyymmdd"));
        } else if (a == QLatin1String("--orders")) {
            if (!number(options.orders) || options.orders < 1)
                return fail(QStringLiteral("--orders needs a positive number"));
        } else if (a == QLatin1String("--machines")) {
            if (!number(options.machines) || options.machines < 1)
                return fail(QStringLiteral("--machines needs a positive number"));
        } else if (a == QLatin1String("--components")) {
            if (!number(options.componentRows))
                return fail(QStringLiteral("--components needs a number"));
        } else if (a == QLatin1String("--force")) {
            force = true;
        } else {
            return fail(QStringLiteral("unknown argument %1 (see --help)").arg(a));
        }
    }
    if (file.isEmpty())
        return fail(QStringLiteral("--db FILE is required (see --help)"));
    if (QFileInfo::exists(file)) {
        if (!force)
            return fail(QStringLiteral("%1 exists; use --force to replace it").arg(file));
        if (!QFile::remove(file))
            return fail(QStringLiteral("cannot remove %1").arg(file));
    }

    QElapsedTimer timer;
    timer.start();
    try {
        auto db = db::Database::openSqlite(file);
        demoplant::createSchema(*db);
        demoplant::generateDemoPlant(*db, options);
    } catch (const db::Error& e) {
        QFile::remove(file);  // never leave a half-written demo behind
        return fail(e.message.isEmpty() ? QString::fromUtf8(e.what()) : e.message);
    }
    std::printf("planner-demo: wrote %s (%d orders, seed %u) in %.1f s\n", qPrintable(file), options.orders,
                unsigned(options.seed), timer.elapsed() / 1000.0);
    return 0;
}
