#pragma once
// The one connection of a program run, over Qt SQL.
//
// Statements keep their fixed text; values travel as bound parameters ("?"),
// so an operator or item code holding a quote can never change a statement.
// Every failure throws db::Error carrying the database's own text.

#include "db/Dialect.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVector>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>

namespace db {

class Error : public std::runtime_error {
public:
    Error(const QString& what, const QString& statement = {});
    QString message;    // the database's own text (or ours, for a refused call)
    QString statement;  // the statement that failed, when there was one
};

// Where to connect, from planner.ini items 10 to 17.
struct ConnectionSettings {
    Kind kind = Kind::Sqlite;
    // Oracle: items 10 (user), 11 (password), 12 (data source / service name).
    QString oracleUser, oraclePassword, oracleDataSource;
    // SQL Server: items 14 (server), 15 (catalog), 16 (user), 17 (password).
    // SQLite: item 14 = database file. PostgreSQL: items 14 host[:port], 15 database, 16 user, 17 password.
    QString item14, item15, item16, item17;
    QString sqliteBaseDir;  // relative SQLite paths are taken from here (the program's directory)
};

// The SQL Server connection string exactly as the plant's tools build it.
QString buildSqlConnectString(const ConnectionSettings& s);

// Numbers read through their text form: blank or garbage gives 0; whole
// numbers from decimal text round half to even.
double numberFromText(const QString& text);
std::int64_t integerFromText(const QString& text);

class Database;

// A forward-only, read-only result. Field names are looked up ignoring case
// (a table-qualified name "DB0253.手配番号" finds the bare column).
// On PostgreSQL, another statement on the same connection discards the rest of
// an unread result: read it fully first or use a second connection.
class Cursor {
public:
    bool next();
    int column(const QString& name) const;  // -1 when absent
    bool has(const QString& name) const { return column(name) >= 0; }
    QVariant value(int column) const;
    QVariant value(const QString& name) const;  // invalid QVariant when absent
    bool isNull(const QString& name) const;
    // Text of a field ("" for NULL or absent).
    QString text(const QString& name) const;
    QString text(int column) const;
    // Numeric value of a field read through its text; NULL, blank or garbage give 0.
    double number(const QString& name) const;
    double number(int column) const;
    std::int64_t integer(const QString& name) const;
    std::int64_t integer(int column) const;

private:
    friend class Database;
    friend class RowSet;
    explicit Cursor(QSqlQuery q);
    QSqlQuery query_;
    QSqlRecord record_;  // column layout, fetched once
};

// An updatable row set: "SELECT * FROM table WHERE condition", then add a row or
// edit the current one, assign fields, update. update() issues one INSERT of the
// assigned fields (the others take their defaults) or an UPDATE of the changed
// fields keyed by the table's primary key as read, with bound values; an UPDATE
// that finds no row (deleted meanwhile) throws. All rows are read at opening.
class RowSet {
public:
    RowSet(Database& db, const QString& table, const QString& condition, const QVariantList& binds = {});

    bool isEmpty() const { return rows_.empty(); }
    int rowCount() const { return int(rows_.size()); }
    bool atEnd() const { return current_ >= int(rows_.size()); }
    void moveFirst() { current_ = 0; }
    void moveNext() { ++current_; }

    void addNew();  // a new row with every field NULL
    QVariant value(const QString& field) const;
    void set(const QString& field, const QVariant& value);
    void update();  // writes the current row; throws db::Error

private:
    struct Row {
        QVector<QVariant> values;
        QVector<bool> changed;
        QVector<QVariant> keyValues;  // key as read, for the WHERE of the update
        bool isNew = false;
    };
    int fieldIndex(const QString& field) const;  // throws when the table has no such column

    Database& db_;
    QString table_;
    QStringList fields_;
    QStringList keyFields_;
    std::vector<Row> rows_;
    int current_ = 0;
};

class Database {
public:
    // Opens a connection; throws db::Error with the driver's text on failure.
    static std::unique_ptr<Database> open(const ConnectionSettings& settings);
    // For tests and tools: a SQLite file or ":memory:".
    static std::unique_ptr<Database> openSqlite(const QString& file);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    Kind kind() const { return dialect_.kind(); }
    const Dialect& dialect() const { return dialect_; }
    QSqlDatabase& handle() { return conn_; }

    // Runs a query and returns a forward-only cursor over its rows.
    Cursor query(const QString& sql, const QVariantList& binds = {});
    // Runs a statement; returns the number of rows affected.
    int exec(const QString& sql, const QVariantList& binds = {});
    // Runs a script of ';'-separated statements (schema files).
    void execScript(const QString& script);

    void begin();
    void commit();  // throws when the server rolled back
    void rollback();
    bool inTransaction() const { return inTransaction_; }
    void savepoint(const QString& name);
    void rollbackToSavepoint(const QString& name);
    void releaseSavepoint(const QString& name);

    // Whether the connection still answers (a trivial query; never throws).
    bool isAlive();
    // After a lost connection: closes it and opens it again with the same
    // settings; an open transaction is gone. Throws db::Error.
    void reconnect();

    // Primary key columns of a table of the production database.
    static QStringList primaryKeyOf(const QString& table);
    // Every table of sql/*.sql.
    static QStringList schemaTables();

    // Called before every statement (tests inject failures here).
    std::function<void(const QString& sql)> beforeStatement;
    // Called before every statement with the values bound to it (benchmarks
    // repeat what a load issued, as a bare read).
    std::function<void(const QString& sql, const QVariantList& binds)> statementIssued;

private:
    Database(QSqlDatabase conn, Kind kind);
    QSqlQuery prepare(const QString& sql, const QVariantList& binds);
    QString connectionName_;
    QSqlDatabase conn_;
    Dialect dialect_;
    bool inTransaction_ = false;
};

}  // namespace db
