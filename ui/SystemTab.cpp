#include "ui/SystemTab.h"

#include "ui/ShapeLamp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace TabParts;

namespace {
// Text boxes of the parameter page turn yellow while they have the focus and select
// their whole text.
class Highlight : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        auto* box = qobject_cast<QLineEdit*>(o);
        if (box && e->type() == QEvent::FocusIn) {
            box->setStyleSheet(QStringLiteral("QLineEdit { background-color: rgb(255,255,0); }"));
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
        } else if (box && e->type() == QEvent::FocusOut) {
            box->setStyleSheet(QString());
        }
        return false;
    }
};
} // namespace

SystemTab::SystemTab(QWidget* parent) : TabPage(parent) {}

QPushButton* SystemTab::commandPushButton(QWidget* parent, const QString& caption, const QString& name, Command command,
                                          int index)
{
    auto* b = named(new QPushButton(caption, parent), name);
    connect(b, &QPushButton::clicked, this, [this, command, index] { emit commandClicked(command, index); });
    return b;
}

void SystemTab::build(QWidget* c)
{
    auto* cols = new QHBoxLayout(c);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    cols->addLayout(left, 1);
    cols->addLayout(right, 1);

    // Live status of the unit.
    auto* status = named(new QGroupBox(c), QStringLiteral("fraStatus"));
    auto* statusGrid = new QGridLayout(status);
    auto* leds = new QGridLayout;
    leds->setHorizontalSpacing(10);
    for (int i = 0; i < 8; ++i) {
        m_lamps[i] = named(new ShapeLamp(status), indexedName("ShpLed", i));
        auto* number = new QLabel(QString::number(i + 1), status);
        number->setAlignment(Qt::AlignHCenter);
        leds->addWidget(m_lamps[i], 0, i, Qt::AlignHCenter);
        leds->addWidget(number, 1, i, Qt::AlignHCenter);
    }
    leds->setColumnMinimumWidth(8, 16);
    m_modemLamp = named(new ShapeLamp(status), QStringLiteral("ShpModem"));
    leds->addWidget(m_modemLamp, 0, 9, Qt::AlignHCenter);
    {
        auto* gsm = new QLabel(QStringLiteral("GSM"), status);
        gsm->setAlignment(Qt::AlignHCenter);
        leds->addWidget(gsm, 1, 9, Qt::AlignHCenter);
    }
    leds->setColumnStretch(10, 1);
    statusGrid->addLayout(leds, 0, 0, 1, 3);
    const char* displayCaptions[3] = {"Relais", "Alarm", "Demo"};
    auto* displays = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        m_displays[i] = named(new QRadioButton(QString::fromLatin1(displayCaptions[i]), status),
                              indexedName("OptPortAnzeige", i));
        connect(m_displays[i], &QRadioButton::clicked, this,
                [this, i] { emit commandClicked(Command::ChooseDisplay, i); });
        displays->addWidget(m_displays[i]);
    }
    m_displays[2]->setChecked(true);
    displays->addStretch(1);
    statusGrid->addLayout(displays, 1, 0, 1, 3);
    m_refresh = commandPushButton(status, QStringLiteral("Aktualisieren"), QStringLiteral("cmdAktualisieren"),
                                  Command::RefreshStatus);
    statusGrid->addWidget(m_refresh, 2, 0);
    m_hardwareVersion = named(new QLabel(QStringLiteral("HW-Version: 0.00"), status), QStringLiteral("lblHWVersion"));
    m_softwareVersion = named(new QLabel(QStringLiteral("SW-Version: 0.00"), status), QStringLiteral("lblSWVersion"));
    statusGrid->addWidget(m_hardwareVersion, 2, 1);
    statusGrid->addWidget(m_softwareVersion, 2, 2);
    statusGrid->setColumnStretch(2, 1);
    left->addWidget(status);

    // Relays switched by hand.
    auto* relays = named(new QGroupBox(c), QStringLiteral("fraRelais"));
    auto* relayGrid = new QGridLayout(relays);
    for (int i = 0; i < 4; ++i) {
        auto* name = named(new QLabel(QStringLiteral("Relais %1").arg(i + 1), relays), indexedName("lblRelais", i));
        m_relayOn[i]
            = commandPushButton(relays, QStringLiteral("Ein"), indexedName("cmdSetOutput", i), Command::RelayOn, i);
        m_relayOff[i]
            = commandPushButton(relays, QStringLiteral("Aus"), indexedName("cmdResetOutput", i), Command::RelayOff, i);
        relayGrid->addWidget(name, i, 0);
        relayGrid->addWidget(m_relayOn[i], i, 1);
        relayGrid->addWidget(m_relayOff[i], i, 2);
    }
    relayGrid->setColumnStretch(3, 1);
    left->addWidget(relays);
    left->addStretch(1);

    // Unit parameters: serial number, SIM PIN, validity reminder.
    auto* highlight = new Highlight(this);
    auto* params = named(new QGroupBox(c), QStringLiteral("fraParameter"));
    auto* paramGrid = new QGridLayout(params);
    auto* serialLabel = named(new QLabel(QStringLiteral("Seriennummer"), params), QStringLiteral("lblSerienummer"));
    m_serialNumber = named(new QLineEdit(params), QStringLiteral("txtSerienummer"));
    m_serialNumber->setMaxLength(6);
    m_serialNumber->setMinimumWidth(m_serialNumber->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    serialLabel->setBuddy(m_serialNumber);
    m_readSerial = commandPushButton(params, QStringLiteral("Lesen"), QStringLiteral("cmdLesen"), Command::ReadSerial);
    m_writeSerial
        = commandPushButton(params, QStringLiteral("Setzen"), QStringLiteral("cmdSetzen"), Command::WriteSerial);
    m_incrementSerial = named(new QCheckBox(QStringLiteral("+1"), params), QStringLiteral("Check_Inkrement"));
    m_writeSerial->hide();
    m_incrementSerial->hide();
    paramGrid->addWidget(serialLabel, 0, 0);
    paramGrid->addWidget(m_serialNumber, 0, 1);
    {
        auto* b = new QHBoxLayout;
        b->addWidget(m_readSerial);
        b->addWidget(m_writeSerial);
        b->addWidget(m_incrementSerial);
        b->addStretch(1);
        paramGrid->addLayout(b, 0, 2);
    }
    auto* pinLabel = named(new QLabel(QStringLiteral("PIN SIM-Karte"), params), QStringLiteral("lblPinSimCard"));
    m_oldPin = named(new QLineEdit(params), QStringLiteral("txtPINSimCardAlt"));
    m_newPin = named(new QLineEdit(params), QStringLiteral("txtPINSimCardNeu"));
    for (QLineEdit* e : {m_oldPin, m_newPin}) {
        e->setMaxLength(4);
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    }
    for (QLineEdit* e : {m_serialNumber, m_oldPin, m_newPin})
        e->installEventFilter(highlight);
    pinLabel->setBuddy(m_oldPin);
    m_pinDefault = named(new QCheckBox(QStringLiteral("Default"), params), QStringLiteral("ChkDefault"));
    m_readPin = commandPushButton(params, QStringLiteral("Lesen"), QStringLiteral("cmdPinLesen"), Command::ReadPin);
    m_changePin
        = commandPushButton(params, QStringLiteral("Wechseln"), QStringLiteral("cmdPinWechseln"), Command::ChangePin);
    paramGrid->addWidget(pinLabel, 1, 0);
    {
        auto* pins = new QHBoxLayout;
        pins->addWidget(m_oldPin);
        pins->addWidget(new QLabel(QStringLiteral("\u2192"), params));
        pins->addWidget(m_newPin);
        pins->addStretch(1);
        paramGrid->addLayout(pins, 1, 1);
        auto* b = new QHBoxLayout;
        b->addWidget(m_readPin);
        b->addWidget(m_changePin);
        b->addStretch(1);
        paramGrid->addLayout(b, 1, 2);
    }
    paramGrid->addWidget(m_pinDefault, 2, 1, 1, 2);
    auto* validityLabel = named(new QLabel(QStringLiteral("Gültigkeit"), params), QStringLiteral("lblGültigkeit"));
    m_validity = named(new QComboBox(params), QStringLiteral("CboGültigkeit"));
    m_validity->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_validity->setMaxVisibleItems(20);
    validityLabel->setBuddy(m_validity);
    m_readValidity = commandPushButton(params, QStringLiteral("Lesen"), QStringLiteral("cmdGueltigkeitLesen"),
                                       Command::ReadValidity);
    m_writeValidity = commandPushButton(params, QStringLiteral("Setzen"), QStringLiteral("cmdGueltigkeitSetzen"),
                                        Command::WriteValidity);
    paramGrid->addWidget(validityLabel, 3, 0);
    paramGrid->addWidget(m_validity, 3, 1);
    {
        auto* b = new QHBoxLayout;
        b->addWidget(m_readValidity);
        b->addWidget(m_writeValidity);
        b->addStretch(1);
        paramGrid->addLayout(b, 3, 2);
    }
    paramGrid->setColumnStretch(2, 1);
    right->addWidget(params);

    // Configuration transfers and firmware update.
    auto* transfer = named(new QGroupBox(c), QStringLiteral("fraKonfiguration"));
    auto* transferRow = new QHBoxLayout(transfer);
    auto* transferLabel = named(new QLabel(QStringLiteral("Konfiguration"), transfer), QStringLiteral("lblDownload"));
    m_writeConfiguration = commandPushButton(transfer, QStringLiteral("Download"), indexedName("cmdDownload", 0),
                                             Command::WriteConfiguration);
    m_readConfiguration = commandPushButton(transfer, QStringLiteral("Upload"), QStringLiteral("cmdUpload"),
                                            Command::ReadConfiguration);
    m_updateFirmware = commandPushButton(transfer, QStringLiteral("Firmware"), indexedName("cmdDownload", 1),
                                         Command::UpdateFirmware);
    m_updateFirmware->hide();
    transferRow->addWidget(transferLabel);
    transferRow->addWidget(m_writeConfiguration);
    transferRow->addWidget(m_readConfiguration);
    transferRow->addWidget(m_updateFirmware);
    transferRow->addStretch(1);
    right->addWidget(transfer);
    right->addStretch(1);

    QList<QWidget*> order;
    for (QRadioButton* o : m_displays)
        order << o;
    order << m_refresh;
    for (int i = 0; i < 4; ++i)
        order << m_relayOn[i] << m_relayOff[i];
    order << m_serialNumber << m_readSerial << m_writeSerial << m_incrementSerial << m_oldPin << m_newPin << m_readPin
          << m_changePin << m_pinDefault << m_validity << m_readValidity << m_writeValidity << m_writeConfiguration
          << m_readConfiguration << m_updateFirmware;
    setFocusOrder(order);

    applyAccessLevel();
    applyValidityItems();
    if (m_busy)
        applyCommandBusy();
}

