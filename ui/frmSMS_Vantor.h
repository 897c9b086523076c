#pragma once
// The main window. Its routines are spread over the subsystem folders: this file and
// ui/frmSMS_Vantor.cpp hold the frame, start-up and shutdown; each subsystem defines
// its own member functions in its own file (see the sections below).
#include "store/ConfigStore.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class Channel;
class Waiter;
class QLabel;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolBar;

class frmSMS_Vantor : public QMainWindow {
    Q_OBJECT
public:
    // Opens the six configuration recordsets (throws StoreError) and builds the window.
    // Form_Load (tabs, port, probe) runs inside; InitilisiereSteuerelemente is separate.
    explicit frmSMS_Vantor(QWidget* parent = nullptr);
    ~frmSMS_Vantor() override;

    void InitilisiereSteuerelemente();

    // ---- frame (ui/frmSMS_Vantor.cpp) ---------------------------------------------------
    ConfigStore store;
    QTabWidget* SSTab1 = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QPushButton* cmdStatKom = nullptr;
    QLabel* statusPanel[4] = {nullptr, nullptr, nullptr, nullptr}; // StatusBar panels 1..4
    QLabel* lblSimulated = nullptr;
    QTimer* Timer_Zeit = nullptr;
    QWidget* tabPage[3] = {nullptr, nullptr, nullptr};

    // Lamp colours of cmdStatKom, as BGR values.
    enum Lamp { Red = 255, Yellow = 65535, Green = 65280, Cyan = 16776960 };
    void setLamp(int bgr);
    int lamp() const { return m_lamp; }
    void setPanelText(int panel, const QString& text); // panel 1..4

    // The serial link: port number 1..8, settings text, the open channel (may be closed).
    int commPort = 1;
    QString commSettings = QStringLiteral("9600,N,8,1");
    QString commDevice;
    std::unique_ptr<Channel> channel;
    Waiter* waiter() const { return m_waiter; }
    void setWaiter(Waiter* w) { m_waiter = w; }
    // Opens the port from the stored settings (start-up step C.2 to C.7).
    bool openPortFromSettings();
    void showPortStatus();

    // Test hook: replaces the modal port-settings dialog after a failed port open.
    std::function<void()> portFailureDialog;

    // Called by the close sequence when the user answers Yes to saving.
    void mnuSpeichern_Click();

    // ---- widgets of the three tabs, menus, toolbar (ui/MainWindowWidgets.cpp) ------------
    void buildWidgets();

    // ---- texts from the language tables (ui/MainWindowTexts.cpp) ------------------------
    void SystemMessages();
    void Beschrifte_Labels_Buttons();
    void ToolTipText();

    // ---- image and profiles (image/MainWindowProfile.cpp) -------------------------------
    void LoadDefaultConfiguration();
    void InitialisiereArrayEEPROM();
    void wireProfileCommands();

    // ---- editor (editor/MainWindowEditor.cpp) -------------------------------------------
    void LabelEmpfaengerBeschriften();
    void FuelleEingangTextfelderSMS();
    void FuelleAusgangTextfelderSMS();
    void FuelleAlarmDispoTextfelderSMS();
    void FuellePowerONTextfelderSMS();
    void Aktiviere_Deaktiviere_ChkBox_IN();
    void Aktiviere_Deaktiviere_ChkBox_OUT();
    void Aktiviere_Deaktiviere_ChkBox_AlarmDispo_Benutzer();
    void Aktiviere_Deaktiviere_ChkBox_AlarmDispo_IN();
    void Aktiviere_Deaktiviere_ChkBox_PowerOn();
    void Aktualisieren();
    void wireEditor();

    // ---- device link (link/MainWindowLink.cpp) ------------------------------------------
    void Verbindung_pruefen();
    void InitialisiereGueltigkeit();
    void openPortSettings();
    void wireDeviceCommands();

    // ---- shell: commands, access levels, help, reports (app/MainWindowShell.cpp) --------
    void BenutzerBerechtigung(const QString& password);
    void AddHelpContextID();
    void MenuIcons();
    void wireShellCommands();
    // Toolbar1 button click by button key ("Open", "Save", ... "Info"); unknown keys do nothing.
    void Toolbar1_ButtonClick(const QString& key);
    void mnuBeenden_Click();
    void mnuHelp_Click();
    void mnuInfo_Click();
    void mnuAdministrator_Click();
    // Status-lamp demonstration (started by the display selection of the live status).
    void DemoMode();
    void Timer_DemoMode_Timer();
    QTimer* Timer_DemoMode = nullptr;
    QTimer* Timer_Demo_Modem = nullptr;
    class ShellState* shell = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void Form_Load();
    void Timer_Zeit_Timer();
    int m_lamp = Red;
    Waiter* m_waiter = nullptr;
    std::unique_ptr<Waiter> m_ownWaiter;
    bool m_closed = false;
};

// The main window while it exists (the program has exactly one).
frmSMS_Vantor* mainWindow();
