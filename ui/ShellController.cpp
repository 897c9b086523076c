#include "ui/ShellController.h"

#include "ui/MainWindow.h"
#include "ui/OutputsTab.h"
#include "ui/ProfileController.h"
#include "ui/DeviceController.h"
#include "ui/SystemTab.h"

#include "core/AccessLevel.h"
#include "ui/Help.h"
#include "core/ProgramContext.h"
#include "core/Progress.h"
#include "ui/ReportActions.h"
#include "core/Resources.h"
#include "store/ShellTexts.h"
#include "store/TextTable.h"
#include "ui/AboutDialog.h"
#include "ui/AdministratorLogin.h"

#include "core/Settings.h"
#include "ui/ShapeLamp.h"

#include <QAbstractButton>
#include <QHash>
#include <QImageReader>
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

using Command = MainWindow::Command;

struct ReportCommand {
    Command show;
    Command print;
    const char* exportName;
    Reports::Kind kind;
    const char* showIcon;
    const char* printIcon;
};
const ReportCommand kReports[] = {
    {Command::ShowInputs, Command::PrintInputs, "mnuEingängeExportieren", Reports::Kind::Inputs, "report-inputs",
     "print-inputs"},
    {Command::ShowOutputs, Command::PrintOutputs, "mnuAusgängeExportieren", Reports::Kind::Outputs, "report-outputs",
     "print-outputs"},
    {Command::ShowAlarm, Command::PrintAlarm, "mnuAlarmDispoExportieren", Reports::Kind::Alarm, "report-alarm",
     "print-alarm"},
    {Command::ShowUsers, Command::PrintUsers, "mnuBenutzerExportieren", Reports::Kind::Users, "report-users",
     "print-users"},
};

// The PDF export menu and its items, made by the shell beside the print menu.
QAction* exportAction(const QObject* root, const char* name)
{
    return root->findChild<QAction*>(QString::fromUtf8(name));
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

ShellController::ShellController(MainWindow* window) : QObject(nullptr), m_window(window), m_help(window->context())
{
    wireCommands();
    for (TabPage* tab : {static_cast<TabPage*>(&window->outputsTab()), static_cast<TabPage*>(&window->systemTab())})
        connect(tab, &TabPage::built, this, [this, tab] {
            if (m_helpContextsAssigned)
                applyHelpContexts(tab);
        });
}

void ShellController::applyStoredAccessLevel()
{
    const QString stored = Settings::get(QStringLiteral("Passwort"), QStringLiteral("Passwort"));
    QString decoded;
    if (!stored.isEmpty()) {
        bool ok = false;
        const qulonglong v = stored.trimmed().toULongLong(&ok, 16);
        decoded = ok ? QString::number(v) : QString();
    }
    applyAccessLevel(decoded);
}

void ShellController::applyAccessLevel(const QString& password)
{
    const AccessLevel::Level level = AccessLevel::levelFor(password);
    const bool full = level == AccessLevel::Full;
    const bool admin = level != AccessLevel::Normal;
    m_window->systemTab().setAccessLevel(full, admin);
    // The toolbar's flag: an orange rule under the toolbar while an administrator level is
    // active, so the technician sees the raised level; it hides no command.
    QToolBar* toolbar = m_window->toolbar();
    toolbar->setProperty("administrator", admin);
    // The rule is a style sheet of the toolbar only while it shows: at the normal level the
    // toolbar is styled without one, which saves each start some milliseconds.
    const QString rule = admin ? QStringLiteral("QToolBar { border-bottom: 3px solid #e07b00; }") : QString();
    QString tip;
    if (admin)
        tip = TextTable(m_window->context(), m_window->context().databasePath, tbl::Beschriftung,
                        m_window->context().language)
                  .at(QStringLiteral("mnuAdministrator"), 0, QStringLiteral("Administrator"))
                  .remove(QLatin1Char('&'));
    toolbar->setToolTip(tip);
    if (toolbar->styleSheet() != rule)
        toolbar->setStyleSheet(rule);
    toolbar->update();
    LoadingProgress::advance();
}

// ---- help context numbers --------------------------------------------------------------------

namespace {
// The help context of each control, by object name.
QHash<QString, int> helpContexts()
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
    QHash<QString, int> contexts;
    for (const Entry& e : table) {
        const QString base = QString::fromUtf8(e.name);
        if (e.first < 0)
            contexts.insert(base, e.context);
        for (int i = e.first; i >= 0 && i <= e.last; ++i)
            contexts.insert(QStringLiteral("%1(%2)").arg(base).arg(i), e.context);
    }
    return contexts;
}
} // namespace

