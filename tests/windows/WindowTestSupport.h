#pragma once
// The order windows over a plan session in memory: the rule tests' small plant
// (M1 and M2 working 08:00-12:00 and 13:00-17:00, supplier S1, a 15-minute
// grid), map look-ups and scripted answers. Keys and clicks are real events.

#include "reschedule/RuleTestSupport.h"
#include "session/PlanSession.h"
#include "windows/BunWindow.h"
#include "windows/PlanWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace windows_test {

using rules_test::at;
using rules_test::day;

class MapDetailLookup : public reschedule::OrderDetailLookup {
public:
    std::vector<reschedule::RelatedOrder> related;
    reschedule::NeighbourTimes neighbours;
    std::vector<reschedule::BomVariant> variantList;
    QHash<QString, reschedule::ItemNames> items;

    std::vector<reschedule::RelatedOrder> relatedOrders(std::int64_t) override { return related; }
    reschedule::NeighbourTimes neighbourTimes(std::int64_t, std::int64_t) override { return neighbours; }
    std::vector<reschedule::BomVariant> variants(const QString&, int) override { return variantList; }
    std::optional<reschedule::ItemNames> itemNames(const QString& code) override
    {
        if (!items.contains(code)) return std::nullopt;
        return items.value(code);
    }
};

// With CHART_SCREENSHOT_DIR set, keeps a picture of what the planner sees.
inline void saveScreenshot(QWidget* w, const QString& name)
{
    const QString dir = qEnvironmentVariable("CHART_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    w->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.KengenKubun = QStringLiteral("1");
        session = std::make_unique<session::PlanSession>(settings, nullptr);
        session->setPrompt(&prompt);
        session->setMasterLookup(&lookup);
        session->setDetailLookup(&details);
        session->planner() = rules_test::makePlant();
    }

    plan::PlanData& plan() { return session->plan(); }

    // A loaded, confirmed order on a machine: work minutes from 15 s per piece by one person.
    int addOrder(std::int64_t orderNo, const QString& machine, core::Moment start, std::int64_t qty = 100)
    {
        plan::PlanRecord r;
        r.barIndex = plan().size() + 1;
        r.orderNo = orderNo;
        r.memberCount = 1;
        r.membersA = {plan::MemberOrder{.planNo = 5000 + orderNo, .orderNo = orderNo, .orderQty = qty, .processSeq = 10,
                                        .itemCode = QStringLiteral("ITEM%1").arg(orderNo), .processName = QStringLiteral("成形"),
                                        .modelName = QStringLiteral("カバー")}};
        r.orderQty = qty;
        r.machineCode = r.machineCodeDb = machine;
        r.destCode = QStringLiteral("0101        ");
        r.inOutKind = plan::InOutKind::InHouse;
        r.itemCode = r.itemCode2 = r.planItemCode = QStringLiteral("ITEM%1").arg(orderNo);
        r.processSeq = 10;
        r.processName = QStringLiteral("成形");
        r.modelName = QStringLiteral("カバー");
        r.confirmKind = r.confirmKindDb = plan::ConfirmKind::Confirmed;
        r.loadMark = 1;
        r.pieceSeconds = 15;
        r.requiredPersons = 1;
        r.cavities = 2;
        r.cycle = 30;
        r.packUnitQty = 12;
        r.acceptInspectKind = QStringLiteral("0");
        r.workMinutes = plan::workMinutesFor(r.pieceSeconds, qty, 1);
        r.setStart(start);
        r.setEnd(core::calcEndTime(session->planner(), start, r.workMinutes, machine));
        r.startDateOrig = r.startDate;
        r.endDateOrig = r.endDate;
        r.components = {plan::Component{.itemCode = QStringLiteral("C1"), .itemName = QStringLiteral("樹脂"), .requiredQty = 34,
                                        .unitNum = 1, .unitDen = 3}};
        lookup.rules[{orderNo, QStringLiteral("C1")}] = reschedule::RequirementRule{QStringLiteral("2"), 0, 1, 3, 0};
        return plan().append(r);
    }

    std::unique_ptr<windows::PlanWindow> openWindow(int recordNo)
    {
        auto w = std::make_unique<windows::PlanWindow>(*session, *session->openDetail(recordNo));
        w->show();
        QApplication::setActiveWindow(w.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return w;
    }

    // Key events for each character, full-width ones included.
    static void typeText(QWidget* target, const QString& text)
    {
        for (QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(target, char(c.unicode()));
            } else {
                QTest::sendKeyEvent(QTest::Press, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
                QTest::sendKeyEvent(QTest::Release, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
        }
    }
    // Clicks into a box (which selects its text), types over it and presses Enter.
    static void typeAndEnter(QWidget* box, const QString& text)
    {
        QWidget* target = box;
        if (auto* c = qobject_cast<QComboBox*>(box)) target = c->lineEdit();
        QTest::mouseClick(target, Qt::LeftButton);
        typeText(target, text);
        QTest::keyClick(target, Qt::Key_Return);
    }

    static QWidget* focused()
    {
        QWidget* f = QApplication::focusWidget();
        if (f && qobject_cast<QComboBox*>(f->parentWidget())) return f->parentWidget();
        return f;
    }

    core::ProgramSettings settings;
    testing_support::ScriptedPrompt prompt;
    rules_test::MapLookup lookup;
    MapDetailLookup details;
    std::unique_ptr<session::PlanSession> session;
};

}  // namespace windows_test
