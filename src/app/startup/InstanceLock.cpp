#include "app/startup/InstanceLock.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <unistd.h>

namespace app {

InstanceLock::InstanceLock(QString path) : path_(std::move(path)), lock_(std::make_unique<QLockFile>(path_))
{
    // Only a live owner counts; how long the lock has been held does not.
    lock_->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::tryLock()
{
    QDir().mkpath(QFileInfo(path_).absolutePath());
    return lock_->tryLock(0);
}

bool InstanceLock::isLocked() const
{
    return lock_->isLocked();
}

QString InstanceLock::defaultPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath() + QStringLiteral("/velmoran-%1").arg(::getuid());
    QString session = qEnvironmentVariable("XDG_SESSION_ID");
    if (session.isEmpty()) session = qEnvironmentVariable("DISPLAY");
    if (session.isEmpty()) session = qEnvironmentVariable("WAYLAND_DISPLAY");
    session.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    const QString name = session.isEmpty() ? QStringLiteral("velmoran-planner.lock")
                                           : QStringLiteral("velmoran-planner-%1.lock").arg(session);
    return QDir(dir).filePath(name);
}

}  // namespace app
