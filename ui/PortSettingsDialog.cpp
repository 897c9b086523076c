#include "ui/PortSettingsDialog.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "link/Channel.h"
#include "link/PortResolver.h"
#include "ui/PortSettings.h"
#include "ui/TransferDialog.h"
#include "ui/DeviceController.h"
#include "ui/MainWindow.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

namespace {
QString text(const ProgramContext& context, const QString& key, const QString& fallback)
{
    const QString t = TransferDialog::languageText(context, QStringLiteral("Beschriftung"), key);
    return t == key ? fallback : t;
}
QString tip(const ProgramContext& context, const QString& key)
{
    const QString t = TransferDialog::languageText(context, QStringLiteral("ToolTipText"), key);
    return t == key ? QString() : t;
}
const int Bauds[] = {1200, 2400, 9600, 19200, 38400};
}

PortSettingsDialog::PortSettingsDialog(MainWindow* main) : QDialog(main), m_main(main)
{
    setObjectName(QStringLiteral("frmPortSettings"));
    setWindowTitle(text(m_main->context(), QStringLiteral("frmPortSettings"), QStringLiteral("Schnittstelle")));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto combo = [this](const char* name, const QStringList& items) {
        auto* c = new QComboBox(this);
        c->setObjectName(QString::fromUtf8(name));
        c->addItems(items);
        c->setToolTip(tip(m_main->context(), QString::fromUtf8(name)));
        return c;
    };
    portBox = combo("cboPort", {"COM 1", "COM 2", "COM 3", "COM 4", "COM 5", "COM 6", "COM 7", "COM 8"});
    baudRateBox = combo("cboBaudrate", {"1200", "2400", "9600", "19200", "38400"});
    dataBitsBox = combo("cboDatenbreite", {"8", "7"});
    parityBox = combo("cboParität", {"None", "even", "odd"});
    stopBitsBox = combo("cboStopbit", {"1", "2"});
    deviceBox = combo("cboDevice", {});
    deviceBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    auto value = [this](const char* name) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromUtf8(name));
        l->setFrameShape(QFrame::StyledPanel);
        l->setMinimumWidth(80);
        return l;
    };
    portValue = value("lblPort");
    baudRateValue = value("lblBaudrate");
    dataBitsValue = value("lblDaten");
    parityValue = value("lblParität");
    stopBitsValue = value("lblStopbit");
    deviceValue = new QLabel(this);
    deviceValue->setObjectName(QStringLiteral("lblDevice"));
    deviceValue->setWordWrap(true);

    auto* grid = new QFormLayout;
    auto row = [&](const char* key, const QString& fallback, QComboBox* c, QLabel* current) {
        auto* h = new QHBoxLayout;
        h->addWidget(c, 1);
        h->addWidget(current);
        auto* caption = new QLabel(text(m_main->context(), QString::fromUtf8(key), fallback), this);
        caption->setObjectName(QString::fromUtf8(key));
        caption->setBuddy(c);
        grid->addRow(caption, h);
    };
    row("lblPortCbo", QStringLiteral("&Schnittstelle"), portBox, portValue);
    row("lblBaudrateCbo", QStringLiteral("&Baudrate"), baudRateBox, baudRateValue);
    row("lblDatenCbo", QStringLiteral("&Datenbits"), dataBitsBox, dataBitsValue);
    row("lblParitätCbo", QStringLiteral("&Parität"), parityBox, parityValue);
    row("lblStopbitCbo", QStringLiteral("S&toppbits"), stopBitsBox, stopBitsValue);

    auto* deviceGroup
        = new QGroupBox(m_main->context().msgOr(QStringLiteral("gsPortAnschluss"),
                                                QStringLiteral("Anschluss für diese Schnittstellennummer")),
                        this);
    auto* dl = new QVBoxLayout(deviceGroup);
    dl->addWidget(deviceBox);
    dl->addWidget(deviceValue);

    applyButton = new QPushButton(
        text(m_main->context(), QStringLiteral("cmdUebernehmen"), QStringLiteral("&Übernehmen")), this);
    applyButton->setObjectName(QStringLiteral("cmdUebernehmen"));
    applyButton->setToolTip(tip(m_main->context(), QStringLiteral("cmdUebernehmen")));
    applyButton->setDefault(true);
    cancelButton
        = new QPushButton(text(m_main->context(), QStringLiteral("cmdAbbrechen"), QStringLiteral("&Abbrechen")), this);
    cancelButton->setObjectName(QStringLiteral("cmdAbbrechen"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(applyButton);
    buttons->addWidget(cancelButton);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addWidget(deviceGroup);
    outer->addLayout(buttons);

    // The stored values (defaults: the port in use).
    bool ok = false;
    const int stored = Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("COM-Anschluss"),
                                     QString::number(main->device().port))
                           .toInt(&ok);
    portNumber = ok && stored >= 1 && stored <= 8 ? stored : 1;
    const QStringList f
        = Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("Einstellungen"), main->device().portSettings)
              .split(QLatin1Char(','));
    baudRate = f.value(0).toInt();
    mParity = f.value(1, QStringLiteral("N")).trimmed().toUpper();
    mData = f.value(2, QStringLiteral("8")).toInt();
    mStop = f.value(3, QStringLiteral("1")).toInt();
    baudRateValue->setText(QString::number(baudRate));
    parityValue->setText(mParity);
    dataBitsValue->setText(QString::number(mData));
    stopBitsValue->setText(QString::number(mStop));
    const bool open = main->device().channel && main->device().channel->isOpen();
    portValue->setText(
        open ? QStringLiteral("COM %1").arg(main->device().port)
             : m_main->context().msgOr(QStringLiteral("gsPortGeschlossen"), QStringLiteral("geschlossen")));
    portBox->setCurrentIndex(portNumber - 1);
    baudRateBox->setCurrentText(QString::number(baudRate));
    dataBitsBox->setCurrentText(QString::number(mData));
    parityBox->setCurrentIndex(mParity == QLatin1String("E") ? 1 : mParity == QLatin1String("O") ? 2 : 0);
    stopBitsBox->setCurrentText(QString::number(mStop));

    connect(portBox, &QComboBox::activated, this, [this](int i) {
        portNumber = i + 1;
        fillDevices();
    });
    connect(portBox, &QComboBox::currentIndexChanged, this, [this](int i) {
        portNumber = i + 1;
        fillDevices();
    });
    connect(baudRateBox, &QComboBox::currentIndexChanged, this, [this](int i) { baudRate = Bauds[qBound(0, i, 4)]; });
    connect(dataBitsBox, &QComboBox::currentIndexChanged, this, [this](int i) { mData = i == 1 ? 7 : 8; });
    connect(parityBox, &QComboBox::currentIndexChanged, this, [this](int i) {
        mParity = i == 1 ? QStringLiteral("E") : i == 2 ? QStringLiteral("O") : QStringLiteral("N");
    });
    connect(stopBitsBox, &QComboBox::currentIndexChanged, this, [this](int i) { mStop = i == 1 ? 2 : 1; });
    connect(deviceBox, &QComboBox::currentIndexChanged, this, [this] { showDevice(); });
    connect(applyButton, &QPushButton::clicked, this, [this] { apply(); });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    fillDevices();
}

