#include "windows/ScheduleListWindow.h"

#include "chart/BarPainter.h"
#include "chart/ChartState.h"
#include "chart/MainForm.h"
#include "core/ChartGeometry.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace windows {

namespace sl = reschedule::schedule_list;

namespace {
// Where the list opens when it has no place of its own yet (twips, from the screen's corner).
constexpr int kDefaultTopTwips = 3705;
constexpr int kDefaultLeftTwips = 540;

bool isNumberColumn(int c) { return c == sl::ColSystemId || c == sl::ColOrderNo || c == sl::ColSeq || c == sl::ColOrderQty; }
}  // namespace

// ScheduleListModel ---------------------------------------------------------

void ScheduleListModel::setRecords(std::vector<int> records, sl::DateStyle dates)
{
    if (records == records_ && dates == dates_) {
        refreshTexts();
        return;
    }
    beginResetModel();
    records_ = std::move(records);
    dates_ = dates;
    endResetModel();
}

void ScheduleListModel::refreshTexts()
{
    if (!records_.empty()) emit dataChanged(index(0, 0), index(int(records_.size()) - 1, sl::ColumnCount - 1));
}

int ScheduleListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(records_.size()); }
int ScheduleListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : sl::ColumnCount; }

QVariant ScheduleListModel::data(const QModelIndex& index, int role) const
{
    const int rec = recordAt(index.row());
    if (rec < 2 || rec > plan_.size()) return {};
    if (role == Qt::DisplayRole) return sl::cellText(plan_[rec], index.column(), dates_);
    if (role == Qt::TextAlignmentRole)
        return int((isNumberColumn(index.column()) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return {};
}

QVariant ScheduleListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < sl::ColumnCount)
        return sl::headers().at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

// ScheduleListWindow --------------------------------------------------------

ScheduleListWindow::ScheduleListWindow(chart::MainForm& form) : QWidget(&form, Qt::Window), form_(form)
{
    setObjectName(QStringLiteral("frmYoteiIchiran"));
    setWindowTitle(QStringLiteral("予定一覧"));
    setFont(chart::chartFont(13));
    buildLayout();
    resize(1120, 460);
    connect(&form_.session(), &session::PlanSession::recordsChanged, this, &ScheduleListWindow::followPlan);
    // A new plan: its record numbers mean other orders.
    connect(&form_.session(), &session::PlanSession::planReset, this, [this] {
        marked_.clear();
        followPlan({});
    });
}

void ScheduleListWindow::buildLayout()
{
    const auto box = [this](const QString& name, int width) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setFixedWidth(width);
        connect(e, &QLineEdit::returnPressed, this, &ScheduleListWindow::search);  // Enter in any box searches
        return e;
    };
    txtHinmeiCd = box(QStringLiteral("txtHinmeiCd"), 150);
    txtKanagata = box(QStringLiteral("txtKanagata"), 150);
    txtSeizouIrai = box(QStringLiteral("txtSeizouIrai"), 150);
    // The plan table holds no manufacturing request number: nothing to search by.
    txtSeizouIrai->setEnabled(false);
    txtSeizouIrai->setToolTip(QStringLiteral("計画データに製造依頼番号がないため、検索条件には使用しません"));
    txtYYMMDD_St = box(QStringLiteral("txtYYMMDD_St"), 110);
    txtYYMMDD_Ed = box(QStringLiteral("txtYYMMDD_Ed"), 110);
    cmdKensaku = new QPushButton(QStringLiteral("検索"), this);
    cmdKensaku->setObjectName(QStringLiteral("cmdKensaku"));
    cmdCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdKensaku, &QPushButton::clicked, this, &ScheduleListWindow::search);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);

    auto* inputs = new QGridLayout;
    const auto label = [this](const QString& text) {
        auto* l = new QLabel(text, this);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    inputs->addWidget(label(QStringLiteral("品名コード：")), 0, 0);
    inputs->addWidget(txtHinmeiCd, 0, 1);
    inputs->addWidget(label(QStringLiteral("金型：")), 0, 2);
    inputs->addWidget(txtKanagata, 0, 3);
    inputs->addWidget(label(QStringLiteral("製造依頼番号：")), 0, 4);
    inputs->addWidget(txtSeizouIrai, 0, 5);
    inputs->addWidget(label(QStringLiteral("納期：")), 1, 0);
    auto* dates = new QHBoxLayout;
    dates->addWidget(txtYYMMDD_St);
    dates->addWidget(new QLabel(QStringLiteral("～"), this));
    dates->addWidget(txtYYMMDD_Ed);
    dates->addStretch(1);
    inputs->addLayout(dates, 1, 1, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdKensaku);
    buttons->addWidget(cmdCancel);
    inputs->addLayout(buttons, 1, 4, 1, 2);
    inputs->setColumnStretch(6, 1);

    model_ = new ScheduleListModel(form_.session().plan(), this);
    livIchiran = new QTableView(this);
    livIchiran->setObjectName(QStringLiteral("livIchiran"));
    livIchiran->setModel(model_);
    livIchiran->setFont(chart::chartFont(12));
    livIchiran->setSelectionBehavior(QAbstractItemView::SelectRows);
    livIchiran->setSelectionMode(QAbstractItemView::SingleSelection);
    livIchiran->setEditTriggers(QAbstractItemView::NoEditTriggers);
    livIchiran->setAlternatingRowColors(true);
    livIchiran->setWordWrap(false);
    livIchiran->verticalHeader()->hide();
    livIchiran->verticalHeader()->setDefaultSectionSize(20);
    livIchiran->horizontalHeader()->setSectionsClickable(true);
    livIchiran->horizontalHeader()->setHighlightSections(false);
    static const int widths[sl::ColumnCount] = {70, 80, 110, 180, 44, 100, 80, 84, 84, 70, 90, 100};
    for (int c = 0; c < sl::ColumnCount; ++c) livIchiran->setColumnWidth(c, widths[c]);
    connect(livIchiran->horizontalHeader(), &QHeaderView::sectionClicked, this, &ScheduleListWindow::sortBy);
    connect(livIchiran, &QTableView::doubleClicked, this, &ScheduleListWindow::openRecord);

    auto* column = new QVBoxLayout(this);
    column->addLayout(inputs);
    column->addWidget(livIchiran, 1);
}

