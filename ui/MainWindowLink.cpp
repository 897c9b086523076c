// The device commands of the main window: probe, transfers, live status and relays, unit
// parameters, firmware update, port settings.
#include "ui/MainWindow.h"

#include "ui/Dialogs.h"
#include "core/ProgramContext.h"
#include "core/Progress.h"
#include "core/Settings.h"
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

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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

QString msg(const char* key) { return gState().msg(QString::fromUtf8(key)); }

void exclaim(QWidget* parent, const QString& key)
{
    Dialogs::show(parent, gState().msg(key), gState().programName, Dialogs::Icon::Exclamation);
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
}

Link& MainWindow::link()
{
    if (!m_mainLink)
        m_mainLink = std::make_shared<MainLink>(this);
    MainLink& m = *m_mainLink;
    if (!m.link || m.channel != channel.get() || m.waiter != waiter()) {
        if (!channel)
            channel = std::make_unique<SimChannel>(); // never without a channel object
        if (channel->isSimulated())
            static_cast<SimChannel*>(channel.get())->setWaiter(waiter());
        m.channel = channel.get();
        m.waiter = waiter();
        m.link = std::make_unique<Link>(*channel, *waiter(), m);
    }
    return *m.link;
}

void MainWindow::probeUnit() { link().probe(); }

