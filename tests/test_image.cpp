// The configuration image and profile files: byte-exact files from characteristic
// configurations, the reader's decoding and its refusals, the image-to-store copy, and the
// main window's load/save commands.
#include "Permissions.h"
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "image/FileAccess.h"
#include "image/HexWriter.h"
#include "image/Image.h"
#include "image/ProfileReader.h"
#include "store/ConfigStore.h"
#include "store/ProfileStore.h"
#include "ui/MainWindow.h"
#include "ui/ProfileController.h"
#include "image/ProfileDiff.h"
#include "ui/CompareDialog.h"
#include <QTableWidget>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#include <cerrno>

namespace {
// ---- expectations worked out independently of the writer -------------------------------
QString record(int address, const QByteArray& data)
{
    Q_ASSERT(data.size() == 16);
    QByteArray rec;
    rec.append(char(0x10));
    rec.append(char(address >> 8));
    rec.append(char(address & 0xFF));
    rec.append(char(0x00));
    rec.append(data);
    int sum = 0;
    for (char c : rec)
        sum += static_cast<unsigned char>(c);
    rec.append(char((0x100 - (sum & 0xFF)) & 0xFF));
    return QStringLiteral(":") + QString::fromLatin1(rec.toHex().toUpper());
}

QByteArray bytes(std::initializer_list<int> v, int fill, int size = 16)
{
    QByteArray b;
    for (int x : v)
        b.append(char(x));
    while (b.size() < size)
        b.append(char(fill));
    return b;
}

// The 96 text bytes of records 2..7 of a block whose text is `text` (already one byte a
// character): the text cut at 64, a terminator right after it, the rest blanks.
QByteArray textArea(const QByteArray& text)
{
    QByteArray a = text.left(64);
    a.append(char(0));
    while (a.size() < 96)
        a.append(' ');
    return a;
}

QStringList fileLines(const QString& path) { return QString::fromLatin1(readAll(path)).split(QStringLiteral("\r\n")); }

void setRow(Recordset& rs, int row, const QString& field, const QVariant& v)
{
    rs.setAbsolutePosition(row);
    rs.setValue(field, v);
}

void setRecipients(Recordset& rs, int row, int offset, int mask)
{
    rs.setAbsolutePosition(row);
    for (int k = 0; k < 8; ++k)
        rs.setValue(k + offset, (mask >> k) & 1);
}

// A configuration that uses every field: recipient patterns, alarm masks, default states,
// delay, texts of many lengths and characters, users with every flag combination.
void fillRich(ConfigStore& s, int language)
{
    const int col = language + 1;
    for (int n = 1; n <= 16; ++n) {
        setRecipients(s.inputs, n, 2, (n * 37) & 0xFF);
        s.sms.setAbsolutePosition(n);
        s.sms.setValue(col, QStringLiteral("Eingang %1 äß€ ").arg(n).repeated(n % 5 + 1).left(n * 4));
    }
    for (int n = 1; n <= 8; ++n) {
        setRecipients(s.outputs, n, 2, 0x80 >> (n - 1));
        setRow(s.outputs, n, QStringLiteral("DefaultState"), n % 3 == 0 ? 1 : 0);
        s.sms.setAbsolutePosition(16 + n);
        s.sms.setValue(col,
                       n == 4 ? QVariant(QMetaType(QMetaType::QString)) : QVariant(QStringLiteral("Relais %1").arg(n)));
    }
    setRecipients(s.alarmInput, 1, 3, 0x5A);
    setRow(s.alarmInput, 1, QStringLiteral("IN_SF"), 0xA5);
    setRow(s.alarmInput, 1, QStringLiteral("IN_FF"), 0x3C);
    setRow(s.alarmInput, 1, tbl::Verzoegerungszeit, 200);
    s.sms.setAbsolutePosition(25);
    s.sms.setValue(col, QString(63, QLatin1Char('x')));
    setRecipients(s.powerOn, 1, 1, 0xFF);
    s.sms.setAbsolutePosition(26);
    s.sms.setValue(col, QString(64, QLatin1Char('P')));
    for (int n = 1; n <= 8; ++n) {
        setRow(s.addresses, n, QStringLiteral("Status"), n % 2);
        setRow(s.addresses, n, QStringLiteral("Operator"), (n / 2) % 2);
        setRow(s.addresses, n, QStringLiteral("Namen"), QStringLiteral("Benutzer Nummer %1 Müller").arg(n));
        setRow(s.addresses, n, QStringLiteral("Natel_Nummer"), QStringLiteral("+4179%1*").arg(1234560 + n));
        setRow(s.addresses, n, QStringLiteral("Passwort"), QStringLiteral("%1").arg(1000 + n * 111));
    }
    s.updateAll();
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
    for (int b = 0; b < 64; ++b)
        for (int r = 0; r < 8; ++r) {
            int sum = 0;
            for (int e = 0; e < 20; ++e)
                sum += img.byte(e, r, b);
            img.setByte(20, r, b, std::uint8_t((0x100 - (sum & 0xFF)) & 0xFF));
        }
}

} // namespace

