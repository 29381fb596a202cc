#pragma once
// Puts the rules' questions and notices to the planner in message boxes.

#include "core/Prompt.h"

class QWidget;

namespace chart {

class MessageBoxPrompt : public core::Prompt {
public:
    explicit MessageBoxPrompt(QWidget* parent) : parent_(parent) {}
    bool askYesNo(const QString& text, const QString& title = {}, bool defaultYes = true) override;
    void tell(const QString& text, const QString& title = {}, Icon icon = Icon::Information) override;

private:
    QWidget* parent_;
};

}  // namespace chart
