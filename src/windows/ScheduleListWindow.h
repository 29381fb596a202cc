#pragma once
// The schedule list frmYoteiIchiran (予定一覧): the orders that stand on the
// chart's rows as a table, narrowed by item code, mould and due-date range and
// sorted by any column. Not modal; it follows the plan while it is open. What
// it remembers for the run (position, search, sort) lives in the settings.

#include "reschedule/ScheduleList.h"

#include <QAbstractTableModel>
#include <QWidget>
#include <vector>

class QLineEdit;
class QPushButton;
class QTableView;

namespace chart { class MainForm; }

namespace windows {

class ScheduleListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ScheduleListModel(const plan::PlanData& plan, QObject* parent = nullptr) : QAbstractTableModel(parent), plan_(plan) {}

    void setRecords(std::vector<int> records, reschedule::schedule_list::DateStyle dates);
    const std::vector<int>& records() const { return records_; }
    int recordAt(int row) const { return row >= 0 && row < int(records_.size()) ? records_[std::size_t(row)] : 0; }
    // The rows of these records again (their texts changed, not their order).
    void refreshTexts();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const plan::PlanData& plan_;
    std::vector<int> records_;
    reschedule::schedule_list::DateStyle dates_ = reschedule::schedule_list::DateStyle::Default;
};

class ScheduleListWindow : public QWidget {
    Q_OBJECT
public:
    // A window of the main window (closed with it).
    explicit ScheduleListWindow(chart::MainForm& form);

    // preShow: fills the list and shows the window where it stood last.
    // When the chart has no order on a row, the planner is told so, the
    // position is forgotten and the window stays closed (false).
    bool preShow();

    // cmdKensaku: the search with its date checks.
    void search();
    // A click on a column header: sort by it (again: the other way round).
    void sortBy(int column);
    // The records the list shows, top to bottom.
    const std::vector<int>& shownRecords() const { return model_->records(); }

    QTableView* livIchiran = nullptr;
    QLineEdit* txtHinmeiCd = nullptr;
    QLineEdit* txtKanagata = nullptr;
    QLineEdit* txtSeizouIrai = nullptr;
    QLineEdit* txtYYMMDD_St = nullptr;
    QLineEdit* txtYYMMDD_Ed = nullptr;
    QPushButton* cmdKensaku = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void buildLayout();
    // The records the chart marks, keeping the list's order for those it shows already.
    void takeMarked();
    // The list from the marked records under the active search and sort.
    void refill(reschedule::schedule_list::DateStyle dates);
    void followPlan(const std::vector<int>& records);
    void putSearchInputsBack();
    void openRecord(const QModelIndex& index);
    bool isMarked(int recordNo) const;
    reschedule::schedule_list::Criteria rememberedCriteria() const;

    chart::MainForm& form_;
    ScheduleListModel* model_ = nullptr;
    std::vector<int> marked_;  // the shown list: marked records in table or sort order
    reschedule::schedule_list::DateStyle dates_ = reschedule::schedule_list::DateStyle::Default;
};

}  // namespace windows
