// The phone book window PhoneBookDialog driven with keys and clicks, checked against the
// database file.
#include "TestEnv.h"
#include "WindowWidgets.h"

#include "core/ProgramContext.h"
#include "image/HexWriter.h"
#include "image/Image.h"
#include "store/ConfigStore.h"
#include "store/ProfileStore.h"
#include "ui/PhoneBookDialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
using WindowWidgets::typeInto;
const QString Anna = QStringLiteral("Anna|+41791112233|1234|1|1");

void seedUsers(const TestEnv& env)
{
    env.exec("UPDATE Adressen SET Namen='Anna', Natel_Nummer='+41791112233', Passwort='1234', Operator=1, Status=1 "
             "WHERE ID=1");
    env.exec("UPDATE Adressen SET Namen='Beat', Natel_Nummer='0794445566', Passwort='5678', Operator=0, Status=1 "
             "WHERE ID=2");
    env.exec("UPDATE Adressen SET Namen='Carla', Natel_Nummer='*0791', Passwort='4321', Operator=0, Status=1 "
             "WHERE ID=3");
}

// Columns (default: name|number|password|operator|active) of one user as stored, null as <null>.
QString entry(const TestEnv& env, int id, const char* columns = "Namen,Natel_Nummer,Passwort,Operator,Status")
{
    QStringList parts;
    for (const QString& col : QString::fromLatin1(columns).split(',')) {
        const QVariant v = env.queryValue(QStringLiteral("SELECT \"%1\" FROM Adressen WHERE ID=%2").arg(col).arg(id));
        parts << (v.isNull() ? QStringLiteral("<null>") : v.toString());
    }
    return parts.join('|');
}

// The phone book shown and active (on the users of seedUsers unless seeded is false).
struct Book {
    TestEnv env;
    PhoneBookDialog* w = nullptr;
    explicit Book(bool seeded = true)
    {
        if (seeded)
            seedUsers(env);
        open();
    }
    void open()
    {
        delete w;
        w = new PhoneBookDialog(gState());
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
    ~Book() { delete w; }
    PhoneBookDialog* operator->() { return w; }
    void move(int button, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(w->moveButtons[button], Qt::LeftButton);
    }
    QString user() const { return w->userLabel->text(); }
};
} // namespace

class TestPhoneBook : public QObject {
    Q_OBJECT
private slots:
    void fieldChecks_data();
    void fieldChecks();
    void keysWalkTheFields();
    void showsEntriesAndNavigatesToBothEnds();
    void leavingAnEntryWritesIt();
    void incompleteEntryIsReportedNotDropped();
    void clearedEntry_data();
    void clearedEntry();
    void closeAsksAboutChanges();
    void unusedUserFromTheDefaultProfile();
    void duplicateNumberAsksAndYesKeepsIt();
    void cutInputIsSaid_data();
    void cutInputIsSaid();
};

void TestPhoneBook::fieldChecks_data()
{
    QTest::addColumn<bool>("number");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<int>("cursor");
    const QString notDigits = QStringLiteral("Das Passwort darf nur aus Ziffern (0-9) bestehen.");
    QTest::newRow("plus inside") << true << "07+9x" << QStringList {"gsMsgNotNumeric"} << 2;
    QTest::newRow("other script's digit") << true << QStringLiteral("٣12") << QStringList {"gsMsgNotNumeric"} << 0;
    QTest::newRow("international") << true << "+41790000000" << QStringList() << -1;
    QTest::newRow("short with letter") << false << "12a" << QStringList {notDigits, "gsPasswortAnzZeichen"} << -1;
    QTest::newRow("minus") << false << "-123" << QStringList {notDigits} << -1;
    QTest::newRow("four digits") << false << "9876" << QStringList() << -1;
}

// Enter checks a field: a fault is said once, where it is, and the focus stays (also on
// Tab) with nothing written; a good value moves on.
void TestPhoneBook::fieldChecks()
{
    QFETCH(bool, number);
    QFETCH(QString, typed);
    QFETCH(QStringList, said);
    QFETCH(int, cursor);
    Book w;
    QLineEdit* box = number ? w->numberBox : w->passwordBox;
    typeInto(box, typed);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(w.env.said(), said);
    QCOMPARE(QApplication::focusWidget(),
             !said.isEmpty() ? box
                 : number    ? w->passwordBox
                             : static_cast<QWidget*>(w->operatorBox));
    if (said.isEmpty())
        return;
    QCOMPARE(w.env.messages[0].icon, number ? Dialogs::Icon::Exclamation : Dialogs::Icon::Critical);
    QVERIFY(cursor < 0 || box->cursorPosition() == cursor);
    w.env.messages.clear();
    QTest::keyClick(box, Qt::Key_Tab);
    QVERIFY(box->hasFocus());
    QCOMPARE(w.env.said(), said);
    QCOMPARE(entry(w.env, 1), Anna);
}

