// The configuration image and profile files: byte-exact files from characteristic
// configurations, the reader's decoding and its refusals, the image-to-store copy, and the
// main window's load/save commands.
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "image/FileAccess.h"
#include "image/HexWriter.h"
#include "image/Image.h"
#include "image/ProfileReader.h"
#include "store/ConfigStore.h"
#include "store/LanguageTables.h"
#include "store/ProfileStore.h"
#include "ui/MainWindow.h"
#include "image/ProfileDiff.h"
#include "ui/CompareDialog.h"
#include <QTableWidget>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QtTest>

#include <cerrno>

namespace {
// ---- expectations worked out independently of the writer -------------------------------
QString record(int address, const QByteArray& data)
{
    const QByteArray rec = QByteArray(1, 0x10) + char(address >> 8) + char(address & 0xFF) + '\0' + data;
    int sum = 0;
    for (char c : rec)
        sum += static_cast<unsigned char>(c);
    return QStringLiteral(":") + QString::fromLatin1((rec + char(-sum)).toHex().toUpper());
}

QByteArray bytes(std::initializer_list<int> v, int fill)
{
    QByteArray b;
    for (int x : v)
        b.append(char(x));
    return b.leftJustified(16, char(fill));
}

QStringList fileLines(const QString& path) { return QString::fromLatin1(readAll(path)).split(QStringLiteral("\r\n")); }

const char* const languageColumns[] = {"", "Deutsch", "Englisch", "Italienisch", "Französisch"};

// "Benutzer1 = <pattern> & 1, Benutzer2 = <pattern> >> 1 & 1, ...": the recipients a bit pattern names.
QString recipients(const QString& pattern)
{
    QStringList set;
    for (int k = 0; k < 8; ++k)
        set << QStringLiteral("Benutzer%1 = (%2) >> %3 & 1").arg(k + 1).arg(pattern).arg(k);
    return set.join(QStringLiteral(", "));
}

// A configuration that uses every field: recipient patterns, alarm masks, default states,
// delay, texts of many lengths and characters, users with every flag combination.
void fillRich(const TestEnv& env, int language)
{
    const QString column = QString::fromUtf8(languageColumns[language]);
    env.exec("UPDATE \"Konfiguration_Eingänge\" SET " + recipients("ID * 37"));
    env.exec("UPDATE \"Konfiguration_Ausgänge\" SET DefaultState = ID % 3 = 0, " + recipients("128 >> (ID - 1)"));
    env.exec("UPDATE Alarm_Dispositiv SET IN_SF = 165, IN_FF = 60, \"Verzögerungszeit\" = 200, " + recipients("90"));
    env.exec("UPDATE PowerOn SET " + recipients("255"));
    env.exec(QStringLiteral("UPDATE SMS SET \"%1\" = CASE WHEN ID <= 16 THEN substr(replace(hex(zeroblob(ID % 5 + 1)), "
                            "'00', 'Eingang ' || ID || ' äß€ '), 1, ID * 4) WHEN ID = 20 THEN NULL WHEN ID <= 24 THEN "
                            "'Relais ' || ID WHEN ID = 25 THEN replace(hex(zeroblob(63)), '00', 'x') ELSE "
                            "replace(hex(zeroblob(64)), '00', 'P') END")
                 .arg(column));
    env.exec(
        "UPDATE Adressen SET Status = ID % 2, Operator = ID / 2 % 2, Namen = 'Benutzer Nummer ' || ID || ' Müller', "
        "Natel_Nummer = '+4179' || (1234560 + ID) || '*', Passwort = 1000 + ID * 111");
}

QString saveStore(ConfigStore& s, int language, const QString& path)
{
    Image img;
    ProfileStore::buildImage(s, language, img);
    const auto w = HexWriter::writeProfileFile(gState(), img, path);
    return w.ok() ? QString() : w.error;
}

// A hand-made profile: an image with chosen bytes, checksums made right, written out.
void fixChecksums(Image& img)
{
    for (int i = 0; i < 512; ++i) {
        int sum = 0;
        for (int e = 0; e < 20; ++e)
            sum += img.byte(e, i % 8, i / 8);
        img.setByte(20, i % 8, i / 8, std::uint8_t(-sum));
    }
}

using Lines = QMap<int, QByteArray>; // line of the file -> its 16 data bytes

} // namespace

