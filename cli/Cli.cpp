#include "cli/Cli.h"
#include "core/Logging.h"

#include "core/CancelToken.h"
#include "store/DataRoot.h"
#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "image/FileAccess.h"
#include "link/WireTrace.h"
#include "link/SerialChannel.h"
#include "store/ConfigStore.h"
#include "store/LanguageTables.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QMap>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTextStream>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#ifdef Q_OS_UNIX
#include <termios.h>
#include <unistd.h>
#endif

namespace {
bool g_quiet = false;

// --json: the object to print when the run ends, the last failure said on stderr (for a run
// that ends without an object), and whether a result went to stdout already.
bool g_jsonWanted = false;
std::optional<QJsonObject> g_pendingJson;
QString g_lastFailure;
bool g_stdoutUsed = false;

// The signal that cancelled the run (0: none) and the token it cancels: a new one for each
// run (a token cancelled for good stays so).
volatile std::sig_atomic_t g_signal = 0;
std::unique_ptr<CancelToken> g_signalTokenOwner;
std::atomic<CancelToken*> g_signalToken {nullptr};
static_assert(std::atomic<CancelToken*>::is_always_lock_free);

// Whether standard error is a terminal (progress as a bar), as it was when the run began.
bool g_stderrIsTerminal = false;

extern "C" void onStopSignal(int sig)
{
    if (g_signal != 0)
        std::_Exit(128 + sig);
    g_signal = sig;
    if (CancelToken* token = g_signalToken.load())
        token->cancelForGood();
}

std::vector<CliCommand>& registry()
{
    static std::vector<CliCommand> r;
    return r;
}

const CliCommand* findCommand(const QString& name)
{
    for (const CliCommand& c : registry())
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

// An option of the command line: the flag it sets (0: common to every command), its names,
// the name of its value (empty: a switch), and the line --help shows.
struct OptionDef {
    unsigned flag;
    QStringList names;
    QString valueName;
    const char* help;
};

const QList<OptionDef>& optionDefs()
{
    static const QList<OptionDef> defs = {
        {0,
         {"language"},
         "N",
         "--language 1..4         1 German, 2 English, 3 Italian, 4 French (default: the stored\n"
         "                          setting, else the system's language, else German)"},
        {0, {"q", "quiet"}, QString(), "-q                      no progress and no notices on stderr (also --quiet)"},
        {0,
         {"v", "verbose"},
         QString(),
         "-v                      the link's events on stderr, category smsv48.link (also --verbose)"},
        {OptionDevice,
         {"device"},
         "PATH",
         "--device PATH|sim       serial device of the unit, or the built-in simulated unit"},
        {OptionDevice, {"settings"}, "S", "--settings 9600,N,8,1   port settings (baud, parity, data bits, stop bits)"},
        {OptionDevice,
         {"trace"},
         "FILE",
         "--trace FILE            record the traffic with the unit in FILE (\"-\": standard error),\n"
         "                          passwords and PINs masked"},
        {OptionPassword,
         {"password"},
         "P",
         "--password P|-          unit password for relay, validity set and pin change\n"
         "                          (\"-\": one line from standard input)"},
        {OptionOutput, {"o", "output"}, "FILE", "-o FILE, --output FILE  output file (\"-\": standard output)"},
        {OptionYes, {"yes"}, QString(), "--yes                   confirm a firmware update without asking"},
        {OptionJson, {"json"}, QString(), "--json                  results as one JSON object (or list) on stdout"},
        {OptionNoBackup,
         {"no-backup"},
         QString(),
         "--no-backup             unit write: no backup of the unit's configuration"},
        {OptionVerify, {"verify"}, QString(), "--verify                unit write: read the unit back and compare"},
        {OptionRetries, {"retries"}, "N", "--retries N             repeat a failed transfer N times (default 0)"},
        {OptionChangedOnly,
         {"changed-only"},
         QString(),
         "--changed-only          unit write: send only the records that differ from the unit,\n"
         "                          then read them back (a whole write when the unit lost others)"},
    };
    return defs;
}

const char* const ExitCodesHelp
    = "exit codes:\n"
      "  0  success (profile diff, unit verify: equal)\n"
      "  1  failure (profile diff, unit verify: different)\n"
      "  2  usage error: the command line is wrong, nothing was done\n"
      "  3  no unit: no serial port, the device cannot be opened, the unit does not answer\n"
      "  4  the unit refused (a line, the write mode, a password, a value)\n"
      "  5  a file or the database cannot be read or written\n";

// A command's usage lines with their descriptions in one column: a synopsis too long for it
// stands on a line of its own and its description follows on the next.
QString alignedUsage(const char* usage)
{
    constexpr int column = 33;
    QString out;
    const QString pad(column, QLatin1Char(' '));
    static const QRegularExpression gap(QStringLiteral(" {2,}"));
    for (const QString& line : QString::fromUtf8(usage).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1String("   "))) { // the description goes on
            out += pad + line.trimmed() + QLatin1Char('\n');
            continue;
        }
        const QRegularExpressionMatch m = gap.match(line, 2);
        const QString synopsis = m.hasMatch() ? line.left(m.capturedStart()) : line;
        const QString description = m.hasMatch() ? line.mid(m.capturedEnd()) : QString();
        if (description.isEmpty())
            out += synopsis + QLatin1Char('\n');
        else if (synopsis.size() + 2 <= column)
            out += synopsis.leftJustified(column) + description + QLatin1Char('\n');
        else
            out += synopsis + QLatin1Char('\n') + pad + description + QLatin1Char('\n');
    }
    return out;
}

