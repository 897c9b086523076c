#include "link/Transfer.h"

#include "core/ProgramContext.h"
#include "image/FileAccess.h"
#include "image/Image.h"
#include "link/Channel.h"
#include "link/Waiter.h"

#include <QCoreApplication>
#include <QFile>

namespace {
const QString EndRecord = QStringLiteral(":00000001FF");

int hexVal(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}
}

QStringList ConfigTransfer::checkHexLines(const ProgramContext& context, const QStringList& input, QString* error,
                                          bool configuration)
{
    QStringList out;
    for (int n = 0; n < input.size(); ++n) {
        const QString line = input[n].trimmed();
        auto fail = [&](const QString& why) {
            if (error)
                *error = context.msgOr(QStringLiteral("gsMsgHexZeile"), QStringLiteral("Zeile %1: %2"))
                             .arg(n + 1)
                             .arg(why);
            return QStringList();
        };
        if (line.isEmpty())
            return fail(context.msgOr(QStringLiteral("gsMsgHexLeereZeile"),
                                      QStringLiteral("leere Zeile vor dem Endedatensatz")));
        if (line[0] != QLatin1Char(':') || line.size() < 11 || (line.size() - 1) % 2 != 0)
            return fail(
                context.msgOr(QStringLiteral("gsMsgHexKeinDatensatz"), QStringLiteral("kein Intel-HEX-Datensatz")));
        QList<int> bytes;
        for (int i = 1; i + 1 < line.size(); i += 2) {
            const int a = hexVal(line[i]), b = hexVal(line[i + 1]);
            if (a < 0 || b < 0)
                return fail(context.msgOr(QStringLiteral("gsMsgHexNichtHex"),
                                          QStringLiteral("kein Datensatz aus Hexadezimalziffern in Grossbuchstaben")));
            bytes << a * 16 + b;
        }
        if (bytes.size() != bytes[0] + 5)
            return fail(context.msgOr(QStringLiteral("gsMsgHexLaenge"),
                                      QStringLiteral("die Datensatzlänge passt nicht zur Zeile")));
        int sum = 0;
        for (int k = 0; k + 1 < bytes.size(); ++k)
            sum += bytes[k];
        if (Image::checksum(sum) != bytes.last())
            return fail(context.msgOr(QStringLiteral("gsMsgHexPruefsumme"), QStringLiteral("Prüfsummenfehler")));
        out << line;
        if (line == EndRecord) {
            if (configuration && out.size() != 513)
                return fail(
                    context
                        .msgOr(QStringLiteral("gsMsgHexAnzahlZeilen"),
                               QStringLiteral(
                                   "eine Konfiguration hat 512 Datenzeilen vor dem Endedatensatz, diese Datei hat %1"))
                        .arg(out.size() - 1));
            return out;
        }
        if (bytes[3] == 1)
            return fail(context.msgOr(QStringLiteral("gsMsgHexFalschesEnde"),
                                      QStringLiteral("ein anderer Endedatensatz als \":00000001FF\"")));
        if (configuration) {
            const int address = bytes[1] * 256 + bytes[2];
            if (bytes[0] != 16 || bytes[3] != 0 || address != 16 * n)
                return fail(context
                                .msgOr(QStringLiteral("gsMsgHexAdresse"),
                                       QStringLiteral("erwartet wird der 16-Byte-Datensatz an Adresse %1"))
                                .arg(QString::number(16 * n, 16).toUpper().rightJustified(4, QLatin1Char('0'))));
        }
    }
    if (error)
        *error = context.msgOr(QStringLiteral("gsMsgHexEndeFehlt"),
                               QStringLiteral("der Endedatensatz \":00000001FF\" fehlt"));
    return QStringList();
}

