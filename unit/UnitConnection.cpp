#include "unit/UnitConnection.h"

#include "core/ProgramContext.h"
#include "image/ProfileReader.h"
#include "link/Channel.h"
#include "link/Link.h"
#include "link/SerialChannel.h"
#include "link/Transfer.h"
#include "link/Waiter.h"
#include "sim/SimChannel.h"

// What the link shows goes to the caller's progress window or the connection's sink; its
// questions go to the caller's answer; its own notices are left out: the outcome says it.
class UnitConnection::CallSink : public LinkSink {
public:
    CallSink(LinkSink& shown, const Call& call) : m_shown(shown), m_call(call) {}
    void setLamp(int bgr) override { m_shown.setLamp(bgr); }
    void setPanel3(const QString& text) override { m_shown.setPanel3(text); }
    Notice::Answer notify(const Notice& notice) override
    {
        if (!notice.isQuestion())
            return Notice::Ok;
        const bool yes = m_call.ask && m_call.ask(notice);
        if (notice.answers & Notice::Yes)
            return yes ? Notice::Yes : Notice::No;
        return yes ? Notice::Ok : Notice::Cancel;
    }
    void setProgressRange(int min, int max) override { m_shown.setProgressRange(min, max); }
    void setProgressValue(int value) override { m_shown.setProgressValue(value); }
    void setMessage(const QString& text) override { m_shown.setMessage(text); }
    void setCancelVisible(bool visible) override { m_shown.setCancelVisible(visible); }

private:
    LinkSink& m_shown;
    const Call& m_call;
};