void ShellController::assignHelpContexts()
{
    m_helpContextsAssigned = true;
    applyHelpContexts(m_window);
}

void ShellController::applyHelpContexts(QObject* root)
{
    static const QHash<QString, int> contexts = helpContexts();
    const QList<QWidget*> widgets = root->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        const auto context = contexts.constFind(w->objectName());
        if (context != contexts.cend())
            Help::setContext(w, *context);
    }
}

// ---- icons -----------------------------------------------------------------------------------

void ShellController::applyMenuIcons()
{
    smsv48InitResources();
    // Without Qt's SVG image plugin the pictures would be blank: the toolbar keeps the
    // pictures drawn in code and the style's pictures for the rest, the menus go without.
    if (!QImageReader::supportedImageFormats().contains("svg")) {
        for (QAction* a : m_window->toolbar()->actions())
            if (!a->isSeparator() && a->icon().isNull())
                a->setIcon(
                    m_window->style()->standardIcon(QStyle::StandardPixmap(a->property("StandardIcon").toInt())));
        return;
    }
    // One icon a picture: Qt reads and checks an SVG file each time an icon is made of it, and the
    // toolbar and the menus share most of their pictures.
    QHash<QByteArray, QIcon> made;
    const auto icon = [&made](const char* name) {
        auto it = made.find(name);
        if (it == made.end())
            it = made.insert(name, QIcon(QStringLiteral(":/icons/%1.svg").arg(QString::fromLatin1(name))));
        return *it;
    };
    static const struct {
        Command item;
        const char* icon;
    } menuIcons[] = {
        {Command::Open, "open"}, {Command::Save, "save"},         {Command::PhoneBook, "phonebook"},
        {Command::Port, "com"},  {Command::HelpContents, "help"}, {Command::About, "info"},
    };
    for (const auto& m : menuIcons)
        m_window->action(m.item)->setIcon(icon(m.icon));
    m_window->menu(MainWindow::Menu::ShowLists)->menuAction()->setIcon(icon("preview"));
    m_window->menu(MainWindow::Menu::PrintLists)->menuAction()->setIcon(icon("print"));
    if (QAction* pdf = exportAction(m_window, "mnuListenExportieren"))
        pdf->setIcon(icon("pdf"));
    for (const ReportCommand& r : kReports) {
        m_window->action(r.show)->setIcon(icon(r.showIcon));
        m_window->action(r.print)->setIcon(icon(r.printIcon));
        if (QAction* a = exportAction(m_window, r.exportName))
            a->setIcon(icon("pdf"));
    }
    static const char* const toolbarIcons[]
        = {"open",         "save",         "phonebook",    "com",           "report-inputs", "report-outputs",
           "report-alarm", "report-users", "print-inputs", "print-outputs", "print-alarm",   "print-users",
           "upload",       "download",     "help",         "info"};
    for (QAction* a : m_window->toolbar()->actions()) {
        const QString key = keyOf(a);
        for (int i = 0; i < 16; ++i)
            if (key == QLatin1String(kToolbarKeys[i]))
                a->setIcon(icon(toolbarIcons[i]));
    }
}

// ---- commands ----------------------------------------------------------------------------------

