// smsv48ctl profile ...: the JSON form, its refusals, and load/save against the store, on a
// private program folder; as a process where the system's limits or permissions, or a
// database held by another program, are what is tested.
#include "CliRun.h"
#include "Permissions.h"
#include "TestEnv.h"

#include "image/HexWriter.h"
#include "image/Image.h"
#include "image/ProfileReader.h"
#include "store/Recordset.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlQuery>
#include <QtTest>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {
using CliRun::Run;

// smsv48ctl in English unless the arguments choose a language; in this program, or as a
// process of its own when `setup` prepares one.
Run ctl(QStringList args, const std::function<void(QProcess&)>& setup = {}, int timeout = 30000)
{
    if (!args.contains(QStringLiteral("--language")))
        args.prepend(QStringLiteral("--language=2"));
    return setup ? CliRun::run(CliRun::ctlPath(), args, {}, {}, setup, timeout) : CliRun::inProcess(args);
}

// A document using every field.
QJsonObject richDocument()
{
    QJsonArray inputs, outputs, users;
    for (int i = 0; i < 16; ++i)
        inputs.append(QJsonObject {{"recipients", QJsonArray {1 + i % 7, 8}},
                                   {"alarm", i % 3 == 0},
                                   {"text", QString("Eingang %1 ä€ß").arg(i + 1).repeated(i % 4 + 1).left(64)}});
    for (int i = 0; i < 8; ++i)
        outputs.append(QJsonObject {{"recipients", QJsonArray {}},
                                    {"defaultState", i % 2 == 1},
                                    {"text", i == 3 ? QString() : QString("Relais %1 ein").arg(i)}});
    for (int i = 0; i < 8; ++i)
        users.append(QJsonObject {{"name", i == 7 ? QJsonValue() : QJsonValue(QString("User %1").arg(i))},
                                  {"number", i == 6 ? QJsonValue() : QJsonValue(QString("+4179*%1").arg(i))},
                                  {"password", i == 5 ? QString() : QString("%1").arg(1000 + i)},
                                  {"operator", i % 2 == 0},
                                  {"active", i < 4}});
    return QJsonObject {
        {"format", "smsv48-profile"},
        {"version", 1},
        {"inputs", inputs},
        {"outputs", outputs},
        {"alarmInput", QJsonObject {{"recipients", QJsonArray {2, 5}}, {"delay", 255}, {"text", "Alarm!"}}},
        {"powerOn", QJsonObject {{"recipients", QJsonArray {1}}, {"text", QString(63, 'p')}}},
        {"users", users}};
}

// A JSON value with `v` set at the path `keys` ("users", "1", "number"); an undefined value
// removes the entry, an index one past a list's end appends.
QJsonValue withValue(const QJsonValue& at, QStringList keys, const QJsonValue& v)
{
    if (keys.isEmpty())
        return v;
    const QString key = keys.takeFirst();
    if (at.isArray()) {
        QJsonArray a = at.toArray();
        const int i = key.toInt();
        if (keys.isEmpty() && v.isUndefined())
            a.removeAt(i);
        else if (i == a.size())
            a.append(withValue({}, keys, v));
        else
            a[i] = withValue(a[i], keys, v);
        return a;
    }
    QJsonObject o = at.toObject();
    o.insert(key, withValue(o[key], keys, v)); // an undefined value removes the key
    return o;
}

// The rich document with values set at paths ("users/1/number").
QByteArray richDocumentWith(const QList<QPair<QString, QJsonValue>>& changes)
{
    QJsonValue doc = richDocument();
    for (const auto& [path, value] : changes)
        doc = withValue(doc, path.split(QLatin1Char('/')), value);
    return QJsonDocument(doc.toObject()).toJson();
}

// The rich document as rich.json and as the file from-json makes of it, in folder.
QString richProfile(const QString& folder)
{
    const QString json = QDir(folder).filePath(QStringLiteral("rich.json"));
    const QString cfg = QDir(folder).filePath(QStringLiteral("rich.cfg"));
    writeFile(json, richDocumentWith({}));
    ctl({"profile", "from-json", json, "-o", cfg}); // refusals and exit codes: tested below
    return cfg;
}
} // namespace

class TestProfileCli : public QObject {
    Q_OBJECT
public:
    static void initMain() { CliRun::systemLanguageGerman(); }

private slots:
    void jsonRoundTripAndByteExactFile();
    void fromJsonRefusesInvalidDocuments_data();
    void fromJsonRefusesInvalidDocuments();
    void loadSaveAndDiffAgainstTheStore();
    void onlyRegularFilesAreReadOrReplaced();
    void failedWriteSaysTheSystemsReasonAndKeepsTheOldFile();
    void fileNamesThatAreNotUtf8();
    void readOnlyProgramFolder();
    void databaseInUseByAnotherProgram();
};

