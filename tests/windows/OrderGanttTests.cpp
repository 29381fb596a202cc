// The order Gantt window on a plant built for it: one production plan whose
// lots run through moulding, machining and assembly, one of them loaded here
// and moved without saving so that machining now starts before it ends.
#include "WindowFixture.h"

#include "support/TestDatabase.h"
#include "windows/OrderGanttWindow.h"

#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

using namespace windows_test;
using reschedule::LotClass;

namespace {

void insert(db::Database& db, const char* table, const QList<std::pair<const char*, QVariant>>& cols)
{
    QStringList names, marks;
    QVariantList binds;
    for (const auto& [name, value] : cols) {
        names << QString::fromUtf8(name);
        marks << QStringLiteral("?");
        binds << value;
    }
    db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(QLatin1String(table), names.join(u','), marks.join(u',')), binds);
}

// A work order of plan 500 (or another), placed from..to on a machine, or waiting when from is empty.
void workOrder(db::Database& db, qint64 no, int seq, qint64 parent, const char* machine, const char* day, const char* from, const char* to,
               qint64 planNo = 500, const char* deleted = "0")
{
    const bool placed = from[0] != 0;
    insert(db, "DB0253",
           {{"手配番号", no}, {"上位手配番号", parent}, {"生産計画番号", planNo}, {"生産工場コード", 1}, {"品名コード", "ITEM-A"},
            {"順序", seq}, {"機械コード", machine}, {"指示先コード", "0101"}, {"社内社外区分", "1"},
            {"手配確定区分", placed ? "2" : "1"}, {"スケジューラ固定区分", "0"}, {"完納区分", "0"},
            {"作業開始日付", placed ? day : "00000000"}, {"作業開始時間", placed ? from : "000000"},
            {"作業終了日付", placed ? day : "00000000"}, {"作業終了時間", placed ? to : "000000"}, {"開始日", "20241203"},
            {"納期", "20241206"}, {"手配数", 100}, {"受入実績数", 0}, {"削除フラグ", deleted}});
}

class OrderGantt : public ChartWindowTest {
protected:
    void SetUp() override
    {
        ChartWindowTest::SetUp();
        t = testing_support::freshDatabase(db::Kind::Sqlite);
        db::Database& d = *t.db;
        insert(d, "DB0378", {{"品名コード", "ITEM-A"}, {"品名＿品名仕様", QStringLiteral("ブラケット")}});
        const char* steps[][3] = {{"P1", "成形", "10"}, {"P2", "機械加工", "20"}, {"P3", "組立", "30"}};
        for (int k = 0; k < 3; ++k) {
            insert(d, "DB0382", {{"工程内容コード", steps[k][0]}, {"工程内容名", QString::fromUtf8(steps[k][1])}, {"工程分類コード", steps[k][2]}});
            insert(d, "DB0381", {{"品名コード", "ITEM-A"}, {"順序", 10 * (k + 1)}, {"生産工場コード", 1}, {"工程内容コード", steps[k][0]}});
        }
        // Lot chain 101 → 102 → 103 and 104 → 105; 101 is moved here to 13:00-17:00 without saving.
        workOrder(d, 101, 10, 102, "M01", "20241203", "080000", "120000");
        workOrder(d, 102, 20, 103, "K01", "20241203", "150000", "170000");
        workOrder(d, 103, 30, 0, " ", "", "", "");
        workOrder(d, 104, 10, 105, "M02", "20241202", "080000", "100000");
        workOrder(d, 105, 20, 0, "K01", "20241202", "130000", "150000");
        workOrder(d, 106, 20, 0, "K02", "20241202", "080000", "090000", 500, "1");  // deleted
        workOrder(d, 107, 10, 0, "M03", "20241202", "080000", "090000", 501);       // another plan

        settings.KojoCode = 1;
        form = std::make_unique<chart::MainForm>(settings, d);
        buildPlant(form->planner());
        moved = addOrder(plan(), 101, QStringLiteral("M01"), at(3, 13), 240);
        plan().edit(moved).membersA[0].planNo = 500;
        plan().edit(moved).isChanged = true;
        loaded = addOrder(plan(), 104, QStringLiteral("M02"), at(2, 8), 120);
        plan().edit(loaded).membersA[0].planNo = 500;
    }
    void TearDown() override { form.reset(); }  // before its database goes
    // Right-click on the bar, then the pop-up's entry.
    windows::OrderGanttWindow* openFor(int rec)
    {
        QTimer::singleShot(0, form->barMenu, &QMenu::close);
        QTest::mousePress(view().rowSurface, Qt::RightButton, Qt::NoModifier, barCentre(rec));
        EXPECT_TRUE(form->orderGanttAction->isVisible() && form->orderGanttAction->isEnabled());
        form->orderGanttAction->trigger();
        QCoreApplication::processEvents();
        return form->findChild<windows::OrderGanttWindow*>();
    }
    std::vector<std::int64_t> orderNos(const windows::OrderGanttWindow* w)
    {
        std::vector<std::int64_t> out;
        for (const reschedule::PlanLot& l : w->picGantt->lots()) out.push_back(l.orderNo);
        return out;
    }

    testing_support::TestDb t;
    int moved = 0, loaded = 0;
};