class TestImage : public QObject {
    Q_OBJECT
private slots:
    void comparisonTableInTheProgramsLanguage_data();
    void comparisonTableInTheProgramsLanguage();
    void emptyConfigurationGivesTheFillPattern();
    void textLengthsAndTerminator_data();
    void textLengthsAndTerminator();
    void windows1252Characters();
    void recipientsAlarmFlagsAndDefaultStates();
    void phoneBookEntries();
    void roundTripStoreFileStore();
    void readerAcceptsLowerCaseAndLfLines();
    void refusedFilesLeaveTheStoreUnchanged_data();
    void refusedFilesLeaveTheStoreUnchanged();
    void failedCommitLeavesTheStoreUnchanged();
    void fuzzedFilesNeverChangeTheStoreWhenRefused();
    void handMadeImageToStore_data();
    void handMadeImageToStore();
    void textsFollowTheirLinksBothWays_data();
    void textsFollowTheirLinksBothWays();
    void refusedProfileSpeaksTheChosenLanguage();
    void saveIntoReadOnlyFolderKeepsTheFlag();
};

void TestImage::emptyConfigurationGivesTheFillPattern()
{
    TestEnv env;
    ConfigStore store(gState(), env.dbPath());
    const QString path = env.path("UserProfile/empty.cfg");
    QCOMPARE(saveStore(store, 1, path), QString());
    QCOMPARE(QFileInfo(path).size(), qint64(512 * 45 + 13));
    const QStringList lines = fileLines(path);
    QCOMPARE(lines.size(), 514); // 512 records, the end record, and the empty rest after its CR LF
    QCOMPARE(lines[0], QStringLiteral(":1000000010000000000000000000000000000000E0"));
    QCOMPARE(lines[2], QStringLiteral(":1000200000202020202020202020202020202020F0"));
    QCOMPARE(lines.mid(512), (QStringList {":00000001FF", ""}));
    for (int b = 0; b < 64; ++b) {
        const int a = b * 0x80;
        const int code = 0x10 + b;
        // Alarm block: the store's default delay of 5 minutes in byte 3.
        const QByteArray rec0 = b == 52 ? bytes({code, 0, 0, 5}, 0) : bytes({code}, 0);
        QCOMPARE(lines[b * 8 + 0], record(a, rec0));
        QCOMPARE(lines[b * 8 + 1], record(a + 0x10, bytes({}, 0)));
        QCOMPARE(lines[b * 8 + 2], record(a + 0x20, bytes({0}, ' ')));
        for (int r = 3; r < 8; ++r)
            QCOMPARE(lines[b * 8 + r], record(a + r * 0x10, bytes({}, ' ')));
    }
}

void TestImage::textLengthsAndTerminator_data()
{
    QTest::addColumn<int>("length");
    for (int n : {0, 1, 14, 15, 16, 17, 31, 32, 47, 48, 63, 64, 70})
        QTest::addRow("%d characters", n) << n;
}

void TestImage::textLengthsAndTerminator()
{
    QFETCH(int, length);
    TestEnv env;
    ConfigStore store(gState(), env.dbPath());
    QByteArray text;
    for (int i = 0; i < length; ++i)
        text.append(char('A' + i % 26));
    // Input 3 rising edge: block 4, SMS row 5.
    store.sms.setAbsolutePosition(5);
    store.sms.setValue(2, QString::fromLatin1(text));
    const QString path = env.path("UserProfile/t.cfg");
    QCOMPARE(saveStore(store, 1, path), QString());
    const QStringList lines = fileLines(path);
    const QByteArray area = textArea(text);
    for (int r = 2; r < 8; ++r)
        QCOMPARE(lines[4 * 8 + r], record(4 * 0x80 + r * 0x10, area.mid((r - 2) * 16, 16)));
    // The terminator follows the 15th character in the same record; no blank is left before
    // it that would come back as a 16th character.
    if (length == 15)
        QCOMPARE(lines[4 * 8 + 2], record(0x220, QByteArray("ABCDEFGHIJKLMNO") + QByteArray(1, 0)));
    // Read back, every length up to 64 comes back exactly; longer texts keep their first 64.
    ConfigStore other(gState(), env.dbPath());
    QString error;
    QVERIFY2(ProfileStore::loadFile(path, other, 1, &error), qPrintable(error));
    other.sms.setAbsolutePosition(5);
    const QVariant back = other.sms.value(2);
    if (length == 0)
        QVERIFY(back.isNull());
    else
        QCOMPARE(back.toString(), QString::fromLatin1(text.left(64)));
}

