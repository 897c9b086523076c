#pragma once
// The main window's commands: menus and toolbar, access levels, help contexts and the help
// window, the report commands, About and the administrator login, the menu icons, and the
// demonstration display of the status lamps.
#include "core/DemoDisplay.h"
#include "ui/Help.h"
#include "ui/ReportActions.h"

#include <QObject>

class MainWindow;
class QTimer;
class QWidget;

class ShellController : public QObject {
    Q_OBJECT
public:
    explicit ShellController(MainWindow* window);

    // The access level of a password: the System tab's serial-number writing (full level) and
    // firmware update (any administrator level), and the toolbar's administrator line.
    void applyAccessLevel(const QString& password);
    // The level stored in the settings ("Passwort"/"Passwort", hexadecimal digits).
    void applyStoredAccessLevel();
    // Help context numbers of the controls (F1); a tab built later takes them when built.
    void assignHelpContexts();
    void applyMenuIcons();

    // Toolbar button click by button key ("Open", "Save", ... "Info"); unknown keys do nothing.
    void toolbarButtonClicked(const QString& key);
    void exitProgram();
    void showHelpContents();
    void showAbout();
    void showAdministratorLogin();
    // The report commands' hooks: pending edits written first, then the window's options.
    ReportActions::Hooks reportHooks() const;

    // Status-lamp demonstration (started by the display selection of the live status).
    void startDemoDisplay();
    void stopDemoDisplay();
    void demoDisplayStep();
    QTimer* demoTimer() const { return m_demoTimer; }
    QTimer* modemFlashTimer() const { return m_modemFlashTimer; }
    DemoDisplay demo;

private:
    void wireCommands();
    void addPdfMenu();
    void applyHelpContexts(QObject* root);

    MainWindow* m_window;
    HelpLauncher m_help;
    QTimer* m_demoTimer = nullptr;
    QTimer* m_modemFlashTimer = nullptr;
    bool m_flashing = false;
    bool m_helpContextsAssigned = false;
};
