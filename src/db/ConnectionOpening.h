#pragma once
// Opening a Qt SQL connection for each database kind (used by db::Database).

#include "db/Database.h"

#include <QSqlDatabase>
#include <QString>

namespace db {

// Opens the connection named `connectionName`; throws db::Error with the
// driver's text (and removes the connection again) when it cannot be opened.
QSqlDatabase openConnection(const ConnectionSettings& settings, const QString& connectionName);
QSqlDatabase openSqliteConnection(const QString& file, const QString& connectionName, bool mustExist);

// Closes and opens the connection again with the parameters it was opened
// with, and sets the session up as at the first opening. Throws db::Error.
void reopenConnection(QSqlDatabase& conn, Kind kind);

// The ODBC connection strings Qt's QODBC driver is opened with. Every value is
// braced, so a password holding ';' or '}' cannot add attributes of its own.
QString odbcSqlServerConnectString(const ConnectionSettings& s, const QString& driver);
QString odbcOracleConnectString(const ConnectionSettings& s, const QString& driver);
QString odbcValue(const QString& value);

// "host", "host:port" or "[v6 address]:port" of a PostgreSQL item 14.
void splitHostPort(const QString& item, QString& host, int& port);

}  // namespace db