// Enter walks the fields down to the buttons without saving; Tab walks the fields top down,
// then the buttons as they stand from left to right; Shift+Tab walks back. The field with
// the focus is yellow, its text selected.
void TestPhoneBook::keysWalkTheFields()
{
    Book w;
    w->nameBox->setFocus();
    for (QWidget* next :
         QList<QWidget*> {w->numberBox, w->passwordBox, w->operatorBox, w->activeBox, w->saveButton, w->clearButton}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    QVERIFY(w->isVisible() && w.env.messages.isEmpty()); // Enter on the save button did not save
    w->nameBox->setFocus();
    QStringList walk {QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walk << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(walk.join(' '),
             QString::fromUtf8("txtNameTelefonbuch txtTelefonbuchNatelNr txtPasswort ChkOperator ChkAktivBenutzer "
                               "cmdMoveDatabase(0) cmdMoveDatabase(1) cmdMoveDatabase(2) cmdMoveDatabase(3) "
                               "cmdDatensatzLöschen cmdAenderungenSpeichern cmdTelefonbuchAbbrechen "
                               "txtNameTelefonbuch"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), w->closeButton);
    w->numberBox->setFocus();
    QTRY_COMPARE(w->numberBox->selectedText(), QStringLiteral("+41791112233"));
    QVERIFY(w->numberBox->styleSheet().contains("255,255,0"));
    QTest::keyClick(w->numberBox, Qt::Key_Tab);
    QVERIFY(w->numberBox->styleSheet().isEmpty() && w->passwordBox->styleSheet().contains("255,255,0"));
}

// The entries as stored (null as empty), previous and next stopping at both ends, past
// the empty entries without a word; looking is no change.
void TestPhoneBook::showsEntriesAndNavigatesToBothEnds()
{
    Book w;
    w.env.exec("UPDATE Adressen SET Namen='Hugo', Natel_Nummer='0798', Passwort='8888' WHERE ID=8");
    w.open();
    QStringList shown;
    for (int button : {1, 2, 2, 2, 2, 2, 2, 2, 2, 1, 0}) {
        w.move(button);
        shown << QStringList {w.user(),
                              w->nameBox->text(),
                              w->numberBox->text(),
                              w->passwordBox->text(),
                              QString::number(w->operatorBox->isChecked()),
                              QString::number(w->activeBox->isChecked())}
                     .join('|');
    }
    QCOMPARE(shown.mid(0, 2) + shown.mid(7),
             QStringList({"gsBenutzer 1/8|Anna|+41791112233|1234|1|1", "gsBenutzer 2/8|Beat|0794445566|5678|0|1",
                          "gsBenutzer 8/8|Hugo|0798|8888|0|0", "gsBenutzer 8/8|Hugo|0798|8888|0|0",
                          "gsBenutzer 7/8||||0|0", "gsBenutzer 1/8|Anna|+41791112233|1234|1|1"}));
    QVERIFY(w.env.messages.isEmpty() && !gState().unsavedChanges);
}

// Moving on writes the entry; an emptied name keeps the stored name.
void TestPhoneBook::leavingAnEntryWritesIt()
{
    Book w;
    w.move(2);
    typeInto(w->nameBox, "");
    typeInto(w->numberBox, "*0791234");
    typeInto(w->passwordBox, "9999");
    w->operatorBox->setChecked(true);
    w->activeBox->setChecked(false);
    QVERIFY(!gState().unsavedChanges);
    w.move(2);
    QCOMPARE(w.user(), QStringLiteral("gsBenutzer 3/8"));
    QCOMPARE(entry(w.env, 2), QStringLiteral("Beat|*0791234|9999|1|0"));
    QVERIFY(gState().unsavedChanges);
    QVERIFY(w.env.messages.isEmpty());
}

// A new entry without a password: told once, kept on the entry in the password box, nothing
// written; saving is refused the same way; with the password it goes in.
void TestPhoneBook::incompleteEntryIsReportedNotDropped()
{
    Book w;
    w.move(3); // entry 8, empty
    typeInto(w->nameBox, "Zora");
    typeInto(w->numberBox, "0791234567");
    w.move(0);
    QCOMPARE(w.env.messages.size(), 1);
    QVERIFY(w.env.messages[0].text.contains(QStringLiteral("vierstellig")));
    QCOMPARE(w.user(), QStringLiteral("gsBenutzer 8/8"));
    QVERIFY(w->passwordBox->hasFocus());
    QCOMPARE(entry(w.env, 8, "Natel_Nummer"), QStringLiteral("<null>"));
    QTest::mouseClick(w->saveButton, Qt::LeftButton);
    QCOMPARE(w.env.messages.size(), 2);
    QVERIFY(w->isVisible());
    typeInto(w->passwordBox, "2468");
    QTest::mouseClick(w->saveButton, Qt::LeftButton);
    QCOMPARE(w.env.messages.size(), 2);
    QVERIFY(!w->isVisible());
    QCOMPARE(w->result(), int(QDialog::Accepted));
    QCOMPARE(entry(w.env, 8), QStringLiteral("Zora|0791234567|2468|0|0"));
    QVERIFY(gState().unsavedChanges);
}

void TestPhoneBook::clearedEntry_data()
{
    QTest::addColumn<int>("how"); // 0: close (OK), 1: save, 2: move on
    QTest::addColumn<QString>("stored");
    QTest::newRow("closed") << 0 << "Beat|0794445566|5678|0|1";
    QTest::newRow("saved") << 1 << "<null>|<null>|7101|0|0";
    QTest::newRow("moved on") << 2 << "<null>|<null>|7101|0|0";
}

// The clear button empties the entry and proposes the password 7101; it is written by saving
// or moving on, never by closing.
void TestPhoneBook::clearedEntry()
{
    QFETCH(int, how);
    QFETCH(QString, stored);
    Book w;
    w.move(2);
    QTest::mouseClick(w->clearButton, Qt::LeftButton);
    QCOMPARE(w->passwordBox->text() + w->numberBox->text() + QString::number(w->activeBox->isChecked()),
             QStringLiteral("71010"));
    QTest::mouseClick(how == 0 ? w->closeButton : how == 1 ? w->saveButton : w->moveButtons[2], Qt::LeftButton);
    QCOMPARE(w.env.said(), how == 0 ? QStringList {"gsFrageOkAbbrechen"} : QStringList());
    QCOMPARE(w->isVisible(), how == 2);
    QCOMPARE(entry(w.env, 1) + ' ' + entry(w.env, 2) + ' ' + entry(w.env, 3),
             Anna + ' ' + stored + QStringLiteral(" Carla|*0791|4321|0|1")); // neighbours untouched
    QCOMPARE(gState().unsavedChanges, how != 0);
}

// Unchanged, the window closes without a question; after a change it asks (Cancel keeps it,
// also on Escape; OK closes without writing).
void TestPhoneBook::closeAsksAboutChanges()
{
    Book w;
    QTest::mouseClick(w->closeButton, Qt::LeftButton);
    QVERIFY(!w->isVisible() && w.env.messages.isEmpty());
    w.open();
    typeInto(w->nameBox, "Anita");
    w.env.answers << QMessageBox::Cancel << QMessageBox::Ok;
    QTest::mouseClick(w->closeButton, Qt::LeftButton);
    QVERIFY(w->isVisible());
    const auto& q = w.env.messages[0];
    QCOMPARE(q.text + ' ' + q.title, "gsFrageOkAbbrechen " + w->windowTitle());
    QCOMPARE(q.icon, Dialogs::Icon::Question);
    QCOMPARE(q.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(q.defaultButton, QMessageBox::Cancel);
    QTest::keyClick(w->nameBox, Qt::Key_Escape);
    QCOMPARE(w.env.messages.size(), 2);
    QVERIFY(!w->isVisible());
    QCOMPARE(entry(w.env, 1, "Namen"), QStringLiteral("Anna"));
}

// The default profile marks an unused user with a password of four zero bytes. The window
// shows it as no password, passes it by quietly and leaves the profile byte for byte as it
// was when nothing changed.
void TestPhoneBook::unusedUserFromTheDefaultProfile()
{
    Book w(false);
    const QString profile = w.env.path("UserProfile/SMSV48_Default.cfg");
    const QByteArray originalBytes = readAll(profile);
    {
        ConfigStore store(gState(), w.env.dbPath());
        QString error;
        QVERIFY2(ProfileStore::loadFile(profile, store, 1, &error), qPrintable(error));
    }
    QCOMPARE(entry(w.env, 1, "Passwort"), QString(4, QChar(0)));
    w.open();
    QCOMPARE(w->passwordBox->text(), QString());
    w.move(2, 7);
    w->passwordBox->setFocus();
    QTest::keyClick(w->passwordBox, Qt::Key_Tab);
    w.move(0);
    QTest::mouseClick(w->saveButton, Qt::LeftButton);
    QVERIFY(w.env.messages.isEmpty() && !w->isVisible());
    {
        ConfigStore store(gState(), w.env.dbPath());
        Image img;
        ProfileStore::buildImage(store, 1, img);
        QVERIFY(HexWriter::writeProfileFile(gState(), img, w.env.path("saved.cfg")).ok());
        QVERIFY(readAll(w.env.path("saved.cfg")) == originalBytes);
    }
}

// A number another user has already: asked, No keeps the user on it, Yes keeps the number.
void TestPhoneBook::duplicateNumberAsksAndYesKeepsIt()
{
    Book w;
    w.move(2); // Beat
    typeInto(w->numberBox, "+41791112233"); // Anna's
    w.env.answers << QMessageBox::No << QMessageBox::Yes;
    w.move(2);
    QCOMPARE(w.env.messages.size(), 1);
    const auto& q = w.env.messages[0];
    QCOMPARE(q.icon, Dialogs::Icon::Question);
    QCOMPARE(q.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(q.defaultButton, QMessageBox::No);
    QVERIFY2(q.text.contains(QStringLiteral("Benutzer 1 ")) && q.text.contains(QStringLiteral("+41791112233"))
                 && q.text.contains(QStringLiteral("zweimal")),
             qPrintable(q.text));
    QCOMPARE(w.user(), QStringLiteral("gsBenutzer 2/8"));
    QVERIFY(w->numberBox->hasFocus());
    QCOMPARE(entry(w.env, 2, "Natel_Nummer"), QStringLiteral("0794445566"));
    // Saving asks the same; Yes keeps the number.
    QTest::mouseClick(w->saveButton, Qt::LeftButton);
    QCOMPARE(w.env.messages.size(), 2);
    QVERIFY(!w->isVisible());
    QCOMPARE(entry(w.env, 2, "Natel_Nummer"), QStringLiteral("+41791112233"));
    // Passing the two entries again without a change asks nothing more.
    w.open();
    w.move(2, 2);
    QCOMPARE(w.env.messages.size(), 2);
}

void TestPhoneBook::cutInputIsSaid_data()
{
    QTest::addColumn<bool>("number");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("said");
    const QString number = QString::fromUtf8("Das Feld \"Natel-Nr.\" nimmt höchstens 16 Zeichen auf. Nicht übernommen "
                                             "wurde: \"%1\"");
    QTest::newRow("number in between") << true << "0791" << 2 << "12345678901234"
                                       << "0712345678901291" << number.arg("34");
    QTest::newRow("password") << false << "" << 0 << "987654"
                              << "9876"
                              << QString::fromUtf8("Das Feld \"Passwort\" nimmt höchstens 4 Zeichen auf. "
                                                   "Nicht übernommen wurde: \"54\"");
}

// Text put into a box beyond what it takes is cut where it went in, and the user is told what
// was left out; a key typed into a full box is refused quietly.
void TestPhoneBook::cutInputIsSaid()
{
    QFETCH(bool, number);
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(QString, pasted);
    QFETCH(QString, after);
    QFETCH(QString, said);
    Book w;
    QLineEdit* box = number ? w->numberBox : w->passwordBox;
    box->setFocus();
    box->setText(before);
    box->setCursorPosition(cursor);
    QApplication::clipboard()->setText(pasted);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), after);
    QCOMPARE(box->cursorPosition(), before.size() ? cursor + after.size() - before.size() : after.size());
    QTRY_COMPARE(w.env.said(), QStringList {said});
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClicks(box, "12");
    QCOMPARE(box->text(), after);
    QTest::qWait(20);
    QCOMPARE(w.env.messages.size(), 1);
}

QTEST_MAIN(TestPhoneBook)
#include "test_phonebook.moc"
