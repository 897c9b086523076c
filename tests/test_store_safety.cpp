// What the program keeps and shows of a site's configuration stays true and private: backups
// and connection logs pruned without losing the newest or a user's file, the phone book's
// passwords masked in traces, private files, stale temporary files cleaned, a database that
// is not ours (or newer) left byte for byte, whole-configuration reads at one moment, and the
// main window noticing a store changed by another program.
#include "Permissions.h"
#include "TestEnv.h"
#include "WindowWidgets.h"

#include "store/DataRoot.h"
#include "core/ProgramContext.h"
#include "image/FileAccess.h"
#include "image/HexWriter.h"
#include "image/Image.h"
#include "link/Link.h"
#include "link/Transfer.h"
#include "link/UnitBackup.h"
#include "link/Waiter.h"
#include "link/WireTrace.h"
#include "sim/SimChannel.h"
#include "sim/SimUnit.h"
#include "store/ConfigStore.h"
#include "store/ProfileStore.h"
#include "store/DatabaseUpgrade.h"
#include "ui/EditorBinding.h"
#include "ui/MainWindow.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>
#include <atomic>
#include <thread>

namespace {
struct Rig : LinkSink {
    SimUnit unit;
    VirtualWaiter w;
    SimChannel ch {unit, &w};
    Link link {gState(), ch, w, *this};
    Rig() { ch.open(QStringLiteral("sim"), QStringLiteral("9600,N,8,1")); }
    void setLamp(int) override {}
    void setPanel3(const QString&) override {}
    Notice::Answer notify(const Notice& n) override { return Dialogs::show(nullptr, n); }
    void setProgressValue(int) override {}
};

QStringList linesOf(const Image& img)
{
    QStringList lines;
    for (int b = 0; b < 64; ++b)
        for (int r = 0; r < 8; ++r)
            lines << img.line(b, r);
    return lines << QStringLiteral(":00000001FF");
}

// Private: read and write for the owner only (the "user" bits mirror the owner's).
bool isPrivate(const QString& path)
{
    return (QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser))
        == (QFile::ReadOwner | QFile::WriteOwner);
}

QStringList namesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
} // namespace

class TestStoreSafety : public QObject {
    Q_OBJECT
private slots:
    void pruningKeepsTheNewFileAndTheUsersFiles_data();
    void pruningKeepsTheNewFileAndTheUsersFiles();
    void staleTemporaryFilesAreCleanedAtTheNextSave();
    void tracesMaskThePhoneBookPasswordsAndAreWrittenAsTheyGo();
    void refusedDatabasesStayByteForByte_data();
    void refusedDatabasesStayByteForByte();
    void readOnlyUserFolderStillReads();
    void wholeConfigurationIsReadAtOneMoment();
    void windowOffersToReloadAStoreChangedElsewhere_data();
    void windowOffersToReloadAStoreChangedElsewhere();
};

// A clock that was once ahead left 50 backups (or logs) named 2027...; the user keeps a note
// of their own in the folder. The new file, named by the right time, is the "oldest".
void TestStoreSafety::pruningKeepsTheNewFileAndTheUsersFiles_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("keep");
    QTest::newRow("unit backups") << QStringLiteral(".cfg") << UnitBackup::Kept;
    QTest::newRow("connection logs") << QStringLiteral(".txt") << 20;
}

