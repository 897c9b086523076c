#include "ui/DeviceController.h"

#include "link/UnitBackup.h"

#include "ui/MainWindow.h"
#include "ui/ProfileController.h"
#include "ui/ShellController.h"
#include "link/PortResolver.h"

#include "ui/Dialogs.h"
#include "core/ProgramContext.h"
#include "core/Progress.h"
#include "core/Settings.h"
#include "link/ChangedWrite.h"
#include "link/Channel.h"
#include "link/Link.h"
#include "link/Transfer.h"
#include "link/UnitOps.h"
#include "link/Waiter.h"
#include "sim/SimChannel.h"
#include "store/Recordset.h"
#include "ui/ShapeLamp.h"
#include "ui/TransferDialog.h"
#include "ui/PortSettingsDialog.h"

#include <QDateTime>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

// Lamp and panel 3 of the main window as the link's sink.
struct MainLink : LinkSink {
    explicit MainLink(MainWindow* w) : win(w) {}
    void setLamp(int bgr) override { win->setLamp(bgr); }
    void setPanel3(const QString& text) override { win->setPanelText(3, text); }
    Notice::Answer notify(const Notice& n) override { return Dialogs::show(win, n); }
    MainWindow* win;
    Channel* channel = nullptr;
    Waiter* waiter = nullptr;
    std::unique_ptr<Link> link;
};

namespace {
bool IsComPortOpen()
{
    return Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("COM-Anschluss-Aktuell"))
        == QLatin1String("open");
}

QString msg(const ProgramContext& context, const char* key) { return context.msg(QString::fromUtf8(key)); }

void exclaim(MainWindow* window, const QString& key)
{
    Dialogs::show(window, window->context().msg(key), window->context().programName, Dialogs::Icon::Exclamation);
}

// Disables a button for the duration of its command and enables it again on every path.
struct Busy {
    explicit Busy(QWidget* w) : widget(w)
    {
        if (widget)
            widget->setEnabled(false);
    }
    ~Busy()
    {
        if (widget)
            widget->setEnabled(true);
    }
    QWidget* widget;
};
}

DeviceController::DeviceController(MainWindow* window) : m_window(window), m_tab(window->systemTab())
{
    m_ownWaiter = std::make_unique<EventLoopWaiter>();
    m_waiter = m_ownWaiter.get();
    connect(&m_tab, &SystemTab::commandClicked, this, &DeviceController::runCommand);
    connect(window->action(MainWindow::Command::Port), &QAction::triggered, this, [this] { openPortSettings(); });
}

DeviceController::~DeviceController() = default;

DeviceController::CommandScope::CommandScope(DeviceController& device) : m_device(device)
{
    ++m_device.m_runningCommands;
}

DeviceController::CommandScope::~CommandScope()
{
    if (--m_device.m_runningCommands > 0 || !m_device.m_closeRequested)
        return;
    m_device.m_closeRequested = false;
    // The close comes back from the event loop, after the command's frames are gone.
    QTimer::singleShot(0, m_device.m_window, [window = m_device.m_window] {
        window->context().closing = false;
        window->close();
    });
}

void DeviceController::closeAfterCommand()
{
    m_closeRequested = true;
    m_window->context().closing = true;
}

void DeviceController::runCommand(SystemTab::Command command, int index)
{
    CommandScope running(*this);
    using C = SystemTab::Command;
    switch (command) {
    case C::ReadConfiguration: readConfiguration(); break;
    case C::WriteConfiguration: writeConfiguration(); break;
    case C::UpdateFirmware: updateFirmware(); break;
    case C::RefreshStatus: refreshUnitStatus(); break;
    case C::ChooseDisplay: selectLedDisplay(index); break;
    case C::RelayOn: switchRelayOn(index); break;
    case C::RelayOff: switchRelayOff(index); break;
    case C::ReadSerial: readSerialNumber(); break;
    case C::WriteSerial: writeSerialNumber(); break;
    case C::ReadPin: readSimPin(); break;
    case C::ChangePin: changeSimPin(); break;
    case C::ReadValidity: readValidityReminder(); break;
    case C::WriteValidity: writeValidityReminder(); break;
    }
}