class TestImage : public QObject {
    Q_OBJECT
private slots:
    void comparisonTableInTheProgramsLanguage();
    void savedFileLineByLine_data();
    void savedFileLineByLine();
    void roundTripStoreFileStore();
    void refusedFilesLeaveTheStoreUnchanged_data();
    void refusedFilesLeaveTheStoreUnchanged();
    void handMadeImageToStore_data();
    void handMadeImageToStore();
    void profileCommandsOfTheWindow();
};

// The file a save writes, every line against records made here: the fill pattern of an empty
// configuration but for the lines a row's statements change. Read back into the store and
// saved again, it is the same file.
void TestImage::savedFileLineByLine_data()
{
    QTest::addColumn<QString>("sql"); // statements separated by ';'
    QTest::addColumn<Lines>("lines"); // the lines apart from the fill pattern
    QTest::addRow("empty configuration") << QString() << Lines();
    // Input 3 rising edge: block 4, SMS row 5. A text is cut at 64, the terminator right
    // after it (the 15th character's in the same record: no blank that would come back as a
    // 16th character), the rest blanks.
    const auto text = [](const QString& name, const QString& text, const QByteArray& encoded) {
        const QByteArray area = (encoded.left(64) + QByteArray(1, 0)).leftJustified(96, ' ');
        Lines lines;
        for (int r = 2; r < 8; ++r)
            lines[4 * 8 + r] = area.mid((r - 2) * 16, 16);
        QTest::newRow(qPrintable(name)) << QStringLiteral("UPDATE SMS SET Deutsch = '%1' WHERE ID = 5").arg(text)
                                        << lines;
    };
    for (int n : {0, 1, 14, 15, 16, 17, 31, 32, 47, 48, 63, 64, 70}) {
        QByteArray letters;
        for (int i = 0; i < n; ++i)
            letters.append(char('A' + i % 26));
        text(QStringLiteral("text of %1 characters").arg(n), QString::fromLatin1(letters), letters);
    }
    // Windows-1252, the five codes it leaves free included; a character without a code (also
    // one outside the BMP) is one '?'.
    text("Windows-1252",
         QString::fromUtf8("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ\u0081\u008D\u008F\u0090\u009D äßÄé a\u0100b\u20ADx😀y"),
         "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F"
         "\x81\x8D\x8F\x90\x9D \xE4\xDF\xC4\xE9 a?b?x?y");
    // Alarm flags: rising edges (even blocks) from IN_SF, falling edges from IN_FF, bit k input k + 1.
    Lines flags {{7 * 8, bytes({0x17, 0, 0x85}, 0)},
                 {33 * 8, bytes({0x31, 0x08, 0x42}, 0)},
                 {52 * 8, bytes({0x44, 0, 0x5A, 200}, 0)},
                 {53 * 8, bytes({0x45, 0, 0xFF}, 0)}};
    for (const int b : {0, 4, 3, 15})
        flags[b * 8] = bytes({0x10 + b, 1}, 0);
    QTest::addRow("recipients, alarm flags, default state, delay")
        << "UPDATE \"Konfiguration_Eingänge\" SET Benutzer1 = 1, Benutzer3 = 1, Benutzer8 = 1 WHERE ID = 8;"
           "UPDATE Alarm_Dispositiv SET IN_SF = 5, IN_FF = 130, \"Verzögerungszeit\" = 200, Benutzer2 = 1, "
           "Benutzer4 = 1, Benutzer5 = 1, Benutzer7 = 1; UPDATE PowerOn SET "
            + recipients("255")
            + "; UPDATE \"Konfiguration_Ausgänge\" SET DefaultState = 1, Benutzer2 = 1, Benutzer7 = 1 WHERE ID = 2"
        << flags;
    // Each event's text is found through its row's link, by the save as by the load.
    Lines linked;
    for (const auto& [block, row] : {std::pair {0, 2}, {1, 1}, {32, 18}, {33, 17}, {52, 26}, {53, 25}})
        linked[block * 8 + 2] = (QByteArray("Zeile ") + QByteArray::number(row) + '\0').leftJustified(16, ' ');
    QTest::addRow("links exchanged") << "UPDATE \"Konfiguration_Eingänge\" SET SMSID = 3 - SMSID WHERE ID <= 2;"
                                        "UPDATE \"Konfiguration_Ausgänge\" SET SMSID = 35 - SMSID WHERE ID <= 2;"
                                        "UPDATE Alarm_Dispositiv SET SMS = 26; UPDATE PowerOn SET SMS = 25;"
                                        "UPDATE SMS SET Deutsch = 'Zeile ' || ID WHERE ID IN (1, 2, 17, 18, 25, 26)"
                                     << linked;
    // A user: flags, the password only when it has four characters, the number cut at 16, the name.
    const auto user = [](const char* name, const QString& set, int flags, const QByteArray& password,
                         const QByteArray& number, const QByteArray& text) {
        Lines lines {{56 * 8, bytes({0x48, flags}, 0).replace(8, 4, password)},
                     {56 * 8 + 1, number.leftJustified(16, char(0))}};
        const QByteArray area = (text + QByteArray(1, 0)).leftJustified(48, ' ');
        for (int r = 2; r < 5; ++r)
            lines[56 * 8 + r] = area.mid((r - 2) * 16, 16);
        QTest::newRow(name) << "UPDATE Adressen SET " + set + " WHERE ID = 1" << lines;
    };
    user("active operator", "Status=1, Operator=1, Passwort='1234', Natel_Nummer='+41791234567', Namen='Anna'", 0xC0,
         "1234", "+41791234567", "Anna");
    user("active, password of 3", "Status=1, Passwort='123', Natel_Nummer='*123*', Namen='Bruno'", 0x80,
         QByteArray(4, 0), "*123*", "Bruno");
    user("operator, password of 5, number of 19", "Operator=1, Passwort='12345', Natel_Nummer='0791234567890123456'",
         0x40, QByteArray(4, 0), "0791234567890123", "");
    user("name of 32",
         "Status=1, Operator=1, Passwort=char(0,0,0,0), Natel_Nummer='+1', Namen='" + QString(32, 'N') + "'", 0xC0,
         QByteArray(4, 0), "+1", QByteArray(32, 'N'));
}

