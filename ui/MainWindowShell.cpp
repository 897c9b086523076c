// Main window commands (toolbar, menus, demonstration display, menu icons), access levels,
// help context numbers and the report commands.
#include "ui/MainWindow.h"

#include "core/AccessLevel.h"
#include "ui/Help.h"
#include "core/ProgramContext.h"
#include "core/Progress.h"
#include "ui/ReportActions.h"
#include "core/Resources.h"
#include "ui/ShellState.h"
#include "core/ShellTexts.h"
#include "core/TextTable.h"
#include "ui/AboutDialog.h"
#include "ui/AdministratorLogin.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

namespace {
// The toolbar keys, in button order.
const char* const kToolbarKeys[] = {"Open",
                                    "Save",
                                    "Telefonbuch",
                                    "COM",
                                    "ReportAlarm",
                                    "ReportRelais",
                                    "ReportSequentiell",
                                    "ReportUser",
                                    "PrintAlarm",
                                    "PrintRelais",
                                    "PrintSequentiell",
                                    "PrintUser",
                                    "Upload",
                                    "Download",
                                    "Help",
                                    "Info"};

// The key of a toolbar action: its "Key" property, else its object name, where a name that
// ends in one of the keys (e.g. "Toolbar1_Open") counts as that key.
QString keyOf(const QAction* a)
{
    const QString key = a->property("Key").toString();
    if (!key.isEmpty())
        return key;
    const QString name = a->objectName();
    QString best;
    for (const char* k : kToolbarKeys) {
        const QString kk = QString::fromLatin1(k);
        if (name.endsWith(kk) && kk.size() > best.size())
            best = kk;
    }
    return best.isEmpty() ? name : best;
}

QIcon icon(const char* name) { return QIcon(QStringLiteral(":/icons/%1.svg").arg(QString::fromLatin1(name))); }

struct ReportCommand {
    const char* show;
    const char* print;
    const char* exportName;
    Reports::Kind kind;
    const char* showIcon;
    const char* printIcon;
};
const ReportCommand kReports[] = {
    {"mnuEingängeAnzeigen", "mnuEingängeDrucken", "mnuEingängeExportieren", Reports::Kind::Inputs, "report-inputs",
     "print-inputs"},
    {"mnuAusgängeAnzeigen", "mnuAusgängeDrucken", "mnuAusgängeExportieren", Reports::Kind::Outputs, "report-outputs",
     "print-outputs"},
    {"mnuAlarmDispositiv", "mnuAlarmDispoDrucken", "mnuAlarmDispoExportieren", Reports::Kind::Alarm, "report-alarm",
     "print-alarm"},
    {"mnuBenutzerAnzeigen", "mnuBenutzerDrucken", "mnuBenutzerExportieren", Reports::Kind::Users, "report-users",
     "print-users"},
};

// A menu item by object name: the action itself, or the action of a submenu of that name.
QAction* actionNamed(const QObject* root, const QString& name)
{
    if (auto* a = root->findChild<QAction*>(name))
        return a;
    if (auto* m = root->findChild<QMenu*>(name))
        return m->menuAction();
    return nullptr;
}

void setLampColour(QWidget* w, int bgr)
{
    if (!w)
        return;
    w->setProperty("FillColor", bgr);
    if (w->metaObject()->indexOfProperty("FillColor") >= 0)
        return; // a lamp widget paints its own fill colour
    const int r = bgr & 0xFF, g = (bgr >> 8) & 0xFF, b = (bgr >> 16) & 0xFF;
    w->setStyleSheet(QStringLiteral("background-color: rgb(%1,%2,%3);").arg(r).arg(g).arg(b));
    w->update();
}
} // namespace

// ---- access levels ---------------------------------------------------------------------------