void TestImage::windows1252Characters()
{
    QCOMPARE(Cp1252::encode(QStringLiteral("äöüÄÖÜß€éàç")), QByteArray("\xE4\xF6\xFC\xC4\xD6\xDC\xDF\x80\xE9\xE0\xE7"));
    QCOMPARE(
        Cp1252::encode(QStringLiteral("Œ‚„…†‡ˆ‰Š‹ŽœžŸ‘’“”•–—˜™š›")),
        QByteArray(
            "\x8C\x82\x84\x85\x86\x87\x88\x89\x8A\x8B\x8E\x9C\x9E\x9F\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B"));
    // No code: one '?' per character, also for a character outside the BMP.
    QCOMPARE(Cp1252::encode(QString::fromUtf8("a\u0100b\u20ADx\xF0\x9F\x98\x80y")), QByteArray("a?b?x?y"));
    // Every byte decodes to a character that encodes back to the same byte.
    for (int b = 1; b < 256; ++b) {
        bool ok = false;
        QCOMPARE(int(Cp1252::encode(char32_t(Cp1252::decode(std::uint8_t(b)).unicode()), &ok)), b);
        QVERIFY(ok);
    }
}

void TestImage::recipientsAlarmFlagsAndDefaultStates()
{
    TestEnv env;
    ConfigStore store(gState(), env.dbPath());
    fillRich(store, 1);
    const QString path = env.path("UserProfile/rich.cfg");
    QCOMPARE(saveStore(store, 1, path), QString());
    const QStringList lines = fileLines(path);
    const int inSF = 0xA5, inFF = 0x3C;
    for (int n = 1; n <= 16; ++n) {
        const int b = n - 1;
        const int k = (n - 1) / 2;
        const int flag = (((n % 2) ? inSF : inFF) >> k) & 1;
        QCOMPARE(lines[b * 8], record(b * 0x80, bytes({0x10 + b, flag, (n * 37) & 0xFF}, 0)));
    }
    for (int n = 1; n <= 8; ++n) {
        const int b = 31 + n;
        QCOMPARE(lines[b * 8], record(b * 0x80, bytes({0x10 + b, n % 3 == 0 ? 0x08 : 0, 0x80 >> (n - 1)}, 0)));
    }
    // Output 4 has no text (null): terminator at byte 0.
    QCOMPARE(lines[35 * 8 + 2], record(35 * 0x80 + 0x20, bytes({0}, ' ')));
    QCOMPARE(lines[52 * 8], record(52 * 0x80, bytes({0x44, 0, 0x5A, 200}, 0)));
    QCOMPARE(lines[53 * 8], record(53 * 0x80, bytes({0x45, 0, 0xFF}, 0)));
}

