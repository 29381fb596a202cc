#pragma once
// What the steps of one save share: the connection, the plan as it was when
// the save began (read only: the plan changes only after the commit), the
// work to do, the audit values and what the steps found and produced.

#include "core/ProgramSettings.h"
#include "core/Prompt.h"
#include "core/WorkingTime.h"
#include "db/Database.h"
#include "plan/PlanData.h"
#include "store/saving/SaveMasters.h"
#include "store/saving/SaveSchedule.h"
#include "store/saving/SaveSql.h"
#include "store/saving/SaveWork.h"

#include <QHash>
#include <QSet>
#include <cstdint>
#include <optional>

namespace store {

struct SaveTables {
    explicit SaveTables(db::Database& db);
    TableColumns db0018, db0251, db0252, db0253, db0259, db0491, db0492;
};

// A DB0253 row as read inside the save's transaction.
struct OrderRow {
    QVariantList values;  // aligned with SaveTables::db0253.names()
    plan::LoadedRowStamp stamp;
};

// What the transaction produced; put into the plan only after the commit.
struct SaveProduct {
    QHash<std::int64_t, std::int64_t> numberOfTemporary;  // split member's temporary number → new number
    QHash<int, QString> destinationOfRecord;              // blank destinations filled from the machine
    QHash<std::int64_t, plan::LoadedRowStamp> stamps;     // rows as written
    QSet<std::int64_t> deletedOrders;                     // rows marked deleted
    int ordersWritten = 0;
    int ordersCreated = 0;
};

struct SaveContext {
    SaveContext(db::Database& db, const core::ProgramSettings& settings, const core::Planner& planner, const plan::PlanData& plan,
                core::Prompt& prompt, const ChangedCalendarDays& changedDays, const SaveWork& work, const AuditValues& audit)
        : db(db), settings(settings), planner(planner), plan(plan), prompt(prompt), changedDays(changedDays), work(work), audit(audit),
          tables(db)
    {
    }

    db::Database& db;
    const core::ProgramSettings& settings;
    const core::Planner& planner;
    const plan::PlanData& plan;
    core::Prompt& prompt;
    const ChangedCalendarDays& changedDays;
    const SaveWork& work;
    AuditValues audit;
    SaveTables tables;
    SaveMasters masters;
    QHash<std::int64_t, OrderRow> rows;  // existing and source orders as read
    SaveProduct product;

    const plan::PlanRecord& record(const MemberOrder& m) const { return plan[m.recordNo]; }
    // Whether the member is of its bar's own group, the one its quantity and
    // components are the bar's. The other group's members (the outer ring on
    // an inner ring's bar) share the bar's schedule, but their components,
    // cycle, remarks and display kind are their own orders'.
    bool inOwnGroup(const MemberOrder& m) const { return m.groupB == record(m).usesGroupB(); }
    // The order number a member has in the database (new members: after numbering).
    std::int64_t numberOf(const MemberOrder& m) const
    {
        return m.isNew() ? product.numberOfTemporary.value(m.orderNo, 0) : m.orderNo;
    }
    // The destination written for the member's bar.
    QString destinationOf(const MemberOrder& m) const;
    // A column of a read DB0253 row (invalid when the row or column is absent).
    QVariant rowValue(std::int64_t orderNo, const QString& column) const;
    // Whether a member's order stays live: it still carries a quantity, or it
    // was stored without one (only a quantity the planner's change took to 0
    // deletes an order).
    bool staysLive(const MemberOrder& m) const
    {
        if (m.quantity != 0) return true;
        if (m.isNew()) return false;
        const QVariant stored = rowValue(m.orderNo, QStringLiteral("手配数"));
        return stored.isValid() && db::numberFromText(stored.toString()) == 0;
    }
};

}  // namespace store
