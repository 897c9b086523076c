#include "link/WireTrace.h"

#include "core/Logging.h"
#include "link/Link.h"
#include "link/Waiter.h"

#include <QFileDevice>
#include <QMutex>
#include <atomic>
#include <QRegularExpression>
#include <cctype>
#include <cerrno>

namespace {
struct Recording {
    QMutex mutex;
    bool active = false;
    bool showAlso = false; // the category's debug level was on before the recording
    QByteArray lines;
    QIODevice* sink = nullptr;
    int sinkError = 0;
    QtMessageHandler previous = nullptr;
    QLoggingCategory::CategoryFilter previousFilter = nullptr;
    std::atomic<bool> enableLink {false}; // read by the category filter (no lock there)
};

Recording& recordingState()
{
    static Recording r;
    return r;
}

void recordingHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    Recording& r = recordingState();
    QtMessageHandler forward = nullptr;
    bool show = true;
    {
        QMutexLocker lock(&r.mutex);
        forward = r.previous;
        if (r.active && type == QtDebugMsg && context.category
            && qstrcmp(context.category, lcLink().categoryName()) == 0) {
            const QByteArray line = message.toUtf8() + '\n';
            r.lines += line;
            if (r.sink && !r.sinkError) {
                errno = 0;
                bool written = r.sink->write(line) == line.size();
                if (auto* file = qobject_cast<QFileDevice*>(r.sink))
                    written = file->flush() && written;
                if (!written)
                    r.sinkError = errno ? errno : EIO;
            }
            if (r.lines.size() > WireTrace::MaxBytes) {
                // Keep the newest lines, from a line start.
                const int cut = r.lines.indexOf('\n', r.lines.size() - WireTrace::MaxBytes / 2);
                r.lines.remove(0, cut < 0 ? r.lines.size() : cut + 1);
            }
            show = r.showAlso;
        }
    }
    if (!show)
        return;
    if (forward)
        forward(type, context, message);
    else
        qt_message_output(type, context, message);
}
// Switches the link's debug level on while recording, on top of whatever the rules say.
void recordingFilter(QLoggingCategory* category)
{
    Recording& r = recordingState();
    if (r.previousFilter)
        r.previousFilter(category);
    if (r.enableLink && qstrcmp(category->categoryName(), lcLink().categoryName()) == 0)
        category->setEnabled(QtDebugMsg, true);
}
} // namespace

namespace WireTrace {

QString escape(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto c = quint8(ch);
        if (c == '\r')
            out += QLatin1String("<CR>");
        else if (c == '\n')
            out += QLatin1String("<LF>");
        else if (c == 0x1B)
            out += QLatin1String("<ESC>");
        else if (c < 0x20 || c > 0x7E)
            out += QStringLiteral("<%1>").arg(c, 2, 16, QLatin1Char('0'));
        else
            out += QLatin1Char(ch);
    }
    return out;
}

bool enabled() { return lcLink().isDebugEnabled(); }

void event(qint64 ms, char direction, const QString& text)
{
    if (enabled())
        qCDebug(lcLink).noquote() << QStringLiteral("%1 %2 %3").arg(ms, 7).arg(QLatin1Char(direction)).arg(text);
}

void startRecording(QIODevice* sink)
{
    Recording& r = recordingState();
    QMutexLocker lock(&r.mutex);
    if (r.active)
        return;
    r.lines.clear();
    r.sink = sink;
    r.sinkError = 0;
    r.showAlso = lcLink().isDebugEnabled();
    r.previous = qInstallMessageHandler(recordingHandler);
    r.active = true;
    r.enableLink = true;
    lock.unlock();
    // Installing a filter applies it to every category at once.
    r.previousFilter = QLoggingCategory::installFilter(recordingFilter);
}

void stopRecording()
{
    Recording& r = recordingState();
    QMutexLocker lock(&r.mutex);
    if (!r.active)
        return;
    r.active = false;
    r.sink = nullptr;
    qInstallMessageHandler(r.previous);
    r.previous = nullptr;
    r.enableLink = false;
    lock.unlock();
    QLoggingCategory::installFilter(r.previousFilter);
    r.previousFilter = nullptr;
}

bool recording()
{
    Recording& r = recordingState();
    QMutexLocker lock(&r.mutex);
    return r.active;
}

int sinkError()
{
    Recording& r = recordingState();
    QMutexLocker lock(&r.mutex);
    return r.sinkError;
}

