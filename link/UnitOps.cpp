#include "link/UnitOps.h"

#include "core/Logging.h"
#include "core/ProgramContext.h"
#include "image/Image.h"
#include "link/Channel.h"
#include "link/Waiter.h"

#include <QCoreApplication>
#include <QLocale>

UnitOutcome UnitOutcome::fromTransfer(const TransferOutcome& transfer)
{
    UnitOutcome o;
    switch (transfer.kind) {
    case TransferOutcome::Ok: o.kind = Ok; break;
    case TransferOutcome::NoAnswer: o.kind = NoAnswer; break;
    case TransferOutcome::PortLost: o.kind = PortLost; break;
    case TransferOutcome::LineRefused:
    case TransferOutcome::WriteRefused: o.kind = Refused; break;
    case TransferOutcome::Cancelled:
    case TransferOutcome::Declined: o.kind = Cancelled; break;
    case TransferOutcome::VersionMismatch: o.kind = Mismatch; break;
    case TransferOutcome::NotStarted:
    case TransferOutcome::BlockUnreadable:
    case TransferOutcome::BadBlockCode:
    case TransferOutcome::FileError: o.kind = Incomplete; break;
    }
    o.messageKey = transfer.messageKey;
    o.detail = transfer.detail;
    return o;
}

namespace UnitOps {
namespace {
    QString hex2(int v) { return QString::number(v & 0xFF, 16).toUpper().rightJustified(2, QLatin1Char('0')); }
    bool allDigits(const QString& s)
    {
        if (s.isEmpty())
            return false;
        for (QChar c : s)
            if (!c.isDigit())
                return false;
        return true;
    }
}

UnitOutcome failure(Link& link, UnitOutcome::Kind otherwise, const QString& key, const QString& german)
{
    UnitOutcome o;
    if (link.portLost()) {
        o.kind = UnitOutcome::PortLost;
        o.messageKey = QStringLiteral("gsMsgVerbindungUnterbrochen");
        o.detail = link.context().msgOr(QStringLiteral("gsMsgVerbindungVerloren"),
                                        QStringLiteral("die Verbindung zum Gerät ist unterbrochen"));
    } else if (link.unitSilent()) {
        o.kind = UnitOutcome::NoAnswer;
        o.messageKey = QStringLiteral("gsMsgKeineAntwort");
        o.detail = link.context().msgOr(QStringLiteral("gsMsgGerätAntwortetNicht"),
                                        QStringLiteral("das Gerät antwortet nicht"));
    } else if (link.cancelled() || link.context().closing) {
        o.kind = UnitOutcome::Cancelled;
        o.messageKey = QStringLiteral("gsMsgVorgangAbgebrochen");
        o.detail = link.context().msgOr(QStringLiteral("gsMsgVorgangAbgebrochen"),
                                        QStringLiteral("der Vorgang wurde abgebrochen"));
    } else {
        o.kind = otherwise;
        o.messageKey = key;
        o.detail = link.context().msgOr(key, german);
    }
    return o;
}

UnitStatus decodeStatus(const QByteArray& reply)
{
    UnitStatus s;
    s.ok = !reply.isEmpty();
    if (s.ok)
        s.outcome = UnitOutcome();
    s.inputs = Link::dataByte(reply, 0);
    s.relays = Link::dataByte(reply, 2);
    s.hw = Link::dataByte(reply, 14);
    s.fw = Link::dataByte(reply, 15);
    return s;
}

QString versionText(int value) { return QLocale().toString(value / 100.0, 'f', 2); }

namespace {
    UnitOutcome incompleteStatus(Link& link)
    {
        return failure(link, UnitOutcome::Incomplete, QStringLiteral("gsMsgStatusUnvollständig"),
                       QStringLiteral("das Gerät hat keinen vollständigen Statusdatensatz gesendet"));
    }
}

UnitStatus queryStatus(Link& link)
{
    UnitStatus s = decodeStatus(link.readRecord(QStringLiteral(":HR1 CT:0010 AD:0060")));
    if (!s.ok)
        s.outcome = incompleteStatus(link);
    return s;
}

UnitStatus refresh(Link& link)
{
    link.resetForCommand();
    link.handshake();
    if (link.unitSilent() || link.stopFlags()) {
        link.showPortLost();
        UnitStatus s;
        s.outcome = incompleteStatus(link);
        return s;
    }
    return queryStatus(link);
}

int toolVersionMajor() { return SMSV48_VERSION_MAJOR; }
int toolVersionMinor() { return SMSV48_VERSION_MINOR; }
int toolVersionValue() { return toolVersionMajor() * 100 + (toolVersionMinor() % 10) * 10; }

UnitOutcome checkVersion(Link& link, VersionLevel level, UnitStatus* status,
                         const std::function<bool(const QString&)>& ask)
{
    UnitStatus s;
    for (int read = 0; read < VersionStatusReads && !s.ok; ++read) {
        link.handshake();
        if (link.unitSilent() || link.stopFlags())
            break;
        s = queryStatus(link);
    }
    if (status)
        *status = s;
    link.showPortLost();
    if (!s.ok) {
        // The handshake answered but no status reply came: the unit does not answer. Only
        // a reply that arrived can tell a version that does not match.
        if (!link.unitSilent() && !link.stopFlags()) {
            link.declareSilent();
        }
        return failure(link, UnitOutcome::NoAnswer, QStringLiteral("gsMsgGerätAntwortetNicht"),
                       QStringLiteral("das Gerät antwortet nicht"));
    }
    // The units digit and the first decimal of the firmware version against the tool's
    // major and minor version.
    const int unitMajor = (s.fw / 100) % 10, unitMinor = (s.fw / 10) % 10;
    if (unitMajor == toolVersionMajor() % 10 && unitMinor == toolVersionMinor() % 10)
        return UnitOutcome();
    if (link.portLost())
        return failure(link, UnitOutcome::PortLost, QString(), QString());
    // Versions in the unit's notation, the same in every language ("2.50").
    UnitOutcome mismatch;
    mismatch.kind = UnitOutcome::Mismatch;
    mismatch.messageKey = QStringLiteral("gsMsgVersionskonflikt");
    mismatch.detail
        = link.context()
              .msgOr(QStringLiteral("gsMsgFirmwareVersionPasstNicht"),
                     QStringLiteral("die Firmware-Version %1 des Geräts passt nicht zu diesem Programm (%2)"))
              .arg(QLocale::c().toString(s.fw / 100.0, 'f', 2),
                   QLocale::c().toString(toolVersionValue() / 100.0, 'f', 2));
    if (level == VersionLevel::Firmware) {
        // The firmware update is the way to a matching version: the question does not send
        // the user to another program version.
        const QString q = link.context().msgOr(QStringLiteral("gsMsgFirmwareVersionAnders"),
                                               QStringLiteral("Die Firmware-Version des Geräts weicht von der Version "
                                                              "dieses Programms ab."))
            + QStringLiteral("\r\n")
            + link.context()
                  .msgOr(QStringLiteral("gsMsgFirmwareTrotzdemVersion"),
                         QStringLiteral(
                             "Firmware des Geräts: %1; Version dieses Programms: %2. Firmware trotzdem aktualisieren?"))
                  .arg(versionText(s.fw), versionText(toolVersionValue()));
        link.setLastMessageKey(QStringLiteral("gsMsgVersionskonflikt"));
        const bool go = ask ? ask(q)
                            : link.notify(QStringLiteral("gsMsgVersionskonflikt"), q, Notice::Severity::Question,
                                          link.context().msg(QStringLiteral("gsTitelVersionskonflikt")),
                                          Notice::Yes | Notice::No, Notice::No)
                == Notice::Yes;
        if (go)
            return UnitOutcome();
        mismatch.kind = UnitOutcome::Cancelled;
        return mismatch;
    }
    link.notify(QStringLiteral("gsMsgVersionskonflikt"), link.context().msg(QStringLiteral("gsMsgVersionskonflikt")),
                Notice::Severity::Critical, link.context().msg(QStringLiteral("gsTitelVersionskonflikt")));
    return mismatch;
}

UnitOutcome passwordRefused(Link& link)
{
    UnitOutcome o;
    o.kind = UnitOutcome::Refused;
    o.messageKey = QStringLiteral("gsMsgGeraetPasswortAbgelehnt");
    o.detail
        = link.context().msgOr(o.messageKey,
                               QStringLiteral("Das Gerät hat den Befehl abgelehnt: falsches Gerätepasswort; das "
                                              "Programm verwendet das Passwort von Benutzer 1 aus dem Telefonbuch."));
    return o;
}

bool passwordMissing(const QString& password)
{
    for (QChar c : password)
        if (c != QChar(0) && c != QChar(0xFF) && !c.isSpace())
            return false;
    return true;
}

UnitStatus switchRelay(Link& link, int output, bool on, const QString& password)
{
    link.resetForCommand();
    UnitStatus s = refresh(link);
    if (link.unitSilent() || link.portLost()) {
        s.ok = false;
        s.outcome = incompleteStatus(link);
        return s;
    }
    link.handshake();
    if (link.unitSilent() || link.stopFlags()) {
        link.showPortLost();
        UnitStatus none;
        none.outcome = incompleteStatus(link);
        return none;
    }
    const QString command
        = QStringLiteral(":R%1%2 PW:%3").arg(on ? QLatin1Char('S') : QLatin1Char('C')).arg(output).arg(password);
    link.panel3(command);
    link.writeRaw(command.toLatin1() + '\r');
    link.waiter().wait(300, [&link] { return link.context().closing || !link.channel().isOpen(); });
    // The unit's answer to the command: "E" when it refused it (a password it does not know).
    const QByteArray answer = link.channel().isOpen() ? link.channel().readAll() : QByteArray();
    const bool refused = answer.contains('E');
    if (refused)
        link.note(QStringLiteral("answer E: the relay command was refused"));
    s = queryStatus(link);
    link.showPortLost();
    if (refused && !link.portLost()) {
        s.outcome = passwordRefused(link);
    } else if (s.ok && bool((s.relays >> (output - 1)) & 1) != on) {
        s.outcome.kind = UnitOutcome::Refused;
        s.outcome.messageKey = QStringLiteral("gsMsgRelaisNichtGeschaltet");
        s.outcome.detail = link.context()
                               .msgOr(QStringLiteral("gsMsgRelaisNichtGeschaltet"),
                                      QStringLiteral("Relais %1 wurde nicht geschaltet (falsches Passwort?)"))
                               .arg(output);
    }
    return s;
}

QString checkSerial(const QString& text) { return text.size() == 6 ? QString() : QStringLiteral("gsAnzahlZeichen"); }

QString checkPinOld(const QString& text)
{
    if (text.isEmpty())
        return QStringLiteral("gsMsgPINAlteingeben");
    if (text.size() != 4)
        return QStringLiteral("gsMsgPINAnzZeichen");
    if (!allDigits(text))
        return QStringLiteral("gsMsgPINNurZiffern");
    return QString();
}

QString checkPinNew(const QString& text)
{
    if (text.isEmpty())
        return QStringLiteral("gsMsgPINeingeben");
    if (text.size() != 4)
        return QStringLiteral("gsMsgPINAnzZeichen");
    if (!allDigits(text))
        return QStringLiteral("gsMsgPINNurZiffern");
    return QString();
}

QString record(int address, const QByteArray& data)
{
    QString r = QStringLiteral(":") + hex2(data.size()) + hex2(address >> 8) + hex2(address) + QStringLiteral("00");
    int sum = data.size() + (address >> 8) + (address & 0xFF);
    for (char c : data) {
        r += hex2(quint8(c));
        sum += quint8(c);
    }
    return r + hex2(Image::checksum(sum));
}

QString serialRecord(const QString& serial) { return record(0x00, serial.left(6).toLatin1()); }

QString pinRecord(const QString& pin)
{
    QByteArray d = pin.left(4).toLatin1();
    d.append(QByteArray(16 - d.size(), '\0'));
    return record(0x10, d);
}

QString validityRecord(int index) { return record(0x20, QByteArray(1, char(index & 0xFF))); }

QString nextSerial(const QString& serial)
{
    bool ok = false;
    const qlonglong v = serial.toLongLong(&ok);
    if (!ok)
        return serial;
    return QString::number(v + 1).rightJustified(6, QLatin1Char('0'));
}

ParameterRead readParameter(Link& link, int address)
{
    ParameterRead r;
    link.resetForCommand();
    link.handshake();
    if (!link.unitSilent() && !link.stopFlags())
        r.reply = link.readRecord(QStringLiteral(":HR2 CT:0010 AD:00") + hex2(address));
    link.showPortLost();
    if (r.reply.isEmpty())
        r.outcome = failure(link, UnitOutcome::Incomplete, QStringLiteral("gsMsgDatensatzUnvollständig"),
                            QStringLiteral("das Gerät hat keinen vollständigen Datensatz gesendet"));
    return r;
}

QString serialFrom(const QByteArray& reply)
{
    QString s;
    if (reply.isEmpty())
        return s;
    // NUL bytes (an unset serial number) are no characters of it.
    for (int k = 0; k < 6; ++k)
        if (Link::dataByte(reply, k) != 0)
            s += QChar(Link::dataByte(reply, k));
    return s;
}

QString pinFrom(const QByteArray& reply, int field)
{
    QString s;
    if (reply.isEmpty())
        return s;
    // An unset PIN field holds NUL (or erased 0xFF) bytes: no characters of a PIN.
    for (int k = 0; k < 4; ++k) {
        const int c = Link::dataByte(reply, 4 * field + k);
        if (c == 0 || c == 0xFF)
            break;
        s += QChar(c);
    }
    return s;
}

int validityFrom(const QByteArray& reply) { return reply.isEmpty() ? 0 : Link::dataByte(reply, 0); }

namespace {
    // ":HW2 PW:6054" and one record; false (nothing more sent) when the unit refused the
    // write mode or stopped answering.
    bool startAndRecord(Link& link, const QString& rec)
    {
        link.clearLineGivenUp();
        // A refused write mode is the unit's answer: said once, not sent three times.
        link.setRefusal(Link::Refusal::Answer);
        link.sendChecked(QStringLiteral(":HW2 PW:6054"));
        link.setRefusal(Link::Refusal::LineFault);
        if (!link.lastLineAccepted() || link.unitSilent() || link.stopFlags())
            return false;
        link.sendChecked(rec, true);
        return link.lastLineAccepted();
    }

