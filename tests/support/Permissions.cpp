#include "Permissions.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#endif

namespace {
#ifdef Q_OS_LINUX
// The capabilities that let root read, write and change files whatever their permissions.
constexpr int kOverrides[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER};

struct Capabilities {
    __user_cap_header_struct header {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] {};
    bool read() { return syscall(SYS_capget, &header, data) == 0; }
    bool write() { return syscall(SYS_capset, &header, data) == 0; }
    bool has(int cap, __u32 __user_cap_data_struct::*set) const
    {
        return (data[cap / 32].*set & (1u << (cap % 32))) != 0;
    }
};

// Capabilities are per thread: this changes the calling thread only.
bool setOverridesEffective(bool on)
{
    Capabilities c;
    if (!c.read())
        return false;
    for (int cap : kOverrides) {
        __u32& effective = c.data[cap / 32].effective;
        const __u32 bit = 1u << (cap % 32);
        effective = on ? (effective | (bit & c.data[cap / 32].permitted)) : (effective & ~bit);
    }
    return c.write();
}
#endif
} // namespace

namespace Permissions {
bool isPrivate(const QString& path)
{
    return (QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser))
        == (QFile::ReadOwner | QFile::WriteOwner);
}

Enforced::Enforced()
{
#ifdef Q_OS_UNIX
    if (geteuid() != 0) {
        m_active = true;
        return;
    }
#endif
#ifdef Q_OS_LINUX
    m_lowered = m_active = setOverridesEffective(false);
#endif
}

Enforced::~Enforced()
{
#ifdef Q_OS_LINUX
    if (m_lowered)
        setOverridesEffective(true);
#endif
}

bool canEnforceInChild()
{
#ifdef Q_OS_UNIX
    if (geteuid() != 0)
        return true;
#endif
#ifdef Q_OS_LINUX
    // Taking a capability out of the bounding set needs CAP_SETPCAP.
    Capabilities c;
    return c.read() && c.has(CAP_SETPCAP, &__user_cap_data_struct::effective);
#else
    return false;
#endif
}

void enforceInChild(QProcess& p)
{
#ifdef Q_OS_LINUX
    p.setChildProcessModifier([] {
        // Between fork and exec: system calls only. Out of the bounding set, the program
        // started next does not get them back as root.
        for (int cap : kOverrides)
            prctl(PR_CAPBSET_DROP, cap, 0, 0, 0);
    });
#else
    Q_UNUSED(p);
#endif
}

void setTreeReadOnly(const QString& folder, bool readOnly)
{
    const QFile::Permissions file = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const QFile::Permissions dir = file | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    const QFile::Permissions write = readOnly ? QFile::Permissions() : QFile::Permissions(QFile::WriteOwner);
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    QStringList files, dirs {folder};
    while (it.hasNext()) {
        const QString path = it.next();
        (it.fileInfo().isDir() ? dirs : files) << path;
    }
    for (const QString& f : files)
        QFile::setPermissions(f, file | write);
    for (const QString& d : dirs)
        QFile::setPermissions(d, dir | write);
}
}
