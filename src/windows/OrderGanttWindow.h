#pragma once
// The order Gantt window frmOrderGNT (生産計画別ガントチャート): every lot of one
// production plan across all its processes, one row per lot in process order,
// on a time scale that fits them all. Read-only: it shows the database's
// values, and the open plan's unsaved ones where the plan holds the order.

#include "reschedule/PlanLots.h"

#include <QDialog>
#include <QWidget>
#include <vector>

class QLabel;
class QPushButton;

namespace chart { class MainForm; }

namespace windows {

// Colours of the four classes (and the legend's texts).
QColor lotColour(reschedule::LotClass c);
QString lotClassCaption(reschedule::LotClass c);

// The chart surface picGantt: row labels on the left, days along the top, a bar per lot.
class OrderGanttChart : public QWidget {
    Q_OBJECT
public:
    static constexpr int RowHeightPx = 26;
    static constexpr int LabelWidthPx = 300;
    static constexpr int HeaderHeightPx = 40;

    explicit OrderGanttChart(QWidget* parent = nullptr);

    void setLots(std::vector<reschedule::PlanLot> lots, std::vector<reschedule::LotClass> classes, core::TimeOfDay dayChange);
    const std::vector<reschedule::PlanLot>& lots() const { return lots_; }
    const std::vector<reschedule::LotClass>& classes() const { return classes_; }
    // The time shown, from the first lot's day to the last lot's.
    core::Moment from() const { return from_; }
    core::Moment to() const { return to_; }

    // The lot's bar in pixels; empty when it has none (an unallocated lot without dates).
    QRect barRect(int lot) const;
    // The lot whose row is under the pixel; -1 when none.
    int lotAt(QPoint px) const;
    QString tipText(int lot) const;

    QLabel* lblTip = nullptr;  // the hover tip

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    double pxPerSecond() const;
    int xOf(core::Moment m) const;
    // The span a lot's bar covers: its times, or for an unallocated lot the days it may take.
    bool spanOf(const reschedule::PlanLot& l, core::Moment& start, core::Moment& end) const;

    std::vector<reschedule::PlanLot> lots_;
    std::vector<reschedule::LotClass> classes_;
    std::vector<bool> overlapping_;
    core::TimeOfDay dayChange_;
    core::Moment from_, to_;
};

class OrderGanttWindow : public QDialog {
    Q_OBJECT
public:
    // The lots of the production plan of plan record recordNo; that record's
    // lots are the selected ones. Modal to the main window.
    OrderGanttWindow(chart::MainForm& form, int recordNo);

    // loadLots: reads the lots again (the database, the open plan over it). A
    // failure is told as "ランタイムエラー" and the procedure's name; the window
    // then shows what the open plan holds and stays usable.
    void loadLots();

    OrderGanttChart* picGantt = nullptr;
    QLabel* lblPlan = nullptr;
    QPushButton* cmdReload = nullptr;
    QPushButton* cmdClose = nullptr;

private:
    void runtimeError(const char* procedure);

    chart::MainForm& form_;
    int recordNo_;
    std::int64_t planNo_ = 0;
};

}  // namespace windows
