// The main window's desktop habits: closing while the unit is being asked, the language
// chosen in the Extras menu, the comparison with the unit, the backup before a send, the
// connection log, the recent files, the window title and a dropped profile.
#include "TestEnv.h"
#include "WindowWidgets.h"

#include "core/ProgramContext.h"
#include "core/RecentFiles.h"
#include "core/Settings.h"
#include "editing/ConfigModel.h"
#include "image/HexWriter.h"
#include "image/Image.h"
#include "image/ProfileDiff.h"
#include "image/ProfileReader.h"
#include "link/Waiter.h"
#include "link/WireTrace.h"
#include "sim/SimChannel.h"
#include "ui/CompareDialog.h"
#include "ui/DeviceController.h"
#include "ui/EditorBinding.h"
#include "ui/ExtrasController.h"
#include "ui/MainWindow.h"
#include "ui/ProfileController.h"
#include "ui/WindowTexts.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>
#include <QtTest>

using WindowWidgets::named;

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

// What the window must leave alone: the texts of every language and the phone book.
QString configurationDump(const TestEnv& env)
{
    return env.queryValue("SELECT group_concat(ID || '|' || ifnull(Deutsch, '-') || '|' || ifnull(Englisch, '-') || "
                          "'|' || ifnull(Italienisch, '-') || '|' || ifnull(\"Französisch\", '-'), ';') FROM SMS")
               .toString()
        + env.queryValue(
                 "SELECT group_concat(ifnull(Namen, '-') || '|' || ifnull(Natel_Nummer, '-'), ';') FROM Adressen")
              .toString();
}

// A main window on the built-in simulated unit, in virtual time; user 1's password is 4711.
struct SimWindow {
    TestEnv env;
    VirtualWaiter clock;
    std::unique_ptr<MainWindow> w;
    SimWindow() : env(QStringLiteral("1"))
    {
        env.exec("UPDATE SMS SET Deutsch = 'Tür ' || ID, Englisch = 'Door ' || ID");
        env.exec("UPDATE \"Adressen\" SET \"Passwort\" = '4711' WHERE rowid = (SELECT MIN(rowid) FROM \"Adressen\")");
        open();
        w->texts().loadSystemMessages();
        w->extras().applyTexts();
        w->editorBinding().refresh();
    }
    void open()
    {
        w = std::make_unique<MainWindow>(gState());
        w->device().setWaiter(&clock);
        w->device().link();
    }
    SimUnit& unit() { return static_cast<SimChannel*>(w->device().channel.get())->unit(); }
    QAction* item(const char* name) { return named<QAction>(*w, name); }
    // The given configuration as a profile file at path.
    void writeProfile(const ProfileData& data, const QString& path)
    {
        Image image;
        HexWriter::buildImage(data, image);
        QVERIFY(HexWriter::writeProfileFile(gState(), image, path).ok());
    }
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

class TestWindowHabits : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void closeDuringTheStartProbeWaitsForIt();
    void languageSwitchesWhileRunning();
    void comparisonListsWhatTheUnitHoldsOtherwise();
    void sendKeepsTheUnitsFormerConfiguration();
    void connectionLogRecordsMasksAndSaves();
    void recentProfilesAndTitle();
    void geometryKeptBetweenRuns();
    void droppedProfileAsksAboutUnsavedChanges();
};