bool ScheduleListWindow::isMarked(int recordNo) const { return form_.chartState().inScheduleList(recordNo); }

void ScheduleListWindow::takeMarked()
{
    const plan::PlanData& plan = form_.session().plan();
    const std::vector<int> now = sl::markedRecords(plan, [this](int i) { return isMarked(i); });
    if (marked_.empty()) {
        marked_ = now;
        return;
    }
    // Those shown already keep their place; newly marked ones come after them.
    std::vector<char> isNow(std::size_t(plan.size()) + 1, 0), kept(std::size_t(plan.size()) + 1, 0);
    for (int i : now) isNow[std::size_t(i)] = 1;
    std::vector<int> next;
    next.reserve(now.size());
    for (int i : marked_)
        if (i <= plan.size() && isNow[std::size_t(i)] && !kept[std::size_t(i)]) {
            next.push_back(i);
            kept[std::size_t(i)] = 1;
        }
    for (int i : now)
        if (!kept[std::size_t(i)]) next.push_back(i);
    marked_ = std::move(next);
}

sl::Criteria ScheduleListWindow::rememberedCriteria() const
{
    const core::ScheduleListMemory& mem = form_.session().settings().scheduleList;
    const sl::DueDateCheck dates = sl::checkDueDates(mem.fromDate, mem.toDate);
    return sl::Criteria{mem.itemCode, mem.mould, dates.from, dates.to};
}

void ScheduleListWindow::refill(sl::DateStyle dates)
{
    const core::ScheduleListMemory& mem = form_.session().settings().scheduleList;
    const plan::PlanData& plan = form_.session().plan();
    std::vector<int> rows;
    if (mem.searchActive) {
        const sl::Criteria c = rememberedCriteria();
        for (int i : marked_)
            if (sl::matches(plan[i], c)) rows.push_back(i);
    } else {
        rows = marked_;
    }
    // The record the planner is on stays selected.
    const int current = model_->recordAt(livIchiran->currentIndex().row());
    dates_ = dates;
    model_->setRecords(std::move(rows), dates);
    const auto& shown = model_->records();
    const auto at = std::find(shown.begin(), shown.end(), current);
    if (current != 0 && at != shown.end()) livIchiran->selectRow(int(at - shown.begin()));
}

void ScheduleListWindow::putSearchInputsBack()
{
    const core::ScheduleListMemory& mem = form_.session().settings().scheduleList;
    txtHinmeiCd->setText(mem.itemCode);
    txtSeizouIrai->setText(mem.request);
    txtKanagata->setText(mem.mould);
    txtYYMMDD_St->setText(mem.fromDate);
    txtYYMMDD_Ed->setText(mem.toDate);
}

