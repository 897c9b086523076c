#pragma once
// The command-line tool's frame: global options, the data root, and a registry of
// top-level commands ("profile", "unit", "relay", "param", "firmware", "report").
#include <QString>
#include <QStringList>

struct CliContext {
    QStringList args; // positional words after the command name
    QString device; // --device PATH|sim
    QString settings = QStringLiteral("9600,N,8,1"); // --settings
    bool settingsGiven = false;
    int language = 0; // --language 1..4 (0: the stored setting)
    QString password; // --password (after "--password -": the line read from stdin)
    bool passwordGiven = false;
    QString output; // -o FILE
    bool yes = false; // --yes
    bool json = false; // --json: results as JSON

    // Finds the data root and the database, sets the program state (language included).
    // Returns false after printing one line on stderr.
    bool prepareStore();
};

using CliHandler = int (*)(CliContext&);

struct CliCommand {
    const char* name;
    CliHandler handler;
    const char* usage; // one or more lines for --help
};

class CliRegistrar {
public:
    CliRegistrar(const char* name, CliHandler handler, const char* usage);
};

// The message texts of the program in the current language (every SystemNachrichten row),
// when a database is at hand; the shared logic reports through them.
void cliLoadMessages();
// One clear line on stderr ("smsv48ctl: ..."), returns the exit code to use.
int cliFail(const QString& message, int code = 1);
// A line on stderr that is not a failure ("smsv48ctl: using the simulated unit ...").
void cliNotice(const QString& message);
// The text with the secrets of a command line to the unit hidden: "PW:6054" -> "PW:****",
// and the PINs after "PA:" and "PN:" alike. Every message line on stderr passes here.
QString cliMaskSecrets(QString text);
// One secret from standard input: the next line, without its line end. False when the input
// has ended before it.
bool cliReadSecret(QString* into);
// Progress on stderr: a bar on a terminal, plain lines otherwise.
void cliProgress(const QString& what, int done, int total);