void printOptions(QTextStream& out, unsigned flags, bool common)
{
    for (const OptionDef& o : optionDefs())
        if ((o.flag == 0 && common) || (o.flag & flags))
            out << "  " << o.help << "\n";
}

void printHelp()
{
    QTextStream out(stdout);
    out << "usage: smsv48ctl [options] COMMAND ...\n"
           "       smsv48ctl COMMAND --help\n\n"
           "Configuration tool for the SMSV48 GSM switching and alarm unit, for scripts and batch work.\n\n"
           "options:\n"
           "  --version               print the version and exit\n"
           "  --help                  print this help (after a command: the command's help) and exit\n";
    printOptions(out, ~0u, true);
    out << "\ncommands:\n";
    for (const CliCommand& c : registry())
        out << alignedUsage(c.usage);
    out << "\nWithout --device the tool uses the port stored by the desktop program (\"COM n\" and the device\n"
           "assigned to it, else the n-th serial port of the system); when there is none it stops with\n"
           "\"no serial port found\". The simulated unit is used only with --device sim or when a port is\n"
           "set to it, and then stderr says so.\n"
           "\nSecrets need not be on the command line, where other users can see them in the process list:\n"
           "  password: --password P, else $SMSV48_PASSWORD, else the password of user 1 of the database\n"
           "  PIN:      the argument, else $SMSV48_PIN (set-default PIN; change: the OLD PIN) and\n"
           "            $SMSV48_NEW_PIN (change: the NEW PIN)\n"
           "  \"-\" in place of the password or a PIN reads it as one line from standard input: the\n"
           "  password first, then the PINs in their order.\n"
           "The tool never prints a password or PIN it was given: a line to the unit shows PW:****.\n"
           "\nResults go to standard output, everything else to standard error. \"-\" as a file name is\n"
           "standard input or standard output. The messages are in the language of --language, else\n"
           "the one chosen in the desktop program, else the system's (LANG), else German.\n"
           "\nThe program folder is $SMSV48_HOME, else the folder of this program when it holds Datenbank/,\n"
           "else the per-user data folder.\n\n"
        << ExitCodesHelp;
}

void printCommandHelp(const CliCommand& c)
{
    QTextStream out(stdout);
    out << "usage: smsv48ctl [options] " << c.name << " ...\n\n" << alignedUsage(c.usage) << "\noptions:\n";
    printOptions(out, c.options, true);
    out << "  --help                  print this help and exit\n\n" << ExitCodesHelp;
}

void printShortUsage()
{
    QString names;
    for (const CliCommand& c : registry())
        names += (names.isEmpty() ? QString() : QStringLiteral("|")) + QLatin1String(c.name);
    std::fprintf(stderr, "usage: smsv48ctl [options] %s ...\n       smsv48ctl --help | --version | COMMAND --help\n",
                 qPrintable(names));
}

