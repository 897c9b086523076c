// The configuration editor: the main window's editor widgets driven with clicks and keys,
// checked against the database file.
#include "TestEnv.h"
#include "WindowWidgets.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "link/Channel.h"
#include "ui/DeviceController.h"
#include "ui/EditorBinding.h"
#include "ui/MainWindow.h"
#include "ui/PhoneBookDialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {
const QString Undefined = QStringLiteral("nicht definiert");
const QString Wrong = QStringLiteral("Falsches Zeichen!\nErlaubt: A-Z a-z 0-9 und Satzzeichen.");
const QString InputFlags = QStringLiteral("SELECT SUM(Benutzer1+Benutzer2+Benutzer3+Benutzer4+Benutzer5+Benutzer6+"
                                          "Benutzer7+Benutzer8) FROM \"Konfiguration_Eingänge\"");

// Users 1..3 and 8 with a number (2 inactive, 3 without a name), 4..7 without.
void seedUsers(const TestEnv& env)
{
    env.exec("UPDATE Adressen SET Namen='Anna', Natel_Nummer='+41791112233', Passwort='1234', Operator=1, Status=1 "
             "WHERE ID=1");
    env.exec("UPDATE Adressen SET Namen='Beat', Natel_Nummer='0794445566', Passwort='5678', Operator=0, Status=0 "
             "WHERE ID=2");
    env.exec("UPDATE Adressen SET Natel_Nummer='0797778899', Passwort='4321', Operator=0, Status=1 WHERE ID IN (3, 8)");
}

QVariant smsText(const TestEnv& env, int id, const QString& column = QStringLiteral("Deutsch"))
{
    return env.queryValue(QStringLiteral("SELECT \"%1\" FROM SMS WHERE ID=%2").arg(column).arg(id));
}

int forecolour(QLabel* l) { return l->property("ForeColor").toInt(); }

// The main window shown and active, with the editor's German messages.
struct Main {
    Main()
    {
        auto& m = gState().messages;
        m.insert("gsDefined_Undefined", Undefined);
        m.insert("gsMsgFalschesZeichen", Wrong.section('\n', 0, 0));
        m.insert("gsMsgFalschesZeichen2", Wrong.section('\n', 1));
        m.insert("gsMsgVerzögerungszeit", "1 bis 99 Minuten");
        m.insert("gsFehlerEingabe", "Eingabefehler");
        gState().programName = QStringLiteral("SMS Switch Vantor");
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
    template <typename T = QWidget> T* get(const QString& name) const { return WindowWidgets::named<T>(*w, name); }
    QCheckBox* box(const char* array, int i) const { return WindowWidgets::named<QCheckBox>(*w, array, i); }
    QLabel* label(const QString& name) const { return get<QLabel>(name); }
    // Brings the tab of a control to the front so that it can take the focus.
    void showTab(QWidget* c)
    {
        for (int i = 0; i < w->tabs()->count(); ++i)
            if (w->tabs()->widget(i)->isAncestorOf(c))
                w->tabs()->setCurrentIndex(i);
    }
    void click(QWidget* c)
    {
        showTab(c);
        QTest::mouseClick(c, Qt::LeftButton);
    }
    void type(QWidget* e, const QString& text)
    {
        showTab(e);
        WindowWidgets::typeInto(e, text);
    }
    void typeAndLeave(QWidget* e, const QString& text)
    {
        type(e, text);
        QTest::keyClick(e, Qt::Key_Tab);
    }
    MainWindow* w = nullptr;
};
} // namespace

class TestEditor : public QObject {
    Q_OBJECT
private slots:
    void clickReachesItsColumn_data();
    void clickReachesItsColumn();
    void userWithoutNumberDisablesColumnAndGreysLabels();
    void textReachesItsRowAndLanguage_data();
    void textReachesItsRowAndLanguage();
    void invalidCharacterRefusedOnceAtItsPosition();
    void delayFieldRefusesAndStores();
    void closingAsksAboutRealChanges();
    void missingRowInTheWindow();
    void textBeingEditedIsWrittenBeforeAToolbarCommand();
    void phoneBookFromTheMenuRelabelsTheWindow();
};