void TestWindowHabits::cleanup()
{
    gState().closing = false;
    WireTrace::stopRecording();
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
    bool probeReturned = false, destroyedUnderTheProbe = false, closedInsideTheWait = false;
    connect(window.data(), &QObject::destroyed, this, [&] { destroyedUnderTheProbe = !probeReturned; });
    QTimer::singleShot(0, window.data(), [&] {
        closedInsideTheWait = window->device().commandRunning();
        window->close();
    });
    window->runPendingProbe();
    probeReturned = true;
    QVERIFY(closedInsideTheWait);
    QTRY_VERIFY(window.isNull());
    QVERIFY(!destroyedUnderTheProbe);
    QVERIFY(env.messages.isEmpty());
}

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
    auto* firstText = named<QLineEdit>(w, "txtEingangSF(0)");
    QCOMPARE(firstText->text(), QStringLiteral("Tür 1"));
    const QString smsWord[5] = {"", "Tür 1", "Door 1", "Porta 1", "Porte 1"};
    for (int language : {4, 2, 1}) {
        named<QAction>(w, "mnuSprache", language)->trigger();
        QCOMPARE(Settings::get("Einstellungen", "Sprache"), QString::number(language));
        QCOMPARE(gState().language, language);
        for (int i = 1; i <= 4; ++i)
            QCOMPARE(named<QAction>(w, "mnuSprache", i)->isChecked(), i == language);
        QCOMPARE(named<QMenu>(w, "mnuDatei")->title(), row(env, "Beschriftung", "mnuDatei", language));
        QCOMPARE(w.tabs()->tabText(1), row(env, "Beschriftung", "SSTab1(1)", language));
        QCOMPARE(named(w, "txtSerienummer")->toolTip(), row(env, "ToolTipText", "txtSerienummer", language));
        QCOMPARE(gState().msg(QStringLiteral("gsMsgÄnderungenSpeichern")),
                 row(env, "SystemNachrichten", "gsMsgÄnderungenSpeichern", language));
        QCOMPARE(named<QMenu>(w, "mnuSprache")->title(), row(env, "SystemNachrichten", "gsSpracheMenue", language));
        QCOMPARE(named<QAction>(w, "mnuVergleichen")->text(), row(env, "SystemNachrichten", "gsVglMenue", language));
        QCOMPARE(firstText->text(), smsWord[language]);
        QVERIFY(!gState().unsavedChanges);
        QCOMPARE(configurationDump(env), before);
    }
    QCOMPARE(named<QAction>(w, "mnuSprache", 4)->text(), QStringLiteral("Français")); // named in their own
}

void TestWindowHabits::comparisonListsWhatTheUnitHoldsOtherwise()
{
    SimWindow win;
    // The unit holds the program's configuration with one text changed.
    ProfileData onUnit = HexWriter::fromStore(win.w->store(), 1);
    QCOMPARE(onUnit.inputs[2].text, QStringLiteral("Tür 3"));
    onUnit.inputs[2].text = QStringLiteral("Tor zu");
    win.writeProfile(onUnit, win.env.path("unit.cfg"));
    QVERIFY(win.unit().loadImage(win.env.path("unit.cfg")));
    const QString storeBefore = configurationDump(win.env);
    QStringList rows;
    QString summary;
    whenShown<CompareDialog>([&](CompareDialog* d) {
        summary = d->summary();
        auto* table = d->findChild<QTableWidget*>("grdVergleich");
        QVERIFY(table);
        for (int r = 0; r < table->rowCount(); ++r)
            rows << table->item(r, 0)->text() + " | " + table->item(r, 1)->text() + " | " + table->item(r, 2)->text();
        d->reject();
    });
    win.item("mnuVergleichen")->trigger();
    QCOMPARE(rows, QStringList({ProfileDiff::fieldLabel("inputs[2].text", gState()) + " | Tür 3 | Tor zu"}));
    QCOMPARE(summary, gState().msg("gsVglAnzahl").arg(1));
    // What the unit holds went nowhere: the store and the editor show the program's text.
    QCOMPARE(configurationDump(win.env), storeBefore);
    QCOMPARE(named<QLineEdit>(*win.w, "txtEingangSF(1)")->text(), QStringLiteral("Tür 3"));
    QVERIFY(win.env.messages.isEmpty());
    QCOMPARE(win.unit().rawIn().count(":HR3:0080:"), 64); // 64 block reads, no write
    QVERIFY(!win.unit().rawIn().contains(":HW"));
}

// Sending the configuration keeps what the unit held first, in the program folder under the
// unit's serial number; with the Extras setting off nothing is kept and the write still runs.
void TestWindowHabits::sendKeepsTheUnitsFormerConfiguration()
{
    SimWindow win;
    QVERIFY(win.item("mnuSicherung")->isChecked());
    win.unit().area2.replace(0, 6, "204518");
    for (int i = 0; i < win.unit().area3.size(); ++i)
        win.unit().area3[i] = char((i * 7 + 3) & 0xFF);
    for (int b = 0; b < 64; ++b)
        win.unit().area3[b * 128] = char(0x10 + b); // block codes
    const QByteArray former = win.unit().area3;
    const QString folder = win.env.path("Backups/204518");
    for (bool backup : {true, false}) {
        win.env.messages.clear();
        win.unit().clearLog();
        win.w->device().writeConfiguration();
        QCOMPARE(win.env.messages.size(), 1);
        QCOMPARE(win.env.messages[0].text, gState().msg(QStringLiteral("gsMsgDownloadOK")));
        QVERIFY(win.unit().area3 != former); // written
        QCOMPARE(win.unit().rawIn().contains(":HR3:0080:"), backup);
        const QStringList kept = QDir(folder).entryList({QStringLiteral("*.cfg")}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        if (!backup)
            break;
        QCOMPARE(QDir(folder).filePath(kept[0]), win.w->device().lastBackup());
        Image image;
        QString error;
        QVERIFY2(ProfileReader::readFile(gState(), QDir(folder).filePath(kept[0]), image, &error), qPrintable(error));
        const QList<QByteArray> lines = readAll(QDir(folder).filePath(kept[0])).split('\n');
        for (int r = 0; r < 512; r += 37) // the records as the unit held them
            QCOMPARE(QByteArray::fromHex(lines[r].mid(9, 32)), former.mid(r * 16, 16));
        win.item("mnuSicherung")->trigger(); // turned off
        QCOMPARE(Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("Sicherung")), QStringLiteral("0"));
    }
}

