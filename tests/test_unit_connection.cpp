// The unit as the desktop drives it, against the built-in simulated unit in virtual time:
// one command at a time (a second one during the waits of the first is refused), a
// configuration send that carries what the window shows whatever becomes of its record file,
// and one sentence for one outcome in the desktop and in smsv48ctl.
#include "CliRun.h"
#include "Desktop.h"
#include "Permissions.h"
#include "SimWindow.h"
#include "TestEnv.h"
#include "WindowWidgets.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "image/HexWriter.h"
#include "image/Image.h"
#include "link/Waiter.h"
#include "sim/SimChannel.h"
#include "sim/SimUnit.h"
#include "store/ConfigStore.h"
#include "store/ProfileStore.h"
#include "ui/DeviceController.h"
#include "ui/MainWindow.h"
#include "ui/ShellController.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using WindowWidgets::named;

namespace {
// A main window on the built-in simulated unit, in virtual time, its messages loaded.
struct Window {
    TestEnv env;
    VirtualWaiter vw;
    std::unique_ptr<MainWindow> w;
    Window()
    {
        w = Desktop::window();
        w->device().setWaiter(&vw);
        w->device().link();
        env.messages.clear();
    }
    SimUnit& unit() { return static_cast<SimChannel*>(w->device().channel.get())->unit(); }
    // The command lines the unit received (the bare CRs of the handshakes left out).
    QStringList commands() const
    {
        QStringList r;
        for (const QString& line : const_cast<Window*>(this)->unit().received)
            if (!line.trimmed().isEmpty())
                r << line.trimmed();
        return r;
    }
};

enum class Fault { SilentDuringRelay, LineRefusedDuringWrite };

enum class Second { TabButton, ToolbarRead, ToolbarSend, Shortcut, PortMenu, Comparison };
} // namespace

class TestUnitConnection : public QObject {
    Q_OBJECT
private slots:
    void secondCommandIsRefusedWhileOneWaits_data();
    void secondCommandIsRefusedWhileOneWaits();
    void sendCarriesTheWindowWhateverTheRecordFile_data();
    void sendCarriesTheWindowWhateverTheRecordFile();
    void oneOutcomeOneSentence_data();
    void oneOutcomeOneSentence();
};

void TestUnitConnection::secondCommandIsRefusedWhileOneWaits_data()
{
    QTest::addColumn<Second>("second");
    QTest::addColumn<int>("refusals"); // sentences said; a disabled button says none
    QTest::newRow("System tab: read PIN") << Second::TabButton << 0;
    QTest::newRow("toolbar: read") << Second::ToolbarRead << 1;
    QTest::newRow("toolbar: send") << Second::ToolbarSend << 1;
    QTest::newRow("read PIN by a shortcut") << Second::Shortcut << 1;
    QTest::newRow("port menu") << Second::PortMenu << 1;
    QTest::newRow("comparison with the unit") << Second::Comparison << 1;
}

void TestUnitConnection::secondCommandIsRefusedWhileOneWaits()
{
    QFETCH(Second, second);
    QFETCH(int, refusals);
    Window win;
    win.unit().area2.replace(0, 6, "424242");
    // Silent for the first one and a half seconds: the handshake waits and tries again.
    win.unit().faults.silent = true;
    win.vw.schedule(win.vw.now() + 1500, [&] { win.unit().faults.silent = false; });
    auto* readPin = named<QPushButton>(*win.w, "cmdPinLesen");
    bool disabledMeanwhile = false;
    win.vw.schedule(win.vw.now() + 400, [&] {
        disabledMeanwhile = !readPin->isEnabled();
        switch (second) {
        case Second::TabButton: readPin->click(); break;
        case Second::ToolbarRead: win.w->shell().toolbarButtonClicked(QStringLiteral("Upload")); break;
        case Second::ToolbarSend: win.w->shell().toolbarButtonClicked(QStringLiteral("Download")); break;
        case Second::Shortcut: win.w->device().readSimPin(); break;
        case Second::PortMenu: win.w->action(MainWindow::Command::Port)->trigger(); break;
        case Second::Comparison: win.w->findChild<QAction*>(QStringLiteral("mnuVergleichen"))->trigger(); break;
        }
    });
    named<QPushButton>(*win.w, "cmdLesen")->click();
    QVERIFY(disabledMeanwhile);
    QCOMPARE(win.env.said(),
             QStringList(refusals, Desktop::tableText(win.env, "gsMsgGeraetBeschaeftigt", 1, "SystemNachrichten")));
    QCOMPARE(win.commands(), QStringList {QStringLiteral(":HR2 CT:0010 AD:0000")});
    QCOMPARE(named<QLineEdit>(*win.w, "txtSerienummer")->text(), QStringLiteral("424242"));
    QVERIFY(readPin->isEnabled());
}

