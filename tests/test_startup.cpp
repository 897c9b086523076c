// The desktop program from start to close: settings defaults, the language, a port that fails
// to open, a damaged database, a read-only program folder, the close sequence; and it never
// loses a text nor hides what the unit refused: the save or send of texts in another
// language, the unit's "E" to a password, the default profile.
#include "Desktop.h"
#include "Permissions.h"
#include "SimWindow.h"

#include "core/RecentFiles.h"
#include "link/Channel.h"
#include "ui/PortSettingsDialog.h"
#include "ui/ProfileController.h"
#include "ui/QtTranslations.h"
#include "ui/SplashWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QTabWidget>

using WindowWidgets::named;

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void languageSetting_data();
    void languageSetting();
    void recentFilesNewestFirstAtMostEight();
    void portThatCannotBeOpened();
    void damagedDatabaseIsReportedAndKept_data();
    void damagedDatabaseIsReportedAndKept();
    void closeAsksAboutUnsavedChangesAndFlushes();
    void cleanup();
    void saveAndSendWarnWhenTheTextsAreInAnotherLanguage_data();
    void saveAndSendWarnWhenTheTextsAreInAnotherLanguage();
    void refusedPasswordIsSaid_data();
    void refusedPasswordIsSaid();
    void defaultProfileIsNotOverwrittenByReflex();
};

// The first run takes the system's language and stores none; a stored language wins; one out of
// range is not taken. The splash, the standard buttons of every message box (and Qt's dialogs)
// and the status bar follow it; its clock writes the date as that language does, not as the
// system's locale. The window starts on its first tab, the port open on the simulated unit.
void TestStartup::languageSetting_data()
{
    QTest::addColumn<QString>("stored"); // null: none, the first run
    QTest::addColumn<QString>("locale"); // only how a system locale is taken
    QTest::addColumn<int>("language");
    const int system = ProgramContext::languageOfLocale(QLocale::system());
    QTest::newRow("first run") << QString() << QString() << system;
    QTest::newRow("stored") << "3" << QString() << 3;
    QTest::newRow("French") << "4" << QString() << 4;
    QTest::newRow("out of range") << "7" << QString() << system;
    QTest::newRow("not a number") << "fr" << QString() << system;
    QTest::newRow("English") << "2" << QString() << 2; // Qt's own English again
    const QList<QPair<const char*, int>> locales {{"de_CH", 1}, {"en_GB", 2}, {"it_IT", 3}, {"fr_CA", 4}, {"ja_JP", 1}};
    for (const auto& [locale, language] : locales)
        QTest::newRow(locale) << QString() << locale << language;
}

void TestStartup::languageSetting()
{
    QFETCH(QString, stored);
    QFETCH(QString, locale);
    QFETCH(int, language);
    if (!locale.isEmpty()) {
        QCOMPARE(ProgramContext::languageOfLocale(QLocale(locale)), language);
        return;
    }
    static const char* const buttons[] = {"&Ja Abbrechen", "&Yes Cancel", "&Sì Annulla", "&Oui Annuler"};
    static const char* const dates[] = {"dd.MM.", "dd/MM/", "dd/MM/", "dd/MM/"};
    TestEnv env(stored);
    QCOMPARE(Start::prepare(gState()), QString());
    QCOMPARE(gState().language, language);
    QCOMPARE(Settings::contains(QStringLiteral("Einstellungen"), QStringLiteral("Sprache")), !stored.isNull());
    QCOMPARE(gState().dataRoot, env.root());
    QVERIFY(QtTranslations::install(language));
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Yes)->text() + ' ' + box.button(QMessageBox::Cancel)->text(),
             QString::fromUtf8(buttons[language - 1]));
    SplashWindow splash(gState());
    QCOMPARE(splash.softwareLabel->text() + splash.copyrightLabel->text(),
             Desktop::tableText(env, "lblSoftware", language) + Desktop::tableText(env, "lblCopyright", language));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(splash.logos[i]->isHidden(), i != language - 1);
    MainWindow w(gState());
    w.initializeControls();
    QVERIFY(w.store().isOpen() && w.tabs()->count() == 3 && w.tabs()->currentIndex() == 0);
    QCOMPARE(Settings::get("Einstellungen", "COM-Anschluss-Aktuell"), QStringLiteral("open"));
    QCOMPARE(WindowWidgets::statusPanel(w, 1)->text(), QStringLiteral("COM 1"));
    QVERIFY(w.device().channel && w.device().channel->isSimulated());
    auto* simulated = named<QLabel>(w, "lblSimulated");
    QVERIFY(!simulated->isHidden());
    QCOMPARE(simulated->text(), Desktop::tableText(env, "gsStatusSimuliert", language, "SystemNachrichten"));
    const QString clock = WindowWidgets::statusPanel(w, 0)->text();
    QVERIFY2(clock.startsWith(QDate::currentDate().toString(QString::fromUtf8(dates[language - 1])))
                 || QTime::currentTime() < QTime(0, 1),
             qPrintable(clock));
    QVERIFY(env.messages.isEmpty());
}

