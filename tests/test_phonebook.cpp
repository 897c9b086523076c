// The phone book: the rules of store/PhoneBook and the window PhoneBookDialog driven
// with keys and clicks, checked against the database file.
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "image/HexWriter.h"
#include "image/Image.h"
#include "image/ProfileReader.h"
#include "store/ConfigStore.h"
#include "store/PhoneBook.h"
#include "ui/PhoneBookDialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
void seedUsers(const TestEnv& env)
{
    env.exec("UPDATE Adressen SET Namen='Anna', Natel_Nummer='+41791112233', Passwort='1234', Operator=1, Status=1 "
             "WHERE ID=1");
    env.exec("UPDATE Adressen SET Namen='Beat', Natel_Nummer='0794445566', Passwort='5678', Operator=0, Status=1 WHERE "
             "ID=2");
    env.exec(
        "UPDATE Adressen SET Namen='Carla', Natel_Nummer='*0791', Passwort='4321', Operator=0, Status=1 WHERE ID=3");
}

QString column(const TestEnv& env, const char* col, int id)
{
    const QVariant v
        = env.queryValue(QStringLiteral("SELECT \"%1\" FROM Adressen WHERE ID=%2").arg(QLatin1String(col)).arg(id));
    return v.isNull() ? QStringLiteral("<null>") : v.toString();
}

int countMessages(const TestEnv& env, const QString& text)
{
    int n = 0;
    for (const auto& m : env.messages)
        if (m.text == text)
            ++n;
    return n;
}

