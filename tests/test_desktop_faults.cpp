// The desktop program never loses a text and never hides what the unit refused: a language
// switch and the save or send after it, the unit's "E" to a password or PIN, the default
// profile, a read over unsaved edits, the alarm delay as typed, a missing serial device at
// start, the phone book's close, and what the status bar and the transfer window say.
#include "TestEnv.h"
#include "WindowWidgets.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "link/Waiter.h"
#include "sim/SimChannel.h"
#include "ui/DeviceController.h"
#include "ui/EditorBinding.h"
#include "ui/FittedLabel.h"
#include "ui/ExtrasController.h"
#include "ui/MainWindow.h"
#include "ui/PhoneBookDialog.h"
#include "ui/PortSettingsDialog.h"
#include "ui/ProfileController.h"
#include "ui/WindowTexts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

namespace {
// A main window on the built-in simulated unit, in virtual time; the unit knows the
// password 4711, the phone book's user 1 has `password`.
struct SimWindow {
    TestEnv env;
    VirtualWaiter clock;
    std::unique_ptr<MainWindow> w;
    explicit SimWindow(const QString& password = QStringLiteral("4711"), const QString& language = QStringLiteral("1"))
        : env(language)
    {
        env.exec("UPDATE SMS SET Deutsch = 'Tür ' || ID, Englisch = 'Door ' || ID");
        env.exec(QStringLiteral("UPDATE \"Adressen\" SET \"Passwort\" = '%1' WHERE rowid = (SELECT MIN(rowid) FROM "
                                "\"Adressen\")")
                     .arg(password));
        w = std::make_unique<MainWindow>(gState());
        w->device().setWaiter(&clock);
        w->device().link();
        w->texts().loadSystemMessages();
        w->extras().applyTexts();
        w->editorBinding().refresh();
        unit().area3.replace(56 * 128 + 8, 4, "4711");
        gState().unsavedChanges = false;
    }
    SimUnit& unit() { return static_cast<SimChannel*>(w->device().channel.get())->unit(); }
    void click(const char* name) { WindowWidgets::named<QPushButton>(*w, name)->click(); }
    QStringList said() const
    {
        QStringList r;
        for (const Dialogs::Message& m : env.messages)
            r << m.text;
        return r;
    }
};

QString msg(const char* key) { return gState().msg(QString::fromUtf8(key)); }
} // namespace

class TestDesktopFaults : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void languageSwitchTakesTheTextsOver();
    void saveAndSendWarnWhenTheTextsAreInAnotherLanguage_data();
    void saveAndSendWarnWhenTheTextsAreInAnotherLanguage();
    void refusedPasswordIsSaid_data();
    void refusedPasswordIsSaid();
    void parameterWritesSayWhatBecameOfThem();
    void defaultProfileIsNotOverwrittenByReflex();
    void readFromUnitAsksAboutUnsavedEdits();
    void alarmDelayShownAndRefusedAsTyped_data();
    void alarmDelayShownAndRefusedAsTyped();
    void missingDeviceAtStartInTheProgramsLanguage();
    void phoneBookCloseWarnsOnlyAboutChanges();
    void smallerFaults();
    void headingsFitAfterALiveSwitch();
};

void TestDesktopFaults::cleanup()
{
    Dialogs::setSecretHandler({});
    gState().closing = false;
    QCoreApplication::processEvents();
}

