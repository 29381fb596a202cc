#pragma once
// The main window's schedule list and order Gantt window, handed to it.

namespace chart { class MainForm; }

namespace windows {

// The schedule list button opens (or brings forward) the one schedule list of
// the window; the pop-up entry orderGanttAction opens the order Gantt window of its bar.
void attachListWindows(chart::MainForm& form);

}  // namespace windows
