#include "chart/MessageBoxPrompt.h"

#include "chart/MessageBoxes.h"

#include <QApplication>

namespace chart {

namespace {
// Message boxes without a title of their own carry the program's name, as the
// plant's other tools do.
QString titleOr(const QString& title)
{
    return title.isEmpty() ? QApplication::applicationDisplayName() : title;
}
}  // namespace

bool MessageBoxPrompt::askYesNo(const QString& text, const QString& title, bool defaultYes)
{
    QMessageBox box(QMessageBox::Question, titleOr(title), text, QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    setJapaneseButtons(box);
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxPrompt::tell(const QString& text, const QString& title, Icon icon)
{
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    switch (icon) {
    case Icon::Information: boxIcon = QMessageBox::Information; break;
    case Icon::Warning: boxIcon = QMessageBox::Warning; break;
    case Icon::Critical: boxIcon = QMessageBox::Critical; break;
    case Icon::Question: boxIcon = QMessageBox::Question; break;
    }
    showMessage(parent_, boxIcon, titleOr(title), text);
}

}  // namespace chart
