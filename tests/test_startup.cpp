// Start-up and shutdown of the main window: settings defaults, the language, a port that
// fails to open, a damaged database, a read-only program folder, the close sequence.
#include "Desktop.h"
#include "Permissions.h"
#include "TestEnv.h"
#include "WindowWidgets.h"

#include "core/ProgramContext.h"
#include "core/RecentFiles.h"
#include "core/Settings.h"
#include "link/Channel.h"
#include "ui/DeviceController.h"
#include "ui/MainWindow.h"
#include "ui/PortSettingsDialog.h"
#include "ui/QtTranslations.h"
#include "ui/SplashWindow.h"
#include "ui/Start.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void qtOwnTextsSpeakTheLanguage_data();
    void qtOwnTextsSpeakTheLanguage();
    void firstRunWithoutSettings();
    void languageSetting_data();
    void languageSetting();
    void recentFilesNewestFirstAtMostEight();
    void splashAndStatusBarSpeakTheLanguage();
    void portThatCannotBeOpened();
    void damagedDatabaseIsReportedAndKept_data();
    void damagedDatabaseIsReportedAndKept();
    void readOnlyProgramFolderIsSaidAtStart();
    void closeAsksAboutUnsavedChangesAndFlushes();
};

void TestStartup::qtOwnTextsSpeakTheLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("buttons"); // Yes and Cancel
    QTest::newRow("German") << 1 << QStringLiteral("&Ja Abbrechen");
    QTest::newRow("Italian") << 3 << QStringLiteral("&Sì Annulla");
    QTest::newRow("French") << 4 << QStringLiteral("&Oui Annuler");
    QTest::newRow("English") << 2 << QStringLiteral("&Yes Cancel"); // Qt's own English again
}

// The standard buttons of every message box (and Qt's dialogs) follow the program's language.
void TestStartup::qtOwnTextsSpeakTheLanguage()
{
    QFETCH(int, language);
    QFETCH(QString, buttons);
    QVERIFY(QtTranslations::install(language));
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Yes)->text() + ' ' + box.button(QMessageBox::Cancel)->text(), buttons);
}

void TestStartup::firstRunWithoutSettings()
{
    TestEnv env;
    QCOMPARE(Start::prepare(gState()), QString());
    QCOMPARE(gState().language, ProgramContext::languageOfLocale(QLocale::system()));
    QVERIFY(!Settings::contains(QStringLiteral("Einstellungen"), QStringLiteral("Sprache"))); // not chosen yet
    QCOMPARE(gState().dataRoot, env.root());
    MainWindow w(gState());
    w.initializeControls();
    QVERIFY(w.store().isOpen() && w.tabs()->count() == 3 && w.tabs()->currentIndex() == 0);
    QCOMPARE(Settings::get("Einstellungen", "COM-Anschluss-Aktuell"), QStringLiteral("open"));
    QCOMPARE(WindowWidgets::statusPanel(w, 1)->text(), QStringLiteral("COM 1"));
    QVERIFY(w.device().channel && w.device().channel->isSimulated());
    QVERIFY(!WindowWidgets::named<QLabel>(w, "lblSimulated")->isHidden());
    QVERIFY(!WindowWidgets::statusPanel(w, 0)->text().isEmpty()); // the clock
    QVERIFY(env.messages.isEmpty());
}

// A stored language wins; without one (or with one out of range) the system's is used.
void TestStartup::languageSetting_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("language");
    QTest::newRow("stored") << QStringLiteral("3") << QStringLiteral("de_CH") << 3;
    QTest::newRow("out of range") << QStringLiteral("7") << QStringLiteral("de_CH") << 1;
    QTest::newRow("not a number") << QStringLiteral("fr") << QStringLiteral("de_CH") << 1;
    const QList<QPair<const char*, int>> system {{"de_CH", 1}, {"en_GB", 2}, {"it_IT", 3}, {"fr_CA", 4}, {"ja_JP", 1}};
    for (const auto& [locale, language] : system)
        QTest::newRow(locale) << QString() << locale << language;
}

void TestStartup::languageSetting()
{
    QFETCH(QString, stored);
    QFETCH(QString, locale);
    QFETCH(int, language);
    if (stored.isEmpty()) {
        QCOMPARE(ProgramContext::languageOfLocale(QLocale(locale)), language);
        return;
    }
    TestEnv env(stored);
    QCOMPARE(Start::prepare(gState()), QString());
    QCOMPARE(gState().language, language);
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
        files.prepend(dir.filePath(QStringLiteral("p%1.cfg").arg(i)));
        writeFile(files.first(), QByteArray());
        RecentFiles::add(files.first());
    }
    QCOMPARE(RecentFiles::list(), files.mid(0, 8));
    // The same file by another spelling moves to the top instead of appearing twice.
    RecentFiles::add(dir.path() + QStringLiteral("/./p5.cfg"));
    QCOMPARE(RecentFiles::list(), QStringList {files[4]} + files.mid(0, 4) + files.mid(5, 3));
    // A file gone is not offered; removing drops it.
    QFile::remove(files[0]);
    RecentFiles::remove(files[1]);
    QCOMPARE(RecentFiles::list().mid(0, 3), QStringList({files[4], files[2], files[3]}));
    QCOMPARE(RecentFiles::lastFolder(), QFileInfo(files[4]).absolutePath());
}

