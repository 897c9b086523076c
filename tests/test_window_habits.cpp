// The main window's desktop habits: closing while the unit is being asked, the comparison with
// the unit, the backup before a send, the connection log, the recent files, the window title
// and its unsaved mark, a dropped profile, and the language chosen in the Extras menu
// (stored, every text refilled once, the unsaved state untouched).
#include "Desktop.h"
#include "SimWindow.h"

#include "editing/ConfigModel.h"
#include "image/ProfileDiff.h"
#include "store/ProfileStore.h"
#include "link/WireTrace.h"
#include "ui/CompareDialog.h"
#include "ui/ProfileController.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableWidget>
#include <QUrl>

using WindowWidgets::named;

namespace {
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
    void comparisonListsWhatTheUnitHoldsOtherwise();
    void sendKeepsTheUnitsFormerConfiguration();
    void connectionLogRecordsMasksAndSaves();
    void recentProfilesAndTitle();
    void languageSwitchRefillsOnceAndKeepsTheUnsavedState_data();
    void languageSwitchRefillsOnceAndKeepsTheUnsavedState();
};

void TestWindowHabits::cleanup()
{
    gState().closing = false;
    WireTrace::stopRecording();
    QCoreApplication::processEvents();
}

// As the program starts it: deleted on close, the probe deferred until the window is shown,
// real waits in a nested event loop; a close inside the probe's wait waits for it.
void TestWindowHabits::closeDuringTheStartProbeWaitsForIt()
{
    TestEnv env;
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
    QVERIFY(!destroyedUnderTheProbe && env.messages.isEmpty());
}

// The unit holds the program's configuration with one text changed: that one row is listed,
// and what the unit holds goes nowhere (read only, the store and the editor unchanged).
void TestWindowHabits::comparisonListsWhatTheUnitHoldsOtherwise()
{
    SimWindow win;
    ProfileData onUnit = ProfileStore::read(win.w->store(), 1);
    onUnit.inputs[2].text = QStringLiteral("Tor zu");
    writeProfile(onUnit, win.env.path("unit.cfg"));
    QVERIFY(win.unit().loadImage(win.env.path("unit.cfg")));
    const QString storeBefore = win.env.configurationRows();
    QStringList rows;
    QString summary;
    whenShown<CompareDialog>([&](CompareDialog* d) {
        summary = d->summary();
        auto* table = d->findChild<QTableWidget*>("grdVergleich");
        for (int r = 0; table && r < table->rowCount(); ++r)
            rows << table->item(r, 0)->text() + " | " + table->item(r, 1)->text() + " | " + table->item(r, 2)->text();
        d->reject();
    });
    win.get<QAction>("mnuVergleichen")->trigger();
    QCOMPARE(rows, QStringList({ProfileDiff::fieldLabel("inputs[2].text", gState()) + " | Tür 3 | Tor zu"}));
    QCOMPARE(summary, gState().msg("gsVglAnzahl").arg(1));
    QCOMPARE(win.env.configurationRows(), storeBefore);
    QCOMPARE(win.get<QLineEdit>("txtEingangSF(1)")->text(), QStringLiteral("Tür 3"));
    QVERIFY(win.env.messages.isEmpty());
    QCOMPARE(win.unit().rawIn().count(":HR3:0080:"), 64); // 64 block reads, no write
    QVERIFY(!win.unit().rawIn().contains(":HW"));
}

