// smsv48ctl profile ...: the JSON form, its refusals, and load/save against the store, run
// as a separate program on a private program folder.
#include "CliRun.h"
#include "Permissions.h"
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "image/FileAccess.h"
#include "image/HexWriter.h"
#include "image/Image.h"
#include "image/ProfileJson.h"
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
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {
using CliRun::Run;

Run ctl(const TestEnv&, const QStringList& args, int timeout = 30000, const std::function<void(QProcess&)>& setup = {})
{
    return CliRun::run(CliRun::ctlPath(), args, {}, {}, setup, timeout);
}

// Through the shell in the program folder, so that a command line can hold bytes that are not
// UTF-8 (printf '\377'), as a user's shell passes them.
Run ctlInShell(const TestEnv& env, const QString& command)
{
    return CliRun::run(
        "/bin/sh", {"-c", "exec \"$0\" --language 2 " + command, CliRun::ctlPath()}, {}, {},
        [&](QProcess& p) { p.setWorkingDirectory(env.root()); }, 30000);
}

mode_t fileType(const QByteArray& name)
{
    struct stat st;
    return ::stat(name.constData(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

QByteArray readRaw(const QByteArray& name)
{
    QByteArray data;
    const int fd = ::open(name.constData(), O_RDONLY);
    if (fd < 0)
        return data;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        data.append(buffer, n);
    ::close(fd);
    return data;
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
} // namespace

class TestProfileCli : public QObject {
    Q_OBJECT
private slots:
    void shippedDefaultProfileIsTheWritersOutput();
    void jsonRoundTripAndByteExactFile();
    void toJsonShowsWhatTheFileHolds();
    void fromJsonRefusesInvalidDocuments_data();
    void fromJsonRefusesInvalidDocuments();
    void loadAndSaveAgainstTheStore();
    void loadRefusesDamagedFilesAndKeepsTheStore();
    void diffNamesEachChangedField();
    // Files and the database.
    void onlyRegularFilesAreReadOrReplaced();
    void failedWriteSaysTheSystemsReasonAndKeepsTheOldFile();
    void fileNamesThatAreNotUtf8();
    void readOnlyProgramFolder();
    void databaseInUseByAnotherProgram();
};

void TestProfileCli::shippedDefaultProfileIsTheWritersOutput()
{
    TestEnv env;
    const QString json = QStringLiteral(SMSV48_SOURCE_DIR "/data-src/SMSV48_Default.json");
    const QString out = env.path("UserProfile/neu.cfg");
    const Run r = ctl(env, {"profile", "from-json", json, "-o", out});
    QVERIFY2(r.code == 0, r.err.constData());
    const QByteArray shipped = readAll(QStringLiteral(SMSV48_SOURCE_DIR "/data/UserProfile/SMSV48_Default.cfg"));
    QCOMPARE(shipped.size(), 512 * 45 + 13);
    QCOMPARE(readAll(out), shipped);
    QCOMPARE(readAll(env.path("UserProfile/SMSV48_Default.cfg")), shipped);
    // Neutral: nobody is alerted, no user is active.
    Image img;
    QVERIFY(ProfileReader::readFile(gState(), out, img, nullptr));
    const ProfileData d = ProfileReader::decode(img);
    for (const auto& e : d.inputs)
        QVERIFY(e.recipients == 0 && !e.alarm && e.text.isEmpty());
    for (const auto& e : d.outputs)
        QVERIFY(e.recipients == 0 && !e.defaultState && e.text.isEmpty());
    QCOMPARE(d.alarmInput.recipients, std::uint8_t(0));
    QCOMPARE(d.powerOn.recipients, std::uint8_t(0));
    for (const auto& u : d.users)
        QVERIFY(!u.active && !u.op && u.name.isNull() && u.number.isNull());
}

void TestProfileCli::jsonRoundTripAndByteExactFile()
{
    TestEnv env;
    const QString json = env.path("rich.json");
    writeFile(json, QJsonDocument(richDocument()).toJson());
    const QString cfg = env.path("UserProfile/rich.cfg");
    Run r = ctl(env, {"profile", "from-json", json, "-o", cfg});
    QVERIFY2(r.code == 0, r.err.constData());
    QVERIFY(r.err.isEmpty());

    // The same bytes as the program's own build of the same configuration.
    ProfileData d;
    QString error;
    QVERIFY(ProfileJson::fromJson(gState(), readAll(json), d, &error));
    Image img;
    HexWriter::buildImage(d, img);
    QCOMPARE(readAll(cfg), img.hexText());
    // A few fields checked against the file directly.
    const QList<QByteArray> lines = readAll(cfg).split('\n');
    QCOMPARE(lines[0].trimmed(), QByteArray(":10000000") + "100181" + QByteArray(26, '0') + "5E");
    QCOMPARE(lines[52 * 8].mid(9, 8), QByteArray("440012FF"));

    r = ctl(env, {"profile", "to-json", cfg});
    QVERIFY2(r.code == 0, r.err.constData());
    // What went in comes out; a missing password (four NUL bytes in the file) as an empty text.
    QCOMPARE(QJsonDocument::fromJson(r.out).object(), richDocument());
    // Documented key order and ascending recipient lists.
    QVERIFY(r.out.startsWith("{\n  \"format\": \"smsv48-profile\",\n  \"version\": 1,\n  \"inputs\": [\n"));
    QVERIFY(r.out.contains("{\"recipients\": [1, 8], \"alarm\": true, \"text\": \"Eingang 1 ä€ß\"}"));
    QVERIFY(r.out.indexOf("\"outputs\"") < r.out.indexOf("\"alarmInput\""));
    QVERIFY(r.out.indexOf("\"powerOn\"") < r.out.indexOf("\"users\""));
}

void TestProfileCli::toJsonShowsWhatTheFileHolds()
{
    TestEnv env;
    Image img;
    HexWriter::buildImage(ProfileData(), img);
    // Older files: a 15-character text with its blank, no password.
    const QByteArray t = "Tor 1 ist offen";
    for (int j = 0; j < 16; ++j)
        img.setByte(4 + j, 2, 0, j < 15 ? std::uint8_t(t[j]) : 0x20);
    img.setByte(4, 3, 0, 0);
    img.setByte(5, 0, 1, 0x02); // not "01": no alarm
    for (int b = 0; b < 64; ++b)
        for (int r = 0; r < 8; ++r) {
            int sum = 0;
            for (int e = 0; e < 20; ++e)
                sum += img.byte(e, r, b);
            img.setByte(20, r, b, std::uint8_t((0x100 - (sum & 0xFF)) & 0xFF));
        }
    const QString cfg = env.path("alt.cfg");
    writeFile(cfg, img.hexText());
    const Run r = ctl(env, {"profile", "to-json", cfg});
    QVERIFY2(r.code == 0, r.err.constData());
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    QCOMPARE(o["inputs"].toArray()[0].toObject()["text"].toString(), QStringLiteral("Tor 1 ist offen "));
    QCOMPARE(o["inputs"].toArray()[1].toObject()["alarm"].toBool(), false);
    QCOMPARE(o["users"].toArray()[0].toObject()["password"].toString(QStringLiteral("<none>")), QString());
    QVERIFY(o["users"].toArray()[0].toObject()["name"].isNull());
    QVERIFY(r.out.contains("\"password\": \"\"") && !r.out.contains("\\u0000"));
}

void TestProfileCli::fromJsonRefusesInvalidDocuments_data()
{
    QTest::addColumn<QByteArray>("doc");
    QTest::addColumn<QString>("field");
    auto with = [](const std::function<void(QJsonObject&)>& change) {
        QJsonObject o = richDocument();
        change(o);
        return QJsonDocument(o).toJson();
    };
    auto inInput = [&](int i, const QString& key, const QJsonValue& v) {
        return with([=](QJsonObject& o) {
            QJsonArray a = o["inputs"].toArray();
            QJsonObject e = a[i].toObject();
            if (v.isUndefined())
                e.remove(key);
            else
                e[key] = v;
            a[i] = e;
            o["inputs"] = a;
        });
    };
    auto inUser = [&](int i, const QString& key, const QJsonValue& v) {
        return with([=](QJsonObject& o) {
            QJsonArray a = o["users"].toArray();
            QJsonObject e = a[i].toObject();
            e[key] = v;
            a[i] = e;
            o["users"] = a;
        });
    };
    QTest::addRow("not json") << QByteArray("{ nope") << "not JSON";
    QTest::addRow("wrong format") << with([](QJsonObject& o) { o["format"] = "other"; }) << "format: ";
    QTest::addRow("wrong version") << with([](QJsonObject& o) { o["version"] = 2; }) << "version: must be 1";
    QTest::addRow("15 inputs") << with([](QJsonObject& o) {
        QJsonArray a = o["inputs"].toArray();
        a.removeLast();
        o["inputs"] = a;
    }) << "inputs: has 15 entries instead of 16";
    QTest::addRow("9 users") << with([](QJsonObject& o) {
        QJsonArray a = o["users"].toArray();
        a.append(a[0]);
        o["users"] = a;
    }) << "users: has 9 entries instead of 8";
    QTest::addRow("user 9") << inInput(3, "recipients", QJsonArray {1, 9})
                            << "inputs[3].recipients[1]: 9 is outside 1..8";
    QTest::addRow("user 0") << inInput(0, "recipients", QJsonArray {0}) << "inputs[0].recipients[0]: 0 is outside 1..8";
    QTest::addRow("user 1.5") << inInput(0, "recipients", QJsonArray {1.5})
                              << "inputs[0].recipients[0]: must be a whole number";
    QTest::addRow("delay 256") << with([](QJsonObject& o) {
        QJsonObject a = o["alarmInput"].toObject();
        a["delay"] = 256;
        o["alarmInput"] = a;
    }) << "alarmInput.delay: 256 is outside 0..255";
    QTest::addRow("delay -1") << with([](QJsonObject& o) {
        QJsonObject a = o["alarmInput"].toObject();
        a["delay"] = -1;
        o["alarmInput"] = a;
    }) << "alarmInput.delay: -1 is outside 0..255";
    QTest::addRow("alarm as text") << inInput(2, "alarm", "yes") << "inputs[2].alarm: must be true or false";
    QTest::addRow("text missing") << inInput(2, "text", QJsonValue(QJsonValue::Undefined)) << "inputs[2].text: missing";
    QTest::addRow("text as number") << inInput(2, "text", 5) << "inputs[2].text: must be a string";
    QTest::addRow("text too long") << inInput(2, "text", QString(65, 'x')) << "inputs[2].text: has 65 characters";
    QTest::addRow("no code") << inInput(2, "text", QString::fromUtf8("\xE2\x82\xAD"))
                             << "inputs[2].text: holds a character";
    QTest::addRow("name as number") << inUser(1, "name", 3) << "users[1].name: must be a string or null";
    QTest::addRow("number too long") << inUser(1, "number", QString(17, '1')) << "users[1].number: has 17 characters";
    QTest::addRow("password 3") << inUser(1, "password", "123") << "users[1].password: must be empty or exactly 4";
    QTest::addRow("password null") << inUser(1, "password", QJsonValue()) << "users[1].password: must be a string";
    QTest::addRow("unknown key") << inUser(1, "mail", "x") << "users[1].mail: unknown field";
    QTest::addRow("users not a list") << with([](QJsonObject& o) { o["users"] = 8; }) << "users: must be a list";
    QTest::addRow("top-level array") << QByteArray("[]") << "not a profile";
}

void TestProfileCli::fromJsonRefusesInvalidDocuments()
{
    QFETCH(QByteArray, doc);
    QFETCH(QString, field);
    TestEnv env;
    const QString json = env.path("bad.json");
    writeFile(json, doc);
    const QString cfg = env.path("out.cfg");
    const Run r = ctl(env, {"--language", "2", "profile", "from-json", json, "-o", cfg});
    QVERIFY(r.code != 0);
    QVERIFY2(r.err.contains(field.toUtf8()), r.err.constData());
    QCOMPARE(r.err.count('\n'), 1);
    QVERIFY(!QFileInfo::exists(cfg));
}

void TestProfileCli::loadAndSaveAgainstTheStore()
{
    TestEnv env;
    env.exec("UPDATE SMS SET Deutsch='deutsch'");
    const QString json = env.path("rich.json");
    writeFile(json, QJsonDocument(richDocument()).toJson());
    const QString cfg = env.path("rich.cfg");
    QCOMPARE(ctl(env, {"profile", "from-json", json, "-o", cfg}).code, 0);

    Run r = ctl(env, {"--language", "2", "profile", "load", cfg});
    QVERIFY2(r.code == 0, r.err.constData());
    QCOMPARE(env.queryValue("SELECT Englisch FROM SMS WHERE ID=25").toString(), QStringLiteral("Alarm!"));
    QCOMPARE(env.queryValue("SELECT Deutsch FROM SMS WHERE ID=25").toString(), QStringLiteral("deutsch"));
    QCOMPARE(env.queryValue("SELECT IN_SF FROM \"Alarm_Dispositiv\"").toInt(), 1 + 8 + 64);
    QCOMPARE(env.queryValue("SELECT \"Verzögerungszeit\" FROM \"Alarm_Dispositiv\"").toInt(), 255);
    QCOMPARE(env.queryValue("SELECT Natel_Nummer FROM Adressen WHERE ID=3").toString(), QStringLiteral("+4179*2"));

    // Saving in English gives the same file back.
    const QString saved = env.path("saved.cfg");
    r = ctl(env, {"--language", "2", "profile", "save", "-o", saved});
    QVERIFY2(r.code == 0, r.err.constData());
    QCOMPARE(readAll(saved), readAll(cfg));
    // In German the texts are the German column.
    r = ctl(env, {"--language", "1", "profile", "save", "-o", saved});
    QCOMPARE(r.code, 0);
    Image img;
    QVERIFY(ProfileReader::readFile(gState(), saved, img, nullptr));
    QCOMPARE(img.smsText(53), QStringLiteral("deutsch"));
    // A target that cannot be written: one line with the system's reason.
    r = ctl(env, {"profile", "save", "-o", env.path("fehlt/x.cfg")});
    QVERIFY(r.code != 0);
    QCOMPARE(r.err.count('\n'), 1);
    QVERIFY(r.err.contains("x.cfg"));
}

void TestProfileCli::loadRefusesDamagedFilesAndKeepsTheStore()
{
    TestEnv env;
    env.exec("UPDATE SMS SET Deutsch='vorher'");
    QByteArray content = readAll(env.path("UserProfile/SMSV48_Default.cfg"));
    content.truncate(200 * 45 + 7);
    const QString cfg = env.path("kurz.cfg");
    writeFile(cfg, content);
    const QVariant before = env.queryValue("SELECT group_concat(Deutsch) FROM SMS");
    Run r = ctl(env, {"--language", "2", "profile", "load", cfg});
    QVERIFY(r.code != 0);
    QCOMPARE(r.err.count('\n'), 1);
    QVERIFY2(r.err.contains("line 201: the record has 7 characters instead of 43"), r.err.constData());
    // The stored language (German by default) gives the German text.
    r = ctl(env, {"profile", "load", cfg});
    QVERIFY(r.code != 0);
    QVERIFY2(r.err.contains("Zeile 201: der Datensatz hat 7 statt 43 Zeichen"), r.err.constData());
    QCOMPARE(env.queryValue("SELECT group_concat(Deutsch) FROM SMS"), before);
    const Run j = ctl(env, {"profile", "to-json", cfg});
    QVERIFY(j.code != 0);
    QVERIFY(j.out.isEmpty());
}

// Two configurations compared field by field, named as in the JSON form.
void TestProfileCli::diffNamesEachChangedField()
{
    TestEnv env;
    const QString json = env.path("rich.json");
    writeFile(json, QJsonDocument(richDocument()).toJson());
    const QString cfg = env.path("UserProfile/rich.cfg");
    QCOMPARE(ctl(env, {"profile", "from-json", json, "-o", cfg}).code, 0);
    // The same configuration as a file and as JSON: equal.
    Run r = ctl(env, {"profile", "diff", cfg, json});
    QVERIFY2(r.code == 0 && r.out.isEmpty(), r.out.constData());

    // Input 2 falling (row 3): users 2 and 8 instead of 4 and 8; a text, a number, a password.
    QJsonObject changed = richDocument();
    QJsonArray inputs = changed["inputs"].toArray();
    QJsonObject in3 = inputs[3].toObject();
    QCOMPARE(in3["recipients"].toArray(), (QJsonArray {4, 8}));
    in3["recipients"] = QJsonArray {2, 8};
    inputs[3] = in3;
    changed["inputs"] = inputs;
    QJsonObject alarm = changed["alarmInput"].toObject();
    alarm["text"] = QStringLiteral("Einbruch \"Lager\"");
    changed["alarmInput"] = alarm;
    QJsonArray users = changed["users"].toArray();
    QJsonObject u1 = users[1].toObject();
    u1["number"] = QStringLiteral("+41791234567");
    u1["password"] = QStringLiteral("9999");
    users[1] = u1;
    changed["users"] = users;
    const QString json2 = env.path("changed.json");
    writeFile(json2, QJsonDocument(changed).toJson());

    r = ctl(env, {"profile", "diff", cfg, json2});
    QCOMPARE(r.code, 1);
    QCOMPARE(
        QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts),
        (QStringList {"inputs[3].recipients: +2 -4", "alarmInput.text: \"Alarm!\" -> \"Einbruch \\\"Lager\\\"\"",
                      "users[1].number: \"+4179*1\" -> \"+41791234567\"", "users[1].password: \"****\" -> \"****\""}));
    QVERIFY(!r.out.contains("1001") && !r.out.contains("9999"));

    r = ctl(env, {"profile", "diff", json2, cfg, "--json"});
    QCOMPARE(r.code, 1);
    const QJsonArray list = QJsonDocument::fromJson(r.out).array();
    QCOMPARE(list.size(), 4);
    QCOMPARE(
        list[0].toObject(),
        (QJsonObject {{"field", "inputs[3].recipients"}, {"before", QJsonArray {2, 8}}, {"after", QJsonArray {4, 8}}}));
    QCOMPARE(list[2].toObject()["before"].toString(), QStringLiteral("+41791234567"));

    // The store against the file it was loaded from: equal; then one field apart.
    QCOMPARE(ctl(env, {"profile", "load", cfg}).code, 0);
    r = ctl(env, {"profile", "diff", "store", cfg});
    QVERIFY2(r.code == 0, r.out.constData());
    env.exec("UPDATE PowerOn SET Benutzer3=1");
    r = ctl(env, {"profile", "diff", cfg, "store"});
    QCOMPARE(r.code, 1);
    QCOMPARE(r.out, QByteArray("powerOn.recipients: +3\n"));

    // A side that cannot be read is a file problem, not a difference.
    r = ctl(env, {"profile", "diff", cfg, env.path("missing.cfg")});
    QCOMPARE(r.code, 5);
    QVERIFY(r.out.isEmpty() && r.err.contains("missing.cfg"));
}

// A named pipe or a device is never read (a pipe would wait forever for a writer) nor
// replaced by a regular file: one line says what it is, and it stays what it was.
void TestProfileCli::onlyRegularFilesAreReadOrReplaced()
{
    TestEnv env;
    const QString pipe = env.path("pipe");
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString json = env.path("rich.json");
    writeFile(json, QJsonDocument(richDocument()).toJson());
    const QByteArray notRegular = QDir::toNativeSeparators(pipe).toUtf8() + " is not a regular file";

    const QList<QStringList> sources = {{"profile", "load", pipe},
                                        {"profile", "to-json", pipe},
                                        {"profile", "from-json", pipe, "-o", env.path("a.cfg")},
                                        {"unit", "write", pipe},
                                        {"firmware", pipe, "--yes"}};
    for (const QStringList& args : sources) {
        const Run r = ctl(env, QStringList {"--language", "2"} + args, 10000);
        QVERIFY2(r.code > 0, qPrintable(args.join(' ')));
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY2(r.err.contains(notRegular), r.err.constData());
    }
    QVERIFY(!QFile::exists(env.path("a.cfg")));

    // The targets: the pipe, and a device (a node of its own where the system allows one;
    // /dev/full itself only where it cannot be replaced anyway).
    QStringList targets {pipe};
    const QString device = env.path("full");
    if (mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 7)) == 0)
        targets << device;
    else if (geteuid() != 0)
        targets << QStringLiteral("/dev/full");
    for (const QString& target : targets) {
        const mode_t type = fileType(QFile::encodeName(target));
        const QList<QStringList> writers = {{"profile", "save", "-o", target},
                                            {"profile", "from-json", json, "-o", target},
                                            {"report", "users", "-o", target}};
        for (const QStringList& args : writers) {
            const Run r = ctl(env, QStringList {"--language", "2"} + args, 10000);
            QVERIFY2(r.code > 0, qPrintable(args.join(' ')));
            QCOMPARE(r.err.count('\n'), 1);
            QVERIFY2(r.err.contains(QDir::toNativeSeparators(target).toUtf8() + " is not a regular file"),
                     r.err.constData());
            QCOMPARE(fileType(QFile::encodeName(target)), type);
        }
    }
    QCOMPARE(fileType(QFile::encodeName(pipe)), mode_t(S_IFIFO));
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

    const QString old = env.path("alt.cfg");
    writeFile(old, "the old profile\r\n");
    Run r = ctl(env, {"--language", "2", "profile", "save", "-o", old}, 30000, limited);
    QVERIFY(r.code > 0);
    QCOMPARE(r.err.count('\n'), 1);
    QVERIFY2(r.err.contains(QDir::toNativeSeparators(old).toUtf8() + " cannot be written: " + reason
                            + ". The previous file is unchanged."),
             r.err.constData());
    QCOMPARE(readAll(old), QByteArray("the old profile\r\n"));

    const QString fresh = env.path("neu.cfg");
    r = ctl(env, {"--language", "2", "profile", "save", "-o", fresh}, 30000, limited);
    QVERIFY(r.code > 0);
    QVERIFY2(r.err.contains(reason + ". No file was created."), r.err.constData());
    QVERIFY(!QFile::exists(fresh));
    QCOMPARE(QDir(env.root()).entryList({"alt.cfg*", "neu.cfg*"}, QDir::Files | QDir::Hidden), QStringList {"alt.cfg"});

    // A full disk: the sentence carries the system's words for it, never "Unknown error".
    QCOMPARE(FileAccess::writeFailure(gState(), old, ENOSPC, true),
             QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2. Die bisherige Datei ist unverändert.")
                 .arg(QDir::toNativeSeparators(old), QString::fromLocal8Bit(std::strerror(ENOSPC))));
}

// A file name is bytes, not necessarily UTF-8: such a file is found, and a new one gets
// exactly the name typed.
void TestProfileCli::fileNamesThatAreNotUtf8()
{
    TestEnv env;
    const QByteArray folder = QFile::encodeName(env.root());
    const QByteArray profile = readAll(env.path("UserProfile/SMSV48_Default.cfg"));
    {
        const int fd = ::open((folder + "/x\xFFy.cfg").constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, profile.constData(), size_t(profile.size())), ssize_t(profile.size()));
        ::close(fd);
    }
    Run r = ctlInShell(env, "profile to-json \"$(printf 'x\\377y.cfg')\"");
    QVERIFY2(r.code == 0, r.err.constData());
    QVERIFY(r.out.startsWith("{\n  \"format\": \"smsv48-profile\""));
    r = ctlInShell(env, "profile load \"$(printf 'x\\377y.cfg')\"");
    QVERIFY2(r.code == 0, r.err.constData());

    r = ctlInShell(env, "profile save -o \"$(printf 'neu\\376.cfg')\"");
    QVERIFY2(r.code == 0, r.err.constData());
    QCOMPARE(readRaw(folder + "/neu\xFE.cfg"), profile);

    // A file that is not there is named with its own bytes.
    r = ctlInShell(env, "profile to-json \"$(printf 'fehlt\\377.cfg')\"");
    QVERIFY(r.code > 0);
    QVERIFY2(
        r.err.contains("fehlt\xFF.cfg cannot be opened: " + QString::fromLocal8Bit(std::strerror(ENOENT)).toUtf8()),
        r.err.constData());
    // Qt cannot name these files to remove the folder: they go here.
    QCOMPARE(::unlink((folder + "/x\xFFy.cfg").constData()), 0);
    QCOMPARE(::unlink((folder + "/neu\xFE.cfg").constData()), 0);
}

