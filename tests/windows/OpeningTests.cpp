// Where the detail window opens from: the bar's pop-up entry, a double-click on
// a grid row and the main window's own function; a double-click on a bar opens nothing.
#include "WindowTestSupport.h"
#include "chart/ChartFixture.h"
#include "windows/OrderWindows.h"

#include <QMenu>

namespace {

class Opening : public chart_test::ChartTest {
protected:
    void SetUp() override
    {
        ChartTest::SetUp();
        windows::installOrderWindows(*form);
        form->setPrompt(&prompt);
        form->setMasterLookup(&lookup);
        form->session().setDetailLookup(&details);
    }
    // Runs `open`, and closes the detail window it shows; the order number it showed ("" for none).
    QString orderShownBy(const std::function<void()>& open)
    {
        QString shown;
        QTimer::singleShot(0, [&] {
            if (auto* w = qobject_cast<windows::PlanWindow*>(QApplication::activeModalWidget())) {
                shown = w->Text14->text();
                w->close();
            }
        });
        open();
        QCoreApplication::processEvents();
        return shown;
    }

    testing_support::ScriptedPrompt prompt;
    rules_test::MapLookup lookup;
    windows_test::MapDetailLookup details;
};

TEST_F(Opening, FromThePopupEntryAGridRowAndTheMainWindow)
{
    const int rec = chart_test::addOrder(plan(), 31, QStringLiteral("M01"), chart_test::at(3, 8), 240);
    chart_test::addOrder(plan(), 32, QStringLiteral("M02"), chart_test::at(3, 8), 120);
    show();
    EXPECT_TRUE(form->detailAction->isEnabled());

    const QPoint bar = barCentre(rec);
    EXPECT_EQ(orderShownBy([&] {
                  QTest::mousePress(view().rowSurface, Qt::RightButton, Qt::NoModifier, bar);
                  ASSERT_TRUE(form->barMenu->isVisible());
                  QTest::mouseClick(form->barMenu, Qt::LeftButton, {}, form->barMenu->actionGeometry(form->detailAction).center());
              }),
              "31");

    const int row = form->grid().gridModel().gridRowOf(rec);
    ASSERT_GE(row, 0);
    const QModelIndex cell = form->grid().model()->index(row, 2);
    const QPoint at = form->grid().visualRect(cell).center();
    // A double-click as the platform delivers it: press, release, then the double-click.
    const auto doubleClick = [](QWidget* w, QPoint p) {
        QTest::mouseClick(w, Qt::LeftButton, {}, p);
        QTest::mouseDClick(w, Qt::LeftButton, {}, p);
    };
    EXPECT_EQ(orderShownBy([&] { doubleClick(form->grid().viewport(), at); }), "31");

    EXPECT_EQ(orderShownBy([&] { form->showDetail(rec + 1); }), "32");
    EXPECT_EQ(orderShownBy([&] { doubleClick(view().rowSurface, bar); }), "");
    EXPECT_EQ(form->session().history().stepCount(), 0);
}

}  // namespace
