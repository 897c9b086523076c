// smsv48ctl unit | relay | param | firmware: the device commands, over the same link code
// as the desktop program, at the real timing.
#include "cli/Cli.h"

#include "core/DataRoot.h"
#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "image/FileAccess.h"
#include "link/Channel.h"
#include "link/Link.h"
#include "link/PortResolver.h"
#include "link/Transfer.h"
#include "link/UnitOps.h"
#include "link/Waiter.h"
#include "store/ConfigStore.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>
#include <cstdio>
#include <memory>

namespace {
class CliSink : public LinkSink {
public:
    QString what;
    bool yes = false; // --yes: questions are answered with yes / OK
    QStringList shown; // texts of the notices the link raised
    Notice::Answer notify(const Notice& n) override
    {
        shown << n.text;
        if (n.answers & Notice::Yes)
            return yes ? Notice::Yes : Notice::No;
        if (n.answers & Notice::Cancel)
            return yes ? Notice::Ok : Notice::Cancel;
        return Notice::Ok;
    }
    void setProgressRange(int, int max) override { m_max = max; }
    void setProgressValue(int value) override
    {
        if (!what.isEmpty() && m_max > 0 && value > 0)
            cliProgress(what, value, m_max);
    }

private:
    int m_max = 0;
};

struct Session {
    CliSink sink;
    std::unique_ptr<Channel> channel;
    EventLoopWaiter waiter;
    std::unique_ptr<Link> link;
    QString device;
};

bool open(CliContext& ctx, Session& s)
{
    if (ctx.language != 0)
        gState().language = ctx.language;
    else
        gState().setLanguage(
            Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("Sprache"), QStringLiteral("1")));
    cliLoadMessages();
    QString device = ctx.device;
    if (device.isEmpty()) {
        bool ok = false;
        const int n
            = Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("COM-Anschluss"), QStringLiteral("1"))
                  .toInt(&ok);
        // Unlike the desktop program, never the simulated unit just because no port is there:
        // a script must not believe it configured a unit it never reached.
        device = PortResolver::deviceFor(ok && n >= 1 && n <= 8 ? n : 1, PortResolver::WithoutPorts::Nothing);
        if (device.isEmpty() && PortResolver::systemPorts().isEmpty()) {
            cliFail(QStringLiteral("no serial port found; connect the unit's cable or give --device PATH "
                                   "(--device sim for the simulated unit)"));
            return false;
        }
    }
    if (device.isEmpty()) {
        cliFail(
            QStringLiteral("no serial device stands for the stored port number; use --device PATH or --device sim"));
        return false;
    }
    if (device == PortResolver::SimulatedDevice)
        cliNotice(QStringLiteral("using the simulated unit (no hardware)"));
    const QString settings = ctx.settingsGiven
        ? ctx.settings
        : Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("Einstellungen"), ctx.settings);
    s.device = device;
    s.channel = PortResolver::makeChannel(device);
    if (!s.channel->open(device, settings)) {
        cliFail(QStringLiteral("%1: %2").arg(device, s.channel->errorString()));
        return false;
    }
    s.link = std::make_unique<Link>(*s.channel, s.waiter, s.sink);
    s.sink.yes = ctx.yes;
    return true;
}

// The reason of a failed command: what the link told the user last, on one line.
int failWith(Session& s, const QString& fallback)
{
    QString why = fallback;
    if (s.link && s.link->portLost())
        why = QStringLiteral("the connection to the unit was lost (%1)").arg(s.channel->errorString());
    else if (s.link && s.link->unitSilent() && fallback.isEmpty())
        why = QStringLiteral("the unit on %1 does not answer").arg(s.device);
    if (why.isEmpty() && !s.sink.shown.isEmpty())
        why = s.sink.shown.last();
    if (why.isEmpty())
        why = QStringLiteral("the command failed");
    why.replace(QLatin1String("\r\n"), QLatin1String(" "));
    why.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return cliFail(why);
}

bool noAnswer(Session& s) { return s.link->unitSilent() || s.link->portLost(); }