QStringList ConfigTransfer::checkHexFile(const ProgramContext& context, const QString& path, QString* error,
                                         bool configuration)
{
    QFile f;
    if (!FileAccess::openForReading(context, f, path, error))
        return QStringList();
    QStringList lines;
    while (!f.atEnd()) {
        const QString line = QString::fromLatin1(f.readLine()).trimmed();
        if (line.isEmpty() && f.atEnd())
            break;
        lines << line;
    }
    QString why;
    const QStringList out = checkHexLines(context, lines, &why, configuration);
    if (out.isEmpty() && error)
        *error = QStringLiteral("%1: %2").arg(path, why);
    return out;
}

bool ConfigTransfer::handshakeFailed(TransferOutcome* o)
{
    Link& l = m_link;
    if (!l.unitSilent() && !l.cancelled() && !l.m_portLost)
        return false;
    o->kind = l.cancelled() ? TransferOutcome::Cancelled : TransferOutcome::NoAnswer;
    o->detail = l.cancelled()
        ? m_link.context().msgOr(QStringLiteral("gsMsgVerbindungsaufbauFehler"),
                                 QStringLiteral("der Verbindungsaufbau zum Gerät ist fehlgeschlagen"))
        : m_link.context().msgOr(QStringLiteral("gsMsgGerätAntwortetNicht"),
                                 QStringLiteral("das Gerät antwortet nicht"));
    l.m_missedAnswers = 0;
    l.m_cancel->clear();
    return true;
}

TransferOutcome ConfigTransfer::finish(TransferOutcome o, bool reading)
{
    if (m_link.m_portLost) {
        m_link.showPortLost();
        o.kind = TransferOutcome::PortLost;
        o.detail = m_link.context().msgOr(QStringLiteral("gsMsgVerbindungVerloren"),
                                          QStringLiteral("die Verbindung zum Gerät ist unterbrochen"));
    }
    switch (o.kind) {
    case TransferOutcome::Ok: o.messageKey = reading ? QString() : QStringLiteral("gsMsgDownloadOK"); break;
    case TransferOutcome::NoAnswer: o.messageKey = QStringLiteral("gsMsgKeineAntwort"); break;
    case TransferOutcome::Cancelled:
        o.messageKey = reading ? QStringLiteral("gsMsgLesenAbgebrochen") : QStringLiteral("gsMsgSchreibenAbgebrochen");
        break;
    case TransferOutcome::BlockUnreadable: o.messageKey = QStringLiteral("gsMsgBlockNichtLesbar"); break;
    case TransferOutcome::BadBlockCode: o.messageKey = QStringLiteral("gsMsgBlockcode"); break;
    case TransferOutcome::LineRefused: o.messageKey = QStringLiteral("gsMsgZeileNichtGebrannt"); break;
    case TransferOutcome::WriteRefused: o.messageKey = QStringLiteral("gsMsgSchreibenVerweigert"); break;
    case TransferOutcome::PortLost: o.messageKey = QStringLiteral("gsMsgVerbindungUnterbrochen"); break;
    case TransferOutcome::Declined: o.messageKey = QStringLiteral("gsMsgFirmwareNichtBestätigt"); break;
    case TransferOutcome::NotStarted:
    case TransferOutcome::FileError:
    case TransferOutcome::VersionMismatch: break;
    }
    o.severity = o.ok()                                                                 ? Notice::Severity::Information
        : (o.kind == TransferOutcome::Cancelled || o.kind == TransferOutcome::Declined) ? Notice::Severity::Warning
                                                                                        : Notice::Severity::Critical;
    return o;
}

void ConfigTransfer::abandonWrite() { m_link.writeRaw(QByteArray(1, 27)); }

