#include "unit/UnitConnection.h"

#include "core/ProgramContext.h"
#include "link/Channel.h"
#include "link/SerialChannel.h"
#include "sim/SimChannel.h"

UnitConnection::UnitConnection(const ProgramContext& context) : m_context(context) {}

UnitConnection::~UnitConnection() = default;

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

UnitConnection::Command::Command(UnitConnection& connection) : m_connection(connection)
{
    if (m_connection.m_running > 0)
        return;
    m_started = true;
    ++m_connection.m_running;
}

UnitConnection::Command::~Command()
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