// One call from its start to its return: the one-command guard (unless the caller holds
// it), the link's sink for the call, and a link ready for a new command.
class UnitConnection::Scope {
public:
    Scope(UnitConnection& connection, const Call& call)
        : m_connection(connection), m_sink(call.progress ? *call.progress : *connection.m_sink, call)
    {
        if (call.within)
            m_admitted = bool(*call.within) && connection.m_running > 0;
        else {
            m_own = std::make_unique<UnitCommand>(connection);
            m_admitted = bool(*m_own);
        }
        if (!m_admitted)
            return;
        Link& link = connection.link();
        m_before = &link.sink();
        link.setSink(m_sink);
        link.resetForCommand();
    }
    ~Scope()
    {
        if (m_admitted)
            m_connection.link().setSink(*m_before);
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    explicit operator bool() const { return m_admitted; }

private:
    UnitConnection& m_connection;
    std::unique_ptr<UnitCommand> m_own;
    CallSink m_sink;
    LinkSink* m_before = nullptr;
    bool m_admitted = false;
};

UnitConnection::UnitConnection(const ProgramContext& context, Waiter* waiter, LinkSink* sink)
    : m_context(context), m_silentSink(std::make_unique<LinkSink>())
{
    if (waiter)
        m_waiter = waiter;
    else {
        m_ownWaiter = std::make_unique<EventLoopWaiter>();
        m_waiter = m_ownWaiter.get();
    }
    m_sink = sink ? sink : m_silentSink.get();
}

UnitConnection::~UnitConnection() = default;

void UnitConnection::setWaiter(Waiter* waiter)
{
    m_waiter = waiter;
    link();
}

void UnitConnection::setWaiter(std::unique_ptr<Waiter> waiter)
{
    m_ownWaiter = std::move(waiter);
    setWaiter(m_ownWaiter.get());
}

void UnitConnection::setSink(LinkSink* sink)
{
    m_sink = sink ? sink : m_silentSink.get();
    if (m_link)
        m_link->setSink(*m_sink);
}

Link& UnitConnection::link()
{
    if (!m_channel)
        m_channel = std::make_unique<SimChannel>(); // never without a channel object
    if (!m_link || m_linkChannel != m_channel.get() || m_linkWaiter != m_waiter) {
        if (m_channel->isSimulated())
            static_cast<SimChannel*>(m_channel.get())->setWaiter(m_waiter);
        m_linkChannel = m_channel.get();
        m_linkWaiter = m_waiter;
        m_link = std::make_unique<Link>(m_context, *m_channel, *m_waiter, *m_sink);
    }
    return *m_link;
}

std::unique_ptr<Channel> UnitConnection::makeChannel(const ProgramContext& context, const QString& device)
{
    if (device == PortResolver::SimulatedDevice)
        return std::make_unique<SimChannel>();
    return std::make_unique<SerialChannel>(context);
}

QString UnitConnection::deviceFor(const QString& device, int port, PortResolver::WithoutPorts withoutPorts)
{
    return device.isEmpty() ? PortResolver::deviceFor(port, withoutPorts) : device;
}

UnitOutcome UnitConnection::open(const QString& device, int port, const QString& settings,
                                 PortResolver::WithoutPorts withoutPorts)
{
    close();
    m_device = deviceFor(device, port, withoutPorts);
    if (m_device.isEmpty()) {
        // Without any serial port on the system the stored number cannot stand for one.
        if (withoutPorts == PortResolver::WithoutPorts::Nothing && PortResolver::systemPorts().isEmpty())
            return {UnitOutcome::NoUnit, QStringLiteral("gsCliKeinePorts"),
                    m_context.msgOr(QStringLiteral("gsCliKeinePorts"),
                                    QStringLiteral("keine serielle Schnittstelle gefunden; das Kabel des Geräts "
                                                   "anschliessen oder --device PFAD angeben (--device sim für das "
                                                   "simulierte Gerät)"))};
        return {UnitOutcome::NoUnit, QStringLiteral("gsMsgPortOhneGeraet"),
                m_context
                    .msgOr(QStringLiteral("gsMsgPortOhneGeraet"),
                           QStringLiteral("Für die Schnittstellennummer %1 gibt es kein serielles Gerät: Schliessen "
                                          "Sie das Kabel des Geräts an, oder wählen Sie in den Einstellungen der "
                                          "Schnittstelle ein Gerät."))
                    .arg(port)};
    }
    return open(makeChannel(m_context, m_device), m_device, settings);
}

UnitOutcome UnitConnection::open(std::unique_ptr<Channel> channel, const QString& device, const QString& settings)
{
    close();
    m_device = device;
    m_channel = std::move(channel);
    if (m_channel->open(device, settings))
        return {};
    return {UnitOutcome::NoUnit, QStringLiteral("gsMsgPortNichtGeoeffnet"), m_channel->errorString()};
}

bool UnitConnection::isOpen() const { return m_channel && m_channel->isOpen(); }

void UnitConnection::close()
{
    if (m_channel && m_channel->isOpen())
        m_channel->close();
}

UnitCommand::UnitCommand(UnitConnection& connection) : m_connection(connection)
{
    if (m_connection.m_running > 0)
        return;
    m_started = true;
    ++m_connection.m_running;
}

UnitCommand::~UnitCommand()
{
    if (m_started)
        --m_connection.m_running;
}

UnitOutcome UnitConnection::refusedWhileRunning() const
{
    return {UnitOutcome::Refused, QStringLiteral("gsMsgGeraetBeschaeftigt"),
            m_context.msgOr(QStringLiteral("gsMsgGeraetBeschaeftigt"),
                            QStringLiteral("Das Gerät führt noch einen Befehl aus: Warten Sie, bis er beendet ist, "
                                           "oder brechen Sie ihn ab."))};
}

TransferOutcome UnitConnection::busyTransfer() const
{
    const UnitOutcome refused = refusedWhileRunning();
    TransferOutcome o;
    o.kind = TransferOutcome::NotStarted;
    o.messageKey = refused.messageKey;
    o.detail = refused.detail;
    o.severity = Notice::Severity::Warning;
    return o;
}

TransferOutcome UnitConnection::withRetries(const Call& call, const std::function<TransferOutcome()>& transfer,
                                            int area)
{
    TransferOutcome o;
    int mostSent = 0, mostAccepted = 0; // over every try of a write
    for (int attempt = 0;; ++attempt) {
        link().resetForCommand();
        o = transfer();
        mostSent = qMax(mostSent, o.linesSent);
        mostAccepted = qMax(mostAccepted, o.linesAccepted);
        if (o.ok() || attempt >= call.retries || o.kind == TransferOutcome::Cancelled
            || o.kind == TransferOutcome::Declined || o.kind == TransferOutcome::PortLost) {
            // A try that wrote records left the unit incomplete, also when a later one failed
            // before its first line: that is said, with the most any try wrote.
            if (!o.ok() && area != 0 && mostSent > o.linesSent) {
                const QString most = ConfigTransfer::incompleteSentence(m_context, area, mostAccepted, 512);
                const QString own = ConfigTransfer::incompleteSentence(m_context, area, o.linesAccepted, 512);
                if (o.linesSent > 0 && o.detail.contains(own))
                    o.detail.replace(own, most);
                else
                    o.detail += QLatin1Char(' ') + most;
                o.linesSent = mostSent;
                o.linesAccepted = mostAccepted;
            }
            return o;
        }
        if (call.retrying)
            call.retrying(attempt + 1, call.retries + 1, o.detail);
    }
}

UnitOutcome UnitConnection::handshakeForWrite()
{
    Link& l = link();
    l.handshake();
    if (!l.unitSilent() && !l.stopFlags())
        return {};
    l.showPortLost();
    return UnitOps::failure(l, UnitOutcome::NoAnswer, QString(), QString());
}

// ---- the operations ------------------------------------------------------------------------

UnitStatus UnitConnection::status(const Call& call)
{
    Scope scope(*this, call);
    if (!scope) {
        UnitStatus s;
        s.outcome = refusedWhileRunning();
        return s;
    }
    return UnitOps::refresh(link());
}

UnitStatus UnitConnection::switchRelay(int relay, bool on, const QString& password, const Call& call)
{
    Scope scope(*this, call);
    if (!scope) {
        UnitStatus s;
        s.outcome = refusedWhileRunning();
        return s;
    }
    return UnitOps::switchRelay(link(), relay, on, password);
}

UnitOutcome UnitConnection::checkVersion(UnitOps::VersionLevel level, UnitStatus* status, const Call& call)
{
    Scope scope(*this, call);
    if (!scope)
        return refusedWhileRunning();
    return UnitOps::checkVersion(link(), level, status);
}

TransferOutcome UnitConnection::readConfiguration(UnitImage& image, const Call& call)
{
    Scope scope(*this, call);
    if (!scope)
        return busyTransfer();
    return withRetries(
        call, [&] { return ConfigTransfer(link()).read(image); }, 0);
}

TransferOutcome UnitConnection::writeConfiguration(const QStringList& lines, const Call& call)
{
    Scope scope(*this, call);
    if (!scope)
        return busyTransfer();
    return withRetries(
        call, [&] { return ConfigTransfer(link()).write(lines, 3); }, 3);
}

TransferOutcome UnitConnection::verify(const QStringList& lines, QList<ProfileDiff::Change>* differences,
                                       const Call& call)
{
    differences->clear();
    Scope scope(*this, call);
    if (!scope)
        return busyTransfer();
    UnitImage unit;
    const TransferOutcome read = withRetries(
        call, [&] { return ConfigTransfer(link()).read(unit); }, 0);
    if (!read.ok())
        return read;
    // Both sides as a file is read: a flag byte other than 00 and 01 on the unit differs
    // from the file, and a write would change it.
    *differences = ProfileDiff::compare(ProfileReader::decodeLines(m_context, lines),
                                        ProfileReader::decodeLines(m_context, unit.lines()));
    return read;
}

ChangedWriteOutcome UnitConnection::writeChangedRecords(const QStringList& unitLines, const QStringList& lines,
                                                        const Call& call)
{
    Scope scope(*this, call);
    if (!scope) {
        ChangedWriteOutcome c;
        c.transfer = busyTransfer();
        c.sentence = c.transfer.detail;
        return c;
    }
    return ChangedWrite::run(link(), unitLines, lines);
}

UnitBackup::Result UnitConnection::backup(const QString& dataRoot, const QDateTime& when, const Call& call)
{
    Scope scope(*this, call);
    UnitBackup::Result r;
    if (!scope) {
        r.outcome = refusedWhileRunning();
        return r;
    }
    r = UnitBackup::readAndStore(link(), dataRoot, when, call.retries);
    if (r.ok())
        return r;
    if (r.outcome.kind == UnitOutcome::Cancelled) {
        r.outcome.messageKey = QStringLiteral("gsMsgSicherungAbgebrochen");
        r.outcome.detail = m_context.msgOr(r.outcome.messageKey,
                                           QStringLiteral("Die Sicherung wurde abgebrochen; ins "
                                                          "Gerät wurde nichts geschrieben."));
        return r;
    }
    const QString why = r.fileError.isEmpty() ? r.outcome.detail : r.fileError;
    if (r.outcome.ok())
        r.outcome.kind = UnitOutcome::Incomplete;
    r.outcome.messageKey = QStringLiteral("gsSicherungFehlgeschlagen");
    r.outcome.detail = m_context.msgOr(r.outcome.messageKey,
                                       QStringLiteral("Die Konfiguration des Geräts konnte nicht gesichert werden; es "
                                                      "wurde nichts gesendet."))
        + (why.isEmpty() ? QString() : QLatin1Char(' ') + why);
    return r;
}

TransferOutcome UnitConnection::updateFirmware(const QStringList& checkedLines, const Call& call)
{
    Scope scope(*this, call);
    if (!scope)
        return busyTransfer();
    return UnitOps::firmwareUpdate(link(), checkedLines);
}

UnitOutcome UnitConnection::readSerialNumber(QString* serial, const Call& call)
{
    Scope scope(*this, call);
    if (!scope)
        return refusedWhileRunning();
    const UnitOps::ParameterRead read = UnitOps::readParameter(link(), 0x00);
    *serial = UnitOps::serialFrom(read.reply);
    return read.outcome;
}

UnitOutcome UnitConnection::writeSerialNumber(const QString& serial, const Call& call)
{
    Scope scope(*this, call);
    if (!scope)
        return refusedWhileRunning();
    if (const UnitOutcome o = handshakeForWrite(); !o)
        return o;
    return UnitOps::writeSerial(link(), serial);
}

UnitOutcome UnitConnection::readPins(QString* pin, QString* secondPin, const Call& call)
{
    Scope scope(*this, call);
    if (!scope)
        return refusedWhileRunning();
    const UnitOps::ParameterRead read = UnitOps::readParameter(link(), 0x10);
    *pin = UnitOps::pinFrom(read.reply, 0);
    *secondPin = UnitOps::pinFrom(read.reply, 1);
    return read.outcome;
}

UnitOutcome UnitConnection::writeDefaultPin(const QString& pin, const Call& call)
{
    Scope scope(*this, call);
    if (!scope)
        return refusedWhileRunning();
    if (const UnitOutcome o = handshakeForWrite(); !o)
        return o;
    return UnitOps::writePinDirect(link(), pin);
}

UnitOutcome UnitConnection::changePin(const QString& password, const QString& oldPin, const QString& newPin,
                                      const Call& call)
{
    Scope scope(*this, call);
    if (!scope)
        return refusedWhileRunning();
    if (const UnitOutcome o = handshakeForWrite(); !o)
        return o;
    return UnitOps::changePin(link(), password, oldPin, newPin);
}

UnitOutcome UnitConnection::readValidity(int* index, const Call& call)
{
    Scope scope(*this, call);
    if (!scope)
        return refusedWhileRunning();
    const UnitOps::ParameterRead read = UnitOps::readParameter(link(), 0x20);
    *index = UnitOps::validityFrom(read.reply);
    return read.outcome;
}

UnitOutcome UnitConnection::writeValidity(int index, const QString& password, const Call& call)
{
    Scope scope(*this, call);
    if (!scope)
        return refusedWhileRunning();
    if (const UnitOutcome o = handshakeForWrite(); !o)
        return o;
    return UnitOps::writeValidity(link(), index, password);
}

void UnitConnection::waitForRestart(const Call& call)
{
    Scope scope(*this, call);
    if (scope)
        ConfigTransfer(link()).waitForRestart();
}
