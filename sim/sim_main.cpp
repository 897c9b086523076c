// smsv48-sim: the simulated unit on a pseudo-terminal. Prints the device path (or makes a
// link at --link PATH) and serves until it is killed.
#include "sim/SimUnit.h"
#include "sim/SimWire.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {
QByteArray g_linkPath;

void onSignal(int)
{
    if (!g_linkPath.isEmpty())
        ::unlink(g_linkPath.constData());
    std::_Exit(0);
}

QByteArray printable(const QByteArray& b)
{
    QByteArray r;
    for (char c : b) {
        if (c == '\r')
            r += "<CR>";
        else if (c == '\n')
            r += "<LF>";
        else if (c == 27)
            r += "<ESC>";
        else if (quint8(c) < 32 || quint8(c) > 126)
            r += "<" + QByteArray::number(quint8(c), 16) + ">";
        else
            r += c;
    }
    return r;
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("smsv48-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SMSV48_VERSION));
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("The simulated SMSV48 unit on a pseudo-terminal."));
    p.addHelpOption();
    p.addVersionOption();
    const QList<QCommandLineOption> opts = {
        {QStringLiteral("link"), QStringLiteral("Make a symbolic link to the device at PATH."), QStringLiteral("PATH")},
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
        {QStringLiteral("late"), QStringLiteral("Fault: status characters of data lines come MS late."),
         QStringLiteral("MS")},
        {QStringLiteral("refuse-write"), QStringLiteral("Fault: E to every :HW line.")},
        {QStringLiteral("block-fault"),
         QStringLiteral("Fault of block replies: damage, cut, noprompt, refuse, silent."), QStringLiteral("KIND")},
        {QStringLiteral("block"), QStringLiteral("Block 1..64 the block fault applies to (default every block)."),
         QStringLiteral("N")},
        {QStringLiteral("times"), QStringLiteral("How often the block fault happens (default always)."),
         QStringLiteral("N")},
        {QStringLiteral("status-cut"), QStringLiteral("Fault: cut the next N replies of 16-byte reads."),
         QStringLiteral("N")},
        {QStringLiteral("status-lost"), QStringLiteral("Fault: no reply to the next N 16-byte reads."),
         QStringLiteral("N")},
        {QStringLiteral("log"), QStringLiteral("Write everything that goes over the wire to FILE."),
         QStringLiteral("FILE")},
    };
    p.addOptions(opts);
    p.process(app);

    SimUnit unit;
    auto num = [&](const char* name, int* into) {
        if (p.isSet(QLatin1String(name))) {
            bool ok = false;
            const int v = p.value(QLatin1String(name)).toInt(&ok);
            if (!ok) {
                std::fprintf(stderr, "smsv48-sim: --%s needs a number\n", name);
                std::exit(2);
            }
            *into = v;
        }
    };
    num("hw", &unit.hwVersion);
    num("fw", &unit.fwVersion);
    num("fw-after-update", &unit.fwVersionAfterUpdate);
    num("e-first", &unit.faults.eFirstTries);
    num("e-line", &unit.faults.eLine);
    num("silent-first", &unit.faults.silentFirstTries);
    num("silent-line", &unit.faults.silentLine);
    num("late", &unit.faults.lateReplyMs);
    num("block", &unit.faults.blockFaultBlock);
    num("times", &unit.faults.blockFaultTimes);
    num("status-cut", &unit.faults.statusCut);
    num("status-lost", &unit.faults.statusLost);
    int inputs = 0;
    num("inputs", &inputs);
    unit.setInputs(quint8(inputs));
    unit.faults.silent = p.isSet(QStringLiteral("silent"));
    unit.faults.eToCr = p.isSet(QStringLiteral("e-to-cr"));
    unit.faults.refuseWrite = p.isSet(QStringLiteral("refuse-write"));
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
            std::fprintf(stderr, "smsv48-sim: unknown block fault %s\n", qPrintable(k));
            return 2;
        }
    }
    if (p.isSet(QStringLiteral("erased")))
        unit.setErased();
    if (p.isSet(QStringLiteral("image"))) {
        QString error;
        if (!unit.loadImage(p.value(QStringLiteral("image")), &error)) {
            std::fprintf(stderr, "smsv48-sim: %s: %s\n", qPrintable(p.value(QStringLiteral("image"))),
                         qPrintable(error));
            return 2;
        }
    }

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        std::fprintf(stderr, "smsv48-sim: cannot create a pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    const QByteArray slaveName = ::ptsname(master);
    // Keep the device side open ourselves, raw, so the tool may open and close it freely.
    const int slave = ::open(slaveName.constData(), O_RDWR | O_NOCTTY);
    if (slave >= 0) {
        termios t {};
        ::tcgetattr(slave, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(slave, TCSANOW, &t);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

    if (p.isSet(QStringLiteral("link"))) {
        g_linkPath = QFile::encodeName(p.value(QStringLiteral("link")));
        ::unlink(g_linkPath.constData());
        if (::symlink(slaveName.constData(), g_linkPath.constData()) != 0) {
            std::fprintf(stderr, "smsv48-sim: cannot make the link %s: %s\n", g_linkPath.constData(),
                         std::strerror(errno));
            return 1;
        }
    }
    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);
    std::printf("%s\n", g_linkPath.isEmpty() ? slaveName.constData() : g_linkPath.constData());
    std::fflush(stdout);

    SimWire wire(unit);
    wire.setSettings(p.value(QStringLiteral("settings")));
    QElapsedTimer clock;
    clock.start();
    auto now = [&] { return clock.nsecsElapsed() / 1e6; };

    std::unique_ptr<QFile> logFile;
    if (p.isSet(QStringLiteral("log"))) {
        logFile = std::make_unique<QFile>(p.value(QStringLiteral("log")));
        if (!logFile->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
            std::fprintf(stderr, "smsv48-sim: %s: %s\n", qPrintable(logFile->fileName()),
                         qPrintable(logFile->errorString()));
            return 1;
        }
    }
    auto flushLog = [&] {
        if (logFile)
            for (const SimLogEntry& e : unit.log)
                logFile->write(QByteArray::number(e.t, 'f', 1) + (e.fromTool ? " > " : " < ") + printable(e.data)
                               + "\n");
        unit.log.clear();
    };

    QTimer out;
    out.setSingleShot(true);
    out.setTimerType(Qt::PreciseTimer);
    auto reschedule = [&] {
        const double next = wire.nextArrival();
        if (next >= 0)
            out.start(std::max(0, int(next - now() + 0.999)));
    };
    QObject::connect(&out, &QTimer::timeout, [&] {
        const QByteArray due = wire.take(-1, now());
        if (!due.isEmpty()) {
            qsizetype done = 0;
            while (done < due.size()) {
                const ssize_t n = ::write(master, due.constData() + done, size_t(due.size() - done));
                if (n <= 0)
                    break;
                done += n;
            }
        }
        flushLog();
        reschedule();
    });
    QSocketNotifier reader(master, QSocketNotifier::Read);
    QObject::connect(&reader, &QSocketNotifier::activated, [&] {
        char buf[512];
        for (;;) {
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n <= 0)
                break;
            wire.toUnit(QByteArray(buf, int(n)), now());
        }
        flushLog();
        reschedule();
    });
    return app.exec();
}