void ShellController::wireCommands()
{
    // The timers carry the design's names and belong to the window.
    m_demoTimer = new QTimer(m_window);
    m_demoTimer->setObjectName(QStringLiteral("Timer_DemoMode"));
    m_demoTimer->setInterval(1000);
    connect(m_demoTimer, &QTimer::timeout, this, &ShellController::demoDisplayStep);
    m_modemFlashTimer = new QTimer(m_window);
    m_modemFlashTimer->setObjectName(QStringLiteral("Timer_Demo_Modem"));
    m_modemFlashTimer->setInterval(100);
    m_modemFlashTimer->setSingleShot(true);

    demo.onLamp = [this](int lamp, int colour) { setLampColour(m_window->systemTab().lamp(lamp), colour); };
    demo.waitFlash = [this] {
        if (m_window->options().modemFlashWait) {
            m_window->options().modemFlashWait();
            return;
        }
        // Wait until the one-shot modem timer has run out, or the window closes.
        m_modemFlashTimer->start();
        while (m_modemFlashTimer->isActive() && !m_window->context().closing)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        m_modemFlashTimer->stop();
    };

    QToolBar* toolbar = m_window->toolbar();
    connect(toolbar, &QToolBar::actionTriggered, this, [this](QAction* a) { toolbarButtonClicked(keyOf(a)); });
    auto wire = [this](Command which, auto fn) { connect(m_window->action(which), &QAction::triggered, this, fn); };
    wire(Command::Exit, [this] { exitProgram(); });
    wire(Command::HelpContents, [this] { showHelpContents(); });
    wire(Command::About, [this] { showAbout(); });
    wire(Command::Administrator, [this] { showAdministratorLogin(); });
    // The login stays reachable through a double click on the logo of the About box; a
    // greyed-out item that nothing enables would only puzzle the normal user, so it is hidden.
    m_window->action(Command::Administrator)->setVisible(false);

    addPdfMenu();
    for (const ReportCommand& r : kReports) {
        const Reports::Kind kind = r.kind;
        wire(r.show, [this, kind] { ReportActions::preview(m_window->context(), m_window, kind, reportHooks()); });
        wire(r.print, [this, kind] { ReportActions::print(m_window->context(), m_window, kind, reportHooks()); });
        if (QAction* a = exportAction(m_window, r.exportName))
            connect(a, &QAction::triggered, this,
                    [this, kind] { ReportActions::exportPdf(m_window->context(), m_window, kind, reportHooks()); });
    }
    Help::installF1Handler(m_window->context());
}

// Save as PDF, beside the print submenu.
void ShellController::addPdfMenu()
{
    QMenu* reports = m_window->menu(MainWindow::Menu::Reports);
    if (exportAction(m_window, "mnuListenExportieren"))
        return;
    // The menu's title and items, read from the table at once (before the system messages are loaded).
    QStringList keys {QStringLiteral("mnuListenExportieren")};
    for (const ReportCommand& r : kReports)
        keys << QString::fromUtf8(r.exportName);
    const QStringList texts = ShellTexts::texts(m_window->context(), keys);
    auto* pdf = new QMenu(texts[0], reports);
    pdf->setObjectName(QStringLiteral("mnuListenExportieren"));
    pdf->menuAction()->setObjectName(QStringLiteral("mnuListenExportieren"));
    QAction* printMenu = m_window->menu(MainWindow::Menu::PrintLists)->menuAction();
    const QList<QAction*> items = reports->actions();
    const int at = items.indexOf(printMenu);
    if (at >= 0 && at + 1 < items.size())
        reports->insertMenu(items[at + 1], pdf);
    else
        reports->addMenu(pdf);
    for (int i = 1; i < keys.size(); ++i)
        pdf->addAction(texts[i])->setObjectName(keys[i]);
}

