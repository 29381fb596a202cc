// Lays out the demo plant's production plans and work orders: which item and
// step, which machine, how many pieces, where on the machine's working time,
// which state, and which due date (so that every due colour occurs).

#include "DemoOrders.h"

#include <algorithm>
#include <cmath>

namespace demoplant {

namespace {

using core::Date;
using core::Moment;
using Ranges = std::vector<std::pair<std::int64_t, std::int64_t>>;

constexpr std::int64_t kGridSeconds = 600;  // DB0351 グリッド単位＿分 of the demo

// First working moment at or after t; nullopt past the calendar.
std::optional<std::int64_t> firstWorking(const Ranges& w, std::int64_t t)
{
    auto it = std::upper_bound(w.begin(), w.end(), t, [](std::int64_t v, const auto& r) { return v < r.second; });
    if (it == w.end())
        return std::nullopt;
    return std::max(t, it->first);
}

// The moment at which `minutes` of working time from `start` are used up; a job
// that uses a period up exactly ends at that period's end.
std::optional<std::int64_t> advance(const Ranges& w, std::int64_t start, std::int64_t minutes)
{
    std::int64_t remaining = minutes * 60;
    auto it = std::upper_bound(w.begin(), w.end(), start, [](std::int64_t v, const auto& r) { return v < r.second; });
    for (std::int64_t pos = start; it != w.end(); ++it) {
        pos = std::max(pos, it->first);
        const std::int64_t available = it->second - pos;
        if (remaining <= available)
            return pos + remaining;
        remaining -= available;
    }
    return std::nullopt;
}

std::int64_t workingSecondsBetween(const Ranges& w, std::int64_t from, std::int64_t to)
{
    std::int64_t sum = 0;
    for (const auto& [s, e] : w)
        sum += std::max<std::int64_t>(0, std::min(e, to) - std::max(s, from));
    return sum;
}

std::int64_t roundUpToGrid(std::int64_t t) { return (t + kGridSeconds - 1) / kGridSeconds * kGridSeconds; }

std::int64_t ceilMinutes(double hours) { return std::int64_t(std::ceil(hours * 60.0 - 1e-9)); }

struct Builder {
    Builder(PlantModel& m, DemoRandom& r) : model(m), rnd(r) {}
    PlantModel& model;
    DemoRandom& rnd;
    OrderBook book;
    std::int64_t nextOrderNo = 100001;
    std::int64_t nextPlanNo = 50001;
    std::map<QString, int> assigned;  // orders per machine so far

    std::vector<const Item*> byFamily(Family f, bool sets) const
    {
        std::vector<const Item*> out;
        for (const Item& i : model.items)
            if (i.family == f && (i.setGroup == QLatin1String("1")) == sets)
                out.push_back(&i);
        return out;
    }

    Order& newOrder(Plan& plan, const Item* item, const RoutingStep* step)
    {
        Order o;
        o.no = nextOrderNo++;
        o.planNo = plan.no;
        o.item = item;
        o.step = step;
        o.persons = (step->classCode == QLatin1String("20") && rnd.chance(0.15)) ? 2 : 1;
        if (step->moulded && rnd.chance(0.15))
            o.ownCycle = std::round(step->cycle * (0.9 + 0.2 * rnd.unit()) * 2) / 2;
        plan.orders.push_back(book.orders.size());
        book.orders.push_back(o);
        return book.orders.back();
    }

    Plan& newPlan(const Item* item)
    {
        Plan p;
        p.no = nextPlanNo++;
        p.item = item->code;
        book.plans.push_back(p);
        return book.plans.back();
    }

    // Which machine an in-house order runs on (or is sized for), and where it is sent.
    void chooseResource(Order& o)
    {
        if (o.outside()) {
            const QStringList subs = model.subcontractorsOf(QStringLiteral("40"));
            o.dest = subs.isEmpty() ? QStringLiteral(" ") : subs[rnd.below(int(subs.size()))];
            return;
        }
        QStringList candidates = o.step->machines;
        if (candidates.isEmpty())
            for (const Machine& m : model.machines)
                if (m.classCode == o.step->classCode && m.takesOrders)
                    candidates << m.code;
        // Mostly the least busy candidate, as a planner would choose.
        o.sizingMachine = candidates[rnd.below(int(candidates.size()))];
        if (rnd.chance(0.7))
            for (const QString& c : candidates)
                if (assigned[c] < assigned[o.sizingMachine])
                    o.sizingMachine = c;
        ++assigned[o.sizingMachine];
        o.dest = model.machine(o.sizingMachine)->destCode;
    }

