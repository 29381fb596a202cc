#pragma once
// Production plans and work orders of the demo plant, laid out in memory
// before they are written. Internal to the generator.

#include "DemoModel.h"

namespace demoplant {

struct Plan {
    qint64 no = 0;
    QString item;
    int qty = 0;
    core::Date due;
    std::vector<std::size_t> orders;  // indexes into the order list, in routing order
};

enum class OrderState { Open, Completed, Deleted };

struct Order {
    qint64 no = 0, parentNo = 0, planNo = 0, setRep = 0;
    qint64 ringInner = 0;  // an outer ring: the inner ring order of its lot and step, whose bar it shares
    const Item* item = nullptr;
    const RoutingStep* step = nullptr;
    QString machine = QStringLiteral(" ");  // as stored (blank when not on a machine)
    QString sizingMachine;                  // the machine whose capacity sized the order
    QString dest;                           // 指示先コード
    QString setGroup = QStringLiteral("0");
    OrderState state = OrderState::Open;
    bool wantPlaced = false;   // decided before layout; layout may still fail to place it
    bool placed = false;       // 手配確定区分 '2' with times on working time
    bool confirmedWithoutTimes = false;  // '2' but times 0: loads as unplaced
    bool isSetMember = false;
    QString fixKind = QStringLiteral("0");
    core::Moment start, end;
    core::Date startDay, due, initialDue;
    bool initialDueZeroText = false;  // grey bar stored as "00000000" instead of NULL
    int qty = 0, persons = 1;
    double ownCycle = 0, workHours = 0, setupHours = 0;
    qint64 setupMinutes = 0, workMinutes = 0;
    int received = 0, actualMinutes = 0;
    core::Date lastResult, instructionDate;
    QString remark, looseName, ganttDisplay = QStringLiteral("0");
    double unitPrice = 0;

    bool outside() const { return step->classCode == QLatin1String("40"); }
    // Follows another order's placement: a set member its representative, an outer ring its inner ring.
    bool follows() const { return isSetMember || ringInner != 0; }
    qint64 leader() const { return isSetMember ? setRep : ringInner; }
};

struct OrderBook {
    std::vector<Plan> plans;
    std::vector<Order> orders;
    qint64 lastOrderNo = 0;
    // DB0386: general price per item and step, and the subcontractors' own prices.
    struct Price { QString partner, item; int seq = 0; core::Date from; double price = 0; };
    std::vector<Price> prices;
};

OrderBook layOutOrders(PlantModel& model, DemoRandom& rnd);
void writeOrderTables(db::Database& db, const PlantModel& model, const OrderBook& book, DemoRandom& rnd);

// Seconds per piece of an order's step on a machine, as the plan loading derives it.
double pieceSecondsOf(const PlantModel& model, const Order& order, const QString& machine);

}  // namespace demoplant
