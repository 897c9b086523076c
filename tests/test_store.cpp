// The configuration store and the per-user program folder: recordset semantics, batch updates
// that reach the file whole or not at all, whole-configuration reads at one moment, the main
// window noticing a store changed by another program, backups and connection logs pruned
// without losing the newest or a user's file, stale temporary files cleaned, the folder seeded
// from the installed templates and brought up to date by another release (texts and help pages
// the templates', configuration and profiles the site's), and a database that is not ours, is
// newer or cannot be migrated left byte for byte.
#include "CliRun.h"
#include "Permissions.h"
#include "TestEnv.h"
#include "WindowWidgets.h"

#include "core/ProgramContext.h"
#include "image/FileAccess.h"
#include "link/UnitBackup.h"
#include "store/ConfigStore.h"
#include "store/DataRoot.h"
#include "store/DatabaseUpgrade.h"
#include "store/LanguageTables.h"
#include "store/ProfileStore.h"
#include "ui/EditorBinding.h"
#include "ui/MainWindow.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <atomic>
#include <thread>

namespace {
QStringList namesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

// Brings the per-user folder up to date from the templates: empty, or why it was refused.
QString prepare(const TestEnv& templates, const QString& user, const ProgramContext& context = gState())
{
    QString error;
    return DataRoot::prepareUserFolder(context, templates.root(), user, &error) ? QString() : error + " (refused)";
}

const QString firstCaption = QStringLiteral("SELECT Englisch FROM Beschriftung WHERE rowid=1");
const QString siteWork
    = QStringLiteral("SELECT Namen || '/' || Natel_Nummer || '/' || Passwort || '/' || Status || '/' "
                     "|| (SELECT Deutsch FROM SMS WHERE ID=1) FROM Adressen WHERE ID=1");
const QString siteWorkKept = QStringLiteral("Meier/0791234567/1234/1/Tür offen");

// The site's work: a phone-book entry and an SMS text; older: in a database of a release before
// the schema version was kept, with that release's caption and a message fewer.
void enterSiteWork(const QString& db, bool older)
{
    if (older) {
        sqlExec(db, "PRAGMA user_version = 0");
        sqlExec(db, "UPDATE Beschriftung SET Englisch='old caption' WHERE rowid=1");
        sqlExec(db, "DELETE FROM SystemNachrichten WHERE rowid = (SELECT MAX(rowid) FROM SystemNachrichten)");
    }
    sqlExec(db, "UPDATE Adressen SET Namen='Meier', Natel_Nummer='0791234567', Passwort='1234', Status=1 WHERE ID=1");
    sqlExec(db, "UPDATE SMS SET Deutsch='Tür offen' WHERE ID=1");
}
} // namespace

class TestStore : public QObject {
    Q_OBJECT
private slots:
    void recordsetFindAndNavigation();
    void languageTableLookupsAgreeWithFind();
    void batchesReachTheFileWholeOrNotAtAll();
    void wholeConfigurationIsReadAtOneMoment();
    void windowOffersToReloadAStoreChangedElsewhere_data();
    void windowOffersToReloadAStoreChangedElsewhere();
    void pruningKeepsTheNewFileAndTheUsersFiles_data();
    void pruningKeepsTheNewFileAndTheUsersFiles();
    void staleTemporaryFilesAreCleanedAtTheNextSave();
    void seededThenUpdatedByANewRelease();
    void refusedDatabasesStayByteForByte_data();
    void refusedDatabasesStayByteForByte();
    void installedProgramBringsAnOlderUserFolderUpToDate();
};

