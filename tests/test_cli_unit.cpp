// smsv48ctl against its built-in simulated unit on a virtual clock: what goes over the wire,
// the files written, and the one line a script sees for every result, refusal and fault.
#include "CliRun.h"
#include "TestEnv.h"

#include "core/Settings.h"
#include "image/HexWriter.h"
#include "image/Image.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QtTest>

using namespace CliRun;

namespace {
const QByteArray SimNotice = "smsv48ctl: using the simulated unit (no hardware)\n";
// Said also with -q; in German when no language is given (the tests' system language).
const QByteArray SimNoticeDe = "smsv48ctl: das simulierte Gerät wird verwendet (keine Hardware)\n";
const QByteArray GoodFirmware = ":10000000000102030405060708090A0B0C0D0E0F78\r\n"
                                ":10001000101112131415161718191A1B1C1D1E1F68\r\n:00000001FF\r\n";

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

QJsonObject jsonOf(const Run& r)
{
    const QJsonDocument doc = QJsonDocument::fromJson(r.out);
    if (!doc.isObject())
        qWarning("not one JSON object: %s / %s", r.out.constData(), r.err.constData());
    return doc.object();
}

// "%d" in a test table's arguments stands for the test's folder.
QStringList inDir(const QStringList& args, const QString& dir)
{
    QStringList out;
    for (const QString& a : args)
        out << QString(a).replace(QStringLiteral("%d"), dir);
    return out;
}

QMap<QString, QString> envOf(const QStringList& pairs)
{
    QMap<QString, QString> env;
    for (const QString& p : pairs)
        env.insert(p.section('=', 0, 0), p.section('=', 1));
    return env;
}
} // namespace

class TestCliUnit : public QObject {
    Q_OBJECT
    // One program folder for all rows of the tables (setting one up costs more than a run);
    // the runs are pointed at it whatever folder the test functions set up meanwhile.
    std::unique_ptr<TestEnv> m_shared;
    QMap<QString, QString> shared(QMap<QString, QString> env = {})
    {
        if (!m_shared)
            m_shared = std::make_unique<TestEnv>();
        env.insert(QStringLiteral("SMSV48_HOME"), m_shared->root());
        env.insert(QStringLiteral("SMSV48_SETTINGS_DIR"), m_shared->settingsDir());
        return env;
    }

private slots:
    void commandsOnTheWire_data();
    void commandsOnTheWire();
    void refusedBeforeAnythingIsSent_data();
    void refusedBeforeAnythingIsSent();
    void faultsEndWithOneLine_data();
    void faultsEndWithOneLine();
    void standardStreamsQuietVerboseAndOneLanguage();
    void jsonResultsFieldByField();
    void verifyAndDiffFindWhatTheUnitHoldsOtherwise();
    void retriesRepeatAWholeTransfer();
    void threeUnitsWrittenOneAfterTheOther();
    void simulatedUnitOnlyWhenAskedFor();
    void traceRecordsTheWireWithSecretsMasked();
};

