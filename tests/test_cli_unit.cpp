// smsv48ctl against smsv48-sim over a pseudo-terminal: standard streams, JSON results,
// verify and diff against the unit, refusals and silence as exit codes.
#include "CliRun.h"
#include "TestEnv.h"

#include "core/Settings.h"
#include "image/HexWriter.h"
#include "image/Image.h"
#include "image/ProfileJson.h"
#include "image/ProfileReader.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace CliRun;

namespace {
// A profile with a few fields set, as the program writes it.
QByteArray profileText(const QString& powerOnText, int alarmRecipient)
{
    ProfileData d;
    d.powerOn.text = powerOnText;
    d.alarmInput.recipients = std::uint8_t(1 << (alarmRecipient - 1));
    d.inputs[0].text = QStringLiteral("Tor offen");
    d.inputs[0].recipients = 0x05;
    Image img;
    HexWriter::buildImage(d, img);
    return img.hexText();
}
} // namespace

class TestCliUnit : public QObject {
    Q_OBJECT
private slots:
    void standardStreamsQuietVerboseAndOneLanguage();
    void jsonResultsFieldByField();
    void verifyAndDiffFindWhatTheUnitHoldsOtherwise();
    void refusedAndSilentUnits();
    void retriesRepeatAWholeTransfer();
};

// "-" is standard input or output; results alone on stdout; -q silences the rest, -v adds
// the link's events; every line of a run is in the run's one language.
void TestCliUnit::standardStreamsQuietVerboseAndOneLanguage()
{
    TestEnv env;
    QTemporaryDir dir;
    const QString cfg = dir.filePath(QStringLiteral("site.cfg"));
    writeFile(cfg, profileText(QStringLiteral("Strom da"), 3));
    Sim sim(dir.path(), {"--image", cfg});

    // The unit's configuration on stdout, byte for byte the file it was started with; progress
    // on stderr only.
    Run r = ctl(sim.dev() + QStringList {"unit", "read", "-o", "-"});
    QVERIFY2(r.code == 0, r.err.constData());
    QCOMPARE(r.out, readAll(cfg));
    QVERIFY2(r.err.contains("Lesen 64/64"), r.err.constData());
    r = ctl(sim.dev() + QStringList {"-q", "unit", "read", "-o", "-"});
    QCOMPARE(r.out, readAll(cfg));
    QVERIFY2(r.err.isEmpty(), r.err.constData());
    r = ctl(sim.dev() + QStringList {"unit", "status", "-v"});
    QVERIFY2(r.code == 0 && r.err.contains(" - handshake") && r.err.contains(" > <CR>"), r.err.constData());
    QVERIFY(r.out.startsWith("Eingänge 1-8: ") && !r.out.contains("smsv48.link"));
    r = ctl(sim.dev() + QStringList {"unit", "status"});
    QVERIFY2(r.err.isEmpty(), r.err.constData());

    // Profiles through pipes: to-json from stdin, from-json from stdin to stdout.
    const Run json = ctl({"profile", "to-json", "-"}, readAll(cfg));
    QVERIFY2(json.code == 0, json.err.constData());
    QCOMPARE(json.out, ctl({"profile", "to-json", cfg}).out);
    r = ctl({"profile", "from-json", "-", "-o", "-"}, json.out);
    QVERIFY2(r.code == 0 && r.err.isEmpty(), r.err.constData());
    QCOMPARE(r.out, readAll(cfg));
    // A unit written from stdin.
    r = ctl(sim.dev() + QStringList {"-q", "--no-backup", "unit", "write", "-"}, readAll(cfg));
    QVERIFY2(r.code == 0 && r.out.isEmpty() && r.err.isEmpty(), r.err.constData());
    QVERIFY(sim.wire().contains(":HW3 PW:6054<CR>"));
    // A damaged stdin is named "-" and refused before anything is sent.
    const int before = sim.wire().size();
    r = ctl(sim.dev() + QStringList {"--language", "2", "unit", "write", "-"}, readAll(cfg).left(300));
    QCOMPARE(r.code, 5);
    QVERIFY2(r.err.startsWith("smsv48ctl: -: line 7: "), r.err.constData());
    QCOMPARE(sim.wire().size(), before);

    // Italian throughout: the notice of the simulated unit, the progress and the failure.
    r = ctl({"--device", "sim", "--language", "3", "unit", "read", "-o", dir.filePath("missing/x.cfg")});
    QCOMPARE(r.code, 5);
    QVERIFY2(r.err.contains("la cartella") && r.err.contains("non è stato letto nulla"), r.err.constData());
    r = ctl({"--device", "sim", "--language", "3", "unit", "read", "-o", "-"});
    QVERIFY2(r.code == 0, r.err.constData());
    const QList<QByteArray> lines = r.err.trimmed().split('\n');
    QVERIFY(lines.size() >= 3);
    QCOMPARE(lines[0], QByteArray("smsv48ctl: viene usato il dispositivo simulato (nessun hardware)"));
    for (int i = 1; i < lines.size(); ++i)
        QVERIFY2(lines[i].startsWith("lettura "), lines[i].constData());
}