QByteArray recorded()
{
    Recording& r = recordingState();
    QMutexLocker lock(&r.mutex);
    return r.lines;
}
} // namespace WireTrace

void TracingChannel::received(const QByteArray& bytes, bool discarded)
{
    if (bytes.isEmpty() || !WireTrace::enabled())
        return;
    QByteArray shown = bytes;
    bool masked = false;
    if (m_blockReply) {
        for (char& c : shown) {
            if (c == '>') {
                m_blockReply = false;
                break;
            }
            masked = m_replyMasker.feed(c) || masked;
        }
    }
    if (m_pinReply) {
        for (char& c : shown) {
            if (c == '>') {
                m_pinReply = false;
                break;
            }
            if (std::isxdigit(static_cast<unsigned char>(c)))
                c = '*';
        }
    }
    WireTrace::event(m_clock.now(), '<',
                     WireTrace::escape(shown) + (discarded ? QStringLiteral("  (discarded)") : QString())
                         + (masked ? QStringLiteral("  (phone-book passwords masked)") : QString()));
}

bool TracingChannel::RecordMasker::feed(char& c)
{
    if (c == ':') {
        position = 0;
        address = 0;
        masking = false;
        return false;
    }
    if (position < 0)
        return false;
    ++position;
    const int digit = QByteArray("0123456789ABCDEF").indexOf(char(std::toupper(static_cast<unsigned char>(c))));
    if (digit < 0 || position > 42) { // the record ended (CR, LF) or was no record
        position = -1;
        return false;
    }
    if (position >= 3 && position <= 6) {
        address = address * 16 + digit;
        // Record 0 of the phone-book blocks 56..63 carries the user's password in data bytes 8..11.
        masking = position == 6 && address >= 56 * 0x80 && address <= 63 * 0x80 && address % 0x80 == 0;
    } else if (masking && position >= 25 && position <= 32) {
        c = '*';
        return true;
    }
    return false;
}

QString TracingChannel::maskSent(const QByteArray& data)
{
    static const QRegularExpression pinRead(QStringLiteral("^:HR2\\s.*AD:0010\\b"));
    static const QRegularExpression pinRecord(QStringLiteral("^(:..0010..)([0-9A-Fa-f]*)"));
    QString line = Link::maskSecrets(QString::fromLatin1(data));
    if (line.startsWith(QLatin1String(":HW2")))
        m_parameterWrite = true;
    else if (line.startsWith(QLatin1String(":HW3")))
        m_configWrite = true;
    else if (line.startsWith(QLatin1String(":00000001FF")) || line.startsWith(QChar(0x1B)))
        m_parameterWrite = m_configWrite = false;
    else if (m_configWrite) {
        QByteArray bytes = line.toLatin1();
        RecordMasker masker;
        bool masked = false;
        for (char& c : bytes)
            masked = masker.feed(c) || masked;
        if (masked)
            line = QString::fromLatin1(bytes);
        m_maskedSent = masked;
    }
    if (line.startsWith(QLatin1String(":HR3:"))) {
        m_blockReply = true;
        m_replyMasker = RecordMasker();
    } else if (m_parameterWrite) {
        const QRegularExpressionMatch m = pinRecord.match(line);
        if (m.hasMatch())
            line = m.captured(1) + QString(m.capturedLength(2), QLatin1Char('*')) + line.mid(m.capturedEnd(2));
    }
    if (pinRead.match(line).hasMatch())
        m_pinReply = true;
    return line;
}

void TracingChannel::discardInput()
{
    // Read what would be thrown away, so that the trace shows it.
    if (WireTrace::enabled() && m_inner.isOpen() && m_inner.inBufferCount() > 0)
        received(m_inner.readAll(), true);
    m_inner.discardInput();
}

QByteArray TracingChannel::readChar()
{
    const QByteArray c = m_inner.readChar();
    received(c);
    return c;
}

QByteArray TracingChannel::readAll()
{
    const QByteArray all = m_inner.readAll();
    received(all);
    return all;
}

void TracingChannel::write(const QByteArray& data)
{
    if (WireTrace::enabled()) {
        m_maskedSent = false;
        const QString shown = WireTrace::escape(maskSent(data).toLatin1());
        WireTrace::event(m_clock.now(), '>',
                         shown + (m_maskedSent ? QStringLiteral("  (phone-book passwords masked)") : QString()));
    }
    m_inner.write(data);
}

void TracingChannel::note(const QString& text) { WireTrace::event(m_clock.now(), '-', text); }
