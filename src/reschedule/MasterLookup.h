#pragma once
// The master data the rescheduling rules consult while a bar moves. The rules
// stay free of SQL: the loaders implement this over the database, tests over maps.

#include <QString>
#include <cstdint>
#include <optional>

namespace reschedule {

// Productivity of an item's routing step (標準生産性＿機械 and its unit class).
struct Productivity {
    double value = 0;
    std::int64_t unitClass = 0;  // 1 s/piece, 2 min/piece, 3 h/piece, 4 pieces/s, 5 pieces/min, 6 pieces/h
};

// Rounding rule of a component's base unit (DB0380) with the component row's ratios (DB0252).
struct RequirementRule {
    QString roundingKind;   // 端数処理区分: "2" up, "3" half up, other truncate
    int digitPosition = 0;  // 端数処理桁位置
    double unitNum = 0;     // 原単位分子
    double unitDen = 0;     // 原単位分母
    double defectRate = 0;  // 不良率, per cent
};

class MasterLookup {
public:
    virtual ~MasterLookup() = default;
    // DB0492 サイクル of item/step on a machine; nullopt when there is no row.
    virtual std::optional<double> machineCycle(const QString& itemCode, int processSeq, const QString& machineCode) = 0;
    // DB0381 productivity of item/step; nullopt when there is no row.
    virtual std::optional<Productivity> routingProductivity(const QString& itemCode, int processSeq) = 0;
    // The machine's destination (DB0394 指示先コード, else the department's first section); "" when none.
    virtual QString machineDestination(const QString& machineCode) = 0;
    // Rounding and ratios for a component of an order; nullopt when the order has no such component row.
    virtual std::optional<RequirementRule> requirementRule(std::int64_t orderNo, const QString& componentItemCode) = 0;
};

}  // namespace reschedule