void TestEditor::clickReachesItsColumn_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("checked");
    const auto row = [](const char* box, const char* column, const char* table, int checked) {
        QTest::newRow(box) << QString::fromUtf8(box)
                           << QStringLiteral("SELECT %1 FROM %2").arg(QLatin1String(column), QString::fromUtf8(table))
                           << checked;
    };
    row("ChkEmpOP(37)", "Benutzer3", "\"Konfiguration_Eingänge\" WHERE ID=6", 1);
    row("ChkEmpOut(63)", "Benutzer8", "\"Konfiguration_Ausgänge\" WHERE ID=8", 1);
    row("ChkDefaultState(7)", "DefaultState", "\"Konfiguration_Ausgänge\" WHERE ID=8", 1);
    row("ChkOP(1)", "Operator", "Adressen WHERE ID=2", 1);
    row("ChkAlarmDispo(5)", "IN_FF", "Alarm_Dispositiv", 4);
    row("ChkAlarmDispo(14)", "IN_SF", "Alarm_Dispositiv", 128);
    row("ChkBenutzerAlarmDispo(0)", "Benutzer1", "Alarm_Dispositiv", 1);
    row("ChkBenutzerPowerON(2)", "Benutzer3", "PowerOn", 1);
}

// A click writes its one bit and marks the configuration changed; a second click takes it
// back; a box set by program (the relay shortcuts do so) reaches the store as well.
void TestEditor::clickReachesItsColumn()
{
    QFETCH(QString, box);
    QFETCH(QString, query);
    QFETCH(int, checked);
    TestEnv env;
    seedUsers(env);
    Main m;
    const int inputsBefore = env.queryValue(InputFlags).toInt();
    auto* b = m.get<QCheckBox>(box);
    m.click(b);
    QVERIFY(b->isChecked() && gState().unsavedChanges);
    QCOMPARE(env.queryValue(query).toInt(), checked);
    QCOMPARE(env.queryValue(InputFlags).toInt(), inputsBefore + (box.startsWith("ChkEmpOP") ? 1 : 0));
    m.click(b);
    QCOMPARE(env.queryValue(query).toInt(), 0);
    b->setChecked(true);
    QCOMPARE(env.queryValue(query).toInt(), checked);
}