namespace {
// A command's own enabled state while the tab is busy: what it returns to afterwards.
const char* const kEnabledWhenIdle = "enabledWhenIdle";
} // namespace

QList<QWidget*> SystemTab::commandWidgets() const
{
    QList<QWidget*> all {m_refresh,      m_readSerial,    m_writeSerial,        m_readPin,           m_changePin,
                         m_readValidity, m_writeValidity, m_writeConfiguration, m_readConfiguration, m_updateFirmware};
    for (QRadioButton* o : m_displays)
        all << o;
    for (int i = 0; i < 4; ++i)
        all << m_relayOn[i] << m_relayOff[i];
    return all;
}

void SystemTab::setCommandBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    // A tab not built yet is built with the state it has then.
    if (isBuilt())
        applyCommandBusy();
}

void SystemTab::applyCommandBusy()
{
    for (QWidget* w : commandWidgets()) {
        if (m_busy) {
            w->setProperty(kEnabledWhenIdle, !w->testAttribute(Qt::WA_ForceDisabled));
            w->setEnabled(false);
        } else {
            w->setEnabled(w->property(kEnabledWhenIdle).toBool());
        }
    }
}

void SystemTab::setCommandEnabled(QWidget* widget, bool enabled)
{
    if (m_busy)
        widget->setProperty(kEnabledWhenIdle, enabled);
    else
        widget->setEnabled(enabled);
}

