// The configuration editor: one main window's editor widgets driven with clicks and keys,
// checked against the database file and the unsaved mark of the window's title.
#include "TestEnv.h"
#include "WindowWidgets.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "editing/ConfigModel.h"
#include "link/Channel.h"
#include "store/ConfigStore.h"
#include "ui/DeviceController.h"
#include "ui/EditorBinding.h"
#include "ui/MainWindow.h"
#include "ui/PhoneBookDialog.h"
#include "ui/WindowTexts.h"

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
const QString InputFlags = QStringLiteral("SELECT SUM(Benutzer1+Benutzer2+Benutzer3+Benutzer4+Benutzer5+Benutzer6+"
                                          "Benutzer7+Benutzer8) FROM \"Konfiguration_Eingänge\"");
QString msg(const char* key) { return gState().msg(QString::fromUtf8(key)); }
QString wrongCharacter() { return msg("gsMsgFalschesZeichen") + '\n' + msg("gsMsgFalschesZeichen2"); }
int forecolour(QLabel* l) { return l->property("ForeColor").toInt(); }

// Users 1..3 and 8 with a number (2 inactive, 3 without a name), 4..7 without.
void seedUsers(const TestEnv& env)
{
    env.exec("UPDATE Adressen SET Namen='Anna', Natel_Nummer='+41791112233', Passwort='1234', Operator=1, Status=1 "
             "WHERE ID=1");
    env.exec("UPDATE Adressen SET Namen='Beat', Natel_Nummer='0794445566', Passwort='5678', Operator=0, Status=0 "
             "WHERE ID=2");
    env.exec("UPDATE Adressen SET Natel_Nummer='0797778899', Passwort='4321', Operator=0, Status=1 WHERE ID IN (3, 8)");
}
} // namespace

// One window, shown and active, for every test; each test leaves the boxes, the users and the
// rows as it found them (texts it typed stay).
class TestEditor : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<MainWindow> w; // closed before its program folder goes

    template <typename T = QWidget> T* get(const QString& name) const { return WindowWidgets::named<T>(*w, name); }
    QCheckBox* box(const char* array, int i) const { return WindowWidgets::named<QCheckBox>(*w, array, i); }
    QLabel* label(const QString& name) const { return get<QLabel>(name); }
    int stored(const QString& sql) const { return env->queryValue(sql).toInt(); }
    QVariant smsText(int id, const char* column = "Deutsch") const
    {
        return env->queryValue(QStringLiteral("SELECT \"%1\" FROM SMS WHERE ID=%2").arg(QLatin1String(column)).arg(id));
    }
    // Statements run on the file behind the program's back, then read and shown as after the
    // program's question whether to take them.
    void rewrite(std::initializer_list<const char*> statements)
    {
        for (const char* sql : statements)
            env->exec(QString::fromUtf8(sql));
        w->store().requeryAll();
        w->editorBinding().refresh();
    }
    // The control's tab brought to the front, so that it can take the focus.
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
    void click(const char* button) { click(get<QPushButton>(QString::fromUtf8(button))); }
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

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void editReachesItsColumn_data();
    void editReachesItsColumn();
    void userWithoutNumberDisablesColumnAndGreysLabels();
    void invalidCharacterRefusedOnceAtItsPosition();
    void delayFieldRefusesAndStores();
    void textBeingEditedIsWrittenBeforeAToolbarCommand();
    void missingRowInTheWindow();
    void phoneBookFromTheMenuRelabelsTheWindow();
    void closingAsksAboutRealChanges();
};

void TestEditor::initTestCase()
{
    env = std::make_unique<TestEnv>();
    seedUsers(*env);
    env->exec("UPDATE \"Konfiguration_Eingänge\" SET Benutzer4=1 WHERE ID=2"); // a flag of a user without a number
    gState().programName = QStringLiteral("SMS Switch Vantor");
    w = std::make_unique<MainWindow>(gState());
    w->texts().loadSystemMessages();
    w->editorBinding().refresh();
    w->show();
}

void TestEditor::init()
{
    w->activateWindow(); // again after a dialog
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
}

void TestEditor::cleanup()
{
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus(); // a text left in a box is written now, not in the next test
    w->model().setModified(false);
    env->messages.clear();
}

