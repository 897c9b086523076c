// The main window's bars: menus, toolbar and status bar, and its default size.
#include "ui/MainWindow.h"

#include "ui/ToolbarIcons.h"

#include <QAction>
#include <QColor>
#include <QDateTime>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace {
// The main window does not count the status bar's width in its own minimum, so a narrow
// window squeezes the panels over each other. This keeps the window at least as wide as
// the status bar needs (within the screen), also when a panel's text changes.
class StatusBarMinimum : public QObject {
public:
    StatusBarMinimum(QMainWindow* window, QStatusBar* bar) : QObject(window), m_window(window), m_bar(bar)
    {
        bar->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::LayoutRequest || e->type() == QEvent::Show)
            apply();
        return false;
    }
    void apply()
    {
        int width = m_bar->minimumSizeHint().width();
        if (QScreen* s = m_window->screen())
            width = qMin(width, s->availableGeometry().width());
        if (width != m_window->minimumWidth())
            m_window->setMinimumWidth(width);
    }

private:
    QMainWindow* m_window;
    QStatusBar* m_bar;
};
} // namespace

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MenuBar"));
    auto menu = [this](QWidget* parent, Menu which, const char* name, const char* caption) {
        auto* m = new QMenu(QString::fromUtf8(caption), parent);
        m->setObjectName(QString::fromUtf8(name));
        m_menus[int(which)] = m;
        return m;
    };
    auto item = [this](QMenu* m, Command which, const char* name, const char* caption) {
        auto* a = new QAction(QString::fromUtf8(caption), m);
        a->setObjectName(QString::fromUtf8(name));
        m->addAction(a);
        m_actions[int(which)] = a;
        return a;
    };
    QMenu* file = menu(bar, Menu::File, "mnuDatei", "&Datei");
    bar->addMenu(file);
    item(file, Command::Open, "mnuLaden", "&Öffnen")->setShortcut(QKeySequence::Open);
    item(file, Command::Save, "mnuSpeichern", "S&peichern")->setShortcut(QKeySequence::Save);
    item(file, Command::SaveAs, "mnuSpeichernunter", "S&peichern unter")
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    // The profiles opened or saved last (filled by the profile controller).
    m_recentMenu = new QMenu(QStringLiteral("&Zuletzt geöffnet"), file);
    m_recentMenu->setObjectName(QStringLiteral("mnuZuletzt"));
    file->addMenu(m_recentMenu);
    file->addSeparator()->setObjectName(QStringLiteral("mnuLinie"));
    item(file, Command::Exit, "mnuBeenden", "&Beenden")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* settings = menu(bar, Menu::Settings, "mnuEinstellungen", "&Extras");
    bar->addMenu(settings);
    item(settings, Command::PhoneBook, "mnuTelefonbuch", "&Benutzer");
    item(settings, Command::Port, "mnuPort", "Schnittste&lle");
    QMenu* reports = menu(settings, Menu::Reports, "mnuReports", "&Konfiguration");
    settings->addMenu(reports);
    QMenu* show = menu(reports, Menu::ShowLists, "mnuListenAnzeigen", "&Anzeigen");
    reports->addMenu(show);
    item(show, Command::ShowInputs, "mnuEingängeAnzeigen", "&Eingänge");
    item(show, Command::ShowOutputs, "mnuAusgängeAnzeigen", "&Ausgänge");
    item(show, Command::ShowAlarm, "mnuAlarmDispositiv", "Sequentielle Alarmierung");
    item(show, Command::ShowUsers, "mnuBenutzerAnzeigen", "Benutzer");
    QMenu* print = menu(reports, Menu::PrintLists, "mnuListenDrucken", "&Drucken");
    reports->addMenu(print);
    item(print, Command::PrintInputs, "mnuEingängeDrucken", "E&ingänge")
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    item(print, Command::PrintOutputs, "mnuAusgängeDrucken", "A&usgänge");
    item(print, Command::PrintAlarm, "mnuAlarmDispoDrucken", "Sequentielle Alarmierung");
    item(print, Command::PrintUsers, "mnuBenutzerDrucken", "Benutzer");
    // The administrator login is switched off in the design; the About box's logo reaches it.
    item(settings, Command::Administrator, "mnuAdministrator", "&Administrator")->setVisible(false);

    QMenu* help = menu(bar, Menu::Help, "mnuFragezeichen", "&?");
    bar->addMenu(help);
    item(help, Command::HelpContents, "mnuHelp", "&Help")->setShortcut(QKeySequence::HelpContents);
    item(help, Command::About, "mnuInfo", "&Info");
}

