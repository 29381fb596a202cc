#include "SaveFixture.h"

#include "store/saving/SaveSql.h"

#include <algorithm>

namespace savetest {

namespace {

QString s(const char16_t* text) { return QString::fromUtf16(text); }

// A row from a comma-separated column list and its values.
void row(db::Database& db, const char16_t* table, const char16_t* columns, const QVariantList& values)
{
    const QStringList names = s(columns).split(u',');
    QVariantMap m;
    for (int i = 0; i < names.size(); ++i) m.insert(names[i], values.at(i));
    insert(db, s(table), m);
}

}  // namespace

QStringList dumpTable(db::Database& db, const QString& table)
{
    const store::TableColumns columns(db, table);
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
    const store::TableColumns columns(db, table);
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
    const QStringList names = s(u"手配番号,上位手配番号,生産計画番号,生産工場コード,品名コード,順序,機械コード,指示先コード,社内社外区分,"
                                u"手配区分,手配確定区分,スケジューラ固定区分,受入即検収区分,GNT表示区分,完納区分,作業開始日付,作業開始時間,"
                                u"作業終了日付,作業終了時間,開始日,納期,GNT初期納期,作業時間,段取時間,手配数,発注数,受入実績数,必要人員,"
                                u"サイクル,単価,金額,消費税額,合計金額,セット品代表手配番号,手配日,手配担当者コード,完成入庫場所,指示書発行日,"
                                u"削除フラグ,登録日,登録時刻,登録オペレータ,更新日,更新時刻,更新オペレータ")
                                  .split(u',');
    const QVariantList values = {orderNo, 0, 900, 1, s(u"ITEM-A"), 999, s(u"M01"), s(u"D-M01"), s(u"1"), s(u"3"), s(u"2"), s(u"0"),
                                 s(u"0"), s(u"0"), s(u"0"), s(u"20240502"), s(u"080000"), s(u"20240502"), s(u"120000"), s(u"20240502"),
                                 s(u"20240510"), s(u"20240509"), 3, 0, 100, 100, 0, 1, 30, 10, 1000, 100, 1100, 0, s(u"20240401"),
                                 s(u"P7"), s(u"W1"), s(u"20240420"), s(u"0"), s(u"20240101"), s(u"090000"), s(u"OLD"),
                                 s(u"20240101"), s(u"090000"), s(u"OLD")};
    QVariantMap m;
    for (int i = 0; i < names.size(); ++i) m.insert(names[i], values.at(i));
    insert(db, s(u"DB0253"), merged(m, over));
}

void buildPlant(db::Database& db)
{
    row(db, u"DB0496", u"自社企業コード,開始時刻１,終了時刻１", {s(u"1"), s(u"120000"), s(u"130000")});
    row(db, u"DB0382", u"工程内容コード,工程内容名,工程分類コード", {s(u"P1"), s(u"成形"), s(u"10")});
    for (const auto& [section, flag] : {std::pair{0, u"0"}, std::pair{1, u"1"}, std::pair{2, u"0"}, std::pair{3, u"0"}})
        row(db, u"DB0370", u"部コード,課コード,部名,削除フラグ", {1, section, s(u"本社工場"), s(flag)});
    const char16_t* machine = u"機械コード,機械名,生産工場コード,工程分類コード,指示先コード,削除フラグ";
    row(db, u"DB0394", machine, {s(u"M01"), s(u"成形機1"), 1, s(u"10"), s(u"D-M01"), s(u"0")});
    row(db, u"DB0394", machine, {s(u"M02"), s(u"成形機2"), 1, s(u"10"), QVariant(), s(u"0")});
    for (const char16_t* m : {u"M01", u"M02"})
        for (int day = 1; day <= 31; ++day)
            row(db, u"DB0491", u"機械コード,年月日,勤務時間,開始時刻１,終了時刻１,削除フラグ",
                {s(m), core::Date::fromYmd(2024, 5, day).toYmdText(), 8, s(u"080000"), s(u"170000"), s(u"0")});
    row(db, u"DB0369", u"仕入先コード,仕入先分類", {s(u"S1"), s(u"1")});
    row(db, u"DB0369", u"仕入先コード,仕入先分類", {s(u"S2"), s(u"2")});
    for (const char16_t* item : {u"ITEM-A", u"MAT-1", u"MAT-2", u"MAT-9"})
        row(db, u"DB0378", u"品名コード,品名＿品名仕様,包装単位数量", {s(item), s(item), 10});
    const char16_t* routing = u"品名コード,順序,生産工場コード,工程内容コード,現品票出力区分,ロット別在庫管理区分";
    row(db, u"DB0381", routing, {s(u"ITEM-A"), 999, 1, s(u"P1"), s(u"2"), s(u"0")});
    for (int step : {5, 7}) row(db, u"DB0381", routing, {s(u"MAT-2"), step, 1, s(u"P1"), s(u"1"), s(u"0")});
    const char16_t* bom = u"生産工場コード,上位品名コード,順序,下位品名コード,表示順,原単位分子,原単位分母,支給制御区分,有償無償区分,削除フラグ";
    row(db, u"DB0383", bom, {1, s(u"ITEM-A"), 999, s(u"MAT-1"), 1, 2, 1, s(u"1"), s(u"0"), s(u"0")});
    row(db, u"DB0383", bom, {1, s(u"ITEM-A"), 999, s(u"MAT-2"), 2, 1, 4, s(u"2"), s(u"1"), s(u"0")});
    const char16_t* price = u"取引先コード,品名コード,工場コード,順序,開始日,単価,単価区分";
    row(db, u"DB0386", price, {s(u"0"), s(u"ITEM-A"), 1, 999, s(u"20230101"), 100, s(u"1")});
    row(db, u"DB0386", price, {s(u"0"), s(u"ITEM-A"), 1, 999, s(u"20240101"), 120.5, s(u"1")});
    row(db, u"DB0386", price, {s(u"S1"), s(u"ITEM-A"), 1, 999, s(u"20240101"), 90, s(u"1")});
    row(db, u"DB0018", u"番号管理キー,現在番号,開始番号,終了番号", {s(u"手配番号"), 5000, 1, 99999999});
    row(db, u"DB0251", u"生産計画番号,生産工場コード,品名コード,計画数,指示済数,生産完了日,確定区分,指示済区分",
        {900, 1, s(u"ITEM-A"), 170, 0, s(u"00000000"), s(u"1"), s(u"1")});
    row(db, u"DB0492", u"品名コード,順序,機械コード,サイクル", {s(u"ITEM-A"), 999, s(u"M01"), 30});

    addOrder(db, 101);
    addOrder(db, 102, {{s(u"機械コード"), s(u"M02")}, {s(u"指示先コード"), QString()}, {s(u"作業開始日付"), s(u"20240503")},
                       {s(u"作業終了日付"), s(u"20240503")}, {s(u"作業終了時間"), s(u"100000")}, {s(u"手配数"), 50}, {s(u"作業時間"), 2}});
    addOrder(db, 103, {{s(u"作業開始日付"), s(u"20240506")}, {s(u"作業終了日付"), s(u"20240506")}, {s(u"作業終了時間"), s(u"090000")},
                       {s(u"手配数"), 20}, {s(u"作業時間"), 1}, {s(u"金型番号"), s(u"K1")}});
    for (const char16_t* item : {u"MAT-1", u"MAT-9"})
        row(db, u"DB0252", u"上位手配番号,品名コード,順序,生産工場コード,必要数,実績数,支給数,完納区分,原単位分子,原単位分母,不良率,削除フラグ",
            {101, s(item), 0, 1, 200, 5, 200, s(u"0"), 2, 1, 0, s(u"0")});
    row(db, u"DB0259", u"生産工場コード,手配番号,実績区分,実績番号,実績行番号,ロット番号,数量,現品票発行区分,削除フラグ",
        {1, 102, s(u" "), 0, 0, 0, 50, s(u"9"), s(u"0")});
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
    store::resourcesSet(d(), settings, planner, prompt);
    store::returnPlanData(d(), settings, planner, plan);
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
    return store::saveSchedule(d(), settings, planner, plan, prompt, changedDays, saveMoment());
}

std::string kindName(const ::testing::TestParamInfo<db::Kind>& info) { return testing_support::kindName(info.param); }

}  // namespace savetest
