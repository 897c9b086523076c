// Start-up and shutdown of the main window: settings defaults, a port that fails to open,
// a damaged database, the close sequence.
#include "Permissions.h"
#include "TestEnv.h"

#include "ui/QtTranslations.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "ui/Start.h"
#include "link/Channel.h"
#include "ui/SplashWindow.h"
#include "ui/MainWindow.h"
#include "ui/DeviceController.h"
#include "WindowWidgets.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QMessageBox>
#include "core/RecentFiles.h"
#include "core/Settings.h"
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void qtOwnTextsSpeakTheLanguage();
    void firstRunWithoutSettings();
    void languageSetting_data();
    void languageSetting();
    void firstStartTakesTheSystemLanguage();
    void recentFilesNewestFirstAtMostEight();
    void splashAndStatusBarSpeakTheLanguage();
    void portThatCannotBeOpened();
    void damagedOrIncompleteDatabaseIsReported();
    void readOnlyProgramFolderIsSaidAtStart();
    void closeAsksAboutUnsavedChangesAndFlushes();
    void closeWithoutChangesAsksNothing();
};

// The standard buttons of every message box (and Qt's dialogs) follow the program's language.
void TestStartup::qtOwnTextsSpeakTheLanguage()
{
    const auto yesText = [] {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        return QStringList {box.button(QMessageBox::Yes)->text(), box.button(QMessageBox::Cancel)->text()};
    };
    QVERIFY(QtTranslations::install(1));
    QCOMPARE(yesText(), (QStringList {"&Ja", "Abbrechen"}));
    QVERIFY(QtTranslations::install(3));
    QCOMPARE(yesText().value(0), QStringLiteral("&Sì"));
    QVERIFY(QtTranslations::install(4));
    QCOMPARE(yesText().value(0), QStringLiteral("&Oui"));
    QVERIFY(QtTranslations::install(2)); // Qt's own English again
    QCOMPARE(yesText(), (QStringList {"&Yes", "Cancel"}));
}

void TestStartup::firstRunWithoutSettings()
{
    TestEnv env;
    Settings::set("Ports", "COM1", "sim");
    QCOMPARE(Start::prepare(gState()), QString());
    QCOMPARE(gState().language, 1);
    QCOMPARE(gState().dataRoot, env.root());
    MainWindow w(gState());
    w.initializeControls();
    QVERIFY(w.store().isOpen());
    QCOMPARE(w.tabs()->count(), 3);
    QCOMPARE(w.tabs()->currentIndex(), 0);
    QCOMPARE(w.device().port, 1);
    QCOMPARE(Settings::get("Einstellungen", "COM-Anschluss-Aktuell"), QStringLiteral("open"));
    QCOMPARE(WindowWidgets::statusPanel(w, 1)->text(), QStringLiteral("COM 1"));
    QVERIFY(w.device().channel && w.device().channel->isSimulated());
    QVERIFY(!WindowWidgets::named<QLabel>(w, "lblSimulated")->isHidden());
    QVERIFY(!WindowWidgets::statusPanel(w, 0)->text().isEmpty()); // the clock
    QVERIFY(env.messages.isEmpty());
}

void TestStartup::languageSetting_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("language");
    QTest::newRow("German") << "1" << 1;
    QTest::newRow("Italian") << "3" << 3;
    QTest::newRow("French") << "4" << 4;
    QTest::newRow("out of range") << "7" << 1;
    QTest::newRow("zero") << "0" << 1;
    QTest::newRow("not a number") << "fr" << 1;
}

void TestStartup::languageSetting()
{
    QFETCH(QString, stored);
    QFETCH(int, language);
    TestEnv env(stored);
    QCOMPARE(Start::prepare(gState()), QString());
    QCOMPARE(gState().language, language);
}

// Until the user chooses a language, the program speaks the system's (German for any other).
void TestStartup::firstStartTakesTheSystemLanguage()
{
    const QList<QPair<const char*, int>> cases {{"de_CH", 1}, {"en_US", 2}, {"en_GB", 2}, {"it_IT", 3}, {"fr_CA", 4},
                                                {"fr_FR", 4}, {"es_ES", 1}, {"C", 1},     {"ja_JP", 1}};
    for (const auto& c : cases)
        QCOMPARE(ProgramContext::languageOfLocale(QLocale(QLatin1String(c.first))), c.second);
    TestEnv env; // nothing stored
    QCOMPARE(Start::prepare(gState()), QString());
    QCOMPARE(gState().language, ProgramContext::languageOfLocale(QLocale::system()));
    QVERIFY(!Settings::contains(QStringLiteral("Einstellungen"), QStringLiteral("Sprache"))); // not chosen yet
}

