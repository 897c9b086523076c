#pragma once
// The unit as both programs reach it. One rule leads from what the user gave to an open
// channel: a device path, the COM number of the stored settings (PortResolver), or "sim",
// the built-in simulated unit; a failure is one sentence of one set of messages. The
// connection owns the channel, the waiter (real time, or the virtual clock of tests and of
// smsv48ctl's simulated unit) and the link, and offers every unit operation as a call that
// returns an outcome (its kind, message key and sentence): the desktop shows that sentence,
// smsv48ctl prints it. One command at a time: a call made while another runs (the waits of
// the first spin the event loop) is refused with the busy outcome.
#include "image/ProfileDiff.h"
#include "link/ChangedWrite.h"
#include "link/PortResolver.h"
#include "link/UnitBackup.h"
#include "link/UnitOps.h"

#include <QString>
#include <functional>
#include <memory>

class Channel;
class Link;
class ProgramContext;
class UnitConnection;
class Waiter;

// One command at a time on a connection: a UnitCommand that starts while another lives is refused (false)
// and leaves the running one alone.
class UnitCommand {
public:
    explicit UnitCommand(UnitConnection& connection);
    ~UnitCommand();
    UnitCommand(const UnitCommand&) = delete;
    UnitCommand& operator=(const UnitCommand&) = delete;
    explicit operator bool() const { return m_started; }

private:
    UnitConnection& m_connection;
    bool m_started = false;
};

// How a call is made. Every call takes the one-command guard itself, unless the caller
// holds it for several calls as one command (within). A question of the unit's
// (flash now? the versions differ: update anyway?) goes to ask (true: yes / OK); without
// ask the answer is no. The link's progress goes to progress when given (a progress
// window), else to the connection's sink; the link's own notices are not shown: the
// outcome says what happened.
struct UnitCall {
    const UnitCommand* within = nullptr;
    LinkSink* progress = nullptr;
    std::function<bool(const Notice& question)> ask;
    int retries = 0; // a whole transfer tried again after a failure (never after a cancel)
    // Told before each new try: the try that failed (1-based), of how many, and why.
    std::function<void(int attempt, int of, const QString& why)> retrying;
};

class UnitConnection {
public:
    // waiter: every wait of the link (null: real time on an event loop of the connection's
    // own); sink: where the link shows what it does (lamp, panel, progress; null: nowhere).
    explicit UnitConnection(const ProgramContext& context, Waiter* waiter = nullptr, LinkSink* sink = nullptr);
    ~UnitConnection();
    UnitConnection(const UnitConnection&) = delete;
    UnitConnection& operator=(const UnitConnection&) = delete;

    // A channel suited to the device: the simulated unit for "sim", else a serial port.
    static std::unique_ptr<Channel> makeChannel(const ProgramContext& context, const QString& device);

    // The device that what the user gave stands for: device itself, else the one the COM
    // number port stands for (empty: none).
    static QString deviceFor(const QString& device, int port, PortResolver::WithoutPorts withoutPorts);
    // Opens device with settings ("9600,N,8,1"); an empty device is the one the COM number
    // port stands for (without any serial port on the system: the simulated unit or nothing,
    // as withoutPorts says). The channel open before is closed first. Ok, or NoUnit with
    // the message key and the sentence that says why (the port's own reason when it refused).
    UnitOutcome open(const QString& device, int port, const QString& settings,
                     PortResolver::WithoutPorts withoutPorts = PortResolver::WithoutPorts::Simulated);
    // Takes channel (already set up, e.g. a simulated unit with options of its own) in
    // place of one of its own, and opens it as open() does.
    UnitOutcome open(std::unique_ptr<Channel> channel, const QString& device, const QString& settings);
    // The device last opened or tried ("" when none stood for the number).
    QString device() const { return m_device; }
    bool isOpen() const;
    void close();
    // The channel (null before the first open). Kept as a pointer owned here so that the
    // desktop can hand its channel to the dialogs that show it.
    std::unique_ptr<Channel>& channel() { return m_channel; }

