// smsv48ctl never leaves a unit, a script or a user believing what is not so: a signal
// cancels like the Cancel button, retries and a failed verify keep what the unit holds, a
// refused firmware end record or a unit that does not start is no success, and --json gives
// one object whose exit code is the process's. The built-in simulated unit runs in virtual
// time (SMSV48_SIM); only the signal runs over a pseudo-terminal.
#include "CliRun.h"
#include "TestEnv.h"

#include "image/HexWriter.h"
#include "image/Image.h"
#include "image/ProfileReader.h"
#include "sim/SimUnit.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <csignal>

using namespace CliRun;

namespace {
QByteArray siteProfile()
{
    ProfileData d;
    d.powerOn.text = QStringLiteral("Strom da");
    d.inputs[0].text = QStringLiteral("Tor offen");
    Image img;
    HexWriter::buildImage(d, img);
    return img.hexText();
}

// A firmware file of `records` data records and its end record.
QByteArray firmwareFile(int records)
{
    QByteArray f;
    for (int i = 0; i < records; ++i)
        f += SimUnit::record(16 * i, QByteArray(16, char(0x30 + i % 10))) + "\r\n";
    return f + ":00000001FF\r\n";
}

// One run of smsv48ctl in English against the built-in unit with the faults of `sim`, in
// virtual time; *wire receives the unit's wire log.
Run simRun(const QTemporaryDir& dir, const QString& sim, const QStringList& args, QByteArray* wire = nullptr)
{
    const QString log = dir.filePath(QStringLiteral("wire.log"));
    QFile::remove(log);
    const Run r = ctl(QStringList {"--language", "2", "--device", "sim"} + args, {},
                      {{"SMSV48_SIM", QStringLiteral("--virtual-time --log %1 %2").arg(log, sim)}});
    if (wire)
        *wire = readAll(log);
    return r;
}

// The wire log's lines from the tool that are exactly `line` (with its CR).
int sent(const QByteArray& wire, const QByteArray& line)
{
    return int(wire.count(QByteArray(" > ") + line + "<CR>\n") + wire.count(QByteArray(" > ") + line + "\n"));
}
} // namespace

class TestCliSafety : public QObject {
    Q_OBJECT
private slots:
    void signalCancelsAWriteWithEscAndSaysSo();
    void oneJsonObjectSaysWhatTheUnitHolds_data();
    void oneJsonObjectSaysWhatTheUnitHolds();
    void firmwareConfirmationResendsKeepTheirPace();
    void lostBlockRepliesSpreadOverAReadAreRetriedPerBlock();
    void reportToStandardOutput();
};

// Ctrl-C during a write: ESC, no end record, the incomplete sentence, the trace, exit 130.
void TestCliSafety::signalCancelsAWriteWithEscAndSaysSo()
{
    TestEnv env;
    QTemporaryDir dir;
    const QString cfg = dir.filePath(QStringLiteral("site.cfg"));
    writeFile(cfg, siteProfile());
    const QString trace = dir.filePath(QStringLiteral("trace.txt"));
    Sim sim(dir.path(), {});
    QProcess p;
    p.setProgram(QDir(TestEnv::builtBin()).filePath(QStringLiteral("smsv48ctl")));
    p.setArguments(QStringList {"--language", "2"} + sim.dev()
                   + QStringList {"--trace", trace, "unit", "write", "--no-backup", cfg});
    p.start();
    QVERIFY(p.waitForStarted());
    QElapsedTimer t;
    t.start();
    while (sim.wire().count(" > :10") < 5 && t.elapsed() < 20000)
        QThread::msleep(20);
    QVERIFY2(sim.wire().count(" > :10") >= 5, sim.wire().constData());
    ::kill(pid_t(p.processId()), SIGINT);
    QVERIFY(p.waitForFinished(15000));
    const QByteArray err = p.readAllStandardError();
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 130);
    QVERIFY2(QRegularExpression(QStringLiteral("incomplete \\(\\d+ of 512 records written\\)"))
                 .match(QString::fromUtf8(err))
                 .hasMatch(),
             err.constData());
    QThread::msleep(300); // the unit's log catches up
    const QByteArray wire = sim.wire();
    QVERIFY2(wire.mid(wire.lastIndexOf(" > :10")).contains("<ESC>"), wire.right(400).constData());
    QCOMPARE(sent(wire, ":00000001FF"), 0);
    QVERIFY(readAll(trace).contains(":HW3 PW:****"));
}