// Whether arg is an option of the tool's (of any command, or --help, -h, --version), in any of
// the forms the parser takes: "--name", "--name=V", "-x", "-xV" or several short switches "-qv".
bool knownOption(const QString& arg)
{
    QStringList names {QStringLiteral("help"), QStringLiteral("h"), QStringLiteral("version")};
    for (const OptionDef& o : optionDefs())
        names += o.names;
    if (arg.startsWith(QLatin1String("--")))
        return names.contains(arg.mid(2).section(QLatin1Char('='), 0, 0)) && arg.mid(2).size() > 1;
    return arg.size() > 1 && names.contains(arg.mid(1, 1));
}

bool takesValue(const QString& arg)
{
    for (const OptionDef& o : optionDefs())
        if (!o.valueName.isEmpty())
            for (const QString& n : o.names)
                if (arg == (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n)
                    return true;
    return false;
}

// The value of a long option given as "--name V" or "--name=V" before parsing (the language
// is needed for the messages of the parse itself).
QString earlyValue(const QStringList& args, const QString& name)
{
    QString value;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--"))
            break;
        if (args[i] == name && i + 1 < args.size())
            value = args[++i];
        else if (args[i].startsWith(name + QLatin1Char('=')))
            value = args[i].mid(name.size() + 1);
    }
    return value;
}

int languageNumber(const QString& text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= 1 && n <= 4 ? n : 0;
}

bool validSettings(const ProgramContext& context, const QString& settings, QString* error)
{
    QSerialPort probe;
    return SerialChannel::applySettings(context, probe, settings, error);
}
// Whether the command of this command line is "report" (the first word that is neither an
// option nor an option's value), looked for before Qt is started.
bool wantsReport(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--"))
            return i + 1 < argc && QByteArray(argv[i + 1]) == "report";
        if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            if (takesValue(arg))
                ++i;
            continue;
        }
        return arg == QLatin1String("report");
    }
    return false;
}
} // namespace

CliRegistrar::CliRegistrar(const char* name, CliHandler handler, const char* usage, unsigned options)
{
    registry().push_back(CliCommand {name, handler, usage, options});
}

QString cliText(const ProgramContext& context, const char* key, const QString& german)
{
    return context.msgOr(QString::fromUtf8(key), german);
}

int cliFail(const QString& message, int code)
{
    qCDebug(lcCli).noquote() << "failed with code" << code;
    g_lastFailure = cliMaskSecrets(message);
    // A file name that is not valid UTF-8 is shown with its own bytes.
    std::fprintf(stderr, "smsv48ctl: %s\n", FileAccess::nativeName(cliMaskSecrets(message)).constData());
    return code;
}

int cliUsage(const ProgramContext& context, const QString& message, const QString& command)
{
    const QString help
        = command.isEmpty() ? QStringLiteral("smsv48ctl --help") : QStringLiteral("smsv48ctl %1 --help").arg(command);
    return cliFail(cliText(context, "gsCliSieheHilfe", QStringLiteral("%1 (siehe %2)")).arg(message, help), ExitUsage);
}

int CliContext::onlyOptions(unsigned allowed, const QString& what) const
{
    for (const OptionDef& o : optionDefs())
        if (o.flag && (given & o.flag) && !(allowed & o.flag)) {
            const QString name = o.names.last().size() == 1 ? QStringLiteral("-") + o.names.last()
                                                            : QStringLiteral("--") + o.names.last();
            return cliUsage(
                program,
                cliText(program, "gsCliOptionNichtFür", QStringLiteral("%2 nimmt die Option %1 nicht")).arg(name, what),
                command);
        }
    return ExitOk;
}

void cliNotice(const QString& message)
{
    if (g_quiet)
        return;
    std::fprintf(stderr, "smsv48ctl: %s\n", cliMaskSecrets(message).toLocal8Bit().constData());
    std::fflush(stderr);
}

void cliWarning(const QString& message)
{
    std::fprintf(stderr, "smsv48ctl: %s\n", cliMaskSecrets(message).toLocal8Bit().constData());
    std::fflush(stderr);
}

void cliCatchSignals()
{
#ifdef Q_OS_UNIX
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int sig : {SIGINT, SIGTERM, SIGHUP})
        sigaction(sig, &action, nullptr);
#else
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
#endif
}

CancelToken& cliSignalToken() { return *g_signalToken.load(); }

int cliExitCode(int code) { return g_signal != 0 ? 128 + int(g_signal) : code; }

