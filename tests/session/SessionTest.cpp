// The plan session on the demo plant: every action, undo, redo and save
// reports exactly the records it changed, and a failing action changes nothing.

#include "core/ChartGeometry.h"
#include "demoplant/DemoPlant.h"
#include "reschedule/MasterLookup.h"
#include "reschedule/Requirement.h"
#include "session/PlanSession.h"
#include "store/loading/SqlMasterLookup.h"
#include "support/BarDrops.h"
#include "support/DemoPlantOpening.h"
#include "support/ScriptedPrompt.h"
#include "support/TestDatabase.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <set>

namespace {

using RecordSet = std::set<int>;

// Records whose state differs between two plan tables (a record only one has counts).
RecordSet differing(const plan::PlanData& a, const plan::PlanData& b)
{
    RecordSet out;
    for (int i = 2; i <= std::max(a.size(), b.size()); ++i)
        if (i > a.size() || i > b.size() || !(a[i] == b[i])) out.insert(i);
    return out;
}

// Fails on every look-up, as a database that went away does.
class BrokenLookup : public reschedule::MasterLookup {
public:
    std::optional<double> machineCycle(const QString&, int, const QString&) override { throw db::Error("connection lost"); }
    std::optional<reschedule::Productivity> routingProductivity(const QString&, int) override { throw db::Error("connection lost"); }
    QString machineDestination(const QString&) override { throw db::Error("connection lost"); }
    std::optional<reschedule::RequirementRule> requirementRule(std::int64_t, const QString&) override
    {
        throw db::Error("connection lost");
    }
};

class Session : public ::testing::TestWithParam<db::Kind> {
protected:
    void SetUp() override
    {
        t = testing_support::freshDatabase(GetParam());
        if (!t.db) GTEST_SKIP() << testing_support::kindName(GetParam()) << " not available";
        settings = testing_support::writeSmallDemoPlant(*t.db, 5, QStringLiteral("SESSION"));
        session = std::make_unique<session::PlanSession>(settings, t.db.get());
        prompt.answers.assign(20, true);
        session->setPrompt(&prompt);
        session->load();
        QObject::connect(session.get(), &session::PlanSession::recordsChanged,
                         [this](const std::vector<int>& records) { reported.insert(records.begin(), records.end()); });
    }

    // A free, confirmed bar on a machine that no set or result ties down, with
    // another bar of its machine starting later (so moving it there pushes).
    std::pair<int, int> barAndLaterNeighbour() const
    {
        const plan::PlanData& p = session->plan();
        for (int i = 2; i <= p.size(); ++i) {
            const plan::PlanRecord& r = p[i];
            if (r.isHidden() || r.isFixed() || !r.isConfirmed() || !r.hasMachine() || r.setRepOrderNo != 0 || r.receivedQty != 0)
                continue;
            for (int j = 2; j <= p.size(); ++j)
                if (j != i && !p[j].isHidden() && p[j].machineCode == r.machineCode && p[j].start() > r.end() && !p[j].isFixed())
                    return {i, j};
        }
        return {0, 0};
    }

    reschedule::BarDrop dropAt(int recordNo, const QString& rowCode, core::Moment start) const
    {
        return testing_support::dropAt(*session, recordNo, rowCode, start);
    }
    // Runs f and checks that the records it reported are exactly those it changed.
    template <typename F>
    void expectReportsExactly(const char* what, F&& f)
    {
        const plan::PlanData before = session->plan();
        reported.clear();
        f();
        const RecordSet changed = differing(before, session->plan());
        EXPECT_FALSE(changed.empty()) << what;
        EXPECT_EQ(reported, changed) << what;
    }

    void twoPlannersBookTheSameTime(bool onMachine);

