#pragma once
// Read-only folders that bite for root too. Tests often run as root, whom file permissions
// do not stop; on Linux root can give up the capabilities that let it ignore them, for the
// calling thread or for a child process, and then a folder made read-only is read-only.
#include <QString>

class QProcess;

namespace Permissions {
// While it lives, file permissions apply to the calling thread as to anyone (root lays down
// its override). active() is false where that cannot be had: skip the test then.
class Enforced {
public:
    Enforced();
    ~Enforced();
    Enforced(const Enforced&) = delete;
    Enforced& operator=(const Enforced&) = delete;
    bool active() const { return m_active; }

private:
    bool m_active = false;
    bool m_lowered = false;
};

// Whether enforceInChild() makes permissions bite for a child process here.
bool canEnforceInChild();
// The child process that p starts honours file permissions (root's override is taken from
// it before the program starts). Replaces p's child-process modifier.
void enforceInChild(QProcess& p);

// Whether the file may be read and written by its owner only (the "user" bits mirror the owner's).
bool isPrivate(const QString& path);

// Makes the folder and everything below it read-only (folders r-x, files r--), or writable by
// the owner again.
void setTreeReadOnly(const QString& folder, bool readOnly);
}
