#include "ui/Start.h"
#include "ui/StartTrace.h"

#include "core/ProgramContext.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstring>

namespace {
void describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Configuration tool for the SMSV48 GSM switching and alarm unit (the desktop program).\n"
                       "The command-line tool for scripts is smsv48ctl."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("PROFILE.cfg"),
                                 QStringLiteral("A profile to open at the start (what a file manager passes)."),
                                 QStringLiteral("[PROFILE.cfg]"));
}

// --help and --version, which are answered without a window system.
bool asksForInformation(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        for (const char* option : {"--help", "-h", "-?", "--help-all", "--version", "-v"})
            if (std::strcmp(argv[i], option) == 0)
                return true;
    }
    return false;
}
}

int main(int argc, char** argv)
{
    Start::mark("main");
    QCoreApplication::setApplicationName(QStringLiteral("SMS_Switch_Vantor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SMSV48_VERSION));
    if (asksForInformation(argc, argv)) {
        // Printed and done: no connection to a display, no window, no program folder.
        QCoreApplication core(argc, argv);
        QCommandLineParser parser;
        describe(parser);
        parser.process(core);
        return 0;
    }
    QApplication app(argc, argv);
    Start::mark("application");
    // The installed desktop entry (packaging/), so that desktops show its name and icon.
    QApplication::setDesktopFileName(QStringLiteral("io.github.smsv48.Tool"));
    // "sms_switch_vantor FILE.cfg" (also what a file manager runs for a profile) opens it.
    // Options it does not know are passed over, as before.
    QCommandLineParser parser;
    describe(parser);
    parser.parse(QApplication::arguments());
    const QString profile = parser.positionalArguments().value(0);
    // The one program context of the run, handed to everything the program starts.
    return Start::Main(gState(), app, profile);
}
