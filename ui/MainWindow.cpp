#include "ui/MainWindow.h"

#include "core/ProgramContext.h"
#include "core/Progress.h"
#include "core/Resources.h"
#include "core/Settings.h"
#include "editing/ConfigModel.h"
#include "store/ConfigStore.h"
#include "ui/DeviceController.h"
#include "ui/Dialogs.h"
#include "ui/EditorBinding.h"
#include "ui/ExtrasController.h"
#include "ui/InputsTab.h"
#include "ui/OutputsTab.h"
#include "ui/ProfileController.h"
#include "ui/ShellController.h"
#include "ui/StartTrace.h"
#include "ui/SystemTab.h"
#include "ui/WindowTexts.h"

#include <QUrl>
#include <QMimeData>
#include <QDropEvent>
#include <QDragEnterEvent>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

MainWindow::MainWindow(ProgramContext& context, MainWindowOptions options, QWidget* parent)
    : QMainWindow(parent), m_context(context), m_options(std::move(options)),
      m_store(std::make_unique<ConfigStore>(context)), m_model(std::make_unique<ConfigModel>(context))
{
    setObjectName(QStringLiteral("frmSMS_Vantor"));
    setWindowTitle(QStringLiteral("SMS Switch Vantor"));
    smsv48InitResources();
    // The program's own picture; the icon theme's (the same picture where the program is
    // installed) is looked up after the first paint, as that search reads many folders.
    setWindowIcon(QIcon(QStringLiteral(":/icons/program.svg")));
    // The six configuration recordsets, in start order.
    m_store->open(m_context.databasePath);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_inputsTab = new InputsTab(m_tabs);
    m_outputsTab = new OutputsTab(m_tabs);
    m_systemTab = new SystemTab(m_tabs);
    const char* tabNames[3] = {"Eingänge", "Ausgänge", "System"};
    QWidget* pages[3] = {m_inputsTab, m_outputsTab, m_systemTab};
    for (int i = 0; i < 3; ++i) {
        pages[i]->setObjectName(QStringLiteral("SSTab1_Tab%1").arg(i));
        m_tabs->addTab(pages[i], QString::fromUtf8(tabNames[i]));
    }
    m_inputsTab->ensureBuilt();
    // Tab runs on from one page's last control to the next page's first, as the pages are built.
    for (TabPage* page : {static_cast<TabPage*>(m_outputsTab), static_cast<TabPage*>(m_systemTab)})
        connect(page, &TabPage::built, this, [this] {
            QList<QWidget*> order;
            for (TabPage* p : {static_cast<TabPage*>(m_inputsTab), static_cast<TabPage*>(m_outputsTab),
                               static_cast<TabPage*>(m_systemTab)})
                order << p->focusOrder();
            TabParts::chainTabOrder(order);
        });
    setCentralWidget(m_tabs);
    // The other two tabs are built right after the window's first paint.
    m_tabs->installEventFilter(this);

    buildMenus();
    buildToolbar();
    buildStatusBar();
    setLamp(Red);

    m_clock = new QTimer(this);
    m_clock->setObjectName(QStringLiteral("Timer_Zeit"));
    m_clock->setInterval(500);
    connect(m_clock, &QTimer::timeout, this, &MainWindow::showClock);
    m_clock->start();
    showClock();

    // The controllers listen to the model in the order they are made: the captions are
    // taken again before the editor refills, the title last.
    connect(m_model.get(), &ConfigModel::modifiedChanged, this, &MainWindow::showProfileTitle);
    m_texts = std::make_unique<WindowTexts>(this);
    m_editor = std::make_unique<EditorBinding>(this);
    m_profiles = std::make_unique<ProfileController>(this);
    m_device = std::make_unique<DeviceController>(this);
    connect(m_model.get(), &ConfigModel::languageChanged, this, [this] {
        // The validity list in the new words, its choice kept; the port status in them.
        const int validity = m_systemTab->isBuilt() ? m_systemTab->validityIndex() : -1;
        m_device->fillValidityList();
        if (validity >= 0)
            m_systemTab->setValidityIndex(validity);
        m_device->showPortStatus();
    });
    m_shell = std::make_unique<ShellController>(this);
    m_extras = std::make_unique<ExtrasController>(this);
    connect(m_model.get(), &ConfigModel::languageChanged, this, [this] {
        showProfileTitle();
        // Captions of another length: the recipient headings are fitted again.
        TabParts::refitHeadings(this);
    });

    m_tabs->setCurrentIndex(0);
    setAcceptDrops(true);
    // Where and how large the window was when it was last closed.
    const QByteArray geometry
        = QByteArray::fromBase64(Settings::get(QStringLiteral("Fenster"), QStringLiteral("Geometrie")).toLatin1());
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    m_device->openPortFromSettings();
}

MainWindow::~MainWindow()
{
    if (!m_closed) {
        m_store->close();
        m_device->closePort();
    }
    // The controllers go before the widgets they watch.
    m_extras.reset();
    m_shell.reset();
    m_device.reset();
    m_profiles.reset();
    m_editor.reset();
    m_texts.reset();
}