void TestUnitConnection::sendCarriesTheWindowWhateverTheRecordFile_data()
{
    QTest::addColumn<bool>("folder"); // the whole folder read-only, else the file alone
    QTest::newRow("record file read-only") << false;
    QTest::newRow("record folder read-only") << true;
}

void TestUnitConnection::sendCarriesTheWindowWhateverTheRecordFile()
{
    QFETCH(bool, folder);
    Window win;
    Settings::set(QStringLiteral("Einstellungen"), QStringLiteral("Sicherung"), QStringLiteral("0")); // no backup read
    const QString record = gState().transferFilePath();
    writeFile(record, ":00000001FF\r\n"); // what an earlier send left
    if (folder)
        Permissions::setTreeReadOnly(QFileInfo(record).path(), true);
    else
        QFile::setPermissions(record, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    // The user changes the text of input 1 rising.
    ConfigStore& store = win.w->store();
    store.sms.setAbsolutePosition(1);
    store.sms.setValue(2, QStringLiteral("Neu 42"));
    store.sms.updateBatch();
    {
        Permissions::Enforced enforced;
        if (!enforced.active())
            QSKIP("file permissions cannot be made to apply to this process");
        win.w->shell().toolbarButtonClicked(QStringLiteral("Download"));
    }
    Permissions::setTreeReadOnly(QFileInfo(record).path(), false);
    Image shown;
    ProfileStore::buildImage(store, gState().language, shown);
    QByteArray expected;
    for (int b = 0; b < Image::Blocks; ++b)
        for (int r = 0; r < Image::Records; ++r)
            for (int j = 0; j < 16; ++j)
                expected += char(shown.dataByte(b, r, j));
    QCOMPARE(win.unit().area3, expected);
    QVERIFY(win.unit().area3.contains("Neu 42"));
    QCOMPARE(readAll(record), QByteArray(":00000001FF\r\n"));
    const QString said = Desktop::tableText(win.env, "gsMsgAufzeichnungNichtGeschrieben", 1, "SystemNachrichten");
    QCOMPARE(win.env.said().size(), 2);
    QCOMPARE(win.env.said()[0], QStringLiteral("gsMsgDownloadOK"));
    QVERIFY2(win.env.said()[1].startsWith(said.left(said.indexOf(QLatin1String("%1")))), qPrintable(win.env.said()[1]));
}

void TestUnitConnection::oneOutcomeOneSentence_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("words"); // a piece of the sentence both must say
    QTest::newRow("unit silent during a relay switch") << Fault::SilentDuringRelay << "antwortet nicht";
    QTest::newRow("line 100 refused during a write") << Fault::LineRefusedDuringWrite << "Zeile 100";
}

void TestUnitConnection::oneOutcomeOneSentence()
{
    QFETCH(Fault, fault);
    QFETCH(QString, words);
    SimWindow win;
    Settings::set(QStringLiteral("Einstellungen"), QStringLiteral("Sicherung"), QStringLiteral("0"));
    QStringList args;
    QString sim;
    if (fault == Fault::SilentDuringRelay) {
        win.unit().faults.silent = true;
        named<QPushButton>(*win.w, "cmdSetOutput", 0)->click();
        args = QStringList {"relay", "1", "on"};
        sim = QStringLiteral("--silent");
    } else {
        win.unit().faults.eLine = 100;
        win.w->shell().toolbarButtonClicked(QStringLiteral("Download"));
        // smsv48ctl sends what the desktop sent: its record of the send.
        args = QStringList {"unit", "write", gState().transferFilePath(), "--no-backup", "--retries", "0"};
        sim = QStringLiteral("--e-line 100");
    }
    QCOMPARE(win.said().size(), 1);
    const QString shown = win.said().last();
    QVERIFY2(shown.contains(words), qPrintable(shown));
    const QTemporaryDir dir;
    const CliRun::Run r
        = CliRun::Unit(dir.path(), sim)
              .run(args, {}, {{"SMSV48_HOME", win.env.root()}, {"SMSV48_SETTINGS_DIR", win.env.settingsDir()}});
    // The same words: the window's sentence is the command line's, begun with a capital and
    // ended with a full stop (and for a silent unit followed by what to check).
    const QString line = shown.section(QLatin1Char('\n'), 0, 0).chopped(1).mid(1);
    QVERIFY2(r.code != 0 && r.err.contains(line.toUtf8()), r.err.constData());
}

QTEST_MAIN(TestUnitConnection)
#include "test_unit_connection.moc"
