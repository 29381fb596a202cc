#include "store/loading/PlanComponents.h"

#include "plan/PlanRecord.h"
#include "store/loading/FieldValues.h"
#include "store/loading/PlanStatements.h"

#include <QDebug>
#include <QSet>

namespace store {

ComponentsByOrder readPlanComponents(db::Database& db, int kojoCode, const std::function<bool(std::int64_t)>& wanted)
{
    ComponentsByOrder byOrder;
    db::Cursor c = db.query(statements::planComponents(kojoCode));
    const int parent = c.column(QStringLiteral("上位手配番号"));
    const int item = c.column(QStringLiteral("品名コード"));
    const int name = c.column(QStringLiteral("品名＿品名仕様"));
    const int required = c.column(QStringLiteral("必要数"));
    const int num = c.column(QStringLiteral("原単位分子"));
    const int den = c.column(QStringLiteral("原単位分母"));
    const int defect = c.column(QStringLiteral("不良率"));
    const int deleted = c.column(QStringLiteral("削除フラグ"));
    auto at = [&c](int column) { return column < 0 ? QVariant() : c.value(column); };

    // Many orders take the same components: equal texts share one string, in
    // the rows read here and in the plan that keeps them.
    QSet<QString> texts;
    const auto shared = [&texts](const QString& text) { return *texts.insert(text); };

    QSet<std::int64_t> overLimit;
    while (c.next()) {
        // The statement filters the owning order only; a deleted component row is no component.
        const QVariant flag = at(deleted);
        if (!flag.isNull() && textOf(flag).trimmed() != QStringLiteral("0")) continue;
        const std::int64_t orderNo = integerOf(at(parent));
        if (orderNo == 0 || (wanted && !wanted(orderNo))) continue;
        std::vector<ComponentRow>& rows = byOrder[orderNo];
        if (int(rows.size()) >= plan::MaxComponentsPerOrder) {
            if (!overLimit.contains(orderNo)) {
                overLimit.insert(orderNo);
                qWarning().noquote() << "order" << orderNo << "has more than" << plan::MaxComponentsPerOrder
                                     << "component rows; the first" << plan::MaxComponentsPerOrder << "are kept";
            }
            continue;
        }
        rows.push_back({shared(textOf(at(item))), shared(textOf(at(name))), numberOf(at(required)), numberOf(at(num)),
                        numberOf(at(den)), numberOf(at(defect))});
    }
    return byOrder;
}

}  // namespace store
