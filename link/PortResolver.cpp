#include "link/PortResolver.h"

#include "core/Settings.h"

#include <QDir>
#include <QSerialPortInfo>

#include <future>
#include <mutex>

namespace {
QStringList scanPorts()
{
    QStringList names;
    if (qEnvironmentVariableIsSet("SMSV48_SERIAL_PORTS")) {
        names = qEnvironmentVariable("SMSV48_SERIAL_PORTS").split(QDir::listSeparator(), Qt::SkipEmptyParts);
        names.sort();
        return names;
    }
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names << info.systemLocation();
    names.sort();
    return names;
}

std::mutex g_prefetchMutex;
std::future<QStringList> g_prefetch;
}

namespace PortResolver {
void prefetchSystemPorts()
{
    std::lock_guard<std::mutex> lock(g_prefetchMutex);
    if (!g_prefetch.valid())
        g_prefetch = std::async(std::launch::async, scanPorts);
}

QStringList systemPorts()
{
    {
        // The first caller after a prefetch takes its result; later calls look again,
        // since adapters come and go.
        std::lock_guard<std::mutex> lock(g_prefetchMutex);
        if (g_prefetch.valid())
            return g_prefetch.get();
    }
    return scanPorts();
}

QString deviceFor(int n, WithoutPorts withoutPorts)
{
    const QString assigned = Settings::get(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(n));
    if (!assigned.isEmpty())
        return assigned;
#ifdef Q_OS_WIN
    Q_UNUSED(withoutPorts)
    return QStringLiteral("COM%1").arg(n);
#else
    const QStringList ports = systemPorts();
    if (ports.isEmpty())
        return withoutPorts == WithoutPorts::Simulated ? SimulatedDevice : QString();
    if (n >= 1 && n <= ports.size())
        return ports[n - 1];
    return QString();
#endif
}

int storedNumber(int fallback)
{
    bool ok = false;
    const int n = Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("COM-Anschluss")).toInt(&ok);
    return ok && n >= 1 && n <= 8 ? n : fallback;
}

bool isAssigned(int n) { return !Settings::get(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(n)).isEmpty(); }

void assign(int n, const QString& device)
{
    Settings::set(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(n), device);
}
}
