// smsv48ctl ports: the serial ports the system lists (or SMSV48_SERIAL_PORTS), and the
// device each of "COM 1".."COM 8" stands for.
#include "cli/Cli.h"
#include "cli/UnitSession.h"

#include "link/PortResolver.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSerialPortInfo>
#include <QTextStream>

namespace {
QString hex4(quint16 v) { return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')); }

// What the system knows of a port named by PortResolver (a name such as "ttyUSB0" or a path).
QJsonObject portObject(const QString& name)
{
    QSerialPortInfo info(name);
    for (const QSerialPortInfo& i : QSerialPortInfo::availablePorts())
        if (i.portName() == name || i.systemLocation() == name)
            info = i;
    QJsonObject o {{"name", name},
                   {"systemLocation", info.systemLocation().isEmpty() ? name : info.systemLocation()},
                   {"description", info.description()},
                   {"manufacturer", info.manufacturer()},
                   {"serialNumber", info.serialNumber()}};
    o.insert(QStringLiteral("vendorId"),
             info.hasVendorIdentifier() ? QJsonValue(hex4(info.vendorIdentifier())) : QJsonValue());
    o.insert(QStringLiteral("productId"),
             info.hasProductIdentifier() ? QJsonValue(hex4(info.productIdentifier())) : QJsonValue());
    return o;
}

int portsCommand(CliContext& ctx)
{
    if (!ctx.args.isEmpty())
        return cliUsage(ctx.program,
                        cliText(ctx.program, "gsCliZuVieleArgumente", QStringLiteral("zu viele Argumente: %1"))
                            .arg(ctx.args.join(' ')),
                        ctx.command);
    QJsonArray ports;
    for (const QString& name : PortResolver::systemPorts())
        ports.append(portObject(name));
    QJsonArray numbers;
    for (int n = 1; n <= 8; ++n) {
        const QString device = PortResolver::deviceFor(n, PortResolver::WithoutPorts::Nothing);
        numbers.append(QJsonObject {{"port", QStringLiteral("COM %1").arg(n)},
                                    {"device", device.isEmpty() ? QJsonValue() : QJsonValue(device)}});
    }
    if (ctx.json) {
        cliPrintJson(QJsonObject {{"ports", ports}, {"com", numbers}});
        return ExitOk;
    }
    QTextStream out(stdout);
    for (const QJsonValue& v : ports) {
        const QJsonObject o = v.toObject();
        out << o.value(QStringLiteral("systemLocation")).toString();
        for (const char* field : {"description", "manufacturer", "serialNumber"})
            if (!o.value(QLatin1String(field)).toString().isEmpty())
                out << "  " << o.value(QLatin1String(field)).toString();
        if (o.value(QStringLiteral("vendorId")).isString())
            out << "  " << o.value(QStringLiteral("vendorId")).toString() << ":"
                << o.value(QStringLiteral("productId")).toString();
        out << "\n";
    }
    for (const QJsonValue& v : numbers) {
        const QJsonObject o = v.toObject();
        out << o.value(QStringLiteral("port")).toString() << ": "
            << (o.value(QStringLiteral("device")).isNull() ? QStringLiteral("-")
                                                           : o.value(QStringLiteral("device")).toString())
            << "\n";
    }
    return ExitOk;
}

const CliRegistrar portsReg("ports", portsCommand,
                            "  ports [--json]                 the serial ports and what COM 1..COM 8 stand for\n",
                            OptionJson);
}