void TestStoreSafety::pruningKeepsTheNewFileAndTheUsersFiles()
{
    QFETCH(QString, suffix);
    QFETCH(int, keep);
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("Backups/204518"));
    QVERIFY(QDir().mkpath(folder));
    QStringList ahead;
    for (int i = 0; i < keep; ++i) {
        const QString name = QDateTime(QDate(2027, 3, 1), QTime(8, 0)).addSecs(60 * i).toString("yyyyMMdd-HHmmss");
        ahead << name + suffix;
        writeFile(QDir(folder).filePath(name + suffix), "old");
    }
    const QStringList users
        = {QStringLiteral("0-site-notes") + suffix, QStringLiteral("20270101") + suffix, QStringLiteral("readme.md")};
    for (const QString& u : users)
        writeFile(QDir(folder).filePath(u), "the user's");

    const QDateTime now(QDate(2026, 12, 7), QTime(3, 19));
    QString path;
    if (suffix == QLatin1String(".cfg")) {
        QString error;
        path = UnitBackup::store(gState(), folder, "the unit's configuration\r\n", now, &error);
        QVERIFY2(!path.isEmpty(), qPrintable(error));
        QVERIFY(isPrivate(path)); // it holds the phone book's passwords
    } else {
        path = QDir(folder).filePath(now.toString("yyyyMMdd-HHmmss") + suffix);
        writeFile(path, "the trace");
        UnitBackup::prune(folder, keep, path, suffix);
    }
    QCOMPARE(QFileInfo(path).fileName(), now.toString("yyyyMMdd-HHmmss") + suffix);
    QVERIFY(QFileInfo::exists(path));
    QStringList expected = ahead.mid(1) + users + QStringList {QFileInfo(path).fileName()};
    expected.sort();
    QCOMPARE(namesIn(folder), expected);
    for (const QString& u : users)
        QCOMPARE(readAll(QDir(folder).filePath(u)), QByteArray("the user's"));
}

// A save killed between making its temporary file and renaming it leaves the temporary file;
// the next save into that folder removes such files once they are a minute old, and only those.
void TestStoreSafety::staleTemporaryFilesAreCleanedAtTheNextSave()
{
    QTemporaryDir dir;
    const QString stale = dir.filePath(QStringLiteral("Site.cfg.smsv48-a1B2c3.tmp"));
    const QString fresh = dir.filePath(QStringLiteral("Other.cfg.smsv48-Zz9Yy8.tmp"));
    const QStringList users
        = {dir.filePath(QStringLiteral("notes.smsv48-abc.tmp")), dir.filePath(QStringLiteral("SMS_Vantor.sqlite")),
           dir.filePath(QStringLiteral("Site.cfg.abcdef"))};
    for (const QString& p : QStringList {stale, fresh} + users) {
        QFile f(p);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(p == fresh
                || f.setFileTime(QDateTime::currentDateTime().addSecs(-120), QFileDevice::FileModificationTime));
    }
    const QString target = dir.filePath(QStringLiteral("Site.cfg"));
    QVERIFY(FileAccess::writeFile(gState(), target, "new").ok());
    QCOMPARE(readAll(target), QByteArray("new"));
    QVERIFY(!QFileInfo::exists(stale));
    QVERIFY(QFileInfo::exists(fresh)); // perhaps another program's save in progress
    for (const QString& p : users)
        QVERIFY2(QFileInfo::exists(p), qPrintable(p));
    QCOMPARE(namesIn(dir.path()).size(), 5);
}

