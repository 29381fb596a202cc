#include "chart/ChartPrint.h"

#include "chart/BarPainter.h"
#include "chart/ChartMarks.h"
#include "chart/ConflictTexts.h"
#include "chart/MarkPainters.h"
#include "core/BarLook.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

namespace chart {

namespace {
// Layout in points.
constexpr double kHeading = 18;
constexpr double kTimeHeader = 26;
constexpr double kRowHeight = 26;
constexpr double kNameWidth = 96;

const char16_t* const kWeekdays[] = {u"月", u"火", u"水", u"木", u"金", u"土", u"日"};

// Latin letters and digits from a Latin font: the CJK font shapes them with
// glyphs a PDF reader cannot turn back into text, and order numbers must be
// searchable in the PDF.
QFont pointFont(double size, bool bold = false)
{
    QFont f = chartFont(10);
    f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK JP")});
    f.setPixelSize(std::max(1, int(size + 0.5)));  // the painter is scaled to points
    f.setBold(bold);
    return f;
}

QColor rgb(std::uint32_t v) { return QColor(int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF)); }

QSizeF pageSizeInPoints(QPagedPaintDevice& device)
{
    return device.pageLayout().paintRect(QPageLayout::Point).size();
}

struct Page {
    QPainter& p;
    const ChartState& state;
    const ChartMarks* marks;
    QSizeF size;
    core::Moment from, to;  // the period: first day's day change to the day change after the last day

    double chartLeft() const { return kNameWidth; }
    double chartWidth() const { return size.width() - kNameWidth; }
    double xOf(core::Moment m) const
    {
        const double span = double(to.seconds() - from.seconds());
        return chartLeft() + chartWidth() * double(m.seconds() - from.seconds()) / span;
    }

    void heading(int page, int pages, const PrintHeading& h)
    {
        const core::Planner& pl = state.planner();
        p.setPen(Qt::black);
        p.setFont(pointFont(9, true));
        const QRectF line(0, 0, size.width(), kHeading - 4);
        p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("工程計画表　工程分類: %1").arg(h.processClass));
        p.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter,
                   QStringLiteral("期間: %1～%2").arg(pl.PeriodStart.toDisplayText(), pl.PeriodEnd.toDisplayText()));
        p.setFont(pointFont(8));
        p.drawText(line, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("印刷 %1　%2 / %3 頁").arg(h.printedAt).arg(page).arg(pages));
    }

    void timeHeader()
    {
        const core::Planner& pl = state.planner();
        const double top = kHeading, bottom = kHeading + kTimeHeader;
        p.setPen(QColor(120, 120, 120));
        p.drawRect(QRectF(0, top, size.width(), kTimeHeader));
        const int days = std::max(1, pl.PeriodStart.daysTo(pl.PeriodEnd) + 1);
        const double dayWidth = chartWidth() / days;
        p.setFont(pointFont(std::clamp(dayWidth / 3.2, 4.0, 8.0)));
        for (int d = 0; d < days; ++d) {
            const core::Date date = pl.PeriodStart.addDays(d);
            const double x = chartLeft() + d * dayWidth;
            if (date.dayOfWeek() >= 6) p.fillRect(QRectF(x, top, dayWidth, kTimeHeader), QColor(240, 240, 250));
            p.setPen(QColor(120, 120, 120));
            p.drawLine(QPointF(x, top), QPointF(x, bottom));
            p.setPen(date.dayOfWeek() == 7 ? QColor(190, 0, 0) : Qt::black);
            const QString caption = dayWidth >= 18 || date.day() == 1 || d == 0 ? date.toMonthDayText() : QString::number(date.day());
            p.drawText(QRectF(x, top + 1, dayWidth, kTimeHeader / 2), Qt::AlignCenter, caption);
            p.drawText(QRectF(x, top + kTimeHeader / 2, dayWidth, kTimeHeader / 2 - 1), Qt::AlignCenter,
                       QString::fromUtf16(kWeekdays[date.dayOfWeek() - 1]));
        }
        p.setPen(Qt::black);
        p.setFont(pointFont(8, true));
        p.drawText(QRectF(2, top, kNameWidth - 4, kTimeHeader), Qt::AlignCenter, QStringLiteral("機械"));
    }

    void row(int row, double top)
    {
        const core::Planner& pl = state.planner();
        const core::RowTable& rows = pl.rows;
        if (row == 1) p.fillRect(QRectF(0, top, size.width(), kRowHeight), QColor(246, 246, 240));
        else if (rows.isSupplierRow(row)) p.fillRect(QRectF(0, top, size.width(), kRowHeight), QColor(238, 244, 252));
        p.setPen(QColor(170, 170, 170));
        p.drawLine(QPointF(0, top + kRowHeight), QPointF(size.width(), top + kRowHeight));
        p.drawLine(QPointF(kNameWidth, top), QPointF(kNameWidth, top + kRowHeight));
        p.setPen(Qt::black);
        p.setFont(pointFont(7));
        const core::ChartRow& r = rows.row(row);
        const QString name = row == 1 ? QStringLiteral("未割付") : r.RowCode.trimmed() + QLatin1Char('\n') + r.RowName.trimmed();
        p.drawText(QRectF(3, top + 1, kNameWidth - 6, kRowHeight - 2), Qt::AlignLeft | Qt::AlignVCenter, name);

        const plan::PlanData& plan = state.plan();
        p.setFont(pointFont(6.5));
        const double barTop = top + 2, barHeight = kRowHeight - 4;
        for (int rec : state.barsInView(row, -1e12, 1e12)) {
            const plan::PlanRecord& r = plan[rec];
            const double x1 = std::max(chartLeft(), xOf(r.start())), x2 = std::min(size.width(), xOf(r.end()));
            if (x2 < chartLeft() || x1 > size.width()) continue;
            const ChartState::Lane lane = state.laneOf(rec);
            const double h = barHeight / lane.lanes;
            const QRectF bar(x1, barTop + lane.lane * h, std::max(1.5, x2 - x1), h);
            const core::DueClass due = core::dueClassOf(r.endDate, r.initialDueDate);
            p.fillRect(bar, rgb(core::backgroundOf(due)));
            p.setPen(QPen(r.isChanged ? QColor(200, 0, 140) : QColor(96, 96, 96), r.isChanged ? 1.2 : 0.5));
            p.drawRect(bar);
            p.save();
            p.setClipRect(bar.adjusted(0.5, 0, -0.5, 0));
            p.setPen(Qt::black);
            const QString text = ordersText(r) + QLatin1Char(' ') + r.itemCode2.trimmed() + QLatin1Char('\n') + r.processName.trimmed()
                               + QLatin1Char(' ') + r.modelName.trimmed();
            p.drawText(bar.adjusted(1.5, 0.5, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
            p.restore();
            if (marks) marks->paintBarMarks(p, rec, bar.toAlignedRect());
        }
    }
};
}  // namespace

