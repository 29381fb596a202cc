#pragma once
// Refuses a second running copy of the planner in the same user session.
//
// A lock file in the user's runtime directory, named after the login session
// (XDG session, else the display), so two users, or one user on two separate
// sessions, can each run one copy. The lock dies with the process, so a crash
// never blocks the next start.

#include <QLockFile>
#include <QString>
#include <memory>

namespace app {

class InstanceLock {
public:
    explicit InstanceLock(QString path = defaultPath());
    ~InstanceLock();

    // True when this process now holds the lock; false when another live
    // process holds it.
    bool tryLock();
    bool isLocked() const;
    const QString& path() const { return path_; }

    static QString defaultPath();

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace app
