// The main window's searches and the plan grid's edits: the bar search jumps
// from match to match, the list search narrows the grid, cells edited in the
// grid and the bulk change of the confirmation kind go to the session.

#include "chart/BarPainter.h"
#include "chart/ChartState.h"
#include "chart/GanttView.h"
#include "chart/MainForm.h"
#include "chart/PlanDataGrid.h"
#include "chart/PlanGridModel.h"
#include "session/GridActions.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace chart {

namespace {

// Enter and Shift+Enter in the bar search field.
class ReturnKeys : public QObject {
public:
    ReturnKeys(QObject* parent, std::function<void(bool shift)> pressed) : QObject(parent), pressed_(std::move(pressed)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* k = static_cast<QKeyEvent*>(event);
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
                pressed_((k->modifiers() & Qt::ShiftModifier) != 0);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(bool)> pressed_;
};

QString searchPlaceholder() { return QStringLiteral("手配番号・品名コード・品名"); }

}  // namespace

QLayout* MainForm::buildSearchStrip()
{
    auto* strip = new QHBoxLayout;
    const auto label = [this, strip](const QString& text) {
        auto* l = new QLabel(text, this);
        l->setFont(chartFont(13));
        strip->addWidget(l);
        return l;
    };
    const auto field = [this, strip](const QString& name, const QString& tip) {
        auto* f = new QLineEdit(this);
        f->setObjectName(name);
        f->setFont(chartFont(13));
        f->setPlaceholderText(searchPlaceholder());
        f->setToolTip(tip);
        f->setClearButtonEnabled(true);
        f->setMinimumWidth(120);
        f->setMaximumWidth(220);
        strip->addWidget(f, 1);
        return f;
    };
    const auto button = [this, strip](const QString& name, const QString& text, const QString& tip) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setFont(chartFont(13));
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        b->setToolTip(tip);
        strip->addWidget(b);
        return b;
    };
    label(QStringLiteral("バー検索"));
    txtBarKensaku = field(QStringLiteral("txtBarKensaku"), QStringLiteral("Enter で次の手配、Shift+Enter で前の手配へ移ります"));
    strip->addSpacing(12);
    label(QStringLiteral("一覧絞込"));
    txtListKensaku = field(QStringLiteral("txtListKensaku"), QStringLiteral("入力した文字を含む手配だけを一覧に表示します"));
    lblListCount = label(QString());
    lblListCount->setObjectName(QStringLiteral("lblListCount"));
    lblListCount->setMinimumWidth(90);
    strip->addStretch(1);
    ComIkkatsuKakutei = button(QStringLiteral("ComIkkatsuKakutei"), QStringLiteral("選択行を確定"),
                               QStringLiteral("一覧で選択した行（Shift・Ctrl で複数選択）の手配を確定にします"));
    ComIkkatsuYotei = button(QStringLiteral("ComIkkatsuYotei"), QStringLiteral("選択行を予定"),
                             QStringLiteral("一覧で選択した行（Shift・Ctrl で複数選択）の手配を予定に戻します"));
    strip->addSpacing(12);
    scheduleListButton = button(QStringLiteral("ComYoteiIchiran"), QStringLiteral("予定一覧"), QStringLiteral("予定一覧を表示します"));
    scheduleListButton->setEnabled(false);  // until the schedule list is handed in
    return strip;
}

void MainForm::connectGridEditing()
{
    gridModel_->cellEdited = [this](int rec, reschedule::GridField field, const QString& text) {
        session::editGridCell(*session_, rec, field, text);
    };
    grid_->canEditRow = [this](int rec) { return session::canEditGridRow(*session_, rec); };
    connect(ComIkkatsuKakutei, &QPushButton::clicked, this, [this] { bulkChangeConfirmKind(plan::ConfirmKind::Confirmed); });
    connect(ComIkkatsuYotei, &QPushButton::clicked, this, [this] { bulkChangeConfirmKind(plan::ConfirmKind::Planned); });
    connect(scheduleListButton, &QPushButton::clicked, this, [this] {
        if (openScheduleList_) openScheduleList_();
    });
    connect(txtListKensaku, &QLineEdit::textChanged, this, &MainForm::filterGrid);
    txtBarKensaku->installEventFilter(new ReturnKeys(txtBarKensaku, [this](bool shift) { searchBar(shift); }));
}

void MainForm::searchBar(bool backwards)
{
    const QString typed = txtBarKensaku->text().trimmed();
    const QString needle = reschedule::PlanSearchIndex::needleOf(typed);
    if (needle.isEmpty()) return;
    // From the row the planner is on (a set member's row, whose bar is its representative's).
    int from = grid_->selectedRecord();
    if (from == 0) from = state_->selectedRecord();
    const int found = gridModel_->searchIndex().findNext(needle, from, backwards);
    if (found == 0) {
        prompt().tell(QStringLiteral("「%1」に該当する手配はありません。").arg(typed));
        return;
    }
    showRecord(found);
}

void MainForm::filterGrid()
{
    const int selected = grid_->selectedRecord();
    gridModel_->setListFilter(txtListKensaku->text());
    if (selected) grid_->selectRecord(selected);
    updateListCount();
}

void MainForm::updateListCount()
{
    const int shown = gridModel_->rowCount();
    lblListCount->setText(gridModel_->isFiltered() ? QStringLiteral("%1 / %2 件").arg(shown).arg(gridModel_->unfilteredCount())
                                                   : QStringLiteral("%1 件").arg(shown));
}

void MainForm::bulkChangeConfirmKind(plan::ConfirmKind kind)
{
    const std::vector<int> records = grid_->selectedRecords();
    if (records.empty()) {
        prompt().tell(QStringLiteral("変更する行を一覧で選択して下さい。"));
        return;
    }
    session::bulkChangeConfirmKind(*session_, records, kind);
}

}  // namespace chart