// A criterion on the texts' ID or a text from a starting row: the row found (0: none, past
// the last row; -1: not a criterion, refused). In a text a doubled quote stands for one; texts
// compare exactly; an empty value finds an empty text, never a null one.
void TestStore::recordsetFindAndNavigation()
{
    using Row = std::tuple<int, const char*, int>;
    const QList<Row> ids
        = {{1, "ID = '5'", 5},     {1, "ID= 5", 5},      {1, "ID = '26'", 26}, {1, "\tID\t=\t'7'\t", 7},
           {1, "id = '7'", 7},     {1, "ID = 7.0", 7},   {1, "ID ='07'", 7},   {1, "ID = 3\n", 3},
           {10, "ID = 10", 10},    {10, "ID = 3", 0},    {1, "ID = 99", 0},    {1, "", -1},
           {1, "   ", -1},         {1, "= 7", -1},       {1, "ID 7", -1},      {1, "I D = 7", -1},
           {1, "ID = '7\n8'", -1}, {1, "ID = 7\nX", -1}, {1, "garbage", -1},   {1, "NoSuchColumn = 1", -1}};
    const QList<Row> texts
        = {{1, "Deutsch = 'O''Brien'", 3}, {1, "Deutsch = ''", 2},  {1, "Deutsch = 5", 4},    {1, "Deutsch = '5'", 4},
           {1, "Deutsch = abc", 5},        {1, "Deutsch='abc'", 5}, {1, "Deutsch = 'ABC'", 0}};
    TestEnv env;
    env.exec("UPDATE SMS SET Deutsch = CASE ID WHEN 2 THEN '' WHEN 3 THEN 'O''Brien' WHEN 4 THEN '5.0' "
             "WHEN 5 THEN 'abc' END");
    ConfigStore store(gState(), env.dbPath());
    Recordset& rs = store.sms;
    for (const auto& [from, criterion, found] : ids + texts) {
        rs.setAbsolutePosition(from);
        if (found < 0) {
            QVERIFY_THROWS_EXCEPTION(StoreError, rs.find(QString::fromUtf8(criterion)));
            continue;
        }
        QVERIFY2(rs.find(QString::fromUtf8(criterion)) == (found > 0), criterion);
        if (found > 0) {
            QCOMPARE(rs.value(0).toInt(), found);
            QCOMPARE(rs.absolutePosition(), found);
        } else {
            QVERIFY2(rs.eof(), criterion);
            QVERIFY_THROWS_EXCEPTION(StoreError, rs.value(0));
        }
    }
    // Moving past either end once is allowed, twice is not.
    Recordset& book = store.addresses;
    book.moveFirst();
    book.movePrevious();
    QVERIFY(book.bof() && book.absolutePosition() == -1);
    QVERIFY_THROWS_EXCEPTION(StoreError, book.movePrevious());
    book.moveLast();
    QCOMPARE(book.absolutePosition(), 8);
    book.moveNext();
    QVERIFY(book.eof() && !book.bof());
    QVERIFY_THROWS_EXCEPTION(StoreError, book.moveNext());
    QVERIFY_THROWS_EXCEPTION(StoreError, book.setAbsolutePosition(9));
    book.setAbsolutePosition(3);
    QCOMPARE(book.value("ID").toInt(), 3);
    QVERIFY_THROWS_EXCEPTION(StoreError, book.value("NoSuchColumn"));
    QCOMPARE(book.fieldIndex("natel_nummer"), book.fieldIndex("Natel_Nummer"));
}

// The language tables look their keys up through an index by Name; every look-up must land
// where a search with the criterion Name = 'key' from the same row lands.
void TestStore::languageTableLookupsAgreeWithFind()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.sqlite"));
    writeFile(path, QByteArray());
    sqlExec(path, "CREATE TABLE L (Name TEXT, Deutsch TEXT, Englisch TEXT, Italienisch TEXT, \"Französisch\" TEXT)");
    const QStringList names = {"'a'", "'b'", "NULL", "'a'", "'5.0'", "''", "'c'", "'b'", "'a'"};
    for (int i = 0; i < names.size(); ++i)
        sqlExec(path, QStringLiteral("INSERT INTO L VALUES (%1, 'de%2', 'en%2', '', '')").arg(names[i]).arg(i + 1));
    Connection con(gState());
    con.open(path, Connection::Read);
    Recordset rs;
    rs.open(con, "L");
    auto expected = [&](int from, const QString& key) { // 1-based, 0 = none
        rs.setAbsolutePosition(from);
        return rs.find(QStringLiteral("Name = '%1'").arg(key)) ? rs.absolutePosition() : 0;
    };
    LanguageTable t(gState(), "L", path, 1);
    for (int from = 1; from <= 9; ++from)
        for (const QString key : {"a", "b", "c", "5", "5.0", "", "missing"}) {
            const int want = expected(from, key);
            t.first();
            for (int i = 1; i < from; ++i)
                t.take();
            if (want == 0) {
                QVERIFY_THROWS_EXCEPTION(LanguageTableError, t.findNext(key));
                QCOMPARE(t.currentName(), QString()); // past the end, as after a failed search
                QVERIFY_THROWS_EXCEPTION(LanguageTableError, t.take());
            } else {
                t.findNext(key);
                QCOMPARE(t.current(), QStringLiteral("de%1").arg(want));
            }
        }
    // Anchors start from the first row whatever the current one; runs step on from there.
    t.first();
    for (int i = 0; i < 7; ++i)
        t.take();
    QCOMPARE(t.run("a", 3), QStringList({"de1", "de2", "de3"}));
    QCOMPARE(t.text("b") + t.text("5") + t.text(""), QStringLiteral("de2de5de6")); // "5" finds "5.0"; "" not NULL
    QVERIFY_THROWS_EXCEPTION(LanguageTableError, t.text("it's"));
    QCOMPARE(LanguageTable(gState(), "L", path, 2).text("c"), QStringLiteral("en7"));
}

