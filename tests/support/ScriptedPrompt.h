#pragma once
// Answers the planning rules' questions from a script and records every text shown.

#include "core/Prompt.h"

#include <QString>
#include <QStringList>
#include <deque>

namespace testing_support {

class ScriptedPrompt : public core::Prompt {
public:
    std::deque<bool> answers;  // consumed in order; an unscripted question fails the test
    QStringList asked;         // questions in the order asked
    QList<bool> defaults;      // each question's default answer (true = Yes)
    QStringList told;          // notices in the order shown

    bool askYesNo(const QString& text, const QString& title = {}, bool defaultYes = true) override;
    void tell(const QString& text, const QString& title = {}, Icon icon = Icon::Information) override;
};

}  // namespace testing_support
