// The main window's desktop habits: closing while the unit is being asked, the language
// chosen in the Extras menu, the comparison with the unit, the connection log, the recent
// files and the window title.
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "link/Waiter.h"
#include "sim/SimChannel.h"
#include "ui/DeviceController.h"
#include "ui/EditorBinding.h"
#include "ui/ExtrasController.h"
#include "ui/WindowTexts.h"
#include "ui/MainWindow.h"
#include "WindowWidgets.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QPointer>
#include <QTimer>
#include <QtTest>

class TestWindowHabits : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void closeDuringTheStartProbeWaitsForIt();
    void languageSwitchesWhileRunning();
};

void TestWindowHabits::cleanup()
{
    gState().closing = false;
    QCoreApplication::processEvents();
}

void TestWindowHabits::closeDuringTheStartProbeWaitsForIt()
{
    TestEnv env;
    // As the program starts it: deleted on close, the probe deferred until the window is shown,
    // real waits in a nested event loop.
    MainWindowOptions options;
    options.deferStartProbe = true;
    QPointer<MainWindow> window = new MainWindow(std::move(options));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->initializeControls();
    window->show();
    bool probeReturned = false;
    bool destroyedUnderTheProbe = false;
    connect(window.data(), &QObject::destroyed, this, [&] { destroyedUnderTheProbe = !probeReturned; });
    bool closedInsideTheWait = false;
    QTimer::singleShot(0, window.data(), [&] {
        closedInsideTheWait = window->device().commandRunning();
        window->close();
    });
    window->runPendingProbe();
    probeReturned = true;
    QVERIFY(closedInsideTheWait);
    QVERIFY(!destroyedUnderTheProbe);
    QTRY_VERIFY(window.isNull());
    QVERIFY(!destroyedUnderTheProbe);
    QVERIFY(env.messages.isEmpty());
}

namespace {
const char* const LanguageColumn[5] = {"", "Deutsch", "Englisch", "Italienisch", "Französisch"};

QString row(const TestEnv& env, const char* table, const char* name, int language)
{
    return env
        .queryValue(
            QStringLiteral("SELECT \"%1\" FROM \"%2\" WHERE Name = '%3'")
                .arg(QString::fromUtf8(LanguageColumn[language]), QString::fromUtf8(table), QString::fromUtf8(name)))
        .toString();
}

// What a language switch must leave alone: the texts of every language and the phone book.
QString configurationDump(const TestEnv& env)
{
    return env.queryValue(
                  "SELECT group_concat(ID || '|' || ifnull(Deutsch, '-') || '|' || ifnull(Englisch, '-') || '|' "
                  "|| ifnull(Italienisch, '-') || '|' || ifnull(\"Französisch\", '-'), ';') FROM SMS")
               .toString()
        + env.queryValue(
                 "SELECT group_concat(ifnull(Namen, '-') || '|' || ifnull(Natel_Nummer, '-'), ';') FROM Adressen")
              .toString();
}
} // namespace

void TestWindowHabits::languageSwitchesWhileRunning()
{
    TestEnv env(QStringLiteral("1"));
    env.exec("UPDATE SMS SET Deutsch = 'Tür ' || ID, Englisch = 'Door ' || ID, Italienisch = 'Porta ' || ID, "
             "\"Französisch\" = 'Porte ' || ID");
    MainWindow w;
    gState().language = 1;
    w.texts().loadSystemMessages();
    w.extras().applyTexts();
    w.texts().applyAll();
    w.editorBinding().refresh();
    gState().unsavedChanges = false;
    const QString before = configurationDump(env);
    QLineEdit* firstText = WindowWidgets::named<QLineEdit>(w, "txtEingangSF(0)");
    QCOMPARE(firstText->text(), QStringLiteral("Tür 1"));
    QVERIFY(WindowWidgets::named<QAction>(w, "mnuSprache(1)")->isChecked());

    const QString smsWord[5] = {"", "Tür 1", "Door 1", "Porta 1", "Porte 1"};
    for (int language : {4, 2, 1}) {
        WindowWidgets::named<QAction>(w, "mnuSprache", language)->trigger();
        QCOMPARE(Settings::get("Einstellungen", "Sprache"), QString::number(language));
        QCOMPARE(gState().language, language);
        for (int i = 1; i <= 4; ++i)
            QCOMPARE(WindowWidgets::named<QAction>(w, "mnuSprache", i)->isChecked(), i == language);
        QCOMPARE(WindowWidgets::named<QMenu>(w, "mnuDatei")->title(), row(env, "Beschriftung", "mnuDatei", language));
        QCOMPARE(w.tabs()->tabText(1), row(env, "Beschriftung", "SSTab1(1)", language));
        QCOMPARE(WindowWidgets::named(w, "txtSerienummer")->toolTip(),
                 row(env, "ToolTipText", "txtSerienummer", language));
        QCOMPARE(gState().msg(QStringLiteral("gsMsgÄnderungenSpeichern")),
                 row(env, "SystemNachrichten", "gsMsgÄnderungenSpeichern", language));
        QCOMPARE(WindowWidgets::named<QMenu>(w, "mnuSprache")->title(),
                 row(env, "SystemNachrichten", "gsSpracheMenue", language));
        QCOMPARE(WindowWidgets::named<QAction>(w, "mnuVergleichen")->text(),
                 row(env, "SystemNachrichten", "gsVglMenue", language));
        QCOMPARE(firstText->text(), smsWord[language]);
        QVERIFY(!gState().unsavedChanges);
        QCOMPARE(configurationDump(env), before);
    }
    // The languages name themselves.
    QCOMPARE(WindowWidgets::named<QAction>(w, "mnuSprache", 4)->text(), QStringLiteral("Français"));
}

QTEST_MAIN(TestWindowHabits)
#include "test_window_habits.moc"
