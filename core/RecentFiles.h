#pragma once
// The profiles opened or saved last, newest first (File menu), kept in the settings as
// [Zuletzt] Datei1..Datei8, and the folder the file dialogs start in.
#include <QString>
#include <QStringList>

namespace RecentFiles {
constexpr int MaxEntries = 8;
// The list, newest first; entries whose file no longer exists are left out.
QStringList list();
// Puts path at the top (once; the same file by another spelling counts as the same).
void add(const QString& path);
void remove(const QString& path);
// The folder of the last profile opened or saved; the user's documents folder when there
// is none or it is gone (never the program's hidden data folder).
QString lastFolder();
}