// The unit password: --password (a line of stdin for "-"), else $SMSV48_PASSWORD, else
// user 1 of the database.
QString storedPassword(CliContext& ctx, QString* error)
{
    if (ctx.passwordGiven)
        return ctx.password;
    if (!qEnvironmentVariableIsEmpty("SMSV48_PASSWORD"))
        return qEnvironmentVariable("SMSV48_PASSWORD");
    if (!ctx.prepareStore()) {
        *error = QStringLiteral("no database for the unit password; give --password or SMSV48_PASSWORD");
        return QString();
    }
    try {
        ConfigStore store(gState().databasePath, Connection::Read);
        store.addresses.moveFirst();
        const QString pw = store.addresses.value(QStringLiteral("Passwort")).toString();
        store.close();
        return pw;
    } catch (const StoreError& e) {
        *error = e.message();
        return QString();
    }
}

// A PIN argument: "-" reads it from stdin; when none is given, the environment variable.
bool secretArgument(QString* value, const char* variable, const QString& what, QString* error)
{
    if (*value == QLatin1String("-")) {
        if (cliReadSecret(value))
            return true;
        *error = QStringLiteral("no line on standard input for the %1").arg(what);
        return false;
    }
    if (value->isEmpty())
        *value = qEnvironmentVariable(variable);
    return true;
}

bool versionOk(Session& s, UnitOps::VersionLevel level, bool yes, UnitStatus* status = nullptr)
{
    s.link->resetForCommand();
    return UnitOps::checkVersion(*s.link, level, status, [yes](const QString&) { return yes; });
}

QString bits(int v)
{
    QString r;
    for (int i = 0; i < 8; ++i)
        r += (v >> i) & 1 ? QLatin1Char('1') : QLatin1Char('0');
    return r;
}

// Why the profile file cannot be written at `path` (empty: it can, as far as can be told
// before writing): its folder must exist and take new files (the file is written beside
// itself and then renamed), and an existing `path` must be a writable regular file.
QString unwritableOutput(const QString& path)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.exists())
        return QStringLiteral("the folder %1 does not exist").arg(QDir::toNativeSeparators(folder.filePath()));
    if (!folder.isDir())
        return QStringLiteral("%1 is not a folder").arg(QDir::toNativeSeparators(folder.filePath()));
    if (!folder.isWritable())
        return QStringLiteral("the folder %1 is not writable").arg(QDir::toNativeSeparators(folder.filePath()));
    if (file.exists() && !file.isFile())
        return QStringLiteral("not a regular file");
    if (file.exists() && !file.isWritable())
        return QStringLiteral("the file is not writable");
    return QString();
}

QString cVersion(int v) { return QLocale::c().toString(v / 100.0, 'f', 2); }

int unitCommand(CliContext& ctx)
{
    const QString sub = ctx.args.value(0);
    if (sub != QLatin1String("status") && sub != QLatin1String("read") && sub != QLatin1String("write"))
        return cliFail(QStringLiteral("unit takes status, read -o FILE.cfg or write FILE.cfg"), 2);
    QStringList lines;
    if (sub == QLatin1String("read") && ctx.output.isEmpty())
        return cliFail(QStringLiteral("unit read needs -o FILE.cfg"), 2);
    if (sub == QLatin1String("read")) {
        // Found out now, not after the whole read with the data lost.
        const QString problem = unwritableOutput(ctx.output);
        if (!problem.isEmpty())
            return cliFail(QStringLiteral("%1: %2; nothing was read").arg(ctx.output, problem));
    }
    if (sub == QLatin1String("write")) {
        if (ctx.args.size() < 2)
            return cliFail(QStringLiteral("unit write needs a profile file"), 2);
        QString error;
        lines = ConfigTransfer::checkHexFile(ctx.args[1], &error, true);
        if (lines.isEmpty())
            return cliFail(error);
    }
    Session s;
    if (!open(ctx, s))
        return 1;
    Link& l = *s.link;
    if (sub == QLatin1String("status")) {
        const UnitStatus st = UnitOps::refresh(l);
        if (!st.ok)
            return failWith(s, noAnswer(s) ? QString() : QStringLiteral("the unit sent no complete status record"));
        QTextStream out(stdout);
        out << "inputs 1-8: " << bits(st.inputs) << "\n"
            << "relays 1-8: " << bits(st.relays) << "\n"
            << "hardware version: " << cVersion(st.hw) << "\n"
            << "firmware version: " << cVersion(st.fw) << "\n";
        return 0;
    }
    l.resetForCommand();
    UnitStatus unitVersion;
    if (!versionOk(s, UnitOps::VersionLevel::Configuration, false, &unitVersion))
        return failWith(s,
                        noAnswer(s) || !unitVersion.ok
                            ? QString()
                            : QStringLiteral("the unit's firmware version %1 does not match this program (%2)")
                                  .arg(cVersion(unitVersion.fw), cVersion(UnitOps::toolVersionValue())));
    ConfigTransfer t(l);
    if (sub == QLatin1String("read")) {
        s.sink.what = QStringLiteral("reading");
        UnitImage img;
        const TransferOutcome o = t.read(img);
        if (!o.ok())
            return failWith(s, o.detail);
        QByteArray text;
        for (const QString& line : img.lines())
            text += line.toLatin1() + "\r\n";
        const FileAccess::WriteResult w = FileAccess::writeFile(ctx.output, text);
        if (!w.ok())
            return cliFail(w.error);
        return 0;
    }
    s.sink.what = QStringLiteral("writing");
    const TransferOutcome o = t.write(lines, 3);
    if (!o.ok())
        return failWith(s, o.detail);
    return 0;
}

