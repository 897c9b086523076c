#include "core/RecentFiles.h"

#include "core/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace RecentFiles {
namespace {
    const QString Section = QStringLiteral("Zuletzt");
    QString key(int i) { return QStringLiteral("Datei%1").arg(i + 1); }

    QString canonical(const QString& path)
    {
        const QFileInfo info(path);
        const QString c = info.canonicalFilePath();
        return c.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : c;
    }

    QStringList stored()
    {
        QStringList out;
        for (int i = 0; i < MaxEntries; ++i) {
            const QString p = Settings::get(Section, key(i));
            if (!p.isEmpty())
                out << p;
        }
        return out;
    }

    void store(const QStringList& paths)
    {
        for (int i = 0; i < MaxEntries; ++i)
            Settings::set(Section, key(i), i < paths.size() ? paths[i] : QString());
    }
}

QStringList list()
{
    QStringList out;
    for (const QString& p : stored())
        if (QFileInfo(p).isFile())
            out << p;
    return out;
}

void add(const QString& path)
{
    const QString file = canonical(path);
    QStringList paths {file};
    for (const QString& p : stored())
        if (canonical(p) != file)
            paths << p;
    store(paths.mid(0, MaxEntries));
    Settings::set(Section, QStringLiteral("Ordner"), QFileInfo(file).absolutePath());
}

void remove(const QString& path)
{
    const QString file = canonical(path);
    QStringList paths;
    for (const QString& p : stored())
        if (canonical(p) != file)
            paths << p;
    store(paths);
}

QString lastFolder()
{
    const QString folder = Settings::get(Section, QStringLiteral("Ordner"));
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}
}