TEST_F(OrderGantt, EveryLotOfThePlanInProcessOrderInItsColour)
{
    show();
    windows::OrderGanttWindow* w = openFor(moved);
    ASSERT_TRUE(w && w->isVisible());
    EXPECT_EQ(w->objectName(), QStringLiteral("frmOrderGNT"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("生産計画別ガントチャート"));
    EXPECT_TRUE(prompt.told.empty());
    ASSERT_EQ(orderNos(w), std::vector<std::int64_t>({104, 101, 105, 102, 103}));
    EXPECT_EQ(w->picGantt->classes(), std::vector<LotClass>({LotClass::Other, LotClass::Selected, LotClass::Other,
                                                             LotClass::Overlapping, LotClass::Unallocated}));
    const auto& lots = w->picGantt->lots();
    EXPECT_EQ(lots[1].start, at(3, 13)) << "the unsaved move, where the order is loaded";
    EXPECT_EQ(lots[3].start, at(3, 15)) << "the database's values elsewhere";
    EXPECT_EQ(lots[3].processName, QStringLiteral("機械加工"));
    // The scale fits them all: from the first lot's production day to past the last.
    EXPECT_LE(w->picGantt->from(), at(2, 8));
    EXPECT_GE(w->picGantt->to(), at(6, 8));

    w->resize(1100, 480);
    QCoreApplication::processEvents();
    saveScreenshot(w, QStringLiteral("order-gantt"));
    const QImage picture = w->picGantt->grab().toImage();
    for (int k : {0, 1, 3}) {
        const QRect bar = w->picGantt->barRect(k);
        ASSERT_FALSE(bar.isEmpty());
        EXPECT_EQ(picture.pixelColor(bar.right() - 2, bar.top() + 2), windows::lotColour(w->picGantt->classes()[std::size_t(k)])) << k;
    }
    EXPECT_NE(picture.pixelColor(w->picGantt->barRect(4).center()), windows::lotColour(LotClass::Other));
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblLegend%1").arg(int(LotClass::Overlapping)))->text(), QStringLiteral("前工程と重複"));
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblLegend%1").arg(int(LotClass::Unallocated)))->text(),
              QStringLiteral("未割付（開始日時・機械なし）"));

    // Hovering a lot tells what it is and why it is coloured so.
    QMouseEvent move(QEvent::MouseMove, QPointF(w->picGantt->barRect(3).center()), w->picGantt->mapToGlobal(QPointF(w->picGantt->barRect(3).center())),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w->picGantt, &move);
    ASSERT_TRUE(w->picGantt->lblTip->isVisible());
    EXPECT_TRUE(w->picGantt->lblTip->text().contains(QStringLiteral("手配番号: 102")));
    EXPECT_TRUE(w->picGantt->lblTip->text().contains(QStringLiteral("前工程の終了より前に開始します")));
    EXPECT_TRUE(w->picGantt->tipText(1).contains(QStringLiteral("未保存の変更があります")));
}

TEST_F(OrderGantt, ReadOnlyNothingTheMouseDoesChangesThePlan)
{
    show();
    windows::OrderGanttWindow* w = openFor(loaded);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->picGantt->classes()[0], LotClass::Selected);
    const auto before = snapshot();
    const auto lotsBefore = orderNos(w);
    QWidget* pic = w->picGantt;
    const QPoint from = w->picGantt->barRect(0).center();
    const QPoint to = from + QPoint(200, 60);
    QTest::mousePress(pic, Qt::LeftButton, Qt::NoModifier, from);
    for (int k = 1; k <= 4; ++k) {
        QMouseEvent e(QEvent::MouseMove, QPointF(from + (to - from) * k / 4), pic->mapToGlobal(QPointF(from + (to - from) * k / 4)),
                      Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pic, &e);
    }
    QTest::mouseRelease(pic, Qt::LeftButton, Qt::NoModifier, to);
    QTest::mouseDClick(pic, Qt::LeftButton, Qt::NoModifier, from);
    QTest::keyClick(pic, Qt::Key_Delete);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(form->history().stepCount(), 0);
    EXPECT_EQ(orderNos(w), lotsBefore);
    EXPECT_FALSE(form->saveButton->isEnabled());
}

TEST_F(OrderGantt, AFailingReadIsToldAndTheWindowStaysUsable)
{
    show();
    t.db->beforeStatement = [](const QString& sql) {
        if (sql.contains(QStringLiteral("生産計画番号 = ?"))) throw db::Error(QStringLiteral("接続が切れました"), sql);
    };
    windows::OrderGanttWindow* w = openFor(moved);
    ASSERT_TRUE(w && w->isVisible());
    ASSERT_EQ(prompt.told.size(), 1u);
    EXPECT_EQ(prompt.told[0].text, QStringLiteral("ランタイムエラー\nloadLots"));
    EXPECT_EQ(prompt.told[0].icon, core::Prompt::Icon::Critical);
    EXPECT_EQ(orderNos(w), std::vector<std::int64_t>({104, 101})) << "what the open plan holds of the plan";

    t.db->beforeStatement = nullptr;
    QTest::mouseClick(w->cmdReload, Qt::LeftButton);
    EXPECT_EQ(orderNos(w).size(), 5u);
    QPointer<windows::OrderGanttWindow> window(w);
    QTest::mouseClick(w->cmdClose, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(!window || !window->isVisible());
}

}  // namespace