// Users 4..7 have no number: their boxes are disabled (check all passes them by), a stored
// flag kept and shown; the recipient labels are grey without a number or when inactive, blue
// when active.
void TestEditor::userWithoutNumberDisablesColumnAndGreysLabels()
{
    TestEnv env;
    seedUsers(env);
    env.exec("UPDATE \"Konfiguration_Eingänge\" SET Benutzer4=1 WHERE ID=2");
    Main m;
    QString enabled;
    for (int k = 0; k < 128; k += 4)
        enabled += QString::number(m.box("ChkEmpOP", k)->isEnabled());
    for (int k = 0; k < 64; k += 4)
        enabled += QString::number(m.box("ChkEmpOut", k)->isEnabled());
    for (const char* array : {"ChkOP", "ChkBenutzerPowerON", "ChkBenutzerAlarmDispo"})
        enabled += QString::number(m.box(array, 3)->isEnabled());
    QCOMPARE(enabled, QStringLiteral("111111111111000000000000000011111111110000000011000"));
    QVERIFY(m.box("ChkEmpOP", 49)->isChecked());
    for (int g = 0; g < 3; ++g) {
        const auto name = [&](int user) { return m.label(QStringLiteral("lblAdresseName(%1)").arg(8 * g + user)); };
        const auto number = [&](int user) { return m.label(QStringLiteral("lblAdresseEmpf(%1)").arg(8 * g + user)); };
        QCOMPARE(name(3)->text() + number(3)->text(), Undefined);
        QCOMPARE(name(3)->palette().color(QPalette::WindowText), QColor(128, 128, 128));
        QCOMPARE(name(0)->text() + number(0)->text(), QStringLiteral("Anna+41791112233"));
        QCOMPARE(forecolour(number(0)), 0xFF0000);
        QCOMPARE(name(0)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(forecolour(name(1)), 0x808080); // inactive: grey but usable
        QCOMPARE(name(2)->text(), Undefined); // no name
    }
    QVERIFY(!gState().unsavedChanges);
    // Check all and clear all leave the disabled columns alone.
    const auto sum = [&](const char* sql) { return env.queryValue(QString::fromUtf8(sql)).toInt(); };
    m.click(m.get<QPushButton>("cmdCheckAllEmp(3)")); // user 4, no number
    QCOMPARE(sum("SELECT SUM(Benutzer4) FROM \"Konfiguration_Eingänge\""), 1);
    QVERIFY(!m.box("ChkEmpOP", 48)->isChecked() && !gState().unsavedChanges);
    m.click(m.get<QPushButton>("cmdCheckAllEmp(9)")); // output tab, user 2
    QCOMPARE(sum("SELECT SUM(Benutzer2) * 10 + SUM(Benutzer1) FROM \"Konfiguration_Ausgänge\""), 80);
    QVERIFY(gState().unsavedChanges);
    m.click(m.get<QPushButton>("cmdClrAllEmp(9)"));
    QCOMPARE(sum("SELECT SUM(Benutzer2) FROM \"Konfiguration_Ausgänge\""), 0);
    m.click(m.get<QPushButton>("cmdCheckAllEvents"));
    QCOMPARE(sum("SELECT IN_SF + IN_FF FROM Alarm_Dispositiv"), 510);
    m.click(m.get<QPushButton>("cmdClrAllEvents"));
    QCOMPARE(sum("SELECT IN_SF + IN_FF FROM Alarm_Dispositiv"), 0);
    // A refresh shows what the file holds.
    env.exec("UPDATE Alarm_Dispositiv SET IN_SF=129");
    m.w->editorBinding().refresh();
    QVERIFY(m.box("ChkAlarmDispo", 0)->isChecked() && m.box("ChkAlarmDispo", 14)->isChecked());
    QVERIFY(!m.box("ChkAlarmDispo", 2)->isChecked());

    // No user with a number: the event boxes cannot be checked, but can be cleared.
    TestEnv env2;
    env2.exec("UPDATE Alarm_Dispositiv SET IN_SF=3");
    Main m2;
    QVERIFY(!m2.box("ChkAlarmDispo", 0)->isEnabled() && !m2.get<QSpinBox>("txtADVerzögerungszeit")->isEnabled());
    QTest::mouseClick(m2.get<QPushButton>("cmdCheckAllEvents"), Qt::LeftButton);
    QCOMPARE(env2.queryValue("SELECT IN_FF FROM Alarm_Dispositiv").toInt(), 0);
    QTest::mouseClick(m2.get<QPushButton>("cmdClrAllEvents"), Qt::LeftButton);
    QCOMPARE(env2.queryValue("SELECT IN_SF FROM Alarm_Dispositiv").toInt(), 0);
}

void TestEditor::textReachesItsRowAndLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("id");
    const auto row = [](const char* name, const char* language, const char* box, const char* typed, int id) {
        QTest::newRow(name) << QString::fromLatin1(language) << QString::fromLatin1(box) << QString::fromLatin1(typed)
                            << id;
    };
    row("input FF 3", "1", "txtEingangFF(2)", "Eingang 3 weg", 6);
    row("output SF 4", "1", "txtAusgangSF(3)", "Relais 4 ein", 23);
    row("alarm input", "1", "txtAlarmDispositiv", "Alarm", 25);
    row("same length", "1", "txtEingangSF(0)", "abcdefghij", 1);
    row("English", "2", "txtEingangSF(0)", "Gate opened", 1);
    row("emptied", "1", "txtEingangSF(2)", "", 5);
}

// Each box writes its own row and the column of the language shown, and only on a change;
// Enter writes at once and keeps the focus; an emptied box stores no text.
void TestEditor::textReachesItsRowAndLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(int, id);
    TestEnv env(language);
    env.exec(QStringLiteral("UPDATE SMS SET Deutsch='0123456789', Englisch='Gate open' WHERE ID=%1").arg(id));
    Main m;
    auto* e = m.get<QLineEdit>(box);
    const QString german = QStringLiteral("0123456789"), english = QStringLiteral("Gate open");
    QCOMPARE(e->text(), language == "2" ? english : german);
    m.showTab(e);
    e->setFocus();
    QTest::keyClick(e, Qt::Key_Tab); // entered and left without a change: nothing
    QVERIFY(!gState().unsavedChanges);
    m.type(e, typed);
    QTest::keyClick(e, Qt::Key_Return);
    QVERIFY(e->hasFocus() && gState().unsavedChanges);
    const QVariant stored = smsText(env, id, language == "2" ? "Englisch" : "Deutsch");
    QCOMPARE(stored.isNull(), typed.isEmpty());
    QCOMPARE(stored.toString(), typed);
    QCOMPARE(smsText(env, id, language == "2" ? "Deutsch" : "Englisch").toString(), language == "2" ? german : english);
}