// Each command's line to the unit (secrets from the options, the environment or stdin) and
// what it prints.
void TestCliUnit::commandsOnTheWire_data()
{
    QTest::addColumn<QString>("sim");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("env");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("wire");
    const QStringList none;
    const QStringList pw {"SMSV48_PASSWORD=4711"};
    QTest::newRow("status") << "--fw 123 --hw 200 --inputs 5" << QStringList {"unit", "status"} << none << QByteArray()
                            << QByteArray("Inputs 1-8: 10100000\nRelays 1-8: 00000000\n")
                            << QByteArray(" > :HR1 CT:0010 AD:0060<CR>");
    QTest::newRow("versions") << "--fw 123 --hw 200" << QStringList {"unit", "status"} << none << QByteArray()
                              << QByteArray("Hardware version: 2.00\nFirmware version: 1.23\n") << QByteArray();
    QTest::newRow("relay") << "" << QStringList {"relay", "2", "on", "--password", "1234"} << none << QByteArray()
                           << QByteArray("Relays 1-8: 01000000\n") << QByteArray(" > :RS2 PW:1234<CR>");
    QTest::newRow("serial set") << "" << QStringList {"param", "serial", "set", "204518"} << none << QByteArray()
                                << QByteArray() << QByteArray(" > :06000000323034353138");
    QTest::newRow("serial get") << "--serial 204518" << QStringList {"param", "serial", "get"} << none << QByteArray()
                                << QByteArray("204518\n") << QByteArray(" > :HR2 CT:0010 AD:0000<CR>");
    QTest::newRow("validity set") << "" << QStringList {"param", "validity", "set", "5", "--password", "1234"} << none
                                  << QByteArray() << QByteArray() << QByteArray(" > :0100200005DA");
    QTest::newRow("pin change") << "" << QStringList {"param", "pin", "change", "0000", "4321", "--password", "1234"}
                                << none << QByteArray() << QByteArray()
                                << QByteArray(" > :PIN PW:1234 PA:0000 PN:4321<CR>");
    QTest::newRow("password from env") << "" << QStringList {"relay", "2", "on"} << pw << QByteArray()
                                       << QByteArray("Relays 1-8: 01000000\n") << QByteArray(" > :RS2 PW:4711<CR>");
    QTest::newRow("stdin over env") << "" << QStringList {"relay", "3", "on", "--password", "-"} << pw
                                    << QByteArray("8642\r\n") << QByteArray() << QByteArray(" > :RS3 PW:8642<CR>");
    QTest::newRow("option over env") << "" << QStringList {"relay", "3", "off", "--password", "1111"} << pw
                                     << QByteArray() << QByteArray() << QByteArray(" > :RC3 PW:1111<CR>");
    QTest::newRow("pins from env") << "--pin 2580" << QStringList {"param", "pin", "change"}
                                   << QStringList {"SMSV48_PASSWORD=4711", "SMSV48_PIN=2580", "SMSV48_NEW_PIN=1357"}
                                   << QByteArray() << QByteArray() << QByteArray(" > :PIN PW:4711 PA:2580 PN:1357<CR>");
    QTest::newRow("pins from stdin") << "--pin 1357"
                                     << QStringList {"--password", "-", "param", "pin", "change", "-", "-"} << none
                                     << QByteArray("9753\n1357\n2468\n") << QByteArray()
                                     << QByteArray(" > :PIN PW:9753 PA:1357 PN:2468<CR>");
    QTest::newRow("firmware") << "--fw 90 --fw-after-update 100" << QStringList {"firmware", "%d/unit.prg", "--yes"}
                              << none << QByteArray() << QByteArray() << QByteArray(" > :00000001FF<CR>");
}

void TestCliUnit::commandsOnTheWire()
{
    QFETCH(QString, sim);
    QFETCH(QStringList, args);
    QFETCH(QStringList, env);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, wire);
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("unit.prg")), GoodFirmware);
    const Unit unit(dir.path(), sim);
    const Run r = unit.run(QStringList {"--language", "2"} + inDir(args, dir.path()), input, shared(envOf(env)));
    QVERIFY2(r.code == 0, r.err.constData());
    QVERIFY2(r.out.contains(out), r.out.constData());
    QVERIFY2(unit.wire().contains(wire), unit.wire().right(600).constData());
}

