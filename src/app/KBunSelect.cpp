#include "app/KBunSelect.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

namespace app {

KBunSelect::KBunSelect(core::ProgramSettings& settings, const ClassChoiceList& choices, core::Prompt& prompt,
                       QWidget* parent)
    : QDialog(parent), settings_(settings), prompt_(prompt)
{
    setWindowTitle(QStringLiteral("工程分類指定"));
    setModal(true);
    buildLayout();

    Label2->setText(choices.factoryLabel);
    ComboKBun->addItems(choices.lines);
    const int selected = preselectedLine(choices.lines, settings_.processClassCode);
    if (selected >= 0) ComboKBun->setCurrentRow(selected);

    const PeriodTexts period = defaultPeriod(settings_.CommandLineText, settings_.DisplayMonths);
    strYYMMDD->setText(period.start);
    endYYMMDD->setText(period.end);
}

void KBunSelect::buildLayout()
{
    strYYMMDD = new QLineEdit(this);
    endYYMMDD = new QLineEdit(this);
    ComboKBun = new QListWidget(this);
    Label2 = new QLabel(this);
    strYYMMDD->setObjectName(QStringLiteral("strYYMMDD"));
    endYYMMDD->setObjectName(QStringLiteral("endYYMMDD"));
    ComboKBun->setObjectName(QStringLiteral("ComboKBun"));
    Label2->setObjectName(QStringLiteral("Label2"));
    for (QLineEdit* e : {strYYMMDD, endYYMMDD}) {
        e->setMaxLength(20);  // room for full-width input before normalising
        e->setPlaceholderText(QStringLiteral("yyyy/mm/dd"));
        e->installEventFilter(this);
    }
    ComboKBun->installEventFilter(this);
    ComboKBun->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(ComboKBun, &QListWidget::itemDoubleClicked, this, [this] { chooseLine(); });

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label2, 0, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("期　　　間  ："), this), 1, 0);
    grid->addWidget(strYYMMDD, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("～"), this), 1, 2);
    grid->addWidget(endYYMMDD, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("工程分類  ："), this), 2, 0, Qt::AlignTop);
    grid->addWidget(ComboKBun, 2, 1, 1, 3);
    setTabOrder(strYYMMDD, endYYMMDD);
    setTabOrder(endYYMMDD, ComboKBun);
    resize(420, 320);
}

void KBunSelect::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ComboKBun->setFocus();
}

bool KBunSelect::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == strYYMMDD || watched == endYYMMDD)) {
        // After the focus arrives: a mouse click would otherwise place the cursor over the selection.
        auto* field = static_cast<QLineEdit*>(watched);
        QTimer::singleShot(0, field, [field] { field->selectAll(); });
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == strYYMMDD) startEntered();
            else if (watched == endYYMMDD) endEntered();
            else if (watched == ComboKBun) chooseLine();
            else return QDialog::eventFilter(watched, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

core::Date KBunSelect::normaliseField(QLineEdit* field)
{
    const QString text = mDateChr(field->text());
    field->setText(text);
    return core::Date::fromDisplayText(text);
}

void KBunSelect::startEntered()
{
    const bool typed = !strYYMMDD->text().trimmed().isEmpty();
    if (normaliseField(strYYMMDD).isNull() && typed) {
        // Something that is no date was typed: say so instead of moving on with an empty field.
        prompt_.tell(enterDateMessage());
        strYYMMDD->setFocus();
        return;
    }
    endYYMMDD->setFocus();
}

void KBunSelect::endEntered()
{
    const core::Date end = normaliseField(endYYMMDD);
    const core::Date start = core::Date::fromDisplayText(mDateChr(strYYMMDD->text()));
    if (start.isNull() || end.isNull()) {
        prompt_.tell(enterDateMessage());
        (start.isNull() ? strYYMMDD : endYYMMDD)->setFocus();
        return;
    }
    if (!refusePeriod(start, end)) ComboKBun->setFocus();
}

void KBunSelect::chooseLine()
{
    // Both dates are checked again here: they may have been typed without Enter,
    // and a period that is empty, invalid or shorter than the chart needs
    // must not reach the calendar.
    const core::Date start = normaliseField(strYYMMDD);
    const core::Date end = normaliseField(endYYMMDD);
    if (start.isNull() || end.isNull()) {
        prompt_.tell(enterDateMessage());
        strYYMMDD->setFocus();
        return;
    }
    if (refusePeriod(start, end)) return;
    if (!ComboKBun->currentItem()) {
        QDialog::reject();  // nothing to choose: the program ends
        return;
    }
    storeChoice();
    accept();
}

// Tells why a period cannot be planned and offers a corrected end; true when refused.
bool KBunSelect::refusePeriod(core::Date start, core::Date end)
{
    const PeriodCheck check = checkPeriod(start, end);
    if (check == PeriodCheck::Ok) return false;
    prompt_.tell(periodMessage(check));
    if (check == PeriodCheck::TooShort && start.addDays(MinimumPeriodDays) <= latestPeriodEnd())
        endYYMMDD->setText(start.addDays(MinimumPeriodDays).toDisplayText());
    else if (check == PeriodCheck::TooLong)
        endYYMMDD->setText(start.addDays(MaximumPeriodDays).toDisplayText());
    QLineEdit* wrong = check == PeriodCheck::TooLate && start > latestPeriodEnd() ? strYYMMDD : endYYMMDD;
    wrong->setFocus();
    wrong->selectAll();
    return true;
}

void KBunSelect::storeChoice()
{
    const QString line = ComboKBun->currentItem()->text();
    settings_.processClassLine = line;
    settings_.processClassCode = classCodeOfLine(line);
    settings_.PeriodStart = core::Date::fromDisplayText(strYYMMDD->text());
    settings_.PeriodEnd = core::Date::fromDisplayText(endYYMMDD->text());
}

void KBunSelect::reject()
{
    if (!prompt_.askYesNo(QStringLiteral("終了しますか？"), QStringLiteral("終了確認"))) {
        ComboKBun->setFocus();
        return;
    }
    QDialog::reject();
}

}  // namespace app
