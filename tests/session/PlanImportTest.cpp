// A plan brought back from CSV on the demo plant: each kind of value takes the
// path a planner's hand takes (compared with the same action done by hand on a
// second copy of the plan), refusals are named, the round trip changes
// nothing, and the whole file is one undo step.

#include "core/WorkingTime.h"
#include "demoplant/DemoPlant.h"
#include "session/GridActions.h"
#include "session/PlanCsv.h"
#include "session/PlanImport.h"
#include "support/BarDrops.h"
#include "support/DemoPlantOpening.h"
#include "support/QtPrinting.h"
#include "support/ScriptedPrompt.h"
#include "support/TestDatabase.h"

#include "core/ChartGeometry.h"

#include <gtest/gtest.h>

using namespace session;

namespace {

// The export of a plan, to be edited cell by cell as a spreadsheet would.
struct Sheet {
    QStringList header;
    std::vector<QStringList> rows;

    int column(const QString& name) const { return int(header.indexOf(name)); }
    QStringList& line(std::int64_t orderNo)
    {
        const int c = column(QStringLiteral("手配番号"));
        for (QStringList& r : rows)
            if (r[c] == QString::number(orderNo)) return r;
        rows.push_back(QStringList());
        rows.back().resize(header.size());
        rows.back()[c] = QString::number(orderNo);
        return rows.back();
    }
    void set(std::int64_t orderNo, const QString& name, const QString& value) { line(orderNo)[column(name)] = value; }
    QByteArray bytes() const
    {
        QString text = csvLine(header) + QStringLiteral("\r\n");
        for (const QStringList& r : rows) text += csvLine(r) + QStringLiteral("\r\n");
        return text.toUtf8();
    }
};

class PlanImport : public ::testing::Test {
protected:
    void SetUp() override
    {
        t = testing_support::freshDatabase(db::Kind::Sqlite);
        settings = testing_support::writeSmallDemoPlant(*t.db, 11, QStringLiteral("IMPORT"));
        session = open(prompt);
        byHand = open(handPrompt);
    }
    std::unique_ptr<PlanSession> open(testing_support::ScriptedPrompt& answers)
    {
        auto s = std::make_unique<PlanSession>(settings, t.db.get());
        answers.answers.assign(50, true);
        s->setPrompt(&answers);
        s->load();
        answers.answers.assign(50, true);  // whatever a hand action asks: Yes, as the import's policy
        return s;
    }
    Sheet exported() const
    {
        CsvRead r = parseCsv(planCsv(session->plan(), session->planner().rows));
        const CsvTable& table = std::get<CsvTable>(r);
        return Sheet{table.header, table.rows};
    }
    std::variant<ImportRequest, CsvProblem> match(const QByteArray& bytes)
    {
        CsvRead r = parseCsv(bytes);
        if (std::holds_alternative<CsvProblem>(r)) return std::get<CsvProblem>(r);
        return matchImport(*session, std::get<CsvTable>(r));
    }
    ImportReport importSheet(const Sheet& sheet, bool pushLater = true)
    {
        auto m = match(sheet.bytes());
        if (std::holds_alternative<CsvProblem>(m)) {
            ADD_FAILURE() << std::get<CsvProblem>(m).message.toStdString();
            return {};
        }
        ImportPolicy policy;
        policy.pushLater = pushLater;
        return applyImport(*session, std::get<ImportRequest>(m), policy);
    }
    QString problem(const QByteArray& bytes)
    {
        auto m = match(bytes);
        return std::holds_alternative<CsvProblem>(m) ? std::get<CsvProblem>(m).message : QString();
    }
    // A free bar on a machine: no set, no results, another free bar later on its row.
    std::pair<int, int> freeBarWithLaterNeighbour() const
    {
        const plan::PlanData& p = session->plan();
        for (int i = 2; i <= p.size(); ++i) {
            const plan::PlanRecord& r = p[i];
            if (r.isHidden() || r.isFixed() || !r.isConfirmed() || !r.hasMachine() || r.setRepOrderNo != 0 || r.receivedQty != 0)
                continue;
            for (int j = 2; j <= p.size(); ++j)
                if (j != i && !p[j].isHidden() && p[j].machineCode == r.machineCode && p[j].start() > r.end() && !p[j].isFixed()
                    && p[j].setRepOrderNo == 0)
                    return {i, j};
        }
        return {0, 0};
    }
    reschedule::BarDrop dropAt(int recordNo, const QString& rowCode, core::Moment start) const
    {
        return testing_support::dropAt(*byHand, recordNo, rowCode, start);
    }
    void expectSameAsByHand() const
    {
        const plan::PlanData& a = session->plan();
        const plan::PlanData& b = byHand->plan();
        ASSERT_EQ(a.size(), b.size());
        for (int i = 2; i <= a.size(); ++i) EXPECT_TRUE(a[i] == b[i]) << "record " << i << " order " << a[i].orderNo;
    }

