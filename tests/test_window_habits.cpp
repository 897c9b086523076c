// The main window's desktop habits: closing while the unit is being asked, the language
// chosen in the Extras menu, the comparison with the unit, the connection log, the recent
// files and the window title.
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "image/HexWriter.h"
#include "image/ProfileDiff.h"
#include "link/Waiter.h"
#include "link/WireTrace.h"
#include "ui/CompareDialog.h"
#include "sim/SimChannel.h"
#include "ui/DeviceController.h"
#include "ui/EditorBinding.h"
#include "ui/ProfileController.h"
#include "ui/ExtrasController.h"
#include "ui/WindowTexts.h"
#include "ui/MainWindow.h"
#include "WindowWidgets.h"

#include <QAction>
#include <QApplication>
#include <QTableWidget>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QPointer>
#include <QTimer>
#include "image/ProfileReader.h"
#include <QDir>
#include "image/Image.h"
#include <QMimeData>
#include <QUrl>
#include <QDropEvent>
#include "core/RecentFiles.h"
#include <QMessageBox>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtTest>

class TestWindowHabits : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void closeDuringTheStartProbeWaitsForIt();
    void languageSwitchesWhileRunning();
    void comparisonListsWhatTheUnitHoldsOtherwise();
    void connectionLogRecordsAndSaves();
    void sendKeepsTheUnitsFormerConfiguration();
    void recentProfilesAndTitle();
    void geometryKeptBetweenRuns();
    void droppedProfileAsksAboutUnsavedChanges();
    void alwaysRecordKeepsTheTraceOnClose();
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
    QPointer<MainWindow> window = new MainWindow(gState(), std::move(options));
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
    MainWindow w(gState());
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

namespace {
// A main window on the built-in simulated unit, in virtual time.
struct SimWindow {
    TestEnv env;
    VirtualWaiter clock;
    std::unique_ptr<MainWindow> w;
    explicit SimWindow(const QString& language = QStringLiteral("1")) : env(language)
    {
        env.exec("UPDATE SMS SET Deutsch = 'Tür ' || ID, Englisch = 'Door ' || ID");
        env.exec("UPDATE \"Adressen\" SET \"Passwort\" = '4711' WHERE rowid = (SELECT MIN(rowid) FROM \"Adressen\")");
        w = std::make_unique<MainWindow>(gState());
        w->device().setWaiter(&clock);
        w->device().link();
        w->texts().loadSystemMessages();
        w->extras().applyTexts();
        w->editorBinding().refresh();
    }
    SimUnit& unit() { return static_cast<SimChannel*>(w->device().channel.get())->unit(); }
};

// Runs fn on the dialog of type T once it is shown (the unit's read shows its progress first).
template <typename T> void whenShown(std::function<void(T*)> fn)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, fn] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<T*>(top); d && d->isVisible()) {
                poll->deleteLater();
                poll->stop();
                fn(d);
                return;
            }
    });
    poll->start(5);
}
} // namespace

void TestWindowHabits::comparisonListsWhatTheUnitHoldsOtherwise()
{
    SimWindow win;
    // The unit holds the program's configuration with one text changed.
    ProfileData onUnit = HexWriter::fromStore(win.w->store(), 1);
    QCOMPARE(onUnit.inputs[2].text, QStringLiteral("Tür 3"));
    onUnit.inputs[2].text = QStringLiteral("Tor zu");
    Image image;
    HexWriter::buildImage(onUnit, image);
    const QString path = win.env.path("unit.cfg");
    QVERIFY(HexWriter::writeProfileFile(gState(), image, path).ok());
    QVERIFY(win.unit().loadImage(path));
    const QString storeBefore = configurationDump(win.env);

    QStringList rows;
    QString summary;
    whenShown<CompareDialog>([&](CompareDialog* d) {
        summary = d->summary();
        QTableWidget* table = d->findChild<QTableWidget*>("grdVergleich");
        QVERIFY(table);
        for (int r = 0; r < table->rowCount(); ++r)
            rows << table->item(r, 0)->text() + " | " + table->item(r, 1)->text() + " | " + table->item(r, 2)->text();
        d->reject();
    });
    WindowWidgets::named<QAction>(*win.w, "mnuVergleichen")->trigger();
    QCOMPARE(rows, QStringList({ProfileDiff::fieldLabel("inputs[2].text", gState()) + " | Tür 3 | Tor zu"}));
    QCOMPARE(summary, gState().msg("gsVglAnzahl").arg(1));
    // What the unit holds went nowhere: the store and the editor show the program's text.
    QCOMPARE(configurationDump(win.env), storeBefore);
    QCOMPARE(WindowWidgets::named<QLineEdit>(*win.w, "txtEingangSF(1)")->text(), QStringLiteral("Tür 3"));
    QVERIFY(win.env.messages.isEmpty());
    // 64 block reads went over the wire, no write.
    QCOMPARE(win.unit().rawIn().count(":HR3:0080:"), 64);
    QVERIFY(!win.unit().rawIn().contains(":HW"));
}

