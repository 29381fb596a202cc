#pragma once
// 機械選択: the operator chooses which machines of the factory and class are
// rows of the chart. OK stores every choice (DB0497) in one transaction and
// the chart is rebuilt with the new rows; the plan itself is not touched.

#include "core/Prompt.h"
#include "session/PlanSession.h"

#include <QDialog>
#include <memory>

class QListWidget;
class QPushButton;

namespace windows {

class KikaiSelectForm : public QDialog {
    Q_OBJECT
public:
    // prompt: where messages go (null: message boxes over this window).
    KikaiSelectForm(session::PlanSession& session, core::Prompt* prompt = nullptr, QWidget* parent = nullptr);
    ~KikaiSelectForm() override;

    // Fills KList from the database; false when that failed (the planner was told).
    bool load();
    // The choices as the list shows them, each with the machine's full code.
    std::vector<store::MachineChoice> choices() const;

    // Item text: the code fitted to 8 bytes, a blank and the name.
    static QString itemText(const store::MachineChoice& m);

    QListWidget* KList = nullptr;
    QPushButton* ComAllCheck = nullptr;
    QPushButton* ComAllClear = nullptr;
    QPushButton* ComOK = nullptr;
    QPushButton* ComCancel = nullptr;

private:
    void setAll(bool checked);
    void ok();

    session::PlanSession& session_;
    std::unique_ptr<core::Prompt> ownPrompt_;
    core::Prompt* prompt_;
};

}  // namespace windows