// A character the unit cannot show is said once, at the first one, the focus kept there and
// nothing stored; corrected, the text passes. The counter follows the text.
void TestEditor::invalidCharacterRefusedOnceAtItsPosition()
{
    TestEnv env;
    Main m;
    auto* e = m.get<QLineEdit>("txtEingangSF(0)");
    m.typeAndLeave(e, QStringLiteral("Tür zu"));
    QCOMPARE(env.said(), QStringList {Wrong});
    QCOMPARE(env.messages[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(env.messages[0].title, gState().programName);
    QVERIFY(e->hasFocus());
    QCOMPARE(e->cursorPosition(), 1);
    QCOMPARE(e->text(), QStringLiteral("Tür zu"));
    QVERIFY(smsText(env, 1).isNull() && !gState().unsavedChanges);
    m.typeAndLeave(e, QStringLiteral("ab[c_~\t"));
    QCOMPARE(env.messages.size(), 2);
    QCOMPARE(e->cursorPosition(), 2);
    m.typeAndLeave(e, QStringLiteral("Tuer zu!"));
    QCOMPARE(env.messages.size(), 2);
    QCOMPARE(smsText(env, 1).toString(), QStringLiteral("Tuer zu!"));

    QCOMPARE(m.label("lblAnzZeichenPON")->text(), QStringLiteral("63"));
    m.type(m.get<QLineEdit>("txtSMSAufstarten"), QString(64, 'x'));
    QCOMPARE(m.label("lblAnzZeichenPON")->text(), QStringLiteral("0"));
    env.exec("UPDATE SMS SET Deutsch='Start' WHERE ID=25"); // a fill sets the counter as well
    m.w->editorBinding().fillAlarmInputText();
    QCOMPARE(m.label("lblAnzZeichenAD")->text(), QStringLiteral("58"));
}

// The alarm delay takes 1..99 minutes: anything else is refused where it was typed and the
// stored value kept; each step is stored. A delay outside 1..99 in the store (an erased
// unit's 255) shows empty and is kept when the field is only passed through.
void TestEditor::delayFieldRefusesAndStores()
{
    TestEnv env;
    seedUsers(env);
    Main m;
    auto* d = m.get<QSpinBox>("txtADVerzögerungszeit");
    const auto stored = [&] { return env.queryValue("SELECT \"Verzögerungszeit\" FROM Alarm_Dispositiv").toInt(); };
    QCOMPARE(d->text().trimmed(), QStringLiteral("5"));
    for (auto [text, icon] :
         {std::pair {"0", Dialogs::Icon::Exclamation}, std::pair {"120", Dialogs::Icon::Exclamation},
          std::pair {"", Dialogs::Icon::Information}}) {
        env.messages.clear();
        m.typeAndLeave(d, QString::fromLatin1(text));
        QCOMPARE(env.messages.size(), 1);
        QCOMPARE(env.messages[0].text + env.messages[0].title, QStringLiteral("1 bis 99 MinutenEingabefehler"));
        QCOMPARE(env.messages[0].icon, icon);
        QVERIFY(d->hasFocus());
        QCOMPARE(d->property("BackColor").toInt(), 0xFFFF);
        QCOMPARE(stored(), 5);
    }
    QVERIFY(!gState().unsavedChanges);
    m.type(d, "1a00"); // no letter goes in
    QCOMPARE(d->cleanText(), QStringLiteral("100"));
    m.type(d, "75");
    QTest::keyClick(d, Qt::Key_Return);
    QCOMPARE(d->property("BackColor").toInt(), int(0x80000005u));
    QCOMPARE(stored(), 75);
    QVERIFY(gState().unsavedChanges);
    QTest::keyClick(d, Qt::Key_Up);
    QCOMPARE(stored(), 76);
    env.exec(QStringLiteral("UPDATE Alarm_Dispositiv SET \"Verzögerungszeit\" = 255"));
    m.w->editorBinding().refresh();
    QCOMPARE(d->cleanText().trimmed(), QString());
    d->setFocus();
    QTest::keyClick(d, Qt::Key_Tab);
    QCOMPARE(stored(), 255);
    d->setFocus();
    QTest::keyClick(d, Qt::Key_Up); // the first step up chooses 1
    QTest::keyClick(d, Qt::Key_Down);
    QCOMPARE(stored(), 1);
    env.exec(QStringLiteral("UPDATE Alarm_Dispositiv SET \"Verzögerungszeit\" = 255"));
    m.w->editorBinding().refresh();
    m.typeAndLeave(d, "75");
    QCOMPARE(stored(), 75);
    QCOMPARE(env.messages.size(), 1);
}

void TestEditor::closingAsksAboutRealChanges()
{
    {
        // A text typed and not yet left when closing is written first, then asked about; No closes.
        TestEnv env;
        Main m;
        m.type(m.get<QLineEdit>("txtSMSAufstarten"), "Hallo");
        env.answers << QMessageBox::No;
        QVERIFY(m.w->close());
        QCOMPARE(smsText(env, 26).toString(), QStringLiteral("Hallo"));
        QCOMPARE(env.said(), QStringList {QStringLiteral("gsMsgÄnderungenSpeichern")});
        QCOMPARE(env.messages[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QVERIFY(!m.w->device().channel->isOpen());
    }
    {
        // A refused text keeps the window open, with the focus in the box.
        TestEnv env;
        Main m;
        auto* q = m.get<QLineEdit>("txtAusgangFF(0)");
        m.type(q, QStringLiteral("Relais {aus}"));
        QVERIFY(!m.w->close() && m.w->isVisible() && q->hasFocus() && smsText(env, 18).isNull());
        QCOMPARE(env.said(), QStringList {Wrong});
        m.type(q, QString());
    }
    // Cancel keeps the window and the edits; Yes with a save that fails (its folder is gone)
    // shows the reason and keeps the window; Yes with a save that works closes it.
    TestEnv env;
    Main m;
    m.typeAndLeave(m.get<QLineEdit>("txtSMSAufstarten"), "Hallo Welt");
    env.answers << QMessageBox::Cancel << QMessageBox::Yes << QMessageBox::Yes;
    QVERIFY(!m.w->close() && m.w->isVisible() && gState().unsavedChanges);
    Settings::set("Profile", "File", env.path("gone/Site.cfg"));
    QVERIFY(!m.w->close() && m.w->isVisible());
    QCOMPARE(env.messages.size(), 3);
    QVERIFY2(env.messages[2].text.contains(QStringLiteral("Site.cfg")), qPrintable(env.messages[2].text));
    QVERIFY(!QFile::exists(env.path("gone/Site.cfg")));
    Settings::set("Profile", "File", env.path("UserProfile/Site.cfg"));
    QVERIFY(m.w->close());
    QVERIFY(QFile::exists(env.path("UserProfile/Site.cfg")));
}

// A store row missing under a box: said once, the box shows what the store holds.
void TestEditor::missingRowInTheWindow()
{
    TestEnv env;
    seedUsers(env);
    env.exec("DELETE FROM \"Konfiguration_Eingänge\" WHERE ID=6");
    Main m;
    env.messages.clear();
    QCheckBox* b = m.box("ChkEmpOP", 37);
    m.click(b);
    QCOMPARE(env.messages.size(), 1);
    QCOMPARE(env.messages[0].icon, Dialogs::Icon::Critical);
    QVERIFY(env.messages[0].text.startsWith(QStringLiteral("Die Konfigurationsdatenbank ist unvollständig")));
    QVERIFY(env.messages[0].text.contains(QStringLiteral("Konfiguration_Eingänge")));
    QVERIFY(!b->isChecked() && !gState().unsavedChanges);
    QCOMPARE(env.queryValue(InputFlags).toInt(), 0);
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
    auto* e = m.get<QLineEdit>("txtEingangSF(1)");
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

// The phone book opened from the menu: user 3 made inactive (no longer receives the alarm
// input), user 4 given a number; the window shows both at once.
void TestEditor::phoneBookFromTheMenuRelabelsTheWindow()
{
    TestEnv env;
    seedUsers(env);
    env.exec("UPDATE Alarm_Dispositiv SET Benutzer3=1");
    Main m;
    QVERIFY(m.box("ChkBenutzerAlarmDispo", 2)->isChecked() && !m.box("ChkEmpOP", 48)->isEnabled());
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<PhoneBookDialog*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        seen = true;
        dlg->moveTo(2);
        dlg->moveTo(2);
        dlg->activeBox->setChecked(false);
        dlg->moveTo(2);
        dlg->nameBox->setText("Dora");
        dlg->numberBox->setText("0791230000");
        dlg->passwordBox->setText("1357");
        dlg->saveEntry();
    });
    m.get<QAction>("mnuTelefonbuch")->trigger();
    QVERIFY(seen && !QApplication::activeModalWidget());
    QVERIFY(m.box("ChkEmpOP", 48)->isEnabled());
    QCOMPARE(m.label("lblAdresseName(3)")->text() + m.label("lblAdresseEmpf(11)")->text(),
             QStringLiteral("Dora0791230000"));
    QCOMPARE(forecolour(m.label("lblAdresseName(2)")), 0x808080);
    QVERIFY(!m.box("ChkBenutzerAlarmDispo", 2)->isChecked());
    QCOMPARE(env.queryValue("SELECT Benutzer3 FROM Alarm_Dispositiv").toInt(), 0);
    QVERIFY(gState().unsavedChanges);
}

QTEST_MAIN(TestEditor)
#include "test_editor.moc"