bool DeviceController::openPortFromSettings()
{
    bool ok = false;
    const int stored
        = Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("COM-Anschluss"), QString::number(port))
              .toInt(&ok);
    if (ok && stored >= 1 && stored <= 8)
        port = stored;
    portSettings = Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("Einstellungen"), portSettings);
    portDevice = PortResolver::deviceFor(port);
    if (channel)
        channel->close();
    channel = PortResolver::makeChannel(m_window->context(), portDevice);
    QString error;
    if (portDevice.isEmpty())
        error = QStringLiteral("No serial device stands for this port number.");
    else if (!channel->open(portDevice, portSettings))
        error = channel->errorString();
    if (!error.isEmpty()) {
        Dialogs::show(m_window, error + QStringLiteral("\n(COM %1)").arg(port), m_window->context().programName,
                      Dialogs::Icon::Exclamation);
        if (m_window->options().portFailureDialog)
            m_window->options().portFailureDialog();
        else
            openPortSettings();
        if (!channel || !channel->isOpen()) {
            m_window->setLamp(MainWindow::Red);
            m_window->setPanelText(2, QStringLiteral("COM ----"));
            Settings::set(QStringLiteral("Einstellungen"), QStringLiteral("COM-Anschluss-Aktuell"),
                          QStringLiteral("closed"));
            showPortStatus();
        }
        return false;
    }
    Settings::set(QStringLiteral("Einstellungen"), QStringLiteral("COM-Anschluss-Aktuell"), QStringLiteral("open"));
    // The probe waits 300 ms for the unit's answer; at program start it runs right after the
    // window is shown, so the window does not wait for it.
    if (m_window->options().deferStartProbe)
        m_probePending = true;
    else
        probeUnit();
    m_window->setPanelText(2, QStringLiteral("COM %1").arg(port));
    showPortStatus();
    return true;
}

void DeviceController::closePort()
{
    if (channel && channel->isOpen())
        channel->close();
}

void DeviceController::runPendingProbe()
{
    if (!m_probePending)
        return;
    m_probePending = false;
    if (channel && channel->isOpen() && !m_window->context().closing)
        probeUnit();
}

void DeviceController::showPortStatus()
{
    const bool open = channel && channel->isOpen();
    const bool simulated = open && channel->isSimulated();
    m_window->showSimulatedNote(
        simulated,
        m_window->context().msgOr(QStringLiteral("gsStatusSimuliert"),
                                  QStringLiteral("Simuliertes Gerät – kein echtes Gerät angeschlossen")));
    const QString device = open ? portDevice : QString();
    m_window->setPanelToolTip(2,
                              device.isEmpty()
                                  ? QString()
                                  : (simulated ? m_window->context().msgOr(QStringLiteral("gsPortSimuliert"),
                                                                           QStringLiteral("Simuliertes Gerät"))
                                               : device));
}

Link& DeviceController::link()
{
    if (!m_mainLink)
        m_mainLink = std::make_shared<MainLink>(m_window);
    MainLink& m = *m_mainLink;
    if (!m.link || m.channel != channel.get() || m.waiter != waiter()) {
        if (!channel)
            channel = std::make_unique<SimChannel>(); // never without a channel object
        if (channel->isSimulated())
            static_cast<SimChannel*>(channel.get())->setWaiter(waiter());
        m.channel = channel.get();
        m.waiter = waiter();
        m.link = std::make_unique<Link>(m_window->context(), *channel, *waiter(), m);
    }
    return *m.link;
}

void DeviceController::probeUnit()
{
    CommandScope running(*this);
    link().probe();
}

QString DeviceController::unitPassword() const
{
    try {
        Connection con(m_window->context());
        con.open(m_window->context().databasePath, Connection::Read);
        Recordset rs;
        rs.open(con, QStringLiteral("SELECT \"Passwort\" FROM \"Adressen\" ORDER BY rowid LIMIT 1"));
        QString pw;
        if (rs.recordCount() > 0) {
            rs.moveFirst();
            pw = rs.value(0).toString();
        }
        return pw;
    } catch (const StoreError&) {
        return QString();
    }
}

// ---- validity list ----------------------------------------------------------------------

void DeviceController::fillValidityList()
{
    const QString words[4] = {TransferDialog::languageText(m_window->context(), QStringLiteral("SystemNachrichten"),
                                                           QStringLiteral("CboGültigkeit")),
                              TransferDialog::languageText(m_window->context(), QStringLiteral("SystemNachrichten"),
                                                           QStringLiteral("CboGültigkeit_Minuten")),
                              TransferDialog::languageText(m_window->context(), QStringLiteral("SystemNachrichten"),
                                                           QStringLiteral("CboGültigkeit_Tage")),
                              TransferDialog::languageText(m_window->context(), QStringLiteral("SystemNachrichten"),
                                                           QStringLiteral("CboGültigkeit_Wochen"))};
    const QStringList items = UnitOps::validityItems(words[0], words[1], words[2], words[3]);
    LoadingProgress::advance(int(items.size() / 64));
    m_tab.setValidityItems(items, UnitOps::ValidityDefault);
}