QString ConfigTransfer::incompleteSentence(const ProgramContext& context, int area, int accepted, int dataLines)
{
    if (area == 4)
        return context
            .msgOr(QStringLiteral("gsMsgFirmwareTeilweiseGeschrieben"),
                   QStringLiteral(
                       "Die Aktualisierung der Firmware ist nicht abgeschlossen: %1 von %2 Zeilen wurden vom Gerät "
                       "angenommen. Wiederholen Sie die Aktualisierung, bevor Sie das Gerät ausschalten."))
            .arg(accepted)
            .arg(dataLines);
    return context
        .msgOr(QStringLiteral("gsMsgKonfigurationTeilweiseGeschrieben"),
               QStringLiteral("Die Konfiguration des Geräts ist jetzt unvollständig (%1 von %2 Datensätzen "
                              "geschrieben) und muss erneut geschrieben werden."))
        .arg(accepted)
        .arg(dataLines);
}

void ConfigTransfer::sendEndRecord()
{
    // So that the unit leaves its write mode.
    const bool quiet = m_link.m_quietGiveUp;
    m_link.m_quietGiveUp = true;
    m_link.m_lineGivenUp = false;
    m_link.sendChecked(EndRecord);
    m_link.m_quietGiveUp = quiet;
}

TransferOutcome ConfigTransfer::read(UnitImage& image)
{
    Link& l = m_link;
    image = UnitImage();
    l.sink().setMessage(m_link.context().msg(QStringLiteral("gsLoadConfiguration")));
    l.handshake();
    if (TransferOutcome o; handshakeFailed(&o))
        return finish(o, true);
    l.m_readArea = 3;
    const bool complete = l.readConfiguration(image);
    TransferOutcome o;
    if (l.m_portLost)
        return finish(o, true);
    if (l.unitSilent()) {
        l.m_missedAnswers = 0;
        o.kind = TransferOutcome::NoAnswer;
        o.detail = m_link.context().msgOr(QStringLiteral("gsMsgLesenKeineAntwort"),
                                          QStringLiteral("das Gerät hat beim Lesen aufgehört zu antworten"));
    } else if (l.m_badBlockCode) {
        o.kind = TransferOutcome::BadBlockCode;
        o.detail
            = m_link.context()
                  .msgOr(QStringLiteral("gsMsgBlockcodeDetail"),
                         QStringLiteral(
                             "das Gerät hat den Blockcode %1 gesendet, der ausserhalb des Konfigurationsspeichers "
                             "liegt (ist das Gerät gelöscht?); die Konfiguration wurde nicht gelesen"))
                  .arg(QStringLiteral("0x")
                       + QString::number(l.m_badBlockValue & 0xFF, 16).toUpper().rightJustified(2, QLatin1Char('0')));
        l.notify(
            QStringLiteral("badBlockCode"),
            m_link.context()
                .msgOr(QStringLiteral("gsMsgBlockcode"),
                       QStringLiteral(
                           "Das Gerät hat den Blockcode %1 gesendet, der ausserhalb des Konfigurationsspeichers liegt; "
                           "das Gerät ist wahrscheinlich gelöscht oder defekt. Die Konfiguration wurde nicht gelesen; "
                           "die gespeicherte Konfiguration ist unverändert."))
                .arg(QStringLiteral("0x")
                     + QString::number(l.m_badBlockValue & 0xFF, 16).toUpper().rightJustified(2, QLatin1Char('0'))),
            Notice::Severity::Warning);
    } else if (l.cancelled() || m_link.context().closing) {
        o.kind = TransferOutcome::Cancelled;
        o.detail = m_link.context().msgOr(QStringLiteral("gsMsgLesenAbgebrochenDetail"),
                                          QStringLiteral("das Lesen wurde abgebrochen"));
        if (l.cancelled()) {
            l.m_cancel->clear();
            l.message({QStringLiteral("gsMsgLesenAbgebrochen")}, Notice::Severity::Critical);
            l.handshake(); // back to the prompt
        }
    } else if (!complete) {
        o.kind = TransferOutcome::BlockUnreadable;
        o.detail = m_link.context()
                       .msgOr(QStringLiteral("gsMsgBlockNichtLesbar"),
                              QStringLiteral("Block %1 der Konfiguration konnte nicht gelesen werden"))
                       .arg(l.m_blockAddress / 128 + 1);
        l.message({QStringLiteral("gsMsgZeileNichtGebrannt"), QStringLiteral("gsMsgKeineAntwortHilfe")},
                  Notice::Severity::Warning);
    } else {
        o.kind = TransferOutcome::Ok;
    }
    return finish(o, true);
}