void TestStartup::recentFilesNewestFirstAtMostEight()
{
    TestEnv env("1");
    QStringList files;
    for (int i = 0; i < 10; ++i) {
        files.prepend(env.path(QStringLiteral("p%1.cfg").arg(i)));
        writeFile(files.first(), QByteArray());
        RecentFiles::add(files.first());
    }
    QCOMPARE(RecentFiles::list(), files.mid(0, 8));
    // The same file by another spelling moves to the top instead of appearing twice.
    RecentFiles::add(env.root() + QStringLiteral("/./p5.cfg"));
    QCOMPARE(RecentFiles::list(), QStringList {files[4]} + files.mid(0, 4) + files.mid(5, 3));
    // Removing drops it (a file gone is not offered: the window's test).
    RecentFiles::remove(files[1]);
    QCOMPARE(RecentFiles::list().mid(0, 3), QStringList({files[4], files[0], files[2]}));
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
    QVERIFY(named<QLabel>(*w, "lblSimulated")->isHidden());
    // Editing still works: a ticked box reaches the store.
    named<QCheckBox>(*w, "ChkEmpOP", 1)->setChecked(true);
    QCOMPARE(env.queryValue("SELECT Benutzer1 FROM \"Konfiguration_Eingänge\" WHERE ID=2").toInt(), 1);
}

void TestStartup::damagedDatabaseIsReportedAndKept_data()
{
    QTest::addColumn<QString>("damage"); // SQL, or what is done to the file
    QTest::addColumn<QString>("said");
    QTest::newRow("column renamed") << "ALTER TABLE Adressen RENAME Status TO Zustand" << QStringLiteral("\"Status\"");
    QTest::newRow("table renamed") << "ALTER TABLE PowerOn RENAME TO PowerOff" << QStringLiteral("\"PowerOn\"");
    QTest::newRow("no database") << "garbage" << QString();
    QTest::newRow("missing") << "remove" << QStringLiteral("ist nicht vorhanden"); // no texts but the German stand-in
    QTest::newRow("read-only folder") << "read-only" << QStringLiteral("is read-only: the program may not change");
}