// ---- configuration transfer -----------------------------------------------------------

bool DeviceController::checkUnitVersion(bool firmwareLevel)
{
    UnitStatus s;
    const bool ok(UnitOps::checkVersion(
        link(), firmwareLevel ? UnitOps::VersionLevel::Firmware : UnitOps::VersionLevel::Configuration, &s));
    if (s.ok) // the labels show only versions that were read
        showUnitStatus(s);
    return ok;
}

bool DeviceController::readUnitImage(UnitImage& image)
{
    CommandScope running(*this);
    if (!IsComPortOpen())
        return false;
    Link& l = link();
    l.resetForCommand();
    if (!checkUnitVersion(false))
        return false;
    TransferOutcome outcome;
    {
        TransferDialog dlg(m_window->context(), m_window, m_mainLink.get());
        dlg.setCaptionKey(QStringLiteral("frmUpload"));
        dlg.cancelToken = &l.cancelToken();
        dlg.setProgressRange(0, 64);
        dlg.setMessage(msg(m_window->context(), "gsLoadConfiguration"));
        dlg.setJob([&](TransferDialog& d) {
            l.setSink(d);
            outcome = ConfigTransfer(l).read(image);
            l.setSink(*m_mainLink);
        });
        dlg.exec();
    }
    return outcome.ok();
}

void DeviceController::readConfiguration()
{
    CommandScope running(*this);
    UnitImage image;
    // The store is touched only after a complete read.
    if (!readUnitImage(image))
        return;
    const MainWindowOptions& options = m_window->options();
    if (options.storeReadImage) {
        options.storeReadImage(image);
        return;
    }
    ProfileController& profiles = m_window->profiles();
    for (int b = 0; b < 64; ++b)
        for (int r = 0; r < 8; ++r)
            for (int e = 0; e < 21; ++e)
                profiles.configImage.setByte(e, r, b, image.rec[b][r][e]);
    profiles.storeUnitImage(); // decodes into the store, then refreshes the editor
}

void DeviceController::sendToUnit(int index)
{
    CommandScope running(*this);
    if (!IsComPortOpen())
        return;
    Link& l = link();
    l.resetForCommand();
    m_writeArea = quint8(index + 3);
    QStringList firmware;
    QString path;
    if (index == 1) {
        Dialogs::FileRequest r;
        r.title = msg(m_window->context(), "gsMsgLoadHexFile");
        r.folder = m_window->context().firmwareFolder();
        r.fileName = Settings::get(QStringLiteral("Firmware"), QStringLiteral("FileName"));
        r.filter = QStringLiteral("Programfile (*.prg)");
        r.defaultSuffix = QStringLiteral("prg");
        path = Dialogs::askFile(m_window, r);
        if (path.isEmpty()) {
            m_writeArea = 0;
            return; // the dialog was cancelled: nothing to send
        }
        Settings::set(QStringLiteral("Firmware"), QStringLiteral("FileName"), path);
        // The whole file is checked before anything goes to the unit.
        QString error;
        firmware = ConfigTransfer::checkHexFile(m_window->context(), path, &error, false);
        if (firmware.isEmpty()) {
            Dialogs::show(m_window, error, m_window->context().programName, Dialogs::Icon::Critical);
            m_writeArea = 0;
            return;
        }
    } else {
        path = m_window->context().transferFilePath();
        Settings::set(QStringLiteral("Configuration"), QStringLiteral("FileName"), path);
    }
    if (checkUnitVersion(index == 1)) {
        TransferDialog dlg(m_window->context(), m_window, m_mainLink.get());
        dlg.setCaptionKey(QStringLiteral("frmDownload"));
        dlg.cancelToken = &l.cancelToken();
        dlg.setJob([&](TransferDialog& d) {
            l.setSink(d);
            if (index == 1) {
                UnitOps::firmwareUpdate(l, firmware);
            } else {
                d.setCancelVisible(false);
                d.setMessage(msg(m_window->context(), "gsMsgCreateHexFile"));
                bool written = false;
                if (m_window->options().createTransferFile) {
                    written = m_window->options().createTransferFile(path);
                } else {
                    written = m_window->profiles().writeProfileFile(
                        path,
                        [&d](int done, int total) {
                            d.setProgressRange(0, total);
                            d.setProgressValue(done);
                        },
                        [&d] { d.hide(); });
                }
                d.setCancelVisible(true);
                QString error;
                const QStringList lines
                    = written ? ConfigTransfer::checkHexFile(m_window->context(), path, &error, true) : QStringList();
                if (lines.isEmpty()) {
                    if (written)
                        Dialogs::show(&d, error, m_window->context().programName, Dialogs::Icon::Critical);
                } else if (backUpUnit(d)) {
                    d.setMessage(msg(m_window->context(), "gsUpdateConfiguration"));
                    if (sendChangedOnly())
                        ChangedWrite::run(l, m_unitBefore, lines);
                    else
                        ConfigTransfer(l).write(lines, 3);
                }
            }
            l.setSink(*m_mainLink);
        });
        dlg.exec();
    }
    m_writeArea = 0;
}

