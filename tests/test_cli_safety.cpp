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

// The one JSON object of stdout (an empty object when stdout is anything else).
QJsonObject jsonOf(const Run& r)
{
    QJsonParseError e;
    const QJsonDocument doc = QJsonDocument::fromJson(r.out, &e);
    return e.error == QJsonParseError::NoError && doc.isObject() ? doc.object() : QJsonObject();
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
    void whatTheUnitHoldsIsSaid_data();
    void whatTheUnitHoldsIsSaid();
    void firmwareEndRecordAndRestart_data();
    void firmwareEndRecordAndRestart();
    void firmwareConfirmationResendsKeepTheirPace();
    void oneJsonObjectWhateverHappens_data();
    void oneJsonObjectWhateverHappens();
    void lostBlockRepliesSpreadOverAReadAreRetriedPerBlock();
    void simulatedUnitIsSaidAlsoWithQuiet();
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

// What a write left in the unit reaches the message and the JSON object: over retries, after
// a lost port, and when only the verify failed.
void TestCliSafety::whatTheUnitHoldsIsSaid_data()
{
    QTest::addColumn<QString>("sim");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<int>("accepted");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("silent unit, retried") << "--silent-after 300" << QStringList {"--retries", "1"} << 3 << "incomplete"
                                          << 300 << "incomplete (300 of 512 records written)";
    QTest::newRow("port lost") << "--vanish-after 140" << QStringList() << 3 << "incomplete" << 137
                               << "lost. The unit's configuration is now incomplete (137 of 512 records written)";
    QTest::newRow("verify reads fail") << "--block-fault silent" << QStringList {"--verify"} << 1 << "verifyFailed"
                                       << 512 << "written completely, but the verify failed";
}

void TestCliSafety::whatTheUnitHoldsIsSaid()
{
    QFETCH(QString, sim);
    QFETCH(QStringList, options);
    QFETCH(int, code);
    QFETCH(QString, outcome);
    QFETCH(int, accepted);
    QFETCH(QString, sentence);
    TestEnv env;
    QTemporaryDir dir;
    const QString cfg = dir.filePath(QStringLiteral("site.cfg"));
    writeFile(cfg, siteProfile());
    const Run r = simRun(dir, sim, QStringList {"-q", "--json", "unit", "write", "--no-backup", cfg} + options);
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(sentence.toUtf8()), r.err.constData());
    const QJsonObject o = jsonOf(r);
    QCOMPARE(o.value("outcome").toString(), outcome);
    QCOMPARE(o.value("linesAccepted").toInt(), accepted);
    QCOMPARE(o.value("exitCode").toInt(), r.code);
}

// The firmware end record refused is sent again; never confirmed, or no unit after the
// restart, is an incomplete firmware and a failure.
void TestCliSafety::firmwareEndRecordAndRestart_data()
{
    QTest::addColumn<QString>("sim");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("endRecords");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("refused once") << "--e-fw-end 1" << 0 << 2 << QString();
    QTest::newRow("never confirmed") << "--e-fw-end 9" << 4 << 3 << "firmware update did not complete";
    QTest::newRow("does not start") << "--no-start" << 3 << 1 << "did not start after the firmware update";
}