// A wrong command line, a bad value or an output that cannot be written: one line naming it,
// nothing on stdout and nothing to the unit.
void TestCliUnit::refusedBeforeAnythingIsSent_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("said");
    const QString cfg = QStringLiteral("%d/site.cfg");
    const auto row = [](const char* name, const QStringList& args, int code, const QString& said) {
        QTest::newRow(name) << args << code << said;
    };
    row("unknown command", {"frobnicate"}, 2, "unknown command \"frobnicate\" (see smsv48ctl --help)");
    row("unknown option", {"unit", "status", "--bogus"}, 2, "unknown option --bogus (see smsv48ctl --help)");
    row("extra argument", {"unit", "status", "extra"}, 2, "too many arguments: extra");
    row("two files", {"unit", "write", cfg, cfg}, 2, "too many arguments: %d/site.cfg");
    row("password to unit", {"unit", "status", "--password", "1234"}, 2, "unit does not know the option --password");
    row("output to status", {"unit", "status", "-o", "x.cfg"}, 2, "unit status does not take the option --output");
    row("option twice", {"profile", "to-json", cfg, "--device", "sim"}, 2, "option --device given twice");
    row("backup to verify", {"unit", "verify", cfg, "--no-backup"}, 2,
        "unit verify does not take the option --no-backup");
    row("retries", {"unit", "write", cfg, "--retries", "x"}, 2, "--retries takes a number 0..99, not \"x\"");
    row("settings", {"--settings", "garbage", "unit", "status"}, 2, "Invalid port settings \"garbage\"");
    row("language", {"--language", "7", "unit", "status"}, 2, "nicht \"7\"");
    row("short password", {"relay", "1", "on", "--password", "123"}, 2, "the unit password has 4 characters, not 3");
    row("password x", {"param", "validity", "set", "7", "--password", "x"}, 2, "4 characters, not 1");
    row("relay 5", {"relay", "5", "on", "--password", "1234"}, 2, "relay takes a number 1..4 and on or off");
    row("validity 300", {"param", "validity", "set", "300", "--password", "1234"}, 2, "a number 0..255");
    row("password to get", {"param", "serial", "get", "--password", "1234"}, 2,
        "param serial get does not take the option --password");
    row("read without -o", {"unit", "read"}, 2, "unit read needs -o FILE.cfg");
    row("device without value", {"unit", "status", "--device"}, 2, "the option --device needs a value");
    row("firmware unconfirmed", {"firmware", cfg}, 2, "confirm with --yes");
    row("no stdin line", {"relay", "4", "on", "--password", "-"}, 2, "no line on standard input");
    row("bad pin", {"param", "pin", "set-default", "12a4"}, 2, "digits only");
    row("firmware checksum", {"firmware", "%d/bad.prg", "--yes"}, 5, "line 2");
    row("not 512 lines", {"unit", "write", "%d/short.cfg"}, 5, "512 data lines");
    row("missing folder", {"unit", "read", "-o", "%d/missing/unit.cfg"}, 5, "the folder %d/missing does not exist");
    row("file as folder", {"unit", "read", "-o", "%d/short.cfg/unit.cfg"}, 5, "is not a folder");
    row("folder as file", {"unit", "read", "-o", "%d"}, 5, "not a regular file");
    row("trace folder missing", {"unit", "status", "--trace", "%d/no/t.txt"}, 5, "%d/no/t.txt");
    row("trace to folder", {"unit", "status", "--trace", "%d"}, 5, "smsv48ctl: %d");
}

void TestCliUnit::refusedBeforeAnythingIsSent()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, said);
    const QMap<QString, QString> home = shared();
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("site.cfg")), readAll(m_shared->path("UserProfile/SMSV48_Default.cfg")));
    writeFile(dir.filePath(QStringLiteral("short.cfg")),
              ":1000000010000000000000000000000000000000E0\r\n:00000001FF\r\n");
    writeFile(dir.filePath(QStringLiteral("bad.prg")), QByteArray(GoodFirmware).replace("1F68", "1F69"));
    const Unit unit(dir.path(), QString());
    // An option given twice is refused: the language row gives its own.
    const QStringList language = args.contains("--language") ? QStringList() : QStringList {"--language", "2"};
    const Run r = unit.run(language + inDir(args, dir.path()), {}, home);
    QVERIFY2(r.code == code, qPrintable(QString::number(r.code) + ' ' + r.err));
    QVERIFY2(r.lastLine().startsWith("smsv48ctl: ") && r.lastLine().contains(said.replace("%d", dir.path()).toUtf8()),
             r.err.constData());
    if (code == 2)
        QVERIFY2(r.err.count('\n') == 1, r.err.constData());
    QVERIFY(r.out.isEmpty());
    QVERIFY2(unit.wire().isEmpty(), unit.wire().left(300).constData());
}