bool DeviceController::backUpBeforeWrite()
{
    return Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("Sicherung"), QStringLiteral("1"))
        != QLatin1String("0");
}

bool DeviceController::sendChangedOnly()
{
    return Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("NurGeaenderte"), QStringLiteral("0"))
        == QLatin1String("1");
}

bool DeviceController::backUpUnit(TransferDialog& dialog)
{
    m_unitBefore.clear();
    if (!backUpBeforeWrite())
        return true;
    const ProgramContext& st = m_window->context();
    dialog.setMessage(st.msgOr(QStringLiteral("gsSicherungLaeuft"),
                               QStringLiteral("Die Konfiguration des Geräts wird gesichert...")));
    Link& l = link();
    const UnitBackup::Result backup = UnitBackup::readAndStore(l, st.dataRoot, QDateTime::currentDateTime());
    if (backup.ok()) {
        m_lastBackup = backup.path;
        m_unitBefore = QString::fromLatin1(backup.text).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        l.resetForCommand();
        return true;
    }
    // A read the user stopped or that the link has reported needs no second box; a backup
    // that could not be written does.
    if (backup.outcome.kind != UnitOutcome::Cancelled) {
        const QString why = backup.fileError.isEmpty() ? backup.outcome.detail : backup.fileError;
        Dialogs::show(&dialog,
                      st.msgOr(QStringLiteral("gsSicherungFehlgeschlagen"),
                               QStringLiteral("Die Konfiguration des Geräts konnte nicht gesichert werden; es wurde "
                                              "nichts gesendet."))
                          + (why.isEmpty() ? QString() : QLatin1Char('\n') + why),
                      st.programName, Dialogs::Icon::Critical);
    }
    return false;
}

// ---- live status and relays -------------------------------------------------------------

void DeviceController::showUnitStatus(const UnitStatus& s)
{
    const int bits = m_ledDisplay == 1 ? s.inputs : s.relays;
    if (m_ledDisplay != 2)
        for (int i = 0; i < 8; ++i)
            m_tab.lamp(i)->setFillColor((bits >> i) & 1 ? ShapeLamp::Green : ShapeLamp::White);
    m_tab.setVersionTexts(msg(m_window->context(), "gsHWVersion") + QStringLiteral(": ") + UnitOps::versionText(s.hw),
                          msg(m_window->context(), "gsSWVersion") + QStringLiteral(": ") + UnitOps::versionText(s.fw));
}

void DeviceController::selectLedDisplay(int index)
{
    if (!IsComPortOpen())
        return;
    QAbstractButton* refresh = m_tab.commandButton(SystemTab::Command::RefreshStatus);
    if (index == 2) {
        refresh->setEnabled(false);
        m_ledDisplay = 2;
        for (int i = 0; i < 8; ++i)
            m_tab.lamp(i)->setFillColor(ShapeLamp::White);
        m_window->shell().startDemoDisplay();
        return;
    }
    Link& l = link();
    l.resetForCommand();
    m_window->shell().stopDemoDisplay();
    refresh->setEnabled(true);
    m_ledDisplay = quint8(index);
    l.handshake();
    if (!l.unitSilent() && !l.stopFlags())
        showUnitStatus(UnitOps::queryStatus(l));
    l.showPortLost();
}

void DeviceController::refreshUnitStatus()
{
    if (!IsComPortOpen())
        return;
    Link& l = link();
    l.resetForCommand();
    l.handshake();
    if (!l.unitSilent() && !l.stopFlags())
        showUnitStatus(UnitOps::queryStatus(l));
    l.showPortLost();
}

void DeviceController::switchRelay(int relay, bool on)
{
    if (!IsComPortOpen())
        return;
    Link& l = link();
    l.resetForCommand();
    m_tab.setRelayButtonsEnabled(false);
    // The relay display, with its handshake and query.
    m_tab.setDisplayChoice(0);
    m_ledDisplay = 0;
    const UnitStatus s = UnitOps::switchRelay(l, relay + 1, on, unitPassword());
    if (s.ok)
        showUnitStatus(s);
    m_tab.setRelayButtonsEnabled(true);
}