TransferOutcome ConfigTransfer::sendLines(const QStringList& lines, int area)
{
    Link& l = m_link;
    l.m_failedTries = 0;
    int count = 0;
    for (const QString& s : lines) {
        ++count;
        if (s == EndRecord)
            break;
    }
    l.m_currentLine.clear();
    TransferOutcome o;
    if (l.unitSilent() || l.stopFlags()) {
        o.kind = l.unitSilent() ? TransferOutcome::NoAnswer : TransferOutcome::Cancelled;
        l.m_missedAnswers = 0;
        return o;
    }
    l.sink().setProgressRange(0, count);
    l.sink().setProgressValue(0);
    l.m_quietGiveUp = true;
    l.m_lineGivenUp = false;
    for (int i = 0;; ++i) {
        if (l.m_currentLine == EndRecord) {
            l.m_quietGiveUp = false;
            l.message({QStringLiteral("gsMsgDownloadOK")}, Notice::Severity::Information);
            o.kind = TransferOutcome::Ok;
            return o;
        }
        if (i >= count)
            break; // a file without its end record never gets here (checked before)
        l.waiter().yield();
        l.m_currentLine = lines[i];
        l.sink().setProgressValue(i + 1);
        if (area == 4)
            l.sendFirmwareLine();
        else
            l.sendLine();
        if (l.m_currentLine != EndRecord)
            ++o.linesSent;
        if (area == 4 && l.m_currentLine == EndRecord) {
            // The unit takes the end record of a firmware write without a word and restarts;
            // an "E" refuses it like any other line: it is sent again, at most three times.
            for (int tries = 1; l.m_ch.inBufferCount() > 0 && !l.stopFlags(); ++tries) {
                l.readStatusCharacter();
                if (l.m_statusCharacter != 'E')
                    break;
                if (tries >= 3) {
                    l.note(QStringLiteral("refused three times: line given up"));
                    l.m_lineGivenUp = true;
                    break;
                }
                l.note(QStringLiteral("refused: sending again, try %1").arg(tries + 1));
                l.sendFirmwareLine();
            }
        } else {
            l.readStatusCharacter();
            l.checkAnswer();
            if (!l.m_lineGivenUp && l.m_currentLine != EndRecord
                && (l.m_statusCharacter == ':' || l.m_statusCharacter == '>'))
                ++o.linesAccepted;
        }
        if (l.m_lineGivenUp) {
            l.m_quietGiveUp = false;
            o.kind = TransferOutcome::LineRefused;
            o.failedLine = i + 1;
            o.detail = m_link.context()
                           .msgOr(QStringLiteral("gsMsgZeileAbgelehntDetail"),
                                  QStringLiteral("Zeile %1 von %2 (%3) wurde vom Gerät dreimal abgelehnt"))
                           .arg(i + 1)
                           .arg(count)
                           .arg(Link::maskSecrets(lines[i]));
            return o;
        }
        if (l.unitSilent() || l.stopFlags())
            break;
    }
    l.m_quietGiveUp = false;
    o.kind = l.unitSilent() ? TransferOutcome::NoAnswer : TransferOutcome::Cancelled;
    return o;
}