QJsonObject jsonOf(const Run& r)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(r.out, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        qWarning("not one JSON object: %s / %s", r.out.constData(), r.err.constData());
    return doc.object();
}

// --json: one object per command on stdout, fields rather than sentences, for results and
// for outcomes that failed.
void TestCliUnit::jsonResultsFieldByField()
{
    TestEnv env;
    QTemporaryDir dir;
    Sim sim(dir.path(), {"--fw", "103", "--hw", "200", "--inputs", "5", "--serial", "204518", "--pin", "2580"});
    Run r = ctl(sim.dev() + QStringList {"unit", "status", "--json"});
    QCOMPARE(r.code, 0);
    QJsonObject o = jsonOf(r);
    QCOMPARE(o.value("command").toString(), QStringLiteral("unit status"));
    QCOMPARE(o.value("ok").toBool(), true);
    QCOMPARE(o.value("exitCode").toInt(-1), 0);
    QCOMPARE(o.value("inputs").toArray(), (QJsonArray {true, false, true, false, false, false, false, false}));
    QCOMPARE(o.value("relays").toArray(), (QJsonArray {false, false, false, false, false, false, false, false}));
    QCOMPARE(o.value("hardwareVersion").toString(), QStringLiteral("2.00"));
    QCOMPARE(o.value("firmwareVersion").toString(), QStringLiteral("1.03"));
    QCOMPARE(o.value("device").toString(), sim.device);
    QVERIFY(r.err.isEmpty());

    o = jsonOf(ctl(sim.dev() + QStringList {"param", "serial", "get", "--json"}));
    QCOMPARE(o.value("serial").toString(), QStringLiteral("204518"));
    o = jsonOf(ctl(sim.dev() + QStringList {"param", "pin", "get", "--json"}));
    QCOMPARE(o.value("pin").toString(), QStringLiteral("2580"));
    o = jsonOf(ctl(sim.dev() + QStringList {"param", "validity", "get", "--json"}));
    QCOMPARE(o.value("validity").toInt(), 167);
    QCOMPARE(o.value("command").toString(), QStringLiteral("param validity get"));

    const QString read = dir.filePath(QStringLiteral("read.cfg"));
    o = jsonOf(ctl(sim.dev() + QStringList {"-q", "unit", "read", "-o", read, "--json"}));
    QCOMPARE(o.value("ok").toBool(), true);
    QCOMPARE(o.value("file").toString(), read);
    QVERIFY(readAll(read).endsWith(":00000001FF\r\n"));

    // The ports the system lists (here: as SMSV48_SERIAL_PORTS gives them) and COM 1..COM 8:
    // COM 1 left to the automatic choice, the others set to the simulated unit (TestEnv).
    Settings::set(QStringLiteral("Ports"), QStringLiteral("COM1"), QString());
    r = ctl({"ports", "--json"}, {}, {{"SMSV48_SERIAL_PORTS", sim.device}});
    QCOMPARE(r.code, 0);
    o = jsonOf(r);
    QCOMPARE(o.value("ports").toArray().size(), 1);
    QCOMPARE(o.value("ports").toArray()[0].toObject().value("systemLocation").toString(), sim.device);
    QVERIFY(o.value("ports").toArray()[0].toObject().contains("vendorId"));
    QCOMPARE(o.value("com").toArray().size(), 8);
    QCOMPARE(o.value("com").toArray()[0].toObject(), (QJsonObject {{"port", "COM 1"}, {"device", sim.device}}));
    QCOMPARE(o.value("com").toArray()[1].toObject().value("device").toString(), QStringLiteral("sim"));
    r = ctl({"ports"}, {}, {{"SMSV48_SERIAL_PORTS", ""}});
    QVERIFY(r.code == 0 && r.out.startsWith("COM 1: -\n"));

    // A firmware update: the lines sent and acknowledged.
    Sim older(dir.path(), {"--fw", "90", "--fw-after-update", "100"}, QStringLiteral("tty-older"));
    const QString prg = dir.filePath(QStringLiteral("unit.prg"));
    writeFile(prg,
              ":10000000000102030405060708090A0B0C0D0E0F78\r\n:10001000101112131415161718191A1B1C1D1E1F68\r\n:"
              "00000001FF\r\n");
    r = ctl(older.dev() + QStringList {"-q", "firmware", prg, "--yes", "--json"});
    QVERIFY2(r.code == 0, r.err.constData());
    o = jsonOf(r);
    QCOMPARE(o.value("outcome").toString(), QStringLiteral("ok"));
    QCOMPARE(o.value("linesSent").toInt(), 2);
    QCOMPARE(o.value("linesAccepted").toInt(), 2);

    // Failures: the outcome by name, the exit code, the line given up; the sentence on stderr.
    Sim refusing(dir.path(), {"--e-line", "7"}, QStringLiteral("tty-refusing"));
    r = ctl(
        refusing.dev()
        + QStringList {"-q", "--language", "2", "unit", "write", env.path("UserProfile/SMSV48_Default.cfg"), "--json"});
    QCOMPARE(r.code, 4);
    o = jsonOf(r);
    QCOMPARE(o.value("ok").toBool(true), false);
    // Refused part-way: the unit holds six records.
    QCOMPARE(o.value("outcome").toString(), QStringLiteral("incomplete"));
    QCOMPARE(o.value("cause").toString(), QStringLiteral("refused"));
    QCOMPARE(o.value("exitCode").toInt(), 4);
    QCOMPARE(o.value("failedLine").toInt(), 7);
    QCOMPARE(o.value("linesAccepted").toInt(), 6);
    QCOMPARE(o.value("messageKey").toString(), QStringLiteral("gsMsgZeileNichtGebrannt"));
    QVERIFY(r.err.startsWith("smsv48ctl: Line 7 ("));
    Sim silent(dir.path(), {"--silent"}, QStringLiteral("tty-silent"));
    r = ctl(silent.dev() + QStringList {"param", "serial", "get", "--json"});
    QCOMPARE(r.code, 3);
    o = jsonOf(r);
    QCOMPARE(o.value("outcome").toString(), QStringLiteral("noAnswer"));
    QCOMPARE(o.value("exitCode").toInt(), 3);
}

