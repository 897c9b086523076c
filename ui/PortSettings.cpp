#include "ui/PortSettings.h"

#include "ui/Dialogs.h"
#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "link/Channel.h"
#include "link/Link.h"
#include "link/PortResolver.h"
#include "ui/DeviceController.h"
#include "ui/MainWindow.h"

#include <QCoreApplication>

namespace PortSettings {
QString settingsText(int baud, const QString& parityLetter, int dataBits, int stopBits)
{
    return QStringLiteral("%1,%2,%3,%4").arg(baud).arg(parityLetter).arg(dataBits).arg(stopBits);
}

Result apply(MainWindow& w, int port, const QString& settings)
{
    const QString section = QStringLiteral("Einstellungen");
    Result r;
    DeviceController& d = w.device();
    const UnitOutcome opened = d.connection().open(QString(), port, settings);
    const QString device = d.connection().device();
    QString error;
    if (!opened) {
        error = opened.detail;
        r.busy = !device.isEmpty() && d.channel && d.channel->lastErrorWasBusy();
    }
    if (!error.isEmpty()) {
        Settings::set(section, QStringLiteral("COM-Anschluss-Aktuell"), QStringLiteral("closed"));
        r.selectPort = r.busy ? (port == 1 ? 2 : port == 2 ? 1 : port) : port;
        r.error = QStringLiteral("COM %1: %2").arg(port).arg(error);
        w.setLamp(MainWindow::Red);
        w.setPanelText(2, QStringLiteral("COM ----"));
        d.showPortStatus();
        Dialogs::show(&w, r.error, w.context().programName, Dialogs::Icon::Exclamation);
        return r;
    }
    d.port = port;
    d.portDevice = device;
    d.portSettings = settings;
    d.probeUnit();
    Settings::set(section, QStringLiteral("COM-Anschluss-Aktuell"), QStringLiteral("open"));
    Settings::set(section, QStringLiteral("COM-Anschluss"), QString::number(port));
    Settings::set(section, QStringLiteral("Einstellungen"), settings);
    d.channel->discardInput();
    w.setPanelText(2, QStringLiteral("COM %1").arg(port));
    d.showPortStatus();
    r.ok = true;
    r.selectPort = port;
    return r;
}
}
