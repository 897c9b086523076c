#pragma once
// The third tab of the main window: live status and relays of the unit, its parameters
// (serial number, SIM PIN, validity reminder) and the transfers. Built when first shown or
// used (TabPage); what is set before (access level, validity list) is kept and shown then.
#include "ui/TabParts.h"

#include <QStringList>
#include <array>

class QComboBox;
class QRadioButton;
class ShapeLamp;

class SystemTab : public TabPage {
    Q_OBJECT
public:
    // The buttons of the tab; index: the relay 0..3, the display 0 relays, 1 alarm inputs, 2 demo.
    enum class Command {
        ReadConfiguration,
        WriteConfiguration,
        UpdateFirmware,
        RefreshStatus,
        ChooseDisplay,
        RelayOn,
        RelayOff,
        ReadSerial,
        WriteSerial,
        ReadPin,
        ChangePin,
        ReadValidity,
        WriteValidity,
    };
    Q_ENUM(Command)

    explicit SystemTab(QWidget* parent = nullptr);

    // While a command of the unit runs every command of the tab is disabled; afterwards each
    // is as it would be without the command (what was set meanwhile included).
    void setCommandBusy(bool busy);
    bool commandBusy() const { return m_busy; }

    // Status lamps 0..7; -1 is the modem lamp.
    ShapeLamp* lamp(int index);
    // Selects a display without running its command.
    void setDisplayChoice(int index);
    void setVersionTexts(const QString& hardware, const QString& software);
    void setRelayButtonsEnabled(bool enabled);
    void setRefreshEnabled(bool enabled);

    QString serialNumber();
    void showSerialNumber(const QString& serial);
    void focusSerialNumber();
    bool incrementSerialNumber();
    QString oldPin();
    QString newPin();
    void showPins(const QString& oldPin, const QString& newPin);
    void focusPin(bool newPin);
    bool pinIsDefault();

    void setValidityItems(const QStringList& items, int current);
    int validityIndex();
    void setValidityIndex(int index);

    // Full: serial number writable; administrator: firmware update.
    void setAccessLevel(bool full, bool administrator);

signals:
    void commandClicked(SystemTab::Command command, int index);

protected:
    void build(QWidget* content) override;

private:
    void applyCommandBusy();
    void applyAccessLevel();
    QList<QWidget*> commandWidgets() const;
    void setCommandEnabled(QWidget* widget, bool enabled);
    void applyValidityItems();
    QPushButton* commandPushButton(QWidget* parent, const QString& caption, const QString& name, Command command,
                                   int index = 0);

    std::array<ShapeLamp*, 8> m_lamps {};
    ShapeLamp* m_modemLamp = nullptr;
    std::array<QRadioButton*, 3> m_displays {};
    QLabel* m_hardwareVersion = nullptr;
    QLabel* m_softwareVersion = nullptr;
    QPushButton* m_refresh = nullptr;
    std::array<QPushButton*, 4> m_relayOn {}, m_relayOff {};
    QLineEdit* m_serialNumber = nullptr;
    QPushButton* m_readSerial = nullptr;
    QPushButton* m_writeSerial = nullptr;
    QCheckBox* m_incrementSerial = nullptr;
    QLineEdit* m_oldPin = nullptr;
    QLineEdit* m_newPin = nullptr;
    QCheckBox* m_pinDefault = nullptr;
    QPushButton* m_readPin = nullptr;
    QPushButton* m_changePin = nullptr;
    QComboBox* m_validity = nullptr;
    QPushButton* m_readValidity = nullptr;
    QPushButton* m_writeValidity = nullptr;
    QPushButton* m_writeConfiguration = nullptr;
    QPushButton* m_readConfiguration = nullptr;
    QPushButton* m_updateFirmware = nullptr;

    bool m_busy = false;
    bool m_accessKnown = false;
    bool m_fullAccess = false;
    bool m_administrator = false;
    QStringList m_validityItems;
    int m_validityCurrent = -1;
};