// Edits stay in the recordset until the batch update; a requery drops them; closing flushes.
// A row that cannot be written, or one deleted behind the snapshot's back, fails the whole
// batch, and updateAll is one transaction over the tables.
void TestStore::batchesReachTheFileWholeOrNotAtAll()
{
    TestEnv env;
    env.exec("UPDATE SMS SET Englisch='Input 4 on' WHERE ID=7");
    const QString stored = QStringLiteral("SELECT Benutzer3 FROM \"Konfiguration_Eingänge\" WHERE ID=6");
    ConfigStore a(gState(), env.dbPath());
    a.inputs.setAbsolutePosition(6);
    a.inputs.setValue(4, 1); // Benutzer3 of row 6
    ConfigStore b(gState(), env.dbPath());
    b.inputs.setAbsolutePosition(6);
    QCOMPARE(b.inputs.value("Benutzer3").toInt() + env.queryValue(stored).toInt(), 0);
    a.inputs.updateBatch();
    QVERIFY(!a.inputs.hasPendingChanges());
    QCOMPARE(env.queryValue(stored).toInt(), 1);
    QCOMPARE(b.inputs.value("Benutzer3").toInt(), 0); // a snapshot until requery
    b.inputs.requery();
    b.inputs.setAbsolutePosition(6);
    QCOMPARE(b.inputs.value("Benutzer3").toInt(), 1);
    b.inputs.setValue("Benutzer3", 1); // equal to the stored value: no change
    QVERIFY(!b.inputs.hasPendingChanges());
    b.sms.setAbsolutePosition(7);
    b.sms.setValue(3, QStringLiteral("pending"));
    b.sms.requery();
    QVERIFY(!b.sms.hasPendingChanges());
    QCOMPARE(b.sms.absolutePosition(), 1);
    b.sms.setAbsolutePosition(7);
    b.sms.setValue(3, QVariant()); // a text emptied is null in the file
    b.outputs.setAbsolutePosition(3);
    b.outputs.setValue("DefaultState", 1);
    QCOMPARE(b.close(), QString());
    QCOMPARE(b.close(), QString()); // closing twice is harmless
    QCOMPARE(env.queryValue("SELECT DefaultState FROM \"Konfiguration_Ausgänge\" WHERE ID=3").toInt(), 1);
    QVERIFY(env.queryValue("SELECT Englisch FROM SMS WHERE ID=7").isNull());

    ConfigStore store(gState(), env.dbPath());
    const QString texts = QStringLiteral("SELECT group_concat(coalesce(Deutsch, '-')) FROM SMS");
    const QVariant before = env.queryValue(texts);
    store.sms.moveFirst();
    store.sms.setValue(2, QStringLiteral("neu 1"));
    store.sms.moveNext();
    store.sms.setValue(0, QVariant()); // ID NOT NULL: this row cannot be written
    QVERIFY_THROWS_EXCEPTION(StoreError, store.sms.updateBatch());
    QVERIFY(store.sms.hasPendingChanges());
    QCOMPARE(env.queryValue(texts), before);
    store.sms.cancelBatch();
    store.sms.setAbsolutePosition(1);
    store.sms.setValue(2, QStringLiteral("x"));
    store.sms.setAbsolutePosition(26);
    store.sms.setValue(2, QStringLiteral("y"));
    env.exec("DELETE FROM SMS WHERE ID=26");
    QVERIFY_THROWS_EXCEPTION(StoreError, store.sms.updateBatch());
    QVERIFY(env.queryValue("SELECT Deutsch FROM SMS WHERE ID=1").isNull());
    store.sms.cancelBatch();

    const QString written = QStringLiteral("SELECT coalesce(Namen, '-') || (SELECT IN_SF FROM Alarm_Dispositiv) "
                                           "FROM Adressen WHERE ID=1");
    store.addresses.moveFirst();
    store.addresses.setValue("Namen", QStringLiteral("Anna"));
    store.alarmInput.setValue("IN_SF", 5);
    store.sms.setAbsolutePosition(3);
    store.sms.setValue("ID", QVariant()); // fails, after the first two tables were written
    QVERIFY_THROWS_EXCEPTION(StoreError, store.updateAll());
    QCOMPARE(env.queryValue(written).toString(), QStringLiteral("-0"));
    store.sms.setValue("ID", 3);
    store.updateAll();
    QCOMPARE(env.queryValue(written).toString(), QStringLiteral("Anna5"));
}

