#pragma once
// "CSV取込": what a brought-back CSV file would change in the open plan
// (order, field, old → new, the bars a push moves included), the lines that
// cannot apply with their reason, and the policy for the move rules'
// questions. "取込" applies the rest as one undo step.

#include "core/Prompt.h"
#include "session/PlanImport.h"

#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace chart { class MainForm; }

namespace windows {

class CsvImportWindow : public QDialog {
    Q_OBJECT
public:
    // prompt: where messages go (null: message boxes over this window).
    CsvImportWindow(session::PlanSession& session, session::ImportRequest request, const QString& fileName,
                    core::Prompt* prompt = nullptr, QWidget* parent = nullptr);
    ~CsvImportWindow() override;

    const session::ImportReport& preview() const { return preview_; }

    QLabel* lblFile = nullptr;
    QRadioButton* optPushYes = nullptr;   // overlaps resolved: later bars pushed back
    QRadioButton* optPushNo = nullptr;    // the given starts kept
    QTableWidget* grdChanges = nullptr;   // 手配番号, 項目, 変更前, 変更後
    QTableWidget* grdRefused = nullptr;   // 行, 手配番号, 理由
    QLabel* lblSummary = nullptr;
    QPushButton* cmdImport = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void refresh();
    void importRows();

    session::PlanSession& session_;
    session::ImportRequest request_;
    session::ImportReport preview_;
    std::unique_ptr<core::Prompt> ownPrompt_;
    core::Prompt* prompt_;
};

// The menu entry "ファイル" → "CSV取込..." of the main window (the file menu
// is made when the window has none yet).
void addCsvImportMenu(chart::MainForm& form);
// Reads the file and shows the window over the main window; a file that cannot
// be read is told and nothing else happens. Returns the window (deleted on
// close), or null.
CsvImportWindow* openCsvImport(chart::MainForm& form, const QString& path);

}  // namespace windows