    testing_support::TestDb t;
    core::ProgramSettings settings;
    testing_support::ScriptedPrompt prompt, handPrompt;
    std::unique_ptr<PlanSession> session;  // the import
    std::unique_ptr<PlanSession> byHand;   // the same plan changed by hand
};

}  // namespace

TEST_F(PlanImport, AnUnchangedExportChangesNothing)
{
    const plan::PlanData before = session->plan();
    Sheet sheet = exported();
    ASSERT_GT(sheet.rows.size(), 20u);
    const ImportReport report = importSheet(sheet);
    EXPECT_EQ(report.applied, 0);
    EXPECT_EQ(report.refused, 0);
    EXPECT_TRUE(report.changes.empty());
    EXPECT_FALSE(session->canUndo());
    EXPECT_FALSE(session->hasUnsavedChanges());
    EXPECT_TRUE(session->plan() == before);

    // A spreadsheet's own spelling of the same values is no change either.
    const int rec = freeBarWithLaterNeighbour().first;
    const plan::PlanRecord& r = session->plan()[rec];
    sheet.set(r.orderNo, QStringLiteral("作業開始"),
              QStringLiteral("%1/%2/%3 %4:%5").arg(r.startDate.year()).arg(r.startDate.month()).arg(r.startDate.day())
                  .arg(r.startTime.hour()).arg(r.startTime.minute(), 2, 10, QChar(u'0')));
    sheet.set(r.orderNo, QStringLiteral("手配数"), QLocale(QLocale::English).toString(qlonglong(r.orderQty)));
    EXPECT_EQ(importSheet(sheet).applied, 0);
    EXPECT_FALSE(session->canUndo());
}

TEST_F(PlanImport, AStartInsideNonWorkingTimeLandsWhereADropLands)
{
    const auto [bar, later] = freeBarWithLaterNeighbour();
    ASSERT_NE(bar, 0);
    const plan::PlanRecord& r = session->plan()[bar];
    // The first moment after the bar's end that the machine does not work.
    core::Moment off = r.end();
    while (core::snapToWorkingTime(session->planner(), core::roundUpToGrid(session->planner(), off), r.machineCode) == off)
        off = off.addMinutes(7);
    Sheet sheet = exported();
    sheet.set(r.orderNo, QStringLiteral("開始日時"), off.toDisplayText());
    const ImportReport report = importSheet(sheet);
    EXPECT_EQ(report.applied, 1);
    EXPECT_NE(session->plan()[bar].start(), off);

    EXPECT_TRUE(byHand->dropBar(dropAt(bar, r.machineCode, off)).changed);
    expectSameAsByHand();
    EXPECT_EQ(session->undoText(), QStringLiteral("CSV取込"));
}

TEST_F(PlanImport, AnotherMachineRereadsTheCycleAsADrop)
{
    // A bar whose item has its own cycle on another machine of the chart.
    const core::RowTable& rows = session->planner().rows;
    int bar = 0;
    QString target;
    for (int i = 2; i <= session->plan().size() && !bar; ++i) {
        const plan::PlanRecord& r = session->plan()[i];
        if (r.isHidden() || r.isFixed() || !r.hasMachine() || r.setRepOrderNo != 0) continue;
        for (int row = 2; rows.isMachineRow(row); ++row) {
            const QString code = rows.row(row).RowCode;
            if (code.trimmed() == r.machineCode.trimmed()) continue;
            const auto cycle = session->masterLookup().machineCycle(r.itemCode, r.processSeq, code);
            if (cycle && *cycle != 0 && *cycle != r.cycle) {
                bar = i;
                target = code;
                break;
            }
        }
    }
    ASSERT_NE(bar, 0) << "no item of the demo plant has another machine's cycle";
    const plan::PlanRecord& r = session->plan()[bar];
    const double cycleBefore = r.cycle;
    Sheet sheet = exported();
    sheet.set(r.orderNo, QStringLiteral("機械コード"), target.trimmed());
    const ImportReport report = importSheet(sheet);
    EXPECT_EQ(report.applied, 1);
    EXPECT_EQ(session->plan()[bar].machineCode.trimmed(), target.trimmed());
    EXPECT_NE(session->plan()[bar].cycle, cycleBefore);

    EXPECT_TRUE(byHand->dropBar(dropAt(bar, target, byHand->plan()[bar].start())).changed);
    expectSameAsByHand();
}