// Sending the configuration keeps what the unit held first, in the program folder under the
// unit's serial number; with the Extras setting off nothing is kept and the write still runs.
void TestWindowHabits::sendKeepsTheUnitsFormerConfiguration()
{
    SimWindow win;
    QVERIFY(win.get<QAction>("mnuSicherung")->isChecked());
    win.unit().area2.replace(0, 6, "204518");
    for (int i = 0; i < win.unit().area3.size(); ++i)
        win.unit().area3[i] = char((i * 7 + 3) & 0xFF);
    for (int b = 0; b < 64; ++b)
        win.unit().area3[b * 128] = char(0x10 + b); // block codes
    const QByteArray former = win.unit().area3;
    const QDir folder(win.env.path("Backups/204518"));
    for (bool backup : {true, false}) {
        win.env.messages.clear();
        win.unit().clearLog();
        win.w->device().writeConfiguration();
        QCOMPARE(win.said(), QStringList {gState().msg(QStringLiteral("gsMsgDownloadOK"))});
        QVERIFY(win.unit().area3 != former); // written
        QCOMPARE(win.unit().rawIn().contains(":HR3:0080:"), backup);
        const QStringList kept = folder.entryList({QStringLiteral("*.cfg")}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        if (!backup)
            break;
        const QList<QByteArray> lines = readAll(folder.filePath(kept[0])).split('\n');
        for (int r = 0; r < 512; r += 37) // the records as the unit held them
            QCOMPARE(QByteArray::fromHex(lines[r].mid(9, 32)), former.mid(r * 16, 16));
        win.get<QAction>("mnuSicherung")->trigger(); // turned off
        QCOMPARE(Settings::get("Einstellungen", "Sicherung"), QStringLiteral("0"));
    }
}

// The log records between start and stop, with the unit password masked, and is saved where
// the user says; "always record" records from the next start and keeps the trace on close.
void TestWindowHabits::connectionLogRecordsMasksAndSaves()
{
    SimWindow win;
    const auto menu = [&] {
        QString s;
        for (const char* item : {"mnuProtokollStart", "mnuProtokollStop", "mnuProtokollSpeichern"})
            s += win.get<QAction>(item)->isEnabled() ? '1' : '0';
        return s;
    };
    QCOMPARE(menu(), QStringLiteral("100"));
    win.get<QAction>("mnuProtokollStart")->trigger();
    QCOMPARE(menu(), QStringLiteral("010"));
    win.w->device().refreshUnitStatus();
    win.w->device().switchRelayOn(2); // carries the unit password
    QVERIFY(win.unit().rawIn().contains("4711"));
    win.get<QAction>("mnuProtokollStop")->trigger();
    QCOMPARE(menu(), QStringLiteral("101"));
    win.w->device().readSerialNumber(); // after the stop: not in the log
    QVERIFY(win.unit().rawIn().contains(":HR2 CT:0010 AD:0000"));
    win.env.fileAnswers << win.env.path("trace.txt");
    win.get<QAction>("mnuProtokollSpeichern")->trigger();
    QCOMPARE(win.env.fileRequests.size(), 1);
    QVERIFY(win.env.fileRequests[0].save);
    QCOMPARE(win.env.fileRequests[0].title, gState().msg("gsProtokollTitel"));
    const QByteArray log = readAll(win.env.path("trace.txt"));
    QCOMPARE(log, WireTrace::recorded());
    QVERIFY2(log.count(" > <CR>") >= 2 && log.contains("< >") && log.contains(" PW:****<CR>"), log.constData());
    QVERIFY(!log.contains("4711") && !log.contains(":HR2 CT:0010 AD:0000"));
    // A folder in place of the file: said in the program's language.
    QDir(win.env.root()).mkdir("folder.txt");
    win.env.fileAnswers << win.env.path("folder.txt");
    win.get<QAction>("mnuProtokollSpeichern")->trigger();
    QCOMPARE(win.said(),
             QStringList {gState().msg("gsMsgIstOrdner").arg(QDir::toNativeSeparators(win.env.path("folder.txt")))});
    QVERIFY(!win.get<QAction>("mnuProtokollImmer")->isChecked());
    win.get<QAction>("mnuProtokollImmer")->trigger();
    QCOMPARE(Settings::get("Einstellungen", "Protokoll"), QStringLiteral("1"));
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

// The title names the profile and marks an edit until it is saved (an edit marks it at once:
// the editor's test); the recent profiles list the newest first, open from the list, and drop
// what is gone; the file dialogs start where the last profile went; a dropped profile opens;
// the window's size is kept between runs.
void TestWindowHabits::recentProfilesAndTitle()
{
    TestEnv env;
    MainWindow w(gState());
    w.initializeControls();
    gState().unsavedChanges = false;
    const QString program = "[*] - " + gState().programName;
    QCOMPARE(w.windowTitle(), "SMSV48_Default.cfg" + program);
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
    QVERIFY(QDir().mkpath(env.path("site")) && QDir().mkpath(env.path("other")));
    env.fileAnswers << env.path("site/a.cfg") << env.path("other/b.cfg");
    named<QCheckBox>(w, "ChkDefaultState(2)")->click();
    QVERIFY(w.isWindowModified());
    w.action(MainWindow::Command::SaveAs)->trigger();
    QCOMPARE(lastFolder(), QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).absolutePath());
    QCOMPARE(env.fileRequests.last().fileName, QStringLiteral("SMSV48_Default.cfg"));
    QCOMPARE(w.windowTitle(), "a.cfg" + program);
    QVERIFY(!w.isWindowModified() && recent->isEnabled());
    named<QCheckBox>(w, "ChkDefaultState(2)")->click(); // the next edit marks it again
    QVERIFY(w.isWindowModified());
    QCOMPARE(entries(), QStringLiteral("mnuZuletzt(1) &1 a.cfg"));
    w.action(MainWindow::Command::SaveAs)->trigger();
    QCOMPARE(lastFolder(), QDir(env.path("site")).absolutePath());
    QCOMPARE(entries(), QStringLiteral("mnuZuletzt(1) &1 b.cfg, mnuZuletzt(2) &2 a.cfg"));
    named<QAction>(w, "mnuZuletzt(2)")->trigger();
    QCOMPARE(Settings::get("Profile", "File"), env.path("site/a.cfg"));
    QCOMPARE(w.windowTitle(), "a.cfg" + program);
    QCOMPARE(entries(), QStringLiteral("mnuZuletzt(1) &1 a.cfg, mnuZuletzt(2) &2 b.cfg"));
    env.fileAnswers << env.path("other/b.cfg");
    w.action(MainWindow::Command::Open)->trigger();
    QCOMPARE(lastFolder(), QDir(env.path("site")).absolutePath());
    QCOMPARE(entries(), QStringLiteral("mnuZuletzt(1) &1 b.cfg, mnuZuletzt(2) &2 a.cfg"));
    QVERIFY(env.messages.isEmpty());
    QVERIFY(QFile::remove(env.path("site/a.cfg")));
    w.profiles().showRecentFiles();
    QCOMPARE(entries(), QStringLiteral("mnuZuletzt(1) &1 b.cfg"));
    // A profile dropped on the window: edits not saved yet are asked about first; Cancel keeps
    // everything, No loads the dropped file, which becomes the current and the newest recent one.
    ProfileData given = ProfileStore::read(w.store(), 1);
    given.inputs[0].text = QStringLiteral("Gegeben");
    writeProfile(given, env.path("other/gegeben.cfg"));
    auto* first = named<QLineEdit>(w, "txtEingangSF(0)");
    const QString before = first->text();
    named<QCheckBox>(w, "ChkDefaultState(2)")->click();
    env.answers << QMessageBox::Cancel << QMessageBox::No;
    for (const QString& shown : {before, QStringLiteral("Gegeben")}) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(env.path("other/gegeben.cfg"))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &enter);
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &dropped);
        QVERIFY(enter.isAccepted() && dropped.isAccepted());
        QCoreApplication::processEvents(); // the drop opens the file once it has finished
        QCOMPARE(first->text(), shown);
        QCOMPARE(w.isWindowModified(), shown == before);
    }
    QCOMPARE(env.said(), QStringList(2, gState().msg(QStringLiteral("gsMsgÄnderungenSpeichern"))));
    QCOMPARE(w.windowTitle(), "gegeben.cfg" + program);
    QCOMPARE(entries(), QStringLiteral("mnuZuletzt(1) &1 gegeben.cfg, mnuZuletzt(2) &2 b.cfg"));
    QVERIFY(w.profiles().openGivenProfile(env.path("other/gegeben.cfg"))); // nothing unsaved: not asked
    QCOMPARE(env.messages.size(), 2);
    // The window's size is kept for the next run.
    w.show();
    w.resize(1000, 640);
    QTRY_COMPARE(w.size(), QSize(1000, 640));
    QVERIFY(w.close());
    gState().closing = false;
    MainWindow again(gState());
    QCOMPARE(again.size(), QSize(1000, 640));
    QVERIFY(!again.windowIcon().isNull());
}