    UnitOutcome written(Link& link, bool ok, const QString& key, const QString& german)
    {
        return ok ? UnitOutcome() : failure(link, UnitOutcome::Refused, key, german);
    }
    UnitOutcome serialRefused(Link& link, bool ok)
    {
        return written(link, ok, QStringLiteral("gsMsgSeriennummerAbgelehnt"),
                       QStringLiteral("das Gerät hat die Seriennummer nicht angenommen"));
    }
    UnitOutcome pinRefused(Link& link, bool ok)
    {
        return written(link, ok, QStringLiteral("gsMsgPINAbgelehnt"),
                       QStringLiteral("das Gerät hat die PIN nicht angenommen"));
    }
}

UnitOutcome writeSerial(Link& link, const QString& serial)
{
    const bool ok = startAndRecord(link, serialRecord(serial));
    if (!link.unitSilent() && !link.stopFlags()) {
        link.panel3(QStringLiteral(":00000001FF"));
        link.writeRaw(":00000001FF\r");
    }
    link.showPortLost();
    return serialRefused(link, ok);
}

UnitOutcome writePinDirect(Link& link, const QString& pin)
{
    bool ok = startAndRecord(link, pinRecord(pin));
    if (!link.unitSilent() && !link.stopFlags()) {
        link.sendChecked(QStringLiteral(":00000001FF"), true);
        ok = ok && link.lastLineAccepted();
    }
    link.showPortLost();
    return pinRefused(link, ok);
}

UnitOutcome changePin(Link& link, const QString& password, const QString& oldPin, const QString& newPin)
{
    link.clearLineGivenUp();
    // Sent once: a wrong old PIN tried again and again may block the SIM card.
    link.setRefusal(Link::Refusal::Answer);
    link.sendChecked(QStringLiteral(":PIN PW:%1 PA:%2 PN:%3").arg(password, oldPin, newPin));
    link.setRefusal(Link::Refusal::LineFault);
    link.showPortLost();
    if (link.statusCharacter() == 'E' && !link.portLost())
        return {UnitOutcome::Refused, QStringLiteral("gsMsgPINAenderungAbgelehnt"),
                link.context().msgOr(QStringLiteral("gsMsgPINAenderungAbgelehnt"),
                                     QStringLiteral("Das Gerät hat die Änderung der PIN abgelehnt: die alte PIN "
                                                    "oder das Gerätepasswort ist falsch."))};
    return pinRefused(link, link.lastLineAccepted());
}

UnitOutcome writeValidity(Link& link, int index, const QString& password)
{
    bool ok = startAndRecord(link, validityRecord(index));
    if (!link.unitSilent() && !link.stopFlags()) {
        link.sendChecked(QStringLiteral(":00000001FF"), true);
        ok = ok && link.lastLineAccepted();
    }
    if (ok && !link.stopFlags()) {
        link.sendLine(QStringLiteral(":SMR PW:") + password);
    }
    link.showPortLost();
    return written(link, ok, QStringLiteral("gsMsgGültigkeitAbgelehnt"),
                   QStringLiteral("das Gerät hat die Gültigkeitserinnerung nicht angenommen"));
}

QStringList validityItems(const QString& w1, const QString& w2, const QString& w3, const QString& w4)
{
    QStringList items;
    auto hm = [&](int h, int m) { return QStringLiteral("%1 %2 %3 %4").arg(h).arg(w1).arg(m).arg(w2); };
    for (int m = 5; m <= 55; m += 5)
        items << hm(0, m);
    for (int h = 1; h <= 11; ++h)
        for (int m = 0; m <= 55; m += 5)
            items << hm(h, m);
    for (int h = 12; h <= 23; ++h) {
        items << hm(h, 0);
        items << hm(h, 30);
    }
    items << hm(24, 0);
    for (int d = 2; d <= 30; ++d)
        items << QStringLiteral("%1 %2").arg(d).arg(w3);
    for (int n = 5; n <= 63; ++n)
        items << QStringLiteral("%1 %2").arg(n).arg(w4);
    return items;
}

TransferOutcome firmwareUpdate(Link& link, const QStringList& checkedLines, const std::function<bool()>& confirmFlash)
{
    ConfigTransfer t(link);
    TransferOutcome o = t.write(checkedLines, 4, confirmFlash);
    if (!o.ok() || link.context().closing)
        return o;
    // The unit restarts with its new program; one that does not answer after the restart
    // wait did not start, and its firmware is not complete.
    link.resetForCommand();
    if (refresh(link).ok)
        return o;
    const UnitOutcome why = failure(link, UnitOutcome::NoAnswer, QString(), QString());
    o.kind = why.kind == UnitOutcome::PortLost ? TransferOutcome::PortLost : TransferOutcome::NoAnswer;
    o.messageKey = QStringLiteral("gsMsgFirmwareNichtGestartet");
    o.severity = Notice::Severity::Critical;
    o.detail = link.context().msgOr(
                   o.messageKey, QStringLiteral("Das Gerät ist nach der Aktualisierung der Firmware nicht gestartet."))
        + QLatin1Char(' ')
        + ConfigTransfer::incompleteSentence(link.context(), 4, o.linesAccepted, int(checkedLines.size()) - 1);
    link.notify(o.messageKey, o.detail, o.severity);
    return o;
}
}