void TestStartup::recentFilesNewestFirstAtMostEight()
{
    TestEnv env("1");
    QCOMPARE(RecentFiles::list(), QStringList());
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(RecentFiles::lastFolder(), documents.isEmpty() ? QDir::homePath() : documents);
    QTemporaryDir dir;
    QStringList files;
    for (int i = 0; i < 10; ++i) {
        files << dir.filePath(QStringLiteral("p%1.cfg").arg(i));
        QFile f(files.last());
        QVERIFY(f.open(QIODevice::WriteOnly));
        RecentFiles::add(files.last());
    }
    QStringList expected;
    for (int i = 9; i >= 2; --i)
        expected << files[i];
    QCOMPARE(RecentFiles::list(), expected);
    // The same file by another spelling moves to the top instead of appearing twice.
    RecentFiles::add(dir.path() + QStringLiteral("/./p5.cfg"));
    QCOMPARE(RecentFiles::list().first(), files[5]);
    QCOMPARE(RecentFiles::list().size(), 8);
    QCOMPARE(RecentFiles::list().count(files[5]), 1);
    // A file gone is not offered; removing drops it.
    QFile::remove(files[9]);
    QVERIFY(!RecentFiles::list().contains(files[9]));
    RecentFiles::remove(files[8]);
    QVERIFY(!RecentFiles::list().contains(files[8]));
    QCOMPARE(RecentFiles::lastFolder(), QFileInfo(files[5]).absolutePath());
}

void TestStartup::splashAndStatusBarSpeakTheLanguage()
{
    TestEnv env("3");
    QCOMPARE(Start::prepare(gState()), QString());
    {
        SplashWindow splash(gState());
        QCOMPARE(splash.softwareLabel->text(),
                 env.queryValue("SELECT Italienisch FROM Beschriftung WHERE Name='lblSoftware'").toString());
        QCOMPARE(splash.copyrightLabel->text(),
                 env.queryValue("SELECT Italienisch FROM Beschriftung WHERE Name='lblCopyright'").toString());
        QVERIFY(!splash.logos[2]->isHidden()); // the Italian logo
        QVERIFY(splash.logos[0]->isHidden() && splash.logos[1]->isHidden() && splash.logos[3]->isHidden());
    }
    MainWindow w(gState());
    w.initializeControls();
    QCOMPARE(WindowWidgets::named<QLabel>(w, "lblSimulated")->text(),
             env.queryValue("SELECT Italienisch FROM SystemNachrichten WHERE Name='gsStatusSimuliert'").toString());
    QVERIFY(WindowWidgets::named<QLabel>(w, "lblSimulated")->text().contains("simulato"));
    // The clock writes the date as Italian does (day/month/year), not as the system's locale.
    const QString clock = WindowWidgets::statusPanel(w, 0)->text();
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d$")).match(clock).hasMatch(),
             qPrintable(clock));
    const QDate today = QDate::currentDate();
    QVERIFY2(clock.startsWith(QStringLiteral("%1/%2/")
                                  .arg(today.day(), 2, 10, QLatin1Char('0'))
                                  .arg(today.month(), 2, 10, QLatin1Char('0')))
                 || QTime::currentTime() < QTime(0, 1),
             qPrintable(clock));
    // German: day.month.year.
    gState().language = 1;
    QCOMPARE(gState().locale().toString(QDate(2026, 12, 6), QLocale::ShortFormat), QStringLiteral("06.12.26"));
    gState().language = 4;
    QCOMPARE(gState().locale().toString(QDate(2026, 12, 6), QLocale::ShortFormat), QStringLiteral("06/12/2026"));
    gState().language = 3;
}

void TestStartup::portThatCannotBeOpened()
{
    TestEnv env;
    Settings::set("Einstellungen", "COM-Anschluss", "3");
    Settings::set("Ports", "COM3", env.path("no-such-tty"));
    QCOMPARE(Start::prepare(gState()), QString());
    int portDialogs = 0;
    MainWindowOptions options;
    options.portFailureDialog = [&] { ++portDialogs; };
    auto w = std::make_unique<MainWindow>(gState(), std::move(options));
    QCOMPARE(portDialogs, 1);
    QCOMPARE(env.messages.size(), 1);
    QVERIFY(env.messages[0].text.endsWith("(COM 3)"));
    QCOMPARE(env.messages[0].icon, Dialogs::Icon::Exclamation);
    QCOMPARE(w->lamp(), int(MainWindow::Red));
    QCOMPARE(WindowWidgets::statusPanel(*w, 1)->text(), QStringLiteral("COM ----"));
    QCOMPARE(Settings::get("Einstellungen", "COM-Anschluss-Aktuell"), QStringLiteral("closed"));
    QVERIFY(WindowWidgets::named<QLabel>(*w, "lblSimulated")->isHidden());
    // Editing still works: the store is open and writable.
    w->store().inputs.setAbsolutePosition(2);
    w->store().inputs.setValue("Benutzer1", 1);
    w->store().inputs.updateBatch();
    QCOMPARE(env.queryValue("SELECT Benutzer1 FROM \"Konfiguration_Eingänge\" WHERE ID=2").toInt(), 1);
}

