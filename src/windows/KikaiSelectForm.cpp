#include "windows/KikaiSelectForm.h"

#include "chart/MessageBoxPrompt.h"
#include "core/WorkingTime.h"

#include <QFont>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace windows {

namespace {
// The machine's code as read, kept with its item: the list shows it cut to 8 bytes.
constexpr int CodeRole = Qt::UserRole;
constexpr int NameRole = Qt::UserRole + 1;
}  // namespace

KikaiSelectForm::KikaiSelectForm(session::PlanSession& session, core::Prompt* prompt, QWidget* parent)
    : QDialog(parent), session_(session)
{
    setObjectName(QStringLiteral("KikaiSelectForm"));
    setWindowTitle(QStringLiteral("機械選択"));
    if (!prompt) ownPrompt_ = std::make_unique<chart::MessageBoxPrompt>(this);
    prompt_ = prompt ? prompt : ownPrompt_.get();

    KList = new QListWidget(this);
    KList->setObjectName(QStringLiteral("KList"));
    // The fitted codes line up only in a fixed-width face.
    QFont mono(QStringLiteral("Noto Sans Mono CJK JP"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPixelSize(14);
    KList->setFont(mono);
    KList->setMinimumSize(360, 360);

    const auto button = [this](const QString& name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    ComAllCheck = button(QStringLiteral("ComAllCheck"), QStringLiteral("全選択"));
    ComAllClear = button(QStringLiteral("ComAllClear"), QStringLiteral("全解除"));
    ComOK = button(QStringLiteral("ComOK"), QStringLiteral("OK"));
    ComCancel = button(QStringLiteral("ComCancel"), QStringLiteral("キャンセル"));

    auto* side = new QVBoxLayout;
    side->addWidget(ComAllCheck);
    side->addWidget(ComAllClear);
    side->addStretch(1);
    side->addWidget(ComOK);
    side->addWidget(ComCancel);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(KList, 1);
    layout->addLayout(side);

    connect(ComAllCheck, &QPushButton::clicked, this, [this] { setAll(true); });
    connect(ComAllClear, &QPushButton::clicked, this, [this] { setAll(false); });
    connect(ComOK, &QPushButton::clicked, this, &KikaiSelectForm::ok);
    connect(ComCancel, &QPushButton::clicked, this, &QDialog::reject);
}

KikaiSelectForm::~KikaiSelectForm() = default;

QString KikaiSelectForm::itemText(const store::MachineChoice& m)
{
    return core::fitByteWidth(m.code.trimmed(), 8, QStringLiteral("L")) + QStringLiteral(" ") + m.name.trimmed();
}

bool KikaiSelectForm::load()
{
    std::vector<store::MachineChoice> machines;
    try {
        machines = session_.machineSelection();
    } catch (const db::Error& e) {
        prompt_->tell(e.message.isEmpty() ? QString::fromLocal8Bit(e.what()) : e.message, windowTitle(), core::Prompt::Icon::Critical);
        return false;
    }
    KList->clear();
    for (const store::MachineChoice& m : machines) {
        auto* item = new QListWidgetItem(itemText(m), KList);
        item->setData(CodeRole, m.code);
        item->setData(NameRole, m.name);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(m.selected ? Qt::Checked : Qt::Unchecked);
    }
    if (KList->count() > 0) KList->setCurrentRow(0);
    return true;
}

std::vector<store::MachineChoice> KikaiSelectForm::choices() const
{
    std::vector<store::MachineChoice> out;
    for (int i = 0; i < KList->count(); ++i) {
        const QListWidgetItem* item = KList->item(i);
        out.push_back({item->data(CodeRole).toString(), item->data(NameRole).toString(), item->checkState() == Qt::Checked});
    }
    return out;
}

// The planner keeps the place in a long list.
void KikaiSelectForm::setAll(bool checked)
{
    const int current = KList->currentRow();
    const int scroll = KList->verticalScrollBar()->value();
    KList->setUpdatesEnabled(false);
    for (int i = 0; i < KList->count(); ++i) KList->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    KList->setCurrentRow(current);
    KList->verticalScrollBar()->setValue(scroll);
    KList->setUpdatesEnabled(true);
}

void KikaiSelectForm::ok()
{
    // A failed save has been told and rolled back; the chart is read again all the same.
    session_.saveMachineSelection(choices());
    session_.reloadRows();
    accept();
}

}  // namespace windows