void TestCliSafety::firmwareEndRecordAndRestart()
{
    QFETCH(QString, sim);
    QFETCH(int, code);
    QFETCH(int, endRecords);
    QFETCH(QString, sentence);
    TestEnv env;
    QTemporaryDir dir;
    const QString prg = dir.filePath(QStringLiteral("unit.prg"));
    writeFile(prg, firmwareFile(12));
    QByteArray wire;
    const Run r = simRun(dir, sim, {"--json", "firmware", prg, "--yes"}, &wire);
    QCOMPARE(r.code, code);
    QCOMPARE(sent(wire, ":00000001FF"), endRecords);
    const QJsonObject o = jsonOf(r);
    QCOMPARE(o.value("exitCode").toInt(), r.code);
    QCOMPARE(o.value("ok").toBool(), sentence.isEmpty());
    if (!sentence.isEmpty()) {
        QVERIFY2(r.err.contains(sentence.toUtf8()), r.err.constData());
        QCOMPARE(o.value("outcome").toString(), QStringLiteral("incomplete"));
    }
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

// --json: exactly one object, also without a unit, for files that cannot be used, for usage
// errors and options given twice, and for a trace that cannot be written; its exitCode is
// the exit status. A refusal before the first record differs from one part-way.
void TestCliSafety::oneJsonObjectWhateverHappens_data()
{
    QTest::addColumn<QString>("sim");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QString>("err");
    const QString cfg = QStringLiteral("SITE");
    QTest::newRow("no such device") << QString() << QStringList {"--device", "/nonexistent/ttyUSB7", "unit", "status"}
                                    << 3 << "noUnit"
                                    << "/nonexistent/ttyUSB7";
    QTest::newRow("input missing") << "" << QStringList {"unit", "write", "/nonexistent/site.cfg"} << 5 << "fileError"
                                   << "/nonexistent/site.cfg";
    QTest::newRow("output folder missing")
        << "" << QStringList {"unit", "read", "-o", "/nonexistent/x.cfg"} << 5 << "fileError"
        << "nothing was read";
    QTest::newRow("usage") << "" << QStringList {"unit", "status", "extra"} << 2 << "usage"
                           << "too many";
    QTest::newRow("option twice") << "" << QStringList {"--json", "unit", "status"} << 2 << "usage"
                                  << "option --json given twice";
    QTest::newRow("retries twice") << "" << QStringList {"unit", "read", "--retries", "1", "--retries", "2", "-o", "-"}
                                   << 2 << "usage"
                                   << "option --retries given twice";
    QTest::newRow("trace unwritable") << "" << QStringList {"--trace", "TRACE", "unit", "status"} << 5 << "fileError"
                                      << "";
    QTest::newRow("refused at once") << "--refuse-write" << QStringList {"unit", "write", "--no-backup", cfg} << 4
                                     << "refused"
                                     << "nothing was written";
    QTest::newRow("refused part-way") << "--e-line 5" << QStringList {"unit", "write", "--no-backup", cfg} << 4
                                      << "incomplete"
                                      << "incomplete (4 of 512 records written)";
}

void TestCliSafety::oneJsonObjectWhateverHappens()
{
    QFETCH(QString, sim);
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, outcome);
    QFETCH(QString, err);
    TestEnv env;
    QTemporaryDir dir;
    const QString cfg = dir.filePath(QStringLiteral("site.cfg"));
    writeFile(cfg, siteProfile());
    args.replaceInStrings(QStringLiteral("SITE"), cfg);
    // A name longer than a folder entry may be: refused before anything is sent.
    args.replaceInStrings(QStringLiteral("TRACE"), dir.filePath(QString(300, QLatin1Char('t'))));
    QByteArray wire;
    const Run r = sim.isNull() ? ctl(QStringList {"--language", "2", "--json"} + args)
                               : simRun(dir, sim, QStringList {"--json"} + args, &wire);
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(err.toUtf8()), r.err.constData());
    const QJsonObject o = jsonOf(r);
    QVERIFY2(!o.isEmpty(), r.out.constData());
    QCOMPARE(o.value("exitCode").toInt(), r.code);
    QCOMPARE(o.value("ok").toBool(), false);
    QCOMPARE(o.value("outcome").toString(), outcome);
    if (r.code == 2)
        QVERIFY2(wire.isEmpty(), wire.constData()); // nothing was sent
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

// -q keeps progress quiet, never the warning that no hardware is used.
void TestCliSafety::simulatedUnitIsSaidAlsoWithQuiet()
{
    TestEnv env;
    QTemporaryDir dir;
    const Run r = simRun(dir, QString(), {"-q", "unit", "status"});
    QVERIFY2(r.code == 0, r.err.constData());
    QVERIFY2(r.err.contains("simulated unit"), r.err.constData());
}

// "-o -" is standard output for a report too; no file named "-" appears.
void TestCliSafety::reportToStandardOutput()
{
    TestEnv env;
    QTemporaryDir dir;
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.setProgram(QDir(TestEnv::builtBin()).filePath(QStringLiteral("smsv48ctl")));
    p.setArguments({"report", "inputs", "-o", "-"});
    p.start();
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(p.readAllStandardOutput().startsWith("%PDF-"));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("-"))));
}

QTEST_GUILESS_MAIN(TestCliSafety)
#include "test_cli_safety.moc"