void TestImage::phoneBookEntries()
{
    TestEnv env;
    ConfigStore store(gState(), env.dbPath());
    Recordset& a = store.addresses;
    const struct {
        int status, op;
        QVariant password, number, name;
        int flags;
        QByteArray pwBytes, numberBytes;
    } cases[] = {
        {1, 1, "1234", "+41791234567", "Anna", 0xC0, "1234", "+41791234567"},
        {1, 0, "123", "*123*", "Bruno", 0x80, QByteArray(4, 0), "*123*"},
        {0, 1, "12345", "0791234567890123456", "Carla", 0x40, QByteArray(4, 0), "0791234567890123"},
        {0, 0, QVariant(QMetaType(QMetaType::QString)), QVariant(QMetaType(QMetaType::QString)),
         QVariant(QMetaType(QMetaType::QString)), 0x00, QByteArray(4, 0), ""},
        {1, 1, QString(4, QChar(0)), "+1", "Name mit 32 Zeichen 0123456789ab", 0xC0, QByteArray(4, 0), "+1"},
    };
    for (int i = 0; i < 5; ++i) {
        a.setAbsolutePosition(i + 1);
        a.setValue(QStringLiteral("Status"), cases[i].status);
        a.setValue(QStringLiteral("Operator"), cases[i].op);
        a.setValue(QStringLiteral("Passwort"), cases[i].password);
        a.setValue(QStringLiteral("Natel_Nummer"), cases[i].number);
        a.setValue(QStringLiteral("Namen"), cases[i].name);
    }
    const QString path = env.path("UserProfile/users.cfg");
    QCOMPARE(saveStore(store, 1, path), QString());
    const QStringList lines = fileLines(path);
    for (int i = 0; i < 5; ++i) {
        const int b = 56 + i;
        QByteArray rec0 = bytes({0x10 + b, cases[i].flags}, 0);
        rec0.replace(8, 4, cases[i].pwBytes);
        QCOMPARE(lines[b * 8], record(b * 0x80, rec0));
        QByteArray number = cases[i].numberBytes;
        number.append(QByteArray(16 - number.size(), 0));
        QCOMPARE(lines[b * 8 + 1], record(b * 0x80 + 0x10, number));
        const QByteArray area = textArea(cases[i].name.toString().toLatin1());
        QCOMPARE(lines[b * 8 + 2], record(b * 0x80 + 0x20, area.left(16)));
        QCOMPARE(lines[b * 8 + 3], record(b * 0x80 + 0x30, area.mid(16, 16)));
        QCOMPARE(lines[b * 8 + 4], record(b * 0x80 + 0x40, area.mid(32, 16)));
    }
}

void TestImage::roundTripStoreFileStore()
{
    for (int language : {1, 2, 4}) {
        TestEnv env;
        ConfigStore store(gState(), env.dbPath());
        fillRich(store, language);
        // Another language column holds its own texts, which a load must not touch.
        const int other = 3; // Italian: neither loaded nor touched below
        store.sms.setAbsolutePosition(7);
        store.sms.setValue(other + 1, QStringLiteral("andere Sprache"));
        store.updateAll();
        // A pending edit that has not reached the database yet is part of the file.
        store.inputs.setAbsolutePosition(2);
        store.inputs.setValue(QStringLiteral("Benutzer8"), 1 - store.inputs.value(QStringLiteral("Benutzer8")).toInt());
        const ProfileData before = ProfileStore::read(store, language);
        const QString path = env.path("UserProfile/rt.cfg");
        QCOMPARE(saveStore(store, language, path), QString());

        // Wipe the configuration, then read the file back.
        env.exec("UPDATE \"Konfiguration_Eingänge\" SET Benutzer1=1,Benutzer2=1,Benutzer3=1,Benutzer4=1,Benutzer5=1,"
                 "Benutzer6=1,Benutzer7=1,Benutzer8=1");
        env.exec("UPDATE \"Alarm_Dispositiv\" SET IN_SF=255, IN_FF=255, \"Verzögerungszeit\"=1");
        env.exec("UPDATE Adressen SET Namen='x', Natel_Nummer='1', Passwort='9999', Status=0, Operator=0");
        env.exec("UPDATE SMS SET Deutsch='alt', Englisch='old', Französisch='vieux'");
        ConfigStore fresh(gState(), env.dbPath());
        QString error;
        QVERIFY2(ProfileStore::loadFile(path, fresh, language, &error), qPrintable(error));
        QCOMPARE(ProfileStore::read(fresh, language), before);
        QVERIFY(!fresh.sms.hasPendingChanges());
        // Committed to the file, other columns untouched.
        fresh.sms.setAbsolutePosition(7);
        QCOMPARE(fresh.sms.value(other + 1).toString(), QStringLiteral("andere Sprache"));
        ConfigStore reopened(gState(), env.dbPath());
        QCOMPARE(ProfileStore::read(reopened, language), before);
        const QString again = env.path("UserProfile/rt2.cfg");
        QCOMPARE(saveStore(reopened, language, again), QString());
        QCOMPARE(readAll(path), readAll(again));
    }
}

void TestImage::readerAcceptsLowerCaseAndLfLines()
{
    TestEnv env;
    ConfigStore store(gState(), env.dbPath());
    fillRich(store, 1);
    Image img;
    ProfileStore::buildImage(store, 1, img);
    QByteArray text = img.hexText();
    text.replace("\r\n", "\n");
    text = text.toLower() + "\n\n";
    Image back;
    ProfileReader::Problem p;
    QVERIFY2(ProfileReader::parse(gState(), text, back, &p), qPrintable(p.what));
    QVERIFY(back == img);
}