// The log records between start and stop, with the unit password masked, and is saved where
// the user says; "always record" records from the start and keeps the trace on close.
void TestWindowHabits::connectionLogRecordsMasksAndSaves()
{
    SimWindow win;
    QVERIFY(win.item("mnuProtokollStart")->isEnabled() && !win.item("mnuProtokollStop")->isEnabled());
    win.item("mnuProtokollStart")->trigger();
    QVERIFY(!win.item("mnuProtokollStart")->isEnabled() && win.item("mnuProtokollStop")->isEnabled());
    QVERIFY(!win.item("mnuProtokollSpeichern")->isEnabled());
    win.w->device().refreshUnitStatus();
    win.w->device().switchRelayOn(2); // carries the unit password
    QVERIFY(win.unit().rawIn().contains("4711"));
    win.item("mnuProtokollStop")->trigger();
    QVERIFY(win.item("mnuProtokollStart")->isEnabled() && !win.item("mnuProtokollStop")->isEnabled());
    win.w->device().readSerialNumber(); // after the stop: not in the log
    QVERIFY(win.unit().rawIn().contains(":HR2 CT:0010 AD:0000"));

    win.env.fileAnswers << win.env.path("trace.txt");
    win.item("mnuProtokollSpeichern")->trigger();
    QCOMPARE(win.env.fileRequests.size(), 1);
    QVERIFY(win.env.fileRequests[0].save);
    QCOMPARE(win.env.fileRequests[0].title, gState().msg("gsProtokollTitel"));
    const QByteArray log = readAll(win.env.path("trace.txt"));
    QCOMPARE(log, WireTrace::recorded());
    QVERIFY2(log.count(" > <CR>") >= 2 && log.contains("< >") && log.contains(" PW:****<CR>"), log.constData());
    QVERIFY(!log.contains("4711"));
    QVERIFY(!log.contains(":HR2 CT:0010 AD:0000"));
    QVERIFY(win.env.messages.isEmpty());
    // A folder in place of the file: said in the program's language.
    QDir(win.env.root()).mkdir("folder.txt");
    win.env.fileAnswers << win.env.path("folder.txt");
    win.item("mnuProtokollSpeichern")->trigger();
    QCOMPARE(win.env.messages.size(), 1);
    QCOMPARE(win.env.messages[0].text,
             gState().msg("gsMsgIstOrdner").arg(QDir::toNativeSeparators(win.env.path("folder.txt"))));

    // Always record: set in the menu, it applies from the next start on.
    QVERIFY(!win.item("mnuProtokollImmer")->isChecked());
    win.item("mnuProtokollImmer")->trigger();
    QCOMPARE(Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("Protokoll")), QStringLiteral("1"));
    WireTrace::stopRecording();
    win.open();
    QVERIFY(WireTrace::recording());
    win.w->device().switchRelayOn(1);
    QVERIFY(win.w->close());
    const QDir logs(win.env.path("Protokolle"));
    const QStringList kept = logs.entryList({QStringLiteral("*.txt")}, QDir::Files);
    QCOMPARE(kept.size(), 1);
    const QByteArray trace = readAll(logs.filePath(kept[0]));
    QVERIFY2(trace.contains(" > :RS") && trace.contains(" PW:****<CR>") && !trace.contains("4711"), trace.constData());
}