// ---- unit parameters --------------------------------------------------------------------

void DeviceController::readSerialNumber()
{
    if (!IsComPortOpen())
        return;
    Busy busy(m_tab.commandButton(SystemTab::Command::ReadSerial));
    link().resetForCommand();
    m_tab.serialNumberBox()->clear();
    const QByteArray r = UnitOps::readParameter(link(), 0x00).reply;
    m_tab.serialNumberBox()->setText(UnitOps::serialFrom(r));
}

void DeviceController::writeSerialNumber()
{
    if (!IsComPortOpen())
        return;
    Busy busy(m_tab.commandButton(SystemTab::Command::WriteSerial));
    const QString key = UnitOps::checkSerial(m_tab.serialNumberBox()->text());
    if (!key.isEmpty()) {
        exclaim(m_window, key);
        m_tab.serialNumberBox()->setFocus();
        return;
    }
    Link& l = link();
    l.resetForCommand();
    l.handshake();
    if (l.unitSilent() || l.stopFlags()) {
        l.showPortLost();
        return;
    }
    // Counted up only when the unit acknowledged the write.
    if (UnitOps::writeSerial(l, m_tab.serialNumberBox()->text()) && m_tab.incrementSerialNumber())
        m_tab.serialNumberBox()->setText(UnitOps::nextSerial(m_tab.serialNumberBox()->text()));
}

void DeviceController::readSimPin()
{
    if (!IsComPortOpen())
        return;
    Busy busy(m_tab.commandButton(SystemTab::Command::ReadPin));
    link().resetForCommand();
    m_tab.oldPinBox()->clear();
    m_tab.newPinBox()->clear();
    const QByteArray r = UnitOps::readParameter(link(), 0x10).reply;
    m_tab.oldPinBox()->setText(UnitOps::pinFrom(r, 0));
    m_tab.newPinBox()->setText(UnitOps::pinFrom(r, 1));
}

void DeviceController::changeSimPin()
{
    if (!IsComPortOpen())
        return;
    Link& l = link();
    l.resetForCommand();
    Busy busy(m_tab.commandButton(SystemTab::Command::ChangePin));
    l.handshake();
    if (l.unitSilent() || l.stopFlags()) {
        l.showPortLost();
        return;
    }
    QString key = UnitOps::checkPinNew(m_tab.newPinBox()->text());
    if (!key.isEmpty()) {
        exclaim(m_window, key);
        m_tab.newPinBox()->setFocus();
        return;
    }
    if (m_tab.pinIsDefault()) {
        UnitOps::writePinDirect(l, m_tab.newPinBox()->text());
        return;
    }
    key = UnitOps::checkPinOld(m_tab.oldPinBox()->text());
    if (!key.isEmpty()) {
        exclaim(m_window, key);
        m_tab.oldPinBox()->setFocus();
        return;
    }
    UnitOps::changePin(l, unitPassword(), m_tab.oldPinBox()->text(), m_tab.newPinBox()->text());
}

void DeviceController::readValidityReminder()
{
    if (!IsComPortOpen())
        return;
    Busy busy(m_tab.commandButton(SystemTab::Command::ReadValidity));
    link().resetForCommand();
    const QByteArray r = UnitOps::readParameter(link(), 0x20).reply;
    m_tab.setValidityIndex(UnitOps::validityFrom(r));
}

void DeviceController::writeValidityReminder()
{
    if (!IsComPortOpen())
        return;
    Busy busy(m_tab.commandButton(SystemTab::Command::WriteValidity));
    Link& l = link();
    l.resetForCommand();
    l.handshake();
    if (l.unitSilent() || l.stopFlags()) {
        l.showPortLost();
        return;
    }
    if (!UnitOps::writeValidity(l, qMax(0, m_tab.validityIndex()), unitPassword()))
        return;
    {
        TransferDialog dlg(m_window->context(), m_window, m_mainLink.get());
        dlg.setCaptionKey(QStringLiteral("gbWaitSystemRestart"));
        dlg.setCancelVisible(false);
        dlg.setJob([&](TransferDialog& d) {
            l.setSink(d);
            ConfigTransfer(l).waitForRestart();
            l.setSink(*m_mainLink);
        });
        dlg.exec();
    }
}

// ---- port settings ------------------------------------------------------------------------

void DeviceController::openPortSettings()
{
    PortSettingsDialog dlg(m_window);
    dlg.exec();
}
