#pragma once
// The main window's side of the unit: the port (opened from the settings, probe, lamp and
// panels through the link's sink), the transfers of configuration and firmware, the live
// status and relays, and the unit parameters of the System tab. Every command is: disable,
// call the unit connection, show its outcome (showOutcome: the sentence smsv48ctl prints).
#include "ui/SystemTab.h"
#include "unit/UnitConnection.h"

#include <QObject>
#include <QStringList>
#include <memory>

class Channel;
class Link;
class MainWindow;
class ProgramContext;
struct TransferOutcome;
struct UnitOutcome;
class TransferDialog;
class Waiter;
struct MainLink;
struct UnitImage;
struct UnitStatus;

class DeviceController : public QObject {
    Q_OBJECT
    // Lamp and panels as the link's sink (shared: the type is complete only in the .cpp),
    // then the unit's connection (first: channel refers to it).
    std::shared_ptr<MainLink> m_mainLink;
    std::unique_ptr<UnitConnection> m_connection;

public:
    explicit DeviceController(MainWindow* window);
    ~DeviceController() override;

    // The serial link: port number 1..8, settings text, the device, the open channel (may be closed).
    int port = 1;
    QString portSettings = QStringLiteral("9600,N,8,1");
    QString portDevice;
    std::unique_ptr<Channel>& channel; // the connection's
    // The connection's waiter; tests give a virtual clock.
    Waiter* waiter() const;
    void setWaiter(Waiter* waiter);
    // Opens the port from the stored settings; after a failure the port dialog follows.
    bool openPortFromSettings();
    void closePort();
    // The status bar's port tool tip and the note on the simulated unit.
    void showPortStatus();
    // With MainWindowOptions::deferStartProbe: the first probe of the unit, once the window is shown.
    void runPendingProbe();
    void probeUnit();
    void openPortSettings();

    // The connection's command exchange.
    Link& link();
    // An outcome of the unit as one sentence with the severity of its kind: when it worked,
    // doneText (else the text of its message key, else nothing).
    void showOutcome(const UnitOutcome& outcome, const QString& doneText = QString());
    void showOutcome(const TransferOutcome& outcome, const QString& doneText = QString());
    // What the window says for a failed outcome: the sentence smsv48ctl prints, begun with a
    // capital and ended with a full stop; for a silent unit also what to check.
    static QString outcomeText(const ProgramContext& context, const UnitOutcome& outcome);

    void readConfiguration();
    // The unit's configuration read into image (version check and progress window as for
    // readConfiguration), the store untouched. True after a complete read.
    bool readUnitImage(UnitImage& image);
    // Sends the configuration (area 3) or the firmware (area 4) to the unit.
    void writeConfiguration() { sendToUnit(0); }
    void updateFirmware() { sendToUnit(1); }
    // The area being written while a transfer runs (3 configuration, 4 firmware), else 0.
    quint8 writeArea() const { return m_writeArea; }
    // Before a configuration write the unit's configuration is kept as a backup
    // (Backups/<serial>/<date-time>.cfg in the program folder) unless [Einstellungen]
    // Sicherung is "0"; a backup that fails stops the write. The last backup written:
    static bool backUpBeforeWrite();
    QString lastBackup() const { return m_lastBackup; }
    // Extras "send only changed records" ([Einstellungen] NurGeaenderte "1"; off by default):
    // a configuration write sends only the records that differ from the unit and proves them.
    static bool sendChangedOnly();

    // Live status and relays. What the lamps show: 0 relays, 1 alarm inputs, 2 demonstration.
    quint8 ledDisplay() const { return m_ledDisplay; }
    void showUnitStatus(const UnitStatus& status);
    void selectLedDisplay(int index);
    void refreshUnitStatus();
    void switchRelayOn(int relay) { switchRelay(relay, true); }
    void switchRelayOff(int relay) { switchRelay(relay, false); }

    // Unit parameters.
    void fillValidityList();
    void readSerialNumber();
    void writeSerialNumber();
    void readSimPin();
    void changeSimPin();
    void readValidityReminder();
    void writeValidityReminder();
    // The unit password of the database (user 1).
    QString unitPassword() const;
    // What panel 3 shows for a line sent to the unit: the command in words.
    static QString panelWords(const ProgramContext& context, const QString& line);

    // True while a command of the unit runs (its waits spin the event loop, in which the
    // window may be asked to close).
    bool commandRunning() const;
    UnitConnection& connection() { return *m_connection; }
    // While a command runs: says so (one sentence) and returns true.
    bool refusedWhileRunning();
    // Ends the waits of the running command; the window is closed again once it has returned.
    void closeAfterCommand();

private:
    // A command of the unit from its start to its return: one at a time. While one runs (its
    // waits spin the event loop) another is refused with one sentence, and the System tab's
    // commands are disabled.
    class CommandScope {
    public:
        explicit CommandScope(DeviceController& device);
        ~CommandScope();
        CommandScope(const CommandScope&) = delete;
        CommandScope& operator=(const CommandScope&) = delete;
        explicit operator bool() const { return bool(m_command); }
        const UnitCommand& command() const { return m_command; }

    private:
        DeviceController& m_device;
        UnitCommand m_command;
    };
    // The configuration read into image (the command already started).
    bool readImage(const CommandScope& running, UnitImage& image);
    // How the commands call the connection: within the running command, progress in the
    // window given, the unit's questions asked in a message box.
    UnitConnection::Call call(const CommandScope& running, TransferDialog* progress = nullptr);

    void runCommand(SystemTab::Command command, int index);
    void sendToUnit(int index);
    UnitOutcome backUpUnit(const CommandScope& running, TransferDialog& dialog);
    // The configuration to send as checked lines, end record included; false after saying why.
    bool configurationLines(QStringList* lines);
    // Writes the record of what is sent (the transfer file); its failure as one sentence.
    QString writeTransferRecord(TransferDialog& dialog, const QStringList& lines);
    void switchRelay(int relay, bool on);
    void showStatusOutcome(const UnitStatus& status);
    // The version check, its failure shown (not the user's own no to going on).
    UnitOutcome checkUnitVersion(const CommandScope& running, bool firmwareLevel);
    // The unit password for a command: user 1's, or asked for (masked) when the phone book
    // holds none. False when the user cancelled.
    bool passwordForCommand(QString* password);

    MainWindow* m_window;
    SystemTab& m_tab;
    bool m_probePending = false;
    bool m_closeRequested = false;
    quint8 m_writeArea = 0;
    quint8 m_ledDisplay = 2;
    QString m_lastBackup;
    QStringList m_unitBefore; // the unit's records as the last backup read them
};
