// smsv48ctl unit | relay | param | firmware: the device commands, over the same link code
// as the desktop program, at the real timing.
#include "cli/Cli.h"
#include "cli/UnitSession.h"

#include "store/DataRoot.h"
#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "image/FileAccess.h"
#include "image/ProfileDiff.h"
#include "image/ProfileReader.h"
#include "link/ChangedWrite.h"
#include "link/Channel.h"
#include "link/Link.h"
#include "link/PortResolver.h"
#include "link/Transfer.h"
#include "link/UnitBackup.h"
#include "link/UnitOps.h"
#include "sim/SimChannel.h"
#include "sim/SimOptions.h"
#include "sim/SimUnit.h"
#include "store/ConfigStore.h"

#include <QCommandLineParser>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QTextStream>
#include <cstdio>

void CliSink::setProgressValue(int value)
{
    if (!what.isEmpty() && m_max > 0 && value > 0)
        cliProgress(what, value, m_max);
}

UnitSession::UnitSession(const ProgramContext& program) : program(program), connection(program, nullptr, &sink) {}

UnitSession::~UnitSession()
{
    if (simUnit && !simLog.isEmpty()) {
        QFile log(simLog);
        if (log.open(QIODevice::WriteOnly | QIODevice::Append))
            log.write(SimOptions::logLines(simUnit->log));
    }
}

namespace {
// The built-in simulated unit as SMSV48_SIM describes it (the options of smsv48-sim); the
// channel and, with --virtual-time, a virtual clock for the session. False after one line.
bool makeSimulatedUnit(UnitSession& s, std::unique_ptr<Channel>* channel)
{
    QCommandLineParser parser;
    SimOptions::addTo(parser);
    s.simUnit = std::make_unique<SimUnit>();
    QString error;
    if (!parser.parse(QStringList {QStringLiteral("SMSV48_SIM")} + SimOptions::environmentWords()))
        error = parser.errorText();
    else if (SimOptions::apply(parser, *s.simUnit, &error)) {
        s.simLog = parser.value(QStringLiteral("log"));
        if (parser.isSet(QStringLiteral("virtual-time")))
            s.connection.setWaiter(std::make_unique<VirtualWaiter>());
        *channel = std::make_unique<SimChannel>(*s.simUnit, &s.connection.waiter());
        return true;
    }
    cliFail(QStringLiteral("SMSV48_SIM: %1").arg(error), ExitUsage);
    return false;
}
}

bool UnitSession::open(CliContext& ctx, const QString& what)
{
    json = ctx.json;
    result.insert(QStringLiteral("command"), what);
    const int n = PortResolver::storedNumber();
    // Unlike the desktop program, never the simulated unit just because no port is there:
    // a script must not believe it configured a unit it never reached.
    const auto withoutPorts = PortResolver::WithoutPorts::Nothing;
    const QString dev = UnitConnection::deviceFor(ctx.device, n, withoutPorts);
    if (dev.isEmpty()) {
        noUnit(connection.open(dev, n, QString(), withoutPorts).detail);
        return false;
    }
    // A warning, not progress: -q must not hide that no hardware is used.
    if (dev == PortResolver::SimulatedDevice)
        cliWarning(cliText(program, "gsCliSimulation",
                           QStringLiteral("das simulierte Gerät wird verwendet (keine Hardware)")));
    const QString settings = ctx.settingsGiven
        ? ctx.settings
        : Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("Einstellungen"), ctx.settings);
    device = dev;
    result.insert(QStringLiteral("device"), dev);
    UnitOutcome opened;
    if (dev == PortResolver::SimulatedDevice && qEnvironmentVariableIsSet("SMSV48_SIM")) {
        std::unique_ptr<Channel> simulated;
        if (!makeSimulatedUnit(*this, &simulated))
            return false;
        opened = connection.open(std::move(simulated), dev, settings);
    } else {
        opened = connection.open(dev, n, settings, withoutPorts);
    }
    if (!opened) {
        noUnit(QStringLiteral("%1: %2").arg(dev, opened.detail));
        return false;
    }
    // Ctrl-C, SIGTERM and a closed terminal cancel like the desktop's Cancel button.
    cliCatchSignals();
    connection.link().setCancelToken(cliSignalToken());
    yes = ctx.yes;
    return true;
}

void UnitSession::noUnit(const QString& why)
{
    result.insert(QStringLiteral("outcome"), QStringLiteral("noUnit"));
    result.insert(QStringLiteral("detail"), cliMaskSecrets(why));
    finish(cliFail(why, ExitNoUnit));
}

