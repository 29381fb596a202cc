#include "windows/ListWindows.h"

#include "chart/MainForm.h"
#include "windows/OrderGanttWindow.h"
#include "windows/ScheduleListWindow.h"

namespace windows {

void attachListWindows(chart::MainForm& form)
{
    form.setScheduleListOpener([&form] {
        auto* list = form.findChild<ScheduleListWindow*>();
        if (!list) list = new ScheduleListWindow(form);
        list->preShow();
    });
    form.setOrderGanttOpener([&form](int recordNo) {
        auto* gantt = new OrderGanttWindow(form, recordNo);
        gantt->setAttribute(Qt::WA_DeleteOnClose);
        gantt->show();
    });
}

}  // namespace windows