    void createPlans(int count)
    {
        const auto moulded = byFamily(Family::Moulded, false);
        const auto machined = byFamily(Family::Machined, false);
        const auto assemblies = byFamily(Family::Assembly, false);
        std::vector<const Mould*> setMoulds;
        for (const Mould& m : model.moulds)
            if (!m.setItems.isEmpty())
                setMoulds.push_back(&m);

        const auto bearings = byFamily(Family::Bearing, false);
        while (int(book.orders.size()) < count) {
            const double r = rnd.unit();
            if (r < 0.08 && !setMoulds.empty() && count - int(book.orders.size()) >= 3) {
                addSet(*setMoulds[std::size_t(rnd.below(int(setMoulds.size())))]);
                continue;
            }
            if (r < 0.12 && !bearings.empty() && count - int(book.orders.size()) >= 4) {
                addRingLot(*bearings[std::size_t(rnd.below(int(bearings.size())))]);
                continue;
            }
            const auto& family = r < 0.55 ? moulded : r < 0.85 ? machined : assemblies;
            const Item* item = family[std::size_t(rnd.below(int(family.size())))];
            Plan& plan = newPlan(item);
            for (const RoutingStep& s : item->steps) {
                if (int(book.orders.size()) >= count)
                    break;
                newOrder(plan, item, &s);
            }
        }
    }

    // One plan per item of a set mould; the first item's order represents the set.
    void addSet(const Mould& mould)
    {
        std::size_t rep = 0;
        for (int k = 0; k < mould.setItems.size(); ++k) {
            const Item* item = model.item(mould.setItems[k]);
            Plan& plan = newPlan(item);
            Order& o = newOrder(plan, item, &item->steps.front());
            o.setGroup = item->setGroup;
            if (k == 0)
                rep = book.orders.size() - 1;
            o.setRep = book.orders[rep].no;
            o.isSetMember = k > 0;
        }
    }

    // One lot of a bearing: per step the inner ring's order, and the outer
    // ring's, which shares the inner ring's bar.
    void addRingLot(const Item& bearing)
    {
        const Item* inner = model.item(bearing.code.left(bearing.code.size() - 1) + QLatin1Char('1'));
        const Item* outer = model.item(bearing.code.left(bearing.code.size() - 1) + QLatin1Char('2'));
        Plan& plan = newPlan(&bearing);
        const std::size_t planIndex = book.plans.size() - 1;
        for (std::size_t k = 0; k < inner->steps.size() && k < outer->steps.size(); ++k) {
            const qint64 innerNo = newOrder(book.plans[planIndex], inner, &inner->steps[k]).no;
            newOrder(book.plans[planIndex], outer, &outer->steps[k]).ringInner = innerNo;
        }
        (void)plan;
    }

    void decideStates()
    {
        for (std::size_t i = 0; i < book.orders.size(); ++i) {
            Order& o = book.orders[i];
            if (o.follows()) {
                const Order& rep = orderByNo(o.leader());
                o.state = rep.state;
                o.wantPlaced = rep.wantPlaced;
                o.fixKind = rep.fixKind;
                o.sizingMachine = rep.sizingMachine;
                o.dest = rep.dest;
                o.workHours = rep.workHours;
                o.setupHours = rep.setupHours;
                o.ownCycle = rep.ownCycle;
                o.persons = rep.persons;
                continue;
            }
            const double r = rnd.unit();
            o.state = r < 0.04 ? OrderState::Completed : r < 0.07 ? OrderState::Deleted : OrderState::Open;
            o.wantPlaced = rnd.chance(0.65);
            if (o.wantPlaced) {
                const double f = rnd.unit();
                o.fixKind = f < 0.08 ? QStringLiteral("2") : f < 0.2 ? QStringLiteral("1") : QStringLiteral("0");
            }
            chooseResource(o);
            if (!o.outside()) {
                if (rnd.chance(0.3))
                    o.setupHours = rnd.pick(std::vector<double>{0.25, 0.5, 0.75, 1.0, 1.5});
                o.workHours = rnd.chance(0.4) ? -1 : 0;  // -1: store the work time in hours (known after sizing)
            }
        }
    }