int cliExitFor(const UnitOutcome& outcome)
{
    switch (outcome.kind) {
    case UnitOutcome::Ok: return ExitOk;
    case UnitOutcome::NoAnswer:
    case UnitOutcome::PortLost:
    case UnitOutcome::NoUnit: return ExitNoUnit;
    case UnitOutcome::Refused: return ExitRefused;
    case UnitOutcome::Cancelled:
    case UnitOutcome::Mismatch:
    case UnitOutcome::Incomplete: break;
    }
    return ExitFailure;
}

QJsonObject cliOutcomeJson(const UnitOutcome& outcome)
{
    static const char* const names[]
        = {"ok", "noAnswer", "portLost", "refused", "cancelled", "mismatch", "incomplete", "noUnit"};
    QJsonObject o;
    o.insert(QStringLiteral("ok"), outcome.ok());
    o.insert(QStringLiteral("outcome"), QLatin1String(names[outcome.kind]));
    if (!outcome.ok()) {
        o.insert(QStringLiteral("messageKey"), outcome.messageKey);
        o.insert(QStringLiteral("detail"), cliMaskSecrets(outcome.detail));
    }
    return o;
}

QJsonObject cliTransferJson(const TransferOutcome& outcome)
{
    QJsonObject o = cliOutcomeJson(UnitOutcome::fromTransfer(outcome));
    // Lines went out and the transfer failed: the unit holds part of it, whatever stopped it
    // ("cause"); a refusal before the first line stays "refused".
    if (!outcome.ok() && outcome.linesSent > 0) {
        o.insert(QStringLiteral("cause"), o.value(QStringLiteral("outcome")));
        o.insert(QStringLiteral("outcome"), QStringLiteral("incomplete"));
    }
    o.insert(QStringLiteral("linesSent"), outcome.linesSent);
    o.insert(QStringLiteral("linesAccepted"), outcome.linesAccepted);
    if (outcome.failedLine > 0)
        o.insert(QStringLiteral("failedLine"), outcome.failedLine);
    return o;
}

namespace {
void merge(QJsonObject& into, const QJsonObject& fields)
{
    for (auto it = fields.begin(); it != fields.end(); ++it)
        into.insert(it.key(), it.value());
}
}

int UnitSession::finish(int code)
{
    if (json) {
        if (!result.contains(QStringLiteral("ok")))
            result.insert(QStringLiteral("ok"), code == ExitOk);
        // No outcome of the unit's yet: everything with the unit went well (a file or a
        // comparison decided the exit code).
        if (!result.contains(QStringLiteral("outcome")))
            result.insert(QStringLiteral("outcome"), QStringLiteral("ok"));
        result.insert(QStringLiteral("exitCode"), code);
        cliPrintJson(result);
    }
    return code;
}

int UnitSession::fail(const TransferOutcome& outcome)
{
    merge(result, cliTransferJson(outcome));
    return say(UnitOutcome::fromTransfer(outcome));
}

int UnitSession::fail(const UnitOutcome& outcome)
{
    merge(result, cliOutcomeJson(outcome));
    return say(outcome);
}

int UnitSession::say(const UnitOutcome& outcome)
{
    QString why = outcome.detail;
    if (outcome.kind == UnitOutcome::NoAnswer)
        why = QStringLiteral("%1: %2").arg(device, why);
    else if (outcome.kind == UnitOutcome::PortLost && connection.channel()
             && !connection.channel()->errorString().isEmpty())
        why = QStringLiteral("%1 (%2)").arg(why, connection.channel()->errorString());
    if (why.isEmpty())
        why = cliText(program, "gsCliBefehlFehlgeschlagen", QStringLiteral("der Befehl ist fehlgeschlagen"));
    why.replace(QLatin1String("\r\n"), QLatin1String(" "));
    why.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return finish(cliFail(why, cliExitFor(outcome)));
}

UnitConnection::Call UnitSession::call(int retries) const
{
    UnitConnection::Call c;
    c.ask = [answer = yes](const Notice&) { return answer; };
    c.retries = retries;
    const ProgramContext& context = program;
    c.retrying = [&context](int attempt, int of, const QString& why) {
        cliNotice(
            cliText(context, "gsCliWiederholung", QStringLiteral("Versuch %1 von %2 fehlgeschlagen (%3); noch einmal"))
                .arg(attempt)
                .arg(of)
                .arg(why));
    };
    return c;
}

