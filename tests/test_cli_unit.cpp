// smsv48ctl against its built-in simulated unit on a virtual clock, run in this program: what
// goes over the wire, the files written, the one line and the one JSON object a script sees
// for every result, refusal and fault. A signal, a report's working folder and a unit at
// its real pace need a process of the tool's own.
#include "CliRun.h"
#include "TestEnv.h"

#include "core/Settings.h"
#include "image/HexWriter.h"
#include "image/Image.h"
#include "sim/SimUnit.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QThread>
#include <QtTest>
#include <csignal>

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

QJsonObject jsonOf(const QByteArray& text) { return QJsonDocument::fromJson(text).object(); }

// Whether actual holds what expected holds: objects key by key, arrays of the same size element
// by element, other values equal.
bool holds(const QJsonValue& actual, const QJsonValue& expected)
{
    if (expected.isObject()) {
        const QJsonObject e = expected.toObject();
        for (auto it = e.begin(); it != e.end(); ++it)
            if (!holds(actual.toObject().value(it.key()), it.value()))
                return false;
        return actual.isObject();
    }
    if (!expected.isArray())
        return actual == expected;
    const QJsonArray e = expected.toArray(), a = actual.toArray();
    for (int i = 0; i < e.size(); ++i)
        if (!holds(a.at(i), e.at(i)))
            return false;
    return actual.isArray() && a.size() == e.size();
}

// The wire log's time stamps (ms) of the lines from the tool that are exactly `line`.
QList<double> sentAt(const QByteArray& wire, const QByteArray& line)
{
    QList<double> at;
    for (const QByteArray& entry : wire.split('\n'))
        if (entry.endsWith(" > " + line))
            at << entry.left(entry.indexOf(' ')).toDouble();
    return at;
}
} // namespace

class TestCliUnit : public QObject {
    Q_OBJECT
    // One program folder for all rows of the tables (setting one up costs more than a run);
    // the runs are pointed at it whatever folder the test functions set up meanwhile.
    std::unique_ptr<TestEnv> m_shared;

