#include "image/FileAccess.h"
#include "core/Logging.h"

#include "core/ProgramContext.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

namespace {
QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

const QRegularExpression& temporaryPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^.+\\.smsv48-[A-Za-z0-9]{6}\\.tmp$"));
    return pattern;
}

QString isFolder(const ProgramContext& context, const QString& path)
{
    return context.msgOr(QStringLiteral("gsMsgIstOrdner"), QStringLiteral("%1 ist ein Ordner.")).arg(shown(path));
}

QString notRegular(const ProgramContext& context, const QString& path)
{
    return context
        .msgOr(QStringLiteral("gsMsgKeineGewöhnlicheDatei"),
               QStringLiteral("%1 ist keine gewöhnliche Datei (sondern ein Gerät, eine benannte Pipe oder ein Socket); "
                              "das Programm liest und ersetzt nur gewöhnliche Dateien."))
        .arg(shown(path));
}

QString openFailure(const ProgramContext& context, const QString& path, const QString& reason)
{
    return context
        .msgOr(QStringLiteral("gsMsgDateiNichtGeöffnet"), QStringLiteral("Die Datei %1 kann nicht geöffnet werden: %2"))
        .arg(shown(path), reason);
}

QString failureSentence(const ProgramContext& context, const QString& path, const QString& reason, bool existed)
{
    const QString text = existed
        ? context.msgOr(
            QStringLiteral("gsMsgDateiNichtGeschrieben"),
            QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2. Die bisherige Datei ist unverändert."))
        : context.msgOr(
            QStringLiteral("gsMsgDateiNichtAngelegt"),
            QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2. Es wurde keine Datei angelegt."));
    return text.arg(shown(path), reason);
}

#ifdef Q_OS_UNIX
bool isPermissionError(int e) { return e == EACCES || e == EPERM || e == EROFS; }

// True when the running user may not write there (permissions, read-only file system).
bool writeDenied(const QByteArray& name, int* error)
{
    if (faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) == 0)
        return false;
    *error = errno;
    return isPermissionError(*error);
}

QByteArray folderOf(const QByteArray& name)
{
    const qsizetype slash = name.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : name.left(slash);
}

QByteArray randomSuffix()
{
    static const char digits[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray s(6, '0');
    for (char& c : s)
        c = digits[QRandomGenerator::global()->bounded(int(sizeof digits - 1))];
    return s;
}
#endif
} // namespace

namespace FileAccess {
QString fromNative(const QByteArray& bytes)
{
#ifdef Q_OS_UNIX
    QString out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char lead = p[i];
        if (lead < 0x80) {
            out += QChar(lead);
            ++i;
            continue;
        }
        int length = 0;
        char32_t code = 0, least = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, code = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, code = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, code = lead & 0x07, least = 0x10000;
        }
        bool valid = length > 0 && i + length <= n;
        for (int k = 1; valid && k < length; ++k) {
            valid = (p[i + k] & 0xC0) == 0x80;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        valid = valid && code >= least && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        if (!valid) {
            // A lone low surrogate never comes out of valid UTF-8, so it can stand for the byte.
            out += QChar(char16_t(0xDC00 + lead));
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            out += QChar(QChar::highSurrogate(code));
            out += QChar(QChar::lowSurrogate(code));
        } else {
            out += QChar(char16_t(code));
        }
        i += length;
    }
    return out;
#else
    return QString::fromLocal8Bit(bytes);
#endif
}

QByteArray nativeName(const QString& path)
{
#ifdef Q_OS_UNIX
    QByteArray out;
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t u = path[i].unicode();
        if (u < 0xDC80 || u > 0xDCFF || (i > 0 && path[i - 1].isHighSurrogate()))
            continue;
        out += QStringView(path).mid(start, i - start).toUtf8();
        out += char(u - 0xDC00);
        start = i + 1;
    }
    out += QStringView(path).mid(start).toUtf8();
    return out;
#else
    return QFile::encodeName(path);
#endif
}

QString checkRegularFile(const ProgramContext& context, const QString& path, Use use)
{
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(nativeName(path).constData(), &st) != 0) {
        const int e = errno;
        // Nothing there yet is fine for a file about to be written; the write itself reports
        // any other reason in the system's words.
        return use == Use::Write ? QString() : openFailure(context, path, systemReason(e));
    }
    if (S_ISDIR(st.st_mode))
        return isFolder(context, path);
    if (!S_ISREG(st.st_mode))
        return notRegular(context, path);
    return QString();
#else
    const QFileInfo fi(path);
    if (!fi.exists())
        return use == Use::Write ? QString() : openFailure(context, path, systemReason(ENOENT));
    if (fi.isDir())
        return isFolder(context, path);
    if (!fi.isFile())
        return notRegular(context, path);
    return QString();
#endif
}

bool openForReading(const ProgramContext& context, QFile& file, const QString& path, QString* error)
{
    QString problem = checkRegularFile(context, path, Use::Read);
    if (problem.isEmpty()) {
#ifdef Q_OS_UNIX
        // Opened without waiting (a pipe would wait for a writer), then checked once more on
        // what was really opened.
        const int fd = ::open(nativeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        struct stat st {};
        if (fd < 0) {
            problem = openFailure(context, path, systemReason(errno));
        } else if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            problem = S_ISDIR(st.st_mode) ? isFolder(context, path) : notRegular(context, path);
            ::close(fd);
        } else {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
                problem = openFailure(context, path, file.errorString());
                ::close(fd);
            }
        }
#else
        file.setFileName(path);
        if (!file.open(QIODevice::ReadOnly))
            problem = openFailure(context, path, file.errorString());
#endif
    }
    if (problem.isEmpty())
        return true;
    if (error)
        *error = problem;
    return false;
}

