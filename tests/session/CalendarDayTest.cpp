// A machine day's calendar changed through the session: one undo step, the
// bars it leaves off the calendar, the save and a reload, and the machine rows
// rebuilt in between.

#include "loading/PlanTestPlant.h"
#include "reschedule/BarState.h"
#include "reschedule/LinePlan.h"
#include "session/PlanSession.h"

#include <QSignalSpy>

using namespace plantest;
using core::Moment;
using core::TimeOfDay;

namespace {

Moment at(int day, int hour, int minute = 0)
{
    return Moment::of(core::Date::fromYmd(2024, 5, day), TimeOfDay::fromHms(hour, minute));
}

// Whether the machine works in the minute from t, read straight from the
// working periods of t's production day.
bool works(const core::Planner& p, int row, Moment t)
{
    const int d = core::dayIndexOf(p, t);
    if (!p.calendar.contains(d, row)) return false;
    const Moment dayStart = Moment::of(p.PeriodStart.addDays(d - 2), p.DayChangeTime);
    const auto& cal = p.calendar.day(d, row).CalTime;
    for (std::size_t s = 1; s + 1 <= 24; s += 2) {
        if (cal[s].isZero() && cal[s + 1].isZero()) continue;
        // A time before the day change lies on the next date; an end of 00:00 is 24:00.
        const auto moment = [&](TimeOfDay x, bool isEnd) {
            Moment m = Moment::of(dayStart.date(), x);
            if (m < dayStart || (isEnd && m == dayStart && x.isZero())) m = m.addDays(1);
            return m;
        };
        if (t >= moment(cal[s], false) && t < moment(cal[s + 1], true)) return true;
    }
    return false;
}

// The end of a job of `minutes` working minutes, one minute at a time.
Moment walkEnd(const core::Planner& p, int row, Moment start, std::int64_t minutes)
{
    Moment t = start;
    while (!works(p, row, t)) t = t.addMinutes(1);
    for (std::int64_t left = minutes; left > 0; t = t.addMinutes(1))
        if (works(p, row, t)) --left;
    return t;
}

class CalendarDay : public PlantFixture {
protected:
    void SetUp() override
    {
        PlantFixture::SetUp();
        if (IsSkipped()) return;
        s.KengenKubun = QStringLiteral("1");
        s.TanmatsuNo = 3;
        s.ProgramId = QStringLiteral("LINE");
        order(d(), 1001);
        session = std::make_unique<session::PlanSession>(s, t.db.get());
        session->setPrompt(&prompt);
        session->setClock([] { return at(20, 9); });
        session->load();
        rec = recordOf(1001);
        m01 = session->planner().rows.findRow(QStringLiteral("M01"));
        m02 = session->planner().rows.findRow(QStringLiteral("M02"));
        // A job of 15 working hours from 05/02 13:00 runs through 05/03 into 05/04.
        session->apply(QStringLiteral("準備"), [&](reschedule::RuleContext& ctx) {
            ctx.plan.edit(rec).workMinutes = 900;
            ctx.plan.edit(rec).setupMinutes = 0;
            reschedule::placeAt(ctx, rec, at(2, 13), true);
            reschedule::RuleOutcome out;
            out.touch(rec);
            return out;
        });
    }
    int recordOf(qint64 orderNo) const
    {
        for (int i = 2; i <= session->plan().size(); ++i)
            if (session->plan()[i].orderNo == orderNo) return i;
        return 0;
    }
    const core::MachineDay& day(int row, int dayIndex) const { return session->planner().calendar.day(dayIndex, row); }
    // 05/03: one range 08:00-12:00 with a stop.
    core::DayCalendar shortDay() const
    {
        reschedule::LinePlanEntry e;
        e.planTime[0] = QStringLiteral("08:00");
        e.planTime[1] = QStringLiteral("12:00");
        e.planTime[4] = QStringLiteral("10:00");
        e.noWorkingTitle = QStringLiteral("点検");
        e.noWorkingTime = QStringLiteral("1");
        EXPECT_TRUE(reschedule::checkLinePlan(e).passed());
        return reschedule::storedDay(e, day(m01, may3).values());
    }