// A German profile, the program switched to English: the user is asked once whether the
// German texts go into English; Yes fills the boxes and marks the configuration changed,
// No leaves English empty.
void TestDesktopFaults::languageSwitchTakesTheTextsOver()
{
    SimWindow win;
    win.env.exec("UPDATE SMS SET Englisch = NULL");
    win.w->store().acceptChanges(); // set up by the test, not by another program
    QLineEdit* first = WindowWidgets::named<QLineEdit>(*win.w, "txtEingangSF(0)");
    QCOMPARE(first->text(), QStringLiteral("Tür 1"));

    win.env.answers << QMessageBox::No;
    WindowWidgets::named<QAction>(*win.w, "mnuSprache", 2)->trigger();
    QCOMPARE(win.said(), QStringList {msg("gsFrageTexteUebernehmen")});
    QCOMPARE(win.env.messages[0].defaultButton, QMessageBox::Yes);
    QCOMPARE(first->text(), QString());
    QVERIFY(!gState().unsavedChanges);
    QVERIFY(win.env.queryValue("SELECT Englisch FROM SMS WHERE ID = 1").isNull());

    WindowWidgets::named<QAction>(*win.w, "mnuSprache", 1)->trigger(); // English has nothing German lacks
    win.env.messages.clear();
    win.env.answers << QMessageBox::Yes;
    WindowWidgets::named<QAction>(*win.w, "mnuSprache", 3)->trigger();
    QCOMPARE(win.said(), QStringList {msg("gsFrageTexteUebernehmen")});
    QCOMPARE(first->text(), QStringLiteral("Tür 1"));
    QVERIFY(gState().unsavedChanges);
    QCOMPARE(win.env.queryValue("SELECT Italienisch FROM SMS WHERE ID = 1").toString(), QStringLiteral("Tür 1"));
    QCOMPARE(win.env.queryValue("SELECT count(*) FROM SMS WHERE Italienisch = Deutsch AND ID <= 26").toInt(), 26);
}

void TestDesktopFaults::saveAndSendWarnWhenTheTextsAreInAnotherLanguage_data()
{
    QTest::addColumn<bool>("send");
    QTest::addColumn<bool>("goOn");
    QTest::newRow("save, cancelled") << false << false;
    QTest::newRow("save, anyway") << false << true;
    QTest::newRow("send, cancelled") << true << false;
}

// Every text empty in the program's language, the texts in another: warned before the save
// or send; Cancel writes no file and sends nothing.
void TestDesktopFaults::saveAndSendWarnWhenTheTextsAreInAnotherLanguage()
{
    QFETCH(bool, send);
    QFETCH(bool, goOn);
    SimWindow win;
    win.env.exec("UPDATE SMS SET Deutsch = NULL");
    win.w->store().acceptChanges(); // set up by the test, not by another program
    win.w->editorBinding().refresh();
    const QString site = win.env.path("UserProfile/site.cfg");
    Settings::set(QStringLiteral("Profile"), QStringLiteral("File"), site);
    win.env.answers << (goOn ? QMessageBox::Ok : QMessageBox::Cancel);
    if (send)
        win.w->device().writeConfiguration();
    else
        win.w->action(MainWindow::Command::Save)->trigger();
    QCOMPARE(win.said().value(0), msg("gsFrageTexteLeer"));
    QCOMPARE(win.env.messages[0].defaultButton, QMessageBox::Cancel);
    QCOMPARE(QFile::exists(site), goOn);
    QVERIFY(!win.unit().rawIn().contains(":HW3"));
    QCOMPARE(win.env.messages.size(), 1);
}

void TestDesktopFaults::refusedPasswordIsSaid_data()
{
    QTest::addColumn<QString>("phoneBook");
    QTest::addColumn<QString>("typed"); // null: the question is cancelled
    QTest::addColumn<QString>("onWire"); // the relay command that went out, empty: none
    QTest::addColumn<bool>("refused");
    QTest::newRow("known") << "4711" << QString() << ":RS2 PW:4711" << false;
    QTest::newRow("wrong") << "1234" << QString() << ":RS2 PW:1234" << true;
    QTest::newRow("none, asked") << ""
                                 << "4711"
                                 << ":RS2 PW:4711" << false;
    QTest::newRow("none, asked, wrong") << ""
                                        << "0815"
                                        << ":RS2 PW:0815" << true;
    QTest::newRow("none, cancelled") << "" << QString() << "" << false;
}