// --json: exactly one object whatever happens, its exitCode the exit status: without a unit,
// for files that cannot be used, usage errors, options given twice, a trace that cannot be
// written; and what a write left in the unit over retries, a lost port, a failed verify, a
// refusal before the first record or part-way, a firmware end record refused or a unit that
// does not start after the update.
void TestCliSafety::oneJsonObjectSaysWhatTheUnitHolds_data()
{
    QTest::addColumn<QString>("sim"); // null: no unit
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<int>("accepted"); // records the unit holds (-1: not said)
    QTest::addColumn<int>("endRecords"); // end records on the wire
    QTest::addColumn<QString>("err");
    const QStringList write {"unit", "write", "--no-backup", "SITE"};
    const QStringList firmware {"firmware", "PRG", "--yes"};
    const auto row = [](const char* name, const QString& sim, const QStringList& args, int code, const char* outcome,
                        int accepted, int ends, const char* err) {
        QTest::newRow(name) << sim << args << code << QString::fromUtf8(outcome) << accepted << ends
                            << QString::fromUtf8(err);
    };
    row("no such device", QString(), {"--device", "/nonexistent/ttyUSB7", "unit", "status"}, 3, "noUnit", -1, 0,
        "/nonexistent/ttyUSB7");
    row("input missing", "", {"unit", "write", "/nonexistent/site.cfg"}, 5, "fileError", -1, 0,
        "/nonexistent/site.cfg");
    row("output folder missing", "", {"unit", "read", "-o", "/nonexistent/x.cfg"}, 5, "fileError", -1, 0,
        "nothing was read");
    row("usage", "", {"unit", "status", "extra"}, 2, "usage", -1, 0, "too many");
    row("option twice", "", {"--json", "unit", "status"}, 2, "usage", -1, 0, "option --json given twice");
    row("retries twice", "", {"unit", "read", "--retries", "1", "--retries", "2", "-o", "-"}, 2, "usage", -1, 0,
        "option --retries given twice");
    row("trace unwritable", "", {"--trace", "TRACE", "unit", "status"}, 5, "fileError", -1, 0, "");
    row("refused at once", "--refuse-write", write, 4, "refused", -1, 0, "nothing was written");
    row("refused part-way", "--e-line 5", write, 4, "incomplete", 4, 0, "incomplete (4 of 512 records written)");
    row("silent unit, retried", "--silent-after 300", write + QStringList {"--retries", "1"}, 3, "incomplete", 300, 0,
        "incomplete (300 of 512 records written)");
    row("port lost", "--vanish-after 140", write, 3, "incomplete", 137, 0,
        "lost. The unit's configuration is now incomplete (137 of 512 records written)");
    row("verify reads fail", "--block-fault silent", write + QStringList {"--verify"}, 1, "verifyFailed", 512, 1,
        "written completely, but the verify failed");
    row("end record refused once", "--e-fw-end 1", firmware, 0, "ok", -1, 2, "");
    row("end record never confirmed", "--e-fw-end 9", firmware, 4, "incomplete", -1, 3,
        "firmware update did not complete");
    row("no start after firmware", "--no-start", firmware, 3, "incomplete", -1, 1,
        "did not start after the firmware update");
}