void TestImage::refusedFilesLeaveTheStoreUnchanged_data()
{
    Image img;
    HexWriter::buildImage(ProfileData(), img);
    const QByteArray good = img.hexText();
    const int lineLen = 45;
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");
    QTest::addRow("empty file") << QByteArray() << "die Datei ist leer";
    QTest::addRow("truncated at a line boundary")
        << good.left(300 * lineLen) << "Zeile 301: die Datei endet nach 300 der 512 Datensätze";
    QTest::addRow("cut inside a line") << good.left(300 * lineLen + 20)
                                       << "Zeile 301: der Datensatz hat 20 statt 43 Zeichen";
    QByteArray nonHex = good;
    nonHex[7 * lineLen + 12] = 'G';
    QTest::addRow("non-hex field") << nonHex << "Zeile 8: 'G' an Position 13 ist keine Hexadezimalziffer";
    QByteArray badSum = good;
    badSum[99 * lineLen + 41] = badSum[99 * lineLen + 41] == '0' ? '1' : '0';
    QTest::addRow("bad checksum") << badSum << "Zeile 100: Prüfsumme";
    QTest::addRow("missing end record") << good.left(512 * lineLen) << "Zeile 513: der Endedatensatz :00000001FF fehlt";
    QByteArray binary;
    for (int i = 0; i < 20000; ++i)
        binary.append(char((i * 7919) & 0xFF));
    QTest::addRow("binary file") << binary << "Zeile 1: kein Intel-HEX-Datensatz";
    QTest::addRow("very large file") << QByteArray(5 * 1024 * 1024, ':') << "Byte lang, weit mehr als ein Profil";
    QByteArray swapped = good;
    swapped.replace(10 * lineLen, lineLen, good.mid(11 * lineLen, lineLen));
    QTest::addRow("records out of order") << swapped << "Zeile 11: Adresse 00B0, erwartet wird 00A0";
    QTest::addRow("text after the end record") << good + "junk\r\n"
                                               << "Zeile 514: Text nach dem Endedatensatz";
    QByteArray type = good;
    type.replace(0, 43, record(0, bytes({0x10}, 0)).toLatin1().replace(7, 2, "01"));
    QTest::addRow("wrong record type") << type << "Zeile 1: Datensatztyp 01 statt 00";
    QTest::addRow("firmware-like file") << QByteArray(":020000040000FA\r\n:00000001FF\r\n")
                                        << "Zeile 1: der Datensatz hat 15 statt 43 Zeichen";
}

void TestImage::refusedFilesLeaveTheStoreUnchanged()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    TestEnv env;
    {
        ConfigStore s(gState(), env.dbPath());
        fillRich(s, 1);
    }
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
}

void TestImage::failedCommitLeavesTheStoreUnchanged()
{
    TestEnv env;
    ConfigStore rich(gState(), env.dbPath());
    fillRich(rich, 1);
    const QString path = env.path("UserProfile/rich.cfg");
    QCOMPARE(saveStore(rich, 1, path), QString());
    rich.close();
    env.exec("UPDATE \"Konfiguration_Eingänge\" SET Benutzer1=0");
    env.exec("UPDATE SMS SET Deutsch=NULL");
    env.exec("UPDATE Adressen SET Namen='anders'");
    // The phone book refuses every change: the whole load must fail, nothing written.
    env.exec("CREATE TRIGGER locked BEFORE UPDATE ON Adressen BEGIN SELECT RAISE(ABORT, 'locked'); END");
    const QString before = env.configurationRows();
    ConfigStore store(gState(), env.dbPath());
    QString error;
    QVERIFY(!ProfileStore::loadFile(path, store, 1, &error));
    QVERIFY2(error.contains("locked"), qPrintable(error));
    QCOMPARE(env.configurationRows(), before);
    store.sms.moveFirst();
    QVERIFY(store.sms.value(2).isNull()); // the recordsets show the file again
    QVERIFY(!store.sms.hasPendingChanges());
}

