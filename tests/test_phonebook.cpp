// The phone book window PhoneBookDialog driven with keys and clicks, checked against the
// database file.
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "image/HexWriter.h"
#include "image/Image.h"
#include "image/ProfileReader.h"
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
const QString NotDigits = QStringLiteral("Das Passwort darf nur aus Ziffern (0-9) bestehen.");

void seedUsers(const TestEnv& env)
{
    env.exec("UPDATE Adressen SET Namen='Anna', Natel_Nummer='+41791112233', Passwort='1234', Operator=1, Status=1 "
             "WHERE ID=1");
    env.exec("UPDATE Adressen SET Namen='Beat', Natel_Nummer='0794445566', Passwort='5678', Operator=0, Status=1 "
             "WHERE ID=2");
    env.exec("UPDATE Adressen SET Namen='Carla', Natel_Nummer='*0791', Passwort='4321', Operator=0, Status=1 "
             "WHERE ID=3");
}

QString column(const TestEnv& env, const char* col, int id)
{
    const QVariant v
        = env.queryValue(QStringLiteral("SELECT \"%1\" FROM Adressen WHERE ID=%2").arg(QLatin1String(col)).arg(id));
    return v.isNull() ? QStringLiteral("<null>") : v.toString();
}

// Name|number|password|operator|active of one user as stored.
QString entry(const TestEnv& env, int id)
{
    QStringList parts;
    for (const char* col : {"Namen", "Natel_Nummer", "Passwort", "Operator", "Status"})
        parts << column(env, col, id);
    return parts.join('|');
}

QStringList texts(const TestEnv& env)
{
    QStringList r;
    for (const auto& m : env.messages)
        r << m.text;
    return r;
}