// A whole configuration written and read back with the trace going to a file: the phone
// book's passwords never appear, the trace says they were masked, the rest of the records is
// there, and the file is private and complete before the recording ends.
void TestStoreSafety::tracesMaskThePhoneBookPasswordsAndAreWrittenAsTheyGo()
{
    ProfileData site;
    site.users[0] = {QStringLiteral("Meier"), QStringLiteral("0791234567"), QStringLiteral("4711"), false, true};
    site.users[7] = {QStringLiteral("Keller"), QStringLiteral("0799999999"), QStringLiteral("0815"), true, true};
    Image img;
    HexWriter::buildImage(site, img);
    const QString user1Record = img.line(56, 0); // its data bytes 8..11: "4711"
    QVERIFY(user1Record.contains(QLatin1String("34373131")));

    TestEnv env; // answers the link's messages
    const QString tracePath = env.path(QStringLiteral("trace.txt"));
    QFile traceFile;
    QString error;
    QVERIFY2(FileAccess::openPrivateForWriting(gState(), traceFile, tracePath, &error), qPrintable(error));
    WireTrace::startRecording(&traceFile);
    Rig r;
    QCOMPARE(ConfigTransfer(r.link).write(linesOf(img), 3).kind, TransferOutcome::Ok);
    UnitImage back;
    QCOMPARE(ConfigTransfer(r.link).read(back).kind, TransferOutcome::Ok);
    const QByteArray onDisk = readAll(tracePath); // still recording
    WireTrace::stopRecording();
    traceFile.close();
    const QByteArray trace = WireTrace::recorded();

    QCOMPARE(onDisk, trace);
    QVERIFY(isPrivate(tracePath));
    QCOMPARE(r.unit.area3.mid(56 * 128 + 8, 4), QByteArray("4711")); // the unit got them
    QCOMPARE(r.unit.area3.mid(63 * 128 + 8, 4), QByteArray("0815"));
    for (const char* secret : {"34373131", "30383135"})
        QVERIFY2(!trace.contains(secret), secret);
    // Sent: the record with its password digits starred, the rest as it is.
    QString maskedRecord = user1Record;
    maskedRecord.replace(25, 8, QString(8, QLatin1Char('*')));
    QVERIFY(trace.contains("> " + maskedRecord.toLatin1() + "<CR>  (phone-book passwords masked)"));
    // Read back: every block reply of the phone book is masked, and says so.
    int maskedReplies = 0;
    for (const QByteArray& line : trace.split('\n'))
        if (line.contains(" < ") && line.contains("(phone-book passwords masked)"))
            ++maskedReplies;
    QVERIFY2(maskedReplies >= 8, trace.right(3000).constData());
    QVERIFY(trace.contains(QByteArray("0791234567").toHex().toUpper())); // the number is no secret
}

// Files that are not this program's database, or are of a newer one, in the per-user folder
// of an installed program: refused in one sentence of the chosen language, left byte for byte.
void TestStoreSafety::refusedDatabasesStayByteForByte_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("another program's SQLite file") << "foreign"
                                                   << "is not a configuration database of this program";
    QTest::newRow("empty file") << "empty"
                                << "is not a configuration database of this program";
    QTest::newRow("newer release") << "newer"
                                   << "comes from a newer release of the program (version 7";
}

void TestStoreSafety::refusedDatabasesStayByteForByte()
{
    QFETCH(QString, kind);
    QFETCH(QString, sentence);
    TestEnv templates;
    QTemporaryDir user;
    ProgramContext english; // at start, before the program's texts are read: only the language
    english.language = 2;
    QString error;
    QVERIFY2(DataRoot::prepareUserFolder(english, templates.root(), user.path(), &error), qPrintable(error));
    const QString db = DataRoot::databasePath(user.path());
    QFile::remove(db);
    if (kind == QLatin1String("empty")) {
        writeFile(db, QByteArray());
    } else if (kind == QLatin1String("foreign")) {
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(db);
            QVERIFY(other.open());
            QSqlQuery q(other);
            QVERIFY(q.exec("CREATE TABLE notes (line TEXT)"));
            QVERIFY(q.exec("INSERT INTO notes VALUES ('mine')"));
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    } else {
        QVERIFY(QFile::copy(templates.dbPath(), db));
        QFile::setPermissions(db, QFile::permissions(db) | QFile::WriteOwner);
        Connection con(gState());
        con.open(db, Connection::ReadWrite);
        QVERIFY(QSqlQuery(con.db()).exec("PRAGMA user_version = 7"));
    }
    const QByteArray before = readAll(db);
    // A new release installed: the folder is brought up to date at the next start.
    templates.exec("UPDATE Beschriftung SET Englisch='Inputs of the new release' WHERE rowid=1");

    error.clear();
    QVERIFY(!DataRoot::prepareUserFolder(english, templates.root(), user.path(), &error));
    QVERIFY2(error.contains(sentence) && error.contains(QDir::toNativeSeparators(db)), qPrintable(error));
    QVERIFY2(error.contains("left unchanged"), qPrintable(error));
    QCOMPARE(readAll(db), before);
    QCOMPARE(namesIn(QFileInfo(db).absolutePath()), QStringList {QFileInfo(db).fileName()});
    // Found by path (SMSV48_HOME): refused the same way, before it is opened.
    QVERIFY(!checkDatabase(english, db).isEmpty());
    QCOMPARE(readAll(db), before);
}