// Said at start in the chosen language, the reason naming the file, and the program ends with
// exit code 1 instead of failing later with a cryptic error; the file is never overwritten nor
// made in its place. (The program writes the store from its first moment: the default profile
// is loaded at every start.)
void TestStartup::damagedDatabaseIsReportedAndKept()
{
    QFETCH(QString, damage);
    QFETCH(QString, said);
    TestEnv env("2");
    if (damage == "garbage")
        writeFile(env.dbPath(), QByteArray(4096, 'x'));
    else if (damage == "remove")
        QFile::remove(env.dbPath());
    else if (damage != "read-only")
        env.exec(damage);
    const QStringList installed = QDir(env.path("Datenbank")).entryList(QDir::Files | QDir::Hidden);
    const QByteArray before = readAll(env.dbPath());
    Permissions::setTreeReadOnly(env.root(), damage == "read-only");
    QString why;
    int code = 0;
    {
        Permissions::Enforced enforced;
        if (!enforced.active() && damage == "read-only") {
            Permissions::setTreeReadOnly(env.root(), false);
            QSKIP("the test runs as root and cannot give up root's override of file permissions");
        }
        why = Start::prepare(gState());
        env.messages.clear();
        code = Start::Main(gState(), *qobject_cast<QApplication*>(QCoreApplication::instance()));
    }
    Permissions::setTreeReadOnly(env.root(), false);
    QVERIFY2(why.contains(said) && why.contains(QDir::toNativeSeparators(env.dbPath())), qPrintable(why));
    QCOMPARE(code, 1);
    QCOMPARE(env.said(), QStringList {why});
    QCOMPARE(env.messages[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(readAll(env.dbPath()), before);
    QCOMPARE(QFile::exists(env.dbPath()), damage != "remove");
    if (damage == "read-only") // not even a journal
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

void TestStartup::cleanup()
{
    Dialogs::setSecretHandler({});
    gState().closing = false;
    QCoreApplication::processEvents();
}

void TestStartup::saveAndSendWarnWhenTheTextsAreInAnotherLanguage_data()
{
    QTest::addColumn<bool>("send");
    QTest::addColumn<bool>("goOn");
    QTest::newRow("save, cancelled") << false << false;
    QTest::newRow("save, anyway") << false << true;
    QTest::newRow("send, cancelled") << true << false;
}

// Every text empty in the program's language, the texts in another: warned before the save
// or send; Cancel writes no file and sends nothing.
void TestStartup::saveAndSendWarnWhenTheTextsAreInAnotherLanguage()
{
    QFETCH(bool, send);
    QFETCH(bool, goOn);
    SimWindow win;
    win.env.exec("UPDATE SMS SET Deutsch = NULL");
    win.w->store().acceptChanges(); // set up by the test, not by another program
    win.w->editorBinding().refresh();
    const QString site = win.env.path("UserProfile/site.cfg");
    Settings::set("Profile", "File", site);
    win.env.answers << (goOn ? QMessageBox::Ok : QMessageBox::Cancel);
    if (send)
        win.w->device().writeConfiguration();
    else
        win.w->action(MainWindow::Command::Save)->trigger();
    QCOMPARE(win.said(), QStringList {msg("gsFrageTexteLeer")});
    QCOMPARE(win.env.messages[0].defaultButton, QMessageBox::Cancel);
    QCOMPARE(QFile::exists(site), goOn);
    QVERIFY(!win.unit().rawIn().contains(":HW3"));
}

void TestStartup::refusedPasswordIsSaid_data()
{
    QTest::addColumn<QString>("phoneBook");
    QTest::addColumn<QString>("typed"); // null: the question is cancelled
    QTest::addColumn<QString>("onWire"); // the relay command that went out, empty: none
    QTest::addColumn<bool>("refused");
    const auto row = [](const char* name, const char* phoneBook, const char* typed, const char* onWire, bool refused) {
        QTest::newRow(name) << QString::fromLatin1(phoneBook) << QString::fromLatin1(typed)
                            << QString::fromLatin1(onWire) << refused;
    };
    row("known", "4711", nullptr, ":RS2 PW:4711", false);
    row("wrong", "1234", nullptr, ":RS2 PW:1234", true);
    row("none, asked", "", "4711", ":RS2 PW:4711", false);
    row("none, asked, wrong", "", "0815", ":RS2 PW:0815", true);
    row("none, cancelled", "", nullptr, "", false);
}

// The relay button with the phone book's password: the unit's "E" is said in the program's
// language; with no password the user is asked (masked), never NUL bytes sent.
void TestStartup::refusedPasswordIsSaid()
{
    QFETCH(QString, phoneBook);
    QFETCH(QString, typed);
    QFETCH(QString, onWire);
    QFETCH(bool, refused);
    SimWindow win(phoneBook);
    if (phoneBook.isEmpty())
        win.env.exec("UPDATE Adressen SET Passwort = char(0,0,0,0) WHERE rowid = (SELECT MIN(rowid) FROM Adressen)");
    win.w->store().acceptChanges(); // set up by the test, not by another program
    QStringList asked;
    Dialogs::setSecretHandler([&](const QString& label) {
        asked << label;
        return typed;
    });
    win.click("cmdSetOutput(1)");
    QCOMPARE(asked, phoneBook.isEmpty() ? QStringList {msg("gsFrageGeraetPasswort")} : QStringList());
    QCOMPARE(win.unit().received.filter(QStringLiteral(":RS")),
             onWire.isEmpty() ? QStringList() : QStringList {onWire});
    QVERIFY(!win.unit().rawIn().contains(QByteArray("PW:\0", 4)));
    QCOMPARE(win.said(), refused ? QStringList {msg("gsMsgGeraetPasswortAbgelehnt")} : QStringList());
    QCOMPARE(bool(win.unit().relays() & 0x02), !refused && !onWire.isEmpty());
}

// Save over the default profile: Save as is the default answer, Cancel writes nothing, No
// saves elsewhere (asked for a file), Yes keeps it as the start configuration.
void TestStartup::defaultProfileIsNotOverwrittenByReflex()
{
    SimWindow win; // its texts are not the default profile's
    TestEnv& env = win.env;
    MainWindow& w = *win.w;
    const QString standard = gState().defaultProfilePath(), site = env.path("UserProfile/site.cfg");
    const QByteArray before = readAll(standard);
    QVERIFY(!before.isEmpty());
    env.answers << QMessageBox::Cancel << QMessageBox::No;
    w.action(MainWindow::Command::Save)->trigger();
    QCOMPARE(env.said(), QStringList {msg("gsFrageStandardprofil")});
    QCOMPARE(env.messages[0].defaultButton, QMessageBox::No);
    QVERIFY(readAll(standard) == before && env.fileRequests.isEmpty());
    env.fileAnswers << site;
    w.action(MainWindow::Command::Save)->trigger();
    QCOMPARE(env.fileRequests.size(), 1);
    QVERIFY(readAll(standard) == before && readAll(site) != before);
    QCOMPARE(w.profiles().currentProfileFile(), site);
    // The site profile is saved without a question; the default one only after Yes.
    w.action(MainWindow::Command::Save)->trigger();
    QCOMPARE(env.messages.size(), 2);
    Settings::set("Profile", "File", standard);
    env.answers << QMessageBox::Yes;
    w.action(MainWindow::Command::Save)->trigger();
    QCOMPARE(readAll(standard), readAll(site));
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