void TestWindowHabits::recentProfilesAndTitle()
{
    TestEnv env;
    MainWindow w(gState());
    w.initializeControls();
    gState().unsavedChanges = false;
    const QString program = " - " + gState().programName;
    QCOMPARE(w.windowTitle(), "SMSV48_Default.cfg[*]" + program);
    QVERIFY(!w.isWindowModified());
    QMenu* recent = named<QMenu>(w, "mnuZuletzt");
    QCOMPARE(recent->title(), gState().msg("gsZuletztMenue"));
    QVERIFY(recent->actions().isEmpty() && !recent->isEnabled());
    const auto entries = [&] {
        QStringList r;
        for (QAction* a : recent->actions())
            r << a->objectName() + " " + a->text();
        return r.join(", ");
    };
    const auto lastFolder = [&] { return QDir(env.fileRequests.last().folder).absolutePath(); };
    // An edit marks the title until the profile is saved.
    w.model().setModified(true);
    QVERIFY(w.isWindowModified());
    QVERIFY(QDir().mkpath(env.path("site")) && QDir().mkpath(env.path("other")));
    env.fileAnswers << env.path("site/a.cfg") << env.path("other/b.cfg");
    w.action(MainWindow::Command::SaveAs)->trigger();
    QCOMPARE(lastFolder(), QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).absolutePath());
    QCOMPARE(env.fileRequests.last().fileName, QStringLiteral("SMSV48_Default.cfg"));
    QCOMPARE(w.windowTitle(), "a.cfg[*]" + program);
    QVERIFY(!w.isWindowModified());
    QCOMPARE(entries(), QStringLiteral("mnuZuletzt(1) &1 a.cfg"));
    QVERIFY(recent->isEnabled());
    w.action(MainWindow::Command::SaveAs)->trigger();
    QCOMPARE(lastFolder(), QDir(env.path("site")).absolutePath()); // where the last profile went
    QCOMPARE(entries(), QStringLiteral("mnuZuletzt(1) &1 b.cfg, mnuZuletzt(2) &2 a.cfg"));
    QCOMPARE(w.windowTitle(), "b.cfg[*]" + program);
    // The older one from the list: loaded, current, on top.
    named<QAction>(w, "mnuZuletzt(2)")->trigger();
    QCOMPARE(Settings::get("Profile", "File"), env.path("site/a.cfg"));
    QCOMPARE(w.windowTitle(), "a.cfg[*]" + program);
    QCOMPARE(entries(), QStringLiteral("mnuZuletzt(1) &1 a.cfg, mnuZuletzt(2) &2 b.cfg"));
    env.fileAnswers << env.path("other/b.cfg");
    w.action(MainWindow::Command::Open)->trigger();
    QCOMPARE(lastFolder(), QDir(env.path("site")).absolutePath());
    QCOMPARE(entries(), QStringLiteral("mnuZuletzt(1) &1 b.cfg, mnuZuletzt(2) &2 a.cfg"));
    QVERIFY(env.messages.isEmpty());
    // A profile that is gone is no longer offered.
    QVERIFY(QFile::remove(env.path("site/a.cfg")));
    w.profiles().showRecentFiles();
    QCOMPARE(entries(), QStringLiteral("mnuZuletzt(1) &1 b.cfg"));
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
    const QString path = win.env.path("gegeben.cfg");
    win.writeProfile(given, path);
    auto* first = named<QLineEdit>(*win.w, "txtEingangSF(0)");
    const QString before = first->text();
    QVERIFY(before != QStringLiteral("Gegeben"));
    gState().unsavedChanges = true;
    for (auto answer : {QMessageBox::Cancel, QMessageBox::No}) {
        win.env.messages.clear();
        win.env.answers << answer;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(win.w.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(win.w.get(), &dropped);
        QVERIFY(dropped.isAccepted());
        QCoreApplication::processEvents(); // the drop opens the file once it has finished
        QCOMPARE(win.env.messages.size(), 1);
        QCOMPARE(win.env.messages[0].text, gState().msg(QStringLiteral("gsMsgÄnderungenSpeichern")));
        QCOMPARE(first->text(), answer == QMessageBox::Cancel ? before : QStringLiteral("Gegeben"));
        QCOMPARE(gState().unsavedChanges, answer == QMessageBox::Cancel);
    }
    QCOMPARE(win.w->profiles().currentProfileFile(), path);
    QCOMPARE(RecentFiles::list().value(0), QFileInfo(path).canonicalFilePath());
    QVERIFY(win.w->windowTitle().startsWith(QStringLiteral("gegeben.cfg")));
    // Without unsaved edits nothing is asked.
    win.env.messages.clear();
    QVERIFY(win.w->profiles().openGivenProfile(path));
    QVERIFY(win.env.messages.isEmpty());
}

QTEST_MAIN(TestWindowHabits)
#include "test_window_habits.moc"