// A per-user folder made read-only after a release update: the update cannot be made, and
// what only reads the store still works.
void TestStoreSafety::readOnlyUserFolderStillReads()
{
    TestEnv templates;
    QTemporaryDir user;
    QString error;
    QVERIFY2(DataRoot::prepareUserFolder(gState(), templates.root(), user.path(), &error), qPrintable(error));
    const QString db = DataRoot::databasePath(user.path());
    {
        Connection con(gState());
        con.open(db, Connection::ReadWrite);
        QVERIFY(QSqlQuery(con.db()).exec("UPDATE SMS SET Deutsch='Tür offen' WHERE ID=1"));
        QVERIFY(QSqlQuery(con.db()).exec("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    templates.exec("UPDATE Beschriftung SET Englisch='Inputs of the new release' WHERE rowid=1");
    Permissions::setTreeReadOnly(user.path(), true);
    const QByteArray before = readAll(db);
    {
        Permissions::Enforced enforced;
        if (!enforced.active())
            QSKIP("file permissions cannot be made to apply here");
        error.clear();
        QVERIFY2(DataRoot::prepareUserFolder(gState(), templates.root(), user.path(), &error), qPrintable(error));
        QCOMPARE(checkDatabase(gState(), db), QString());
        ConfigStore store(gState(), db, Connection::Read);
        QCOMPARE(ProfileStore::read(store, 1).inputs[0].text, QStringLiteral("Tür offen"));
    }
    Permissions::setTreeReadOnly(user.path(), false);
    QCOMPARE(readAll(db), before);
}

// One program loads whole configurations into the store as fast as it can (A, B, A, ...);
// another reads the whole configuration meanwhile: it gets A or B, never a mix.
void TestStoreSafety::wholeConfigurationIsReadAtOneMoment()
{
    TestEnv env;
    std::atomic<bool> stop {false};
    std::atomic<int> loads {0};
    const QString path = env.dbPath();
    std::thread loader([&] {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("loader"));
            db.setDatabaseName(path);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
            QSqlQuery q(db.open() ? db : QSqlDatabase());
            for (int n = 0; db.isOpen() && !stop; ++n) {
                const QString letter = n % 2 ? QStringLiteral("'B'") : QStringLiteral("'A'");
                q.exec("BEGIN IMMEDIATE");
                for (const char* table :
                     {"PowerOn", "Alarm_Dispositiv", "Konfiguration_Eingänge", "Konfiguration_Ausgänge"})
                    q.exec(QStringLiteral("UPDATE \"%1\" SET Benutzer1 = %2").arg(QString::fromUtf8(table)).arg(n % 2));
                q.exec(QStringLiteral("UPDATE SMS SET Deutsch = %1 || ID").arg(letter));
                q.exec(QStringLiteral("UPDATE Adressen SET Namen = %1 || ID").arg(letter));
                if (q.exec("COMMIT"))
                    ++loads;
                else
                    q.exec("ROLLBACK");
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("loader"));
    });
    int reads = 0;
    QStringList mixes;
    while (loads < 1) // the store as built has no texts
        std::this_thread::yield();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1500 || loads < 20) {
        ConfigStore store(gState(), path, Connection::Read);
        const ProfileData d = ProfileStore::read(store, 1);
        ++reads;
        const QString letter = d.inputs[0].text.left(1);
        const bool bit = letter == QLatin1String("B");
        bool whole = d.users[7].name == letter + QStringLiteral("8") && d.powerOn.text.startsWith(letter)
            && ((d.powerOn.recipients & 1) != 0) == bit && ((d.alarmInput.recipients & 1) != 0) == bit;
        for (const auto& in : d.inputs)
            whole = whole && ((in.recipients & 1) != 0) == bit;
        for (const auto& out : d.outputs)
            whole = whole && ((out.recipients & 1) != 0) == bit && out.text.startsWith(letter);
        if (!whole)
            mixes << QStringLiteral("%1/%2/%3").arg(d.inputs[0].text, d.users[7].name).arg(d.outputs[0].recipients);
        if (clock.elapsed() > 20000)
            break;
    }
    stop = true;
    loader.join();
    QVERIFY2(loads >= 20 && reads >= 20, qPrintable(QStringLiteral("%1 loads, %2 reads").arg(int(loads)).arg(reads)));
    QVERIFY2(mixes.isEmpty(), qPrintable(mixes.join(QLatin1Char(' '))));
}

// Another program (smsctl profile load) changed the store while the window shows it. The
// next edit asks first: Yes shows the store's configuration and drops the click; No writes
// the click into the store as it now is, and asks no more.
void TestStoreSafety::windowOffersToReloadAStoreChangedElsewhere_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::newRow("read again") << QMessageBox::Yes;
    QTest::newRow("go on") << QMessageBox::No;
}

