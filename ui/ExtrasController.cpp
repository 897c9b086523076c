#include "ui/ExtrasController.h"

#include "core/Logging.h"
#include "editing/ConfigModel.h"

#include "ui/CompareDialog.h"
#include "ui/DeviceController.h"
#include "ui/Dialogs.h"
#include "ui/EditorBinding.h"
#include "ui/MainWindow.h"
#include "ui/ProfileController.h"
#include "ui/QtTranslations.h"
#include "ui/SystemTab.h"
#include "ui/TabParts.h"
#include "ui/WindowTexts.h"

#include "core/ProgramContext.h"
#include "core/RecentFiles.h"
#include "core/Settings.h"
#include "image/FileAccess.h"
#include "image/HexWriter.h"
#include "image/ProfileDiff.h"
#include "image/ProfileReader.h"
#include "link/UnitBackup.h"
#include "link/WireTrace.h"
#include "store/ConfigStore.h"
#include "store/ProfileStore.h"
#include "store/SmsLanguages.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFile>
#include <QDir>
#include <QDateTime>
#include <QMenu>

namespace {
QString text(const ProgramContext& context, const char* key, const char* germanFallback)
{
    return context.msgOr(QString::fromUtf8(key), QString::fromUtf8(germanFallback));
}

QString title(const ProgramContext& context)
{
    const QString t = context.programName;
    return t.isEmpty() ? QStringLiteral("SMS Switch Vantor") : t;
}
} // namespace

ExtrasController::ExtrasController(MainWindow* window) : m_window(window)
{
    QMenu* extras = window->menu(MainWindow::Menu::Settings);
    QAction* before = window->action(MainWindow::Command::Administrator);

    m_languageMenu = new QMenu(extras);
    m_languageMenu->setObjectName(QStringLiteral("mnuSprache"));
    extras->insertMenu(before, m_languageMenu);
    m_languages = new QActionGroup(this);
    m_languages->setExclusive(true);
    // Each language under its own name, whatever the program's language.
    const char* names[4] = {"Deutsch", "English", "Italiano", "Français"};
    for (int i = 1; i <= 4; ++i) {
        auto* a = new QAction(QString::fromUtf8(names[i - 1]), m_languageMenu);
        a->setObjectName(QStringLiteral("mnuSprache(%1)").arg(i));
        a->setCheckable(true);
        a->setChecked(i == m_window->context().language);
        m_languages->addAction(a);
        m_languageMenu->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { switchLanguage(i); });
    }

    m_compare = new QAction(extras);
    m_compare->setObjectName(QStringLiteral("mnuVergleichen"));
    extras->insertAction(before, m_compare);
    connect(m_compare, &QAction::triggered, this, [this] { compareWithUnit(); });

    m_logMenu = new QMenu(extras);
    m_logMenu->setObjectName(QStringLiteral("mnuProtokoll"));
    extras->insertMenu(before, m_logMenu);
    auto logItem = [this](const char* name) {
        auto* a = new QAction(m_logMenu);
        a->setObjectName(QString::fromUtf8(name));
        m_logMenu->addAction(a);
        return a;
    };
    m_logStart = logItem("mnuProtokollStart");
    m_logStop = logItem("mnuProtokollStop");
    m_logSave = logItem("mnuProtokollSpeichern");
    connect(m_logStart, &QAction::triggered, this, [this] { startRecording(); });
    connect(m_logStop, &QAction::triggered, this, [this] { stopRecording(); });
    connect(m_logSave, &QAction::triggered, this, [this] { saveRecording(); });
    m_logMenu->addSeparator();
    m_logAlways = logItem("mnuProtokollImmer");
    m_logAlways->setCheckable(true);
    m_logAlways->setChecked(alwaysRecord());
    connect(m_logAlways, &QAction::toggled, this, [this](bool on) {
        Settings::set(QStringLiteral("Einstellungen"), QStringLiteral("Protokoll"),
                      on ? QStringLiteral("1") : QStringLiteral("0"));
        if (on && !WireTrace::recording())
            startRecording();
    });
    if (alwaysRecord() && !WireTrace::recording())
        WireTrace::startRecording();
    m_backup = new QAction(extras);
    m_backup->setObjectName(QStringLiteral("mnuSicherung"));
    m_backup->setCheckable(true);
    m_backup->setChecked(DeviceController::backUpBeforeWrite());
    extras->insertAction(before, m_backup);
    connect(m_backup, &QAction::toggled, this, [](bool on) {
        Settings::set(QStringLiteral("Einstellungen"), QStringLiteral("Sicherung"),
                      on ? QStringLiteral("1") : QStringLiteral("0"));
    });
    m_changedOnly = new QAction(extras);
    m_changedOnly->setObjectName(QStringLiteral("mnuNurGeaenderte"));
    m_changedOnly->setCheckable(true);
    m_changedOnly->setChecked(DeviceController::sendChangedOnly());
    extras->insertAction(before, m_changedOnly);
    extras->setToolTipsVisible(true);
    connect(m_changedOnly, &QAction::toggled, this, [](bool on) {
        Settings::set(QStringLiteral("Einstellungen"), QStringLiteral("NurGeaenderte"),
                      on ? QStringLiteral("1") : QStringLiteral("0"));
    });
    connect(&window->model(), &ConfigModel::languageChanged, this, [this] { applyTexts(); });
    showRecordingState();
    applyTexts();
}

