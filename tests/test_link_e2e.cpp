// End to end: smsv48ctl against smsv48-sim over a pseudo-terminal at 115200 baud, at the
// unit's real pace (one whole write and read back), and the desktop side of a real port.
#include "CliRun.h"
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "link/PortResolver.h"
#include "link/SerialChannel.h"
#include "ui/MainWindow.h"
#include "ui/PortSettingsDialog.h"

#include <QComboBox>
#include <QtTest>

using CliRun::Sim;

class TestLinkE2E : public QObject {
    Q_OBJECT
private slots:
    void writeAndReadBackOverARealPort();
    void busyPort();
};

// The one run at the unit's pace: a whole write with its read back, where the unit refuses
// one block once, then a read whose file is byte for byte the one written.
void TestLinkE2E::writeAndReadBackOverARealPort()
{
    TestEnv env;
    QTemporaryDir dir;
    const QString site = env.path(QStringLiteral("UserProfile/SMSV48_Default.cfg"));
    Sim sim(dir.path(), {"--block-fault", "refuse", "--block", "5", "--times", "1"});
    CliRun::Run r = CliRun::ctl(sim.dev() + QStringList {"-q", "unit", "write", site, "--verify", "--no-backup"});
    QVERIFY2(r.code == 0 && r.err.isEmpty(), r.err.constData());
    // What the tool sent, as one text (the unit logs it in the pieces in which it arrives).
    QByteArray sent;
    for (const QByteArray& entry : sim.wire().split('\n'))
        if (entry.indexOf(" > ") >= 0)
            sent += entry.mid(entry.indexOf(" > ") + 3);
    const int written = int(sent.indexOf(":HW3 PW:6054<CR>")), end = int(sent.indexOf(":00000001FF<CR>"));
    QVERIFY2(written >= 0 && end > written, sent.left(600).constData());
    QCOMPARE(sent.mid(written, end - written).count(":10"), 512);
    QCOMPARE(sent.mid(end).count(":HR3:0080:0200<CR>"), 2); // the refused block asked again
    const QString back = dir.filePath(QStringLiteral("back.cfg"));
    r = CliRun::ctl(sim.dev() + QStringList {"-q", "unit", "read", "-o", back});
    QVERIFY2(r.code == 0, r.err.constData());
    QCOMPARE(readAll(back), readAll(site));
}

// A port another program holds is busy by its error code: the port dialog says "COM 1: " and
// the reason, selects COM 2 and stores the port as closed; once the other program lets go,
// the port opens and the unit answers.
void TestLinkE2E::busyPort()
{
    QTemporaryDir dir;
    Sim sim(dir.path(), {});
    SerialChannel first(gState()), second(gState());
    QVERIFY(first.open(sim.device, QStringLiteral("9600,N,8,1")));
    QVERIFY(!second.open(sim.device, QStringLiteral("9600,N,8,1")));
    QVERIFY2(second.lastErrorWasBusy(), qPrintable(second.errorString()));
    TestEnv env;
    Settings::set(QStringLiteral("Ports"), QStringLiteral("COM1"), QStringLiteral("sim"));
    MainWindow w(gState());
    PortResolver::assign(1, sim.device);
    PortSettingsDialog dlg(&w);
    dlg.portBox->setCurrentIndex(0);
    QVERIFY(!dlg.apply());
    QCOMPARE(env.messages.size(), 1);
    QVERIFY2(env.messages[0].text.startsWith(QStringLiteral("COM 1: ")), qPrintable(env.messages[0].text));
    QCOMPARE(env.messages[0].icon, Dialogs::Icon::Exclamation);
    QCOMPARE(dlg.portBox->currentIndex(), 1);
    const auto state
        = [] { return Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("COM-Anschluss-Aktuell")); };
    QCOMPARE(state(), QStringLiteral("closed"));
    first.close();
    dlg.portBox->setCurrentIndex(0);
    QVERIFY(dlg.apply());
    QCOMPARE(w.lamp(), int(MainWindow::Green));
    QCOMPARE(state(), QStringLiteral("open"));
}

QTEST_MAIN(TestLinkE2E)
#include "test_link_e2e.moc"