TransferOutcome ConfigTransfer::write(const QStringList& lines, int area, const std::function<bool()>& confirmFlash)
{
    Link& l = m_link;
    TransferOutcome o;
    l.m_lineGivenUp = false;
    l.handshake();
    if (handshakeFailed(&o))
        return finish(o);
    const QString start = QStringLiteral(":HW%1 PW:6054").arg(area);
    l.m_currentLine = start;
    l.sendLine();
    l.readStatusCharacter();
    l.m_quietGiveUp = true;
    if (area == 4) {
        if (l.m_statusCharacter == 'E')
            l.checkAnswer(); // the write mode refused: tried again, at most three times
        if (!l.m_lineGivenUp && !l.stopFlags() && !l.unitSilent()) {
            l.sink().setMessage(m_link.context().msg(QStringLiteral("gsUpdateFirmware")));
            const bool go = confirmFlash ? confirmFlash()
                                         : l.message({QStringLiteral("gsMsgProgrammiereFlash")},
                                                     Notice::Severity::Question, QString(), Notice::Ok | Notice::Cancel)
                    == Notice::Ok;
            if (!go) {
                l.m_quietGiveUp = false;
                l.writeRaw(QByteArray(1, 27));
                o.kind = TransferOutcome::Declined;
                o.detail
                    = m_link.context().msgOr(QStringLiteral("gsMsgFirmwareNichtBestätigt"),
                                             QStringLiteral("die Aktualisierung der Firmware wurde nicht bestätigt"));
                return finish(o);
            }
            l.writeRaw("\r");
            // The confirming CR is the line now: a resend of it keeps the firmware pacing.
            l.m_firmwarePacing = true;
            l.m_lastLineAt = l.m_w.now();
            l.sink().setCancelVisible(false);
            l.pause(250);
            l.readStatusCharacter();
            l.m_currentLine.clear(); // a retry of the confirmation is the CR again
        }
    }
    l.checkAnswer();
    l.m_quietGiveUp = false;
    if (l.m_lineGivenUp) {
        o.kind = TransferOutcome::WriteRefused;
        o.detail = m_link.context()
                       .msgOr(QStringLiteral("gsMsgSchreibenVerweigertDetail"),
                              QStringLiteral("das Gerät hat das Schreiben abgelehnt (\"%1\" dreimal mit \"E\" "
                                             "beantwortet); es wurde nichts geschrieben"))
                       .arg(Link::maskSecrets(start));
        l.notify(QStringLiteral("writeRefused"),
                 m_link.context()
                         .msgOr(QStringLiteral("gsMsgSchreibenVerweigert"),
                                QStringLiteral("Das Gerät hat das Schreiben abgelehnt: \"%1\" wurde dreimal mit \"E\" "
                                               "beantwortet. Es wurde nichts geschrieben."))
                         .arg(Link::maskSecrets(start))
                     + QStringLiteral("\r\n") + m_link.context().msg(QStringLiteral("gsMsgKeineAntwortHilfe")),
                 Notice::Severity::Critical);
        if (area == 4)
            l.writeRaw(QByteArray(1, 27)); // leave the programming mode
        return finish(o);
    }
    // A write that stops once its lines have begun is left with ESC, never with the end
    // record (the unit would take the part written for the whole), and the user is told how
    // much reached the unit. Before the first line the end record still closes the write
    // mode.
    bool linesSent = false;
    if (!l.stopFlags() && !l.unitSilent()) {
        const bool quiet = l.m_quietNoAnswer;
        l.m_quietNoAnswer = true; // reported below, with what reached the unit
        o = sendLines(lines, area);
        l.m_quietNoAnswer = quiet;
        linesSent = true;
    } else {
        o.kind = l.unitSilent() ? TransferOutcome::NoAnswer : TransferOutcome::Cancelled;
    }

    const int dataLines = int(lines.indexOf(EndRecord));
    const bool partWritten = o.linesSent > 0;
    if (l.m_portLost) {
        // No ESC can reach the unit now; the user still learns what it holds.
        o = finish(o);
        if (partWritten)
            o.detail += QStringLiteral(". ") + incompleteSentence(m_link.context(), area, o.linesAccepted, dataLines);
        return o;
    }
    if (o.kind == TransferOutcome::LineRefused) {
        abandonWrite();
        const QString refused = m_link.context()
                                    .msgOr(QStringLiteral("gsMsgZeileAbgelehnt"),
                                           QStringLiteral("Zeile %1 (%2) wurde vom Gerät dreimal abgelehnt."))
                                    .arg(o.failedLine)
                                    .arg(Link::maskSecrets(lines.value(o.failedLine - 1)));
        const QString incomplete = incompleteSentence(m_link.context(), area, o.linesAccepted, dataLines);
        o.detail = refused + QLatin1Char(' ') + incomplete;
        l.notify(QStringLiteral("gsMsgZeileNichtGebrannt"),
                 m_link.context().msg(QStringLiteral("gsMsgZeileNichtGebrannt")) + QStringLiteral("\r\n") + refused
                     + QStringLiteral("\r\n") + incomplete + QStringLiteral("\r\n")
                     + m_link.context().msg(QStringLiteral("gsMsgKeineAntwortHilfe")),
                 Notice::Severity::Critical);
    } else if (l.cancelled()) {
        o.kind = TransferOutcome::Cancelled;
        if (partWritten) {
            const QString incomplete = incompleteSentence(m_link.context(), area, o.linesAccepted, dataLines);
            o.detail = m_link.context().msgOr(QStringLiteral("gsMsgSchreibenAbgebrochenSatz"),
                                              QStringLiteral("Das Schreiben wurde abgebrochen."))
                + QLatin1Char(' ') + incomplete;
            l.message({QStringLiteral("gsMsgSchreibenAbgebrochen")}, Notice::Severity::Critical, incomplete);
        } else {
            o.detail = m_link.context().msgOr(
                QStringLiteral("gsMsgSchreibenAbgebrochenDetail"),
                QStringLiteral("das Schreiben wurde abgebrochen; die Konfiguration des Geräts ist unvollständig"));
            l.message({QStringLiteral("gsMsgSchreibenAbgebrochen")}, Notice::Severity::Critical);
        }
        l.waiter().wait(500, [&l] { return l.context().closing; });
        l.m_cancel->clear();
        if (partWritten)
            abandonWrite();
        else
            sendEndRecord();
    } else if (l.unitSilent() || o.kind == TransferOutcome::NoAnswer) {
        o.kind = TransferOutcome::NoAnswer;
        l.m_missedAnswers = 0;
        const QStringList noAnswer {QStringLiteral("gsMsgKeineAntwort"), QStringLiteral("gsMsgKeineAntwortHilfe")};
        if (partWritten) {
            const QString incomplete = incompleteSentence(m_link.context(), area, o.linesAccepted, dataLines);
            o.detail = m_link.context().msg(QStringLiteral("gsMsgKeineAntwort")) + QLatin1Char(' ') + incomplete;
            l.message(noAnswer, Notice::Severity::Critical, incomplete);
            abandonWrite();
        } else {
            o.detail = m_link.context().msgOr(
                QStringLiteral("gsMsgSchreibenKeineAntwort"),
                QStringLiteral(
                    "das Gerät hat beim Schreiben aufgehört zu antworten; seine Konfiguration ist unvollständig"));
            if (linesSent)
                l.message(noAnswer, Notice::Severity::Critical);
            l.m_quietNoAnswer = true; // the no-answer message has been shown once
            sendEndRecord();
            l.m_quietNoAnswer = false;
        }
    } else if (o.kind == TransferOutcome::Ok && area == 4) {
        waitForRestart();
    } else if (m_link.context().closing) {
        o.kind = TransferOutcome::Cancelled;
    }
    l.sink().setCancelVisible(true);
    return finish(o);
}

void ConfigTransfer::waitForRestart()
{
    Link& l = m_link;
    l.sink().setMessage(m_link.context().msg(QStringLiteral("gsModemStartUP")));
    l.m_cancel->clear();
    l.sink().setProgressRange(0, 20);
    l.sink().setProgressValue(0);
    for (int i = 1; i <= 20; ++i) {
        l.waiter().wait(100, [&l] { return l.context().closing; });
        l.sink().setProgressValue(i);
        if (m_link.context().closing)
            break;
    }
}
