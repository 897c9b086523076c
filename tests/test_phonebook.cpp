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
#include <cstring>
#include <functional>
#include <memory>

namespace {
using WindowWidgets::typeInto;

// The eight users as stored (name|number|password|operator|active, null as <null>).
QStringList stored(const TestEnv& env)
{
    QStringList users;
    for (int id = 1; id <= 8; ++id)
        users << env.queryValue(
                        QStringLiteral("SELECT ifnull(Namen, '<null>') || '|' || ifnull(Natel_Nummer, '<null>') "
                                       "|| '|' || ifnull(Passwort, '<null>') || '|' || Operator || '|' || Status "
                                       "FROM Adressen WHERE ID=%1")
                            .arg(id))
                     .toString();
    return users;
}

// The phone book shown and active (on Anna, Beat, Carla and Hugo unless seeded is false).
struct Book {
    TestEnv env;
    std::unique_ptr<PhoneBookDialog> w;
    explicit Book(bool seeded = true)
    {
        for (const char* user :
             {"'Anna', Natel_Nummer='+41791112233', Passwort='1234', Operator=1, Status=1 WHERE ID=1",
              "'Beat', Natel_Nummer='0794445566', Passwort='5678', Operator=0, Status=1 WHERE ID=2",
              "'Carla', Natel_Nummer='*0791', Passwort='4321', Operator=0, Status=1 WHERE ID=3",
              "'Hugo', Natel_Nummer='0798', Passwort='8888' WHERE ID=8"})
            if (seeded)
                env.exec(QStringLiteral("UPDATE Adressen SET Namen=") + QString::fromLatin1(user));
        open();
    }
    void open()
    {
        w = std::make_unique<PhoneBookDialog>(gState());
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    PhoneBookDialog* operator->() { return w.get(); }
    void move(int button, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(w->moveButtons[button], Qt::LeftButton);
    }
    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // What the window shows: the user's place and the boxes (name|number|password|operator|active).
    QString shown() const
    {
        return QStringList {w->userLabel->text(), w->nameBox->text(), w->numberBox->text(), w->passwordBox->text()}
                   .join('|')
            + QStringLiteral("|%1|%2").arg(w->operatorBox->isChecked()).arg(w->activeBox->isChecked());
    }
    bool asked(QMessageBox::StandardButtons buttons, QMessageBox::StandardButton byDefault) const
    {
        const Dialogs::Message q = env.messages.value(env.messages.size() - 1);
        return q.icon == Dialogs::Icon::Question && q.buttons == buttons && q.defaultButton == byDefault;
    }
    // The focus walk from the name box with a key: the object names one after the other.
    QString walk(Qt::Key key, int steps)
    {
        w->nameBox->setFocus();
        QStringList names {w->nameBox->objectName()};
        while (names.size() <= steps && QApplication::focusWidget()) {
            QTest::keyClick(QApplication::focusWidget(), key);
            names << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "-");
        }
        return names.join(' ');
    }
};
using Script = std::function<void(Book&)>;

// Enter on a wrong value in a field: the fault is said, where it is, and the focus stays,
// also on Tab. (A good value moves on: see the walk of the keys.)
Script enter(bool number, const char* typed, int cursor = -1)
{
    return [=](Book& b) {
        QLineEdit* box = number ? b->numberBox : b->passwordBox;
        typeInto(box, QString::fromUtf8(typed));
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(box->hasFocus() && !b.env.messages.isEmpty());
        QCOMPARE(b.env.messages[0].icon, number ? Dialogs::Icon::Exclamation : Dialogs::Icon::Critical);
        QVERIFY(cursor < 0 || box->cursorPosition() == cursor);
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(box->hasFocus());
    };
}

// Text put into a box beyond what it takes is cut where it went in (the user is told what was
// left out); a key typed into a full box is refused quietly.
Script paste(bool number, const char* before, int cursor, const char* pasted, const char* after)
{
    return [=](Book& b) {
        QLineEdit* box = number ? b->numberBox : b->passwordBox;
        box->setFocus();
        box->setText(QString::fromUtf8(before));
        box->setCursorPosition(cursor);
        QApplication::clipboard()->setText(QString::fromUtf8(pasted));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), QString::fromUtf8(after));
        QCOMPARE(box->cursorPosition(), *before ? cursor + int(strlen(after) - strlen(before)) : int(strlen(after)));
        QTRY_COMPARE(b.env.messages.size(), 1);
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClicks(box, "12");
        QCOMPARE(box->text(), QString::fromUtf8(after));
        QTest::qWait(20);
    };
}
} // namespace
Q_DECLARE_METATYPE(Script)

class TestPhoneBook : public QObject {
    Q_OBJECT
private slots:
    void userActions_data();
    void userActions();
    void unusedUserFromTheDefaultProfile();
};

