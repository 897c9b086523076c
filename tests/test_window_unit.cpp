// The main window's unit and profile commands as the user gives them: against the built-in
// simulated unit in virtual time, and on profile files; what the user sees, what went over
// the wire and what the store and the files hold afterwards.
#include "Permissions.h"
#include "SimWindow.h"

#include "core/Settings.h"
#include "image/ProfileReader.h"
#include "link/PortResolver.h"
#include "link/UnitOps.h"
#include "store/ConfigStore.h"
#include "ui/PortSettingsDialog.h"
#include "ui/ProfileController.h"
#include "ui/ShapeLamp.h"
#include "ui/TransferDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QtTest>

using WindowWidgets::named;

namespace {
// A configuration of 512 records and the end record.
QStringList configLines()
{
    QByteArray area(8192, 0);
    for (int b = 0; b < 64; ++b)
        area[b * 128] = char(0x10 + b); // the block codes
    QStringList lines;
    for (int a = 0; a < 8192; a += 16)
        lines << QString::fromLatin1(SimUnit::record(a, area.mid(a, 16)));
    return lines << QStringLiteral(":00000001FF");
}

// Forgets what was said and sent so far.
void afresh(SimWindow& win)
{
    win.env.messages.clear();
    win.unit().clearLog();
}
} // namespace

class TestWindowUnit : public QObject {
    Q_OBJECT
private slots:
    void readTouchesTheStoreOnlyAfterACompleteReadAndPortSettings();
    void writeSendsTheTransferFileAndFirmware();
    void parametersStatusAndRelays();
    void loadCancelAndRefusal();
    void saveUnderAndReadOnly();
};

void TestWindowUnit::readTouchesTheStoreOnlyAfterACompleteReadAndPortSettings()
{
    SimWindow win;
    // The unit holds another text for input 1 rising.
    win.unit().area3.replace(32, 6, QByteArray("Hallo\0", 6));
    const QString sql = QStringLiteral("SELECT \"Deutsch\" FROM \"SMS\" ORDER BY rowid LIMIT 1");
    const QString before = win.env.configurationRows();
    // A block that cannot be read: the store is never touched.
    win.unit().faults.blockFault = SimFaults::Block::Damage;
    win.unit().faults.blockFaultBlock = 40;
    win.w->device().readConfiguration();
    QCOMPARE(win.env.said().last(), told(msg("gsMsgBlockNichtLesbar").arg(40)));
    QCOMPARE(win.env.configurationRows(), before);
    // Cancelled through the window's button: untouched too.
    win.unit().faults.blockFault = SimFaults::Block::None;
    afresh(win);
    QTimer::singleShot(0, [&] {
        auto* dlg = win.w->findChild<TransferDialog*>(QStringLiteral("frmDownload"));
        QVERIFY(dlg);
        QObject::connect(dlg->progressBar, &QProgressBar::valueChanged, dlg, [dlg](int v) {
            if (v == 10)
                dlg->cancelButton->click();
        });
    });
    win.w->device().readConfiguration();
    QCOMPARE(win.env.said(), QStringList {told(msg("gsMsgLesenAbgebrochenDetail"))});
    QCOMPARE(win.env.configurationRows(), before);
    // Over unsaved edits the read asks first (Cancel reads nothing); a complete read goes into
    // the store and the editor, and is said.
    afresh(win);
    gState().unsavedChanges = true;
    win.env.answers << QMessageBox::Cancel << QMessageBox::No;
    win.click("cmdUpload");
    QVERIFY(!win.unit().rawIn().contains(":HR3"));
    win.click("cmdUpload");
    QCOMPARE(win.env.said(),
             QStringList(2, msg("gsMsgÄnderungenSpeichern"))
                 << QStringLiteral("Die Konfiguration wurde vollständig aus dem Gerät gelesen."));
    QCOMPARE(win.env.queryValue(sql).toString(), QStringLiteral("Hallo"));
    QCOMPARE(named<QLineEdit>(*win.w, "txtEingangSF", 0)->text(), QStringLiteral("Hallo"));
    QCOMPARE(win.w->lamp(), int(MainWindow::Green));
    // Port closed: nothing at all.
    Settings::set("Einstellungen", "COM-Anschluss-Aktuell", "closed");
    afresh(win);
    win.w->device().readConfiguration();
    QVERIFY(win.unit().received.isEmpty());
    // The port settings against the same window.
    PortResolver::assign(3, QStringLiteral("sim"));
    PortSettingsDialog dlg(win.w.get());
    dlg.portBox->setCurrentIndex(2);
    dlg.baudRateBox->setCurrentText(QStringLiteral("19200"));
    dlg.parityBox->setCurrentIndex(1);
    dlg.dataBitsBox->setCurrentIndex(1);
    dlg.stopBitsBox->setCurrentIndex(0);
    QVERIFY(dlg.deviceValue->text().contains(QStringLiteral("simul")));
    QVERIFY(dlg.apply());
    QCOMPARE(Settings::get("Einstellungen", "COM-Anschluss"), QStringLiteral("3"));
    QCOMPARE(Settings::get("Einstellungen", "Einstellungen"), QStringLiteral("19200,E,7,1"));
    QCOMPARE(Settings::get("Einstellungen", "COM-Anschluss-Aktuell"), QStringLiteral("open"));
    QCOMPARE(WindowWidgets::statusPanel(*win.w, 1)->text(), QStringLiteral("COM 3"));
    QCOMPARE(win.w->lamp(), int(MainWindow::Green));
}