// The relay button with the phone book's password: the unit's "E" is said in the program's
// language; with no password the user is asked (masked), never NUL bytes sent.
void TestDesktopFaults::refusedPasswordIsSaid()
{
    QFETCH(QString, phoneBook);
    QFETCH(QString, typed);
    QFETCH(QString, onWire);
    QFETCH(bool, refused);
    SimWindow win(phoneBook);
    if (phoneBook.isEmpty())
        win.env.exec("UPDATE \"Adressen\" SET \"Passwort\" = char(0,0,0,0) WHERE rowid = (SELECT MIN(rowid) FROM "
                     "\"Adressen\")");
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

// A wrong old PIN: one ":PIN" line, the refusal in words (no cable fault); the right one:
// written, and said so; the serial number and validity writes say so too.
void TestDesktopFaults::parameterWritesSayWhatBecameOfThem()
{
    SimWindow win;
    win.unit().area2.replace(0x10, 4, "1234");
    WindowWidgets::named<QCheckBox>(*win.w, "ChkDefault")->setChecked(false);
    auto* oldPin = WindowWidgets::named<QLineEdit>(*win.w, "txtPINSimCardAlt");
    auto* newPin = WindowWidgets::named<QLineEdit>(*win.w, "txtPINSimCardNeu");
    oldPin->setText(QStringLiteral("9999"));
    newPin->setText(QStringLiteral("5555"));
    win.click("cmdPinWechseln");
    QCOMPARE(win.said(), QStringList {msg("gsMsgPINAenderungAbgelehnt")});
    QCOMPARE(win.unit().received.filter(QStringLiteral(":PIN")).size(), 1);
    QCOMPARE(win.unit().pin(), QByteArray("1234"));

    win.env.messages.clear();
    oldPin->setText(QStringLiteral("1234"));
    win.click("cmdPinWechseln");
    QCOMPARE(win.said(), QStringList {msg("gsMsgPINGeschrieben")});
    QCOMPARE(win.unit().pin(), QByteArray("5555"));

    win.env.messages.clear();
    WindowWidgets::named<QLineEdit>(*win.w, "txtSerienummer")->setText(QStringLiteral("204518"));
    win.click("cmdSetzen");
    QCOMPARE(win.unit().serial(), QByteArray("204518"));
    QCOMPARE(win.said(), QStringList {msg("gsMsgSeriennummerGeschrieben").arg("204518")});

    // The unit refuses the write mode: said once, the line not sent three times.
    win.env.messages.clear();
    win.unit().clearLog();
    win.unit().faults.refuseWrite = true;
    win.click("cmdSetzen");
    QCOMPARE(win.said(), QStringList {msg("gsMsgParameterAbgelehnt")});
    QCOMPARE(win.unit().received.filter(QStringLiteral(":HW2")).size(), 1);
}

// Save over the default profile: Save as is the default answer, Cancel writes nothing, Yes
// keeps it as the start configuration.
void TestDesktopFaults::defaultProfileIsNotOverwrittenByReflex()
{
    TestEnv env;
    MainWindow w(gState());
    w.initializeControls();
    const QString standard = gState().defaultProfilePath();
    const QByteArray before = readAll(standard);
    QVERIFY(!before.isEmpty());
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* first = WindowWidgets::named<QLineEdit>(w, "txtEingangSF(0)");
    first->setFocus();
    first->selectAll();
    QTest::keyClicks(first, QStringLiteral("Baustelle"));
    QTest::keyClick(first, Qt::Key_Return);
    QVERIFY(gState().unsavedChanges);

    env.answers << QMessageBox::Cancel;
    w.action(MainWindow::Command::Save)->trigger();
    QCOMPARE(env.messages.size(), 1);
    QCOMPARE(env.messages[0].text, gState().msg("gsFrageStandardprofil"));
    QCOMPARE(env.messages[0].defaultButton, QMessageBox::No);
    QCOMPARE(readAll(standard), before);
    QVERIFY(env.fileRequests.isEmpty());

    env.answers << QMessageBox::No;
    env.fileAnswers << env.path("UserProfile/site.cfg");
    w.action(MainWindow::Command::Save)->trigger();
    QCOMPARE(env.fileRequests.size(), 1);
    QCOMPARE(readAll(standard), before);
    QVERIFY(readAll(env.path("UserProfile/site.cfg")) != before);
    QCOMPARE(w.profiles().currentProfileFile(), env.path("UserProfile/site.cfg"));

    // The site profile is saved without a question; the default one only after Yes.
    env.messages.clear();
    w.action(MainWindow::Command::Save)->trigger();
    QVERIFY(env.messages.isEmpty());
    Settings::set(QStringLiteral("Profile"), QStringLiteral("File"), standard);
    env.answers << QMessageBox::Yes;
    w.action(MainWindow::Command::Save)->trigger();
    QCOMPARE(readAll(standard), readAll(env.path("UserProfile/site.cfg")));
}

// "Read from unit" over unsaved edits: the question first (Cancel reads nothing), then the
// read and a message that it is done.
void TestDesktopFaults::readFromUnitAsksAboutUnsavedEdits()
{
    SimWindow win;
    win.unit().setBlankConfiguration();
    gState().unsavedChanges = true;
    win.env.answers << QMessageBox::Cancel;
    win.click("cmdUpload");
    QCOMPARE(win.said(), QStringList {msg("gsMsgÄnderungenSpeichern")});
    QVERIFY(!win.unit().rawIn().contains(":HR3"));
    QCOMPARE(WindowWidgets::named<QLineEdit>(*win.w, "txtEingangSF(0)")->text(), QStringLiteral("Tür 1"));

    win.env.messages.clear();
    win.env.answers << QMessageBox::No;
    win.click("cmdUpload");
    QCOMPARE(win.said(), QStringList({msg("gsMsgÄnderungenSpeichern"), msg("gsMsgUploadOK")}));
    QCOMPARE(win.unit().rawIn().count(":HR3:0080:"), 64);
    QCOMPARE(WindowWidgets::named<QLineEdit>(*win.w, "txtEingangSF(0)")->text(), QString());
}

void TestDesktopFaults::alarmDelayShownAndRefusedAsTyped_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("typed"); // empty: nothing typed
    QTest::addColumn<int>("after");
    QTest::addColumn<bool>("refused");
    QTest::newRow("1 shown") << 1 << "" << 1 << false;
    QTest::newRow("5 shown") << 5 << "" << 5 << false;
    QTest::newRow("120 typed") << 5 << "120" << 5 << true;
    QTest::newRow("-3 typed") << 5 << "-3" << 5 << true;
    QTest::newRow("1 typed") << 5 << "1" << 1 << false;
}