// Faults of the unit: the exit code, the last line, and what the tool left on the wire.
void TestCliUnit::faultsEndWithOneLine_data()
{
    QTest::addColumn<QString>("sim");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QByteArray>("onWire");
    QTest::addColumn<QByteArray>("notOnWire");
    const QStringList write {"unit", "write", "--no-backup", "%d/site.cfg"};
    const QStringList read {"unit", "read", "-o", "%d/x.cfg"};
    const QString tool = QString::number(SMSV48_VERSION_MAJOR) + QLatin1Char('.')
        + QString::number(SMSV48_VERSION_MINOR % 10) + QLatin1Char('0');
    QTest::newRow("silent") << "--silent" << QStringList {"unit", "status"} << 3 << "sim: the unit does not answer"
                            << QByteArray(" > <CR>") << QByteArray(" < ");
    QTest::newRow("erased") << "--erased" << read << 1 << "0xFF" << QByteArray(" > :HR3:0080:0000<CR>")
                            << QByteArray(" > :HW");
    QTest::newRow("status lost") << "--status-lost 3" << write << 3 << "does not answer" << QByteArray(" > <CR>")
                                 << QByteArray(":HW3");
    QTest::newRow("firmware mismatch")
        << "--fw 250" << read << 1 << QStringLiteral("firmware version 2.50 does not match this program (%1)").arg(tool)
        << QByteArray(" > <CR>") << QByteArray(":HR3");
    // A line given up: ESC leaves the unit, never the end record.
    QTest::newRow("line refused")
        << "--e-line 7" << write << 4
        << "The unit's configuration is now incomplete (6 of 512 records written) and must be written again."
        << QByteArray(" > <ESC>") << QByteArray(" > :00000001FF");
    QTest::newRow("write refused") << "--refuse-write" << write << 4 << "\":HW3 PW:****\""
                                   << QByteArray(" > :HW3 PW:6054<CR>") << QByteArray(" > :1000");
    QTest::newRow("port gone") << "--vanish-after 20" << read << 3 << "smsv48ctl: " << QByteArray(" > :HR3:0080:0000")
                               << QByteArray(" > :HR3:0080:1F80");
    QTest::newRow("block refused") << "--block-fault refuse --block 5 --times 3" << read << 1 << "block 5"
                                   << QByteArray(" > :HR3:0080:0200") << QByteArray(" > :HR3:0080:0280");
}

void TestCliUnit::faultsEndWithOneLine()
{
    QFETCH(QString, sim);
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, said);
    QFETCH(QByteArray, onWire);
    QFETCH(QByteArray, notOnWire);
    const QMap<QString, QString> home = shared();
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("site.cfg")), readAll(m_shared->path("UserProfile/SMSV48_Default.cfg")));
    const Unit unit(dir.path(), sim);
    // An option given twice is refused: the language row gives its own.
    const QStringList language = args.contains("--language") ? QStringList() : QStringList {"--language", "2"};
    const Run r = unit.run(language + inDir(args, dir.path()), {}, home);
    QVERIFY2(r.code == code, qPrintable(QString::number(r.code) + ' ' + r.err));
    QVERIFY2(r.lastLine().startsWith("smsv48ctl: ") && r.lastLine().contains(said.toUtf8()), r.err.constData());
    QVERIFY2(!r.err.contains("6054"), r.err.constData());
    const QByteArray wire = unit.wire();
    QVERIFY2(wire.contains(onWire), wire.right(600).constData());
    QVERIFY2(!wire.contains(notOnWire), wire.right(600).constData());
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("x.cfg"))));
    QVERIFY(!QFileInfo::exists(m_shared->path(QStringLiteral("Backups"))));
}

