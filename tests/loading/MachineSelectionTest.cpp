// The operator's machine selection (DB0497): the list with the operator's
// choices, and its save in one transaction.

#include "PlanTestPlant.h"
#include "store/saving/MachineSelection.h"

using namespace plantest;

namespace {

class MachineSelection : public PlantFixture {
protected:
    void SetUp() override
    {
        PlantFixture::SetUp();
        if (IsSkipped()) return;
        s.TanmatsuNo = 7;
        s.ProgramId = QStringLiteral("KIKAI");
        machine(d(), "LONGCODE10", {{"機械名", QStringLiteral("長いコードの機械")}});
        machine(d(), "M09", {{"工程分類コード", "20"}});  // another class: not listed
        // T1 chose M02 long ago; T2's row is another operator's.
        insert(d(), "DB0497", {{"担当者コード", "T1"}, {"機械コード", "M02"}, {"選択", "0"}, {"削除フラグ", "0"}, {"登録日", "20200101"},
                               {"登録時刻", "090000"}, {"登録オペレータ", "OLD"}, {"登録端末番号", 1}, {"登録プログラム", "OLDPRG"}});
        insert(d(), "DB0497", {{"担当者コード", "T2"}, {"機械コード", "M01"}, {"選択", "0"}});
    }
    QStringList dump()
    {
        QStringList rows;
        db::Cursor c = d().query(QStringLiteral("SELECT * FROM DB0497 ORDER BY 担当者コード, 機械コード"));
        while (c.next()) {
            QStringList cells;
            for (const char* col : {"担当者コード", "機械コード", "選択", "削除フラグ", "登録日", "登録時刻", "登録オペレータ", "登録端末番号",
                                    "登録プログラム", "更新日", "更新時刻", "更新オペレータ", "更新端末番号", "更新プログラム"})
                cells << c.text(QString::fromUtf8(col));
            rows << cells.join(u'|');
        }
        return rows;
    }
    const core::Moment now = core::Moment::of(core::Date::fromYmd(2024, 6, 1), core::TimeOfDay::fromHms(10, 20, 30));
};

TEST_P(MachineSelection, NeverChosenMachinesReadAsSelected)
{
    const auto list = store::readMachineSelection(d(), s);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].code, QStringLiteral("LONGCODE10"));  // the whole code, in code order
    EXPECT_EQ(list[0].name, QStringLiteral("長いコードの機械"));
    EXPECT_TRUE(list[0].selected);
    EXPECT_EQ(list[1].code, QStringLiteral("M01"));
    EXPECT_TRUE(list[1].selected);  // only T2 has a row for it
    EXPECT_EQ(list[2].code, QStringLiteral("M02"));
    EXPECT_FALSE(list[2].selected);
}

TEST_P(MachineSelection, ClearAllWritesEveryMachineRegisteringOnlyNewRows)
{
    auto list = store::readMachineSelection(d(), s);
    for (auto& m : list) m.selected = false;
    store::saveMachineSelection(d(), s, list, now);
    EXPECT_EQ(dump(), (QStringList{
                          QStringLiteral("T1|LONGCODE10|0|0|20240601|102030|T1|7|KIKAI|20240601|102030|T1|7|KIKAI"),
                          QStringLiteral("T1|M01|0|0|20240601|102030|T1|7|KIKAI|20240601|102030|T1|7|KIKAI"),
                          QStringLiteral("T1|M02|0|0|20200101|090000|OLD|1|OLDPRG|20240601|102030|T1|7|KIKAI"),
                          QStringLiteral("T2|M01|0|0||||||||||"),
                      }));
    // Chosen again: 1, and the registration stays.
    for (auto& m : list) m.selected = true;
    store::saveMachineSelection(d(), s, list, now.addDays(1));
    const QStringList after = dump();
    EXPECT_EQ(after[0], QStringLiteral("T1|LONGCODE10|1|0|20240601|102030|T1|7|KIKAI|20240602|102030|T1|7|KIKAI"));
    EXPECT_EQ(store::readMachineSelection(d(), s)[2].selected, true);
}

TEST_P(MachineSelection, AFailureInTheMiddleLeavesTheTableAsItWas)
{
    auto list = store::readMachineSelection(d(), s);
    for (auto& m : list) m.selected = !m.selected;
    const QStringList before = dump();
    int statements = 0;
    d().beforeStatement = [&](const QString& sql) {
        if (sql.contains(QStringLiteral("DB0497")) && ++statements == 4) throw db::Error(QStringLiteral("injected failure"));
    };
    EXPECT_THROW(store::saveMachineSelection(d(), s, list, now), db::Error);
    d().beforeStatement = nullptr;
    EXPECT_GE(statements, 4);
    EXPECT_FALSE(d().inTransaction());
    EXPECT_EQ(dump(), before);
}

TEST_P(MachineSelection, CodesAreBoundNeverPartOfTheStatement)
{
    s.TantoCode = QStringLiteral("O'Brien");
    machine(d(), "Q'1");
    auto list = store::readMachineSelection(d(), s);
    ASSERT_EQ(list.back().code, QStringLiteral("Q'1"));
    list.back().selected = false;
    QStringList statements;
    d().beforeStatement = [&](const QString& sql) { statements << sql; };
    store::saveMachineSelection(d(), s, list, now);
    d().beforeStatement = nullptr;
    for (const QString& sql : statements) EXPECT_FALSE(sql.contains(QStringLiteral("O'Brien")) || sql.contains(QStringLiteral("Q'1"))) << sql.toStdString();
    EXPECT_FALSE(store::readMachineSelection(d(), s).back().selected);
}

PLANNER_PLANT_ON_EVERY_KIND(MachineSelection);

}  // namespace
