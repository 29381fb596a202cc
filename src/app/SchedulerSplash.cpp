#include "app/SchedulerSplash.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace app {

SchedulerSplash::SchedulerSplash(QWidget* parent) : QFrame(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("SchedulerSplash"));
    setFrameStyle(QFrame::Box | QFrame::Raised);
    setLineWidth(2);

    auto* title = new QLabel(QStringLiteral("工程計画立案支援システム"), this);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);
    auto* product = new QLabel(QStringLiteral("Velmoran"), this);
    lblVersion = new QLabel(versionText(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblProgress = new QLabel(this);
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    lblProgress->setMinimumWidth(420);

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(24, 24, 24, 24);
    box->addWidget(title, 0, Qt::AlignCenter);
    box->addWidget(product, 0, Qt::AlignCenter);
    box->addWidget(lblVersion, 0, Qt::AlignRight);
    box->addSpacing(16);
    box->addWidget(lblProgress);
    adjustSize();
}

QString SchedulerSplash::versionText()
{
    return QStringLiteral("Ver.%1.%2.%3").arg(PLANNER_VERSION_MAJOR).arg(PLANNER_VERSION_MINOR).arg(PLANNER_VERSION_REVISION);
}

void SchedulerSplash::setProgressText(const QString& text)
{
    lblProgress->setText(text);
    if (!isVisible()) return;
    repaint();
    // Paint now; input waits, so nothing else runs in the middle of a load.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QString SchedulerSplash::progressText() const
{
    return lblProgress->text();
}

void SchedulerSplash::keyPressEvent(QKeyEvent*)
{
    close();
}

void SchedulerSplash::mousePressEvent(QMouseEvent*)
{
    close();
}

}  // namespace app