// "-" is standard input or output; results alone on stdout; -q silences the rest, -v adds
// the link's events; every line of a run is in the run's one language.
void TestCliUnit::standardStreamsQuietVerboseAndOneLanguage()
{
    TestEnv env;
    QTemporaryDir dir;
    const QString cfg = dir.filePath(QStringLiteral("site.cfg"));
    writeFile(cfg, profileText(QStringLiteral("Strom da"), 3));
    const Unit unit(dir.path(), "--image " + cfg);

    // The unit's configuration on stdout, byte for byte the file it was started with; progress
    // on stderr only.
    Run r = unit.run({"unit", "read", "-o", "-"});
    QVERIFY2(r.code == 0, r.err.constData());
    QCOMPARE(r.out, readAll(cfg));
    QVERIFY2(r.err.contains("Lesen 64/64"), r.err.constData());
    r = unit.run({"-q", "unit", "read", "-o", "-"});
    QCOMPARE(r.out, readAll(cfg));
    QCOMPARE(r.err, SimNoticeDe);
    r = unit.run({"--language", "2", "unit", "status", "-v"});
    QVERIFY2(r.code == 0 && r.err.contains(" - handshake") && r.err.contains(" > <CR>"), r.err.constData());
    QVERIFY(r.out.startsWith("Inputs 1-8: ") && !r.out.contains("smsv48.link"));
    r = unit.run({"--language", "2", "unit", "status"});
    QCOMPARE(r.err, SimNotice);

    // Profiles through pipes: to-json from stdin, from-json from stdin to stdout.
    const Run json = ctl({"profile", "to-json", "-"}, readAll(cfg));
    QVERIFY2(json.code == 0, json.err.constData());
    QCOMPARE(json.out, ctl({"profile", "to-json", cfg}).out);
    r = ctl({"profile", "from-json", "-", "-o", "-"}, json.out);
    QVERIFY2(r.code == 0 && r.err.isEmpty(), r.err.constData());
    QCOMPARE(r.out, readAll(cfg));
    // A unit written from stdin; a damaged stdin is named "-" and refused before anything is sent.
    r = unit.run({"-q", "--no-backup", "unit", "write", "-"}, readAll(cfg));
    QVERIFY2(r.code == 0 && r.out.isEmpty() && r.err == SimNoticeDe, r.err.constData());
    QVERIFY(unit.wire().contains(" > :HW3 PW:6054<CR>"));
    const int before = unit.wire().size();
    r = unit.run({"-q", "--language", "2", "unit", "write", "-"}, readAll(cfg).left(300));
    QCOMPARE(r.code, 5);
    QVERIFY2(r.err.startsWith("smsv48ctl: -: line 7: "), r.err.constData());
    QCOMPARE(unit.wire().size(), before);

    // Italian throughout: the notice of the simulated unit, the progress and the failure.
    r = unit.run({"--language", "3", "unit", "read", "-o", dir.filePath("missing/x.cfg")});
    QCOMPARE(r.code, 5);
    QVERIFY2(r.err.contains("la cartella") && r.err.contains("non è stato letto nulla"), r.err.constData());
    r = unit.run({"--language", "3", "unit", "read", "-o", "-"});
    QVERIFY2(r.code == 0, r.err.constData());
    const QList<QByteArray> lines = r.err.trimmed().split('\n');
    QVERIFY(lines.size() >= 3);
    QCOMPARE(lines[0], QByteArray("smsv48ctl: viene usato il dispositivo simulato (nessun hardware)"));
    for (int i = 1; i < lines.size(); ++i)
        QVERIFY2(lines[i].startsWith("lettura "), lines[i].constData());
}