void TestImage::savedFileLineByLine()
{
    QFETCH(QString, sql);
    QFETCH(Lines, lines);
    TestEnv env;
    for (const QString& statement : sql.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        env.exec(statement);
    const QString path = env.path("UserProfile/p.cfg"), again = env.path("UserProfile/again.cfg");
    {
        ConfigStore store(gState(), env.dbPath());
        QCOMPARE(saveStore(store, 1, path), QString());
    }
    const QStringList got = fileLines(path);
    QCOMPARE(got.mid(512), (QStringList {":00000001FF", ""}));
    for (int i = 0; i < 512; ++i) {
        const int b = i / 8;
        // Alarm block: the store's default delay of 5 minutes in byte 3.
        const QByteArray fill = i % 8 == 0 ? bytes({0x10 + b, 0, 0, b == 52 ? 5 : 0}, 0)
                                           : (i % 8 == 1 ? bytes({}, 0) : bytes({i % 8 == 2 ? 0 : ' '}, ' '));
        QCOMPARE(got[i], record(i * 16, lines.value(i, fill)));
    }
    env.exec("UPDATE SMS SET Deutsch = 'alt'");
    env.exec("UPDATE Adressen SET Namen = 'alt', Passwort = '9999'");
    ConfigStore store(gState(), env.dbPath());
    QString error;
    QVERIFY2(ProfileStore::loadFile(path, store, 1, &error), qPrintable(error));
    QCOMPARE(saveStore(store, 1, again), QString());
    QCOMPARE(readAll(again), readAll(path));
}

// Saved, the store wiped, loaded: the same configuration, committed, in the language's column
// only; a pending edit that has not reached the database yet is part of the file.
void TestImage::roundTripStoreFileStore()
{
    for (int language : {1, 2, 4}) {
        TestEnv env;
        fillRich(env, language);
        env.exec("UPDATE SMS SET Italienisch = 'andere Sprache' WHERE ID = 7"); // neither loaded nor touched below
        ConfigStore store(gState(), env.dbPath());
        store.inputs.setAbsolutePosition(2);
        store.inputs.setValue(QStringLiteral("Benutzer8"), 1 - store.inputs.value(QStringLiteral("Benutzer8")).toInt());
        const ProfileData before = ProfileStore::read(store, language);
        const QString path = env.path("UserProfile/rt.cfg");
        QCOMPARE(saveStore(store, language, path), QString());

        env.exec("UPDATE \"Konfiguration_Eingänge\" SET " + recipients("255"));
        env.exec("UPDATE \"Alarm_Dispositiv\" SET IN_SF=255, IN_FF=255, \"Verzögerungszeit\"=1");
        env.exec("UPDATE Adressen SET Namen='x', Natel_Nummer='1', Passwort='9999', Status=0, Operator=0");
        env.exec("UPDATE SMS SET Deutsch='alt', Englisch='old', Französisch='vieux'");
        // Lower-case digits and lines ending in LF alone are read too.
        writeFile(path, readAll(path).toLower().replace("\r\n", "\n") + "\n\n");
        ConfigStore fresh(gState(), env.dbPath());
        QString error;
        QVERIFY2(ProfileStore::loadFile(path, fresh, language, &error), qPrintable(error));
        QCOMPARE(ProfileStore::read(fresh, language), before);
        ConfigStore reopened(gState(), env.dbPath());
        QCOMPARE(ProfileStore::read(reopened, language), before);
        QCOMPARE(env.queryValue("SELECT Italienisch FROM SMS WHERE ID = 7").toString(),
                 QStringLiteral("andere Sprache"));
    }
}

// A refused file (or a load the database refuses) says file and reason and leaves the store,
// on disk and in memory, as it was.
void TestImage::refusedFilesLeaveTheStoreUnchanged_data()
{
    Image img;
    HexWriter::buildImage(ProfileData(), img);
    const QByteArray good = img.hexText();
    const int lineLen = 45;
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("sql"); // run before the load
    const auto row = [](const char* name, const QByteArray& content, const char* expected, const char* sql = "") {
        QTest::newRow(name) << content << QString::fromUtf8(expected) << QString::fromUtf8(sql);
    };
    row("empty file", QByteArray(), "die Datei ist leer");
    row("truncated at a line boundary", good.left(300 * lineLen),
        "Zeile 301: die Datei endet nach 300 der 512 Datensätze");
    row("cut inside a line", good.left(300 * lineLen + 20), "Zeile 301: der Datensatz hat 20 statt 43 Zeichen");
    QByteArray nonHex = good;
    nonHex[7 * lineLen + 12] = 'G';
    row("non-hex field", nonHex, "Zeile 8: 'G' an Position 13 ist keine Hexadezimalziffer");
    QByteArray badSum = good;
    badSum[99 * lineLen + 41] = badSum[99 * lineLen + 41] == '0' ? '1' : '0';
    row("bad checksum", badSum, "Zeile 100: Prüfsumme");
    row("missing end record", good.left(512 * lineLen), "Zeile 513: der Endedatensatz :00000001FF fehlt");
    QByteArray binary;
    for (int i = 0; i < 20000; ++i)
        binary.append(char((i * 7919) & 0xFF));
    row("binary file", binary, "Zeile 1: kein Intel-HEX-Datensatz");
    row("very large file", QByteArray(5 * 1024 * 1024, ':'), "Byte lang, weit mehr als ein Profil");
    QByteArray swapped = good;
    swapped.replace(10 * lineLen, lineLen, good.mid(11 * lineLen, lineLen));
    row("records out of order", swapped, "Zeile 11: Adresse 00B0, erwartet wird 00A0");
    row("text after the end record", good + "junk\r\n", "Zeile 514: Text nach dem Endedatensatz");
    QByteArray type = good;
    type.replace(0, 43, record(0, bytes({0x10}, 0)).toLatin1().replace(7, 2, "01"));
    row("wrong record type", type, "Zeile 1: Datensatztyp 01 statt 00");
    // A good file, but the texts (written last) refuse every change: the whole load fails, nothing written.
    row("failed commit", good, "locked",
        "CREATE TRIGGER locked BEFORE UPDATE ON SMS BEGIN SELECT RAISE(ABORT, 'locked'); END");
}

void TestImage::refusedFilesLeaveTheStoreUnchanged()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QFETCH(QString, sql);
    TestEnv env;
    fillRich(env, 1);
    if (!sql.isEmpty())
        env.exec(sql);
    const QString before = env.configurationRows();
    const QString path = env.path("UserProfile/bad file.cfg");
    writeFile(path, content);
    ConfigStore store(gState(), env.dbPath());
    const ProfileData inMemory = ProfileStore::read(store, 1);
    QString error;
    QVERIFY(!ProfileStore::loadFile(path, store, 1, &error));
    QVERIFY2(error.contains(expected), qPrintable(error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    QCOMPARE(env.configurationRows(), before);
    QCOMPARE(ProfileStore::read(store, 1), inMemory);
    QVERIFY(!store.sms.hasPendingChanges());
}

void TestImage::handMadeImageToStore_data()
{
    QTest::addColumn<QList<int>>("patch"); // block, record, byte, value; ...
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("expected"); // from a profile[;from a unit]
    const auto put = [](int block, int rec, int at, const QByteArray& b) { // on from data byte `at`
        QList<int> p;
        for (int j = 0; j < b.size(); ++j)
            p << block << rec + (at - 4 + j) / 16 << 4 + (at - 4 + j) % 16 << std::uint8_t(b[j]);
        return p;
    };
    QTest::addRow("alarm flags 01, 03, 02 and FF") << QList<int> {0, 0, 5, 1, 1, 0, 5, 3, 15, 0, 5, 2, 2, 0, 5, 0xFF}
                                                   << "SELECT IN_SF || ' ' || IN_FF FROM Alarm_Dispositiv"
                                                   << "1 0;3 129";
    QTest::addRow("default-state bit among others")
        << QList<int> {32, 0, 5, 0x09, 33, 0, 5, 0xF7}
        << "SELECT group_concat(DefaultState, '') FROM \"Konfiguration_Ausgänge\" WHERE ID <= 2"
        << "10";
    QTest::addRow("recipients, delay") << QList<int> {7, 0, 6, 0xA5, 52, 0, 6, 0x81, 52, 0, 7, 42, 53, 0, 6, 0x7E}
                                       << "SELECT i.Benutzer1 || i.Benutzer2 || i.Benutzer8 || a.Benutzer1 || "
                                          "a.Benutzer2 || a.Benutzer8 || ' ' || \"Verzögerungszeit\" || ' ' || "
                                          "p.Benutzer1 || p.Benutzer2 FROM \"Konfiguration_Eingänge\" i, "
                                          "Alarm_Dispositiv a, PowerOn p WHERE i.ID = 8"
                                       << "101101 42 01";
    // Older files: a blank in byte 15, the terminator in the next record.
    QTest::addRow("15 characters and a blank") << put(0, 2, 4, "Alarm Eingang 1 ") + put(0, 3, 4, QByteArray(1, 0))
                                               << "SELECT Englisch || '|' || Deutsch FROM SMS WHERE ID = 1"
                                               << "Alarm Eingang 1 |de";
    QTest::addRow("64 characters, no terminator")
        << put(53, 2, 4, QByteArray(64, 'Z')) << "SELECT Englisch FROM SMS WHERE ID = 26" << QString(64, 'Z');
    QTest::addRow("empty text is null in its column only")
        << QList<int>() << "SELECT ifnull(Englisch, '-') || Deutsch || Italienisch || Französisch FROM SMS WHERE ID = 5"
        << "-deitfr";
    const QString user = "SELECT hex(Passwort) || ifnull(Natel_Nummer, '-') || ifnull(Namen, '-') || Status || "
                         "Operator FROM Adressen WHERE ID = %1";
    QTest::addRow("empty user") << QList<int>() << user.arg(1) << "00000000--00";
    QTest::addRow("16 digits, a zero in the password")
        << put(57, 1, 4, "0123456789012345") + put(57, 0, 12, QByteArray("a\0bc", 4)) + QList<int> {57, 0, 5, 0xC0}
        << user.arg(2) << "610062630123456789012345-11";
}

// Hand-made image bytes, taken once from a profile file and once as read from a unit, as the
// store holds them after either. A profile arms the alarm input only for flag byte 01, a unit
// for any byte but 00.
void TestImage::handMadeImageToStore()
{
    QFETCH(QList<int>, patch);
    QFETCH(QString, query);
    QFETCH(QString, expected);
    TestEnv env("2");
    Image img;
    HexWriter::buildImage(ProfileData(), img);
    for (int i = 0; i + 3 < patch.size(); i += 4)
        img.setByte(patch[i + 2], patch[i + 1], patch[i], std::uint8_t(patch[i + 3]));
    fixChecksums(img);
    const QString path = env.path("UserProfile/hand.cfg");
    writeFile(path, img.hexText());
    for (const bool unit : {false, true}) {
        env.exec("UPDATE SMS SET Deutsch='de', Englisch='en', Italienisch='it', Französisch='fr'");
        env.exec("UPDATE \"Alarm_Dispositiv\" SET IN_SF=255, IN_FF=255, \"Verzögerungszeit\"=1");
        ConfigStore store(gState(), env.dbPath());
        QString error;
        const auto rule = unit ? ProfileReader::AlarmFlagRule::AnyNonZero : ProfileReader::AlarmFlagRule::ExactlyOne;
        if (unit)
            ProfileStore::storeImage(img, store, 2, rule);
        else
            QVERIFY2(ProfileStore::loadFile(path, store, 2, &error), qPrintable(error));
        QCOMPARE(env.queryValue(query).toString(), expected.section(QLatin1Char(';'), unit ? -1 : 0, unit ? -1 : 0));
        // What to-json shows, and what unit read and the comparison with the unit show.
        const QStringList lines = QString::fromLatin1(img.hexText()).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(ProfileReader::decodeLines(gState(), lines, rule), ProfileStore::read(store, 2));
    }
}

// The window's load and save: the refusal of a damaged profile comes from the language table,
// in Italian when the program runs in Italian, frame and reason alike (the German stand-ins
// are the unit window's). A save that fails keeps the unsaved-changes flag and says why.
void TestImage::profileCommandsOfTheWindow()
{
    TestEnv env("3");
    MainWindow w(gState());
    w.initializeControls(); // the start: texts of the chosen language
    env.messages.clear();
    const QString bad = env.path("UserProfile/guasto.cfg");
    writeFile(bad, QByteArray(":1000000010000000000000000000000000000000E1\r\n"));
    env.fileAnswers << bad;
    w.findChild<QAction*>(QStringLiteral("mnuLaden"))->trigger();
    QCOMPARE(env.messages.size(), 1);
    QCOMPARE(env.messages[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(env.messages[0].text,
             QStringLiteral("Il file %1 non è un profilo valido: riga 1: checksum E1 dove è atteso E0.")
                 .arg(QDir::toNativeSeparators(bad)));

    // A save that fails (the folder does not exist): the system's reason, flag still set.
    Settings::set("Profile", "File", env.path("fehlt/p.cfg"));
    gState().unsavedChanges = true;
    w.saveProfile();
    QCOMPARE(env.messages.size(), 2);
    QVERIFY(env.messages[1].text.contains(QDir::toNativeSeparators(env.path("fehlt/p.cfg")))
            && env.messages[1].text.contains(FileAccess::systemReason(ENOENT)) && gState().unsavedChanges);
}

// The comparison with the unit: one row per differing field, named and valued in the
// program's language (texts from the installed database), the JSON path as tool tip, every
// column wide enough for its text.
void TestImage::comparisonTableInTheProgramsLanguage()
{
    TestEnv env;
    ProfileData program, unit;
    program.inputs[3].recipients = 0b101; // input 2, falling edge: users 1 and 3
    unit.inputs[3].recipients = 0b010;
    unit.outputs[0].text = QStringLiteral("Pumpe \"A\" ein");
    program.alarmInput.delay = 5;
    unit.alarmInput.delay = 12;
    unit.users[1].active = true;
    ProgramContext context;
    context.messages = LanguageTable::texts(gState(), QStringLiteral("SystemNachrichten"), {}, 3); // Italian
    CompareDialog dialog(ProfileDiff::compare(program, unit), context);
    QTableWidget* table = dialog.findChild<QTableWidget*>(QStringLiteral("grdVergleich"));
    QVERIFY(table && !table->isHidden());
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("Campo"));
    QCOMPARE(table->item(0, 0)->toolTip(), QStringLiteral("inputs[3].recipients"));
    QStringList shown;
    for (int row = 0; row < table->rowCount(); ++row)
        for (int c = 0; c < 3; ++c) {
            shown << (c == 0 && row > 0 ? QString() : table->item(row, c)->text());
            QVERIFY(c == 2
                    || table->columnWidth(c) >= table->fontMetrics().horizontalAdvance(table->item(row, c)->text()));
        }
    QCOMPARE(shown,
             (QStringList {"Ingresso 2, fronte di discesa: Destinatari", "1, 3", "2", "", context.msg("gsVglKeine"),
                           "Pumpe \"A\" ein", "", "5", "12", "", context.msg("gsVglNein"), "sì"}));
    QVERIFY(dialog.summary().contains(QLatin1Char('4')));
    QVERIFY(CompareDialog({}, context).findChild<QTableWidget*>(QStringLiteral("grdVergleich"))->isHidden());
}

QTEST_MAIN(TestImage)
#include "test_image.moc"
