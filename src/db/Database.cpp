#include "db/Database.h"

#include "db/ConnectionOpening.h"

#include <QAtomicInteger>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>
#include <QStringList>

namespace db {

Error::Error(const QString& what, const QString& statement)
    : std::runtime_error((statement.isEmpty() ? what : what + QStringLiteral("\n") + statement).toStdString()),
      message(what),
      statement(statement)
{
}

namespace {

QString nextConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("planner-db-%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

QString errorText(const QSqlError& e, const QString& fallback)
{
    const QString t = e.text().trimmed();
    return t.isEmpty() ? fallback : t;
}

// Savepoint names are pasted into the statement, so only plain identifiers pass.
void requireIdentifier(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,29}$"));
    if (!plain.match(name).hasMatch())
        throw Error(QStringLiteral("invalid savepoint name: ") + name);
}

}  // namespace

std::unique_ptr<Database> Database::open(const ConnectionSettings& settings)
{
    const QString name = nextConnectionName();
    QSqlDatabase conn = openConnection(settings, name);  // throws with the driver's text
    return std::unique_ptr<Database>(new Database(conn, settings.kind));
}

std::unique_ptr<Database> Database::openSqlite(const QString& file)
{
    const QString name = nextConnectionName();
    QSqlDatabase conn = openSqliteConnection(file, name, /*mustExist=*/false);
    return std::unique_ptr<Database>(new Database(conn, Kind::Sqlite));
}

Database::Database(QSqlDatabase conn, Kind kind) : connectionName_(conn.connectionName()), conn_(conn), dialect_(kind) {}

Database::~Database()
{
    if (inTransaction_) {
        try {
            rollback();
        } catch (const Error&) {
            // Closing the connection discards the transaction anyway.
        }
    }
    conn_.close();
    conn_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
}

bool Database::isAlive()
{
    if (!conn_.isOpen()) return false;
    QSqlQuery q(conn_);
    return q.exec(dialect_.pingStatement()) && q.next();
}

void Database::reconnect()
{
    inTransaction_ = false;
    reopenConnection(conn_, kind());
}

QSqlQuery Database::prepare(const QString& sql, const QVariantList& binds)
{
    if (beforeStatement) beforeStatement(sql);
    if (statementIssued) statementIssued(sql, binds);
    QSqlQuery q(conn_);
    q.setForwardOnly(true);
    if (binds.isEmpty()) {
        // Run directly: PostgreSQL cannot prepare DDL or transaction statements.
        if (!q.exec(sql)) throw Error(errorText(q.lastError(), QStringLiteral("statement failed")), sql);
        return q;
    }
    if (!q.prepare(sql)) throw Error(errorText(q.lastError(), QStringLiteral("statement could not be prepared")), sql);
    for (const QVariant& v : binds) q.addBindValue(v);
    if (!q.exec()) throw Error(errorText(q.lastError(), QStringLiteral("statement failed")), sql);
    return q;
}

Cursor Database::query(const QString& sql, const QVariantList& binds)
{
    return Cursor(prepare(sql, binds));
}

int Database::exec(const QString& sql, const QVariantList& binds)
{
    QSqlQuery q = prepare(sql, binds);
    return q.numRowsAffected();
}

void Database::execScript(const QString& script)
{
    // Statements end with ';' at the end of a line; whole-line comments are dropped.
    QString statement;
    const auto flush = [&] {
        const QString s = statement.trimmed();
        statement.clear();
        if (!s.isEmpty()) exec(s);
    };
    for (const QString& rawLine : script.split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(QLatin1String("--"))) continue;
        if (line.endsWith(QLatin1Char(';'))) {
            statement += line.chopped(1);
            flush();
        } else {
            statement += rawLine + QLatin1Char('\n');
        }
    }
    flush();
}

void Database::begin()
{
    if (inTransaction_) throw Error(QStringLiteral("a transaction is already open"));
    const QString statement = dialect_.beginTransaction();
    if (!statement.isEmpty()) {
        exec(statement);
    } else {
        if (beforeStatement) beforeStatement(QStringLiteral("BEGIN"));
        if (!conn_.transaction())
            throw Error(errorText(conn_.lastError(), QStringLiteral("transaction could not be started")), QStringLiteral("BEGIN"));
    }
    inTransaction_ = true;
}

void Database::commit()
{
    if (!inTransaction_) throw Error(QStringLiteral("no transaction to commit"));
    if (kind() == Kind::Sqlite) {
        // A failed COMMIT (e.g. busy) leaves the transaction open for a rollback.
        exec(QStringLiteral("COMMIT"));
        inTransaction_ = false;
        return;
    }
    if (beforeStatement) beforeStatement(QStringLiteral("COMMIT"));
    // QPSQL reports false when the server answered COMMIT with a rollback
    // (an earlier statement of the transaction failed): nothing was written.
    if (!conn_.commit()) {
        const QString text = errorText(conn_.lastError(), QStringLiteral("the database rolled the transaction back"));
        inTransaction_ = false;
        // PostgreSQL has ended the transaction already; elsewhere make sure it is.
        if (kind() != Kind::PostgreSql) conn_.rollback();
        throw Error(text, QStringLiteral("COMMIT"));
    }
    inTransaction_ = false;
}

void Database::rollback()
{
    // No beforeStatement here: rollback is the recovery path of a failure.
    if (!inTransaction_) return;
    inTransaction_ = false;
    if (kind() == Kind::Sqlite) {
        QSqlQuery q(conn_);
        if (!q.exec(QStringLiteral("ROLLBACK")) && conn_.isOpen()) {
            // SQLite may already have rolled back by itself (e.g. after a full disk).
            if (!q.lastError().text().contains(QLatin1String("no transaction"), Qt::CaseInsensitive))
                throw Error(errorText(q.lastError(), QStringLiteral("rollback failed")), QStringLiteral("ROLLBACK"));
        }
        return;
    }
    if (!conn_.rollback())
        throw Error(errorText(conn_.lastError(), QStringLiteral("rollback failed")), QStringLiteral("ROLLBACK"));
}

void Database::savepoint(const QString& name)
{
    requireIdentifier(name);
    if (!inTransaction_) throw Error(QStringLiteral("a savepoint needs an open transaction"));
    exec(dialect_.savepoint(name));
}

void Database::rollbackToSavepoint(const QString& name)
{
    requireIdentifier(name);
    if (!inTransaction_) throw Error(QStringLiteral("a savepoint needs an open transaction"));
    exec(dialect_.rollbackToSavepoint(name));
}

void Database::releaseSavepoint(const QString& name)
{
    requireIdentifier(name);
    if (!inTransaction_) throw Error(QStringLiteral("a savepoint needs an open transaction"));
    const QString statement = dialect_.releaseSavepoint(name);
    if (!statement.isEmpty()) exec(statement);
}

}  // namespace db