QString MainWindow::unitPassword() const
{
    try {
        Connection con;
        con.open(gState().databasePath, Connection::Read);
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

void MainWindow::fillValidityList()
{
    if (!CboGueltigkeit)
        return;
    const QString words[4]
        = {TransferDialog::languageText(QStringLiteral("SystemNachrichten"), QStringLiteral("CboGültigkeit")),
           TransferDialog::languageText(QStringLiteral("SystemNachrichten"), QStringLiteral("CboGültigkeit_Minuten")),
           TransferDialog::languageText(QStringLiteral("SystemNachrichten"), QStringLiteral("CboGültigkeit_Tage")),
           TransferDialog::languageText(QStringLiteral("SystemNachrichten"), QStringLiteral("CboGültigkeit_Wochen"))};
    const QStringList items = UnitOps::validityItems(words[0], words[1], words[2], words[3]);
    CboGueltigkeit->clear();
    for (int i = 0; i < items.size(); ++i) {
        CboGueltigkeit->addItem(items[i]);
        if (i % 64 == 63)
            LoadingProgress::advance();
    }
    CboGueltigkeit->setCurrentIndex(UnitOps::ValidityDefault);
}

// ---- configuration transfer -----------------------------------------------------------

bool MainWindow::checkUnitVersion(bool firmwareLevel)
{
    UnitStatus s;
    const bool ok(UnitOps::checkVersion(
        link(), firmwareLevel ? UnitOps::VersionLevel::Firmware : UnitOps::VersionLevel::Configuration, &s));
    if (s.ok) // the labels show only versions that were read
        showUnitStatus(s);
    return ok;
}

void MainWindow::readConfiguration()
{
    if (!IsComPortOpen())
        return;
    Link& l = link();
    l.resetForCommand();
    transferIsRead = true;
    if (!checkUnitVersion(false)) {
        transferIsRead = false;
        return;
    }
    UnitImage image;
    TransferOutcome outcome;
    {
        TransferDialog dlg(this, m_mainLink.get());
        dlg.setCaptionKey(QStringLiteral("frmUpload"));
        dlg.cancelToken = &l.cancelToken();
        dlg.setProgressRange(0, 64);
        dlg.setMessage(msg("gsLoadConfiguration"));
        dlg.setJob([&](TransferDialog& d) {
            l.setSink(d);
            outcome = ConfigTransfer(l).read(image);
            l.setSink(*m_mainLink);
        });
        dlg.exec();
    }
    transferIsRead = false;
    // The store is touched only after a complete read.
    if (!outcome.ok())
        return;
    if (m_options.storeReadImage) {
        m_options.storeReadImage(image);
        return;
    }
    for (int b = 0; b < 64; ++b)
        for (int r = 0; r < 8; ++r)
            for (int e = 0; e < 21; ++e)
                configImage.setByte(e, r, b, image.rec[b][r][e]);
    storeUnitImage(); // decodes into the store, then refreshes the editor
}

void MainWindow::sendToUnit(int index)
{
    if (!IsComPortOpen())
        return;
    Link& l = link();
    l.resetForCommand();
    transferIsRead = false;
    writeArea = quint8(index + 3);
    QStringList firmware;
    QString path;
    if (index == 1) {
        Dialogs::FileRequest r;
        r.title = msg("gsMsgLoadHexFile");
        r.folder = gState().firmwareFolder();
        r.fileName = Settings::get(QStringLiteral("Firmware"), QStringLiteral("FileName"));
        r.filter = QStringLiteral("Programfile (*.prg)");
        r.defaultSuffix = QStringLiteral("prg");
        path = Dialogs::askFile(this, r);
        if (path.isEmpty()) {
            writeArea = 0;
            return; // the dialog was cancelled: nothing to send
        }
        Settings::set(QStringLiteral("Firmware"), QStringLiteral("FileName"), path);
        // The whole file is checked before anything goes to the unit.
        QString error;
        firmware = ConfigTransfer::checkHexFile(path, &error, false);
        if (firmware.isEmpty()) {
            Dialogs::show(this, error, gState().programName, Dialogs::Icon::Critical);
            writeArea = 0;
            return;
        }
    } else {
        path = gState().transferFilePath();
        Settings::set(QStringLiteral("Configuration"), QStringLiteral("FileName"), path);
    }
    if (checkUnitVersion(index == 1)) {
        TransferDialog dlg(this, m_mainLink.get());
        dlg.setCaptionKey(QStringLiteral("frmDownload"));
        dlg.cancelToken = &l.cancelToken();
        dlg.setJob([&](TransferDialog& d) {
            l.setSink(d);
            if (index == 1) {
                UnitOps::firmwareUpdate(l, firmware);
            } else {
                d.setCancelVisible(false);
                d.setMessage(msg("gsMsgCreateHexFile"));
                bool written = false;
                if (m_options.createTransferFile) {
                    written = m_options.createTransferFile(path);
                } else {
                    const auto progress = hexFileProgress;
                    const auto readOnly = beforeSaveUnderAfterReadOnly;
                    hexFileProgress = [&d](int done, int total) {
                        d.setProgressRange(0, total);
                        d.setProgressValue(done);
                    };
                    beforeSaveUnderAfterReadOnly = [&d] { d.hide(); };
                    written = writeProfileFile(path);
                    hexFileProgress = progress;
                    beforeSaveUnderAfterReadOnly = readOnly;
                }
                d.setCancelVisible(true);
                QString error;
                const QStringList lines = written ? ConfigTransfer::checkHexFile(path, &error, true) : QStringList();
                if (lines.isEmpty()) {
                    if (written)
                        Dialogs::show(&d, error, gState().programName, Dialogs::Icon::Critical);
                } else {
                    d.setMessage(msg("gsUpdateConfiguration"));
                    ConfigTransfer(l).write(lines, 3);
                }
            }
            l.setSink(*m_mainLink);
        });
        dlg.exec();
    }
    writeArea = 0;
}

// ---- live status and relays -------------------------------------------------------------

void MainWindow::showUnitStatus(const UnitStatus& s)
{
    const int bits = ledDisplay == 1 ? s.inputs : s.relays;
    if (ledDisplay != 2)
        for (int i = 0; i < 8; ++i)
            if (ShpLed[i])
                ShpLed[i]->setFillColor((bits >> i) & 1 ? ShapeLamp::Green : ShapeLamp::White);
    if (lblHWVersion)
        lblHWVersion->setText(msg("gsHWVersion") + QStringLiteral(": ") + UnitOps::versionText(s.hw));
    if (lblSWVersion)
        lblSWVersion->setText(msg("gsSWVersion") + QStringLiteral(": ") + UnitOps::versionText(s.fw));
}

void MainWindow::selectLedDisplay(int index)
{
    if (!IsComPortOpen())
        return;
    auto* demo = findChild<QTimer*>(QStringLiteral("Timer_DemoMode"));
    if (index == 2) {
        if (cmdAktualisieren)
            cmdAktualisieren->setEnabled(false);
        ledDisplay = 2;
        for (ShapeLamp* led : ShpLed)
            if (led)
                led->setFillColor(ShapeLamp::White);
        startDemoDisplay();
        return;
    }
    Link& l = link();
    l.resetForCommand();
    if (demo)
        demo->stop();
    if (cmdAktualisieren)
        cmdAktualisieren->setEnabled(true);
    ledDisplay = quint8(index);
    l.handshake();
    if (!l.unitSilent() && !l.stopFlags())
        showUnitStatus(UnitOps::queryStatus(l));
    l.showPortLost();
}

void MainWindow::refreshUnitStatus()
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

namespace {
void switchOutput(MainWindow* w, int index, bool on)
{
    if (!IsComPortOpen())
        return;
    Link& l = w->link();
    l.resetForCommand();
    for (int i = 0; i < 4; ++i) {
        if (w->cmdSetOutput[i])
            w->cmdSetOutput[i]->setEnabled(false);
        if (w->cmdResetOutput[i])
            w->cmdResetOutput[i]->setEnabled(false);
    }
    // The relay display, with its handshake and query.
    if (w->OptPortAnzeige[0]) {
        const QSignalBlocker block(w->OptPortAnzeige[0]);
        w->OptPortAnzeige[0]->setChecked(true);
    }
    w->ledDisplay = 0;
    const UnitStatus s = UnitOps::switchRelay(l, index + 1, on, w->unitPassword());
    if (s.ok)
        w->showUnitStatus(s);
    for (int i = 0; i < 4; ++i) {
        if (w->cmdSetOutput[i])
            w->cmdSetOutput[i]->setEnabled(true);
        if (w->cmdResetOutput[i])
            w->cmdResetOutput[i]->setEnabled(true);
    }
}

void setBox(QCheckBox* box, bool checked)
{
    if (!box || box->isChecked() == checked)
        return;
    if (box->isEnabled())
        box->click(); // runs the box's own click handling, as a user's click would
    else
        box->setChecked(checked);
}
}

void MainWindow::switchRelayOn(int index) { switchOutput(this, index, true); }
void MainWindow::switchRelayOff(int index) { switchOutput(this, index, false); }

void MainWindow::setDefaultStatesOn()
{
    for (int i = 0; i < 8; ++i)
        setBox(ChkDefaultState[i], i % 2 == 0);
}

void MainWindow::setDefaultStatesOff()
{
    for (QCheckBox* b : ChkDefaultState)
        setBox(b, false);
}

// ---- unit parameters --------------------------------------------------------------------

void MainWindow::readSerialNumber()
{
    if (!IsComPortOpen())
        return;
    Busy busy(cmdLesen);
    link().resetForCommand();
    txtSerienummer->clear();
    const QByteArray r = UnitOps::readParameter(link(), 0x00).reply;
    txtSerienummer->setText(UnitOps::serialFrom(r));
}

void MainWindow::writeSerialNumber()
{
    if (!IsComPortOpen())
        return;
    Busy busy(cmdSetzen);
    const QString key = UnitOps::checkSerial(txtSerienummer->text());
    if (!key.isEmpty()) {
        exclaim(this, key);
        txtSerienummer->setFocus();
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
    if (UnitOps::writeSerial(l, txtSerienummer->text()) && Check_Inkrement && Check_Inkrement->isChecked())
        txtSerienummer->setText(UnitOps::nextSerial(txtSerienummer->text()));
}

void MainWindow::readSimPin()
{
    if (!IsComPortOpen())
        return;
    Busy busy(cmdPinLesen);
    link().resetForCommand();
    txtPINSimCardAlt->clear();
    txtPINSimCardNeu->clear();
    const QByteArray r = UnitOps::readParameter(link(), 0x10).reply;
    txtPINSimCardAlt->setText(UnitOps::pinFrom(r, 0));
    txtPINSimCardNeu->setText(UnitOps::pinFrom(r, 1));
}

void MainWindow::changeSimPin()
{
    if (!IsComPortOpen())
        return;
    Link& l = link();
    l.resetForCommand();
    Busy busy(cmdPinWechseln);
    l.handshake();
    if (l.unitSilent() || l.stopFlags()) {
        l.showPortLost();
        return;
    }
    QString key = UnitOps::checkPinNew(txtPINSimCardNeu->text());
    if (!key.isEmpty()) {
        exclaim(this, key);
        txtPINSimCardNeu->setFocus();
        return;
    }
    if (ChkDefault && ChkDefault->isChecked()) {
        UnitOps::writePinDirect(l, txtPINSimCardNeu->text());
        return;
    }
    key = UnitOps::checkPinOld(txtPINSimCardAlt->text());
    if (!key.isEmpty()) {
        exclaim(this, key);
        txtPINSimCardAlt->setFocus();
        return;
    }
    UnitOps::changePin(l, unitPassword(), txtPINSimCardAlt->text(), txtPINSimCardNeu->text());
}

void MainWindow::readValidityReminder()
{
    if (!IsComPortOpen())
        return;
    Busy busy(cmdGueltigkeitLesen);
    link().resetForCommand();
    const QByteArray r = UnitOps::readParameter(link(), 0x20).reply;
    CboGueltigkeit->setCurrentIndex(UnitOps::validityFrom(r));
}

void MainWindow::writeValidityReminder()
{
    if (!IsComPortOpen())
        return;
    Busy busy(cmdGueltigkeitSetzen);
    Link& l = link();
    l.resetForCommand();
    l.handshake();
    if (l.unitSilent() || l.stopFlags()) {
        l.showPortLost();
        return;
    }
    if (!UnitOps::writeValidity(l, qMax(0, CboGueltigkeit->currentIndex()), unitPassword()))
        return;
    waitForRestart = true;
    {
        TransferDialog dlg(this, m_mainLink.get());
        dlg.setCaptionKey(QStringLiteral("gbWaitSystemRestart"));
        dlg.setCancelVisible(false);
        dlg.setJob([&](TransferDialog& d) {
            l.setSink(d);
            ConfigTransfer(l).waitForRestart();
            l.setSink(*m_mainLink);
        });
        dlg.exec();
    }
    waitForRestart = false;
}

// ---- port settings ------------------------------------------------------------------------

void MainWindow::openPortSettings()
{
    PortSettingsDialog dlg(this);
    dlg.exec();
}

void MainWindow::wireDeviceCommands()
{
    auto onClick = [this](QAbstractButton* b, std::function<void()> fn) {
        if (b)
            connect(b, &QAbstractButton::clicked, this, [fn] { fn(); });
    };
    onClick(cmdUpload, [this] { readConfiguration(); });
    onClick(cmdDownload[0], [this] { writeConfiguration(); });
    onClick(cmdDownload[1], [this] { updateFirmware(); });
    onClick(cmdAktualisieren, [this] { refreshUnitStatus(); });
    for (int i = 0; i < 3; ++i)
        onClick(OptPortAnzeige[i], [this, i] { selectLedDisplay(i); });
    for (int i = 0; i < 4; ++i) {
        onClick(cmdSetOutput[i], [this, i] { switchRelayOn(i); });
        onClick(cmdResetOutput[i], [this, i] { switchRelayOff(i); });
    }
    onClick(cmdAllRelaisON, [this] { setDefaultStatesOn(); });
    onClick(cmdAllRelaisOFF, [this] { setDefaultStatesOff(); });
    onClick(cmdLesen, [this] { readSerialNumber(); });
    onClick(cmdSetzen, [this] { writeSerialNumber(); });
    onClick(cmdPinLesen, [this] { readSimPin(); });
    onClick(cmdPinWechseln, [this] { changeSimPin(); });
    onClick(cmdGueltigkeitLesen, [this] { readValidityReminder(); });
    onClick(cmdGueltigkeitSetzen, [this] { writeValidityReminder(); });
    if (mnuPort)
        connect(mnuPort, &QAction::triggered, this, [this] { openPortSettings(); });
    auto* highlight = new Highlight(this);
    for (QLineEdit* box : {txtSerienummer, txtPINSimCardAlt, txtPINSimCardNeu})
        if (box)
            box->installEventFilter(highlight);
    if (txtPINSimCardNeu)
        txtPINSimCardNeu->setMaxLength(4);
    if (txtSerienummer)
        txtSerienummer->setMaxLength(6);
}
