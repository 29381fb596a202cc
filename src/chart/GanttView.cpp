#include "chart/GanttView.h"

#include "chart/BarPainter.h"
#include "chart/BarTip.h"
#include "chart/ChartMarks.h"
#include "chart/ChartScrollBar.h"
#include "chart/PlatForm.h"
#include "chart/RowHeaders.h"
#include "chart/TimeHeader.h"

#include <QApplication>
#include <QDate>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

namespace chart {

namespace {
constexpr int kAutoScrollMarginPx = 24;

QVBoxLayout* stack(QWidget* w)
{
    auto* l = new QVBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    return l;
}
}  // namespace

GanttView::GanttView(ChartState& state, QWidget* parent) : QWidget(parent), state_(state)
{
    setObjectName(QStringLiteral("GanttView"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);

    // Left: the period start over the header column.
    auto* left = new QWidget(this);
    auto* leftStack = stack(left);
    periodStartLabel = new QLabel(left);
    periodStartLabel->setObjectName(QStringLiteral("lblPeriodStart"));
    periodStartLabel->setFont(chartFont(12));
    periodStartLabel->setAlignment(Qt::AlignCenter);
    periodStartLabel->setFixedHeight(22 + 36);
    periodStartLabel->setStyleSheet(QStringLiteral("QLabel{background:#f4f4f4;border-right:1px solid #888;border-bottom:1px solid #999;}"));
    auto* noRow = new QLabel(QStringLiteral("行なし"), left);
    noRow->setFont(chartFont(12));
    noRow->setIndent(4);
    noRow->setFixedHeight(ChartState::RowHeightPx);
    noRow->setToolTip(QStringLiteral("表示中のどの行にも属さない手配"));
    noRow->setStyleSheet(QStringLiteral("QLabel{background:#faf8ec;border-right:1px solid #888;border-bottom:1px solid #aaa;}"));
    rowHeaders = new RowHeaderColumn(state_.planner().rows, left);
    leftStack->addWidget(periodStartLabel);
    leftStack->addWidget(noRow);
    leftStack->addWidget(rowHeaders);
    left->setFixedWidth(RowHeaderColumn::ColumnWidthPx);
    left->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    chartFrame = new QFrame(this);
    chartFrame->setObjectName(QStringLiteral("Picture1"));
    chartFrame->setFrameShape(QFrame::NoFrame);
    chartFrame->setMinimumWidth(200);
    chartFrame->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* pictureStack = stack(chartFrame);
    topStrip = new PlatForm2(state_, chartFrame);
    dayCaptions = new DayDispArea(state_, chartFrame);
    unplacedStrip = new PlatForm3(state_, chartFrame);
    rowSurface = new PlatForm(state_, chartFrame);
    pictureStack->addWidget(topStrip);
    pictureStack->addWidget(dayCaptions);
    pictureStack->addWidget(unplacedStrip);
    pictureStack->addWidget(rowSurface);

    auto* right = new QWidget(this);
    auto* rightStack = stack(right);
    rightStack->addSpacing(22 + 36 + ChartState::RowHeightPx);
    rowScrollBar = new ChartScrollBar(Qt::Vertical, right);
    rowScrollBar->setObjectName(QStringLiteral("KScroll"));
    rightStack->addWidget(rowScrollBar);
    right->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    timeScrollBar = new ChartScrollBar(Qt::Horizontal, this);
    timeScrollBar->setObjectName(QStringLiteral("HScroll1"));
    grid->addWidget(left, 0, 0);
    grid->addWidget(chartFrame, 0, 1);
    grid->addWidget(right, 0, 2);
    grid->addWidget(timeScrollBar, 1, 1);
    // Below the scroll bar: what is left of the height when it is no whole row.
    auto* slack = new QWidget(this);
    slack->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    grid->addWidget(slack, 2, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    right->setFixedWidth(rowScrollBar->sizeHint().width());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setRowsHeight(ChartState::DefaultVisibleRows);

    autoScrollTimer = new QTimer(this);
    autoScrollTimer->setObjectName(QStringLiteral("TimerHScrollAc"));
    autoScrollTimer->setInterval(40);
    connect(autoScrollTimer, &QTimer::timeout, this, &GanttView::autoScrollTick);

    hoverTip = new QLabel(this);
    hoverTip->setObjectName(QStringLiteral("GradeName"));
    hoverTip->setFont(chartFont(12));
    hoverTip->setStyleSheet(QStringLiteral("QLabel{background:#ffffe1;border:1px solid #777;padding:3px;color:black;}"));
    hoverTip->setAttribute(Qt::WA_TransparentForMouseEvents);
    hoverTip->hide();

    connect(timeScrollBar, &QScrollBar::valueChanged, this, &GanttView::onScroll);
    connect(rowScrollBar, &QScrollBar::valueChanged, this, &GanttView::onScroll);
    connect(rowHeaders, &RowHeaderColumn::rowActivated, this, &GanttView::rowHeaderActivated);
    for (QWidget* w : {static_cast<QWidget*>(rowSurface), static_cast<QWidget*>(unplacedStrip), static_cast<QWidget*>(topStrip),
                       static_cast<QWidget*>(dayCaptions), static_cast<QWidget*>(rowHeaders), static_cast<QWidget*>(chartFrame)})
        w->installEventFilter(this);

    // The red line of the current moment moves on.
    auto* minute = new QTimer(this);
    minute->setInterval(60 * 1000);
    connect(minute, &QTimer::timeout, this, &GanttView::repaintChart);
    minute->start();
}

GanttView::~GanttView() = default;

int GanttView::heightForRows(int rows) const
{
    const int strips = topStrip->minimumHeight() + dayCaptions->minimumHeight() + unplacedStrip->minimumHeight();
    return strips + rows * ChartState::RowHeightPx + timeScrollBar->sizeHint().height();
}

int GanttView::rowsForHeight(int h) const
{
    return std::max(1, (h - heightForRows(0)) / ChartState::RowHeightPx);
}

QSize GanttView::sizeHint() const { return {QWidget::sizeHint().width(), heightForRows(ChartState::DefaultVisibleRows)}; }

QSize GanttView::minimumSizeHint() const { return {QWidget::minimumSizeHint().width(), heightForRows(1)}; }

void GanttView::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (rowsForHeight(height()) != state_.visibleRows()) setRowsHeight(rowsForHeight(height()));
}

void GanttView::setRowsHeight(int rows)
{
    // Rows, their headers and rowScrollBar are whole rows high; hit tests and
    // scroll ranges count the same rows.
    state_.setVisibleRows(rows);
    const int px = state_.visibleRows() * ChartState::RowHeightPx;
    rowSurface->setFixedHeight(px);
    rowScrollBar->setFixedHeight(px);
    rowHeaders->setLabelCount(state_.visibleRows());
    updateScrollRanges();
    rowHeaders->showRows(rowScrollBar->value());
    repaintChart();
}

double GanttView::chartWidth() const { return double(chartFrame->width()) * core::TwipsPerPixel; }

void GanttView::setDisplayMode(core::DisplayMode mode)
{
    displayMode_ = mode;
    dispGantt();
}

void GanttView::dispGantt()
{
    const bool hadScale = state_.scale().HourTwips > 0;
    const core::Moment left = hadScale ? state_.momentAtX(state_.pxToX(0)) : state_.origin();
    hideTip();
    state_.setScale(displayMode_, chartWidth());
    lastPictureWidth_ = chartFrame->width();
    updateScrollRanges();
    scrollToMoment(left);
    onScroll();
    repaintChart();
    emit displayModeChanged(displayMode_);
}

void GanttView::refreshLayout()
{
    // The period is known only once the rows are loaded.
    const core::Date start = state_.planner().PeriodStart;
    periodStartLabel->setText(start.isNull() ? QString()
                                           : QLocale(QLocale::Japanese, QLocale::Japan).toString(QDate(start.year(), start.month(), start.day()), QLocale::LongFormat));
    updateScrollRanges();
    rowHeaders->showRows(rowScrollBar->value());
    repaintChart();
}

void GanttView::repaintChart()
{
    for (QWidget* w : {static_cast<QWidget*>(rowSurface), static_cast<QWidget*>(topStrip), static_cast<QWidget*>(unplacedStrip),
                       static_cast<QWidget*>(dayCaptions)})
        w->update();
}

void GanttView::updateScrollRanges()
{
    const int visible = std::max(1, chartFrame->width());
    const int rows = state_.visibleRows();
    const int total = int(std::ceil(state_.periodWidthTwips() / core::TwipsPerPixel));
    timeScrollBar->setRange(0, std::max(0, total - visible));
    timeScrollBar->setPageStep(visible);
    timeScrollBar->setSingleStep(std::max(1, visible / 28));
    // One band more than the rows: the space below the last row takes bars off their machine.
    rowScrollBar->setRange(0, std::max(0, state_.planner().rows.machineRowCount() + 1 - rows));
    rowScrollBar->setPageStep(rows);
    rowScrollBar->setSingleStep(1);
}

void GanttView::onScroll()
{
    hideTip();  // the bar it describes has moved away from the pointer
    const QRect frameBefore = topStrip->viewportRectPx();
    const int dx = state_.scrollXPx() - timeScrollBar->value();
    const int rows = state_.firstRowOffset() - rowScrollBar->value();
    state_.setScroll(timeScrollBar->value(), rowScrollBar->value());
    if (rows != 0) rowHeaders->showRows(rowScrollBar->value());
    // The surfaces paint in whole pixels of the chart: what stays in view is
    // moved, and only the strip that came into view is painted. The drag
    // preview does not move with the chart, so it asks for a full paint.
    if (state_.dragPreview.active) rowSurface->update();
    else if (dx != 0 || rows != 0) rowSurface->scroll(dx, rows * ChartState::RowHeightPx);
    if (dx == 0) return;
    unplacedStrip->scroll(dx, 0);
    // A month's caption stands at the left edge while its first day is out of view.
    dayCaptions->scroll(dx, 0);
    const int reach = std::min(dayCaptions->width(), dayCaptions->monthCaptionReachPx() + std::abs(dx));
    dayCaptions->update(QRegion(0, 0, reach, DayDispArea::CaptionLinePx) +
                        QRegion(dayCaptions->width() - reach, 0, reach, DayDispArea::CaptionLinePx));
    // The frame of the part in view moves over the four weeks: only its ends
    // change (in the four-week mode it spans the whole strip and stays).
    const QRect frameAfter = topStrip->viewportRectPx();
    if (frameAfter == frameBefore) return;
    const auto between = [this](int a, int b) { return QRect(QPoint(std::min(a, b) - 2, 0), QPoint(std::max(a, b) + 2, topStrip->height() - 1)); };
    topStrip->update(QRegion(between(frameBefore.left(), frameAfter.left())) + between(frameBefore.right(), frameAfter.right()));
}

void GanttView::scrollToMoment(core::Moment m)
{
    timeScrollBar->setValue(core::pxOfTwips(state_.xOf(m)));
}

void GanttView::scrollToRecord(int recordNo)
{
    if (recordNo < 2 || recordNo > state_.barCount()) return;
    const BarVisual& b = state_.bar(recordNo);
    if (!b.visible) return;
    if (b.surface == Surface::PlatForm) {
        const int offset = b.row - 1;
        const int rows = state_.visibleRows();
        if (offset < rowScrollBar->value() || offset >= rowScrollBar->value() + rows) rowScrollBar->setValue(offset - (rows - 1) / 2);
    }
    const QRect r = state_.barRectPx(recordNo);
    if (r.left() < 0 || r.left() >= rowSurface->width() - 20)
        timeScrollBar->setValue(timeScrollBar->value() + r.left() - rowSurface->width() / 5);
}

bool GanttView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == chartFrame && event->type() == QEvent::Resize) {
        // A new frame width is a new ChartWidth: the scale follows, the time in view stays.
        if (chartFrame->width() != lastPictureWidth_ && state_.scale().HourTwips > 0) dispGantt();
        return false;
    }
    if (event->type() == QEvent::Wheel && (watched == rowSurface || watched == unplacedStrip || watched == dayCaptions
                                           || watched == topStrip || watched == rowHeaders)) {
        wheelOnChart(static_cast<QWidget*>(watched), static_cast<QWheelEvent*>(event));
        return true;
    }
    if (watched == rowSurface || watched == unplacedStrip || watched == topStrip)
        return surfaceMouse(static_cast<QWidget*>(watched), event);
    return QWidget::eventFilter(watched, event);
}