    // The run of a table row: "%d" in its unit, arguments and environment stands for the test's
    // folder, which holds site.cfg, held.cfg and other.cfg (two profiles differing in a text and
    // a recipient), a short profile, a firmware file and one with a wrong checksum. Sim "-": no
    // --device sim.
    Run runRow(const QTemporaryDir& dir, QString sim, QStringList args, const QByteArray& input = {},
               const QStringList& env = {})
    {
        if (!m_shared)
            m_shared = std::make_unique<TestEnv>();
        QMap<QString, QString> vars {{"SMSV48_HOME", m_shared->root()},
                                     {"SMSV48_SETTINGS_DIR", m_shared->settingsDir()}};
        for (const QString& p : env)
            vars.insert(p.section('=', 0, 0), p.section('=', 1).replace(QStringLiteral("%d"), dir.path()));
        writeFile(dir.filePath(QStringLiteral("site.cfg")), readAll(m_shared->path("UserProfile/SMSV48_Default.cfg")));
        writeFile(dir.filePath(QStringLiteral("held.cfg")), profileText(QStringLiteral("Strom da"), 3));
        writeFile(dir.filePath(QStringLiteral("other.cfg")), profileText(QStringLiteral("Strom weg"), 4));
        writeFile(dir.filePath(QStringLiteral("short.cfg")),
                  ":1000000010000000000000000000000000000000E0\r\n:00000001FF\r\n");
        writeFile(dir.filePath(QStringLiteral("unit.prg")), GoodFirmware);
        writeFile(dir.filePath(QStringLiteral("bad.prg")), QByteArray(GoodFirmware).replace("1F68", "1F69"));
        args.replaceInStrings(QStringLiteral("%d"), dir.path());
        // An option given twice is refused: the language row gives its own.
        if (!args.contains("--language"))
            args.prepend(QStringLiteral("--language=2"));
        sim.replace(QStringLiteral("%d"), dir.path());
        const QByteArray in = input.startsWith('<') ? readAll(dir.filePath(QString::fromUtf8(input.mid(1)))) : input;
        return sim == "-" ? inProcess(args, in, vars) : Unit(dir.path(), sim).run(args, in, vars);
    }

public:
    static void initMain() { systemLanguageGerman(); }

private slots:
    void everyCommandAndOutcome_data();
    void everyCommandAndOutcome();
    void standardStreamsQuietVerboseAndOneLanguage();
    void threeUnitsWrittenOneAfterTheOther();
    void traceRecordsTheWireWithSecretsMasked();
    void pacingAndLostRepliesOverAWholeRead();
    void signalCancelsAWriteWithEscAndSaysSo();
};
// Every command and outcome, each in one run with -q: the exit code, one last line on stderr
// (passwords masked), what went over the wire (secrets from the options, the environment or
// stdin), and stdout: exactly the result's text, or with --json (an `out` beginning with "{") exactly
// one object holding the row's fields whose exitCode is the exit status. A refusal sends
// nothing; no file and no backup are left behind by a failure.
void TestCliUnit::everyCommandAndOutcome_data()
{
    QTest::addColumn<QString>("sim"); // the faults of the unit ("-": no --device sim)
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("said"); // in the last line on stderr
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("onWire");
    QTest::addColumn<QByteArray>("notOnWire");
    QTest::addColumn<int>("ends"); // end records on the wire (-1: not counted)
    QTest::addColumn<QStringList>("env");
    QTest::addColumn<QByteArray>("input");
    const auto row = [](const char* name, const QString& sim, const QStringList& args, int code, const QString& said,
                        const char* out, const char* onWire = "", const char* notOnWire = "", int ends = -1,
                        const QStringList& env = {}, const char* input = "") {
        QTest::newRow(name) << sim << args << code << said << QByteArray(out) << QByteArray(onWire)
                            << QByteArray(notOnWire) << ends << env << QByteArray(input);
    };
    const QString cfg = QStringLiteral("%d/site.cfg");
    const QStringList write {"unit", "write", "--no-backup", cfg}, read {"unit", "read", "-o", "%d/x.cfg"};
    const QStringList firmware {"firmware", "%d/unit.prg", "--yes"};
    const QStringList pw {"SMSV48_PASSWORD=4711"};
    const char* ok = R"({"outcome": "ok"})";
    const char* usage = R"({"outcome": "usage"})";
    const char* fileError = R"({"outcome": "fileError"})";
    // Commands that go through.
    row("status", "--fw 123 --hw 200 --inputs 5", {"unit", "status"}, 0, "",
        "Inputs 1-8: 10100000\nRelays 1-8: 00000000\nHardware version: 2.00\nFirmware version: 1.23\n",
        " > :HR1 CT:0010 AD:0060<CR>");
    row("relay", "", {"relay", "2", "on", "--password", "1234"}, 0, "", "Relays 1-8: 01000000\n",
        " > :RS2 PW:1234<CR>");
    row("serial set", "", {"param", "serial", "set", "204518"}, 0, "", "", " > :06000000323034353138");
    row("serial get", "--serial 204518", {"param", "serial", "get"}, 0, "", "204518\n", " > :HR2 CT:0010 AD:0000<CR>");
    row("validity set", "", {"param", "validity", "set", "5", "--password", "1234"}, 0, "", "", " > :0100200005DA");
    row("pin change", "", {"param", "pin", "change", "0000", "4321", "--password", "1234"}, 0, "", "",
        " > :PIN PW:1234 PA:0000 PN:4321<CR>");
    row("password from env", "", {"relay", "2", "on"}, 0, "", "Relays 1-8: 01000000\n", " > :RS2 PW:4711<CR>", "", -1,
        pw);
    row("stdin over env", "", {"relay", "3", "on", "--password", "-"}, 0, "", "Relays 1-8: 00100000\n",
        " > :RS3 PW:8642<CR>", "", -1, pw, "8642\r\n");
    row("option over env", "", {"relay", "3", "off", "--password", "1111"}, 0, "", "Relays 1-8: 00000000\n",
        " > :RC3 PW:1111<CR>", "", -1, pw);
    row("pins from env", "--pin 2580", {"param", "pin", "change"}, 0, "", "", " > :PIN PW:4711 PA:2580 PN:1357<CR>", "",
        -1, {"SMSV48_PASSWORD=4711", "SMSV48_PIN=2580", "SMSV48_NEW_PIN=1357"});
    row("pins from stdin", "--pin 1357", {"--password", "-", "param", "pin", "change", "-", "-"}, 0, "", "",
        " > :PIN PW:9753 PA:1357 PN:2468<CR>", "", -1, {}, "9753\n1357\n2468\n");
    // A block refused three times fails a read ("block refused" below); --retries 1 reads it all again.
    row("read retried", "--block-fault refuse --block 5 --times 3", read + QStringList {"--retries", "1"}, 0, "", "",
        " > :HR3:0080:1F80<CR>");
    row("firmware", "--fw 90 --fw-after-update 100", firmware, 0, "", "", " > :00000001FF<CR>");
    // A unit holding another SMS text and another recipient than the file: verify and diff (the
    // unit on either side) name both fields; the same file is equal. Read into a folder: the
    // file is named after the unit's serial number.
    const QString held = QStringLiteral("--image %d/held.cfg --serial 314159"), other = QStringLiteral("%d/other.cfg");
    row("verify equal", held, {"unit", "verify", "%d/held.cfg"}, 0, "", "");
    row("verify differs", held, {"unit", "verify", other}, 1, "",
        "alarmInput.recipients: +3 -4\npowerOn.text: \"Strom weg\" -> \"Strom da\"\n");
    row("json verify", held, {"--json", "unit", "verify", other}, 1, "",
        R"({"equal": false, "outcome": "ok", "differences": [{"field": "alarmInput.recipients"},
            {"field": "powerOn.text", "before": "Strom weg", "after": "Strom da"}]})");
    row("diff unit, file", held, {"profile", "diff", "unit", other}, 1, "",
        "alarmInput.recipients: +4 -3\npowerOn.text: \"Strom da\" -> \"Strom weg\"\n");
    row("diff file, unit", held, {"profile", "diff", "%d/held.cfg", "unit"}, 0, "", "");
    row("read into folder", held, {"--json", "unit", "read", "-o", "%d/"}, 0, "", R"({"file": "%d/314159.cfg"})");
    // No port and no --device: a failure, never the simulated unit; a port the system lists is
    // used without a word; a port set to the simulated unit says so. "ports" lists the system's
    // ports (as SMSV48_SERIAL_PORTS gives them) and what COM 1..COM 8 stand for.
    const QStringList noPorts {"SMSV48_SETTINGS_DIR=%d", "SMSV48_SERIAL_PORTS="};
    const QStringList onePort {"SMSV48_SETTINGS_DIR=%d", "SMSV48_SERIAL_PORTS=%d/no-such-tty"};
    const char* simStatus
        = "Inputs 1-8: 00000000\nRelays 1-8: 00000000\nHardware version: 1.20\nFirmware version: 1.00\n";
    row("no port", "-", {"unit", "status"}, 3, "smsv48ctl: no serial port found", "", "", "", -1, noPorts);
    row("no port to write", "-", {"unit", "write", cfg}, 3, "smsv48ctl: no serial port found", "", "", "", -1, noPorts);
    row("sim asked for", "-", {"--device", "sim", "unit", "status"}, 0, "using the simulated unit", simStatus, "", "",
        -1, noPorts);
    row("port set to sim", "-", {"unit", "status"}, 0, "using the simulated unit", simStatus, "", "", -1,
        {"SMSV48_SERIAL_PORTS="});
    row("listed port", "-", {"unit", "status"}, 3, "smsv48ctl: %d/no-such-tty", "", "", "", -1, onePort);
    row("ports", "-", {"ports"}, 0, "",
        "COM 1: -\nCOM 2: -\nCOM 3: -\nCOM 4: -\nCOM 5: -\nCOM 6: -\nCOM 7: -\nCOM 8: -\n", "", "", -1, noPorts);
    row("json ports", "-", {"--json", "ports"}, 0, "",
        R"({"ports": [{"systemLocation": "%d/no-such-tty"}],
            "com": [{"port": "COM 1", "device": "%d/no-such-tty"}, {}, {}, {}, {}, {}, {}, {}]})",
        "", "", -1, onePort);
    row("json ports sim", "-", {"--json", "ports"}, 0, "",
        R"({"com": [{"device": "sim"}, {}, {}, {}, {}, {}, {}, {}]})");
    // A unit written from stdin ("<file": the file on stdin); a damaged stdin is named "-".
    row("write from stdin", "", {"--no-backup", "unit", "write", "-"}, 0, "", "", " > :HW3 PW:6054<CR>", "", 1, {},
        "<site.cfg");
    row("damaged stdin", "", {"unit", "write", "-"}, 5, "smsv48ctl: -: line 2: ", "", "", "", -1, {},
        ":1000000010000000000000000000000000000000E0\r\n:10\r\n");
    // --json: fields rather than sentences.
    const QString unit = QStringLiteral("--fw 103 --hw 200 --inputs 5 --serial 204518 --pin 2580");
    row("json status", unit, {"--json", "unit", "status"}, 0, "",
        R"({"command": "unit status", "firmwareVersion": "1.03", "hardwareVersion": "2.00", "device": "sim",
            "inputs": [true, false, true, false, false, false, false, false], "outcome": "ok",
            "relays": [false, false, false, false, false, false, false, false]})");
    row("json serial", unit, {"--json", "param", "serial", "get"}, 0, "",
        R"({"command": "param serial get", "serial": "204518", "outcome": "ok"})");
    row("json pin", unit, {"--json", "param", "pin", "get"}, 0, "",
        R"({"command": "param pin get", "pin": "2580", "pin2": "", "outcome": "ok"})");
    row("json validity", unit, {"--json", "param", "validity", "get"}, 0, "",
        R"({"command": "param validity get", "validity": 167, "outcome": "ok"})");
    row("json firmware", "--fw 90 --fw-after-update 100", QStringList {"--json"} + firmware, 0, "",
        R"({"command": "firmware", "file": "%d/unit.prg", "linesAccepted": 2, "linesSent": 2, "outcome": "ok"})");
    // The command line: nothing is sent.
    row("two files", "", {"--json", "unit", "write", cfg, cfg}, 2, "too many arguments: %d/site.cfg", usage);
    row("password to unit", "", {"--json", "unit", "status", "--password", "1234"}, 2,
        "unit does not know the option --password", usage);
    row("output to status", "", {"--json", "unit", "status", "-o", "x.cfg"}, 2,
        "unit status does not take the option --output", usage);
    row("json twice", "", {"--json", "--json", "unit", "status"}, 2, "option --json given twice", usage);
    row("retries twice", "", {"--json", "unit", "read", "--retries", "1", "--retries", "2", "-o", "-"}, 2,
        "option --retries given twice", usage);
    row("retries", "", {"--json", "unit", "write", cfg, "--retries", "x"}, 2,
        "--retries takes a number 0..99, not \"x\"", usage);
    row("settings", "", {"--json", "--settings", "garbage", "unit", "status"}, 2, "Invalid port settings \"garbage\"",
        usage);
    row("language", "", {"--json", "--language", "7", "unit", "status"}, 2, "nicht \"7\"", usage);
    row("short password", "", {"relay", "1", "on", "--password", "123"}, 2, "the unit password has 4 characters, not 3",
        "");
    row("relay 5", "", {"relay", "5", "on", "--password", "1234"}, 2, "relay takes a number 1..4 and on or off", "");
    row("validity 300", "", {"param", "validity", "set", "300", "--password", "1234"}, 2, "a number 0..255", "");
    row("read without -o", "", {"--json", "unit", "read"}, 2, "unit read needs -o FILE.cfg", usage);
    row("device without value", "", {"--json", "unit", "status", "--device"}, 2, "the option --device needs a value",
        usage);
    row("firmware unconfirmed", "", {"--json", "firmware", cfg}, 2, "confirm with --yes", usage);
    row("no stdin line", "", {"relay", "4", "on", "--password", "-"}, 2, "no line on standard input", "");
    row("bad pin", "", {"param", "pin", "set-default", "12a4"}, 2, "digits only", "");
    // Files, before anything is sent.
    row("firmware checksum", "", {"--json", "firmware", "%d/bad.prg", "--yes"}, 5, "line 2", fileError);
    row("not 512 lines", "", {"--json", "unit", "write", "%d/short.cfg"}, 5, "512 data lines", fileError);
    row("input missing", "", {"--json", "unit", "write", "/nonexistent/site.cfg"}, 5, "/nonexistent/site.cfg",
        fileError);
    row("missing folder", "", {"--json", "unit", "read", "-o", "%d/missing/unit.cfg"}, 5,
        "the folder %d/missing does not exist", fileError);
    row("file as folder", "", {"--json", "unit", "read", "-o", "%d/short.cfg/unit.cfg"}, 5, "is not a folder",
        fileError);
    row("folder as file", "", {"--json", "unit", "read", "-o", "%d"}, 5, "not a regular file", fileError);
    row("trace folder missing", "", {"--json", "unit", "status", "--trace", "%d/no/t.txt"}, 5, "%d/no/t.txt",
        fileError);
    row("trace name too long", "", {"--json", "unit", "status", "--trace", "%d/" + QString(300, 't')}, 5, "ttt",
        fileError);
    // No unit, and faults of the unit.
    const QStringList jRead = QStringList {"--json"} + read, jWrite = QStringList {"--json"} + write;
    const QStringList jFirmware = QStringList {"--json"} + firmware;
    row("no such device", "-", {"--json", "--device", "/nonexistent/ttyUSB7", "unit", "status"}, 3,
        "/nonexistent/ttyUSB7", R"({"outcome": "noUnit"})");
    row("silent", "--silent", {"--json", "unit", "status"}, 3, "sim: the unit does not answer",
        R"({"outcome": "noAnswer"})", " > <CR>", " < ");
    row("json no answer", "--silent", {"--json", "param", "serial", "get"}, 3, "the unit does not answer",
        R"({"command": "param serial get", "detail": "the unit does not answer", "device": "sim",
            "messageKey": "gsMsgKeineAntwort", "outcome": "noAnswer"})");
    row("erased", "--erased", jRead, 1, "0xFF", R"({"outcome": "incomplete"})", " > :HR3:0080:0000<CR>", " > :HW");
    row("status lost", "--status-lost 3", jWrite, 3, "does not answer", R"({"outcome": "noAnswer"})", " > <CR>",
        ":HW3");
    row("firmware mismatch", "--fw 250", jRead, 1,
        QStringLiteral("firmware version 2.50 does not match this program (%1.%2)")
            .arg(SMSV48_VERSION_MAJOR)
            .arg(QString::number(SMSV48_VERSION_MINOR % 10) + '0'),
        R"({"outcome": "mismatch"})", " > <CR>", ":HR3");
    row("port gone", "--vanish-after 20", jRead, 3, "smsv48ctl: ", R"({"outcome": "portLost"})", " > :HR3:0080:0000",
        " > :HR3:0080:1F80");
    row("block refused", "--block-fault refuse --block 5 --times 3", jRead, 1, "block 5",
        R"({"outcome": "incomplete"})", " > :HR3:0080:0200", " > :HR3:0080:0280");
    // A write: refused before the first record, or a line given up part-way (ESC leaves the
    // unit, never the end record), a silent unit over retries, a lost port, a failed verify.
    row("write refused", "--refuse-write", jWrite, 4, "nothing was written", R"({"outcome": "refused"})",
        " > :HW3 PW:6054<CR>", " > :1000");
    row("line refused", "--e-line 7", jWrite, 4,
        "The unit's configuration is now incomplete (6 of 512 records written) and must be written again.",
        R"({"command": "unit write", "cause": "refused", "device": "sim",
            "detail": "Line 7 (:100060002020202020202020202020202020202090) was refused by the unit three times. The unit's configuration is now incomplete (6 of 512 records written) and must be written again.",
            "failedLine": 7, "file": "%d/site.cfg", "linesAccepted": 6, "linesSent": 7,
            "messageKey": "gsMsgZeileNichtGebrannt", "outcome": "incomplete"})",
        " > <ESC>", "", 0);
    row("silent unit, retried", "--silent-after 300", jWrite + QStringList {"--retries", "1"}, 3,
        "incomplete (300 of 512 records written)", R"({"outcome": "incomplete", "linesAccepted": 300})", "", "", 0);
    row("port lost", "--vanish-after 140", jWrite, 3,
        "lost. The unit's configuration is now incomplete (137 of 512 records written)",
        R"({"outcome": "incomplete", "linesAccepted": 137})", "", "", 0);
    row("verify reads fail", "--block-fault silent", jWrite + QStringList {"--verify"}, 1,
        "written completely, but the verify failed", R"({"outcome": "verifyFailed", "linesAccepted": 512})", "", "", 1);
    // A firmware update: its end record refused once and sent again, never confirmed, or a
    // unit that does not start afterwards.
    row("end record refused once", "--e-fw-end 1", jFirmware, 0, "", ok, "", "", 2);
    row("end record never confirmed", "--e-fw-end 9", jFirmware, 4, "firmware update did not complete",
        R"({"outcome": "incomplete"})", "", "", 3);
    row("no start after firmware", "--no-start", jFirmware, 3, "did not start after the firmware update",
        R"({"outcome": "incomplete"})", "", "", 1);
}

