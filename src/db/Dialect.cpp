#include "db/Dialect.h"

namespace db {

bool kindFromDbKindText(const QString& dbKind, Kind& kind)
{
    const QString t = dbKind.trimmed();
    if (t.compare(QStringLiteral("SQLITE"), Qt::CaseInsensitive) == 0) {
        kind = Kind::Sqlite;
        return true;
    }
    if (t.compare(QStringLiteral("POSTGRESQL"), Qt::CaseInsensitive) == 0) {
        kind = Kind::PostgreSql;
        return true;
    }
    bool ok = false;
    const double n = t.toDouble(&ok);
    if (!ok) return false;
    kind = n == 1 ? Kind::Oracle : Kind::SqlServer;
    return true;
}

QString Dialect::pingStatement() const
{
    return kind_ == Kind::Oracle ? QStringLiteral("SELECT 1 FROM DUAL") : QStringLiteral("SELECT 1");
}

QString Dialect::nullFunction() const
{
    switch (kind_) {
    case Kind::Oracle: return QStringLiteral(" , NVL(");
    case Kind::SqlServer: return QStringLiteral(" , ISNULL(");
    default: return QStringLiteral(" , COALESCE(");
    }
}

QString Dialect::machineOrderColumn() const
{
    // SQLite matches ORDER BY names against result aliases only.
    return kind_ == Kind::Sqlite ? QStringLiteral("DB0394.機械コード") : QStringLiteral("機械コード");
}

QString Dialect::driverName() const
{
    switch (kind_) {
    case Kind::Sqlite: return QStringLiteral("QSQLITE");
    case Kind::PostgreSql: return QStringLiteral("QPSQL");
    default: return QStringLiteral("QODBC");
    }
}

QString Dialect::lockedNumberSelect() const
{
    switch (kind_) {
    case Kind::SqlServer:
        return QStringLiteral("SELECT 現在番号,開始番号,終了番号 FROM DB0018 WITH (UPDLOCK, HOLDLOCK) WHERE 番号管理キー='手配番号'");
    case Kind::Oracle:
    case Kind::PostgreSql:
        return QStringLiteral("SELECT 現在番号,開始番号,終了番号 FROM DB0018 WHERE 番号管理キー='手配番号' FOR UPDATE");
    case Kind::Sqlite:
        break;
    }
    return QStringLiteral("SELECT 現在番号,開始番号,終了番号 FROM DB0018 WHERE 番号管理キー='手配番号'");
}

QString Dialect::savepoint(const QString& name) const
{
    return kind_ == Kind::SqlServer ? QStringLiteral("SAVE TRANSACTION ") + name : QStringLiteral("SAVEPOINT ") + name;
}

QString Dialect::rollbackToSavepoint(const QString& name) const
{
    switch (kind_) {
    case Kind::SqlServer: return QStringLiteral("ROLLBACK TRANSACTION ") + name;
    case Kind::Oracle: return QStringLiteral("ROLLBACK TO SAVEPOINT ") + name;
    default: return QStringLiteral("ROLLBACK TO SAVEPOINT ") + name;
    }
}

QString Dialect::releaseSavepoint(const QString& name) const
{
    switch (kind_) {
    case Kind::Sqlite:
    case Kind::PostgreSql: return QStringLiteral("RELEASE SAVEPOINT ") + name;
    default: return QString();
    }
}

QString Dialect::beginTransaction() const
{
    return kind_ == Kind::Sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QString();
}

bool Dialect::writeTransactionExcludesWriters() const { return kind_ == Kind::Sqlite; }

bool Dialect::multiRowValues() const { return kind_ != Kind::Oracle; }

int Dialect::bindsPerStatement() const { return kind_ == Kind::Sqlite ? 100 : 2000; }

int Dialect::rowsPerUpdate() const { return kind_ == Kind::Sqlite ? 1 : 100; }

}  // namespace db
