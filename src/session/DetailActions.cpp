// The session's verbs for the order detail window and the order split: the
// window's reads and recomputations with their database failures told, and
// its two changes of the plan, each one undo step.

#include "session/PlanSession.h"

#include "store/loading/OrderDetailReads.h"

namespace session {

reschedule::OrderDetailLookup& PlanSession::detailLookup()
{
    if (detailLookup_) return *detailLookup_;
    if (!db_) throw std::logic_error("PlanSession: no database and no detail look-up");
    if (!sqlDetail_) sqlDetail_ = std::make_shared<store::SqlOrderDetailLookup>(*db_, settings_.KojoCode);
    return *sqlDetail_;
}

void PlanSession::setDetailLookup(reschedule::OrderDetailLookup* lookup) { detailLookup_ = lookup; }

std::optional<reschedule::DetailForm> PlanSession::openDetail(int recordNo)
{
    if (recordNo < 2 || recordNo > plan_.size() || plan_[recordNo].isMergedAway) return std::nullopt;
    if (connectionLost_) recoverConnection();
    try {
        return reschedule::openDetail(rules(), detailLookup(), recordNo);
    } catch (const db::Error& e) {
        tellDatabaseError(e);
        recoverConnection();
        return std::nullopt;
    }
}

reschedule::EnterResult PlanSession::enterDetailBox(reschedule::DetailForm& form, reschedule::DetailBox box)
{
    try {
        return reschedule::enterBox(rules(), form, box);
    } catch (const db::Error& e) {
        tellDatabaseError(e);
        recoverConnection();
        return reschedule::EnterResult{false, box};
    }
}

void PlanSession::leaveDetailItemCode(reschedule::DetailForm& form)
{
    try {
        reschedule::leaveItemCode(detailLookup(), form);
    } catch (const db::Error& e) {
        tellDatabaseError(e);
        recoverConnection();
    }
}

bool PlanSession::changeDetailVariant(reschedule::DetailForm& form, int variant)
{
    try {
        return reschedule::changeVariant(rules(), form, variant);
    } catch (const db::Error& e) {
        tellDatabaseError(e);
        recoverConnection();
        return false;
    }
}

reschedule::RuleOutcome PlanSession::applyDetail(const reschedule::DetailForm& form)
{
    return runAction(QStringLiteral("詳細情報"), [&](reschedule::RuleContext& ctx) { return reschedule::applyDetail(ctx, form); });
}

reschedule::RuleOutcome PlanSession::splitOrder(int recordNo, const reschedule::SplitLots& lots)
{
    return runAction(QStringLiteral("手配分割"),
                     [&](reschedule::RuleContext& ctx) { return reschedule::splitOrder(ctx, recordNo, lots); });
}

}  // namespace session
