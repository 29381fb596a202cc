// What the plan grid and the schedule list cost on a 10,000-order plan, driven
// through the main window as the planner drives them:
//  - the list search narrowing the grid, and a sort of the schedule list, each
//    against one bare pass over the plan table's records that reads the
//    searched fields (order number, item code, item name) and looks for the
//    text in them (target: each within 3x);
//  - a bulk change of the confirmation kind of 1,000 selected rows (one undo
//    step) against its undo (target: the undo within 3x the change).

#include "chart/ChartState.h"
#include "chart/MainForm.h"
#include "chart/PlanDataGrid.h"
#include "chart/PlanGridModel.h"
#include "windows/ListWindows.h"
#include "windows/ScheduleListWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kMachines = 60;
constexpr int kOrders = 10000;
constexpr int kBulkRows = 1000;

class Silent : public core::Prompt {
public:
    bool askYesNo(const QString&, const QString&, bool defaultYes) override { return defaultYes; }
    void tell(const QString&, const QString&, Icon) override {}
};

void buildPlanner(core::Planner& p)
{
    p.PeriodStart = core::Date::fromYmd(2025, 1, 6);
    p.PeriodEnd = p.PeriodStart.addDays(364);
    p.DayChangeTime = core::TimeOfDay::fromHms(8, 0);
    p.GridMinutes = 10;
    const int days = p.PeriodStart.daysTo(p.PeriodEnd) + 3;
    p.calendar.reset(days, 1);
    for (int m = 1; m <= kMachines; ++m) {
        p.rows.append(QStringLiteral("M%1").arg(m, 3, 10, QLatin1Char('0')), QStringLiteral("成形機%1号").arg(m), {});
        p.calendar.addMachine();
    }
    p.rows.CalendarMachineCount = p.rows.KikaiRowCount = p.rows.machineRowCount();
    for (int row = 2; row <= p.rows.CalendarMachineCount; ++row)
        for (int d = 0; d <= days; ++d) {
            auto& cal = p.calendar.day(d, row);
            cal.CalTime[1] = core::TimeOfDay::fromHms(8, 0);
            cal.CalTime[2] = core::TimeOfDay::fromHms(17, 0);
        }
}

void addOrders(plan::PlanData& plan, const core::Planner& p)
{
    const core::Moment origin = core::chartOrigin(p.PeriodStart, p.DayChangeTime);
    for (int n = 0; n < kOrders; ++n) {
        plan::PlanRecord r;
        r.barIndex = plan.size() + 1;
        r.orderNo = 100000 + n;
        r.memberCount = 1;
        r.membersA = {plan::MemberOrder{.planNo = 50000 + n / 3, .orderNo = r.orderNo, .orderQty = 1000 + n % 5000}};
        r.machineCode = r.machineCodeDb = p.rows.row(2 + n % kMachines).RowCode;
        r.itemCode = r.itemCode2 = QStringLiteral("P%1").arg(n % 500, 5, 10, QLatin1Char('0'));
        r.modelName = QStringLiteral("ﾊｳｼﾞﾝｸﾞ HD-%1 PC 黒").arg(n % 97);
        r.processName = QStringLiteral("成形");
        r.processSeq = 10;
        const core::Moment start = origin.addMinutes(std::int64_t(n / kMachines) * 9 * 60);
        r.setStart(start);
        r.setEnd(start.addMinutes(8 * 60));
        r.workMinutes = 8 * 60;
        r.orderQty = 1000 + n % 5000;
        r.confirmKind = r.confirmKindDb = plan::ConfirmKind::Confirmed;
        r.initialDueDate = r.dueDate = start.date().addDays(n % 7 - 2);
        r.mouldShortName = QStringLiteral("HD-%1").arg(n % 41);
        r.loadMark = 1;
        plan.append(r);
    }
}