WriteResult writeFile(const ProgramContext& context, const QString& path, const QByteArray& data, Access access)
{
    WriteResult res;
    const QString problem = checkRegularFile(context, path, Use::Write);
    if (!problem.isEmpty()) {
        res.kind = WriteResult::Failed;
        res.error = problem;
        return res;
    }
#ifdef Q_OS_UNIX
    QByteArray target = nativeName(path);
    struct stat st;
    const bool existed = ::stat(target.constData(), &st) == 0;
    struct stat linkStat;
    if (existed && ::lstat(target.constData(), &linkStat) == 0 && S_ISLNK(linkStat.st_mode)) {
        // A symbolic link stays a link: the file it points to is replaced.
        if (char* real = ::realpath(target.constData(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    auto fail = [&](int e) {
        res.kind = isPermissionError(e) ? WriteResult::ReadOnly : WriteResult::Failed;
        res.error = writeFailure(context, path, e, existed);
        return res;
    };
    int denied = 0;
    if (existed && writeDenied(target, &denied))
        return fail(denied);
    const QByteArray folder = folderOf(target);
    struct stat folderStat;
    if (::stat(folder.constData(), &folderStat) == 0 && S_ISDIR(folderStat.st_mode) && writeDenied(folder, &denied))
        return fail(denied);

    removeStaleTemporaries(fromNative(folder));
    // The new content goes to a file of its own beside the target and replaces it by a rename
    // once it is complete and on the disk.
    const bool isPrivate = access == Access::Private;
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = target + ".smsv48-" + randomSuffix() + ".tmp";
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, isPrivate ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return fail(errno);
    auto abandon = [&](int e) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temp.constData());
        return fail(e);
    };
    if (isPrivate ? ::fchmod(fd, 0600) != 0 : existed && ::fchmod(fd, st.st_mode & 07777) != 0)
        return abandon(errno);
    const char* p = data.constData();
    qint64 left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return abandon(errno);
        }
        p += n;
        left -= n;
    }
    // A full disk can show only here, when the data reaches it.
    if (::fsync(fd) != 0 && errno != EINVAL)
        return abandon(errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0 && errno != EINTR)
        return abandon(errno);
    if (::rename(temp.constData(), target.constData()) != 0)
        return abandon(errno);
    return res;
#else
    Q_UNUSED(access)
    const bool existed = QFileInfo::exists(path);
    QSaveFile file(path);
    // Unbuffered: a failed write keeps the system's reason (closing the buffer would lose it).
    QString reason;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        res.kind = file.error() == QFileDevice::PermissionsError ? WriteResult::ReadOnly : WriteResult::Failed;
        reason = file.errorString();
    } else if (file.write(data) != data.size()) {
        reason = file.errorString();
        file.cancelWriting();
        res.kind = WriteResult::Failed;
    } else if (!file.commit()) {
        reason = file.errorString();
        res.kind = WriteResult::Failed;
    }
    if (!res.ok()) {
        res.error = failureSentence(context, path, reason, existed);
        qCDebug(lcImage).noquote() << "write failed:" << res.error;
    }
    return res;
#endif
}

bool isTemporaryName(const QString& fileName) { return temporaryPattern().match(fileName).hasMatch(); }

int removeStaleTemporaries(const QString& folder)
{
    int removed = 0;
    const QDateTime minuteAgo = QDateTime::currentDateTimeUtc().addSecs(-60);
    const QDir dir(folder);
    for (const QFileInfo& fi :
         dir.entryInfoList({QStringLiteral("*.smsv48-??????.tmp")}, QDir::Files | QDir::Hidden | QDir::System)) {
        if (!isTemporaryName(fi.fileName()) || fi.isSymLink() || fi.lastModified().toUTC() > minuteAgo)
            continue;
        if (QFile::remove(fi.filePath()))
            ++removed;
    }
    if (removed)
        qCInfo(lcImage).noquote() << "removed" << removed << "temporary files left by an interrupted save in" << folder;
    return removed;
}

bool openPrivateForWriting(const ProgramContext& context, QFile& file, const QString& path, QString* error)
{
    QString problem = checkRegularFile(context, path, Use::Write);
    if (problem.isEmpty()) {
#ifdef Q_OS_UNIX
        const QByteArray name = nativeName(path);
        struct stat st {};
        const bool existed = ::stat(name.constData(), &st) == 0;
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0600);
        if (fd < 0) {
            problem = writeFailure(context, path, errno, existed);
        } else if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fchmod(fd, 0600) != 0) {
            problem = S_ISREG(st.st_mode) ? writeFailure(context, path, errno, existed) : notRegular(context, path);
            ::close(fd);
        } else {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
                problem = failureSentence(context, path, file.errorString(), existed);
                ::close(fd);
            }
        }
#else
        file.setFileName(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            problem = failureSentence(context, path, file.errorString(), false);
        else
            file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#endif
    }
    if (problem.isEmpty())
        return true;
    if (error)
        *error = problem;
    return false;
}

QString systemReason(int errorNumber) { return QString::fromLocal8Bit(std::strerror(errorNumber)); }

QString writeFailure(const ProgramContext& context, const QString& path, int errorNumber, bool existed)
{
    return failureSentence(context, path, systemReason(errorNumber), existed);
}
}
