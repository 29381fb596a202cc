// The main window's view of what is wrong with the plan: the marks on the
// chart, the conflict list (dockConflicts), the 表示 menu and the status bar.

#include "chart/BarPainter.h"
#include "chart/ChartMarks.h"
#include "chart/ChartState.h"
#include "chart/ConflictDock.h"
#include "chart/GanttView.h"
#include "chart/MainForm.h"
#include "chart/PlatForm.h"
#include "session/PlanWatch.h"

#include <QAction>
#include <array>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <utility>

namespace chart {

void MainForm::buildBoard()
{
    session::PlanWatch& watch = session_->watch();
    marks_ = new ChartMarks(*state_, watch, this);
    state_->marks = marks_;

    conflictDock = new ConflictDock(session_->plan(), this);
    addDockWidget(Qt::RightDockWidgetArea, conflictDock);
    conflictDock->hide();  // the chart keeps its width until the planner asks for the list
    connect(conflictDock, &ConflictDock::conflictChosen, this, &MainForm::showConflict);
    connect(conflictDock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible) refreshConflictList();
    });

    QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    view->setObjectName(QStringLiteral("mnuView"));
    QAction* list = conflictDock->toggleViewAction();
    list->setText(QStringLiteral("競合一覧"));
    list->setObjectName(QStringLiteral("mnuConflicts"));
    view->addAction(list);
    actLoadStrip = view->addAction(QStringLiteral("機械負荷"));
    actLoadStrip->setObjectName(QStringLiteral("mnuLoadStrip"));
    actLoadStrip->setCheckable(true);
    actLoadStrip->setChecked(true);
    connect(actLoadStrip, &QAction::toggled, this, [this](bool on) {
        marks_->setLoadStripShown(on);
        gantt_->repaintChart();
    });

    const auto label = [this](const QString& name) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->setFont(chartFont(12));
        statusBar()->addPermanentWidget(l);
        return l;
    };
    lblOrdersShown = label(QStringLiteral("lblOrdersShown"));
    lblChangedCount = label(QStringLiteral("lblChangedCount"));
    lblConflictCount = new QToolButton(this);
    lblConflictCount->setObjectName(QStringLiteral("lblConflictCount"));
    lblConflictCount->setAutoRaise(true);
    lblConflictCount->setFont(chartFont(12));
    lblConflictCount->setToolTip(QStringLiteral("競合一覧を表示します"));
    statusBar()->addPermanentWidget(lblConflictCount);
    connect(lblConflictCount, &QToolButton::clicked, this, [this] {
        conflictDock->show();
        conflictDock->raise();
    });
    lblPeriod = label(QStringLiteral("lblPeriod"));
    lblClass = label(QStringLiteral("lblClass"));

    // The counts follow the watch's checks (once per event-loop turn after steps).
    // (The chart is repainted by the step itself; its paint asks the watch first.)
    connect(&watch, &session::PlanWatch::updated, this, [this] {
        updateStatusBar();
        if (conflictDock->isVisible()) refreshConflictList();
    });
    connect(session_.get(), &session::PlanSession::historyChanged, this, &MainForm::updateStatusBar);
}

void MainForm::updateStatusBar()
{
    session::PlanWatch& watch = session_->watch();
    if (watch.isStale()) return;  // the check after the step updates the bar
    // Only what differs is set: every step ends here.
    const auto show = [](auto* w, const QString& text) {
        if (w->text() != text) w->setText(text);
    };
    const core::Planner& p = session_->planner();
    // Most steps change one figure or none; each label is written out only
    // when its own figures changed (or nothing was shown yet).
    const std::array<std::int64_t, 6> figures{watch.shownBars(), watch.changedBars(), session_->hasUnsavedChanges() ? 1 : 0,
                                              std::int64_t(watch.conflicts().count()), p.PeriodStart.serial(), p.PeriodEnd.serial()};
    const bool all = lblClass->text().isEmpty();
    if (figures == shownFigures_ && !all) return;
    const std::array<std::int64_t, 6> was = std::exchange(shownFigures_, figures);
    const auto differs = [&](std::size_t k) { return all || figures[k] != was[k]; };
    if (differs(0)) show(lblOrdersShown, QStringLiteral("表示 %1件").arg(figures[0]));
    if (differs(1) || differs(2))
        show(lblChangedCount, figures[2] ? QStringLiteral("変更 %1件（未保存）").arg(figures[1]) : QStringLiteral("変更 %1件").arg(figures[1]));
    if (differs(3)) {
        show(lblConflictCount, QStringLiteral("競合 %1件").arg(figures[3]));
        const QString style = figures[3] ? QStringLiteral("QToolButton{color:#c00000;font-weight:bold;}") : QString();
        if (lblConflictCount->styleSheet() != style) lblConflictCount->setStyleSheet(style);
    }
    if (differs(4) || differs(5))
        show(lblPeriod, p.PeriodStart.isNull() ? QString()
                                               : QStringLiteral("期間 %1～%2").arg(p.PeriodStart.toDisplayText(), p.PeriodEnd.toDisplayText()));
    show(lblClass, QStringLiteral("工程分類 %1").arg(processClassText()));
}

void MainForm::refreshConflictList() { conflictDock->setConflicts(session_->watch().conflicts().all()); }

void MainForm::showConflict(int recordNo, core::Moment at)
{
    if (recordNo < 2 || recordNo > session_->plan().size()) return;
    showRecord(recordNo);
    // The conflict's time in view as well as the bar's start.
    const int x = state_->xToPx(state_->xOf(at));
    if (x < 0 || x >= gantt_->rowSurface->width()) gantt_->scrollToMoment(at.addSeconds(-3600));
}

}  // namespace chart
