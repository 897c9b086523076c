#include "ui/DeviceController.h"

#include "link/UnitBackup.h"

#include "ui/MainWindow.h"
#include "ui/ProfileController.h"
#include "ui/ShellController.h"
#include "link/PortResolver.h"
#include "unit/UnitConnection.h"

#include "ui/Dialogs.h"
#include "ui/EditorBinding.h"
#include "core/ProgramContext.h"
#include "core/Progress.h"
#include "core/Settings.h"
#include "link/ChangedWrite.h"
#include "link/Channel.h"
#include "link/Link.h"
#include "link/Transfer.h"
#include "link/UnitOps.h"
#include "link/Waiter.h"
#include "image/HexWriter.h"
#include "image/Image.h"
#include "sim/SimChannel.h"
#include "store/LanguageTables.h"
#include "store/Recordset.h"
#include "ui/ShapeLamp.h"
#include "ui/TransferDialog.h"
#include "ui/WindowTexts.h"
#include "ui/PortSettingsDialog.h"

#include <QDateTime>
#include <QDir>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

// Lamp and panel 3 of the main window as the link's sink; panel 3 says in words what the
// unit is being asked to do, the protocol line stays in its tool tip.
struct MainLink : LinkSink {
    explicit MainLink(MainWindow* w) : win(w) {}
    void setLamp(int bgr) override { win->setLamp(bgr); }
    void setPanel3(const QString& text) override
    {
        win->setPanelText(3, DeviceController::panelWords(win->context(), text));
        win->setPanelToolTip(3, text.trimmed());
    }
    Notice::Answer notify(const Notice& n) override { return Dialogs::show(win, n); }
    MainWindow* win;
};

namespace {
bool IsComPortOpen()
{
    return Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("COM-Anschluss-Aktuell"))
        == QLatin1String("open");
}

QString msg(const ProgramContext& context, const char* key) { return context.msg(QString::fromUtf8(key)); }

QString programTitle(const ProgramContext& context)
{
    return context.programName.isEmpty() ? QStringLiteral("SMS Switch Vantor") : context.programName;
}

void exclaim(MainWindow* window, const QString& key)
{
    Dialogs::show(window, window->context().msg(key), window->context().programName, Dialogs::Icon::Exclamation);
}

}

DeviceController::DeviceController(MainWindow* window)
    : m_mainLink(std::make_shared<MainLink>(window)),
      m_connection(std::make_unique<UnitConnection>(window->context(), nullptr, m_mainLink.get())),
      channel(m_connection->channel()), m_window(window), m_tab(window->systemTab())
{
    connect(&m_tab, &SystemTab::commandClicked, this, &DeviceController::runCommand);
    connect(window->action(MainWindow::Command::Port), &QAction::triggered, this, [this] { openPortSettings(); });
}

DeviceController::~DeviceController() = default;

DeviceController::CommandScope::CommandScope(DeviceController& device)
    : m_device(device), m_command(*device.m_connection)
{
    if (!m_command) {
        m_device.refusedWhileRunning();
        return;
    }
    m_device.m_tab.setCommandBusy(true);
}

DeviceController::CommandScope::~CommandScope()
{
    if (!m_command)
        return;
    m_device.m_tab.setCommandBusy(false);
    if (!m_device.m_closeRequested)
        return;
    m_device.m_closeRequested = false;
    // The close comes back from the event loop, after the command's frames are gone.
    QTimer::singleShot(0, m_device.m_window, [window = m_device.m_window] {
        window->context().closing = false;
        window->close();
    });
}

bool DeviceController::commandRunning() const { return m_connection->commandRunning(); }

bool DeviceController::refusedWhileRunning()
{
    if (!commandRunning())
        return false;
    showOutcome(m_connection->refusedWhileRunning());
    return true;
}

void DeviceController::closeAfterCommand()
{
    m_closeRequested = true;
    m_window->context().closing = true;
}