// An installed or read-only program folder: commands that only read the database work,
// commands that write say the database is read-only and where it is.
void TestProfileCli::readOnlyProgramFolder()
{
    if (!Permissions::canEnforceInChild())
        QSKIP("the test runs as root and cannot give up root's override of file permissions");
    TestEnv env;
    QTemporaryDir out; // outside the program folder
    const QString json = out.filePath("rich.json");
    writeFile(json, QJsonDocument(richDocument()).toJson());
    const QString cfg = out.filePath("rich.cfg");
    QCOMPARE(ctl(env, {"profile", "from-json", json, "-o", cfg}).code, 0);
    QCOMPARE(ctl(env, {"profile", "save", "-o", out.filePath("expected.cfg")}).code, 0);
    const QByteArray database = readAll(env.dbPath());
    // As installed: the database alone, without the side files of its log.
    QFile::remove(env.dbPath() + "-wal");
    QFile::remove(env.dbPath() + "-shm");
    const QStringList installed = QDir(env.path("Datenbank")).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(installed, QStringList {"SMS_Vantor.sqlite"});

    Permissions::setTreeReadOnly(env.root(), true);
    const auto asAnyone = [](QProcess& p) { Permissions::enforceInChild(p); };
    Run r = ctl(env, {"--language", "2", "profile", "save", "-o", out.filePath("saved.cfg")}, 30000, asAnyone);
    QVERIFY2(r.code == 0, r.err.constData());
    QCOMPARE(readAll(out.filePath("saved.cfg")), readAll(out.filePath("expected.cfg")));
    r = ctl(env, {"--language", "2", "report", "users", "-o", out.filePath("users.pdf")}, 30000, asAnyone);
    QVERIFY2(r.code == 0, r.err.constData());
    QVERIFY(readAll(out.filePath("users.pdf")).startsWith("%PDF"));
    r = ctl(env, {"--language", "2", "profile", "to-json", cfg}, 30000, asAnyone);
    QCOMPARE(r.code, 0);

    r = ctl(env, {"--language", "2", "profile", "load", cfg}, 30000, asAnyone);
    QVERIFY(r.code > 0);
    QCOMPARE(r.err.count('\n'), 1);
    QVERIFY2(r.err.contains("The database " + QDir::toNativeSeparators(env.dbPath()).toUtf8() + " is read-only"),
             r.err.constData());
    Permissions::setTreeReadOnly(env.root(), false);
    QCOMPARE(readAll(env.dbPath()), database);
    QCOMPARE(QDir(env.path("Datenbank")).entryList(QDir::Files | QDir::Hidden), installed);
}

