#include "ui/ProfileController.h"

#include "editing/ConfigModel.h"

#include "ui/EditorBinding.h"
#include "ui/MainWindow.h"

#include "ui/Dialogs.h"
#include "core/ProgramContext.h"
#include "core/Progress.h"
#include "core/RecentFiles.h"
#include "core/Settings.h"
#include "image/HexWriter.h"
#include "image/ProfileReader.h"
#include "store/ConfigStore.h"
#include "store/ProfileStore.h"
#include "store/SmsLanguages.h"

#include <QMessageBox>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QScopedValueRollback>

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

QString title(const ProgramContext& context)
{
    const QString t = context.programName;
    return t.isEmpty() ? QStringLiteral("SMS Switch Vantor") : t;
}

// The profile dialog of the load and save-under commands: the folder of the profile the user
// opened or saved last (the documents folder until there is one: the default profile loaded at
// every start lives in the hidden program folder and is no choice of the user's), the current
// file, the .cfg extension; title and filter text differ. Returns the chosen path, empty when
// cancelled.
QString askProfileFile(const ProgramContext& context, QWidget* parent, bool save, const QString& current)
{
    Dialogs::FileRequest r;
    r.save = save;
    r.title = context.msg(save ? QStringLiteral("gsMsgSaveConfiguration") : QStringLiteral("gsLoadConfiguration"));
    r.folder = RecentFiles::lastFolder() + QLatin1Char('/');
    // A full path would take the dialog to its folder: the default profile is offered by name only.
    const bool ownFile
        = QFileInfo(current).absoluteFilePath() != QFileInfo(context.defaultProfilePath()).absoluteFilePath();
    r.fileName = ownFile ? current : (save ? QFileInfo(current).fileName() : QString());
    r.filter = save ? QStringLiteral("Configuration (*.cfg)") : QStringLiteral("Config (*.cfg)");
    r.defaultSuffix = QStringLiteral("cfg");
    return Dialogs::askFile(parent, r);
}
} // namespace

ProfileController::ProfileController(MainWindow* window) : m_window(window)
{
    connect(window->action(MainWindow::Command::Open), &QAction::triggered, this, [this] { openProfile(); });
    connect(window->action(MainWindow::Command::Save), &QAction::triggered, this, [this] { saveProfile(); });
    connect(window->action(MainWindow::Command::SaveAs), &QAction::triggered, this, [this] { saveProfileAs(); });
    connect(&window->model(), &ConfigModel::languageChanged, this, [this] { showRecentFiles(); });
}

QString ProfileController::currentProfileFile() const
{
    const QString f = Settings::get(kProfile, kFile);
    return f.isEmpty() ? m_window->context().defaultProfilePath() : f;
}

void ProfileController::clearImage() { configImage.reset(); }

void ProfileController::loadDefaultProfile()
{
    // Every start begins with the default profile as the current file.
    const QString path = m_window->context().defaultProfilePath();
    Settings::set(kProfile, kFile, path);
    // A missing or damaged default profile is reported; the program then starts with the
    // configuration the store holds.
    loadProfile(path);
}

bool ProfileController::loadProfile(const QString& fileName)
{
    QString error;
    bool ok = false;
    // While another program holds the database: Retry loads the file once more.
    if (!Dialogs::retryWhileInUse(m_window->context(), m_window, [&] {
            BusyCursor busy;
            ok = ProfileStore::loadFile(fileName, m_window->store(), m_window->context().language, &error);
        }))
        return false;
    if (!ok)
        Dialogs::show(m_window, error, title(m_window->context()), Dialogs::Icon::Critical);
    return ok;
}

void ProfileController::openProfile()
{
    LoadingProgress::reset();
    const QString path = askProfileFile(m_window->context(), m_window, false, currentProfileFile());
    if (path.isEmpty())
        return; // cancelled
    openFile(path);
}

void ProfileController::openRecentProfile(const QString& fileName)
{
    LoadingProgress::reset();
    if (!QFileInfo(fileName).isFile()) {
        RecentFiles::remove(fileName);
        showRecentFiles();
    }
    openFile(fileName);
}

bool ProfileController::settleUnsavedChanges()
{
    ProgramContext& st = m_window->context();
    if (!m_window->model().isModified())
        return true;
    // Cancel (and Escape) keeps everything as it is.
    const auto answer = Dialogs::show(m_window, st.msg(QStringLiteral("gsMsgÄnderungenSpeichern")),
                                      title(m_window->context()), Dialogs::Icon::Exclamation,
                                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer != QMessageBox::Yes && answer != QMessageBox::No)
        return false;
    // A save that failed or was abandoned has said why.
    return answer == QMessageBox::No || saveProfile();
}

bool ProfileController::openGivenProfile(const QString& fileName)
{
    if (!settleUnsavedChanges() || !openFile(fileName))
        return false;
    m_window->model().setModified(false);
    return true;
}

bool ProfileController::openFile(const QString& fileName)
{
    LoadingProgress::reset();
    // A refused file does not become the current profile, so a later save cannot overwrite it.
    if (!loadProfile(fileName))
        return false;
    Settings::set(kProfile, kFile, fileName);
    m_window->model().replaced();
    remember(fileName);
    return true;
}

void ProfileController::remember(const QString& fileName)
{
    RecentFiles::add(fileName);
    showRecentFiles();
    m_window->showProfileTitle();
}

