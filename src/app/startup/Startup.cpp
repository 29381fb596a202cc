#include "app/startup/Startup.h"

#include "app/startup/CommandLine.h"
#include "app/startup/PlannerIni.h"

#include <optional>

namespace app {

namespace {

StartupError databaseError(const QString& what, const QString& whatEn, const db::Error& e)
{
    return StartupError{QStringLiteral("%1\n%2").arg(what, e.message),
                        QStringLiteral("%1: %2").arg(whatEn, e.message)};
}

}  // namespace

StartupResult<StartupConfig> readStartupConfig(const QString& iniPath, const QString& commandLineText,
                                               const QString& programDir)
{
    auto iniRead = readPlannerIni(iniPath);
    if (failed(iniRead)) return errorOf(iniRead);
    const PlannerIni& ini = std::get<PlannerIni>(iniRead);

    auto lineRead = parseCommandLine(commandLineText);
    if (failed(lineRead)) return errorOf(lineRead);
    const CommandLine& line = std::get<CommandLine>(lineRead);

    StartupConfig c;
    core::ProgramSettings& s = c.settings;
    s.CommandLineText = line.text;
    s.TantoCode = line.TantoCode;
    s.KojoCode = line.KojoCode;
    s.TanmatsuNo = line.TanmatsuNo;
    s.ProgramId = line.ProgramId;

    s.IniOption3 = ini.option3;
    s.IniOption5 = ini.option5;
    s.IniOption6 = ini.option6;
    s.MainWidth = ini.mainWidthTwips();
    s.MainHeight = ini.mainHeightTwips();
    s.DbKind = ini.item(13);

    // Every working-time computation needs the day change; an unreadable one
    // would otherwise fail at the first bar.
    if (ini.itemsRead >= 7) {
        const std::optional<core::TimeOfDay> t = core::TimeOfDay::fromDisplayText(ini.item(7).trimmed());
        if (!t)
            return StartupError{
                QStringLiteral("設定ファイルの 7 番目の項目（日替わり時刻）「%1」は時刻ではありません（例: 08:00:00）。\n%2")
                    .arg(ini.item(7), iniPath),
                QStringLiteral("Item 7 of the configuration file (day change time) \"%1\" is not a time of day (e.g. 08:00:00): %2")
                    .arg(ini.item(7), iniPath)};
        s.DayChangeTime = *t;
    }

    db::ConnectionSettings& cs = c.connection;
    cs.oracleUser = ini.item(10);
    cs.oraclePassword = ini.item(11);
    cs.oracleDataSource = ini.item(12);
    cs.item14 = ini.item(14);
    cs.item15 = ini.item(15);
    cs.item16 = ini.item(16);
    cs.item17 = ini.item(17);
    cs.sqliteBaseDir = programDir;
    c.iniPath = iniPath;
    return c;
}

StartupResult<bool> resolveDatabaseKind(StartupConfig& c)
{
    db::ConnectionSettings& cs = c.connection;
    const QString& iniPath = c.iniPath;
    const QString& dbKind = c.settings.DbKind;
    if (!db::kindFromDbKindText(dbKind, cs.kind))
        return StartupError{
            QStringLiteral("設定ファイルの 13 番目の項目（データベース種別）「%1」が読めません。\n"
                           "1 (Oracle)、その他の数値 (SQL Server)、SQLITE、POSTGRESQL のいずれかを指定してください。\n%2")
                .arg(dbKind, iniPath),
            QStringLiteral("Item 13 of the configuration file (database kind) \"%1\" is not 1 (Oracle), another number "
                           "(SQL Server), SQLITE or POSTGRESQL: %2")
                .arg(dbKind, iniPath)};
    c.sqlConnectString = cs.kind == db::Kind::SqlServer ? db::buildSqlConnectString(cs) : QString();
    return true;
}

StartupResult<std::unique_ptr<db::Database>> connectDatabase(StartupConfig& config)
{
    auto kind = resolveDatabaseKind(config);
    if (failed(kind)) return errorOf(kind);
    try {
        return db::Database::open(config.connection);
    } catch (const db::Error& e) {
        return databaseError(QStringLiteral("データベースに接続できません。"), QStringLiteral("Cannot connect to the database"), e);
    } catch (const std::exception& e) {
        return StartupError{QStringLiteral("データベースに接続できません。\n%1").arg(QString::fromLocal8Bit(e.what())),
                            QStringLiteral("Cannot connect to the database: %1").arg(QString::fromLocal8Bit(e.what()))};
    }
}

StartupResult<QString> readPermission(db::Database& db, const QString& tantoCode)
{
    try {
        db::Cursor c = db.query(QStringLiteral("SELECT Velmoran権限区分 FROM DB0003 WHERE 担当者コード=?"), {tantoCode});
        if (c.next()) return c.text(QStringLiteral("VELMORan権限区分"));
        return QString();
    } catch (const db::Error& e) {
        return databaseError(QStringLiteral("担当者の権限区分（DB0003）を読み込めません。"),
                             QStringLiteral("Cannot read the operator's permission (DB0003)"), e);
    }
}

StartupResult<DisplaySettings> readDisplaySettings(db::Database& db)
{
    try {
        db::Cursor c = db.query(QStringLiteral("SELECT 表示期間＿ヶ月,グリッド単位＿分 FROM DB0351  "));
        DisplaySettings s{0, 0};
        if (c.next()) {
            s.DisplayMonths = int(c.integer(QStringLiteral("表示期間＿ヶ月")));
            s.GridMinutes = int(c.integer(QStringLiteral("グリッド単位＿分")));
        }
        return s;
    } catch (const db::Error& e) {
        return databaseError(QStringLiteral("表示設定（DB0351）を読み込めません。"),
                             QStringLiteral("Cannot read the display settings (DB0351)"), e);
    }
}

DisplaySettings correctedDisplaySettings(DisplaySettings s)
{
    if (s.DisplayMonths == 0) s.DisplayMonths = 1;
    if (s.DisplayMonths > 3) s.DisplayMonths = 3;
    if (s.GridMinutes == 0) s.GridMinutes = 1;
    return s;
}

StartupResult<bool> readOperatorSettings(db::Database& db, core::ProgramSettings& settings)
{
    auto permission = readPermission(db, settings.TantoCode);
    if (failed(permission)) return errorOf(permission);
    auto display = readDisplaySettings(db);
    if (failed(display)) return errorOf(display);
    settings.KengenKubun = std::get<QString>(permission);
    const DisplaySettings d = correctedDisplaySettings(std::get<DisplaySettings>(display));
    settings.DisplayMonths = d.DisplayMonths;
    settings.GridMinutes = d.GridMinutes;
    return true;
}

QString doubleStartMessage() { return QStringLiteral("生産計画システムは既に起動されています。"); }
QString doubleStartTitle() { return QStringLiteral("二重起動"); }

}  // namespace app