void TestImage::fuzzedFilesNeverChangeTheStoreWhenRefused()
{
    TestEnv env;
    ConfigStore rich(gState(), env.dbPath());
    fillRich(rich, 1);
    Image img;
    ProfileStore::buildImage(rich, 1, img);
    rich.close();
    const QByteArray good = img.hexText();
    const QString before = env.configurationRows();
    ConfigStore store(gState(), env.dbPath());
    QRandomGenerator rng(20261206);
    const QString path = env.path("UserProfile/fuzz.cfg");
    int refused = 0;
    for (int i = 0; i < 400; ++i) {
        QByteArray f = good;
        const int edits = 1 + int(rng.bounded(4));
        for (int e = 0; e < edits; ++e) {
            const int pos = int(rng.bounded(f.size() ? f.size() : 1));
            switch (rng.bounded(5)) {
            case 0: f[pos] = char(rng.bounded(256)); break;
            case 1: f.remove(pos, 1 + int(rng.bounded(60))); break;
            case 2: f.insert(pos, QByteArray(1 + int(rng.bounded(50)), char(rng.bounded(256)))); break;
            case 3: f.truncate(pos); break;
            case 4: f[pos] = QByteArray("0123456789abcdefABCDEF:\r\n")[int(rng.bounded(25))]; break;
            }
        }
        writeFile(path, f);
        QString error;
        // Accepted only as the same profile (a digit turned into its lower-case twin).
        if (!ProfileStore::loadFile(path, store, 1, &error)) {
            ++refused;
            QVERIFY(!error.isEmpty());
        }
        QCOMPARE(env.configurationRows(), before);
    }
    QVERIFY(refused > 300);
}

void TestImage::handMadeImageToStore_data()
{
    QTest::addColumn<QList<int>>("patch"); // block, record, byte, value; ...
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("fromProfile");
    QTest::addColumn<QString>("fromUnit"); // empty: as from a profile
    const auto put = [](int block, int rec, int at, const QByteArray& b) { // on from data byte `at`
        QList<int> p;
        for (int j = 0; j < b.size(); ++j)
            p << block << rec + (at - 4 + j) / 16 << 4 + (at - 4 + j) % 16 << std::uint8_t(b[j]);
        return p;
    };
    QTest::addRow("alarm flags 01, 03, 02 and FF") << QList<int> {0, 0, 5, 1, 1, 0, 5, 3, 15, 0, 5, 2, 2, 0, 5, 0xFF}
                                                   << "SELECT IN_SF || ' ' || IN_FF FROM Alarm_Dispositiv"
                                                   << "1 0"
                                                   << "3 129";
    QTest::addRow("default-state bit among others")
        << QList<int> {32, 0, 5, 0x09, 33, 0, 5, 0xF7}
        << "SELECT group_concat(DefaultState, '') FROM \"Konfiguration_Ausgänge\" WHERE ID <= 2"
        << "10" << QString();
    QTest::addRow("recipients, delay") << QList<int> {7, 0, 6, 0xA5, 52, 0, 6, 0x81, 52, 0, 7, 42, 53, 0, 6, 0x7E}
                                       << "SELECT i.Benutzer1 || i.Benutzer2 || i.Benutzer8 || a.Benutzer1 || "
                                          "a.Benutzer2 || a.Benutzer8 || ' ' || \"Verzögerungszeit\" || ' ' || "
                                          "p.Benutzer1 || p.Benutzer2 FROM \"Konfiguration_Eingänge\" i, "
                                          "Alarm_Dispositiv a, PowerOn p WHERE i.ID = 8"
                                       << "101101 42 01" << QString();
    // Older files: a blank in byte 15, the terminator in the next record.
    QTest::addRow("15 characters and a blank") << put(0, 2, 4, "Alarm Eingang 1 ") + put(0, 3, 4, QByteArray(1, 0))
                                               << "SELECT Englisch || '|' || Deutsch FROM SMS WHERE ID = 1"
                                               << "Alarm Eingang 1 |de" << QString();
    QTest::addRow("64 characters, no terminator")
        << put(53, 2, 4, QByteArray(64, 'Z')) << "SELECT Englisch FROM SMS WHERE ID = 26" << QString(64, 'Z')
        << QString();
    QTest::addRow("empty text is null in its column only")
        << QList<int>() << "SELECT ifnull(Englisch, '-') || Deutsch || Italienisch || Französisch FROM SMS WHERE ID = 5"
        << "-deitfr" << QString();
    const QString user = "SELECT hex(Passwort) || ifnull(Natel_Nummer, '-') || ifnull(Namen, '-') || Status || "
                         "Operator FROM Adressen WHERE ID = %1";
    QTest::addRow("empty user") << QList<int>() << user.arg(1) << "00000000--00" << QString();
    QTest::addRow("16 digits, a zero in the password")
        << put(57, 1, 4, "0123456789012345") + put(57, 0, 12, QByteArray("a\0bc", 4)) + QList<int> {57, 0, 5, 0xC0}
        << user.arg(2) << "610062630123456789012345-11" << QString();
}

