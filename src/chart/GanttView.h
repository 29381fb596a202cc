#pragma once
// The chart part of the main window: the frame chartFrame with the surfaces
// PlatForm2 (four-week strip), DayDispArea (day captions), PlatForm3 (bars on
// no row) and PlatForm (the rows), the row headers, the scroll bars rowScrollBar and
// timeScrollBar, the hover tip hoverTip and the mouse handling on the chart.

#include "chart/ChartState.h"
#include "reschedule/BarMove.h"

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

// What the mouse is doing on the chart.
enum class DragKind { Idle, Bar, GridRow, GrabScroll };

class GanttView : public QWidget {
    Q_OBJECT
public:
    explicit GanttView(ChartState& state, QWidget* parent = nullptr);
    ~GanttView() override;

    ChartState& state() { return state_; }

    // Display modes (showOneDay .. showFourWeeks set the mode, dispGantt applies it).
    void showOneDay() { setDisplayMode(core::DisplayMode::OneDay); }
    void showThreeDays() { setDisplayMode(core::DisplayMode::ThreeDays); }
    void showWeek() { setDisplayMode(core::DisplayMode::Week); }
    void showFourWeeks() { setDisplayMode(core::DisplayMode::FourWeeks); }
    void setDisplayMode(core::DisplayMode mode);
    void dispGantt();
    core::DisplayMode displayMode() const { return displayMode_; }
    double chartWidth() const;  // twips: the width of chartFrame

    // The view's height for a number of whole chart rows, and the rows a height holds.
    int heightForRows(int rows) const;
    int rowsForHeight(int height) const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // After the rows or bars changed: scroll ranges, headers, repaint.
    void refreshLayout();
    void repaintChart();
    // Shows the record's bar: scrolls its row and start into view.
    void scrollToRecord(int recordNo);
    // The time at the chart's left edge stays put while the scale changes.
    void scrollToMoment(core::Moment m);

    // A bar of recordNo released with its left edge at newLeftTwips on the row of
    // newKikai (empty below the last row), as the rules take it.
    reschedule::BarDrop dropOf(int recordNo, const QString& newKikai, double newLeftTwips) const;
    // Where a dragged bar would start, for the guide; nullopt when it cannot be placed.
    std::function<std::optional<core::Moment>(const reschedule::BarDrop& drop)> previewStart;

    // Interaction state of the chart (mouse handling).
    DragKind DragMode = DragKind::Idle;
    int DragBarIndex = 0;
    double DragOffsetX = 0;    // twips
    QString DragStartKikai;

    QFrame* chartFrame = nullptr;
    PlatForm* rowSurface = nullptr;
    PlatForm2* topStrip = nullptr;
    PlatForm3* unplacedStrip = nullptr;
    DayDispArea* dayCaptions = nullptr;
    RowHeaderColumn* rowHeaders = nullptr;
    QScrollBar* rowScrollBar = nullptr;
    QScrollBar* timeScrollBar = nullptr;
    QTimer* autoScrollTimer = nullptr;
    QLabel* hoverTip = nullptr;
    QLabel* periodStartLabel = nullptr;

signals:
    void barClicked(int recordNo);
    void barContextMenu(int recordNo, QPoint globalPos, QPoint chartPos);
    void rowHeaderActivated(int row);
    // A right-button press on the rows' background: the row and moment under the pointer.
    void backgroundContextMenu(int row, core::Moment at, QPoint globalPos);
    // A bar released over the rows; targetRecord is the bar under the pointer
    // (a merge), 0 for the background. The view changes nothing in the plan.
    void barDropped(const reschedule::BarDrop& drop, int targetRecord);
    void displayModeChanged(core::DisplayMode mode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The rows follow the height: as many whole rows as fit.
    void resizeEvent(QResizeEvent* e) override;

private:
    void onScroll();
    void setRowsHeight(int rows);
    void updateScrollRanges();
    bool surfaceMouse(QWidget* surface, QEvent* event);
    void pressOnSurface(QWidget* surface, QMouseEvent* e);
    void moveOnSurface(QWidget* surface, QMouseEvent* e);
    void releaseOnSurface(QWidget* surface, QMouseEvent* e);
    void wheelOnChart(QWidget* surface, QWheelEvent* e);
    void showTip(QWidget* surface, QPoint pos);
    void hideTip();
    // Bar drags.
    void beginBarDrag(QWidget* surface, int recordNo, QPoint pos);
    void updateDragPreview(QPoint viewPos);
    void finishBarDrag(QPoint viewPos);
    void cancelBarDrag();
    void autoScrollTick();

    ChartState& state_;
    core::DisplayMode displayMode_ = core::DisplayMode::Week;
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
