#pragma once
// Everything that differs between the database kinds lives here.

#include <QString>

namespace db {

enum class Kind { Oracle, SqlServer, Sqlite, PostgreSql };

// The kind named by planner.ini item 13: "1" Oracle, any other number SQL Server,
// "SQLITE" and "POSTGRESQL" (any case). Returns false for anything else.
bool kindFromDbKindText(const QString& dbKind, Kind& kind);

class Dialect {
public:
    explicit Dialect(Kind k = Kind::Sqlite) : kind_(k) {}
    Kind kind() const { return kind_; }

    // The machine statement's null-function fragment: " , NVL(", " , ISNULL(" or " , COALESCE(".
    QString nullFunction() const;
    // A statement that only asks whether the connection still answers.
    QString pingStatement() const;
    // Sort column of the machine statement: the bare "機械コード", except where the
    // database finds it ambiguous between the two joined tables.
    QString machineOrderColumn() const;
    // Qt SQL driver name ("QSQLITE", "QPSQL", "QODBC", "QOCI").
    QString driverName() const;
    // Reads the order-number counter row and locks it for this transaction
    // ("... FOR UPDATE", "WITH (UPDLOCK, HOLDLOCK)", or nothing where the
    // transaction itself serialises writers, as in SQLite).
    QString lockedNumberSelect() const;
    // Savepoint statements.
    QString savepoint(const QString& name) const;
    QString rollbackToSavepoint(const QString& name) const;
    QString releaseSavepoint(const QString& name) const;  // empty where the database has none
    // Statement that starts a write transaction (SQLite takes its write lock at once).
    QString beginTransaction() const;
    // True where that write transaction already keeps every other writer out
    // (SQLite), so rows need no locks of their own.
    bool writeTransactionExcludesWriters() const;
    // INSERT ... VALUES (...), (...) with several rows (not Oracle before 23c).
    bool multiRowValues() const;
    // How large the statements of a bulk write should be: at most this many
    // bound values, and this many rows per multi-row UPDATE. A server costs a
    // round trip per statement, so larger statements win there; SQLite costs
    // none, and Qt's SQLite driver spends time per value that grows with the
    // statement's value count. SQL Server takes at most 2,100 values.
    int bindsPerStatement() const;
    int rowsPerUpdate() const;

private:
    Kind kind_;
};

}  // namespace db
