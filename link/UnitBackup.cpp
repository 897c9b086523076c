#include "link/UnitBackup.h"

#include "core/Logging.h"
#include "image/FileAccess.h"
#include "link/Transfer.h"

#include <QDir>
#include <QFileInfo>
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

QStringList list(const QString& folder)
{
    QStringList names = QDir(folder).entryList({QStringLiteral("*.cfg")}, QDir::Files, QDir::Name);
    // "…-HHmmss.cfg" before "…-HHmmss-2.cfg": compare without the extension.
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.chopped(4) < b.chopped(4); });
    for (QString& n : names)
        n = QDir(folder).filePath(n);
    return names;
}

int prune(const QString& folder, int keep)
{
    const QStringList all = list(folder);
    int removed = 0;
    for (int i = 0; i + keep < all.size(); ++i)
        if (QFile::remove(all[i]))
            ++removed;
        else
            qCWarning(lcLink).noquote() << "cannot remove the old backup" << all[i];
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
    const FileAccess::WriteResult w = FileAccess::writeFile(context, path, text);
    if (!w.ok()) {
        *error = w.error;
        return QString();
    }
    prune(folder, keep);
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
