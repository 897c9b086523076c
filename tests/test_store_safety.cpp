// What the program keeps of a site's configuration stays true and private: backups and
// connection logs pruned without losing the newest or a user's file, private files, stale
// temporary files cleaned, a database that is not ours (or newer) left byte for byte,
// whole-configuration reads at one moment, and the main window noticing a store changed by
// another program.
#include "Permissions.h"
#include "TestEnv.h"
#include "WindowWidgets.h"

#include "store/DataRoot.h"
#include "core/ProgramContext.h"
#include "image/FileAccess.h"
#include "link/UnitBackup.h"
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
QStringList namesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
} // namespace

class TestStoreSafety : public QObject {
    Q_OBJECT
private slots:
    void pruningKeepsTheNewFileAndTheUsersFiles_data();
    void pruningKeepsTheNewFileAndTheUsersFiles();
    void staleTemporaryFilesAreCleanedAtTheNextSave();
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
    QTest::newRow("unit backups") << QStringLiteral(".cfg") << 50;
    QTest::newRow("connection logs") << QStringLiteral(".txt") << 20;
}

void TestStoreSafety::pruningKeepsTheNewFileAndTheUsersFiles()
{
    QFETCH(QString, suffix);
    QFETCH(int, keep);
    QTemporaryDir root;
    const QDir folder(root.filePath(QStringLiteral("Backups/204518")));
    QStringList expected {QStringLiteral("0-site-notes") + suffix, QStringLiteral("20270101") + suffix,
                          QStringLiteral("readme.md")};
    for (const QString& u : expected)
        writeFile(folder.filePath(u), "the user's");
    for (int i = 0; i < keep; ++i) {
        const QString name = QDateTime(QDate(2027, 3, 1), QTime(8, 0)).addSecs(60 * i).toString("yyyyMMdd-HHmmss");
        writeFile(folder.filePath(name + suffix), "old");
        if (i > 0) // the oldest goes
            expected << name + suffix;
    }
    const QDateTime now(QDate(2026, 12, 7), QTime(3, 19));
    QString path = folder.filePath(now.toString("yyyyMMdd-HHmmss") + suffix), error;
    if (suffix == QLatin1String(".cfg")) {
        QCOMPARE(UnitBackup::store(gState(), folder.path(), "the unit's configuration\r\n", now, &error), path);
        QVERIFY(Permissions::isPrivate(path)); // it holds the phone book's passwords
    } else {
        writeFile(path, "the trace");
        UnitBackup::prune(folder.path(), keep, path, suffix);
    }
    expected << QFileInfo(path).fileName();
    expected.sort();
    QCOMPARE(namesIn(folder.path()), expected);
}

