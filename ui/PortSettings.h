#pragma once
// Applying port settings to the main window's channel: reopen, probe, store.
#include <QString>

class MainWindow;

namespace PortSettings {
// "19200,E,7,1" from the dialog's values.
QString settingsText(int baud, const QString& parityLetter, int dataBits, int stopBits);

struct Result {
    bool ok = false;
    bool busy = false; // the port is in use by another program
    QString error; // the message shown
    int selectPort = 0; // the port number the dialog selects after a busy port
};
// Closes the port, opens the device of COM `port` with `settings`, probes the unit and
// stores the values ("COM-Anschluss", "Einstellungen", "COM-Anschluss-Aktuell"). On failure
// stores "closed" and shows "COM n: " + the reason.
Result apply(MainWindow& w, int port, const QString& settings);
}
