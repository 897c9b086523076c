#include "ui/MainWindow.h"

#include "ui/Dialogs.h"
#include "core/ProgramContext.h"
#include "core/Progress.h"
#include "core/Settings.h"
#include "link/Channel.h"
#include "link/PortResolver.h"
#include "link/Waiter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
MainWindow* g_main = nullptr;
}

MainWindow* mainWindow() { return g_main; }

MainWindow::MainWindow(MainWindowOptions options, QWidget* parent) : QMainWindow(parent), m_options(std::move(options))
{
    setObjectName(QStringLiteral("frmSMS_Vantor"));
    setWindowTitle(QStringLiteral("SMS Switch Vantor"));
    // Form_Initialize: the six configuration recordsets, in start order.
    store.open(gState().databasePath);
    g_main = this;
    m_ownWaiter = std::make_unique<EventLoopWaiter>();
    m_waiter = m_ownWaiter.get();

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    const char* tabNames[3] = {"Eingänge", "Ausgänge", "System"};
    for (int i = 0; i < 3; ++i) {
        tabPage[i] = new QWidget(SSTab1);
        tabPage[i]->setObjectName(QStringLiteral("SSTab1_Tab%1").arg(i));
        SSTab1->addTab(tabPage[i], QString::fromUtf8(tabNames[i]));
    }
    setCentralWidget(SSTab1);

    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    addToolBar(Toolbar1);

    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    cmdStatKom = new QPushButton(this);
    cmdStatKom->setObjectName(QStringLiteral("cmdStatKom"));
    cmdStatKom->setFixedSize(22, 18);
    cmdStatKom->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(cmdStatKom);
    for (int i = 0; i < 4; ++i) {
        statusPanel[i] = new QLabel(this);
        statusPanel[i]->setObjectName(QStringLiteral("StatusBarPanel%1").arg(i + 1));
        statusPanel[i]->setFrameShape(QFrame::StyledPanel);
        statusPanel[i]->setMinimumWidth(i == 2 ? 220 : 90);
        bar->addWidget(statusPanel[i], i == 2 ? 1 : 0);
    }
    lblSimulated = new QLabel(this);
    lblSimulated->setObjectName(QStringLiteral("lblSimulated"));
    lblSimulated->setStyleSheet(QStringLiteral("QLabel { color: #8a4b00; font-weight: bold; }"));
    lblSimulated->hide();
    bar->addPermanentWidget(lblSimulated);
    setLamp(Red);

    clockTimer = new QTimer(this);
    clockTimer->setObjectName(QStringLiteral("Timer_Zeit"));
    clockTimer->setInterval(500);
    connect(clockTimer, &QTimer::timeout, this, &MainWindow::showClock);
    clockTimer->start();
    showClock();

    buildWidgets();
    wireProfileCommands();
    wireEditor();
    wireDeviceCommands();
    wireShellCommands();

    startUp();
}

MainWindow::~MainWindow()
{
    if (!m_closed) {
        store.close();
        if (channel)
            channel->close();
    }
    if (g_main == this)
        g_main = nullptr;
}

void MainWindow::setLamp(int bgr)
{
    m_lamp = bgr;
    const int r = bgr & 0xFF, g = (bgr >> 8) & 0xFF, b = (bgr >> 16) & 0xFF;
    cmdStatKom->setProperty("BackColor", bgr);
    cmdStatKom->setStyleSheet(QStringLiteral("QPushButton { background-color: rgb(%1,%2,%3); border: 1px solid #555; }")
                                  .arg(r)
                                  .arg(g)
                                  .arg(b));
}

void MainWindow::setPanelText(int panel, const QString& text)
{
    if (panel >= 1 && panel <= 4)
        statusPanel[panel - 1]->setText(text);
}

void MainWindow::showClock()
{
    setPanelText(1, gState().locale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat));
}

