#include "windows/OrderGanttWindow.h"

#include "chart/BarPainter.h"
#include "chart/BarTip.h"
#include "chart/MainForm.h"
#include "reschedule/GridEdit.h"
#include "session/OrderLots.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>

namespace windows {

using reschedule::LotClass;
using reschedule::PlanLot;

namespace {

constexpr std::int64_t kDaySeconds = 86400;
const QStringList kWeekdays = {QStringLiteral("月"), QStringLiteral("火"), QStringLiteral("水"), QStringLiteral("木"),
                               QStringLiteral("金"), QStringLiteral("土"), QStringLiteral("日")};

// The production day a moment lies in begins at the day change on this date.
core::Date productionDay(core::Moment m, core::TimeOfDay dayChange)
{
    return m.time() < dayChange ? m.date().addDays(-1) : m.date();
}

QString momentText(core::Moment m) { return m.date().toDisplayText() + QLatin1Char(' ') + m.time().toHhmm(); }

}  // namespace

QColor lotColour(LotClass c)
{
    switch (c) {
    case LotClass::Selected: return QColor(0x2F, 0x6F, 0xD0);
    case LotClass::Unallocated: return QColor(0xC8, 0xC8, 0xC8);
    case LotClass::Overlapping: return QColor(0xFF, 0x8C, 0x1A);
    case LotClass::Other: break;
    }
    return QColor(0x8C, 0xD2, 0x8C);
}

QString lotClassCaption(LotClass c)
{
    switch (c) {
    case LotClass::Selected: return QStringLiteral("選択中の手配");
    case LotClass::Unallocated: return QStringLiteral("未割付（開始日時・機械なし）");
    case LotClass::Overlapping: return QStringLiteral("前工程と重複");
    case LotClass::Other: break;
    }
    return QStringLiteral("その他の手配");
}

// OrderGanttChart -----------------------------------------------------------

OrderGanttChart::OrderGanttChart(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picGantt"));
    setMouseTracking(true);
    setFont(chart::chartFont(12));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    lblTip = new QLabel(this);
    lblTip->setObjectName(QStringLiteral("lblTip"));
    lblTip->setFont(chart::chartFont(12));
    lblTip->setStyleSheet(QStringLiteral("QLabel{background:#ffffe1;border:1px solid #777;padding:3px;color:black;}"));
    lblTip->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblTip->hide();
}

bool OrderGanttChart::spanOf(const PlanLot& l, core::Moment& start, core::Moment& end) const
{
    if (l.allocated) {
        start = l.start;
        end = std::max(l.start, l.end);
        return true;
    }
    // Waiting for its place: the days between its start day and its due date.
    const core::Date first = !l.startDay.isNull() ? l.startDay : l.dueDate;
    const core::Date last = !l.dueDate.isNull() ? l.dueDate : l.startDay;
    if (first.isNull()) return false;
    start = core::Moment::of(first, dayChange_);
    end = core::Moment::of(std::max(first, last).addDays(1), dayChange_);
    return true;
}

void OrderGanttChart::setLots(std::vector<PlanLot> lots, std::vector<LotClass> classes, core::TimeOfDay dayChange)
{
    lots_ = std::move(lots);
    classes_ = std::move(classes);
    overlapping_ = reschedule::overlapsPreviousProcess(lots_);
    dayChange_ = dayChange;
    bool any = false;
    core::Moment first, last;
    for (const PlanLot& l : lots_) {
        core::Moment s, e;
        if (!spanOf(l, s, e)) continue;
        first = any ? std::min(first, s) : s;
        last = any ? std::max(last, e) : e;
        any = true;
    }
    if (!any) first = last = core::Moment::of(core::nowMoment().date(), dayChange_);
    // Whole production days, at least one.
    from_ = core::Moment::of(productionDay(first, dayChange_), dayChange_);
    const core::Moment lastDayStart = core::Moment::of(productionDay(last, dayChange_), dayChange_);
    to_ = last == lastDayStart && last > from_ ? last : lastDayStart.addDays(1);
    lblTip->hide();
    updateGeometry();
    update();
}

QSize OrderGanttChart::sizeHint() const
{
    return {LabelWidthPx + 700, HeaderHeightPx + std::max<int>(1, int(lots_.size())) * RowHeightPx + 2};
}

double OrderGanttChart::pxPerSecond() const
{
    const std::int64_t span = std::max<std::int64_t>(60, to_.seconds() - from_.seconds());
    return double(std::max(50, width() - LabelWidthPx - 8)) / double(span);
}

int OrderGanttChart::xOf(core::Moment m) const
{
    return LabelWidthPx + int(std::lround(double(m.seconds() - from_.seconds()) * pxPerSecond()));
}

QRect OrderGanttChart::barRect(int lot) const
{
    if (lot < 0 || lot >= int(lots_.size())) return {};
    core::Moment s, e;
    if (!spanOf(lots_[std::size_t(lot)], s, e)) return {};
    const int x = xOf(s);
    const int w = std::max(3, xOf(e) - x);
    return QRect(x, HeaderHeightPx + lot * RowHeightPx + 4, w, RowHeightPx - 8);
}

int OrderGanttChart::lotAt(QPoint px) const
{
    if (px.y() < HeaderHeightPx) return -1;
    const int row = (px.y() - HeaderHeightPx) / RowHeightPx;
    return row < int(lots_.size()) ? row : -1;
}

QString OrderGanttChart::tipText(int lot) const
{
    if (lot < 0 || lot >= int(lots_.size())) return {};
    const PlanLot& l = lots_[std::size_t(lot)];
    QStringList lines;
    lines << QStringLiteral("手配番号: %1%2").arg(l.orderNo).arg(l.orderNo < 0 ? QStringLiteral("（分割・未保存）") : QString());
    lines << QStringLiteral("品名: %1 %2").arg(l.itemCode.trimmed(), l.itemName.trimmed());
    lines << QStringLiteral("工程: %1 %2").arg(l.processSeq).arg(l.processName.trimmed());
    if (!l.machineCode.trimmed().isEmpty()) lines << QStringLiteral("機械: %1").arg(l.machineCode.trimmed());
    else if (l.inOutKind == plan::InOutKind::Outside && !l.destCode.trimmed().isEmpty()) lines << QStringLiteral("外注先: %1").arg(l.destCode.trimmed());
    if (l.allocated) {
        lines << QStringLiteral("開始: %1").arg(momentText(l.start)) << QStringLiteral("終了: %1").arg(momentText(l.end));
    } else {
        lines << QStringLiteral("未割付（開始日 %1 ～ 納期 %2）").arg(l.startDay.toDisplayText(), l.dueDate.toDisplayText());
    }
    lines << QStringLiteral("手配数: %1　受入実績数: %2").arg(l.orderQty).arg(l.receivedQty);
    lines << QStringLiteral("確定区分: %1　固定区分: %2").arg(chart::confirmKindText(l.confirmKind), chart::fixKindText(l.fixKind));
    if (std::size_t(lot) < overlapping_.size() && overlapping_[std::size_t(lot)]) lines << QStringLiteral("※ 前工程の終了より前に開始します");
    if (l.completed) lines << QStringLiteral("※ 完納");
    if (l.changed) lines << QStringLiteral("※ 未保存の変更があります");
    return lines.join(u'\n');
}

void OrderGanttChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setFont(font());
    const QFontMetrics fm(font());
    const int rowsBottom = HeaderHeightPx + int(lots_.size()) * RowHeightPx;

