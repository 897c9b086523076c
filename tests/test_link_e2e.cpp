// End to end: smsv48ctl against smsv48-sim over a pseudo-terminal, at the real timing.
#include "CliRun.h"
#include "Permissions.h"
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "link/PortResolver.h"
#include "link/SerialChannel.h"
#include "ui/PortSettingsDialog.h"
#include "ui/MainWindow.h"

#include <QComboBox>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <grp.h>
#include <sys/stat.h>

namespace {
// The simulated unit at its own 9600 baud: these runs keep the unit's real pacing.
struct Sim : CliRun::Sim {
    Sim(const QString& dir, const QStringList& extra)
        : CliRun::Sim(dir, extra, QStringLiteral("tty-unit"), QStringList())
    {
    }
};

struct Run {
    int code = -1;
    QString out, err;
    qint64 ms = 0;
};

// `env` is added to the test's environment, `input` is the program's stdin.
Run ctl(const QStringList& args, const QMap<QString, QString>& env = {}, const QByteArray& input = {})
{
    QProcess p;
    p.setProgram(QDir(TestEnv::builtBin()).filePath(QStringLiteral("smsv48ctl")));
    p.setArguments(args);
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    // Qt's complaint about a missing runtime folder is no line of the tool's.
    static QTemporaryDir runtime;
    if (!e.contains(QStringLiteral("XDG_RUNTIME_DIR")))
        e.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    for (auto it = env.begin(); it != env.end(); ++it)
        e.insert(it.key(), it.value());
    p.setProcessEnvironment(e);
    QElapsedTimer t;
    t.start();
    p.start();
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(120000);
    Run r;
    r.ms = t.elapsed();
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

QString lastLine(const QString& text)
{
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QString l = lines.isEmpty() ? QString() : lines.last();
    return l;
}
}

class TestLinkE2E : public QObject {
    Q_OBJECT
private slots:
    void statusRelayAndParameters();
    void firmwareUpdate();
    void failuresEndWithOneLineAndNonZeroExit();
    void busyPortIsRecognisedByItsErrorCode();
    void portWithoutPermissionNamesTheGroup();
    void unitVanishingMidReadEndsWithAMessage();
    void simulatedUnitOnlyWhenAskedFor();
    void secretsFromEnvironmentAndStdinNeverPrinted();
    void unusableReadOutputRefusedBeforeAnyTraffic();
    void writeStoppedPartWayExitsNonZeroAndSaysSo();
    void versionCheckOnTheCommandLine();
    void usageErrorsAndExitCodes();
    void traceRecordsTheWireWithSecretsMasked();
};

void TestLinkE2E::statusRelayAndParameters()
{
    TestEnv env;
    QTemporaryDir dir;
    Sim sim(dir.path(), {"--fw", "123", "--hw", "200", "--inputs", "5"});
    const QStringList dev {"--device", sim.device};
    Run r = ctl(dev + QStringList {"unit", "status"});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.contains(QStringLiteral("Firmwareversion: 1.23")), qPrintable(r.out));
    QVERIFY(r.out.contains(QStringLiteral("Hardwareversion: 2.00")));
    QVERIFY(r.out.contains(QStringLiteral("Eingänge 1-8: 10100000")));