void TestCliUnit::everyCommandAndOutcome()
{
    QFETCH(QString, sim);
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, said);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, onWire);
    QFETCH(QByteArray, notOnWire);
    QFETCH(int, ends);
    QFETCH(QStringList, env);
    QFETCH(QByteArray, input);
    QTemporaryDir dir;
    const Run r = runRow(dir, sim, QStringList {"-q"} + args, input, env);
    QVERIFY2(r.code == code, qPrintable(QString::number(r.code) + ' ' + r.err));
    QVERIFY2(r.lastLine().startsWith("smsv48ctl: ") || code == 0, r.err.constData());
    QVERIFY2(r.lastLine().contains(said.replace("%d", dir.path()).toUtf8()), r.err.constData());
    QVERIFY2(QByteArray(r.err).replace(SimNotice, "").count('\n') <= 1, r.err.constData());
    QVERIFY2(!(r.err + r.out).contains("6054") && !(r.err + r.out).contains("4711"), r.err.constData());
    out.replace("%d", dir.path().toUtf8());
    if (!args.contains("--json")) {
        QCOMPARE(r.out, out);
    } else {
        QJsonParseError e;
        const QJsonObject o = QJsonDocument::fromJson(r.out, &e).object();
        QVERIFY2(e.error == QJsonParseError::NoError, r.out.constData());
        QCOMPARE(o.value("exitCode").toInt(-1), r.code);
        QCOMPARE(o.value("ok").toBool(), code == 0);
        QVERIFY2(holds(o, jsonOf(out)), r.out.constData());
    }
    const QByteArray wire = readAll(dir.filePath("unit.log"));
    if (code == 2 || code == 5)
        QVERIFY2(wire.isEmpty(), wire.left(300).constData());
    QVERIFY2(wire.contains(onWire) && (notOnWire.isEmpty() || !wire.contains(notOnWire)), wire.right(600).constData());
    QVERIFY2(ends < 0 || wire.count(" > :00000001FF<CR>\n") + wire.count(" > :00000001FF\n") == ends,
             wire.right(600).constData());
    QVERIFY(code == 0 || !QFileInfo::exists(dir.filePath(QStringLiteral("x.cfg"))));
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
    QVERIFY2(r.code == 0 && r.out == readAll(cfg) && r.err.contains("Lesen 64/64"), r.err.constData());
    r = unit.run({"--language", "2", "unit", "status", "-v"});
    QVERIFY2(r.code == 0 && r.err.contains(" - handshake") && r.err.contains(" > <CR>"), r.err.constData());
    QVERIFY(r.out.startsWith("Inputs 1-8: ") && !r.out.contains("smsv48.link"));

    // Profiles through pipes: to-json from stdin, from-json from stdin to stdout.
    const Run json = inProcess({"profile", "to-json", "-"}, readAll(cfg));
    QVERIFY2(json.code == 0 && json.out == inProcess({"profile", "to-json", cfg}).out, json.err.constData());
    r = inProcess({"profile", "from-json", "-", "-o", "-"}, json.out);
    QVERIFY2(r.code == 0 && r.err.isEmpty() && r.out == readAll(cfg), r.err.constData());

    // Italian throughout: the notice of the simulated unit, the progress and the failure.
    r = unit.run({"--language", "3", "unit", "read", "-o", dir.filePath("missing/x.cfg")});
    QVERIFY2(r.code == 5 && r.err.contains("la cartella") && r.err.contains("non è stato letto nulla"),
             r.err.constData());
    r = unit.run({"--language", "3", "unit", "read", "-o", "-"});
    const QStringList said = QString::fromUtf8(r.err).split('\n', Qt::SkipEmptyParts);
    QVERIFY2(r.code == 0 && said.size() >= 3, r.err.constData());
    QCOMPARE(said[0], QStringLiteral("smsv48ctl: viene usato il dispositivo simulato (nessun hardware)"));
    QCOMPARE(said.filter(QRegularExpression("^lettura ")).size(), said.size() - 1);
}

