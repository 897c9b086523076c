// The configuration model as the user meets it in the main window: the title's unsaved mark
// follows an edit and a save at once, and a language switch refills the editor once without
// touching the unsaved state.
#include "TestEnv.h"
#include "WindowWidgets.h"

#include "core/ProgramContext.h"
#include "editing/ConfigModel.h"
#include "ui/EditorBinding.h"
#include "ui/ExtrasController.h"
#include "ui/MainWindow.h"
#include "ui/WindowTexts.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using WindowWidgets::named;

namespace {
// The main window as the start leaves it, then German, English and Italian texts in the SMS
// table (French none); all tabs built, its clock stopped: whatever marks the title does so at once.
struct Window {
    TestEnv env {QStringLiteral("1")};
    std::unique_ptr<MainWindow> w;
    Window()
    {
        gState().language = 1;
        w = std::make_unique<MainWindow>(gState());
        w->initializeControls();
        // Texts put into the file after the default profile was loaded, then shown.
        env.exec("UPDATE SMS SET Deutsch = 'Tuer ' || ID, Englisch = 'Door ' || ID, Italienisch = 'Porta ' || ID, "
                 "\"Französisch\" = NULL");
        w->store().requeryAll();
        w->store().acceptChanges();
        w->model().replaced();
        w->findChild<QTimer*>(QStringLiteral("Timer_Zeit"))->stop();
        w->ensureTabsBuilt();
        QVERIFY(!w->isWindowModified());
    }
    QLineEdit* firstText() { return named<QLineEdit>(*w, "txtEingangSF(0)"); }
    // The profile's name as the title shows it.
    QString titleFile() const { return w->windowTitle().section(QStringLiteral("[*]"), 0, 0); }
};
} // namespace

class TestConfigModel : public QObject {
    Q_OBJECT
private slots:
    void editMarksTheTitleAtOnceAndSaveClearsIt_data();
    void editMarksTheTitleAtOnceAndSaveClearsIt();
    void languageSwitchRefillsOnceAndKeepsTheUnsavedState_data();
    void languageSwitchRefillsOnceAndKeepsTheUnsavedState();
};

void TestConfigModel::editMarksTheTitleAtOnceAndSaveClearsIt_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("stored");
    QTest::newRow("default state ticked") << "ChkDefaultState(0)"
                                          << "SELECT DefaultState FROM \"Konfiguration_Ausgänge\" WHERE ID = 1";
    QTest::newRow("text typed and left") << "txtEingangSF(0)"
                                         << "SELECT Deutsch FROM SMS WHERE ID = 1";
}

void TestConfigModel::editMarksTheTitleAtOnceAndSaveClearsIt()
{
    QFETCH(QString, control);
    QFETCH(QString, stored);
    Window win;
    const QVariant before = win.env.queryValue(stored);
    if (auto* box = qobject_cast<QCheckBox*>(named(*win.w, control))) {
        box->click();
    } else {
        auto* text = named<QLineEdit>(*win.w, control);
        text->setFocus();
        QTest::keyClicks(text, QStringLiteral("x"));
        QFocusEvent left(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(text, &left);
    }
    QVERIFY(win.env.queryValue(stored) != before); // a real edit, written
    QVERIFY(win.w->isWindowModified()); // no timer ran, no event was processed
    QVERIFY(win.env.messages.isEmpty());

    // Saving the default profile: asked whether to overwrite it, Yes.
    win.env.answers << QMessageBox::Yes;
    win.w->action(MainWindow::Command::Save)->trigger();
    QVERIFY(!win.w->isWindowModified());
    QCOMPARE(win.titleFile(), QFileInfo(gState().defaultProfilePath()).fileName());
    QVERIFY(QFileInfo(gState().defaultProfilePath()).lastModified().secsTo(QDateTime::currentDateTime()) < 60);
    // The next edit marks it again.
    named<QCheckBox>(*win.w, "ChkDefaultState(2)")->click();
    QVERIFY(win.w->isWindowModified());
}

void TestConfigModel::languageSwitchRefillsOnceAndKeepsTheUnsavedState_data()
{
    QTest::addColumn<QString>("editBefore"); // "box" ticked, "typed" into a text still focused
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("takeOver"); // 0: nothing asked, else the answer to the question
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("unsavedAfter");
    QTest::newRow("saved, English") << "" << 2 << 0 << "Door 1" << false;
    QTest::newRow("unsaved, Italian") << "box" << 3 << 0 << "Porta 1" << true;
    QTest::newRow("typed at the switch, English") << "typed" << 2 << 0 << "Door 1" << true;
    QTest::newRow("saved, French, texts not taken") << "" << 4 << int(QMessageBox::No) << "" << false;
    QTest::newRow("saved, French, texts taken over") << "" << 4 << int(QMessageBox::Yes) << "Tuer 1" << true;
    QTest::newRow("unsaved, French, texts not taken") << "box" << 4 << int(QMessageBox::No) << "" << true;
}

void TestConfigModel::languageSwitchRefillsOnceAndKeepsTheUnsavedState()
{
    QFETCH(QString, editBefore);
    QFETCH(int, language);
    QFETCH(int, takeOver);
    QFETCH(QString, shown);
    QFETCH(bool, unsavedAfter);
    Window win;
    QCOMPARE(win.firstText()->text(), QStringLiteral("Tuer 1"));
    QString typed;
    if (editBefore == QLatin1String("box")) {
        named<QCheckBox>(*win.w, "ChkDefaultState(1)")->click();
    } else if (editBefore == QLatin1String("typed")) {
        // Written in the language it was typed in when the switch comes.
        win.w->show();
        QVERIFY(QTest::qWaitForWindowActive(win.w.get()));
        auto* second = named<QLineEdit>(*win.w, "txtEingangSF(1)");
        second->setFocus();
        QTest::keyClicks(second, QStringLiteral("x"));
        typed = second->text();
        QVERIFY(second->hasFocus());
    }
    QCOMPARE(win.w->isWindowModified(), editBefore == QLatin1String("box"));
    QSignalSpy filled(win.firstText(), &QLineEdit::textChanged);
    if (takeOver)
        win.env.answers << QMessageBox::StandardButton(takeOver);

    named<QAction>(*win.w, "mnuSprache", language)->trigger();

    QStringList asked;
    for (const Dialogs::Message& m : win.env.messages)
        asked << m.text;
    QCOMPARE(asked, takeOver ? QStringList {gState().msg(QStringLiteral("gsFrageTexteUebernehmen"))} : QStringList());
    QCOMPARE(win.firstText()->text(), shown);
    // Filled once with the new language's text, not first again in the old one.
    if (shown != QStringLiteral("Tuer 1")) {
        QCOMPARE(filled.size(), 1);
        QCOMPARE(filled.first().first().toString(), shown);
    } else {
        QCOMPARE(filled.size(), 0);
    }
    QCOMPARE(win.w->isWindowModified(), unsavedAfter);
    QCOMPARE(gState().unsavedChanges, unsavedAfter);
    if (editBefore == QLatin1String("typed"))
        QCOMPARE(win.env.queryValue(QStringLiteral("SELECT count(*) FROM SMS WHERE Deutsch = '%1'").arg(typed)).toInt(),
                 1);
    // The close question follows what the title shows.
    win.env.messages.clear();
    win.env.answers << QMessageBox::No;
    QVERIFY(win.w->close());
    QCOMPARE(win.env.messages.size(), unsavedAfter ? 1 : 0);
}

QTEST_MAIN(TestConfigModel)
#include "test_config_model.moc"
