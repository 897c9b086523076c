#pragma once
// smsv48ctl as the tests run it: its whole run (cliRun) inside the test program with streams
// and environment of its own (inProcess, Unit), as a process where a test needs one (a signal,
// resource limits, other permissions, a working folder: ctl, run), and smsv48-sim on a
// pseudo-terminal (Sim).
#include "TestEnv.h"

#include "cli/Cli.h"
#include "core/ProgramContext.h"
#include "core/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <stdio_ext.h>
#include <unistd.h>

namespace CliRun {
struct Run {
    int code = -1;
    QByteArray out, err;
    QByteArray lastLine() const { return err.trimmed().split('\n').last(); }
};

// Without a stored language the tool speaks the system's: German in the tests, whatever the
// machine's. A test class calls this from its initMain(), before Qt reads the locale.
inline void systemLanguageGerman()
{
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    qputenv("LANG", "de_DE.UTF-8");
}

// Qt's messages during a run go where a process of the tool's puts them: standard error.
inline void messageToStandardError(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, message).toLocal8Bit().constData());
}

// One run of smsv48ctl in the test program: the arguments as bytes (a file name need not be
// UTF-8), `input` on stdin, `env` set for the run. Afterwards the streams, the environment,
// the signal handlers, Qt's message handler and the settings folder are the test's again.
inline Run inProcessBytes(QList<QByteArray> args, const QByteArray& input = {}, const QMap<QString, QString>& env = {})
{
    QMap<QByteArray, std::optional<QByteArray>> saved;
    for (auto it = env.begin(); it != env.end(); ++it) {
        const QByteArray name = it.key().toLocal8Bit();
        saved.insert(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        qputenv(name, it.value().toLocal8Bit());
    }
    const QString settings = QFileInfo(Settings::fileName()).path(), name = QCoreApplication::applicationName();
    const int caught[3] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction handlers[3];
    for (int i = 0; i < 3; ++i)
        sigaction(caught[i], nullptr, &handlers[i]);
    QTemporaryDir dir;
    writeFile(dir.filePath("0"), input);
    std::fflush(stdout);
    std::fflush(stderr);
    int kept[3];
    for (int fd = 0; fd < 3; ++fd) {
        kept[fd] = ::dup(fd);
        const int file = ::open(QFile::encodeName(dir.filePath(QString::number(fd))).constData(),
                                fd == 0 ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(file, fd);
        ::close(file);
    }
    __fpurge(stdin);
    clearerr(stdin);
    const QtMessageHandler testHandler = qInstallMessageHandler(messageToStandardError);
    args.prepend("smsv48ctl");
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    ProgramContext program;
    Run r;
    r.code = cliRun(program, int(args.size()), argv.data());
    std::fflush(stdout);
    std::fflush(stderr);
    for (int fd = 0; fd < 3; ++fd) {
        ::dup2(kept[fd], fd);
        ::close(kept[fd]);
    }
    __fpurge(stdin);
    clearerr(stdin);
    qInstallMessageHandler(testHandler);
    QLoggingCategory::setFilterRules(QString());
    for (int i = 0; i < 3; ++i)
        sigaction(caught[i], &handlers[i], nullptr);
    QCoreApplication::setApplicationName(name);
    Settings::setFolder(settings);
    for (auto it = saved.begin(); it != saved.end(); ++it)
        it.value() ? qputenv(it.key(), *it.value()) : qunsetenv(it.key());
    r.out = readAll(dir.filePath("1"));
    r.err = readAll(dir.filePath("2"));
    return r;
}

inline Run inProcess(const QStringList& args, const QByteArray& input = {}, const QMap<QString, QString>& env = {})
{
    QList<QByteArray> bytes;
    for (const QString& a : args)
        bytes << QFile::encodeName(a);
    return inProcessBytes(bytes, input, env);
}

inline QString ctlPath() { return QDir(TestEnv::builtBin()).filePath(QStringLiteral("smsv48ctl")); }

// One run of a program as a process; `env` is added to the test's environment, `input` is its
// stdin, `setup` may prepare the process (limits, permissions), `whileRunning` acts on it once
// it has started. A program still running after `timeout` ms is killed: code -1.
inline Run run(const QString& program, const QStringList& args, const QByteArray& input = {},
               const QMap<QString, QString>& env = {}, const std::function<void(QProcess&)>& setup = {},
               int timeout = 300000, const std::function<void(QProcess&)>& whileRunning = {})
{
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    static QTemporaryDir runtime; // Qt's complaint about a missing runtime folder is no line of the tool's
    e.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    // Without a stored language the tool speaks the system's: German here, whatever the
    // machine's language (a test may give LANG).
    e.remove(QStringLiteral("LC_ALL"));
    e.remove(QStringLiteral("LC_MESSAGES"));
    e.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    for (auto it = env.begin(); it != env.end(); ++it)
        e.insert(it.key(), it.value());
    p.setProcessEnvironment(e);
    if (setup)
        setup(p);
    p.start(program, args);
    p.write(input);
    p.closeWriteChannel();
    if (whileRunning && p.waitForStarted())
        whileRunning(p);
    Run r;
    if (!p.waitForFinished(timeout)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

inline Run ctl(const QStringList& args, const QByteArray& input = {}, const QMap<QString, QString>& env = {})
{
    return run(ctlPath(), args, input, env);
}

// The built-in simulated unit (--device sim) with smsv48-sim's options in SMSV48_SIM, on a
// virtual clock; every run starts the unit afresh and adds its traffic to one wire log.
struct Unit {
    QString options, logPath;
    Unit(const QString& dir, const QString& simOptions, const QString& name = QStringLiteral("unit"))
        : options(simOptions), logPath(QDir(dir).filePath(name + QStringLiteral(".log")))
    {
    }
    Run run(const QStringList& args, const QByteArray& input = {}, QMap<QString, QString> env = {}) const
    {
        env.insert(QStringLiteral("SMSV48_SIM"), QStringLiteral("--virtual-time --log %1 %2").arg(logPath, options));
        return inProcess(QStringList {"--device", "sim"} + args, input, env);
    }
    QByteArray wire() const { return readAll(logPath); }
};

// smsv48-sim on a pseudo-terminal with its wire log, at 115200 baud (the tool gets the same).
struct Sim {
    QProcess proc;
    QString device, logPath;
    const QStringList settings {"--settings", "115200,N,8,1"};
    Sim(const QString& dir, const QStringList& extra)
    {
        logPath = QDir(dir).filePath(QStringLiteral("tty-unit.log"));
        device = QDir(dir).filePath(QStringLiteral("tty-unit"));
        proc.setProgram(QDir(TestEnv::builtBin()).filePath(QStringLiteral("smsv48-sim")));
        proc.setArguments(QStringList {"--link", device, "--log", logPath} + settings + extra);
        proc.start();
        proc.waitForReadyRead(5000);
    }
    ~Sim()
    {
        proc.terminate();
        proc.waitForFinished(3000);
    }
    QByteArray wire() const { return readAll(logPath); }
    QStringList dev() const { return QStringList {"--device", device} + settings; }
};
} // namespace CliRun