bool GanttView::surfaceMouse(QWidget* surface, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        pressOnSurface(surface, static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseMove:
        moveOnSurface(surface, static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseButtonRelease:
        releaseOnSurface(surface, static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::Leave:
        hideTip();
        return false;
    default:
        return false;
    }
}

void GanttView::pressOnSurface(QWidget* surface, QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    pressViewPos_ = lastViewPos_ = surface->mapTo(this, pos);
    hideTip();
    if (surface == topStrip) {
        // A click on the four-week strip centres the main chart on that moment.
        if (e->button() == Qt::LeftButton) {
            const core::Moment m = topStrip->momentAtPx(pos.x());
            timeScrollBar->setValue(core::pxOfTwips(state_.xOf(m)) - rowSurface->width() / 2);
        }
        return;
    }
    const Surface kind = surface == unplacedStrip ? Surface::PlatForm3 : Surface::PlatForm;
    const int rec = state_.barAtPx(kind, pos.x(), pos.y());
    if (e->button() == Qt::RightButton) {
        if (rec) emit barContextMenu(rec, e->globalPosition().toPoint(), pos);
        else if (surface == rowSurface)
            emit backgroundContextMenu(state_.rowAtPx(pos.y()), state_.momentAtX(state_.pxToX(pos.x())), e->globalPosition().toPoint());
        return;
    }
    if (e->button() != Qt::LeftButton || e->type() == QEvent::MouseButtonDblClick) return;
    if (rec) {
        state_.setSelectedRecord(rec);
        emit barClicked(rec);
        if (state_.plan()[rec].isDraggable()) beginBarDrag(surface, rec, pos);
        repaintChart();
        return;
    }
    DragMode = DragKind::GrabScroll;  // grab-scroll
    pressHScroll_ = timeScrollBar->value();
    pressKScroll_ = rowScrollBar->value();
    surface->setCursor(Qt::ClosedHandCursor);
}

void GanttView::moveOnSurface(QWidget* surface, QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    const QPoint viewPos = surface->mapTo(this, pos);
    if (DragMode == DragKind::GrabScroll) {
        const QPoint d = viewPos - pressViewPos_;
        timeScrollBar->setValue(pressHScroll_ - d.x());
        rowScrollBar->setValue(pressKScroll_ - int(std::lround(double(d.y()) / ChartState::RowHeightPx)));
        return;
    }
    if (DragMode == DragKind::Bar) {
        if (!dragMoved_ && (viewPos - pressViewPos_).manhattanLength() < QApplication::startDragDistance()) return;
        dragMoved_ = true;
        updateDragPreview(viewPos);
        return;
    }
    if (e->buttons() == Qt::NoButton && surface != topStrip) showTip(surface, pos);
}

void GanttView::releaseOnSurface(QWidget* surface, QMouseEvent* e)
{
    const QPoint viewPos = surface->mapTo(this, e->position().toPoint());
    if (DragMode == DragKind::GrabScroll && e->button() == Qt::LeftButton) {
        DragMode = DragKind::Idle;
        surface->unsetCursor();
    } else if (DragMode == DragKind::Bar && e->button() == Qt::LeftButton) {
        autoScrollTimer->stop();
        if (dragMoved_) finishBarDrag(viewPos);
        else cancelBarDrag();  // a click selects; it moves nothing
    }
    DragBarIndex = 0;
}

void GanttView::wheelOnChart(QWidget* surface, QWheelEvent* e)
{
    const QPoint delta = e->angleDelta();
    // Some platforms turn Shift+wheel into a horizontal wheel.
    const bool horizontal = (e->modifiers() & Qt::ShiftModifier) || (delta.y() == 0 && delta.x() != 0);
    const int notches = (delta.y() != 0 ? delta.y() : delta.x()) / 120;
    if (notches == 0) return;
    if (horizontal) timeScrollBar->setValue(timeScrollBar->value() - notches * std::max(1, chartFrame->width() / 8));
    else rowScrollBar->setValue(rowScrollBar->value() - notches);
    // The pointer stays where it was: the tip tells about what is under it now.
    if (DragMode == DragKind::Idle && (surface == rowSurface || surface == unplacedStrip)) showTip(surface, e->position().toPoint());
}

void GanttView::showTip(QWidget* surface, QPoint pos)
{
    const Surface kind = surface == unplacedStrip ? Surface::PlatForm3 : Surface::PlatForm;
    const int rec = state_.barAtPx(kind, pos.x(), pos.y());
    QString text;
    if (rec) {
        text = barTipText(state_.plan()[rec], state_.planner().rows);
        if (state_.isOffCalendar(rec)) text += QStringLiteral("\n※稼働時間の変更で終了日時が合っていません。移動し直してください。");
    } else if (surface == rowSurface) text = rowSurface->stopTipAt(pos);
    if (state_.marks && surface == rowSurface) text = state_.marks->tipText(rec, pos, text);
    if (text.isEmpty()) {
        hideTip();
        return;
    }
    if (hoverTip->text() != text) {
        hoverTip->setText(text);
        hoverTip->adjustSize();
    }
    // Beside the pointer, on the side where the tip fits.
    const QPoint at = surface->mapTo(this, pos);
    int x = at.x() + 16;
    if (x + hoverTip->width() > width()) x = std::max(0, at.x() - hoverTip->width() - 16);
    const int y = std::clamp(at.y() + 12, 0, std::max(0, height() - hoverTip->height()));
    hoverTip->move(x, y);
    hoverTip->raise();
    hoverTip->show();
}

void GanttView::hideTip() { hoverTip->hide(); }

// Bar drags --------------------------------------------------------------

void GanttView::beginBarDrag(QWidget* surface, int recordNo, QPoint pos)
{
    const QRect r = state_.barRectPx(recordNo);
    const BarVisual& b = state_.bar(recordNo);
    DragOffsetX = double(pos.x() - r.left()) * core::TwipsPerPixel;
    // The row under the pointer when the drag began: from the bar's top plus the point inside it.
    const double y = b.surface == Surface::PlatForm ? b.top + double(pos.y() - r.top()) * core::TwipsPerPixel : b.top;
    DragStartKikai = state_.planner().rows.codeAtY(y);
    DragBarIndex = state_.plan()[recordNo].barIndex;
    DragMode = DragKind::Bar;
    dragMoved_ = false;
    Q_UNUSED(surface);
}

void GanttView::updateDragPreview(QPoint viewPos)
{
    lastViewPos_ = viewPos;
    const int rec = state_.plan().findByBarIndex(DragBarIndex);
    if (rec == 0) return;
    const QPoint pf = rowSurface->mapFrom(this, viewPos);
    const QRect old = state_.barRectPx(rec);
    const double newLeft = state_.pxToX(pf.x()) - DragOffsetX;
    const bool overRows = rowSurface->rect().contains(pf);
    const int row = overRows ? state_.rowAtPx(pf.y()) : 0;

    DragPreview& d = state_.dragPreview;
    d.active = true;
    d.recordNo = rec;
    d.targetRow = row;
    const int leftPx = state_.xToPx(newLeft);
    const int top = row ? state_.rowTopPx(row) + (old.height() < ChartState::RowHeightPx ? (ChartState::RowHeightPx - old.height()) / 2 : 0)
                        : pf.y() - old.height() / 2;
    d.barPx = QRect(leftPx, top, old.width(), old.height());
    d.guideVisible = false;
    d.guideText.clear();
    if (overRows && row && previewStart) {
        if (const auto start = previewStart(dropOf(rec, state_.planner().rows.row(row).RowCode, newLeft))) {
            d.guideVisible = true;
            d.guideX = state_.xOf(*start);
            d.guideText = QStringLiteral("開始 %1 %2").arg(start->date().toMonthDayText(), start->time().toHhmm());
        }
    }

    // Near an edge the chart scrolls by itself (autoScrollTimer) while the bar is held there.
    autoScrollStep_ = 0;
    if (overRows || (pf.y() >= 0 && pf.y() < rowSurface->height())) {
        const int step = std::max(4, rowSurface->width() / 40);
        if (pf.x() < kAutoScrollMarginPx) autoScrollStep_ = -step;
        else if (pf.x() > rowSurface->width() - kAutoScrollMarginPx) autoScrollStep_ = step;
    }
    if (autoScrollStep_ != 0 && !autoScrollTimer->isActive()) autoScrollTimer->start();
    if (autoScrollStep_ == 0) autoScrollTimer->stop();
    rowSurface->update();
}

void GanttView::autoScrollTick()
{
    if (DragMode != DragKind::Bar || autoScrollStep_ == 0) {
        autoScrollTimer->stop();
        return;
    }
    const int before = timeScrollBar->value();
    timeScrollBar->setValue(before + autoScrollStep_);
    if (timeScrollBar->value() == before) return;  // at the end of the period
    updateDragPreview(lastViewPos_);
}

void GanttView::finishBarDrag(QPoint viewPos)
{
    updateDragPreview(viewPos);
    const int rec = state_.dragPreview.recordNo;
    const QPoint pf = rowSurface->mapFrom(this, viewPos);
    const double newLeft = state_.pxToX(pf.x()) - DragOffsetX;
    const bool overRows = rowSurface->rect().contains(pf);
    state_.dragPreview = DragPreview{};
    DragMode = DragKind::Idle;
    autoScrollTimer->stop();
    if (!overRows || rec == 0) {
        // The header column, the strips and anything outside the rows cancel the move.
        if (rec) state_.refreshChart(rec);
        repaintChart();
        return;
    }
    const int row = state_.rowAtPx(pf.y());
    const reschedule::BarDrop drop = dropOf(rec, row ? state_.planner().rows.row(row).RowCode : QString(), newLeft);
    const int under = state_.barAtPx(Surface::PlatForm, pf.x(), pf.y());
    repaintChart();
    emit barDropped(drop, under == rec ? 0 : under);
}

reschedule::BarDrop GanttView::dropOf(int recordNo, const QString& newKikai, double newLeftTwips) const
{
    reschedule::BarDrop d;
    d.recordNo = recordNo;
    d.DragStartKikai = DragStartKikai;
    d.newKikai = newKikai;
    d.newLeftTwips = newLeftTwips;
    d.currentLeftTwips = state_.bar(recordNo).left;
    d.origin = state_.origin();
    // Bars dragged on the chart use the main scale; only PlatForm2 has the top strip's.
    d.scale = state_.bar(recordNo).surface == Surface::PlatForm2 ? state_.scale().HourTwipsTop : state_.scale().HourTwips;
    return d;
}

void GanttView::cancelBarDrag()
{
    state_.dragPreview = DragPreview{};
    DragMode = DragKind::Idle;
    autoScrollTimer->stop();
    repaintChart();
}

}  // namespace chart