void TestWindowUnit::writeSendsTheTransferFileAndFirmware()
{
    const QStringList lines = configLines();
    MainWindowOptions options;
    options.transferLines = [&] { return lines; };
    SimWindow win(QStringLiteral("4711"), std::move(options));
    named<QPushButton>(*win.w, "cmdDownload", 0)->click();
    // What was sent is kept as the record file.
    const QString record = gState().transferFilePath();
    QCOMPARE(readAll(record), (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
    QCOMPARE(Settings::get("Configuration", "FileName"), record);
    QCOMPARE(win.env.said(), QStringList {msg("gsMsgDownloadOK")});
    QCOMPARE(WindowWidgets::statusPanel(*win.w, 2)->toolTip(), QStringLiteral(":00000001FF"));
    // A status reply lost three times: no write, the no-answer message, the version label
    // keeps what was read.
    win.w->device().refreshUnitStatus();
    const QString shown = named<QLabel>(*win.w, "lblSWVersion")->text();
    QVERIFY(shown.endsWith(QStringLiteral("1.00")));
    afresh(win);
    win.unit().faults.statusLost = 3;
    win.w->device().writeConfiguration();
    QCOMPARE(win.env.said(), QStringList {told(msg("gsMsgGerätAntwortetNicht"), true)});
    QCOMPARE(named<QLabel>(*win.w, "lblSWVersion")->text(), shown);
    QVERIFY(!win.unit().received.contains(QStringLiteral(":HW3 PW:6054")));
    // A unit with another firmware version: refused before anything is written.
    afresh(win);
    win.unit().faults.statusLost = 0;
    win.unit().fwVersion = 250;
    win.w->device().writeConfiguration();
    QCOMPARE(win.env.said(), QStringList {told(msg("gsMsgFirmwareVersionPasstNicht").arg("2.50", "1.00"))});
    QVERIFY(!win.unit().received.contains(QStringLiteral(":HW3 PW:6054")));
    // A firmware update on the same window.
    afresh(win);
    const QString prg = win.env.path(QStringLiteral("Download/Firmware/unit.prg"));
    writeFile(prg,
              ":10000000000102030405060708090A0B0C0D0E0F78\r\n:10001000101112131415161718191A1B1C1D1E1F68\r\n"
              ":00000001FF\r\n");
    // An older unit: both versions are shown (not another program version); No sends nothing,
    // Yes and OK to the flash question send the file.
    win.unit().fwVersion = 90;
    win.unit().fwVersionAfterUpdate = 100;
    win.env.fileAnswers << prg << prg;
    win.env.answers << QMessageBox::No << QMessageBox::Yes << QMessageBox::Ok;
    win.click("cmdDownload(1)");
    QCOMPARE(win.said().size(), 1);
    QVERIFY(win.said()[0].startsWith(msg("gsMsgFirmwareVersionAnders") + "\r\n"));
    QVERIFY(!win.said()[0].contains(msg("gsMsgVersionskonflikt")));
    QVERIFY(!win.unit().rawIn().contains(":HW4"));
    win.w->device().updateFirmware();
    QCOMPARE(win.env.fileRequests.size(), 2);
    QCOMPARE(Settings::get("Firmware", "FileName"), prg);
    QVERIFY(win.unit().received.contains(QStringLiteral(":10001000101112131415161718191A1B1C1D1E1F68")));
    QVERIFY(win.env.said().contains(msg("gsMsgDownloadOK")));
    // A damaged file is refused with its line before anything is sent; a cancelled dialog
    // does nothing.
    writeFile(prg, ":10000000000102030405060708090A0B0C0D0E0F78\r\n:1000100010111213\r\n:00000001FF\r\n");
    afresh(win);
    win.env.fileAnswers << prg << QString();
    win.w->device().updateFirmware();
    QCOMPARE(win.env.messages.size(), 1);
    QVERIFY(win.env.messages[0].text.contains(QStringLiteral("Zeile 2")));
    win.w->device().updateFirmware();
    QCOMPARE(win.env.messages.size(), 1);
    QVERIFY(win.unit().rawIn().isEmpty());
}

void TestWindowUnit::parametersStatusAndRelays()
{
    SimWindow win;
    win.w->device().fillValidityList();
    QCOMPARE(named<QComboBox>(*win.w, "CboGültigkeit")->currentIndex(), 167);
    // Serial: written and said, counted up only after the unit acknowledged; a refused write
    // mode is said once, its line not sent three times.
    auto* serial = named<QLineEdit>(*win.w, "txtSerienummer");
    serial->setText(QStringLiteral("000999"));
    named<QCheckBox>(*win.w, "Check_Inkrement")->setChecked(true);
    win.w->device().writeSerialNumber();
    QCOMPARE(win.unit().serial(), QByteArray("000999"));
    QCOMPARE(serial->text(), QStringLiteral("001000"));
    win.unit().faults.refuseWrite = true;
    win.w->device().writeSerialNumber();
    QCOMPARE(serial->text(), QStringLiteral("001000"));
    QCOMPARE(win.unit().received.filter(QStringLiteral(":HW2")).size(), 2);
    QCOMPARE(win.said(),
             QStringList({msg("gsMsgSeriennummerGeschrieben").arg("000999"), told(msg("gsMsgSeriennummerAbgelehnt"))}));
    win.unit().faults.refuseWrite = false;
    serial->setText(QStringLiteral("12"));
    afresh(win);
    win.w->device().writeSerialNumber();
    QCOMPARE(win.env.said(), QStringList {msg("gsAnzahlZeichen")});
    QVERIFY(win.unit().received.isEmpty());
    // PIN rules; a wrong old PIN goes out once and is refused in words (no cable fault), the
    // right one changes the PIN, said so and masked in the status bar; a letter is refused.
    win.env.messages.clear();
    named<QCheckBox>(*win.w, "ChkDefault")->setChecked(false);
    named<QLineEdit>(*win.w, "txtPINSimCardNeu")->setText(QStringLiteral("1111"));
    named<QLineEdit>(*win.w, "txtPINSimCardAlt")->clear();
    win.w->device().changeSimPin();
    for (const char* old : {"9999", "0000"}) {
        named<QLineEdit>(*win.w, "txtPINSimCardAlt")->setText(QString::fromLatin1(old));
        win.w->device().changeSimPin();
    }
    QCOMPARE(win.unit().received.filter(QStringLiteral(":PIN")),
             QStringList({":PIN PW:4711 PA:9999 PN:1111", ":PIN PW:4711 PA:0000 PN:1111"}));
    QCOMPARE(win.unit().pin(), QByteArray("1111"));
    QCOMPARE(WindowWidgets::statusPanel(*win.w, 2)->toolTip(), QStringLiteral(":PIN PW:**** PA:**** PN:****"));
    named<QLineEdit>(*win.w, "txtPINSimCardNeu")->setText(QStringLiteral("12a4"));
    win.w->device().changeSimPin();
    QCOMPARE(win.said(),
             QStringList({msg("gsMsgPINAlteingeben"), msg("gsMsgPINAenderungAbgelehnt"), msg("gsMsgPINGeschrieben"),
                          msg("gsMsgPINNurZiffern")}));
    // Read back with no second PIN set: the new-PIN box empty.
    win.unit().area2.replace(0x14, 4, QByteArray(4, '\0'));
    win.w->device().readSimPin();
    QCOMPARE(named<QLineEdit>(*win.w, "txtPINSimCardAlt")->text() + '|'
                 + named<QLineEdit>(*win.w, "txtPINSimCardNeu")->text(),
             QStringLiteral("1111|"));
    // Validity index 5, the restart and the read-back.
    named<QComboBox>(*win.w, "CboGültigkeit")->setCurrentIndex(5);
    win.w->device().writeValidityReminder();
    QVERIFY(win.unit().received.contains(QStringLiteral(":0100200005DA")));
    QVERIFY(win.unit().received.contains(QStringLiteral(":SMR PW:4711")));
    QCOMPARE(WindowWidgets::statusPanel(*win.w, 2)->toolTip(), QStringLiteral(":SMR PW:****"));
    named<QComboBox>(*win.w, "CboGültigkeit")->setCurrentIndex(0);
    win.w->device().readValidityReminder();
    QCOMPARE(named<QComboBox>(*win.w, "CboGültigkeit")->currentIndex(), 5);
    // The status, the LEDs, the relays and the demonstration on the same window.
    afresh(win);
    win.unit().area1[0x62] = char(0x05);
    win.unit().area1[0x60] = char(0x80);
    win.unit().fwVersion = 0x7B;
    named<QRadioButton>(*win.w, "OptPortAnzeige", 0)->click();
    for (int i = 0; i < 8; ++i)
        QCOMPARE(named<ShapeLamp>(*win.w, "ShpLed", i)->fillColor(),
                 (i == 0 || i == 2) ? ShapeLamp::Green : ShapeLamp::White);
    QCOMPARE(named<QLabel>(*win.w, "lblSWVersion")->text(),
             msg("gsSWVersion") + ": " + QLocale().toString(1.23, 'f', 2));
    named<QRadioButton>(*win.w, "OptPortAnzeige", 1)->click();
    QCOMPARE(named<ShapeLamp>(*win.w, "ShpLed", 7)->fillColor(), ShapeLamp::Green);
    QCOMPARE(named<ShapeLamp>(*win.w, "ShpLed", 0)->fillColor(), ShapeLamp::White);

    // Relay 4 on and off with user 1's password; the LEDs show the relays.
    named<QPushButton>(*win.w, "cmdSetOutput", 3)->click();
    QVERIFY(win.unit().rawIn().contains(":RS4 PW:4711\r"));
    QCOMPARE(named<ShapeLamp>(*win.w, "ShpLed", 3)->fillColor(), ShapeLamp::Green);
    QCOMPARE(WindowWidgets::statusPanel(*win.w, 2)->text(), msg("gsPanelStatus"));
    QVERIFY(named<QRadioButton>(*win.w, "OptPortAnzeige", 0)->isChecked());
    named<QPushButton>(*win.w, "cmdResetOutput", 3)->click();
    QVERIFY(win.unit().rawIn().contains(":RC4 PW:4711\r"));
    // A unit that does not answer: buttons enabled again, the no-answer message.
    win.unit().faults.silent = true;
    named<QPushButton>(*win.w, "cmdSetOutput", 0)->click();
    for (int i = 0; i < 4; ++i)
        QVERIFY(named<QPushButton>(*win.w, "cmdSetOutput", i)->isEnabled()
                && named<QPushButton>(*win.w, "cmdResetOutput", i)->isEnabled());
    QCOMPARE(win.env.said(), QStringList {told(msg("gsMsgGerätAntwortetNicht"), true)});
    QCOMPARE(win.w->lamp(), int(MainWindow::Red));

    // Demo and the default-state shortcuts: no device traffic; a status leaves the LEDs alone.
    win.unit().faults.silent = false;
    win.unit().clearLog();
    named<QRadioButton>(*win.w, "OptPortAnzeige", 2)->click();
    QVERIFY(!named<QPushButton>(*win.w, "cmdAktualisieren")->isEnabled());
    named<ShapeLamp>(*win.w, "ShpLed", 3)->setFillColor(ShapeLamp::Green);
    win.w->device().showUnitStatus(UnitOps::decodeStatus(QByteArray()));
    QCOMPARE(named<ShapeLamp>(*win.w, "ShpLed", 3)->fillColor(), ShapeLamp::Green);
    for (bool on : {true, false}) {
        on ? win.w->editorBinding().setDefaultStatesOn() : win.w->editorBinding().setDefaultStatesOff();
        for (int i = 0; i < 8; ++i)
            QCOMPARE(named<QCheckBox>(*win.w, "ChkDefaultState", i)->isChecked(), on && i % 2 == 0);
    }
    QVERIFY(win.unit().rawIn().isEmpty());
}

void TestWindowUnit::loadCancelAndRefusal()
{
    SimWindow win;
    TestEnv& env = win.env;
    // The default profile loads into the store and becomes current.
    const QString current = gState().defaultProfilePath();
    ProfileData start;
    start.inputs[2].recipients = 0x06;
    start.inputs[2].text = QStringLiteral("Start");
    writeProfile(start, current);
    Settings::set("Profile", "File", env.path("UserProfile/other.cfg"));
    win.w->profiles().loadDefaultProfile();
    QCOMPARE(Settings::get("Profile", "File"), current);
    QCOMPARE(env.queryValue("SELECT Deutsch FROM SMS WHERE ID=3").toString(), QStringLiteral("Start"));
    QCOMPARE(env.queryValue("SELECT Benutzer2 FROM \"Konfiguration_Eingänge\" WHERE ID=3").toInt(), 1);
    QVERIFY(env.messages.isEmpty());
    // A damaged default profile: one critical message naming the line, the store as it was.
    const QString before = env.configurationRows();
    const QByteArray startProfile = readAll(current);
    writeFile(current, "nonsense");
    win.w->profiles().loadDefaultProfile();
    QCOMPARE(env.messages.size(), 1);
    QVERIFY(env.messages[0].icon == Dialogs::Icon::Critical && env.messages[0].text.contains("Zeile 1"));
    QCOMPARE(env.configurationRows(), before);
    writeFile(current, startProfile);
    // Cancel: no message, nothing changes; nothing opened or saved yet, the dialog opens in the
    // documents folder, not the program folder's default profile.
    env.messages.clear();
    env.fileAnswers << QString();
    win.trigger("mnuLaden");
    QCOMPARE(env.fileRequests.size(), 1);
    QVERIFY(!env.fileRequests[0].save && env.fileRequests[0].fileName.isEmpty() && env.messages.isEmpty());
    QCOMPARE(QDir(env.fileRequests[0].folder).absolutePath(),
             QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).absolutePath());
    // A refused file (its message: the profile tests): not the current profile.
    const QString bad = env.path("UserProfile/kaputt.cfg");
    writeFile(bad, QByteArray(":1000000010000000000000000000000000000000E1\r\n"));
    env.fileAnswers << bad;
    win.trigger("mnuLaden");
    QCOMPARE(Settings::get("Profile", "File"), current);
    QCOMPARE(env.configurationRows(), before);
    // A good file loads and becomes current; loading leaves the unsaved-changes flag alone;
    // save then goes to the loaded file, not the default profile.
    const QString good = env.path("UserProfile/gut.cfg");
    ProfileData eva;
    eva.users[1].name = QStringLiteral("Eva");
    writeProfile(eva, good);
    gState().unsavedChanges = true;
    env.fileAnswers << good;
    win.trigger("mnuLaden");
    QCOMPARE(env.messages.size(), 1); // the refusal's alone
    QCOMPARE(Settings::get("Profile", "File"), good);
    QVERIFY(gState().unsavedChanges);
    QCOMPARE(env.queryValue("SELECT Namen FROM Adressen WHERE ID=2").toString(), QStringLiteral("Eva"));
    const QByteArray defaultBefore = readAll(gState().defaultProfilePath());
    win.w->store().addresses.setAbsolutePosition(2);
    win.w->store().addresses.setValue("Namen", QStringLiteral("Eva B"));
    win.w->saveProfile();
    QVERIFY(!gState().unsavedChanges);
    Image back;
    QVERIFY(ProfileReader::readFile(gState(), good, back, nullptr));
    QCOMPARE(back.smsText(58), QStringLiteral("Eva B"));
    QCOMPARE(readAll(gState().defaultProfilePath()), defaultBefore);
    // While another program holds the database the load waits a few seconds, then says so with
    // Retry and Cancel; Retry (the other program being done) loads the file.
    const QString zoeFile = env.path("UserProfile/zoe.cfg");
    ProfileData zoe;
    zoe.users[2].name = QStringLiteral("Zoe");
    writeProfile(zoe, zoeFile);
    Connection other(gState());
    other.open(env.dbPath(), Connection::ReadWrite);
    QVERIFY(QSqlQuery(other.db()).exec("BEGIN EXCLUSIVE"));
    QList<Dialogs::Message> shown;
    Dialogs::setMessageHandler([&](const Dialogs::Message& m) {
        shown << m;
        if (shown.size() == 1)
            QSqlQuery(other.db()).exec("ROLLBACK"); // the other program is done
        return QMessageBox::Retry;
    });
    env.fileAnswers << zoeFile;
    win.trigger("mnuLaden");
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].buttons, QMessageBox::Retry | QMessageBox::Cancel);
    QCOMPARE(shown[0].text,
             QStringLiteral("Die Datenbank %1 wird von einem anderen Programm verwendet. Es wurde nichts geändert.")
                 .arg(QDir::toNativeSeparators(env.dbPath())));
    QCOMPARE(env.queryValue("SELECT Namen FROM Adressen WHERE ID=3").toString(), QStringLiteral("Zoe"));
    QCOMPARE(Settings::get("Profile", "File"), zoeFile);
}