void typeInto(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    for (QChar c : text) { // key by key, also for characters outside Latin-1
        QTest::sendKeyEvent(QTest::Press, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

struct Window {
    Window() : w(new PhoneBookDialog(gState()))
    {
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
    ~Window() { delete w; }
    PhoneBookDialog* w;
    PhoneBookDialog* operator->() { return w; }
    void move(int button, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(w->moveButtons[button], Qt::LeftButton);
    }
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
    void focusColourAndSelection();
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
    const QStringList bad {"gsMsgNotNumeric"};
    QTest::newRow("plus inside") << true << "07+9x" << bad << 2;
    QTest::newRow("letter first") << true << "x0791" << bad << 0;
    QTest::newRow("space") << true << "07 91" << bad << 2;
    QTest::newRow("two pluses") << true << "++41" << bad << 1;
    QTest::newRow("other script's digit") << true << QStringLiteral("٣12") << bad << 0;
    QTest::newRow("international") << true << "+41790000000" << QStringList() << -1;
    QTest::newRow("service code") << true << "*123*" << QStringList() << -1;
    QTest::newRow("short with letter") << false << "12a" << QStringList {NotDigits, "gsPasswortAnzZeichen"} << -1;
    QTest::newRow("short") << false << "123" << QStringList {"gsPasswortAnzZeichen"} << -1;
    QTest::newRow("letter") << false << "12a4" << QStringList {NotDigits} << -1;
    QTest::newRow("minus") << false << "-123" << QStringList {NotDigits} << -1;
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
    TestEnv env;
    seedUsers(env);
    Window w;
    QLineEdit* box = number ? w->numberBox : w->passwordBox;
    typeInto(box, typed);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(texts(env), said);
    if (said.isEmpty()) {
        QVERIFY(number ? w->passwordBox->hasFocus() : w->operatorBox->hasFocus());
        return;
    }
    QCOMPARE(env.messages[0].icon, number ? Dialogs::Icon::Exclamation : Dialogs::Icon::Critical);
    QVERIFY(box->hasFocus());
    if (cursor >= 0)
        QCOMPARE(box->cursorPosition(), cursor);
    env.messages.clear();
    QTest::keyClick(box, Qt::Key_Tab);
    QVERIFY(box->hasFocus());
    QCOMPARE(texts(env), said);
    QCOMPARE(entry(env, 1), QStringLiteral("Anna|+41791112233|1234|1|1"));
}

// Enter walks the fields down to the buttons without saving; Tab walks the fields top down,
// then the buttons as they stand from left to right; Shift+Tab walks back.
void TestPhoneBook::keysWalkTheFields()
{
    TestEnv env;
    seedUsers(env);
    Window w;
    w->nameBox->setFocus();
    for (QWidget* next :
         QList<QWidget*> {w->numberBox, w->passwordBox, w->operatorBox, w->activeBox, w->saveButton, w->clearButton}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    QVERIFY(w->isVisible()); // Enter on the save button did not save
    QVERIFY(env.messages.isEmpty());

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
    w->nameBox->setFocus();
    QStringList forward {QApplication::focusWidget()->objectName()};
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        forward << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(forward, expected + QStringList {expected.first()});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), w->closeButton);
    // Enter on the close button runs the close question (asked after a change).
    w->nameBox->setText(QStringLiteral("Anita"));
    env.answers << QMessageBox::Cancel;
    w->closeButton->setFocus();
    QTest::keyClick(w->closeButton, Qt::Key_Return);
    QCOMPARE(texts(env), QStringList {"gsFrageOkAbbrechen"});
    QVERIFY(w->isVisible());
}

void TestPhoneBook::showsEntriesAndNavigatesToBothEnds()
{
    TestEnv env;
    seedUsers(env);
    env.exec("UPDATE Adressen SET Namen='Hugo', Natel_Nummer='0798', Passwort='8888' WHERE ID=8");
    Window w;
    const auto shown = [&] {
        return QStringList {w->userLabel->text(),
                            w->nameBox->text(),
                            w->numberBox->text(),
                            w->passwordBox->text(),
                            QString::number(w->operatorBox->isChecked()),
                            QString::number(w->activeBox->isChecked())}
            .join('|');
    };
    QCOMPARE(shown(), QStringLiteral("gsBenutzer 1/8|Anna|+41791112233|1234|1|1"));
    w.move(1); // previous on entry 1
    QCOMPARE(w->userLabel->text(), QStringLiteral("gsBenutzer 1/8"));
    w.move(2);
    QCOMPARE(shown(), QStringLiteral("gsBenutzer 2/8|Beat|0794445566|5678|0|1"));
    w.move(2, 6); // past the empty entries 4..7: nothing said
    QCOMPARE(shown(), QStringLiteral("gsBenutzer 8/8|Hugo|0798|8888|0|0"));
    w.move(2); // next on entry 8
    QCOMPARE(w->userLabel->text(), QStringLiteral("gsBenutzer 8/8"));
    w.move(1);
    QCOMPARE(w->userLabel->text(), QStringLiteral("gsBenutzer 7/8"));
    QCOMPARE(w->nameBox->text(), QString()); // null shows empty
    w.move(0);
    QCOMPARE(w->userLabel->text(), QStringLiteral("gsBenutzer 1/8"));
    QVERIFY(env.messages.isEmpty());
    QVERIFY(!gState().unsavedChanges); // looking is no change
}

// Moving on writes the entry; an emptied name keeps the stored name.
void TestPhoneBook::leavingAnEntryWritesIt()
{
    TestEnv env;
    seedUsers(env);
    Window w;
    w.move(2);
    typeInto(w->nameBox, "");
    typeInto(w->numberBox, "*0791234");
    typeInto(w->passwordBox, "9999");
    w->operatorBox->setChecked(true);
    w->activeBox->setChecked(false);
    QVERIFY(!gState().unsavedChanges);
    w.move(2);
    QCOMPARE(w->userLabel->text(), QStringLiteral("gsBenutzer 3/8"));
    QCOMPARE(entry(env, 2), QStringLiteral("Beat|*0791234|9999|1|0"));
    QVERIFY(gState().unsavedChanges);
    QVERIFY(env.messages.isEmpty());
}

void TestPhoneBook::incompleteEntryIsReportedNotDropped()
{
    TestEnv env;
    seedUsers(env);
    Window w;
    w.move(3); // entry 8, empty
    typeInto(w->nameBox, "Zora");
    typeInto(w->numberBox, "0791234567");
    w.move(0);
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
    QCOMPARE(entry(env, 8), QStringLiteral("Zora|0791234567|2468|0|0"));
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
    TestEnv env;
    seedUsers(env);
    Window w;
    w.move(2);
    QTest::mouseClick(w->clearButton, Qt::LeftButton);
    QCOMPARE(w->passwordBox->text(), QStringLiteral("7101"));
    QCOMPARE(w->numberBox->text(), QString());
    QVERIFY(!w->activeBox->isChecked());
    QTest::mouseClick(how == 0 ? w->closeButton : how == 1 ? w->saveButton : w->moveButtons[2], Qt::LeftButton);
    QCOMPARE(texts(env), how == 0 ? QStringList {"gsFrageOkAbbrechen"} : QStringList());
    QCOMPARE(w->isVisible(), how == 2);
    QCOMPARE(entry(env, 2), stored);
    QCOMPARE(entry(env, 1), QStringLiteral("Anna|+41791112233|1234|1|1")); // neighbours untouched
    QCOMPARE(entry(env, 3), QStringLiteral("Carla|*0791|4321|0|1"));
    QCOMPARE(gState().unsavedChanges, how != 0);
}

void TestPhoneBook::closeAsksAboutChanges()
{
    TestEnv env;
    seedUsers(env);
    Window w;
    typeInto(w->nameBox, "Anita");
    env.answers << QMessageBox::Cancel;
    QTest::mouseClick(w->closeButton, Qt::LeftButton);
    QVERIFY(w->isVisible());
    const auto& q = env.messages[0];
    QCOMPARE(q.text, QStringLiteral("gsFrageOkAbbrechen"));
    QCOMPARE(q.icon, Dialogs::Icon::Question);
    QCOMPARE(q.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(q.defaultButton, QMessageBox::Cancel);
    QCOMPARE(q.title, w->windowTitle());
    // Escape with a changed entry asks too; OK closes without writing.
    env.answers << QMessageBox::Ok;
    QTest::keyClick(w->nameBox, Qt::Key_Escape);
    QCOMPARE(env.messages.size(), 2);
    QVERIFY(!w->isVisible());
    QCOMPARE(column(env, "Namen", 1), QStringLiteral("Anna"));
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
    const QByteArray originalBytes = readAll(profile);
    {
        ConfigStore store(gState(), env.dbPath());
        QString error;
        QVERIFY2(ProfileStore::loadFile(profile, store, 1, &error), qPrintable(error));
    }
    QCOMPARE(column(env, "Passwort", 1), QString(4, QChar(0)));
    {
        Window w;
        QCOMPARE(w->passwordBox->text(), QString());
        w.move(2, 7);
        w->passwordBox->setFocus();
        QTest::keyClick(w->passwordBox, Qt::Key_Tab);
        w.move(0);
        QTest::mouseClick(w->saveButton, Qt::LeftButton);
        QVERIFY(env.messages.isEmpty());
        QVERIFY(!w->isVisible());
    }
    {
        ConfigStore store(gState(), env.dbPath());
        Image img;
        ProfileStore::buildImage(store, 1, img);
        QVERIFY(HexWriter::writeProfileFile(gState(), img, env.path("saved.cfg")).ok());
        QVERIFY(readAll(env.path("saved.cfg")) == originalBytes);
    }
    // A number typed in for the unused user: the password is asked for, not the number.
    Window w;
    typeInto(w->numberBox, "0791234567");
    QTest::keyClick(w->numberBox, Qt::Key_Tab);
    QVERIFY(env.messages.isEmpty());
    w.move(2);
    QCOMPARE(env.messages.size(), 1);
    QVERIFY(env.messages[0].text.contains(QStringLiteral("vierstellig")));
    QVERIFY(w->passwordBox->hasFocus());
    QCOMPARE(column(env, "Natel_Nummer", 1), QStringLiteral("<null>"));
    env.messages.clear();
    typeInto(w->passwordBox, "2468");
    w.move(2);
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
    w.move(2); // Beat
    typeInto(w->numberBox, "+41791112233"); // Anna's
    env.answers << QMessageBox::No;
    w.move(2);
    QCOMPARE(env.messages.size(), 1);
    const auto& q = env.messages[0];
    QCOMPARE(q.icon, Dialogs::Icon::Question);
    QCOMPARE(q.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(q.defaultButton, QMessageBox::No);
    for (const char* part : {"Benutzer 1 ", "+41791112233", "zweimal"})
        QVERIFY2(q.text.contains(QString::fromUtf8(part)), qPrintable(q.text));
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
    again.move(2, 2);
    QVERIFY(env.messages.isEmpty());
}

void TestPhoneBook::cutInputIsSaid_data()
{
    QTest::addColumn<bool>("number");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("said");
    QTest::newRow("number replaced") << true << "" << 0 << "+417912345678901234"
                                     << "+417912345678901"
                                     << "Das Feld \"Natel-Nr.\" nimmt höchstens 16 Zeichen auf. Nicht übernommen "
                                        "wurde: \"234\"";
    QTest::newRow("number in between") << true << "0791" << 2 << "12345678901234"
                                       << "0712345678901291"
                                       << "Das Feld \"Natel-Nr.\" nimmt höchstens 16 Zeichen auf. Nicht übernommen "
                                          "wurde: \"34\"";
    QTest::newRow("password") << false << "" << 0 << "987654"
                              << "9876"
                              << "Das Feld \"Passwort\" nimmt höchstens 4 Zeichen auf. Nicht übernommen wurde: \"54\"";
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
    TestEnv env;
    seedUsers(env);
    Window w;
    QLineEdit* box = number ? w->numberBox : w->passwordBox;
    box->setFocus();
    box->setText(before);
    box->setCursorPosition(cursor);
    QApplication::clipboard()->setText(pasted);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), after);
    QCOMPARE(box->cursorPosition(), before.size() ? cursor + after.size() - before.size() : after.size());
    QTRY_COMPARE(texts(env), QStringList {said});
    env.messages.clear();
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClicks(box, "12");
    QCOMPARE(box->text(), after);
    QTest::qWait(20);
    QVERIFY(env.messages.isEmpty());
}

QTEST_MAIN(TestPhoneBook)
#include "test_phonebook.moc"
