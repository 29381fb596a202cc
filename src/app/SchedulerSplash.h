#pragma once
// The window shown while the main window loads: the program's name and
// version, and the loaders' progress text. A key press or a click closes it.

#include <QFrame>

class QLabel;

namespace app {

class SchedulerSplash : public QFrame {
    Q_OBJECT
public:
    explicit SchedulerSplash(QWidget* parent = nullptr);

    // "Ver." + major.minor.revision of this build.
    static QString versionText();

    // Shows a loader's progress text at once.
    void setProgressText(const QString& text);
    QString progressText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLabel* lblVersion = nullptr;
    QLabel* lblProgress = nullptr;
};

}  // namespace app
