#pragma once
// The port dialog: COM 1..COM 8 (each standing for a device), line settings, and which
// device a number stands for (a port the system lists, or the built-in simulated unit).
#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class MainWindow;

class PortSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit PortSettingsDialog(MainWindow* main);

    QComboBox* cboPort = nullptr;
    QComboBox* cboBaudrate = nullptr;
    QComboBox* cboDatenbreite = nullptr;
    QComboBox* cboParitaet = nullptr;
    QComboBox* cboStopbit = nullptr;
    QComboBox* cboDevice = nullptr; // what the selected number stands for
    QLabel* lblPort = nullptr;
    QLabel* lblBaudrate = nullptr;
    QLabel* lblDaten = nullptr;
    QLabel* lblParitaet = nullptr;
    QLabel* lblStopbit = nullptr;
    QLabel* lblDevice = nullptr;
    QPushButton* cmdUebernehmen = nullptr;
    QPushButton* cmdAbbrechen = nullptr;

    // Working values.
    int mPort = 1;
    int mBaud = 9600;
    int mData = 8;
    QString mParity = QStringLiteral("N");
    int mStop = 1;

    // Apply: true when the port is open with the new values (the dialog then closes).
    bool cmdUebernehmen_Click();

private:
    void fillDevices();
    void showDevice();
    MainWindow* m_main;
};