// from-json writes the bytes the program's own build of the configuration has; the shipped
// default profile is what it makes of its source, and neutral: nobody is alerted, no user is
// active, no text; the alarm input waits five minutes. to-json gives back what went in.
void TestProfileCli::jsonRoundTripAndByteExactFile()
{
    TestEnv env;
    const QString out = env.path("neu.cfg");
    Run r = ctl({"profile", "from-json", SMSV48_SOURCE_DIR "/data-src/SMSV48_Default.json", "-o", out});
    const QByteArray shipped = readAll(QStringLiteral(SMSV48_SOURCE_DIR "/data/UserProfile/SMSV48_Default.cfg"));
    QVERIFY2(r.code == 0 && readAll(out) == shipped, r.err.constData());
    ProfileData neutral;
    neutral.alarmInput.delay = 5; // minutes
    Image img;
    HexWriter::buildImage(neutral, img);
    QCOMPARE(shipped, img.hexText());

    // A few fields checked against the file directly, and what went in comes out.
    const QString cfg = richProfile(env.root());
    const QList<QByteArray> lines = readAll(cfg).split('\n');
    QCOMPARE(lines[0].trimmed(), QByteArray(":10000000") + "100181" + QByteArray(26, '0') + "5E");
    QCOMPARE(lines[52 * 8].mid(9, 8), QByteArray("440012FF"));

    r = ctl({"profile", "to-json", cfg});
    QVERIFY2(r.code == 0, r.err.constData());
    // A missing password (four NUL bytes in the file) comes out as an empty text.
    QCOMPARE(QJsonDocument::fromJson(r.out).object(), richDocument());
    // Documented key order and ascending recipient lists.
    QVERIFY(r.out.startsWith("{\n  \"format\": \"smsv48-profile\",\n  \"version\": 1,\n  \"inputs\": [\n"));
    QVERIFY(r.out.contains("{\"recipients\": [1, 8], \"alarm\": true, \"text\": \"Eingang 1 ä€ß\"}"));
    QVERIFY(r.out.indexOf("\"outputs\"") < r.out.indexOf("\"alarmInput\"")
            && r.out.indexOf("\"powerOn\"") < r.out.indexOf("\"users\""));
}

void TestProfileCli::fromJsonRefusesInvalidDocuments_data()
{
    QTest::addColumn<QByteArray>("doc");
    QTest::addColumn<QString>("field");
    const auto row = [](const char* name, const QString& path, const QJsonValue& value, const char* field) {
        QTest::newRow(name) << richDocumentWith({{path, value}}) << QString::fromUtf8(field);
    };
    QTest::newRow("not json") << QByteArray("{ nope") << "not JSON";
    QTest::newRow("top-level array") << QByteArray("[]") << "not a profile";
    row("wrong format", "format", "other", "format: ");
    row("wrong version", "version", 2, "version: must be 1");
    row("15 inputs", "inputs/15", QJsonValue::Undefined, "inputs: has 15 entries instead of 16");
    row("9 users", "users/8", richDocument()["users"][0], "users: has 9 entries instead of 8");
    row("user 9", "inputs/3/recipients", QJsonArray {1, 9}, "inputs[3].recipients[1]: 9 is outside 1..8");
    row("user 0", "inputs/0/recipients", QJsonArray {0}, "inputs[0].recipients[0]: 0 is outside 1..8");
    row("user 1.5", "inputs/0/recipients", QJsonArray {1.5}, "inputs[0].recipients[0]: must be a whole number");
    row("delay 256", "alarmInput/delay", 256, "alarmInput.delay: 256 is outside 0..255");
    row("alarm as text", "inputs/2/alarm", "yes", "inputs[2].alarm: must be true or false");
    row("text missing", "inputs/2/text", QJsonValue::Undefined, "inputs[2].text: missing");
    row("text as number", "inputs/2/text", 5, "inputs[2].text: must be a string");
    row("text too long", "inputs/2/text", QString(65, 'x'), "inputs[2].text: has 65 characters");
    row("no code", "inputs/2/text", QString::fromUtf8("\xE2\x82\xAD"), "inputs[2].text: holds a character");
    row("name as number", "users/1/name", 3, "users[1].name: must be a string or null");
    row("number too long", "users/1/number", QString(17, '1'), "users[1].number: has 17 characters");
    row("password 3", "users/1/password", "123", "users[1].password: must be empty or exactly 4");
    row("password null", "users/1/password", QJsonValue(), "users[1].password: must be a string");
    row("unknown key", "users/1/mail", "x", "users[1].mail: unknown field");
    row("users not a list", "users", 8, "users: must be a list");
}

