// The wire time of sending a configuration in which one phone number changed, against the
// simulated unit on a virtual clock (the clock gives the protocol time exactly): today's
// send (backup read + whole write), with the read-back of --verify, the send of the changed
// records with its proof read, and the whole write after a unit that cleared its memory.
// Each beside its floor: the fixed pauses of the lines and block reads it needs.
#include "core/ProgramContext.h"
#include "link/ChangedWrite.h"
#include "link/Link.h"
#include "link/Transfer.h"
#include "link/UnitBackup.h"
#include "link/Waiter.h"
#include "sim/SimChannel.h"
#include "sim/SimUnit.h"
#include "sim/SimWire.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace {
QStringList linesOf(const QByteArray& area)
{
    QStringList lines;
    for (int a = 0; a < 8192; a += 16)
        lines << QString::fromLatin1(SimUnit::record(a, area.mid(a, 16)));
    return lines << QStringLiteral(":00000001FF");
}

// The benchmark's own program context: messages in German, no database needed.
ProgramContext& benchContext()
{
    static ProgramContext context;
    return context;
}

struct Bench {
    SimUnit unit;
    VirtualWaiter w;
    SimChannel ch {unit, &w};
    LinkSink sink;
    Link link {benchContext(), ch, w, sink};
    QTemporaryDir dir;
    explicit Bench(const QByteArray& area, const QString& settings)
    {
        unit.area3 = area;
        ch.open(QStringLiteral("sim"), settings);
    }
    // The backup read as "unit write" runs it; returns the unit's lines.
    QStringList backup()
    {
        link.resetForCommand();
        const UnitBackup::Result b = UnitBackup::readAndStore(link, dir.path(), QDateTime::currentDateTime());
        if (!b.ok())
            std::fprintf(stderr, "bench_changed_send: the backup read failed\n");
        link.resetForCommand();
        return QString::fromLatin1(b.text).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
};
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString settings = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("9600,N,8,1");
    benchContext().programName = QStringLiteral("bench");
    QRandomGenerator rnd(1);
    QByteArray area(8192, 0);
    for (char& c : area)
        c = char(rnd.bounded(256));
    for (int b = 0; b < 64; ++b)
        area[b * 128] = char(0x10 + b);
    QByteArray changed = area;
    changed.replace(37 * 16 + 4, 12, "+41791234567"); // one phone number: one record
    const QStringList file = linesOf(changed);

    double today = 0, verify = 0, changedOnly = 0, fallback = 0;
    {
        Bench b(area, settings);
        const qint64 t0 = b.w.now();
        b.backup();
        if (!ConfigTransfer(b.link).write(file, 3).ok())
            return 1;
        today = double(b.w.now() - t0);
        b.link.resetForCommand();
        UnitImage img;
        if (!ConfigTransfer(b.link).read(img).ok() || img.lines() != file)
            return 1;
        verify = double(b.w.now() - t0);
    }
    {
        Bench b(area, settings);
        const qint64 t0 = b.w.now();
        const ChangedWriteOutcome o = ChangedWrite::run(b.link, b.backup(), file);
        changedOnly = double(b.w.now() - t0);
        if (!o.ok() || o.way != ChangedWriteOutcome::Way::Changed || b.unit.area3 != changed)
            return 1;
    }
    {
        Bench b(area, settings);
        b.unit.faults.clearOnWrite = true;
        const qint64 t0 = b.w.now();
        const ChangedWriteOutcome o = ChangedWrite::run(b.link, b.backup(), file);
        fallback = double(b.w.now() - t0);
        if (!o.ok() || o.way != ChangedWriteOutcome::Way::Whole || b.unit.area3 != changed)
            return 1;
    }

    const double c = SimWire::charMsFor(settings);
    // Floors: the handshake pause, then 250 ms (or the wire time of command and reply) per
    // block read, 250 ms for ":HW3" and 100 ms per line written; the serial-number read of
    // the backup (handshake and 400 ms) besides.
    const double block = std::max(250.0, (15 + 380) * c);
    const double serial = 200 + 400;
    const double read = 200 + 64 * block;
    auto write = [](int lines) { return 200 + 250 + (lines + 1) * 100.0; };
    const double proof = 200 + 2 * block;
    const double floorToday = serial + read + write(512);
    const double floorVerify = floorToday + read;
    const double floorChanged = serial + read + write(1) + proof;
    const double floorFallback = floorChanged + write(512) + read;
    std::printf("line settings %s (%.3f ms per character), one record of 512 changed\n", qPrintable(settings), c);
    std::printf("today's send (backup + whole write) %9.1f ms   floor %9.1f ms\n", today, floorToday);
    std::printf("today's send with --verify           %9.1f ms   floor %9.1f ms\n", verify, floorVerify);
    std::printf("changed records only, proven         %9.1f ms   floor %9.1f ms   %.3f x today (goal <= 0.35), "
                "%.3f x --verify (goal <= 0.30)\n",
                changedOnly, floorChanged, changedOnly / today, changedOnly / verify);
    std::printf("fallback after a clearing unit       %9.1f ms   floor %9.1f ms   %.3f x --verify (goal <= 1.10)\n",
                fallback, floorFallback, fallback / verify);
    return 0;
}
