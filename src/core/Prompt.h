#pragma once
// The questions and notices that the planning rules put to the planner.
// The main window answers them with message boxes; tests answer from a script.

#include <QString>

namespace core {

class Prompt {
public:
    enum class Icon { Information, Warning, Critical, Question };

    virtual ~Prompt() = default;
    // A Yes/No question; returns true for Yes.
    virtual bool askYesNo(const QString& text, const QString& title = {}, bool defaultYes = true) = 0;
    // A notice with an OK button only.
    virtual void tell(const QString& text, const QString& title = {}, Icon icon = Icon::Information) = 0;
};

}  // namespace core
