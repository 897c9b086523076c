// smsv48ctl profile ...: the JSON form, its refusals, and load/save against the store, run
// as a separate program on a private program folder.
#include "TestEnv.h"

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
#include <QtTest>

namespace {
struct Run {
    int code = -1;
    QByteArray out, err;
};

Run ctl(const TestEnv& env, const QStringList& args)
{
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert("SMSV48_HOME", env.root());
    e.insert("SMSV48_SETTINGS_DIR", env.settingsDir());
    e.insert("QT_QPA_PLATFORM", "offscreen");
    e.insert("XDG_RUNTIME_DIR", env.settingsDir());
    p.setProcessEnvironment(e);
    p.start(QDir(TestEnv::builtBin()).filePath("smsv48ctl"), args);
    Run r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

// A document using every field.
QJsonObject richDocument()
{
    QJsonArray inputs, outputs, users;
    for (int i = 0; i < 16; ++i)
        inputs.append(QJsonObject{{"recipients", QJsonArray{1 + i % 7, 8}}, {"alarm", i % 3 == 0},
                                  {"text", QString("Eingang %1 ä€ß").arg(i + 1).repeated(i % 4 + 1).left(64)}});
    for (int i = 0; i < 8; ++i)
        outputs.append(QJsonObject{{"recipients", QJsonArray{}}, {"defaultState", i % 2 == 1},
                                   {"text", i == 3 ? QString() : QString("Relais %1 ein").arg(i)}});
    for (int i = 0; i < 8; ++i)
        users.append(QJsonObject{{"name", i == 7 ? QJsonValue() : QJsonValue(QString("User %1").arg(i))},
                                 {"number", i == 6 ? QJsonValue() : QJsonValue(QString("+4179*%1").arg(i))},
                                 {"password", i == 5 ? QString() : QString("%1").arg(1000 + i)},
                                 {"operator", i % 2 == 0},
                                 {"active", i < 4}});
    return QJsonObject{{"format", "smsv48-profile"},
                       {"version", 1},
                       {"inputs", inputs},
                       {"outputs", outputs},
                       {"alarmInput", QJsonObject{{"recipients", QJsonArray{2, 5}}, {"delay", 255}, {"text", "Alarm!"}}},
                       {"powerOn", QJsonObject{{"recipients", QJsonArray{1}}, {"text", QString(63, 'p')}}},
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
    QVERIFY(ProfileReader::readFile(out, img, nullptr));
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
    QVERIFY(ProfileJson::fromJson(readAll(json), d, &error));
    Image img;
    HexWriter::buildImage(d, img);
    QCOMPARE(readAll(cfg), img.hexText());
    // A few fields checked against the file directly.
    const QList<QByteArray> lines = readAll(cfg).split('\n');
    QCOMPARE(lines[0].trimmed(), QByteArray(":10000000") + "100181" + QByteArray(26, '0') + "5E");
    QCOMPARE(lines[52 * 8].mid(9, 8), QByteArray("440012FF"));

    r = ctl(env, {"profile", "to-json", cfg});
    QVERIFY2(r.code == 0, r.err.constData());
    // What went in comes out, except that a missing password reads back as four NUL characters.
    QJsonObject expected = richDocument();
    QJsonArray users = expected["users"].toArray();
    QJsonObject u5 = users[5].toObject();
    u5["password"] = QString(4, QChar(0));
    users[5] = u5;
    expected["users"] = users;
    QCOMPARE(QJsonDocument::fromJson(r.out).object(), expected);
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
    QCOMPARE(o["users"].toArray()[0].toObject()["password"].toString(), QString(4, QChar(0)));
    QVERIFY(o["users"].toArray()[0].toObject()["name"].isNull());
    QVERIFY(r.out.contains("\"password\": \"\\u0000\\u0000\\u0000\\u0000\""));
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
    QTest::addRow("user 9") << inInput(3, "recipients", QJsonArray{1, 9}) << "inputs[3].recipients[1]: 9 is outside 1..8";
    QTest::addRow("user 0") << inInput(0, "recipients", QJsonArray{0}) << "inputs[0].recipients[0]: 0 is outside 1..8";
    QTest::addRow("user 1.5") << inInput(0, "recipients", QJsonArray{1.5}) << "inputs[0].recipients[0]: must be a whole number";
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
    QTest::addRow("no code") << inInput(2, "text", QString::fromUtf8("\xE2\x82\xAD")) << "inputs[2].text: holds a character";
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
    const Run r = ctl(env, {"profile", "from-json", json, "-o", cfg});
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
    QVERIFY(ProfileReader::readFile(saved, img, nullptr));
    QCOMPARE(img.SMS_auslesen(53), QStringLiteral("deutsch"));
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

QTEST_MAIN(TestProfileCli)
#include "test_profile_cli.moc"
