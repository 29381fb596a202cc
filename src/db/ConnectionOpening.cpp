#include "db/ConnectionOpening.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace db {

QString buildSqlConnectString(const ConnectionSettings& s)
{
    // Kept byte for byte as the plant's tools build it (shown and logged only:
    // Qt connects to SQL Server through ODBC).
    return QStringLiteral("PROVIDER=SQLOLEDB;Data Source=") + s.item14 + QStringLiteral("; Initial Catalog=") + s.item15
           + QStringLiteral("; User ID=") + s.item16 + QStringLiteral("; Password=") + s.item17 + QStringLiteral(";");
}

QString odbcValue(const QString& value)
{
    QString v = value;
    v.replace(QLatin1Char('}'), QLatin1String("}}"));
    return QLatin1Char('{') + v + QLatin1Char('}');
}

QString odbcSqlServerConnectString(const ConnectionSettings& s, const QString& driver)
{
    QString server = s.item14.trimmed();
    QString port;
    const bool freeTds = driver.contains(QLatin1String("FreeTDS"), Qt::CaseInsensitive);
    // "host,port" is SQL Server's own spelling; FreeTDS wants the port apart.
    if (freeTds && server.contains(QLatin1Char(','))) {
        port = server.section(QLatin1Char(','), 1).trimmed();
        server = server.section(QLatin1Char(','), 0, 0).trimmed();
    }
    QString cs = QStringLiteral("DRIVER=") + odbcValue(driver) + QStringLiteral(";SERVER=") + odbcValue(server);
    if (!port.isEmpty()) cs += QStringLiteral(";PORT=") + odbcValue(port);
    cs += QStringLiteral(";DATABASE=") + odbcValue(s.item15) + QStringLiteral(";UID=") + odbcValue(s.item16)
          + QStringLiteral(";PWD=") + odbcValue(s.item17) + QLatin1Char(';');
    // FreeTDS needs a TDS 7.x protocol and UTF-8 to carry Japanese text; the
    // Microsoft driver encrypts by default and plant servers rarely hold a trusted certificate.
    if (freeTds)
        cs += QStringLiteral("TDS_Version=7.4;ClientCharset=UTF-8;");
    else
        cs += QStringLiteral("TrustServerCertificate=yes;");
    return cs;
}

QString odbcOracleConnectString(const ConnectionSettings& s, const QString& driver)
{
    return QStringLiteral("DRIVER=") + odbcValue(driver) + QStringLiteral(";DBQ=") + odbcValue(s.oracleDataSource)
           + QStringLiteral(";UID=") + odbcValue(s.oracleUser) + QStringLiteral(";PWD=") + odbcValue(s.oraclePassword)
           + QLatin1Char(';');
}

void splitHostPort(const QString& item, QString& host, int& port)
{
    const QString t = item.trimmed();
    host = t;
    port = -1;
    if (t.startsWith(QLatin1Char('['))) {  // [::1]:5432
        const int close = t.indexOf(QLatin1Char(']'));
        if (close > 0) {
            host = t.mid(1, close - 1);
            if (t.mid(close + 1).startsWith(QLatin1Char(':'))) {
                bool ok = false;
                const int p = t.mid(close + 2).toInt(&ok);
                if (ok) port = p;
            }
        }
        return;
    }
    if (t.count(QLatin1Char(':')) != 1) return;  // a bare IPv6 address carries no port
    bool ok = false;
    const int p = t.section(QLatin1Char(':'), 1).toInt(&ok);
    if (ok) {
        host = t.section(QLatin1Char(':'), 0, 0);
        port = p;
    }
}

namespace {

[[noreturn]] void failOpen(QSqlDatabase& conn, const QString& name, const QString& fallback)
{
    QString text = conn.lastError().text().trimmed();
    if (text.isEmpty()) text = fallback;
    conn = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
    throw Error(text);
}

QSqlDatabase addConnection(const QString& driver, const QString& name)
{
    if (!QSqlDatabase::isDriverAvailable(driver))
        throw Error(QStringLiteral("Qt SQL driver %1 is not installed").arg(driver));
    return QSqlDatabase::addDatabase(driver, name);
}

void openOrThrow(QSqlDatabase& conn, const QString& name)
{
    if (!conn.open()) failOpen(conn, name, QStringLiteral("the database connection could not be opened"));
}

void runOrThrow(QSqlDatabase& conn, const QString& name, const QString& sql)
{
    QSqlQuery q(conn);
    if (!q.exec(sql)) {
        const QString text = q.lastError().text() + QStringLiteral("\n") + sql;
        q = QSqlQuery();
        conn.close();
        conn = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw Error(text);
    }
}

// What every new session of a kind runs first; empty for none.
QString sessionSetup(Kind kind)
{
    switch (kind) {
    case Kind::Sqlite: return QStringLiteral("PRAGMA foreign_keys = OFF");
    case Kind::PostgreSql: return QStringLiteral("SET client_encoding TO 'UTF8'");
    default: return {};
    }
}

QString envOr(const char* name, const QString& fallback)
{
    const QString v = qEnvironmentVariable(name).trimmed();
    return v.isEmpty() ? fallback : v;
}

}  // namespace

