// The main window's desktop habits: closing while the unit is being asked, the language
// chosen in the Extras menu, the comparison with the unit, the connection log, the recent
// files and the window title.
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "link/Waiter.h"
#include "sim/SimChannel.h"
#include "ui/DeviceController.h"
#include "ui/MainWindow.h"
#include "WindowWidgets.h"

#include <QAction>
#include <QPointer>
#include <QTimer>
#include <QtTest>

class TestWindowHabits : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void closeDuringTheStartProbeWaitsForIt();
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

QTEST_MAIN(TestWindowHabits)
#include "test_window_habits.moc"
