#include "ui/Start.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("SMS_Switch_Vantor"));
    QApplication::setApplicationVersion(QStringLiteral(SMSV48_VERSION));
    // The installed desktop entry (packaging/), so that desktops show its name and icon.
    QApplication::setDesktopFileName(QStringLiteral("io.github.smsv48.Tool"));
    return Start::Main(app);
}
