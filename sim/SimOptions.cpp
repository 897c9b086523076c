#include "sim/SimOptions.h"

#include "sim/SimUnit.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace SimOptions {
void addTo(QCommandLineParser& p)
{
    const QList<QCommandLineOption> opts = {
        {QStringLiteral("settings"), QStringLiteral("Line rate for the wire timing (default 9600,N,8,1)."),
         QStringLiteral("S"), QStringLiteral("9600,N,8,1")},
        {QStringLiteral("hw"), QStringLiteral("Hardware version x 100 (default 120)."), QStringLiteral("N"),
         QStringLiteral("120")},
        {QStringLiteral("fw"), QStringLiteral("Firmware version x 100 (default 100)."), QStringLiteral("N"),
         QStringLiteral("100")},
        {QStringLiteral("fw-after-update"), QStringLiteral("Firmware version after a firmware update."),
         QStringLiteral("N")},
        {QStringLiteral("image"), QStringLiteral("Initial configuration from a profile file."), QStringLiteral("FILE")},
        {QStringLiteral("erased"), QStringLiteral("Start with an erased configuration memory (all 0xFF).")},
        {QStringLiteral("serial"), QStringLiteral("Serial number (6 characters)."), QStringLiteral("S")},
        {QStringLiteral("pin"), QStringLiteral("SIM PIN (4 digits)."), QStringLiteral("PIN")},
        {QStringLiteral("inputs"), QStringLiteral("Alarm input states as a number 0..255."), QStringLiteral("N")},
        {QStringLiteral("ack"), QStringLiteral("Status character for an accepted line: ':' or '>'."),
         QStringLiteral("C")},
        {QStringLiteral("silent"), QStringLiteral("Fault: never answer.")},
        {QStringLiteral("e-to-cr"), QStringLiteral("Fault: answer every bare CR with E.")},
        {QStringLiteral("e-first"), QStringLiteral("Fault: E to the first K tries of every data line."),
         QStringLiteral("K")},
        {QStringLiteral("e-line"), QStringLiteral("Fault: E always to data line N."), QStringLiteral("N")},
        {QStringLiteral("silent-first"), QStringLiteral("Fault: no reply to the first K tries of every data line."),
         QStringLiteral("K")},
        {QStringLiteral("silent-line"), QStringLiteral("Fault: never a reply to data line N."), QStringLiteral("N")},
        {QStringLiteral("silent-after"), QStringLiteral("Fault: after N data lines never answer again."),
         QStringLiteral("N")},
        {QStringLiteral("late"), QStringLiteral("Fault: status characters of data lines come MS late."),
         QStringLiteral("MS")},
        {QStringLiteral("refuse-write"), QStringLiteral("Fault: E to every :HW line.")},
        {QStringLiteral("clear-on-write"),
         QStringLiteral("Fault: a configuration write clears the configuration area when it begins.")},
        {QStringLiteral("block-fault"),
         QStringLiteral("Fault of block replies: damage, cut, noprompt, refuse, silent."), QStringLiteral("KIND")},
        {QStringLiteral("block"), QStringLiteral("Block 1..64 the block fault applies to (default every block)."),
         QStringLiteral("N")},
        {QStringLiteral("times"), QStringLiteral("How often the block fault happens (default always)."),
         QStringLiteral("N")},
        {QStringLiteral("every"), QStringLiteral("The block fault hits only every N-th block read."),
         QStringLiteral("N")},
        {QStringLiteral("e-confirm"), QStringLiteral("Fault: E to the first N CRs confirming a firmware write."),
         QStringLiteral("N")},
        {QStringLiteral("e-fw-end"), QStringLiteral("Fault: E to the first N end records of a firmware write."),
         QStringLiteral("N")},
        {QStringLiteral("no-start"), QStringLiteral("Fault: the unit does not start after a firmware update.")},
        {QStringLiteral("status-cut"), QStringLiteral("Fault: cut the next N replies of 16-byte reads."),
         QStringLiteral("N")},
        {QStringLiteral("status-lost"), QStringLiteral("Fault: no reply to the next N 16-byte reads."),
         QStringLiteral("N")},
        {QStringLiteral("vanish-after"),
         QStringLiteral("Fault: the port goes away after N received lines (built-in unit only)."), QStringLiteral("N")},
        {QStringLiteral("log"), QStringLiteral("Write everything that goes over the wire to FILE."),
         QStringLiteral("FILE")},
        {QStringLiteral("virtual-time"),
         QStringLiteral("Built-in unit of smsv48ctl: run the exchange on a virtual clock (tests).")},
    };
    p.addOptions(opts);
}

