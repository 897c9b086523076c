#pragma once
// The command exchange with the unit: handshake, probe, pacing, reading and checking the
// status character of a written line, the retry policy, block reads of the configuration
// and the collector of 16-byte read replies. Everything runs on the caller's thread; every
// wait goes through the Waiter and is bounded.
#include "core/CancelToken.h"
#include "core/Notice.h"
#include "link/WireTrace.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>

class Channel;
class ProgramContext;
class Waiter;

// Where the link shows what it does: the lamp cmdStatKom, status-bar panel 3, and (during
// a transfer) the progress window.
class LinkSink {
public:
    virtual ~LinkSink() = default;
    virtual void setLamp(int /*bgr*/) {}
    virtual void setPanel3(const QString& /*text*/) {}
    // A message or a question for the user; returns the answer chosen. Without a user (no
    // override) every notice is taken as read and a question gets its default answer.
    virtual Notice::Answer notify(const Notice& notice);
    virtual void setProgressRange(int /*min*/, int /*max*/) {}
    virtual void setProgressValue(int /*value*/) {}
    virtual void setMessage(const QString& /*text*/) {}
    virtual void setCancelVisible(bool /*visible*/) {}
};

// The configuration image as read from the unit: 64 blocks x 8 records x 21 bytes
// (length, address high, address low, type, 16 data bytes, checksum).
struct UnitImage {
    std::array<std::array<std::array<quint8, 21>, 8>, 64> rec {};
    std::array<bool, 64> filled {};
    bool complete() const;
    // The record as two-character upper-case hex entries (gsEEPROM form).
    QString entry(int block, int record, int i) const;
    // The 512 data lines and the end record, as a profile file holds them.
    QStringList lines() const;
};

namespace LinkColour {
enum { Red = 255, Yellow = 65535, Green = 65280, Cyan = 16776960 };
}

class Link {
public:
    // context: the language of every message, the title of notices, and the closing flag
    // that ends every wait.
    Link(const ProgramContext& context, Channel& channel, Waiter& waiter, LinkSink& sink);
    const ProgramContext& context() const { return m_context; }

    // ---- what the last exchange left ------------------------------------------------------
    // The unit does not answer: five exchanges in a row went without a reply.
    bool unitSilent() const { return m_missedAnswers > 4; }
    quint8 missedAnswers() const { return m_missedAnswers; }
    // The status character of the last line: ':' or '>' accepted, 'E' refused, 0 none.
    quint8 statusCharacter() const { return m_statusCharacter; }
    quint8 handshakeRefusals() const { return m_handshakeRefusals; }
    int failedTries() const { return m_failedTries; }
    bool retryNeeded() const { return m_retryNeeded; }
    int blockNumber() const { return m_blockNumber; }
    // A line was refused three times (cleared by resetForCommand and clearLineGivenUp).
    bool lineGivenUp() const { return m_lineGivenUp; }
    void clearLineGivenUp() { m_lineGivenUp = false; }
    // The last line was acknowledged and not given up.
    bool lastLineAccepted() const { return !m_lineGivenUp && (m_statusCharacter == ':' || m_statusCharacter == '>'); }
    bool portLost() const { return m_portLost; }
    // The first key of the last message shown.
    QString lastMessageKey() const { return m_lastMessageKey; }
    void setLastMessageKey(const QString& key) { m_lastMessageKey = key; }

    // Before a command of the user: no missed answers, no refusals counted, no cancel
    // pending, the port taken as present until it is found missing, refusals handled as
    // line faults again.
    void resetForCommand();

    // What an "E" to a checked line means. LineFault: the line went wrong on the way; it is
    // sent again, and after three refusals the line fault is reported. Answer: the unit's
    // considered answer (a wrong password or PIN): the line is given up at once and not
    // sent again, and the caller says why; repeating a wrong PIN may block the SIM card.
    enum class Refusal { LineFault, Answer };
    void setRefusal(Refusal r) { m_refusal = r; }

    // Cancelling: the link checks the token at every wait. By default the link holds a
    // token of its own; a caller may pass one that a cancel button or the closing window sets.
    CancelToken& cancelToken() { return *m_cancel; }
    void setCancelToken(CancelToken& token) { m_cancel = &token; }
    void cancel() { m_cancel->cancel(); }
    bool cancelled() const { return m_cancel->cancelled(); }

    Channel& channel() { return m_ch; }
    Waiter& waiter() { return m_w; }
    LinkSink& sink() { return *m_sink; }
    void setSink(LinkSink& sink) { m_sink = &sink; }

    // True when a wait must end: user cancel, program closing, or the port is gone.
    bool stopFlags();