void MainWindow::applyAccessLevel(const QString& password)
{
    const AccessLevel::Level level = AccessLevel::levelFor(password);
    const bool full = level == AccessLevel::Full;
    const bool admin = level != AccessLevel::Normal;
    if (auto* w = findChild<QWidget*>(QStringLiteral("cmdSetzen")))
        w->setVisible(full);
    if (auto* w = findChild<QWidget*>(QStringLiteral("Check_Inkrement")))
        w->setVisible(full);
    if (auto* w = findChild<QWidget*>(QStringLiteral("txtSerienummer")))
        w->setEnabled(full);
    if (auto* w = findChild<QWidget*>(QStringLiteral("cmdDownload(1)")))
        w->setVisible(admin);
    // The toolbar's flag: an orange rule under the toolbar while an administrator level is
    // active, so the technician sees the raised level; it hides no command.
    if (Toolbar1) {
        Toolbar1->setProperty("administrator", admin);
        QString tip;
        if (admin)
            tip = TextTable(gState().databasePath, tbl::Beschriftung, gState().language)
                      .at(QStringLiteral("mnuAdministrator"), 0, QStringLiteral("Administrator"))
                      .remove(QLatin1Char('&'));
        Toolbar1->setToolTip(tip);
        Toolbar1->style()->unpolish(Toolbar1);
        Toolbar1->style()->polish(Toolbar1);
        Toolbar1->update();
    }
    LoadingProgress::advance();
}

// ---- help context numbers --------------------------------------------------------------------