    testing_support::TestDb t;
    core::ProgramSettings settings;
    testing_support::ScriptedPrompt prompt;
    std::unique_ptr<session::PlanSession> session;
    RecordSet reported;
};

TEST_P(Session, StepUndoRedoAndSaveReportExactlyWhatTheyChanged)
{
    const auto [bar, later] = barAndLaterNeighbour();
    ASSERT_NE(bar, 0) << "the demo plant has no free bar with a later neighbour";
    const QString machine = session->plan()[bar].machineCode;
    QSignalSpy history(session.get(), &session::PlanSession::historyChanged);

    // Onto the later bar: it and whatever follows it are pushed.
    expectReportsExactly("drop", [&] {
        EXPECT_TRUE(session->dropBar(dropAt(bar, machine, session->plan()[later].start())).changed);
    });
    EXPECT_GE(reported.size(), 2u);
    EXPECT_TRUE(session->hasUnsavedChanges());
    EXPECT_GE(history.count(), 1);
    expectReportsExactly("undo", [&] { EXPECT_TRUE(session->undo()); });
    EXPECT_FALSE(session->hasUnsavedChanges());
    expectReportsExactly("redo", [&] { EXPECT_TRUE(session->redo()); });
    expectReportsExactly("save", [&] { EXPECT_EQ(session->save().outcome, store::SaveOutcome::Saved); });
    EXPECT_FALSE(session->hasUnsavedChanges());
    EXPECT_FALSE(session->canUndo());
}

TEST_P(Session, RefusedOrFailingActionsLeaveNoStepAndNoChange)
{
    const auto [bar, later] = barAndLaterNeighbour();
    ASSERT_NE(bar, 0);
    const plan::PlanData before = session->plan();

    // A look-up that fails half-way through a move to another machine.
    BrokenLookup broken;
    session->setMasterLookup(&broken);
    QString otherMachine;
    for (int r = 2; r <= session->planner().rows.CalendarMachineCount; ++r)
        if (session->planner().rows.row(r).RowCode != session->plan()[bar].machineCode) otherMachine = session->planner().rows.row(r).RowCode;
    ASSERT_FALSE(otherMachine.isEmpty());
    prompt.told.clear();
    const auto out = session->dropBar(dropAt(bar, otherMachine, session->plan()[later].start()));
    EXPECT_TRUE(out.refused);
    EXPECT_FALSE(out.changed);
    EXPECT_TRUE(session->plan() == before);
    EXPECT_FALSE(session->canUndo());
    EXPECT_FALSE(session->hasUnsavedChanges());
    ASSERT_FALSE(prompt.told.isEmpty());
    EXPECT_TRUE(prompt.told.back().contains(QStringLiteral("connection lost"))) << "the database's own text";

    // The next action goes through once the look-ups answer again.
    session->setMasterLookup(nullptr);
    EXPECT_TRUE(session->dropBar(dropAt(bar, otherMachine, session->plan()[later].start())).changed);
    EXPECT_TRUE(session->canUndo());
}

TEST_P(Session, QuestionsAreAskedWithTheStepSoFarShown)
{
    const auto [bar, later] = barAndLaterNeighbour();
    ASSERT_NE(bar, 0);
    const core::Moment target = session->plan()[later].start();
    // Whatever the views were told before the first question is what they draw during it.
    std::optional<core::Moment> shownWhileAsking;
    QObject::connect(session.get(), &session::PlanSession::recordsChanged, [&](const std::vector<int>& records) {
        if (prompt.asked.isEmpty() && std::find(records.begin(), records.end(), bar) != records.end())
            shownWhileAsking = session->plan()[bar].start();
    });
    session->dropBar(dropAt(bar, session->plan()[bar].machineCode, target));
    ASSERT_FALSE(prompt.asked.isEmpty()) << "dropping onto a bar asks about the overlap";
    ASSERT_TRUE(shownWhileAsking.has_value()) << "the dropped bar was not shown before the question";
    EXPECT_GE(*shownWhileAsking, target);
}

TEST_P(Session, ALostOrLockedDatabaseWhileEditingLosesNothingAndTheWorkCanBeSaved)
{
    const auto [bar, later] = barAndLaterNeighbour();
    ASSERT_NE(bar, 0);
    QString otherMachine;
    for (int r = 2; r <= session->planner().rows.CalendarMachineCount; ++r)
        if (session->planner().rows.row(r).RowCode != session->plan()[bar].machineCode) otherMachine = session->planner().rows.row(r).RowCode;
    const std::int64_t orderNo = session->plan()[bar].orderNo;
    const plan::PlanData before = session->plan();

    // Another program holds the database (SQLite) or the server ended our session (PostgreSQL).
    auto other = t.connectAgain();
    if (GetParam() == db::Kind::Sqlite) {
        t.db->exec(QStringLiteral("PRAGMA busy_timeout = 100"));  // the program waits seconds; the test need not
        other->exec(QStringLiteral("BEGIN EXCLUSIVE"));
    } else {
        other->query(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                    "WHERE datname = current_database() AND pid <> pg_backend_pid()"));
    }
    // A move to another machine reads the machine's cycle.
    const auto failed = session->dropBar(dropAt(bar, otherMachine, session->plan()[later].start()));
    EXPECT_TRUE(failed.refused);
    EXPECT_TRUE(session->plan() == before);
    EXPECT_FALSE(session->canUndo());
    ASSERT_FALSE(prompt.told.isEmpty());
    if (GetParam() == db::Kind::Sqlite) other->exec(QStringLiteral("ROLLBACK"));