void DeviceController::runCommand(SystemTab::Command command, int index)
{
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
    port = PortResolver::storedNumber(port);
    portSettings = Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("Einstellungen"), portSettings);
    UnitOutcome opened = m_connection->open(QString(), port, portSettings);
    // At start the window's texts are not loaded yet: the message, its title and the port
    // dialog that follows are in the program's language all the same.
    if (!opened && m_window->context().messages.isEmpty()) {
        m_window->texts().loadSystemMessages();
        opened = m_connection->open(QString(), port, portSettings);
    }
    portDevice = m_connection->device();
    if (!opened) {
        Dialogs::show(m_window, opened.detail + QStringLiteral("\n(COM %1)").arg(port),
                      programTitle(m_window->context()), Dialogs::Icon::Exclamation);
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

Link& DeviceController::link() { return m_connection->link(); }

Waiter* DeviceController::waiter() const { return &m_connection->waiter(); }

void DeviceController::setWaiter(Waiter* waiter) { m_connection->setWaiter(waiter); }

UnitConnection::Call DeviceController::call(const CommandScope& running, TransferDialog* progress)
{
    UnitConnection::Call c;
    c.within = &running.command();
    c.progress = progress;
    QWidget* parent = progress ? static_cast<QWidget*>(progress) : m_window;
    c.ask = [parent](const Notice& question) {
        const Notice::Answer a = Dialogs::show(parent, question);
        return a == Notice::Yes || a == Notice::Ok;
    };
    return c;
}

void DeviceController::showOutcome(const UnitOutcome& outcome, const QString& doneText)
{
    const ProgramContext& st = m_window->context();
    if (outcome.ok()) {
        const QString text = !doneText.isEmpty() ? doneText
            : outcome.messageKey.isEmpty()       ? QString()
                                                 : st.msg(outcome.messageKey);
        if (!text.isEmpty())
            Dialogs::show(m_window, text, programTitle(st), Dialogs::Icon::Information);
        return;
    }
    const bool warning = outcome.kind == UnitOutcome::Cancelled || outcome.kind == UnitOutcome::Refused;
    Dialogs::show(m_window, outcomeText(st, outcome), programTitle(st),
                  warning ? Dialogs::Icon::Exclamation : Dialogs::Icon::Critical);
}

QString DeviceController::outcomeText(const ProgramContext& context, const UnitOutcome& outcome)
{
    // The command line's words after its "smsv48ctl: ", as a sentence of its own.
    QString text = outcome.detail.isEmpty() ? context.msg(outcome.messageKey) : outcome.detail.trimmed();
    if (!text.isEmpty()) {
        text[0] = text[0].toUpper();
        if (!QStringLiteral(".!?:").contains(text.back()))
            text += QLatin1Char('.');
    }
    // A silent unit: what to look at before trying again.
    if (outcome.kind == UnitOutcome::NoAnswer)
        text += QStringLiteral("\n") + context.msg(QStringLiteral("gsMsgKeineAntwortHilfe"));
    return text;
}

void DeviceController::showOutcome(const TransferOutcome& outcome, const QString& doneText)
{
    showOutcome(UnitOutcome::fromTransfer(outcome), doneText);
}

void DeviceController::probeUnit()
{
    CommandScope running(*this);
    if (running)
        link().probe();
}

QString DeviceController::panelWords(const ProgramContext& context, const QString& line)
{
    const QString t = line.trimmed();
    auto words = [&](const char* key) { return context.msg(QString::fromUtf8(key)); };
    if (t.isEmpty())
        return words("gsPanelVerbinden");
    if (t.startsWith(QLatin1String(":HR3:0080:")))
        return words("gsPanelLesen").arg(t.mid(10).toInt(nullptr, 16) / 128 + 1);
    if (t.startsWith(QLatin1String(":HR1")))
        return words("gsPanelStatus");
    if (t.startsWith(QLatin1String(":HR2")))
        return words("gsPanelParameterLesen");
    if (t.startsWith(QLatin1String(":RS")) || t.startsWith(QLatin1String(":RC")))
        return words(t[2] == QLatin1Char('S') ? "gsPanelRelaisEin" : "gsPanelRelaisAus")
            .arg(t.mid(3, t.indexOf(QLatin1Char(' ')) - 3));
    if (t.startsWith(QLatin1String(":PIN")))
        return words("gsPanelPIN");
    if (t.startsWith(QLatin1String(":SMR")))
        return words("gsPanelNeustart");
    if (t == QLatin1String(":00000001FF"))
        return words("gsPanelSchreibenEnde");
    if (t.startsWith(QLatin1Char(':')))
        return words("gsPanelSchreiben");
    return t;
}

bool DeviceController::passwordForCommand(QString* password)
{
    *password = unitPassword();
    if (!UnitOps::passwordMissing(*password))
        return true;
    // An empty phone book: asked for, never sent as NUL bytes.
    const ProgramContext& st = m_window->context();
    return Dialogs::askSecret(m_window, st.msg(QStringLiteral("gsFrageGeraetPasswort")), programTitle(st), password)
        && !UnitOps::passwordMissing(*password);
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
    // The four words of the list, read through one connection; a word not found stands as its key.
    const QString keys[4] = {QStringLiteral("CboGültigkeit"), QStringLiteral("CboGültigkeit_Minuten"),
                             QStringLiteral("CboGültigkeit_Tage"), QStringLiteral("CboGültigkeit_Wochen")};
    QHash<QString, QString> found;
    try {
        found = LanguageTable::texts(m_window->context(), QStringLiteral("SystemNachrichten"),
                                     {keys[0], keys[1], keys[2], keys[3]});
    } catch (const StoreError&) {
        // the keys stand in
    }
    QString words[4];
    for (int i = 0; i < 4; ++i)
        words[i] = found.value(keys[i]).isEmpty() ? keys[i] : found.value(keys[i]);
    const QStringList items = UnitOps::validityItems(words[0], words[1], words[2], words[3]);
    LoadingProgress::advance(int(items.size() / 64));
    m_tab.setValidityItems(items, UnitOps::ValidityDefault);
}

// ---- configuration transfer -----------------------------------------------------------

UnitOutcome DeviceController::checkUnitVersion(const CommandScope& running, bool firmwareLevel)
{
    UnitStatus s;
    const UnitOutcome checked = m_connection->checkVersion(
        firmwareLevel ? UnitOps::VersionLevel::Firmware : UnitOps::VersionLevel::Configuration, &s, call(running));
    if (s.ok) // the labels show only versions that were read
        showUnitStatus(s);
    // The user's own no to the question needs no box.
    if (!checked && !(firmwareLevel && checked.kind == UnitOutcome::Cancelled))
        showOutcome(checked);
    return checked;
}

bool DeviceController::readUnitImage(UnitImage& image)
{
    CommandScope running(*this);
    return running && readImage(running, image);
}

bool DeviceController::readImage(const CommandScope& running, UnitImage& image)
{
    if (!IsComPortOpen())
        return false;
    if (!checkUnitVersion(running, false))
        return false;
    TransferOutcome outcome;
    {
        TransferDialog dlg(m_window->context(), m_window, m_mainLink.get());
        dlg.setCaptionKey(QStringLiteral("frmUpload"));
        dlg.cancelToken = &link().cancelToken();
        dlg.setProgressRange(0, 64);
        dlg.setMessage(msg(m_window->context(), "gsLoadConfiguration"));
        dlg.setJob([&](TransferDialog& d) { outcome = m_connection->readConfiguration(image, call(running, &d)); });
        dlg.exec();
    }
    if (!outcome.ok())
        showOutcome(outcome);
    return outcome.ok();
}

void DeviceController::readConfiguration()
{
    CommandScope running(*this);
    if (!running || !IsComPortOpen())
        return;
    // What the unit holds replaces the program's configuration: edits not saved yet are
    // asked about first (Cancel reads nothing).
    if (!m_window->profiles().settleUnsavedChanges())
        return;
    UnitImage image;
    // The store is touched only after a complete read.
    if (!readImage(running, image))
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
    // Decodes into the store, then refreshes the editor.
    if (profiles.storeUnitImage())
        Dialogs::show(m_window,
                      m_window->context().msgOr(QStringLiteral("gsMsgUploadOK"),
                                                QStringLiteral("Die Konfiguration wurde vollständig aus dem Gerät "
                                                               "gelesen.")),
                      programTitle(m_window->context()), Dialogs::Icon::Information);
}

void DeviceController::sendToUnit(int index)
{
    CommandScope running(*this);
    if (!running || !IsComPortOpen())
        return;
    // No configuration without its texts by mistake.
    if (index == 0 && !m_window->profiles().confirmTexts())
        return;
    m_writeArea = quint8(index + 3);
    QStringList firmware;
    if (index == 1) {
        Dialogs::FileRequest r;
        r.title = msg(m_window->context(), "gsMsgLoadHexFile");
        r.folder = m_window->context().firmwareFolder();
        r.fileName = Settings::get(QStringLiteral("Firmware"), QStringLiteral("FileName"));
        r.filter = m_window->context().msgOr(QStringLiteral("gsFilterProgrammdatei"),
                                             QStringLiteral("Programmdatei (*.prg)"));
        r.defaultSuffix = QStringLiteral("prg");
        const QString path = Dialogs::askFile(m_window, r);
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
    }
    // What goes to the unit is what the window shows, built in memory and sent from there.
    QStringList lines;
    if (index == 0 && !configurationLines(&lines)) {
        m_writeArea = 0;
        return;
    }
    QString recordError;
    if (checkUnitVersion(running, index == 1)) {
        UnitOutcome outcome;
        QString doneText;
        {
            TransferDialog dlg(m_window->context(), m_window, m_mainLink.get());
            dlg.setCaptionKey(QStringLiteral("frmDownload"));
            dlg.cancelToken = &link().cancelToken();
            dlg.setJob([&](TransferDialog& d) {
                if (index == 1) {
                    outcome = UnitOutcome::fromTransfer(m_connection->updateFirmware(firmware, call(running, &d)));
                    return;
                }
                recordError = writeTransferRecord(d, lines);
                if (const UnitOutcome backedUp = backUpUnit(running, d); !backedUp) {
                    outcome = backedUp;
                    return;
                }
                d.setMessage(msg(m_window->context(), "gsUpdateConfiguration"));
                if (!sendChangedOnly()) {
                    outcome = UnitOutcome::fromTransfer(m_connection->writeConfiguration(lines, call(running, &d)));
                    return;
                }
                const ChangedWriteOutcome c = m_connection->writeChangedRecords(m_unitBefore, lines, call(running, &d));
                outcome = UnitOutcome::fromTransfer(c.transfer);
                if (outcome && !c.ok())
                    outcome = {UnitOutcome::Incomplete, c.transfer.messageKey, c.sentence};
                doneText = c.sentence;
            });
            dlg.exec();
        }
        showOutcome(outcome, doneText);
    }
    // The record of what was sent could not be written: said once, after the send it did not change.
    if (!recordError.isEmpty())
        Dialogs::show(m_window, recordError, programTitle(m_window->context()), Dialogs::Icon::Exclamation);
    m_writeArea = 0;
}

bool DeviceController::configurationLines(QStringList* lines)
{
    ProgramContext& st = m_window->context();
    if (m_window->options().transferLines) {
        *lines = m_window->options().transferLines();
    } else {
        ProfileController& profiles = m_window->profiles();
        if (!profiles.buildConfigImage())
            return false;
        *lines = QString::fromLatin1(profiles.configImage.hexText()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    QString error;
    *lines = ConfigTransfer::checkHexLines(st, *lines, &error, true);
    if (lines->isEmpty()) {
        Dialogs::show(m_window, error, st.programName, Dialogs::Icon::Critical);
        return false;
    }
    return true;
}

QString DeviceController::writeTransferRecord(TransferDialog& dialog, const QStringList& lines)
{
    ProgramContext& st = m_window->context();
    const QString path = st.transferFilePath();
    Settings::set(QStringLiteral("Configuration"), QStringLiteral("FileName"), path);
    dialog.setMessage(msg(st, "gsMsgCreateHexFile"));
    Image record;
    for (int i = 0; i < Image::LineCount; ++i)
        record.setLine(i / Image::Records, i % Image::Records, lines.value(i));
    const HexWriter::WriteResult written = HexWriter::writeProfileFile(st, record, path);
    if (written.ok() || written.kind == HexWriter::WriteResult::Cancelled)
        return QString();
    return st
        .msgOr(QStringLiteral("gsMsgAufzeichnungNichtGeschrieben"),
               QStringLiteral("Die Aufzeichnung des Sendens konnte nicht geschrieben werden; was an das Gerät "
                              "geht, hängt davon nicht ab: %1"))
        .arg(written.error.isEmpty() ? QDir::toNativeSeparators(path) : written.error);
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

UnitOutcome DeviceController::backUpUnit(const CommandScope& running, TransferDialog& dialog)
{
    m_unitBefore.clear();
    if (!backUpBeforeWrite())
        return {};
    const ProgramContext& st = m_window->context();
    dialog.setMessage(st.msgOr(QStringLiteral("gsSicherungLaeuft"),
                               QStringLiteral("Die Konfiguration des Geräts wird gesichert...")));
    const UnitBackup::Result backup
        = m_connection->backup(st.dataRoot, QDateTime::currentDateTime(), call(running, &dialog));
    if (backup.ok()) {
        m_lastBackup = backup.path;
        m_unitBefore = QString::fromLatin1(backup.text).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    return backup.outcome;
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
    CommandScope running(*this);
    if (!running || !IsComPortOpen())
        return;
    if (index == 2) {
        m_tab.setRefreshEnabled(false);
        m_ledDisplay = 2;
        for (int i = 0; i < 8; ++i)
            m_tab.lamp(i)->setFillColor(ShapeLamp::White);
        m_window->shell().startDemoDisplay();
        return;
    }
    m_window->shell().stopDemoDisplay();
    m_tab.setRefreshEnabled(true);
    m_ledDisplay = quint8(index);
    showStatusOutcome(m_connection->status(call(running)));
}

void DeviceController::refreshUnitStatus()
{
    CommandScope running(*this);
    if (!running || !IsComPortOpen())
        return;
    showStatusOutcome(m_connection->status(call(running)));
}

void DeviceController::showStatusOutcome(const UnitStatus& status)
{
    if (status.ok)
        showUnitStatus(status);
    if (!status.outcome)
        showOutcome(status.outcome);
}

void DeviceController::switchRelay(int relay, bool on)
{
    CommandScope running(*this);
    if (!running || !IsComPortOpen())
        return;
    QString password;
    if (!passwordForCommand(&password))
        return;
    m_tab.setRelayButtonsEnabled(false);
    // The relay display, with its handshake and query.
    m_tab.setDisplayChoice(0);
    m_ledDisplay = 0;
    const UnitStatus s = m_connection->switchRelay(relay + 1, on, password, call(running));
    m_tab.setRelayButtonsEnabled(true);
    showStatusOutcome(s);
}

// ---- unit parameters --------------------------------------------------------------------

void DeviceController::readSerialNumber()
{
    CommandScope running(*this);
    if (!running || !IsComPortOpen())
        return;
    m_tab.showSerialNumber(QString());
    QString serial;
    const UnitOutcome o = m_connection->readSerialNumber(&serial, call(running));
    m_tab.showSerialNumber(serial);
    showOutcome(o);
}

void DeviceController::writeSerialNumber()
{
    CommandScope running(*this);
    if (!running || !IsComPortOpen())
        return;
    const QString key = UnitOps::checkSerial(m_tab.serialNumber());
    if (!key.isEmpty()) {
        exclaim(m_window, key);
        m_tab.focusSerialNumber();
        return;
    }
    const QString serial = m_tab.serialNumber();
    const UnitOutcome o = m_connection->writeSerialNumber(serial, call(running));
    // Counted up only when the unit acknowledged the write.
    if (o && m_tab.incrementSerialNumber())
        m_tab.showSerialNumber(UnitOps::nextSerial(serial));
    showOutcome(o, m_window->context().msg(QStringLiteral("gsMsgSeriennummerGeschrieben")).arg(serial));
}

void DeviceController::readSimPin()
{
    CommandScope running(*this);
    if (!running || !IsComPortOpen())
        return;
    m_tab.showPins(QString(), QString());
    QString pin, secondPin;
    const UnitOutcome o = m_connection->readPins(&pin, &secondPin, call(running));
    m_tab.showPins(pin, secondPin);
    showOutcome(o);
}

void DeviceController::changeSimPin()
{
    CommandScope running(*this);
    if (!running || !IsComPortOpen())
        return;
    QString key = UnitOps::checkPinNew(m_tab.newPin());
    if (!key.isEmpty()) {
        exclaim(m_window, key);
        m_tab.focusPin(true);
        return;
    }
    const QString written = m_window->context().msg(QStringLiteral("gsMsgPINGeschrieben"));
    if (m_tab.pinIsDefault()) {
        showOutcome(m_connection->writeDefaultPin(m_tab.newPin(), call(running)), written);
        return;
    }
    key = UnitOps::checkPinOld(m_tab.oldPin());
    if (!key.isEmpty()) {
        exclaim(m_window, key);
        m_tab.focusPin(false);
        return;
    }
    QString password;
    if (!passwordForCommand(&password))
        return;
    showOutcome(m_connection->changePin(password, m_tab.oldPin(), m_tab.newPin(), call(running)), written);
}

void DeviceController::readValidityReminder()
{
    CommandScope running(*this);
    if (!running || !IsComPortOpen())
        return;
    int index = 0;
    const UnitOutcome o = m_connection->readValidity(&index, call(running));
    m_tab.setValidityIndex(index);
    showOutcome(o);
}

void DeviceController::writeValidityReminder()
{
    CommandScope running(*this);
    if (!running || !IsComPortOpen())
        return;
    QString password;
    if (!passwordForCommand(&password))
        return;
    const UnitOutcome o = m_connection->writeValidity(qMax(0, m_tab.validityIndex()), password, call(running));
    if (o) {
        TransferDialog dlg(m_window->context(), m_window, m_mainLink.get());
        dlg.setCaptionKey(QStringLiteral("gbWaitSystemRestart"));
        dlg.setCancelVisible(false);
        dlg.setJob([&](TransferDialog& d) { m_connection->waitForRestart(call(running, &d)); });
        dlg.exec();
    }
    showOutcome(o, m_window->context().msg(QStringLiteral("gsMsgGueltigkeitGeschrieben")));
}

// ---- port settings ------------------------------------------------------------------------

void DeviceController::openPortSettings()
{
    // The port of a running command stays as it is.
    if (refusedWhileRunning())
        return;
    PortSettingsDialog dlg(m_window);
    dlg.exec();
}
