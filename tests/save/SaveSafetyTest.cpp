// A save is all or nothing, never writes over another program's change
// unasked, and two savers never take the same order number.

#include "SaveFixture.h"
#include "db/ValueTypes.h"
#include "store/loading/RowStamp.h"

#include <QSet>
#include <latch>
#include <thread>

using namespace savetest;

namespace {

class SaveSafety : public SaveFixture {
protected:
    // A change of every kind: a moved order, a merge, a split and a calendar day.
    void makeEveryKindOfChange()
    {
        load();
        plan::PlanRecord& moved = edit(102);
        moved.setStart(moved.start().addMinutes(60));
        moved.setEnd(moved.end().addMinutes(60));
        plan::PlanRecord& target = edit(101);
        target.orderQty = target.membersA[0].orderQty += 20;
        plan::PlanRecord& gone = plan.edit(recordOf(103));
        gone.orderNo = gone.orderQty = 0;
        gone.isMergedAway = true;
        plan::PlanRecord copy = plan[recordOf(101)];
        copy.barIndex = plan.largestBarIndex() + 1;
        copy.orderNo = copy.membersA[0].orderNo = -1;
        copy.membersA[0].newOrderNo = 101;
        copy.orderQty = copy.membersA[0].orderQty = 10;
        plan.append(copy);
        changedDays.clear();
        store::keepChangedDay(changedDays, planner, planner.rows.findRow(QStringLiteral("M01")), 5);
    }
};

TEST_P(SaveSafety, AFailureAtAnyStatementLeavesDatabaseAndPlanAsTheyWere)
{
    makeEveryKindOfChange();
    int statements = 0;
    int failedSaves = 0;
    for (int k = 1;; ++k) {
        const QStringList tables = dumpAll(d());
        const plan::PlanData before = plan;
        const auto days = changedDays;
        int n = 0;
        d().beforeStatement = [&](const QString&) {
            if (++n == k) throw db::Error(QStringLiteral("injected failure"));
        };
        prompt.told.clear();
        const SaveResult result = save();
        d().beforeStatement = nullptr;
        if (n < k) {  // the save ran through without meeting statement k
            ASSERT_EQ(result.outcome, SaveOutcome::Saved);
            statements = n;
            break;
        }
        if (result.outcome == SaveOutcome::Failed) {
            ++failedSaves;
            EXPECT_EQ(result.error, QStringLiteral("injected failure")) << "statement " << k;
            EXPECT_EQ(dumpAll(d()), tables) << "statement " << k;
            EXPECT_TRUE(plan == before) << "statement " << k;
            EXPECT_EQ(changedDays, days);
            continue;
        }
        // Only the two steps that are reported and passed over may fail without stopping the save.
        ASSERT_EQ(result.outcome, SaveOutcome::Saved) << "statement " << k;
        ASSERT_EQ(prompt.told.size(), 1);
        EXPECT_TRUE(prompt.told[0].endsWith(QStringLiteral("(他の更新は問題ありません)"))) << prompt.told[0].toStdString();
        // Start again from the unsaved state.
        t = testing_support::freshDatabase(GetParam());
        d().begin();
        buildPlant(d());
        d().commit();
        makeEveryKindOfChange();
    }
    EXPECT_GE(statements, 15);
    EXPECT_GE(failedSaves, statements - 8);  // the statements of the two passable steps
}

TEST_P(SaveSafety, AnotherProgramsChangeIsOverwrittenOnlyWhenThePlannerAgrees)
{
    load();
    plan::PlanRecord& r = edit(101);
    r.setStart(r.start().addMinutes(30));
    r.setEnd(r.end().addMinutes(30));
    auto other = t.connectAgain();
    other->exec(QStringLiteral("UPDATE DB0253 SET 手配数=77, 更新日='20240530', 更新オペレータ='OTHER' WHERE 手配番号 IN (101, 102)"));
    const QStringList tables = dumpAll(d());
    const plan::PlanData before = plan;

    prompt.answers = {false};
    EXPECT_EQ(save().outcome, SaveOutcome::Cancelled);
    ASSERT_EQ(prompt.asked.size(), 1);
    EXPECT_TRUE(prompt.asked[0].contains(QStringLiteral("101")));
    EXPECT_FALSE(prompt.asked[0].contains(QStringLiteral("102")));  // not being written
    EXPECT_EQ(dumpAll(d()), tables);
    EXPECT_TRUE(plan == before);

    prompt.asked.clear();
    prompt.answers = {true};
    EXPECT_EQ(save().outcome, SaveOutcome::Saved);
    EXPECT_EQ(prompt.asked.size(), 1);
    const Row row(d(), QStringLiteral("DB0253"), QStringLiteral("手配番号=101"));
    EXPECT_DOUBLE_EQ(row.num(QStringLiteral("手配数")), 100);
    EXPECT_EQ(row.text(QStringLiteral("作業開始時間")), QStringLiteral("083000"));
    EXPECT_EQ(row.text(QStringLiteral("更新オペレータ")), QStringLiteral("T1"));
}

// The columns the save sets in its UPDATEs of DB0253.
QStringList columnsWrittenBy(db::Database& d, const std::function<void()>& save)
{
    QStringList written;
    d.beforeStatement = [&](const QString& sql) {
        if (!sql.startsWith(QStringLiteral("UPDATE DB0253 SET "))) return;
        const QString sets = sql.mid(18).section(QStringLiteral(" WHERE "), 0, 0);
        for (const QString& set : sets.split(QStringLiteral(", "))) {
            const QString column = set.section(u'=', 0, 0).trimmed();
            if (!written.contains(column)) written << column;
        }
    };
    save();
    d.beforeStatement = nullptr;
    return written;
}

TEST_P(SaveSafety, EveryColumnTheSaveWritesIsCheckedForAnotherProgramsChange)
{
    load();
    edit(101).remarks = QStringLiteral("確認");
    const QStringList written = columnsWrittenBy(d(), [&] { EXPECT_EQ(save().outcome, SaveOutcome::Saved); });
    ASSERT_GT(written.size(), 20);
    const QStringList audit = {QStringLiteral("更新日"), QStringLiteral("更新時刻"), QStringLiteral("更新オペレータ"),
                               QStringLiteral("更新端末番号"), QStringLiteral("更新プログラム")};
    for (const QString& column : written)
        EXPECT_TRUE(audit.contains(column) || store::comparedOrderColumns().contains(column)) << column.toStdString();

    // Each of them changed behind the planner's back (without touching the audit
    // columns) is found, and No writes nothing.
    auto other = t.connectAgain();
    for (const QString& column : written) {
        if (audit.contains(column)) continue;
        load();
        edit(101).remarks = QStringLiteral("再確認");
        db::Cursor probe = other->query(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM DB0253 WHERE 手配番号=101"));
        ASSERT_TRUE(probe.next());
        const QVariant original = probe.value(0);
        const bool numeric = db::isIntegralValue(original) || original.typeId() == QMetaType::Double;
        // Another value of the same kind and width.
        QVariant changed;
        if (numeric) {
            changed = original.toDouble() + 1;
        } else {
            const QString text = original.toString();
            changed = (text.startsWith(u'Z') ? QStringLiteral("Y") : QStringLiteral("Z")) + text.mid(1);
        }
        other->exec(QStringLiteral("UPDATE DB0253 SET ") + column + QStringLiteral(" = ? WHERE 手配番号=101"), {changed});
        const QStringList changedTables = dumpAll(d());
        prompt.asked.clear();
        prompt.answers = {false};
        EXPECT_EQ(save().outcome, SaveOutcome::Cancelled) << column.toStdString();
        EXPECT_EQ(prompt.asked.size(), 1) << column.toStdString();
        EXPECT_EQ(dumpAll(d()), changedTables) << column.toStdString();
        other->exec(QStringLiteral("UPDATE DB0253 SET ") + column + QStringLiteral(" = ? WHERE 手配番号=101"), {original});
    }
}

TEST_P(SaveSafety, TwoSaversAtOnceNeverTakeTheSameNumber)
{
    constexpr int splitsEach = 4;
    std::latch ready(2);
    std::vector<qint64> numbers[2];
    SaveOutcome outcomes[2] = {SaveOutcome::NothingToSave, SaveOutcome::NothingToSave};
    const auto saver = [&](int who, qint64 source) {
        auto conn = t.connectAgain();
        testing_support::ScriptedPrompt answers;
        core::Planner rows;
        plan::PlanData own;
        store::resourcesSet(*conn, settings, rows, answers);
        store::returnPlanData(*conn, settings, rows, own);
        int src = 0;
        for (int i = 2; i <= own.size(); ++i)
            if (own[i].orderNo == source) src = i;
        for (int k = 1; k <= splitsEach; ++k) {
            plan::PlanRecord copy = own[src];
            copy.barIndex = own.largestBarIndex() + 1;
            copy.orderNo = copy.membersA[0].orderNo = -k;
            copy.membersA[0].newOrderNo = source;
            copy.orderQty = copy.membersA[0].orderQty = 1;
            copy.isChanged = true;
            own.append(copy);
        }
        store::ChangedCalendarDays none;
        ready.arrive_and_wait();
        outcomes[who] = store::saveSchedule(*conn, settings, rows, own, answers, none, saveMoment()).outcome;
        for (int i = 2; i <= own.size(); ++i)
            if (own[i].orderNo > 5000) numbers[who].push_back(own[i].orderNo);
    };
    std::thread a(saver, 0, 101), b(saver, 1, 102);
    a.join();
    b.join();

    EXPECT_EQ(outcomes[0], SaveOutcome::Saved);
    EXPECT_EQ(outcomes[1], SaveOutcome::Saved);
    QSet<qint64> all;
    for (const auto& list : numbers)
        for (qint64 no : list) all.insert(no);
    EXPECT_EQ(all.size(), 2 * splitsEach);
    for (qint64 no = 5001; no <= 5000 + 2 * splitsEach; ++no) EXPECT_TRUE(all.contains(no)) << no;
    EXPECT_DOUBLE_EQ(Row(d(), QStringLiteral("DB0018"), QStringLiteral("番号管理キー='手配番号'")).num(QStringLiteral("現在番号")),
                     5000 + 2 * splitsEach);
    EXPECT_EQ(countRows(d(), QStringLiteral("SELECT 手配番号 FROM DB0253 WHERE 手配番号 > 5000")), 2 * splitsEach);
}

SAVE_ON_EVERY_KIND(SaveSafety);

}  // namespace
