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

    QComboBox* portBox = nullptr;
    QComboBox* baudRateBox = nullptr;
    QComboBox* dataBitsBox = nullptr;
    QComboBox* parityBox = nullptr;
    QComboBox* stopBitsBox = nullptr;
    QComboBox* deviceBox = nullptr; // what the selected number stands for
    QLabel* portValue = nullptr;
    QLabel* baudRateValue = nullptr;
    QLabel* dataBitsValue = nullptr;
    QLabel* parityValue = nullptr;
    QLabel* stopBitsValue = nullptr;
    QLabel* deviceValue = nullptr;
    QPushButton* applyButton = nullptr;
    QPushButton* cancelButton = nullptr;

    // Working values.
    int portNumber = 1;
    int baudRate = 9600;
    int mData = 8;
    QString mParity = QStringLiteral("N");
    int mStop = 1;

    // Apply: true when the port is open with the new values (the dialog then closes).
    bool apply();

private:
    void fillDevices();
    void showDevice();
    MainWindow* m_main;
};
