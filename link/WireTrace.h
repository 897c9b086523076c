#pragma once
// The trace of the traffic with the unit, for support: every byte sent and received and the
// link's view of it (handshake, pauses, answers, retries, give-ups), one line per event:
//
//     1234 > :HW3 PW:****<CR>
//     1334 < >
//     1334 - answer >
//
// time in ms (the link's clock), direction (">" to the unit, "<" from it, "-" the link), the
// characters with control characters escaped. Passwords and PINs are masked, and so are the
// phone book's passwords in the configuration's data records (bytes 8 to 11 of record 0 of
// blocks 56 to 63) written to the unit and read from it: such a line ends with
// "(phone-book passwords masked)". The lines go
// through the logging category smsv48.link at debug level, so QT_LOGGING_RULES shows them
// too; a recording (smsv48ctl --trace, the desktop's connection log) collects exactly these.
#include "link/Channel.h"

#include <QByteArray>
#include <QString>
#include <functional>

class QIODevice;
class Waiter;

namespace WireTrace {
// Printable characters as they are; CR, LF, ESC as <CR>, <LF>, <ESC>; any other control
// character or byte above 0x7E as <xx> in hex.
QString escape(const QByteArray& bytes);
// True while someone looks at the trace (a recording, or the category's debug level).
bool enabled();
// One trace line through the category; direction '>', '<' or '-'.
void event(qint64 ms, char direction, const QString& text);

// Recording: collects the trace lines in memory from start() to stop() (the oldest dropped
// beyond MaxBytes). The lines are also shown on stderr only when the category's debug level
// was on anyway. With a sink (e.g. a file from FileAccess::openPrivateForWriting), every line
// is also written to it and flushed as it comes, so that the trace survives a killed program;
// the caller keeps the sink open until stopRecording().
void startRecording(QIODevice* sink = nullptr);
void stopRecording();
bool recording();
// 0 while every line reached the sink of the current or the last recording; else the
// system's error number of the first line that did not (e.g. ENOSPC), or EIO.
int sinkError();
// What was recorded (of the current or the last recording).
QByteArray recorded();
constexpr int MaxBytes = 16 * 1024 * 1024;
}

// The channel as the link sees it, recording every byte through WireTrace while it is
// enabled: bytes sent (secrets masked) and received, including those thrown away unread.
class TracingChannel final : public Channel {
public:
    TracingChannel(Channel& inner, Waiter& clock) : m_inner(inner), m_clock(clock) {}
    bool open(const QString& port, const QString& settings) override { return m_inner.open(port, settings); }
    void close() override { m_inner.close(); }
    bool isOpen() const override { return m_inner.isOpen(); }
    void discardInput() override;
    void discardOutput() override { m_inner.discardOutput(); }
    int inBufferCount() override { return m_inner.inBufferCount(); }
    QByteArray readChar() override;
    QByteArray readAll() override;
    void write(const QByteArray& data) override;
    QString errorString() const override { return m_inner.errorString(); }
    bool lastErrorWasBusy() const override { return m_inner.lastErrorWasBusy(); }
    bool isSimulated() const override { return m_inner.isSimulated(); }

    // A line of the link's own view.
    void note(const QString& text);

    // Masks the phone book's passwords in data records passing by, character by character,
    // so that a record split over several reads is masked as well. Returns true when it
    // masked something.
    struct RecordMasker {
        int position = -1; // in the current record, its ':' is 0; -1 outside a record
        int address = 0;
        bool masking = false;
        bool feed(char& c);
    };

private:
    void received(const QByteArray& bytes, bool discarded = false);
    // The unit's PIN travels as a record of area 2 at address 0010 and comes back in the reply
    // to the read of that address: both are masked like the PW:/PA:/PN: fields.
    QString maskSent(const QByteArray& data);
    bool m_parameterWrite = false; // after ":HW2", until the end record or ESC
    bool m_pinReply = false; // after the read of the PIN record, until the reply's ">"
    bool m_configWrite = false; // after ":HW3", until the end record or ESC
    bool m_blockReply = false; // after a block read of the configuration, until the reply's ">"
    RecordMasker m_replyMasker;
    bool m_maskedSent = false; // the line just sent had a password masked
    Channel& m_inner;
    Waiter& m_clock;
};
