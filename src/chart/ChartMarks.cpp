#include "chart/ChartMarks.h"

#include "chart/ConflictTexts.h"
#include "chart/MarkPainters.h"

#include <QPainter>
#include <algorithm>

namespace chart {

namespace {
constexpr int kMaxLanes = 4;  // more overlapping bars share the last lane
}

ChartMarks::ChartMarks(ChartState& state, session::PlanWatch& watch, QObject* parent)
    : QObject(parent), state_(state), watch_(watch)
{
    connect(&watch_, &session::PlanWatch::updated, this, &ChartMarks::rebuildLanes);
}

void ChartMarks::prepare() { watch_.bringUpToDate(); }

// Bars that overlap on a row are stacked: each cluster of overlapping bars gets
// as many lanes as bars run at once, every bar the first lane free at its start.
void ChartMarks::rebuildLanes()
{
    const reschedule::ConflictIndex& index = watch_.conflicts();
    // Usually no bars overlap: nothing to stack, and no need to look.
    if (index.count(reschedule::ConflictKind::MachineOverlap) == 0 && !stacked_) return;
    stacked_ = index.count(reschedule::ConflictKind::MachineOverlap) != 0;
    overlapsOfRow_.assign(std::size_t(state_.planner().rows.machineRowCount()) + 1, {});
    std::vector<std::vector<int>> barsOfRow(overlapsOfRow_.size());
    const int bars = state_.barCount();
    for (const reschedule::Conflict& c : index.ofKind(reschedule::ConflictKind::MachineOverlap)) {
        if (c.first > bars || c.second > bars) continue;
        const BarVisual& b = state_.bar(c.first);
        if (!b.visible || b.surface != Surface::PlatForm || b.row <= 0 || std::size_t(b.row) >= overlapsOfRow_.size()) continue;
        overlapsOfRow_[std::size_t(b.row)].push_back(c);
        barsOfRow[std::size_t(b.row)].push_back(c.first);
        barsOfRow[std::size_t(b.row)].push_back(c.second);
    }
    std::vector<ChartState::Lane> lanes(std::size_t(bars) + 1);
    for (std::vector<int>& recs : barsOfRow) {
        if (recs.empty()) continue;
        std::sort(recs.begin(), recs.end(), [this](int a, int b) {
            const auto sa = state_.bar(a).startSec, sb = state_.bar(b).startSec;
            return sa != sb ? sa < sb : a < b;
        });
        recs.erase(std::unique(recs.begin(), recs.end()), recs.end());
        std::size_t k = 0;
        while (k < recs.size()) {
            // One cluster: bars until one starts after all before it have ended.
            std::vector<std::int64_t> laneEnds;
            std::size_t end = k;
            std::int64_t reach = state_.bar(recs[k]).endSec;
            for (; end < recs.size() && (end == k || state_.bar(recs[end]).startSec < reach); ++end) {
                const BarVisual& b = state_.bar(recs[end]);
                reach = std::max(reach, b.endSec);
                std::size_t lane = 0;
                while (lane < laneEnds.size() && laneEnds[lane] > b.startSec) ++lane;
                if (lane == laneEnds.size()) laneEnds.push_back(b.endSec);
                else laneEnds[lane] = b.endSec;
                lanes[std::size_t(recs[end])].lane = std::uint8_t(std::min<std::size_t>(lane, kMaxLanes - 1));
            }
            const auto count = std::uint8_t(std::min<std::size_t>(laneEnds.size(), kMaxLanes));
            for (std::size_t j = k; j < end; ++j) lanes[std::size_t(recs[j])].lanes = count;
            k = end;
        }
    }
    state_.setLanes(std::move(lanes));
}

void ChartMarks::paintBarMarks(QPainter& p, int recordNo, const QRect& rect) const
{
    const plan::PlanData& plan = state_.plan();
    if (recordNo < 2 || recordNo > plan.size()) return;
    paintFixedMark(p, rect, plan[recordNo].fixKind);
    ConflictKinds kinds = 0;
    for (const reschedule::Conflict& c : watch_.conflicts().of(recordNo)) kinds |= kindBit(int(c.kind));
    paintConflictBadges(p, rect, kinds);
}

void ChartMarks::paintRowMarks(QPainter& p, int row, const QRect& band, double fromX, double toX) const
{
    if (row >= 0 && std::size_t(row) < overlapsOfRow_.size())
        for (const reschedule::Conflict& c : overlapsOfRow_[std::size_t(row)]) {
            const double x1 = state_.xOf(c.from), x2 = state_.xOf(c.to);
            if (x2 < fromX || x1 > toX) continue;
            const int px1 = state_.xToPx(x1), px2 = std::max(px1 + 2, state_.xToPx(x2));
            paintOverlapHatch(p, QRect(px1, band.top() + 2, px2 - px1, band.height() - 4));
        }
    const core::Planner& pl = state_.planner();
    if (!loadStrip_ || !pl.rows.isMachineRow(row) || state_.scale().DayTwips <= 0) return;
    const reschedule::MachineLoad& load = watch_.load();
    // Day index 2 is the chart's first day.
    const int firstDay = std::max(0, int(fromX / state_.scale().DayTwips) + 1);
    const int lastDay = std::min(pl.calendarDays(), int(toX / state_.scale().DayTwips) + 3);
    for (int d = firstDay; d <= lastDay; ++d) {
        const core::Moment dayStart = state_.origin().addDays(d - 2);
        const int x1 = state_.xToPx(state_.xOf(dayStart)), x2 = state_.xToPx(state_.xOf(dayStart.addDays(1)));
        paintLoadCell(p, QRect(x1 + 1, band.top(), std::max(1, x2 - x1 - 1), LoadStripPx), load.at(row, d));
    }
}

QString ChartMarks::tipText(int recordNo, QPoint pos, const QString& text)
{
    prepare();
    const core::Planner& pl = state_.planner();
    const int row = state_.rowAtPx(pos.y());
    const core::Moment at = state_.momentAtX(state_.pxToX(pos.x()));
    const int day = core::dayIndexOf(pl, at);
    const bool machineDay = pl.rows.isMachineRow(row) && day >= 0 && day <= pl.calendarDays();
    const QString load = machineDay ? loadTipText(pl.rows.row(row).RowCode, pl.PeriodStart.addDays(day - 2), watch_.load().at(row, day)) : QString();
    const bool onStrip = loadStrip_ && machineDay && pos.y() - state_.rowTopPx(row) < LoadStripPx + 2;
    if (onStrip) return load;
    if (recordNo == 0) return text;
    QString out = text;
    for (const reschedule::Conflict& c : watch_.conflicts().of(recordNo))
        out += QLatin1Char('\n') + conflictTipLine(c, recordNo, state_.plan());
    return out;
}

}  // namespace chart
