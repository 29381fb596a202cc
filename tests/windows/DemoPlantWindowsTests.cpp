// Both windows over the demo plant, read from its database as the program
// reads it: every list has something to show. With CHART_SCREENSHOT_DIR set
// the windows are kept as pictures.
#include "WindowTestSupport.h"

#include "demoplant/DemoPlant.h"
#include "windows/OrderWindows.h"

namespace {

class DemoWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        database = db::Database::openSqlite(QStringLiteral(":memory:"));
        demoplant::DemoOptions options;
        options.baseDate = core::Date::fromYmd(2025, 6, 2);
        demoplant::createSchema(*database);
        demoplant::generateDemoPlant(*database, options);
        settings.TantoCode = QStringLiteral("1001");
        settings.KojoCode = options.factory;
        settings.KengenKubun = QStringLiteral("1");
        settings.GridMinutes = 10;
        settings.PeriodStart = options.baseDate.addDays(-7);
        settings.PeriodEnd = settings.PeriodStart.addMonths(1);
    }
    void load(const char* classCode)
    {
        settings.processClassCode = QString::fromLatin1(classCode);
        session = std::make_unique<session::PlanSession>(settings, database.get());
        session->setPrompt(&prompt);
        session->load();
    }
    // The first live bar the predicate accepts; 0 when none.
    int find(const std::function<bool(const plan::PlanRecord&)>& pred)
    {
        for (int i = 2; i <= session->plan().size(); ++i)
            if (!session->plan()[i].isHidden() && pred(session->plan()[i])) return i;
        return 0;
    }
    std::unique_ptr<windows::PlanWindow> open(int i)
    {
        auto w = std::make_unique<windows::PlanWindow>(*session, *session->openDetail(i));
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }

    core::ProgramSettings settings;
    std::unique_ptr<db::Database> database;
    std::unique_ptr<session::PlanSession> session;
    testing_support::ScriptedPrompt prompt;
};

TEST_F(DemoWindows, ARingBarShowsBothRingsItsOrdersAndItsVariants)
{
    load("20");
    const int ring = find([](const plan::PlanRecord& r) { return !r.membersB.empty() && r.receivedQty == 0 && r.isConfirmed(); });
    ASSERT_NE(ring, 0);
    auto w = open(ring);
    EXPECT_EQ(w->NList->count(), 1);
    EXPECT_EQ(w->GList->count(), 1);
    EXPECT_TRUE(w->GList->item(0)->text().contains(QStringLiteral("外輪")));
    EXPECT_GT(w->JList->count(), 0);
    EXPECT_GT(w->ZList->count(), 0);
    EXPECT_EQ(w->KList->count(), 2);
    EXPECT_EQ(w->Text37->text(), "1");
    EXPECT_NE(w->txt_After_StartYMD->text(), "0000/00/00");  // grinding follows the turning
    windows_test::saveScreenshot(w.get(), QStringLiteral("demo-detail-ring"));
    w->ListTabs->setCurrentIndex(1);
    windows_test::saveScreenshot(w.get(), QStringLiteral("demo-detail-ring-variants"));

    windows::BunWindow split(*session, ring, w.get());
    split.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&split));
    EXPECT_EQ(split.NList->count(), 1);
    EXPECT_EQ(split.GList->count(), 1);
    QTest::mouseClick(split.NList->viewport(), Qt::LeftButton, {}, split.NList->visualItemRect(split.NList->item(0)).center());
    QTest::keyClicks(split.Text14, "100");
    QTest::keyClick(split.Text14, Qt::Key_Return);
    EXPECT_TRUE(split.GList->item(0)->text().contains(QStringLiteral("100/")));
    windows_test::saveScreenshot(&split, QStringLiteral("demo-split-ring"));
}

TEST_F(DemoWindows, AMouldedOrderShowsItsCustomerOrdersAndNeighbours)
{
    load("10");
    const int i = find([](const plan::PlanRecord& r) {
        return r.setRepOrderNo == 0 && r.isConfirmed() && r.receivedQty > 0 && r.components.size() >= 1 && r.parentOrderNo != 0;
    });
    ASSERT_NE(i, 0);
    auto w = open(i);
    EXPECT_GT(w->JList->count(), 0);
    EXPECT_GT(w->ZList->count(), 0);
    EXPECT_NE(w->Text21->text(), QString());  // the last result's date
    windows_test::saveScreenshot(w.get(), QStringLiteral("demo-detail-moulded"));
}

}  // namespace