// --json: one object per command on stdout, fields rather than sentences, for results and
// for outcomes that failed.
void TestCliUnit::jsonResultsFieldByField()
{
    TestEnv env;
    QTemporaryDir dir;
    const Unit unit(dir.path(), "--fw 103 --hw 200 --inputs 5 --serial 204518 --pin 2580");
    Run r = unit.run({"-q", "unit", "status", "--json"});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.err, SimNoticeDe);
    QJsonObject o = jsonOf(r);
    QCOMPARE(o.value("command").toString(), QStringLiteral("unit status"));
    QCOMPARE(o.value("ok").toBool(), true);
    QCOMPARE(o.value("exitCode").toInt(-1), 0);
    QCOMPARE(o.value("inputs").toArray(), (QJsonArray {true, false, true, false, false, false, false, false}));
    QCOMPARE(o.value("relays").toArray(), (QJsonArray {false, false, false, false, false, false, false, false}));
    QCOMPARE(o.value("hardwareVersion").toString(), QStringLiteral("2.00"));
    QCOMPARE(o.value("firmwareVersion").toString(), QStringLiteral("1.03"));
    QCOMPARE(o.value("device").toString(), QStringLiteral("sim"));
    const QList<QStringList> gets {{"serial", "204518"}, {"pin", "2580"}, {"validity", "167"}};
    for (const QStringList& g : gets) {
        o = jsonOf(unit.run({"-q", "param", g[0], "get", "--json"}));
        QCOMPARE(o.value("command").toString(), "param " + g[0] + " get");
        QCOMPARE(o.value(g[0]).toVariant().toString(), g[1]);
    }
    const QString read = dir.filePath(QStringLiteral("read.cfg"));
    o = jsonOf(unit.run({"-q", "unit", "read", "-o", read, "--json"}));
    QCOMPARE(o.value("file").toString(), read);
    QVERIFY(readAll(read).endsWith(":00000001FF\r\n"));

    // The ports the system lists (here: as SMSV48_SERIAL_PORTS gives them) and COM 1..COM 8:
    // COM 1 left to the automatic choice, the others set to the simulated unit (TestEnv).
    const QString port = dir.filePath(QStringLiteral("ttyUSB0"));
    Settings::set(QStringLiteral("Ports"), QStringLiteral("COM1"), QString());
    r = ctl({"ports", "--json"}, {}, {{"SMSV48_SERIAL_PORTS", port}});
    QCOMPARE(r.code, 0);
    o = jsonOf(r);
    QCOMPARE(o.value("ports").toArray().size(), 1);
    QCOMPARE(o.value("ports").toArray()[0].toObject().value("systemLocation").toString(), port);
    QVERIFY(o.value("ports").toArray()[0].toObject().contains("vendorId"));
    QCOMPARE(o.value("com").toArray().size(), 8);
    QCOMPARE(o.value("com").toArray()[0].toObject(), (QJsonObject {{"port", "COM 1"}, {"device", port}}));
    QCOMPARE(o.value("com").toArray()[1].toObject().value("device").toString(), QStringLiteral("sim"));
    r = ctl({"ports"}, {}, {{"SMSV48_SERIAL_PORTS", ""}});
    QVERIFY(r.code == 0 && r.out.startsWith("COM 1: -\n"));

    // A firmware update: the lines sent and acknowledged.
    writeFile(dir.filePath(QStringLiteral("unit.prg")), GoodFirmware);
    r = Unit(dir.path(), "--fw 90 --fw-after-update 100")
            .run({"-q", "firmware", dir.filePath("unit.prg"), "--yes", "--json"});
    QVERIFY2(r.code == 0, r.err.constData());
    o = jsonOf(r);
    QCOMPARE(o.value("outcome").toString(), QStringLiteral("ok"));
    QCOMPARE(o.value("linesSent").toInt(), 2);
    QCOMPARE(o.value("linesAccepted").toInt(), 2);

    // Failures: the outcome by name, the exit code, the line given up; the sentence on stderr.
    r = Unit(dir.path(), "--e-line 7")
            .run({"-q", "--language", "2", "unit", "write", "--no-backup", env.path("UserProfile/SMSV48_Default.cfg"),
                  "--json"});
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
    QVERIFY(r.lastLine().startsWith("smsv48ctl: Line 7 ("));
    r = Unit(dir.path(), "--silent").run({"-q", "param", "serial", "get", "--json"});
    QCOMPARE(r.code, 3);
    o = jsonOf(r);
    QCOMPARE(o.value("outcome").toString(), QStringLiteral("noAnswer"));
    QCOMPARE(o.value("exitCode").toInt(), 3);
}

