#include "ui/Start.h"
#include "ui/StartTrace.h"

#include "ui/QtTranslations.h"

#include "store/DataRoot.h"
#include "ui/Dialogs.h"
#include "core/ProgramContext.h"
#include "core/Progress.h"
#include "store/TextTable.h"
#include "editing/ConfigModel.h"
#include "link/PortResolver.h"
#include "store/ConfigStore.h"
#include "ui/SplashWindow.h"
#include "ui/MainWindow.h"
#include "ui/ProfileController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QFileInfo>
#include <QString>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <sqlite3.h>

Q_LOGGING_CATEGORY(lcStartup, "smsv48.startup", QtWarningMsg)

namespace {
// Used by the start-up benchmark: once the window's first paint is done, says so and closes it.
class ReportFirstPaint : public QObject {
public:
    explicit ReportFirstPaint(QWidget* window) : QObject(window), m_window(window) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, m_window, [w = m_window] {
                std::printf("painted\n");
                std::fflush(stdout);
                w->close();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* m_window;
    bool m_seen = false;
};
} // namespace

namespace Start {
void mark(const char* step)
{
    if (!lcStartup().isDebugEnabled())
        return;
    // Wall time, and the processor time of this thread (which other programs on a busy machine
    // do not stretch).
    static QElapsedTimer since;
    if (!since.isValid())
        since.start();
    timespec cpu {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    qCDebug(lcStartup, "%7.1f ms  %7.1f ms cpu  %s", static_cast<double>(since.nsecsElapsed()) / 1e6,
            static_cast<double>(cpu.tv_sec) * 1e3 + static_cast<double>(cpu.tv_nsec) / 1e6, step);
}

QString prepare(ProgramContext& context)
{
    QString error;
    context.dataRoot = DataRoot::find(context, &error);
    if (context.dataRoot.isEmpty())
        return error;
    context.databasePath = DataRoot::databasePath(context.dataRoot);
    // Until a language is chosen (Extras menu), the system's.
    context.language = ProgramContext::startLanguage();
    const QString problem = checkDatabase(context, context.databasePath);
    if (!problem.isEmpty())
        return problem;
    // The program writes the store from its first moment on (the default profile is loaded at
    // every start). Where it may not, it says so, with where the database is, in the chosen
    // language (the database can be read), and does not start.
    if (checkDatabaseWritable(context, context.databasePath).isEmpty())
        return QString();
    const QString key = QStringLiteral("gsMsgDatenbankSchreibgeschützt");
    const QString text
        = TextTable(context, context.databasePath, tbl::SystemNachrichten, context.language).at(key, 0, QString());
    if (!text.isEmpty())
        context.messages.insert(key, text);
    return checkDatabaseWritable(context, context.databasePath);
}

int Main(ProgramContext& context, QApplication& app, const QString& profile)
{
    // The system's serial ports are looked up while the splash and the database load, unless
    // the stored port number stands for a device of its own: then nothing needs the list, and
    // the look (thousands of files under /sys) would only compete with the start.
    if (!PortResolver::isAssigned(PortResolver::storedNumber()))
        PortResolver::prefetchSystemPorts();
    // SQLite gives each connection room for 20 cached pages (some 87 KB) at its first read.
    // The program holds about ten connections to a file of a few dozen pages, of which each
    // reads a handful: pages are taken one by one as they are read instead. (Must come before
    // the first connection; later it is refused and changes nothing.)
    sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
    const QString problem = prepare(context);
    mark("database checked");
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "sms_switch_vantor: %s\n", problem.toLocal8Bit().constData());
        Dialogs::show(nullptr, problem, QStringLiteral("SMS Switch Vantor"), Dialogs::Icon::Critical);
        return 1;
    }
    // Qt's own buttons and dialogs speak the program's language.
    QtTranslations::install(context.language);
    mark("Qt translations");
    LoadingProgress::reset();
    auto* splash = new SplashWindow(context);
    splash->show();
    app.processEvents();
    mark("splash shown");

    MainWindow* main = nullptr;
    try {
        MainWindowOptions options;
        options.deferStartProbe = true;
        main = new MainWindow(context, std::move(options));
        mark("window built");
        main->setAttribute(Qt::WA_DeleteOnClose);
        main->initializeControls();
        mark("controls initialised");
    } catch (const StoreError& e) {
        delete splash;
        delete main;
        std::fprintf(stderr, "sms_switch_vantor: %s\n", e.message().toLocal8Bit().constData());
        Dialogs::showStoreError(nullptr, context, e);
        return 1;
    }
    app.processEvents();
    main->show();
    mark("window shown");
    main->model().setModified(false);
    delete splash;
    // Used by the start-up benchmark: report when the main window is mapped and when its first
    // paint is done, then close it.
    if (qEnvironmentVariableIsSet("SMSV48_QUIT_WHEN_SHOWN")) {
        QTimer::singleShot(0, main, [] {
            std::printf("shown\n");
            std::fflush(stdout);
        });
        main->centralWidget()->installEventFilter(new ReportFirstPaint(main));
    }
    // A profile named on the command line (or opened with the program from a file manager)
    // is loaded before the first probe of the unit.
    if (!profile.isEmpty()) {
        const QString file = QFileInfo(profile).absoluteFilePath();
        QTimer::singleShot(0, main, [main, file] { main->profiles().openGivenProfile(file); });
    }
    QTimer::singleShot(0, main, &MainWindow::runPendingProbe);
    return app.exec();
}
}