void TestStartup::splashAndStatusBarSpeakTheLanguage()
{
    TestEnv env("3");
    QCOMPARE(Start::prepare(gState()), QString());
    {
        SplashWindow splash(gState());
        QCOMPARE(splash.softwareLabel->text(), Desktop::tableText(env, "lblSoftware", 3));
        QCOMPARE(splash.copyrightLabel->text(), Desktop::tableText(env, "lblCopyright", 3));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(splash.logos[i]->isHidden(), i != 2); // the Italian logo
    }
    MainWindow w(gState());
    w.initializeControls();
    QCOMPARE(WindowWidgets::named<QLabel>(w, "lblSimulated")->text(),
             Desktop::tableText(env, "gsStatusSimuliert", 3, "SystemNachrichten"));
    // The clock writes the date as Italian does (day/month/year), not as the system's locale.
    const QString clock = WindowWidgets::statusPanel(w, 0)->text();
    QVERIFY2(clock.startsWith(QDate::currentDate().toString(QStringLiteral("dd/MM/")))
                 || QTime::currentTime() < QTime(0, 1),
             qPrintable(clock));
}

// A serial device that is gone at start: one message in the program's language (its title, the
// device and what to do), the port dialog saying so, the lamp red, "COM ----"; editing still works.
void TestStartup::portThatCannotBeOpened()
{
    TestEnv env(QStringLiteral("2"));
    const QString device = env.path("ttyUSB-gone");
    Settings::set("Einstellungen", "COM-Anschluss", "3");
    Settings::set("Ports", "COM3", device);
    QCOMPARE(Start::prepare(gState()), QString());
    QString portShown;
    MainWindowOptions options;
    options.portFailureDialog = [&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* main = qobject_cast<MainWindow*>(top))
                portShown = PortSettingsDialog(main).portValue->text();
    };
    auto w = std::make_unique<MainWindow>(gState(), std::move(options));
    const auto english = [&](const char* key) { return Desktop::tableText(env, key, 2, "SystemNachrichten"); };
    QCOMPARE(env.said(), QStringList {english("gsMsgPortFehlt").arg(device) + "\n(COM 3)"});
    QCOMPARE(env.messages[0].title, english("gsProgramName"));
    QCOMPARE(env.messages[0].icon, Dialogs::Icon::Exclamation);
    QCOMPARE(portShown, english("gsPortGeschlossen"));
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

void TestStartup::damagedDatabaseIsReportedAndKept_data()
{
    QTest::addColumn<QString>("damage"); // SQL, or what is done to the file
    QTest::addColumn<QString>("said");
    QTest::newRow("column renamed") << "ALTER TABLE Adressen RENAME COLUMN Status TO Zustand"
                                    << "fehlt die Spalte \"Status\"";
    QTest::newRow("table renamed") << "ALTER TABLE PowerOn RENAME TO PowerOff"
                                   << "\"PowerOn\"";
    QTest::newRow("no database") << "garbage"
                                 << "";
    QTest::newRow("missing") << "remove"
                             << "ist nicht vorhanden";
}

// The reason names the file; the file is never overwritten nor created in its place.
void TestStartup::damagedDatabaseIsReportedAndKept()
{
    QFETCH(QString, damage);
    QFETCH(QString, said);
    TestEnv env;
    if (damage == "garbage")
        writeFile(env.dbPath(), QByteArray(4096, 'x'));
    else if (damage == "remove")
        QFile::remove(env.dbPath());
    else
        env.exec(damage);
    const QByteArray before = readAll(env.dbPath());
    const QString why = Start::prepare(gState());
    QVERIFY2(why.contains(said) && (damage == "remove" || why.contains(env.dbPath())), qPrintable(why));
    QCOMPARE(readAll(env.dbPath()), before);
    QCOMPARE(QFile::exists(env.dbPath()), damage != "remove");
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

// Answering No saves no profile, but edits still pending in the store reach the database,
// and the store and the port are closed.
void TestStartup::closeAsksAboutUnsavedChangesAndFlushes()
{
    TestEnv env;
    QCOMPARE(Start::prepare(gState()), QString());
    MainWindow w(gState());
    w.store().sms.setAbsolutePosition(4);
    w.store().sms.setValue(2, QStringLiteral("Tür offen"));
    gState().unsavedChanges = true;
    env.answers << QMessageBox::No;
    QVERIFY(w.close());
    QCOMPARE(env.messages.size(), 1);
    QVERIFY(gState().closing);
    QVERIFY(!w.store().isOpen());
    QVERIFY(!w.device().channel->isOpen());
    QCOMPARE(env.queryValue("SELECT Deutsch FROM SMS WHERE ID=4").toString(), QStringLiteral("Tür offen"));
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
