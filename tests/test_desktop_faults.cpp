// The desktop program never loses a text and never hides what the unit refused: the save or
// send of texts in another language, the unit's "E" to a password or PIN, the default profile,
// a read over unsaved edits, what the status bar says, the headings after a language switch.
#include "SimWindow.h"

#include "core/Settings.h"
#include "ui/FittedLabel.h"
#include "ui/ProfileController.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using WindowWidgets::named;

class TestDesktopFaults : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void saveAndSendWarnWhenTheTextsAreInAnotherLanguage_data();
    void saveAndSendWarnWhenTheTextsAreInAnotherLanguage();
    void refusedPasswordIsSaid_data();
    void refusedPasswordIsSaid();
    void parameterWritesSayWhatBecameOfThem();
    void defaultProfileIsNotOverwrittenByReflex();
    void readFromUnitAsksAboutUnsavedEdits();
    void headingsFitAfterALiveSwitch();
};

void TestDesktopFaults::cleanup()
{
    Dialogs::setSecretHandler({});
    gState().closing = false;
    QCoreApplication::processEvents();
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

void TestDesktopFaults::refusedPasswordIsSaid_data()
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
void TestDesktopFaults::refusedPasswordIsSaid()
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

// A wrong old PIN: one ":PIN" line, the refusal in words (no cable fault); the right one:
// written, and said so; the serial number write says so too, and a refused write mode is
// said once, the line not sent three times.
void TestDesktopFaults::parameterWritesSayWhatBecameOfThem()
{
    SimWindow win;
    win.unit().area2.replace(0x10, 4, "1234");
    win.get<QCheckBox>("ChkDefault")->setChecked(false);
    win.get<QLineEdit>("txtPINSimCardAlt")->setText(QStringLiteral("9999"));
    win.get<QLineEdit>("txtPINSimCardNeu")->setText(QStringLiteral("5555"));
    win.click("cmdPinWechseln");
    QCOMPARE(win.unit().received.filter(QStringLiteral(":PIN")).size(), 1);
    QCOMPARE(win.unit().pin(), QByteArray("1234"));
    win.get<QLineEdit>("txtPINSimCardAlt")->setText(QStringLiteral("1234"));
    win.click("cmdPinWechseln");
    QCOMPARE(win.unit().pin(), QByteArray("5555"));
    win.get<QLineEdit>("txtSerienummer")->setText(QStringLiteral("204518"));
    win.click("cmdSetzen");
    QCOMPARE(win.unit().serial(), QByteArray("204518"));
    win.unit().clearLog();
    win.unit().faults.refuseWrite = true;
    win.click("cmdSetzen");
    QCOMPARE(win.unit().received.filter(QStringLiteral(":HW2")).size(), 1);
    QCOMPARE(win.said(),
             QStringList({msg("gsMsgPINAenderungAbgelehnt"), msg("gsMsgPINGeschrieben"),
                          msg("gsMsgSeriennummerGeschrieben").arg("204518"), told(msg("gsMsgSeriennummerAbgelehnt"))}));
    // The PIN boxes after reading an unset second PIN, a new PIN with a letter, panel 3 in words.
    win.env.messages.clear();
    win.unit().area2.replace(0x10, 8, QByteArray("1234\0\0\0\0", 8));
    win.click("cmdPinLesen");
    QCOMPARE(win.get<QLineEdit>("txtPINSimCardAlt")->text() + '|' + win.get<QLineEdit>("txtPINSimCardNeu")->text(),
             QStringLiteral("1234|"));
    win.get<QLineEdit>("txtPINSimCardNeu")->setText(QStringLiteral("12a4"));
    win.click("cmdPinWechseln");
    QCOMPARE(win.said(), QStringList {msg("gsMsgPINNurZiffern")});
    win.click("cmdSetOutput(0)");
    QCOMPARE(WindowWidgets::statusPanel(*win.w, 2)->text(), msg("gsPanelStatus"));
}

// Save over the default profile: Save as is the default answer, Cancel writes nothing, No
// saves elsewhere (asked for a file), Yes keeps it as the start configuration.
void TestDesktopFaults::defaultProfileIsNotOverwrittenByReflex()
{
    TestEnv env;
    MainWindow w(gState());
    w.initializeControls();
    const QString standard = gState().defaultProfilePath(), site = env.path("UserProfile/site.cfg");
    const QByteArray before = readAll(standard);
    QVERIFY(!before.isEmpty());
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* first = named<QLineEdit>(w, "txtEingangSF(0)");
    WindowWidgets::typeInto(first, QStringLiteral("Baustelle"));
    QTest::keyClick(first, Qt::Key_Return);
    QVERIFY(gState().unsavedChanges);
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

// "Read from unit" over unsaved edits: the question first (Cancel reads nothing), then the
// read and a message that it is done.
void TestDesktopFaults::readFromUnitAsksAboutUnsavedEdits()
{
    SimWindow win;
    win.unit().setBlankConfiguration();
    gState().unsavedChanges = true;
    win.env.answers << QMessageBox::Cancel << QMessageBox::No;
    win.click("cmdUpload");
    QVERIFY(!win.unit().rawIn().contains(":HR3"));
    QCOMPARE(win.get<QLineEdit>("txtEingangSF(0)")->text(), QStringLiteral("Tür 1"));
    win.click("cmdUpload");
    QCOMPARE(win.said(), QStringList(2, msg("gsMsgÄnderungenSpeichern")) + QStringList {msg("gsMsgUploadOK")});
    QCOMPARE(win.unit().rawIn().count(":HR3:0080:"), 64);
    QCOMPARE(win.get<QLineEdit>("txtEingangSF(0)")->text(), QString());
}

// The Italian recipient headings are longer than the German ones: after a live switch they
// show as after a resize (whole, or all in their short form), never cut.
void TestDesktopFaults::headingsFitAfterALiveSwitch()
{
    SimWindow win;
    win.w->resize(1280, 1000);
    win.w->show();
    QVERIFY(QTest::qWaitForWindowExposed(win.w.get()));
    auto* heading = qobject_cast<FittedLabel*>(win.get<QLabel>("lblEmpfänger(0)"));
    QVERIFY(heading && !heading->isShortened());
    named<QAction>(*win.w, "mnuSprache", 3)->trigger();
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
