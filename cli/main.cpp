#include "cli/Cli.h"
#include "core/Logging.h"

#include "core/DataRoot.h"
#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "image/FileAccess.h"
#include "store/ConfigStore.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QTextStream>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
std::vector<CliCommand>& registry()
{
    static std::vector<CliCommand> r;
    return r;
}

void printHelp()
{
    QTextStream out(stdout);
    out << "usage: smsv48ctl [options] COMMAND ...\n\n"
           "Configuration tool for the SMSV48 GSM switching and alarm unit, for scripts and batch work.\n\n"
           "options:\n"
           "  --version               print the version and exit\n"
           "  --help                  print this help and exit\n"
           "  --device PATH|sim       serial device of the unit, or the built-in simulated unit\n"
           "  --settings 9600,N,8,1   port settings (baud, parity, data bits, stop bits)\n"
           "  --language 1..4         1 German, 2 English, 3 Italian, 4 French (default: stored setting)\n"
           "  --password P|-          unit password for relay, validity set and pin change\n"
           "                          (\"-\": one line from standard input)\n"
           "  -o FILE                 output file\n"
           "  --yes                   confirm a firmware update without asking\n"
           "  --json                  results as JSON (profile diff)\n\n"
           "commands:\n";
    for (const CliCommand& c : registry())
        out << c.usage;
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
           "\nThe program folder is $SMSV48_HOME, else the folder of this program when it holds Datenbank/,\n"
           "else the per-user data folder. Exit code 0 on success, non-zero with one line on stderr otherwise.\n";
}
} // namespace

CliRegistrar::CliRegistrar(const char* name, CliHandler handler, const char* usage)
{
    registry().push_back(CliCommand {name, handler, usage});
}

int cliFail(const QString& message, int code)
{
    qCDebug(lcCli).noquote() << "failed with code" << code;
    // A file name that is not valid UTF-8 is shown with its own bytes.
    std::fprintf(stderr, "smsv48ctl: %s\n", FileAccess::nativeName(cliMaskSecrets(message)).constData());
    return code;
}

void cliNotice(const QString& message)
{
    std::fprintf(stderr, "smsv48ctl: %s\n", cliMaskSecrets(message).toLocal8Bit().constData());
    std::fflush(stderr);
}

QString cliMaskSecrets(QString text)
{
    static const QRegularExpression secret(QStringLiteral("\\b(PW|PA|PN):[^\\s\"]*"));
    return text.replace(secret, QStringLiteral("\\1:****"));
}