    void probe();
    void handshake();
    void awaitAnswerTimeout();
    void sendLine();
    // Sends line with the pacing of its kind (sendLine with currentLine set to line).
    void sendLine(const QString& line);
    void sendFirmwareLine();
    void sendFirmwareLine(const QString& line);
    // Sends the current line again with the pacing it was first sent with.
    void resendLine();
    void readStatusCharacter();
    void checkAnswer();
    // Writes one line and checks its answer (the usual triple).
    void sendChecked(const QString& line, bool firmwarePacing = false);

    // Block read of the configuration into image; progress by one per block stored.
    void readBlock(UnitImage& image);
    void receiveBlock(UnitImage& image);
    void decodeBlock(const QByteArray& text, UnitImage& image);
    static bool recordChecksumOk(const QByteArray& record);
    // All 64 blocks (readConfiguration); returns true when the image is complete.
    bool readConfiguration(UnitImage& image);
    // Reads only the given blocks (0..63, in that order), each tried up to three times;
    // false when one of them could not be read (image.filled tells which were).
    bool readBlocks(UnitImage& image, const QList<int>& blocks);

    // A 16-byte read: handshake done by the caller; writes the command and collects the
    // reply (Einlesen_Schnittstelle_Status_Abfrage). Returns the reply or an empty text.
    QByteArray readRecord(const QString& command);
    // Data byte k of a 16-byte read reply (0 when missing).
    static int dataByte(const QByteArray& reply, int k);

    // Messages: the texts of the keys joined by CR LF, title programName.
    Notice::Answer message(const QStringList& keys, Notice::Severity severity, const QString& extra = QString(),
                           int answers = Notice::Ok, Notice::Answer defaultAnswer = Notice::NoAnswer);
    // A notice with a text of its own (key: what callers and the command line may test).
    Notice::Answer notify(const QString& key, const QString& text, Notice::Severity severity,
                          const QString& title = QString(), int answers = Notice::Ok,
                          Notice::Answer defaultAnswer = Notice::NoAnswer);
    void showPortLost();
    // The no-answer message (unless quietNoAnswer), red lamp.
    void reportNoAnswer();
    void writeRaw(const QByteArray& bytes);
    // Panel 3 shows every line with its secrets masked.
    void panel3(const QString& text) { m_sink->setPanel3(maskSecrets(text)); }
    // A line as it may be shown or logged: the values of the password and PIN fields
    // (PW:, PA:, PN:) replaced by "****". Only the wire carries the real values.
    static QString maskSecrets(const QString& line);
    void lamp(int bgr) { m_sink->setLamp(bgr); }
    // Marks the unit as not answering (a lost status reply after an answered handshake)
    // and reports it, as five missed answers would.
    void declareSilent();
    // Pause on TiInterfaceDownload (ended early by the stop flags).
    void pause(int ms);
    // A line of the link's own view in the wire trace (see WireTrace).
    void note(const QString& text) { m_ch.note(text); }

    // Repeats of a 16-byte read after a partial reply.
    static constexpr int StatusRepeats = 2;
    // A block reply that stops growing for this long is taken as cut.
    static constexpr int BlockStallMs = 500;

private:
    friend class ConfigTransfer;
    QString m_currentLine;
    quint8 m_statusCharacter = 0;
    quint8 m_missedAnswers = 0;
    quint8 m_handshakeRefusals = 0;
    int m_failedTries = 0;
    bool m_retryNeeded = false;
    long m_blockAddress = 0;
    quint8 m_readArea = 3;
    quint8 m_blockNumber = 0;
    bool m_lineGivenUp = false;
    QString m_givenUpLine;
    bool m_badBlockCode = false; // a block reply carried a number outside 1..64
    int m_badBlockValue = 0;
    bool m_portLost = false; // the port disappeared
    bool m_quietGiveUp = false; // the caller reports a given-up line itself
    bool m_quietNoAnswer = false; // the caller reports a missing answer itself
    Refusal m_refusal = Refusal::LineFault;
    QString m_lastMessageKey;
    CancelToken m_ownCancel;
    CancelToken* m_cancel = &m_ownCancel;

    int pauseFor(const QString& line) const;
    const ProgramContext& m_context;
    // Writes the current line (with its CR, or without it for a resend after silence), no
    // sooner than ms after the previous line went out, and notes when it went out.
    void writeLine(bool withCr, int ms);
    TracingChannel m_ch;
    Waiter& m_w;
    LinkSink* m_sink;
    bool m_portLostShown = false;
    bool m_firmwarePacing = false; // the current line was sent with sendFirmwareLine
    qint64 m_lastLineAt = -1; // when the last line went out
};
