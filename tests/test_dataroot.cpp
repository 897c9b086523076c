// The per-user program folder of an installed program: seeded from the installed templates,
// brought up to date when another release is installed (texts and help pages the templates',
// configuration and profiles the site's), older databases migrated in one transaction.
#include "CliRun.h"
#include "TestEnv.h"

#include "store/DataRoot.h"
#include "core/ProgramContext.h"
#include "store/ConfigStore.h"
#include "store/DatabaseUpgrade.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QtTest>

namespace {
const QString firstCaption = QStringLiteral("SELECT Englisch FROM Beschriftung WHERE rowid=1");
const QString siteWork
    = QStringLiteral("SELECT Namen || '/' || Natel_Nummer || '/' || Passwort || '/' || Status || '/' "
                     "|| (SELECT Deutsch FROM SMS WHERE ID=1) FROM Adressen WHERE ID=1");

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
const QString siteWorkKept = QStringLiteral("Meier/0791234567/1234/1/Tür offen");
} // namespace

class TestDataRoot : public QObject {
    Q_OBJECT
private slots:
    void seededThenUpdatedByANewRelease();
    void failedMigrationLeavesTheDatabaseUnchanged();
    void installedProgramBringsAnOlderUserFolderUpToDate();
};

// The first start copies the templates; a later start with the same templates keeps the
// site's edits; another release brings its texts and help pages, never the site's files.
void TestDataRoot::seededThenUpdatedByANewRelease()
{
    // A schema version raised in the SQL without a migration step to it (or the other way
    // round) would leave user databases behind.
    QCOMPARE(sqlValue(QStringLiteral(SMSV48_PRISTINE_DB), "PRAGMA user_version").toInt(),
             DatabaseUpgrade::schemaVersion());
    TestEnv templates; // a complete program folder, as installed in share/smsv48
    QTemporaryDir home;
    const QDir user(home.filePath("data/SMS_Switch_Vantor"));
    QString error;
    QVERIFY2(DataRoot::prepareUserFolder(gState(), templates.root(), user.path(), &error), qPrintable(error));
    int files = 0;
    for (QDirIterator it(templates.root(), QDir::Files, QDirIterator::Subdirectories); it.hasNext(); ++files) {
        const QString rel = QDir(templates.root()).relativeFilePath(it.next());
        QCOMPARE(readAll(user.filePath(rel)), readAll(templates.path(rel)));
    }
    QVERIFY(files > 90); // database, default profile, the help pages in four languages
    for (const char* sub : {"UserProfile", "Download/Config", "Download/Firmware"})
        QVERIFY(QFileInfo(user.filePath(sub)).isDir());
    const QString db = DataRoot::databasePath(user.path());
    enterSiteWork(db, false);
    writeFile(user.filePath("UserProfile/SMSV48_Default.cfg"), "the site's default");
    writeFile(user.filePath("UserProfile/Site.cfg"), "a site");
    writeFile(user.filePath("help/de/index.html"), "edited by the site");
    QVERIFY2(DataRoot::prepareUserFolder(gState(), templates.root(), user.path(), &error), qPrintable(error));
    QCOMPARE(readAll(user.filePath("help/de/index.html")), QByteArray("edited by the site"));

    // Another release: a caption, a new message, a help page and the default profile differ.
    templates.exec("UPDATE Beschriftung SET Englisch='Inputs of the new release' WHERE rowid=1");
    templates.exec("INSERT INTO SystemNachrichten (Name, Deutsch, Englisch, Italienisch, Französisch) "
                   "VALUES ('gsMsgNeu', 'neu', 'new', 'nuovo', 'nouveau')");
    writeFile(templates.path("help/en/1000.html"), "<html><body>new release</body></html>");
    writeFile(templates.path("UserProfile/SMSV48_Default.cfg"), "the new release's default");
    QVERIFY2(DataRoot::prepareUserFolder(gState(), templates.root(), user.path(), &error), qPrintable(error));
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
    QVERIFY2(DataRoot::prepareUserFolder(gState(), templates.root(), user.path(), &error), qPrintable(error));
    QCOMPARE(readAll(user.filePath("help/de/index.html")) + readAll(user.filePath("help/de/index.html.local")),
             QByteArray("<html>third release</html>edited by the site"));
    QCOMPARE(readAll(user.filePath("UserProfile/SMSV48_Default.cfg")) + readAll(user.filePath("UserProfile/Site.cfg")),
             QByteArray("the site's defaulta site"));
    // Same schema, same texts: the database is left alone.
    QCOMPARE(DatabaseUpgrade::fromTemplate(gState(), templates.dbPath(), db, &error),
             DatabaseUpgrade::Outcome::Unchanged);
}

void TestDataRoot::failedMigrationLeavesTheDatabaseUnchanged()
{
    // A template that fails half-way: the captions can be replaced, the tool tips cannot.
    TestEnv templates;
    QTemporaryDir user;
    QString error;
    QVERIFY2(DataRoot::prepareUserFolder(gState(), templates.root(), user.path(), &error), qPrintable(error));
    const QString db = DataRoot::databasePath(user.path());
    enterSiteWork(db, true);
    const QString state = QStringLiteral("SELECT (SELECT user_version FROM pragma_user_version) || '/' || "
                                         "(SELECT COUNT(*) FROM ToolTipText) || '/' || (%1)")
                              .arg(firstCaption);
    const QVariant before = sqlValue(db, state);
    templates.exec("DROP TABLE ToolTipText");
    writeFile(templates.path("help/en/1000.html"), "new release");

    QCOMPARE(DatabaseUpgrade::fromTemplate(gState(), templates.dbPath(), db, &error), DatabaseUpgrade::Outcome::Failed);
    QVERIFY2(error.contains(db) && error.contains("ToolTipText") && error.contains("unverändert"), qPrintable(error));
    QCOMPARE(sqlValue(db, state), before);
    QCOMPARE(sqlValue(db, siteWork).toString(), siteWorkKept);

    // At start: refused with that sentence, and tried again at the next start.
    error.clear();
    QVERIFY(!DataRoot::prepareUserFolder(gState(), templates.root(), user.path(), &error));
    QVERIFY2(error.contains("ToolTipText"), qPrintable(error));
    QVERIFY(readAll(user.filePath("help/en/1000.html")) != "new release");
    QVERIFY(!DataRoot::prepareUserFolder(gState(), templates.root(), user.path(), &error));
}

// An installed tree (usr/bin, usr/share/smsv48; its path with characters that mean something
// in a URI) and a home whose program folder an older release made: the command line finds
// both, migrates the database and works.
void TestDataRoot::installedProgramBringsAnOlderUserFolderUpToDate()
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
    // Once migrated, the next start leaves it alone.
    QString error;
    QCOMPARE(DatabaseUpgrade::fromTemplate(gState(), templates.dbPath(), db, &error),
             DatabaseUpgrade::Outcome::Unchanged);
}

QTEST_MAIN(TestDataRoot)
#include "test_dataroot.moc"
