// A whole configuration write and read against smsv48-sim over a pseudo-terminal, each
// against its protocol floor: the fixed pauses plus the wire time at the line rate that
// no pause can hide.
#include "core/ProgramContext.h"
#include "link/Link.h"
#include "link/SerialChannel.h"
#include "link/Transfer.h"
#include "link/Waiter.h"
#include "sim/SimUnit.h"
#include "sim/SimWire.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString settings = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("9600,N,8,1");
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("tty-unit"));
    QProcess sim;
    sim.setProgram(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../bin/smsv48-sim")));
    sim.setArguments({"--link", device, "--settings", settings});
    sim.start();
    if (!sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "bench_transfer: smsv48-sim did not start (%s)\n", qPrintable(sim.errorString()));
        return 1;
    }
    gState().programName = QStringLiteral("bench");

    SerialChannel ch(gState());
    if (!ch.open(device, settings)) {
        std::fprintf(stderr, "bench_transfer: %s\n", qPrintable(ch.errorString()));
        return 1;
    }
    EventLoopWaiter waiter;
    LinkSink sink;
    Link link(gState(), ch, waiter, sink);
    ConfigTransfer t(link);

    QRandomGenerator rnd(1);
    QByteArray area(8192, 0);
    for (char& c : area)
        c = char(rnd.bounded(256));
    for (int b = 0; b < 64; ++b)
        area[b * 128] = char(0x10 + b);
    QStringList lines;
    for (int a = 0; a < 8192; a += 16)
        lines << QString::fromLatin1(SimUnit::record(a, area.mid(a, 16)));
    lines << QStringLiteral(":00000001FF");

    const double c = SimWire::charMsFor(settings);
    // Write: handshake pause, ":HW3" pause, 100 ms for each of the 513 lines; every line
    // (45 characters at most) goes out and is answered inside its pause.
    const double writeFloor = 200 + 250 + 513 * 100.0 + std::max(0.0, 45 * c + c - 100);
    // Read: handshake pause, then per block the longer of the 250 ms pause and the wire
    // time of the 15-character command and the 380-character reply.
    const double readFloor = 200 + 64 * std::max(250.0, (15 + 380) * c);

    QElapsedTimer timer;
    timer.start();
    const TransferOutcome w = t.write(lines, 3);
    const double writeMs = double(timer.nsecsElapsed()) / 1e6;
    if (!w.ok()) {
        std::fprintf(stderr, "bench_transfer: the write failed: %s\n", qPrintable(w.detail));
        return 1;
    }
    timer.restart();
    UnitImage img;
    const TransferOutcome r = t.read(img);
    const double readMs = double(timer.nsecsElapsed()) / 1e6;
    if (!r.ok() || img.lines() != lines) {
        std::fprintf(stderr, "bench_transfer: the read failed or differs: %s\n", qPrintable(r.detail));
        return 1;
    }
    std::printf("line settings   %s (%.3f ms per character)\n", qPrintable(settings), c);
    std::printf("write  %9.1f ms   floor %9.1f ms   ratio %.4f   (goal <= 1.03)\n", writeMs, writeFloor,
                writeMs / writeFloor);
    std::printf("read   %9.1f ms   floor %9.1f ms   ratio %.4f   (goal <= 1.05)\n", readMs, readFloor,
                readMs / readFloor);
    sim.terminate();
    sim.waitForFinished(2000);
    return 0;
}