// A save killed between making its temporary file and renaming it leaves the temporary file;
// the next save into that folder removes such files once they are a minute old, and only those.
void TestStoreSafety::staleTemporaryFilesAreCleanedAtTheNextSave()
{
    QTemporaryDir dir;
    const QStringList names {"Other.cfg.smsv48-Zz9Yy8.tmp", "Site.cfg.smsv48-a1B2c3.tmp", "notes.smsv48-abc.tmp",
                             "SMS_Vantor.sqlite", "Site.cfg.abcdef"};
    for (const QString& name : names) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        // The first is fresh: perhaps another program's save in progress.
        QVERIFY(name == names[0]
                || f.setFileTime(QDateTime::currentDateTime().addSecs(-120), QFileDevice::FileModificationTime));
    }
    QVERIFY(FileAccess::writeFile(gState(), dir.filePath(QStringLiteral("Site.cfg")), "new").ok());
    QCOMPARE(readAll(dir.filePath(QStringLiteral("Site.cfg"))), QByteArray("new"));
    QCOMPARE(namesIn(dir.path()),
             (QStringList {"Other.cfg.smsv48-Zz9Yy8.tmp", "SMS_Vantor.sqlite", "Site.cfg", "Site.cfg.abcdef",
                           "notes.smsv48-abc.tmp"}));
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
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(db);
        QVERIFY(other.open() && QSqlQuery(other).exec("CREATE TABLE notes (line TEXT)"));
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    } else {
        QVERIFY(QFile::copy(templates.dbPath(), db));
        QFile::setPermissions(db, QFile::permissions(db) | QFile::WriteOwner);
        sqlExec(db, "PRAGMA user_version = 7");
    }
    const QByteArray before = readAll(db);
    // A new release installed: the folder is brought up to date at the next start.
    templates.exec("UPDATE Beschriftung SET Englisch='Inputs of the new release' WHERE rowid=1");

    error.clear();
    QVERIFY(!DataRoot::prepareUserFolder(english, templates.root(), user.path(), &error));
    QVERIFY2(error.contains(sentence) && error.contains(QDir::toNativeSeparators(db))
                 && error.contains("left unchanged"),
             qPrintable(error));
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
    sqlExec(db, "UPDATE SMS SET Deutsch='Tür offen' WHERE ID=1");
    sqlExec(db, "PRAGMA wal_checkpoint(TRUNCATE)");
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
    std::thread loader([&] {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("loader"));
            db.setDatabaseName(env.dbPath());
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
            QSqlQuery q(db.open() ? db : QSqlDatabase());
            for (int n = 0; db.isOpen() && !stop; ++n) {
                q.exec("BEGIN IMMEDIATE");
                for (const char* table :
                     {"PowerOn", "Alarm_Dispositiv", "Konfiguration_Eingänge", "Konfiguration_Ausgänge"})
                    q.exec(QStringLiteral("UPDATE \"%1\" SET Benutzer1 = %2").arg(QString::fromUtf8(table)).arg(n % 2));
                q.exec(QStringLiteral("UPDATE SMS SET Deutsch = '%1' || ID").arg(n % 2));
                q.exec(QStringLiteral("UPDATE Adressen SET Namen = '%1' || ID").arg(n % 2));
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
    for (; (clock.elapsed() < 1500 || loads < 20) && clock.elapsed() < 20000; ++reads) {
        ConfigStore store(gState(), env.dbPath(), Connection::Read);
        const ProfileData d = ProfileStore::read(store, 1);
        // Each load's digit in every text's first character and every first recipient.
        QString seen = d.users[7].name.left(1) + d.powerOn.text.left(1) + QString::number(d.powerOn.recipients & 1)
            + QString::number(d.alarmInput.recipients & 1);
        for (const auto& in : d.inputs)
            seen += QString::number(in.recipients & 1) + in.text.left(1);
        for (const auto& out : d.outputs)
            seen += QString::number(out.recipients & 1) + out.text.left(1);
        if (seen.count(seen[0]) != seen.size())
            mixes << seen;
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
    const QString stored
        = QStringLiteral("SELECT (SELECT SUM(Benutzer1 + Benutzer2 + Benutzer3 + Benutzer4 + Benutzer5 "
                         "+ Benutzer6 + Benutzer7 + Benutzer8) FROM \"Konfiguration_Eingänge\") "
                         "|| '/' || Deutsch FROM SMS WHERE ID = 1");
    env.exec("UPDATE SMS SET Deutsch = 'Von der Leitstelle geladen' WHERE ID = 1");
    const QString loaded = env.queryValue(stored).toString();
    env.messages.clear();
    env.answers = {answer};

    box->click();
    QCOMPARE(env.messages.size(), 1);
    QVERIFY2(env.messages[0].text.contains(QStringLiteral("von einem anderen Programm geändert")),
             qPrintable(env.messages[0].text));
    const bool reread = answer == QMessageBox::Yes;
    QCOMPARE(text->text(), reread ? QStringLiteral("Von der Leitstelle geladen") : shownBefore);
    QCOMPARE(box->isChecked(), reread ? wasChecked : !wasChecked);
    const int clicked = loaded.section('/', 0, 0).toInt() + (wasChecked ? -1 : 1);
    QCOMPARE(env.queryValue(stored).toString(),
             reread ? loaded : QString::number(clicked) + loaded.mid(loaded.indexOf('/')));
    box->click(); // asks no more
    QCOMPARE(env.messages.size(), 1);
}

QTEST_MAIN(TestStoreSafety)
#include "test_store_safety.moc"
