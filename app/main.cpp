#include "ui/Start.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("SMS_Switch_Vantor"));
    QApplication::setApplicationVersion(QStringLiteral(SMSV48_VERSION));
    return Start::Main(app);
}
