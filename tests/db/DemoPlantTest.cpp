// The demo plant must be reproducible and must hold what the planner takes for
// granted of a production database: placed orders on working time without
// overlaps, sets that move as one, numbers the save can continue from.

#include "DbFixture.h"
#include "demoplant/DemoPlant.h"
#include "reschedule/Requirement.h"
#include "store/loading/SqlMasterLookup.h"

#include <QMap>
#include <algorithm>
#include <cmath>
#include <map>

namespace {

using core::Date;

demoplant::DemoOptions smallPlant(quint32 seed)
{
    demoplant::DemoOptions o;
    o.seed = seed;
    o.baseDate = Date::fromYmd(2025, 6, 2);
    o.orders = 160;
    o.machines = 6;
    return o;
}

// Every row of a table as text, in a fixed order.
QStringList dump(db::Database& d, const QString& table)
{
    QStringList rows;
    auto c = d.query(QStringLiteral("SELECT * FROM ") + table);
    while (c.next()) {
        QStringList fields;
        for (int i = 0; c.value(i).isValid(); ++i)
            fields << c.text(i);
        rows << fields.join(QLatin1Char('|'));
    }
    rows.sort();
    return rows;
}

int secondsOf(const QString& hhnnss)
{
    return hhnnss.left(2).toInt() * 3600 + hhnnss.mid(2, 2).toInt() * 60 + hhnnss.mid(4, 2).toInt();
}

// Working time read straight from DB0491 and DB0496, minute by minute, without
// the generator's own interval arithmetic. Day change 08:00.
class WorkingTimeOracle {
public:
    explicit WorkingTimeOracle(db::Database& d)
    {
        auto b = d.query(QStringLiteral("SELECT * FROM DB0496 WHERE 自社企業コード='1'"));
        EXPECT_TRUE(b.next());
        const QString digits[] = {QStringLiteral("１"), QStringLiteral("２"), QStringLiteral("３"), QStringLiteral("４"),
                                  QStringLiteral("５"), QStringLiteral("６"), QStringLiteral("７"), QStringLiteral("８"),
                                  QStringLiteral("９"), QStringLiteral("１０")};
        for (const QString& n : digits) {
            const int s = secondsOf(b.text(QStringLiteral("開始時刻") + n));
            int e = secondsOf(b.text(QStringLiteral("終了時刻") + n));
            if (e == 0 && s != 0)
                e = 86400;
            if (e > s)
                breaks_.push_back({s, e});
        }
        auto c = d.query(QStringLiteral("SELECT * FROM DB0491"));
        while (c.next())
            days_[{c.text(QStringLiteral("機械コード")), c.text(QStringLiteral("年月日"))}] = {
                c.text(QStringLiteral("開始時刻１")), c.text(QStringLiteral("終了時刻１")), c.text(QStringLiteral("開始時刻２")),
                c.text(QStringLiteral("終了時刻２")), c.text(QStringLiteral("停止開始時刻")), c.text(QStringLiteral("停止時間"))};
    }

    // Is the minute starting at `t` (seconds since 1970) working time of the machine?
    bool working(const QString& machine, std::int64_t t) const
    {
        const core::Moment m = core::Moment::fromSeconds(t);
        const int tod = m.time().seconds();
        const Date day = tod < 8 * 3600 ? m.date().addDays(-1) : m.date();
        const auto it = days_.find({machine, day.toYmdText()});
        if (it == days_.end())
            return false;
        const QStringList& r = it->second;
        const int rel = int(t - core::Moment::of(day, core::TimeOfDay::fromHms(8, 0)).seconds());
        bool inShift = false;
        for (int p = 0; p < 2; ++p) {
            if (r[2 * p] == r[2 * p + 1])
                continue;
            const int s = (secondsOf(r[2 * p]) - 8 * 3600 + 86400) % 86400;
            int e = (secondsOf(r[2 * p + 1]) - 8 * 3600 + 86400) % 86400;
            if (e == 0)
                e = 86400;
            inShift = inShift || (rel >= s && rel < e);
        }
        if (!inShift)
            return false;
        for (const auto& [s, e] : breaks_)
            if (tod >= s && tod < e)
                return false;
        const int stopStart = secondsOf(r[4]);
        const double stopHours = r[5].toDouble();
        return !(stopHours > 0 && tod >= stopStart && tod < stopStart + stopHours * 3600);
    }

