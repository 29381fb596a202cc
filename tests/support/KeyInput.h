#pragma once
// Typing text as a planner does: ASCII as key presses, everything else
// (Japanese, full-width forms) as the input method commits it.

#include <QApplication>
#include <QInputMethodEvent>
#include <QString>
#include <QTest>
#include <QWidget>

namespace testing_support {

inline void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) QTest::keyClick(w, char(c.unicode()));
        else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(w, &commit);
        }
    }
}

}  // namespace testing_support