// Hand-made image bytes, taken once from a profile file and once as read from a unit, as the
// store holds them after either, and the image built again from the store (what a save or a
// send carries). A profile arms the alarm input only for flag byte 01, a unit for any byte but 00.
void TestImage::handMadeImageToStore()
{
    QFETCH(QList<int>, patch);
    QFETCH(QString, query);
    QFETCH(QString, fromProfile);
    QFETCH(QString, fromUnit);
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
        QVERIFY(!store.sms.hasPendingChanges());
        QCOMPARE(env.queryValue(query).toString(), unit && !fromUnit.isEmpty() ? fromUnit : fromProfile);
        // What to-json shows, and what unit read and the comparison with the unit show.
        const QStringList lines = QString::fromLatin1(img.hexText()).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(ProfileReader::decodeLines(gState(), lines, rule), ProfileStore::read(store, 2));
        Image built;
        ProfileStore::buildImage(store, 2, built);
        const int flags = env.queryValue("SELECT IN_FF * 256 + IN_SF FROM Alarm_Dispositiv").toInt();
        for (int b = 0; b < 16; ++b) // the flag bytes of inputs 1..8, rising and falling
            QCOMPARE(int(built.dataByte(b, 0, 1)), flags >> (b % 2 * 8 + b / 2) & 1);
    }
}

// Each event's text is found through its row's link, by the save as by the load: with two
// links exchanged the image carries the linked rows' texts, and a load puts them back there.
void TestImage::textsFollowTheirLinksBothWays_data()
{
    QTest::addColumn<QString>("relink");
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("smsRow");
    QTest::addRow("inputs 1 and 2") << "UPDATE \"Konfiguration_Eingänge\" SET SMSID = 3 - SMSID WHERE ID <= 2" << 0
                                    << 2;
    QTest::addRow("outputs 1 and 2") << "UPDATE \"Konfiguration_Ausgänge\" SET SMSID = 35 - SMSID WHERE ID <= 2" << 32
                                     << 18;
    QTest::addRow("alarm input and power-on")
        << "UPDATE \"Alarm_Dispositiv\" SET SMS = 26; UPDATE PowerOn SET SMS = 25" << 52 << 26;
}

void TestImage::textsFollowTheirLinksBothWays()
{
    QFETCH(QString, relink);
    QFETCH(int, block);
    QFETCH(int, smsRow);
    TestEnv env;
    for (const QString& statement : relink.split(QLatin1Char(';')))
        env.exec(statement);
    env.exec("UPDATE SMS SET Deutsch = 'Zeile ' || ID");
    const QString texts = "SELECT group_concat(ID || '=' || ifnull(Deutsch, '-')) FROM (SELECT * FROM SMS ORDER BY ID)";
    const QVariant before = env.queryValue(texts);
    const QString path = env.path("UserProfile/links.cfg");
    {
        ConfigStore store(gState(), env.dbPath());
        Image img;
        ProfileStore::buildImage(store, 1, img);
        QCOMPARE(img.smsText(block + 1), QStringLiteral("Zeile %1").arg(smsRow));
        QVERIFY(HexWriter::writeProfileFile(gState(), img, path).ok());
    }
    env.exec("UPDATE SMS SET Deutsch = NULL");
    ConfigStore store(gState(), env.dbPath());
    QString error;
    QVERIFY2(ProfileStore::loadFile(path, store, 1, &error), qPrintable(error));
    QCOMPARE(env.queryValue(texts), before);
}

namespace {
QAction* action(MainWindow& w, const char* name) { return w.findChild<QAction*>(QString::fromLatin1(name)); }
}