    std::int64_t workingMinutes(const QString& machine, std::int64_t from, std::int64_t to) const
    {
        std::int64_t n = 0;
        for (std::int64_t t = from; t < to; t += 60)
            n += working(machine, t) ? 1 : 0;
        return n;
    }

private:
    std::vector<std::pair<int, int>> breaks_;
    std::map<std::pair<QString, QString>, QStringList> days_;
};

struct PlacedOrder {
    qint64 no = 0, setRep = 0, planNo = 0, seq = 0;
    bool outerRing = false;
    QString machine, mould;
    std::int64_t start = 0, end = 0;
    qint64 minutes = 0;
};

std::int64_t momentOf(const QString& ymd, const QString& hhnnss)
{
    return core::Moment::of(Date::fromYmdText(ymd), core::TimeOfDay::fromSeconds(secondsOf(hhnnss))).seconds();
}

class DemoPlantTest : public DbFixture {};

TEST_P(DemoPlantTest, PlacedOrdersFitTheirMachinesWorkingTimeWithoutOverlap)
{
    demoplant::generateDemoPlant(d(), smallPlant(3));
    const WorkingTimeOracle oracle(d());

    std::vector<PlacedOrder> placed;
    auto c = d().query(QStringLiteral("SELECT * FROM DB0253 WHERE 手配確定区分='2' AND 作業開始時間<>'000000' AND 機械コード<>' '"));
    while (c.next()) {
        PlacedOrder o;
        o.no = c.integer(QStringLiteral("手配番号"));
        o.setRep = c.integer(QStringLiteral("セット品代表手配番号"));
        o.planNo = c.integer(QStringLiteral("生産計画番号"));
        o.seq = c.integer(QStringLiteral("順序"));
        o.outerRing = c.text(QStringLiteral("GNT表示区分")) == QStringLiteral("2");
        o.machine = c.text(QStringLiteral("機械コード"));
        o.mould = c.text(QStringLiteral("金型番号"));
        o.start = momentOf(c.text(QStringLiteral("作業開始日付")), c.text(QStringLiteral("作業開始時間")));
        o.end = momentOf(c.text(QStringLiteral("作業終了日付")), c.text(QStringLiteral("作業終了時間")));
        o.minutes = c.integer(QStringLiteral("GNT所要時間＿分"));
        placed.push_back(o);
    }
    ASSERT_GT(placed.size(), 60u);

    std::map<qint64, const PlacedOrder*> byNo;
    for (const PlacedOrder& o : placed)
        byNo[o.no] = &o;
    std::map<QString, std::vector<const PlacedOrder*>> perMachine;
    int members = 0, outerRings = 0;
    for (const PlacedOrder& o : placed) {
        SCOPED_TRACE(o.no);
        EXPECT_EQ(o.start % 600, 0) << "start off the 10-minute grid";
        EXPECT_TRUE(oracle.working(o.machine, o.start)) << "starts outside working time";
        EXPECT_TRUE(oracle.working(o.machine, o.end - 60)) << "ends outside working time";
        EXPECT_EQ(oracle.workingMinutes(o.machine, o.start, o.end), o.minutes);
        if (o.setRep != 0 && o.setRep != o.no) {
            ++members;
            ASSERT_TRUE(byNo.count(o.setRep));
            const PlacedOrder& rep = *byNo[o.setRep];
            EXPECT_EQ(rep.setRep, rep.no);
            EXPECT_EQ(o.mould, rep.mould);
            EXPECT_FALSE(o.mould.isEmpty());
            EXPECT_EQ(o.machine, rep.machine);
            EXPECT_EQ(o.start, rep.start);
            EXPECT_EQ(o.end, rep.end);
        } else if (o.outerRing) {
            // An outer ring shares its inner ring's bar: the same lot, step, machine and times.
            ++outerRings;
            const auto inner = std::find_if(placed.begin(), placed.end(), [&](const PlacedOrder& i) {
                return !i.outerRing && i.planNo == o.planNo && i.seq == o.seq && i.machine == o.machine && i.start == o.start && i.end == o.end;
            });
            EXPECT_NE(inner, placed.end()) << "outer ring without its inner ring";
        } else {
            perMachine[o.machine].push_back(&o);
        }
    }
    EXPECT_GT(members, 0);
    EXPECT_GT(outerRings, 0);
    for (auto& [machine, list] : perMachine) {
        std::sort(list.begin(), list.end(), [](auto* a, auto* b) { return a->start < b->start; });
        for (std::size_t i = 1; i < list.size(); ++i)
            EXPECT_GE(list[i]->start, list[i - 1]->end) << machine.toStdString() << " orders " << list[i - 1]->no << " and " << list[i]->no;
    }
}

TEST_P(DemoPlantTest, HoldsEveryKindOfOrderTheChartDistinguishes)
{
    auto options = smallPlant(5);
    options.componentRows = 333;
    demoplant::generateDemoPlant(d(), options);

    const auto count = [&](const QString& where) {
        auto c = d().query(QStringLiteral("SELECT COUNT(*) FROM DB0253 WHERE ") + where);
        c.next();
        return c.integer(0);
    };
    EXPECT_EQ(count(QStringLiteral("1=1")), options.orders);
    EXPECT_GT(count(QStringLiteral("完納区分='2'")), 0);
    EXPECT_GT(count(QStringLiteral("削除フラグ='1'")), 0);
    EXPECT_GT(count(QStringLiteral("手配確定区分='1'")), 0);
    EXPECT_GT(count(QStringLiteral("手配確定区分='2' AND 作業開始時間='000000' AND 作業終了時間='000000' AND 完納区分='0'")), 0);
    for (const char* fix : {"0", "1", "2"})
        EXPECT_GT(count(QStringLiteral("手配確定区分='2' AND スケジューラ固定区分='%1'").arg(QLatin1String(fix))), 0) << fix;
    EXPECT_GT(count(QStringLiteral("受入実績数>0 AND 完納区分<>'2'")), 0);
    EXPECT_GT(count(QStringLiteral("作業時間>0")), 0);
    EXPECT_GT(count(QStringLiteral("作業時間=0")), 0);
    EXPECT_GT(count(QStringLiteral("指示書発行日<>'00000000'")), 0);

    // The four bar colours: late, due within three days, early, no first due date.
    int late = 0, close = 0, early = 0, none = 0;
    auto c = d().query(QStringLiteral("SELECT 作業終了日付, GNT初期納期 FROM DB0253 WHERE 手配確定区分='2' AND 作業開始時間<>'000000'"));
    while (c.next()) {
        const Date end = Date::fromYmdText(c.text(0));
        const Date due = Date::fromYmdText(c.text(1));
        if (due.isNull())
            ++none;
        else if (end > due)
            ++late;
        else if (end < due.addDays(-3))
            ++early;
        else
            ++close;
    }
    EXPECT_GT(late, 0);
    EXPECT_GT(close, 0);
    EXPECT_GT(early, 0);
    EXPECT_GT(none, 0);

    EXPECT_GT(count(QStringLiteral("GNT表示区分='2'")), 0) << "outer rings";
    auto variants = d().query(QStringLiteral("SELECT COUNT(*) FROM DB0383 WHERE 構成選択順序=2"));
    variants.next();
    EXPECT_GT(variants.integer(0), 0) << "alternative compositions";
    // Every live order of a plan with a customer order or requirement plan is linked to it.
    auto unlinked = d().query(QStringLiteral("SELECT COUNT(*) FROM DB0253 WHERE 削除フラグ='0' AND 手配番号 NOT IN (SELECT 手配番号 FROM DB0494)"));
    unlinked.next();
    EXPECT_EQ(unlinked.integer(0), 0);

    auto numbers = d().query(QStringLiteral("SELECT 現在番号 FROM DB0018 WHERE 番号管理キー='手配番号'"));
    ASSERT_TRUE(numbers.next());
    auto highest = d().query(QStringLiteral("SELECT MAX(手配番号) FROM DB0253"));
    ASSERT_TRUE(highest.next());
    EXPECT_GT(numbers.integer(0), highest.integer(0));

    auto components = d().query(QStringLiteral("SELECT COUNT(*) FROM DB0252"));
    components.next();
    EXPECT_EQ(components.integer(0), 333);

    auto staff = d().query(QStringLiteral("SELECT 担当者コード, Velmoran権限区分 FROM DB0003 ORDER BY 担当者コード"));
    QMap<QString, QString> rights;
    while (staff.next())
        rights[staff.text(0)] = staff.text(1);
    EXPECT_EQ(rights.value(QStringLiteral("1001")), QStringLiteral("1"));
    EXPECT_EQ(rights.value(QStringLiteral("9001")), QStringLiteral("0"));
    auto hidden = d().query(QStringLiteral("SELECT COUNT(*) FROM DB0497 WHERE 担当者コード='1001' AND 選択<>'1'"));
    hidden.next();
    EXPECT_EQ(hidden.integer(0), 1);
}

// The stored 必要数 must be what the planner's requirement rule gives for the
// order's quantity, or the first quantity edit changes every component.
TEST_P(DemoPlantTest, RequirementsAreWhatTheRequirementRuleGives)
{
    demoplant::generateDemoPlant(d(), smallPlant(7));
    store::SqlMasterLookup lookup(d(), 1);
    auto c = d().query(QStringLiteral("SELECT DB0252.上位手配番号, DB0252.品名コード, DB0252.必要数, DB0253.手配数, DB0378.基本単位 "
                                      " FROM (DB0252 INNER JOIN DB0253 ON DB0253.手配番号=DB0252.上位手配番号) "
                                      " LEFT JOIN DB0378 ON DB0378.品名コード=DB0252.品名コード "
                                      " WHERE DB0252.削除フラグ<>'1'"));
    struct Row {
        qint64 order, qty;
        QString item, unit;
        double stored;
    };
    std::vector<Row> rows;  // read through before the look-ups use the connection
    while (c.next()) rows.push_back({c.integer(0), c.integer(3), c.text(1), c.text(4).trimmed(), c.number(2)});
    int fractional = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(QStringLiteral("%1 %2 (unit %3)").arg(r.order).arg(r.item, r.unit).toStdString());
        const auto rule = lookup.requirementRule(r.order, r.item);
        ASSERT_TRUE(rule.has_value());
        EXPECT_DOUBLE_EQ(r.stored, reschedule::requirementFor(r.qty, *rule).value_or(-1));
        if (r.unit == QStringLiteral("02") && r.qty > 0) {
            EXPECT_GT(r.stored, 0) << "kilograms of material";
        }
        fractional += r.stored != std::floor(r.stored);
    }
    EXPECT_GT(rows.size(), 100u);
    EXPECT_GT(fractional, 0) << "kilograms and metres keep their decimals";
}

PLANNER_ON_EVERY_KIND(DemoPlantTest);

TEST(DemoPlantSeed, SameSeedSameRowsOtherSeedOtherOrders)
{
    auto a = testing_support::freshDatabase(db::Kind::Sqlite);
    auto b = testing_support::freshDatabase(db::Kind::Sqlite);
    auto other = testing_support::freshDatabase(db::Kind::Sqlite);
    demoplant::generateDemoPlant(*a.db, smallPlant(11));
    demoplant::generateDemoPlant(*b.db, smallPlant(11));
    demoplant::generateDemoPlant(*other.db, smallPlant(12));
    for (const char* table : {"DB0253", "DB0252", "DB0491", "DB0394", "DB0378", "DB0381", "DB0451", "DB0473", "DB0386", "DB0494"}) {
        SCOPED_TRACE(table);
        const QString t = QString::fromLatin1(table);
        const QStringList first = dump(*a.db, t);
        EXPECT_FALSE(first.isEmpty());
        EXPECT_EQ(first, dump(*b.db, t));
    }
    EXPECT_NE(dump(*a.db, QStringLiteral("DB0253")), dump(*other.db, QStringLiteral("DB0253")));
}

}  // namespace