// Sending the configuration keeps what the unit held first, in the program folder under the
// unit's serial number; with the Extras setting off nothing is kept and the write still runs.
void TestWindowHabits::sendKeepsTheUnitsFormerConfiguration()
{
    SimWindow win;
    QVERIFY(WindowWidgets::named<QAction>(*win.w, "mnuSicherung")->isChecked());
    win.unit().area2.replace(0, 6, "204518");
    for (int i = 0; i < win.unit().area3.size(); ++i)
        win.unit().area3[i] = char((i * 7 + 3) & 0xFF);
    for (int b = 0; b < 64; ++b)
        win.unit().area3[b * 128] = char(0x10 + b); // block codes
    const QByteArray former = win.unit().area3;
    win.w->device().writeConfiguration();
    QCOMPARE(win.env.messages.size(), 1);
    QCOMPARE(win.env.messages[0].text, gState().msg(QStringLiteral("gsMsgDownloadOK")));
    QVERIFY(win.unit().area3 != former); // written

    const QString folder = win.env.path("Backups/204518");
    const QStringList kept = QDir(folder).entryList({QStringLiteral("*.cfg")}, QDir::Files);
    QCOMPARE(kept.size(), 1);
    QCOMPARE(QDir(folder).filePath(kept[0]), win.w->device().lastBackup());
    Image image;
    QString error;
    QVERIFY2(ProfileReader::readFile(gState(), QDir(folder).filePath(kept[0]), image, &error), qPrintable(error));
    QFile file(QDir(folder).filePath(kept[0]));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (int r = 0; r < 512; r += 37) // the records as the unit held them
        QCOMPARE(QByteArray::fromHex(lines[r].mid(9, 32)), former.mid(r * 16, 16));

    // Turned off: no backup, no block read, the write runs.
    WindowWidgets::named<QAction>(*win.w, "mnuSicherung")->trigger();
    QCOMPARE(Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("Sicherung")), QStringLiteral("0"));
    win.unit().clearLog();
    win.env.messages.clear();
    win.w->device().writeConfiguration();
    QCOMPARE(win.env.messages.size(), 1);
    QCOMPARE(win.env.messages[0].text, gState().msg(QStringLiteral("gsMsgDownloadOK")));
    QVERIFY(!win.unit().rawIn().contains(":HR3:0080:"));
    QCOMPARE(QDir(folder).entryList({QStringLiteral("*.cfg")}, QDir::Files).size(), 1);
}

