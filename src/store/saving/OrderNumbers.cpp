#include "store/saving/OrderNumbers.h"

#include <algorithm>

namespace store {

std::int64_t takeOrderNumbers(db::Database& db, const TableColumns& db0018, const AuditValues& audit, int count)
{
    // Locks the row where the database needs it (FOR UPDATE, UPDLOCK); SQLite's
    // write transaction already keeps every other writer out.
    db::Cursor c = db.query(db.dialect().lockedNumberSelect());
    if (!c.next()) throw NumberingFailed();
    const std::int64_t current = c.integer(QStringLiteral("現在番号"));
    const std::int64_t first = c.integer(QStringLiteral("開始番号"));
    const std::int64_t last = c.integer(QStringLiteral("終了番号"));
    while (c.next()) {
    }

    const std::int64_t from = std::max(current + 1, first);
    const std::int64_t to = from + count - 1;
    if (last > 0 && to > last) throw NumberingFailed();

    Assignments a;
    a.set(QStringLiteral("現在番号"), QVariant::fromValue<qlonglong>(to));
    setUpdateAudit(a, db0018, audit);
    QStringList sets;
    for (const QString& column : a.columns()) sets << column + QStringLiteral(" = ?");
    db.exec(QStringLiteral("UPDATE DB0018 SET ") + sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE 番号管理キー='手配番号'"),
            a.values());
    return from;
}

}  // namespace store