void cliPrintJson(const QJsonObject& object)
{
    if (g_jsonWanted)
        g_pendingJson = object;
    else
        cliPrint(QJsonDocument(object).toJson(QJsonDocument::Indented));
}

bool cliQuiet() { return g_quiet; }

void cliPrint(const QByteArray& bytes)
{
    g_stdoutUsed = true;
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

QString cliMaskSecrets(QString text)
{
    static const QRegularExpression secret(QStringLiteral("\\b(PW|PA|PN):[^\\s\"]*"));
    return text.replace(secret, QStringLiteral("\\1:****"));
}

bool cliReadSecret(QString* into)
{
    // Typed on a terminal: not echoed (the line end is echoed, so that what follows starts
    // on a line of its own).
#ifdef Q_OS_UNIX
    const int in = fileno(stdin);
    termios saved {};
    const bool quiet = isatty(in) && tcgetattr(in, &saved) == 0;
    if (quiet) {
        termios silent = saved;
        silent.c_lflag &= tcflag_t(~ECHO);
        silent.c_lflag |= ECHONL;
        tcsetattr(in, TCSAFLUSH, &silent);
    }
#endif
    std::string line;
    bool any = false;
    for (int c; (c = std::fgetc(stdin)) != EOF && c != '\n';) {
        any = true;
        line += char(c);
    }
#ifdef Q_OS_UNIX
    if (quiet)
        tcsetattr(in, TCSANOW, &saved);
#endif
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    *into = QString::fromLocal8Bit(line);
    return any || !std::feof(stdin);
}

void cliProgress(const QString& what, int done, int total)
{
    const bool tty = g_stderrIsTerminal;
    if (total <= 0 || g_quiet)
        return;
    if (tty) {
        const int width = 30;
        const int filled = width * done / total;
        std::fprintf(stderr, "\r%s [%s%s] %d/%d", what.toLocal8Bit().constData(), std::string(filled, '#').c_str(),
                     std::string(width - filled, ' ').c_str(), done, total);
        if (done >= total)
            std::fprintf(stderr, "\n");
    } else {
        // Plain lines: about every tenth and the last.
        const int step = total >= 10 ? total / 10 : 1;
        if (done == total || done % step == 0)
            std::fprintf(stderr, "%s %d/%d\n", what.toLocal8Bit().constData(), done, total);
    }
    std::fflush(stderr);
}

namespace {
// The sentence of a database another program held (locked) when the program's texts were read.
QString g_storeBusy;
} // namespace

bool CliContext::prepareStore()
{
    QString error;
    program.dataRoot = DataRoot::find(program, &error);
    if (program.dataRoot.isEmpty()) {
        cliFail(error, ExitFile);
        return false;
    }
    program.databasePath = DataRoot::databasePath(program.dataRoot);
    // Held by another program when the texts were read: said now, without a second wait.
    const QString problem = g_storeBusy.isEmpty() ? checkDatabase(program, program.databasePath) : g_storeBusy;
    if (!problem.isEmpty()) {
        cliFail(problem, ExitFile);
        return false;
    }
    cliLoadMessages(program);
    return true;
}

void cliLoadMessages(ProgramContext& context)
{
    if (!context.messages.isEmpty())
        return;
    QString error;
    if (context.dataRoot.isEmpty())
        context.dataRoot = DataRoot::find(context, &error);
    if (context.dataRoot.isEmpty())
        return;
    if (context.databasePath.isEmpty())
        context.databasePath = DataRoot::databasePath(context.dataRoot);
    try {
        context.messages = LanguageTable::texts(context, tbl::SystemNachrichten);
    } catch (const StoreBusy& e) {
        g_storeBusy = e.message();
    } catch (const StoreError&) {
    }
    if (context.programName.isEmpty())
        context.programName
            = context.messages.value(QStringLiteral("gsProgramName"), QStringLiteral("SMS Switch Vantor"));
}

namespace {
// The exit code of a run whose command ended with `code`, after its JSON object (--json):
// the one the command made, else one naming the failure said on stderr; "exitCode" is the
// process's exit status.
int endRun(const CliContext& ctx, int code)
{
    code = cliExitCode(code);
    if (!g_jsonWanted)
        return code;
    if (!g_pendingJson && g_stdoutUsed)
        return code; // a result of its own (profile diff's list)
    QJsonObject o;
    if (g_pendingJson)
        o = *g_pendingJson;
    else {
        static const QMap<int, const char*> outcomes {{ExitFailure, "failed"},
                                                      {ExitUsage, "usage"},
                                                      {ExitNoUnit, "noUnit"},
                                                      {ExitRefused, "refused"},
                                                      {ExitFile, "fileError"}};
        o.insert(QStringLiteral("command"), ctx.command);
        o.insert(QStringLiteral("outcome"),
                 QLatin1String(code > 128 ? "cancelled" : outcomes.value(code, code == ExitOk ? "ok" : "failed")));
        if (!g_lastFailure.isEmpty())
            o.insert(QStringLiteral("detail"), g_lastFailure);
    }
    if (code != ExitOk || !o.contains(QStringLiteral("ok")))
        o.insert(QStringLiteral("ok"), code == ExitOk);
    o.insert(QStringLiteral("exitCode"), code);
    g_jsonWanted = false;
    cliPrintJson(o);
    return code;
}

// A usage error for an option given more than once (the last would silently win).
int duplicateOption(const ProgramContext& program, const QStringList& found, const QString& command)
{
    for (const OptionDef& o : optionDefs()) {
        int count = 0;
        for (const QString& name : found)
            count += o.names.contains(name) ? 1 : 0;
        if (count > 1) {
            const QString name = o.names.last().size() == 1 ? QStringLiteral("-") + o.names.last()
                                                            : QStringLiteral("--") + o.names.last();
            return cliUsage(
                program,
                cliText(program, "gsCliOptionDoppelt", QStringLiteral("die Option %1 ist zweimal angegeben")).arg(name),
                command);
        }
    }
    return ExitOk;
}

int run(const QStringList& all, CliContext& ctx)
{
    ProgramContext& program = ctx.program;
    const QString languageText = earlyValue(all, QStringLiteral("--language"));
    ctx.language = languageNumber(languageText);
    if (ctx.language != 0)
        program.language = ctx.language;
    else
        program.language = ProgramContext::startLanguage();
    cliLoadMessages(program);

    // An option the tool does not know is said as such, before its value could be taken for
    // the command ("--dev sim": no command "sim").
    for (int i = 0; i < all.size() && all[i] != QLatin1String("--"); ++i) {
        if (!all[i].startsWith(QLatin1Char('-')) || all[i].size() < 2)
            continue;
        if (!knownOption(all[i]))
            return cliUsage(program,
                            cliText(program, "gsCliOptionUnbekannt", QStringLiteral("unbekannte Option %1"))
                                .arg(all[i].section(QLatin1Char('='), 0, 0)));
        if (takesValue(all[i]))
            ++i;
    }

    // The command: the first word that is neither an option nor an option's value.
    int commandAt = -1;
    for (int i = 0; i < all.size() && commandAt < 0; ++i) {
        if (all[i] == QLatin1String("--")) {
            if (i + 1 < all.size())
                commandAt = i + 1;
            break;
        }
        if (all[i].startsWith(QLatin1Char('-')) && all[i].size() > 1) {
            if (takesValue(all[i]))
                ++i;
            continue;
        }
        commandAt = i;
    }
    const bool wantsHelp = all.contains(QStringLiteral("--help")) || all.contains(QStringLiteral("-h"));
    if (commandAt < 0) {
        if (all.contains(QStringLiteral("--version"))) {
            std::printf("smsv48ctl %s\n", SMSV48_VERSION);
            return ExitOk;
        }
        if (wantsHelp) {
            printHelp();
            return ExitOk;
        }
        printShortUsage();
        return cliUsage(program, cliText(program, "gsCliKeinBefehl", QStringLiteral("kein Befehl angegeben")));
    }
    const CliCommand* command = findCommand(all[commandAt]);
    if (!command)
        return cliUsage(program,
                        cliText(program, "gsCliUnbekannterBefehl", QStringLiteral("unbekannter Befehl \"%1\""))
                            .arg(all[commandAt]));
    ctx.command = QString::fromLatin1(command->name);
    if (wantsHelp) {
        printCommandHelp(*command);
        return ExitOk;
    }
    // From here on a run with --json ends with one JSON object, also after a usage error.
    g_jsonWanted = all.mid(0, all.indexOf(QStringLiteral("--")) < 0 ? -1 : all.indexOf(QStringLiteral("--")))
                       .contains(QStringLiteral("--json"));

    QCommandLineParser parser;
    QList<QCommandLineOption> options;
    for (const OptionDef& o : optionDefs()) {
        if (o.flag != 0 && !(o.flag & command->options))
            continue;
        QCommandLineOption option(o.names);
        if (!o.valueName.isEmpty())
            option.setValueName(o.valueName);
        options << option;
        parser.addOption(option);
    }
    QStringList withoutCommand = all;
    withoutCommand.removeAt(commandAt);
    if (!parser.parse(QStringList {QStringLiteral("smsv48ctl")} + withoutCommand)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString name
                = (unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + unknown.first();
            return cliUsage(program,
                            cliText(program, "gsCliUnbekannteOption", QStringLiteral("%2 kennt die Option %1 nicht"))
                                .arg(name, ctx.command),
                            ctx.command);
        }
        QString missing;
        for (const QString& a : withoutCommand)
            if (takesValue(a))
                missing = a;
        return cliUsage(
            program,
            cliText(program, "gsCliWertFehlt", QStringLiteral("die Option %1 braucht einen Wert")).arg(missing),
            ctx.command);
    }
    if (const int c = duplicateOption(program, parser.optionNames(), ctx.command))
        return c;
    for (const OptionDef& o : optionDefs())
        if (o.flag && (o.flag & command->options) && parser.isSet(o.names.first()))
            ctx.given |= o.flag;
    ctx.args = parser.positionalArguments();

    if (parser.isSet(QStringLiteral("language")) && ctx.language == 0)
        return cliUsage(program,
                        cliText(program, "gsCliSpracheUngültig",
                                QStringLiteral("--language nimmt 1 (Deutsch), 2 (Englisch), 3 (Italienisch) oder 4 "
                                               "(Französisch), nicht \"%1\""))
                            .arg(parser.value(QStringLiteral("language"))),
                        ctx.command);
    g_quiet = parser.isSet(QStringLiteral("quiet"));
    ctx.quiet = g_quiet;
    ctx.verbose = parser.isSet(QStringLiteral("verbose"));
    if (ctx.verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("smsv48.link.debug=true"));
    const auto missingValue = [&](const char* option) {
        return cliUsage(program,
                        cliText(program, "gsCliWertFehlt", QStringLiteral("die Option %1 braucht einen Wert"))
                            .arg(QLatin1String(option)),
                        ctx.command);
    };
    if (command->options & OptionDevice) {
        ctx.device = parser.value(QStringLiteral("device"));
        if (parser.isSet(QStringLiteral("device")) && ctx.device.isEmpty())
            return missingValue("--device");
        ctx.settingsGiven = parser.isSet(QStringLiteral("settings"));
        if (ctx.settingsGiven) {
            ctx.settings = parser.value(QStringLiteral("settings"));
            QString error;
            if (!validSettings(program, ctx.settings, &error))
                return cliUsage(program, error, ctx.command);
        }
    }
    if (command->options & OptionOutput) {
        ctx.output = parser.value(QStringLiteral("output"));
        if (parser.isSet(QStringLiteral("output")) && ctx.output.isEmpty())
            return missingValue("-o");
    }
    ctx.yes = (command->options & OptionYes) && parser.isSet(QStringLiteral("yes"));
    ctx.json = (command->options & OptionJson) && parser.isSet(QStringLiteral("json"));
    ctx.noBackup = (command->options & OptionNoBackup) && parser.isSet(QStringLiteral("no-backup"));
    ctx.verify = (command->options & OptionVerify) && parser.isSet(QStringLiteral("verify"));
    ctx.changedOnly = (command->options & OptionChangedOnly) && parser.isSet(QStringLiteral("changed-only"));
    if ((command->options & OptionRetries) && parser.isSet(QStringLiteral("retries"))) {
        bool ok = false;
        ctx.retries = parser.value(QStringLiteral("retries")).toInt(&ok);
        if (!ok || ctx.retries < 0 || ctx.retries > 99)
            return cliUsage(program,
                            cliText(program, "gsCliWiederholungenUngültig",
                                    QStringLiteral("--retries nimmt eine Zahl 0..99, nicht \"%1\""))
                                .arg(parser.value(QStringLiteral("retries"))),
                            ctx.command);
    }
    if ((command->options & OptionPassword) && parser.isSet(QStringLiteral("password"))) {
        ctx.passwordGiven = true;
        ctx.password = parser.value(QStringLiteral("password"));
        // The password from standard input before any PIN there (see --help).
        if (ctx.password == QLatin1String("-") && !cliReadSecret(&ctx.password))
            return cliFail(cliText(program, "gsCliPasswortStdinLeer",
                                   QStringLiteral("--password -: keine Zeile auf der "
                                                  "Standardeingabe")),
                           ExitUsage);
    }
    QString tracePath;
    QFile traceFile;
    if ((command->options & OptionDevice) && parser.isSet(QStringLiteral("trace"))) {
        tracePath = parser.value(QStringLiteral("trace"));
        if (tracePath.isEmpty())
            return cliUsage(program,
                            cliText(program, "gsCliWertFehlt", QStringLiteral("die Option %1 braucht einen Wert"))
                                .arg(QStringLiteral("--trace")),
                            ctx.command);
        // The trace file is made before any traffic (0600: it may show the unit's traffic) and
        // written line by line, so that it survives a program that is ended at once.
        if (tracePath != QLatin1String("-")) {
            QString why = FileAccess::checkRegularFile(program, tracePath, FileAccess::Use::Write);
            if (why.isEmpty() && !QFileInfo(tracePath).absoluteDir().exists())
                why = FileAccess::writeFailure(program, tracePath, ENOENT, false);
            if (why.isEmpty())
                FileAccess::openPrivateForWriting(program, traceFile, tracePath, &why);
            if (!why.isEmpty())
                return cliFail(why, ExitFile);
        }
        WireTrace::startRecording(traceFile.isOpen() ? &traceFile : nullptr);
    }
    int code = command->handler(ctx);
    if (!tracePath.isEmpty()) {
        WireTrace::stopRecording();
        if (tracePath == QLatin1String("-")) {
            const QByteArray trace = WireTrace::recorded();
            std::fwrite(trace.constData(), 1, size_t(trace.size()), stderr);
            std::fflush(stderr);
        } else if (const int error = WireTrace::sinkError() ? WireTrace::sinkError() : traceFile.flush() ? 0 : EIO) {
            cliFail(FileAccess::writeFailure(program, tracePath, error, false), ExitFile);
            if (code == ExitOk)
                code = ExitFile;
        }
        traceFile.close();
    }
    return code;
}
} // namespace

namespace {
// Everything a run leaves behind is set back, so that runs in one process (the tests) behave
// like runs in processes of their own.
void startRun()
{
    g_quiet = false;
    g_jsonWanted = false;
    g_pendingJson.reset();
    g_lastFailure.clear();
    g_stdoutUsed = false;
    g_storeBusy.clear();
    g_signal = 0;
    g_signalTokenOwner = std::make_unique<CancelToken>();
    g_signalToken.store(g_signalTokenOwner.get());
#ifdef Q_OS_UNIX
    g_stderrIsTerminal = isatty(fileno(stderr));
#endif
    QLoggingCategory::setFilterRules(QString());
    // The settings folder as a new process finds it.
    Settings::setFolder(qEnvironmentVariable("SMSV48_SETTINGS_DIR"));
}
} // namespace

int cliRun(ProgramContext& program, int argc, char** argv)
{
    startRun();
    program = ProgramContext();
    // Reports need fonts and painting but no screen; every other command does without the
    // graphical part of Qt (whose start-up looks for a display, through the runtime folder).
    // A program that has its application object already (the tests) runs in it.
    std::unique_ptr<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr && wantsReport(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else if (QCoreApplication::instance() == nullptr) {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("SMS_Switch_Vantor"));
#ifdef Q_OS_UNIX
    // File names are bytes: each argument is kept so that it names the very file it named on
    // the command line, also when it is not valid UTF-8 (QCoreApplication::arguments() turns
    // such a byte into U+FFFD). The application object has taken its own options out of argv.
    QStringList all;
    for (int i = 1; i < argc; ++i)
        all << FileAccess::fromNative(QByteArray(argv[i]));
#else
    const QStringList all = QCoreApplication::arguments().mid(1);
#endif
    if (all.isEmpty()) {
        printShortUsage();
        return ExitUsage;
    }
    CliContext ctx(program);
    const int code = run(all, ctx);
    return endRun(ctx, code);
}