void ProfileController::showRecentFiles()
{
    QMenu* menu = m_window->recentMenu();
    menu->setTitle(m_window->context().msgOr(QStringLiteral("gsZuletztMenue"), QStringLiteral("&Zuletzt geöffnet")));
    menu->clear();
    const QStringList files = RecentFiles::list();
    for (int i = 0; i < files.size() && i < RecentFiles::MaxEntries; ++i) {
        const QString path = files[i];
        QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        a->setObjectName(QStringLiteral("mnuZuletzt(%1)").arg(i + 1));
        a->setToolTip(QDir::toNativeSeparators(path));
        a->setStatusTip(QDir::toNativeSeparators(path));
        connect(a, &QAction::triggered, this, [this, path] { openRecentProfile(path); });
    }
    menu->setEnabled(!files.isEmpty());
}

bool ProfileController::confirmTexts()
{
    if (m_textsConfirmed)
        return true;
    // A text still being typed counts.
    if (!m_window->editorBinding().commitFocused())
        return false;
    ProgramContext& st = m_window->context();
    ConfigStore& store = m_window->store();
    if (!store.isOpen() || !SmsLanguages::onlyElsewhere(store.sms, st.language))
        return true;
    return Dialogs::show(m_window, st.msg(QStringLiteral("gsFrageTexteLeer")), title(st), Dialogs::Icon::Exclamation,
                         QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
        == QMessageBox::Ok;
}

bool ProfileController::isDefaultProfile(const QString& fileName) const
{
    const QFileInfo file(fileName), standard(m_window->context().defaultProfilePath());
    return file.absoluteFilePath() == standard.absoluteFilePath()
        || (file.exists() && file.canonicalFilePath() == standard.canonicalFilePath());
}

bool ProfileController::saveProfile()
{
    if (!confirmTexts())
        return false;
    const QScopedValueRollback textsConfirmed(m_textsConfirmed, true);
    // Every start loads the default profile: it becomes another site's configuration only
    // when the user says so; Save as is the default answer.
    if (isDefaultProfile(currentProfileFile())) {
        const ProgramContext& st = m_window->context();
        const auto answer = Dialogs::show(m_window, st.msg(QStringLiteral("gsFrageStandardprofil")), title(st),
                                          Dialogs::Icon::Question,
                                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
        if (answer == QMessageBox::No)
            return saveProfileAs();
        if (answer != QMessageBox::Yes)
            return false;
    }
    if (!writeProfileFile(currentProfileFile()))
        return false;
    // The default profile of the program folder is no file of the user's (a read-only file
    // may have been saved under another name).
    if (currentProfileFile() != m_window->context().defaultProfilePath())
        remember(currentProfileFile());
    else
        m_window->showProfileTitle();
    return true;
}

bool ProfileController::saveProfileAs()
{
    if (!confirmTexts())
        return false;
    const QScopedValueRollback textsConfirmed(m_textsConfirmed, true);
    QString path = askProfileFile(m_window->context(), m_window, true, currentProfileFile());
    if (path.isEmpty())
        return false; // cancelled
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".cfg");
    if (!writeProfileFile(path))
        return false;
    Settings::set(kProfile, kFile, path);
    remember(path);
    return true;
}

bool ProfileController::buildConfigImage()
{
    // A text still being typed (a shortcut does not move the focus) belongs in the image too.
    if (!m_window->editorBinding().commitFocused())
        return false;
    // Another program changed the store: the user sees it first instead of using a mix.
    if (!m_window->editorBinding().storeStillCurrent())
        return false;
    BusyCursor busy;
    try {
        ProfileStore::buildImage(m_window->store(), m_window->context().language, configImage);
    } catch (const StoreError& e) {
        busy.release();
        Dialogs::showStoreError(m_window, m_window->context(), e);
        return false;
    }
    return true;
}

bool ProfileController::writeProfileFile(const QString& fileName)
{
    if (!buildConfigImage())
        return false;
    ProgramContext& st = m_window->context();
    if (st.closing)
        return false;
    BusyCursor busy;
    const HexWriter::WriteResult w = HexWriter::writeProfileFile(st, configImage, fileName);
    busy.release();
    switch (w.kind) {
    case HexWriter::WriteResult::Written:
        // The file holds what the store holds: nothing is left unsaved.
        m_window->model().setModified(false);
        return true;
    case HexWriter::WriteResult::ReadOnly:
        Dialogs::show(m_window,
                      st.msg(QStringLiteral("gsMsgDateiSchreibgeschützt")) + QLatin1Char('\n')
                          + st.msg(QStringLiteral("gsMsgSpeichereAndererDateiname")),
                      title(m_window->context()), Dialogs::Icon::Exclamation);
        // Saved under another name or not saved at all: the caller learns which.
        return saveProfileAs();
    case HexWriter::WriteResult::Failed:
        // One sentence: the file, the system's reason, and that the old file is unchanged.
        Dialogs::show(m_window, w.error, title(m_window->context()), Dialogs::Icon::Exclamation);
        return false;
    case HexWriter::WriteResult::Cancelled: return false;
    }
    return false;
}

bool ProfileController::storeUnitImage()
{
    try {
        if (!Dialogs::retryWhileInUse(m_window->context(), m_window, [&] {
                BusyCursor busy;
                ProfileStore::storeImage(configImage, m_window->store(), m_window->context().language,
                                         ProfileReader::AlarmFlagRule::AnyNonZero);
            }))
            return false;
    } catch (const StoreError& e) {
        Dialogs::showStoreError(m_window, m_window->context(), e);
        return false;
    }
    m_window->model().replaced();
    return true;
}