void MainWindow::ensureTabsBuilt()
{
    m_outputsTab->ensureBuilt();
    m_systemTab->ensureBuilt();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_tabs && event->type() == QEvent::Paint && !m_tabsScheduled) {
        m_tabsScheduled = true;
        m_tabs->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] {
            Start::mark("first paint done");
            ensureTabsBuilt();
            const QIcon themed = QIcon::fromTheme(QStringLiteral("io.github.smsv48.Tool"));
            if (!themed.isNull() && !themed.availableSizes().isEmpty())
                setWindowIcon(themed);
        });
    }
    return QMainWindow::eventFilter(watched, event);
}

QMenu* MainWindow::menu(Menu which) const { return m_menus[int(which)]; }
QAction* MainWindow::action(Command which) const { return m_actions[int(which)]; }

QAction* MainWindow::toolbarButton(const QString& key) const
{
    for (QAction* a : m_toolbarSlots)
        if (a && !a->isSeparator() && a->property("Key").toString() == key)
            return a;
    return nullptr;
}

void MainWindow::setLamp(int bgr)
{
    m_lamp = bgr;
    const int r = bgr & 0xFF, g = (bgr >> 8) & 0xFF, b = (bgr >> 16) & 0xFF;
    m_lampButton->setProperty("BackColor", bgr);
    m_lampButton->setStyleSheet(
        QStringLiteral("QPushButton { background-color: rgb(%1,%2,%3); border: 1px solid #555; }")
            .arg(r)
            .arg(g)
            .arg(b));
}

void MainWindow::setPanelText(int panel, const QString& text)
{
    if (panel >= 1 && panel <= 4)
        m_panels[panel - 1]->setText(text);
}

void MainWindow::setPanelToolTip(int panel, const QString& text)
{
    if (panel >= 1 && panel <= 4)
        m_panels[panel - 1]->setToolTip(text);
}

void MainWindow::showSimulatedNote(bool simulated, const QString& text)
{
    m_simulatedNote->setText(text);
    m_simulatedNote->setVisible(simulated);
}

void MainWindow::showClock()
{
    setPanelText(1, m_context.locale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat));
}

bool MainWindow::saveProfile() { return m_profiles->saveProfile(); }

void MainWindow::showProfileTitle()
{
    const QString program
        = m_context.programName.isEmpty() ? QStringLiteral("SMS Switch Vantor") : m_context.programName;
    const QString file = m_profiles ? QFileInfo(m_profiles->currentProfileFile()).fileName() : QString();
    setWindowTitle(file.isEmpty() ? program + QStringLiteral("[*]") : file + QStringLiteral("[*] - ") + program);
    setWindowModified(m_model->isModified());
}

void MainWindow::runPendingProbe()
{
    Start::mark("probe");
    m_device->runPendingProbe();
    Start::mark("probed");
}

void MainWindow::initializeControls()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_shell->applyStoredAccessLevel();
    m_profiles->loadDefaultProfile();
    m_texts->loadSystemMessages();
    m_extras->applyTexts();
    m_editor->labelRecipients();
    m_editor->fillInputTexts();
    m_editor->fillOutputTexts();
    m_editor->fillAlarmInputText();
    m_editor->fillPowerOnText();
    m_texts->applyAll();
    m_editor->fillInputRecipients();
    m_editor->fillOutputRecipients();
    m_editor->fillAlarmInputRecipients();
    m_editor->fillAlarmInputEvents();
    m_editor->fillPowerOnRecipients();
    m_shell->assignHelpContexts();
    m_profiles->clearImage();
    LoadingProgress::advance();
    m_device->fillValidityList();
    m_shell->applyMenuIcons();
    m_device->showPortStatus(); // again, now in the language of the program
    m_profiles->showRecentFiles();
    showProfileTitle();
    QApplication::restoreOverrideCursor();
}

namespace {
// The one local file a drop carries, else an empty text.
QString droppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return QString();
    return data->urls().first().toLocalFile();
}
} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* e)
{
    if (!droppedFile(e->mimeData()).isEmpty() && !m_device->commandRunning())
        e->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* e)
{
    const QString file = droppedFile(e->mimeData());
    if (file.isEmpty() || m_device->commandRunning())
        return;
    e->acceptProposedAction();
    // After the drop has finished: the question and the loading must not run inside it.
    QTimer::singleShot(0, this, [this, file] { m_profiles->openGivenProfile(file); });
}

void MainWindow::closeEvent(QCloseEvent* e)
{
    if (m_closed) {
        e->accept();
        return;
    }
    // A command of the unit waits in a nested event loop: the window must outlive it. Its
    // waits end now, and the window closes (asking about unsaved changes) once it has returned.
    if (m_device->commandRunning()) {
        m_device->closeAfterCommand();
        e->ignore();
        return;
    }
    // Cancel, Escape or a failed save keeps the window open: the edits live only in the store,
    // which the next start replaces with the default profile.
    if (!m_profiles->settleUnsavedChanges()) {
        e->ignore();
        return;
    }
    ProgramContext& st = m_context;
    st.closing = true;
    m_extras->keepTraceOnClose();
    Settings::set(QStringLiteral("Fenster"), QStringLiteral("Geometrie"),
                  QString::fromLatin1(saveGeometry().toBase64()));
    const QString err = m_store->close();
    if (!err.isEmpty())
        Dialogs::show(this, err, st.programName, Dialogs::Icon::Critical);
    m_device->closePort();
    m_closed = true;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->close();
    e->accept();
}