// A unit holding another SMS text and another recipient than the file: verify and diff name
// both fields; the same file is equal. Relays and writes the unit refuses: exit code 4.
void TestCliUnit::verifyAndDiffFindWhatTheUnitHoldsOtherwise()
{
    TestEnv env;
    QTemporaryDir dir;
    const QString held = dir.filePath(QStringLiteral("held.cfg")), other = dir.filePath(QStringLiteral("other.cfg"));
    writeFile(held, profileText(QStringLiteral("Strom da"), 3));
    writeFile(other, profileText(QStringLiteral("Strom weg"), 4));
    const Unit unit(dir.path(), "--image " + held + " --serial 314159");

    Run r = unit.run({"-q", "unit", "verify", held});
    QVERIFY2(r.code == 0 && r.out.isEmpty(), r.out.constData());
    r = unit.run({"-q", "unit", "verify", other});
    QCOMPARE(r.code, 1);
    QCOMPARE(QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts),
             (QStringList {"alarmInput.recipients: +3 -4", "powerOn.text: \"Strom weg\" -> \"Strom da\""}));
    r = unit.run({"-q", "unit", "verify", other, "--json"});
    QCOMPARE(r.code, 1);
    const QJsonObject o = jsonOf(r);
    QCOMPARE(o.value("equal").toBool(true), false);
    QCOMPARE(o.value("outcome").toString(), QStringLiteral("ok")); // the read went well
    const QJsonArray changes = o.value("differences").toArray();
    QCOMPARE(changes.size(), 2);
    QCOMPARE(changes[1].toObject(),
             (QJsonObject {{"field", "powerOn.text"}, {"before", "Strom weg"}, {"after", "Strom da"}}));
    // "unit" on either side of a diff.
    r = unit.run({"-q", "profile", "diff", "unit", other});
    QCOMPARE(r.code, 1);
    QCOMPARE(QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts),
             (QStringList {"alarmInput.recipients: +4 -3", "powerOn.text: \"Strom da\" -> \"Strom weg\""}));
    r = unit.run({"-q", "profile", "diff", held, "unit"});
    QVERIFY2(r.code == 0 && r.out.isEmpty(), r.err.constData());
    // Read into a folder: the file is named after the unit's serial number.
    QDir().mkpath(dir.filePath(QStringLiteral("site")));
    r = unit.run({"-q", "unit", "read", "-o", dir.filePath(QStringLiteral("site")) + "/"});
    QVERIFY2(r.code == 0, r.err.constData());
    QCOMPARE(readAll(dir.filePath(QStringLiteral("site/314159.cfg"))), readAll(held));

    // A unit guarded by a password refuses a wrong one.
    ProfileData d;
    d.users[0].password = QStringLiteral("4711");
    d.users[0].active = true;
    Image img;
    HexWriter::buildImage(d, img);
    writeFile(held, img.hexText());
    r = unit.run({"-q", "--language", "2", "relay", "2", "on", "--password", "1234"});
    QCOMPARE(r.code, 4);
    // The unit's "E" to the relay command: the sentence for a refused unit password.
    QCOMPARE(r.err,
             SimNotice
                 + "smsv48ctl: The unit refused the command: wrong unit password; the program uses user 1's "
                   "password from the phone book.\n");
    r = unit.run({"-q", "relay", "2", "on", "--password", "4711"});
    QVERIFY2(r.code == 0 && r.out == "Relais 1-8: 01000000\n", r.err.constData());
    r = Unit(dir.path(), "--refuse-write").run({"-q", "param", "serial", "set", "123456"});
    QCOMPARE(r.code, 4);
}

// A block the unit refuses three times fails the read (see faultsEndWithOneLine); with
// --retries 1 the whole read is run again and succeeds.
void TestCliUnit::retriesRepeatAWholeTransfer()
{
    TestEnv env;
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.cfg"));
    const Unit unit(dir.path(), "--block-fault refuse --block 5 --times 3");
    const Run r = unit.run({"--language", "2", "unit", "read", "-o", out, "--retries", "1"});
    QVERIFY2(r.code == 0, r.err.constData());
    QVERIFY2(
        r.err.contains("smsv48ctl: try 1 of 2 failed (block 5 of the configuration could not be read); trying again"),
        r.err.constData());
    QVERIFY(readAll(out).endsWith(":00000001FF\r\n"));
    QCOMPARE(unit.wire().count(" > :HR3:0080:0000<CR>"), 2); // the whole read twice
}