bool cliReadSecret(QString* into)
{
    std::string line;
    bool any = false;
    for (int c; (c = std::fgetc(stdin)) != EOF && c != '\n';) {
        any = true;
        line += char(c);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    *into = QString::fromLocal8Bit(line);
    return any || !std::feof(stdin);
}

void cliProgress(const QString& what, int done, int total)
{
    static const bool tty = isatty(fileno(stderr));
    if (total <= 0)
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

bool CliContext::prepareStore()
{
    ProgramContext& st = gState();
    QString error;
    st.dataRoot = DataRoot::find(&error);
    if (st.dataRoot.isEmpty()) {
        cliFail(error);
        return false;
    }
    st.databasePath = DataRoot::databasePath(st.dataRoot);
    if (language != 0)
        st.language = language;
    else
        st.setLanguage(Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("Sprache"), QStringLiteral("1")));
    const QString problem = checkDatabase(st.databasePath);
    if (!problem.isEmpty()) {
        cliFail(problem);
        return false;
    }
    cliLoadMessages();
    return true;
}

void cliLoadMessages()
{
    ProgramContext& st = gState();
    if (!st.messages.isEmpty())
        return;
    QString error;
    if (st.dataRoot.isEmpty())
        st.dataRoot = DataRoot::find(&error);
    if (st.dataRoot.isEmpty())
        return;
    if (st.databasePath.isEmpty())
        st.databasePath = DataRoot::databasePath(st.dataRoot);
    static const char* cols[] = {"Deutsch", "Englisch", "Italienisch", "Französisch"};
    try {
        Connection con;
        con.open(st.databasePath, Connection::Read);
        Recordset rs;
        rs.open(con,
                QStringLiteral("SELECT \"Name\", \"%1\" FROM \"SystemNachrichten\"")
                    .arg(QString::fromUtf8(cols[qBound(1, st.language, 4) - 1])));
        if (rs.recordCount() > 0)
            for (rs.moveFirst(); !rs.eof(); rs.moveNext())
                st.messages.insert(rs.value(0).toString(), rs.value(1).toString());
    } catch (const StoreError&) {
    }
    if (st.programName.isEmpty())
        st.programName = st.messages.value(QStringLiteral("gsProgramName"), QStringLiteral("SMS Switch Vantor"));
}

int main(int argc, char** argv)
{
    // Reports need fonts and painting but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("SMS_Switch_Vantor"));
    CliContext ctx;
    QStringList words;
#ifdef Q_OS_UNIX
    // File names are bytes: each argument is kept so that it names the very file it named on
    // the command line, also when it is not valid UTF-8 (QCoreApplication::arguments() turns
    // such a byte into U+FFFD). The application object has taken its own options out of argv.
    QStringList all;
    for (int i = 1; i < argc; ++i)
        all << FileAccess::fromNative(QByteArray(argv[i]));
#else
    const QStringList all = app.arguments().mid(1);
#endif
    for (int i = 0; i < all.size(); ++i) {
        const QString& a = all[i];
        auto next = [&](QString* into) {
            if (i + 1 >= all.size())
                return false;
            *into = all[++i];
            return true;
        };
        if (a == "--version") {
            std::printf("smsv48ctl %s\n", SMSV48_VERSION);
            return 0;
        } else if (a == "--help" || a == "-h") {
            printHelp();
            return 0;
        } else if (a == "--device") {
            if (!next(&ctx.device))
                return cliFail(QStringLiteral("--device needs a device path or \"sim\""), 2);
        } else if (a == "--settings") {
            if (!next(&ctx.settings))
                return cliFail(QStringLiteral("--settings needs a text like 9600,N,8,1"), 2);
            ctx.settingsGiven = true;
        } else if (a == "--language") {
            QString v;
            bool ok = false;
            if (next(&v))
                ctx.language = v.toInt(&ok);
            if (!ok || ctx.language < 1 || ctx.language > 4)
                return cliFail(QStringLiteral("--language takes 1 (German), 2 (English), 3 (Italian) or 4 (French)"),
                               2);
        } else if (a == "--password") {
            if (!next(&ctx.password))
                return cliFail(QStringLiteral("--password needs a value"), 2);
            ctx.passwordGiven = true;
        } else if (a == "-o" || a == "--output") {
            if (!next(&ctx.output))
                return cliFail(QStringLiteral("-o needs a file name"), 2);
        } else if (a == "--yes") {
            ctx.yes = true;
        } else if (a == "--json") {
            ctx.json = true;
        } else if (a.startsWith("--")) {
            return cliFail(QStringLiteral("unknown option %1 (see --help)").arg(a), 2);
        } else {
            words << a;
        }
    }
    if (words.isEmpty()) {
        printHelp();
        return 2;
    }
    const QString name = words.takeFirst();
    for (const CliCommand& c : registry()) {
        if (name == QLatin1String(c.name)) {
            ctx.args = words;
            // The password from standard input before any PIN there (see --help).
            if (ctx.passwordGiven && ctx.password == QLatin1String("-") && !cliReadSecret(&ctx.password))
                return cliFail(QStringLiteral("--password -: no line on standard input"), 2);
            // The shared logic reports through the message texts: load them in the chosen
            // language before any command checks a file.
            if (ctx.language != 0)
                gState().language = ctx.language;
            else
                gState().setLanguage(
                    Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("Sprache"), QStringLiteral("1")));
            cliLoadMessages();
            return c.handler(ctx);
        }
    }
    return cliFail(QStringLiteral("unknown command \"%1\" (see --help)").arg(name), 2);
}
