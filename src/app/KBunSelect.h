#pragma once
// 工程分類指定: the modal dialog in which the planner chooses the process
// classification and the display period before the main window opens (and
// again when re-selecting from the main window).
//
// Accepted: the choice is stored into the settings. Rejected: the planner
// answered Yes to "終了しますか？" (or there was nothing to choose); the program ends.

#include "app/startup/ClassChoice.h"
#include "core/ProgramSettings.h"
#include "core/Prompt.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;

namespace app {

class KBunSelect : public QDialog {
    Q_OBJECT
public:
    KBunSelect(core::ProgramSettings& settings, const ClassChoiceList& choices, core::Prompt& prompt,
               QWidget* parent = nullptr);

    // The close box and Escape ask first.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    void startEntered();
    void endEntered();
    void chooseLine();
    void storeChoice();
    bool refusePeriod(core::Date start, core::Date end);
    // Puts the normalised text back into the field; returns the date (null when empty or invalid).
    core::Date normaliseField(QLineEdit* field);

    core::ProgramSettings& settings_;
    core::Prompt& prompt_;
    QLineEdit* strYYMMDD = nullptr;
    QLineEdit* endYYMMDD = nullptr;
    QListWidget* ComboKBun = nullptr;
    QLabel* Label2 = nullptr;
};

}  // namespace app