// As a script would: three units written one after the other, each kept as a backup under
// its serial number first and read back afterwards, the result of each as JSON.
void TestCliUnit::threeUnitsWrittenOneAfterTheOther()
{
    TestEnv env;
    QTemporaryDir dir;
    const QString site = dir.filePath(QStringLiteral("site.cfg"));
    writeFile(site, profileText(QStringLiteral("Anlage bereit"), 5));
    for (int i = 1; i <= 3; ++i) {
        const QString held = dir.filePath(QStringLiteral("held%1.cfg").arg(i));
        const QString serial = QStringLiteral("70000%1").arg(i);
        writeFile(held, profileText(QStringLiteral("Einheit %1").arg(i), i));
        const Unit unit(dir.path(), QStringLiteral("--image %1 --serial %2").arg(held, serial), serial);
        const Run r = unit.run({"-q", "unit", "write", site, "--verify", "--json"});
        QVERIFY2(r.code == 0 && r.err == SimNoticeDe, r.err.constData());
        const QJsonObject o = jsonOf(r);
        QCOMPARE(o.value("verified").toBool(), true);
        QCOMPARE(o.value("serial").toString(), serial);
        QCOMPARE(o.value("linesAccepted").toInt(), 512);
        // The backup holds what the unit held before, byte for byte.
        const QString backup = o.value("backup").toString();
        QVERIFY2(backup.startsWith(env.path("Backups/" + serial + "/")), qPrintable(backup));
        QCOMPARE(readAll(backup), readAll(held));
        // On the wire: the backup's read, the write, the read back.
        const QByteArray wire = unit.wire();
        const int written = wire.indexOf(" > :HW3 PW:6054");
        QVERIFY(wire.indexOf(" > :HR3:0080:") >= 0 && wire.indexOf(" > :HR3:0080:") < written);
        QVERIFY(wire.lastIndexOf(" > :HR3:0080:") > wire.indexOf(" > :00000001FF<CR>", written));
    }
    const QStringList folders = QDir(env.path(QStringLiteral("Backups"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(folders, (QStringList {"700001", "700002", "700003"}));
    for (const QString& f : folders)
        QCOMPARE(QDir(env.path(QStringLiteral("Backups/") + f)).entryList(QDir::Files).size(), 1);
}

// No port and no --device: a failure, never the simulated unit; a port the system lists is
// used without a word; a port set to the simulated unit says so.
void TestCliUnit::simulatedUnitOnlyWhenAskedFor()
{
    TestEnv env;
    QTemporaryDir dir, settings;
    QMap<QString, QString> bare {{"SMSV48_SETTINGS_DIR", settings.path()}, {"SMSV48_SERIAL_PORTS", ""}};
    for (const QStringList& cmd :
         {QStringList {"unit", "status"}, QStringList {"unit", "write", env.path("UserProfile/SMSV48_Default.cfg")}}) {
        const Run r = ctl(QStringList {"--language", "2"} + cmd, {}, bare);
        QCOMPARE(r.code, 3);
        QVERIFY2(r.lastLine().startsWith("smsv48ctl: no serial port found"), r.err.constData());
        QVERIFY(r.out.isEmpty());
    }
    Run r = ctl({"--device", "sim", "--language", "2", "unit", "status"}, {}, bare);
    QVERIFY2(r.code == 0 && r.err == SimNotice && r.out.contains("Firmware version: 1.00"), r.err.constData());
    const QString port = dir.filePath(QStringLiteral("no-such-tty"));
    bare["SMSV48_SERIAL_PORTS"] = port;
    r = ctl({"unit", "status"}, {}, bare);
    QCOMPARE(r.code, 3);
    QVERIFY2(r.err.count("smsv48ctl: ") == 1 && r.err.startsWith("smsv48ctl: " + port.toUtf8()), r.err.constData());
    QSettings(QDir(settings.path()).filePath(QStringLiteral("SMS_Switch_Vantor.ini")), QSettings::IniFormat)
        .setValue(QStringLiteral("Ports/COM1"), QStringLiteral("sim"));
    r = ctl({"--language", "2", "unit", "status"}, {}, bare);
    QVERIFY2(r.code == 0 && r.err == SimNotice && r.out.contains("Firmware version: 1.00"), r.err.constData());
}

// --trace: the traffic of one command, both ways, with the link's view and every secret
// masked; "-" puts it on standard error.
void TestCliUnit::traceRecordsTheWireWithSecretsMasked()
{
    TestEnv env;
    QTemporaryDir dir;
    const Unit unit(dir.path(), "--pin 2580");
    const QString relayTrace = dir.filePath(QStringLiteral("trace.txt")), pinTrace = dir.filePath("pin.txt");
    Run r = unit.run({"relay", "2", "on", "--password", "4711", "--trace", relayTrace});
    QCOMPARE(r.code, 0);
    QVERIFY(!r.err.contains("handshake")); // not on stderr without -v
    const QByteArray trace = readAll(relayTrace);
    QVERIFY2(trace.contains(" > :RS2 PW:****<CR>\n") && trace.contains(" - handshake\n") && trace.contains(" < >"),
             trace.constData());
    QVERIFY(!trace.contains("4711") && unit.wire().contains(" > :RS2 PW:4711<CR>"));
    r = unit.run({"param", "pin", "get", "--trace", pinTrace});
    QVERIFY(r.code == 0 && r.out.startsWith("PIN: 2580\n"));
    QVERIFY2(readAll(pinTrace).contains("> :HR2 CT:0010 AD:0010<CR>") && !readAll(pinTrace).contains("32353830"),
             readAll(pinTrace).constData());
    r = unit.run({"unit", "status", "--trace", "-"});
    QVERIFY2(r.code == 0 && r.err.contains(" > <CR>") && !r.out.contains("<CR>"), r.err.constData());
}

QTEST_MAIN(TestCliUnit)
#include "test_cli_unit.moc"