void TestWindowHabits::connectionLogRecordsAndSaves()
{
    SimWindow win;
    auto item = [&](const char* name) { return WindowWidgets::named<QAction>(*win.w, name); };
    QVERIFY(item("mnuProtokollStart")->isEnabled());
    QVERIFY(!item("mnuProtokollStop")->isEnabled());
    item("mnuProtokollStart")->trigger();
    QVERIFY(!item("mnuProtokollStart")->isEnabled());
    QVERIFY(item("mnuProtokollStop")->isEnabled());
    QVERIFY(!item("mnuProtokollSpeichern")->isEnabled());
    win.w->device().refreshUnitStatus();
    win.w->device().switchRelayOn(2); // carries the unit password
    QVERIFY(win.unit().rawIn().contains("4711"));
    item("mnuProtokollStop")->trigger();
    QVERIFY(item("mnuProtokollStart")->isEnabled());
    QVERIFY(!item("mnuProtokollStop")->isEnabled());
    QVERIFY(item("mnuProtokollSpeichern")->isEnabled());
    // Traffic after the stop is not in the log.
    win.w->device().readSerialNumber();
    QVERIFY(win.unit().rawIn().contains(":HR2 CT:0010 AD:0000"));

    const QString path = win.env.path("trace.txt");
    win.env.fileAnswers << path;
    item("mnuProtokollSpeichern")->trigger();
    QCOMPARE(win.env.fileRequests.size(), 1);
    QVERIFY(win.env.fileRequests[0].save);
    QCOMPARE(win.env.fileRequests[0].title, gState().msg("gsProtokollTitel"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray log = file.readAll();
    QCOMPARE(log, WireTrace::recorded());
    const QList<QByteArray> lines = log.split('\n');
    int sentCr = 0;
    for (const QByteArray& line : lines)
        if (line.endsWith(" > <CR>"))
            ++sentCr;
    QVERIFY2(sentCr >= 2, log.constData());
    QVERIFY(log.contains("< >"));
    QVERIFY(!log.contains("4711"));
    QVERIFY(!log.contains(":HR2 CT:0010 AD:0000")); // the serial number read came after the stop
    QVERIFY(win.env.messages.isEmpty());

    // A folder in place of the file: said in the program's language, nothing written.
    QDir(win.env.root()).mkdir("folder.txt");
    win.env.fileAnswers << win.env.path("folder.txt");
    item("mnuProtokollSpeichern")->trigger();
    QCOMPARE(win.env.messages.size(), 1);
    QCOMPARE(win.env.messages[0].text,
             gState().msg("gsMsgIstOrdner").arg(QDir::toNativeSeparators(win.env.path("folder.txt"))));
}

void TestWindowHabits::recentProfilesAndTitle()
{
    TestEnv env;
    MainWindow w(gState());
    w.initializeControls();
    gState().unsavedChanges = false;
    const QString program = gState().programName;
    QVERIFY(!program.isEmpty());
    QCOMPARE(w.windowTitle(), "SMSV48_Default.cfg[*] - " + program);
    QVERIFY(!w.isWindowModified());
    QMenu* recent = WindowWidgets::named<QMenu>(w, "mnuZuletzt");
    QCOMPARE(recent->title(), gState().msg("gsZuletztMenue"));
    QVERIFY(recent->actions().isEmpty());
    QVERIFY(!recent->isEnabled());
    auto entries = [&] {
        QStringList r;
        for (QAction* a : recent->actions())
            r << a->objectName() + " " + a->text();
        return r;
    };

    // An edit marks the title until the profile is saved.
    gState().unsavedChanges = true;
    QTRY_VERIFY(w.isWindowModified());
    QVERIFY(QDir().mkpath(env.path("site")));
    env.fileAnswers << env.path("site/a.cfg");
    w.action(MainWindow::Command::SaveAs)->trigger();
    QCOMPARE(QDir(env.fileRequests.last().folder).absolutePath(),
             QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).absolutePath());
    QCOMPARE(env.fileRequests.last().fileName, QStringLiteral("SMSV48_Default.cfg"));
    QCOMPARE(w.windowTitle(), "a.cfg[*] - " + program);
    QVERIFY(!w.isWindowModified());
    QCOMPARE(entries(), QStringList({"mnuZuletzt(1) &1 a.cfg"}));
    QVERIFY(recent->isEnabled());

    QVERIFY(QDir().mkpath(env.path("other")));
    env.fileAnswers << env.path("other/b.cfg");
    w.action(MainWindow::Command::SaveAs)->trigger();
    // The next dialog starts where the last profile went.
    QCOMPARE(QDir(env.fileRequests.last().folder).absolutePath(), QDir(env.path("site")).absolutePath());
    QCOMPARE(entries(), QStringList({"mnuZuletzt(1) &1 b.cfg", "mnuZuletzt(2) &2 a.cfg"}));
    QCOMPARE(w.windowTitle(), "b.cfg[*] - " + program);

    // The older one from the list: loaded, current, on top.
    WindowWidgets::named<QAction>(w, "mnuZuletzt(2)")->trigger();
    QCOMPARE(Settings::get("Profile", "File"), env.path("site/a.cfg"));
    QCOMPARE(w.windowTitle(), "a.cfg[*] - " + program);
    QCOMPARE(entries(), QStringList({"mnuZuletzt(1) &1 a.cfg", "mnuZuletzt(2) &2 b.cfg"}));
    env.fileAnswers << env.path("other/b.cfg");
    w.action(MainWindow::Command::Open)->trigger();
    QCOMPARE(QDir(env.fileRequests.last().folder).absolutePath(), QDir(env.path("site")).absolutePath());
    QCOMPARE(entries(), QStringList({"mnuZuletzt(1) &1 b.cfg", "mnuZuletzt(2) &2 a.cfg"}));
    QVERIFY(env.messages.isEmpty());

    // A profile that is gone is no longer offered.
    QVERIFY(QFile::remove(env.path("site/a.cfg")));
    w.profiles().showRecentFiles();
    QCOMPARE(entries(), QStringList({"mnuZuletzt(1) &1 b.cfg"}));
    QCOMPARE(w.windowTitle(), "b.cfg[*] - " + program);
}

void TestWindowHabits::geometryKeptBetweenRuns()
{
    TestEnv env;
    {
        MainWindow w(gState());
        w.initializeControls();
        w.show();
        w.resize(1000, 640);
        QTRY_COMPARE(w.size(), QSize(1000, 640));
        gState().unsavedChanges = false;
        QVERIFY(w.close());
    }
    gState().closing = false;
    MainWindow again(gState());
    QCOMPARE(again.size(), QSize(1000, 640));
    QVERIFY(!again.windowIcon().isNull());
}

// A profile dropped on the window: edits not saved yet are asked about first; Cancel keeps
// everything, No loads the dropped file, which becomes the current and the newest recent one.
void TestWindowHabits::droppedProfileAsksAboutUnsavedChanges()
{
    SimWindow win;
    ProfileData given = HexWriter::fromStore(win.w->store(), 1);
    given.inputs[0].text = QStringLiteral("Gegeben");
    Image image;
    HexWriter::buildImage(given, image);
    const QString path = win.env.path("gegeben.cfg");
    QVERIFY(HexWriter::writeProfileFile(gState(), image, path).ok());
    QLineEdit* first = WindowWidgets::named<QLineEdit>(*win.w, "txtEingangSF(0)");
    const QString before = first->text();
    QVERIFY(before != QStringLiteral("Gegeben"));

    auto drop = [&] {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(win.w.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(win.w.get(), &dropped);
        QVERIFY(dropped.isAccepted());
        QCoreApplication::processEvents(); // the drop opens the file once it has finished
    };
    gState().unsavedChanges = true;
    win.env.messages.clear();
    win.env.answers << QMessageBox::Cancel;
    drop();
    QCOMPARE(win.env.messages.size(), 1);
    QCOMPARE(win.env.messages[0].text, gState().msg(QStringLiteral("gsMsgÄnderungenSpeichern")));
    QCOMPARE(first->text(), before);
    QVERIFY(gState().unsavedChanges);

    win.env.messages.clear();
    win.env.answers << QMessageBox::No;
    drop();
    QCOMPARE(win.env.messages.size(), 1);
    QCOMPARE(first->text(), QStringLiteral("Gegeben"));
    QVERIFY(!gState().unsavedChanges);
    QCOMPARE(win.w->profiles().currentProfileFile(), path);
    QCOMPARE(RecentFiles::list().value(0), QFileInfo(path).canonicalFilePath());
    QVERIFY(win.w->windowTitle().startsWith(QStringLiteral("gegeben.cfg")));
    // Without unsaved edits nothing is asked.
    win.env.messages.clear();
    QVERIFY(win.w->profiles().openGivenProfile(path));
    QVERIFY(win.env.messages.isEmpty());
}

// "Always record": the program records from its start and keeps the trace when it closes.
void TestWindowHabits::alwaysRecordKeepsTheTraceOnClose()
{
    {
        SimWindow win;
        QAction* always = WindowWidgets::named<QAction>(*win.w, "mnuProtokollImmer");
        QVERIFY(!always->isChecked());
        QVERIFY(!WireTrace::recording());
        always->trigger();
        QCOMPARE(Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("Protokoll")), QStringLiteral("1"));
        WireTrace::stopRecording(); // as after a restart: nothing recorded yet
    }
    SimWindow win;
    Settings::set(QStringLiteral("Einstellungen"), QStringLiteral("Protokoll"), QStringLiteral("1"));
    win.w = std::make_unique<MainWindow>(gState());
    win.w->device().setWaiter(&win.clock);
    QVERIFY(WireTrace::recording());
    win.w->device().switchRelayOn(1);
    QVERIFY(win.unit().rawIn().contains("4711"));
    QVERIFY(win.w->close());
    const QDir folder(win.env.path("Protokolle"));
    const QStringList kept = folder.entryList({QStringLiteral("*.txt")}, QDir::Files);
    QCOMPARE(kept.size(), 1);
    QFile file(folder.filePath(kept[0]));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray trace = file.readAll();
    QVERIFY2(trace.contains(" > :RS") && trace.contains(" PW:****<CR>") && !trace.contains("4711"), trace.constData());
    WireTrace::stopRecording();
}

QTEST_MAIN(TestWindowHabits)
#include "test_window_habits.moc"
