#include "windows/LinePlanWindow.h"

#include "chart/BarPainter.h"
#include "chart/MessageBoxPrompt.h"
#include "reschedule/LinePlan.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace windows {

namespace {
constexpr int kStopStart = 4;
constexpr int kStopEnd = 5;
}  // namespace

LinePlanWindow::LinePlanWindow(session::PlanSession& session, int row, int dayIndex, core::Prompt* prompt, QWidget* parent)
    : QDialog(parent), session_(session), row_(row), dayIndex_(dayIndex)
{
    setObjectName(QStringLiteral("LinePlanWindow"));
    setWindowTitle(QStringLiteral("機械別稼働時間変更"));
    if (!prompt) ownPrompt_ = std::make_unique<chart::MessageBoxPrompt>(this);
    prompt_ = prompt ? prompt : ownPrompt_.get();
    buildLayout();
    fill();
}

LinePlanWindow::~LinePlanWindow() = default;

void LinePlanWindow::buildLayout()
{
    setFont(chart::chartFont(14));
    const auto box = [this](const QString& name, int width, bool editable) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setFixedWidth(width);
        if (!editable) {
            e->setReadOnly(true);
            e->setFocusPolicy(Qt::NoFocus);
            e->setStyleSheet(QStringLiteral("QLineEdit { background: #eeeeee; }"));
        }
        e->installEventFilter(this);
        return e;
    };
    const auto label = [this](const QString& text) { return new QLabel(text, this); };
    const bool editable = !session_.inquiryMode();

    PlanDate = box(QStringLiteral("PlanDate"), 110, false);
    for (int i = 0; i < 8; ++i) PlanTime[std::size_t(i)] = box(QStringLiteral("PlanTime%1").arg(i), 90, editable && i != kStopEnd);
    PlanSum = box(QStringLiteral("PlanSum"), 70, false);
    NoWorkingTitle = box(QStringLiteral("NoWorkingTitle"), 200, editable);
    NoWorkingTitle->setMaxLength(40);  // 停止タイトル VARCHAR(40)
    NoWorkingTime = box(QStringLiteral("NoWorkingTime"), 70, editable);
    WorkingTimeSum = box(QStringLiteral("WorkingTimeSum"), 70, false);
    PlanTime[6]->hide();  // the spare pair takes part in the checks only
    PlanTime[7]->hide();

    const core::ChartRow& machine = session_.planner().rows.row(row_);
    lblKikai = new QLabel(machine.RowCode.trimmed() + QStringLiteral(" ") + machine.RowName, this);
    lblKikai->setObjectName(QStringLiteral("lblKikai"));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    int r = 0;
    const auto line = [&](const QString& caption, std::initializer_list<QWidget*> widgets) {
        grid->addWidget(label(caption), r, 0);
        int c = 1;
        for (QWidget* w : widgets) grid->addWidget(w, r, c++, Qt::AlignLeft);
        ++r;
    };
    line(QStringLiteral("機械      ："), {lblKikai});
    grid->addWidget(lblKikai, 0, 1, 1, 4);
    line(QStringLiteral("計画日付  ："), {PlanDate});
    line(QStringLiteral("稼働時刻  ："), {PlanTime[0], label(QStringLiteral("～")), PlanTime[1]});
    line(QString(), {PlanTime[2], label(QStringLiteral("～")), PlanTime[3]});
    line(QStringLiteral("稼働時間  ："), {PlanSum, label(QStringLiteral("時間"))});
    line(QStringLiteral("停止理由  ："), {NoWorkingTitle});
    grid->addWidget(NoWorkingTitle, r - 1, 1, 1, 4, Qt::AlignLeft);
    line(QStringLiteral("停止時刻  ："), {PlanTime[4], label(QStringLiteral("～")), PlanTime[5]});
    line(QStringLiteral("停止時間  ："), {NoWorkingTime, label(QStringLiteral("時間"))});
    line(QStringLiteral("稼働時間合計："), {WorkingTimeSum, label(QStringLiteral("時間"))});
    grid->addWidget(PlanTime[6], r, 1);
    grid->addWidget(PlanTime[7], r, 3);
    grid->setColumnStretch(4, 1);

    ComOK = new QPushButton(QStringLiteral("OK"), this);
    ComOK->setObjectName(QStringLiteral("ComOK"));
    ComOK->setEnabled(editable);  // inquiry mode shows the day and stores nothing
    ComCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    ComCancel->setObjectName(QStringLiteral("ComCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ComOK);
    buttons->addWidget(ComCancel);

    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addSpacing(8);
    column->addLayout(buttons);

    setTabOrder(PlanTime[0], PlanTime[1]);
    setTabOrder(PlanTime[1], PlanTime[2]);
    setTabOrder(PlanTime[2], PlanTime[3]);
    setTabOrder(PlanTime[3], NoWorkingTitle);
    setTabOrder(NoWorkingTitle, PlanTime[4]);
    setTabOrder(PlanTime[4], NoWorkingTime);
    setTabOrder(NoWorkingTime, ComOK);
    setTabOrder(ComOK, ComCancel);

    connect(ComOK, &QPushButton::clicked, this, &LinePlanWindow::ok);
    connect(ComCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void LinePlanWindow::fill()
{
    const core::Planner& p = session_.planner();
    const reschedule::LinePlanEntry e = reschedule::entryOf(p.calendar.day(dayIndex_, row_).values());
    PlanDate->setText(p.PeriodStart.addDays(dayIndex_ - 2).toDisplayText());
    for (std::size_t i = 0; i < 8; ++i) PlanTime[i]->setText(e.planTime[i]);
    NoWorkingTitle->setText(e.noWorkingTitle);
    NoWorkingTime->setText(e.noWorkingTime);
    recomputeSums();
    if (!session_.inquiryMode()) PlanTime[0]->setFocus();
}

QLineEdit* LinePlanWindow::boxOf(int box) const
{
    if (box >= 0 && box < 8) return PlanTime[std::size_t(box)];
    return box == reschedule::NoWorkingTitleBox ? NoWorkingTitle : NoWorkingTime;
}

int LinePlanWindow::indexOfTime(const QObject* box) const
{
    for (int i = 0; i < 8; ++i)
        if (PlanTime[std::size_t(i)] == box) return i;
    return -1;
}

void LinePlanWindow::refuse(const QString& text, int box)
{
    telling_ = true;
    prompt_->tell(text, windowTitle(), core::Prompt::Icon::Warning);
    telling_ = false;
    if (QLineEdit* e = boxOf(box); e && e->isVisible() && e->focusPolicy() != Qt::NoFocus) {
        e->setFocus();
        e->selectAll();
    }
}

static reschedule::LinePlanEntry entryFrom(const LinePlanWindow& w)
{
    reschedule::LinePlanEntry e;
    for (std::size_t i = 0; i < 8; ++i) e.planTime[i] = w.PlanTime[i]->text();
    e.noWorkingTitle = w.NoWorkingTitle->text().trimmed();
    e.noWorkingTime = w.NoWorkingTime->text();
    return e;
}

bool LinePlanWindow::recomputeSums()
{
    reschedule::LinePlanSums sums;
    const reschedule::LinePlanCheck c = reschedule::computeSums(entryFrom(*this), sums);
    if (!c.passed()) {
        refuse(c.message, c.box);
        return false;
    }
    if (NoWorkingTime->text().trimmed().isEmpty()) NoWorkingTime->setText(QStringLiteral("0"));
    PlanSum->setText(sums.planSum);
    WorkingTimeSum->setText(sums.workingTimeSum);
    PlanTime[kStopEnd]->setText(reschedule::stopEndText(PlanTime[kStopStart]->text(), NoWorkingTime->text()));
    return true;
}

// Enter moves through the boxes in the order the planner fills them.
bool LinePlanWindow::enterPressed(QLineEdit* box)
{
    if (const int i = indexOfTime(box); i >= 0) {
        const auto t = reschedule::readTimeBox(box->text());
        if (!t) {
            refuse(QStringLiteral("認識できる時間を入力してください"), i);
            return true;
        }
        if (!box->text().trimmed().isEmpty()) box->setText(t->toDisplayText());
        QLineEdit* next = i < 3 ? PlanTime[std::size_t(i + 1)] : i == 3 ? NoWorkingTitle : i == kStopStart ? NoWorkingTime : nullptr;
        if (next) next->setFocus();
        return true;
    }
    if (box == NoWorkingTitle) {
        PlanTime[kStopStart]->setFocus();
        return true;
    }
    if (box == NoWorkingTime) {
        if (!reschedule::readHoursBox(box->text())) {
            refuse(QStringLiteral("数値と認識できません"), reschedule::NoWorkingTimeBox);
            return true;
        }
        ComOK->isEnabled() ? ComOK->setFocus() : ComCancel->setFocus();
        return true;
    }
    focusNextChild();
    return true;
}

void LinePlanWindow::leftBox(QLineEdit* box)
{
    if (telling_ || !isVisible() || box->hasFocus()) return;  // back in the box: a refusal put it there
    if (indexOfTime(box) < 0 && box != NoWorkingTime) return;
    // Leaving for キャンセル asks nothing: nothing will be kept anyway.
    if (QApplication::focusWidget() == ComCancel) return;
    recomputeSums();
}

bool LinePlanWindow::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* k = static_cast<QKeyEvent*>(event);
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && !box->isReadOnly()) return enterPressed(box);
        break;
    }
    case QEvent::FocusIn:
        // After the event: a mouse press would otherwise place the cursor and undo the selection.
        QMetaObject::invokeMethod(box, &QLineEdit::selectAll, Qt::QueuedConnection);
        break;
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && !box->isReadOnly())
            QMetaObject::invokeMethod(this, [this, box] { leftBox(box); }, Qt::QueuedConnection);
        break;
    }
    default: break;
    }
    return QDialog::eventFilter(watched, event);
}

void LinePlanWindow::ok()
{
    if (session_.inquiryMode()) return;
    const reschedule::LinePlanEntry entry = entryFrom(*this);
    const reschedule::LinePlanCheck c = reschedule::checkLinePlan(entry);
    if (!c.passed()) {
        refuse(c.message, c.box);
        return;
    }
    if (NoWorkingTime->text().trimmed().isEmpty()) NoWorkingTime->setText(QStringLiteral("0"));
    recomputeSums();
    const core::DayCalendar before = session_.planner().calendar.day(dayIndex_, row_).values();
    session_.changeMachineDay(row_, dayIndex_, reschedule::storedDay(entry, before));
    accept();
}

}  // namespace windows