void ExtrasController::applyTexts()
{
    m_languageMenu->setTitle(text(m_window->context(), "gsSpracheMenue", "&Sprache"));
    for (QAction* a : m_languages->actions())
        a->setChecked(a->objectName() == QStringLiteral("mnuSprache(%1)").arg(m_window->context().language));
    m_compare->setText(text(m_window->context(), "gsVglMenue", "Mit Gerät &vergleichen..."));
    m_logMenu->setTitle(text(m_window->context(), "gsProtokollMenue", "Verbindungs&protokoll"));
    m_logStart->setText(text(m_window->context(), "gsProtokollStart", "Aufzeichnung &starten"));
    m_logStop->setText(text(m_window->context(), "gsProtokollStop", "Aufzeichnung &beenden"));
    m_logSave->setText(text(m_window->context(), "gsProtokollSpeichern", "Protokoll speichern &unter..."));
    m_logAlways->setText(text(m_window->context(), "gsProtokollImmer", "&Immer aufzeichnen"));
    m_backup->setText(text(m_window->context(), "gsSicherungMenue", "&Gerät vor dem Senden sichern"));
    m_changedOnly->setText(text(m_window->context(), "gsNurGeaenderteMenue", "Nur geänderte &Datensätze senden"));
    m_changedOnly->setToolTip(text(m_window->context(), "gsNurGeaenderteTipp",
                                   "Sendet nur die Datensätze, die sich vom Gerät unterscheiden, und liest sie "
                                   "zur Prüfung zurück"));
}

// ---- language -----------------------------------------------------------------------------