// The refusal of a damaged profile comes from the language table: in Italian when the
// program runs in Italian, frame and reason alike (the German stand-ins are the unit
// window's).
void TestImage::refusedProfileSpeaksTheChosenLanguage()
{
    TestEnv env("3");
    MainWindow w(gState());
    w.initializeControls(); // the start: texts of the chosen language
    // Every row of the message table is loaded, not only the fixed keys.
    const QStringList keys
        = env.queryValue("SELECT group_concat(Name, char(10)) FROM SystemNachrichten").toString().split('\n');
    for (const QString& k : keys)
        QVERIFY2(gState().messages.contains(k), qPrintable(k));
    env.messages.clear();
    const QString bad = env.path("UserProfile/guasto.cfg");
    writeFile(bad, QByteArray(":1000000010000000000000000000000000000000E1\r\n"));
    env.fileAnswers << bad;
    action(w, "mnuLaden")->trigger();
    QCOMPARE(env.messages.size(), 1);
    QCOMPARE(env.messages[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(env.messages[0].text,
             QStringLiteral("Il file %1 non è un profilo valido: riga 1: checksum E1 dove è atteso E0.")
                 .arg(QDir::toNativeSeparators(bad)));
}

void TestImage::saveIntoReadOnlyFolderKeepsTheFlag()
{
    TestEnv env;
    MainWindow w(gState());
    env.messages.clear(); // whatever the port opening had to say
    w.profiles().loadDefaultProfile();
    const QString folder = env.path("schreibgeschuetzt");
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    Settings::set("Profile", "File", folder + "/p.cfg");
    gState().unsavedChanges = true;
    env.fileAnswers << QString(); // the save-under dialog is cancelled
    {
        Permissions::Enforced enforced;
        if (!enforced.active())
            QSKIP("file permissions cannot be made to apply to this process");
        w.saveProfile();
    }
    QCOMPARE(env.messages.size(), 1);
    QCOMPARE(env.fileRequests.size(), 1);
    QVERIFY(gState().unsavedChanges);
    QVERIFY(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QCOMPARE(Settings::get("Profile", "File"), folder + "/p.cfg");

    // Another failure (the folder does not exist): the system's reason, flag still set.
    Settings::set("Profile", "File", env.path("fehlt/p.cfg"));
    w.saveProfile();
    QCOMPARE(env.messages.size(), 2);
    QVERIFY(env.messages[1].text.contains(QDir::toNativeSeparators(env.path("fehlt/p.cfg"))));
    QVERIFY(env.messages[1].text.contains(FileAccess::systemReason(ENOENT)));
    QVERIFY(gState().unsavedChanges);
}

// The comparison with the unit: one row per differing field, named and valued in the
// program's language (texts from the installed database), the JSON path as tool tip, every
// column wide enough for its text.
void TestImage::comparisonTableInTheProgramsLanguage_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QStringList>("expected"); // header, first field, "yes"
    QTest::newRow("de") << "Deutsch" << QStringList {"Feld", "Eingang 2, fallende Flanke: Empfänger", "ja"};
    QTest::newRow("en") << "Englisch" << QStringList {"Field", "Input 2, falling edge: Recipients", "yes"};
    QTest::newRow("it") << "Italienisch" << QStringList {"Campo", "Ingresso 2, fronte di discesa: Destinatari", "sì"};
    QTest::newRow("fr") << "Französisch" << QStringList {"Champ", "Entrée 2, front descendant: Destinataires", "oui"};
}

void TestImage::comparisonTableInTheProgramsLanguage()
{
    QFETCH(QString, column);
    QFETCH(QStringList, expected);
    TestEnv env;
    ProfileData program, unit;
    program.inputs[3].recipients = 0b101; // input 2, falling edge: users 1 and 3
    unit.inputs[3].recipients = 0b010;
    unit.outputs[0].text = QStringLiteral("Pumpe \"A\" ein");
    program.alarmInput.delay = 5;
    unit.alarmInput.delay = 12;
    unit.users[1].active = true;
    ProgramContext context;
    const QString rows
        = env.queryValue(
                 QStringLiteral("SELECT group_concat(Name || char(31) || \"%1\", char(30)) FROM SystemNachrichten")
                     .arg(column))
              .toString();
    for (const QString& row : rows.split(QChar(30)))
        context.messages.insert(row.section(QChar(31), 0, 0), row.section(QChar(31), 1));
    CompareDialog dialog(ProfileDiff::compare(program, unit), context);
    QTableWidget* table = dialog.findChild<QTableWidget*>(QStringLiteral("grdVergleich"));
    QVERIFY(table && !table->isHidden());
    QCOMPARE(table->horizontalHeaderItem(0)->text(), expected[0]);
    QCOMPARE(table->item(0, 0)->toolTip(), QStringLiteral("inputs[3].recipients"));
    QStringList shown;
    for (int row = 0; row < table->rowCount(); ++row)
        for (int c = 0; c < 3; ++c) {
            shown << (c == 0 && row > 0 ? QString() : table->item(row, c)->text());
            QVERIFY(c == 2
                    || table->columnWidth(c) >= table->fontMetrics().horizontalAdvance(table->item(row, c)->text()));
        }
    QCOMPARE(shown,
             (QStringList {expected[1], "1, 3", "2", "", context.msg("gsVglKeine"), "Pumpe \"A\" ein", "", "5", "12",
                           "", context.msg("gsVglNein"), expected[2]}));
    QVERIFY(dialog.summary().contains(QLatin1Char('4')));
    QVERIFY(CompareDialog({}, context).findChild<QTableWidget*>(QStringLiteral("grdVergleich"))->isHidden());
}

QTEST_MAIN(TestImage)
#include "test_image.moc"