// One program loads whole configurations into the store as fast as it can (A, B, A, ...);
// another reads the whole configuration meanwhile: it gets A or B, never a mix.
void TestStore::wholeConfigurationIsReadAtOneMoment()
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
                for (const char* set :
                     {"PowerOn SET Benutzer1 = %1", "Alarm_Dispositiv SET Benutzer1 = %1",
                      "\"Konfiguration_Eingänge\" SET Benutzer1 = %1", "\"Konfiguration_Ausgänge\" SET Benutzer1 = %1",
                      "SMS SET Deutsch = '%1' || ID", "Adressen SET Namen = '%1' || ID"})
                    q.exec(QStringLiteral("UPDATE ") + QString::fromUtf8(set).arg(n % 2));
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
        // Each load's digit in a text's first character, a name's and the first recipient of every table.
        const QString seen = d.users[7].name.left(1) + d.outputs[3].text.left(1)
            + QString::number(d.powerOn.recipients & 1) + QString::number(d.alarmInput.recipients & 1)
            + QString::number(d.inputs[5].recipients & 1) + QString::number(d.outputs[2].recipients & 1);
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
void TestStore::windowOffersToReloadAStoreChangedElsewhere_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::newRow("read again") << QMessageBox::Yes;
    QTest::newRow("go on") << QMessageBox::No;
}

void TestStore::windowOffersToReloadAStoreChangedElsewhere()
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

// A clock that was once ahead left 50 backups (or logs) named 2027...; the user keeps a note
// of their own in the folder. The new file, named by the right time, is the "oldest".
void TestStore::pruningKeepsTheNewFileAndTheUsersFiles_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("keep");
    QTest::newRow("unit backups") << QStringLiteral(".cfg") << 50;
    QTest::newRow("connection logs") << QStringLiteral(".txt") << 20;
}

void TestStore::pruningKeepsTheNewFileAndTheUsersFiles()
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
void TestStore::staleTemporaryFilesAreCleanedAtTheNextSave()
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

