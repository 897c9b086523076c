// Both programs in a French session with no language stored: every failure the command-line
// tool reports is the catalog's French sentence (none of its German or English ones), the
// desktop program's --help and --version print and end without a display, and no run asks
// for a runtime folder. Also the advice for a serial port the user may not open and the read
// results without NUL characters.
#include "CliRun.h"
#include "Desktop.h"
#include "Permissions.h"

#include "link/SerialChannel.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <sys/stat.h>
#include <unistd.h>

namespace {
struct Run {
    int code = -1;
    QString out, err;
};

// One run of a built program as a French user without a stored language and without
// XDG_RUNTIME_DIR (as from cron or runuser).
Run french(const QString& program, const QStringList& args, const TestEnv& env)
{
    const CliRun::Run r = CliRun::run(QDir(TestEnv::builtBin()).filePath(program), args, {}, {}, [&](QProcess& p) {
        QProcessEnvironment e = p.processEnvironment();
        for (const char* name :
             {"LC_ALL", "LC_MESSAGES", "LANGUAGE", "XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            e.remove(QString::fromLatin1(name));
        e.insert(QStringLiteral("LANG"), QStringLiteral("fr_FR.UTF-8"));
        e.insert(QStringLiteral("SMSV48_SETTINGS_DIR"), env.settingsDir());
        p.setProcessEnvironment(e);
    });
    return {r.code, QString::fromUtf8(r.out), QString::fromUtf8(r.err)};
}

// A catalog message in one language (1 German, 2 English, 4 French), up to its first placeholder.
QString catalogStem(const TestEnv& env, const QString& key, int language)
{
    return Desktop::tableText(env, key, language, "SystemNachrichten").section(QRegularExpression("%\\d"), 0, 0);
}
} // namespace

class TestLanguageEverywhere : public QObject {
    Q_OBJECT
private slots:
    void cliFailuresAreFrench_data();
    void cliFailuresAreFrench();
    void helpAndVersionPrintAndEnd_data();
    void helpAndVersionPrintAndEnd();
    void pinReadIsLabelledAndWithoutNul();
    void portPermissionAdvice_data();
    void portPermissionAdvice();
};

void TestLanguageEverywhere::cliFailuresAreFrench_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("json"); // written to bad.json first, when given
    QTest::addColumn<QString>("key"); // the catalog message the line must be
    QTest::addColumn<int>("code");
    const auto row = [](const char* name, const char* args, const char* json, const char* key, int code) {
        QTest::newRow(name) << QString::fromLatin1(args).split(' ') << QString::fromLatin1(json)
                            << QString::fromUtf8(key) << code;
    };
    row("unknown option alone", "--bogus", nullptr, "gsCliOptionUnbekannt", 2);
    row("misspelt option before its value", "--dev sim unit status", nullptr, "gsCliOptionUnbekannt", 2);
    row("no command", "-q", nullptr, "gsCliKeinBefehl", 2);
    row("unknown command", "frobnicate", nullptr, "gsCliUnbekannterBefehl", 2);
    row("wrong relay", "relay 9 on", nullptr, "gsCliRelaisAufruf", 2);
    row("port settings", "unit status --device sim --settings 9600,X,8,1", nullptr, "gsMsgPortTeilParität", 2);
    row("JSON that is no profile", "profile from-json bad.json -o -", "[1]", "gsJsonKeinProfil", 5);
    row("JSON field wrong", "profile from-json bad.json -o -", R"({"format": "smsv48-profile", "version": 2})",
        "gsJsonMussSein", 5);
}

void TestLanguageEverywhere::cliFailuresAreFrench()
{
    QFETCH(QStringList, args);
    QFETCH(QString, json);
    QFETCH(QString, key);
    QFETCH(int, code);
    TestEnv env; // SMSV48_HOME; no language stored
    writeFile(env.path("bad.json"), json.toUtf8());
    args.replaceInStrings(QStringLiteral("bad.json"), env.path("bad.json"));
    const Run r = french(QStringLiteral("smsv48ctl"), args, env);
    QCOMPARE(r.code, code);
    const QString french = catalogStem(env, key, 4);
    QVERIFY2(!french.isEmpty() && r.err.contains(french), qPrintable(r.err));
    // No sentence of the other catalog languages, no Qt warning.
    for (int language : {1, 2}) {
        const QString other = catalogStem(env, key, language);
        QVERIFY2(other == french || !r.err.contains(other), qPrintable(r.err));
    }
    for (const QString& line : r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        QVERIFY2((line.startsWith("smsv48ctl: ") || line.startsWith("usage:") || line.startsWith("       smsv48ctl"))
                     && !line.contains("siehe"),
                 qPrintable(line));
}

void TestLanguageEverywhere::helpAndVersionPrintAndEnd_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const char* program, const char* option, const char* expected) {
        QTest::newRow(name) << QString::fromLatin1(program) << QString::fromLatin1(option)
                            << QString::fromLatin1(expected);
    };
    row("desktop --version", "sms_switch_vantor", "--version", "SMS_Switch_Vantor " SMSV48_VERSION "\n");
    row("desktop --help", "sms_switch_vantor", "--help", "[PROFILE.cfg]");
    row("tool --version", "smsv48ctl", "--version", "smsv48ctl " SMSV48_VERSION "\n");
    row("tool --help", "smsv48ctl", "--help", "\ncommands:\n");
    row("simulator --version", "smsv48-sim", "--version", "smsv48-sim " SMSV48_VERSION "\n");
}