void TestPhoneBook::userActions_data()
{
    QTest::addColumn<Script>("script");
    QTest::addColumn<QStringList>("said"); // a piece of each message shown, in order
    QTest::addColumn<int>("id"); // the one user whose entry is changed (0: none)
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("open"); // the window still shown
    const auto row
        = [](const char* name, const QStringList& said, int id, const char* entry, bool open, const Script& script) {
              QTest::newRow(name) << script << said << id << QString::fromUtf8(entry) << open;
          };
    const QString notDigits = QStringLiteral("Das Passwort darf nur aus Ziffern (0-9) bestehen.");
    const QString cut
        = QString::fromUtf8("Das Feld \"%1\" nimmt höchstens %2 Zeichen auf. Nicht übernommen wurde: \"%3\"");
    row("number: plus inside", {"gsMsgNotNumeric", "gsMsgNotNumeric"}, 0, "", true, enter(true, "07+9x", 2));
    row("number: other script's digit", {"gsMsgNotNumeric", "gsMsgNotNumeric"}, 0, "", true, enter(true, "٣12", 0));
    row("password: short with letter", {notDigits, "gsPasswortAnzZeichen", notDigits, "gsPasswortAnzZeichen"}, 0, "",
        true, enter(false, "12a"));
    row("password: minus", {notDigits, notDigits}, 0, "", true, enter(false, "-123"));
    row("number pasted in between", {cut.arg("Natel-Nr.", "16", "34")}, 0, "", true,
        paste(true, "0791", 2, "12345678901234", "0712345678901291"));
    row("password pasted", {cut.arg("Passwort", "4", "54")}, 0, "", true, paste(false, "", 0, "987654", "9876"));
    // Enter walks the fields down to the buttons without saving; Tab walks the fields top down,
    // then the buttons as they stand from left to right; Shift+Tab walks back. The field with
    // the focus is yellow, its text selected.
    row("keys walk the fields", {}, 0, "", true, [](Book& b) {
        QCOMPARE(b.walk(Qt::Key_Return, 6),
                 QStringLiteral("txtNameTelefonbuch txtTelefonbuchNatelNr txtPasswort ChkOperator ChkAktivBenutzer "
                                "cmdAenderungenSpeichern cmdDatensatzLöschen"));
        QCOMPARE(b.walk(Qt::Key_Tab, 12),
                 QStringLiteral("txtNameTelefonbuch txtTelefonbuchNatelNr txtPasswort ChkOperator ChkAktivBenutzer "
                                "cmdMoveDatabase(0) cmdMoveDatabase(1) cmdMoveDatabase(2) cmdMoveDatabase(3) "
                                "cmdDatensatzLöschen cmdAenderungenSpeichern cmdTelefonbuchAbbrechen "
                                "txtNameTelefonbuch"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), b->closeButton);
        b->numberBox->setFocus();
        QTRY_COMPARE(b->numberBox->selectedText(), QStringLiteral("+41791112233"));
        QVERIFY(b->numberBox->styleSheet().contains("255,255,0"));
        QTest::keyClick(b->numberBox, Qt::Key_Tab);
        QVERIFY(b->numberBox->styleSheet().isEmpty() && b->passwordBox->styleSheet().contains("255,255,0"));
    });
    // The entries as stored (null as empty), previous and next stopping at both ends, past
    // the empty entries without a word; looking is no change.
    row("shown and walked to both ends", {}, 0, "", true, [](Book& b) {
        QStringList shown;
        for (int button : {1, 2, 2, 2, 2, 2, 2, 2, 2, 1, 0}) {
            b.move(button);
            shown << b.shown();
        }
        QCOMPARE(shown.mid(0, 2) + shown.mid(7),
                 QStringList({"gsBenutzer 1/8|Anna|+41791112233|1234|1|1", "gsBenutzer 2/8|Beat|0794445566|5678|0|1",
                              "gsBenutzer 8/8|Hugo|0798|8888|0|0", "gsBenutzer 8/8|Hugo|0798|8888|0|0",
                              "gsBenutzer 7/8||||0|0", "gsBenutzer 1/8|Anna|+41791112233|1234|1|1"}));
    });
    // Moving on writes the entry; an emptied name keeps the stored name.
    row("moved on", {}, 2, "Beat|*0791234|9999|1|0", true, [](Book& b) {
        b.move(2);
        typeInto(b->nameBox, "");
        typeInto(b->numberBox, "*0791234");
        typeInto(b->passwordBox, "9999");
        b->operatorBox->setChecked(true);
        b->activeBox->setChecked(false);
        QVERIFY(!gState().unsavedChanges);
        b.move(2);
        QVERIFY(b.shown().startsWith("gsBenutzer 3/8|Carla"));
    });
    // The clear button empties the entry and proposes the password 7101; it is written by
    // saving or moving on, never by closing.
    const auto clear = [](Book& b) {
        b.move(2);
        b.click(b->clearButton);
        QCOMPARE(b.shown(), QStringLiteral("gsBenutzer 2/8|||7101|0|0"));
    };
    row("cleared, closed", {"gsFrageOkAbbrechen"}, 0, "", false, [=](Book& b) { clear(b), b.click(b->closeButton); });
    row("cleared, saved", {}, 2, "<null>|<null>|7101|0|0", false, [=](Book& b) { clear(b), b.click(b->saveButton); });
    row("cleared, moved on", {}, 2, "<null>|<null>|7101|0|0", true, [=](Book& b) { clear(b), b.move(2); });
    // Unchanged, the window closes without a question; after a change it asks (Cancel keeps
    // it, also on Escape; OK closes without writing).
    row("closed unchanged", {}, 0, "", false, [](Book& b) { b.click(b->closeButton); });
    row("closed after a change", {"gsFrageOkAbbrechen", "gsFrageOkAbbrechen"}, 0, "", false, [](Book& b) {
        typeInto(b->nameBox, "Anita");
        b.env.answers << QMessageBox::Cancel << QMessageBox::Ok;
        b.click(b->closeButton);
        QVERIFY(b.asked(QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel));
        QVERIFY(b.env.messages[0].title == b->windowTitle() && b->isVisible());
        QTest::keyClick(b->nameBox, Qt::Key_Escape);
    });
    // A new entry without a password: told once, kept on the entry in the password box,
    // nothing written; saving is refused the same way; with the password it goes in.
    row("new entry without a password", {"vierstellig", "vierstellig"}, 7, "Zora|0791234567|2468|0|0", false,
        [](Book& b) {
            b.move(2, 6); // entry 7, empty
            typeInto(b->nameBox, "Zora");
            typeInto(b->numberBox, "0791234567");
            b.move(0);
            QVERIFY(b.shown() == QStringLiteral("gsBenutzer 7/8|Zora|0791234567||0|0") && b->passwordBox->hasFocus());
            QCOMPARE(stored(b.env)[6], QStringLiteral("<null>|<null>|<null>|0|0"));
            b.click(b->saveButton);
            typeInto(b->passwordBox, "2468");
            b.click(b->saveButton);
            QCOMPARE(b->result(), int(QDialog::Accepted));
        });
    // A number another user has already: asked, No keeps the user on it, Yes (on saving)
    // keeps the number; another change to the entry does not ask again.
    row("number another user has", {"Benutzer 1 hat dieselbe Natel-Nummer +41791112233", "zweimal"}, 2,
        "Beata|+41791112233|5678|0|1", true, [](Book& b) {
            b.move(2); // Beat
            typeInto(b->numberBox, "+41791112233"); // Anna's
            b.env.answers << QMessageBox::No << QMessageBox::Yes;
            b.move(2);
            QVERIFY(b.asked(QMessageBox::Yes | QMessageBox::No, QMessageBox::No));
            QVERIFY(b.shown().startsWith("gsBenutzer 2/8|Beat|+41791112233|") && b->numberBox->hasFocus());
            QCOMPARE(stored(b.env)[1], QStringLiteral("Beat|0794445566|5678|0|1"));
            b.click(b->saveButton);
            b.open();
            b.move(2);
            typeInto(b->nameBox, "Beata");
            b.move(2);
        });
}