bool MainWindow::openPortFromSettings()
{
    bool ok = false;
    const int port
        = Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("COM-Anschluss"), QString::number(commPort))
              .toInt(&ok);
    if (ok && port >= 1 && port <= 8)
        commPort = port;
    commSettings = Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("Einstellungen"), commSettings);
    commDevice = PortResolver::deviceFor(commPort);
    if (channel)
        channel->close();
    channel = PortResolver::makeChannel(commDevice);
    QString error;
    if (commDevice.isEmpty())
        error = QStringLiteral("No serial device stands for this port number.");
    else if (!channel->open(commDevice, commSettings))
        error = channel->errorString();
    if (!error.isEmpty()) {
        Dialogs::show(this, error + QStringLiteral("\n(COM %1)").arg(commPort), gState().programName,
                      Dialogs::Icon::Exclamation);
        if (m_options.portFailureDialog)
            m_options.portFailureDialog();
        else
            openPortSettings();
        if (!channel || !channel->isOpen()) {
            setLamp(Red);
            setPanelText(2, QStringLiteral("COM ----"));
            Settings::set(QStringLiteral("Einstellungen"), QStringLiteral("COM-Anschluss-Aktuell"),
                          QStringLiteral("closed"));
            showPortStatus();
        }
        return false;
    }
    Settings::set(QStringLiteral("Einstellungen"), QStringLiteral("COM-Anschluss-Aktuell"), QStringLiteral("open"));
    // The probe waits 300 ms for the unit's answer; at program start it runs right after the
    // window is shown, so the window does not wait for it.
    if (m_options.deferStartProbe)
        m_probePending = true;
    else
        probeUnit();
    setPanelText(2, QStringLiteral("COM %1").arg(commPort));
    showPortStatus();
    return true;
}

void MainWindow::runPendingProbe()
{
    if (!m_probePending)
        return;
    m_probePending = false;
    if (channel && channel->isOpen() && !gState().closing)
        probeUnit();
}

void MainWindow::showPortStatus()
{
    const bool sim = channel && channel->isOpen() && channel->isSimulated();
    lblSimulated->setText(gState().msgOr(QStringLiteral("gsStatusSimuliert"),
                                         QStringLiteral("Simuliertes Gerät – kein echtes Gerät angeschlossen")));
    lblSimulated->setVisible(sim);
    const QString device = (channel && channel->isOpen()) ? commDevice : QString();
    statusPanel[1]->setToolTip(
        device.isEmpty()
            ? QString()
            : (sim ? gState().msgOr(QStringLiteral("gsPortSimuliert"), QStringLiteral("Simuliertes Gerät")) : device));
}

void MainWindow::startUp()
{
    SSTab1->setCurrentIndex(0);
    if (auto* opt = findChild<QRadioButton*>(QStringLiteral("OptPortAnzeige(2)")))
        opt->setChecked(true);
    openPortFromSettings();
}

void MainWindow::initializeControls()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString stored = Settings::get(QStringLiteral("Passwort"), QStringLiteral("Passwort"));
    QString decoded;
    if (!stored.isEmpty()) {
        bool ok = false;
        const qulonglong v = stored.trimmed().toULongLong(&ok, 16);
        decoded = ok ? QString::number(v) : QString();
    }
    applyAccessLevel(decoded);
    loadDefaultProfile();
    loadSystemMessages();
    labelRecipients();
    fillInputTexts();
    fillOutputTexts();
    fillAlarmInputText();
    fillPowerOnText();
    applyCaptions();
    applyToolTips();
    fillInputRecipients();
    fillOutputRecipients();
    fillAlarmInputRecipients();
    fillAlarmInputEvents();
    fillPowerOnRecipients();
    assignHelpContexts();
    clearImage();
    LoadingProgress::advance();
    fillValidityList();
    applyMenuIcons();
    showPortStatus(); // again, now in the language of the program
    if (!gState().programName.isEmpty())
        setWindowTitle(gState().programName);
    QApplication::restoreOverrideCursor();
}

void MainWindow::closeEvent(QCloseEvent* e)
{
    if (m_closed) {
        e->accept();
        return;
    }
    ProgramContext& st = gState();
    if (st.unsavedChanges) {
        // Cancel (and Escape) keeps the window open: the edits live only in the store, which
        // the next start replaces with the default profile.
        const auto answer = Dialogs::show(this, st.msg(QStringLiteral("gsMsgÄnderungenSpeichern")), st.programName,
                                          Dialogs::Icon::Exclamation,
                                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        if (answer != QMessageBox::Yes && answer != QMessageBox::No) {
            e->ignore();
            return;
        }
        // A save that failed or was abandoned has said why; the window stays open.
        if (answer == QMessageBox::Yes && !saveProfile()) {
            e->ignore();
            return;
        }
    }
    st.closing = true;
    const QString err = store.close();
    if (!err.isEmpty())
        Dialogs::show(this, err, st.programName, Dialogs::Icon::Critical);
    if (channel && channel->isOpen())
        channel->close();
    m_closed = true;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->close();
    e->accept();
}