void TestDesktopFaults::alarmDelayShownAndRefusedAsTyped()
{
    QFETCH(int, stored);
    QFETCH(QString, typed);
    QFETCH(int, after);
    QFETCH(bool, refused);
    SimWindow win;
    // A user with a number: the delay box is enabled.
    win.env.exec("UPDATE \"Adressen\" SET \"Natel_Nummer\" = '0791234567' WHERE rowid = (SELECT MIN(rowid) "
                 "FROM \"Adressen\")");
    win.w->store().acceptChanges(); // set up by the test, not by another program
    win.env.exec(QStringLiteral("UPDATE \"Alarm_Dispositiv\" SET \"Verzögerungszeit\" = %1").arg(stored));
    win.w->store().acceptChanges(); // set up by the test, not by another program
    win.w->editorBinding().refresh();
    auto* box = WindowWidgets::named<QSpinBox>(*win.w, "txtADVerzögerungszeit");
    QVERIFY(box->isEnabled());
    QCOMPARE(box->text().trimmed(), QString::number(stored));
    if (!typed.isEmpty()) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, Qt::Key_Return);
    }
    QCOMPARE(win.said(), refused ? QStringList {msg("gsMsgVerzögerungszeit")} : QStringList());
    QCOMPARE(win.env.queryValue("SELECT \"Verzögerungszeit\" FROM \"Alarm_Dispositiv\"").toInt(), after);
}

// A serial device that is gone at start: the program's title, a sentence naming the device
// and what to do, and the port dialog in the program's language.
void TestDesktopFaults::missingDeviceAtStartInTheProgramsLanguage()
{
    TestEnv env(QStringLiteral("2"));
    const QString device = env.path("ttyUSB-gone");
    Settings::set(QStringLiteral("Ports"), QStringLiteral("COM1"), device);
    Settings::set(QStringLiteral("Einstellungen"), QStringLiteral("COM-Anschluss"), QStringLiteral("1"));
    QString portShown;
    MainWindowOptions options;
    options.portFailureDialog = [&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* main = qobject_cast<MainWindow*>(top)) {
                PortSettingsDialog dialog(main);
                portShown = dialog.portValue->text();
            }
    };
    MainWindow w(gState(), std::move(options));
    QCOMPARE(env.messages.size(), 1);
    QCOMPARE(env.messages[0].title,
             env.queryValue("SELECT Englisch FROM SystemNachrichten WHERE Name = 'gsProgramName'").toString());
    QCOMPARE(
        env.messages[0].text,
        env.queryValue("SELECT Englisch FROM SystemNachrichten WHERE Name = 'gsMsgPortFehlt'").toString().arg(device)
            + "\n(COM 1)");
    QCOMPARE(portShown,
             env.queryValue("SELECT Englisch FROM SystemNachrichten WHERE Name = 'gsPortGeschlossen'").toString());
}