// A unit holding another SMS text and another recipient than the file: verify and diff name
// both fields; the same file is equal.
void TestCliUnit::verifyAndDiffFindWhatTheUnitHoldsOtherwise()
{
    TestEnv env;
    QTemporaryDir dir;
    const QString held = dir.filePath(QStringLiteral("held.cfg")), other = dir.filePath(QStringLiteral("other.cfg"));
    writeFile(held, profileText(QStringLiteral("Strom da"), 3));
    writeFile(other, profileText(QStringLiteral("Strom weg"), 4));
    Sim sim(dir.path(), {"--image", held});

    Run r = ctl(sim.dev() + QStringList {"-q", "unit", "verify", held});
    QVERIFY2(r.code == 0 && r.out.isEmpty(), r.out.constData());
    r = ctl(sim.dev() + QStringList {"-q", "unit", "verify", other});
    QCOMPARE(r.code, 1);
    QCOMPARE(QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts),
             (QStringList {"alarmInput.recipients: +3 -4", "powerOn.text: \"Strom weg\" -> \"Strom da\""}));
    r = ctl(sim.dev() + QStringList {"-q", "unit", "verify", other, "--json"});
    QCOMPARE(r.code, 1);
    const QJsonObject o = jsonOf(r);
    QCOMPARE(o.value("equal").toBool(true), false);
    QCOMPARE(o.value("outcome").toString(), QStringLiteral("ok")); // the read went well
    const QJsonArray changes = o.value("differences").toArray();
    QCOMPARE(changes.size(), 2);
    QCOMPARE(changes[1].toObject(),
             (QJsonObject {{"field", "powerOn.text"}, {"before", "Strom weg"}, {"after", "Strom da"}}));

    // "unit" on either side of a diff.
    r = ctl(sim.dev() + QStringList {"-q", "profile", "diff", "unit", other});
    QCOMPARE(r.code, 1);
    QCOMPARE(QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts),
             (QStringList {"alarmInput.recipients: +4 -3", "powerOn.text: \"Strom da\" -> \"Strom weg\""}));
    r = ctl(sim.dev() + QStringList {"-q", "profile", "diff", held, "unit"});
    QVERIFY2(r.code == 0 && r.out.isEmpty(), r.err.constData());
    // Read into a folder: the file is named after the unit's serial number.
    Sim numbered(dir.path(), {"--image", held, "--serial", "314159"}, QStringLiteral("tty-numbered"));
    QDir().mkpath(dir.filePath(QStringLiteral("site")));
    r = ctl(numbered.dev() + QStringList {"-q", "unit", "read", "-o", dir.filePath(QStringLiteral("site")) + "/"});
    QVERIFY2(r.code == 0, r.err.constData());
    QCOMPARE(readAll(dir.filePath(QStringLiteral("site/314159.cfg"))), readAll(held));
}