// As a script would: three units written one after the other, each kept as a backup under
// its serial number first and read back afterwards.
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
        const QJsonObject o = jsonOf(r.out);
        QVERIFY(o.value("verified").toBool() && o.value("serial").toString() == serial);
        // The backup, in the folder of the unit's serial number, holds what the unit held before.
        QVERIFY(o.value("backup").toString().startsWith(env.path("Backups/" + serial + "/")));
        QCOMPARE(readAll(o.value("backup").toString()), readAll(held));
        // On the wire: the backup's read, the write, the read back.
        const QByteArray wire = unit.wire();
        const int written = wire.indexOf(" > :HW3 PW:6054");
        QVERIFY(wire.indexOf(" > :HR3:0080:") >= 0 && wire.indexOf(" > :HR3:0080:") < written);
        QVERIFY(wire.lastIndexOf(" > :HR3:0080:") > wire.indexOf(" > :00000001FF<CR>", written));
    }
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
    QVERIFY(r.code == 0 && !r.err.contains("handshake")); // not on stderr without -v
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

// Every CR confirming a firmware write, the first and each one sent again after an "E", keeps
// 250 ms to the one before. Lost block replies spread over a whole read, each read again at
// once, do not make the unit one that stopped answering.
void TestCliUnit::pacingAndLostRepliesOverAWholeRead()
{
    TestEnv env;
    QTemporaryDir dir;
    const QString cfg = dir.filePath(QStringLiteral("site.cfg")), prg = dir.filePath(QStringLiteral("unit.prg"));
    writeFile(cfg, profileText(QStringLiteral("Strom da"), 1));
    writeFile(prg, GoodFirmware);
    const Unit confirming(dir.path(), "--e-confirm 2", "firmware");
    Run r = confirming.run({"firmware", prg, "--yes"});
    QVERIFY2(r.code == 0, r.err.constData());
    const QByteArray afterStart = confirming.wire().mid(confirming.wire().indexOf(":HW4"));
    const QList<double> crs = sentAt(afterStart, "<CR>");
    QVERIFY2(crs.size() >= 3 && crs[1] - crs[0] >= 250 && crs[2] - crs[1] >= 250, afterStart.left(600).constData());

    const Unit losing(dir.path(), "--image " + cfg + " --block-fault silent --every 10", "read");
    r = losing.run({"-q", "unit", "read", "-o", "-"});
    QVERIFY2(r.code == 0 && r.out == readAll(cfg), r.err.constData());
    QCOMPARE(losing.wire().count(" > :HR3:0080:"), 64 + 7);
}

