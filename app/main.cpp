#include "ui/Start.h"

#include "core/ProgramContext.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("SMS_Switch_Vantor"));
    QApplication::setApplicationVersion(QStringLiteral(SMSV48_VERSION));
    // The installed desktop entry (packaging/), so that desktops show its name and icon.
    QApplication::setDesktopFileName(QStringLiteral("io.github.smsv48.Tool"));
    // "sms_switch_vantor FILE.cfg" (also what a file manager runs for a profile) opens it.
    const QStringList arguments = QApplication::arguments().mid(1);
    const QString profile
        = arguments.isEmpty() || arguments.first().startsWith(QLatin1Char('-')) ? QString() : arguments.first();
    // The one program context of the run, handed to everything the program starts.
    return Start::Main(gState(), app, profile);
}