void TestEditor::editReachesItsColumn_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed"); // into a text box; a check box is clicked
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("checked");
    const auto box = [](const char* name, const char* column, const char* table, int checked) {
        QTest::newRow(name) << 1 << QString::fromUtf8(name) << QString()
                            << QStringLiteral("SELECT %1 FROM %2").arg(QLatin1String(column), QString::fromUtf8(table))
                            << checked;
    };
    box("ChkEmpOP(37)", "Benutzer3", "\"Konfiguration_Eingänge\" WHERE ID=6", 1);
    box("ChkEmpOut(63)", "Benutzer8", "\"Konfiguration_Ausgänge\" WHERE ID=8", 1);
    box("ChkDefaultState(7)", "DefaultState", "\"Konfiguration_Ausgänge\" WHERE ID=8", 1);
    box("ChkOP(1)", "Operator", "Adressen WHERE ID=2", 1);
    box("ChkAlarmDispo(5)", "IN_FF", "Alarm_Dispositiv", 4);
    box("ChkAlarmDispo(14)", "IN_SF", "Alarm_Dispositiv", 128);
    box("ChkBenutzerAlarmDispo(0)", "Benutzer1", "Alarm_Dispositiv", 1);
    box("ChkBenutzerPowerON(2)", "Benutzer3", "PowerOn", 1);
    const auto text = [](const char* name, int language, const char* control, const char* typed, int id) {
        QTest::newRow(name) << language << QString::fromLatin1(control) << QString::fromLatin1(typed)
                            << QStringLiteral("SELECT %1 FROM SMS WHERE ID=%2")
                                   .arg(QLatin1String(language == 2 ? "Englisch" : "Deutsch"))
                                   .arg(id)
                            << 0;
    };
    text("input FF 3", 1, "txtEingangFF(2)", "Eingang 3 weg", 6);
    text("output SF 4", 1, "txtAusgangSF(3)", "Relais 4 ein", 23);
    text("alarm input", 1, "txtAlarmDispositiv", "Alarm", 25);
    text("same length", 1, "txtEingangSF(0)", "abcdefghij", 1);
    text("English", 2, "txtEingangSF(0)", "Gate opened", 1);
    text("emptied", 1, "txtEingangSF(2)", "", 5);
}

// A click writes its one bit and marks the title at once; a second click takes it back; a box
// set by program (the relay shortcuts do so) reaches the store as well. A text box writes its
// own row and the column of the language shown, only on a change; Enter writes at once and
// keeps the focus; an emptied box stores no text.
void TestEditor::editReachesItsColumn()
{
    QFETCH(int, language);
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QFETCH(QString, query);
    QFETCH(int, checked);
    if (auto* b = qobject_cast<QCheckBox*>(get(control))) {
        const int inputsBefore = stored(InputFlags);
        click(b);
        QVERIFY(b->isChecked() && w->isWindowModified());
        QCOMPARE(stored(query), checked);
        QCOMPARE(stored(InputFlags), inputsBefore + (control.startsWith("ChkEmpOP") ? 1 : 0));
        click(b);
        QCOMPARE(stored(query), 0);
        b->setChecked(true);
        QCOMPARE(stored(query), checked);
        b->setChecked(false);
        return;
    }
    const QString id = query.section('=', -1), german = QStringLiteral("0123456789"),
                  english = QStringLiteral("Gate open");
    env->exec(QStringLiteral("UPDATE SMS SET Deutsch='%1', Englisch='%2' WHERE ID=%3").arg(german, english, id));
    rewrite({});
    get<QAction>(QStringLiteral("mnuSprache(%1)").arg(language))->trigger();
    w->model().setModified(false);
    auto* e = get<QLineEdit>(control);
    QCOMPARE(e->text(), language == 2 ? english : german);
    showTab(e);
    e->setFocus();
    QTest::keyClick(e, Qt::Key_Tab); // entered and left without a change: nothing
    QVERIFY(!w->isWindowModified());
    type(e, typed);
    QTest::keyClick(e, Qt::Key_Return);
    QVERIFY(e->hasFocus() && w->isWindowModified());
    const QVariant text = env->queryValue(query);
    QCOMPARE(text.isNull(), typed.isEmpty());
    QCOMPARE(text.toString(), typed);
    QCOMPARE(smsText(id.toInt(), language == 2 ? "Deutsch" : "Englisch").toString(), language == 2 ? german : english);
    get<QAction>("mnuSprache(1)")->trigger();
}