void ShellController::toolbarButtonClicked(const QString& key)
{
    auto trigger = [this](Command which) { m_window->action(which)->trigger(); };
    // The transfer runs with the System tab in view (its commands disabled meanwhile).
    auto onSystemTab = [this](void (DeviceController::*command)()) {
        QTabWidget* tabs = m_window->tabs();
        const int tab = tabs->currentIndex();
        tabs->setCurrentIndex(2);
        (m_window->device().*command)();
        tabs->setCurrentIndex(tab);
    };
    if (key == QLatin1String("Open"))
        trigger(Command::Open);
    else if (key == QLatin1String("Save"))
        trigger(Command::Save);
    else if (key == QLatin1String("Telefonbuch"))
        trigger(Command::PhoneBook);
    else if (key == QLatin1String("COM"))
        trigger(Command::Port);
    else if (key == QLatin1String("ReportAlarm"))
        ReportActions::preview(m_window->context(), m_window, Reports::Kind::Inputs, reportHooks());
    else if (key == QLatin1String("ReportRelais"))
        ReportActions::preview(m_window->context(), m_window, Reports::Kind::Outputs, reportHooks());
    else if (key == QLatin1String("ReportSequentiell"))
        ReportActions::preview(m_window->context(), m_window, Reports::Kind::Alarm, reportHooks());
    else if (key == QLatin1String("ReportUser"))
        ReportActions::preview(m_window->context(), m_window, Reports::Kind::Users, reportHooks());
    else if (key == QLatin1String("PrintAlarm"))
        ReportActions::print(m_window->context(), m_window, Reports::Kind::Inputs, reportHooks());
    else if (key == QLatin1String("PrintRelais"))
        ReportActions::print(m_window->context(), m_window, Reports::Kind::Outputs, reportHooks());
    else if (key == QLatin1String("PrintSequentiell"))
        ReportActions::print(m_window->context(), m_window, Reports::Kind::Alarm, reportHooks());
    else if (key == QLatin1String("PrintUser"))
        ReportActions::print(m_window->context(), m_window, Reports::Kind::Users, reportHooks());
    else if (key == QLatin1String("Upload"))
        onSystemTab(&DeviceController::readConfiguration);
    else if (key == QLatin1String("Download"))
        onSystemTab(&DeviceController::writeConfiguration);
    else if (key == QLatin1String("Help"))
        showHelpContents();
    else if (key == QLatin1String("Info"))
        showAbout();
}

ReportActions::Hooks ShellController::reportHooks() const
{
    ReportActions::Hooks hooks;
    // A report shows the store as it stands: edits still pending are written first.
    MainWindow* window = m_window;
    hooks.refresh = [window] {
        if (window->store().isOpen())
            window->store().updateAll();
    };
    hooks.preview = m_window->options().reportPreview;
    hooks.printerName = m_window->options().printerName;
    return hooks;
}

void ShellController::exitProgram() { m_window->close(); }

void ShellController::showHelpContents() { m_help.run(m_window, 0); }

void ShellController::showAbout()
{
    AboutDialog about(m_window->context(), m_window);
    connect(&about, &AboutDialog::accessLevelChosen, this, &ShellController::applyAccessLevel);
    about.exec();
}

void ShellController::showAdministratorLogin()
{
    AdministratorLogin login(m_window->context(), m_window);
    connect(&login, &AdministratorLogin::accessLevelChosen, this, &ShellController::applyAccessLevel);
    login.exec();
}

// ---- demonstration display ---------------------------------------------------------------------

void ShellController::startDemoDisplay()
{
    demo.reset();
    for (int i = 0; i < 8; ++i)
        demo.onLamp(i, DemoDisplay::White);
    demo.led.fill(DemoDisplay::White);
    m_demoTimer->start();
}

void ShellController::stopDemoDisplay() { m_demoTimer->stop(); }

void ShellController::demoDisplayStep()
{
    // A tick that arrives while the modem flash waits is dropped (the flash processes events).
    if (!m_demoTimer->isActive() || m_flashing)
        return;
    // The display selection may start the timer itself after clearing the lamps; a lamp that
    // was lit here and is white now means the demonstration was chosen anew: start over.
    for (int i = 0; i < 8; ++i) {
        if (demo.led[size_t(i)] == DemoDisplay::Green
            && m_window->systemTab().lamp(i)->fillColor() != DemoDisplay::Green) {
            demo.reset();
            demo.led.fill(DemoDisplay::White);
            break;
        }
    }
    m_flashing = true;
    demo.tick();
    m_flashing = false;
}