// Without a display and without a runtime folder: the text on stdout, nothing on stderr (no
// "XDG_RUNTIME_DIR not set"), no window (it would fail without a display). The descriptions
// of the tool's commands start in one column, each synopsis too long for it on a line of its own.
void TestLanguageEverywhere::helpAndVersionPrintAndEnd()
{
    QFETCH(QString, program);
    QFETCH(QString, option);
    QFETCH(QString, expected);
    TestEnv env;
    const Run r = french(program, {option}, env);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.code, 0);
    QVERIFY2(expected.endsWith(QLatin1Char('\n')) && !expected.startsWith('\n') ? r.out == expected
                                                                                : r.out.contains(expected),
             qPrintable(r.out));
    const QString commands = r.out.section(QStringLiteral("\ncommands:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
    QVERIFY(program != "smsv48ctl" || option != "--help" || commands.count(QLatin1Char('\n')) > 20);
    int column = -1;
    for (const QString& line : commands.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const int gap = line.indexOf(QStringLiteral("  "), 2);
        const int at = line.indexOf(QRegularExpression(QStringLiteral("\\S")), gap);
        if (gap >= 0 && column < 0)
            column = at;
        QVERIFY2(gap < 0 || at == column, qPrintable(line)); // (no gap: a synopsis alone)
    }
}

// A unit with an unset second PIN: labelled lines without trailing blanks, JSON without NULs.
void TestLanguageEverywhere::pinReadIsLabelledAndWithoutNul()
{
    TestEnv env;
    Run r = french(QStringLiteral("smsv48ctl"), {"param", "pin", "get", "--device", "sim", "-q"}, env);
    QCOMPARE(r.code, 0);
    const QStringList lines = r.out.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 3);
    const QString pin = Desktop::tableText(env, "gsCliPin", 4, "SystemNachrichten");
    QVERIFY2(QRegularExpression(QStringLiteral("^%1: \\d{4}$").arg(pin)).match(lines[0]).hasMatch(), qPrintable(r.out));
    QCOMPARE(lines[1], Desktop::tableText(env, "gsCliPin2", 4, "SystemNachrichten") + QLatin1Char(':'));
    r = french(QStringLiteral("smsv48ctl"), {"param", "pin", "get", "--device", "sim", "-q", "--json"}, env);
    QVERIFY(!r.out.contains(QChar(0)) && !r.out.contains(QStringLiteral("\\u0000")));
    QCOMPARE(QJsonDocument::fromJson(r.out.toUtf8()).object().value("pin2").toString("<none>"), QString());
    r = french(QStringLiteral("smsv48ctl"), {"profile", "to-json", env.path("UserProfile/SMSV48_Default.cfg")}, env);
    QCOMPARE(r.code, 0);
    QVERIFY2(!r.out.contains(QStringLiteral("\\u0000")), qPrintable(r.out));
}

void TestLanguageEverywhere::portPermissionAdvice_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("groupAdvised");
    QTest::newRow("group may read and write") << 0060 << true;
    QTest::newRow("only the owner may") << 0600 << false;
    QTest::newRow("nobody may") << 0000 << false;
}

void TestLanguageEverywhere::portPermissionAdvice()
{
    QFETCH(int, mode);
    QFETCH(bool, groupAdvised);
    TestEnv env("4");
    for (const char* key : {"gsMsgPortKeineBerechtigung", "gsMsgPortNurBesitzer"})
        gState().messages.insert(key, Desktop::tableText(env, key, 4, "SystemNachrichten"));
    const QString device = env.path("ttyUSB9");
    writeFile(device, QByteArray());
    QVERIFY(::chmod(QFile::encodeName(device).constData(), mode_t(mode)) == 0);
    if (mode == 0600 && ::geteuid() != 0)
        QSKIP("the owner may use it: only root can give the file to another user");
    if (mode == 0600)
        QVERIFY(::chown(QFile::encodeName(device).constData(), 65534, 65534) == 0); // nobody
    Permissions::Enforced enforced;
    if (!enforced.active())
        QSKIP("file permissions cannot be made to apply to this process");
    SerialChannel channel(gState());
    QVERIFY(!channel.open(device, QStringLiteral("9600,N,8,1")));
    const QString said = channel.errorString();
    QVERIFY(!channel.lastErrorWasBusy());
    QCOMPARE(said.contains(QStringLiteral("usermod")), groupAdvised);
    QCOMPARE(said.contains(QStringLiteral("Connecting a unit")), !groupAdvised);
    QVERIFY2(groupAdvised || said.contains(QStringLiteral("« %1 »").arg(mode == 0600 ? "nobody" : "root")),
             qPrintable(said));
}

QTEST_MAIN(TestLanguageEverywhere)
#include "test_language_everywhere.moc"