// Users 4..7 have no number: their boxes are disabled (check all passes them by), a stored
// flag kept and shown; the recipient labels are grey without a number or when inactive, blue
// when active.
void TestEditor::userWithoutNumberDisablesColumnAndGreysLabels()
{
    QString enabled;
    for (int k = 0; k < 128; k += 4)
        enabled += QString::number(box("ChkEmpOP", k)->isEnabled());
    for (int k = 0; k < 64; k += 4)
        enabled += QString::number(box("ChkEmpOut", k)->isEnabled());
    for (const char* array : {"ChkOP", "ChkBenutzerPowerON", "ChkBenutzerAlarmDispo"})
        enabled += QString::number(box(array, 3)->isEnabled());
    QCOMPARE(enabled, QStringLiteral("111111111111000000000000000011111111110000000011000"));
    QVERIFY(box("ChkEmpOP", 49)->isChecked());
    for (int g = 0; g < 3; ++g) {
        const auto name = [&](int user) { return label(QStringLiteral("lblAdresseName(%1)").arg(8 * g + user)); };
        const auto number = [&](int user) { return label(QStringLiteral("lblAdresseEmpf(%1)").arg(8 * g + user)); };
        QCOMPARE(name(3)->text() + number(3)->text(), msg("gsDefined_Undefined"));
        QCOMPARE(name(3)->palette().color(QPalette::WindowText), QColor(128, 128, 128));
        QCOMPARE(name(0)->text() + number(0)->text(), QStringLiteral("Anna+41791112233"));
        QCOMPARE(forecolour(number(0)), 0xFF0000);
        QCOMPARE(name(0)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(forecolour(name(1)), 0x808080); // inactive: grey but usable
        QCOMPARE(name(2)->text(), msg("gsDefined_Undefined")); // no name
    }
    // Check all and clear all leave the disabled columns alone.
    click("cmdCheckAllEmp(3)"); // user 4, no number
    QCOMPARE(stored("SELECT SUM(Benutzer4) FROM \"Konfiguration_Eingänge\""), 1);
    QVERIFY(!box("ChkEmpOP", 48)->isChecked() && !w->isWindowModified());
    click("cmdCheckAllEmp(9)"); // output tab, user 2
    QCOMPARE(stored("SELECT SUM(Benutzer2) * 10 + SUM(Benutzer1) FROM \"Konfiguration_Ausgänge\""), 80);
    QVERIFY(w->isWindowModified());
    click("cmdClrAllEmp(9)");
    QCOMPARE(stored("SELECT SUM(Benutzer2) FROM \"Konfiguration_Ausgänge\""), 0);
    click("cmdCheckAllEvents");
    QCOMPARE(stored("SELECT IN_SF + IN_FF FROM Alarm_Dispositiv"), 510);
    click("cmdClrAllEvents");
    QCOMPARE(stored("SELECT IN_SF + IN_FF FROM Alarm_Dispositiv"), 0);
    // A refresh shows what the file holds.
    rewrite({"UPDATE Alarm_Dispositiv SET IN_SF=129"});
    QVERIFY(box("ChkAlarmDispo", 0)->isChecked() && box("ChkAlarmDispo", 14)->isChecked());
    QVERIFY(!box("ChkAlarmDispo", 2)->isChecked());
    // No user with a number: the event boxes cannot be checked, but can be cleared.
    rewrite({"UPDATE Alarm_Dispositiv SET IN_SF=3", "UPDATE Adressen SET Natel_Nummer=NULL"});
    QVERIFY(!box("ChkAlarmDispo", 0)->isEnabled() && !get<QSpinBox>("txtADVerzögerungszeit")->isEnabled());
    QTest::mouseClick(get<QPushButton>("cmdCheckAllEvents"), Qt::LeftButton);
    QCOMPARE(stored("SELECT IN_FF FROM Alarm_Dispositiv"), 0);
    QTest::mouseClick(get<QPushButton>("cmdClrAllEvents"), Qt::LeftButton);
    QCOMPARE(stored("SELECT IN_SF FROM Alarm_Dispositiv"), 0);
    seedUsers(*env);
    rewrite({});
}

// A character the unit cannot show is said once, at the first one, the focus kept there and
// nothing stored; corrected, the text passes. The counter follows the text.
void TestEditor::invalidCharacterRefusedOnceAtItsPosition()
{
    auto* e = get<QLineEdit>("txtEingangSF(1)");
    typeAndLeave(e, QStringLiteral("Tür zu"));
    QCOMPARE(env->said(), QStringList {wrongCharacter()});
    QCOMPARE(env->messages[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(env->messages[0].title, gState().programName);
    QVERIFY(e->hasFocus());
    QCOMPARE(e->cursorPosition(), 1);
    QCOMPARE(e->text(), QStringLiteral("Tür zu"));
    QVERIFY(smsText(3).isNull() && !w->isWindowModified());
    typeAndLeave(e, QStringLiteral("ab[c_~\t"));
    QCOMPARE(env->messages.size(), 2);
    QCOMPARE(e->cursorPosition(), 2);
    typeAndLeave(e, QStringLiteral("Tuer zu!"));
    QCOMPARE(env->messages.size(), 2);
    QCOMPARE(smsText(3).toString(), QStringLiteral("Tuer zu!"));

    QCOMPARE(label("lblAnzZeichenPON")->text(), QStringLiteral("63"));
    type(get<QLineEdit>("txtSMSAufstarten"), QString(64, 'x'));
    QCOMPARE(label("lblAnzZeichenPON")->text(), QStringLiteral("0"));
    rewrite({"UPDATE SMS SET Deutsch='Start' WHERE ID=25"}); // a fill sets the counter as well
    QCOMPARE(label("lblAnzZeichenAD")->text(), QStringLiteral("58"));
}

// The alarm delay takes 1..99 minutes: anything else is refused where it was typed and the
// stored value kept; each step is stored. A delay outside 1..99 in the store (an erased
// unit's 255) shows empty and is kept when the field is only passed through.
void TestEditor::delayFieldRefusesAndStores()
{
    auto* d = get<QSpinBox>("txtADVerzögerungszeit");
    const auto delay = [&] { return stored("SELECT \"Verzögerungszeit\" FROM Alarm_Dispositiv"); };
    QCOMPARE(d->text().trimmed(), QStringLiteral("5"));
    for (auto [text, icon] :
         {std::pair {"0", Dialogs::Icon::Exclamation}, std::pair {"120", Dialogs::Icon::Exclamation},
          std::pair {"", Dialogs::Icon::Information}}) {
        env->messages.clear();
        typeAndLeave(d, QString::fromLatin1(text));
        QCOMPARE(env->messages.size(), 1);
        QCOMPARE(env->messages[0].text + env->messages[0].title, msg("gsMsgVerzögerungszeit") + msg("gsFehlerEingabe"));
        QCOMPARE(env->messages[0].icon, icon);
        QVERIFY(d->hasFocus());
        QCOMPARE(d->property("BackColor").toInt(), 0xFFFF);
        QCOMPARE(delay(), 5);
    }
    QVERIFY(!w->isWindowModified());
    type(d, "1a00"); // no letter goes in
    QCOMPARE(d->cleanText(), QStringLiteral("100"));
    type(d, "75");
    QTest::keyClick(d, Qt::Key_Return);
    QCOMPARE(d->property("BackColor").toInt(), int(0x80000005u));
    QCOMPARE(delay(), 75);
    QVERIFY(w->isWindowModified());
    QTest::keyClick(d, Qt::Key_Up);
    QCOMPARE(delay(), 76);
    rewrite({"UPDATE Alarm_Dispositiv SET \"Verzögerungszeit\" = 255"});
    QCOMPARE(d->cleanText().trimmed(), QString());
    d->setFocus();
    QTest::keyClick(d, Qt::Key_Tab);
    QCOMPARE(delay(), 255);
    d->setFocus();
    QTest::keyClick(d, Qt::Key_Up); // the first step up chooses 1
    QTest::keyClick(d, Qt::Key_Down);
    QCOMPARE(delay(), 1);
    rewrite({"UPDATE Alarm_Dispositiv SET \"Verzögerungszeit\" = 255"});
    typeAndLeave(d, "75");
    QCOMPARE(delay(), 75);
    QCOMPARE(env->messages.size(), 1);
}

void TestEditor::textBeingEditedIsWrittenBeforeAToolbarCommand()
{
    QToolButton* first = nullptr;
    for (QToolButton* b : w->toolbar()->findChildren<QToolButton*>())
        if (b->isVisible() && b->isEnabled() && !first)
            first = b;
    QVERIFY(first);
    auto* e = get<QLineEdit>("txtEingangSF(3)");
    type(e, "Neu");
    QTest::mousePress(first, Qt::LeftButton);
    QCOMPARE(smsText(7).toString(), QStringLiteral("Neu"));
    QVERIFY(w->isWindowModified());
    // A refused text stops the command: the press does not reach the button.
    type(e, QStringLiteral("Neu ß"));
    QTest::mouseRelease(first, Qt::LeftButton, {}, QPoint(-20, -20)); // released outside: no command
    env->messages.clear();
    QTest::mousePress(first, Qt::LeftButton);
    QCOMPARE(env->messages.size(), 1);
    QVERIFY(!first->isDown());
    QCOMPARE(smsText(7).toString(), QStringLiteral("Neu"));
    type(e, "Neu");
}

// A store row missing under a box: said once, the box shows what the store holds.
void TestEditor::missingRowInTheWindow()
{
    rewrite({"CREATE TABLE kept AS SELECT * FROM \"Konfiguration_Eingänge\" WHERE ID=6",
             "DELETE FROM \"Konfiguration_Eingänge\" WHERE ID=6"});
    env->messages.clear();
    const int inputsBefore = stored(InputFlags);
    QCheckBox* b = box("ChkEmpOP", 37);
    click(b);
    QCOMPARE(env->messages.size(), 1);
    QCOMPARE(env->messages[0].icon, Dialogs::Icon::Critical);
    QVERIFY(env->messages[0].text.startsWith(QStringLiteral("Die Konfigurationsdatenbank ist unvollständig")));
    QVERIFY(env->messages[0].text.contains(QStringLiteral("Konfiguration_Eingänge")));
    QVERIFY(!b->isChecked() && !w->isWindowModified());
    QCOMPARE(stored(InputFlags), inputsBefore);
    rewrite({"INSERT INTO \"Konfiguration_Eingänge\" SELECT * FROM kept"});
}

// The phone book opened from the menu: user 3 made inactive (no longer receives the alarm
// input), user 4 given a number; the window shows both at once.
void TestEditor::phoneBookFromTheMenuRelabelsTheWindow()
{
    rewrite({"UPDATE Alarm_Dispositiv SET Benutzer3=1"});
    QVERIFY(box("ChkBenutzerAlarmDispo", 2)->isChecked() && !box("ChkEmpOP", 48)->isEnabled());
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
    get<QAction>("mnuTelefonbuch")->trigger();
    QVERIFY(seen && !QApplication::activeModalWidget());
    QVERIFY(box("ChkEmpOP", 48)->isEnabled());
    QCOMPARE(label("lblAdresseName(3)")->text() + label("lblAdresseEmpf(11)")->text(),
             QStringLiteral("Dora0791230000"));
    QCOMPARE(forecolour(label("lblAdresseName(2)")), 0x808080);
    QVERIFY(!box("ChkBenutzerAlarmDispo", 2)->isChecked());
    QCOMPARE(stored("SELECT Benutzer3 FROM Alarm_Dispositiv"), 0);
    QVERIFY(w->isWindowModified());
}

// A refused text keeps the window open, with the focus in the box. A text typed and not yet
// left when closing is written first, then asked about: Cancel keeps the window and the edits;
// Yes with a save that fails (its folder is gone) shows the reason and keeps the window; Yes
// with a save that works closes it.
void TestEditor::closingAsksAboutRealChanges()
{
    auto* q = get<QLineEdit>("txtAusgangFF(0)");
    type(q, QStringLiteral("Relais {aus}"));
    QVERIFY(!w->close() && w->isVisible() && q->hasFocus() && smsText(18).isNull());
    QCOMPARE(env->said(), QStringList {wrongCharacter()});
    type(q, QString());
    env->messages.clear();
    type(get<QLineEdit>("txtSMSAufstarten"), "Hallo");
    env->answers << QMessageBox::Cancel << QMessageBox::Yes << QMessageBox::Yes;
    QVERIFY(!w->close() && w->isVisible() && w->isWindowModified());
    QCOMPARE(smsText(26).toString(), QStringLiteral("Hallo"));
    QVERIFY2(env->said() == QStringList {msg("gsMsgÄnderungenSpeichern")}, qPrintable(env->said().join('|')));
    QCOMPARE(env->messages[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    Settings::set("Profile", "File", env->path("gone/Site.cfg"));
    QVERIFY(!w->close() && w->isVisible());
    QCOMPARE(env->messages.size(), 3);
    QVERIFY2(env->messages[2].text.contains(QStringLiteral("Site.cfg")), qPrintable(env->messages[2].text));
    QVERIFY(!QFile::exists(env->path("gone/Site.cfg")));
    Settings::set("Profile", "File", env->path("UserProfile/Site.cfg"));
    QVERIFY(w->close());
    QVERIFY(QFile::exists(env->path("UserProfile/Site.cfg")));
}

QTEST_MAIN(TestEditor)
#include "test_editor.moc"
