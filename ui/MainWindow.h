#pragma once
// The main window. Its routines are spread over the subsystem folders: this file and
// ui/MainWindow.cpp hold the frame, start-up and shutdown; each subsystem defines
// its own member functions in its own file (see the sections below).
#include "image/Image.h"
#include "store/ConfigStore.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class Channel;
class Link;
struct MainLink;
struct UnitImage;
struct UnitStatus;
class ConfigEditor;
class EditorBinding;
class Waiter;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class ShapeLamp;
class QTabWidget;
class QTimer;
class QToolBar;

// What a caller can put in place of parts of the window at construction: the program's
// start defers the first probe, tests replace dialogs and the image side of transfers.
struct MainWindowOptions {
    // The first probe of the unit waits until the window is shown and runPendingProbe() is called.
    bool deferStartProbe = false;
    // Called instead of the modal port-settings dialog after a failed port open.
    std::function<void()> portFailureDialog;
    // In place of writeProfileFile for the transfer file, and of configImage + storeUnitImage
    // after a complete read.
    std::function<bool(const QString& path)> createTransferFile;
    std::function<bool(const UnitImage& image)> storeReadImage;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Opens the six configuration recordsets (throws StoreError) and builds the window.
    // startUp (tabs, port, probe) runs inside; initializeControls is separate.
    explicit MainWindow(MainWindowOptions options = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    void initializeControls();

    // ---- frame (ui/MainWindow.cpp) ---------------------------------------------------
    ConfigStore store;
    QTabWidget* SSTab1 = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QPushButton* cmdStatKom = nullptr;
    QLabel* statusPanel[4] = {nullptr, nullptr, nullptr, nullptr}; // StatusBar panels 1..4
    QLabel* lblSimulated = nullptr;
    QTimer* clockTimer = nullptr;
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

    // With MainWindowOptions::deferStartProbe: the first probe of the unit, once the window is shown.
    void runPendingProbe();

    // Called by the close sequence when the user answers Yes to saving.
    bool saveProfile();

    // ---- widgets of the three tabs, menus, toolbar (ui/MainWindowWidgets.cpp) ------------
    // Every control also carries its name with index as object name ("ChkEmpOP(37)").
    void buildWidgets();

    // Menus (QMenu for the menus, QAction for the commands; mnuAdministrator starts hidden).
    QMenu* mnuDatei = nullptr;
    QMenu* mnuEinstellungen = nullptr;
    QMenu* mnuReports = nullptr;
    QMenu* mnuListenAnzeigen = nullptr;
    QMenu* mnuListenDrucken = nullptr;
    QMenu* mnuFragezeichen = nullptr;
    QAction* mnuLaden = nullptr;
    QAction* mnuSpeichern = nullptr;
    QAction* mnuSpeichernunter = nullptr;
    QAction* mnuLinie = nullptr;
    QAction* mnuBeenden = nullptr;
    QAction* mnuTelefonbuch = nullptr;
    QAction* mnuPort = nullptr;
    QAction* mnuEingaengeAnzeigen = nullptr;
    QAction* mnuAusgaengeAnzeigen = nullptr;
    QAction* mnuAlarmDispositiv = nullptr;
    QAction* mnuBenutzerAnzeigen = nullptr;
    QAction* mnuEingaengeDrucken = nullptr;
    QAction* mnuAusgaengeDrucken = nullptr;
    QAction* mnuAlarmDispoDrucken = nullptr;
    QAction* mnuBenutzerDrucken = nullptr;
    QAction* mnuAdministrator = nullptr;
    QAction* mnuHelp = nullptr;
    QAction* mnuInfo = nullptr;

    // Toolbar1: the 22 button slots left to right, separators included (property "Key"
    // holds the key of a command button, e.g. "Open"; separators have none).
    static constexpr int ToolbarSlots = 22;
    QAction* Toolbar1Buttons[ToolbarSlots] = {};
    QAction* toolbarButton(const QString& key) const; // nullptr for an unknown key

    // Tab 0, inputs: texts, recipients (label group 0), alarm input and power-on (group 2).
    QLabel* lblEingang[8] = {};
    QLineEdit* txtEingangSF[8] = {};
    QLineEdit* txtEingangFF[8] = {};
    QLabel* lblAnzZeichenSF[8] = {};
    QLabel* lblAnzZeichenFF[8] = {};
    QCheckBox* ChkEmpOP[128] = {}; // 16 * user + input row (row 2e rising, 2e + 1 falling)
    QCheckBox* ChkAlarmDispo[16] = {};
    QPushButton* cmdCheckAllEvents = nullptr;
    QPushButton* cmdClrAllEvents = nullptr;
    QLabel* lblAlarmDispo = nullptr;
    QLabel* lblAlarmDispoSpalte = nullptr; // heading of the ChkAlarmDispo column (same text as lblAlarmDispo)
    QLineEdit* txtAlarmDispositiv = nullptr;
    QLabel* lblAnzZeichenAD = nullptr;
    QLineEdit* txtADVerzoegerungszeit = nullptr;
    QCheckBox* ChkBenutzerAlarmDispo[8] = {};
    QLabel* lblAufstarten = nullptr;
    QLineEdit* txtSMSAufstarten = nullptr;
    QLabel* lblAnzZeichenPON = nullptr;
    QCheckBox* ChkBenutzerPowerON[8] = {};

    // Recipient headings, 8 * group + user (group 0 inputs, 1 outputs, 2 alarm input/power-on).
    QLabel* lblEmpfaenger[24] = {};
    QLabel* lblAdresseName[24] = {};
    QLabel* lblAdresseEmpf[24] = {};
    QPushButton* cmdCheckAllEmp[16] = {}; // 0..7 input tab, 8..15 output tab
    QPushButton* cmdClrAllEmp[16] = {};

    // Tab 1, outputs.
    QLabel* lblAusgang[8] = {}; // 0..3 beside the texts, 4..7 beside the default states
    QLineEdit* txtAusgangSF[4] = {};
    QLineEdit* txtAusgangFF[4] = {};
    QLabel* lblAnzZeichenOutAK[4] = {};
    QLabel* lblAnzZeichenOutRK[4] = {};
    QCheckBox* ChkEmpOut[64] = {}; // 8 * user + output row
    QCheckBox* ChkOP[8] = {};
    QCheckBox* ChkDefaultState[8] = {};
    QPushButton* cmdAllRelaisON = nullptr;
    QPushButton* cmdAllRelaisOFF = nullptr;

    // Tab 2, System: live status and relays, unit parameters, transfers.
    ShapeLamp* ShpLed[8] = {};
    ShapeLamp* ShpModem = nullptr;
    QRadioButton* OptPortAnzeige[3] = {};
    QPushButton* cmdAktualisieren = nullptr;
    QLabel* lblHWVersion = nullptr;
    QLabel* lblSWVersion = nullptr;
    QPushButton* cmdSetOutput[4] = {};
    QPushButton* cmdResetOutput[4] = {};
    QLabel* lblSerienummer = nullptr;
    QLineEdit* txtSerienummer = nullptr;
    QPushButton* cmdLesen = nullptr;
    QPushButton* cmdSetzen = nullptr; // starts hidden (full access level only)
    QCheckBox* Check_Inkrement = nullptr; // starts hidden (full access level only)
    QLabel* lblPinSimCard = nullptr;
    QLineEdit* txtPINSimCardAlt = nullptr;
    QLineEdit* txtPINSimCardNeu = nullptr;
    QCheckBox* ChkDefault = nullptr;
    QPushButton* cmdPinLesen = nullptr;
    QPushButton* cmdPinWechseln = nullptr;
    QLabel* lblGueltigkeit = nullptr;
    QComboBox* CboGueltigkeit = nullptr;
    QPushButton* cmdGueltigkeitLesen = nullptr;
    QPushButton* cmdGueltigkeitSetzen = nullptr;
    QLabel* lblDownload = nullptr;
    QPushButton* cmdDownload[2] = {}; // 0 configuration write, 1 firmware update (starts hidden)
    QPushButton* cmdUpload = nullptr;

    // ---- texts from the language tables (ui/MainWindowTexts.cpp) ------------------------
    // Message keys of the two multi-row keys: "CboGültigkeit" .. "CboGültigkeit4" (the four
    // unit words of the validity list), "gsMsgFalschesZeichen" and "gsMsgFalschesZeichen2".
    void loadSystemMessages();
    void applyCaptions();
    void applyToolTips();
    // Texts that could not be loaded (missing key, table too short), each naming table and
    // key; the first loader that meets one shows them in one message, once per window.
    QStringList languageProblems;
    bool languageProblemsShown = false;
    void reportLanguageProblems();

    // ---- image and profiles (image/MainWindowProfile.cpp) -------------------------------
    void loadDefaultProfile();
    void clearImage();
    void wireProfileCommands();
    // The configuration image: rebuilt from the store before every save or transfer, filled
    // by a read from the unit.
    Image configImage;
    // The current profile file ("Profile"/"File"; the default profile when none is stored).
    QString currentProfileFile() const;
    // Checks the file and reads it into the store in one transaction. A refused file leaves
    // the store as it was; the reason is shown. True when the profile was loaded.
    bool loadProfile(const QString& fileName);
    void openProfile();
    bool saveProfileAs();
    // Builds the image from the store and writes it to fileName. True when the file has been
    // written there; a read-only target leads the user to save under another name (false).
    bool writeProfileFile(const QString& fileName);
    // Progress of the file writing (done, 512), e.g. for the transfer window.
    std::function<void(int, int)> hexFileProgress;
    // Called after the read-only message, before the save-under dialog (the transfer window
    // closes itself there).
    std::function<void()> beforeSaveUnderAfterReadOnly;
    // The image read from the unit into the store, then refreshEditor. False after a store
    // failure (shown; the store stays as it was).
    bool storeUnitImage();

    // ---- editor (editor/MainWindowEditor.cpp) -------------------------------------------
    void labelRecipients();
    void fillInputTexts();
    void fillOutputTexts();
    void fillAlarmInputText();
    void fillPowerOnText();
    void fillInputRecipients();
    void fillOutputRecipients();
    void fillAlarmInputRecipients();
    void fillAlarmInputEvents();
    void fillPowerOnRecipients();
    void refreshEditor();
    void wireEditor();
    // Opens the phone book modally, then relabels the recipient columns.
    void openPhoneBook();
    // Checks and writes the text box that has the focus (before a save, a send or closing);
    // false when its text was refused and the focus stays there.
    bool commitFocusedEditorBox();
    // The editing rules on this window's store, and the wiring of the editor widgets.
    ConfigEditor& editor();
    // Owned here (not as a child object) so it goes before the store when the window is destroyed.
    struct EditorWiringDeleter {
        void operator()(EditorBinding* p) const;
    };
    std::unique_ptr<EditorBinding, EditorWiringDeleter> editorBinding;

    // ---- device link (link/MainWindowLink.cpp) ------------------------------------------
    void probeUnit();
    void fillValidityList();
    void openPortSettings();
    void wireDeviceCommands();
    // The command exchange on the open channel (made again when the channel changes).
    Link& link();
    void readConfiguration();
    // Sends the configuration (area 3) or the firmware (area 4) to the unit.
    void writeConfiguration() { sendToUnit(0); }
    void updateFirmware() { sendToUnit(1); }
    void sendToUnit(int index);
    // Transfer mode flags of the progress window.
    bool transferIsRead = false;
    bool waitForRestart = false;
    quint8 writeArea = 0;
    std::shared_ptr<MainLink> m_mainLink; // shared: the type is complete only in the link code
    // Live status and relays.
    quint8 ledDisplay = 2; // what the LEDs show: 0 relays, 1 alarm inputs, 2 demo
    void showUnitStatus(const UnitStatus& status);
    void selectLedDisplay(int index);
    void refreshUnitStatus();
    void switchRelayOn(int index);
    void switchRelayOff(int index);
    void setDefaultStatesOn();
    void setDefaultStatesOff();
    // Unit parameters.
    void readSerialNumber();
    void writeSerialNumber();
    void readSimPin();
    void changeSimPin();
    void readValidityReminder();
    void writeValidityReminder();
    bool checkUnitVersion(bool firmwareLevel);
    QString unitPassword() const; // the unit password of the database (user 1)

    // ---- shell: commands, access levels, help, reports (app/MainWindowShell.cpp) --------
    void applyAccessLevel(const QString& password);
    void assignHelpContexts();
    void applyMenuIcons();
    void wireShellCommands();
    // Toolbar1 button click by button key ("Open", "Save", ... "Info"); unknown keys do nothing.
    void toolbarButtonClicked(const QString& key);
    void exitProgram();
    void showHelpContents();
    void showAbout();
    void showAdministratorLogin();
    // Status-lamp demonstration (started by the display selection of the live status).
    void startDemoDisplay();
    void demoDisplayStep();
    QTimer* demoTimer = nullptr;
    QTimer* demoModemTimer = nullptr;
    class ShellState* shell = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void startUp();
    void showClock();
    MainWindowOptions m_options;
    int m_lamp = Red;
    Waiter* m_waiter = nullptr;
    std::unique_ptr<Waiter> m_ownWaiter;
    bool m_closed = false;
    bool m_probePending = false;
};

// The main window while it exists (the program has exactly one).
MainWindow* mainWindow();
