#include "windows/OrderWindows.h"

#include "chart/MainForm.h"
#include "windows/PlanWindow.h"

namespace windows {

void installOrderWindows(chart::MainForm& form)
{
    form.setDetailOpener([&form](int recordNo) { PlanWindow::showFor(form.session(), recordNo, &form); });
}

}  // namespace windows