// The first start copies the templates; a later start with the same templates keeps the
// site's edits; another release brings its texts and help pages, never the site's files; a
// folder made read-only is used as it is.
void TestStore::seededThenUpdatedByANewRelease()
{
    // A schema version raised in the SQL without a migration step to it (or the other way
    // round) would leave user databases behind.
    QCOMPARE(sqlValue(QStringLiteral(SMSV48_PRISTINE_DB), "PRAGMA user_version").toInt(),
             DatabaseUpgrade::schemaVersion());
    TestEnv templates; // a complete program folder, as installed in share/smsv48
    QTemporaryDir home;
    const QDir user(home.filePath("data/SMS_Switch_Vantor"));
    QCOMPARE(prepare(templates, user.path()), QString());
    int files = 0;
    for (QDirIterator it(templates.root(), QDir::Files, QDirIterator::Subdirectories); it.hasNext(); ++files) {
        const QString rel = QDir(templates.root()).relativeFilePath(it.next());
        QCOMPARE(readAll(user.filePath(rel)), readAll(templates.path(rel)));
    }
    QVERIFY(files > 90); // database, default profile, the help pages in four languages
    const QString db = DataRoot::databasePath(user.path());
    enterSiteWork(db, false);
    writeFile(user.filePath("UserProfile/SMSV48_Default.cfg"), "the site's default");
    writeFile(user.filePath("UserProfile/Site.cfg"), "a site");
    writeFile(user.filePath("help/de/index.html"), "edited by the site");
    QCOMPARE(prepare(templates, user.path()), QString());
    QCOMPARE(readAll(user.filePath("help/de/index.html")), QByteArray("edited by the site"));

    // Another release: a caption, a new message, a help page and the default profile differ.
    templates.exec("UPDATE Beschriftung SET Englisch='Inputs of the new release' WHERE rowid=1");
    templates.exec("INSERT INTO SystemNachrichten (Name, Deutsch, Englisch, Italienisch, Französisch) "
                   "VALUES ('gsMsgNeu', 'neu', 'new', 'nuovo', 'nouveau')");
    writeFile(templates.path("help/en/1000.html"), "<html><body>new release</body></html>");
    writeFile(templates.path("UserProfile/SMSV48_Default.cfg"), "the new release's default");
    QCOMPARE(prepare(templates, user.path()), QString());
    QCOMPARE(sqlValue(db, firstCaption).toString(), QStringLiteral("Inputs of the new release"));
    const QString counts = QStringLiteral("SELECT (SELECT COUNT(*) FROM SystemNachrichten) || '/' || "
                                          "(SELECT COUNT(*) FROM ToolTipText)");
    QCOMPARE(sqlValue(db, counts), templates.queryValue(counts));
    QCOMPARE(sqlValue(db, siteWork).toString(), siteWorkKept);
    QCOMPARE(checkDatabase(gState(), db), QString());
    for (const char* page : {"help/en/1000.html", "help/de/index.html"})
        QCOMPARE(readAll(user.filePath(page)), readAll(templates.path(page)));
    // The page the site edited is kept beside it, and not taken for the site's at the next release.
    QCOMPARE(readAll(user.filePath("help/de/index.html.local")), QByteArray("edited by the site"));
    QVERIFY(!QFileInfo::exists(user.filePath("help/en/1000.html.local")));
    writeFile(templates.path("help/de/index.html"), "<html>third release</html>");
    QCOMPARE(prepare(templates, user.path()), QString());
    QCOMPARE(readAll(user.filePath("help/de/index.html")) + readAll(user.filePath("help/de/index.html.local")),
             QByteArray("<html>third release</html>edited by the site"));
    QCOMPARE(readAll(user.filePath("UserProfile/SMSV48_Default.cfg")) + readAll(user.filePath("UserProfile/Site.cfg")),
             QByteArray("the site's defaulta site"));
    // Same schema, same texts: the database is left alone.
    QString error;
    QCOMPARE(DatabaseUpgrade::fromTemplate(gState(), templates.dbPath(), db, &error),
             DatabaseUpgrade::Outcome::Unchanged);

    // The folder made read-only before the next release: it cannot be brought up to date, and
    // what only reads the store still works.
    sqlExec(db, "PRAGMA wal_checkpoint(TRUNCATE)");
    templates.exec("UPDATE Beschriftung SET Englisch='Inputs of the fourth release' WHERE rowid=1");
    Permissions::setTreeReadOnly(user.path(), true);
    const QByteArray before = readAll(db);
    {
        Permissions::Enforced enforced;
        if (!enforced.active())
            QSKIP("file permissions cannot be made to apply here");
        QCOMPARE(prepare(templates, user.path()), QString());
        QCOMPARE(checkDatabase(gState(), db), QString());
        ConfigStore store(gState(), db, Connection::Read);
        QCOMPARE(ProfileStore::read(store, 1).inputs[0].text, QStringLiteral("Tür offen"));
    }
    Permissions::setTreeReadOnly(user.path(), false);
    QCOMPARE(readAll(db), before);
}

// The per-user folder of an installed program holds a file that is not this program's
// database, one of a newer release, or an older one the new release's template fails to
// migrate half-way (its tool tips cannot be replaced): refused at every start in one sentence
// of the chosen language, left byte for byte, the help pages not brought up to date either.
void TestStore::refusedDatabasesStayByteForByte_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("another program's SQLite file") << "foreign"
                                                   << "is not a configuration database of this program";
    QTest::newRow("empty file") << "empty"
                                << "is not a configuration database of this program";
    QTest::newRow("newer release") << "newer"
                                   << "comes from a newer release of the program (version 7";
    QTest::newRow("migration failing half-way") << "older"
                                                << "cannot be brought up to date with the installed template";
}