void MainWindow::buildToolbar()
{
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    addToolBar(m_toolbar);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolbar->setFloatable(false);
    struct Slot {
        const char* key;
        QStyle::StandardPixmap icon;
        const char* tip;
    };
    const QStyle::StandardPixmap none = QStyle::SP_CustomBase;
    const Slot layoutSlots[ToolbarSlots] = {
        {nullptr, none, nullptr},
        {"Open", QStyle::SP_DialogOpenButton, nullptr},
        {"Save", QStyle::SP_DialogSaveButton, nullptr},
        {nullptr, none, nullptr},
        {"Telefonbuch", QStyle::SP_FileDialogContentsView, nullptr},
        {"COM", QStyle::SP_DriveNetIcon, nullptr},
        {nullptr, none, nullptr},
        {"ReportAlarm", QStyle::SP_FileDialogDetailedView, "Show Alarm Configuration"},
        {"ReportRelais", QStyle::SP_FileDialogDetailedView, "Show RelayConfiguration"},
        {"ReportSequentiell", QStyle::SP_FileDialogDetailedView, "Show sequentiell Alarm Configuration"},
        {"ReportUser", QStyle::SP_FileDialogDetailedView, "Show User"},
        {nullptr, none, nullptr},
        {"PrintAlarm", QStyle::SP_FileIcon, "Print Alarm Configuration"},
        {"PrintRelais", QStyle::SP_FileIcon, "Print Relay Configuration"},
        {"PrintSequentiell", QStyle::SP_FileIcon, "Print sequentiell Alarm Configuration"},
        {"PrintUser", QStyle::SP_FileIcon, "Print User"},
        {nullptr, none, nullptr},
        {"Upload", QStyle::SP_ArrowUp, nullptr},
        {"Download", QStyle::SP_ArrowDown, nullptr},
        {nullptr, none, nullptr},
        {"Help", QStyle::SP_DialogHelpButton, nullptr},
        {"Info", QStyle::SP_MessageBoxInformation, nullptr},
    };
    int separators = 0;
    for (int i = 0; i < ToolbarSlots; ++i) {
        QAction* a = nullptr;
        if (!layoutSlots[i].key) {
            a = m_toolbar->addSeparator();
            a->setObjectName(QStringLiteral("Toolbar1.Separator(%1)").arg(separators++));
        } else {
            const QString key = QString::fromLatin1(layoutSlots[i].key);
            // The pictures come with the other icons before the window is shown; the style's
            // stand-in is remembered for a system without the SVG plugin (looking it up reads
            // the icon theme's folders, which costs the start more than all the rest of the toolbar).
            a = new QAction(ToolbarIcons::icon(key), key, m_toolbar);
            a->setObjectName(QStringLiteral("Toolbar1.") + key);
            a->setProperty("Key", key);
            a->setProperty("StandardIcon", int(layoutSlots[i].icon));
            if (layoutSlots[i].tip)
                a->setToolTip(QString::fromLatin1(layoutSlots[i].tip));
            m_toolbar->addAction(a);
        }
        a->setProperty("Index", i + 1);
        m_toolbarSlots[i] = a;
    }
}

void MainWindow::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    m_lampButton = new QPushButton(this);
    m_lampButton->setObjectName(QStringLiteral("cmdStatKom"));
    m_lampButton->setFixedSize(22, 18);
    m_lampButton->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(m_lampButton);
    for (int i = 0; i < 4; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QStringLiteral("StatusBarPanel%1").arg(i + 1));
        m_panels[i]->setFrameShape(QFrame::StyledPanel);
        m_panels[i]->setMinimumWidth(i == 2 ? 220 : 90);
        bar->addWidget(m_panels[i], i == 2 ? 1 : 0);
    }
    m_simulatedNote = new QLabel(this);
    m_simulatedNote->setObjectName(QStringLiteral("lblSimulated"));
    // Brown and bold by palette and font: a style sheet would give the label a style of its own.
    QPalette brown = m_simulatedNote->palette();
    brown.setColor(QPalette::WindowText, QColor(0x8a, 0x4b, 0x00));
    m_simulatedNote->setPalette(brown);
    QFont bold = m_simulatedNote->font();
    bold.setBold(true);
    m_simulatedNote->setFont(bold);
    m_simulatedNote->hide();
    bar->addPermanentWidget(m_simulatedNote);

    // Status-bar panels as wide as their longest usual text, so that they never overlap:
    // 1 the clock, 2 the port, 3 the last command line sent, 4 free.
    {
        const QFontMetrics fm = m_panels[0]->fontMetrics();
        const int pad = 2 * fm.averageCharWidth() + 8;
        const QString clock
            = QLocale().toString(QDateTime(QDate(2026, 12, 28), QTime(23, 58, 58)), QLocale::ShortFormat);
        m_panels[0]->setMinimumWidth(fm.horizontalAdvance(clock) + pad);
        m_panels[1]->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("COM ----")) + pad);
        m_panels[2]->setMinimumWidth(fm.horizontalAdvance(QStringLiteral(":HR1 CT:0010 AD:0060")) + pad);
        m_panels[3]->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("0000")) + pad);
        (new StatusBarMinimum(this, statusBar()))->apply();
    }

    // A default size that shows the whole input tab on a 1366 x 768 screen; smaller screens
    // (or large scaling) get a window that fits, with scrolling tab pages.
    QSize size(1280, 720);
    if (QScreen* s = screen()) {
        const QSize avail = s->availableGeometry().size();
        size = size.boundedTo(QSize(avail.width() * 95 / 100, avail.height() * 92 / 100));
    }
    resize(size);
}