void typeInto(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

struct Window {
    explicit Window() : w(new PhoneBookDialog(gState()))
    {
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
    ~Window() { delete w; }
    PhoneBookDialog* w;
    PhoneBookDialog* operator->() { return w; }
};
}

class TestPhoneBook : public QObject {
    Q_OBJECT
private slots:
    void numberRules();
    void passwordRules();
    void enterKeyOrderAndChecks();
    void showsEntriesAndNavigatesToBothEnds();
    void leavingAnEntryWritesItAndMarksChanges();
    void emptyNameKeepsTheStoredName();
    void incompleteEntryIsReportedNotDropped();
    void untouchedEmptyEntriesPassQuietly();
    void clearingThenClosingKeepsTheEntry();
    void clearingThenSavingStoresTheClearedEntry();
    void closeAsksAndCancelKeepsTheWindow();
    void focusColourAndSelection();
    void unusedUserFromTheDefaultProfile();
    void duplicateNumberAsksAndYesKeepsIt();
    void cutInputIsSaid();
    void tabReachesEveryControlLeftToRight();
};

void TestPhoneBook::numberRules()
{
    QCOMPARE(PhoneBook::numberError("+41791234567"), -1);
    QCOMPARE(PhoneBook::numberError("*123*"), -1);
    QCOMPARE(PhoneBook::numberError("0791234"), -1);
    QCOMPARE(PhoneBook::numberError("07+9"), 2);
    QCOMPARE(PhoneBook::numberError("a123"), 0);
    QCOMPARE(PhoneBook::numberError("07 91"), 2);
    QCOMPARE(PhoneBook::numberError("++41"), 1);
    QCOMPARE(PhoneBook::numberError(QStringLiteral("٣12")), 0); // a digit of another script

    // Through the window: a bad number shows the message once, whatever follows.
    TestEnv env;
    seedUsers(env);
    Window w;
    typeInto(w->numberBox, "07+9x");
    QTest::keyClick(w->numberBox, Qt::Key_Return);
    QCOMPARE(countMessages(env, "gsMsgNotNumeric"), 1);
    QCOMPARE(env.messages.last().icon, Dialogs::Icon::Exclamation);
    QVERIFY(w->numberBox->hasFocus());
    QCOMPARE(w->numberBox->cursorPosition(), 2);
    env.messages.clear();
    typeInto(w->numberBox, "x0791");
    QTest::keyClick(w->numberBox, Qt::Key_Return);
    QCOMPARE(env.messages.size(), 1);
    env.messages.clear();
    typeInto(w->numberBox, "+41790000000");
    QTest::keyClick(w->numberBox, Qt::Key_Return);
    QVERIFY(env.messages.isEmpty());
    QVERIFY(w->passwordBox->hasFocus());
    // The box refuses more than 16 characters.
    typeInto(w->numberBox, "12345678901234567890");
    QCOMPARE(w->numberBox->text().size(), 16);
}

void TestPhoneBook::passwordRules()
{
    QVERIFY(PhoneBook::checkPassword("1234").ok());
    QVERIFY(PhoneBook::checkPassword("12a4").notNumeric);
    QVERIFY(!PhoneBook::checkPassword("12a4").wrongLength);
    QVERIFY(PhoneBook::checkPassword("123").wrongLength);
    QVERIFY(!PhoneBook::checkPassword("123").notNumeric);
    QVERIFY(PhoneBook::checkPassword("").notNumeric && PhoneBook::checkPassword("").wrongLength);
    QVERIFY(PhoneBook::checkPassword("-123").notNumeric);

    TestEnv env;
    seedUsers(env);
    Window w;
    typeInto(w->passwordBox, "12a");
    QTest::keyClick(w->passwordBox, Qt::Key_Return);
    QCOMPARE(env.messages.size(), 2);
    // Not the number's message: a password has a message of its own.
    QCOMPARE(env.messages[0].text, QStringLiteral("Das Passwort darf nur aus Ziffern (0-9) bestehen."));
    QCOMPARE(env.messages[1].text, QStringLiteral("gsPasswortAnzZeichen"));
    QCOMPARE(env.messages[0].icon, Dialogs::Icon::Critical);
    QVERIFY(w->passwordBox->hasFocus());
    // Leaving the box with a wrong password keeps the focus in it.
    env.messages.clear();
    QTest::keyClick(w->passwordBox, Qt::Key_Tab);
    QVERIFY(w->passwordBox->hasFocus());
    QCOMPARE(env.messages.size(), 2);
    // Nothing was written.
    QCOMPARE(column(env, "Passwort", 1), QStringLiteral("1234"));
}

void TestPhoneBook::enterKeyOrderAndChecks()
{
    TestEnv env;
    seedUsers(env);
    Window w;
    w->nameBox->setFocus();
    QTest::keyClick(w->nameBox, Qt::Key_Return);
    QVERIFY(w->numberBox->hasFocus());
    QTest::keyClick(w->numberBox, Qt::Key_Return);
    QVERIFY(w->passwordBox->hasFocus());
    QTest::keyClick(w->passwordBox, Qt::Key_Enter);
    QVERIFY(w->operatorBox->hasFocus());
    QTest::keyClick(w->operatorBox, Qt::Key_Return);
    QVERIFY(w->activeBox->hasFocus());
    QTest::keyClick(w->activeBox, Qt::Key_Return);
    QVERIFY(w->saveButton->hasFocus());
    QTest::keyClick(w->saveButton, Qt::Key_Return);
    QVERIFY(w->clearButton->hasFocus());
    QVERIFY(w->isVisible()); // Enter on the save button did not save
    QVERIFY(env.messages.isEmpty());
    // Enter on the close button runs the close question (asked when the entry shown was changed).
    w->nameBox->setText(w->nameBox->text() + QStringLiteral("x"));
    env.answers << QMessageBox::Cancel;
    w->closeButton->setFocus();
    QTest::keyClick(w->closeButton, Qt::Key_Return);
    QCOMPARE(env.messages.size(), 1);
    QCOMPARE(env.messages[0].text, QStringLiteral("gsFrageOkAbbrechen"));
    QVERIFY(w->isVisible());
}

void TestPhoneBook::showsEntriesAndNavigatesToBothEnds()
{
    TestEnv env;
    seedUsers(env);
    env.exec("UPDATE Adressen SET Namen='Hugo', Natel_Nummer='0798', Passwort='8888' WHERE ID=8");
    Window w;
    QCOMPARE(w->userLabel->text(), QStringLiteral("gsBenutzer 1/8"));
    QCOMPARE(w->nameBox->text(), QStringLiteral("Anna"));
    QCOMPARE(w->numberBox->text(), QStringLiteral("+41791112233"));
    QCOMPARE(w->passwordBox->text(), QStringLiteral("1234"));
    QVERIFY(w->operatorBox->isChecked());
    QVERIFY(w->activeBox->isChecked());

    QTest::mouseClick(w->moveButtons[1], Qt::LeftButton); // previous on entry 1
    QCOMPARE(w->userLabel->text(), QStringLiteral("gsBenutzer 1/8"));
    QTest::mouseClick(w->moveButtons[2], Qt::LeftButton);
    QCOMPARE(w->userLabel->text(), QStringLiteral("gsBenutzer 2/8"));
    QCOMPARE(w->nameBox->text(), QStringLiteral("Beat"));
    QVERIFY(!w->operatorBox->isChecked());
    QTest::mouseClick(w->moveButtons[3], Qt::LeftButton);
    QCOMPARE(w->userLabel->text(), QStringLiteral("gsBenutzer 8/8"));
    QCOMPARE(w->nameBox->text(), QStringLiteral("Hugo"));
    QTest::mouseClick(w->moveButtons[2], Qt::LeftButton); // next on entry 8
    QCOMPARE(w->userLabel->text(), QStringLiteral("gsBenutzer 8/8"));
    QCOMPARE(w->nameBox->text(), QStringLiteral("Hugo"));
    QTest::mouseClick(w->moveButtons[1], Qt::LeftButton);
    QCOMPARE(w->userLabel->text(), QStringLiteral("gsBenutzer 7/8"));
    QCOMPARE(w->nameBox->text(), QString()); // null shows empty
    QTest::mouseClick(w->moveButtons[0], Qt::LeftButton);
    QCOMPARE(w->userLabel->text(), QStringLiteral("gsBenutzer 1/8"));
    QVERIFY(env.messages.isEmpty());
    QVERIFY(!gState().unsavedChanges); // looking is no change
}

void TestPhoneBook::leavingAnEntryWritesItAndMarksChanges()
{
    TestEnv env;
    seedUsers(env);
    Window w;
    QTest::mouseClick(w->moveButtons[2], Qt::LeftButton);
    typeInto(w->numberBox, "*0791234");
    typeInto(w->passwordBox, "9999");
    w->operatorBox->setChecked(true);
    w->activeBox->setChecked(false);
    QVERIFY(!gState().unsavedChanges);
    QTest::mouseClick(w->moveButtons[2], Qt::LeftButton);
    QCOMPARE(w->userLabel->text(), QStringLiteral("gsBenutzer 3/8"));
    QCOMPARE(column(env, "Natel_Nummer", 2), QStringLiteral("*0791234"));
    QCOMPARE(column(env, "Passwort", 2), QStringLiteral("9999"));
    QCOMPARE(column(env, "Operator", 2), QStringLiteral("1"));
    QCOMPARE(column(env, "Status", 2), QStringLiteral("0"));
    QCOMPARE(column(env, "Namen", 2), QStringLiteral("Beat"));
    QVERIFY(gState().unsavedChanges);
    QVERIFY(env.messages.isEmpty());
}

void TestPhoneBook::emptyNameKeepsTheStoredName()
{
    TestEnv env;
    seedUsers(env);
    Window w;
    typeInto(w->nameBox, "");
    typeInto(w->passwordBox, "1111");
    QTest::mouseClick(w->moveButtons[2], Qt::LeftButton);
    QCOMPARE(column(env, "Namen", 1), QStringLiteral("Anna"));
    QCOMPARE(column(env, "Passwort", 1), QStringLiteral("1111"));
}

void TestPhoneBook::incompleteEntryIsReportedNotDropped()
{
    TestEnv env;
    seedUsers(env);
    Window w;
    QTest::mouseClick(w->moveButtons[3], Qt::LeftButton); // entry 8, empty
    typeInto(w->nameBox, "Zora");
    typeInto(w->numberBox, "0791234567");
    QTest::mouseClick(w->moveButtons[0], Qt::LeftButton);
    // Told once, kept on the entry, in the password box; nothing written.
    QCOMPARE(env.messages.size(), 1);
    QVERIFY(env.messages[0].text.contains(QStringLiteral("vierstellig")));
    QCOMPARE(w->userLabel->text(), QStringLiteral("gsBenutzer 8/8"));
    QVERIFY(w->passwordBox->hasFocus());
    QCOMPARE(w->nameBox->text(), QStringLiteral("Zora"));
    QCOMPARE(column(env, "Natel_Nummer", 8), QStringLiteral("<null>"));
    // Saving is refused the same way and the window stays.
    env.messages.clear();
    QTest::mouseClick(w->saveButton, Qt::LeftButton);
    QCOMPARE(env.messages.size(), 1);
    QVERIFY(w->isVisible());
    // With the password the entry goes in.
    env.messages.clear();
    typeInto(w->passwordBox, "2468");
    QTest::mouseClick(w->saveButton, Qt::LeftButton);
    QVERIFY(env.messages.isEmpty());
    QVERIFY(!w->isVisible());
    QCOMPARE(w->result(), int(QDialog::Accepted));
    QCOMPARE(column(env, "Namen", 8), QStringLiteral("Zora"));
    QCOMPARE(column(env, "Natel_Nummer", 8), QStringLiteral("0791234567"));
    QCOMPARE(column(env, "Passwort", 8), QStringLiteral("2468"));
    QVERIFY(gState().unsavedChanges);
}

void TestPhoneBook::untouchedEmptyEntriesPassQuietly()
{
    TestEnv env;
    Window w; // all eight entries empty
    for (int i = 0; i < 7; ++i)
        QTest::mouseClick(w->moveButtons[2], Qt::LeftButton);
    QCOMPARE(w->userLabel->text(), QStringLiteral("gsBenutzer 8/8"));
    QVERIFY(env.messages.isEmpty());
    // Removing a number of an existing entry without clearing it is incomplete, too.
    TestEnv env2;
    seedUsers(env2);
    Window w2;
    typeInto(w2->numberBox, "");
    QTest::mouseClick(w2->moveButtons[2], Qt::LeftButton);
    QCOMPARE(env2.messages.size(), 1);
    QVERIFY(w2->numberBox->hasFocus());
    QCOMPARE(column(env2, "Natel_Nummer", 1), QStringLiteral("+41791112233"));
}

void TestPhoneBook::clearingThenClosingKeepsTheEntry()
{
    TestEnv env;
    seedUsers(env);
    Window w;
    QTest::mouseClick(w->moveButtons[2], Qt::LeftButton);
    QTest::mouseClick(w->clearButton, Qt::LeftButton);
    QCOMPARE(w->passwordBox->text(), QStringLiteral("7101"));
    QCOMPARE(w->numberBox->text(), QString());
    QVERIFY(!w->activeBox->isChecked());
    env.answers << QMessageBox::Ok;
    QTest::mouseClick(w->closeButton, Qt::LeftButton);
    QCOMPARE(env.messages.size(), 1);
    const auto& q = env.messages[0];
    QCOMPARE(q.text, QStringLiteral("gsFrageOkAbbrechen"));
    QCOMPARE(q.icon, Dialogs::Icon::Question);
    QCOMPARE(q.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(q.defaultButton, QMessageBox::Cancel);
    QCOMPARE(q.title, w->windowTitle());
    QVERIFY(!w->isVisible());
    QCOMPARE(column(env, "Natel_Nummer", 2), QStringLiteral("0794445566"));
    QCOMPARE(column(env, "Passwort", 2), QStringLiteral("5678"));
    QCOMPARE(column(env, "Namen", 2), QStringLiteral("Beat"));
    QVERIFY(!gState().unsavedChanges);
}

void TestPhoneBook::clearingThenSavingStoresTheClearedEntry()
{
    TestEnv env;
    seedUsers(env);
    Window w;
    QTest::mouseClick(w->moveButtons[2], Qt::LeftButton);
    QTest::mouseClick(w->clearButton, Qt::LeftButton);
    QTest::mouseClick(w->saveButton, Qt::LeftButton);
    QVERIFY(env.messages.isEmpty());
    QVERIFY(!w->isVisible());
    QCOMPARE(column(env, "Natel_Nummer", 2), QStringLiteral("<null>"));
    QCOMPARE(column(env, "Namen", 2), QStringLiteral("<null>"));
    QCOMPARE(column(env, "Passwort", 2), QStringLiteral("7101"));
    QCOMPARE(column(env, "Operator", 2), QStringLiteral("0"));
    QCOMPARE(column(env, "Status", 2), QStringLiteral("0"));
    QCOMPARE(column(env, "Natel_Nummer", 1), QStringLiteral("+41791112233")); // neighbours untouched
    QCOMPARE(column(env, "Natel_Nummer", 3), QStringLiteral("*0791"));
    QVERIFY(gState().unsavedChanges);

    // Clearing and moving on writes the clearing as well.
    TestEnv env2;
    seedUsers(env2);
    Window w2;
    QTest::mouseClick(w2->clearButton, Qt::LeftButton);
    QTest::mouseClick(w2->moveButtons[2], Qt::LeftButton);
    QVERIFY(env2.messages.isEmpty());
    QCOMPARE(column(env2, "Natel_Nummer", 1), QStringLiteral("<null>"));
    QCOMPARE(column(env2, "Passwort", 1), QStringLiteral("7101"));
}

void TestPhoneBook::closeAsksAndCancelKeepsTheWindow()
{
    TestEnv env;
    seedUsers(env);
    Window w;
    typeInto(w->nameBox, "Anita");
    env.answers << QMessageBox::Cancel;
    QTest::mouseClick(w->closeButton, Qt::LeftButton);
    QVERIFY(w->isVisible());
    // Escape with a changed entry asks too; OK closes without writing.
    env.answers << QMessageBox::Ok;
    QTest::keyClick(w->nameBox, Qt::Key_Escape);
    QCOMPARE(env.messages.size(), 2);
    QVERIFY(!w->isVisible());
    QCOMPARE(column(env, "Namen", 1), QStringLiteral("Anna"));
    // Escape without changes closes quietly.
    TestEnv env2;
    seedUsers(env2);
    Window w2;
    QTest::keyClick(w2->nameBox, Qt::Key_Escape);
    QVERIFY(env2.messages.isEmpty());
    QVERIFY(!w2->isVisible());
}

void TestPhoneBook::focusColourAndSelection()
{
    TestEnv env;
    seedUsers(env);
    Window w;
    w->numberBox->setFocus();
    QTRY_VERIFY(w->numberBox->hasSelectedText());
    QCOMPARE(w->numberBox->selectedText(), QStringLiteral("+41791112233"));
    QVERIFY(w->numberBox->styleSheet().contains("255,255,0"));
    QTest::keyClick(w->numberBox, Qt::Key_Tab);
    QVERIFY(w->passwordBox->hasFocus());
    QVERIFY(w->numberBox->styleSheet().isEmpty());
    QVERIFY(w->passwordBox->styleSheet().contains("255,255,0"));
}

// The default profile marks an unused user with a password of four zero bytes. The window
// shows it as no password, passes it by quietly, asks for a password when a number is typed
// in, and leaves the profile as it was when nothing changed.
void TestPhoneBook::unusedUserFromTheDefaultProfile()
{
    TestEnv env;
    const QString profile = env.path("UserProfile/SMSV48_Default.cfg");
    QFile original(profile);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray originalBytes = original.readAll();
    {
        ConfigStore store(gState(), env.dbPath());
        QString error;
        QVERIFY2(ProfileReader::load(profile, store, 1, &error), qPrintable(error));
    }
    QCOMPARE(column(env, "Passwort", 1), QString(4, QChar(0)));
    {
        Window w;
        QCOMPARE(w->passwordBox->text(), QString());
        for (int i = 0; i < 7; ++i)
            QTest::mouseClick(w->moveButtons[2], Qt::LeftButton);
        w->passwordBox->setFocus();
        QTest::keyClick(w->passwordBox, Qt::Key_Tab);
        QTest::mouseClick(w->moveButtons[0], Qt::LeftButton);
        QTest::mouseClick(w->saveButton, Qt::LeftButton);
        QVERIFY(env.messages.isEmpty());
        QVERIFY(!w->isVisible());
    }
    {
        ConfigStore store(gState(), env.dbPath());
        Image img;
        HexWriter::buildImageFromStore(store, 1, img);
        const QString saved = env.path("saved.cfg");
        QVERIFY(HexWriter::writeProfileFile(gState(), img, saved).ok());
        QFile f(saved);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll() == originalBytes);
    }

    // A number typed in for the unused user: the password is asked for, not the number.
    Window w;
    typeInto(w->numberBox, "0791234567");
    QTest::keyClick(w->numberBox, Qt::Key_Tab);
    QVERIFY(env.messages.isEmpty());
    QTest::mouseClick(w->moveButtons[2], Qt::LeftButton);
    QCOMPARE(env.messages.size(), 1);
    QVERIFY(env.messages[0].text.contains(QStringLiteral("vierstellig")));
    QVERIFY(w->passwordBox->hasFocus());
    QCOMPARE(w->userLabel->text(), QStringLiteral("gsBenutzer 1/8"));
    QCOMPARE(column(env, "Natel_Nummer", 1), QStringLiteral("<null>"));
    env.messages.clear();
    typeInto(w->passwordBox, "2468");
    QTest::mouseClick(w->moveButtons[2], Qt::LeftButton);
    QVERIFY(env.messages.isEmpty());
    QCOMPARE(column(env, "Natel_Nummer", 1), QStringLiteral("0791234567"));
    QCOMPARE(column(env, "Passwort", 1), QStringLiteral("2468"));
    QCOMPARE(column(env, "Passwort", 2), QString(4, QChar(0))); // the next user stays unused
}

// A number another user has already: asked, No keeps the user on it, Yes keeps the number.
void TestPhoneBook::duplicateNumberAsksAndYesKeepsIt()
{
    TestEnv env;
    seedUsers(env);
    Window w;
    QTest::mouseClick(w->moveButtons[2], Qt::LeftButton); // Beat
    typeInto(w->numberBox, "+41791112233"); // Anna's
    env.answers << QMessageBox::No;
    QTest::mouseClick(w->moveButtons[2], Qt::LeftButton);
    QCOMPARE(env.messages.size(), 1);
    const auto& q = env.messages[0];
    QCOMPARE(q.icon, Dialogs::Icon::Question);
    QCOMPARE(q.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(q.defaultButton, QMessageBox::No);
    QVERIFY(q.text.contains(QStringLiteral("Benutzer 1 ")));
    QVERIFY(q.text.contains(QStringLiteral("+41791112233")));
    QVERIFY(q.text.contains(QStringLiteral("zweimal")));
    QCOMPARE(w->userLabel->text(), QStringLiteral("gsBenutzer 2/8"));
    QVERIFY(w->numberBox->hasFocus());
    QCOMPARE(column(env, "Natel_Nummer", 2), QStringLiteral("0794445566"));
    // Saving asks the same; Yes keeps the number.
    env.messages.clear();
    env.answers << QMessageBox::Yes;
    QTest::mouseClick(w->saveButton, Qt::LeftButton);
    QCOMPARE(env.messages.size(), 1);
    QVERIFY(!w->isVisible());
    QCOMPARE(column(env, "Natel_Nummer", 2), QStringLiteral("+41791112233"));
    // Passing the two entries again without a change asks nothing more.
    env.messages.clear();
    Window again;
    QTest::mouseClick(again->moveButtons[2], Qt::LeftButton);
    QTest::mouseClick(again->moveButtons[2], Qt::LeftButton);
    QVERIFY(env.messages.isEmpty());
}

// Text put into a box beyond what it takes is cut where it went in, and the user is told what
// was left out; a key typed into a full box is refused quietly.
void TestPhoneBook::cutInputIsSaid()
{
    TestEnv env;
    seedUsers(env);
    Window w;
    QLineEdit* number = w->numberBox;
    QApplication::clipboard()->setText(QStringLiteral("+417912345678901234")); // 19 characters
    number->setFocus();
    number->selectAll();
    QTest::keyClick(number, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(number->text(), QStringLiteral("+417912345678901"));
    QTRY_COMPARE(env.messages.size(), 1);
    QCOMPARE(env.messages[0].text,
             QStringLiteral("Das Feld \"Natel-Nr.\" nimmt höchstens 16 Zeichen auf. Nicht übernommen wurde: \"234\""));
    // Pasted between the characters of a number: the end of the pasted text is cut.
    env.messages.clear();
    number->setText(QStringLiteral("0791"));
    number->setCursorPosition(2);
    QApplication::clipboard()->setText(QStringLiteral("12345678901234"));
    QTest::keyClick(number, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(number->text(), QStringLiteral("07123456789012") + QStringLiteral("91"));
    QCOMPARE(number->cursorPosition(), 14);
    QTRY_COMPARE(env.messages.size(), 1);
    QVERIFY(env.messages[0].text.endsWith(QStringLiteral("\"34\"")));
    // The password box takes four.
    env.messages.clear();
    QApplication::clipboard()->setText(QStringLiteral("987654"));
    w->passwordBox->setFocus();
    w->passwordBox->selectAll();
    QTest::keyClick(w->passwordBox, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w->passwordBox->text(), QStringLiteral("9876"));
    QTRY_COMPARE(env.messages.size(), 1);
    QVERIFY(env.messages[0].text.contains(QStringLiteral(" 4 ")));
    QVERIFY(env.messages[0].text.endsWith(QStringLiteral("\"54\"")));
    // Typing on in a full box: refused, nothing said.
    env.messages.clear();
    QTest::keyClick(w->passwordBox, Qt::Key_End);
    QTest::keyClicks(w->passwordBox, "12");
    QCOMPARE(w->passwordBox->text(), QStringLiteral("9876"));
    QTest::qWait(20);
    QVERIFY(env.messages.isEmpty());
}

// Tab walks the fields top down, then the buttons as they stand from left to right, and
// reaches every control that takes the focus; Shift+Tab walks back.
void TestPhoneBook::tabReachesEveryControlLeftToRight()
{
    TestEnv env;
    seedUsers(env);
    Window w;
    const QStringList expected = {"txtNameTelefonbuch",
                                  "txtTelefonbuchNatelNr",
                                  "txtPasswort",
                                  "ChkOperator",
                                  "ChkAktivBenutzer",
                                  "cmdMoveDatabase(0)",
                                  "cmdMoveDatabase(1)",
                                  "cmdMoveDatabase(2)",
                                  "cmdMoveDatabase(3)",
                                  QString::fromUtf8("cmdDatensatzLöschen"),
                                  "cmdAenderungenSpeichern",
                                  "cmdTelefonbuchAbbrechen"};
    QStringList focusable;
    for (QWidget* c : w->findChildren<QWidget*>())
        if (c->isVisible() && c->isEnabled() && (c->focusPolicy() & Qt::TabFocus))
            focusable << c->objectName();
    focusable.sort();
    QStringList sortedExpected = expected;
    sortedExpected.sort();
    QCOMPARE(focusable, sortedExpected);

    w->nameBox->setFocus();
    QStringList forward {QApplication::focusWidget()->objectName()};
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        forward << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(forward, expected + QStringList {expected.first()});
    QStringList backward;
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        backward.prepend(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(backward, expected);
    QVERIFY(env.messages.isEmpty());
}

QTEST_MAIN(TestPhoneBook)
#include "test_phonebook.moc"
