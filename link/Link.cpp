#include "link/Link.h"

#include "core/Logging.h"
#include "core/ProgramContext.h"
#include "image/Image.h"
#include "link/Channel.h"
#include "link/Waiter.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {
int hexByteAt(const QByteArray& s, int pos) { return Image::hexByteAt(QByteArrayView(s), pos); }
}

bool UnitImage::complete() const
{
    for (bool f : filled)
        if (!f)
            return false;
    return true;
}

QString UnitImage::entry(int block, int record, int i) const { return Image::hex2(rec[block][record][i]); }

QStringList UnitImage::lines() const
{
    QStringList out;
    for (int b = 0; b < 64; ++b)
        for (int r = 0; r < 8; ++r) {
            QString line = QStringLiteral(":");
            for (int i = 0; i < 21; ++i)
                line += entry(b, r, i);
            out << line;
        }
    out << QStringLiteral(":00000001FF");
    return out;
}

Link::Link(const ProgramContext& context, Channel& channel, Waiter& waiter, LinkSink& sink)
    : m_context(context), m_ch(channel, waiter), m_w(waiter), m_sink(&sink)
{
}

bool Link::stopFlags()
{
    if (!m_portLost && !m_ch.isOpen())
        m_portLost = true;
    return m_cancel->cancelled() || m_context.closing || m_portLost;
}

Notice::Answer LinkSink::notify(const Notice& notice)
{
    if (notice.defaultAnswer != Notice::NoAnswer)
        return notice.defaultAnswer;
    // Nobody to ask: a question gets its cautious answer.
    for (const Notice::Answer a : {Notice::Cancel, Notice::No, Notice::Ok, Notice::Yes})
        if (notice.answers & a)
            return a;
    return Notice::Ok;
}

Notice::Answer Link::notify(const QString& key, const QString& text, Notice::Severity severity, const QString& title,
                            int answers, Notice::Answer defaultAnswer)
{
    m_lastMessageKey = key;
    Notice n;
    n.key = key;
    n.text = text;
    n.title = title.isEmpty() ? m_context.programName : title;
    n.severity = severity;
    n.answers = answers;
    n.defaultAnswer = defaultAnswer;
    return m_sink->notify(n);
}

Notice::Answer Link::message(const QStringList& keys, Notice::Severity severity, const QString& extra, int answers,
                             Notice::Answer defaultAnswer)
{
    QStringList parts;
    for (const QString& k : keys)
        parts << m_context.msg(k);
    if (!extra.isEmpty())
        parts.insert(qMin(1, int(parts.size())), extra);
    return notify(keys.value(0), parts.join(QStringLiteral("\r\n")), severity, QString(), answers, defaultAnswer);
}

void Link::showPortLost()
{
    if (!m_portLost || m_portLostShown)
        return;
    m_portLostShown = true;
    lamp(LinkColour::Red);
    const QString why = m_ch.errorString();
    notify(
        QStringLiteral("portLost"),
        m_context
            .msgOr(QStringLiteral("gsMsgVerbindungUnterbrochen"),
                   QStringLiteral(
                       "Die Verbindung zum Gerät ist unterbrochen: die Schnittstelle ist nicht mehr verfügbar%1. "
                       "Prüfen Sie das Kabel und die Einstellungen der Schnittstelle; der Vorgang wurde abgebrochen."))
            .arg(why.isEmpty() ? QString() : QStringLiteral(" (") + why + QStringLiteral(")")),
        Notice::Severity::Critical);
}

void Link::resetForCommand()
{
    m_missedAnswers = 0;
    m_failedTries = 0;
    m_lineGivenUp = false;
    m_portLost = false;
    m_refusal = Refusal::LineFault;
    m_cancel->clear();
}

void Link::declareSilent()
{
    m_missedAnswers = 5;
    reportNoAnswer();
}

void Link::sendLine(const QString& line)
{
    m_currentLine = line;
    sendLine();
}

void Link::sendFirmwareLine(const QString& line)
{
    m_currentLine = line;
    sendFirmwareLine();
}

void Link::writeRaw(const QByteArray& bytes)
{
    if (m_ch.isOpen())
        m_ch.write(bytes);
}

void Link::pause(int ms)
{
    note(QStringLiteral("pause %1 ms").arg(ms));
    m_w.wait(ms, [this] { return stopFlags(); });
}

void Link::probe()
{
    if (!m_ch.isOpen()) {
        lamp(LinkColour::Red);
        return;
    }
    m_ch.discardOutput();
    m_ch.discardInput();
    writeRaw("\r");
    m_w.wait(300, [this] { return m_context.closing; });
    if (m_ch.inBufferCount() == 0) {
        lamp(LinkColour::Red);
        return;
    }
    while (m_ch.inBufferCount() > 0) {
        const QByteArray c = m_ch.readChar();
        if (c == ">" || c == "E") {
            lamp(c == ">" ? LinkColour::Green : LinkColour::Yellow);
            m_ch.discardInput();
            return;
        }
    }
}

