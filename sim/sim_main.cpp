// smsv48-sim: the simulated unit on a pseudo-terminal. Prints the device path (or makes a
// link at --link PATH) and serves until it is killed.
#include "sim/SimOptions.h"
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
    p.addOption({QStringLiteral("link"), QStringLiteral("Make a symbolic link to the device at PATH."),
                 QStringLiteral("PATH")});
    SimOptions::addTo(p);
    p.process(app);

    SimUnit unit;
    if (QString error; !SimOptions::apply(p, unit, &error)) {
        std::fprintf(stderr, "smsv48-sim: %s\n", qPrintable(error));
        return 2;
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
            logFile->write(SimOptions::logLines(unit.log));
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