void TestCliSafety::oneJsonObjectSaysWhatTheUnitHolds()
{
    QFETCH(QString, sim);
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, outcome);
    QFETCH(int, accepted);
    QFETCH(int, endRecords);
    QFETCH(QString, err);
    TestEnv env;
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("site.cfg")), siteProfile());
    writeFile(dir.filePath(QStringLiteral("unit.prg")), firmwareFile(12));
    args.replaceInStrings(QStringLiteral("SITE"), dir.filePath(QStringLiteral("site.cfg")));
    args.replaceInStrings(QStringLiteral("PRG"), dir.filePath(QStringLiteral("unit.prg")));
    // A name longer than a folder entry may be: refused before anything is sent.
    args.replaceInStrings(QStringLiteral("TRACE"), dir.filePath(QString(300, QLatin1Char('t'))));
    QByteArray wire;
    const Run r = sim.isNull() ? ctl(QStringList {"--language", "2", "--json"} + args)
                               : simRun(dir, sim, QStringList {"-q", "--json"} + args, &wire);
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(err.toUtf8()), r.err.constData());
    QJsonParseError e;
    const QJsonObject o = QJsonDocument::fromJson(r.out, &e).object();
    QVERIFY2(e.error == QJsonParseError::NoError && !o.isEmpty(), r.out.constData());
    QCOMPARE(o.value("exitCode").toInt(-1), r.code);
    QCOMPARE(o.value("ok").toBool(), code == 0);
    QCOMPARE(o.value("outcome").toString(), outcome);
    if (accepted >= 0)
        QCOMPARE(o.value("linesAccepted").toInt(), accepted);
    QCOMPARE(sent(wire, ":00000001FF"), endRecords);
    if (r.code == 2)
        QVERIFY2(wire.isEmpty(), wire.constData()); // nothing was sent
}

// Every CR confirming a firmware write, the first and each one sent again after an "E",
// keeps 250 ms to the one before.
void TestCliSafety::firmwareConfirmationResendsKeepTheirPace()
{
    TestEnv env;
    QTemporaryDir dir;
    const QString prg = dir.filePath(QStringLiteral("unit.prg"));
    writeFile(prg, firmwareFile(3));
    QByteArray wire;
    const Run r = simRun(dir, QStringLiteral("--e-confirm 2"), {"firmware", prg, "--yes"}, &wire);
    QVERIFY2(r.code == 0, r.err.constData());
    const QByteArray afterStart = wire.mid(wire.indexOf(":HW4"));
    QList<double> crs;
    for (const QByteArray& line : afterStart.split('\n'))
        if (line.endsWith(" > <CR>"))
            crs << line.left(line.indexOf(' ')).toDouble();
    QVERIFY2(crs.size() >= 3, afterStart.left(600).constData());
    for (int i = 1; i < 3; ++i)
        QVERIFY2(crs[i] - crs[i - 1] >= 250, afterStart.left(600).constData());
}

// Five and more lost block replies spread over a whole read, each read again at once, do not
// make the unit one that stopped answering.
void TestCliSafety::lostBlockRepliesSpreadOverAReadAreRetriedPerBlock()
{
    TestEnv env;
    QTemporaryDir dir;
    const QString cfg = dir.filePath(QStringLiteral("site.cfg"));
    writeFile(cfg, siteProfile());
    QByteArray wire;
    const Run r = simRun(dir, QStringLiteral("--image %1 --block-fault silent --every 10").arg(cfg),
                         {"-q", "unit", "read", "-o", "-"}, &wire);
    QVERIFY2(r.code == 0, r.err.constData());
    QCOMPARE(r.out, readAll(cfg));
    QCOMPARE(wire.count(" > :HR3:0080:"), 64 + 7);
}

// "-o -" is standard output for a report too; no file named "-" appears.
void TestCliSafety::reportToStandardOutput()
{
    TestEnv env;
    QTemporaryDir dir;
    const Run r = run(ctlPath(), {"report", "inputs", "-o", "-"}, {}, {},
                      [&](QProcess& p) { p.setWorkingDirectory(dir.path()); });
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.startsWith("%PDF-"));
    QVERIFY(QDir(dir.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestCliSafety)
#include "test_cli_safety.moc"
