// The session's conflicts and machine load stay what a full check of the plan
// gives after any sequence of steps, undos, redos, calendar changes and a save.

#include "core/ChartGeometry.h"
#include "demoplant/DemoPlant.h"
#include "session/PlanSession.h"
#include "session/PlanWatch.h"
#include "support/BarDrops.h"
#include "support/DemoPlantOpening.h"
#include "support/ScriptedPrompt.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <random>

namespace {

class Watch : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The queued check needs an event loop.
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "session_tests";
            static char* argv[] = {name, nullptr};
            new QCoreApplication(argc, argv);
        }
        t = testing_support::freshDatabase(db::Kind::Sqlite);
        ASSERT_TRUE(t.db);
        settings = testing_support::writeSmallDemoPlant(*t.db, 8, QStringLiteral("WATCH"));
        session = std::make_unique<session::PlanSession>(settings, t.db.get());
        session->setPrompt(&prompt);
        session->load();
    }

    // What a check of the whole plan gives, against what the watch kept.
    void expectSameAsFullCheck(const std::string& when)
    {
        const plan::PlanData& plan = session->plan();
        session::PlanWatch& w = session->watch();
        ASSERT_EQ(w.conflicts().all(), reschedule::findConflicts(plan)) << when;
        reschedule::MachineLoad fresh;
        fresh.rebuild(session->planner(), plan);
        ASSERT_TRUE(w.load() == fresh) << when;
        int shown = 0, changed = 0;
        for (int i = 2; i <= plan.size(); ++i) {
            shown += plan[i].isHidden() ? 0 : 1;
            changed += plan[i].isChanged ? 1 : 0;
        }
        ASSERT_EQ(w.shownBars(), shown) << when;
        ASSERT_EQ(w.changedBars(), changed) << when;
    }


    reschedule::BarDrop dropAt(int recordNo, const QString& rowCode, core::Moment start) const
    {
        return testing_support::dropAt(*session, recordNo, rowCode, start);
    }

    testing_support::TestDb t;
    core::ProgramSettings settings;
    testing_support::ScriptedPrompt prompt;
    std::unique_ptr<session::PlanSession> session;
};

TEST_F(Watch, StaysEqualToAFullCheckAfterRandomStepsUndosAndRedos)
{
    expectSameAsFullCheck("after the load");
    std::mt19937 rng(4);
    const auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    const core::Planner& p = session->planner();
    int checkedLazily = 0;
    for (int round = 0; round < 60; ++round) {
        const plan::PlanData& plan = session->plan();
        const int what = pick(10);
        if (what < 5) {
            // A bar dropped somewhere on a machine: Yes or No to the pushes, at random.
            int bar = 0;
            for (int tries = 0; tries < 50 && bar == 0; ++tries) {
                const int i = 2 + pick(plan.size() - 1);
                if (plan[i].isDraggable() && plan[i].hasMachine()) bar = i;
            }
            if (bar == 0) continue;
            const QString row = p.rows.row(2 + pick(p.rows.CalendarMachineCount - 1)).RowCode;
            const core::Moment at = core::Moment::of(settings.PeriodStart.addDays(pick(20)), core::TimeOfDay::fromHms(8 + pick(10), 0));
            for (int k = 0; k < 10; ++k) prompt.answers.push_back(pick(2) == 0);
            session->dropBar(dropAt(bar, row, at));
            prompt.answers.clear();
        } else if (what < 7) {
            session->undo();
        } else if (what < 9) {
            session->redo();
        } else {
            // A machine day shortened in the line plan window.
            const int row = 2 + pick(p.rows.CalendarMachineCount - 1);
            const int day = 2 + pick(20);
            core::DayCalendar values = p.calendar.day(day, row).values();
            values.stop = core::StopInfo{QStringLiteral("点検"), {}, core::TimeOfDay::fromHms(9 + pick(6), 0), 1 + pick(3)};
            session->changeMachineDay(row, day, values);
        }
        // Sometimes two steps are checked together, as the queued refresh does.
        if (pick(3) == 0) continue;
        checkedLazily += session->watch().isStale() ? 1 : 0;
        expectSameAsFullCheck("round " + std::to_string(round));
    }
    EXPECT_GT(checkedLazily, 10) << "steps only note what they touched";
    ASSERT_EQ(session->save().outcome, store::SaveOutcome::Saved);
    expectSameAsFullCheck("after the save");
    EXPECT_EQ(session->watch().changedBars(), 0);
}

TEST_F(Watch, AStepIsCheckedOnceOnTheNextTurnOfTheEventLoopAndTellsItsViews)
{
    session::PlanWatch& w = session->watch();
    w.conflicts();
    QSignalSpy updated(&w, &session::PlanWatch::updated);
    const plan::PlanData& plan = session->plan();
    int bar = 0;
    for (int i = 2; i <= plan.size() && bar == 0; ++i)
        if (plan[i].isDraggable() && plan[i].hasMachine()) bar = i;
    ASSERT_NE(bar, 0);
    prompt.answers.assign(10, true);
    session->dropBar(dropAt(bar, plan[bar].machineCode, plan[bar].start().addDays(1)));
    session->undo();
    session->redo();
    EXPECT_TRUE(w.isStale());
    EXPECT_EQ(updated.count(), 0) << "a step only notes what it touched";
    QCoreApplication::processEvents();
    EXPECT_EQ(updated.count(), 1) << "three steps, one check";
    EXPECT_FALSE(w.isStale());
    expectSameAsFullCheck("after the queued check");
}

}  // namespace