    // The program goes on: the same move now works and is saved.
    ASSERT_TRUE(session->dropBar(dropAt(bar, otherMachine, session->plan()[later].start())).changed);
    ASSERT_EQ(session->save().outcome, store::SaveOutcome::Saved);
    db::Cursor c = other->query(QStringLiteral("SELECT 機械コード FROM DB0253 WHERE 手配番号 = ?"), {qint64(orderNo)});
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.text(QStringLiteral("機械コード")).trimmed(), otherMachine.trimmed());
}

// Two planners of the same class: this one books an idle time and saves; the
// other, whose chart still shows that time free, books the same machine (or,
// onMachine false, another machine with the same mould) at that time.
void Session::twoPlannersBookTheSameTime(bool onMachine)
{
    // A longer period, so that machines are idle after their last bar.
    settings.PeriodEnd = settings.PeriodStart.addDays(70);
    const plan::PlanData& p = session->plan();
    const auto movable = [&](int i) {
        return !p[i].isHidden() && !p[i].isFixed() && p[i].isConfirmed() && p[i].hasMachine() && p[i].setRepOrderNo == 0 &&
               p[i].receivedQty == 0;
    };
    session->load();
    QHash<QString, core::Moment> lastEnd;
    for (int i = 2; i <= p.size(); ++i)
        if (!p[i].isHidden() && p[i].hasMachine())
            lastEnd[p[i].machineCode] = std::max(lastEnd.value(p[i].machineCode, p[i].end()), p[i].end());
    QStringList byIdle = lastEnd.keys();
    std::sort(byIdle.begin(), byIdle.end(), [&](const QString& a, const QString& b) { return lastEnd[a] < lastEnd[b]; });
    ASSERT_GE(byIdle.size(), 3);
    const QString target = byIdle[0], otherTarget = onMachine ? byIdle[0] : byIdle[1];
    const core::Moment idle =
        core::Moment::of(std::max(lastEnd[target], lastEnd[otherTarget]).date().addDays(2), core::TimeOfDay::fromHms(9, 0));
    ASSERT_LT(idle.date().addDays(10), settings.PeriodEnd);
    // Bars whose mould no other bar uses in the fortnight from then: the only
    // overlap the save can find is then the other planner's.
    const auto mouldFree = [&](int i) {
        const QString mould = p[i].mouldNo.trimmed();
        if (mould.isEmpty()) return true;
        for (int j = 2; j <= p.size(); ++j)
            if (j != i && !p[j].isHidden() && p[j].mouldNo.trimmed() == mould && p[j].start() < idle.addDays(14) && p[j].end() > idle)
                return false;
        return true;
    };
    int first = 0, second = 0;
    for (int i = 2; i <= p.size() && !second; ++i) {
        if (!movable(i) || !(mouldFree(i) || !onMachine) || p[i].machineCode == target || p[i].machineCode == otherTarget) continue;
        if (!first) {
            first = i;
        } else if (p[i].machineCode != p[first].machineCode || !onMachine) {
            second = i;
        }
    }
    ASSERT_NE(second, 0);
    const std::int64_t firstOrder = p[first].orderNo, secondOrder = p[second].orderNo;
    if (!onMachine) {
        for (std::int64_t no : {firstOrder, secondOrder})
            t.db->exec(QStringLiteral("UPDATE DB0253 SET 金型番号 = 'KTEST' WHERE 手配番号 = ?"), {qint64(no)});
        session->load();
    }

    // The other planner, over a connection of its own.
    auto otherDb = t.connectAgain();
    core::ProgramSettings otherSettings = settings;
    otherSettings.TanmatsuNo = 4;
    session::PlanSession other(otherSettings, otherDb.get());
    testing_support::ScriptedPrompt otherPrompt;
    other.setPrompt(&otherPrompt);
    other.load();

    ASSERT_TRUE(session->dropBar(dropAt(first, target, idle)).changed);
    ASSERT_EQ(session->save().outcome, store::SaveOutcome::Saved);

    reschedule::BarDrop d = dropAt(second, otherTarget, idle);
    d.DragStartKikai = other.plan()[second].machineCode;
    ASSERT_TRUE(other.dropBar(d).changed);
    ASSERT_TRUE(otherPrompt.asked.isEmpty()) << "the other planner's chart shows no overlap";
    const auto storedMachineOf = [&](std::int64_t orderNo) {
        db::Cursor c = t.db->query(QStringLiteral("SELECT 機械コード FROM DB0253 WHERE 手配番号 = ?"), {qint64(orderNo)});
        return c.next() ? c.text(QStringLiteral("機械コード")).trimmed() : QString();
    };
    const QString before = storedMachineOf(secondOrder);

    otherPrompt.answers = {false};
    EXPECT_EQ(other.save().outcome, store::SaveOutcome::Cancelled);
    ASSERT_EQ(otherPrompt.asked.size(), 1);
    EXPECT_TRUE(otherPrompt.asked[0].contains(QString::number(firstOrder))) << otherPrompt.asked[0].toStdString();
    if (!onMachine) {
        EXPECT_TRUE(otherPrompt.asked[0].contains(QStringLiteral("KTEST")));
    }
    EXPECT_EQ(storedMachineOf(secondOrder), before) << "No saves nothing";
    EXPECT_TRUE(other.hasUnsavedChanges());

    otherPrompt.asked.clear();
    otherPrompt.answers = {true};
    EXPECT_EQ(other.save().outcome, store::SaveOutcome::Saved);
    EXPECT_EQ(storedMachineOf(secondOrder), otherTarget.trimmed());
}

