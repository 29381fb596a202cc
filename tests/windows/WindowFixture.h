#pragma once
// The main window over the chart tests' plant with this folder's windows
// handed in, and a prompt that keeps every notice with its title and icon.

#include "chart/ChartFixture.h"
#include "reschedule/MasterLookup.h"
#include "windows/ListWindows.h"
#include "support/NoMasters.h"

#include <QStringList>
#include <deque>

namespace windows_test {

using namespace chart_test;

struct Notice {
    QString text, title;
    core::Prompt::Icon icon = core::Prompt::Icon::Information;
};

class RecordingPrompt : public core::Prompt {
public:
    std::deque<bool> answers;
    std::vector<Notice> told;
    QStringList asked;
    bool askYesNo(const QString& text, const QString&, bool defaultYes) override
    {
        asked << text;
        if (answers.empty()) {
            ADD_FAILURE() << "unscripted question: " << text.toStdString();
            return defaultYes;
        }
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void tell(const QString& text, const QString& title, Icon icon) override { told.push_back({text, title, icon}); }
    QStringList texts() const
    {
        QStringList out;
        for (const Notice& n : told) out << n.text;
        return out;
    }
};

// The main window over the small chart plant with the list windows attached.
// (WindowTestSupport.h has the session-only WindowTest.)
class ChartWindowTest : public ChartTest {
protected:
    void show()
    {
        windows::attachListWindows(*form);
        ChartTest::show();
        form->setPrompt(&prompt);
        form->setMasterLookup(&masters);
    }
    std::vector<plan::PlanRecord> snapshot()
    {
        std::vector<plan::PlanRecord> all;
        for (int i = 1; i <= plan().size(); ++i) all.push_back(plan()[i]);
        return all;
    }

    RecordingPrompt prompt;
    testing_support::NoMasters masters;
};

}  // namespace windows_test