int relayCommand(CliContext& ctx)
{
    bool ok = false;
    const int n = ctx.args.value(0).toInt(&ok);
    const QString how = ctx.args.value(1);
    if (!ok || n < 1 || n > 4 || (how != QLatin1String("on") && how != QLatin1String("off")))
        return cliFail(QStringLiteral("relay takes a number 1..4 and on or off"), 2);
    QString error;
    const QString pw = storedPassword(ctx, &error);
    if (!error.isEmpty())
        return cliFail(error);
    Session s;
    if (!open(ctx, s))
        return 1;
    const UnitStatus st = UnitOps::switchRelay(*s.link, n, how == QLatin1String("on"), pw);
    if (!st.ok)
        return failWith(s, noAnswer(s) ? QString() : QStringLiteral("no status after switching the relay"));
    const bool isOn = (st.relays >> (n - 1)) & 1;
    if (isOn != (how == QLatin1String("on")))
        return cliFail(QStringLiteral("relay %1 is still %2 (wrong password?)").arg(n).arg(isOn ? "on" : "off"));
    std::printf("relays 1-8: %s\n", qPrintable(bits(st.relays)));
    return 0;
}

int paramCommand(CliContext& ctx)
{
    const QString what = ctx.args.value(0), op = ctx.args.value(1);
    QString v1 = ctx.args.value(2), v2 = ctx.args.value(3);
    if (what == QLatin1String("pin") && (op == QLatin1String("set-default") || op == QLatin1String("change"))) {
        const bool change = op == QLatin1String("change");
        QString error;
        if (!secretArgument(&v1, "SMSV48_PIN", change ? QStringLiteral("old PIN") : QStringLiteral("PIN"), &error)
            || (change && !secretArgument(&v2, "SMSV48_NEW_PIN", QStringLiteral("new PIN"), &error)))
            return cliFail(error, 2);
    }
    auto usage = [] {
        return cliFail(QStringLiteral("param takes serial get|set VALUE, pin get|set-default PIN|change OLD NEW, "
                                      "validity get|set INDEX"),
                       2);
    };
    // Input rules first: nothing is sent for a bad value.
    QString key;
    if (what == QLatin1String("serial") && op == QLatin1String("set"))
        key = UnitOps::checkSerial(v1);
    else if (what == QLatin1String("pin") && op == QLatin1String("set-default"))
        key = UnitOps::checkPinNew(v1);
    else if (what == QLatin1String("pin") && op == QLatin1String("change")) {
        key = UnitOps::checkPinNew(v2);
        if (key.isEmpty())
            key = UnitOps::checkPinOld(v1);
    } else if (what == QLatin1String("validity") && op == QLatin1String("set")) {
        bool ok = false;
        const int i = v1.toInt(&ok);
        if (!ok || i < 0 || i > 255)
            return cliFail(QStringLiteral("the validity index is a number 0..255"), 2);
    } else if (!(op == QLatin1String("get")
                 && (what == QLatin1String("serial") || what == QLatin1String("pin")
                     || what == QLatin1String("validity"))))
        return usage();
    if (!key.isEmpty()) {
        cliLoadMessages();
        return cliFail(gState().msg(key), 2);
    }
    QString pw;
    if (what == QLatin1String("validity") || op == QLatin1String("change")) {
        if (op != QLatin1String("get")) {
            QString error;
            pw = storedPassword(ctx, &error);
            if (!error.isEmpty())
                return cliFail(error);
        }
    }
    Session s;
    if (!open(ctx, s))
        return 1;
    Link& l = *s.link;
    const int address = what == QLatin1String("serial") ? 0x00 : what == QLatin1String("pin") ? 0x10 : 0x20;
    if (op == QLatin1String("get")) {
        const QByteArray r = UnitOps::readParameter(l, address);
        if (r.isEmpty())
            return failWith(s, noAnswer(s) ? QString() : QStringLiteral("the unit sent no complete record"));
        if (what == QLatin1String("serial"))
            std::printf("%s\n", qPrintable(UnitOps::serialFrom(r)));
        else if (what == QLatin1String("pin"))
            std::printf("%s %s\n", qPrintable(UnitOps::pinFrom(r, 0)), qPrintable(UnitOps::pinFrom(r, 1)));
        else
            std::printf("%d\n", UnitOps::validityFrom(r));
        return 0;
    }
    l.resetForCommand();
    l.handshake();
    if (l.unitSilent() || l.stopFlags())
        return failWith(s, QString());
    bool ok = false;
    if (what == QLatin1String("serial"))
        ok = UnitOps::writeSerial(l, v1);
    else if (op == QLatin1String("set-default"))
        ok = UnitOps::writePinDirect(l, v1);
    else if (op == QLatin1String("change"))
        ok = UnitOps::changePin(l, pw, v1, v2);
    else {
        ok = UnitOps::writeValidity(l, v1.toInt(), pw);
        if (ok) {
            ConfigTransfer t(l);
            t.waitForRestart();
        }
    }
    if (!ok)
        return failWith(s, noAnswer(s) ? QString() : QStringLiteral("the unit refused the %1").arg(what));
    return 0;
}