void TestWindowHabits::languageSwitchRefillsOnceAndKeepsTheUnsavedState_data()
{
    QTest::addColumn<QString>("editBefore"); // "box" ticked, "typed" into a text still focused
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("takeOver"); // 0: nothing asked, else the answer to the question
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("unsavedAfter");
    QTest::newRow("unsaved, Italian") << "box" << 3 << 0 << "Porta 1" << true;
    QTest::newRow("typed at the switch, English") << "typed" << 2 << 0 << "Door 1" << true;
    QTest::newRow("saved, French, texts not taken") << "" << 4 << int(QMessageBox::No) << "" << false;
    QTest::newRow("saved, French, texts taken over") << "" << 4 << int(QMessageBox::Yes) << "Tuer 1" << true;
    QTest::newRow("unsaved, French, texts not taken") << "box" << 4 << int(QMessageBox::No) << "" << true;
}

void TestWindowHabits::languageSwitchRefillsOnceAndKeepsTheUnsavedState()
{
    QFETCH(QString, editBefore);
    QFETCH(int, language);
    QFETCH(int, takeOver);
    QFETCH(QString, shown);
    QFETCH(bool, unsavedAfter);
    // The main window as the start leaves it, then German, English and Italian texts in the SMS
    // table (French none), all tabs built, its clock stopped.
    TestEnv env(QStringLiteral("1"));
    gState().language = 1;
    auto w = std::make_unique<MainWindow>(gState());
    w->initializeControls();
    env.exec("UPDATE SMS SET Deutsch = 'Tuer ' || ID, Englisch = 'Door ' || ID, Italienisch = 'Porta ' || ID, "
             "\"Französisch\" = NULL");
    w->store().requeryAll();
    w->model().replaced();
    w->findChild<QTimer*>(QStringLiteral("Timer_Zeit"))->stop();
    auto* first = named<QLineEdit>(*w, "txtEingangSF(0)");
    QVERIFY(!w->isWindowModified());
    QCOMPARE(first->text(), QStringLiteral("Tuer 1"));
    QString typed;
    if (editBefore == QLatin1String("box")) {
        named<QCheckBox>(*w, "ChkDefaultState(1)")->click();
    } else if (editBefore == QLatin1String("typed")) {
        // Written in the language it was typed in when the switch comes.
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        auto* second = named<QLineEdit>(*w, "txtEingangSF(1)");
        second->setFocus();
        QTest::keyClicks(second, QStringLiteral("x"));
        typed = second->text();
        QVERIFY(second->hasFocus());
    }
    QCOMPARE(w->isWindowModified(), editBefore == QLatin1String("box"));
    QSignalSpy filled(first, &QLineEdit::textChanged);
    if (takeOver)
        env.answers << QMessageBox::StandardButton(takeOver);

    named<QAction>(*w, "mnuSprache", language)->trigger();

    // Asked in the new language, Yes offered first; the texts taken over reach the store.
    QCOMPARE(env.said(),
             takeOver ? QStringList {gState().msg(QStringLiteral("gsFrageTexteUebernehmen"))} : QStringList());
    QVERIFY(!takeOver || env.messages[0].defaultButton == QMessageBox::Yes);
    QCOMPARE(env.queryValue("SELECT count(*) FROM SMS WHERE \"Französisch\" = Deutsch AND ID <= 26").toInt(),
             takeOver == QMessageBox::Yes ? 26 : 0);
    QCOMPARE(first->text(), shown);
    // Stored and checked in the menu; every table's texts of the new language shown at once.
    QCOMPARE(Settings::get("Einstellungen", "Sprache"), QString::number(language));
    QString checked;
    for (int i = 1; i <= 4; ++i)
        checked += named<QAction>(*w, "mnuSprache", i)->isChecked() ? '1' : '0';
    QCOMPARE(checked, QString(4, '0').replace(language - 1, 1, '1'));
    const auto text = [&](const char* key, const char* table) {
        return Desktop::tableText(env, QString::fromUtf8(key), language, table);
    };
    QCOMPARE(QStringList({named<QMenu>(*w, "mnuDatei")->title(), w->tabs()->tabText(1),
                          named(*w, "txtSerienummer")->toolTip(), gState().msg("gsMsgÄnderungenSpeichern"),
                          named<QAction>(*w, "mnuVergleichen")->text()}),
             QStringList({text("mnuDatei", "Beschriftung"), text("SSTab1(1)", "Beschriftung"),
                          text("txtSerienummer", "ToolTipText"), text("gsMsgÄnderungenSpeichern", "SystemNachrichten"),
                          text("gsVglMenue", "SystemNachrichten")}));
    // Filled once with the new language's text, not first again in the old one.
    QCOMPARE(filled.size(), shown == QStringLiteral("Tuer 1") ? 0 : 1);
    QVERIFY(filled.isEmpty() || filled.first().first().toString() == shown);
    QCOMPARE(w->isWindowModified(), unsavedAfter);
    if (editBefore == QLatin1String("typed"))
        QCOMPARE(env.queryValue(QStringLiteral("SELECT count(*) FROM SMS WHERE Deutsch = '%1'").arg(typed)).toInt(), 1);
    // The close question follows what the title shows.
    env.messages.clear();
    env.answers << QMessageBox::No;
    QVERIFY(w->close());
    QCOMPARE(env.messages.size(), unsavedAfter ? 1 : 0);
}

QTEST_MAIN(TestWindowHabits)
#include "test_window_habits.moc"
