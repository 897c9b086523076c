#include "store/DataRoot.h"

#include "store/DatabaseUpgrade.h"
#include "store/Recordset.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
// In the per-user folder: the fingerprint of the templates it was last brought up to date with.
const QString stampName = QStringLiteral(".template-stamp");

bool hasDatabaseFolder(const QString& dir)
{
    return QFileInfo(QDir(dir).filePath(QStringLiteral("Datenbank"))).isDir();
}

// The files of a tree, as paths relative to it, in a stable order.
QStringList filesUnder(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

bool copyFile(const QString& src, const QString& dst, QString* error)
{
    QDir().mkpath(QFileInfo(dst).absolutePath());
    if (!QFile::copy(src, dst)) {
        if (error)
            *error = QStringLiteral("Cannot copy %1 to %2.").arg(src, dst);
        return false;
    }
    QFile::setPermissions(dst, QFile::permissions(dst) | QFile::WriteOwner | QFile::ReadOwner);
    return true;
}

// Copies every file of the template tree that the target lacks.
bool seed(const QString& from, const QString& to, QString* error)
{
    for (const QString& rel : filesUnder(from)) {
        const QString dst = QDir(to).filePath(rel);
        if (!QFileInfo::exists(dst) && !copyFile(QDir(from).filePath(rel), dst, error))
            return false;
    }
    for (const char* sub : {"UserProfile", "Download/Config", "Download/Firmware"})
        QDir().mkpath(QDir(to).filePath(QString::fromLatin1(sub)));
    return true;
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Names and contents of every template file: changes whenever another release is installed.
QByteArray fingerprint(const QString& templates)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& rel : filesUnder(templates)) {
        const QByteArray data = contents(QDir(templates).filePath(rel));
        hash.addData(rel.toUtf8() + '\0' + QByteArray::number(data.size()) + '\0');
        hash.addData(data);
    }
    return hash.result().toHex();
}

// In the per-user folder: the help pages as they were copied from the templates ("path<TAB>
// sha256" lines), so that a page the user changed since can be told from an untouched one.
const QString helpRecordName = QStringLiteral(".template-help");

QByteArray digest(const QByteArray& data) { return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex(); }

QHash<QString, QByteArray> readHelpRecord(const QString& user)
{
    QHash<QString, QByteArray> record;
    for (const QByteArray& line : contents(QDir(user).filePath(helpRecordName)).split('\n')) {
        const int tab = line.indexOf('\t');
        if (tab > 0)
            record.insert(QString::fromUtf8(line.left(tab)), line.mid(tab + 1).trimmed());
    }
    return record;
}

void writeHelpRecord(const QString& user, const QHash<QString, QByteArray>& record)
{
    QStringList paths = record.keys();
    paths.sort();
    QByteArray text;
    for (const QString& rel : paths)
        text += rel.toUtf8() + '\t' + record.value(rel) + '\n';
    QSaveFile file(QDir(user).filePath(helpRecordName));
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size())
        file.commit();
}

// The template's help pages over the user's copies where they differ. A copy the user changed
// (or one of a folder from before the copies were recorded) is first kept beside it as
// NAME.local; pages of the user's own that the templates do not have stay.
bool refreshHelp(const QString& templates, const QString& user, QString* error)
{
    const QString help = QStringLiteral("help");
    const QDir from(QDir(templates).filePath(help));
    QHash<QString, QByteArray> record = readHelpRecord(user);
    for (const QString& rel : filesUnder(from.path())) {
        const QString key = help + QLatin1Char('/') + rel;
        const QString src = from.filePath(rel);
        const QString dst = QDir(user).filePath(key);
        const QByteArray wanted = contents(src), present = contents(dst);
        if (wanted != present) {
            if (QFileInfo::exists(dst) && digest(present) != record.value(key)) {
                const QString kept = dst + QStringLiteral(".local");
                QFile::remove(kept);
                if (!QFile::rename(dst, kept)) {
                    if (error)
                        *error = QStringLiteral("Cannot keep %1 as %2.").arg(dst, kept);
                    return false;
                }
            }
            QFile::remove(dst);
            if (!copyFile(src, dst, error))
                return false;
        }
        record.insert(key, digest(wanted));
    }
    writeHelpRecord(user, record);
    return true;
}
} // namespace

namespace DataRoot {
bool prepareUserFolder(const ProgramContext& context, const QString& templates, const QString& user, QString* error)
{
    // A folder the user may not write (made read-only after a release update) is used as it
    // is: what can be read still works, and the update is tried again at a later start.
    const bool readOnly
        = QFileInfo(databasePath(user)).isFile() && !checkDatabaseWritable(context, databasePath(user)).isEmpty();
    if (!seed(templates, user, error) && !readOnly)
        return false;
    const QString stampPath = QDir(user).filePath(stampName);
    const QByteArray current = fingerprint(templates);
    if (contents(stampPath).trimmed() == current)
        return true;
    switch (DatabaseUpgrade::fromTemplate(context, databasePath(templates), databasePath(user), error)) {
    case DatabaseUpgrade::Outcome::Failed: return false;
    case DatabaseUpgrade::Outcome::Skipped: return true;
    default: break;
    }
    if (readOnly)
        return true;
    if (!refreshHelp(templates, user, error))
        return false;
    // Not written (a folder that cannot be written): the next start compares again, harmlessly.
    QSaveFile stamp(stampPath);
    if (stamp.open(QIODevice::WriteOnly) && stamp.write(current + '\n') == current.size() + 1)
        stamp.commit();
    return true;
}

QString find(const ProgramContext& context, QString* error)
{
    const QByteArray env = qgetenv("SMSV48_HOME");
    if (!env.isEmpty())
        return QDir(QString::fromLocal8Bit(env)).absolutePath();
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (hasDatabaseFolder(exeDir))
        return exeDir;
    // Installed: templates in ../share/smsv48 beside the executable.
    const QString templates = QDir::cleanPath(exeDir + QStringLiteral("/../share/smsv48"));
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (user.isEmpty()) {
        if (error)
            *error = QStringLiteral("No per-user data folder is available.");
        return QString();
    }
    if (hasDatabaseFolder(templates))
        return prepareUserFolder(context, templates, user, error) ? user : QString();
    if (hasDatabaseFolder(user))
        return user;
    if (error)
        *error = QStringLiteral("The program folder with Datenbank/ was not found (set SMSV48_HOME).");
    return QString();
}

QString databasePath(const QString& root) { return QDir(root).filePath(QStringLiteral("Datenbank/SMS_Vantor.sqlite")); }
}