    std::unique_ptr<session::PlanSession> session;
    int rec = 0, m01 = 0, m02 = 0;
    const int may3 = 4;  // day index of 2024/05/03 (index 2 = 05/01)
};

TEST_P(CalendarDay, OneStepThatUndoesAndRedoesExactly)
{
    const core::MachineDay before = day(m01, may3);
    const core::MachineDay other = day(m02, may3);
    const int steps = session->history().stepCount();
    QSignalSpy days(session.get(), &session::PlanSession::calendarDayChanged);

    ASSERT_TRUE(session->changeMachineDay(m01, may3, shortDay()));
    EXPECT_EQ(session->history().stepCount(), steps + 1);
    EXPECT_EQ(session->undoText(), QStringLiteral("稼働時間変更"));
    EXPECT_TRUE(session->isDayChanged(m01, may3));
    const core::MachineDay after = day(m01, may3);
    EXPECT_EQ(after.CalTime[1], TimeOfDay::fromHms(8, 0));  // 08:00-10:00, the stop, 11:00-12:00
    EXPECT_EQ(after.CalTime[2], TimeOfDay::fromHms(10, 0));
    EXPECT_EQ(after.CalTime[3], TimeOfDay::fromHms(11, 0));
    EXPECT_EQ(after.CalTime[4], TimeOfDay::fromHms(12, 0));
    EXPECT_TRUE(after.CalTime[5].isZero());
    EXPECT_FALSE(session->changeMachineDay(m01, may3, shortDay()));  // the same again is no step

    ASSERT_TRUE(session->undo());
    EXPECT_EQ(day(m01, may3).values(), before.values());
    EXPECT_EQ(day(m01, may3).CalTime, before.CalTime);
    EXPECT_FALSE(session->isDayChanged(m01, may3));
    EXPECT_TRUE(session->changedCalendarDays().empty());
    ASSERT_TRUE(session->redo());
    EXPECT_EQ(day(m01, may3).CalTime, after.CalTime);
    EXPECT_TRUE(session->isDayChanged(m01, may3));
    EXPECT_EQ(day(m02, may3).CalTime, other.CalTime);
    ASSERT_EQ(days.count(), 3);
    for (const auto& signal : days) EXPECT_EQ(signal, (QList<QVariant>{m01, may3}));
}

TEST_P(CalendarDay, BarsAreNotMovedButMarkedUntilMovedOrPutBack)
{
    const core::Planner& p = session->planner();
    const Moment end = session->plan()[rec].end();
    ASSERT_EQ(end, at(4, 11));  // 4 h on 05/02, 8 h on 05/03, 3 h on 05/04
    ASSERT_EQ(end, walkEnd(p, m01, at(2, 13), 900));
    ASSERT_TRUE(session->barsOffCalendar().empty());

    ASSERT_TRUE(session->changeMachineDay(m01, may3, shortDay()));
    EXPECT_EQ(session->plan()[rec].end(), end);  // never moved silently
    EXPECT_EQ(session->barsOffCalendar(), std::vector<int>{rec});
    ASSERT_TRUE(session->undo());
    EXPECT_TRUE(session->barsOffCalendar().empty());  // the calendar is back
    ASSERT_TRUE(session->redo());

    // The planner places the bar again: its end now follows the new day.
    session->apply(QStringLiteral("移動"), [&](reschedule::RuleContext& ctx) {
        reschedule::placeAt(ctx, rec, at(2, 13), true);
        reschedule::RuleOutcome out;
        out.touch(rec);
        return out;
    });
    const Moment newEnd = session->plan()[rec].end();
    EXPECT_EQ(newEnd, walkEnd(p, m01, at(2, 13), 900));
    EXPECT_EQ(newEnd, at(4, 17));  // 4 + 3 h, then 8 h on 05/04
    EXPECT_TRUE(session->barsOffCalendar().empty());

    // Saved and loaded again: the new calendar and the same end.
    ASSERT_EQ(session->save().outcome, store::SaveOutcome::Saved);
    EXPECT_TRUE(session->changedCalendarDays().empty());
    const core::DayCalendar saved = day(m01, may3).values();
    session::PlanSession again(s, t.db.get());
    again.setPrompt(&prompt);
    again.load();
    const core::MachineDay& reloaded = again.planner().calendar.day(may3, m01);
    EXPECT_EQ(reloaded.ShiftTime, saved.ShiftTime);
    EXPECT_EQ(reloaded.stop.start, saved.stop.start);
    EXPECT_EQ(reloaded.stop.hours, 1);
    EXPECT_EQ(reloaded.stop.title, QStringLiteral("点検"));
    EXPECT_EQ(reloaded.KinmuJikan, 3);
    EXPECT_EQ(reloaded.CalTime, day(m01, may3).CalTime);
    EXPECT_EQ(again.plan()[rec].end(), newEnd);
    EXPECT_EQ(again.plan()[rec].start(), at(2, 13));
    EXPECT_EQ(walkEnd(again.planner(), m01, at(2, 13), 900), newEnd);
}

TEST_P(CalendarDay, RowsRebuiltBetweenAStepAndItsUndo)
{
    const core::DayCalendar m01Before = day(m01, may3).values();
    const core::DayCalendar m02Before = day(m02, may3).values();
    const plan::PlanRecord bar = session->plan()[rec];
    ASSERT_TRUE(session->changeMachineDay(m01, may3, shortDay()));
    const core::DayCalendar changed = day(m01, may3).values();

    // M01 leaves the chart: M02 now stands on the row M01 had.
    auto choices = session->machineSelection();
    ASSERT_EQ(choices.size(), 2u);
    choices[0].selected = false;
    ASSERT_TRUE(session->saveMachineSelection(choices));
    QSignalSpy rows(session.get(), &session::PlanSession::rowsChanged);
    ASSERT_TRUE(session->reloadRows());
    EXPECT_EQ(rows.count(), 1);
    ASSERT_EQ(session->planner().rows.findRow(QStringLiteral("M01")), 0);
    EXPECT_EQ(session->planner().rows.findRow(QStringLiteral("M02")), m01);
    EXPECT_TRUE(session->plan()[rec] == bar);  // kept as it was, not dropped or moved
    EXPECT_EQ(session->changedCalendarDays().size(), 1u);          // still to be saved
    EXPECT_TRUE(session->hasUnsavedChanges());

    // Undone while M01 is away: M02, on M01's old row, keeps its day.
    ASSERT_TRUE(session->undo());
    EXPECT_EQ(day(m01, may3).values(), m02Before);
    EXPECT_TRUE(session->changedCalendarDays().empty());
    ASSERT_TRUE(session->redo());
    EXPECT_EQ(day(m01, may3).values(), m02Before);

    // Back on the chart: the unsaved day as changed, and its undo exact.
    choices[0].selected = true;
    ASSERT_TRUE(session->saveMachineSelection(choices));
    ASSERT_TRUE(session->reloadRows());
    ASSERT_EQ(session->planner().rows.findRow(QStringLiteral("M01")), m01);
    EXPECT_EQ(day(m01, may3).values(), changed);
    EXPECT_EQ(session->plan()[rec].start(), bar.start());
    ASSERT_TRUE(session->undo());
    EXPECT_EQ(day(m01, may3).values(), m01Before);
    EXPECT_EQ(day(m02, may3).values(), m02Before);
    ASSERT_TRUE(session->undo());  // the preparing step, records only
    EXPECT_FALSE(session->canUndo());
}

TEST_P(CalendarDay, ASaveWritesTheDayOfAMachineNoLongerShown)
{
    ASSERT_TRUE(session->changeMachineDay(m01, may3, shortDay()));
    auto choices = session->machineSelection();
    choices[0].selected = false;
    ASSERT_TRUE(session->saveMachineSelection(choices));
    ASSERT_TRUE(session->reloadRows());
    ASSERT_EQ(session->save().outcome, store::SaveOutcome::Saved);
    db::Cursor c = d().query(QStringLiteral("SELECT * FROM DB0491 WHERE 機械コード='M01' AND 年月日='20240503'"));
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.text(QStringLiteral("終了時刻１")), QStringLiteral("120000"));
    EXPECT_EQ(c.integer(QStringLiteral("停止時間")), 1);
}

TEST_P(CalendarDay, InquiryModeStoresNothing)
{
    s.KengenKubun = QStringLiteral("0");
    const core::MachineDay before = day(m01, may3);
    EXPECT_FALSE(session->changeMachineDay(m01, may3, shortDay()));
    EXPECT_EQ(day(m01, may3).CalTime, before.CalTime);
    EXPECT_TRUE(session->changedCalendarDays().empty());
    EXPECT_FALSE(session->canSave());
    // The unplaced row and the suppliers have no calendar to change.
    s.KengenKubun = QStringLiteral("1");
    EXPECT_FALSE(session->changeMachineDay(1, may3, shortDay()));
}

PLANNER_PLANT_ON_EVERY_KIND(CalendarDay);

}  // namespace