// The unit refuses: exit code 4; the unit is silent: exit code 3; in both cases one line.
void TestCliUnit::refusedAndSilentUnits()
{
    TestEnv env;
    QTemporaryDir dir;
    ProfileData d;
    d.users[0].password = QStringLiteral("4711");
    d.users[0].active = true;
    Image img;
    HexWriter::buildImage(d, img);
    const QString guarded = dir.filePath(QStringLiteral("guarded.cfg"));
    writeFile(guarded, img.hexText());
    Sim sim(dir.path(), {"--image", guarded});
    Run r = ctl(sim.dev() + QStringList {"--language", "2", "relay", "2", "on", "--password", "1234"});
    QCOMPARE(r.code, 4);
    // The unit's "E" to the relay command: the core's sentence for a refused unit password.
    QCOMPARE(r.err,
             QByteArray("smsv48ctl: The unit refused the command: wrong unit password; the program uses user "
                        "1's password from the phone book.\n"));
    r = ctl(sim.dev() + QStringList {"relay", "2", "on", "--password", "4711"});
    QVERIFY2(r.code == 0 && r.out == "Relais 1-8: 01000000\n", r.err.constData());

    Sim refusing(dir.path(), {"--refuse-write"}, QStringLiteral("tty-refusing"));
    r = ctl(refusing.dev() + QStringList {"-q", "--no-backup", "unit", "write", guarded});
    QCOMPARE(r.code, 4);
    r = ctl(refusing.dev() + QStringList {"param", "serial", "set", "123456"});
    QCOMPARE(r.code, 4);
    Sim silent(dir.path(), {"--silent"}, QStringLiteral("tty-silent"));
    for (const QStringList& args : {QStringList {"unit", "verify", guarded}, QStringList {"unit", "write", guarded},
                                    QStringList {"profile", "diff", "unit", guarded}}) {
        r = ctl(silent.dev() + QStringList {"-q", "--language", "2"} + args);
        QVERIFY2(r.code == 3, qPrintable(args.join(' ')));
        QCOMPARE(r.err, QString("smsv48ctl: %1: the unit does not answer\n").arg(silent.device).toUtf8());
    }
    QVERIFY(!QFileInfo::exists(env.path(QStringLiteral("Backups"))));
}

// A block the unit refuses three times fails the read; with --retries 1 the whole read is
// run again and succeeds.
void TestCliUnit::retriesRepeatAWholeTransfer()
{
    TestEnv env;
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.cfg"));
    {
        Sim sim(dir.path(), {"--block-fault", "refuse", "--block", "5", "--times", "3"});
        const Run r = ctl(sim.dev() + QStringList {"-q", "--language", "2", "unit", "read", "-o", out});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains("block 5"), r.err.constData());
        QVERIFY(!QFileInfo::exists(out));
    }
    Sim sim(dir.path(), {"--block-fault", "refuse", "--block", "5", "--times", "3"}, QStringLiteral("tty-again"));
    const Run r = ctl(sim.dev() + QStringList {"--language", "2", "unit", "read", "-o", out, "--retries", "1"});
    QVERIFY2(r.code == 0, r.err.constData());
    QVERIFY2(
        r.err.contains("smsv48ctl: try 1 of 2 failed (block 5 of the configuration could not be read); trying again"),
        r.err.constData());
    QVERIFY(readAll(out).endsWith(":00000001FF\r\n"));
    QCOMPARE(sim.wire().count(":HR3:0080:0000<CR>"), 2); // the whole read twice
}

QTEST_MAIN(TestCliUnit)
#include "test_cli_unit.moc"