void reopenConnection(QSqlDatabase& conn, Kind kind)
{
    conn.close();
    if (!conn.open()) {
        const QString text = conn.lastError().text().trimmed();
        throw Error(text.isEmpty() ? QStringLiteral("the database connection could not be opened") : text);
    }
    const QString setup = sessionSetup(kind);
    if (setup.isEmpty()) return;
    QSqlQuery q(conn);
    if (!q.exec(setup)) throw Error(q.lastError().text(), setup);
}

QSqlDatabase openSqliteConnection(const QString& file, const QString& name, bool mustExist)
{
    if (file.trimmed().isEmpty()) throw Error(QStringLiteral("no SQLite database file is configured (item 14)"));
    // QSQLITE would quietly create an empty database for a mistyped path,
    // and every later query would fail with a confusing "no such table".
    if (mustExist && file != QLatin1String(":memory:") && !QFileInfo::exists(file))
        throw Error(QStringLiteral("SQLite database file not found: ") + file);
    QSqlDatabase conn = addConnection(QStringLiteral("QSQLITE"), name);
    conn.setDatabaseName(file);
    // A second program (or a second saver) waits for the write lock instead of failing at once.
    conn.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    openOrThrow(conn, name);
    runOrThrow(conn, name, sessionSetup(Kind::Sqlite));
    return conn;
}

QSqlDatabase openConnection(const ConnectionSettings& s, const QString& name)
{
    switch (s.kind) {
    case Kind::Sqlite: {
        QString file = s.item14.trimmed();
        if (!file.isEmpty() && file != QLatin1String(":memory:") && QDir::isRelativePath(file))
            file = QDir(s.sqliteBaseDir.isEmpty() ? QDir::currentPath() : s.sqliteBaseDir).filePath(file);
        return openSqliteConnection(file, name, /*mustExist=*/true);
    }
    case Kind::PostgreSql: {
        QSqlDatabase conn = addConnection(QStringLiteral("QPSQL"), name);
        QString host;
        int port = -1;
        splitHostPort(s.item14, host, port);
        conn.setHostName(host);
        if (port > 0) conn.setPort(port);
        conn.setDatabaseName(s.item15);
        conn.setUserName(s.item16);
        conn.setPassword(s.item17);
        conn.setConnectOptions(QStringLiteral("connect_timeout=15"));
        openOrThrow(conn, name);
        runOrThrow(conn, name, sessionSetup(Kind::PostgreSql));
        return conn;
    }
    case Kind::SqlServer: {
        QSqlDatabase conn = addConnection(QStringLiteral("QODBC"), name);
        conn.setDatabaseName(odbcSqlServerConnectString(s, envOr("PLANNER_ODBC_DRIVER", QStringLiteral("FreeTDS"))));
        openOrThrow(conn, name);
        return conn;
    }
    case Kind::Oracle: {
        if (QSqlDatabase::isDriverAvailable(QStringLiteral("QOCI"))) {
            QSqlDatabase conn = addConnection(QStringLiteral("QOCI"), name);
            conn.setDatabaseName(s.oracleDataSource);  // TNS name or host:port/service
            conn.setUserName(s.oracleUser);
            conn.setPassword(s.oraclePassword);
            openOrThrow(conn, name);
            return conn;
        }
        QSqlDatabase conn = addConnection(QStringLiteral("QODBC"), name);
        conn.setDatabaseName(odbcOracleConnectString(
            s, envOr("PLANNER_ODBC_ORACLE_DRIVER", QStringLiteral("Oracle in instantclient_21"))));
        openOrThrow(conn, name);
        return conn;
    }
    }
    throw Error(QStringLiteral("unknown database kind"));
}

}  // namespace db