double medianNs(int runs, const std::function<void()>& before, const std::function<void()>& measured)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        if (before) before();
        QElapsedTimer clock;
        clock.start();
        measured();
        t.push_back(double(clock.nsecsElapsed()));
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    core::ProgramSettings settings;
    settings.KengenKubun = QStringLiteral("1");
    std::unique_ptr<db::Database> database = db::Database::openSqlite(QStringLiteral(":memory:"));
    chart::MainForm form(settings, *database);
    Silent silent;
    form.setPrompt(&silent);
    windows::attachListWindows(form);
    buildPlanner(form.planner());
    addOrders(form.planData(), form.planner());
    form.showPlan();
    form.resize(1400, 900);
    form.show();
    QCoreApplication::processEvents();
    const plan::PlanData& plan = form.planData();

    // The baseline: one bare pass over the records, reading what the searches read.
    const QString typed = QStringLiteral("hd-42");
    volatile int sink = 0;
    const double passNs = medianNs(21, {}, [&] {
        int hits = 0;
        for (int i = 2; i <= plan.size(); ++i) {
            const plan::PlanRecord& r = plan[i];
            if (QString::number(r.orderNo).contains(typed) || r.itemCode.contains(typed) || r.modelName.contains(typed)) ++hits;
        }
        sink = sink + hits;
    });

    // The list search, typed into the main window's field (width and case folded).
    form.txtListKensaku->setText(typed);  // the folded texts are built once, then kept
    const double filterNs = medianNs(21, [&] { form.txtListKensaku->clear(); }, [&] { form.txtListKensaku->setText(typed); });
    const int found = form.grid().gridModel().rowCount();
    form.txtListKensaku->clear();

    // The schedule list sorted by the item name, over every order on the chart.
    form.scheduleListButton->click();
    QCoreApplication::processEvents();
    auto* list = form.findChild<windows::ScheduleListWindow*>();
    if (!list || list->shownRecords().size() != std::size_t(kOrders)) {
        std::printf("schedule list did not open with every order\n");
        return 1;
    }
    const double sortNs = medianNs(21, {}, [&] { list->sortBy(reschedule::schedule_list::ColItemName); });
    const double sortQtyNs = medianNs(21, {}, [&] { list->sortBy(reschedule::schedule_list::ColOrderQty); });
    list->close();

    std::printf("one pass over %d records (fields read, text looked for): %8.3f ms\n", plan.size() - 1, passNs / 1e6);
    std::printf("list search narrowing the grid to %d rows:               %8.3f ms   ratio (target < 3): %.2f\n", found,
                filterNs / 1e6, filterNs / passNs);
    std::printf("schedule list sorted by item name:                       %8.3f ms   ratio (target < 3): %.2f\n", sortNs / 1e6,
                sortNs / passNs);
    std::printf("schedule list sorted by quantity:                        %8.3f ms   ratio (target < 3): %.2f\n", sortQtyNs / 1e6,
                sortQtyNs / passNs);

    // Bulk change of 1,000 selected rows, one step, and its undo.
    chart::PlanDataGrid& grid = form.grid();
    QItemSelection rows;
    for (int k = 0; k < kBulkRows; ++k) {
        const QModelIndex idx = grid.gridModel().index(k * (kOrders / kBulkRows), 0);
        rows.select(idx, idx);
    }
    grid.selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (grid.selectedRecords().size() != std::size_t(kBulkRows)) {
        std::printf("could not select %d rows\n", kBulkRows);
        return 1;
    }
    std::vector<double> change, undo;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer clock;
        clock.start();
        form.ComIkkatsuYotei->click();
        change.push_back(double(clock.nsecsElapsed()));
        if (form.history().stepCount() != run + 1 && run == 0) {
            std::printf("the bulk change was not one step\n");
            return 1;
        }
        const int changed = grid.selectedRecords().front();
        const bool planned = plan[changed].confirmKind == plan::ConfirmKind::Planned;
        clock.restart();
        form.actUndo->trigger();
        undo.push_back(double(clock.nsecsElapsed()));
        if (!planned || plan[changed].confirmKind != plan::ConfirmKind::Confirmed) {
            std::printf("the bulk change or its undo did not happen\n");
            return 1;
        }
    }
    std::sort(change.begin(), change.end());
    std::sort(undo.begin(), undo.end());
    const double changeNs = change[change.size() / 2], undoNs = undo[undo.size() / 2];
    std::printf("bulk change of %d rows (one step):                     %8.3f ms\n", kBulkRows, changeNs / 1e6);
    std::printf("its undo:                                                %8.3f ms   ratio (target < 3): %.2f\n", undoNs / 1e6,
                undoNs / changeNs);
    return 0;
}
