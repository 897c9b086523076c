// The device commands of the main window.
#include "ui/frmSMS_Vantor.h"

#include "app/Dialogs.h"
#include "app/ProgramState.h"
#include "app/Settings.h"
#include "link/Channel.h"
#include "link/Link.h"
#include "link/Transfer.h"
#include "link/UnitOps.h"
#include "link/Waiter.h"
#include "sim/SimChannel.h"
#include "ui/frmDownload.h"

#include <QAbstractButton>
#include <QPushButton>

// Lamp and panel 3 of the main window as the link's sink.
struct MainLink : LinkSink {
    explicit MainLink(frmSMS_Vantor* w) : win(w) {}
    void setLamp(int bgr) override { win->setLamp(bgr); }
    void setPanel3(const QString& text) override { win->setPanelText(3, text); }
    QWidget* dialogParent() override { return win; }
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

void frmSMS_Vantor::Verbindung_pruefen() { link().Verbindung_pruefen(); }

void frmSMS_Vantor::InitialisiereGueltigkeit() {}
void frmSMS_Vantor::openPortSettings() {}

void frmSMS_Vantor::cmdUpload_Click()
{
    if (!IsComPortOpen())
        return;
    Link& l = link();
    l.gbBenutzerAbbruch = false;
    gbUpload = true;
    l.gbyLeseBereich = 3;
    l.gbyKeineAntwort = 0;
    l.portLost = false;
    if (!UnitOps::Versionsueberpruefung(l, UnitOps::VersionLevel::Configuration))
        return;
    UnitImage image;
    TransferOutcome outcome;
    {
        frmDownload dlg(this, m_mainLink.get());
        dlg.setCaptionKey(QStringLiteral("frmUpload"));
        dlg.cancelFlag = &l.gbBenutzerAbbruch;
        dlg.setProgressRange(0, 64);
        dlg.setJob([&](frmDownload& d) {
            l.setSink(d);
            ConfigTransfer t(l);
            outcome = t.Upload(image);
            l.setSink(*m_mainLink);
        });
        dlg.exec();
    }
    gbUpload = false;
    // The store is touched only after a complete read.
    if (outcome.ok() && storeReadImage)
        storeReadImage(image);
}

void frmSMS_Vantor::cmdDownload_Click(int index)
{
    if (!IsComPortOpen())
        return;
    if (index != 0)
        return;   // the firmware update has its own handler
    Link& l = link();
    l.gbBenutzerAbbruch = false;
    gbUpload = false;
    gbySchreibBereich = quint8(index + 3);
    l.gbyKeineAntwort = 0;
    l.portLost = false;
    const QString path = gState().transferFilePath();
    Settings::set(QStringLiteral("Configuration"), QStringLiteral("FileName"), path);
    if (UnitOps::Versionsueberpruefung(l, UnitOps::VersionLevel::Configuration)) {
        frmDownload dlg(this, m_mainLink.get());
        dlg.setCaptionKey(QStringLiteral("frmDownload"));
        dlg.cancelFlag = &l.gbBenutzerAbbruch;
        dlg.setJob([&](frmDownload& d) {
            l.setSink(d);
            d.setCancelVisible(false);
            d.setMessage(gState().msg(QStringLiteral("gsMsgCreateHexFile")));
            const bool written = createTransferFile && createTransferFile(path);
            d.setCancelVisible(true);
            QString error;
            const QStringList lines = written ? ConfigTransfer::checkHexFile(path, &error, true) : QStringList();
            if (lines.isEmpty()) {
                if (written)
                    Dialogs::show(&d, error, gState().gsProgramName, Dialogs::Icon::Critical);
            } else {
                d.setMessage(gState().msg(QStringLiteral("gsUpdateConfiguration")));
                ConfigTransfer t(l);
                t.download(lines, 3);
            }
            l.setSink(*m_mainLink);
        });
        dlg.exec();
    }
    gbySchreibBereich = 0;
}

void frmSMS_Vantor::wireDeviceCommands()
{
    if (auto* b = findChild<QAbstractButton*>(QStringLiteral("cmdUpload")))
        connect(b, &QAbstractButton::clicked, this, [this] { cmdUpload_Click(); });
    if (auto* b = findChild<QAbstractButton*>(QStringLiteral("cmdDownload(0)")))
        connect(b, &QAbstractButton::clicked, this, [this] { cmdDownload_Click(0); });
}