void TestStore::refusedDatabasesStayByteForByte()
{
    QFETCH(QString, kind);
    QFETCH(QString, sentence);
    TestEnv templates;
    QTemporaryDir user;
    ProgramContext english; // at start, before the program's texts are read: only the language
    english.language = 2;
    QCOMPARE(prepare(templates, user.path(), english), QString());
    const QString db = DataRoot::databasePath(user.path());
    if (kind == QLatin1String("older")) {
        enterSiteWork(db, true);
        templates.exec("DROP TABLE ToolTipText");
    } else {
        QFile::setPermissions(db, QFile::permissions(db) | QFile::WriteOwner);
        if (kind != QLatin1String("newer"))
            writeFile(db, QByteArray());
        if (kind != QLatin1String("empty")) // another program's SQLite file, or a newer one of ours
            sqlExec(db, kind == QLatin1String("newer") ? "PRAGMA user_version = 7" : "CREATE TABLE notes (line TEXT)");
    }
    const QByteArray before = readAll(db);
    const QByteArray page = readAll(templates.path("help/en/1000.html"));
    // A new release installed: the folder is brought up to date at the next start.
    templates.exec("UPDATE Beschriftung SET Englisch='Inputs of the new release' WHERE rowid=1");
    writeFile(templates.path("help/en/1000.html"), "new release");
    for (int start = 0; start < 2; ++start) {
        const QString error = prepare(templates, user.path(), english);
        QVERIFY2(error.contains(sentence) && error.contains(QDir::toNativeSeparators(db))
                     && error.contains("unchanged"),
                 qPrintable(error));
        QCOMPARE(readAll(db), before);
    }
    QCOMPARE(readAll(QDir(user.path()).filePath("help/en/1000.html")), page);
    QCOMPARE(namesIn(QFileInfo(db).absolutePath()), QStringList {QFileInfo(db).fileName()});
    // Found by path (SMSV48_HOME): refused the same way, before it is opened.
    QCOMPARE(checkDatabase(english, db).isEmpty(), kind == QLatin1String("older"));
    QCOMPARE(readAll(db), before);
}

// An installed tree (usr/bin, usr/share/smsv48; its path with characters that mean something
// in a URI) and a home whose program folder an older release made: the command line finds
// both, migrates the database and works.
void TestStore::installedProgramBringsAnOlderUserFolderUpToDate()
{
    TestEnv templates;
    QTemporaryDir prefix(QDir::tempPath() + QStringLiteral("/an install #1 of 50% für Zürich-XXXXXX"));
    QVERIFY(QDir().mkpath(prefix.filePath("usr/bin")) && QDir().mkpath(prefix.filePath("usr/share")));
    const QString ctl = prefix.filePath("usr/bin/smsv48ctl");
    QVERIFY(QFile::copy(CliRun::ctlPath(), ctl));
    QVERIFY(QFile::link(templates.root(), prefix.filePath("usr/share/smsv48")));
    const QString user = prefix.filePath("home/.local/share/SMS_Switch_Vantor");
    const QString db = DataRoot::databasePath(user);
    QDir().mkpath(QFileInfo(db).absolutePath());
    QVERIFY(QFile::copy(templates.dbPath(), db));
    enterSiteWork(db, true);
    writeFile(QDir(user).filePath("UserProfile/Site.cfg"), "a site");

    const CliRun::Run r = CliRun::run(
        ctl, {"profile", "save", "-o", prefix.filePath("site.cfg")}, {},
        {{"HOME", prefix.filePath("home")}, {"SMSV48_SETTINGS_DIR", templates.settingsDir()}}, [](QProcess& p) {
            QProcessEnvironment e = p.processEnvironment();
            e.remove("SMSV48_HOME");
            e.remove("XDG_DATA_HOME");
            p.setProcessEnvironment(e);
        });
    QVERIFY2(r.code == 0, r.err.constData());
    QCOMPARE(sqlValue(db, "PRAGMA user_version").toInt(), DatabaseUpgrade::schemaVersion());
    const QString counts
        = QStringLiteral("SELECT (%1) || '/' || (SELECT COUNT(*) FROM SystemNachrichten)").arg(firstCaption);
    QCOMPARE(sqlValue(db, counts), templates.queryValue(counts));
    QCOMPARE(sqlValue(db, siteWork).toString(), siteWorkKept);
    QCOMPARE(checkDatabase(gState(), db), QString());
    QCOMPARE(readAll(QDir(user).filePath("UserProfile/Site.cfg")), QByteArray("a site"));
    QVERIFY(QFileInfo(QDir(user).filePath("help/fr/index.html")).isFile());
    QVERIFY(QFileInfo(prefix.filePath("site.cfg")).size() > 20000);
}

QTEST_MAIN(TestStore)
#include "test_store.moc"