    // Days along the top, a line at each day change, the weekend shaded.
    const int days = int((to_.seconds() - from_.seconds()) / kDaySeconds);
    const int dayPx = xOf(from_.addDays(1)) - xOf(from_);
    const int step = std::max(1, int(std::ceil(double(fm.horizontalAdvance(QStringLiteral("12/31(水)")) + 6) / std::max(1, dayPx))));
    for (int d = 0; d < days; ++d) {
        const core::Moment m = from_.addDays(d);
        const int x = xOf(m), x2 = xOf(m.addDays(1));
        const int dow = m.date().dayOfWeek();
        if (dow >= 6) p.fillRect(QRect(x, HeaderHeightPx, x2 - x, rowsBottom - HeaderHeightPx), QColor(0xF3, 0xF3, 0xF8));
        p.setPen(QColor(0xB0, 0xB0, 0xB0));
        p.drawLine(x, HeaderHeightPx - 14, x, rowsBottom);
        // Room enough: a tick every six hours under the day.
        if (dayPx >= 96) {
            p.setPen(QColor(0xD0, 0xD0, 0xD0));
            for (int h = 6; h < 24; h += 6) {
                const int hx = xOf(m.addSeconds(std::int64_t(h) * 3600));
                p.drawLine(hx, HeaderHeightPx - 4, hx, HeaderHeightPx);
            }
        }
        if (d % step == 0) {
            p.setPen(dow == 7 ? QColor(0xC0, 0x20, 0x20) : dow == 6 ? QColor(0x20, 0x40, 0xC0) : Qt::black);
            p.drawText(QRect(x + 2, HeaderHeightPx - 18, (x2 - x) * step, 16), Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("%1(%2)").arg(m.date().toMonthDayText(), kWeekdays[dow - 1]));
        }
    }
    p.setPen(Qt::black);
    p.drawText(QRect(LabelWidthPx + 2, 2, width() - LabelWidthPx, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("%1 ～ %2").arg(momentText(from_), momentText(to_)));
    p.drawText(QRect(4, HeaderHeightPx - 18, LabelWidthPx - 8, 16), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("順序 工程　　　　手配番号　　機械・外注先"));
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawLine(0, HeaderHeightPx, width(), HeaderHeightPx);
    p.drawLine(LabelWidthPx, 0, LabelWidthPx, rowsBottom);

    for (int k = 0; k < int(lots_.size()); ++k) {
        const PlanLot& l = lots_[std::size_t(k)];
        const LotClass c = k < int(classes_.size()) ? classes_[std::size_t(k)] : LotClass::Other;
        const int top = HeaderHeightPx + k * RowHeightPx;
        p.setPen(QColor(0xE0, 0xE0, 0xE0));
        p.drawLine(0, top + RowHeightPx, width(), top + RowHeightPx);

        // The row's label: sequence, process, order, where it is made; ＊ unsaved changes.
        p.setPen(c == LotClass::Selected ? lotColour(c).darker(130) : QColor(Qt::black));
        const QString where = !l.machineCode.trimmed().isEmpty() ? l.machineCode.trimmed()
            : l.inOutKind == plan::InOutKind::Outside && !l.destCode.trimmed().isEmpty() ? l.destCode.trimmed()
                                                                                      : QStringLiteral("－");
        const QRect label(4, top, LabelWidthPx - 8, RowHeightPx);
        p.drawText(label.adjusted(0, 0, -250, 0), Qt::AlignRight | Qt::AlignVCenter, QString::number(l.processSeq));
        p.drawText(label.adjusted(46, 0, -150, 0), Qt::AlignLeft | Qt::AlignVCenter, fm.elidedText(l.processName.trimmed(), Qt::ElideRight, 94));
        p.drawText(label.adjusted(146, 0, -80, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   (l.changed ? QStringLiteral("＊") : QString()) + QString::number(l.orderNo));
        p.drawText(label.adjusted(216, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, fm.elidedText(where, Qt::ElideRight, 76));

        const QRect bar = barRect(k);
        if (bar.isEmpty()) continue;
        if (c == LotClass::Unallocated) {
            p.fillRect(bar, lotColour(c).lighter(115));
            p.fillRect(bar, QBrush(QColor(0x90, 0x90, 0x90), Qt::BDiagPattern));
            p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1, Qt::DashLine));
        } else {
            p.fillRect(bar, lotColour(c));
            p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
        }
        p.drawRect(bar.adjusted(0, 0, -1, -1));
        // A selected lot that also runs into its previous process keeps that warning as a frame.
        if (c == LotClass::Selected && std::size_t(k) < overlapping_.size() && overlapping_[std::size_t(k)]) {
            p.setPen(QPen(lotColour(LotClass::Overlapping), 3));
            p.drawRect(bar.adjusted(1, 1, -2, -2));
        }
        p.setPen(c == LotClass::Selected ? QColor(Qt::white) : QColor(Qt::black));
        const QString text = QStringLiteral("%1個").arg(l.orderQty);
        if (fm.horizontalAdvance(text) + 6 <= bar.width()) p.drawText(bar.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

void OrderGanttChart::mouseMoveEvent(QMouseEvent* e)
{
    // Looking only: the pointer shows what lies under it, nothing moves.
    const QPoint pos = e->position().toPoint();
    const int lot = lotAt(pos);
    if (lot < 0 || e->buttons() != Qt::NoButton) {
        lblTip->hide();
        return;
    }
    const QString text = tipText(lot);
    if (lblTip->text() != text) {
        lblTip->setText(text);
        lblTip->adjustSize();
    }
    int x = pos.x() + 16;
    if (x + lblTip->width() > width()) x = std::max(0, pos.x() - lblTip->width() - 16);
    const int y = std::clamp(pos.y() + 12, 0, std::max(0, height() - lblTip->height()));
    lblTip->move(x, y);
    lblTip->raise();
    lblTip->show();
}

void OrderGanttChart::leaveEvent(QEvent*) { lblTip->hide(); }

// OrderGanttWindow ----------------------------------------------------------

OrderGanttWindow::OrderGanttWindow(chart::MainForm& form, int recordNo) : QDialog(&form), form_(form), recordNo_(recordNo)
{
    setObjectName(QStringLiteral("frmOrderGNT"));
    setWindowTitle(QStringLiteral("生産計画別ガントチャート"));
    setWindowModality(Qt::WindowModal);
    setFont(chart::chartFont(13));
    if (recordNo_ >= 2 && recordNo_ <= form_.session().plan().size()) planNo_ = reschedule::planNoOf(form_.session().plan()[recordNo_]);

    lblPlan = new QLabel(this);
    lblPlan->setObjectName(QStringLiteral("lblPlan"));
    picGantt = new OrderGanttChart;
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(picGantt);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* legend = new QHBoxLayout;
    for (LotClass c : {LotClass::Selected, LotClass::Unallocated, LotClass::Overlapping, LotClass::Other}) {
        auto* swatch = new QLabel(this);
        swatch->setFixedSize(28, 14);
        swatch->setStyleSheet(QStringLiteral("background:%1;border:1px solid #555;").arg(lotColour(c).name()));
        auto* caption = new QLabel(lotClassCaption(c), this);
        caption->setObjectName(QStringLiteral("lblLegend%1").arg(int(c)));
        legend->addWidget(swatch);
        legend->addWidget(caption);
        legend->addSpacing(14);
    }
    legend->addWidget(new QLabel(QStringLiteral("＊ 未保存の変更"), this));
    legend->addStretch(1);
    cmdReload = new QPushButton(QStringLiteral("再表示"), this);
    cmdReload->setObjectName(QStringLiteral("cmdReload"));
    cmdReload->setAutoDefault(false);
    cmdClose = new QPushButton(QStringLiteral("閉じる"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);
    legend->addWidget(cmdReload);
    legend->addWidget(cmdClose);
    connect(cmdReload, &QPushButton::clicked, this, &OrderGanttWindow::loadLots);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);

    auto* column = new QVBoxLayout(this);
    column->addWidget(lblPlan);
    column->addWidget(scroll, 1);
    column->addLayout(legend);
    resize(1100, 480);
    loadLots();
}

void OrderGanttWindow::runtimeError(const char* procedure)
{
    form_.prompt().tell(QStringLiteral("ランタイムエラー\n") + QString::fromLatin1(procedure), windowTitle(), core::Prompt::Icon::Critical);
}

void OrderGanttWindow::loadLots()
{
    const plan::PlanData& plan = form_.session().plan();
    std::vector<PlanLot> lots;
    try {
        lots = session::productionPlanLots(form_.session(), planNo_);
    } catch (const std::exception&) {
        runtimeError("loadLots");
        // What the open plan holds of the plan can still be shown.
        lots.clear();
        reschedule::overlayOpenPlan(lots, planNo_, plan);
        reschedule::sortIntoProcessOrder(lots);
    }
    QSet<std::int64_t> selected;
    if (recordNo_ >= 2 && recordNo_ <= plan.size())
        for (const plan::MemberSlots* group : {&plan[recordNo_].membersA, &plan[recordNo_].membersB})
            for (const plan::MemberOrder& m : *group)
                if (m.orderNo != 0) selected.insert(m.orderNo);
    std::vector<LotClass> classes = reschedule::classifyLots(lots, selected);
    const QString item = recordNo_ >= 2 && recordNo_ <= plan.size() ? plan[recordNo_].planItemCode.trimmed() : QString();
    lblPlan->setText(planNo_ == 0 ? QStringLiteral("この手配には生産計画番号がありません")
                                  : QStringLiteral("生産計画番号: %1　　計画品目: %2　　手配（ロット）: %3件")
                                        .arg(planNo_).arg(item.isEmpty() ? QStringLiteral("－") : item).arg(lots.size()));
    picGantt->setLots(std::move(lots), std::move(classes), form_.planner().DayChangeTime);
}

}  // namespace windows
