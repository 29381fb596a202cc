#pragma once
// The chart's state shared by its surfaces: the scale of the display mode, the
// scroll position, a cached look of every bar (refreshChart) and an index of
// the bars of each row ordered by start, so that painting and hit tests touch
// only what is in view.

#include "chart/BarVisual.h"
#include "core/ChartGeometry.h"
#include "core/ProgramSettings.h"
#include "core/WorkingTime.h"
#include "plan/PlanData.h"

#include <QRect>
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace chart {

class ChartMarks;

// What a bar drag shows before the drop changes anything.
struct DragPreview {
    bool active = false;
    int recordNo = 0;
    QRect barPx;            // the dragged bar, in PlatForm pixels
    int targetRow = 0;      // row highlighted under the pointer; 0 none
    bool guideVisible = false;
    double guideX = 0;      // twips: the start the bar will get
    QString guideText;
};

class ChartState {
public:
    static constexpr int DefaultVisibleRows = 10;
    static constexpr int RowHeightPx = core::RowTable::RowHeightTwips / core::TwipsPerPixel;

    ChartState(const core::ProgramSettings& settings, const core::Planner& planner, const plan::PlanData& plan);

    const core::ProgramSettings& settings() const { return settings_; }
    const core::Planner& planner() const { return planner_; }
    const plan::PlanData& plan() const { return plan_; }

    // Scale and origin (dispGantt). Repositions every bar without rebuilding looks.
    const core::ChartScale& scale() const { return scale_; }
    core::Moment origin() const { return origin_; }
    void setScale(core::DisplayMode displayMode, double chartWidthTwips);
    // Twips of the whole display period at the current scale.
    double periodWidthTwips() const;

    // dateTimeToX on the chart's origin; kind "2" uses the top strip's scale.
    double dateTimeToX(core::Date d, core::TimeOfDay t, bool topStrip = false) const;
    double xOf(core::Moment m, bool topStrip = false) const;
    core::Moment momentAtX(double xTwips) const;

    // Centre Y of the record's row: a supplier destination stands on its own
    // row, a machine on its machine's row, no machine on row 1; 0 = no row.
    double getMachineRowY(const QString& destCode, const QString& machineCode) const;

    // Brings the bar of a record up to date; placementFlag 0 places it on its row's surface.
    void refreshChart(int recordNo, int placementFlag = 0);
    // The bars of the records a step reported, in one pass.
    void refreshBars(const std::vector<int>& records);
    // Every record again (after a load, undo or redo).
    void refreshAll();
    // The bar with its position and colours up to date.
    const BarVisual& bar(int recordNo) const
    {
        BarVisual& b = bars_[std::size_t(recordNo)];
        if (b.placeStale) completeBar(recordNo, b);
        return b;
    }
    // The bar with its caption lines built (for painting).
    const BarVisual& paintedBar(int recordNo);
    int barCount() const { return int(bars_.size()) - 1; }
    // The schedule list's mark: the bar stands on a row of the chart (a machine,
    // a supplier or the unplaced row), not apart on PlatForm3.
    bool inScheduleList(int recordNo) const
    {
        return recordNo >= 2 && recordNo < int(bars_.size()) && bars_[std::size_t(recordNo)].visible &&
               bars_[std::size_t(recordNo)].surface == Surface::PlatForm;
    }

    // Scroll position mirrored from timeScrollBar (pixels) and rowScrollBar (first row - 1).
    int scrollXPx() const { return scrollXPx_; }
    int firstRowOffset() const { return firstRowOffset_; }
    void setScroll(int scrollXPx, int firstRowOffset);
    int firstVisibleRow() const { return firstRowOffset_ + 1; }
    // Whole rows the chart has room for; the view sets it from its height.
    int visibleRows() const { return visibleRows_; }
    void setVisibleRows(int rows) { visibleRows_ = std::max(1, rows); }

    // Pixel geometry on the surfaces.
    int xToPx(double xTwips) const;          // surface pixel of a chart X
    double pxToX(int px) const;              // chart X of a surface pixel
    int rowTopPx(int row) const;             // PlatForm pixel of a row's band top
    int rowAtPx(int py) const;               // row under a PlatForm pixel; 0 below the last row

    // Bars of a row (or of PlatForm3 with row 0) that overlap [fromX, toX) twips, in paint order.
    std::vector<int> barsInView(int row, double fromX, double toX) const;
    // Topmost bar of the surface at a pixel; 0 when none.
    int barAtPx(Surface surface, int px, int py) const;
    // Pixel rectangle of a record's bar on its surface.
    QRect barRectPx(int recordNo) const;

    DragPreview dragPreview;

    // Bars a changed calendar day left off their machine's calendar (marked).
    void setOffCalendar(const std::vector<int>& records);
    bool isOffCalendar(int recordNo) const
    {
        return recordNo >= 0 && std::size_t(recordNo) < offCalendar_.size() && offCalendar_[std::size_t(recordNo)];
    }

    int selectedRecord() const { return selected_; }
    void setSelectedRecord(int recordNo);

    // Bars that overlap on a machine share the row's height: lane k of n.
    // Set by the marks whenever the conflicts were checked again.
    struct Lane {
        std::uint8_t lane = 0;
        std::uint8_t lanes = 1;
    };
    void setLanes(std::vector<Lane> lanes) { lanes_ = std::move(lanes); }
    Lane laneOf(int recordNo) const
    {
        return recordNo >= 0 && std::size_t(recordNo) < lanes_.size() ? lanes_[std::size_t(recordNo)] : Lane{};
    }
    // Conflict marks, fixed marks and the load strip (none in a bare chart).
    ChartMarks* marks = nullptr;

private:
    void placeGeometry(BarVisual& b, core::Moment start, core::Moment end) const;
    void completeBar(int recordNo, BarVisual& b) const;
    void moveInIndex(int recordNo, int oldRow, bool oldVisible, bool oldOn3);
    std::vector<int>& rowList(int row, bool unplacedStrip);
    void sortIfNeeded(int listIndex) const;
    void ensureIndex();

    const core::ProgramSettings& settings_;
    const core::Planner& planner_;
    const plan::PlanData& plan_;
    core::ChartScale scale_;
    core::Moment origin_;
    mutable std::vector<BarVisual> bars_;  // by record number; 0 unused; completed on use

    // Bars per row (index 0 holds PlatForm3), kept sorted by start on demand.
    mutable std::vector<std::vector<int>> rowBars_;
    mutable std::vector<char> rowSorted_;
    std::vector<std::int64_t> rowLongestSec_;  // longest bar of each list, for range queries

    int scrollXPx_ = 0;
    int firstRowOffset_ = 0;
    int visibleRows_ = DefaultVisibleRows;
    int selected_ = 0;
    std::vector<char> offCalendar_;  // by record number
    std::vector<Lane> lanes_;        // by record number
};

}  // namespace chart