void Link::handshake()
{
    for (;;) {
        if (m_handshakeRefusals > 6) {
            message({QStringLiteral("gsMsgErrorPIC")}, Notice::Severity::Critical);
            m_cancel->cancel();
            m_handshakeRefusals = 0;
            return;
        }
        if (stopFlags())
            return;
        m_ch.discardOutput();
        m_ch.discardInput();
        note(QStringLiteral("handshake"));
        panel3(QStringLiteral("\r"));
        writeRaw("\r");
        pause(200);
        const bool nothing = m_ch.inBufferCount() == 0;
        if (nothing) {
            m_statusCharacter = 0;
            awaitAnswerTimeout();
        }
        bool status = nothing;
        while (m_ch.inBufferCount() > 0 && !stopFlags()) {
            const QByteArray c = m_ch.readChar();
            if (c == ">") {
                lamp(LinkColour::Green);
                m_handshakeRefusals = 0;
                m_ch.discardInput();
                return;
            }
            if (c == "E") {
                lamp(LinkColour::Yellow);
                ++m_handshakeRefusals;
                status = true;
            }
        }
        // Characters without any prompt or "E" count as a missing answer, so that a unit
        // sending only noise cannot keep the handshake going for ever.
        if (!status && !unitSilent() && !stopFlags()) {
            m_statusCharacter = 0;
            awaitAnswerTimeout();
        }
        if (unitSilent()) {
            lamp(LinkColour::Red);
            return;
        }
        if (stopFlags())
            return;
        if (m_handshakeRefusals > 4)
            writeRaw(QByteArray(1, 27));
    }
}

void Link::awaitAnswerTimeout()
{
    pause(500);
    if (m_statusCharacter != '>' && m_statusCharacter != 'E')
        ++m_missedAnswers;
    if (m_missedAnswers == 5)
        reportNoAnswer();
}

void Link::reportNoAnswer()
{
    note(QStringLiteral("the unit does not answer"));
    lamp(LinkColour::Red);
    if (!m_quietNoAnswer)
        message({QStringLiteral("gsMsgKeineAntwort"), QStringLiteral("gsMsgKeineAntwortHilfe")},
                Notice::Severity::Critical);
}

QString Link::maskSecrets(const QString& line)
{
    static const QRegularExpression secret(QStringLiteral("(^|\\s)(P[WAN]:)\\S*"));
    QString shown = line;
    return shown.replace(secret, QStringLiteral("\\1\\2****"));
}

int Link::pauseFor(const QString& line) const
{
    if (line.startsWith(QLatin1String(":PIN")))
        return 1500;
    if (line.startsWith(QLatin1String(":HW")))
        return 250;
    return 100;
}

void Link::writeLine(bool withCr, int ms)
{
    // A resend after silence, or a quick "E" to it, must not shorten the pause the unit
    // needs between two lines.
    if (m_lastLineAt >= 0 && m_w.now() < m_lastLineAt + ms)
        m_w.wait(int(m_lastLineAt + ms - m_w.now()), [this] { return stopFlags(); });
    if (withCr) {
        panel3(m_currentLine);
        writeRaw(m_currentLine.toLatin1() + '\r');
    } else {
        note(QStringLiteral("no answer: the line again"));
        // The line again, without its CR (the confirming CR of a firmware write is itself
        // the line).
        writeRaw(m_currentLine.isEmpty() ? QByteArray("\r") : m_currentLine.toLatin1());
    }
    m_lastLineAt = m_w.now();
}

void Link::sendLine()
{
    m_firmwarePacing = false;
    const int ms = pauseFor(m_currentLine);
    writeLine(true, ms);
    pause(ms);
}

void Link::sendFirmwareLine()
{
    m_firmwarePacing = true;
    writeLine(true, 250);
    pause(250);
}

void Link::resendLine()
{
    if (m_firmwarePacing)
        sendFirmwareLine();
    else
        sendLine();
}

void Link::readStatusCharacter()
{
    m_statusCharacter = 0;
    while (m_ch.inBufferCount() > 0 && !stopFlags()) {
        m_w.yield();
        const QByteArray c = m_ch.readChar();
        if (c == ":" || c == ">") {
            m_statusCharacter = quint8(c[0]);
            lamp(LinkColour::Green);
            break;
        }
        if (c == "E") {
            m_statusCharacter = 'E';
            lamp(LinkColour::Yellow);
            break;
        }
    }
    if (m_statusCharacter)
        note(QStringLiteral("answer %1").arg(QChar(m_statusCharacter)));
    else
        note(QStringLiteral("no answer yet"));
    if (m_ch.isOpen())
        m_ch.discardInput();
}