    r = ctl(dev + QStringList {"relay", "2", "on", "--password", "1234"});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.contains(QStringLiteral("Relais 1-8: 01000000")), qPrintable(r.out + r.err));
    QVERIFY(sim.wire().contains(":RS2 PW:1234<CR>"));

    r = ctl(dev + QStringList {"param", "serial", "set", "204518"});
    QCOMPARE(r.code, 0);
    QVERIFY(sim.wire().contains(":HW2 PW:6054<CR>"));
    QVERIFY(sim.wire().contains(":06000000323034353138"));
    r = ctl(dev + QStringList {"param", "serial", "get"});
    QCOMPARE(r.out.trimmed(), QStringLiteral("204518"));

    r = ctl(dev + QStringList {"param", "validity", "set", "5", "--password", "1234"});
    QCOMPARE(r.code, 0);
    QVERIFY(sim.wire().contains(":0100200005DA"));
    QVERIFY(sim.wire().contains(":SMR PW:1234<CR>"));
    r = ctl(dev + QStringList {"param", "validity", "get"});
    QCOMPARE(r.out.trimmed(), QStringLiteral("5"));

    // A bad PIN is refused before anything is sent.
    const int before = sim.wire().size();
    r = ctl(dev + QStringList {"param", "pin", "set-default", "12a4"});
    QVERIFY(r.code != 0);
    QCOMPARE(sim.wire().size(), before);
    r = ctl(dev + QStringList {"param", "pin", "change", "0000", "4321", "--password", "1234"});
    QCOMPARE(r.code, 0);
    r = ctl(dev + QStringList {"param", "pin", "get"});
    QVERIFY2(r.out.startsWith(QStringLiteral("PIN: 4321\n")), qPrintable(r.out));
}

