#pragma once
// The order windows on the main window: the detail window (with the split)
// opens from the bar's pop-up menu, a double-click on a grid row and the search.

namespace chart { class MainForm; }

namespace windows {

void installOrderWindows(chart::MainForm& form);

}  // namespace windows