void Link::checkAnswer()
{
    for (;;) {
        if (stopFlags())
            return;
        if (m_statusCharacter == ':' || m_statusCharacter == '>') {
            m_failedTries = 0;
            m_missedAnswers = 0;
            return;
        }
        if (m_statusCharacter == 'E') {
            if (m_refusal == Refusal::Answer) {
                note(QStringLiteral("refused: the unit's answer, not sent again"));
                m_lineGivenUp = true;
                m_givenUpLine = m_currentLine;
                m_failedTries = 0;
                m_missedAnswers = 0;
                return;
            }
            ++m_failedTries;
            if (m_failedTries >= 3) {
                note(QStringLiteral("refused three times: line given up"));
                m_lineGivenUp = true;
                m_givenUpLine = m_currentLine;
                if (!m_quietGiveUp)
                    message({QStringLiteral("gsMsgZeileNichtGebrannt"), QStringLiteral("gsMsgKeineAntwortHilfe")},
                            Notice::Severity::Critical);
                m_failedTries = 0;
                return;
            }
            note(QStringLiteral("refused: sending again, try %1").arg(m_failedTries + 1));
            resendLine();
            readStatusCharacter();
            continue;
        }
        // No status character: wait up to 500 ms for a late one.
        lamp(LinkColour::Cyan);
        const qint64 deadline = m_w.now() + 500;
        bool came = false;
        while (!stopFlags() && m_w.now() < deadline) {
            m_w.wait(int(deadline - m_w.now()), [this] { return stopFlags() || m_ch.inBufferCount() > 0; });
            if (m_ch.inBufferCount() > 0) {
                readStatusCharacter();
                // A late ">" accepts the line as well as ":".
                if (m_statusCharacter == ':' || m_statusCharacter == 'E' || m_statusCharacter == '>') {
                    came = true;
                    break;
                }
            }
        }
        if (came)
            m_missedAnswers = 0;
        if (stopFlags())
            return;
        if (!came) {
            ++m_missedAnswers;
            writeLine(false, m_firmwarePacing ? 250 : pauseFor(m_currentLine));
        }
        if (unitSilent()) {
            note(QStringLiteral("no answer five times: given up"));
            if (!m_quietNoAnswer)
                message({QStringLiteral("gsMsgKeineAntwort"), QStringLiteral("gsMsgKeineAntwortHilfe")},
                        Notice::Severity::Critical);
            lamp(LinkColour::Cyan);
            return;
        }
        if (stopFlags())
            return;
    }
}

void Link::sendChecked(const QString& line, bool firmwarePacing)
{
    m_currentLine = line;
    if (firmwarePacing)
        sendFirmwareLine();
    else
        sendLine();
    readStatusCharacter();
    checkAnswer();
}

// ---- block read ------------------------------------------------------------------------

void Link::readBlock(UnitImage& image)
{
    const QString command = QStringLiteral(":HR%1:0080:%2")
                                .arg(m_readArea)
                                .arg(QString::number(m_blockAddress, 16).toUpper().rightJustified(4, QLatin1Char('0')));
    panel3(command);
    // Whatever is left of an earlier, failed reply must not be taken for this one.
    m_ch.discardInput();
    writeRaw(command.toLatin1() + '\r');
    m_blockAddress += 128;
    pause(250);
    receiveBlock(image);
    if (m_retryNeeded)
        m_blockAddress -= 128;
}

void Link::receiveBlock(UnitImage& image)
{
    int seen = m_ch.inBufferCount();
    qint64 lastGrowth = m_w.now();
    while (m_ch.inBufferCount() < 380 && !stopFlags()) {
        m_w.yield();
        const int n = m_ch.inBufferCount();
        if (n == 0) {
            m_statusCharacter = 0;
            awaitAnswerTimeout();
            m_retryNeeded = true;
            ++m_failedTries;
            return;
        }
        m_retryNeeded = false;
        if (n != seen) {
            seen = n;
            lastGrowth = m_w.now();
        } else if (m_w.now() - lastGrowth >= BlockStallMs) {
            // A cut reply (or an "E"): this try failed.
            lamp(LinkColour::Yellow);
            m_ch.discardInput();
            m_retryNeeded = true;
            ++m_failedTries;
            return;
        }
        m_w.wait(int(lastGrowth + BlockStallMs - m_w.now()),
                 [&] { return stopFlags() || m_ch.inBufferCount() != seen; });
    }
    if (stopFlags())
        return;
    const QByteArray text = m_ch.readAll();
    if (text.contains('>')) {
        m_retryNeeded = false;
        lamp(LinkColour::Green);
        decodeBlock(text, image);
        if (m_retryNeeded)
            ++m_failedTries;
    } else {
        lamp(LinkColour::Yellow);
        m_retryNeeded = true;
        ++m_failedTries;
    }
}

