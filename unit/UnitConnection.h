#pragma once
// The unit as both programs reach it. One rule leads from what the user gave to an open
// channel: a device path, the COM number of the stored settings (PortResolver), or "sim",
// the built-in simulated unit; a failure is one sentence of one set of messages. The
// connection owns the channel and allows one command at a time on it: a command started
// while another runs (the waits of the first spin the event loop) is refused.
#include "link/PortResolver.h"
#include "link/UnitOps.h"

#include <QString>
#include <memory>

class Channel;
class ProgramContext;

class UnitConnection {
public:
    explicit UnitConnection(const ProgramContext& context);
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

    // One command at a time: a Command that starts while another lives is refused (false)
    // and leaves the running one alone.
    class Command {
    public:
        explicit Command(UnitConnection& connection);
        ~Command();
        Command(const Command&) = delete;
        Command& operator=(const Command&) = delete;
        explicit operator bool() const { return m_started; }

    private:
        UnitConnection& m_connection;
        bool m_started = false;
    };
    bool commandRunning() const { return m_running > 0; }
    // The outcome of a command refused because another runs.
    UnitOutcome refusedWhileRunning() const;

private:
    const ProgramContext& m_context;
    std::unique_ptr<Channel> m_channel;
    QString m_device;
    int m_running = 0;
};
