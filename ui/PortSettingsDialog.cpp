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
QString text(const QString& key, const QString& fallback)
{
    const QString t = TransferDialog::languageText(QStringLiteral("Beschriftung"), key);
    return t == key ? fallback : t;
}
QString tip(const QString& key)
{
    const QString t = TransferDialog::languageText(QStringLiteral("ToolTipText"), key);
    return t == key ? QString() : t;
}
const int Bauds[] = {1200, 2400, 9600, 19200, 38400};
}

PortSettingsDialog::PortSettingsDialog(MainWindow* main) : QDialog(main), m_main(main)
{
    setObjectName(QStringLiteral("frmPortSettings"));
    setWindowTitle(text(QStringLiteral("frmPortSettings"), QStringLiteral("Schnittstelle")));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto combo = [this](const char* name, const QStringList& items) {
        auto* c = new QComboBox(this);
        c->setObjectName(QString::fromUtf8(name));
        c->addItems(items);
        c->setToolTip(tip(QString::fromUtf8(name)));
        return c;
    };
    cboPort = combo("cboPort", {"COM 1", "COM 2", "COM 3", "COM 4", "COM 5", "COM 6", "COM 7", "COM 8"});
    cboBaudrate = combo("cboBaudrate", {"1200", "2400", "9600", "19200", "38400"});
    cboDatenbreite = combo("cboDatenbreite", {"8", "7"});
    cboParitaet = combo("cboParität", {"None", "even", "odd"});
    cboStopbit = combo("cboStopbit", {"1", "2"});
    cboDevice = combo("cboDevice", {});
    cboDevice->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    auto value = [this](const char* name) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromUtf8(name));
        l->setFrameShape(QFrame::StyledPanel);
        l->setMinimumWidth(80);
        return l;
    };
    lblPort = value("lblPort");
    lblBaudrate = value("lblBaudrate");
    lblDaten = value("lblDaten");
    lblParitaet = value("lblParität");
    lblStopbit = value("lblStopbit");
    lblDevice = new QLabel(this);
    lblDevice->setObjectName(QStringLiteral("lblDevice"));
    lblDevice->setWordWrap(true);

    auto* grid = new QFormLayout;
    auto row = [&](const char* key, const QString& fallback, QComboBox* c, QLabel* current) {
        auto* h = new QHBoxLayout;
        h->addWidget(c, 1);
        h->addWidget(current);
        auto* caption = new QLabel(text(QString::fromUtf8(key), fallback), this);
        caption->setObjectName(QString::fromUtf8(key));
        caption->setBuddy(c);
        grid->addRow(caption, h);
    };
    row("lblPortCbo", QStringLiteral("&Schnittstelle"), cboPort, lblPort);
    row("lblBaudrateCbo", QStringLiteral("&Baudrate"), cboBaudrate, lblBaudrate);
    row("lblDatenCbo", QStringLiteral("&Datenbits"), cboDatenbreite, lblDaten);
    row("lblParitätCbo", QStringLiteral("&Parität"), cboParitaet, lblParitaet);
    row("lblStopbitCbo", QStringLiteral("S&toppbits"), cboStopbit, lblStopbit);

    auto* deviceBox = new QGroupBox(
        gState().msgOr(QStringLiteral("gsPortAnschluss"), QStringLiteral("Anschluss für diese Schnittstellennummer")),
        this);
    auto* dl = new QVBoxLayout(deviceBox);
    dl->addWidget(cboDevice);
    dl->addWidget(lblDevice);

    cmdUebernehmen = new QPushButton(text(QStringLiteral("cmdUebernehmen"), QStringLiteral("&Übernehmen")), this);
    cmdUebernehmen->setObjectName(QStringLiteral("cmdUebernehmen"));
    cmdUebernehmen->setToolTip(tip(QStringLiteral("cmdUebernehmen")));
    cmdUebernehmen->setDefault(true);
    cmdAbbrechen = new QPushButton(text(QStringLiteral("cmdAbbrechen"), QStringLiteral("&Abbrechen")), this);
    cmdAbbrechen->setObjectName(QStringLiteral("cmdAbbrechen"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdUebernehmen);
    buttons->addWidget(cmdAbbrechen);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addWidget(deviceBox);
    outer->addLayout(buttons);

    // The stored values (defaults: the port in use).
    bool ok = false;
    const int stored = Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("COM-Anschluss"),
                                     QString::number(main->device().port))
                           .toInt(&ok);
    mPort = ok && stored >= 1 && stored <= 8 ? stored : 1;
    const QStringList f
        = Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("Einstellungen"), main->device().portSettings)
              .split(QLatin1Char(','));
    mBaud = f.value(0).toInt();
    mParity = f.value(1, QStringLiteral("N")).trimmed().toUpper();
    mData = f.value(2, QStringLiteral("8")).toInt();
    mStop = f.value(3, QStringLiteral("1")).toInt();
    lblBaudrate->setText(QString::number(mBaud));
    lblParitaet->setText(mParity);
    lblDaten->setText(QString::number(mData));
    lblStopbit->setText(QString::number(mStop));
    const bool open = main->device().channel && main->device().channel->isOpen();
    lblPort->setText(open ? QStringLiteral("COM %1").arg(main->device().port)
                          : gState().msgOr(QStringLiteral("gsPortGeschlossen"), QStringLiteral("geschlossen")));
    cboPort->setCurrentIndex(mPort - 1);
    cboBaudrate->setCurrentText(QString::number(mBaud));
    cboDatenbreite->setCurrentText(QString::number(mData));
    cboParitaet->setCurrentIndex(mParity == QLatin1String("E") ? 1 : mParity == QLatin1String("O") ? 2 : 0);
    cboStopbit->setCurrentText(QString::number(mStop));

    connect(cboPort, &QComboBox::activated, this, [this](int i) {
        mPort = i + 1;
        fillDevices();
    });
    connect(cboPort, &QComboBox::currentIndexChanged, this, [this](int i) {
        mPort = i + 1;
        fillDevices();
    });
    connect(cboBaudrate, &QComboBox::currentIndexChanged, this, [this](int i) { mBaud = Bauds[qBound(0, i, 4)]; });
    connect(cboDatenbreite, &QComboBox::currentIndexChanged, this, [this](int i) { mData = i == 1 ? 7 : 8; });
    connect(cboParitaet, &QComboBox::currentIndexChanged, this, [this](int i) {
        mParity = i == 1 ? QStringLiteral("E") : i == 2 ? QStringLiteral("O") : QStringLiteral("N");
    });
    connect(cboStopbit, &QComboBox::currentIndexChanged, this, [this](int i) { mStop = i == 1 ? 2 : 1; });
    connect(cboDevice, &QComboBox::currentIndexChanged, this, [this] { showDevice(); });
    connect(cmdUebernehmen, &QPushButton::clicked, this, [this] { cmdUebernehmen_Click(); });
    connect(cmdAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    fillDevices();
}

