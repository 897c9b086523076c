// The configuration editor: its rules on the store, and the main window's editor widgets
// driven with clicks and keys, checked against the database file.
#include "TestEnv.h"

#include "core/Settings.h"

#include "core/ProgramContext.h"
#include "editing/ConfigEditor.h"
#include "ui/FittedLabel.h"
#include "ui/EditorBinding.h"
#include "ui/MainWindow.h"
#include "ui/PhoneBookDialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QHelpEvent>
#include <QSpinBox>
#include <QToolTip>
#include <QtTest>

namespace {
const QString Undefined = QStringLiteral("nicht definiert");
const QString Wrong1 = QStringLiteral("Falsches Zeichen!");
const QString Wrong2 = QStringLiteral("Erlaubt: A-Z a-z 0-9 und Satzzeichen.");

void loadMessages()
{
    auto& m = gState().messages;
    m.insert("gsDefined_Undefined", Undefined);
    m.insert("gsMsgFalschesZeichen", Wrong1);
    m.insert("gsMsgFalschesZeichen2", Wrong2);
    gState().programName = QStringLiteral("SMS Switch Vantor");
}

// Users 1..3 with number (2 inactive), 4..8 without.
void seedUsers(const TestEnv& env)
{
    env.exec("UPDATE Adressen SET Namen='Anna', Natel_Nummer='+41791112233', Passwort='1234', Operator=1, Status=1 "
             "WHERE ID=1");
    env.exec("UPDATE Adressen SET Namen='Beat', Natel_Nummer='0794445566', Passwort='5678', Operator=0, Status=0 WHERE "
             "ID=2");
    env.exec(
        "UPDATE Adressen SET Namen=NULL, Natel_Nummer='0797778899', Passwort='4321', Operator=0, Status=1 WHERE ID=3");
}

QVariant value(const TestEnv& env, const QString& sql) { return env.queryValue(sql); }

int inputFlag(const TestEnv& env, int row, int user)
{
    return value(env,
                 QStringLiteral("SELECT Benutzer%1 FROM \"Konfiguration_Eingänge\" WHERE ID=%2").arg(user).arg(row))
        .toInt();
}

int outputFlag(const TestEnv& env, int row, const QString& col)
{
    return value(env, QStringLiteral("SELECT \"%1\" FROM \"Konfiguration_Ausgänge\" WHERE ID=%2").arg(col).arg(row))
        .toInt();
}

QVariant smsText(const TestEnv& env, int id, const char* col = "Deutsch")
{
    return value(env, QStringLiteral("SELECT \"%1\" FROM SMS WHERE ID=%2").arg(QLatin1String(col)).arg(id));
}

int forecolour(QLabel* l) { return l->property("ForeColor").toInt(); }

struct Main {
    Main()
    {
        loadMessages();
        w = new MainWindow(gState());
        w->editorBinding().refresh();
        gState().unsavedChanges = false;
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
    ~Main()
    {
        gState().unsavedChanges = false;
        delete w;
    }
    template <typename T = QWidget> T* get(const QString& name) const
    {
        w->ensureTabsBuilt();
        T* c = w->findChild<T*>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    QCheckBox* box(const char* arr, int i) const
    {
        return get<QCheckBox>(QStringLiteral("%1(%2)").arg(QLatin1String(arr)).arg(i));
    }
    QLineEdit* edit(const QString& name) const { return get<QLineEdit>(name); }
    QLabel* label(const QString& name) const { return get<QLabel>(name); }
    void showTab(QWidget* c)
    {
        // Bring the tab of a control to the front so that it can take the focus.
        for (int i = 0; i < w->tabs()->count(); ++i)
            if (w->tabs()->widget(i)->isAncestorOf(c))
                w->tabs()->setCurrentIndex(i);
    }
    void type(QWidget* e, const QString& text)
    {
        showTab(e);
        e->setFocus();
        QVERIFY(e->hasFocus());
        if (auto* line = qobject_cast<QLineEdit*>(e))
            line->selectAll();
        else if (auto* spin = qobject_cast<QAbstractSpinBox*>(e))
            spin->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        // Key by key, also for letters outside ASCII (an umlaut comes as its text).
        for (QChar c : text) {
            QTest::sendKeyEvent(QTest::Press, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    void leave(QWidget* e) { QTest::keyClick(e, Qt::Key_Tab); }
    MainWindow* w = nullptr;
};
}

class TestEditor : public QObject {
    Q_OBJECT
private slots:
    // rules on the store
    void characterSetOfTheUnit();
    void delayRules();
    void storeWritesReportRealChangesOnly();
    void missingRowIsAnErrorAndNothingIsWritten();
    void alarmMasksAndNullMasks();

    // the main window
    void clickOnChkEmpOP37WritesRow6Benutzer3();
    void userWithoutNumberDisablesColumnAndGreysLabels();
    void checkAllHonoursDisabledColumns();
    void invalidCharacterRefusedOnceAtItsPosition();
    void counterAndLength();
    void textWrittenToItsRowAndLanguageColumn();
    void emptiedBoxStoresNull();
    void delayFieldRefusesAndStores();
    void recipientColumnsGiveWayToTheTexts();
    void alarmEventsAndUsers();
    void defaultStateAndOperator();
    void changedFlagFollowsRealChangesAndClosingAsks();
    void missingRowInTheWindow();
    void textBeingEditedIsWrittenBeforeAToolbarCommand();
    void phoneBookFromTheMenuRelabelsTheWindow();
};

// ---- rules on the store -------------------------------------------------------------------------------

void TestEditor::characterSetOfTheUnit()
{
    QString accepted;
    for (int c = 0; c < 0x250; ++c)
        if (SmsText::isAllowed(QChar(c)))
            accepted += QChar(c);
    QString expected;
    for (int c = 32; c <= 90; ++c)
        expected += QChar(c);
    for (int c = 97; c <= 122; ++c)
        expected += QChar(c);
    QCOMPARE(accepted, expected);
    QCOMPARE(SmsText::firstInvalid("Alarm 1 aus!"), -1);
    QCOMPARE(SmsText::firstInvalid(QString()), -1);
    QCOMPARE(SmsText::firstInvalid(QStringLiteral("Tür offen ü")), 1);
    QCOMPARE(SmsText::firstInvalid("a_b"), 1);
    QCOMPARE(SmsText::firstInvalid("ab[c"), 2);
    QCOMPARE(SmsText::firstInvalid("~"), 0);
    QCOMPARE(SmsText::firstInvalid(QStringLiteral("x\tz")), 1);
    QCOMPARE(SmsText::remaining(QString()), 63);
    QCOMPARE(SmsText::remaining(QString(63, 'a')), 0);
    loadMessages();
    QCOMPARE(SmsText::invalidCharacterMessage(gState()), Wrong1 + "\n" + Wrong2);
}

void TestEditor::delayRules()
{
    int v = 0;
    QCOMPARE(Delay::check("", &v), Delay::Check::Empty);
    QCOMPARE(Delay::check("0"), Delay::Check::OutOfRange);
    QCOMPARE(Delay::check("100"), Delay::Check::OutOfRange);
    QCOMPARE(Delay::check("abc"), Delay::Check::OutOfRange);
    QCOMPARE(Delay::check("-1"), Delay::Check::OutOfRange);
    QCOMPARE(Delay::check("1.5"), Delay::Check::OutOfRange);
    for (int ok : {1, 60, 75, 99}) {
        QCOMPARE(Delay::check(QString::number(ok), &v), Delay::Check::Ok);
        QCOMPARE(v, ok);
    }
}

void TestEditor::storeWritesReportRealChangesOnly()
{
    TestEnv env;
    ConfigStore store(gState(), env.dbPath());
    ConfigEditor ed(store);
    QVERIFY(ed.setInputRecipient(37, true));
    QCOMPARE(inputFlag(env, 6, 3), 1);
    QVERIFY(!ed.setInputRecipient(37, true));
    QVERIFY(ed.setOutputRecipient(63, true));
    QCOMPARE(outputFlag(env, 8, "Benutzer8"), 1);
    QVERIFY(!ed.setInputRecipient(128, true)); // outside: nothing
    QVERIFY(ed.setDefaultState(7, true));
    QCOMPARE(outputFlag(env, 8, "DefaultState"), 1);
    QVERIFY(!ed.setDefaultState(7, true));
    // A text of the same length as before is a change all the same.
    QVERIFY(ed.setText(ConfigEditor::TextBox::EingangSF, 0, "0123456789"));
    QVERIFY(ed.setText(ConfigEditor::TextBox::EingangSF, 0, "abcdefghij"));
    QVERIFY(!ed.setText(ConfigEditor::TextBox::EingangSF, 0, "abcdefghij"));
    QCOMPARE(smsText(env, 1).toString(), QStringLiteral("abcdefghij"));
    QVERIFY(ed.setText(ConfigEditor::TextBox::EingangSF, 0, ""));
    QVERIFY(smsText(env, 1).isNull());
    QVERIFY(!ed.setText(ConfigEditor::TextBox::EingangSF, 0, ""));
    QVERIFY_THROWS_EXCEPTION(StoreError, ed.setText(ConfigEditor::TextBox::EingangSF, 0, QStringLiteral("ä")));
    // The delay: 5 is the default, so storing 5 changes nothing; 7 and back to 5 do.
    QVERIFY(!ed.setDelay("5"));
    QVERIFY(ed.setDelay("7"));
    QVERIFY(ed.setDelay("5"));
    QCOMPARE(value(env, "SELECT \"Verzögerungszeit\" FROM Alarm_Dispositiv").toInt(), 5);
    QVERIFY(ed.setAlarmUser(0, true));
    QCOMPARE(value(env, "SELECT Benutzer1 FROM Alarm_Dispositiv").toInt(), 1);
    QVERIFY(ed.setPowerOnUser(7, true));
    QCOMPARE(value(env, "SELECT Benutzer8 FROM PowerOn").toInt(), 1);
}

void TestEditor::missingRowIsAnErrorAndNothingIsWritten()
{
    TestEnv env;
    env.exec("DELETE FROM \"Konfiguration_Eingänge\" WHERE ID=6");
    ConfigStore store(gState(), env.dbPath());
    ConfigEditor ed(store);
    QVERIFY_THROWS_EXCEPTION(RowMissing, ed.setInputRecipient(37, true));
    QVERIFY_THROWS_EXCEPTION(RowMissing, ed.setText(ConfigEditor::TextBox::EingangFF, 2, "x"));
    QCOMPARE(value(env, "SELECT SUM(Benutzer3) FROM \"Konfiguration_Eingänge\"").toInt(), 0);
    QVERIFY(!store.inputs.hasPendingChanges());
    QVERIFY(!store.sms.hasPendingChanges());
}

void TestEditor::alarmMasksAndNullMasks()
{
    TestEnv env;
    ConfigStore store(gState(), env.dbPath());
    ConfigEditor ed(store);
    QVERIFY(ed.setAlarmEvent(5, true));
    QCOMPARE(value(env, "SELECT IN_FF FROM Alarm_Dispositiv").toInt(), 4);
    QVERIFY(ed.setAlarmEvent(14, true));
    QCOMPARE(value(env, "SELECT IN_SF FROM Alarm_Dispositiv").toInt(), 128);
    QVERIFY(ed.setAlarmEvent(5, false));
    QCOMPARE(value(env, "SELECT IN_FF FROM Alarm_Dispositiv").toInt(), 0);
    QVERIFY(!ed.setAlarmEvent(5, false));
    const QVector<bool> s = ed.alarmEvents();
    QCOMPARE(s.count(true), 1);
    QVERIFY(s[14]);
}

// ---- the main window ----------------------------------------------------------------------------------

void TestEditor::clickOnChkEmpOP37WritesRow6Benutzer3()
{
    TestEnv env;
    seedUsers(env);
    Main m;
    QCheckBox* b = m.box("ChkEmpOP", 37);
    m.showTab(b);
    QVERIFY(b->isEnabled());
    QTest::mouseClick(b, Qt::LeftButton);
    QVERIFY(b->isChecked());
    QCOMPARE(inputFlag(env, 6, 3), 1);
    QCOMPARE(value(env,
                   "SELECT SUM(Benutzer1+Benutzer2+Benutzer3+Benutzer4+Benutzer5+Benutzer6+Benutzer7+Benutzer8) FROM "
                   "\"Konfiguration_Eingänge\"")
                 .toInt(),
             1);
    QVERIFY(gState().unsavedChanges);
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(inputFlag(env, 6, 3), 0);
    // ChkEmpOut(63) belongs to user 8, who has no number: give one and relabel first.
    env.exec("UPDATE Adressen SET Natel_Nummer='0790' WHERE ID=8");
    m.w->editorBinding().labelRecipients();
    QCheckBox* o = m.box("ChkEmpOut", 63);
    m.showTab(o);
    QTest::mouseClick(o, Qt::LeftButton);
    QCOMPARE(outputFlag(env, 8, "Benutzer8"), 1);
}

void TestEditor::userWithoutNumberDisablesColumnAndGreysLabels()
{
    TestEnv env;
    seedUsers(env);
    env.exec("UPDATE \"Konfiguration_Eingänge\" SET Benutzer4=1 WHERE ID=2");
    Main m;
    // User 4 has no number: 16 + 8 + 3 boxes disabled, its stored flag kept and shown.
    for (int k = 0; k < 16; ++k)
        QVERIFY(!m.box("ChkEmpOP", 48 + k)->isEnabled());
    for (int k = 0; k < 8; ++k)
        QVERIFY(!m.box("ChkEmpOut", 24 + k)->isEnabled());
    QVERIFY(!m.box("ChkOP", 3)->isEnabled());
    QVERIFY(!m.box("ChkBenutzerPowerON", 3)->isEnabled());
    QVERIFY(!m.box("ChkBenutzerAlarmDispo", 3)->isEnabled());
    QVERIFY(m.box("ChkEmpOP", 49)->isChecked());
    QCOMPARE(inputFlag(env, 2, 4), 1);
    for (int g = 0; g < 3; ++g) {
        QCOMPARE(m.label(QStringLiteral("lblAdresseName(%1)").arg(8 * g + 3))->text(), Undefined);
        QCOMPARE(m.label(QStringLiteral("lblAdresseEmpf(%1)").arg(8 * g + 3))->text(), QString());
        QCOMPARE(forecolour(m.label(QStringLiteral("lblAdresseName(%1)").arg(8 * g + 3))), 0x808080);
        QCOMPARE(m.label(QStringLiteral("lblAdresseName(%1)").arg(8 * g + 3))->palette().color(QPalette::WindowText),
                 QColor(128, 128, 128));
        // user 1: active, blue; user 2: inactive, grey but usable; user 3: no name.
        QCOMPARE(m.label(QStringLiteral("lblAdresseName(%1)").arg(8 * g))->text(), QStringLiteral("Anna"));
        QCOMPARE(m.label(QStringLiteral("lblAdresseEmpf(%1)").arg(8 * g))->text(), QStringLiteral("+41791112233"));
        QCOMPARE(forecolour(m.label(QStringLiteral("lblAdresseEmpf(%1)").arg(8 * g))), 0xFF0000);
        QCOMPARE(m.label(QStringLiteral("lblAdresseName(%1)").arg(8 * g))->palette().color(QPalette::WindowText),
                 QColor(0, 0, 255));
        QCOMPARE(forecolour(m.label(QStringLiteral("lblAdresseName(%1)").arg(8 * g + 1))), 0x808080);
        QCOMPARE(m.label(QStringLiteral("lblAdresseName(%1)").arg(8 * g + 2))->text(), Undefined);
    }
    QVERIFY(m.box("ChkEmpOP", 16)->isEnabled());
    QVERIFY(m.box("ChkOP", 0)->isChecked());
    QVERIFY(m.box("ChkAlarmDispo", 0)->isEnabled());
    QVERIFY(m.get<QSpinBox>("txtADVerzögerungszeit")->isEnabled());
    QVERIFY(!gState().unsavedChanges);
}

void TestEditor::checkAllHonoursDisabledColumns()
{
    TestEnv env;
    seedUsers(env);
    Main m;
    auto* checkAll3 = m.get<QPushButton>("cmdCheckAllEmp(3)"); // user 4, no number
    m.showTab(checkAll3);
    QTest::mouseClick(checkAll3, Qt::LeftButton);
    QCOMPARE(value(env, "SELECT SUM(Benutzer4) FROM \"Konfiguration_Eingänge\"").toInt(), 0);
    for (int k = 0; k < 16; ++k)
        QVERIFY(!m.box("ChkEmpOP", 48 + k)->isChecked());
    QVERIFY(!gState().unsavedChanges);

    auto* checkAll9 = m.get<QPushButton>("cmdCheckAllEmp(9)"); // output tab, user 2
    m.showTab(checkAll9);
    QTest::mouseClick(checkAll9, Qt::LeftButton);
    QCOMPARE(value(env, "SELECT SUM(Benutzer2) FROM \"Konfiguration_Ausgänge\"").toInt(), 8);
    QCOMPARE(value(env, "SELECT SUM(Benutzer1) FROM \"Konfiguration_Ausgänge\"").toInt(), 0);
    QVERIFY(gState().unsavedChanges);
    QTest::mouseClick(m.get<QPushButton>("cmdClrAllEmp(9)"), Qt::LeftButton);
    QCOMPARE(value(env, "SELECT SUM(Benutzer2) FROM \"Konfiguration_Ausgänge\"").toInt(), 0);

    // No user with a number: the event boxes cannot be checked, but can be cleared.
    TestEnv env2;
    env2.exec("UPDATE Alarm_Dispositiv SET IN_SF=3");
    Main m2;
    QVERIFY(!m2.box("ChkAlarmDispo", 0)->isEnabled());
    QVERIFY(!m2.get<QSpinBox>("txtADVerzögerungszeit")->isEnabled());
    QVERIFY(m2.box("ChkAlarmDispo", 2)->isChecked());
    QTest::mouseClick(m2.get<QPushButton>("cmdCheckAllEvents"), Qt::LeftButton);
    QCOMPARE(value(env2, "SELECT IN_FF FROM Alarm_Dispositiv").toInt(), 0);
    QTest::mouseClick(m2.get<QPushButton>("cmdClrAllEvents"), Qt::LeftButton);
    QCOMPARE(value(env2, "SELECT IN_SF FROM Alarm_Dispositiv").toInt(), 0);
}

void TestEditor::invalidCharacterRefusedOnceAtItsPosition()
{
    TestEnv env;
    seedUsers(env);
    Main m;
    QLineEdit* e = m.edit("txtEingangSF(0)");
    m.type(e, QStringLiteral("Tür zu"));
    m.leave(e);
    QCOMPARE(env.messages.size(), 1);
    QCOMPARE(env.messages[0].text, Wrong1 + "\n" + Wrong2);
    QCOMPARE(env.messages[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(env.messages[0].title, gState().programName);
    QVERIFY(e->hasFocus());
    QCOMPARE(e->cursorPosition(), 1);
    QCOMPARE(e->text(), QStringLiteral("Tür zu"));
    QVERIFY(smsText(env, 1).isNull());
    QVERIFY(!gState().unsavedChanges);
    // An underscore in a text with several bad characters: still one message.
    env.messages.clear();
    m.type(e, QStringLiteral("a_b[c~"));
    m.leave(e);
    QCOMPARE(env.messages.size(), 1);
    QCOMPARE(e->cursorPosition(), 1);
    // Corrected, it passes and is stored.
    env.messages.clear();
    m.type(e, QStringLiteral("Tuer zu!"));
    m.leave(e);
    QVERIFY(env.messages.isEmpty());
    QVERIFY(!e->hasFocus());
    QCOMPARE(smsText(env, 1).toString(), QStringLiteral("Tuer zu!"));
}

void TestEditor::counterAndLength()
{
    TestEnv env;
    env.exec("UPDATE SMS SET Deutsch=NULL WHERE ID=26");
    Main m;
    QLineEdit* e = m.edit("txtSMSAufstarten");
    QLabel* counter = m.label("lblAnzZeichenPON");
    QCOMPARE(counter->text(), QStringLiteral("63"));
    m.type(e, QString(63, 'x'));
    QCOMPARE(counter->text(), QStringLiteral("0"));
    QTest::keyClicks(e, "yz");
    QCOMPARE(e->text().size(), 63);
    QCOMPARE(counter->text(), QStringLiteral("0"));
    QTest::keyClick(e, Qt::Key_Backspace);
    QCOMPARE(counter->text(), QStringLiteral("1"));
    // A fill sets the counter as well.
    env.exec("UPDATE SMS SET Deutsch='Start' WHERE ID=25");
    m.w->editorBinding().fillAlarmInputText();
    QCOMPARE(m.label("lblAnzZeichenAD")->text(), QStringLiteral("58"));
}

void TestEditor::textWrittenToItsRowAndLanguageColumn()
{
    {
        TestEnv env;
        Main m;
        QLineEdit* ff2 = m.edit("txtEingangFF(2)");
        m.type(ff2, "Eingang 3 weg");
        m.leave(ff2);
        QCOMPARE(smsText(env, 6).toString(), QStringLiteral("Eingang 3 weg"));
        QLineEdit* sf3 = m.edit("txtAusgangSF(3)");
        m.type(sf3, "Relais 4 ein");
        QTest::keyClick(sf3, Qt::Key_Return); // Enter writes at once, the focus stays
        QVERIFY(sf3->hasFocus());
        QCOMPARE(smsText(env, 23).toString(), QStringLiteral("Relais 4 ein"));
        QLineEdit* ad = m.edit("txtAlarmDispositiv");
        m.type(ad, "Alarm");
        m.leave(ad);
        QCOMPARE(smsText(env, 25).toString(), QStringLiteral("Alarm"));
    }
    {
        TestEnv env(QStringLiteral("2"));
        env.exec("UPDATE SMS SET Deutsch='Tor auf', Englisch='Gate open' WHERE ID=1");
        Main m;
        QLineEdit* e = m.edit("txtEingangSF(0)");
        QCOMPARE(e->text(), QStringLiteral("Gate open"));
        m.type(e, "Gate opened");
        m.leave(e);
        QCOMPARE(smsText(env, 1, "Englisch").toString(), QStringLiteral("Gate opened"));
        QCOMPARE(smsText(env, 1, "Deutsch").toString(), QStringLiteral("Tor auf"));
    }
}

void TestEditor::emptiedBoxStoresNull()
{
    TestEnv env;
    env.exec("UPDATE SMS SET Deutsch='Alt', Englisch='Old' WHERE ID=5");
    Main m;
    QLineEdit* e = m.edit("txtEingangSF(2)");
    QCOMPARE(e->text(), QStringLiteral("Alt"));
    m.type(e, QString());
    m.leave(e);
    QVERIFY(smsText(env, 5).isNull());
    QCOMPARE(smsText(env, 5, "Englisch").toString(), QStringLiteral("Old"));
    QVERIFY(gState().unsavedChanges);
    m.w->editorBinding().refresh();
    QCOMPARE(e->text(), QString());
    QCOMPARE(m.label("lblAnzZeichenSF(2)")->text(), QStringLiteral("63"));
}

void TestEditor::delayFieldRefusesAndStores()
{
    TestEnv env;
    seedUsers(env);
    gState().messages.insert("gsMsgVerzögerungszeit", "1 bis 99 Minuten");
    gState().messages.insert("gsFehlerEingabe", "Eingabefehler");
    Main m;
    auto* d = m.get<QSpinBox>("txtADVerzögerungszeit");
    QCOMPARE(d->value(), 5);
    const auto stored = [&] { return value(env, "SELECT \"Verzögerungszeit\" FROM Alarm_Dispositiv").toInt(); };
    struct Case {
        const char* text;
        Dialogs::Icon icon;
    };
    for (const Case& c : {Case {"0", Dialogs::Icon::Exclamation}, Case {"", Dialogs::Icon::Information}}) {
        env.messages.clear();
        m.type(d, QString::fromLatin1(c.text));
        m.leave(d);
        QCOMPARE(env.messages.size(), 1);
        QCOMPARE(env.messages[0].text, QStringLiteral("1 bis 99 Minuten"));
        QCOMPARE(env.messages[0].title, QStringLiteral("Eingabefehler"));
        QCOMPARE(env.messages[0].icon, c.icon);
        QVERIFY(d->hasFocus());
        QCOMPARE(d->property("BackColor").toInt(), 0xFFFF);
        QCOMPARE(stored(), 5);
    }
    QVERIFY(!gState().unsavedChanges);
    // Neither a letter nor a third digit goes in.
    m.type(d, "1a00");
    QCOMPARE(d->cleanText(), QStringLiteral("10"));
    env.messages.clear();
    m.type(d, "75");
    QTest::keyClick(d, Qt::Key_Return);
    QVERIFY(env.messages.isEmpty());
    QVERIFY(d->hasFocus());
    QCOMPARE(d->property("BackColor").toInt(), int(0x80000005u));
    QCOMPARE(stored(), 75);
    QVERIFY(gState().unsavedChanges);
    // The arrow keys store each step, and stop at 1 and 99.
    QTest::keyClick(d, Qt::Key_Up);
    QCOMPARE(stored(), 76);
    QTest::keyClick(d, Qt::Key_PageUp);
    QTest::keyClick(d, Qt::Key_PageUp);
    QTest::keyClick(d, Qt::Key_PageUp);
    QCOMPARE(stored(), 99);
    QVERIFY(env.messages.isEmpty());

    // A delay outside 1..99 in the configuration (an erased unit's 255) shows empty and is kept
    // when the field is only passed through; the first step up chooses 1.
    env.exec(QStringLiteral("UPDATE Alarm_Dispositiv SET \"Verzögerungszeit\" = 255"));
    m.w->editorBinding().refresh();
    QCOMPARE(d->cleanText().trimmed(), QString());
    d->setFocus();
    m.leave(d);
    QVERIFY(env.messages.isEmpty());
    QCOMPARE(stored(), 255);
    m.showTab(d);
    d->setFocus();
    QTest::keyClick(d, Qt::Key_Up);
    QCOMPARE(d->value(), 1);
    QCOMPARE(stored(), 1);
    QTest::keyClick(d, Qt::Key_Down);
    QCOMPARE(d->value(), 1);
    QVERIFY(env.messages.isEmpty());
    // A delay typed over an empty field is stored and shown as typed.
    env.exec(QStringLiteral("UPDATE Alarm_Dispositiv SET \"Verzögerungszeit\" = 255"));
    m.w->editorBinding().refresh();
    m.type(d, "75");
    m.leave(d);
    QVERIFY(env.messages.isEmpty());
    QCOMPARE(stored(), 75);
    QCOMPARE(d->value(), 75);
    QCOMPARE(d->cleanText(), QStringLiteral("75"));
}

// At the default width the SMS texts show all 63 characters; a long name and a phone number
// above a column are shortened instead, and their tool tip gives them whole.
void TestEditor::recipientColumnsGiveWayToTheTexts()
{
    TestEnv env;
    seedUsers(env);
    env.exec("UPDATE Adressen SET Namen='Feuerwehr Seedorf Nord Pikett', Natel_Nummer='+417912345678' WHERE ID=3");
    Main m;
    m.w->resize(1216, 700);
    m.w->editorBinding().refresh();
    QCoreApplication::processEvents();
    for (const char* text : {"txtEingangSF(0)", "txtAlarmDispositiv", "txtSMSAufstarten"})
        QCOMPARE(m.edit(text)->width(), m.edit(text)->fontMetrics().averageCharWidth() * 63 + 12);
    const QChar ellipsis(0x2026);
    for (const char* block : {"lblAdresseName(2)", "lblAdresseName(18)"}) {
        auto* name = qobject_cast<FittedLabel*>(m.label(block));
        QVERIFY(name);
        QCOMPARE(name->text(), QStringLiteral("Feuerwehr Seedorf Nord Pikett"));
        const QStringList lines = name->linesFor(name->contentsRect().width());
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines.last().endsWith(ellipsis), qPrintable(lines.join('|')));
    }
    auto* number = qobject_cast<FittedLabel*>(m.label("lblAdresseEmpf(2)"));
    QVERIFY(number && number->isShortened());
    const QString shown = number->linesFor(number->contentsRect().width()).value(0);
    // The last digits tell the numbers apart: they stay.
    QVERIFY2(shown.startsWith(ellipsis) && shown.size() >= 6 && QStringLiteral("+417912345678").endsWith(shown.mid(1)),
             qPrintable(shown));
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), number->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(number, &help);
    QVERIFY2(QToolTip::text().startsWith(QStringLiteral("+417912345678")), qPrintable(QToolTip::text()));
    // A short name is not touched.
    auto* anna = qobject_cast<FittedLabel*>(m.label("lblAdresseName(0)"));
    QVERIFY(anna && !anna->isShortened());
}

void TestEditor::alarmEventsAndUsers()
{
    TestEnv env;
    seedUsers(env);
    Main m;
    QCheckBox* e5 = m.box("ChkAlarmDispo", 5);
    m.showTab(e5);
    QTest::mouseClick(e5, Qt::LeftButton);
    QCOMPARE(value(env, "SELECT IN_FF FROM Alarm_Dispositiv").toInt(), 4);
    QTest::mouseClick(m.get<QPushButton>("cmdCheckAllEvents"), Qt::LeftButton);
    QCOMPARE(value(env, "SELECT IN_SF FROM Alarm_Dispositiv").toInt(), 255);
    QCOMPARE(value(env, "SELECT IN_FF FROM Alarm_Dispositiv").toInt(), 255);
    QTest::mouseClick(m.get<QPushButton>("cmdClrAllEvents"), Qt::LeftButton);
    QCOMPARE(value(env, "SELECT IN_SF + IN_FF FROM Alarm_Dispositiv").toInt(), 0);
    QTest::mouseClick(m.box("ChkBenutzerAlarmDispo", 0), Qt::LeftButton);
    QCOMPARE(value(env, "SELECT Benutzer1 FROM Alarm_Dispositiv").toInt(), 1);
    QTest::mouseClick(m.box("ChkBenutzerPowerON", 2), Qt::LeftButton);
    QCOMPARE(value(env, "SELECT Benutzer3 FROM PowerOn").toInt(), 1);
    // A refresh shows what the file holds.
    env.exec("UPDATE Alarm_Dispositiv SET IN_SF=129");
    m.w->editorBinding().refresh();
    QVERIFY(m.box("ChkAlarmDispo", 0)->isChecked());
    QVERIFY(m.box("ChkAlarmDispo", 14)->isChecked());
    QVERIFY(!m.box("ChkAlarmDispo", 2)->isChecked());
}

void TestEditor::defaultStateAndOperator()
{
    TestEnv env;
    seedUsers(env);
    Main m;
    QCheckBox* d0 = m.box("ChkDefaultState", 0);
    m.showTab(d0);
    QTest::mouseClick(d0, Qt::LeftButton);
    QCOMPARE(outputFlag(env, 1, "DefaultState"), 1);
    QVERIFY(gState().unsavedChanges);
    gState().unsavedChanges = false;
    QTest::mouseClick(m.box("ChkDefaultState", 7), Qt::LeftButton);
    QCOMPARE(outputFlag(env, 8, "DefaultState"), 1);
    QVERIFY(gState().unsavedChanges);
    // A box set by program (the relay shortcuts do so) reaches the store as well.
    m.box("ChkDefaultState", 3)->setChecked(true);
    QCOMPARE(outputFlag(env, 4, "DefaultState"), 1);
    gState().unsavedChanges = false;
    QTest::mouseClick(m.box("ChkOP", 1), Qt::LeftButton);
    QCOMPARE(value(env, "SELECT Operator FROM Adressen WHERE ID=2").toInt(), 1);
    QVERIFY(gState().unsavedChanges);
}

void TestEditor::changedFlagFollowsRealChangesAndClosingAsks()
{
    {
        TestEnv env;
        seedUsers(env);
        env.exec("UPDATE SMS SET Deutsch='0123456789' WHERE ID=1");
        Main m;
        QLineEdit* e = m.edit("txtEingangSF(0)");
        // Entering and leaving without a change: no flag.
        m.showTab(e);
        e->setFocus();
        m.leave(e);
        QVERIFY(!gState().unsavedChanges);
        // Another text of the same length is a change.
        m.type(e, "abcdefghij");
        m.leave(e);
        QVERIFY(gState().unsavedChanges);
        QCOMPARE(smsText(env, 1).toString(), QStringLiteral("abcdefghij"));

        // Closing asks; answered No, nothing more happens and the window closes.
        env.messages.clear();
        env.answers << QMessageBox::No;
        QVERIFY(m.w->close());
        QCOMPARE(env.messages.size(), 1);
        QCOMPARE(env.messages[0].text, QStringLiteral("gsMsgÄnderungenSpeichern"));
    }
    {
        // A text typed and not yet left when closing is written first, then asked about.
        TestEnv env2;
        Main m2;
        QLineEdit* p = m2.edit("txtSMSAufstarten");
        m2.type(p, "Hallo");
        env2.answers << QMessageBox::No;
        QVERIFY(m2.w->close());
        QCOMPARE(smsText(env2, 26).toString(), QStringLiteral("Hallo"));
        QCOMPARE(env2.messages.size(), 1);
        QCOMPARE(env2.messages[0].text, QStringLiteral("gsMsgÄnderungenSpeichern"));
    }
    {
        // A refused text keeps the window open, with the focus in the box.
        TestEnv env4;
        Main m4;
        QLineEdit* q = m4.edit("txtAusgangFF(0)");
        m4.type(q, QStringLiteral("Relais {aus}"));
        QVERIFY(!m4.w->close());
        QVERIFY(m4.w->isVisible());
        QCOMPARE(env4.messages.size(), 1);
        QCOMPARE(env4.messages[0].text, Wrong1 + "\n" + Wrong2);
        QVERIFY(q->hasFocus());
        QVERIFY(smsText(env4, 18).isNull());
        m4.type(q, QString());
    }
    {
        // Cancel keeps the window and the edits; the question offers all three answers.
        TestEnv env5;
        Main m5;
        QLineEdit* t = m5.edit("txtSMSAufstarten");
        m5.type(t, "Hallo Welt");
        m5.leave(t);
        env5.answers << QMessageBox::Cancel;
        QVERIFY(!m5.w->close());
        QVERIFY(m5.w->isVisible());
        QVERIFY(gState().unsavedChanges);
        QCOMPARE(env5.messages.size(), 1);
        QCOMPARE(env5.messages[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

        // Yes, but the save fails (its folder is gone): the reason is shown, the window stays.
        Settings::set(QStringLiteral("Profile"), QStringLiteral("File"), env5.path("gone/Site.cfg"));
        env5.messages.clear();
        env5.answers << QMessageBox::Yes;
        QVERIFY(!m5.w->close());
        QVERIFY(m5.w->isVisible());
        QCOMPARE(env5.messages.size(), 2);
        QVERIFY2(env5.messages[1].text.contains(QStringLiteral("Site.cfg")), qPrintable(env5.messages[1].text));
        QVERIFY(!QFile::exists(env5.path("gone/Site.cfg")));

        // Yes with a save that works closes the window and writes the file.
        Settings::set(QStringLiteral("Profile"), QStringLiteral("File"), env5.path("UserProfile/Site.cfg"));
        env5.answers << QMessageBox::Yes;
        QVERIFY(m5.w->close());
        QVERIFY(QFile::exists(env5.path("UserProfile/Site.cfg")));
    }
    {
        // Nothing changed: closing asks nothing.
        TestEnv env3;
        Main m3;
        QVERIFY(m3.w->close());
        QVERIFY(env3.messages.isEmpty());
    }
}

void TestEditor::missingRowInTheWindow()
{
    TestEnv env;
    seedUsers(env);
    env.exec("DELETE FROM \"Konfiguration_Eingänge\" WHERE ID=6");
    Main m;
    env.messages.clear();
    QCheckBox* b = m.box("ChkEmpOP", 37);
    m.showTab(b);
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(env.messages.size(), 1);
    QCOMPARE(env.messages[0].icon, Dialogs::Icon::Critical);
    QVERIFY(env.messages[0].text.startsWith(QStringLiteral("Die Konfigurationsdatenbank ist unvollständig")));
    QVERIFY(env.messages[0].text.contains(QStringLiteral("Konfiguration_Eingänge")));
    QVERIFY(!b->isChecked()); // the box shows what the store holds
    QCOMPARE(value(env, "SELECT SUM(Benutzer3) FROM \"Konfiguration_Eingänge\"").toInt(), 0);
    QVERIFY(!gState().unsavedChanges);
}

void TestEditor::textBeingEditedIsWrittenBeforeAToolbarCommand()
{
    TestEnv env;
    Main m;
    QToolButton* first = nullptr;
    for (QToolButton* b : m.w->toolbar()->findChildren<QToolButton*>())
        if (b->isVisible() && b->isEnabled() && !first)
            first = b;
    QVERIFY(first);
    QLineEdit* e = m.edit("txtEingangSF(1)");
    m.type(e, "Neu");
    QTest::mousePress(first, Qt::LeftButton);
    QCOMPARE(smsText(env, 3).toString(), QStringLiteral("Neu"));
    QVERIFY(gState().unsavedChanges);
    // A refused text stops the command: the press does not reach the button.
    m.type(e, QStringLiteral("Neu ß"));
    QTest::mouseRelease(first, Qt::LeftButton, {}, QPoint(-20, -20)); // released outside: no command
    env.messages.clear();
    QTest::mousePress(first, Qt::LeftButton);
    QCOMPARE(env.messages.size(), 1);
    QVERIFY(!first->isDown());
    QCOMPARE(smsText(env, 3).toString(), QStringLiteral("Neu"));
}

void TestEditor::phoneBookFromTheMenuRelabelsTheWindow()
{
    TestEnv env;
    seedUsers(env);
    env.exec("UPDATE Alarm_Dispositiv SET Benutzer3=1");
    Main m;
    QVERIFY(m.box("ChkBenutzerAlarmDispo", 2)->isChecked());
    QVERIFY(!m.box("ChkEmpOP", 48)->isEnabled());
    auto* action = m.w->findChild<QAction*>("mnuTelefonbuch");
    QVERIFY(action);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<PhoneBookDialog*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        seen = true;
        // User 3: inactive now.
        dlg->moveTo(2);
        dlg->moveTo(2);
        dlg->activeBox->setChecked(false);
        dlg->moveTo(2);
        // User 4 gets a number.
        dlg->nameBox->setText("Dora");
        dlg->numberBox->setText("0791230000");
        dlg->passwordBox->setText("1357");
        dlg->saveEntry();
    });
    action->trigger();
    QVERIFY(seen);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(m.box("ChkEmpOP", 48)->isEnabled());
    QCOMPARE(m.label("lblAdresseName(3)")->text(), QStringLiteral("Dora"));
    QCOMPARE(m.label("lblAdresseEmpf(11)")->text(), QStringLiteral("0791230000"));
    QCOMPARE(forecolour(m.label("lblAdresseName(2)")), 0x808080);
    // The inactive user no longer receives the alarm input.
    QVERIFY(!m.box("ChkBenutzerAlarmDispo", 2)->isChecked());
    QCOMPARE(value(env, "SELECT Benutzer3 FROM Alarm_Dispositiv").toInt(), 0);
    QVERIFY(gState().unsavedChanges);

    // A double click on a recipient label opens the phone book as well.
    bool opened = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* dlg = qobject_cast<PhoneBookDialog*>(QApplication::activeModalWidget())) {
            opened = true;
            poll.stop();
            dlg->saveEntry();
        }
    });
    poll.start();
    QLabel* name = m.label("lblAdresseName(8)");
    m.showTab(name);
    QTest::mouseDClick(name, Qt::LeftButton);
    QTRY_VERIFY(opened);
    QTRY_VERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TestEditor)
#include "test_editor.moc"
