#include "SaveFixture.h"

#include "reschedule/saving/SaveSql.h"

#include <algorithm>

namespace savetest {

namespace {

QString s(const char16_t* text) { return QString::fromUtf16(text); }

void shifts(db::Database& db, const QString& machine)
{
    for (int day = 1; day <= 31; ++day)
        insert(db, s(u"DB0491"),
               {{s(u"機械コード"), machine},
                {s(u"年月日"), core::Date::fromYmd(2024, 5, day).toYmdText()},
                {s(u"勤務時間"), 8},
                {s(u"開始時刻１"), s(u"080000")},
                {s(u"終了時刻１"), s(u"170000")},
                {s(u"削除フラグ"), s(u"0")}});
}

}  // namespace

QStringList dumpTable(db::Database& db, const QString& table)
{
    const reschedule::saving::TableColumns columns(db, table);
    QStringList rows;
    db::Cursor c = db.query(QStringLiteral("SELECT * FROM ") + table);
    while (c.next()) {
        QStringList values;
        for (const QString& name : columns.names()) values << (c.isNull(name) ? QStringLiteral("<null>") : c.text(name));
        rows << table + QLatin1Char(':') + values.join(QLatin1Char('|'));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

QStringList dumpAll(db::Database& db)
{
    QStringList all;
    for (const QString& table : db::Database::schemaTables()) all << dumpTable(db, table);
    return all;
}

Row::Row(db::Database& db, const QString& table, const QString& where, const QVariantList& binds)
{
    const reschedule::saving::TableColumns columns(db, table);
    db::Cursor c = db.query(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE ") + where, binds);
    if (!c.next()) return;
    found_ = true;
    for (const QString& name : columns.names()) values_.insert(name.toLower(), c.isNull(name) ? QVariant() : QVariant(c.text(name)));
    while (c.next()) {
    }
}

QString Row::text(const QString& column) const { return values_.value(column.toLower()).toString(); }

double Row::num(const QString& column) const { return db::numberFromText(text(column)); }

int countRows(db::Database& db, const QString& sql, const QVariantList& binds)
{
    db::Cursor c = db.query(sql, binds);
    int n = 0;
    while (c.next()) ++n;
    return n;
}

void addOrder(db::Database& db, qint64 orderNo, const QVariantMap& over)
{
    insert(db, s(u"DB0253"),
           merged({{s(u"手配番号"), orderNo},
                   {s(u"上位手配番号"), 0},
                   {s(u"生産計画番号"), 900},
                   {s(u"生産工場コード"), 1},
                   {s(u"品名コード"), s(u"ITEM-A")},
                   {s(u"順序"), 999},
                   {s(u"機械コード"), s(u"M01")},
                   {s(u"指示先コード"), s(u"D-M01")},
                   {s(u"社内社外区分"), s(u"1")},
                   {s(u"手配区分"), s(u"3")},
                   {s(u"手配確定区分"), s(u"2")},
                   {s(u"スケジューラ固定区分"), s(u"0")},
                   {s(u"受入即検収区分"), s(u"0")},
                   {s(u"GNT表示区分"), s(u"0")},
                   {s(u"完納区分"), s(u"0")},
                   {s(u"作業開始日付"), s(u"20240502")},
                   {s(u"作業開始時間"), s(u"080000")},
                   {s(u"作業終了日付"), s(u"20240502")},
                   {s(u"作業終了時間"), s(u"120000")},
                   {s(u"開始日"), s(u"20240502")},
                   {s(u"納期"), s(u"20240510")},
                   {s(u"GNT初期納期"), s(u"20240509")},
                   {s(u"作業時間"), 3},
                   {s(u"段取時間"), 0},
                   {s(u"手配数"), 100},
                   {s(u"発注数"), 100},
                   {s(u"受入実績数"), 0},
                   {s(u"手配実績数"), 0},
                   {s(u"必要人員"), 1},
                   {s(u"サイクル"), 30},
                   {s(u"単価"), 10},
                   {s(u"金額"), 1000},
                   {s(u"消費税額"), 100},
                   {s(u"合計金額"), 1100},
                   {s(u"セット品代表手配番号"), 0},
                   {s(u"手配日"), s(u"20240401")},
                   {s(u"手配担当者コード"), s(u"P7")},
                   {s(u"完成入庫場所"), s(u"W1")},
                   {s(u"指示書発行日"), s(u"20240420")},
                   {s(u"削除フラグ"), s(u"0")},
                   {s(u"登録日"), s(u"20240101")},
                   {s(u"登録時刻"), s(u"090000")},
                   {s(u"登録オペレータ"), s(u"OLD")},
                   {s(u"更新日"), s(u"20240101")},
                   {s(u"更新時刻"), s(u"090000")},
                   {s(u"更新オペレータ"), s(u"OLD")}},
                  over));
}

void buildPlant(db::Database& db)
{
    insert(db, s(u"DB0496"), {{s(u"自社企業コード"), s(u"1")}, {s(u"開始時刻１"), s(u"120000")}, {s(u"終了時刻１"), s(u"130000")}});
    insert(db, s(u"DB0382"), {{s(u"工程内容コード"), s(u"P1")}, {s(u"工程内容名"), s(u"成形")}, {s(u"工程分類コード"), s(u"10")}});
    for (const auto& [section, flag] : {std::pair{0, u"0"}, std::pair{1, u"1"}, std::pair{2, u"0"}, std::pair{3, u"0"}})
        insert(db, s(u"DB0370"), {{s(u"部コード"), 1}, {s(u"課コード"), section}, {s(u"部名"), s(u"本社工場")}, {s(u"削除フラグ"), s(flag)}});
    insert(db, s(u"DB0394"), {{s(u"機械コード"), s(u"M01")}, {s(u"機械名"), s(u"成形機1")}, {s(u"生産工場コード"), 1},
                               {s(u"工程分類コード"), s(u"10")}, {s(u"指示先コード"), s(u"D-M01")}, {s(u"削除フラグ"), s(u"0")}});
    insert(db, s(u"DB0394"), {{s(u"機械コード"), s(u"M02")}, {s(u"機械名"), s(u"成形機2")}, {s(u"生産工場コード"), 1},
                               {s(u"工程分類コード"), s(u"10")}, {s(u"削除フラグ"), s(u"0")}});
    shifts(db, s(u"M01"));
    shifts(db, s(u"M02"));
    insert(db, s(u"DB0369"), {{s(u"仕入先コード"), s(u"S1")}, {s(u"仕入先名略名"), s(u"外注一")}, {s(u"仕入先分類"), s(u"1")}});
    insert(db, s(u"DB0369"), {{s(u"仕入先コード"), s(u"S2")}, {s(u"仕入先名略名"), s(u"外注二")}, {s(u"仕入先分類"), s(u"2")}});
    for (const char16_t* item : {u"ITEM-A", u"MAT-1", u"MAT-2", u"MAT-9"})
        insert(db, s(u"DB0378"), {{s(u"品名コード"), s(item)}, {s(u"品名＿品名仕様"), s(item) + s(u" 仕様")}, {s(u"包装単位数量"), 10}});
    insert(db, s(u"DB0381"), {{s(u"品名コード"), s(u"ITEM-A")}, {s(u"順序"), 999}, {s(u"生産工場コード"), 1},
                               {s(u"工程内容コード"), s(u"P1")}, {s(u"現品票出力区分"), s(u"2")}, {s(u"ロット別在庫管理区分"), s(u"0")}});
    for (int step : {5, 7})
        insert(db, s(u"DB0381"), {{s(u"品名コード"), s(u"MAT-2")}, {s(u"順序"), step}, {s(u"生産工場コード"), 1}, {s(u"工程内容コード"), s(u"P1")}});
    insert(db, s(u"DB0383"), {{s(u"生産工場コード"), 1}, {s(u"上位品名コード"), s(u"ITEM-A")}, {s(u"順序"), 999}, {s(u"下位品名コード"), s(u"MAT-1")},
                               {s(u"表示順"), 1}, {s(u"原単位分子"), 2}, {s(u"原単位分母"), 1}, {s(u"支給制御区分"), s(u"1")},
                               {s(u"有償無償区分"), s(u"0")}, {s(u"削除フラグ"), s(u"0")}});
    insert(db, s(u"DB0383"), {{s(u"生産工場コード"), 1}, {s(u"上位品名コード"), s(u"ITEM-A")}, {s(u"順序"), 999}, {s(u"下位品名コード"), s(u"MAT-2")},
                               {s(u"表示順"), 2}, {s(u"原単位分子"), 1}, {s(u"原単位分母"), 4}, {s(u"支給制御区分"), s(u"2")},
                               {s(u"有償無償区分"), s(u"1")}, {s(u"削除フラグ"), s(u"0")}});
    const auto price = [&](const char16_t* partner, const char16_t* from, double value) {
        insert(db, s(u"DB0386"), {{s(u"取引先コード"), s(partner)}, {s(u"品名コード"), s(u"ITEM-A")}, {s(u"工場コード"), 1}, {s(u"順序"), 999},
                                   {s(u"開始日"), s(from)}, {s(u"単価"), value}, {s(u"単価区分"), s(u"1")}});
    };
    price(u"0", u"20230101", 100);
    price(u"0", u"20240101", 120.5);
    price(u"S1", u"20240101", 90);
    insert(db, s(u"DB0018"), {{s(u"番号管理キー"), s(u"手配番号")}, {s(u"現在番号"), 5000}, {s(u"開始番号"), 1}, {s(u"終了番号"), 99999999}});
    insert(db, s(u"DB0251"), {{s(u"生産計画番号"), 900}, {s(u"生産工場コード"), 1}, {s(u"品名コード"), s(u"ITEM-A")}, {s(u"計画数"), 170},
                               {s(u"指示済数"), 0}, {s(u"生産完了日"), s(u"00000000")}, {s(u"確定区分"), s(u"1")}, {s(u"指示済区分"), s(u"1")}});
    insert(db, s(u"DB0492"), {{s(u"品名コード"), s(u"ITEM-A")}, {s(u"順序"), 999}, {s(u"機械コード"), s(u"M01")}, {s(u"サイクル"), 30}});

    addOrder(db, 101);
    addOrder(db, 102, {{s(u"機械コード"), s(u"M02")}, {s(u"指示先コード"), QString()}, {s(u"作業開始日付"), s(u"20240503")},
                       {s(u"作業終了日付"), s(u"20240503")}, {s(u"作業終了時間"), s(u"100000")}, {s(u"手配数"), 50}, {s(u"作業時間"), 2}});
    addOrder(db, 103, {{s(u"作業開始日付"), s(u"20240506")}, {s(u"作業終了日付"), s(u"20240506")}, {s(u"作業終了時間"), s(u"090000")},
                       {s(u"手配数"), 20}, {s(u"作業時間"), 1}, {s(u"金型番号"), s(u"K1")}});
    for (const char16_t* item : {u"MAT-1", u"MAT-9"})
        insert(db, s(u"DB0252"), {{s(u"上位手配番号"), 101}, {s(u"品名コード"), s(item)}, {s(u"順序"), 0}, {s(u"生産工場コード"), 1},
                                   {s(u"必要数"), 200}, {s(u"実績数"), 5}, {s(u"支給数"), 200}, {s(u"完納区分"), s(u"0")},
                                   {s(u"原単位分子"), 2}, {s(u"原単位分母"), 1}, {s(u"不良率"), 0}, {s(u"削除フラグ"), s(u"0")}});
    insert(db, s(u"DB0259"), {{s(u"生産工場コード"), 1}, {s(u"手配番号"), 102}, {s(u"実績区分"), s(u" ")}, {s(u"実績番号"), 0},
                               {s(u"実績行番号"), 0}, {s(u"ロット番号"), 0}, {s(u"数量"), 50}, {s(u"現品票発行区分"), s(u"9")},
                               {s(u"削除フラグ"), s(u"0")}});
}

core::ProgramSettings plantSettings()
{
    core::ProgramSettings st;
    st.TantoCode = QStringLiteral("T1");
    st.KojoCode = 1;
    st.TanmatsuNo = 7;
    st.ProgramId = QStringLiteral("PLANSAVE");
    st.processClassCode = QStringLiteral("10");
    st.PeriodStart = core::Date::fromYmd(2024, 5, 1);
    st.PeriodEnd = core::Date::fromYmd(2024, 5, 31);
    st.DayChangeTime = core::TimeOfDay::fromHms(8, 0);
    st.GridMinutes = 10;
    st.KengenKubun = QStringLiteral("1");
    return st;
}

core::Moment saveMoment() { return core::Moment::of(core::Date::fromYmd(2024, 6, 1), core::TimeOfDay::fromHms(10, 20, 30)); }

void SaveFixture::SetUp()
{
    t = testing_support::freshDatabase(GetParam());
    if (!t.db) GTEST_SKIP() << testing_support::kindName(GetParam()) << " not available";
    d().begin();
    buildPlant(d());
    d().commit();
}

void SaveFixture::load()
{
    plan = plan::PlanData();
    planner = core::Planner();
    plan::loading::subResourcesSet(d(), settings, planner, prompt);
    plan::loading::ReturnPlanData(d(), settings, planner, plan);
}

int SaveFixture::recordOf(qint64 orderNo) const
{
    for (int i = 2; i <= plan.size(); ++i)
        if (plan[i].orderNo == orderNo) return i;
    ADD_FAILURE() << "order " << orderNo << " is not in the plan";
    return 0;
}

plan::PlanRecord& SaveFixture::edit(qint64 orderNo)
{
    plan::PlanRecord& r = plan.edit(recordOf(orderNo));
    r.isChanged = true;
    return r;
}

SaveResult SaveFixture::save()
{
    return reschedule::saving::saveScheduleAt(d(), settings, planner, plan, prompt, changedDays, saveMoment());
}

std::string kindName(const ::testing::TestParamInfo<db::Kind>& info) { return testing_support::kindName(info.param); }

}  // namespace savetest