    // Quantities: each plan is sized so that its first in-house order fills a fair
    // share of its machine's working time over the layout window.
    void sizePlans(std::int64_t windowStart, std::int64_t windowEnd)
    {
        std::map<QString, int> load;
        for (const Order& o : book.orders)
            if (!o.sizingMachine.isEmpty() && !o.follows() && o.wantPlaced)
                ++load[o.sizingMachine];
        for (Plan& plan : book.plans) {
            const Order* primary = nullptr;
            for (std::size_t idx : plan.orders)
                if (!book.orders[idx].sizingMachine.isEmpty() && !primary)
                    primary = &book.orders[idx];
            int qty = 100;
            if (primary) {
                const Machine* m = model.machine(primary->sizingMachine);
                const double capacityMinutes = workingSecondsBetween(m->working, windowStart, windowEnd) / 60.0;
                const double share = std::clamp(0.7 * capacityMinutes / std::max(1, load[m->code]), 60.0, 1200.0);
                const double minutes = share * (0.5 + rnd.unit());
                const double seconds = pieceSecondsOf(model, *primary, m->code);
                qty = int(minutes * 60.0 * primary->persons / std::max(0.5, seconds));
            }
            const int pack = model.item(plan.item)->packQty;
            qty = std::max(pack, qty / pack * pack);
            plan.qty = qty;
        }
        // Set members are made by the representative's shots: same count of shots.
        for (Plan& plan : book.plans)
            for (std::size_t idx : plan.orders)
                book.orders[idx].qty = plan.qty;
        for (Order& o : book.orders)
            if (o.isSetMember)
                o.qty = orderByNo(o.setRep).qty;
    }

    Order& orderByNo(std::int64_t no) { return book.orders[std::size_t(no - 100001)]; }

    void computeMinutes(Order& o)
    {
        const QString machine = o.sizingMachine;
        const bool moulded = o.step->moulded;
        o.setupMinutes = o.setupHours > 0 ? ceilMinutes(o.setupHours) : moulded ? o.step->setupBefore + o.step->setupAfter : 0;
        o.workMinutes = productionMinutes(pieceSecondsOf(model, o, machine), o.qty, o.persons);
        if (o.workHours < 0) {
            // Stored in hours: quarter hours keep the decimal value exact.
            const std::int64_t quarter = std::max<std::int64_t>(15, (o.workMinutes + 14) / 15 * 15);
            o.workHours = double(quarter) / 60.0;
            o.workMinutes = quarter;
        }
    }

    void placeOnMachines(std::int64_t windowStart, std::int64_t windowEnd)
    {
        std::map<QString, std::vector<std::size_t>> perMachine;
        for (std::size_t i = 0; i < book.orders.size(); ++i) {
            Order& o = book.orders[i];
            if (o.outside())
                continue;
            computeMinutes(o);
            if (o.wantPlaced && !o.follows())
                perMachine[o.sizingMachine].push_back(i);
        }
        for (auto& [code, list] : perMachine) {
            const Ranges& w = model.machine(code)->working;
            std::int64_t cursor = windowStart + rnd.between(0, 16) * 1800;
            for (std::size_t idx : list) {
                Order& o = book.orders[idx];
                const double g = rnd.unit();
                if (g > 0.9)
                    cursor += rnd.between(1, 2) * 86400;
                else if (g > 0.6)
                    cursor += rnd.between(1, 12) * 600;
                auto start = firstWorking(w, roundUpToGrid(cursor));
                while (start && *start % kGridSeconds != 0)
                    start = firstWorking(w, roundUpToGrid(*start));
                const auto end = start ? advance(w, *start, o.setupMinutes + o.workMinutes) : std::nullopt;
                if (!end || *end > windowEnd)
                    continue;  // does not fit: stays unplaced
                o.placed = true;
                o.machine = code;
                o.start = Moment::fromSeconds(*start);
                o.end = Moment::fromSeconds(*end);
                cursor = *end;
            }
        }
        for (Order& o : book.orders) {
            if (!o.follows() || o.outside())
                continue;
            const Order& rep = orderByNo(o.leader());
            o.placed = rep.placed;
            o.machine = rep.machine;
            o.start = rep.start;
            o.end = rep.end;
        }
    }

    // Outside work stands on the subcontractors' rows, which have no calendar: whole days.
    void placeOutside()
    {
        for (Order& o : book.orders) {
            if (!o.outside() || !o.wantPlaced)
                continue;
            Date day = model.base.addDays(rnd.between(-5, 40));
            while (day.dayOfWeek() >= 6)
                day = day.addDays(1);
            o.placed = true;
            o.start = Moment::of(day, core::TimeOfDay::fromHms(8, 0));
            o.end = Moment::of(day.addDays(rnd.between(1, 4)), core::TimeOfDay::fromHms(17, 0));
            o.workMinutes = o.start.minutesTo(o.end);
        }
    }

