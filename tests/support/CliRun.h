#pragma once
// smsv48ctl as the tests of the command line run it: against its built-in simulated unit on
// a virtual clock (Unit), or against smsv48-sim on a pseudo-terminal at the real pace (Sim).
#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>

namespace CliRun {
struct Run {
    int code = -1;
    QByteArray out, err;
    QByteArray lastLine() const { return err.trimmed().split('\n').last(); }
};

inline QString ctlPath() { return QDir(TestEnv::builtBin()).filePath(QStringLiteral("smsv48ctl")); }

// One run of a program; `env` is added to the test's environment, `input` is its stdin,
// `setup` may prepare the process (limits, permissions). A program still running after
// `timeout` ms is killed: code -1.
inline Run run(const QString& program, const QStringList& args, const QByteArray& input = {},
               const QMap<QString, QString>& env = {}, const std::function<void(QProcess&)>& setup = {},
               int timeout = 300000)
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
        return ctl(QStringList {"--device", "sim"} + args, input, env);
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