void TestProfileCli::fromJsonRefusesInvalidDocuments()
{
    QFETCH(QByteArray, doc);
    QFETCH(QString, field);
    TestEnv env;
    writeFile(env.path("bad.json"), doc);
    const Run r = ctl({"profile", "from-json", env.path("bad.json"), "-o", env.path("out.cfg")});
    QVERIFY2(r.code != 0 && r.err.contains(field.toUtf8()) && r.err.count('\n') == 1, r.err.constData());
    QVERIFY(!QFileInfo::exists(env.path("out.cfg")));
}

// A profile loaded into the store and saved again is the same file; the texts are the
// language's column. Configurations compared field by field, named as in the JSON form. A
// damaged file is refused in one line and the store kept.
void TestProfileCli::loadSaveAndDiffAgainstTheStore()
{
    TestEnv env;
    env.exec("UPDATE SMS SET Deutsch='deutsch'");
    const QString cfg = richProfile(env.root()), json = env.path("rich.json"), changed = env.path("changed.json");
    Run r = ctl({"profile", "load", cfg});
    QVERIFY2(r.code == 0, r.err.constData());
    QCOMPARE(env.queryValue("SELECT Englisch || '/' || Deutsch || '/' || (SELECT IN_SF || '/' || \"Verzögerungszeit\" "
                            "FROM Alarm_Dispositiv) || '/' || (SELECT Natel_Nummer FROM Adressen WHERE ID=3) "
                            "FROM SMS WHERE ID=25")
                 .toString(),
             QStringLiteral("Alarm!/deutsch/73/255/+4179*2"));
    const QString saved = env.path("saved.cfg");
    r = ctl({"profile", "save", "-o", saved});
    QVERIFY2(r.code == 0 && readAll(saved) == readAll(cfg), r.err.constData());
    QCOMPARE(ctl({"--language", "1", "profile", "save", "-o", saved}).code, 0);
    Image img;
    QVERIFY(ProfileReader::readFile(gState(), saved, img, nullptr));
    QCOMPARE(img.smsText(53), QStringLiteral("deutsch"));

    // The file against its JSON: equal (the store against the file: below, one difference).
    r = ctl({"profile", "diff", cfg, json});
    QVERIFY2(r.code == 0 && r.out.isEmpty(), r.out.constData());
    // Input 2 falling (row 3): users 2 and 8 instead of 4 and 8; a text, a number, a password.
    writeFile(changed,
              richDocumentWith({{"inputs/3/recipients", QJsonArray {2, 8}},
                                {"alarmInput/text", "Einbruch \"Lager\""},
                                {"users/1/number", "+41791234567"},
                                {"users/1/password", "9999"}}));
    r = ctl({"profile", "diff", cfg, changed});
    QCOMPARE(r.code, 1);
    QCOMPARE(r.out,
             QByteArray("inputs[3].recipients: +2 -4\nalarmInput.text: \"Alarm!\" -> \"Einbruch \\\"Lager\\\"\"\n"
                        "users[1].number: \"+4179*1\" -> \"+41791234567\"\n"
                        "users[1].password: \"****\" -> \"****\"\n"));
    r = ctl({"profile", "diff", changed, cfg, "--json"});
    QCOMPARE(r.code, 1);
    const QJsonArray list = QJsonDocument::fromJson(r.out).array();
    QCOMPARE(list.size(), 4);
    QCOMPARE(
        list[0].toObject(),
        (QJsonObject {{"field", "inputs[3].recipients"}, {"before", QJsonArray {2, 8}}, {"after", QJsonArray {4, 8}}}));
    QCOMPARE(list[2].toObject()["before"].toString(), QStringLiteral("+41791234567"));
    QVERIFY(!r.out.contains("1001") && !r.out.contains("9999"));
    env.exec("UPDATE PowerOn SET Benutzer3=1");
    r = ctl({"profile", "diff", cfg, "store"});
    QVERIFY(r.code == 1 && r.out == "powerOn.recipients: +3\n");
    // A side that cannot be read is a file problem, not a difference.
    r = ctl({"profile", "diff", cfg, env.path("missing.cfg")});
    QVERIFY(r.code == 5 && r.out.isEmpty() && r.err.contains("missing.cfg"));

    // Damaged: cut after line 200.
    const QByteArray before = env.configurationRows().toUtf8();
    writeFile(env.path("kurz.cfg"), readAll(cfg).left(200 * 45 + 7));
    r = ctl({"profile", "load", env.path("kurz.cfg")});
    QVERIFY2(r.code != 0 && r.err.count('\n') == 1
                 && r.err.contains("line 201: the record has 7 characters instead of 43"),
             r.err.constData());
    QCOMPARE(env.configurationRows().toUtf8(), before);
}