TEST_P(Session, TwoPlannersCannotBookOneMachineAtOnceUnseen) { twoPlannersBookTheSameTime(true); }

TEST_P(Session, TwoPlannersCannotBookOneMouldAtOnceUnseen) { twoPlannersBookTheSameTime(false); }

TEST_P(Session, AMergeRecomputesTheComponentRequirementsThatAreSaved)
{
    // Two free bars of the same item and step, with components.
    const plan::PlanData& p = session->plan();
    int source = 0, target = 0;
    for (int a = 2; a <= p.size() && !target; ++a)
        for (int b = 2; b <= p.size() && !target; ++b) {
            const plan::PlanRecord &x = p[a], &y = p[b];
            if (a == b || x.isHidden() || y.isHidden() || x.isFixed() || !x.hasMachine() || !y.hasMachine() || x.components.empty())
                continue;
            if (x.setRepOrderNo || y.setRepOrderNo || x.receivedQty || y.receivedQty || x.usesGroupB() || y.usesGroupB()) continue;
            if (x.itemCode2 == y.itemCode2 && x.planItemCode == y.planItemCode && x.processSeq == y.processSeq && x.modelName == y.modelName)
                std::tie(source, target) = std::pair{b, a};
        }
    ASSERT_NE(target, 0) << "the demo plant has no two bars to merge";
    const std::int64_t targetOrder = p[target].orderNo;
    const std::int64_t merged = p[target].orderQty + p[source].orderQty;
    prompt.answers.assign(20, true);
    ASSERT_TRUE(session->mergeBars(dropAt(source, p[target].machineCode, p[target].start()), target).changed);
    ASSERT_EQ(session->plan()[target].orderQty, merged);
    ASSERT_EQ(session->save().outcome, store::SaveOutcome::Saved);

    // Every live component row of the order holds the requirement for the merged quantity.
    store::SqlMasterLookup masters(*t.db, settings.KojoCode);
    db::Cursor c = t.db->query(QStringLiteral("SELECT 品名コード, 必要数 FROM DB0252 WHERE 上位手配番号 = ? AND 削除フラグ = '0'"),
                               {qint64(targetOrder)});
    std::vector<std::pair<QString, double>> stored;  // read whole first: the look-ups share the connection
    while (c.next()) stored.emplace_back(c.text(QStringLiteral("品名コード")), c.number(QStringLiteral("必要数")));
    int rows = 0;
    for (const auto& [item, need] : stored) {
        const auto rule = masters.requirementRule(targetOrder, item);
        if (!rule) continue;
        ++rows;
        EXPECT_DOUBLE_EQ(need, reschedule::requirementFor(merged, *rule).value_or(-1)) << item.toStdString();
    }
    EXPECT_GT(rows, 0);
}

