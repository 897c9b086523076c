#pragma once
// The command exchange with the unit: handshake, probe, pacing, reading and checking the
// status character of a written line, the retry policy, block reads of the configuration
// and the collector of 16-byte read replies. Everything runs on the caller's thread; every
// wait goes through the Waiter and is bounded.
#include "core/Notice.h"

#include <QByteArray>
#include <QString>
#include <array>

class Channel;
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
    std::array<std::array<std::array<quint8, 21>, 8>, 64> rec{};
    std::array<bool, 64> filled{};
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
    Link(Channel& channel, Waiter& waiter, LinkSink& sink);

    // ---- link state, by the program's names ------------------------------------------
    QString currentLine;
    quint8 statusCharacter = 0;
    quint8 missedAnswers = 0;
    quint8 handshakeRefusals = 0;
    int failedTries = 0;
    bool retryNeeded = false;
    bool userCancelled = false;
    long blockAddress = 0;
    quint8 readArea = 3;
    quint8 blockNumber = 0;

    // ---- what happened beyond the program's flags --------------------------------------
    bool lineGivenUp = false;     // a line was refused three times (reset by the caller)
    QString givenUpLine;
    bool badBlockCode = false;    // a block reply carried a number outside 1..64
    int badBlockValue = 0;
    bool portLost = false;        // the port disappeared
    bool quietGiveUp = false;     // the caller reports a given-up line itself
    bool quietNoAnswer = false;   // the caller reports a missing answer itself
    QString lastMessageKey;       // the first key of the last message shown

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
    void sendFirmwareLine();
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
    // Pause on TiInterfaceDownload (ended early by the stop flags).
    void pause(int ms);

    // Repeats of a 16-byte read after a partial reply.
    static constexpr int StatusRepeats = 2;
    // A block reply that stops growing for this long is taken as cut.
    static constexpr int BlockStallMs = 500;

private:
    int pauseFor(const QString& line) const;
    // Writes the current line (with its CR, or without it for a resend after silence), no
    // sooner than ms after the previous line went out, and notes when it went out.
    void writeLine(bool withCr, int ms);
    Channel& m_ch;
    Waiter& m_w;
    LinkSink* m_sink;
    bool m_portLostShown = false;
    bool m_firmwarePacing = false;   // the current line was sent with sendFirmwareLine
    qint64 m_lastLineAt = -1;        // when the last line went out
};