void MainWindow::assignHelpContexts()
{
    struct Entry {
        const char* name;
        int first, last; // element range; -1 for a single control
        int context;
    };
    static const Entry table[] = {
        {"txtEingangSF", 0, 7, 1000},
        {"txtEingangFF", 0, 7, 1000},
        {"ChkEmpOP", 0, 127, 1001},
        {"ChkAlarmDispo", 0, 15, 1002},
        {"ChkBenutzerAlarmDispo", 0, 7, 1002},
        {"txtAlarmDispositiv", -1, -1, 1002},
        {"txtAusgangSF", 0, 3, 2000},
        {"txtAusgangFF", 0, 3, 2000},
        {"ChkEmpOut", 0, 63, 2001},
        {"ChkOP", 0, 7, 2002},
        {"ChkDefaultState", 0, 7, 2003},
        {"txtSMSAufstarten", -1, -1, 3000},
        {"ChkBenutzerPowerON", 0, 7, 3000},
        {"cmdDownload", 0, 0, 3001},
        {"cmdUpload", -1, -1, 3002},
        {"cmdDownload", 1, 1, 3003},
        {"cmdSetOutput", 0, 3, 3005},
        {"cmdResetOutput", 0, 3, 3005},
        {"CboGültigkeit", -1, -1, 3006},
        {"OptPortAnzeige", 0, 2, 3007},
        {"cmdAktualisieren", -1, -1, 3007},
        {"cmdSetzen", -1, -1, 3008},
        {"cmdLesen", -1, -1, 3008},
        {"txtSerienummer", -1, -1, 3008},
        {"cmdPinLesen", -1, -1, 3009},
        {"cmdPinWechseln", -1, -1, 3009},
        {"ChkDefault", -1, -1, 3009},
        {"txtPINSimCardNeu", -1, -1, 3009},
        {"txtPINSimCardAlt", -1, -1, 3009},
    };
    for (const Entry& e : table) {
        const QString base = QString::fromUtf8(e.name);
        if (e.first < 0) {
            Help::setContext(findChild<QWidget*>(base), e.context);
            continue;
        }
        for (int i = e.first; i <= e.last; ++i) {
            Help::setContext(findChild<QWidget*>(QStringLiteral("%1(%2)").arg(base).arg(i)), e.context);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    }
}

// ---- icons -----------------------------------------------------------------------------------

void MainWindow::applyMenuIcons()
{
    smsv48InitResources();
    static const struct {
        const char* item;
        const char* icon;
    } menuIcons[] = {
        {"mnuLaden", "open"},
        {"mnuSpeichern", "save"},
        {"mnuTelefonbuch", "phonebook"},
        {"mnuPort", "com"},
        {"mnuListenAnzeigen", "preview"},
        {"mnuListenDrucken", "print"},
        {"mnuListenExportieren", "pdf"},
        {"mnuHelp", "help"},
        {"mnuInfo", "info"},
    };
    for (const auto& m : menuIcons)
        if (QAction* a = actionNamed(this, QString::fromUtf8(m.item)))
            a->setIcon(icon(m.icon));
    for (const ReportCommand& r : kReports) {
        if (QAction* a = actionNamed(this, QString::fromUtf8(r.show)))
            a->setIcon(icon(r.showIcon));
        if (QAction* a = actionNamed(this, QString::fromUtf8(r.print)))
            a->setIcon(icon(r.printIcon));
        if (QAction* a = actionNamed(this, QString::fromUtf8(r.exportName)))
            a->setIcon(icon("pdf"));
    }
    static const char* const toolbarIcons[]
        = {"open",         "save",         "phonebook",    "com",           "report-inputs", "report-outputs",
           "report-alarm", "report-users", "print-inputs", "print-outputs", "print-alarm",   "print-users",
           "upload",       "download",     "help",         "info"};
    if (Toolbar1) {
        for (QAction* a : Toolbar1->actions()) {
            const QString key = keyOf(a);
            for (int i = 0; i < 16; ++i)
                if (key == QLatin1String(kToolbarKeys[i]))
                    a->setIcon(icon(toolbarIcons[i]));
        }
    }
}

// ---- commands ----------------------------------------------------------------------------------

void MainWindow::wireShellCommands()
{
    shell = new ShellState(this);
    shell->setObjectName(QStringLiteral("ShellState"));

    demoTimer = new QTimer(this);
    demoTimer->setObjectName(QStringLiteral("Timer_DemoMode"));
    demoTimer->setInterval(1000);
    connect(demoTimer, &QTimer::timeout, this, &MainWindow::demoDisplayStep);
    demoModemTimer = new QTimer(this);
    demoModemTimer->setObjectName(QStringLiteral("Timer_Demo_Modem"));
    demoModemTimer->setInterval(100);
    demoModemTimer->setSingleShot(true);

    shell->demo.onLamp = [this](int lamp, int colour) {
        setLampColour(
            findChild<QWidget*>(lamp < 0 ? QStringLiteral("ShpModem") : QStringLiteral("ShpLed(%1)").arg(lamp)),
            colour);
    };
    shell->demo.waitFlash = [this] {
        if (shell->flashWaitHook) {
            shell->flashWaitHook();
            return;
        }
        // Wait until the one-shot modem timer has run out, or the window closes.
        demoModemTimer->start();
        while (demoModemTimer->isActive() && !gState().closing)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        demoModemTimer->stop();
    };

    if (Toolbar1) {
        Toolbar1->setStyleSheet(
            Toolbar1->styleSheet()
            + QStringLiteral("QToolBar[administrator=\"true\"] { border-bottom: 3px solid #e07b00; }"));
    }
    if (Toolbar1)
        connect(Toolbar1, &QToolBar::actionTriggered, this, [this](QAction* a) { toolbarButtonClicked(keyOf(a)); });
    auto wire = [this](const QString& name, auto fn) {
        if (QAction* a = actionNamed(this, name))
            connect(a, &QAction::triggered, this, fn);
    };
    wire(QStringLiteral("mnuBeenden"), [this] { exitProgram(); });
    wire(QStringLiteral("mnuHelp"), [this] { showHelpContents(); });
    wire(QStringLiteral("mnuInfo"), [this] { showAbout(); });
    wire(QStringLiteral("mnuAdministrator"), [this] { showAdministratorLogin(); });
    // The login stays reachable through a double click on the logo of the About box; a
    // greyed-out item that nothing enables would only puzzle the normal user, so it is hidden.
    if (QAction* a = actionNamed(this, QStringLiteral("mnuAdministrator")))
        a->setVisible(false);

    // Save as PDF, beside the print submenu.
    QMenu* reports = findChild<QMenu*>(QString::fromUtf8("mnuReports"));
    if (!reports)
        if (QAction* a = actionNamed(this, QStringLiteral("mnuReports")))
            reports = a->menu();
    if (reports && !actionNamed(this, QStringLiteral("mnuListenExportieren"))) {
        QMenu* pdf = new QMenu(ShellTexts::text(QStringLiteral("mnuListenExportieren")), reports);
        pdf->setObjectName(QStringLiteral("mnuListenExportieren"));
        pdf->menuAction()->setObjectName(QStringLiteral("mnuListenExportieren"));
        QAction* printMenu = actionNamed(this, QStringLiteral("mnuListenDrucken"));
        const QList<QAction*> items = reports->actions();
        const int at = printMenu ? items.indexOf(printMenu) : -1;
        if (at >= 0 && at + 1 < items.size())
            reports->insertMenu(items[at + 1], pdf);
        else
            reports->addMenu(pdf);
        for (const ReportCommand& r : kReports) {
            QAction* a = pdf->addAction(ShellTexts::text(QString::fromUtf8(r.exportName)));
            a->setObjectName(QString::fromUtf8(r.exportName));
        }
    }
    for (const ReportCommand& r : kReports) {
        const Reports::Kind kind = r.kind;
        wire(QString::fromUtf8(r.show), [this, kind] { ReportActions::preview(this, kind); });
        wire(QString::fromUtf8(r.print), [this, kind] { ReportActions::print(this, kind); });
        wire(QString::fromUtf8(r.exportName), [this, kind] { ReportActions::exportPdf(this, kind); });
    }
    // A report shows the store as it stands: edits still pending are written first.
    ReportActions::setRefreshHandler([this] {
        if (store.isOpen())
            store.updateAll();
    });
    Help::installF1Handler();
}

void MainWindow::toolbarButtonClicked(const QString& key)
{
    auto trigger = [this](const char* item) {
        if (QAction* a = actionNamed(this, QString::fromUtf8(item))) {
            a->trigger();
            return true;
        }
        return false;
    };
    auto onSystemTab = [this](const QString& button) {
        const int tab = SSTab1->currentIndex();
        SSTab1->setCurrentIndex(2);
        if (auto* b = findChild<QAbstractButton*>(button))
            b->click();
        SSTab1->setCurrentIndex(tab);
    };
    if (key == QLatin1String("Open"))
        trigger("mnuLaden");
    else if (key == QLatin1String("Save")) {
        if (!trigger("mnuSpeichern"))
            saveProfile();
    } else if (key == QLatin1String("Telefonbuch"))
        trigger("mnuTelefonbuch");
    else if (key == QLatin1String("COM")) {
        if (!trigger("mnuPort"))
            openPortSettings();
    } else if (key == QLatin1String("ReportAlarm"))
        ReportActions::preview(this, Reports::Kind::Inputs);
    else if (key == QLatin1String("ReportRelais"))
        ReportActions::preview(this, Reports::Kind::Outputs);
    else if (key == QLatin1String("ReportSequentiell"))
        ReportActions::preview(this, Reports::Kind::Alarm);
    else if (key == QLatin1String("ReportUser"))
        ReportActions::preview(this, Reports::Kind::Users);
    else if (key == QLatin1String("PrintAlarm"))
        ReportActions::print(this, Reports::Kind::Inputs);
    else if (key == QLatin1String("PrintRelais"))
        ReportActions::print(this, Reports::Kind::Outputs);
    else if (key == QLatin1String("PrintSequentiell"))
        ReportActions::print(this, Reports::Kind::Alarm);
    else if (key == QLatin1String("PrintUser"))
        ReportActions::print(this, Reports::Kind::Users);
    else if (key == QLatin1String("Upload"))
        onSystemTab(QStringLiteral("cmdUpload"));
    else if (key == QLatin1String("Download"))
        onSystemTab(QStringLiteral("cmdDownload(0)"));
    else if (key == QLatin1String("Help"))
        showHelpContents();
    else if (key == QLatin1String("Info"))
        showAbout();
}

void MainWindow::exitProgram() { close(); }

void MainWindow::showHelpContents() { shell->help.run(this, 0); }

void MainWindow::showAbout()
{
    AboutDialog about(this);
    about.exec();
}

void MainWindow::showAdministratorLogin()
{
    AdministratorLogin login(this);
    login.exec();
}

// ---- demonstration display ---------------------------------------------------------------------

void MainWindow::startDemoDisplay()
{
    shell->demo.reset();
    for (int i = 0; i < 8; ++i)
        shell->demo.onLamp(i, DemoDisplay::White);
    shell->demo.led.fill(DemoDisplay::White);
    demoTimer->start();
}

void MainWindow::demoDisplayStep()
{
    // A tick that arrives while the modem flash waits is dropped (the flash processes events).
    if (!demoTimer->isActive() || shell->flashing)
        return;
    // The display selection may start the timer itself after clearing the lamps; a lamp that
    // was lit here and is white now means the demonstration was chosen anew: start over.
    for (int i = 0; i < 8; ++i) {
        auto* lamp = findChild<QWidget*>(QStringLiteral("ShpLed(%1)").arg(i));
        if (lamp && shell->demo.led[size_t(i)] == DemoDisplay::Green
            && lamp->property("FillColor").toInt() != DemoDisplay::Green) {
            shell->demo.reset();
            shell->demo.led.fill(DemoDisplay::White);
            break;
        }
    }
    shell->flashing = true;
    shell->demo.tick();
    shell->flashing = false;
}