TEST_P(Session, OrdersWithUnreadableTimesAreListedOnceAndLeftWhereTheyStand)
{
    // Two confirmed orders whose stored end lies before their start.
    std::vector<std::int64_t> broken;
    for (int i = 2; i <= session->plan().size() && broken.size() < 2; ++i) {
        const plan::PlanRecord& r = session->plan()[i];
        if (!r.isHidden() && r.isConfirmed() && r.hasMachine() && r.setRepOrderNo == 0) broken.push_back(r.orderNo);
    }
    ASSERT_EQ(broken.size(), 2u);
    for (std::int64_t no : broken)
        t.db->exec(QStringLiteral("UPDATE DB0253 SET 作業終了日付 = '20000101' WHERE 手配番号 = ?"), {qint64(no)});
    prompt.told.clear();
    session->load();
    ASSERT_EQ(prompt.told.size(), 1) << "one notice for all of them";
    for (std::int64_t no : broken) {
        EXPECT_TRUE(prompt.told[0].contains(QString::number(no)));
        for (int i = 2; i <= session->plan().size(); ++i)
            if (session->plan()[i].orderNo == no) {
                EXPECT_FALSE(session->plan()[i].isChanged) << "arranging must not move or mark it";
                EXPECT_EQ(session->plan()[i].endDate, core::Date::fromYmd(2000, 1, 1));
            }
    }
    EXPECT_EQ(session->save().outcome, store::SaveOutcome::NothingToSave);
}

INSTANTIATE_TEST_SUITE_P(Kinds, Session, ::testing::ValuesIn(testing_support::testKinds()),
                         [](const ::testing::TestParamInfo<db::Kind>& info) { return std::string(testing_support::kindName(info.param)); });

}  // namespace
