#pragma once
// The demo plant as the generator holds it in memory between writing the
// masters and laying out the orders. Internal to the generator.

#include "DemoPlant.h"
#include "DemoRandom.h"
#include "TableWriter.h"
#include "core/TimeTypes.h"

#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

namespace demoplant {

enum class ShiftPattern { TwoShift, NightShift, DayShift };

struct Machine {
    QString code, name, classCode, destCode;
    ShiftPattern shift = ShiftPattern::TwoShift;
    bool takesOrders = true;  // the idle machine gets none
    // Working time over the calendar, absolute seconds, sorted, disjoint.
    std::vector<std::pair<std::int64_t, std::int64_t>> working;
};

struct Supplier {
    QString code, name, supplierClass;  // 仕入先分類 '2' = subcontractor
    bool deleted = false;
    QStringList classes;                // DB0493 links
};

struct BomLine {
    QString child;
    int childSeq = 0;  // last step of a made child; 0 for bought material
    double num = 1, den = 1, yieldRate = 100;
    int variant = 1;   // 構成選択順序: the orders use variant 1; others are alternatives
};

// A unit of DB0380 and how requirements in it are rounded.
struct Unit {
    QString code, name;
    QString roundingKind;   // 端数処理区分: "1" truncate, "2" up, "3" half up
    int digitPosition = 0;  // 端数処理桁位置: rounds to 10^d, d kept as a signed byte (254 = hundredths)
};

// Ring: an inner or outer ring of a bearing, ground as one bar with its
// partner; Bearing: the set a ring plan is made for (no routing of its own).
enum class Family { Moulded, Machined, Assembly, Material, Ring, Bearing };

struct RoutingStep {
    int seq = 10;
    QString contentCode, classCode;
    double productivity = 0;
    int productivityUnit = 1;  // 1 s/pc, 2 min/pc, 3 h/pc, 4 pc/s, 5 pc/min, 6 pc/h
    // Moulding data (DB0451), only for moulding steps.
    bool moulded = false;
    double cycle = 0;
    int cavities = 0;  // DB0451 取数 (0 on some: the mould's count applies)
    double shotWeight = 0, productWeight = 0;
    int setupBefore = 0, setupAfter = 0;
    QStringList machines;            // machines the step runs on
    std::map<QString, double> machineCycles;  // DB0492
    std::vector<BomLine> bom;        // DB0383 lines consumed by this step
};

struct Item {
    QString code, shortName, name, modelNo, modelNoAnk, unitCode;
    Family family = Family::Material;
    int packQty = 1;
    QString mouldNo;    // moulded items
    QString setGroup;   // "1" when the item is moulded in a set mould
    int setCavities = 0;
    std::vector<RoutingStep> steps;
};

struct Mould {
    QString no, shortName;
    int cavities = 1;
    QStringList setItems;  // empty for a single-item mould
};

// Everything the order layout needs from the masters.
struct PlantModel {
    DemoOptions options;
    core::Date base;
    core::Date calendarFirst, calendarLast;
    AuditStamp audit;
    std::vector<Machine> machines;
    std::vector<Supplier> suppliers;
    std::vector<Item> items;  // materials included
    std::map<QString, std::size_t> itemIndex;
    std::vector<Mould> moulds;
    std::vector<QString> customers;
    std::vector<QString> extraMaterials;  // consumables for padding component rows
    std::map<QString, Unit> units;         // by unit code

    const Item* item(const QString& code) const;
    void addItem(const Item& item);
    Machine* machine(const QString& code);
    QStringList subcontractorsOf(const QString& classCode) const;
};

// Steps of the generation, in the order generateDemoPlant runs them.
void writeOrganisation(db::Database& db, PlantModel& model, DemoRandom& rnd);  // factory, classes, machines, suppliers, staff, settings
void writeCalendars(db::Database& db, PlantModel& model, DemoRandom& rnd);     // breaks, DB0491, working time per machine
void writeItems(db::Database& db, PlantModel& model, DemoRandom& rnd);         // units, items, routings, moulds, BOM, customers
void writeOrders(db::Database& db, PlantModel& model, DemoRandom& rnd);        // plans, orders, components, links, prices, numbers

// Working time of one production day (D 08:00 .. D+1 08:00): shifts minus breaks
// minus the stop period, as absolute second ranges. Shared with the tests' reading.
struct CalendarDay {
    core::Date date;
    int hours = 0;
    core::TimeOfDay start1, end1, start2, end2;
    QString stopTitle, stopRemark;
    core::TimeOfDay stopStart;
    int stopHours = 0;
};
const std::vector<std::pair<core::TimeOfDay, core::TimeOfDay>>& breakPeriods();
std::vector<std::pair<std::int64_t, std::int64_t>> workingRanges(const CalendarDay& day);

// The production minutes a loader computes: ceiling(seconds × quantity ÷ 60) ÷ persons, halves to even.
std::int64_t productionMinutes(double pieceSeconds, std::int64_t quantity, int persons);

}  // namespace demoplant