// While another program holds the database, a command waits a few seconds, then says so;
// nothing is half-written.
void TestProfileCli::databaseInUseByAnotherProgram()
{
    TestEnv env;
    const QString json = env.path("rich.json");
    writeFile(json, QJsonDocument(richDocument()).toJson());
    const QString cfg = env.path("rich.cfg");
    QCOMPARE(ctl(env, {"profile", "from-json", json, "-o", cfg}).code, 0);
    const auto dump = [&] {
        return env.queryValue("SELECT group_concat(coalesce(Englisch, '-')) FROM SMS").toString()
            + env.queryValue("SELECT group_concat(coalesce(Namen, '-') || Status) FROM Adressen").toString()
            + env.queryValue("SELECT group_concat(Benutzer1 || Benutzer2) FROM \"Konfiguration_Eingänge\"").toString();
    };
    const QString before = dump();
    {
        Connection other(gState());
        other.open(env.dbPath(), Connection::ReadWrite);
        QSqlQuery lock(other.db());
        QVERIFY(lock.exec("BEGIN EXCLUSIVE"));
        QElapsedTimer clock;
        clock.start();
        const Run r = ctl(env, {"--language", "2", "profile", "load", cfg}, 45000);
        const qint64 waited = clock.elapsed();
        QVERIFY(r.code > 0);
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY2(r.err.contains("The database " + QDir::toNativeSeparators(env.dbPath()).toUtf8()
                                + " is in use by another program. Nothing was changed."),
                 r.err.constData());
        QVERIFY2(waited >= 4500 && waited < 15000, qPrintable(QString::number(waited)));
        QVERIFY(QSqlQuery(other.db()).exec("ROLLBACK"));
    }
    QCOMPARE(dump(), before);
    // Once the other program is done, the same command goes through.
    QCOMPARE(ctl(env, {"--language", "2", "profile", "load", cfg}).code, 0);
    QCOMPARE(env.queryValue("SELECT Englisch FROM SMS WHERE ID=25").toString(), QStringLiteral("Alarm!"));
}

QTEST_MAIN(TestProfileCli)
#include "test_profile_cli.moc"
