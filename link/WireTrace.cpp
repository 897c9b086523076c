#include "link/WireTrace.h"

#include "core/Logging.h"
#include "link/Link.h"
#include "link/Waiter.h"

#include <QMutex>
#include <atomic>
#include <QRegularExpression>
#include <cctype>

namespace {
struct Recording {
    QMutex mutex;
    bool active = false;
    bool showAlso = false; // the category's debug level was on before the recording
    QByteArray lines;
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
            r.lines += message.toUtf8();
            r.lines += '\n';
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

void startRecording()
{
    Recording& r = recordingState();
    QMutexLocker lock(&r.mutex);
    if (r.active)
        return;
    r.lines.clear();
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
                     WireTrace::escape(shown) + (discarded ? QStringLiteral("  (discarded)") : QString()));
}

QString TracingChannel::maskSent(const QByteArray& data)
{
    static const QRegularExpression pinRead(QStringLiteral("^:HR2\\s.*AD:0010\\b"));
    static const QRegularExpression pinRecord(QStringLiteral("^(:..0010..)([0-9A-Fa-f]*)"));
    QString line = Link::maskSecrets(QString::fromLatin1(data));
    if (line.startsWith(QLatin1String(":HW2")))
        m_parameterWrite = true;
    else if (line.startsWith(QLatin1String(":00000001FF")) || line.startsWith(QChar(0x1B)))
        m_parameterWrite = false;
    else if (m_parameterWrite) {
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
    if (WireTrace::enabled())
        WireTrace::event(m_clock.now(), '>', WireTrace::escape(maskSent(data).toLatin1()));
    m_inner.write(data);
}

void TracingChannel::note(const QString& text) { WireTrace::event(m_clock.now(), '-', text); }
