#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

namespace testing_support {

bool ScriptedPrompt::askYesNo(const QString& text, const QString&, bool defaultYes)
{
    asked << text;
    defaults << defaultYes;
    if (answers.empty()) {
        ADD_FAILURE() << "unscripted question: " << text.toStdString();
        return false;
    }
    const bool a = answers.front();
    answers.pop_front();
    return a;
}

void ScriptedPrompt::tell(const QString& text, const QString&, Icon) { told << text; }

}  // namespace testing_support
