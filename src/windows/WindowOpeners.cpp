#include "windows/WindowOpeners.h"

#include "chart/MainForm.h"
#include "windows/CsvImportWindow.h"
#include "windows/KikaiSelectForm.h"
#include "windows/LinePlanWindow.h"

namespace windows {

void connectWindows(chart::MainForm& form)
{
    addCsvImportMenu(form);
    // Window-modal and not exec(): the main window's handler returns at once.
    QObject::connect(&form, &chart::MainForm::linePlanRequested, &form, [&form](int row, int dayIndex) {
        auto* w = new LinePlanWindow(form.session(), row, dayIndex, form.promptOverride(), &form);
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->setWindowModality(Qt::WindowModal);
        w->show();
    });
    QObject::connect(&form, &chart::MainForm::machineSelectionRequested, &form, [&form] {
        auto* w = new KikaiSelectForm(form.session(), form.promptOverride(), &form);
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->setWindowModality(Qt::WindowModal);
        if (!w->load()) {
            delete w;
            return;
        }
        w->show();
    });
}

}  // namespace windows