TEST_F(PlanImport, AQuantityIsTheDetailWindowsChange)
{
    int bar = 0;
    for (int i = 2; i <= session->plan().size() && !bar; ++i) {
        const plan::PlanRecord& r = session->plan()[i];
        if (!r.isHidden() && !r.isFixed() && r.hasMachine() && r.setRepOrderNo == 0 && !r.components.empty()) bar = i;
    }
    ASSERT_NE(bar, 0);
    const plan::PlanRecord before = session->plan()[bar];
    Sheet sheet = exported();
    sheet.set(before.orderNo, QStringLiteral("手配数"), QString::number(before.orderQty * 3));
    const ImportReport report = importSheet(sheet);
    ASSERT_EQ(report.applied, 1);
    const plan::PlanRecord& after = session->plan()[bar];
    EXPECT_EQ(after.orderQty, before.orderQty * 3);
    EXPECT_GT(after.workMinutes, before.workMinutes);
    EXPECT_NE(after.components.front().requiredQty, before.components.front().requiredQty);

    EXPECT_TRUE(editGridCell(*byHand, bar, reschedule::GridField::OrderQty, QString::number(before.orderQty * 3)).changed);
    expectSameAsByHand();
}

TEST_F(PlanImport, RefusedRowsAreNamedAndApplyNothing)
{
    const auto [bar, later] = freeBarWithLaterNeighbour();
    ASSERT_NE(bar, 0);
    // A fully fixed order, a back-fixed one, a set member and an order of another class.
    int fully = 0, member = 0, back = 0;
    for (int i = 2; i <= session->plan().size(); ++i) {
        const plan::PlanRecord& r = session->plan()[i];
        if (r.isDeleted || r.isMergedAway) continue;
        if (!fully && !r.isHidden() && r.fixKind == plan::FixKind::FullyFixed) fully = i;
        if (!back && !r.isHidden() && r.fixKind == plan::FixKind::BackFixed && r.hasMachine() && r.setRepOrderNo == 0) back = i;
        if (!member && r.isSetMember) member = i;
    }
    ASSERT_TRUE(fully && member && back) << fully << " " << member << " " << back;
    std::int64_t otherClass = 0;
    for (db::Cursor c = t.db->query(QStringLiteral("SELECT 手配番号 FROM DB0253 WHERE 削除フラグ='0' ORDER BY 手配番号")); c.next();) {
        const std::int64_t no = c.integer(0);
        bool loaded = false;
        for (int i = 2; i <= session->plan().size() && !loaded; ++i) loaded = session->plan()[i].orderNo == no;
        if (!loaded) {
            otherClass = no;
            break;
        }
    }
    ASSERT_NE(otherClass, 0);

    const plan::PlanData before = session->plan();
    const plan::PlanRecord& b = session->plan()[back];
    Sheet sheet = exported();
    sheet.set(session->plan()[bar].orderNo, QStringLiteral("手配数"), QString::number(session->plan()[bar].orderQty + 1));
    sheet.set(session->plan()[fully].orderNo, QStringLiteral("手配数"), QStringLiteral("5"));
    sheet.set(session->plan()[member].orderNo, QStringLiteral("手配数"), QStringLiteral("5"));
    sheet.set(otherClass, QStringLiteral("手配数"), QStringLiteral("5"));
    sheet.set(987654321, QStringLiteral("手配数"), QStringLiteral("5"));
    sheet.set(session->plan()[later].orderNo, QStringLiteral("手配数"), QStringLiteral("'; DROP TABLE DB0253;--"));
    sheet.set(session->plan()[later].orderNo, QStringLiteral("機械コード"), QStringLiteral("NOSUCH"));
    // Later than a back-fixed order may go, with a quantity on the same line: the whole line stays out.
    sheet.set(b.orderNo, QStringLiteral("開始日時"), b.start().addDays(2).toDisplayText());
    sheet.set(b.orderNo, QStringLiteral("手配数"), QString::number(b.orderQty + 10));

    const ImportReport report = importSheet(sheet);
    EXPECT_EQ(report.applied, 1);
    EXPECT_EQ(report.refused, 6);
    QStringList reasons;
    for (const RowReport& r : report.rows)
        if (r.status == RowStatus::Refused) reasons << r.reason;
    const QString all = reasons.join(u'\n');
    EXPECT_TRUE(all.contains(QStringLiteral("2:完全固定の手配は、入力不可です。"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("セット品手配は、代表手配のみ変更可能です。"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("この工程分類・期間に読み込まれていない手配です。"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("手配番号 987654321 の手配はありません。"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("NOSUCH"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("終了時間を固定されているので、計画を後ろにずらす事はできません"))) << all.toStdString();
    for (int i = 2; i <= before.size(); ++i) {
        if (i != bar) {
            EXPECT_EQ(session->plan()[i].orderQty, before[i].orderQty) << i;
        }
    }
    EXPECT_EQ(session->plan()[back].start(), before[back].start());

    const QStringList lines = reportLines(report);
    EXPECT_EQ(lines.size(), 7);
    EXPECT_TRUE(lines.join(u'\n').contains(QStringLiteral("取込不可 / refused")));
}

TEST_F(PlanImport, TheFileIsOneUndoStepAndThePolicyAnswersTheQuestions)
{
    const auto [bar, later] = freeBarWithLaterNeighbour();
    ASSERT_NE(bar, 0);
    const plan::PlanData before = session->plan();
    const core::Moment laterStart = before[later].start();
    Sheet sheet = exported();
    sheet.set(before[bar].orderNo, QStringLiteral("開始日時"), laterStart.toDisplayText());

    // Not pushing: the later bar stays, the moved one overlaps it.
    ImportReport kept = importSheet(sheet, false);
    EXPECT_EQ(kept.applied, 1);
    EXPECT_EQ(session->plan()[later].start(), laterStart);
    EXPECT_TRUE(session->undo());
    EXPECT_TRUE(session->plan() == before);

    // Pushing: the later bar moves behind it, and the preview said so.
    ImportReport pushed = importSheet(sheet, true);
    EXPECT_GT(session->plan()[later].start(), laterStart);
    bool told = false;
    for (const RecordChange& c : pushed.changes) told = told || (c.orderNo == before[later].orderNo && c.field == QStringLiteral("開始"));
    EXPECT_TRUE(told);
    EXPECT_EQ(session->history().stepCount(), 1);
    EXPECT_TRUE(session->undo());
    EXPECT_TRUE(session->plan() == before);
    EXPECT_FALSE(session->hasUnsavedChanges());
    EXPECT_TRUE(prompt.asked.isEmpty());  // nobody was asked anything
}

TEST_F(PlanImport, FilesThatCannotBeReadAsAWholeAreRefused)
{
    EXPECT_TRUE(problem("手配数,機械コード\r\n5,M01\r\n").contains(QStringLiteral("手配番号")));
    EXPECT_TRUE(problem("手配番号;手配数\r\n1001;5\r\n").contains(QStringLiteral("区切り文字")));
    EXPECT_TRUE(problem("手配番号\t手配数\r\n1001\t5\r\n").contains(QStringLiteral("区切り文字")));
    EXPECT_TRUE(problem("手配番号,手配数\r\n1001,5\r\n1002,6\r\n1001,7\r\n").contains(QStringLiteral("2 行目と 4 行目")));
    EXPECT_TRUE(problem("手配番号,手配数,手配数\r\n1001,5,6\r\n").contains(QStringLiteral("2つ")));
    EXPECT_TRUE(problem("手配番号,品名\r\n1001,x\r\n").contains(QStringLiteral("取り込める列")));
    EXPECT_FALSE(session->canUndo());
}

TEST_F(PlanImport, TwoColumnsOfOneValueMustAgreeWhenBothChange)
{
    const auto [bar, later] = freeBarWithLaterNeighbour();
    ASSERT_NE(bar, 0);
    const plan::PlanRecord& r = session->plan()[bar];
    const core::Moment a = r.start().addDays(1), b = r.start().addDays(2);
    Sheet sheet = exported();
    sheet.set(r.orderNo, QStringLiteral("開始日時"), a.toDisplayText());
    sheet.set(r.orderNo, QStringLiteral("作業開始"), core::dateMinuteText(b.date(), b.time()));
    ImportReport report = importSheet(sheet);
    ASSERT_EQ(report.refused, 1);
    EXPECT_FALSE(session->canUndo());

    // The same minute in both: one change.
    sheet.set(r.orderNo, QStringLiteral("作業開始"), core::dateMinuteText(a.date(), a.time()));
    report = importSheet(sheet);
    EXPECT_EQ(report.applied, 1);
    EXPECT_EQ(report.refused, 0);
}