void PortSettingsDialog::fillDevices()
{
    const QSignalBlocker block(cboDevice);
    cboDevice->clear();
    // Automatic: what the number stands for without an assignment.
    const QString assigned = Settings::get(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(mPort));
    PortResolver::assign(mPort, QString());
    const QString automatic = PortResolver::deviceFor(mPort);
    if (!assigned.isEmpty())
        PortResolver::assign(mPort, assigned);
    const QString autoText = automatic == PortResolver::SimulatedDevice
        ? gState().msgOr(QStringLiteral("gsPortSimuliert"), QStringLiteral("Simuliertes Gerät"))
        : automatic.isEmpty() ? gState().msgOr(QStringLiteral("gsPortKeines"), QStringLiteral("keiner"))
                              : automatic;
    cboDevice->addItem(
        gState().msgOr(QStringLiteral("gsPortAutomatisch"), QStringLiteral("Automatisch (%1)")).arg(autoText),
        QString());
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        QString label = info.systemLocation();
        if (!info.description().isEmpty())
            label += QStringLiteral(" – ") + info.description();
        cboDevice->addItem(label, info.systemLocation());
    }
    cboDevice->addItem(gState().msgOr(QStringLiteral("gsPortSimuliertOhneHardware"),
                                      QStringLiteral("Simuliertes Gerät (ohne Hardware)")),
                       PortResolver::SimulatedDevice);
    if (!assigned.isEmpty()) {
        int i = cboDevice->findData(assigned);
        if (i < 0) {
            cboDevice->addItem(assigned, assigned); // assigned earlier, not listed now
            i = cboDevice->count() - 1;
        }
        cboDevice->setCurrentIndex(i);
    }
    showDevice();
}

void PortSettingsDialog::showDevice()
{
    QString device = cboDevice->currentData().toString();
    if (device.isEmpty()) {
        const QString assigned = Settings::get(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(mPort));
        PortResolver::assign(mPort, QString());
        device = PortResolver::deviceFor(mPort);
        if (!assigned.isEmpty())
            PortResolver::assign(mPort, assigned);
    }
    lblDevice->setText(
        gState()
            .msgOr(QStringLiteral("gsPortStehtFuer"), QStringLiteral("COM %1 steht für: %2"))
            .arg(mPort)
            .arg(device == PortResolver::SimulatedDevice ? gState().msgOr(
                     QStringLiteral("gsPortEingebautesGeraet"), QStringLiteral("das eingebaute simulierte Gerät"))
                     : device.isEmpty()
                     ? gState().msgOr(QStringLiteral("gsPortKeinAnschluss"), QStringLiteral("kein Anschluss"))
                     : device));
}

bool PortSettingsDialog::cmdUebernehmen_Click()
{
    PortResolver::assign(mPort, cboDevice->currentData().toString());
    const QString settings
        = PortSettings::settingsText(cboBaudrate->currentText().toInt(), mParity, cboDatenbreite->currentText().toInt(),
                                     cboStopbit->currentText().toInt());
    const PortSettings::Result r = PortSettings::apply(*m_main, mPort, settings);
    if (!r.ok) {
        if (r.selectPort != mPort) {
            mPort = r.selectPort;
            cboPort->setCurrentIndex(mPort - 1);
        }
        return false;
    }
    lblPort->setText(QStringLiteral("COM %1").arg(mPort));
    lblBaudrate->setText(cboBaudrate->currentText());
    lblDaten->setText(cboDatenbreite->currentText());
    lblParitaet->setText(mParity);
    lblStopbit->setText(cboStopbit->currentText());
    accept();
    return true;
}