    void datesAndResults()
    {
        static const QStringList remarks = {QStringLiteral("急ぎ"), QStringLiteral("客先確認中"), QStringLiteral("材料入荷待ち"),
                                            QStringLiteral("試作"), QStringLiteral("再製作")};
        const Date base = model.base;
        for (Order& o : book.orders) {
            if (o.follows())
                continue;
            if (o.placed) {
                o.startDay = o.start.date();
                const Date endDate = o.end.date();
                const double c = rnd.unit();
                if (c < 0.2)
                    o.initialDue = endDate.addDays(-rnd.between(1, 3));   // ends after its first due date
                else if (c < 0.5)
                    o.initialDue = endDate.addDays(rnd.between(0, 3));    // within the last three days
                else if (c < 0.9)
                    o.initialDue = endDate.addDays(rnd.between(4, 12));   // comfortably early
                else
                    o.initialDueZeroText = rnd.chance(0.5);                // never given one
                o.due = o.initialDue.isNull() ? endDate.addDays(rnd.between(0, 7))
                                              : o.initialDue.addDays(rnd.chance(0.15) ? rnd.between(1, 7) : 0);
                if (o.start.date() < base.addDays(10) && rnd.chance(0.6))
                    o.instructionDate = std::min(base, o.start.date()).addDays(-rnd.between(1, 7));
                if (o.start.date() < base && rnd.chance(0.6)) {
                    const int pack = o.item->packQty;
                    o.received = std::min(o.qty, std::max(pack, int(o.qty * (0.2 + 0.6 * rnd.unit())) / pack * pack));
                    o.actualMinutes = int(o.workMinutes * o.received / std::max(1, o.qty));
                    o.lastResult = base.addDays(-rnd.between(1, 3));
                }
                if (o.fixKind != QLatin1String("0") && !o.instructionDate.isNull())
                    o.remark = QStringLiteral("客先指定日");
            } else {
                o.fixKind = QStringLiteral("0");
                o.startDay = base.addDays(rnd.between(0, 35));
                o.due = o.startDay.addDays(rnd.between(3, 12));
                if (rnd.chance(0.2))
                    o.initialDue = o.due;
                // A confirmed order whose times were cleared: the loader parks it as unplaced.
                if (!o.outside() && rnd.chance(o.wantPlaced ? 0.3 : 0.03))
                    o.confirmedWithoutTimes = true;
                if (!o.outside() && rnd.chance(0.5))
                    o.machine = o.sizingMachine;  // remembered machine, used only with IniOption3
            }
            if (o.state == OrderState::Completed) {
                o.received = o.qty;
                o.lastResult = base.addDays(-rnd.between(1, 20));
            }
            if (o.remark.isEmpty() && rnd.chance(0.1))
                o.remark = remarks[rnd.below(int(remarks.size()))];
            if (rnd.chance(0.02))
                o.looseName = QStringLiteral("特注 ") + o.item->modelNo + QStringLiteral("-X");
            const double d = rnd.unit();
            o.ganttDisplay = d < 0.1 ? QStringLiteral(" ") : d < 0.15 ? QStringLiteral("1") : QStringLiteral("0");
        }
        for (Order& o : book.orders) {
            if (!o.follows())
                continue;
            const Order& rep = orderByNo(o.leader());
            o.placed = rep.placed;
            o.machine = rep.machine;
            o.startDay = rep.startDay;
            o.due = rep.due;
            o.initialDue = rep.initialDue;
            o.initialDueZeroText = rep.initialDueZeroText;
            o.instructionDate = rep.instructionDate;
            o.confirmedWithoutTimes = rep.confirmedWithoutTimes;
            o.fixKind = rep.fixKind;
            o.received = std::min(o.qty, rep.received);
            o.actualMinutes = rep.actualMinutes;
            o.lastResult = rep.lastResult;
            if (o.ringInner != 0) o.ganttDisplay = QStringLiteral("2");  // the outer ring of its inner ring's bar
        }
    }