void TestStartup::damagedOrIncompleteDatabaseIsReported()
{
    {
        TestEnv env;
        env.exec("ALTER TABLE SMS RENAME COLUMN Deutsch TO Deutch");
        const QString why = Start::prepare(gState());
        QVERIFY2(why.contains(env.dbPath()) && why.contains("Deutsch"), qPrintable(why));
    }
    {
        TestEnv env;
        QFile f(env.dbPath());
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.seek(0);
        f.write("this is no database file");
        f.close();
        const QByteArray before = [&] {
            QFile g(env.dbPath());
            g.open(QIODevice::ReadOnly);
            return g.readAll();
        }();
        const QString why = Start::prepare(gState());
        QVERIFY2(why.contains(env.dbPath()), qPrintable(why));
        QFile g(env.dbPath());
        QVERIFY(g.open(QIODevice::ReadOnly));
        QCOMPARE(g.readAll(), before); // never overwritten
    }
    {
        TestEnv env;
        QFile::remove(env.dbPath());
        const QString why = Start::prepare(gState());
        QVERIFY2(why.contains("ist nicht vorhanden"), qPrintable(why));
        QVERIFY(!QFile::exists(env.dbPath())); // nothing created in its place
    }
}

// The program writes the store from its first moment (the default profile is loaded at every
// start): in a folder it may not write it says so, with where the database is, in the chosen
// language, and ends with exit code 1 instead of failing later with a cryptic error.
void TestStartup::readOnlyProgramFolderIsSaidAtStart()
{
    TestEnv env("2");
    const QStringList installed = QDir(env.path("Datenbank")).entryList(QDir::Files | QDir::Hidden);
    Permissions::setTreeReadOnly(env.root(), true);
    QString why;
    int code = 0;
    {
        Permissions::Enforced enforced;
        if (!enforced.active()) {
            Permissions::setTreeReadOnly(env.root(), false);
            QSKIP("the test runs as root and cannot give up root's override of file permissions");
        }
        why = Start::prepare(gState());
        env.messages.clear();
        code = Start::Main(gState(), *qobject_cast<QApplication*>(QCoreApplication::instance()));
    }
    Permissions::setTreeReadOnly(env.root(), false);
    QVERIFY2(why.startsWith(QStringLiteral("The database %1 is read-only").arg(QDir::toNativeSeparators(env.dbPath()))),
             qPrintable(why));
    QCOMPARE(code, 1);
    QCOMPARE(env.messages.size(), 1);
    QCOMPARE(env.messages[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(env.messages[0].text, why);
    QCOMPARE(QDir(env.path("Datenbank")).entryList(QDir::Files | QDir::Hidden), installed);
}

void TestStartup::closeAsksAboutUnsavedChangesAndFlushes()
{
    TestEnv env;
    Settings::set("Ports", "COM1", "sim");
    QCOMPARE(Start::prepare(gState()), QString());
    MainWindow w(gState());
    w.store().sms.setAbsolutePosition(4);
    w.store().sms.setValue(2, QStringLiteral("Tür offen"));
    gState().unsavedChanges = true;
    env.answers << QMessageBox::No;
    QVERIFY(w.close());
    QCOMPARE(env.messages.size(), 1);
    QCOMPARE(env.messages[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QVERIFY(gState().closing);
    QVERIFY(!w.store().isOpen());
    QVERIFY(!w.device().channel->isOpen());
    // Answering No saves no profile, but pending edits still reach the database.
    QCOMPARE(env.queryValue("SELECT Deutsch FROM SMS WHERE ID=4").toString(), QStringLiteral("Tür offen"));
}

void TestStartup::closeWithoutChangesAsksNothing()
{
    TestEnv env;
    Settings::set("Ports", "COM1", "sim");
    QCOMPARE(Start::prepare(gState()), QString());
    MainWindow w(gState());
    gState().unsavedChanges = false;
    QVERIFY(w.close());
    QVERIFY(env.messages.isEmpty());
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