// A named pipe or a device is never read (a pipe would wait forever for a writer) nor
// replaced by a regular file: one line says what it is, and it stays what it was.
void TestProfileCli::onlyRegularFilesAreReadOrReplaced()
{
    TestEnv env;
    const QString pipe = env.path("pipe");
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    writeFile(env.path("rich.json"), richDocumentWith({}));
    // The targets: the pipe, and a device (a node of its own where the system allows one;
    // /dev/full itself only where it cannot be replaced anyway).
    QStringList targets {pipe};
    const QString device = env.path("full");
    if (mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 7)) == 0)
        targets << device;
    else if (geteuid() != 0)
        targets << QStringLiteral("/dev/full");
    QList<QStringList> runs {{"profile", "load", pipe},
                             {"profile", "to-json", pipe},
                             {"unit", "write", pipe},
                             {"profile", "from-json", pipe, "-o", env.path("a.cfg")},
                             {"firmware", pipe, "--yes"}};
    for (const QString& target : targets)
        runs << QStringList {"profile", "save", "-o", target} << QStringList {"report", "users", "-o", target}
             << QStringList {"profile", "from-json", env.path("rich.json"), "-o", target};
    for (const QStringList& args : runs) {
        const QString target = *std::find_if(args.begin(), args.end(), [&](auto& a) { return targets.contains(a); });
        const Run r = ctl(args);
        QVERIFY2(r.code > 0 && r.err.count('\n') == 1, qPrintable(args.join(' ')));
        QVERIFY2(r.err.contains(QDir::toNativeSeparators(target).toUtf8() + " is not a regular file"),
                 r.err.constData());
        QVERIFY(QFileInfo::exists(target) && !QFileInfo(target).isFile());
    }
    QVERIFY(!QFile::exists(env.path("a.cfg")));
}