// Ctrl-C during a write (the built-in unit at its real pace, in a process of its own): ESC,
// no end record, the incomplete sentence, the trace, exit 130.
void TestCliUnit::signalCancelsAWriteWithEscAndSaysSo()
{
    TestEnv env;
    QTemporaryDir dir;
    const QString cfg = dir.filePath(QStringLiteral("site.cfg")), trace = dir.filePath(QStringLiteral("trace.txt"));
    const QString log = dir.filePath(QStringLiteral("wire.log"));
    writeFile(cfg, profileText(QStringLiteral("Strom da"), 1));
    const Run r
        = run(ctlPath(), {"--language", "2", "--device", "sim", "--trace", trace, "unit", "write", "--no-backup", cfg},
              {}, {{"SMSV48_SIM", "--log " + log}}, {}, 60000, [&](QProcess& p) {
                  QElapsedTimer t;
                  t.start();
                  while (readAll(trace).count(" > :10") < 5 && t.elapsed() < 20000)
                      QThread::msleep(20);
                  ::kill(pid_t(p.processId()), SIGINT);
              });
    QCOMPARE(r.code, 130);
    QVERIFY2(QRegularExpression(QStringLiteral("incomplete \\(\\d+ of 512 records written\\)"))
                 .match(QString::fromUtf8(r.err))
                 .hasMatch(),
             r.err.constData());
    const QByteArray wire = readAll(log);
    QVERIFY2(wire.count(" > :10") >= 5 && wire.mid(wire.lastIndexOf(" > :10")).contains("<ESC>"),
             wire.right(400).constData());
    QVERIFY(!wire.contains(" > :00000001FF"));
    QVERIFY(readAll(trace).contains(":HW3 PW:****"));
}

QTEST_MAIN(TestCliUnit)
#include "test_cli_unit.moc"