QString cliUnwritableOutput(const ProgramContext& context, const QString& path)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.exists())
        return cliText(context, "gsCliOrdnerFehlt", QStringLiteral("der Ordner %1 existiert nicht"))
            .arg(QDir::toNativeSeparators(folder.filePath()));
    if (!folder.isDir())
        return cliText(context, "gsCliKeinOrdner", QStringLiteral("%1 ist kein Ordner"))
            .arg(QDir::toNativeSeparators(folder.filePath()));
    if (!folder.isWritable())
        return cliText(context, "gsCliOrdnerSchreibgeschützt", QStringLiteral("der Ordner %1 ist nicht beschreibbar"))
            .arg(QDir::toNativeSeparators(folder.filePath()));
    if (file.exists() && !file.isFile())
        return cliText(context, "gsCliKeineRegulaereDatei", QStringLiteral("keine reguläre Datei"));
    if (file.exists() && !file.isWritable())
        return cliText(context, "gsCliDateiSchreibgeschützt", QStringLiteral("die Datei ist nicht beschreibbar"));
    return QString();
}

bool cliReadInput(const ProgramContext& context, const QString& path, QByteArray* data, QString* error, qint64 limit)
{
    QFile f;
    if (path == QLatin1String("-")) {
        if (!f.open(stdin, QIODevice::ReadOnly)) {
            *error = f.errorString();
            return false;
        }
    } else if (!FileAccess::openForReading(context, f, path, error)) {
        return false;
    }
    *data = f.read(limit + 1);
    if (data->size() > limit) {
        *error = cliText(context, "gsCliDateiZuGross", QStringLiteral("%1: die Datei ist zu gross für ein Profil"))
                     .arg(path == QLatin1String("-") ? QStringLiteral("-") : QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

QStringList cliCheckedProfileLines(const ProgramContext& context, const QString& path, QString* error)
{
    if (path != QLatin1String("-"))
        return ConfigTransfer::checkHexFile(context, path, error, true);
    QByteArray data;
    if (!cliReadInput(context, path, &data, error))
        return QStringList();
    QStringList lines;
    for (const QByteArray& line : data.split('\n'))
        lines << QString::fromLatin1(line).trimmed();
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    QString why;
    const QStringList out = ConfigTransfer::checkHexLines(context, lines, &why, true);
    if (out.isEmpty())
        *error = QStringLiteral("-: %1").arg(why);
    return out;
}

int cliReadUnitProfile(CliContext& ctx, ProfileData* data)
{
    UnitSession s(ctx.program);
    if (!s.open(ctx, ctx.command))
        return ExitNoUnit;
    s.json = false; // the command prints its own result
    if (const UnitOutcome v = s.connection.checkVersion(UnitOps::VersionLevel::Configuration); !v)
        return s.fail(v);
    s.sink.what = cliText(ctx.program, "gsCliFortschrittLesen", QStringLiteral("Lesen"));
    UnitImage img;
    const TransferOutcome o = s.connection.readConfiguration(img, s.call(ctx.retries));
    if (!o.ok())
        return s.fail(o);
    *data = ProfileReader::decodeLines(ctx.program, img.lines(), ProfileReader::AlarmFlagRule::AnyNonZero);
    return ExitOk;
}

namespace {
// The unit password: --password (a line of stdin for "-"), else $SMSV48_PASSWORD, else
// user 1 of the database. A password given that is not four characters is a usage error
// (*code 2); other problems leave *code 5.
QString unitPassword(CliContext& ctx, QString* error, int* code)
{
    QString pw;
    if (ctx.passwordGiven)
        pw = ctx.password;
    else if (!qEnvironmentVariableIsEmpty("SMSV48_PASSWORD"))
        pw = qEnvironmentVariable("SMSV48_PASSWORD");
    else {
        *code = ExitFile;
        if (!ctx.prepareStore()) {
            *error = cliText(ctx.program, "gsCliKeineDatenbankPasswort",
                             QStringLiteral("keine Datenbank für das Passwort des Geräts; --password oder "
                                            "SMSV48_PASSWORD angeben"));
            return QString();
        }
        try {
            ConfigStore store(ctx.program, ctx.program.databasePath, Connection::Read);
            store.addresses.moveFirst();
            pw = store.addresses.value(QStringLiteral("Passwort")).toString();
            store.close();
            return pw;
        } catch (const StoreError& e) {
            *error = e.message();
            return QString();
        }
    }
    if (pw.size() != 4) {
        *code = ExitUsage;
        *error = cliText(ctx.program, "gsCliPasswortLänge",
                         QStringLiteral("das Passwort des Geräts hat 4 Zeichen, nicht %1"))
                     .arg(pw.size());
    }
    return pw;
}

// A PIN argument: "-" reads it from stdin; when none is given, the environment variable.
bool secretArgument(const ProgramContext& context, QString* value, const char* variable, QString* error)
{
    if (*value == QLatin1String("-")) {
        if (cliReadSecret(value))
            return true;
        *error
            = cliText(context, "gsCliPINStdinLeer", QStringLiteral("keine Zeile auf der Standardeingabe für die PIN"));
        return false;
    }
    if (value->isEmpty())
        *value = qEnvironmentVariable(variable);
    return true;
}

QString bits(int v)
{
    QString r;
    for (int i = 0; i < 8; ++i)
        r += (v >> i) & 1 ? QLatin1Char('1') : QLatin1Char('0');
    return r;
}

QString cVersion(int v) { return QLocale::c().toString(v / 100.0, 'f', 2); }

// Inputs or relays 1..8 as a list of eight switches.
QJsonArray bitList(int v)
{
    QJsonArray a;
    for (int i = 0; i < 8; ++i)
        a.append(bool((v >> i) & 1));
    return a;
}

// One result line "label: value" (the label in the program's language), without a trailing
// blank when the value is empty.
QByteArray labelled(const ProgramContext& context, const char* key, const QString& german, const QString& value)
{
    const QString label = cliText(context, key, german) + QLatin1Char(':');
    return (value.isEmpty() ? label : label + QLatin1Char(' ') + value).toUtf8() + '\n';
}

int tooMany(const CliContext& ctx, int allowed)
{
    return cliUsage(ctx.program,
                    cliText(ctx.program, "gsCliZuVieleArgumente", QStringLiteral("zu viele Argumente: %1"))
                        .arg(ctx.args.mid(allowed).join(' ')),
                    ctx.command);
}

// The differences between a file and the unit, field by field: lines on stdout (or the
// "differences" of the JSON object). Returns 0 when equal, 1 when not.
int reportDifferences(UnitSession& s, const QList<ProfileDiff::Change>& changes)
{
    s.result.insert(QStringLiteral("equal"), changes.isEmpty());
    s.result.insert(QStringLiteral("differences"), ProfileDiff::toJson(changes));
    if (!s.json) {
        QByteArray out;
        for (const ProfileDiff::Change& c : changes)
            out += ProfileDiff::line(c).toUtf8() + '\n';
        cliPrint(out);
    }
    if (!changes.isEmpty()) {
        cliNotice(
            cliText(s.program, "gsCliUnterschiede", QStringLiteral("das Gerät weicht in %1 Feldern von der Datei ab"))
                .arg(changes.size()));
        s.result.insert(QStringLiteral("ok"), false);
    }
    return s.finish(changes.isEmpty() ? ExitOk : ExitFailure);
}

// unit write --changed-only: the records that differ from the unit (unitLines: the backup
// read; empty: read here), the proof read, and the whole write when the unit did not keep the
// rest. With --verify a write of only the changed records is read back whole as well.
int changedOnlyWrite(UnitSession& s, const CliContext& ctx, const QStringList& unitLines, const QStringList& lines)
{
    const ChangedWriteOutcome c = s.connection.writeChangedRecords(unitLines, lines, s.call());
    const char* way = c.way == ChangedWriteOutcome::Way::Nothing ? "nothing"
        : c.way == ChangedWriteOutcome::Way::Changed             ? "changed"
                                                                 : "whole";
    s.result.insert(QStringLiteral("sent"), QLatin1String(way));
    s.result.insert(QStringLiteral("records"), c.records);
    s.result.insert(QStringLiteral("recordsSent"), c.recordsSent);
    if (!c.reason.isEmpty())
        s.result.insert(QStringLiteral("reason"), c.reason);
    if (!c.transfer.ok())
        return s.fail(c.transfer);
    if (!c.ok()) {
        s.result.insert(QStringLiteral("ok"), false);
        return s.finish(cliFail(c.sentence));
    }
    cliNotice(c.sentence);
    s.result.insert(QStringLiteral("verified"), c.way != ChangedWriteOutcome::Way::Nothing);
    if (!ctx.verify || c.way != ChangedWriteOutcome::Way::Changed)
        return s.finish();
    s.sink.what = cliText(ctx.program, "gsCliFortschrittPrüfen", QStringLiteral("Prüfen"));
    QList<ProfileDiff::Change> changes;
    const TransferOutcome back = s.connection.verify(lines, &changes, s.call(ctx.retries));
    if (!back.ok())
        return s.fail(back);
    return reportDifferences(s, changes);
}

QString outputFileFor(const CliContext& ctx, const QString& serial)
{
    if (!ctx.output.endsWith(QLatin1Char('/')) && !ctx.output.endsWith(QDir::separator()))
        return ctx.output;
    return ctx.output + UnitBackup::unitName(serial) + QStringLiteral(".cfg");
}

int unitCommand(CliContext& ctx)
{
    const QString sub = ctx.args.value(0);
    const bool status = sub == QLatin1String("status"), read = sub == QLatin1String("read"),
               write = sub == QLatin1String("write"), verify = sub == QLatin1String("verify");
    if (!status && !read && !write && !verify)
        return cliUsage(ctx.program,
                        cliText(ctx.program, "gsCliUnitAufruf",
                                QStringLiteral("unit nimmt status, read -o DATEI.cfg, write DATEI.cfg oder verify "
                                               "DATEI.cfg")),
                        ctx.command);
    unsigned allowed = OptionDevice | OptionJson;
    if (read)
        allowed |= OptionOutput | OptionRetries;
    if (write)
        allowed |= OptionNoBackup | OptionVerify | OptionRetries | OptionChangedOnly;
    if (verify)
        allowed |= OptionRetries;
    if (int c = ctx.onlyOptions(allowed, QStringLiteral("unit ") + sub))
        return c;
    if (read && ctx.json && ctx.output == QLatin1String("-"))
        return cliUsage(ctx.program,
                        cliText(ctx.program, "gsCliJsonUndStdout",
                                QStringLiteral("--json und -o - schreiben beide auf die Standardausgabe")),
                        ctx.command);
    const int words = write || verify ? 2 : 1;
    if (ctx.args.size() > words)
        return tooMany(ctx, words);
    QStringList lines;
    if (read && ctx.output.isEmpty())
        return cliUsage(ctx.program,
                        cliText(ctx.program, "gsCliUnitReadAusgabe", QStringLiteral("unit read braucht -o DATEI.cfg")),
                        ctx.command);
    if (read && ctx.output != QLatin1String("-")) {
        // Found out now, not after the whole read with the data lost (for a folder: a file in it).
        const QString probe = outputFileFor(ctx, QStringLiteral("unknown"));
        const QString problem = cliUnwritableOutput(ctx.program, probe);
        if (!problem.isEmpty())
            return cliFail(cliText(ctx.program, "gsCliNichtsGelesen", QStringLiteral("%1: %2; es wurde nichts gelesen"))
                               .arg(ctx.output, problem),
                           ExitFile);
    }
    if (write || verify) {
        if (ctx.args.size() < 2)
            return cliUsage(
                ctx.program,
                cliText(ctx.program, "gsCliUnitDatei", QStringLiteral("unit %1 braucht eine Profildatei")).arg(sub),
                ctx.command);
        QString error;
        lines = cliCheckedProfileLines(ctx.program, ctx.args[1], &error);
        if (lines.isEmpty())
            return cliFail(error, ExitFile);
    }
    // Backups go to the program folder: found before the unit is touched.
    QString dataRoot;
    if (write && !ctx.noBackup) {
        QString error;
        dataRoot = ctx.program.dataRoot.isEmpty() ? DataRoot::find(ctx.program, &error) : ctx.program.dataRoot;
        if (dataRoot.isEmpty())
            return cliFail(error, ExitFile);
    }
    UnitSession s(ctx.program);
    if (!s.open(ctx, QStringLiteral("unit ") + sub))
        return ExitNoUnit;
    if (status) {
        const UnitStatus st = s.connection.status();
        if (!st.ok)
            return s.fail(st.outcome);
        if (s.json) {
            s.result.insert(QStringLiteral("inputs"), bitList(st.inputs));
            s.result.insert(QStringLiteral("relays"), bitList(st.relays));
            s.result.insert(QStringLiteral("hardwareVersion"), cVersion(st.hw));
            s.result.insert(QStringLiteral("firmwareVersion"), cVersion(st.fw));
            return s.finish();
        }
        cliPrint(labelled(ctx.program, "gsCliEingänge", QStringLiteral("Eingänge 1-8"), bits(st.inputs))
                 + labelled(ctx.program, "gsCliRelais", QStringLiteral("Relais 1-8"), bits(st.relays))
                 + labelled(ctx.program, "gsCliHardwareVersion", QStringLiteral("Hardwareversion"), cVersion(st.hw))
                 + labelled(ctx.program, "gsCliFirmwareVersion", QStringLiteral("Firmwareversion"), cVersion(st.fw)));
        return ExitOk;
    }
    if (const UnitOutcome v = s.connection.checkVersion(UnitOps::VersionLevel::Configuration); !v)
        return s.fail(v);
    if (ctx.args.size() > 1)
        s.result.insert(QStringLiteral("file"), ctx.args[1]);

    if (read || verify) {
        QString serial;
        if (read && outputFileFor(ctx, QString()) != ctx.output) {
            // A unit that answers without a usable number is "unknown".
            if (const UnitOutcome o = s.connection.readSerialNumber(&serial); !o && o.kind != UnitOutcome::Incomplete)
                return s.fail(o);
            s.result.insert(QStringLiteral("serial"), serial);
        }
        s.sink.what = cliText(ctx.program, "gsCliFortschrittLesen", QStringLiteral("Lesen"));
        if (verify) {
            QList<ProfileDiff::Change> changes;
            const TransferOutcome o = s.connection.verify(lines, &changes, s.call(ctx.retries));
            if (!o.ok())
                return s.fail(o);
            return reportDifferences(s, changes);
        }
        UnitImage img;
        const TransferOutcome o = s.connection.readConfiguration(img, s.call(ctx.retries));
        if (!o.ok())
            return s.fail(o);
        const QByteArray text = UnitBackup::profileText(img);
        if (ctx.output == QLatin1String("-")) {
            cliPrint(text);
            return ExitOk;
        }
        const QString path = outputFileFor(ctx, serial);
        const FileAccess::WriteResult w = FileAccess::writeFile(ctx.program, path, text, FileAccess::Access::Private);
        if (!w.ok())
            return s.finish(cliFail(w.error, ExitFile));
        s.result.insert(QStringLiteral("file"), path);
        return s.finish();
    }

    QStringList unitLines; // --changed-only: the unit's records as the backup read them
    // unit write: the unit's configuration kept first, then the write, then (--verify) the
    // read-back compared with the file.
    if (!ctx.noBackup) {
        s.sink.what = cliText(ctx.program, "gsCliFortschrittSicherung", QStringLiteral("Sicherung"));
        const UnitBackup::Result backup
            = s.connection.backup(dataRoot, QDateTime::currentDateTime(), s.call(ctx.retries));
        if (!backup.fileError.isEmpty())
            return s.finish(cliFail(backup.outcome.detail, ExitFile));
        if (!backup.outcome)
            return s.fail(backup.outcome);
        s.result.insert(QStringLiteral("serial"), backup.serial);
        s.result.insert(QStringLiteral("backup"), backup.path);
        if (ctx.changedOnly)
            unitLines = QString::fromLatin1(backup.text).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        cliNotice(cliText(ctx.program, "gsCliSicherungGespeichert",
                          QStringLiteral("Sicherung der Konfiguration des Geräts: %1"))
                      .arg(QDir::toNativeSeparators(backup.path)));
    }
    s.sink.what = cliText(ctx.program, "gsCliFortschrittSchreiben", QStringLiteral("Schreiben"));
    if (ctx.changedOnly)
        return changedOnlyWrite(s, ctx, unitLines, lines);
    const TransferOutcome o = s.connection.writeConfiguration(lines, s.call(ctx.retries));
    if (!o.ok())
        return s.fail(o);
    merge(s.result, cliTransferJson(o));
    if (!ctx.verify)
        return s.finish();
    s.sink.what = cliText(ctx.program, "gsCliFortschrittPrüfen", QStringLiteral("Prüfen"));
    QList<ProfileDiff::Change> changes;
    TransferOutcome back = s.connection.verify(lines, &changes, s.call(ctx.retries));
    if (!back.ok()) {
        // The write's figures stay; "cause" says why nothing was compared.
        s.result.insert(QStringLiteral("verified"), false);
        back.detail = cliText(ctx.program, "gsCliGeschriebenPrüfungFehlgeschlagen",
                              QStringLiteral("die Konfiguration wurde vollständig geschrieben, aber die Prüfung ist "
                                             "fehlgeschlagen: %1"))
                          .arg(back.detail);
        const UnitOutcome failed = UnitOutcome::fromTransfer(back);
        merge(s.result, cliOutcomeJson(failed));
        s.result.insert(QStringLiteral("cause"), s.result.value(QStringLiteral("outcome")));
        s.result.insert(QStringLiteral("outcome"), QStringLiteral("verifyFailed"));
        return s.say(failed);
    }
    s.result.insert(QStringLiteral("verified"), changes.isEmpty());
    return reportDifferences(s, changes);
}

int relayCommand(CliContext& ctx)
{
    bool ok = false;
    const int n = ctx.args.value(0).toInt(&ok);
    const QString how = ctx.args.value(1);
    if (!ok || n < 1 || n > 4 || (how != QLatin1String("on") && how != QLatin1String("off")))
        return cliUsage(
            ctx.program,
            cliText(ctx.program, "gsCliRelaisAufruf", QStringLiteral("relay nimmt eine Nummer 1..4 und on oder off")),
            ctx.command);
    if (ctx.args.size() > 2)
        return tooMany(ctx, 2);
    QString error;
    int code = ExitOk;
    const QString pw = unitPassword(ctx, &error, &code);
    if (!error.isEmpty())
        return code == ExitUsage ? cliUsage(ctx.program, error, ctx.command) : cliFail(error, code);
    UnitSession s(ctx.program);
    if (!s.open(ctx, QStringLiteral("relay")))
        return ExitNoUnit;
    const UnitStatus st = s.connection.switchRelay(n, how == QLatin1String("on"), pw);
    if (!st.ok || !st.outcome)
        return s.fail(st.outcome);
    cliPrint(labelled(ctx.program, "gsCliRelais", QStringLiteral("Relais 1-8"), bits(st.relays)));
    return ExitOk;
}

int paramCommand(CliContext& ctx)
{
    const QString what = ctx.args.value(0), op = ctx.args.value(1);
    QString v1 = ctx.args.value(2), v2 = ctx.args.value(3);
    auto usage = [&ctx] {
        return cliUsage(ctx.program,
                        cliText(ctx.program, "gsCliParamAufruf",
                                QStringLiteral("param nimmt serial get|set WERT, pin get|set-default PIN|change ALT "
                                               "NEU, validity get|set INDEX")),
                        ctx.command);
    };
    const bool known = ((what == QLatin1String("serial") || what == QLatin1String("validity"))
                        && (op == QLatin1String("get") || op == QLatin1String("set")))
        || (what == QLatin1String("pin")
            && (op == QLatin1String("get") || op == QLatin1String("set-default") || op == QLatin1String("change")));
    if (!known)
        return usage();
    const bool needsPassword = (what == QLatin1String("validity") && op == QLatin1String("set"))
        || (what == QLatin1String("pin") && op == QLatin1String("change"));
    const int words = op == QLatin1String("get") ? 2 : op == QLatin1String("change") ? 4 : 3;
    if (ctx.args.size() > words)
        return tooMany(ctx, words);
    const unsigned paramOptions
        = OptionDevice | (needsPassword ? OptionPassword : 0u) | (op == QLatin1String("get") ? OptionJson : 0u);
    if (int c = ctx.onlyOptions(paramOptions, QStringLiteral("param %1 %2").arg(what, op)))
        return c;
    if (what == QLatin1String("pin") && (op == QLatin1String("set-default") || op == QLatin1String("change"))) {
        const bool change = op == QLatin1String("change");
        QString error;
        if (!secretArgument(ctx.program, &v1, "SMSV48_PIN", &error)
            || (change && !secretArgument(ctx.program, &v2, "SMSV48_NEW_PIN", &error)))
            return cliFail(error, ExitUsage);
    }
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
            return cliUsage(ctx.program,
                            cliText(ctx.program, "gsCliGültigkeitIndex",
                                    QStringLiteral("der Gültigkeitsindex ist eine Zahl 0..255")),
                            ctx.command);
    }
    if (!key.isEmpty())
        return cliFail(ctx.program.msg(key), ExitUsage);
    QString pw;
    if (needsPassword) {
        QString error;
        int code = ExitOk;
        pw = unitPassword(ctx, &error, &code);
        if (!error.isEmpty())
            return code == ExitUsage ? cliUsage(ctx.program, error, ctx.command) : cliFail(error, code);
    }
    UnitSession s(ctx.program);
    if (!s.open(ctx, QStringLiteral("param %1 %2").arg(what, op)))
        return ExitNoUnit;
    UnitConnection& unit = s.connection;
    if (op == QLatin1String("get")) {
        QString serial, pin, pin2;
        int validity = 0;
        const UnitOutcome read = what == QLatin1String("serial") ? unit.readSerialNumber(&serial)
            : what == QLatin1String("pin")                       ? unit.readPins(&pin, &pin2)
                                                                 : unit.readValidity(&validity);
        if (!read)
            return s.fail(read);
        if (s.json) {
            if (what == QLatin1String("serial"))
                s.result.insert(QStringLiteral("serial"), serial);
            else if (what == QLatin1String("pin")) {
                s.result.insert(QStringLiteral("pin"), pin);
                s.result.insert(QStringLiteral("pin2"), pin2);
            } else
                s.result.insert(QStringLiteral("validity"), validity);
            return s.finish();
        }
        if (what == QLatin1String("serial"))
            std::printf("%s\n", qPrintable(serial));
        else if (what == QLatin1String("pin"))
            cliPrint(labelled(ctx.program, "gsCliPin", QStringLiteral("PIN"), pin)
                     + labelled(ctx.program, "gsCliPin2", QStringLiteral("Zweite PIN"), pin2));
        else
            std::printf("%d\n", validity);
        return ExitOk;
    }
    UnitOutcome written;
    if (what == QLatin1String("serial"))
        written = unit.writeSerialNumber(v1);
    else if (op == QLatin1String("set-default"))
        written = unit.writeDefaultPin(v1);
    else if (op == QLatin1String("change"))
        written = unit.changePin(pw, v1, v2);
    else {
        written = unit.writeValidity(v1.toInt(), pw);
        if (written)
            unit.waitForRestart();
    }
    if (!written)
        return s.fail(written);
    return ExitOk;
}

int firmwareCommand(CliContext& ctx)
{
    if (ctx.args.isEmpty())
        return cliUsage(
            ctx.program,
            cliText(ctx.program, "gsCliFirmwareDatei", QStringLiteral("firmware braucht eine Programmdatei (*.prg)")),
            ctx.command);
    if (ctx.args.size() > 1)
        return tooMany(ctx, 1);
    if (int c = ctx.onlyOptions(OptionDevice | OptionYes | OptionJson, QStringLiteral("firmware")))
        return c;
    QString error;
    const QStringList lines = ConfigTransfer::checkHexFile(ctx.program, ctx.args[0], &error, false);
    if (lines.isEmpty())
        return cliFail(
            cliText(ctx.program, "gsCliNichtsGesendet", QStringLiteral("%1; es wurde nichts gesendet")).arg(error),
            ExitFile);
    if (!ctx.yes)
        return cliUsage(ctx.program,
                        cliText(ctx.program, "gsCliFirmwareBestätigen",
                                QStringLiteral("eine Aktualisierung der Firmware ersetzt das Programm des Geräts: mit "
                                               "--yes bestätigen")),
                        ctx.command);
    UnitSession s(ctx.program);
    if (!s.open(ctx, QStringLiteral("firmware")))
        return ExitNoUnit;
    s.result.insert(QStringLiteral("file"), ctx.args[0]);
    s.yes = true; // confirmed above: the version question and the flash question are answered yes
    if (const UnitOutcome v = s.connection.checkVersion(UnitOps::VersionLevel::Firmware, nullptr, s.call()); !v)
        return s.fail(v);
    s.sink.what = cliText(ctx.program, "gsCliFortschrittFirmware", QStringLiteral("Firmware"));
    const TransferOutcome o = s.connection.updateFirmware(lines, s.call());
    if (!o.ok())
        return s.fail(o);
    merge(s.result, cliTransferJson(o));
    return s.finish();
}

const CliRegistrar unitReg("unit", unitCommand,
                           "  unit status [--json]           inputs, relays, hardware and firmware version\n"
                           "  unit read -o FILE.cfg|DIR/|- [--retries N] [--json]\n"
                           "                                 read the configuration from the unit (DIR/: the file\n"
                           "                                 is named after the unit's serial number)\n"
                           "  unit write FILE.cfg|- [--no-backup] [--verify] [--changed-only] [--retries N] [--json]\n"
                           "                                 write a configuration into the unit; first the unit's\n"
                           "                                 configuration is kept as Backups/SERIAL/DATE-TIME.cfg\n"
                           "                                 in the program folder (the last 50 per unit);\n"
                           "                                 --changed-only sends only the records that differ\n"
                           "  unit verify FILE.cfg|- [--retries N] [--json]\n"
                           "                                 compare the unit with a file; exit 0 equal, 1 different\n",
                           OptionDevice | OptionOutput | OptionJson | OptionNoBackup | OptionVerify | OptionRetries
                               | OptionChangedOnly);
const CliRegistrar relayReg("relay", relayCommand, "  relay N on|off [--password P|-]  switch relay 1..4\n",
                            OptionDevice | OptionPassword);
const CliRegistrar paramReg("param", paramCommand,
                            "  param serial get|set VALUE     the unit's serial number (get: --json)\n"
                            "  param pin get|set-default [PIN|-]|change [OLD|-] [NEW|-]   the SIM PIN\n"
                            "  param validity get|set INDEX   the validity reminder (0..255)\n",
                            OptionDevice | OptionPassword | OptionJson);
const CliRegistrar firmwareReg("firmware", firmwareCommand,
                               "  firmware FILE.prg --yes [--json]  replace the unit's firmware\n",
                               OptionDevice | OptionYes | OptionJson);
}