void PortSettingsDialog::fillDevices()
{
    const QSignalBlocker block(deviceBox);
    deviceBox->clear();
    // Automatic: what the number stands for without an assignment.
    const QString assigned = Settings::get(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(portNumber));
    PortResolver::assign(portNumber, QString());
    const QString automatic = PortResolver::deviceFor(portNumber);
    if (!assigned.isEmpty())
        PortResolver::assign(portNumber, assigned);
    const QString autoText = automatic == PortResolver::SimulatedDevice
        ? m_main->context().msgOr(QStringLiteral("gsPortSimuliert"), QStringLiteral("Simuliertes Gerät"))
        : automatic.isEmpty() ? m_main->context().msgOr(QStringLiteral("gsPortKeines"), QStringLiteral("keiner"))
                              : automatic;
    deviceBox->addItem(
        m_main->context().msgOr(QStringLiteral("gsPortAutomatisch"), QStringLiteral("Automatisch (%1)")).arg(autoText),
        QString());
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        QString label = info.systemLocation();
        if (!info.description().isEmpty())
            label += QStringLiteral(" – ") + info.description();
        deviceBox->addItem(label, info.systemLocation());
    }
    deviceBox->addItem(m_main->context().msgOr(QStringLiteral("gsPortSimuliertOhneHardware"),
                                               QStringLiteral("Simuliertes Gerät (ohne Hardware)")),
                       PortResolver::SimulatedDevice);
    if (!assigned.isEmpty()) {
        int i = deviceBox->findData(assigned);
        if (i < 0) {
            deviceBox->addItem(assigned, assigned); // assigned earlier, not listed now
            i = deviceBox->count() - 1;
        }
        deviceBox->setCurrentIndex(i);
    }
    showDevice();
}

void PortSettingsDialog::showDevice()
{
    QString device = deviceBox->currentData().toString();
    if (device.isEmpty()) {
        const QString assigned = Settings::get(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(portNumber));
        PortResolver::assign(portNumber, QString());
        device = PortResolver::deviceFor(portNumber);
        if (!assigned.isEmpty())
            PortResolver::assign(portNumber, assigned);
    }
    deviceValue->setText(
        m_main->context()
            .msgOr(QStringLiteral("gsPortStehtFuer"), QStringLiteral("COM %1 steht für: %2"))
            .arg(portNumber)
            .arg(device == PortResolver::SimulatedDevice ? m_main->context().msgOr(
                     QStringLiteral("gsPortEingebautesGeraet"), QStringLiteral("das eingebaute simulierte Gerät"))
                     : device.isEmpty()
                     ? m_main->context().msgOr(QStringLiteral("gsPortKeinAnschluss"), QStringLiteral("kein Anschluss"))
                     : device));
}

bool PortSettingsDialog::apply()
{
    PortResolver::assign(portNumber, deviceBox->currentData().toString());
    const QString settings
        = PortSettings::settingsText(baudRateBox->currentText().toInt(), mParity, dataBitsBox->currentText().toInt(),
                                     stopBitsBox->currentText().toInt());
    const PortSettings::Result r = PortSettings::apply(*m_main, portNumber, settings);
    if (!r.ok) {
        if (r.selectPort != portNumber) {
            portNumber = r.selectPort;
            portBox->setCurrentIndex(portNumber - 1);
        }
        return false;
    }
    portValue->setText(QStringLiteral("COM %1").arg(portNumber));
    baudRateValue->setText(baudRateBox->currentText());
    dataBitsValue->setText(dataBitsBox->currentText());
    parityValue->setText(mParity);
    stopBitsValue->setText(stopBitsBox->currentText());
    accept();
    return true;
}
