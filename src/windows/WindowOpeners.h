#pragma once
// Opens the windows of this folder from the main window's requests.

namespace chart { class MainForm; }

namespace windows {

// Right-button press on a machine row: LinePlanWindow; machineSelectionButton: KikaiSelectForm;
// "ファイル" → "CSV取込...": CsvImportWindow.
void connectWindows(chart::MainForm& form);

}  // namespace windows
