// The device commands of the main window: probe, transfers, live status and relays, unit
// parameters, firmware update, port settings.
#include "ui/frmSMS_Vantor.h"

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
#include "ui/frmDownload.h"
#include "ui/frmPortSettings.h"

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
    explicit MainLink(frmSMS_Vantor* w) : win(w) {}
    void setLamp(int bgr) override { win->setLamp(bgr); }
    void setPanel3(const QString& text) override { win->setPanelText(3, text); }
    Notice::Answer notify(const Notice& n) override { return Dialogs::show(win, n); }
    frmSMS_Vantor* win;
    Channel* channel = nullptr;
    Waiter* waiter = nullptr;
    std::unique_ptr<Link> link;
};

namespace {
bool IsComPortOpen()
{
    return Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("COM-Anschluss-Aktuell")) == QLatin1String("open");
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

Link& frmSMS_Vantor::link()
{
    if (!m_mainLink)
        m_mainLink = std::make_shared<MainLink>(this);
    MainLink& m = *m_mainLink;
    if (!m.link || m.channel != channel.get() || m.waiter != waiter()) {
        if (!channel)
            channel = std::make_unique<SimChannel>();   // never without a channel object
        if (channel->isSimulated())
            static_cast<SimChannel*>(channel.get())->setWaiter(waiter());
        m.channel = channel.get();
        m.waiter = waiter();
        m.link = std::make_unique<Link>(*channel, *waiter(), m);
    }
    return *m.link;
}

void frmSMS_Vantor::probe() { link().probe(); }

QString frmSMS_Vantor::unitPassword() const
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

void frmSMS_Vantor::InitialisiereGueltigkeit()
{
    if (!CboGueltigkeit)
        return;
    const QString words[4] = {
        frmDownload::languageText(QStringLiteral("SystemNachrichten"), QStringLiteral("CboGültigkeit")),
        frmDownload::languageText(QStringLiteral("SystemNachrichten"), QStringLiteral("CboGültigkeit_Minuten")),
        frmDownload::languageText(QStringLiteral("SystemNachrichten"), QStringLiteral("CboGültigkeit_Tage")),
        frmDownload::languageText(QStringLiteral("SystemNachrichten"), QStringLiteral("CboGültigkeit_Wochen"))};
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

bool frmSMS_Vantor::checkVersion(bool firmwareLevel)
{
    UnitStatus s;
    const bool ok = UnitOps::checkVersion(
        link(), firmwareLevel ? UnitOps::VersionLevel::Firmware : UnitOps::VersionLevel::Configuration, &s);
    if (s.ok)   // the labels show only versions that were read
        Status_Ports_anzeigen(s);
    return ok;
}

void frmSMS_Vantor::cmdUpload_Click()
{
    if (!IsComPortOpen())
        return;
    Link& l = link();
    l.resetForCommand();
    gbUpload = true;
    if (!checkVersion(false)) {
        gbUpload = false;
        return;
    }
    UnitImage image;
    TransferOutcome outcome;
    {
        frmDownload dlg(this, m_mainLink.get());
        dlg.setCaptionKey(QStringLiteral("frmUpload"));
        dlg.cancelToken = &l.cancelToken();
        dlg.setProgressRange(0, 64);
        dlg.setMessage(msg("gsLoadConfiguration"));
        dlg.setJob([&](frmDownload& d) {
            l.setSink(d);
            outcome = ConfigTransfer(l).read(image);
            l.setSink(*m_mainLink);
        });
        dlg.exec();
    }
    gbUpload = false;
    // The store is touched only after a complete read.
    if (!outcome.ok())
        return;
    if (storeReadImage) {
        storeReadImage(image);
        return;
    }
    for (int b = 0; b < 64; ++b)
        for (int r = 0; r < 8; ++r)
            for (int e = 0; e < 21; ++e)
                gsEEPROM.setByte(e, r, b, image.rec[b][r][e]);
    storeImage();   // decodes into the store, then refreshes the editor
}

void frmSMS_Vantor::cmdDownload_Click(int index)
{
    if (!IsComPortOpen())
        return;
    Link& l = link();
    l.resetForCommand();
    gbUpload = false;
    gbySchreibBereich = quint8(index + 3);
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
            gbySchreibBereich = 0;
            return;   // the dialog was cancelled: nothing to send
        }
        Settings::set(QStringLiteral("Firmware"), QStringLiteral("FileName"), path);
        // The whole file is checked before anything goes to the unit.
        QString error;
        firmware = ConfigTransfer::checkHexFile(path, &error, false);
        if (firmware.isEmpty()) {
            Dialogs::show(this, error, gState().programName, Dialogs::Icon::Critical);
            gbySchreibBereich = 0;
            return;
        }
    } else {
        path = gState().transferFilePath();
        Settings::set(QStringLiteral("Configuration"), QStringLiteral("FileName"), path);
    }
    if (checkVersion(index == 1)) {
        frmDownload dlg(this, m_mainLink.get());
        dlg.setCaptionKey(QStringLiteral("frmDownload"));
        dlg.cancelToken = &l.cancelToken();
        dlg.setJob([&](frmDownload& d) {
            l.setSink(d);
            if (index == 1) {
                UnitOps::firmwareUpdate(l, firmware);
            } else {
                d.setCancelVisible(false);
                d.setMessage(msg("gsMsgCreateHexFile"));
                bool written = false;
                if (createTransferFile) {
                    written = createTransferFile(path);
                } else {
                    const auto progress = hexFileProgress;
                    const auto readOnly = beforeSaveUnderAfterReadOnly;
                    hexFileProgress = [&d](int done, int total) {
                        d.setProgressRange(0, total);
                        d.setProgressValue(done);
                    };
                    beforeSaveUnderAfterReadOnly = [&d] { d.hide(); };
                    written = buildImageFromStore(path);
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
    gbySchreibBereich = 0;
}

// ---- live status and relays -------------------------------------------------------------

void frmSMS_Vantor::Status_Ports_anzeigen(const UnitStatus& s)
{
    const int bits = gbyPortAnzeige == 1 ? s.inputs : s.relays;
    if (gbyPortAnzeige != 2)
        for (int i = 0; i < 8; ++i)
            if (ShpLed[i])
                ShpLed[i]->setFillColor((bits >> i) & 1 ? ShapeLamp::Green : ShapeLamp::White);
    if (lblHWVersion)
        lblHWVersion->setText(msg("gsHWVersion") + QStringLiteral(": ") + UnitOps::versionText(s.hw));
    if (lblSWVersion)
        lblSWVersion->setText(msg("gsSWVersion") + QStringLiteral(": ") + UnitOps::versionText(s.fw));
}

void frmSMS_Vantor::OptPortAnzeige_Click(int index)
{
    if (!IsComPortOpen())
        return;
    auto* demo = findChild<QTimer*>(QStringLiteral("Timer_DemoMode"));
    if (index == 2) {
        if (cmdAktualisieren)
            cmdAktualisieren->setEnabled(false);
        gbyPortAnzeige = 2;
        for (ShapeLamp* led : ShpLed)
            if (led)
                led->setFillColor(ShapeLamp::White);
        DemoMode();
        return;
    }
    Link& l = link();
    l.resetForCommand();
    if (demo)
        demo->stop();
    if (cmdAktualisieren)
        cmdAktualisieren->setEnabled(true);
    gbyPortAnzeige = quint8(index);
    l.handshake();
    if (!l.unitSilent() && !l.stopFlags())
        Status_Ports_anzeigen(UnitOps::queryStatus(l));
    l.showPortLost();
}

void frmSMS_Vantor::cmdAktualisieren_Click()
{
    if (!IsComPortOpen())
        return;
    Link& l = link();
    l.resetForCommand();
    l.handshake();
    if (!l.unitSilent() && !l.stopFlags())
        Status_Ports_anzeigen(UnitOps::queryStatus(l));
    l.showPortLost();
}

namespace {
void switchOutput(frmSMS_Vantor* w, int index, bool on)
{
    if (!IsComPortOpen())
        return;
    Link& l = w->link();
    l.resetForCommand();
    for (int i = 0; i < 4; ++i) {
        if (w->cmdSetOutput[i]) w->cmdSetOutput[i]->setEnabled(false);
        if (w->cmdResetOutput[i]) w->cmdResetOutput[i]->setEnabled(false);
    }
    // The relay display, with its handshake and query.
    if (w->OptPortAnzeige[0]) {
        const QSignalBlocker block(w->OptPortAnzeige[0]);
        w->OptPortAnzeige[0]->setChecked(true);
    }
    w->gbyPortAnzeige = 0;
    const UnitStatus s = UnitOps::switchRelay(l, index + 1, on, w->unitPassword());
    if (s.ok)
        w->Status_Ports_anzeigen(s);
    for (int i = 0; i < 4; ++i) {
        if (w->cmdSetOutput[i]) w->cmdSetOutput[i]->setEnabled(true);
        if (w->cmdResetOutput[i]) w->cmdResetOutput[i]->setEnabled(true);
    }
}

void setBox(QCheckBox* box, bool checked)
{
    if (!box || box->isChecked() == checked)
        return;
    if (box->isEnabled())
        box->click();   // runs the box's own click handling, as a user's click would
    else
        box->setChecked(checked);
}
}

void frmSMS_Vantor::cmdSetOutput_Click(int index) { switchOutput(this, index, true); }
void frmSMS_Vantor::cmdResetOutput_Click(int index) { switchOutput(this, index, false); }

void frmSMS_Vantor::cmdAllRelaisON_Click()
{
    for (int i = 0; i < 8; ++i)
        setBox(ChkDefaultState[i], i % 2 == 0);
}

void frmSMS_Vantor::cmdAllRelaisOFF_Click()
{
    for (QCheckBox* b : ChkDefaultState)
        setBox(b, false);
}

// ---- unit parameters --------------------------------------------------------------------

void frmSMS_Vantor::cmdLesen_Click()
{
    if (!IsComPortOpen())
        return;
    Busy busy(cmdLesen);
    link().resetForCommand();
    txtSerienummer->clear();
    const QByteArray r = UnitOps::readParameter(link(), 0x00);
    txtSerienummer->setText(UnitOps::serialFrom(r));
}

void frmSMS_Vantor::cmdSetzen_Click()
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

void frmSMS_Vantor::cmdPinLesen_Click()
{
    if (!IsComPortOpen())
        return;
    Busy busy(cmdPinLesen);
    link().resetForCommand();
    txtPINSimCardAlt->clear();
    txtPINSimCardNeu->clear();
    const QByteArray r = UnitOps::readParameter(link(), 0x10);
    txtPINSimCardAlt->setText(UnitOps::pinFrom(r, 0));
    txtPINSimCardNeu->setText(UnitOps::pinFrom(r, 1));
}

void frmSMS_Vantor::cmdPinWechseln_Click()
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

void frmSMS_Vantor::cmdGueltigkeitLesen_Click()
{
    if (!IsComPortOpen())
        return;
    Busy busy(cmdGueltigkeitLesen);
    link().resetForCommand();
    const QByteArray r = UnitOps::readParameter(link(), 0x20);
    CboGueltigkeit->setCurrentIndex(UnitOps::validityFrom(r));
}

void frmSMS_Vantor::cmdGueltigkeitSetzen_Click()
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
    gbWaitSystemRestart = true;
    {
        frmDownload dlg(this, m_mainLink.get());
        dlg.setCaptionKey(QStringLiteral("gbWaitSystemRestart"));
        dlg.setCancelVisible(false);
        dlg.setJob([&](frmDownload& d) {
            l.setSink(d);
            ConfigTransfer(l).waitForRestart();
            l.setSink(*m_mainLink);
        });
        dlg.exec();
    }
    gbWaitSystemRestart = false;
}

// ---- port settings ------------------------------------------------------------------------

void frmSMS_Vantor::openPortSettings()
{
    frmPortSettings dlg(this);
    dlg.exec();
}

void frmSMS_Vantor::wireDeviceCommands()
{
    auto onClick = [this](QAbstractButton* b, std::function<void()> fn) {
        if (b)
            connect(b, &QAbstractButton::clicked, this, [fn] { fn(); });
    };
    onClick(cmdUpload, [this] { cmdUpload_Click(); });
    onClick(cmdDownload[0], [this] { cmdDownload_Click(0); });
    onClick(cmdDownload[1], [this] { cmdDownload_Click(1); });
    onClick(cmdAktualisieren, [this] { cmdAktualisieren_Click(); });
    for (int i = 0; i < 3; ++i)
        onClick(OptPortAnzeige[i], [this, i] { OptPortAnzeige_Click(i); });
    for (int i = 0; i < 4; ++i) {
        onClick(cmdSetOutput[i], [this, i] { cmdSetOutput_Click(i); });
        onClick(cmdResetOutput[i], [this, i] { cmdResetOutput_Click(i); });
    }
    onClick(cmdAllRelaisON, [this] { cmdAllRelaisON_Click(); });
    onClick(cmdAllRelaisOFF, [this] { cmdAllRelaisOFF_Click(); });
    onClick(cmdLesen, [this] { cmdLesen_Click(); });
    onClick(cmdSetzen, [this] { cmdSetzen_Click(); });
    onClick(cmdPinLesen, [this] { cmdPinLesen_Click(); });
    onClick(cmdPinWechseln, [this] { cmdPinWechseln_Click(); });
    onClick(cmdGueltigkeitLesen, [this] { cmdGueltigkeitLesen_Click(); });
    onClick(cmdGueltigkeitSetzen, [this] { cmdGueltigkeitSetzen_Click(); });
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