ShapeLamp* SystemTab::lamp(int index)
{
    ensureBuilt();
    return index < 0 ? m_modemLamp : m_lamps.at(size_t(index));
}

void SystemTab::setDisplayChoice(int index)
{
    ensureBuilt();
    const QSignalBlocker block(m_displays.at(size_t(index)));
    m_displays.at(size_t(index))->setChecked(true);
}

void SystemTab::setVersionTexts(const QString& hardware, const QString& software)
{
    ensureBuilt();
    m_hardwareVersion->setText(hardware);
    m_softwareVersion->setText(software);
}

void SystemTab::setRelayButtonsEnabled(bool enabled)
{
    ensureBuilt();
    for (int i = 0; i < 4; ++i) {
        setCommandEnabled(m_relayOn[i], enabled);
        setCommandEnabled(m_relayOff[i], enabled);
    }
}

void SystemTab::setRefreshEnabled(bool enabled)
{
    ensureBuilt();
    setCommandEnabled(m_refresh, enabled);
}

QString SystemTab::serialNumber() { return ensureBuilt(), m_serialNumber->text(); }
void SystemTab::showSerialNumber(const QString& serial) { ensureBuilt(), m_serialNumber->setText(serial); }
void SystemTab::focusSerialNumber() { ensureBuilt(), m_serialNumber->setFocus(); }
bool SystemTab::incrementSerialNumber() { return ensureBuilt(), m_incrementSerial->isChecked(); }
QString SystemTab::oldPin() { return ensureBuilt(), m_oldPin->text(); }
QString SystemTab::newPin() { return ensureBuilt(), m_newPin->text(); }