bool apply(const QCommandLineParser& p, SimUnit& unit, QString* error)
{
    bool good = true;
    auto num = [&](const char* name, int* into) {
        if (!good || !p.isSet(QLatin1String(name)))
            return;
        bool ok = false;
        const int v = p.value(QLatin1String(name)).toInt(&ok);
        if (ok)
            *into = v;
        else {
            *error = QStringLiteral("--%1 needs a number").arg(QLatin1String(name));
            good = false;
        }
    };
    num("hw", &unit.hwVersion);
    num("fw", &unit.fwVersion);
    num("fw-after-update", &unit.fwVersionAfterUpdate);
    num("e-first", &unit.faults.eFirstTries);
    num("e-line", &unit.faults.eLine);
    num("silent-first", &unit.faults.silentFirstTries);
    num("silent-line", &unit.faults.silentLine);
    num("silent-after", &unit.faults.silentAfter);
    num("late", &unit.faults.lateReplyMs);
    num("block", &unit.faults.blockFaultBlock);
    num("times", &unit.faults.blockFaultTimes);
    num("every", &unit.faults.blockFaultEvery);
    num("e-confirm", &unit.faults.eConfirm);
    num("e-fw-end", &unit.faults.eFirmwareEnd);
    num("status-cut", &unit.faults.statusCut);
    num("status-lost", &unit.faults.statusLost);
    num("vanish-after", &unit.faults.vanishAfterLines);
    int inputs = 0;
    num("inputs", &inputs);
    if (!good)
        return false;
    unit.setInputs(quint8(inputs));
    unit.faults.silent = p.isSet(QStringLiteral("silent"));
    unit.faults.eToCr = p.isSet(QStringLiteral("e-to-cr"));
    unit.faults.refuseWrite = p.isSet(QStringLiteral("refuse-write"));
    unit.faults.noStart = p.isSet(QStringLiteral("no-start"));
    unit.faults.clearOnWrite = p.isSet(QStringLiteral("clear-on-write"));
    if (p.isSet(QStringLiteral("ack")))
        unit.ackChar = p.value(QStringLiteral("ack")) == QLatin1String(">") ? '>' : ':';
    if (p.isSet(QStringLiteral("serial")))
        unit.area2.replace(0, 6, p.value(QStringLiteral("serial")).toLatin1().leftJustified(6, ' ', true));
    if (p.isSet(QStringLiteral("pin")))
        unit.area2.replace(0x10, 4, p.value(QStringLiteral("pin")).toLatin1().leftJustified(4, '0', true));
    if (p.isSet(QStringLiteral("block-fault"))) {
        const QString k = p.value(QStringLiteral("block-fault"));
        using B = SimFaults::Block;
        unit.faults.blockFault = k == "damage" ? B::Damage
            : k == "cut"                       ? B::Cut
            : k == "noprompt"                  ? B::NoPrompt
            : k == "refuse"                    ? B::Refuse
            : k == "silent"                    ? B::Silent
                                               : B::None;
        if (unit.faults.blockFault == B::None) {
            *error = QStringLiteral("unknown block fault %1").arg(k);
            return false;
        }
    }
    if (p.isSet(QStringLiteral("erased")))
        unit.setErased();
    if (p.isSet(QStringLiteral("image"))) {
        QString why;
        if (!unit.loadImage(p.value(QStringLiteral("image")), &why)) {
            *error = QStringLiteral("%1: %2").arg(p.value(QStringLiteral("image")), why);
            return false;
        }
    }
    return true;
}

QByteArray logLines(const QList<SimLogEntry>& log)
{
    QByteArray out;
    for (const SimLogEntry& e : log) {
        out += QByteArray::number(e.t, 'f', 1) + (e.fromTool ? " > " : " < ");
        for (char c : e.data) {
            if (c == '\r')
                out += "<CR>";
            else if (c == '\n')
                out += "<LF>";
            else if (c == 27)
                out += "<ESC>";
            else if (quint8(c) < 32 || quint8(c) > 126)
                out += "<" + QByteArray::number(quint8(c), 16) + ">";
            else
                out += c;
        }
        out += '\n';
    }
    return out;
}

QStringList environmentWords()
{
    return qEnvironmentVariable("SMSV48_SIM").split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}
}
