#include "windows/BunWindow.h"

#include "core/TypedText.h"
#include "reschedule/DetailMessages.h"
#include "windows/DetailLines.h"
#include "windows/PlanWindow.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace windows {

BunWindow::BunWindow(session::PlanSession& session, int recordNo, QWidget* parent)
    : QDialog(parent), session_(session), recordNo_(recordNo), lots_(reschedule::splitLotsOf(session.plan()[recordNo]))
{
    setObjectName(QStringLiteral("BunWindow"));
    setWindowTitle(QStringLiteral("手配分割"));
    setModal(true);

    const auto lotList = [this](const char* name) {
        auto* l = new QListWidget(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(listFont());
        l->setSelectionMode(QAbstractItemView::SingleSelection);
        l->setMinimumWidth(560);
        return l;
    };
    NList = lotList("NList");
    GList = lotList("GList");
    const auto box = [this](const char* name, int width) {
        auto* e = new SelectAllEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setFixedWidth(width);
        return e;
    };
    Text1 = box("Text1", 110);
    Text1->setReadOnly(true);
    Text1->setFocusPolicy(Qt::NoFocus);
    QPalette grey = Text1->palette();
    grey.setColor(QPalette::Base, QColor(0xE0, 0xE0, 0xE0));
    Text1->setPalette(grey);
    Text14 = box("Text14", 110);
    Text14->setEnabled(false);
    Text14->setValidator(new QIntValidator(0, 999999999, Text14));
    Text14->installEventFilter(this);
    Text2 = box("Text2", 80);
    Text3 = box("Text3", 80);
    Text2->hide();
    Text3->hide();
    Command3 = new QPushButton(QStringLiteral("分割実施"), this);
    Command1 = new QPushButton(QStringLiteral("キャンセル"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command1->setObjectName(QStringLiteral("Command1"));
    for (QPushButton* b : {Command3, Command1}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(110);
    }

    auto* top = new QVBoxLayout(this);
    top->addWidget(new QLabel(QStringLiteral("内輪"), this));
    top->addWidget(NList, 1);
    top->addWidget(new QLabel(QStringLiteral("外輪"), this));
    top->addWidget(GList, 1);
    auto* entry = new QGridLayout;
    entry->addWidget(new QLabel(QStringLiteral("生産計画番号："), this), 0, 0, Qt::AlignRight);
    entry->addWidget(Text1, 0, 1);
    entry->addWidget(new QLabel(QStringLiteral(" 分　　割　　数："), this), 1, 0, Qt::AlignRight);
    entry->addWidget(Text14, 1, 1);
    entry->setColumnStretch(2, 1);
    entry->addWidget(Text2, 0, 3);
    entry->addWidget(Text3, 1, 3);
    top->addLayout(entry);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command3);
    buttons->addWidget(Command1);
    top->addLayout(buttons);

    fillLines();
    connect(NList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { onLineClicked(NList, NList->row(item)); });
    connect(GList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { onLineClicked(GList, GList->row(item)); });
    connect(Command3, &QPushButton::clicked, this, &BunWindow::onSplit);
    connect(Command1, &QPushButton::clicked, this, &BunWindow::reject);
    resize(660, 460);
}

void BunWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (NList->count() > 0 && NList->currentRow() < 0) NList->setCurrentRow(0);
}

void BunWindow::fillLines()
{
    for (auto [list, lines] : {std::pair{NList, &lots_.inner}, std::pair{GList, &lots_.outer}}) {
        for (std::size_t k = 0; k < lines->size(); ++k) {
            const QString text = reschedule::lotLineText((*lines)[k]);
            if (int(k) < list->count()) list->item(int(k))->setText(text);
            else list->addItem(text);
        }
    }
}

void BunWindow::onLineClicked(QListWidget* list, int row)
{
    if (row < 0) return;
    const QString text = list->item(row)->text();
    Text1->setText(QString::number(reschedule::planNoOfLineText(text)));
    Text14->setEnabled(true);
    Text14->setText(QString::number(reschedule::countOfLineText(text)));
    Text14->setFocus(Qt::OtherFocusReason);
    Text14->selectAll();
}

void BunWindow::onCountEntered()
{
    const std::int64_t planNo = core::roundToInt64(core::leadingValue(Text1->text()));
    const std::int64_t count = core::roundToInt64(core::leadingValue(Text14->text()));
    reschedule::setLotCount(lots_, planNo, count);
    fillLines();
    NList->clearSelection();
    GList->clearSelection();
    const auto total = [](std::int64_t n) { return n == 0 ? QString() : QString::number(n); };
    Text2->setText(total(lots_.innerTotal()));
    Text3->setText(total(lots_.outerTotal()));
}

bool BunWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Text14 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            onCountEntered();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void BunWindow::onSplit()
{
    core::Prompt& prompt = session_.prompt();
    if (const std::optional<QString> refusal = reschedule::checkSplit(lots_)) {
        prompt.tell(*refusal);
        return;
    }
    if (!prompt.askYesNo(reschedule::msg::askSplit(), reschedule::msg::splitTitle(), false)) return;
    const reschedule::RuleOutcome out = session_.splitOrder(recordNo_, lots_);
    if (out.refused) return;
    splitDone_ = out.changed;
    accept();
}

}  // namespace windows