    // The waiter of every wait; a new one (the caller's, or owned here) takes effect at once.
    Waiter& waiter() { return *m_waiter; }
    void setWaiter(Waiter* waiter);
    void setWaiter(std::unique_ptr<Waiter> waiter);
    void setSink(LinkSink* sink);
    // The command exchange on the channel, made again when the channel or the waiter
    // changed (never without a channel: a closed simulated unit stands in).
    Link& link();

    // One command at a time (see UnitCommand).
    bool commandRunning() const { return m_running > 0; }
    // The outcome of a command refused because another runs.
    UnitOutcome refusedWhileRunning() const;

    using Call = UnitCall;

    // ---- the unit's operations --------------------------------------------------------
    UnitStatus status(const Call& call = {});
    // Relay 1..8 on or off, with the unit password; the status read afterwards.
    UnitStatus switchRelay(int relay, bool on, const QString& password, const Call& call = {});
    // The firmware version against this program's (the firmware level asks whether to go on).
    UnitOutcome checkVersion(UnitOps::VersionLevel level, UnitStatus* status = nullptr, const Call& call = {});
    TransferOutcome readConfiguration(UnitImage& image, const Call& call = {});
    // The whole configuration (checked lines, end record included). A failure after a try
    // that wrote records says how many records the unit holds (the most any try wrote).
    TransferOutcome writeConfiguration(const QStringList& lines, const Call& call = {});
    // The unit's configuration read and compared with lines (checked, end record included)
    // field by field: *differences is empty when the unit holds what lines say.
    TransferOutcome verify(const QStringList& lines, QList<ProfileDiff::Change>* differences, const Call& call = {});
    // Only the records that differ from unitLines (the backup read; empty: read first).
    ChangedWriteOutcome writeChangedRecords(const QStringList& unitLines, const QStringList& lines,
                                            const Call& call = {});
    // The unit's configuration kept in <dataRoot>/Backups before a write; a failure is one
    // outcome whose sentence says that nothing was written.
    UnitBackup::Result backup(const QString& dataRoot, const QDateTime& when, const Call& call = {});
    TransferOutcome updateFirmware(const QStringList& checkedLines, const Call& call = {});
    UnitOutcome readSerialNumber(QString* serial, const Call& call = {});
    UnitOutcome writeSerialNumber(const QString& serial, const Call& call = {});
    UnitOutcome readPins(QString* pin, QString* secondPin, const Call& call = {});
    // The PIN written directly (the unit still has its default PIN), or changed with the old one.
    UnitOutcome writeDefaultPin(const QString& pin, const Call& call = {});
    UnitOutcome changePin(const QString& password, const QString& oldPin, const QString& newPin, const Call& call = {});
    UnitOutcome readValidity(int* index, const Call& call = {});
    // The validity reminder written; the unit restarts (waitForRestart shows the wait).
    UnitOutcome writeValidity(int index, const QString& password, const Call& call = {});
    void waitForRestart(const Call& call = {});

private:
    friend class UnitCommand;
    class Scope;
    class CallSink;
    TransferOutcome busyTransfer() const;
    TransferOutcome withRetries(const Call& call, const std::function<TransferOutcome()>& transfer, int area);
    UnitOutcome handshakeForWrite();

    const ProgramContext& m_context;
    std::unique_ptr<Channel> m_channel;
    std::unique_ptr<Waiter> m_ownWaiter;
    Waiter* m_waiter = nullptr;
    std::unique_ptr<LinkSink> m_silentSink;
    LinkSink* m_sink = nullptr;
    std::unique_ptr<Link> m_link;
    Channel* m_linkChannel = nullptr;
    Waiter* m_linkWaiter = nullptr;
    QString m_device;
    int m_running = 0;
};