void TestLinkE2E::firmwareUpdate()
{
    TestEnv env;
    QTemporaryDir dir;
    Sim sim(dir.path(), {"--fw", "90", "--fw-after-update", "100"});
    const QString prg = dir.filePath(QStringLiteral("unit.prg"));
    QFile f(prg);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(":10000000000102030405060708090A0B0C0D0E0F78\r\n:10001000101112131415161718191A1B1C1D1E1F68\r\n:"
            "00000001FF\r\n");
    f.close();
    const QStringList dev {"--device", sim.device};
    // An older unit can be updated (the version question is answered by --yes).
    Run r = ctl(dev + QStringList {"firmware", prg, "--yes"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY(sim.wire().contains(":HW4 PW:6054<CR>"));
    QVERIFY(sim.wire().contains(":00000001FF<CR>"));
    r = ctl(dev + QStringList {"unit", "status"});
    QVERIFY(r.out.contains(QStringLiteral("firmware version: 1.00")));

    // A damaged file: refused with the line named, nothing sent.
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(":10000000000102030405060708090A0B0C0D0E0F78\r\n:10001000101112131415161718191A1B1C1D1E1F69\r\n:"
            "00000001FF\r\n");
    f.close();
    const int before = sim.wire().size();
    r = ctl(dev + QStringList {"--language", "2", "firmware", prg, "--yes"});
    QVERIFY(r.code != 0);
    QVERIFY2(lastLine(r.err).startsWith(QStringLiteral("smsv48ctl: ")) && r.err.contains(QStringLiteral("line 2")),
             qPrintable(r.err));
    QCOMPARE(sim.wire().size(), before);
}

void TestLinkE2E::failuresEndWithOneLineAndNonZeroExit()
{
    TestEnv env;
    QTemporaryDir dir;
    {
        Sim silent(dir.path(), {"--silent"});
        const Run r = ctl({"--device", silent.device, "--language", "2", "unit", "status"});
        QCOMPARE(r.code, 3);
        QVERIFY2(r.err.contains(QStringLiteral("does not answer")), qPrintable(r.err));
        QVERIFY(r.ms >= 3500);
    }
    QTemporaryDir dir2;
    {
        Sim erased(dir2.path(), {"--erased"});
        const Run r = ctl({"--device", erased.device, "unit", "read", "-o", dir2.filePath("x.cfg")});
        QCOMPARE(r.code, 1);
        QVERIFY2(lastLine(r.err).contains(QStringLiteral("0xFF")), qPrintable(r.err));
        QVERIFY(!QFile::exists(dir2.filePath("x.cfg")));
        // A profile file that is not a complete configuration is refused before sending.
        QFile bad(dir2.filePath("bad.cfg"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(":1000000010000000000000000000000000000000E0\r\n:00000001FF\r\n");
        bad.close();
        const Run w = ctl({"--device", erased.device, "--language", "2", "unit", "write", bad.fileName()});
        QCOMPARE(w.code, 5);
        QVERIFY(w.err.contains(QStringLiteral("512 data lines")));
        QVERIFY(!erased.wire().contains(":HW3"));
    }
    const Run nodev = ctl({"--device", dir.filePath("no-such-tty"), "unit", "status"});
    QCOMPARE(nodev.code, 3);
    QCOMPARE(nodev.err.count(QStringLiteral("smsv48ctl: ")), 1);
    QVERIFY(nodev.err.contains(QStringLiteral("no-such-tty")));
}

// A device the user may not open is no busy port: the message names the group that may use
// it and how to join it.
void TestLinkE2E::portWithoutPermissionNamesTheGroup()
{
    QTemporaryDir dir;
    Sim sim(dir.path(), {});
    const QString device = QFileInfo(sim.device).canonicalFilePath();
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(device).constData(), &st), 0);
    const struct group* g = ::getgrgid(st.st_gid);
    QVERIFY(g);
    const QString group = QString::fromLocal8Bit(g->gr_name);
    QVERIFY(QFile::setPermissions(device, QFileDevice::ReadGroup | QFileDevice::WriteGroup));
    {
        Permissions::Enforced enforced;
        if (!enforced.active()) {
            QFile::setPermissions(device, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            QSKIP("file permissions cannot be made to apply to this process");
        }
        SerialChannel ch(gState());
        QVERIFY(!ch.open(sim.device, QStringLiteral("9600,N,8,1")));
        QVERIFY(!ch.lastErrorWasBusy());
        QVERIFY2(ch.errorString().contains(QStringLiteral("\"%1\"").arg(group))
                     && ch.errorString().contains(QStringLiteral("usermod -aG %1").arg(group)),
                 qPrintable(ch.errorString()));
    }
    QVERIFY(QFile::setPermissions(device, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    SerialChannel ok(gState());
    QVERIFY2(ok.open(sim.device, QStringLiteral("9600,N,8,1")), qPrintable(ok.errorString()));
}

void TestLinkE2E::busyPortIsRecognisedByItsErrorCode()
{
    QTemporaryDir dir;
    Sim sim(dir.path(), {});
    SerialChannel first(gState()), second(gState());
    QVERIFY(first.open(sim.device, QStringLiteral("9600,N,8,1")));
    QVERIFY(!second.open(sim.device, QStringLiteral("9600,N,8,1")));
    QVERIFY2(second.lastErrorWasBusy(), qPrintable(second.errorString()));
    second.close();

    // The port dialog: COM 1 busy gives "COM 1: " + the reason, selects COM 2 and stores
    // the port as closed.
    TestEnv env;
    Settings::set(QStringLiteral("Ports"), QStringLiteral("COM1"), QStringLiteral("sim"));
    MainWindow w(gState());
    PortResolver::assign(1, sim.device);
    PortSettingsDialog dlg(&w);
    dlg.portBox->setCurrentIndex(0);
    QVERIFY(!dlg.apply());
    QCOMPARE(env.messages.size(), 1);
    QVERIFY2(env.messages[0].text.startsWith(QStringLiteral("COM 1: ")), qPrintable(env.messages[0].text));
    QCOMPARE(env.messages[0].icon, Dialogs::Icon::Exclamation);
    QCOMPARE(dlg.portBox->currentIndex(), 1);
    QCOMPARE(Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("COM-Anschluss-Aktuell")),
             QStringLiteral("closed"));
    // Once the other program lets go, the same port opens and the unit answers.
    first.close();
    dlg.portBox->setCurrentIndex(0);
    QVERIFY(dlg.apply());
    QCOMPARE(w.lamp(), int(MainWindow::Green));
    QCOMPARE(Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("COM-Anschluss-Aktuell")),
             QStringLiteral("open"));
}

void TestLinkE2E::unitVanishingMidReadEndsWithAMessage()
{
    TestEnv env;
    QTemporaryDir dir;
    auto sim = std::make_unique<Sim>(dir.path(), QStringList {});
    QProcess p;
    p.setProgram(QDir(TestEnv::builtBin()).filePath(QStringLiteral("smsv48ctl")));
    p.setArguments({"--device", sim->device, "unit", "read", "-o", dir.filePath("x.cfg")});
    p.start();
    QTest::qWait(2500);
    sim.reset(); // the device goes away mid-read
    QElapsedTimer t;
    t.start();
    QVERIFY(p.waitForFinished(15000));
    QCOMPARE(p.exitCode(), 3);
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("smsv48ctl: ")), qPrintable(err));
    QVERIFY(!QFile::exists(dir.filePath("x.cfg")));
}

void TestLinkE2E::simulatedUnitOnlyWhenAskedFor()
{
    TestEnv env;
    QTemporaryDir dir, settings;
    Sim sim(dir.path(), {"--fw", "123"});
    // An empty settings folder on a machine that lists no serial port.
    QMap<QString, QString> bare {{"SMSV48_SETTINGS_DIR", settings.path()}, {"SMSV48_SERIAL_PORTS", ""}};
    const QString notice = QStringLiteral("smsv48ctl: using the simulated unit (no hardware)");
    for (const QStringList& cmd :
         {QStringList {"unit", "status"}, QStringList {"unit", "write", env.path("UserProfile/SMSV48_Default.cfg")}}) {
        const Run r = ctl(QStringList {"--language", "2"} + cmd, bare);
        QCOMPARE(r.code, 3);
        QVERIFY2(lastLine(r.err).startsWith(QStringLiteral("smsv48ctl: no serial port found")), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }
    Run r = ctl({"--device", "sim", "--language", "2", "unit", "status"}, bare);
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.contains(notice) && r.out.contains(QStringLiteral("firmware version: 1.00")), qPrintable(r.err));
    // A port the system lists is used without a word; a port set to the simulated unit says so.
    bare["SMSV48_SERIAL_PORTS"] = sim.device;
    r = ctl({"unit", "status"}, bare);
    QVERIFY2(r.code == 0 && r.out.contains(QStringLiteral("Firmwareversion: 1.23")), qPrintable(r.err));
    QVERIFY(!r.err.contains(QStringLiteral("simulated")));
    QSettings(QDir(settings.path()).filePath(QStringLiteral("SMS_Switch_Vantor.ini")), QSettings::IniFormat)
        .setValue(QStringLiteral("Ports/COM1"), QStringLiteral("sim"));
    r = ctl({"--language", "2", "unit", "status"}, bare);
    QVERIFY2(r.code == 0 && r.err.contains(notice) && r.out.contains(QStringLiteral("firmware version: 1.00")),
             qPrintable(r.err));
}

void TestLinkE2E::secretsFromEnvironmentAndStdinNeverPrinted()
{
    TestEnv env;
    QTemporaryDir dir;
    Sim sim(dir.path(), {"--pin", "2580", "--refuse-write"});
    const QStringList dev {"--device", sim.device};
    Run r = ctl(dev + QStringList {"relay", "2", "on"}, {{"SMSV48_PASSWORD", "4711"}});
    QVERIFY2(r.code == 0 && sim.wire().contains(":RS2 PW:4711<CR>"), qPrintable(r.err));
    r = ctl(dev + QStringList {"relay", "3", "on", "--password", "-"}, {{"SMSV48_PASSWORD", "4711"}}, "8642\r\n");
    QVERIFY2(r.code == 0 && sim.wire().contains(":RS3 PW:8642<CR>"), qPrintable(r.err));
    r = ctl(dev + QStringList {"relay", "3", "off", "--password", "1111"}, {{"SMSV48_PASSWORD", "4711"}});
    QVERIFY2(r.code == 0 && sim.wire().contains(":RC3 PW:1111<CR>"), qPrintable(r.err));
    r = ctl(dev + QStringList {"param", "pin", "change"},
            {{"SMSV48_PASSWORD", "4711"}, {"SMSV48_PIN", "2580"}, {"SMSV48_NEW_PIN", "1357"}});
    QVERIFY2(r.code == 0 && sim.wire().contains(":PIN PW:4711 PA:2580 PN:1357<CR>"), qPrintable(r.err));
    // From stdin in order: the password, then the old and the new PIN.
    r = ctl(dev + QStringList {"--password", "-", "param", "pin", "change", "-", "-"}, {}, "9753\n1357\n2468\n");
    QVERIFY2(r.code == 0 && sim.wire().contains(":PIN PW:9753 PA:1357 PN:2468<CR>"), qPrintable(r.err));
    // No line on stdin: refused before anything is sent.
    const int before = sim.wire().size();
    r = ctl(dev + QStringList {"relay", "4", "on", "--password", "-", "--language", "2"});
    QVERIFY2(r.code == 2 && r.err.contains(QStringLiteral("no line on standard input")), qPrintable(r.err));
    QCOMPARE(sim.wire().size(), before);
    // A refused write names the line sent, with its password hidden.
    r = ctl(dev + QStringList {"--language", "2", "unit", "write", env.path("UserProfile/SMSV48_Default.cfg")});
    QCOMPARE(r.code, 4);
    QVERIFY(sim.wire().contains(":HW3 PW:6054<CR>"));
    QVERIFY2(r.err.contains(QStringLiteral("\":HW3 PW:****\"")) && !r.err.contains(QStringLiteral("6054")),
             qPrintable(r.err));
}

void TestLinkE2E::unusableReadOutputRefusedBeforeAnyTraffic()
{
    TestEnv env;
    QTemporaryDir dir;
    Sim sim(dir.path(), {"--erased"});
    QFile plain(dir.filePath(QStringLiteral("plain.cfg")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QStringList refused[] = {
        {"missing/unit.cfg", "does not exist"}, {"plain.cfg/unit.cfg", "is not a folder"}, {".", "not a regular file"}};
    for (const QStringList& c : refused) {
        const Run r = ctl({"--device", sim.device, "--language", "2", "unit", "read", "-o", dir.filePath(c[0])});
        QCOMPARE(r.code, 5);
        QVERIFY2(lastLine(r.err).startsWith(QStringLiteral("smsv48ctl: ") + dir.filePath(c[0])) && r.err.contains(c[1]),
                 qPrintable(r.err));
        QVERIFY2(r.ms < 5000, qPrintable(QString::number(r.ms)));
        QVERIFY(sim.wire().isEmpty());
    }
    // An existing regular file passes: the read starts (and stops at the erased unit).
    const Run r = ctl({"--device", sim.device, "unit", "read", "-o", plain.fileName()});
    QVERIFY(r.code == 1 && sim.wire().contains(":HR3:0080:"));
}

// A line the unit refuses three times: the unit is left with ESC (never the end record),
// and the tool says on one line what the desktop says, exit code non-zero.
void TestLinkE2E::writeStoppedPartWayExitsNonZeroAndSaysSo()
{
    TestEnv env;
    QTemporaryDir dir;
    Sim sim(dir.path(), {"--e-line", "7"});
    const Run r = ctl({"--device", sim.device, "--language", "2", "unit", "write",
                       env.path(QStringLiteral("UserProfile/SMSV48_Default.cfg"))});
    QCOMPARE(r.code, 4);
    QVERIFY2(lastLine(r.err).startsWith(QStringLiteral("smsv48ctl: Line 7 (")), qPrintable(r.err));
    QVERIFY2(lastLine(r.err).endsWith(QStringLiteral(
                 "The unit's configuration is now incomplete (6 of 512 records written) and must be written again.")),
             qPrintable(r.err));
    const QByteArray wire = sim.wire();
    QVERIFY2(wire.contains(" > <ESC>"), wire.right(400).constData());
    for (const QByteArray& entry : wire.split('\n'))
        QVERIFY2(!(entry.contains(" > ") && entry.contains(":00000001FF")), entry.constData()); // from the tool
}

// A lost status reply is a unit that does not answer, never a version mismatch; a mismatch
// names both versions with two decimals.
void TestLinkE2E::versionCheckOnTheCommandLine()
{
    TestEnv env;
    const QString cfg = env.path(QStringLiteral("UserProfile/SMSV48_Default.cfg"));
    {
        QTemporaryDir dir;
        Sim sim(dir.path(), {"--status-lost", "3"});
        const Run r = ctl({"--device", sim.device, "--language", "2", "unit", "write", cfg});
        QCOMPARE(r.code, 3);
        QVERIFY2(lastLine(r.err).contains(QStringLiteral("does not answer")), qPrintable(r.err));
        QVERIFY(!r.err.contains(QStringLiteral("does not match")));
        QVERIFY(!sim.wire().contains(":HW3"));
    }
    {
        QTemporaryDir dir;
        Sim sim(dir.path(), {"--fw", "250"});
        const Run r = ctl({"--device", sim.device, "--language", "2", "unit", "read", "-o", dir.filePath("x.cfg")});
        QCOMPARE(r.code, 1);
        const QString tool = QString::number(SMSV48_VERSION_MAJOR) + QLatin1Char('.')
            + QString::number(SMSV48_VERSION_MINOR % 10) + QLatin1Char('0');
        QVERIFY2(lastLine(r.err).endsWith(
                     QStringLiteral("firmware version 2.50 does not match this program (%1)").arg(tool)),
                 qPrintable(r.err));
    }
}

// A wrong command line is exit code 2 with one line that names the command's help, in the
// language of the run, and nothing goes to the unit; the help of a command is its own.
void TestLinkE2E::usageErrorsAndExitCodes()
{
    TestEnv env;
    QTemporaryDir dir;
    Sim sim(dir.path(), {});
    const QString cfg = env.path(QStringLiteral("UserProfile/SMSV48_Default.cfg"));
    const QStringList dev {"--device", sim.device, "--language", "2"};
    struct Case {
        QStringList args;
        QString said;
        QMap<QString, QString> env = {};
    };
    const QList<Case> cases = {
        {{"--language", "2", "frobnicate"}, "unknown command \"frobnicate\" (see smsv48ctl --help)"},
        {dev + QStringList {"unit", "status", "--bogus"}, "unknown option --bogus (see smsv48ctl --help)"},
        {dev + QStringList {"unit", "status", "extra"}, "too many arguments: extra"},
        {dev + QStringList {"unit", "write", cfg, cfg}, "too many arguments: " + cfg},
        {dev + QStringList {"unit", "status", "--password", "1234"}, "unit does not know the option --password"},
        {dev + QStringList {"unit", "status", "-o", "x.cfg"}, "unit status does not take the option --output"},
        {QStringList {"--language", "2", "profile", "to-json", cfg, "--device", "sim"},
         "profile to-json does not take the option --device"},
        {dev + QStringList {"unit", "verify", cfg, "--no-backup"}, "unit verify does not take the option --no-backup"},
        {dev + QStringList {"unit", "write", cfg, "--retries", "x"}, "--retries takes a number 0..99, not \"x\""},
        {dev + QStringList {"--settings", "garbage", "unit", "status"}, "Invalid port settings \"garbage\""},
        {{"--device", sim.device, "--language", "7", "unit", "status"}, "nicht \"7\""},
        {dev + QStringList {"relay", "1", "on", "--password", "123"}, "the unit password has 4 characters, not 3"},
        {dev + QStringList {"relay", "1", "on"},
         "the unit password has 4 characters, not 5",
         {{"SMSV48_PASSWORD", "12345"}}},
        {dev + QStringList {"param", "validity", "set", "7", "--password", "x"}, "4 characters, not 1"},
        {dev + QStringList {"relay", "5", "on", "--password", "1234"}, "relay takes a number 1..4 and on or off"},
        {dev + QStringList {"param", "validity", "set", "300", "--password", "1234"}, "a number 0..255"},
        {dev + QStringList {"param", "serial", "get", "--password", "1234"},
         "param serial get does not take the option --password"},
        {dev + QStringList {"unit", "read"}, "unit read needs -o FILE.cfg"},
        {QStringList {"--language", "2", "unit", "status", "--device"}, "the option --device needs a value"},
        {dev + QStringList {"firmware", cfg}, "confirm with --yes"},
    };
    for (const Case& c : cases) {
        const Run r = ctl(c.args, c.env);
        QVERIFY2(r.code == 2, qPrintable(c.args.join(' ') + " -> " + QString::number(r.code) + " " + r.err));
        QVERIFY2(r.err.count(QLatin1Char('\n')) == 1, qPrintable(r.err));
        QVERIFY2(r.err.startsWith(QStringLiteral("smsv48ctl: ")) && r.err.contains(c.said), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }
    QVERIFY2(sim.wire().isEmpty(), sim.wire().left(200).constData());

    // Alone: the short usage on stderr.
    Run r = ctl({});
    QCOMPARE(r.code, 2);
    QVERIFY(r.out.isEmpty() && r.err.startsWith(QStringLiteral("usage: smsv48ctl")));
    // A command's help: its usage, its options, the exit codes; nothing of the other commands.
    r = ctl({"unit", "--help"});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.contains(QStringLiteral("unit write FILE.cfg"))
                 && r.out.contains(QStringLiteral("--device PATH|sim")) && r.out.contains(QStringLiteral("3  no unit"))
                 && !r.out.contains(QStringLiteral("to-json")) && !r.out.contains(QStringLiteral("--password")),
             qPrintable(r.out));
    r = ctl({"--help"});
    QVERIFY(r.code == 0 && r.out.contains(QStringLiteral("exit codes:"))
            && r.out.contains(QStringLiteral("relay N on|off")));
}

// --trace: the traffic of one command, both ways, with the link's view; a trace that cannot
// be written is said before any traffic.
void TestLinkE2E::traceRecordsTheWireWithSecretsMasked()
{
    TestEnv env;
    QTemporaryDir dir;
    Sim sim(dir.path(), {"--pin", "2580"});
    const QStringList dev {"--device", sim.device};
    const QString tracePath = dir.filePath(QStringLiteral("trace.txt"));
    Run r = ctl(dev + QStringList {"relay", "2", "on", "--password", "4711", "--trace", tracePath});
    QCOMPARE(r.code, 0);
    r = ctl(dev + QStringList {"param", "pin", "get", "--trace", dir.filePath(QStringLiteral("pin.txt"))});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.startsWith(QStringLiteral("PIN: 2580\n")), qPrintable(r.out));
    QFile file(tracePath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString trace = QString::fromLatin1(file.readAll());
    QVERIFY2(trace.contains(QStringLiteral(" > :RS2 PW:****<CR>\n")), qPrintable(trace));
    QVERIFY2(trace.contains(QStringLiteral(" - handshake\n")), qPrintable(trace));
    QVERIFY2(trace.contains(QStringLiteral(" < >")), qPrintable(trace));
    QVERIFY(!trace.contains(QStringLiteral("4711")));
    QVERIFY(!r.err.contains(QStringLiteral("handshake"))); // not on stderr without -v
    QFile pinTrace(dir.filePath(QStringLiteral("pin.txt")));
    QVERIFY(pinTrace.open(QIODevice::ReadOnly));
    const QByteArray pinText = pinTrace.readAll();
    QVERIFY2(pinText.contains("> :HR2 CT:0010 AD:0010<CR>") && !pinText.contains("32353830"), pinText.constData());

    const int before = sim.wire().size();
    r = ctl(dev
            + QStringList {"--language", "2", "unit", "status", "--trace", dir.filePath(QStringLiteral("no/t.txt"))});
    QCOMPARE(r.code, 5);
    QCOMPARE(sim.wire().size(), before);
    r = ctl(dev + QStringList {"unit", "status", "--trace", dir.path()});
    QCOMPARE(r.code, 5);
    QCOMPARE(sim.wire().size(), before);
    // "-": the trace on standard error, the result alone on standard output.
    r = ctl(dev + QStringList {"unit", "status", "--trace", "-"});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.contains(QStringLiteral(" > <CR>")) && !r.out.contains(QStringLiteral("<CR>")), qPrintable(r.err));
}

QTEST_MAIN(TestLinkE2E)
#include "test_link_e2e.moc"