void TestWindowUnit::saveUnderAndReadOnly()
{
    SimWindow win;
    TestEnv& env = win.env;
    env.exec("UPDATE SMS SET Englisch = NULL"); // the default profile's texts alone
    win.w->profiles().loadDefaultProfile();
    // A name without extension gets ".cfg" and becomes the current profile.
    env.fileAnswers << env.path("UserProfile/kunde");
    gState().unsavedChanges = true;
    win.trigger("mnuSpeichernunter");
    QCOMPARE(env.fileRequests.size(), 1);
    QVERIFY(env.fileRequests[0].save);
    const QString locked = env.path("UserProfile/kunde.cfg");
    QCOMPARE(Settings::get("Profile", "File"), locked);
    QCOMPARE(env.said(), QStringList());
    QVERIFY(!gState().unsavedChanges);
    // Save onto a read-only file: one message with the two texts on two lines, then the
    // save-under dialog; the file chosen there is written and becomes current.
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QByteArray lockedBefore = readAll(locked);
    const QString elsewhere = env.path("UserProfile/neu.cfg");
    env.fileAnswers << elsewhere;
    gState().unsavedChanges = true;
    win.w->store().sms.moveFirst();
    win.w->store().sms.setValue(2, QStringLiteral("neu"));
    {
        Permissions::Enforced enforced;
        if (!enforced.active())
            QSKIP("file permissions cannot be made to apply to this process");
        win.w->saveProfile();
    }
    QCOMPARE(env.messages.size(), 1);
    QCOMPARE(env.messages[0].icon, Dialogs::Icon::Exclamation);
    QCOMPARE(env.messages[0].text,
             gState().msg("gsMsgDateiSchreibgeschützt") + "\n" + gState().msg("gsMsgSpeichereAndererDateiname"));
    QCOMPARE(env.fileRequests.size(), 2);
    QVERIFY(env.fileRequests[1].save);
    QVERIFY(QFileInfo::exists(elsewhere));
    QCOMPARE(Settings::get("Profile", "File"), elsewhere);
    QVERIFY(!gState().unsavedChanges);
    QCOMPARE(readAll(locked), lockedBefore);
}

QTEST_MAIN(TestWindowUnit)
#include "test_window_unit.moc"