int firmwareCommand(CliContext& ctx)
{
    if (ctx.args.isEmpty())
        return cliFail(QStringLiteral("firmware needs a program file (*.prg)"), 2);
    QString error;
    const QStringList lines = ConfigTransfer::checkHexFile(ctx.args[0], &error, false);
    if (lines.isEmpty())
        return cliFail(error + QStringLiteral("; nothing was sent"));
    if (!ctx.yes)
        return cliFail(QStringLiteral("a firmware update replaces the unit's program: confirm with --yes"), 2);
    Session s;
    if (!open(ctx, s))
        return 1;
    Link& l = *s.link;
    l.resetForCommand();
    if (!versionOk(s, UnitOps::VersionLevel::Firmware, true))
        return failWith(s, QString());
    s.sink.what = QStringLiteral("firmware");
    const TransferOutcome o = UnitOps::firmwareUpdate(l, lines, [] { return true; });
    if (!o.ok())
        return failWith(s, o.detail);
    return 0;
}

const CliRegistrar unitReg("unit", unitCommand,
                           "  unit status                    inputs, relays, hardware and firmware version\n"
                           "  unit read -o FILE.cfg          read the configuration from the unit\n"
                           "  unit write FILE.cfg            write a configuration into the unit\n");
const CliRegistrar relayReg("relay", relayCommand, "  relay N on|off [--password P|-] switch relay 1..4\n");
const CliRegistrar paramReg("param", paramCommand,
                            "  param serial get|set VALUE     the unit's serial number\n"
                            "  param pin get|set-default [PIN|-]|change [OLD|-] [NEW|-]   the SIM PIN\n"
                            "  param validity get|set INDEX   the validity reminder (0..255)\n");
const CliRegistrar firmwareReg("firmware", firmwareCommand,
                               "  firmware FILE.prg --yes        replace the unit's firmware\n");
}
