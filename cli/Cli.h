#pragma once
// The command-line tool's frame: the options, the data root, and a registry of top-level
// commands ("profile", "unit", "relay", "param", "firmware", "report", "ports"). Each command
// is parsed by a QCommandLineParser of its own that knows the common options and the options
// the command takes.
#include <QString>
#include <QStringList>

class CancelToken;
class ProgramContext;
class QJsonObject;

// Exit codes (listed in --help, the manual page and the README).
enum CliExit {
    ExitOk = 0,
    ExitFailure = 1, // the command failed
    ExitUsage = 2, // the command line is wrong; nothing was done
    ExitNoUnit = 3, // no serial port, the device cannot be opened, the unit does not answer
    ExitRefused = 4, // the unit refused (answered "E", did not switch, did not take a value)
    ExitFile = 5 // a file or the database cannot be read or written
};

// The options a command may take besides the common ones (--language, -q, -v, --help).
enum CliOption : unsigned {
    OptionDevice = 1u << 0, // --device, --settings
    OptionPassword = 1u << 1, // --password
    OptionOutput = 1u << 2, // -o / --output
    OptionYes = 1u << 3, // --yes
    OptionJson = 1u << 4, // --json
    OptionNoBackup = 1u << 5, // --no-backup
    OptionVerify = 1u << 6, // --verify
    OptionRetries = 1u << 7, // --retries
    OptionChangedOnly = 1u << 8 // --changed-only
};

struct CliContext {
    explicit CliContext(ProgramContext& program) : program(program) {}

    ProgramContext& program; // the run's paths, language and messages
    QString command; // the command name ("unit")
    QStringList args; // positional words after the command name
    unsigned given = 0; // the CliOption flags set on the command line
    QString device; // --device PATH|sim
    QString settings = QStringLiteral("9600,N,8,1"); // --settings
    bool settingsGiven = false;
    int language = 0; // --language 1..4 (0: the stored setting)
    QString password; // --password (after "--password -": the line read from stdin)
    bool passwordGiven = false;
    QString output; // -o FILE ("-": standard output)
    bool yes = false; // --yes
    bool json = false; // --json: results as JSON
    bool noBackup = false; // --no-backup
    bool verify = false; // --verify
    bool changedOnly = false; // --changed-only
    int retries = 0; // --retries N
    bool quiet = false; // -q: no progress
    bool verbose = false; // -v: the link's events on stderr

    // Finds the data root and the database, sets the program state (language included).
    // Returns false after printing one line on stderr.
    bool prepareStore();
    // A usage error (exit 2) naming the first option given that the sub-command `what` does
    // not take; ExitOk when every option given is in `allowed`.
    int onlyOptions(unsigned allowed, const QString& what) const;
};

using CliHandler = int (*)(CliContext&);

struct CliCommand {
    const char* name;
    CliHandler handler;
    const char* usage; // one or more lines for --help
    unsigned options; // the CliOption flags the command takes
};

class CliRegistrar {
public:
    CliRegistrar(const char* name, CliHandler handler, const char* usage, unsigned options = 0);
};

// One whole run of the tool on the command line argv (argv[0] the program's name): its output
// on the standard streams, its exit code returned. Each run starts afresh (options, the JSON
// object, the signal's token, the settings folder from SMSV48_SETTINGS_DIR, `program` cleared),
// so that many runs in one process behave like as many processes; an existing application
// object is used (a report needs a QGuiApplication then), else one is made for the run.
int cliRun(ProgramContext& program, int argc, char** argv);

// The message texts of the program in the current language (every SystemNachrichten row),
// when a database is at hand; the shared logic reports through them.
void cliLoadMessages(ProgramContext& context);
// A message of the tool in the run's language: the row of `key`, else the German stand-in.
QString cliText(const ProgramContext& context, const char* key, const QString& german);
// One clear line on stderr ("smsv48ctl: ..."), returns the exit code to use.
int cliFail(const QString& message, int code = ExitFailure);
// A usage error: one line naming the command's help, exit code 2.
int cliUsage(const ProgramContext& context, const QString& message, const QString& command = QString());
// A line on stderr that is not a failure ("smsv48ctl: using the simulated unit ..."); not
// shown with -q.
void cliNotice(const QString& message);
// The text with the secrets of a command line to the unit hidden: "PW:6054" -> "PW:****",
// and the PINs after "PA:" and "PN:" alike. Every message line on stderr passes here.
QString cliMaskSecrets(QString text);
// One secret from standard input: the next line, without its line end. False when the input
// has ended before it.
bool cliReadSecret(QString* into);
// Progress on stderr: a bar on a terminal, plain lines otherwise (nothing with -q).
void cliProgress(const QString& what, int done, int total);
// A warning on stderr ("smsv48ctl: ..."): shown also with -q (e.g. that no hardware is used).
void cliWarning(const QString& message);
// From here on the first SIGINT, SIGTERM or SIGHUP cancels what the unit is doing, as the
// desktop's Cancel does: it cancels cliSignalToken() (for good: a new command of the link
// does not clear it), the command ends as a cancelled one, and the program exits with
// 128 + the signal. A second signal ends the program at once.
void cliCatchSignals();
CancelToken& cliSignalToken();
// The exit code of a run that would end with `code`: 128 + the signal when one was caught.
int cliExitCode(int code);
// With --json: the command's one object. It is printed when the run ends, with "exitCode"
// the exit status of the process (a trace that could not be written or a signal included);
// a command that ends without one gets an object naming its failure.
void cliPrintJson(const QJsonObject& object);
// -q given: progress and notices stay silent.
bool cliQuiet();
// A result on standard output, as it is.
void cliPrint(const QByteArray& bytes);