void TestStoreSafety::windowOffersToReloadAStoreChangedElsewhere()
{
    QFETCH(QMessageBox::StandardButton, answer);
    TestEnv env;
    MainWindow w(gState());
    env.exec("UPDATE Adressen SET Natel_Nummer = '0791234567' WHERE ID = 1"); // user 1's boxes enabled
    w.store().requeryAll();
    w.editorBinding().refresh();
    QLineEdit* text = WindowWidgets::named<QLineEdit>(w, "txtEingangSF(0)");
    QCheckBox* box = WindowWidgets::named<QCheckBox>(w, "ChkEmpOP", 0);
    const QString shownBefore = text->text();
    const bool wasChecked = box->isChecked();
    QVERIFY(box->isEnabled());
    const QString recipients = QStringLiteral("SELECT SUM(Benutzer1 + Benutzer2 + Benutzer3 + Benutzer4 + Benutzer5 "
                                              "+ Benutzer6 + Benutzer7 + Benutzer8) FROM \"Konfiguration_Eingänge\"");
    const int before = env.queryValue(recipients).toInt();
    env.exec("UPDATE SMS SET Deutsch = 'Von der Leitstelle geladen' WHERE ID = 1");
    env.messages.clear();
    env.answers = {answer};

    box->click();
    QCOMPARE(env.messages.size(), 1);
    QVERIFY2(env.messages[0].text.contains(QStringLiteral("von einem anderen Programm geändert")),
             qPrintable(env.messages[0].text));
    if (answer == QMessageBox::Yes) {
        QCOMPARE(text->text(), QStringLiteral("Von der Leitstelle geladen"));
        QCOMPARE(env.queryValue(recipients).toInt(), before);
        QCOMPARE(box->isChecked(), wasChecked);
    } else {
        QCOMPARE(text->text(), shownBefore);
        QCOMPARE(box->isChecked(), !wasChecked);
        QCOMPARE(env.queryValue(recipients).toInt(), before + (wasChecked ? -1 : 1));
        box->click();
        QCOMPARE(env.messages.size(), 1);
        QCOMPARE(env.queryValue(recipients).toInt(), before);
    }
    QCOMPARE(env.queryValue("SELECT Deutsch FROM SMS WHERE ID = 1").toString(),
             QStringLiteral("Von der Leitstelle geladen"));
}

QTEST_MAIN(TestStoreSafety)
#include "test_store_safety.moc"
