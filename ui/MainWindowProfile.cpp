// Profile files and the configuration image, as the main window uses them: the default
// profile at start, load, save, save under another name, the image for the transfers.
#include "ui/MainWindow.h"

#include "ui/Dialogs.h"
#include "core/ProgramContext.h"
#include "core/Progress.h"
#include "core/Settings.h"
#include "image/HexWriter.h"
#include "image/ProfileReader.h"
#include "store/ImageToStore.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace {
const QString kProfile = QStringLiteral("Profile");
const QString kFile = QStringLiteral("File");

// The wait cursor while a block of work runs; restored before any message is shown.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { release(); }
    void release()
    {
        if (m_active)
            QApplication::restoreOverrideCursor();
        m_active = false;
    }

private:
    bool m_active = true;
};

QString title()
{
    const QString t = gState().programName;
    return t.isEmpty() ? QStringLiteral("SMS Switch Vantor") : t;
}

QString profileFolderForDialog() { return QDir(gState().profileFolder()).absolutePath() + QLatin1Char('/'); }

// The profile dialog of the load and save-under commands: the profile folder, the current file,
// the .cfg extension; title and filter text differ. Returns the chosen path, empty when cancelled.
QString askProfileFile(QWidget* parent, bool save, const QString& current)
{
    Dialogs::FileRequest r;
    r.save = save;
    r.title = gState().msg(save ? QStringLiteral("gsMsgSaveConfiguration") : QStringLiteral("gsLoadConfiguration"));
    r.folder = profileFolderForDialog();
    r.fileName = current;
    r.filter = save ? QStringLiteral("Configuration (*.cfg)") : QStringLiteral("Config (*.cfg)");
    r.defaultSuffix = QStringLiteral("cfg");
    return Dialogs::askFile(parent, r);
}
} // namespace

QString MainWindow::currentProfileFile() const
{
    const QString f = Settings::get(kProfile, kFile);
    return f.isEmpty() ? gState().defaultProfilePath() : f;
}

void MainWindow::clearImage() { configImage.reset(); }

void MainWindow::loadDefaultProfile()
{
    // Every start begins with the default profile as the current file.
    const QString path = gState().defaultProfilePath();
    Settings::set(kProfile, kFile, path);
    // A missing or damaged default profile is reported; the program then starts with the
    // configuration the store holds.
    loadProfile(path);
}

bool MainWindow::loadProfile(const QString& fileName)
{
    QString error;
    bool ok = false;
    // While another program holds the database: Retry loads the file once more.
    if (!Dialogs::retryWhileInUse(this, [&] {
            BusyCursor busy;
            ok = ProfileReader::load(fileName, store, gState().language, &error);
        }))
        return false;
    if (!ok)
        Dialogs::show(this, error, title(), Dialogs::Icon::Critical);
    return ok;
}

void MainWindow::openProfile()
{
    LoadingProgress::reset();
    const QString path = askProfileFile(this, false, currentProfileFile());
    if (path.isEmpty())
        return; // cancelled
    LoadingProgress::reset();
    // A refused file does not become the current profile, so a later save cannot overwrite it.
    if (!loadProfile(path))
        return;
    Settings::set(kProfile, kFile, path);
    refreshEditor();
}

bool MainWindow::saveProfile() { return writeProfileFile(currentProfileFile()); }

bool MainWindow::saveProfileAs()
{
    QString path = askProfileFile(this, true, currentProfileFile());
    if (path.isEmpty())
        return false; // cancelled
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".cfg");
    if (!writeProfileFile(path))
        return false;
    Settings::set(kProfile, kFile, path);
    return true;
}

bool MainWindow::writeProfileFile(const QString& fileName)
{
    // A text still being typed (a shortcut does not move the focus) belongs in the file too.
    if (!commitFocusedEditorBox())
        return false;
    ProgramContext& st = gState();
    BusyCursor busy;
    HexWriter::WriteResult w;
    try {
        HexWriter::buildImageFromStore(store, st.language, configImage);
    } catch (const StoreError& e) {
        busy.release();
        Dialogs::show(this, e.message(), title(), Dialogs::Icon::Critical);
        return false;
    }
    if (st.closing)
        return false;
    w = HexWriter::writeProfileFile(configImage, fileName, hexFileProgress);
    busy.release();
    switch (w.kind) {
    case HexWriter::WriteResult::Written: return true;
    case HexWriter::WriteResult::ReadOnly:
        Dialogs::show(this,
                      st.msg(QStringLiteral("gsMsgDateiSchreibgeschützt")) + QLatin1Char('\n')
                          + st.msg(QStringLiteral("gsMsgSpeichereAndererDateiname")),
                      title(), Dialogs::Icon::Exclamation);
        if (beforeSaveUnderAfterReadOnly)
            beforeSaveUnderAfterReadOnly();
        // Saved under another name or not saved at all: the caller learns which.
        return saveProfileAs();
    case HexWriter::WriteResult::Failed:
        // One sentence: the file, the system's reason, and that the old file is unchanged.
        Dialogs::show(this, w.error, title(), Dialogs::Icon::Exclamation);
        return false;
    case HexWriter::WriteResult::Cancelled: return false;
    }
    return false;
}

bool MainWindow::storeUnitImage()
{
    try {
        if (!Dialogs::retryWhileInUse(this, [&] {
                BusyCursor busy;
                ::storeImage(configImage, store, gState().language);
            }))
            return false;
    } catch (const StoreError& e) {
        Dialogs::show(this, e.message(), title(), Dialogs::Icon::Critical);
        return false;
    }
    refreshEditor();
    return true;
}

void MainWindow::wireProfileCommands()
{
    if (auto* a = findChild<QAction*>(QStringLiteral("mnuLaden")))
        connect(a, &QAction::triggered, this, [this] { openProfile(); });
    if (auto* a = findChild<QAction*>(QStringLiteral("mnuSpeichern")))
        connect(a, &QAction::triggered, this, [this] { saveProfile(); });
    if (auto* a = findChild<QAction*>(QStringLiteral("mnuSpeichernunter")))
        connect(a, &QAction::triggered, this, [this] { saveProfileAs(); });
}
