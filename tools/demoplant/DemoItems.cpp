// Items of the demo plant with their routings, moulds, machine cycles and
// bills of materials, plus units, process contents and customers.

#include "DemoModel.h"

#include <algorithm>
#include <iterator>

namespace demoplant {

namespace {

const QString kPiece = QStringLiteral("01"), kKilogram = QStringLiteral("02"), kMetre = QStringLiteral("03"),
              kSheet = QStringLiteral("04"), kBottle = QStringLiteral("05");

QStringList machinesOf(const PlantModel& model, const QString& classCode)
{
    QStringList out;
    for (const Machine& m : model.machines)
        if (m.classCode == classCode && m.takesOrders)
            out << m.code;
    return out;
}

// n machines (at most) of a class; `first` leads, so that every machine of the
// class serves some item when callers go round the list.
QStringList someOf(const QStringList& from, int n, DemoRandom& rnd, int first = -1)
{
    QStringList out;
    if (first >= 0 && !from.isEmpty())
        out << from[first % from.size()];
    for (int tries = 0; out.size() < std::min<qsizetype>(n, from.size()) && tries < 50; ++tries) {
        const QString& c = from[rnd.below(int(from.size()))];
        if (!out.contains(c))
            out << c;
    }
    return out;
}

Item material(const QString& code, const QString& name, const QString& modelNo, const QString& unit, int pack)
{
    Item i;
    i.code = code;
    i.shortName = name;
    i.modelNo = modelNo;
    i.modelNoAnk = modelNo;
    i.name = modelNo.isEmpty() ? name : name + QStringLiteral("　") + modelNo;
    i.unitCode = unit;
    i.packQty = pack;
    i.family = Family::Material;
    return i;
}

void addMaterials(PlantModel& model)
{
    int n = 0;
    for (const char* resin : {"ABS", "PP", "PA66", "POM", "PC", "PBT"})
        for (const char* colour : {"黒", "ナチュラル"})
            model.addItem(material(QStringLiteral("Z1%1").arg(++n, 3, 10, QLatin1Char('0')), QStringLiteral("樹脂ペレット"),
                                   QString::fromUtf8(resin) + QLatin1Char(' ') + QString::fromUtf8(colour), kKilogram, 25));
    n = 0;
    for (const char* bar : {"S45C φ20", "S45C φ30", "SUS304 φ25", "A5052 φ40", "C3604 六角17", "SCM435 φ32"})
        model.addItem(material(QStringLiteral("Z2%1").arg(++n, 3, 10, QLatin1Char('0')), QStringLiteral("丸棒"),
                               QString::fromUtf8(bar), kMetre, 1));
    // Bearing steel for the rings: bar stock, and forged blanks as the alternative.
    for (const char* bar : {"SUJ2 φ45", "SUJ2 φ60"})
        model.addItem(material(QStringLiteral("Z2%1").arg(++n, 3, 10, QLatin1Char('0')), QStringLiteral("丸棒"),
                               QString::fromUtf8(bar), kMetre, 1));
    for (const char* blank : {"SUJ2 内輪用", "SUJ2 外輪用"})
        model.addItem(material(QStringLiteral("Z2%1").arg(++n, 3, 10, QLatin1Char('0')), QStringLiteral("鍛造リング"),
                               QString::fromUtf8(blank), kPiece, 50));
    n = 0;
    for (const char* part : {"ねじ M3×8", "ねじ M4×10", "ワッシャー M4", "Oリング P12", "ベアリング 6202"}) {
        const QStringList w = QString::fromUtf8(part).split(QLatin1Char(' '));
        model.addItem(material(QStringLiteral("Z3%1").arg(++n, 3, 10, QLatin1Char('0')), w[0], w[1], kPiece, 1000));
    }
    n = 0;
    const std::vector<std::tuple<const char*, const char*, QString>> consumables = {
        {"ポリ袋", "200×300", kSheet}, {"段ボール箱", "S-40", kPiece}, {"ラベル", "製品表示", kSheet},
        {"離型剤", "スプレー", kBottle}, {"切削油", "水溶性", kBottle}, {"グリス", "リチウム", kKilogram},
        {"緩衝材", "エアキャップ", kSheet}, {"防錆剤", "DS-1", kBottle},
    };
    for (const auto& [name, modelNo, unit] : consumables) {
        const QString code = QStringLiteral("Z4%1").arg(++n, 3, 10, QLatin1Char('0'));
        model.addItem(material(code, QString::fromUtf8(name), QString::fromUtf8(modelNo), unit, 100));
        model.extraMaterials.push_back(code);
    }
}

QString resinOf(DemoRandom& rnd) { return QStringLiteral("Z1%1").arg(rnd.between(1, 12), 3, 10, QLatin1Char('0')); }

RoutingStep mouldingStep(const PlantModel& model, DemoRandom& rnd, int cavities, double cycle, const QStringList& machines)
{
    RoutingStep s;
    s.seq = 10;
    s.contentCode = rnd.chance(0.1) ? QStringLiteral("102") : QStringLiteral("101");
    s.classCode = QStringLiteral("10");
    s.moulded = true;
    s.cycle = cycle;
    s.cavities = cavities;
    s.productWeight = rnd.between(5, 400) / 2.0;
    s.shotWeight = s.productWeight * cavities + rnd.between(2, 30);
    s.setupBefore = rnd.pick(std::vector<int>{30, 45, 60});
    s.setupAfter = rnd.pick(std::vector<int>{10, 15, 20});
    s.productivity = 3600.0 * std::max(1, cavities) / cycle;
    s.productivityUnit = 6;
    s.machines = machines;
    s.bom.push_back({resinOf(rnd), 0, std::round(s.productWeight * 10.5) / 10.0, 1000, 97});
    // Half the items may also be moulded from the resin's other colour (構成選択 2).
    if (rnd.chance(0.5)) {
        const int resin = s.bom.front().child.right(3).toInt();
        const int other = resin % 2 == 1 ? resin + 1 : resin - 1;
        s.bom.push_back({QStringLiteral("Z1%1").arg(other, 3, 10, QLatin1Char('0')), 0, s.bom.front().num, 1000, 95, 2});
    }
    (void)model;
    return s;
}

RoutingStep outsideStep(int seq, DemoRandom& rnd, bool metal)
{
    RoutingStep s;
    s.seq = seq;
    s.contentCode = metal ? rnd.pick(std::vector<QString>{QStringLiteral("401"), QStringLiteral("403"), QStringLiteral("404")})
                          : rnd.pick(std::vector<QString>{QStringLiteral("401"), QStringLiteral("402")});
    s.classCode = QStringLiteral("40");
    s.productivity = rnd.between(2, 10) * 100;
    s.productivityUnit = 6;
    return s;
}

// Productivity of machining and assembly steps, in all six units the routing knows.
void machiningProductivity(RoutingStep& s, DemoRandom& rnd)
{
    s.productivityUnit = rnd.between(1, 6);
    switch (s.productivityUnit) {
    case 1: s.productivity = rnd.between(6, 48) * 5; break;        // seconds per piece
    case 2: s.productivity = rnd.between(2, 12) / 2.0; break;      // minutes per piece
    case 3: s.productivity = rnd.between(2, 10) / 100.0; break;    // hours per piece
    case 4: s.productivity = rnd.between(1, 5) / 100.0; break;     // pieces per second
    case 5: s.productivity = rnd.between(1, 4) / 2.0; break;       // pieces per minute
    default: s.productivity = rnd.between(3, 24) * 5; break;       // pieces per hour
    }
}

void addMouldedItems(PlantModel& model, DemoRandom& rnd, int count)
{
    static const QStringList names = {
        QStringLiteral("ハウジング"), QStringLiteral("カバー"), QStringLiteral("ケース"), QStringLiteral("ノブ"),
        QStringLiteral("キャップ"), QStringLiteral("ギア"), QStringLiteral("ブラケット"), QStringLiteral("ホルダー"),
        QStringLiteral("クリップ"), QStringLiteral("コネクタ"), QStringLiteral("パネル"), QStringLiteral("ベゼル"),
        QStringLiteral("レバー"), QStringLiteral("スペーサー"), QStringLiteral("ボビン"), QStringLiteral("ファン"),
        QStringLiteral("ダクト"), QStringLiteral("トレイ")};
    static const QStringList prefixes = {QStringLiteral("HG"), QStringLiteral("CV"), QStringLiteral("CS"), QStringLiteral("KN"),
                                         QStringLiteral("CP"), QStringLiteral("GR"), QStringLiteral("BK"), QStringLiteral("HD")};
    const QStringList machines = machinesOf(model, QStringLiteral("10"));
    for (int n = 1; n <= count; ++n) {
        Item i;
        i.family = Family::Moulded;
        i.code = QStringLiteral("P1%1").arg(n, 4, 10, QLatin1Char('0'));
        i.shortName = names[rnd.below(int(names.size()))];
        i.modelNo = QStringLiteral("%1-%2").arg(prefixes[rnd.below(int(prefixes.size()))]).arg(rnd.between(100, 999));
        i.modelNoAnk = i.modelNo;
        i.unitCode = kPiece;
        i.packQty = rnd.pick(std::vector<int>{50, 100, 200, 500});

        Mould m;
        m.no = QStringLiteral("KG%1").arg(n, 4, 10, QLatin1Char('0'));
        m.cavities = rnd.pick(std::vector<int>{1, 2, 2, 4, 4, 8});
        m.shortName = QStringLiteral("%1-%2個取").arg(i.modelNo).arg(m.cavities);
        i.mouldNo = m.no;
        model.moulds.push_back(m);

        // Some moulding data leaves 取数 at 0, so the mould's cavities apply.
        RoutingStep s = mouldingStep(model, rnd, rnd.chance(0.15) ? 0 : m.cavities, rnd.between(30, 120) / 2.0,
                                     someOf(machines, rnd.between(1, 3), rnd, n - 1));
        if (rnd.chance(0.3) && !s.machines.isEmpty())
            s.machineCycles[s.machines.front()] = std::round(s.cycle * (0.85 + 0.3 * rnd.unit()) * 2) / 2;
        i.name = i.shortName + QStringLiteral("　") + i.modelNo + QLatin1Char(' ') + model.item(s.bom.front().child)->modelNo;
        i.steps.push_back(s);
        if (rnd.chance(0.3))
            i.steps.push_back(outsideStep(20, rnd, false));
        if (rnd.chance(0.3))
            i.steps.back().bom.push_back({model.extraMaterials[0], 0, 1, double(i.packQty), 100});
        model.addItem(i);
    }
}

// Multi-item moulds: every shot gives one (or two) of each item of the set.
void addSetItems(PlantModel& model, DemoRandom& rnd, int sets)
{
    static const std::vector<std::pair<QString, QStringList>> families = {
        {QStringLiteral("カバー"), {QStringLiteral("L"), QStringLiteral("R")}},
        {QStringLiteral("ケース"), {QStringLiteral("上"), QStringLiteral("下")}},
        {QStringLiteral("ブラケット"), {QStringLiteral("左"), QStringLiteral("右")}},
        {QStringLiteral("ノブ"), {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}},
        {QStringLiteral("ボタン"), {QStringLiteral("赤"), QStringLiteral("緑"), QStringLiteral("黄")}},
    };
    const QStringList machines = machinesOf(model, QStringLiteral("10"));
    for (int n = 1; n <= sets; ++n) {
        const auto& [name, variants] = rnd.pick(families);
        const int perShot = rnd.chance(0.5) ? 2 : 1;
        Mould m;
        m.no = QStringLiteral("KS%1").arg(n, 4, 10, QLatin1Char('0'));
        m.cavities = perShot * int(variants.size());
        const QString modelNo = QStringLiteral("ST-%1").arg(rnd.between(100, 999));
        m.shortName = QStringLiteral("%1%2 セット").arg(name, modelNo);
        const double cycle = rnd.between(40, 120) / 2.0;
        const QStringList stepMachines = someOf(machines, rnd.between(1, 2), rnd);
        // One shot moulds every item of the set: same cycle, set-up and resin.
        const RoutingStep shot = mouldingStep(model, rnd, perShot, cycle, stepMachines);
        for (int v = 0; v < variants.size(); ++v) {
            Item i;
            i.family = Family::Moulded;
            i.code = QStringLiteral("P8%1%2").arg(n, 3, 10, QLatin1Char('0')).arg(v + 1);
            i.shortName = name + variants[v];
            i.modelNo = modelNo + QLatin1Char('-') + variants[v];
            i.modelNoAnk = modelNo + QLatin1Char('-') + QString::number(v + 1);
            i.name = i.shortName + QStringLiteral("　") + modelNo;
            i.unitCode = kPiece;
            i.packQty = 100;
            i.mouldNo = m.no;
            i.setGroup = QStringLiteral("1");
            i.setCavities = perShot;
            i.steps.push_back(shot);
            m.setItems << i.code;
            model.addItem(i);
        }
        model.moulds.push_back(m);
    }
}

void addMachinedItems(PlantModel& model, DemoRandom& rnd, int count)
{
    static const QStringList names = {
        QStringLiteral("シャフト"), QStringLiteral("フランジ"), QStringLiteral("スリーブ"), QStringLiteral("ブッシュ"),
        QStringLiteral("プーリー"), QStringLiteral("ピン"), QStringLiteral("カラー"), QStringLiteral("ベース"),
        QStringLiteral("プレート"), QStringLiteral("ナット"), QStringLiteral("ノズル"), QStringLiteral("ジョイント")};
    const QStringList machines = machinesOf(model, QStringLiteral("20"));
    for (int n = 1; n <= count; ++n) {
        Item i;
        i.family = Family::Machined;
        i.code = QStringLiteral("K2%1").arg(n, 4, 10, QLatin1Char('0'));
        i.shortName = names[rnd.below(int(names.size()))];
        const QString bar = QStringLiteral("Z2%1").arg(rnd.between(1, 6), 3, 10, QLatin1Char('0'));
        i.modelNo = QStringLiteral("MC-%1").arg(rnd.between(1000, 9999));
        i.modelNoAnk = i.modelNo;
        i.name = i.shortName + QStringLiteral("　") + i.modelNo + QLatin1Char(' ') + model.item(bar)->modelNo.section(QLatin1Char(' '), 0, 0);
        i.unitCode = kPiece;
        i.packQty = rnd.pick(std::vector<int>{10, 20, 50});

        RoutingStep cut;
        cut.seq = 10;
        cut.contentCode = QStringLiteral("201");
        cut.classCode = QStringLiteral("20");
        machiningProductivity(cut, rnd);
        cut.machines = someOf(machines, rnd.between(1, 3), rnd, n - 1);
        cut.bom.push_back({bar, 0, double(rnd.between(6, 30) * 5), 1000, 100});
        i.steps.push_back(cut);
        if (rnd.chance(0.5)) {
            RoutingStep second = cut;
            second.seq = 20;
            second.contentCode = rnd.chance(0.5) ? QStringLiteral("202") : QStringLiteral("203");
            machiningProductivity(second, rnd);
            second.machines = someOf(machines, rnd.between(1, 2), rnd, n);
            second.bom.clear();
            i.steps.push_back(second);
        }
        if (rnd.chance(0.25))
            i.steps.push_back(outsideStep(i.steps.back().seq + 10, rnd, true));
        model.addItem(i);
    }
}

// Deep-groove ball bearings: per type the bearing (the plans' item), its
// inner and outer ring with the same turning and grinding steps, turned from
// bar stock or, as the alternative composition, from forged ring blanks.
void addRingItems(PlantModel& model, DemoRandom& rnd, int count)
{
    static const char* types[] = {"6202", "6204", "6205", "6206", "6304", "6305", "6206ZZ", "6305ZZ"};
    const QStringList machines = machinesOf(model, QStringLiteral("20"));
    if (machines.isEmpty()) return;
    for (int n = 1; n <= count && n <= int(std::size(types)); ++n) {
        const QString type = QString::fromUtf8(types[n - 1]);
        const QString base = QStringLiteral("R5%1").arg(n, 3, 10, QLatin1Char('0'));
        Item bearing = material(base + QLatin1Char('0'), QStringLiteral("深溝玉軸受"), type, kPiece, 20);
        bearing.family = Family::Bearing;
        model.addItem(bearing);

        RoutingStep turn;
        turn.seq = 10;
        turn.contentCode = QStringLiteral("201");
        turn.classCode = QStringLiteral("20");
        machiningProductivity(turn, rnd);
        turn.machines = someOf(machines, rnd.between(1, 2), rnd, n - 1);
        RoutingStep grind = turn;
        grind.seq = 20;
        grind.contentCode = QStringLiteral("202");
        machiningProductivity(grind, rnd);
        grind.machines = someOf(machines, rnd.between(1, 2), rnd, n);
        grind.bom = {{model.extraMaterials[4], 0, 1, 500, 100}};
        const double length = rnd.between(18, 30);
        for (int ring = 1; ring <= 2; ++ring) {
            Item i;
            i.family = Family::Ring;
            i.code = base + QString::number(ring);
            i.shortName = ring == 1 ? QStringLiteral("内輪") : QStringLiteral("外輪");
            i.modelNo = type + (ring == 1 ? QStringLiteral("-IR") : QStringLiteral("-OR"));
            i.modelNoAnk = i.modelNo;
            i.name = type + QLatin1Char(' ') + i.shortName;
            i.unitCode = kPiece;
            i.packQty = 20;
            RoutingStep t = turn;
            t.bom = {{ring == 1 ? QStringLiteral("Z2007") : QStringLiteral("Z2008"), 0, length + (ring == 1 ? 0 : 4), 1000, 100},
                     {ring == 1 ? QStringLiteral("Z2009") : QStringLiteral("Z2010"), 0, 1, 1, 98, 2}};
            i.steps = {t, grind};
            model.addItem(i);
        }
    }
}

void addAssemblies(PlantModel& model, DemoRandom& rnd, int count)
{
    static const QStringList names = {
        QStringLiteral("ポンプユニット"), QStringLiteral("モーターASSY"), QStringLiteral("ギアボックス"),
        QStringLiteral("バルブASSY"), QStringLiteral("ファンユニット"), QStringLiteral("センサーユニット"),
        QStringLiteral("スイッチASSY"), QStringLiteral("ヒンジASSY")};
    std::vector<const Item*> parts;
    for (const Item& i : model.items)
        if (i.family == Family::Moulded || i.family == Family::Machined)
            parts.push_back(&i);
    std::vector<Item> made;
    const QStringList lines = machinesOf(model, QStringLiteral("30"));
    for (int n = 1; n <= count; ++n) {
        Item i;
        i.family = Family::Assembly;
        i.code = QStringLiteral("A3%1").arg(n, 4, 10, QLatin1Char('0'));
        i.shortName = names[rnd.below(int(names.size()))];
        i.modelNo = QStringLiteral("U-%1").arg(rnd.between(100, 999));
        i.modelNoAnk = i.modelNo;
        i.name = i.shortName + QStringLiteral("　") + i.modelNo;
        i.unitCode = kPiece;
        i.packQty = rnd.pick(std::vector<int>{1, 5, 10});

        RoutingStep s;
        s.seq = 10;
        s.contentCode = QStringLiteral("301");
        s.classCode = QStringLiteral("30");
        s.productivity = rnd.between(4, 18) * 5;
        s.productivityUnit = 6;
        s.machines = someOf(lines, 2, rnd, n - 1);
        const int children = rnd.between(2, 4);
        for (int c = 0; c < children && !parts.empty(); ++c) {
            const Item* child = parts[std::size_t(rnd.below(int(parts.size())))];
            bool dup = false;
            for (const BomLine& b : s.bom)
                dup = dup || b.child == child->code;
            if (!dup)
                s.bom.push_back({child->code, child->steps.back().seq, double(rnd.between(1, 2)), 1, 100});
        }
        s.bom.push_back({QStringLiteral("Z3%1").arg(rnd.between(1, 3), 3, 10, QLatin1Char('0')), 0, double(rnd.between(2, 8)), 1, 100});
        i.steps.push_back(s);
        if (rnd.chance(0.4)) {
            RoutingStep check = s;
            check.seq = 20;
            check.contentCode = QStringLiteral("302");
            check.productivity = rnd.between(10, 30) * 10;
            check.bom = {{model.extraMaterials[1], 0, 1, double(i.packQty), 100}};
            i.steps.push_back(check);
        }
        made.push_back(i);
    }
    for (const Item& i : made)
        model.addItem(i);
}

void writeItemTables(db::Database& db, const PlantModel& model, DemoRandom& rnd)
{
    const AuditStamp& a = model.audit;
    const int factory = model.options.factory;
    TableWriter items(db, QStringLiteral("DB0378"),
                      {QStringLiteral("品名コード"), QStringLiteral("品名略称"), QStringLiteral("品名＿品名仕様"),
                       QStringLiteral("型番名"), QStringLiteral("型番名仕様ＡＮＫ"), QStringLiteral("包装単位数量"),
                       QStringLiteral("品目分類コード２"), QStringLiteral("基本単位")}, a);
    TableWriter routing(db, QStringLiteral("DB0381"),
                        {QStringLiteral("品名コード"), QStringLiteral("順序"), QStringLiteral("生産工場コード"),
                         QStringLiteral("工程内容コード"), QStringLiteral("標準生産性＿機械"), QStringLiteral("生産性＿機械＿単位"),
                         QStringLiteral("生産性＿工数＿単位"), QStringLiteral("現品票出力区分"),
                         QStringLiteral("ロット別在庫管理区分")}, a);
    TableWriter moulding(db, QStringLiteral("DB0451"),
                         {QStringLiteral("品名コード"), QStringLiteral("順序"), QStringLiteral("生産工場コード"),
                          QStringLiteral("サイクル"), QStringLiteral("取数"), QStringLiteral("ショット重量"),
                          QStringLiteral("製品重量"), QStringLiteral("前段取時間"), QStringLiteral("後段取時間")}, a);
    TableWriter cycles(db, QStringLiteral("DB0492"),
                       {QStringLiteral("品名コード"), QStringLiteral("順序"), QStringLiteral("機械コード"), QStringLiteral("サイクル")}, a);
    TableWriter bom(db, QStringLiteral("DB0383"),
                    {QStringLiteral("生産工場コード"), QStringLiteral("上位品名コード"), QStringLiteral("順序"),
                     QStringLiteral("下位品名コード"), QStringLiteral("表示順"), QStringLiteral("原単位分子"),
                     QStringLiteral("原単位分母"), QStringLiteral("歩留率"), QStringLiteral("?支給制御区分"),
                     QStringLiteral("?有償無償区分"), QStringLiteral("?構成選択順序")}, a);
    for (const Item& i : model.items) {
        const QString kind = i.family == Family::Assembly ? QStringLiteral("1")
                             : i.family == Family::Material ? QStringLiteral("3") : QStringLiteral("2");
        items.add({i.code, i.shortName, i.name, i.modelNo, i.modelNoAnk, i.packQty, kind, i.unitCode});
        for (const RoutingStep& s : i.steps) {
            const QString tagKind = rnd.pick(std::vector<QString>{QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("2")});
            routing.add({i.code, s.seq, factory, s.contentCode, s.productivity, QString::number(s.productivityUnit),
                         rnd.chance(0.5) ? QString::number(s.productivityUnit) : QStringLiteral("0"), tagKind,
                         rnd.chance(0.15) ? QStringLiteral("1") : QStringLiteral("0")});
            if (s.moulded)
                moulding.add({i.code, s.seq, factory, s.cycle, s.cavities, s.shotWeight, s.productWeight, s.setupBefore, s.setupAfter});
            for (const auto& [machine, cycle] : s.machineCycles)
                cycles.add({i.code, s.seq, machine, cycle});
            int order = 0;
            for (const BomLine& b : s.bom)
                bom.add({factory, i.code, s.seq, b.child, ++order, b.num, b.den, b.yieldRate, QStringLiteral("1"),
                         QStringLiteral("0"), b.variant});
        }
    }
    items.flush();
    routing.flush();
    moulding.flush();
    cycles.flush();
    bom.flush();

    TableWriter moulds(db, QStringLiteral("DB0471"), {QStringLiteral("金型番号"), QStringLiteral("金型略称"), QStringLiteral("取数")}, a);
    TableWriter setRows(db, QStringLiteral("DB0473"),
                        {QStringLiteral("金型番号"), QStringLiteral("セット品グループ"), QStringLiteral("品名コード"),
                         QStringLiteral("順序"), QStringLiteral("優先順位"), QStringLiteral("取数")}, a);
    for (const Mould& m : model.moulds) {
        moulds.add({m.no, m.shortName, m.cavities});
        if (m.setItems.isEmpty())
            continue;
        // Group 1 is the set the orders use; some moulds also carry a second,
        // lower-priority arrangement with one cavity per item.
        const bool alternative = rnd.chance(0.5);
        for (const QString& code : m.setItems) {
            setRows.add({m.no, QStringLiteral("1"), code, 10, 1, model.item(code)->setCavities});
            if (alternative)
                setRows.add({m.no, QStringLiteral("2"), code, 10, 2, 1});
        }
    }
    moulds.flush();
    setRows.flush();
}

}  // namespace

void writeItems(db::Database& db, PlantModel& model, DemoRandom& rnd)
{
    const AuditStamp& a = model.audit;
    TableWriter units(db, QStringLiteral("DB0380"),
                      {QStringLiteral("単位コード"), QStringLiteral("?単位名"), QStringLiteral("端数処理区分"), QStringLiteral("端数処理桁位置")}, a);
    // Kilograms to the gram and metres to the centimetre; counted units whole.
    const Unit list[] = {{kPiece, QStringLiteral("個"), QStringLiteral("2"), 0},
                         {kKilogram, QStringLiteral("kg"), QStringLiteral("3"), 256 - 3},
                         {kMetre, QStringLiteral("m"), QStringLiteral("2"), 256 - 2},
                         {kSheet, QStringLiteral("枚"), QStringLiteral("2"), 0},
                         {kBottle, QStringLiteral("本"), QStringLiteral("1"), 0}};
    for (const Unit& u : list) {
        model.units[u.code] = u;
        units.add({u.code, u.name, u.roundingKind, u.digitPosition});
    }
    units.flush();

    TableWriter contents(db, QStringLiteral("DB0382"),
                         {QStringLiteral("工程内容コード"), QStringLiteral("工程内容名"), QStringLiteral("工程分類コード")}, a);
    const std::vector<std::tuple<const char*, const char*, const char*>> processes = {
        {"101", "成形", "10"}, {"102", "インサート成形", "10"}, {"201", "切削", "20"}, {"202", "研削", "20"},
        {"203", "穴あけ", "20"}, {"301", "組立", "30"}, {"302", "検査", "30"}, {"401", "外注メッキ", "40"},
        {"402", "外注塗装", "40"}, {"403", "外注熱処理", "40"}, {"404", "外注研磨", "40"}};
    for (const auto& [code, name, cls] : processes)
        contents.add({QString::fromUtf8(code), QString::fromUtf8(name), QString::fromUtf8(cls)});
    contents.flush();

    const int orders = std::max(1, model.options.orders);
    addMaterials(model);
    addMouldedItems(model, rnd, std::max(16, orders / 15));
    addSetItems(model, rnd, std::max(3, orders / 60));
    addMachinedItems(model, rnd, std::max(10, orders / 25));
    addRingItems(model, rnd, std::clamp(orders / 80, 2, 8));
    addAssemblies(model, rnd, std::max(5, orders / 60));
    writeItemTables(db, model, rnd);

    TableWriter customers(db, QStringLiteral("DB0361"), {QStringLiteral("得意先コード"), QStringLiteral("得意先略名")}, a);
    const char* names[] = {"東和電機(株)", "みなと精機", "青葉工業(株)", "光洋商事", "さくら電装（株）", "北斗機械", "大成ポンプ(株)", "昭栄産業"};
    int n = 0;
    for (const char* name : names) {
        const QString code = QStringLiteral("C%1").arg(++n, 3, 10, QLatin1Char('0'));
        customers.add({code, QString::fromUtf8(name)});
        model.customers.push_back(code);
    }
    customers.flush();
}

}  // namespace demoplant
