#pragma once
// What the schedule list (予定一覧) remembers for the rest of the run: where its
// window stood, the last search and the last sort. The window itself may be
// closed and opened again any number of times.

#include <QString>

namespace core {

struct ScheduleListMemory {
    int top = 0;   // twips; top and left both 0: nothing remembered
    int left = 0;
    bool searchActive = false;
    // The last search inputs as typed (trimmed).
    QString itemCode, request, mould, fromDate, toDate;
    bool sortActive = false;
    int sortColumn = 0;
    bool sortDescending = false;  // a second click on the same column reverses it
    bool shown = false;           // the list window is open

    void forgetPosition() { top = left = 0; }
};

}  // namespace core
