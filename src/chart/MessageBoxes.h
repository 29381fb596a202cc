#pragma once
// Message boxes in Japanese. Qt's own translation (qtbase_ja.qm) covers the
// texts Qt draws itself (context menus, standard dialogs); the program's boxes
// name their buttons themselves, so they read はい / いいえ / OK / キャンセル even
// where that translation is not installed.

#include <QMessageBox>
#include <QString>

class QTranslator;
class QWidget;

namespace chart {

// Loads qtbase_ja from Qt's translations folder into the running application.
// Returns the translator (the application owns it), or null when the file is
// missing: the program's own boxes are Japanese anyway.
QTranslator* installQtTranslation();

// The caption of a standard button: "はい", "いいえ", "OK", "キャンセル", ...
QString buttonText(QMessageBox::StandardButton button);
// Gives every standard button of the box its Japanese caption.
void setJapaneseButtons(QMessageBox& box);

// A notice with an OK button, e.g. before the main window exists.
void showMessage(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text);

}  // namespace chart
