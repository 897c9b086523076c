#pragma once
// smsv48ctl and smsv48-sim as the end-to-end tests of the command line run them: the
// simulated unit on a pseudo-terminal (with its wire log) and one run of the tool.
#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

namespace CliRun {
// The simulated unit at 115200 baud (the tool is given the same settings).
inline const QStringList Fast {"--settings", "115200,N,8,1"};

// settings: the line settings of the simulated unit's timing (Fast, or none for the unit's
// own 9600 baud); dev() gives the tool the same.
struct Sim {
    QProcess proc;
    QString device;
    QString logPath;
    QStringList settings;
    Sim(const QString& dir, const QStringList& extra, const QString& name = QStringLiteral("tty-unit"),
        const QStringList& lineSettings = Fast)
        : settings(lineSettings)
    {
        logPath = QDir(dir).filePath(name + QStringLiteral(".log"));
        device = QDir(dir).filePath(name);
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
    QByteArray wire() const
    {
        QFile f(logPath);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    QStringList dev() const { return QStringList {"--device", device} + settings; }
};

struct Run {
    int code = -1;
    QByteArray out, err;
};

inline Run ctl(const QStringList& args, const QByteArray& input = {}, const QMap<QString, QString>& env = {})
{
    QProcess p;
    p.setProgram(QDir(TestEnv::builtBin()).filePath(QStringLiteral("smsv48ctl")));
    p.setArguments(args);
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    static QTemporaryDir runtime;
    e.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    // Without a stored language the tool speaks the system's: German here, whatever the
    // machine's language (a test may give LANG).
    e.remove(QStringLiteral("LC_ALL"));
    e.remove(QStringLiteral("LC_MESSAGES"));
    e.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    for (auto it = env.begin(); it != env.end(); ++it)
        e.insert(it.key(), it.value());
    p.setProcessEnvironment(e);
    p.start();
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(300000);
    Run r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

} // namespace CliRun