void SystemTab::showPins(const QString& oldPin, const QString& newPin)
{
    ensureBuilt();
    m_oldPin->setText(oldPin);
    m_newPin->setText(newPin);
}

void SystemTab::focusPin(bool newPin) { ensureBuilt(), (newPin ? m_newPin : m_oldPin)->setFocus(); }
bool SystemTab::pinIsDefault() { return ensureBuilt(), m_pinDefault->isChecked(); }

void SystemTab::setValidityItems(const QStringList& items, int current)
{
    m_validityItems = items;
    m_validityCurrent = current;
    if (isBuilt())
        applyValidityItems();
}

void SystemTab::applyValidityItems()
{
    if (m_validityItems.isEmpty())
        return;
    m_validity->clear();
    m_validity->addItems(m_validityItems);
    m_validity->setCurrentIndex(m_validityCurrent);
}

int SystemTab::validityIndex() { return ensureBuilt(), m_validity->currentIndex(); }

void SystemTab::setValidityIndex(int index)
{
    ensureBuilt();
    m_validity->setCurrentIndex(index);
}

void SystemTab::setAccessLevel(bool full, bool administrator)
{
    m_accessKnown = true;
    m_fullAccess = full;
    m_administrator = administrator;
    if (isBuilt())
        applyAccessLevel();
}

void SystemTab::applyAccessLevel()
{
    // Until a level is given the tab keeps its design: serial number writing and firmware hidden.
    if (!m_accessKnown)
        return;
    m_writeSerial->setVisible(m_fullAccess);
    m_incrementSerial->setVisible(m_fullAccess);
    m_serialNumber->setEnabled(m_fullAccess);
    m_updateFirmware->setVisible(m_administrator);
}
