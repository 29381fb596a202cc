#pragma once
// The chart part of the main window: the frame Picture1 with the surfaces
// PlatForm2 (four-week strip), DayDispArea (day captions), PlatForm3 (bars on
// no row) and PlatForm (the rows), the row headers, the scroll bars KScroll and
// HScroll1, the hover tip GradeName and the mouse handling on the chart.

#include "chart/ChartState.h"

#include <QWidget>
#include <functional>
#include <optional>

class QFrame;
class QLabel;
class QScrollBar;
class QTimer;
class QMouseEvent;
class QWheelEvent;

namespace chart {

class PlatForm;
class PlatForm2;
class PlatForm3;
class DayDispArea;
class RowHeaderColumn;

// A bar released over the chart: where it should go. The view changes nothing
// in the plan; the window applies the rules.
struct BarDrop {
    int recordNo = 0;
    QString newKikai;          // code of the row under the pointer; empty below the last row
    double newLeftTwips = 0;   // the bar's new left edge on the chart
    int targetRecord = 0;      // a bar under the pointer (a merge), 0 for the background
};

class GanttView : public QWidget {
    Q_OBJECT
public:
    explicit GanttView(ChartState& state, QWidget* parent = nullptr);
    ~GanttView() override;

    ChartState& state() { return state_; }

    // Display modes (DispDay .. DispMonth set the mode, Disp_Gantt applies it).
    void DispDay() { setDisplayMode(1); }
    void Disp3Day() { setDisplayMode(2); }
    void DispWeek() { setDisplayMode(3); }
    void DispMonth() { setDisplayMode(4); }
    void setDisplayMode(int mode);
    void Disp_Gantt();
    int DisplayMode() const { return displayMode_; }
    double ChartWidth() const;  // twips: the width of Picture1

    // After the rows or bars changed: scroll ranges, headers, repaint.
    void refreshLayout();
    void repaintChart();
    // Shows the record's bar: scrolls its row and start into view.
    void scrollToRecord(int recordNo);
    // The time at the chart's left edge stays put while the scale changes.
    void scrollToMoment(core::Moment m);

    // Where a dragged bar would start, for the guide; nullopt when it cannot be placed.
    std::function<std::optional<core::Moment>(int recordNo, const QString& newKikai, double newLeftTwips)> previewStart;

    // Whether a bar may be dragged (PlanBar_MouseDown); by default all but fully fixed bars.
    std::function<bool(int recordNo)> canStartBarDrag;

    // Interaction state of the chart (mouse handling).
    int DragMode = 0;          // 0 idle, 1 bar drag, 2 grid-row drag, 3 grab-scroll
    int DragBarIndex = 0;
    double DragOffsetX = 0;    // twips
    QString DragStartKikai;

    QFrame* Picture1 = nullptr;
    PlatForm* platForm = nullptr;
    PlatForm2* platForm2 = nullptr;
    PlatForm3* platForm3 = nullptr;
    DayDispArea* dayDispArea = nullptr;
    RowHeaderColumn* LineName2 = nullptr;
    QScrollBar* KScroll = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QTimer* TimerHScrollAc = nullptr;
    QLabel* GradeName = nullptr;
    QLabel* lblPeriodStart = nullptr;

signals:
    void barClicked(int recordNo);
    void barContextMenu(int recordNo, QPoint globalPos, QPoint chartPos);
    void backgroundContextMenu(int row, core::Moment at, QPoint globalPos);
    void rowHeaderActivated(int row);
    void barDropped(const BarDrop& drop);
    void displayModeChanged(int mode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onScroll();
    void updateScrollRanges();
    bool surfaceMouse(QWidget* surface, QEvent* event);
    void pressOnSurface(QWidget* surface, QMouseEvent* e);
    void moveOnSurface(QWidget* surface, QMouseEvent* e);
    void releaseOnSurface(QWidget* surface, QMouseEvent* e);
    void wheelOnChart(QWheelEvent* e);
    void showTip(QWidget* surface, QPoint pos);
    void hideTip();
    // Bar drags.
    void beginBarDrag(QWidget* surface, int recordNo, QPoint pos);
    void updateDragPreview(QPoint viewPos);
    void finishBarDrag(QPoint viewPos);
    void cancelBarDrag();
    void autoScrollTick();

    ChartState& state_;
    int displayMode_ = 3;
    int lastPictureWidth_ = 0;
    // Grab-scroll and drag bookkeeping.
    QPoint pressViewPos_;
    QPoint lastViewPos_;
    int pressHScroll_ = 0;
    int pressKScroll_ = 0;
    bool dragMoved_ = false;
    int autoScrollStep_ = 0;
};

}  // namespace chart
