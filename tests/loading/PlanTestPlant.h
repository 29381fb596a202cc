#pragma once
// A small hand-made plant for the loader tests: factory 1, process class "10"
// (process P1 "成形"), machines M01 and M02 working 08:00-17:00 every day of
// May 2024 with a 12:00-13:00 break, item ITEM-A with its routing. Rows are
// inserted with bound values exactly as given, so a test can plant NULLs and
// garbage where the loader must cope with them.

#include "core/ProgramSettings.h"
#include "core/WorkingTime.h"
#include "plan/PlanData.h"
#include "support/ScriptedPrompt.h"
#include "support/TestDatabase.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <ostream>
#include <utility>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace plantest {

using Cols = QList<std::pair<const char*, QVariant>>;

inline void insert(db::Database& db, const char* table, const Cols& cols, const Cols& over = {})
{
    QStringList names, marks;
    QVariantList binds;
    for (const Cols* list : {&cols, &over})
        for (const auto& [name, value] : *list) {
            const int at = names.indexOf(QString::fromUtf8(name));
            if (at >= 0) {
                binds[at] = value;
                continue;
            }
            names << QString::fromUtf8(name);
            marks << QStringLiteral("?");
            binds << value;
        }
    db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(QLatin1String(table), names.join(u','), marks.join(u',')), binds);
}

inline void machine(db::Database& db, const char* code, const Cols& over = {})
{
    insert(db, "DB0394", {{"機械コード", QString::fromUtf8(code)}, {"機械名", QStringLiteral("成形機")}, {"生産工場コード", 1},
                          {"工程分類コード", "10"}, {"削除フラグ", "0"}}, over);
}

inline void item(db::Database& db, const QString& code, const Cols& routing = {})
{
    insert(db, "DB0378", {{"品名コード", code}, {"品名＿品名仕様", code + QStringLiteral(" 仕様")}, {"包装単位数量", 50}});
    insert(db, "DB0381", {{"品名コード", code}, {"順序", 1}, {"生産工場コード", 1}, {"工程内容コード", "P1"}}, routing);
}

// A confirmed order placed on M01 on 2024/05/02 08:00-12:00 unless overridden.
inline void order(db::Database& db, qint64 orderNo, const Cols& over = {})
{
    insert(db, "DB0253",
           {{"手配番号", orderNo}, {"生産工場コード", 1}, {"品名コード", "ITEM-A"}, {"順序", 1}, {"機械コード", "M01"}, {"指示先コード", "D1"},
            {"社内社外区分", "1"}, {"手配確定区分", "2"}, {"スケジューラ固定区分", "0"}, {"完納区分", "0"}, {"作業開始日付", "20240502"},
            {"作業開始時間", "080000"}, {"作業終了日付", "20240502"}, {"作業終了時間", "120000"}, {"開始日", "20240502"},
            {"納期", "20240510"}, {"GNT初期納期", "20240509"}, {"手配数", 100}, {"受入実績数", 0}, {"必要人員", 1},
            {"セット品代表手配番号", 0}, {"削除フラグ", "0"}},
           over);
}

class PlantFixture : public ::testing::TestWithParam<db::Kind> {
protected:
    void SetUp() override
    {
        t = testing_support::freshDatabase(GetParam());
        if (!t.db) GTEST_SKIP() << testing_support::kindName(GetParam()) << " not available";
        d().begin();
        insert(d(), "DB0496", {{"自社企業コード", "1"}, {"開始時刻１", "120000"}, {"終了時刻１", "130000"}});
        insert(d(), "DB0382", {{"工程内容コード", "P1"}, {"工程内容名", QStringLiteral("成形")}, {"工程分類コード", "10"}});
        item(d(), QStringLiteral("ITEM-A"));
        for (const char* code : {"M01", "M02"}) {
            machine(d(), code);
            for (int day = 1; day <= 31; ++day)
                insert(d(), "DB0491", {{"機械コード", code}, {"年月日", core::Date::fromYmd(2024, 5, day).toYmdText()}, {"勤務時間", 8},
                                       {"開始時刻１", "080000"}, {"終了時刻１", "170000"}});
        }
        d().commit();
        s.TantoCode = QStringLiteral("T1");
        s.KojoCode = 1;
        s.processClassCode = QStringLiteral("10");
        s.PeriodStart = core::Date::fromYmd(2024, 5, 1);
        s.PeriodEnd = core::Date::fromYmd(2024, 5, 7);
        s.GridMinutes = 10;
    }
    db::Database& d() { return *t.db; }
    const plan::PlanRecord& rec(qint64 orderNo) const
    {
        for (int i = 2; i <= plan.size(); ++i)
            if (plan[i].orderNo == orderNo) return plan[i];
        ADD_FAILURE() << "order " << orderNo << " not loaded";
        return plan[1];
    }

    testing_support::TestDb t;
    core::ProgramSettings s;
    core::Planner planner;
    plan::PlanData plan;
    testing_support::ScriptedPrompt prompt;
};

inline std::string kindParamName(const ::testing::TestParamInfo<db::Kind>& info) { return testing_support::kindName(info.param); }

}  // namespace plantest

#define PLANNER_PLANT_ON_EVERY_KIND(Suite) \
    INSTANTIATE_TEST_SUITE_P(Kinds, Suite, ::testing::ValuesIn(testing_support::testKinds()), plantest::kindParamName)
