#pragma once
// A small hand-made plant for the loader tests: factory 1, process class "10"
// with machines M01 and M02, one item with a routing, a break master and a
// working calendar. Rows are inserted with bound values exactly as given, so a
// test can plant NULLs and garbage where the loader must cope with them.

#include "core/ProgramSettings.h"
#include "core/WorkingTime.h"
#include "support/ScriptedPrompt.h"
#include "support/TestDatabase.h"

#include <QStringList>
#include <QVariantMap>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace plantest {

// INSERT INTO table (columns) VALUES (?, ...), values bound as given.
inline void insert(db::Database& db, const QString& table, const QVariantMap& values)
{
    QStringList marks;
    QVariantList binds;
    for (auto it = values.begin(); it != values.end(); ++it) {
        marks << QStringLiteral("?");
        binds << it.value();
    }
    db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, values.keys().join(u','), marks.join(u',')), binds);
}

inline QVariantMap merged(QVariantMap base, const QVariantMap& over)
{
    for (auto it = over.begin(); it != over.end(); ++it) base.insert(it.key(), it.value());
    return base;
}

inline core::ProgramSettings settings()
{
    core::ProgramSettings s;
    s.TantoCode = QStringLiteral("T1");
    s.KojoCode = 1;
    s.processClassCode = QStringLiteral("10");
    s.PeriodStart = core::Date::fromYmd(2024, 5, 1);
    s.PeriodEnd = core::Date::fromYmd(2024, 5, 7);
    s.DayChangeTime = core::TimeOfDay::fromHms(8, 0);
    s.GridMinutes = 10;
    s.KengenKubun = QStringLiteral("1");
    return s;
}

inline void machine(db::Database& db, const QString& code, const QString& name, const QVariantMap& over = {})
{
    insert(db, QStringLiteral("DB0394"),
           merged({{QStringLiteral("機械コード"), code}, {QStringLiteral("機械名"), name}, {QStringLiteral("生産工場コード"), 1},
                   {QStringLiteral("工程分類コード"), QStringLiteral("10")}, {QStringLiteral("削除フラグ"), QStringLiteral("0")}},
                  over));
}

// Shift 08:00-17:00 on every day of May 2024 for the machine.
inline void monthOfShifts(db::Database& db, const QString& code)
{
    for (int d = 1; d <= 31; ++d)
        insert(db, QStringLiteral("DB0491"),
               {{QStringLiteral("機械コード"), code},
                {QStringLiteral("年月日"), core::Date::fromYmd(2024, 5, d).toYmdText()},
                {QStringLiteral("勤務時間"), 8},
                {QStringLiteral("開始時刻１"), QStringLiteral("080000")},
                {QStringLiteral("終了時刻１"), QStringLiteral("170000")}});
}

inline void breakMaster(db::Database& db, const QVariantMap& times = {{QStringLiteral("開始時刻１"), QStringLiteral("120000")},
                                                                        {QStringLiteral("終了時刻１"), QStringLiteral("130000")}})
{
    insert(db, QStringLiteral("DB0496"), merged({{QStringLiteral("自社企業コード"), QStringLiteral("1")}}, times));
}

inline void item(db::Database& db, const QString& code, const QVariantMap& routing = {})
{
    insert(db, QStringLiteral("DB0378"), {{QStringLiteral("品名コード"), code}, {QStringLiteral("品名＿品名仕様"), code + QStringLiteral(" 仕様")},
                                          {QStringLiteral("包装単位数量"), 50}});
    insert(db, QStringLiteral("DB0381"),
           merged({{QStringLiteral("品名コード"), code}, {QStringLiteral("順序"), 1}, {QStringLiteral("生産工場コード"), 1},
                   {QStringLiteral("工程内容コード"), QStringLiteral("P1")}},
                  routing));
}

// A placed, confirmed order on M01 on 2024/05/02 08:00-12:00 unless overridden.
inline void order(db::Database& db, qint64 orderNo, const QVariantMap& over = {})
{
    insert(db, QStringLiteral("DB0253"),
           merged({{QStringLiteral("手配番号"), orderNo},
                   {QStringLiteral("生産工場コード"), 1},
                   {QStringLiteral("品名コード"), QStringLiteral("ITEM-A")},
                   {QStringLiteral("順序"), 1},
                   {QStringLiteral("機械コード"), QStringLiteral("M01")},
                   {QStringLiteral("指示先コード"), QStringLiteral("D1")},
                   {QStringLiteral("社内社外区分"), QStringLiteral("1")},
                   {QStringLiteral("手配確定区分"), QStringLiteral("2")},
                   {QStringLiteral("スケジューラ固定区分"), QStringLiteral("0")},
                   {QStringLiteral("完納区分"), QStringLiteral("0")},
                   {QStringLiteral("作業開始日付"), QStringLiteral("20240502")},
                   {QStringLiteral("作業開始時間"), QStringLiteral("080000")},
                   {QStringLiteral("作業終了日付"), QStringLiteral("20240502")},
                   {QStringLiteral("作業終了時間"), QStringLiteral("120000")},
                   {QStringLiteral("開始日"), QStringLiteral("20240502")},
                   {QStringLiteral("納期"), QStringLiteral("20240510")},
                   {QStringLiteral("GNT初期納期"), QStringLiteral("20240509")},
                   {QStringLiteral("手配数"), 100},
                   {QStringLiteral("受入実績数"), 0},
                   {QStringLiteral("必要人員"), 1},
                   {QStringLiteral("セット品代表手配番号"), 0},
                   {QStringLiteral("削除フラグ"), QStringLiteral("0")}},
                  over));
}

// Fresh database of the test's kind holding the basic plant.
class PlantFixture : public ::testing::TestWithParam<db::Kind> {
protected:
    void SetUp() override
    {
        t = testing_support::freshDatabase(GetParam());
        if (!t.db) GTEST_SKIP() << testing_support::kindName(GetParam()) << " not available";
        breakMaster(d());
        insert(d(), QStringLiteral("DB0382"), {{QStringLiteral("工程内容コード"), QStringLiteral("P1")},
                                               {QStringLiteral("工程内容名"), QStringLiteral("成形")},
                                               {QStringLiteral("工程分類コード"), QStringLiteral("10")}});
        item(d(), QStringLiteral("ITEM-A"));
        machine(d(), QStringLiteral("M01"), QStringLiteral("成形機1"));
        machine(d(), QStringLiteral("M02"), QStringLiteral("成形機2"));
        monthOfShifts(d(), QStringLiteral("M01"));
        monthOfShifts(d(), QStringLiteral("M02"));
    }
    db::Database& d() { return *t.db; }

    testing_support::TestDb t;
    core::ProgramSettings s = settings();
    core::Planner planner;
    testing_support::ScriptedPrompt prompt;
};

inline std::string kindParamName(const ::testing::TestParamInfo<db::Kind>& info) { return testing_support::kindName(info.param); }

}  // namespace plantest

#define PLANNER_PLANT_ON_EVERY_KIND(Suite) \
    INSTANTIATE_TEST_SUITE_P(Kinds, Suite, ::testing::ValuesIn(testing_support::testKinds()), plantest::kindParamName)
