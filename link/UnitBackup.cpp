#include "link/UnitBackup.h"

#include "core/Logging.h"
#include "image/FileAccess.h"
#include "link/Transfer.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>

namespace UnitBackup {

QString unitName(const QString& serial)
{
    QString name;
    bool any = false;
    for (const QChar c : serial) {
        const ushort u = c.unicode();
        if (u == 0 || u == 0xFF || c.isSpace())
            continue;
        any = true;
        const bool plain
            = (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '-' || u == '_';
        name += plain ? c : QLatin1Char('_');
    }
    return any ? name : QStringLiteral("unknown");
}

QString folderFor(const QString& dataRoot, const QString& serial)
{
    return QDir(dataRoot).filePath(QStringLiteral("Backups/") + unitName(serial));
}

QString fileNameFor(const QDateTime& when) { return when.toString(QStringLiteral("yyyyMMdd-HHmmss")) + ".cfg"; }

QByteArray profileText(const UnitImage& image)
{
    QByteArray text;
    for (const QString& line : image.lines())
        text += line.toLatin1() + "\r\n";
    return text;
}

namespace {
    // The time and the same-second number of a stamped name, for ordering; false for other names.
    bool stampOf(const QString& fileName, const QString& suffix, QString* time, int* number)
    {
        static const QRegularExpression stamped(QStringLiteral("^(\\d{8}-\\d{6})(?:-([1-9]\\d{0,5}))?$"));
        if (!fileName.endsWith(suffix))
            return false;
        const QRegularExpressionMatch m = stamped.match(fileName.chopped(suffix.size()));
        if (!m.hasMatch())
            return false;
        *time = m.captured(1);
        *number = m.capturedLength(2) ? m.captured(2).toInt() : 1;
        return true;
    }
} // namespace

bool isStampedName(const QString& fileName, const QString& suffix)
{
    QString time;
    int number = 0;
    return stampOf(fileName, suffix, &time, &number);
}

QStringList list(const QString& folder, const QString& suffix)
{
    struct Entry {
        QString time;
        int number;
        QString name;
    };
    QList<Entry> entries;
    for (const QString& name : QDir(folder).entryList({QLatin1Char('*') + suffix}, QDir::Files)) {
        Entry e {QString(), 0, name};
        if (stampOf(name, suffix, &e.time, &e.number))
            entries << e;
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.time != b.time ? a.time < b.time : a.number < b.number; });
    QStringList paths;
    for (const Entry& e : entries)
        paths << QDir(folder).filePath(e.name);
    return paths;
}

int prune(const QString& folder, int keep, const QString& justWritten, const QString& suffix)
{
    QStringList all = list(folder, suffix);
    const QString protectedPath = justWritten.isEmpty() ? QString() : QFileInfo(justWritten).absoluteFilePath();
    const qsizetype before = all.size();
    all.removeIf([&](const QString& p) { return QFileInfo(p).absoluteFilePath() == protectedPath; });
    const int others = std::max(0, keep - int(before - all.size()));
    int removed = 0;
    for (qsizetype i = 0; i + others < all.size(); ++i)
        if (QFile::remove(all[i]))
            ++removed;
        else
            qCWarning(lcLink).noquote() << "cannot remove the old file" << all[i];
    return removed;
}

QString store(const ProgramContext& context, const QString& folder, const QByteArray& text, const QDateTime& when,
              QString* error, int keep)
{
    errno = 0;
    if (!QDir().mkpath(folder)) {
        *error = FileAccess::writeFailure(context, QDir(folder).filePath(fileNameFor(when)), errno ? errno : EACCES,
                                          false);
        return QString();
    }
    const QString stem = fileNameFor(when).chopped(4);
    QString path = QDir(folder).filePath(stem + ".cfg");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(folder).filePath(QStringLiteral("%1-%2.cfg").arg(stem).arg(n));
    const FileAccess::WriteResult w = FileAccess::writeFile(context, path, text, FileAccess::Access::Private);
    if (!w.ok()) {
        *error = w.error;
        return QString();
    }
    prune(folder, keep, path);
    if (!QFileInfo::exists(path)) { // removed meanwhile by someone else: no path to report
        *error = FileAccess::writeFailure(context, path, ENOENT, false);
        return QString();
    }
    return path;
}

UnitOutcome readSerial(Link& link, QString* serial)
{
    const UnitOps::ParameterRead r = UnitOps::readParameter(link, 0x00);
    *serial = UnitOps::serialFrom(r.reply);
    if (r.outcome.kind == UnitOutcome::Incomplete)
        return UnitOutcome(); // the unit answers but gives no number: "unknown"
    return r.outcome;
}

Result readAndStore(Link& link, const QString& dataRoot, const QDateTime& when, int retries, int keep)
{
    Result result;
    result.outcome = readSerial(link, &result.serial);
    if (!result.outcome)
        return result;
    UnitImage image;
    for (int attempt = 0; attempt <= retries; ++attempt) {
        link.resetForCommand();
        ConfigTransfer transfer(link);
        const TransferOutcome o = transfer.read(image);
        result.outcome = UnitOutcome::fromTransfer(o);
        if (o.ok() || o.kind == TransferOutcome::Cancelled || o.kind == TransferOutcome::PortLost)
            break;
        qCInfo(lcLink).noquote() << "backup read failed:" << o.detail;
    }
    if (!result.outcome)
        return result;
    result.text = profileText(image);
    result.path = store(link.context(), folderFor(dataRoot, result.serial), result.text, when, &result.fileError, keep);
    return result;
}
}