// A write that fails (here: past the file-size limit the system sets the process, which
// fails like a full disk) says the system's reason and what became of the old file; no
// half-written file and no temporary file remain.
void TestProfileCli::failedWriteSaysTheSystemsReasonAndKeepsTheOldFile()
{
    TestEnv env;
    // Another connection keeps SQLite's shared-memory file at its full size, so that the
    // program under the limit has nothing to write but the profile.
    Connection other(gState());
    other.open(env.dbPath(), Connection::ReadWrite);
    QVERIFY(QSqlQuery(other.db()).exec("SELECT COUNT(*) FROM SMS"));
    const auto limited = [](QProcess& p) {
        p.setChildProcessModifier([] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit {16384, 16384};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    };
    const QByteArray reason = QString::fromLocal8Bit(std::strerror(EFBIG)).toUtf8();
    const QString old = env.path("alt.cfg"), fresh = env.path("neu.cfg");
    writeFile(old, "the old profile\r\n");
    Run r = ctl({"profile", "save", "-o", old}, limited);
    QVERIFY2(r.code > 0 && r.err.count('\n') == 1
                 && r.err.contains(QDir::toNativeSeparators(old).toUtf8() + " cannot be written: " + reason
                                   + ". The previous file is unchanged."),
             r.err.constData());
    QCOMPARE(readAll(old), QByteArray("the old profile\r\n"));
    r = ctl({"profile", "save", "-o", fresh}, limited);
    QVERIFY2(r.code > 0 && r.err.contains(reason + ". No file was created."), r.err.constData());
    QCOMPARE(QDir(env.root()).entryList({"alt.cfg*", "neu.cfg*"}, QDir::Files | QDir::Hidden), QStringList {"alt.cfg"});
}

// A file name is bytes, not necessarily UTF-8: such a file is found, and a new one gets
// exactly the name typed.
void TestProfileCli::fileNamesThatAreNotUtf8()
{
    TestEnv env;
    const QByteArray folder = QFile::encodeName(env.root());
    QVERIFY(QFile::copy(env.path("UserProfile/SMSV48_Default.cfg"), env.path("x.cfg")));
    QCOMPARE(::rename((folder + "/x.cfg").constData(), (folder + "/x\xFFy.cfg").constData()), 0);
    const auto ctlBytes = [](const QList<QByteArray>& args) {
        return CliRun::inProcessBytes(QList<QByteArray> {"--language=2"} + args);
    };
    Run r = ctlBytes({"profile", "to-json", folder + "/x\xFFy.cfg"});
    QVERIFY2(r.code == 0 && r.out.startsWith("{\n  \"format\": \"smsv48-profile\""), r.err.constData());
    QCOMPARE(ctlBytes({"profile", "load", folder + "/x\xFFy.cfg"}).code, 0);
    QCOMPARE(ctlBytes({"profile", "save", "-o", folder + "/neu\xFE.cfg"}).code, 0);
    QCOMPARE(::rename((folder + "/neu\xFE.cfg").constData(), (folder + "/neu.cfg").constData()), 0);
    QCOMPARE(readAll(env.path("neu.cfg")), readAll(env.path("UserProfile/SMSV48_Default.cfg")));
    // A file that is not there is named with its own bytes.
    r = ctlBytes({"profile", "to-json", folder + "/fehlt\xFF.cfg"});
    QVERIFY2(r.code > 0
                 && r.err.contains("fehlt\xFF.cfg cannot be opened: "
                                   + QString::fromLocal8Bit(std::strerror(ENOENT)).toUtf8()),
             r.err.constData());
    // Qt cannot name this file to remove the folder: it goes here.
    QCOMPARE(::unlink((folder + "/x\xFFy.cfg").constData()), 0);
}

// An installed or read-only program folder: commands that only read the database work,
// commands that write say the database is read-only and where it is.
void TestProfileCli::readOnlyProgramFolder()
{
    if (!Permissions::canEnforceInChild())
        QSKIP("the test runs as root and cannot give up root's override of file permissions");
    TestEnv env;
    QTemporaryDir out; // outside the program folder
    const QString cfg = richProfile(out.path());
    QCOMPARE(ctl({"profile", "save", "-o", out.filePath("expected.cfg")}).code, 0);
    // As installed: the database alone, without the side files of its log.
    QFile::remove(env.dbPath() + "-wal");
    QFile::remove(env.dbPath() + "-shm");

    Permissions::setTreeReadOnly(env.root(), true);
    const auto asAnyone = [](QProcess& p) { Permissions::enforceInChild(p); };
    Run r = ctl({"profile", "save", "-o", out.filePath("saved.cfg")}, asAnyone);
    QVERIFY2(r.code == 0 && readAll(out.filePath("saved.cfg")) == readAll(out.filePath("expected.cfg")),
             r.err.constData());
    r = ctl({"report", "users", "-o", out.filePath("users.pdf")}, asAnyone);
    QVERIFY2(r.code == 0 && readAll(out.filePath("users.pdf")).startsWith("%PDF"), r.err.constData());
    QCOMPARE(ctl({"profile", "to-json", cfg}, asAnyone).code, 0);
    r = ctl({"profile", "load", cfg}, asAnyone);
    QVERIFY2(r.code > 0 && r.err.count('\n') == 1
                 && r.err.contains("The database " + QDir::toNativeSeparators(env.dbPath()).toUtf8() + " is read-only"),
             r.err.constData());
    Permissions::setTreeReadOnly(env.root(), false);
}

// While another program holds the database, a command waits a few seconds, then says so;
// nothing is half-written.
void TestProfileCli::databaseInUseByAnotherProgram()
{
    TestEnv env;
    const QString cfg = richProfile(env.root());
    const QString before = env.configurationRows();
    {
        Connection other(gState());
        other.open(env.dbPath(), Connection::ReadWrite);
        QSqlQuery lock(other.db());
        QVERIFY(lock.exec("BEGIN EXCLUSIVE"));
        QElapsedTimer clock;
        clock.start();
        const Run r = ctl(
            {"profile", "load", cfg}, [](QProcess&) {}, 45000);
        const qint64 waited = clock.elapsed();
        QVERIFY2(r.code > 0 && r.err.count('\n') == 1
                     && r.err.contains("The database " + QDir::toNativeSeparators(env.dbPath()).toUtf8()
                                       + " is in use by another program. Nothing was changed."),
                 r.err.constData());
        QVERIFY2(waited >= 4500 && waited < 15000, qPrintable(QString::number(waited)));
        QVERIFY(QSqlQuery(other.db()).exec("ROLLBACK"));
    }
    QCOMPARE(env.configurationRows(), before);
}

QTEST_MAIN(TestProfileCli)
#include "test_profile_cli.moc"
