#pragma once
// The whole load as the program runs it (a plan session over the database),
// handed out as copies for tests that look at rows and records.

#include "session/PlanSession.h"

namespace testing_support {

inline void loadAndArrange(db::Database& db, core::ProgramSettings& settings, core::Planner& planner, plan::PlanData& plan,
                           core::Prompt& prompt, const session::PlanSession::ProgressText& progress = {})
{
    session::PlanSession session(settings, &db);
    session.setPrompt(&prompt);
    session.load(progress);
    planner = session.planner();
    plan = session.plan();
}

}  // namespace testing_support
