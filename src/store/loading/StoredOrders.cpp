#include "store/loading/StoredOrders.h"

#include <algorithm>

namespace store {

std::set<std::int64_t> storedOrderNumbers(db::Database& db, int factory, const std::vector<std::int64_t>& orderNos)
{
    constexpr std::size_t kChunk = 200;  // bound values per statement: below every driver's limit
    std::set<std::int64_t> found;
    for (std::size_t at = 0; at < orderNos.size(); at += kChunk) {
        const std::size_t n = std::min(kChunk, orderNos.size() - at);
        QString sql = QStringLiteral("SELECT 手配番号 FROM DB0253 WHERE 生産工場コード=? AND 削除フラグ='0' AND 手配番号 IN (");
        QVariantList binds{factory};
        for (std::size_t k = 0; k < n; ++k) {
            sql += k ? QStringLiteral(",?") : QStringLiteral("?");
            binds << qlonglong(orderNos[at + k]);
        }
        sql += u')';
        db::Cursor c = db.query(sql, binds);
        while (c.next()) found.insert(c.integer(0));
    }
    return found;
}

}  // namespace store