    // Process chains: each step supplies the plan's next step.
    void linkChains()
    {
        for (Plan& plan : book.plans) {
            // The next step of the same item (a bearing's rings each have their own chain).
            for (std::size_t k = 0; k < plan.orders.size(); ++k)
                for (std::size_t j = k + 1; j < plan.orders.size(); ++j)
                    if (book.orders[plan.orders[j]].item == book.orders[plan.orders[k]].item) {
                        book.orders[plan.orders[k]].parentNo = book.orders[plan.orders[j]].no;
                        break;
                    }
            Date due;
            for (std::size_t idx : plan.orders)
                due = std::max(due, book.orders[idx].due);
            plan.due = due;
        }
    }

    void prices()
    {
        std::map<std::pair<QString, int>, bool> seen;
        const QStringList subs = model.subcontractorsOf(QStringLiteral("40"));
        for (Order& o : book.orders) {
            if (!o.outside())
                continue;
            const auto key = std::make_pair(o.item->code, o.step->seq);
            if (!seen.count(key)) {
                seen[key] = true;
                const double general = rnd.between(50, 2000) / 10.0;
                book.prices.push_back({QStringLiteral("0"), o.item->code, o.step->seq, model.base.addDays(-365), general});
                for (const QString& s : subs) {
                    if (!rnd.chance(0.4))
                        continue;
                    const double own = std::round(general * (0.8 + 0.3 * rnd.unit()) * 10) / 10;
                    book.prices.push_back({s, o.item->code, o.step->seq, model.base.addDays(-365), own});
                    if (rnd.chance(0.3))  // a newer price that supersedes the old one
                        book.prices.push_back({s, o.item->code, o.step->seq, model.base.addDays(-60), own + 1.5});
                }
            }
        }
        for (Order& o : book.orders) {
            if (!o.outside())
                continue;
            const OrderBook::Price* best = nullptr;
            for (const OrderBook::Price& p : book.prices)
                if (p.item == o.item->code && p.seq == o.step->seq && (p.partner == o.dest || p.partner == QLatin1String("0")))
                    if (!best || (p.partner != QLatin1String("0") && (best->partner == QLatin1String("0") || p.from > best->from)))
                        best = &p;
            o.unitPrice = best ? best->price : 0;
        }
    }
};

}  // namespace

double pieceSecondsOf(const PlantModel& model, const Order& o, const QString& machine)
{
    const RoutingStep& s = *o.step;
    double cycle = o.ownCycle;
    if (cycle == 0) {
        const auto it = s.machineCycles.find(machine);
        cycle = it != s.machineCycles.end() ? it->second : s.cycle;
    }
    if (cycle != 0) {
        int cavities = o.setGroup == QLatin1String("1") ? o.item->setCavities : 0;
        if (cavities == 0)
            cavities = s.cavities;
        if (cavities == 0)
            for (const Mould& m : model.moulds)
                if (m.no == o.item->mouldNo)
                    cavities = m.cavities;
        return cycle / std::max(1, cavities);
    }
    const double p = s.productivity;
    switch (s.productivityUnit) {
    case 1: return p;
    case 2: return p * 60;
    case 3: return p * 3600;
    case 4: return p ? 1 / p : 0;
    case 5: return p ? 60 / p : 0;
    case 6: return p ? 3600 / p : 0;
    default: return 0;
    }
}

std::int64_t productionMinutes(double pieceSeconds, std::int64_t quantity, int persons)
{
    const double x = pieceSeconds != 0 ? pieceSeconds * double(quantity) / 60.0 : double(quantity) * 5.0 / 60.0;
    const double minutes = std::ceil(std::fabs(x)) / double(std::max(1, persons));
    return std::int64_t(std::nearbyint(minutes));  // halves to even (default rounding mode)
}

OrderBook layOutOrders(PlantModel& model, DemoRandom& rnd)
{
    Builder b(model, rnd);
    const std::int64_t windowStart = Moment::of(model.base.addDays(-7), core::TimeOfDay::fromHms(8, 0)).seconds();
    const std::int64_t windowEnd =
        Moment::of(std::min(model.calendarLast, model.base.addDays(56)), core::TimeOfDay::fromHms(8, 0)).seconds();
    b.createPlans(std::max(1, model.options.orders));
    b.decideStates();
    b.sizePlans(windowStart, windowEnd);
    b.placeOnMachines(windowStart, windowEnd);
    b.placeOutside();
    b.datesAndResults();
    b.linkChains();
    b.prices();
    b.book.lastOrderNo = b.nextOrderNo - 1;
    return std::move(b.book);
}

}  // namespace demoplant
