// Factory, departments, process classes, machines, subcontractors, staff and
// the scheduling settings of the demo plant.

#include "DemoModel.h"

namespace demoplant {

namespace {

QString machineCode(int classDigit, int number)
{
    return QStringLiteral("M%1%2").arg(classDigit).arg(number, 3, 10, QLatin1Char('0'));
}

void addMachines(PlantModel& model, DemoRandom& rnd)
{
    static const std::vector<int> tonnage = {50, 80, 100, 150, 220, 350, 450};
    const int moulding = std::max(1, model.options.machines);
    for (int i = 1; i <= moulding; ++i) {
        Machine m;
        m.code = machineCode(1, i);
        m.name = QStringLiteral("成形機%1号 %2t").arg(i, 2, 10, QLatin1Char('0')).arg(rnd.pick(tonnage));
        m.classCode = QStringLiteral("10");
        m.destCode = QStringLiteral("0101");
        m.shift = (i % 4 == 3) ? ShiftPattern::NightShift : ShiftPattern::TwoShift;
        model.machines.push_back(m);
    }
    static const QStringList lathes = {QStringLiteral("NC旋盤"), QStringLiteral("マシニングセンタ"), QStringLiteral("NC旋盤"),
                                       QStringLiteral("複合加工機"), QStringLiteral("円筒研削盤"), QStringLiteral("ボール盤")};
    const int machining = std::max(2, moulding * 3 / 4);
    for (int i = 1; i <= machining; ++i) {
        Machine m;
        m.code = machineCode(2, i);
        m.classCode = QStringLiteral("20");
        m.destCode = QStringLiteral("0102");
        if (i == machining) {
            // An idle old machine: operator 1001 hides it, and no order uses it.
            m.name = QStringLiteral("NC旋盤(休止)");
            m.takesOrders = false;
            m.shift = ShiftPattern::DayShift;
        } else {
            m.name = QStringLiteral("%1%2号機").arg(lathes[(i - 1) % lathes.size()]).arg(i);
            m.shift = (i % 3 == 2) ? ShiftPattern::DayShift : ShiftPattern::TwoShift;
        }
        model.machines.push_back(m);
    }
    const int assembly = std::max(2, moulding / 4);
    for (int i = 1; i <= assembly; ++i) {
        Machine m;
        m.code = machineCode(3, i);
        m.name = (i % 3 == 0) ? QStringLiteral("検査ライン%1").arg(i / 3) : QStringLiteral("組立ライン%1").arg(i);
        m.classCode = QStringLiteral("30");
        m.destCode = QStringLiteral("0102");
        m.shift = ShiftPattern::DayShift;
        model.machines.push_back(m);
    }
}

void addSuppliers(PlantModel& model)
{
    struct S { const char* code; const char* name; const char* cls; bool deleted; QStringList classes; };
    const std::vector<S> list = {
        {"5001", "山田工業(株)", "2", false, {QStringLiteral("40"), QStringLiteral("20")}},
        {"5002", "鈴木精機（有）", "2", false, {QStringLiteral("40"), QStringLiteral("20")}},
        {"5003", "東海メッキ工業", "2", false, {QStringLiteral("40")}},
        {"5004", "中部熱処理(株)", "2", false, {QStringLiteral("40")}},
        {"5005", "三河塗装（株）", "2", false, {QStringLiteral("40")}},
        {"5006", "大和研磨工業", "2", false, {QStringLiteral("40")}},
        {"5007", "丸井化成(有)", "2", false, {QStringLiteral("10")}},
        {"5008", "旧北陸精工(株)", "2", true, {QStringLiteral("40")}},
        {"6001", "日本樹脂商事(株)", "1", false, {}},
        {"6002", "関東鋼材（株）", "1", false, {}},
    };
    for (const S& s : list)
        model.suppliers.push_back({QString::fromUtf8(s.code), QString::fromUtf8(s.name), QString::fromUtf8(s.cls), s.deleted, s.classes});
}

}  // namespace

void writeOrganisation(db::Database& db, PlantModel& model, DemoRandom& rnd)
{
    const AuditStamp& a = model.audit;
    const int factory = model.options.factory;

    TableWriter dept(db, QStringLiteral("DB0370"),
                     {QStringLiteral("部コード"), QStringLiteral("課コード"), QStringLiteral("部名"), QStringLiteral("?課名")}, a);
    const QString department = QStringLiteral("第%1製造部").arg(factory);
    dept.add({factory, 0, department, QString()});
    dept.add({factory, 1, department, QStringLiteral("成形課")});
    dept.add({factory, 2, department, QStringLiteral("加工組立課")});
    dept.flush();

    TableWriter classes(db, QStringLiteral("DB0399"), {QStringLiteral("工程分類コード"), QStringLiteral("工程分類名")}, a);
    classes.add({QStringLiteral("10"), QStringLiteral("成形")});
    classes.add({QStringLiteral("20"), QStringLiteral("機械加工")});
    classes.add({QStringLiteral("30"), QStringLiteral("組立")});
    classes.add({QStringLiteral("40"), QStringLiteral("外注加工")});
    classes.flush();

    addMachines(model, rnd);
    TableWriter machines(db, QStringLiteral("DB0394"),
                         {QStringLiteral("機械コード"), QStringLiteral("機械名"), QStringLiteral("生産工場コード"),
                          QStringLiteral("工程分類コード"), QStringLiteral("指示先コード")}, a);
    for (const Machine& m : model.machines)
        machines.add({m.code, m.name, factory, m.classCode, m.destCode});
    machines.flush();

    addSuppliers(model);
    TableWriter suppliers(db, QStringLiteral("DB0369"),
                          {QStringLiteral("仕入先コード"), QStringLiteral("仕入先名略名"), QStringLiteral("仕入先分類"),
                           QStringLiteral("削除フラグ")}, a);
    TableWriter links(db, QStringLiteral("DB0493"), {QStringLiteral("指示先コード"), QStringLiteral("工程分類コード")}, a);
    for (const Supplier& s : model.suppliers) {
        suppliers.add({s.code, s.name, s.supplierClass, s.deleted ? QStringLiteral("1") : QStringLiteral("0")});
        for (const QString& c : s.classes)
            links.add({s.code, c});
    }
    suppliers.flush();
    links.flush();

    TableWriter staff(db, QStringLiteral("DB0003"),
                      {QStringLiteral("担当者コード"), QStringLiteral("?担当者名"), QStringLiteral("Velmoran権限区分")}, a);
    staff.add({QStringLiteral("1001"), QStringLiteral("計画　太郎"), QStringLiteral("1")});
    staff.add({QStringLiteral("1002"), QStringLiteral("工程　次郎"), QStringLiteral("1")});
    staff.add({QStringLiteral("9001"), QStringLiteral("照会　花子"), QStringLiteral("0")});
    staff.flush();

    // Operator 1001 hides the idle lathe and has explicitly chosen a few machines.
    TableWriter selection(db, QStringLiteral("DB0497"),
                          {QStringLiteral("担当者コード"), QStringLiteral("機械コード"), QStringLiteral("選択")}, a);
    int chosen = 0;
    for (const Machine& m : model.machines) {
        if (!m.takesOrders)
            selection.add({QStringLiteral("1001"), m.code, QStringLiteral("0")});
        else if (m.classCode == QLatin1String("10") && chosen++ < 3)
            selection.add({QStringLiteral("1001"), m.code, QStringLiteral("1")});
    }
    selection.flush();

    TableWriter settings(db, QStringLiteral("DB0351"), {QStringLiteral("表示期間＿ヶ月"), QStringLiteral("グリッド単位＿分")}, a);
    settings.add({1, 10});
    settings.flush();
}

const Item* PlantModel::item(const QString& code) const
{
    const auto it = itemIndex.find(code);
    return it == itemIndex.end() ? nullptr : &items[it->second];
}

void PlantModel::addItem(const Item& item)
{
    itemIndex[item.code] = items.size();
    items.push_back(item);
}

Machine* PlantModel::machine(const QString& code)
{
    for (Machine& m : machines)
        if (m.code == code)
            return &m;
    return nullptr;
}

QStringList PlantModel::subcontractorsOf(const QString& classCode) const
{
    QStringList out;
    for (const Supplier& s : suppliers)
        if (!s.deleted && s.supplierClass == QLatin1String("2") && s.classes.contains(classCode))
            out << s.code;
    return out;
}

}  // namespace demoplant
