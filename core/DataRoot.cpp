#include "core/DataRoot.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
bool hasDatabaseFolder(const QString& dir) { return QFileInfo(QDir(dir).filePath(QStringLiteral("Datenbank"))).isDir(); }

// Copies every file of the template tree that the target lacks.
bool seed(const QString& from, const QString& to, QString* error)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString rel = QDir(from).relativeFilePath(src);
        const QString dst = QDir(to).filePath(rel);
        if (QFileInfo::exists(dst))
            continue;
        QDir().mkpath(QFileInfo(dst).absolutePath());
        if (!QFile::copy(src, dst)) {
            if (error)
                *error = QStringLiteral("Cannot copy %1 to %2.").arg(src, dst);
            return false;
        }
        QFile::setPermissions(dst, QFile::permissions(dst) | QFile::WriteOwner | QFile::ReadOwner);
    }
    for (const char* sub : {"UserProfile", "Download/Config", "Download/Firmware"})
        QDir().mkpath(QDir(to).filePath(QString::fromLatin1(sub)));
    return true;
}
} // namespace

namespace DataRoot {
QString find(QString* error)
{
    const QByteArray env = qgetenv("SMSV48_HOME");
    if (!env.isEmpty())
        return QDir(QString::fromLocal8Bit(env)).absolutePath();
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (hasDatabaseFolder(exeDir))
        return exeDir;
    // Installed: templates in ../share/smsv48 beside the executable.
    const QString templates = QDir(exeDir).absoluteFilePath(QStringLiteral("../share/smsv48"));
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (user.isEmpty()) {
        if (error)
            *error = QStringLiteral("No per-user data folder is available.");
        return QString();
    }
    if (hasDatabaseFolder(templates)) {
        if (!seed(templates, user, error))
            return QString();
        return user;
    }
    if (hasDatabaseFolder(user))
        return user;
    if (error)
        *error = QStringLiteral("The program folder with Datenbank/ was not found (set SMSV48_HOME).");
    return QString();
}

QString databasePath(const QString& root) { return QDir(root).filePath(QStringLiteral("Datenbank/SMS_Vantor.sqlite")); }
}