void TestDesktopFaults::phoneBookCloseWarnsOnlyAboutChanges()
{
    TestEnv env;
    {
        PhoneBookDialog book(gState());
        book.show();
        book.closeButton->click();
        QVERIFY(env.messages.isEmpty());
        QVERIFY(!book.isVisible());
    }
    PhoneBookDialog book(gState());
    book.show();
    book.nameBox->setText(book.nameBox->text() + QStringLiteral("x"));
    env.answers << QMessageBox::Cancel;
    book.closeButton->click();
    QCOMPARE(env.messages.size(), 1);
    QCOMPARE(env.messages[0].text, gState().msg("gsFrageOkAbbrechen"));
    QVERIFY(book.isVisible());
}

// The PIN boxes after reading an unset second PIN, a new PIN with a letter, panel 3 in words,
// and the firmware question in the middle of an update.
void TestDesktopFaults::smallerFaults()
{
    SimWindow win;
    win.unit().area2.replace(0x10, 8, QByteArray("1234\0\0\0\0", 8));
    win.click("cmdPinLesen");
    QCOMPARE(WindowWidgets::named<QLineEdit>(*win.w, "txtPINSimCardAlt")->text(), QStringLiteral("1234"));
    QCOMPARE(WindowWidgets::named<QLineEdit>(*win.w, "txtPINSimCardNeu")->text(), QString());

    WindowWidgets::named<QLineEdit>(*win.w, "txtPINSimCardNeu")->setText(QStringLiteral("12a4"));
    win.click("cmdPinWechseln");
    QCOMPARE(win.said(), QStringList {msg("gsMsgPINNurZiffern")});

    win.click("cmdSetOutput(0)");
    QCOMPARE(WindowWidgets::statusPanel(*win.w, 2)->text(), msg("gsPanelStatus"));

    // An older unit's firmware: the question does not send the user to another program version.
    const QString prg = win.env.path(QStringLiteral("Download/Firmware/unit.prg"));
    writeFile(prg, ":10000000000102030405060708090A0B0C0D0E0F78\r\n:00000001FF\r\n");
    win.unit().fwVersion = 90;
    win.env.messages.clear();
    win.env.fileAnswers << prg;
    win.env.answers << QMessageBox::No;
    win.click("cmdDownload(1)");
    QCOMPARE(win.env.messages.size(), 1);
    QVERIFY(win.said()[0].startsWith(msg("gsMsgFirmwareVersionAnders") + "\r\n"));
    QVERIFY(!win.said()[0].contains(msg("gsMsgVersionskonflikt")));
    QVERIFY(!win.unit().rawIn().contains(":HW4"));
}

// The Italian recipient headings are longer than the German ones: after a live switch they
// show as after a resize (whole, or all in their short form), never cut.
void TestDesktopFaults::headingsFitAfterALiveSwitch()
{
    SimWindow win;
    win.w->resize(1280, 1000);
    win.w->show();
    QVERIFY(QTest::qWaitForWindowExposed(win.w.get()));
    auto* heading = qobject_cast<FittedLabel*>(WindowWidgets::named<QLabel>(*win.w, "lblEmpfänger(0)"));
    QVERIFY(heading);
    QVERIFY(!heading->isShortened());
    WindowWidgets::named<QAction>(*win.w, "mnuSprache", 3)->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(heading->text(), QStringLiteral("Destinatario 1"));
    const bool shortForm = heading->shortForm(), shortened = heading->isShortened();
    // A resize fits them; the switch alone must leave them as the resize does.
    win.w->resize(1279, 1000);
    win.w->resize(1280, 1000);
    QTRY_COMPARE(win.w->size(), QSize(1280, 1000));
    QCoreApplication::processEvents();
    QCOMPARE(shortForm, heading->shortForm());
    QCOMPARE(shortened, heading->isShortened());
    QVERIFY(shortForm || !shortened);
}

QTEST_MAIN(TestDesktopFaults)
#include "test_desktop_faults.moc"