void Link::decodeBlock(const QByteArray& text, UnitImage& image)
{
    if (stopFlags())
        return;
    int at = text.indexOf(':');
    std::array<std::array<quint8, 21>, 8> recs {};
    int block = -1;
    for (int r = 0; r < 8; ++r) {
        if (at < 0 || at + 43 > text.size()) {
            m_retryNeeded = true;
            return;
        }
        const QByteArray rec = text.mid(at, 43);
        if (r == 0) {
            const int b0 = hexByteAt(rec, 9);
            m_blockNumber = quint8(b0 - 15);
            block = b0 - 15;
        }
        if (!recordChecksumOk(rec)) {
            m_retryNeeded = true;
            return;
        }
        for (int i = 0; i < 21; ++i)
            recs[r][i] = quint8(hexByteAt(rec, 1 + 2 * i));
        at = text.indexOf(':', at + 43);
    }
    if (block < 1 || block > 64) {
        // An erased unit carries no block codes: never write outside the image.
        m_badBlockCode = true;
        m_badBlockValue = block + 15;
        return;
    }
    image.rec[block - 1] = recs;
    image.filled[block - 1] = true;
}

bool Link::recordChecksumOk(const QByteArray& record)
{
    int sum = 0;
    for (int i = 0; i < 20; ++i) {
        const int v = hexByteAt(record, 1 + 2 * i);
        if (v < 0)
            return false;
        sum += v;
    }
    const int own = hexByteAt(record, 41);
    return own >= 0 && own == Image::checksum(sum);
}

bool Link::readConfiguration(UnitImage& image)
{
    m_blockAddress = 0;
    m_failedTries = 0;
    m_retryNeeded = false;
    m_badBlockCode = false;
    int stored = 0;
    m_sink->setProgressRange(0, 64);
    m_sink->setProgressValue(0);
    while (m_blockAddress < 0x2000) {
        m_w.yield();
        if (unitSilent() || stopFlags() || m_failedTries >= 3 || m_badBlockCode)
            break;
        readBlock(image);
        if (!m_retryNeeded && !m_badBlockCode && !stopFlags()) {
            // The retry budget is per block: lost replies of earlier blocks do not count.
            m_failedTries = 0;
            m_missedAnswers = 0;
            m_sink->setProgressValue(++stored);
        }
    }
    return m_blockAddress >= 0x2000 && !m_retryNeeded && !m_badBlockCode && image.complete();
}

bool Link::readBlocks(UnitImage& image, const QList<int>& blocks)
{
    m_readArea = 3;
    m_retryNeeded = false;
    m_badBlockCode = false;
    int stored = 0;
    m_sink->setProgressRange(0, int(blocks.size()));
    m_sink->setProgressValue(0);
    for (const int b : blocks) {
        m_blockAddress = long(b) * 128;
        m_failedTries = 0;
        do {
            m_w.yield();
            if (unitSilent() || stopFlags() || m_badBlockCode)
                return false;
            readBlock(image);
        } while (m_retryNeeded && m_failedTries < 3);
        if (m_retryNeeded || m_badBlockCode || stopFlags() || !image.filled[b])
            return false;
        m_sink->setProgressValue(++stored);
    }
    return true;
}

// ---- 16-byte reads ----------------------------------------------------------------------

QByteArray Link::readRecord(const QString& command)
{
    for (int attempt = 0; attempt <= StatusRepeats; ++attempt) {
        if (attempt > 0)
            note(QStringLiteral("partial reply: reading again, try %1").arg(attempt + 1));
        panel3(command);
        writeRaw(command.toLatin1() + '\r');
        m_w.wait(400, [this] { return m_context.closing || m_portLost || !m_ch.isOpen(); });
        if (stopFlags() && !m_cancel->cancelled())
            return QByteArray();
        const int n = m_ch.inBufferCount();
        if (n == 0) {
            lamp(LinkColour::Red);
            return QByteArray();
        }
        if (n < 65) {
            // A partial reply: the query again, a bounded number of times.
            lamp(LinkColour::Yellow);
            m_ch.discardInput();
            continue;
        }
        const QByteArray text = m_ch.readAll();
        if (text.contains("OK") && text.contains('>')) {
            lamp(LinkColour::Green);
            m_ch.discardInput();
            return text;
        }
        lamp(LinkColour::Yellow);
        return QByteArray();
    }
    return QByteArray();
}

int Link::dataByte(const QByteArray& reply, int k)
{
    const int v = hexByteAt(reply, 11 + 2 * k);
    return v < 0 ? 0 : v;
}