// What the clicks and keys leave: the messages shown, the entries stored (the one edited
// changed, every other as it was), the window open or closed, the configuration marked
// changed exactly when an entry was written.
void TestPhoneBook::userActions()
{
    QFETCH(Script, script);
    QFETCH(QStringList, said);
    QFETCH(int, id);
    QFETCH(QString, entry);
    QFETCH(bool, open);
    Book b;
    QStringList expected = stored(b.env);
    if (id)
        expected[id - 1] = entry;
    script(b);
    QCOMPARE(stored(b.env), expected);
    const QStringList shown = b.env.said();
    QCOMPARE(shown.size(), said.size());
    for (int i = 0; i < said.size(); ++i)
        QVERIFY2(shown[i].contains(said[i]), qPrintable(shown[i]));
    QCOMPARE(b->isVisible(), open);
    QCOMPARE(gState().unsavedChanges, id != 0);
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
    QCOMPARE(w.env.queryValue("SELECT Passwort FROM Adressen WHERE ID=1").toString(), QString(4, QChar(0)));
    w.open();
    QCOMPARE(w->passwordBox->text(), QString());
    w.move(2, 7);
    w->passwordBox->setFocus();
    QTest::keyClick(w->passwordBox, Qt::Key_Tab);
    w.move(0);
    QTest::mouseClick(w->saveButton, Qt::LeftButton);
    QVERIFY(w.env.messages.isEmpty() && !w->isVisible());
    ConfigStore store(gState(), w.env.dbPath());
    Image img;
    ProfileStore::buildImage(store, 1, img);
    QVERIFY(HexWriter::writeProfileFile(gState(), img, w.env.path("saved.cfg")).ok());
    QVERIFY(readAll(w.env.path("saved.cfg")) == originalBytes);
}

QTEST_MAIN(TestPhoneBook)
#include "test_phonebook.moc"