std::vector<int> printedRows(const ChartState& state)
{
    std::vector<int> rows;
    for (int r = 1; r <= state.planner().rows.machineRowCount(); ++r) rows.push_back(r);
    return rows;
}

int rowsPerPage(QPagedPaintDevice& device)
{
    const double h = pageSizeInPoints(device).height();
    return std::max(1, int((h - kHeading - kTimeHeader) / kRowHeight));
}

int printChart(QPagedPaintDevice& device, const ChartState& state, const ChartMarks* marks, const PrintHeading& heading)
{
    const std::vector<int> rows = printedRows(state);
    const int perPage = rowsPerPage(device);
    const int pages = std::max(1, int((rows.size() + std::size_t(perPage) - 1) / std::size_t(perPage)));
    QPainter p;
    if (!p.begin(&device)) return 0;
    const double scale = double(device.logicalDpiX()) / 72.0;
    p.scale(scale, scale);
    const core::Planner& pl = state.planner();
    const core::Moment from = core::Moment::of(pl.PeriodStart, pl.DayChangeTime);
    Page page{p, state, marks, pageSizeInPoints(device), from, from.addDays(std::max(1, pl.PeriodStart.daysTo(pl.PeriodEnd) + 1))};
    for (int k = 0; k < pages; ++k) {
        if (k > 0) device.newPage();
        page.heading(k + 1, pages, heading);
        page.timeHeader();
        double top = kHeading + kTimeHeader;
        for (int i = k * perPage; i < std::min(int(rows.size()), (k + 1) * perPage); ++i, top += kRowHeight) page.row(rows[std::size_t(i)], top);
        // Day lines over the rows.
        p.setPen(QPen(QColor(150, 150, 150), 0.3));
        const int days = std::max(1, pl.PeriodStart.daysTo(pl.PeriodEnd) + 1);
        for (int d = 0; d <= days; ++d) {
            const double x = kNameWidth + page.chartWidth() * d / days;
            p.drawLine(QPointF(x, kHeading + kTimeHeader), QPointF(x, top));
        }
    }
    p.end();
    return pages;
}

}  // namespace chart
