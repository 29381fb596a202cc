#pragma once
// 機械別稼働時間変更: the working calendar of one machine on one production day
// (operating ranges, stop period, working hours). OK stores the day through
// the session as one undo step; nothing is stored before OK passes its checks.

#include "core/Prompt.h"
#include "session/PlanSession.h"

#include <QDialog>
#include <array>
#include <memory>

class QLineEdit;
class QLabel;
class QPushButton;

namespace windows {

class LinePlanWindow : public QDialog {
    Q_OBJECT
public:
    // prompt: where messages go (null: message boxes over this window).
    LinePlanWindow(session::PlanSession& session, int row, int dayIndex, core::Prompt* prompt = nullptr, QWidget* parent = nullptr);
    ~LinePlanWindow() override;

    int row() const { return row_; }
    int dayIndex() const { return dayIndex_; }

    QLabel* lblKikai = nullptr;
    QLineEdit* PlanDate = nullptr;
    std::array<QLineEdit*, 8> PlanTime{};
    QLineEdit* PlanSum = nullptr;
    QLineEdit* NoWorkingTitle = nullptr;
    QLineEdit* NoWorkingTime = nullptr;
    QLineEdit* WorkingTimeSum = nullptr;
    QPushButton* ComOK = nullptr;
    QPushButton* ComCancel = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void fill();
    bool enterPressed(QLineEdit* box);
    void leftBox(QLineEdit* box);
    bool recomputeSums();
    void ok();
    void refuse(const QString& text, int box);
    QLineEdit* boxOf(int box) const;
    int indexOfTime(const QObject* box) const;

    session::PlanSession& session_;
    const int row_;
    const int dayIndex_;
    std::unique_ptr<core::Prompt> ownPrompt_;
    core::Prompt* prompt_;
    bool telling_ = false;  // a message is up: focus changes are not the planner's
};

}  // namespace windows
