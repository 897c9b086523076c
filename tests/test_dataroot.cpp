// The per-user program folder of an installed program: seeded from the installed templates,
// brought up to date when another release is installed (texts and help pages the templates',
// configuration and profiles the site's), older databases migrated in one transaction.
#include "TestEnv.h"

#include "store/DataRoot.h"
#include "core/ProgramContext.h"
#include "store/ConfigStore.h"
#include "store/DatabaseUpgrade.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

namespace {
QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void write(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

QVariant sqlValue(const QString& db, const QString& sql)
{
    Connection con(gState());
    con.open(db, Connection::Read);
    QSqlQuery q(con.db());
    if (!q.exec(sql) || !q.next()) {
        qWarning() << "query failed:" << sql << q.lastError().text();
        return QVariant();
    }
    return q.value(0);
}

void sqlExec(const QString& db, const QString& sql)
{
    Connection con(gState());
    con.open(db, Connection::ReadWrite);
    QSqlQuery q(con.db());
    QVERIFY2(q.exec(sql), qPrintable(sql + ": " + q.lastError().text()));
}

// The site's work in a user's database: a phone-book entry and an SMS text.
void enterSiteConfiguration(const QString& db)
{
    sqlExec(db, "UPDATE Adressen SET Namen='Meier', Natel_Nummer='0791234567', Passwort='1234', Status=1 WHERE ID=1");
    sqlExec(db, "UPDATE SMS SET Deutsch='Tür offen' WHERE ID=1");
}

void verifySiteConfigurationKept(const QString& db)
{
    QCOMPARE(
        sqlValue(db, "SELECT Namen || '/' || Natel_Nummer || '/' || Passwort || '/' || Status FROM Adressen WHERE ID=1")
            .toString(),
        QStringLiteral("Meier/0791234567/1234/1"));
    QCOMPARE(sqlValue(db, "SELECT Deutsch FROM SMS WHERE ID=1").toString(), QStringLiteral("Tür offen"));
}

const QString firstCaption = QStringLiteral("SELECT Englisch FROM Beschriftung WHERE rowid=1");
} // namespace

class TestDataRoot : public QObject {
    Q_OBJECT
private slots:
    void firstStartSeedsTheUserFolder();
    void newReleaseUpdatesTextsAndHelpAndKeepsTheSitesFiles();
    void olderSchemaIsMigrated();
    void failedMigrationLeavesTheDatabaseUnchanged();
    void builtDatabaseCarriesTheSchemaVersion();
    void installedProgramBringsAnOlderUserFolderUpToDate();
};

void TestDataRoot::firstStartSeedsTheUserFolder()
{
    TestEnv templates; // a complete program folder, as installed in share/smsv48
    QTemporaryDir home;
    const QString user = home.filePath("data/SMS_Switch_Vantor");
    QString error;
    QVERIFY2(DataRoot::prepareUserFolder(gState(), templates.root(), user, &error), qPrintable(error));
    int files = 0;
    QDirIterator it(templates.root(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString rel = QDir(templates.root()).relativeFilePath(it.next());
        QCOMPARE(contents(QDir(user).filePath(rel)), contents(templates.path(rel)));
        ++files;
    }
    QVERIFY(files > 90); // database, default profile, the help pages in four languages
    for (const char* sub : {"UserProfile", "Download/Config", "Download/Firmware"})
        QVERIFY(QFileInfo(QDir(user).filePath(sub)).isDir());
    QCOMPARE(checkDatabase(gState(), DataRoot::databasePath(user)), QString());

    // The user's own files are never replaced at a later start.
    write(QDir(user).filePath("UserProfile/SMSV48_Default.cfg"), "the site's default");
    write(QDir(user).filePath("UserProfile/Site.cfg"), "a site");
    QVERIFY2(DataRoot::prepareUserFolder(gState(), templates.root(), user, &error), qPrintable(error));
    QCOMPARE(contents(QDir(user).filePath("UserProfile/SMSV48_Default.cfg")), QByteArray("the site's default"));
    QCOMPARE(contents(QDir(user).filePath("UserProfile/Site.cfg")), QByteArray("a site"));
}

void TestDataRoot::newReleaseUpdatesTextsAndHelpAndKeepsTheSitesFiles()
{
    TestEnv templates;
    QTemporaryDir user;
    QString error;
    QVERIFY2(DataRoot::prepareUserFolder(gState(), templates.root(), user.path(), &error), qPrintable(error));
    const QString db = DataRoot::databasePath(user.path());
    enterSiteConfiguration(db);
    write(user.filePath("UserProfile/SMSV48_Default.cfg"), "the site's default");
    write(user.filePath("UserProfile/Site.cfg"), "a site");

    // The user's edit of a help page stays as long as the same templates are installed.
    write(user.filePath("help/de/index.html"), "edited by the site");
    QVERIFY2(DataRoot::prepareUserFolder(gState(), templates.root(), user.path(), &error), qPrintable(error));
    QCOMPARE(contents(user.filePath("help/de/index.html")), QByteArray("edited by the site"));

    // Another release: a caption, a new message, a help page and the default profile differ.
    templates.exec("UPDATE Beschriftung SET Englisch='Inputs of the new release' WHERE rowid=1");
    templates.exec("INSERT INTO SystemNachrichten (Name, Deutsch, Englisch, Italienisch, Französisch) "
                   "VALUES ('gsMsgNeu', 'neu', 'new', 'nuovo', 'nouveau')");
    write(templates.path("help/en/1000.html"), "<html><body>new release</body></html>");
    write(templates.path("UserProfile/SMSV48_Default.cfg"), "the new release's default");
    QVERIFY2(DataRoot::prepareUserFolder(gState(), templates.root(), user.path(), &error), qPrintable(error));

    QCOMPARE(sqlValue(db, firstCaption).toString(), QStringLiteral("Inputs of the new release"));
    QCOMPARE(sqlValue(db, "SELECT Französisch FROM SystemNachrichten WHERE Name='gsMsgNeu'").toString(),
             QStringLiteral("nouveau"));
    QCOMPARE(sqlValue(db, "SELECT COUNT(*) FROM ToolTipText").toInt(),
             templates.queryValue("SELECT COUNT(*) FROM ToolTipText").toInt());
    verifySiteConfigurationKept(db);
    QCOMPARE(sqlValue(db, "PRAGMA user_version").toInt(), DatabaseUpgrade::schemaVersion());
    QCOMPARE(checkDatabase(gState(), db), QString());
    QCOMPARE(contents(user.filePath("help/en/1000.html")), contents(templates.path("help/en/1000.html")));
    QCOMPARE(contents(user.filePath("help/de/index.html")), contents(templates.path("help/de/index.html")));
    QCOMPARE(contents(user.filePath("UserProfile/SMSV48_Default.cfg")), QByteArray("the site's default"));
    QCOMPARE(contents(user.filePath("UserProfile/Site.cfg")), QByteArray("a site"));

    // Same schema, same texts: the database is left alone.
    QCOMPARE(DatabaseUpgrade::fromTemplate(gState(), templates.dbPath(), db, &error),
             DatabaseUpgrade::Outcome::Unchanged);
}

void TestDataRoot::olderSchemaIsMigrated()
{
    TestEnv templates;
    QTemporaryDir user;
    const QString db = DataRoot::databasePath(user.path());
    QDir().mkpath(user.filePath("Datenbank"));
    QVERIFY(QFile::copy(templates.dbPath(), db));
    // A database of a release before the schema version was kept, with that release's texts.
    sqlExec(db, "PRAGMA user_version = 0");
    sqlExec(db, "UPDATE Beschriftung SET Englisch='old caption' WHERE rowid=1");
    sqlExec(db, "DELETE FROM SystemNachrichten WHERE rowid = (SELECT MAX(rowid) FROM SystemNachrichten)");
    enterSiteConfiguration(db);

    QString error;
    QCOMPARE(DatabaseUpgrade::fromTemplate(gState(), templates.dbPath(), db, &error),
             DatabaseUpgrade::Outcome::Migrated);
    QCOMPARE(sqlValue(db, "PRAGMA user_version").toInt(), DatabaseUpgrade::schemaVersion());
    QCOMPARE(sqlValue(db, firstCaption), templates.queryValue(firstCaption));
    QCOMPARE(sqlValue(db, "SELECT COUNT(*) FROM SystemNachrichten"),
             templates.queryValue("SELECT COUNT(*) FROM SystemNachrichten"));
    verifySiteConfigurationKept(db);
    QCOMPARE(checkDatabase(gState(), db), QString());
    QCOMPARE(DatabaseUpgrade::fromTemplate(gState(), templates.dbPath(), db, &error),
             DatabaseUpgrade::Outcome::Unchanged);

    // A database of a later release than the installed one is refused and not touched.
    sqlExec(db, QStringLiteral("PRAGMA user_version = %1").arg(DatabaseUpgrade::schemaVersion() + 1));
    sqlExec(db, "UPDATE Beschriftung SET Englisch='later caption' WHERE rowid=1");
    QCOMPARE(DatabaseUpgrade::fromTemplate(gState(), templates.dbPath(), db, &error), DatabaseUpgrade::Outcome::Failed);
    QCOMPARE(sqlValue(db, firstCaption).toString(), QStringLiteral("later caption"));
}

void TestDataRoot::failedMigrationLeavesTheDatabaseUnchanged()
{
    // A template that fails half-way: the captions can be replaced, the tool tips cannot.
    TestEnv templates;
    QTemporaryDir user;
    QString error;
    QVERIFY2(DataRoot::prepareUserFolder(gState(), templates.root(), user.path(), &error), qPrintable(error));
    const QString db = DataRoot::databasePath(user.path());
    sqlExec(db, "PRAGMA user_version = 0");
    sqlExec(db, "UPDATE Beschriftung SET Englisch='old caption' WHERE rowid=1");
    enterSiteConfiguration(db);
    const int toolTips = sqlValue(db, "SELECT COUNT(*) FROM ToolTipText").toInt();
    templates.exec("DROP TABLE ToolTipText");
    write(templates.path("help/en/1000.html"), "new release");

    QCOMPARE(DatabaseUpgrade::fromTemplate(gState(), templates.dbPath(), db, &error), DatabaseUpgrade::Outcome::Failed);
    QVERIFY2(error.contains(db) && error.contains("ToolTipText") && error.contains("unverändert"), qPrintable(error));
    QCOMPARE(sqlValue(db, "PRAGMA user_version").toInt(), 0);
    QCOMPARE(sqlValue(db, firstCaption).toString(), QStringLiteral("old caption"));
    QCOMPARE(sqlValue(db, "SELECT COUNT(*) FROM ToolTipText").toInt(), toolTips);
    verifySiteConfigurationKept(db);

    // At start: refused with that sentence, and tried again at the next start.
    error.clear();
    QVERIFY(!DataRoot::prepareUserFolder(gState(), templates.root(), user.path(), &error));
    QVERIFY2(error.contains("ToolTipText"), qPrintable(error));
    QVERIFY(contents(user.filePath("help/en/1000.html")) != "new release");
    QVERIFY(!DataRoot::prepareUserFolder(gState(), templates.root(), user.path(), &error));
}

void TestDataRoot::builtDatabaseCarriesTheSchemaVersion()
{
    // A schema version raised in the SQL without a migration step to it (or the other way
    // round) would leave user databases behind.
    QCOMPARE(sqlValue(QStringLiteral(SMSV48_PRISTINE_DB), "PRAGMA user_version").toInt(),
             DatabaseUpgrade::schemaVersion());
    QVERIFY(DatabaseUpgrade::schemaVersion() >= 1);
}

void TestDataRoot::installedProgramBringsAnOlderUserFolderUpToDate()
{
    // An installed tree (usr/bin, usr/share/smsv48; its path with characters that mean something
    // in a URI) and a home whose program folder an older release made: its database without a
    // schema version and with that release's captions.
    TestEnv templates;
    QTemporaryDir prefix(QDir::tempPath() + QStringLiteral("/an install #1 of 50% für Zürich-XXXXXX"));
    QVERIFY(QDir().mkpath(prefix.filePath("usr/bin")) && QDir().mkpath(prefix.filePath("usr/share")));
    const QString ctl = prefix.filePath("usr/bin/smsv48ctl");
    QVERIFY(QFile::copy(TestEnv::builtBin() + "/smsv48ctl", ctl));
    QVERIFY(QFile::link(templates.root(), prefix.filePath("usr/share/smsv48")));
    const QString user = prefix.filePath("home/.local/share/SMS_Switch_Vantor");
    const QString db = DataRoot::databasePath(user);
    QDir().mkpath(QFileInfo(db).absolutePath());
    QVERIFY(QFile::copy(templates.dbPath(), db));
    sqlExec(db, "PRAGMA user_version = 0");
    sqlExec(db, "UPDATE Beschriftung SET Englisch='old caption' WHERE rowid=1");
    enterSiteConfiguration(db);
    write(QDir(user).filePath("UserProfile/Site.cfg"), "a site");

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("SMSV48_HOME");
    env.remove("XDG_DATA_HOME");
    env.insert("HOME", prefix.filePath("home"));
    env.insert("SMSV48_SETTINGS_DIR", templates.settingsDir());
    p.setProcessEnvironment(env);
    p.start(ctl, {"profile", "save", "-o", prefix.filePath("site.cfg")});
    QVERIFY(p.waitForFinished(60000));
    QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, p.readAllStandardError().constData());

    QCOMPARE(sqlValue(db, "PRAGMA user_version").toInt(), DatabaseUpgrade::schemaVersion());
    QCOMPARE(sqlValue(db, firstCaption), templates.queryValue(firstCaption));
    verifySiteConfigurationKept(db);
    QCOMPARE(contents(QDir(user).filePath("UserProfile/Site.cfg")), QByteArray("a site"));
    QVERIFY(QFileInfo(QDir(user).filePath("help/fr/index.html")).isFile());
    QVERIFY(QFileInfo(prefix.filePath("site.cfg")).size() > 20000);
}

QTEST_MAIN(TestDataRoot)
#include "test_dataroot.moc"
