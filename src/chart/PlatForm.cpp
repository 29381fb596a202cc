#include "chart/PlatForm.h"

#include "chart/BarPainter.h"
#include "chart/ChartMarks.h"
#include "chart/NonWorkingTime.h"

#include <QElapsedTimer>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace chart {

namespace {
const QColor kUnplacedRow(246, 246, 240);
const QColor kSupplierRow(238, 244, 252);
const QColor kIdle(218, 218, 218);
const QColor kStop(255, 196, 140);
const QColor kRowLine(170, 170, 170);
const QColor kDayLine(120, 120, 120);
const QColor kHourLine(228, 228, 228);
const QColor kTarget(255, 240, 150, 120);
const QColor kGuide(230, 90, 0);

int dayAtX(const ChartState& s, double x) { return s.scale().DayTwips > 0 ? int(std::floor(x / s.scale().DayTwips)) : 0; }
}  // namespace

void paintTimeLines(QPainter& p, const ChartState& s, const QRect& area)
{
    if (s.scale().DayTwips <= 0) return;
    const double fromX = s.pxToX(area.left()), toX = s.pxToX(area.right() + 1);
    const int firstDay = dayAtX(s, fromX) - 1, lastDay = dayAtX(s, toX) + 1;
    const int step = core::hourStepOf(s.scale().DisplayMode);
    for (int d = firstDay; d <= lastDay; ++d) {
        const core::Moment dayStart = s.origin().addDays(d);
        if (step > 0) {
            p.setPen(kHourLine);
            for (int h = step; h < 24; h += step) {
                const int x = s.xToPx(s.xOf(dayStart.addSeconds(h * 3600)));
                p.drawLine(x, area.top(), x, area.bottom());
            }
        }
        p.setPen(kDayLine);
        const int x = s.xToPx(s.xOf(dayStart));
        p.drawLine(x, area.top(), x, area.bottom());
    }
}

void paintNowLine(QPainter& p, const ChartState& s, const QRect& area)
{
    const int x = s.xToPx(s.xOf(core::nowMoment()));
    if (x < area.left() || x > area.right()) return;
    p.setPen(QPen(Qt::red, 2));
    p.drawLine(x, area.top(), x, area.bottom());
}