void ExtrasController::switchLanguage(int language)
{
    if (language < 1 || language > 4)
        return;
    ProgramContext& st = m_window->context();
    // A text being typed is written in the language it was typed in.
    m_window->editorBinding().commitFocused();
    const int previous = st.language;
    Settings::set(QStringLiteral("Einstellungen"), QStringLiteral("Sprache"), QString::number(language));
    st.language = language;
    QtTranslations::install(language);
    st.messages.clear();
    m_window->texts().loadSystemMessages();
    // Texts taken over are a change of the configuration; showing the others in the new
    // language is none.
    if (previous != language && takeOverTexts(previous, language))
        m_window->model().setModified(true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_window->model().languageSwitched(language);
    QApplication::restoreOverrideCursor();
}

bool ExtrasController::takeOverTexts(int from, int to)
{
    ProgramContext& st = m_window->context();
    ConfigStore& store = m_window->store();
    // Texts are kept per language: where the new language has none, the user is asked once
    // whether the texts of the previous one should be taken over, so that the next save or
    // send does not go out without them.
    if (!store.isOpen() || SmsLanguages::missing(store.sms, from, to) == 0)
        return false;
    if (Dialogs::show(m_window, st.msg(QStringLiteral("gsFrageTexteUebernehmen")), title(st), Dialogs::Icon::Question,
                      QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        != QMessageBox::Yes)
        return false;
    try {
        // Another program holding the database drops the pending texts: Retry takes them again.
        if (!Dialogs::retryWhileInUse(st, m_window, [&] {
                SmsLanguages::takeOver(store.sms, from, to);
                store.sms.updateBatch();
            })) {
            store.sms.cancelBatch();
            return false;
        }
    } catch (const StoreError& e) {
        store.sms.cancelBatch();
        Dialogs::showStoreError(m_window, m_window->context(), e);
        return false;
    }
    return true;
}

// ---- comparison with the unit -------------------------------------------------------------

void ExtrasController::compareWithUnit()
{
    // A text still being typed belongs to the program's side.
    if (!m_window->editorBinding().commitFocused())
        return;
    UnitImage image;
    if (!m_window->device().readUnitImage(image) || m_window->context().closing)
        return;
    ProfileData program;
    try {
        program = ProfileStore::read(m_window->store(), m_window->context().language);
    } catch (const StoreError& e) {
        Dialogs::showStoreError(m_window, m_window->context(), e);
        return;
    }
    const ProfileData unit
        = ProfileReader::decodeLines(m_window->context(), image.lines(), ProfileReader::AlarmFlagRule::AnyNonZero);
    CompareDialog dialog(ProfileDiff::compare(program, unit), m_window->context(), m_window);
    dialog.exec();
}

// ---- connection log -----------------------------------------------------------------------

void ExtrasController::showRecordingState()
{
    const bool on = WireTrace::recording();
    m_logStart->setEnabled(!on);
    m_logStop->setEnabled(on);
    m_logSave->setEnabled(!on && !WireTrace::recorded().isEmpty());
}

void ExtrasController::startRecording()
{
    WireTrace::startRecording();
    showRecordingState();
}

void ExtrasController::stopRecording()
{
    WireTrace::stopRecording();
    showRecordingState();
}

bool ExtrasController::alwaysRecord()
{
    return Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("Protokoll"), QStringLiteral("0"))
        == QLatin1String("1");
}

QString ExtrasController::keepTraceOnClose()
{
    if (!alwaysRecord() || !WireTrace::recording())
        return QString();
    const QByteArray trace = WireTrace::recorded();
    if (trace.isEmpty())
        return QString();
    const QDir folder(QDir(m_window->context().dataRoot).filePath(QStringLiteral("Protokolle")));
    if (!folder.exists() && !QDir().mkpath(folder.path()))
        return QString();
    const QString stem = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = folder.filePath(stem + QStringLiteral(".txt"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(QStringLiteral("%1-%2.txt").arg(stem).arg(n));
    const FileAccess::WriteResult written
        = FileAccess::writeFile(m_window->context(), path, trace, FileAccess::Access::Private);
    if (!written.ok()) {
        // Closing is no moment for a question; the log says why.
        qCWarning(lcLink).noquote() << written.error;
        return QString();
    }
    // Only the program's own logs go, the oldest by the time in their names; never this one.
    UnitBackup::prune(folder.path(), KeptTraces, path, QStringLiteral(".txt"));
    return QFileInfo::exists(path) ? path : QString();
}

void ExtrasController::saveRecording()
{
    Dialogs::FileRequest request;
    request.save = true;
    request.title = text(m_window->context(), "gsProtokollTitel", "Verbindungsprotokoll speichern");
    request.folder = RecentFiles::lastFolder();
    request.fileName = QStringLiteral("smsv48-trace.txt");
    request.filter = text(m_window->context(), "gsProtokollFilter", "Protokoll (*.txt)");
    request.defaultSuffix = QStringLiteral("txt");
    const QString path = Dialogs::askFile(m_window, request);
    if (path.isEmpty())
        return; // cancelled
    const FileAccess::WriteResult written
        = FileAccess::writeFile(m_window->context(), path, WireTrace::recorded(), FileAccess::Access::Private);
    if (!written.ok())
        Dialogs::show(m_window, written.error, title(m_window->context()), Dialogs::Icon::Exclamation);
}
