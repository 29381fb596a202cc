#include "chart/ChartState.h"

#include "chart/ChartMarks.h"

#include "core/MostlySorted.h"

#include <algorithm>
#include <cmath>

namespace chart {

namespace {
core::BarFacts factsOf(const plan::PlanRecord& r)
{
    core::BarFacts f;
    f.endDate = r.endDate;
    f.initialDueDate = r.initialDueDate;
    f.isConfirmed = r.isConfirmed();
    f.isChanged = r.isChanged;
    f.instructionDate = r.instructionDate;
    f.itemCode2 = r.itemCode2;
    f.modelName = r.modelName;
    f.processName = r.processName;
    f.lastResultDate = r.lastResultDate;
    f.receivedQty = r.receivedQty;
    f.orderQty = r.orderQty;
    f.planItemCode = r.planItemCode;
    f.mouldShortName = r.mouldShortName;
    return f;
}

constexpr int MinBarWidthPx = 3;  // a zero-length bar must stay visible and clickable
}  // namespace

ChartState::ChartState(const core::ProgramSettings& settings, const core::Planner& planner, const plan::PlanData& plan)
    : settings_(settings), planner_(planner), plan_(plan)
{
    origin_ = core::chartOrigin(planner_.PeriodStart, planner_.DayChangeTime);
}

void ChartState::setScale(core::DisplayMode displayMode, double chartWidthTwips)
{
    scale_ = core::scaleForMode(displayMode, chartWidthTwips, scale_);
    origin_ = core::chartOrigin(planner_.PeriodStart, planner_.DayChangeTime);
    // Rescaling keeps the order of the bars in time, so the row index stays valid.
    // Bars still waiting for their position get it on the new scale when used.
    const int n = std::min(plan_.size(), barCount());
    for (int i = 2; i <= n; ++i) {
        BarVisual& b = bars_[std::size_t(i)];
        if (!b.visible || b.placeStale) continue;
        const plan::PlanRecord& r = plan_[i];
        placeGeometry(b, r.start(), r.end());
    }
}

double ChartState::periodWidthTwips() const
{
    const int days = std::max(1, planner_.PeriodStart.daysTo(planner_.PeriodEnd) + 1);
    return days * scale_.DayTwips;
}

double ChartState::dateTimeToX(core::Date d, core::TimeOfDay t, bool topStrip) const
{
    return xOf(core::Moment::of(d, t), topStrip);
}

double ChartState::xOf(core::Moment m, bool topStrip) const
{
    return double(core::dateTimeToX(origin_, m, topStrip ? scale_.HourTwipsTop : scale_.HourTwips));
}

core::Moment ChartState::momentAtX(double xTwips) const
{
    return scale_.HourTwips > 0 ? core::xToMoment(origin_, xTwips, scale_.HourTwips) : origin_;
}

double ChartState::getMachineRowY(const QString& destCode, const QString& machineCode) const
{
    const core::RowTable& rows = planner_.rows;
    const int machineRow = rows.findRow(machineCode);  // row 1 exactly when the code is blank
    if (machineRow != 1) return machineRow == 0 ? 0.0 : rows.row(machineRow).RowCenterY;
    // Work sent out stands on its supplier's row; anything else waits on row 1.
    const int r = rows.findRow(destCode);
    return rows.row(r > rows.CalendarMachineCount ? r : 1).RowCenterY;
}

namespace {
constexpr int kSliverPx = 6;
}  // namespace

void ChartState::placeGeometry(BarVisual& b, core::Moment start, core::Moment end) const
{
    const double hourTwips = b.surface == Surface::PlatForm2 ? scale_.HourTwipsTop : scale_.HourTwips;
    b.left = double(core::dateTimeToX(origin_, start, hourTwips));
    b.right = double(core::dateTimeToX(origin_, end, hourTwips));
    // A bar ending before its start (unreadable stored times) is drawn as a
    // sliver at its start, so that the planner can find it and move it.
    if (b.right < b.left) b.right = b.left + kSliverPx * core::TwipsPerPixel;
    b.progressWidth = b.progressVisible ? std::max(0.0, b.right - b.left) * b.progressRatio : 0;
}

void ChartState::refreshChart(int recordNo, int placementFlag)
{
    if (recordNo < 2) return;  // record 1 stands for no bar
    if (int(bars_.size()) <= std::max(recordNo, plan_.size())) bars_.resize(std::size_t(std::max(recordNo, plan_.size())) + 1);
    BarVisual& b = bars_[std::size_t(recordNo)];
    const bool wasVisible = b.visible;
    const int oldRow = b.row;
    const bool wasOn3 = b.surface == Surface::PlatForm3;
    const std::int64_t oldStart = b.startSec;

    // A record taken out by an undo has no bar any more.
    if (recordNo > plan_.size() || plan_[recordNo].isHidden()) {
        b.visible = false;
        if (wasVisible) moveInIndex(recordNo, oldRow, wasVisible, wasOn3);
        return;
    }
    const plan::PlanRecord& r = plan_[recordNo];

    if (placementFlag == 0) {
        // A push moves hundreds of bars along their row: the row (and the surface
        // found with it) stays while the codes are the same.
        const auto same = [](const QString& a, const QString& b) {
            return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
        };
        if (!wasVisible || !same(r.machineCode, b.rowMachineCode) || !same(r.destCode, b.rowDestCode)) {
            b.rowY = getMachineRowY(r.destCode, r.machineCode);
            b.rowMachineCode = r.machineCode;
            b.rowDestCode = r.destCode;
            b.surface = b.rowY >= 300 ? Surface::PlatForm : Surface::PlatForm3;
            b.row = b.surface == Surface::PlatForm ? planner_.rows.rowAtY(b.rowY) : 0;
        }
    }

    b.visible = true;
    b.height = BarHeightTwips;
    b.top = b.surface == Surface::PlatForm ? b.rowY - BarHeightTwips / 2 : (core::RowTable::RowHeightTwips - BarHeightTwips) / 2;
    b.startSec = r.start().seconds();
    b.endSec = r.end().seconds();
    // Position and colours when the bar is next used, the caption when it is next
    // painted (a push moves many bars out of view).
    b.placeStale = true;
    b.captionStale = true;

    const bool on3 = b.surface == Surface::PlatForm3;
    if (!wasVisible || oldRow != b.row || wasOn3 != on3) {
        moveInIndex(recordNo, oldRow, wasVisible, wasOn3);
    } else if (const std::size_t li = on3 ? 0 : std::size_t(b.row); li < rowLongestSec_.size()) {
        // Same list: a new start only puts it out of order (a push moves hundreds
        // of bars along one row; searching the list for each would be quadratic).
        if (oldStart != b.startSec) rowSorted_[li] = 0;
        rowLongestSec_[li] = std::max(rowLongestSec_[li], b.endSec - b.startSec);
    }
}

// A push reports hundreds of bars that kept their row and only moved along
// it: those take the short way, every other record the whole refreshChart.
void ChartState::refreshBars(const std::vector<int>& records)
{
    const std::size_t needed = std::size_t(plan_.size()) + 1;
    if (bars_.size() < needed) bars_.resize(needed);
    const auto sameText = [](const QString& a, const QString& b) { return a.constData() == b.constData() && a.size() == b.size(); };
    for (int rec : records) {
        if (rec < 2 || rec > plan_.size()) {
            refreshChart(rec);
            continue;
        }
        const plan::PlanRecord& r = plan_[rec];
        BarVisual& b = bars_[std::size_t(rec)];
        const std::size_t li = std::size_t(b.row);
        if (!b.visible || r.isHidden() || b.surface != Surface::PlatForm || li >= rowLongestSec_.size() ||
            !sameText(r.machineCode, b.rowMachineCode) || !sameText(r.destCode, b.rowDestCode)) {
            refreshChart(rec);
            continue;
        }
        const std::int64_t start = r.start().seconds();
        if (start != b.startSec) rowSorted_[li] = 0;
        b.startSec = start;
        b.endSec = r.end().seconds();
        b.placeStale = true;
        b.captionStale = true;
        rowLongestSec_[li] = std::max(rowLongestSec_[li], b.endSec - b.startSec);
    }
}

void ChartState::completeBar(int recordNo, BarVisual& b) const
{
    b.placeStale = false;
    if (recordNo < 2 || recordNo > plan_.size()) return;  // taken out by an undo: nothing to show
    const plan::PlanRecord& r = plan_[recordNo];
    b.look.dueClass = core::dueClassOf(r.endDate, r.initialDueDate);
    b.look.background = core::backgroundOf(b.look.dueClass);
    b.look.text = core::textColourOf(r.isConfirmed(), settings_.IniOption5);
    b.look.changedMark = r.isChanged;
    b.progressVisible = r.orderQty != 0;
    // More received than ordered would paint the overlay over the next bar.
    b.progressRatio = b.progressVisible ? std::clamp(double(r.receivedQty) / double(r.orderQty), 0.0, 1.0) : 0;
    placeGeometry(b, r.start(), r.end());
}

const BarVisual& ChartState::paintedBar(int recordNo)
{
    BarVisual& b = bars_[std::size_t(recordNo)];
    if (b.placeStale) completeBar(recordNo, b);
    if (b.captionStale) {
        core::fillBarCaption(b.look, factsOf(plan_[recordNo]), settings_.IniOption6);
        b.captionStale = false;
    }
    return b;
}

void ChartState::setOffCalendar(const std::vector<int>& records)
{
    offCalendar_.clear();
    for (int rec : records) {
        if (rec < 0) continue;
        if (offCalendar_.size() <= std::size_t(rec)) offCalendar_.resize(std::size_t(rec) + 1, 0);
        offCalendar_[std::size_t(rec)] = 1;
    }
}

void ChartState::ensureIndex()
{
    const std::size_t n = std::size_t(planner_.rows.machineRowCount()) + 1;
    if (rowBars_.size() == n) return;
    rowBars_.resize(n);
    rowSorted_.resize(n, 1);
    rowLongestSec_.resize(n, 0);
}

void ChartState::refreshAll()
{
    rowBars_.clear();
    rowSorted_.clear();
    rowLongestSec_.clear();
    ensureIndex();
    bars_.assign(std::size_t(plan_.size()) + 1, BarVisual{});
    // Every bar starts invisible and out of the index, so each one is added once.
    for (int i = 2; i <= plan_.size(); ++i) refreshChart(i);
}

std::vector<int>& ChartState::rowList(int row, bool unplacedStrip)
{
    return rowBars_[unplacedStrip ? 0 : std::size_t(row)];
}

void ChartState::moveInIndex(int recordNo, int oldRow, bool oldVisible, bool oldOn3)
{
    ensureIndex();
    if (oldVisible) {
        auto& old = rowList(oldRow, oldOn3);
        auto it = std::find(old.begin(), old.end(), recordNo);
        if (it != old.end()) old.erase(it);
    }
    const BarVisual& b = bars_[std::size_t(recordNo)];
    if (!b.visible) return;
    const bool on3 = b.surface == Surface::PlatForm3;
    const std::size_t li = on3 ? 0 : std::size_t(b.row);
    if (li >= rowBars_.size()) return;
    rowBars_[li].push_back(recordNo);
    rowSorted_[li] = 0;
    rowLongestSec_[li] = std::max(rowLongestSec_[li], b.endSec - b.startSec);
}

void ChartState::sortIfNeeded(int li) const
{
    if (rowSorted_[std::size_t(li)]) return;
    auto& list = rowBars_[std::size_t(li)];
    const auto before = [this](int a, int b) {
        const auto sa = bars_[std::size_t(a)].startSec, sb = bars_[std::size_t(b)].startSec;
        return sa != sb ? sa < sb : a < b;  // equal starts paint in table order
    };
    // Bars come in at the end of their row's list and a push keeps the order of the bars it moves.
    core::sortMostlySorted(list.begin(), list.end(), before);
    rowSorted_[std::size_t(li)] = 1;
}

std::vector<int> ChartState::barsInView(int row, double fromX, double toX) const
{
    std::vector<int> out;
    if (row < 0 || row >= int(rowBars_.size())) return out;
    sortIfNeeded(row);
    const auto& list = rowBars_[std::size_t(row)];
    if (list.empty()) return out;
    // Widen by the minimum bar width and a minute of rounding on either side.
    const double margin = MinBarWidthPx * core::TwipsPerPixel;
    const std::int64_t fromSec = momentAtX(fromX - margin).seconds() - 60 - rowLongestSec_[std::size_t(row)];
    const std::int64_t toSec = momentAtX(toX + margin).seconds() + 60;
    auto first = std::lower_bound(list.begin(), list.end(), fromSec,
                                  [this](int rec, std::int64_t s) { return bars_[std::size_t(rec)].startSec < s; });
    out.reserve(std::min<std::size_t>(std::size_t(list.end() - first), 256));  // a screenful of bars in one allocation
    for (auto it = first; it != list.end(); ++it) {
        if (bars_[std::size_t(*it)].startSec > toSec) break;
        const BarVisual& b = bar(*it);  // only bars in the range get their position
        const double right = std::max(b.right, b.left + margin);
        if (right >= fromX && b.left <= toX) out.push_back(*it);
    }
    return out;
}

void ChartState::setScroll(int scrollXPx, int firstRowOffset)
{
    scrollXPx_ = scrollXPx;
    firstRowOffset_ = firstRowOffset;
}

int ChartState::xToPx(double xTwips) const { return core::pxOfTwips(xTwips) - scrollXPx_; }
double ChartState::pxToX(int px) const { return double(px + scrollXPx_) * core::TwipsPerPixel; }
int ChartState::rowTopPx(int row) const { return (row - 1 - firstRowOffset_) * RowHeightPx; }

int ChartState::rowAtPx(int py) const
{
    return planner_.rows.rowAtY(double(py + firstRowOffset_ * RowHeightPx) * core::TwipsPerPixel);
}

QRect ChartState::barRectPx(int recordNo) const
{
    const BarVisual& b = bar(recordNo);
    const int x = xToPx(b.left);
    const int w = std::max(MinBarWidthPx, xToPx(b.right) - x);
    const int h = int(b.height) / core::TwipsPerPixel;
    const int y = b.surface == Surface::PlatForm ? core::pxOfTwips(b.top) - firstRowOffset_ * RowHeightPx : core::pxOfTwips(b.top);
    const Lane lane = b.surface == Surface::PlatForm ? laneOf(recordNo) : Lane{};
    if (lane.lanes > 1) {
        const int laneHeight = h / lane.lanes;
        return QRect(x, y + lane.lane * laneHeight, w, laneHeight);
    }
    return QRect(x, y, w, h);
}

int ChartState::barAtPx(Surface surface, int px, int py) const
{
    if (marks) marks->prepare();  // the lanes as they are drawn
    int list = 0;
    if (surface == Surface::PlatForm) {
        list = rowAtPx(py);
        if (list == 0) return 0;
    }
    const auto candidates = barsInView(list, pxToX(px), pxToX(px + 1));
    for (auto it = candidates.rbegin(); it != candidates.rend(); ++it)  // topmost first
        if (barRectPx(*it).contains(px, py)) return *it;
    return 0;
}

void ChartState::setSelectedRecord(int recordNo)
{
    selected_ = recordNo;
}

}  // namespace chart