bool ScheduleListWindow::preShow()
{
    core::ScheduleListMemory& mem = form_.session().settings().scheduleList;
    if (mem.top == 0 && mem.left == 0) {
        mem.top = kDefaultTopTwips;
        mem.left = kDefaultLeftTwips;
    }
    move(mem.left / core::TwipsPerPixel, mem.top / core::TwipsPerPixel);

    marked_.clear();
    takeMarked();
    if (marked_.empty()) {
        model_->setRecords({}, sl::DateStyle::Default);
        mem.forgetPosition();
        mem.shown = false;
        hide();
        form_.prompt().tell(sl::nothingToShow());
        return false;
    }
    if (mem.searchActive) {
        putSearchInputsBack();
    } else if (!mem.sortActive || txtYYMMDD_St->text().isEmpty()) {
        // Sorted only, in a window that never searched: the period, as at a first fill.
        txtYYMMDD_St->setText(form_.planner().PeriodStart.toDisplayText());
        txtYYMMDD_Ed->setText(form_.planner().PeriodEnd.toDisplayText());
    }
    // The last search and sort again, over what the chart shows now.
    if (mem.sortActive) sl::sortRecords(form_.session().plan(), marked_, mem.sortColumn, mem.sortDescending);
    refill(mem.sortActive ? sl::DateStyle::Short : sl::DateStyle::Default);
    livIchiran->horizontalHeader()->setSortIndicatorShown(mem.sortActive);
    if (mem.sortActive)
        livIchiran->horizontalHeader()->setSortIndicator(mem.sortColumn, mem.sortDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
    mem.shown = true;
    show();
    raise();
    activateWindow();
    return true;
}

void ScheduleListWindow::search()
{
    const sl::DueDateCheck check = sl::checkDueDates(txtYYMMDD_St->text(), txtYYMMDD_Ed->text());
    if (!check.ok()) {
        form_.prompt().tell(check.message, sl::dateErrorTitle(), core::Prompt::Icon::Warning);
        QLineEdit* wrong = check.from.isNull() ? txtYYMMDD_St : txtYYMMDD_Ed;
        wrong->setFocus();
        wrong->selectAll();
        return;
    }
    core::ScheduleListMemory& mem = form_.session().settings().scheduleList;
    mem.itemCode = txtHinmeiCd->text().trimmed();
    mem.request = txtSeizouIrai->text().trimmed();
    mem.mould = txtKanagata->text().trimmed();
    mem.fromDate = txtYYMMDD_St->text().trimmed();
    mem.toDate = txtYYMMDD_Ed->text().trimmed();
    mem.searchActive = true;
    refill(sl::DateStyle::Default);
}

void ScheduleListWindow::sortBy(int column)
{
    if (column < 0 || column >= sl::ColumnCount) return;
    core::ScheduleListMemory& mem = form_.session().settings().scheduleList;
    const bool descending = mem.sortActive && mem.sortColumn == column ? !mem.sortDescending : false;
    sl::sortRecords(form_.session().plan(), marked_, column, descending);
    mem.sortActive = true;
    mem.sortColumn = column;
    mem.sortDescending = descending;
    // The list stays narrowed to the search its boxes show.
    if (mem.searchActive) putSearchInputsBack();
    refill(sl::DateStyle::Short);
    livIchiran->horizontalHeader()->setSortIndicatorShown(true);
    livIchiran->horizontalHeader()->setSortIndicator(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void ScheduleListWindow::followPlan(const std::vector<int>&)
{
    if (!isVisible()) return;  // filled anew when opened again
    takeMarked();
    const core::ScheduleListMemory& mem = form_.session().settings().scheduleList;
    if (mem.sortActive) sl::sortRecords(form_.session().plan(), marked_, mem.sortColumn, mem.sortDescending);
    refill(dates_);
}

void ScheduleListWindow::openRecord(const QModelIndex& index)
{
    const int rec = model_->recordAt(index.row());
    if (rec < 2 || rec > form_.session().plan().size()) return;
    form_.showRecord(rec);
    emit form_.detailRequested(rec);
}

void ScheduleListWindow::closeEvent(QCloseEvent* e)
{
    core::ScheduleListMemory& mem = form_.session().settings().scheduleList;
    mem.top = pos().y() * core::TwipsPerPixel;
    mem.left = pos().x() * core::TwipsPerPixel;
    mem.shown = false;
    QWidget::closeEvent(e);
}

void ScheduleListWindow::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}

}  // namespace windows