PlatForm::PlatForm(ChartState& state, QWidget* parent) : QWidget(parent), state_(state)
{
    setObjectName(QStringLiteral("PlatForm"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resting_ = new QTimer(this);
    resting_->setSingleShot(true);
    resting_->setInterval(PrefetchAfterMs);
    connect(resting_, &QTimer::timeout, this, &PlatForm::planPrefetch);
}

void PlatForm::planPrefetch()
{
    ++generation_;
    pending_.clear();
    next_ = 0;
    prefetched_ = 0;
    if (state_.dragPreview.active) return;
    const int rows = state_.visibleRows(), first = state_.firstVisibleRow(), last = first + rows - 1;
    const double left = state_.pxToX(0), right = state_.pxToX(width()), page = right - left;
    // Later in time first: that is where a planner mostly goes.
    const struct { int fromRow, toRow; double fromX, toX; } pages[] = {
        {first, last, right, right + page}, {first, last, left - page, left}, {last + 1, last + rows, left, right}, {first - rows, first - 1, left, right}};
    const int rowCount = state_.planner().rows.machineRowCount();
    for (const auto& pg : pages)
        for (int r = std::max(1, pg.fromRow); r <= std::min(rowCount, pg.toRow); ++r)
            for (int rec : state_.barsInView(r, pg.fromX, pg.toX)) pending_.push_back(rec);
    if (!pending_.empty()) QTimer::singleShot(0, this, [this, g = generation_] { prefetch(g); });
}

void PlatForm::prefetch(int generation)
{
    if (generation != generation_) return;  // painted meanwhile: the pages have moved
    QElapsedTimer slice;
    slice.start();
    const QFont font = chartFont(12);
    // Half the budget at most: the pictures in view must not be pushed out.
    const qsizetype limit = sprites_.budgetBytes() / 2;
    while (next_ < pending_.size() && prefetched_ < limit && slice.elapsed() < 3) {
        const int rec = pending_[next_++];
        if (rec < 1 || rec > state_.barCount()) continue;  // the plan grew shorter (an undo) without a paint here
        prefetched_ += sprites_.prepare(rec, state_.barRectPx(rec).size(), state_.paintedBar(rec), font);
    }
    if (next_ < pending_.size() && prefetched_ < limit) QTimer::singleShot(0, this, [this, generation] { prefetch(generation); });
}

void PlatForm::paintRowBackground(QPainter& p, int row, const QRect& band, double fromX, double toX)
{
    const core::Planner& pl = state_.planner();
    if (row == 1) p.fillRect(band, kUnplacedRow);
    else if (pl.rows.isSupplierRow(row)) p.fillRect(band, kSupplierRow);
    if (!pl.rows.isMachineRow(row)) return;

    const int firstDay = dayAtX(state_, fromX) + 1, lastDay = dayAtX(state_, toX) + 3;  // day index 2 = origin
    for (int d = std::max(0, firstDay); d <= std::min(lastDay, pl.calendarDays()); ++d) {
        const MachineDayShading sh = shadingOf(pl, row, d);
        for (const TimeSpan& span : sh.idle) {
            const int x1 = state_.xToPx(state_.xOf(span.from)), x2 = state_.xToPx(state_.xOf(span.to));
            if (x2 > x1) p.fillRect(QRect(x1, band.top(), x2 - x1, band.height()), kIdle);
        }
        if (sh.stop) {
            const int x1 = state_.xToPx(state_.xOf(sh.stop->from)), x2 = state_.xToPx(state_.xOf(sh.stop->to));
            const QRect r(x1, band.top(), std::max(1, x2 - x1), band.height());
            p.fillRect(r, kStop);
            p.fillRect(r, QBrush(QColor(200, 110, 40), Qt::BDiagPattern));
            // A title with no room for its first character would show a sliver
            // of it; laying it out is what a scroll step would spend most on.
            const QFont titleFont = chartFont(11);
            const QFontMetrics titleMetrics(titleFont);
            const QRect room = r.adjusted(2, 0, -1, 0);
            if (!sh.stopTitle.isEmpty() && room.width() >= titleMetrics.horizontalAdvance(sh.stopTitle.at(0))) {
                p.setPen(Qt::black);
                p.setFont(titleFont);
                p.drawText(room, Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine, sh.stopTitle);
            }
        }
    }
}

void PlatForm::paintEvent(QPaintEvent* e)
{
    ++generation_;
    resting_->start();
    if (state_.marks) state_.marks->prepare();
    QPainter p(this);
    const QRect area = e->rect();
    p.fillRect(area, Qt::white);
    const double fromX = state_.pxToX(area.left()), toX = state_.pxToX(area.right() + 1);
    const core::RowTable& rows = state_.planner().rows;
    const int first = std::max(1, state_.rowAtPx(area.top()));
    const int rowCount = rows.machineRowCount();
    const DragPreview& drag = state_.dragPreview;

    for (int r = first; r <= rowCount; ++r) {
        const QRect band(area.left(), state_.rowTopPx(r), area.width(), ChartState::RowHeightPx);
        if (band.top() > area.bottom()) break;
        paintRowBackground(p, r, band, fromX, toX);
        if (drag.active && drag.targetRow == r) p.fillRect(band, kTarget);
    }
    paintTimeLines(p, state_, area);
    p.setPen(kRowLine);
    for (int r = first; r <= rowCount; ++r) {
        const int y = state_.rowTopPx(r) + ChartState::RowHeightPx - 1;
        if (y - ChartState::RowHeightPx > area.bottom()) break;
        p.drawLine(area.left(), y, area.right(), y);
    }

    const QFont font = chartFont(12);
    const auto paintOne = [&](int rec) {
        const QRect rect = state_.barRectPx(rec);
        sprites_.paint(p, rec, rect, state_.paintedBar(rec), rec == state_.selectedRecord(), font);
        if (state_.isOffCalendar(rec)) paintOffCalendarMark(p, rect);
        if (state_.marks) state_.marks->paintBarMarks(p, rec, rect);
    };
    for (int r = first; r <= rowCount; ++r) {
        if (state_.rowTopPx(r) > area.bottom()) break;
        int onTop = 0;  // the selected (or just moved) bar is drawn over its neighbours
        for (int rec : state_.barsInView(r, fromX, toX)) {
            if (drag.active && drag.recordNo == rec) continue;  // drawn as the preview below
            if (rec == state_.selectedRecord()) onTop = rec;
            else paintOne(rec);
        }
        if (state_.marks)
            state_.marks->paintRowMarks(p, r, QRect(area.left(), state_.rowTopPx(r), area.width(), ChartState::RowHeightPx), fromX, toX);
        if (onTop) paintOne(onTop);
    }
    paintNowLine(p, state_, area);

    if (drag.active && drag.recordNo > 0) {
        p.setOpacity(0.75);
        paintBar(p, drag.barPx, state_.paintedBar(drag.recordNo), true, font);
        p.setOpacity(1);
        if (drag.guideVisible) {
            const int x = state_.xToPx(drag.guideX);
            p.setPen(QPen(kGuide, 1, Qt::DashLine));
            p.drawLine(x, area.top(), x, area.bottom());
            p.setFont(chartFont(11));
            const QRect label(x + 3, drag.barPx.top() - 16, 200, 15);
            p.fillRect(QRect(label.topLeft(), QSize(p.fontMetrics().horizontalAdvance(drag.guideText) + 4, 15)), QColor(255, 255, 255, 220));
            p.setPen(kGuide);
            p.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, drag.guideText);
        }
    }
}

QString PlatForm::stopTipAt(QPoint px) const
{
    const int row = state_.rowAtPx(px.y());
    if (!state_.planner().rows.isMachineRow(row)) return {};
    const core::Moment m = state_.momentAtX(state_.pxToX(px.x()));
    const std::int64_t sinceOrigin = m.seconds() - state_.origin().seconds();
    const int d = int(sinceOrigin >= 0 ? sinceOrigin / 86400 : (sinceOrigin - 86399) / 86400) + 2;
    const MachineDayShading sh = shadingOf(state_.planner(), row, d);
    if (!sh.stop || m < sh.stop->from || m >= sh.stop->to) return {};
    QString text = QStringLiteral("停止: %1").arg(sh.stopTitle);
    if (!sh.stopRemark.isEmpty()) text += QLatin1Char('\n') + sh.stopRemark;
    text += QStringLiteral("\n%1 ～ %2").arg(sh.stop->from.toDisplayText().left(16), sh.stop->to.toDisplayText().left(16));
    return text;
}

PlatForm3::PlatForm3(ChartState& state, QWidget* parent) : QWidget(parent), state_(state)
{
    setObjectName(QStringLiteral("PlatForm3"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedHeight(ChartState::RowHeightPx);
}

void PlatForm3::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    const QRect area = e->rect();
    p.fillRect(area, QColor(250, 248, 236));
    paintTimeLines(p, state_, area);
    const QFont font = chartFont(12);
    for (int rec : state_.barsInView(0, state_.pxToX(area.left()), state_.pxToX(area.right() + 1))) {
        const QRect rect = state_.barRectPx(rec);
        sprites_.paint(p, rec, rect, state_.paintedBar(rec), rec == state_.selectedRecord(), font);
        if (state_.marks) state_.marks->paintBarMarks(p, rec, rect);
    }
    paintNowLine(p, state_, area);
    p.setPen(kRowLine);
    p.drawLine(area.left(), height() - 1, area.right(), height() - 1);
}

}  // namespace chart
