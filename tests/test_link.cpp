// The device link in virtual time against the simulated unit with faults switched on:
// what the user sees (message, lamp, panel 3) and what went over the wire.
#include "Permissions.h"
#include "TestEnv.h"

#include "core/Logging.h"
#include "core/ProgramContext.h"
#include "image/FileAccess.h"
#include "image/HexWriter.h"
#include "image/Image.h"
#include "link/ChangedWrite.h"
#include "link/Link.h"
#include "link/Transfer.h"
#include "link/UnitBackup.h"
#include "link/UnitOps.h"
#include "link/Waiter.h"
#include "link/WireTrace.h"
#include "sim/SimChannel.h"
#include "sim/SimUnit.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

namespace {
// The link's sink and the messages, recorded.
struct Rig : LinkSink {
    const ProgramContext& context;
    SimUnit unit;
    VirtualWaiter w;
    SimChannel ch {unit, &w};
    Link link {context, ch, w, *this};
    QList<int> lamps;
    QStringList panels;
    int progress = 0;
    std::function<void(int)> onProgress;
    std::function<void(int)> onLamp;
    explicit Rig(const ProgramContext& given = gState()) : context(given)
    {
        ch.open(QStringLiteral("sim"), QStringLiteral("9600,N,8,1"));
    }
    void setLamp(int c) override
    {
        lamps << c;
        if (onLamp)
            onLamp(c);
    }
    void setPanel3(const QString& t) override { panels << t; }
    Notice::Answer notify(const Notice& n) override { return Dialogs::show(nullptr, n); }
    void setProgressValue(int v) override
    {
        progress = v;
        if (onProgress)
            onProgress(v);
    }
    bool cancelHidden = false;
    void setCancelVisible(bool v) override { cancelHidden = cancelHidden || !v; }
    int lamp() const { return lamps.isEmpty() ? -1 : lamps.last(); }
};

QList<Dialogs::Message> g_messages;
QList<QMessageBox::StandardButton> g_answers;

QStringList messageTexts()
{
    QStringList r;
    for (const auto& m : g_messages)
        r << m.text;
    return r;
}

const QString noAnswer = QStringLiteral("gsMsgKeineAntwort\r\ngsMsgKeineAntwortHilfe");
const QString statusQuery = QStringLiteral(":HR1 CT:0010 AD:0060");

// A configuration area with block codes and varied data.
QByteArray configArea()
{
    QRandomGenerator rnd(7);
    QByteArray area(8192, 0);
    for (char& c : area)
        c = char(rnd.bounded(256));
    for (int b = 0; b < 64; ++b)
        area[b * 128] = char(0x10 + b);
    return area;
}

// Its 512 records and the end record.
QStringList linesOf(const QByteArray& area)
{
    QStringList lines;
    for (int a = 0; a < 8192; a += 16)
        lines << QString::fromLatin1(SimUnit::record(a, area.mid(a, 16)));
    return lines << QStringLiteral(":00000001FF");
}

QStringList configLines() { return linesOf(configArea()); }

QStringList firmwareLines()
{
    return {QStringLiteral(":10000000000102030405060708090A0B0C0D0E0F78"),
            QStringLiteral(":10001000101112131415161718191A1B1C1D1E1F68"), QStringLiteral(":00000001FF")};
}

QString incompleteConfig(int written) { return QStringLiteral("%1 of 512 records written.").arg(written); }

// A context of the link's own, in English, with the few texts the tests look for.
ProgramContext englishContext()
{
    ProgramContext english;
    english.language = 2;
    english.programName = QStringLiteral("Configurator");
    english.messages
        = {{QStringLiteral("gsMsgKeineAntwort"), QStringLiteral("The unit does not answer.")},
           {QStringLiteral("gsMsgKeineAntwortHilfe"), QStringLiteral("Check the cable.")},
           {QStringLiteral("gsMsgKonfigurationTeilweiseGeschrieben"), QStringLiteral("%1 of %2 records written.")}};
    return english;
}

// What became of a unit command, as the command line tells it.
QString told(const UnitOutcome& o)
{
    return o.ok() ? QStringLiteral("ok") : o.messageKey + QStringLiteral(": ") + o.detail;
}

enum class Command { Handshake, Status, Parameter, Relay, Version, FwVersion, Serial, Validity, Write, Cancel, Close };

QStringList g_linkLog;
void collectLinkLog(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    if (QLatin1String(context.category) == QLatin1String("smsv48.link"))
        g_linkLog << text;
}
} // namespace
Q_DECLARE_METATYPE(SimFaults)

class TestLink : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        g_messages.clear();
        g_answers.clear();
        gState().reset();
        gState().programName = QStringLiteral("SMS Switch Vantor");
        Dialogs::setMessageHandler([](const Dialogs::Message& m) {
            g_messages << m;
            if (!g_answers.isEmpty())
                return g_answers.takeFirst();
            return (m.buttons & QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::Yes;
        });
    }
    void cleanup() { Dialogs::setMessageHandler({}); }

    void pacingOfLines();
    void resendsKeepThePauseOfTheirKind_data();
    void resendsKeepThePauseOfTheirKind();
    void writeThenReadBackGivesTheSameImage();
    void writeLeftPartWayWithEsc_data();
    void writeLeftPartWayWithEsc();
    void wireTrace();
    void readEndsEarly_data();
    void readEndsEarly();

    void changedRecordsAgainstTheUnit_data();
    void changedRecordsAgainstTheUnit();

    // unit parameters, status, relays, firmware
    void unitCommands_data();
    void unitCommands();
    void backupOfTheUnitBeforeAWrite();
    void hexFileCheck_data();
    void hexFileCheck();
    void firmwareUpdate_data();
    void firmwareUpdate();
};

void TestLink::pacingOfLines()
{
    Rig r;
    // Panel 3 shows each line, its password and PIN fields masked (the records' pause of
    // 100 ms and the firmware's of 250 ms: writeThenReadBackGivesTheSameImage, firmwareUpdate).
    struct Case {
        QString line;
        int pause;
        QString shown;
    };
    const QList<Case> cases = {{":PIN PW:1234 PA:0000 PN:1111", 1500, ":PIN PW:**** PA:**** PN:****"},
                               {":HW3 PW:6054", 250, ":HW3 PW:****"},
                               {":SMR PW:1234", 100, ":SMR PW:****"}};
    for (const Case& c : cases) {
        r.w.wait(1000); // lines of separate exchanges (no line follows another sooner than its pause)
        const qint64 t0 = r.w.now();
        r.link.sendLine(c.line);
        QCOMPARE(r.w.now() - t0, qint64(c.pause));
        QCOMPARE(r.panels.last(), c.shown);
    }
    QVERIFY(r.unit.rawIn().startsWith(":PIN PW:1234 PA:0000 PN:1111\r:HW3 PW:6054\r"));
}

// Resends after "E" and after silence, and the line after a late answer, keep the pause of
// their kind between any two lines on the wire: 100 ms for the configuration, 250 ms for
// the firmware. A line is resent after "E" (given up after the third, see
// writeLeftPartWayWithEsc), resent without its CR after silence, accepted by a late ">".
void TestLink::resendsKeepThePauseOfTheirKind_data()
{
    QTest::addColumn<int>("area");
    QTest::addColumn<int>("eFirst");
    QTest::addColumn<int>("silentFirst");
    QTest::addColumn<int>("lateMs"); // from 300 ms on answered ">"
    QTest::addColumn<int>("tries"); // transmissions of each data line
    QTest::addColumn<QByteArray>("first"); // the first data line L on the wire
    QTest::addColumn<int>("lamp"); // on the way
    const int yellow = int(LinkColour::Yellow), cyan = int(LinkColour::Cyan), green = int(LinkColour::Green);
    QTest::newRow("configuration, E twice") << 3 << 2 << 0 << 0 << 3 << QByteArray("L\rL\rL\r") << yellow;
    QTest::newRow("configuration, silent once") << 3 << 0 << 1 << 0 << 2 << QByteArray("L\rL") << cyan;
    QTest::newRow("configuration, silent, then E") << 3 << 2 << 1 << 0 << 3 << QByteArray("L\rLL\r") << yellow;
    QTest::newRow("configuration, silent, then late") << 3 << 0 << 1 << 20 << 2 << QByteArray("L\rL") << cyan;
    QTest::newRow("configuration, late >") << 3 << 0 << 0 << 300 << 1 << QByteArray("L\r") << green;
    QTest::newRow("firmware, E once") << 4 << 1 << 0 << 0 << 2 << QByteArray("L\rL\r") << yellow;
    QTest::newRow("firmware, silent once") << 4 << 0 << 1 << 0 << 2 << QByteArray("L\rL") << cyan;
    QTest::newRow("firmware, silent, then E") << 4 << 2 << 1 << 0 << 3 << QByteArray("L\rLL\r") << yellow;
    QTest::newRow("firmware, silent, then late") << 4 << 0 << 1 << 20 << 2 << QByteArray("L\rL") << cyan;
}

void TestLink::resendsKeepThePauseOfTheirKind()
{
    QFETCH(int, area);
    QFETCH(int, eFirst);
    QFETCH(int, silentFirst);
    QFETCH(int, lateMs);
    QFETCH(int, tries);
    QFETCH(QByteArray, first);
    QFETCH(int, lamp);
    Rig r;
    r.unit.faults.eFirstTries = eFirst;
    r.unit.faults.silentFirstTries = silentFirst;
    r.unit.faults.lateReplyMs = lateMs;
    r.unit.ackChar = lateMs >= 300 ? '>' : ':';
    QStringList lines = configLines().mid(0, 20);
    lines << QStringLiteral(":00000001FF");
    const TransferOutcome o = area == 3 ? ConfigTransfer(r.link).write(lines, 3)
                                        : UnitOps::firmwareUpdate(r.link, lines, [] { return true; });
    QCOMPARE(o.kind, TransferOutcome::Ok);
    QVERIFY(r.lamps.contains(lamp));
    const QByteArray wire = r.unit.rawIn();
    QVERIFY2(wire.contains(first.replace("L", lines[0].toLatin1()) + lines[1].toLatin1()), wire.left(200).constData());
    for (int i = 0; area == 3 && i < 20; ++i) // the unit holds each line, taken after its retries
        QCOMPARE(r.unit.area3.mid(i * 16, 16), QByteArray::fromHex(lines[i].mid(9, 32).toLatin1()));
    const double pause = area == 3 ? 100 : 250;
    QList<double> sent;
    for (const SimLogEntry& e : r.unit.log) {
        if (!e.fromTool || !e.data.startsWith(':') || e.data.startsWith(":HW") || e.data.startsWith(":HR"))
            continue;
        QByteArray line = e.data;
        if (line.endsWith('\r'))
            line.chop(1);
        // Each transmission is one whole line (a line written while the previous one was
        // still going out would run into it here).
        QVERIFY2(lines.contains(QString::fromLatin1(line)), line.constData());
        if (!sent.isEmpty())
            QVERIFY2(
                e.t - sent.last() >= pause - 1e-6,
                qPrintable(QStringLiteral("%1 ms before %2").arg(e.t - sent.last()).arg(QString::fromLatin1(line))));
        sent << e.t;
    }
    QCOMPARE(sent.size(), 20 * tries + 1);
}

void TestLink::writeThenReadBackGivesTheSameImage()
{
    Rig r;
    const QStringList lines = configLines();
    ConfigTransfer t(r.link);
    QCOMPARE(t.write(lines, 3).kind, TransferOutcome::Ok);
    QCOMPARE(messageTexts(), QStringList {QStringLiteral("gsMsgDownloadOK")});
    QCOMPARE(g_messages[0].icon, Dialogs::Icon::Information);
    QCOMPARE(r.unit.received, QStringList({QString(), QStringLiteral(":HW3 PW:6054")}) + lines);
    QCOMPARE(r.progress, 513);
    // Pacing: 200 ms handshake, 250 ms for ":HW3", 100 ms for each of the 513 lines.
    QCOMPARE(r.w.now(), qint64(200 + 250 + 513 * 100));

    g_messages.clear();
    r.unit.clearLog();
    UnitImage img;
    const qint64 t0 = r.w.now();
    QCOMPARE(t.read(img).kind, TransferOutcome::Ok);
    QVERIFY(g_messages.isEmpty()); // no message after a good read
    QCOMPARE(img.lines(), lines);
    // Each block: 250 ms pause, then the rest of its 380 characters at 9600 baud.
    const qint64 took = r.w.now() - t0;
    QVERIFY2(took < 200 + 64 * 420, qPrintable(QString::number(took)));
}

// A write that stops once its lines have begun is left with ESC, never with the end record
// that would make the unit take a few new and the old rest for its configuration; the user
// is told how much reached the unit, in the message and for the command line.
void TestLink::writeLeftPartWayWithEsc_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("last"); // the last line that went out
    QTest::addColumn<int>("sends"); // its transmissions
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("detail");
    const QStringList lines = configLines();
    const QString refused = QStringLiteral("Zeile 7 (%1) wurde vom Gerät dreimal abgelehnt.").arg(lines[6]);
    QTest::newRow("line refused three times") << 0 << int(TransferOutcome::LineRefused) << 6 << 3
                                              << QStringLiteral("gsMsgZeileNichtGebrannt\r\n") + refused
            + QStringLiteral("\r\n") + incompleteConfig(6) + QStringLiteral("\r\nCheck the cable.")
                                              << refused + QLatin1Char(' ') + incompleteConfig(6);
    // Line 5 sent with CR, then again without it after each of the five silences.
    QTest::newRow("unit falls silent") << 1 << int(TransferOutcome::NoAnswer) << 4 << 6
                                       << QStringLiteral("The unit does not answer.\r\n") + incompleteConfig(4)
            + QStringLiteral("\r\nCheck the cable.")
                                       << QStringLiteral("The unit does not answer. ") + incompleteConfig(4);
    QTest::newRow("cancelled") << 2 << int(TransferOutcome::Cancelled) << 99 << 1
                               << QStringLiteral("gsMsgSchreibenAbgebrochen\r\n") + incompleteConfig(99)
                               << QStringLiteral("Das Schreiben wurde abgebrochen. ") + incompleteConfig(99);
    // The token the caller holds (the transfer window's cancel button).
    QTest::newRow("cancelled by the caller")
        << 3 << int(TransferOutcome::Cancelled) << 49 << 1
        << QStringLiteral("gsMsgSchreibenAbgebrochen\r\n") + incompleteConfig(49)
        << QStringLiteral("Das Schreiben wurde abgebrochen. ") + incompleteConfig(49);
}

void TestLink::writeLeftPartWayWithEsc()
{
    QFETCH(int, fault);
    QFETCH(int, kind);
    QFETCH(int, last);
    QFETCH(int, sends);
    QFETCH(QString, message);
    QFETCH(QString, detail);
    // The link speaks its own context's language under its program name; the program's
    // context is closing and has no texts.
    gState().closing = true;
    ProgramContext english = englishContext();
    Rig r(english);
    CancelToken token;
    r.link.setCancelToken(token);
    r.unit.faults.eLine = fault == 0 ? 7 : 0;
    r.unit.faults.silentLine = fault == 1 ? 5 : 0;
    r.onProgress = [&](int v) {
        if (fault == 2 && v == 100)
            r.link.cancel();
        if (fault == 3 && v == 50)
            token.cancel();
    };
    const QByteArray old = r.unit.area3;
    const QStringList lines = configLines();
    const TransferOutcome o = ConfigTransfer(r.link).write(lines, 3);
    QCOMPARE(int(o.kind), kind);
    QCOMPARE(r.unit.rawIn().count(lines[last].toLatin1()), sends);
    QVERIFY(!r.unit.received.contains(lines[last + 1]));
    QCOMPARE(r.unit.received.last(), QStringLiteral("<ESC>"));
    QVERIFY(!r.unit.received.contains(QStringLiteral(":00000001FF")));
    QCOMPARE(r.unit.area3.mid((last + 1) * 16), old.mid((last + 1) * 16));
    QCOMPARE(messageTexts(), QStringList {message});
    QCOMPARE(g_messages[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(g_messages[0].title, QStringLiteral("Configurator"));
    QCOMPARE(o.detail, detail);
    // After a cancel, ESC goes out at least 500 ms after the last line.
    double lastLine = 0, escAt = 0;
    for (const SimLogEntry& e : r.unit.log) {
        if (e.fromTool && e.data.startsWith(lines[last].toLatin1()))
            lastLine = e.t;
        if (e.fromTool && e.data == "\x1b")
            escAt = e.t;
    }
    QVERIFY2(kind != int(TransferOutcome::Cancelled) || escAt - lastLine >= 500, qPrintable(QString::number(escAt)));
    // The link is ready for the next write: the whole configuration goes out.
    r.onProgress = {};
    r.unit.faults = SimFaults();
    QCOMPARE(ConfigTransfer(r.link).write(lines, 3).kind, TransferOutcome::Ok);
    QCOMPARE(r.unit.writesClosed, 1);
}

// The wire trace: every byte each way and the link's view, one line per event with the
// link's time. A recording to a file collects it without the category being switched on by
// the user and shows nothing on stderr then; switched on (QT_LOGGING_RULES), the same lines go
// to the message handler. Passwords and PINs never show (the PIN record and the PIN read back,
// the phone book's passwords sent and read back: the trace says they were masked); a whole
// configuration written with retries and read back stays small; the file is private and
// complete before the recording ends.
void TestLink::wireTrace()
{
    QVERIFY(!lcLink().isDebugEnabled() || qEnvironmentVariableIsSet("QT_LOGGING_RULES"));
    ProfileData site;
    site.users[0] = {QStringLiteral("Meier"), QStringLiteral("0791234567"), QStringLiteral("4711"), false, true};
    site.users[7] = {QStringLiteral("Keller"), QStringLiteral("0799999999"), QStringLiteral("0815"), true, true};
    Image img;
    HexWriter::buildImage(site, img);
    QStringList lines;
    for (int b = 0; b < 64; ++b)
        for (int rec = 0; rec < 8; ++rec)
            lines << img.line(b, rec);
    lines << QStringLiteral(":00000001FF");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trace.txt"));
    QFile file;
    QVERIFY(FileAccess::openPrivateForWriting(gState(), file, path, nullptr));
    g_linkLog.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectLinkLog);
    WireTrace::startRecording(&file);
    QByteArray onDisk;
    {
        Rig r;
        r.link.handshake();
        QVERIFY(UnitOps::writePinDirect(r.link, QStringLiteral("4321")));
        QCOMPARE(UnitOps::pinFrom(UnitOps::readParameter(r.link, 0x10).reply, 0), QStringLiteral("4321"));
        // A wrong old PIN: refused three times.
        QVERIFY(!UnitOps::changePin(r.link, QStringLiteral("1234"), QStringLiteral("9876"), QStringLiteral("5555")));
        UnitOps::switchRelay(r.link, 2, true, QStringLiteral("7777"));
        r.unit.faults.eFirstTries = 1;
        QCOMPARE(ConfigTransfer(r.link).write(lines, 3).kind, TransferOutcome::Ok);
        QCOMPARE(r.unit.area3.mid(56 * 128 + 8, 4) + r.unit.area3.mid(63 * 128 + 8, 4), QByteArray("47110815"));
        UnitImage back;
        QCOMPARE(ConfigTransfer(r.link).read(back).kind, TransferOutcome::Ok);
        onDisk = readAll(path);
    }
    WireTrace::stopRecording();
    qCDebug(lcLink) << "after the recording";
    QVERIFY2(g_linkLog.isEmpty(), qPrintable(g_linkLog.join(QLatin1Char('\n')))); // not passed on
    QLoggingCategory::setFilterRules(QStringLiteral("smsv48.link.debug=true"));
    Rig().link.handshake();
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(previous);

    const QByteArray trace = WireTrace::recorded();
    QCOMPARE(onDisk, trace);
    QVERIFY(Permissions::isPrivate(path));
    QVERIFY(trace.size() < 400 * 1024 && trace.endsWith('\n') && !trace.contains("after the recording"));
    static const QRegularExpression form(QStringLiteral("^ *(\\d+) ([<>-]) (.+)$"));
    QStringList events;
    qint64 last = -1;
    for (const QString& line : QString::fromLatin1(trace).split('\n', Qt::SkipEmptyParts) + g_linkLog) {
        const QRegularExpressionMatch m = form.match(line);
        QVERIFY2(m.hasMatch(), qPrintable(line));
        QVERIFY2(m.captured(1).toLongLong() >= last || line == g_linkLog.first(), qPrintable(line)); // the link's clock
        last = m.captured(1).toLongLong();
        events << m.captured(2) + QLatin1Char(' ') + m.captured(3);
    }
    const QStringList shown = events.mid(events.size() - g_linkLog.size()); // switched on
    QVERIFY2(shown.contains("> <CR>") && shown.contains("- handshake"), qPrintable(shown.join('\n')));
    const QString all = events.join(QLatin1Char('\n'));
    const QString pin = QStringLiteral("> :PIN PW:**** PA:**** PN:****<CR>");
    for (const QString& e :
         {QStringLiteral("> <CR>"), QStringLiteral("- handshake"), QStringLiteral("> :HW2 PW:****<CR>"),
          QStringLiteral("> :10001000") + QString(34, QLatin1Char('*')) + QStringLiteral("<CR>"), QStringLiteral("< E"),
          QStringLiteral("- answer E"), QStringLiteral("- refused: the unit's answer, not sent again"),
          QStringLiteral("> :RS2 PW:****<CR>"), QStringLiteral("- pause 250 ms"),
          QStringLiteral("> :HR2 CT:0010 AD:0010<CR>"), QStringLiteral("> :HW3 PW:****<CR>"),
          QStringLiteral("> :00000001FF<CR>")})
        QVERIFY2(events.contains(e), qPrintable(e + QStringLiteral(" in\n") + all.left(3000)));
    // A refused PIN change is the unit's answer: sent once (a wrong PIN repeated may block the SIM).
    QCOMPARE(events.count(pin), 1);
    QCOMPARE(events.count("> " + lines[100] + "<CR>"), 2); // every record refused once
    for (const char* secret : {"1234", "4321", "5555", "7777", "9876", "34333231", "34373131", "30383135"})
        QVERIFY2(!all.contains(QLatin1String(secret)), secret);
    QVERIFY(events.contains("> " + QString(lines[56 * 8]).replace("34373131", "********")
                            + "<CR>  (phone-book passwords masked)"));
    // Read back: every block reply of the phone book (eight) is masked, and says so.
    QVERIFY(
        all.count(QRegularExpression("^< .*\\(phone-book passwords masked\\)$", QRegularExpression::MultilineOption))
        >= 8);
    QVERIFY(trace.contains(QByteArray("0791234567").toHex().toUpper())); // the number is no secret
}

// A read that ends early: three tries of a block, then the read stops (a block good at the
// third try is read); an erased unit at its first block; the caller's token; the port gone.
// Nothing is kept of the image, and the next read runs whole.
void TestLink::readEndsEarly_data()
{
    QTest::addColumn<int>("fault"); // a block fault, or one of the cases below
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("times"); // -1: always
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("tries"); // of the block's command
    QTest::addColumn<QString>("message");
    const int unreadable = int(TransferOutcome::BlockUnreadable);
    const QString refused = QStringLiteral("gsMsgZeileNichtGebrannt\r\ngsMsgKeineAntwortHilfe");
    using B = SimFaults::Block;
    QTest::newRow("checksum damaged") << int(B::Damage) << 5 << -1 << unreadable << 3 << refused;
    QTest::newRow("checksum damaged twice") << int(B::Damage) << 5 << 2 << int(TransferOutcome::Ok) << 3 << QString();
    QTest::newRow("reply cut short") << int(B::Cut) << 3 << -1 << unreadable << 3 << refused;
    QTest::newRow("380 characters without >") << int(B::NoPrompt) << 64 << -1 << unreadable << 3 << refused;
    QTest::newRow("E to :HR3") << int(B::Refuse) << 1 << -1 << unreadable << 3 << refused;
    QTest::newRow("no reply") << int(B::Silent) << 2 << -1 << unreadable << 3 << refused;
    QTest::newRow("erased unit") << -1 << 1 << 0 << int(TransferOutcome::BadBlockCode) << 1 << "0xFF";
    QTest::newRow("cancelled by the caller")
        << -2 << 11 << 0 << int(TransferOutcome::Cancelled) << 0 << "gsMsgLesenAbgebrochen";
    QTest::newRow("port vanishing") << -3 << 10 << 0 << int(TransferOutcome::PortLost) << 1
                                    << "Die Verbindung zum Gerät ist unterbrochen";
}

void TestLink::readEndsEarly()
{
    QFETCH(int, fault);
    QFETCH(int, block);
    QFETCH(int, times);
    QFETCH(int, kind);
    QFETCH(int, tries);
    QFETCH(QString, message);
    Rig r;
    CancelToken token;
    r.link.setCancelToken(token);
    if (fault >= 0) {
        r.unit.faults.blockFault = SimFaults::Block(fault);
        r.unit.faults.blockFaultBlock = block;
        r.unit.faults.blockFaultTimes = times;
    }
    const QByteArray held = r.unit.area3;
    if (fault == -1)
        r.unit.setErased();
    r.unit.faults.vanishAfterLines = fault == -3 ? 10 : 0;
    r.onProgress = [&](int v) {
        if (fault == -2 && v == 10)
            token.cancel();
    };
    UnitImage img;
    const TransferOutcome o = ConfigTransfer(r.link).read(img);
    QCOMPARE(int(o.kind), kind);
    const bool read = kind == int(TransferOutcome::Ok);
    const QString cmd
        = QStringLiteral(":HR3:0080:%1").arg(QString::number((block - 1) * 128, 16).toUpper().rightJustified(4, '0'));
    QCOMPARE(int(r.unit.received.count(cmd)), tries);
    QCOMPARE(img.complete(), read);
    QCOMPARE(r.progress, read ? 64 : block - 1);
    QCOMPARE(g_messages.size(), read ? 0 : 1);
    QVERIFY(read || g_messages[0].text.contains(message));
    QVERIFY(kind != int(TransferOutcome::BlockUnreadable) || g_messages[0].icon == Dialogs::Icon::Exclamation);
    QVERIFY(r.w.now() < 60000);
    if (fault == -3)
        return;
    r.onProgress = {};
    r.unit.faults = SimFaults();
    r.unit.area3 = held;
    QCOMPARE(ConfigTransfer(r.link).read(img).kind, TransferOutcome::Ok);
    QVERIFY(img.complete());
}

// Sending only the changed records: what went over the wire, what the unit holds afterwards
// and the one sentence the user reads.
void TestLink::changedRecordsAgainstTheUnit_data()
{
    QTest::addColumn<QList<int>>("records"); // changed in the file
    QTest::addColumn<int>("refusedLine"); // data line of a write the unit always refuses
    QTest::addColumn<bool>("clears"); // the unit clears its configuration when a write begins
    QTest::addColumn<int>("writes"); // ":HW3" lines on the wire
    QTest::addColumn<int>("wireRecords"); // data records on the wire (a refused one counted once)
    QTest::addColumn<int>("proofReads"); // block reads after the first write
    QTest::addColumn<QString>("sentence");
    const QList<int> block2 {16, 17, 18, 19, 20, 21, 22, 23};
    // Block 4 written and read back, with one unchanged block.
    QTest::newRow("one record") << QList<int> {37} << 0 << false << 1 << 1 << 2
                                << "1 von 512 Datensätzen gesendet, geprüft.";
    QTest::newRow("whole block") << block2 << 0 << false << 1 << 8 << 2 << "8 von 512 Datensätzen gesendet, geprüft.";
    QTest::newRow("nothing") << QList<int> {} << 0 << false << 0 << 0 << 0
                             << "Das Gerät enthält diese Konfiguration bereits; es wurde nichts gesendet.";
    // The second record is refused three times: ESC, no end record, no whole write behind
    // the user's back, and the user told how much reached the unit.
    QTest::newRow("refused record") << QList<int> {10, 200, 300} << 2 << false << 1 << 2 << 0
                                    << "Die Konfiguration des Geräts ist jetzt unvollständig (1 von 3 Datensätzen "
                                       "geschrieben) und muss erneut geschrieben werden.";
    // The clearing unit: the written block itself shows it, then the whole write and its
    // read-back (64 blocks) follow; a whole block written keeps its block, only the unchanged
    // block read shows the loss.
    const QString whole = QStringLiteral("Ganze Konfiguration gesendet, nachdem das Gerät die unveränderten Datensätze "
                                         "nicht behalten hat (Block %1 enthielt nach dem Schreiben nicht, was er "
                                         "enthalten sollte); geprüft.");
    QTest::newRow("clearing unit") << QList<int> {37} << 0 << true << 2 << 513 << 2 + 64 << whole;
    QTest::newRow("clearing unit, whole block") << block2 << 0 << true << 2 << 520 << 2 + 64 << whole;
}

void TestLink::changedRecordsAgainstTheUnit()
{
    QFETCH(QList<int>, records);
    QFETCH(int, refusedLine);
    QFETCH(bool, clears);
    QFETCH(int, writes);
    QFETCH(int, wireRecords);
    QFETCH(int, proofReads);
    QFETCH(QString, sentence);
    Rig r;
    r.unit.area3 = configArea();
    r.unit.faults.eLine = refusedLine;
    r.unit.faults.clearOnWrite = clears;
    QByteArray file = configArea();
    QStringList expected; // the changed records, in address order
    for (const int record : records) // changed as a new phone number changes them
        expected << SimUnit::record(record * 16,
                                    file.replace(record * 16 + 4, 12, "+41791234567").mid(record * 16, 16));
    const ChangedWriteOutcome o = ChangedWrite::run(r.link, configLines(), linesOf(file));
    const bool esc = refusedLine != 0; // the unit does not hold the file then

    const QStringList& wire = r.unit.received;
    QCOMPARE(wire.filter(QRegularExpression(QStringLiteral("^:HW3"))).size(), writes);
    const QStringList seen = wire.filter(QRegularExpression(QStringLiteral("^:10")));
    QCOMPARE(seen.size(), esc ? wireRecords + 2 : wireRecords); // a refused line goes out three times
    QCOMPARE(wire.filter(QRegularExpression(QStringLiteral("^:HR3"))).size(), proofReads);
    QCOMPARE(wire.contains(QStringLiteral("<ESC>")), esc);
    QCOMPARE(r.unit.writesClosed, esc ? 0 : writes);
    if (!clears && !esc)
        QCOMPARE(seen, expected);
    QCOMPARE(r.unit.area3 == file, !esc);
    QCOMPARE(o.ok(), !esc);
    if (sentence.contains(QLatin1String("%1")))
        sentence = sentence.arg(o.reason.section(QLatin1Char(' '), 1, 1));
    // One message: the write's own "written successfully" never stands beside the sentence.
    QCOMPARE(g_messages.size(), 1);
    QVERIFY2(g_messages[0].text.contains(sentence), qPrintable(g_messages[0].text));
}

// ---- status, relays, parameters, firmware ----------------------------------------------

// Each unit command against a unit with a fault: what went over the wire (the handshake's CRs
// as empty lines), what became of it as the command line says it (German stand-ins: the test
// loads no message table), the messages the user read and the lamp. The status is one query
// after the handshake, a reply cut short once asked again; only a reply that arrived can tell
// that the versions differ; a refused write mode sends no record and names the refused line
// with its password as "****".
void TestLink::unitCommands_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<SimFaults>("faults");
    QTest::addColumn<int>("firmware"); // the unit's version x 100 (0: this program's)
    QTest::addColumn<QString>("wire"); // the lines the unit received, joined by "|"
    QTest::addColumn<QString>("outcome"); // a part of it
    QTest::addColumn<QString>("messages"); // joined by "|"
    QTest::addColumn<int>("lamp"); // -1: any
    const int red = int(LinkColour::Red), yellow = int(LinkColour::Yellow), green = int(LinkColour::Green);
    const QString tool = QLocale::c().toString(UnitOps::toolVersionValue() / 100.0, 'f', 2);
    const QString sq = statusQuery, silent = "gsMsgKeineAntwort: das Gerät antwortet nicht", hw2 = ":HW2 PW:6054|";
    const QString none, hw3 = "|:HW3 PW:6054", serial = "||:HR2 CT:0010 AD:0000", end = ":00000001FF";
    auto row = [](const char* name, Command c, SimFaults f = {}, int fw = 0) -> QTestData& {
        return QTest::newRow(name) << c << f << fw;
    };
    // The handshake: five tries of 200 ms pause and 500 ms wait each; "E" to every CR: ESC
    // after the fifth, sixth and seventh. The probe of the idle link after it changes nothing.
    const QString tries = "|||||", critical = "after 3500 ms, critical";
    row("handshake", Command::Handshake) << QString("|") << QString("after 200 ms") << none << green;
    row("handshake, silent unit", Command::Handshake, {.silent = true}) << tries << critical << noAnswer << red;
    row("handshake, noise instead of a prompt", Command::Handshake, {.junkToCr = true})
        << tries << critical << noAnswer << red;
    row("handshake, E to every CR", Command::Handshake, {.eToCr = true})
        << tries + "<ESC>||<ESC>||<ESC>|" << QString("ms, critical") << QString("gsMsgErrorPIC") << yellow;
    row("status", Command::Status) << "|" + sq << "ok 5 129 1,23 2.00" << none << green;
    row("status cut short once", Command::Status, {.statusCut = 1}) << "|" + sq + "|" + sq << "ok 5" << none << green;
    row("status always cut short", Command::Status, {.statusCut = 100})
        << "|" + sq + "|" + sq + "|" + sq << "keinen vollständigen Statusdatensatz" << none << yellow;
    row("parameter of a silent unit", Command::Parameter, {.silent = true})
        << "|||||||||" << silent + " / " + silent << noAnswer + "|" + noAnswer << red;
    // A relay is not switched without an answer, nor with a password the unit does not know
    // (the status still read).
    row("relay of a silent unit", Command::Relay, {.silent = true}) << "||||" << silent << noAnswer << red;
    row("relay, password unknown", Command::Relay)
        << "|" + sq + "||:RS2 PW:1234|" + sq + "||" + sq + "||:RS2 PW:4711|" + sq
        << "0 gsMsgGeraetPasswortAbgelehnt: Das Gerät hat den Befehl abgelehnt: falsches Gerätepasswort" << none
        << green;
    // Only a reply that arrived can tell that the versions differ (a lost one is read again);
    // at the firmware level both versions are shown with two decimals and the user decides.
    row("version, a reply lost", Command::Version, {.statusLost = 1}, UnitOps::toolVersionValue() + 3)
        << "|" + sq + "||" + sq << "ok" << none << green;
    row("version, no reply", Command::Version, {.statusLost = 3})
        << "|" + sq + "||" + sq + "||" + sq << silent << noAnswer << red;
    row("version differs", Command::Version, {}, 250)
        << "|" + sq << "Version 2.50 des Geräts passt nicht zu diesem Programm (" + tool + ") / gsTitelVersionskonflikt"
        << "gsMsgVersionskonflikt" << green;
    row("firmware version differs: declined, then flashed anyway", Command::FwVersion, {.statusLost = 2}, 250)
        << "|" + sq + "||" + sq + "||" + sq + "||" + sq << "passt nicht zu diesem Programm (" + tool + ") / ok"
        << QStringList(2,
                       "Die Firmware-Version des Geräts weicht von der Version dieses Programms ab.\r\nFirmware des "
                       "Geräts: 2.50; Version dieses Programms: "
                           + tool + ". Firmware trotzdem aktualisieren?")
               .join('|')
        << green;
    // A refused write mode is followed by no record.
    row("serial", Command::Serial) << hw2 + ":06000000303031303030D9|" + end + serial << "ok / 001000" << none << green;
    row("serial, write mode refused", Command::Serial, {.refuseWrite = true})
        << hw2 + end + serial << "gsMsgSeriennummerAbgelehnt: das Gerät hat die Seriennummer nicht angenommen / 000000"
        << none << -1;
    row("serial, record refused", Command::Serial, {.eLine = 1})
        << hw2 + QStringLiteral(":06000000303031303030D9|").repeated(3) + end + serial
        << "Abgelehnt: das Gerät hat die Seriennummer nicht angenommen / 000000"
        << "gsMsgZeileNichtGebrannt\r\ngsMsgKeineAntwortHilfe" << green;
    // The validity: its record between the write mode and the end record, then the restart;
    // the list offers steps of 30 minutes up to a day, then days.
    row("validity", Command::Validity) << hw2 + ":0100200005DA|" + end + "|:SMR PW:4711"
                                       << "ok 1 restart, 23 h 30 min, 24 h 0 min, 2 d" << none << green;
    row("validity, write mode refused", Command::Validity, {.refuseWrite = true})
        << hw2 + end << "gsMsgGültigkeitAbgelehnt: das Gerät hat die Gültigkeitserinnerung nicht angenommen 0 restart"
        << none << -1;
    // A refused write mode named with its password as "****" (the wire carries it).
    row("configuration, write mode refused", Command::Write, {.refuseWrite = true})
        << hw3 + hw3 + hw3 << "abgelehnt (\":HW3 PW:****\" dreimal mit \"E\" beantwortet)"
        << "Das Gerät hat das Schreiben abgelehnt: \":HW3 PW:****\" wurde dreimal mit \"E\" beantwortet. Es wurde "
           "nichts "
           "geschrieben.\r\ngsMsgKeineAntwortHilfe"
        << -1;
    row("configuration, port vanishing", Command::Write, {.vanishAfterLines = 50})
        << hw3 + "|" + configLines().mid(0, 49).join('|')
        << "(48 von 512 Datensätzen geschrieben) und muss erneut geschrieben werden., after 5 s"
        << "Die Verbindung zum Gerät ist unterbrochen: die Schnittstelle ist nicht mehr verfügbar (The device was "
           "removed.). Prüfen Sie das Kabel und die Einstellungen der Schnittstelle; der Vorgang wurde abgebrochen."
        << red;
    // Cancelled before the first record: the end record closes the write mode as before.
    // The link's own context closing ends a write part-way: nothing more goes out (neither ESC nor
    // the end record), whatever the program's context says.
    row("configuration, the link's context closing", Command::Close)
        << hw3 + "|" + configLines().mid(0, 100).join('|') << QString("gsMsgSchreibenAbgebrochen: , after 10 s") << none
        << -1;
    row("configuration, cancelled before the first record", Command::Cancel)
        << hw3 + "|" + end << "gsMsgSchreibenAbgebrochen"
        << "gsMsgSchreibenAbgebrochen" << green;
}

void TestLink::unitCommands()
{
    QFETCH(Command, command);
    QFETCH(SimFaults, faults);
    QFETCH(int, firmware);
    QFETCH(QString, wire);
    QFETCH(QString, outcome);
    QFETCH(QString, messages);
    QFETCH(int, lamp);
    ProgramContext own = englishContext(); // the link's own, for a link not of the program's context
    Rig r(command == Command::Close ? own : gState());
    r.unit.faults = faults;
    r.unit.fwVersion = firmware ? firmware : UnitOps::toolVersionValue();
    r.unit.area3.replace(56 * 128 + 8, 4, "4711"); // user 1's password
    QString said;
    switch (command) {
    case Command::Handshake: {
        r.link.handshake();
        said = QStringLiteral("after %1 ms").arg(r.w.now());
        for (const Dialogs::Message& m : std::as_const(g_messages))
            said += m.icon == Dialogs::Icon::Critical && m.title == gState().programName ? ", critical" : ", other";
        const int lamp = r.lamp(), shown = int(g_messages.size()); // the probe (one CR): the same lamp
        const qint64 t0 = r.w.now(); // within 300 ms, never a message
        r.link.probe();
        if (lamp != r.lamp() || r.w.now() - t0 > 300 || g_messages.size() != shown)
            said += QStringLiteral(", probe %1 after %2 ms").arg(r.lamp()).arg(r.w.now() - t0);
        break;
    }
    case Command::Status: {
        r.unit.area1[0x60] = char(0x81);
        r.unit.area1[0x62] = char(0x05);
        r.unit.fwVersion = 0x7B;
        r.unit.hwVersion = 200;
        const UnitStatus s = UnitOps::refresh(r.link);
        QLocale::setDefault(QLocale(QLocale::German)); // the versions as the user's locale writes numbers
        said = told(s.outcome)
            + QStringLiteral(" %1 %2 %3 ").arg(s.relays).arg(s.inputs).arg(UnitOps::versionText(s.fw));
        QLocale::setDefault(QLocale::c());
        said += UnitOps::versionText(s.hw);
        break;
    }
    case Command::Parameter: {
        const UnitOps::ParameterRead p = UnitOps::readParameter(r.link, 0x00);
        said = p.reply.toHex() + told(p.outcome) + " / " + told(UnitOps::refresh(r.link).outcome);
        break;
    }
    case Command::Relay: {
        const UnitStatus refused = UnitOps::switchRelay(r.link, 2, true, QStringLiteral("1234"));
        said = QStringLiteral("%1 %2").arg(refused.relays & 2).arg(told(refused.outcome));
        if (refused.ok)
            said += " / " + told(UnitOps::switchRelay(r.link, 2, true, QStringLiteral("4711")).outcome);
        break;
    }
    case Command::Version:
        said = told(UnitOps::checkVersion(r.link, UnitOps::VersionLevel::Configuration));
        said += " / " + g_messages.value(0).title;
        break;
    case Command::FwVersion:
        g_answers = {QMessageBox::No, QMessageBox::Yes};
        said = told(UnitOps::checkVersion(r.link, UnitOps::VersionLevel::Firmware));
        said += " / " + told(UnitOps::checkVersion(r.link, UnitOps::VersionLevel::Firmware));
        break;
    case Command::Serial:
        said = told(UnitOps::writeSerial(r.link, QStringLiteral("001000")));
        said += " / " + UnitOps::serialFrom(UnitOps::readParameter(r.link, 0).reply);
        break;
    case Command::Validity:
        said = told(UnitOps::writeValidity(r.link, 5, QStringLiteral("4711")));
        said += QStringLiteral(" %1 restart, ").arg(r.unit.restarts)
            + UnitOps::validityItems("h", "min", "d", "w").mid(166, 3).join(", ");
        break;
    case Command::Write:
    case Command::Cancel:
    case Command::Close:
        gState().closing = command == Command::Close; // not what stops this link
        r.onLamp = [&](int c) { // after the handshake and ":HW3"
            if (command == Command::Cancel && c == int(LinkColour::Green) && r.unit.received.size() == 2)
                r.link.cancel();
        };
        r.onProgress = [&](int v) { own.closing = own.closing || (command == Command::Close && v == 100); };
        said = told(UnitOutcome::fromTransfer(ConfigTransfer(r.link).write(configLines(), 3)));
        said += QStringLiteral(", after %1 s").arg(r.w.now() / 1000);
        break;
    }
    QVERIFY2(said.contains(outcome), qPrintable(said));
    QCOMPARE(r.unit.received.join('|'), wire);
    QCOMPARE(messageTexts().join('|'), messages);
    if (lamp >= 0)
        QCOMPARE(r.lamp(), lamp);
}

// The unit's configuration read whole and kept under its serial number, byte for byte as
// the unit holds it; a unit without a number is "unknown"; nothing is kept from a read that
// failed.
void TestLink::backupOfTheUnitBeforeAWrite()
{
    QTemporaryDir root;
    Rig r;
    r.unit.area3 = configArea();
    r.unit.area2.replace(0, 6, "204518");
    const QDateTime when(QDate(2026, 12, 7), QTime(3, 19, 5));
    const UnitBackup::Result b = UnitBackup::readAndStore(r.link, root.path(), when);
    QVERIFY2(b.ok(), qPrintable(b.outcome.detail + b.fileError));
    QCOMPARE(b.path, root.filePath(QStringLiteral("Backups/204518/20261207-031905.cfg")));
    QCOMPARE(readAll(b.path), configLines().join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
    // The same second again: a second file, not the first one overwritten.
    UnitBackup::readAndStore(r.link, root.path(), when);
    QCOMPARE(UnitBackup::list(root.filePath(QStringLiteral("Backups/204518"))),
             (QStringList {b.path, root.filePath(QStringLiteral("Backups/204518/20261207-031905-2.cfg"))}));

    Rig blank;
    blank.unit.area2.replace(0, 6, QByteArray(6, char(0xFF)));
    const UnitBackup::Result unknown = UnitBackup::readAndStore(blank.link, root.path(), when);
    QCOMPARE(unknown.path, root.filePath(QStringLiteral("Backups/unknown/20261207-031905.cfg")));
    QCOMPARE(UnitBackup::unitName(QStringLiteral("12/4 6")), QStringLiteral("12_46"));

    Rig erased;
    erased.unit.area3.fill(char(0xFF));
    erased.unit.area2.replace(0, 6, "777777");
    QVERIFY(!UnitBackup::readAndStore(erased.link, root.path(), when).ok());
    QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("Backups/777777"))));
}

// Files to send are checked line by line before anything goes out; a configuration must be
// exactly the 512 records in address order.
void TestLink::hexFileCheck_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("configuration");
    QTest::addColumn<QString>("error"); // empty: accepted
    QStringList badSum = firmwareLines();
    badSum[1][20] = badSum[1][20] == QLatin1Char('1') ? QLatin1Char('2') : QLatin1Char('1');
    QStringList shortConfig = configLines();
    shortConfig.removeAt(3);
    QTest::newRow("firmware") << firmwareLines() << false << QString();
    QTest::newRow("checksum wrong") << badSum << false << QStringLiteral("Zeile 2: Prüfsummenfehler");
    QTest::newRow("no end record") << firmwareLines().mid(0, 2) << false << QStringLiteral(":00000001FF");
    QTest::newRow("no record") << QStringList {QStringLiteral("hello")} << false << QStringLiteral("Zeile 1");
    QTest::newRow("configuration") << configLines() << true << QString();
    QTest::newRow("configuration without record 4") << shortConfig << true << QStringLiteral("Zeile 4");
}

void TestLink::hexFileCheck()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, configuration);
    QFETCH(QString, error);
    QString said;
    const QStringList checked = ConfigTransfer::checkHexLines(gState(), lines, &said, configuration);
    QCOMPARE(checked, error.isEmpty() ? lines : QStringList());
    QVERIFY2(said.contains(error), qPrintable(said));
}

// Once the flash is confirmed the cancel button is hidden; the update runs and waits for the
// unit's restart. Declined, or a line refused three times: ESC (the unit leaves the
// programming mode and does not restart on half a firmware), and the user learns how far the
// update got. A refused confirmation is resent as a CR.
void TestLink::firmwareUpdate_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("wireStart");
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("message");
    const QStringList lines = firmwareLines();
    const QByteArray start = "\r:HW4 PW:6054\r";
    QTest::newRow("accepted") << 3 << int(TransferOutcome::Ok)
                              << start
            + (QStringLiteral("\r") + lines.join('\r') + "\r\r" + statusQuery + '\r').toLatin1()
                              << 110 << QStringLiteral("gsMsgDownloadOK");
    QTest::newRow("declined") << 0 << int(TransferOutcome::Declined) << start + "\x1b" << 100 << QString();
    QTest::newRow("line refused")
        << 1 << int(TransferOutcome::LineRefused)
        << start
            + (QStringLiteral("\r") + lines[0] + '\r' + lines[1] + '\r' + lines[1] + '\r' + lines[1] + '\r').toLatin1()
            + "\x1b"
        << 100
        << QStringLiteral("\r\nDie Aktualisierung der Firmware ist nicht abgeschlossen: 1 von 2 Zeilen wurden vom "
                          "Gerät angenommen. Wiederholen Sie die Aktualisierung, bevor Sie das Gerät ausschalten.\r\n");
    QTest::newRow("confirmation refused once") << 2 << int(TransferOutcome::Ok) << start + "\r\r" + lines[0].toLatin1()
                                               << 110 << QStringLiteral("gsMsgDownloadOK");
}

void TestLink::firmwareUpdate()
{
    QFETCH(int, fault);
    QFETCH(int, kind);
    QFETCH(QByteArray, wireStart);
    QFETCH(int, version);
    QFETCH(QString, message);
    Rig r;
    r.unit.fwVersionAfterUpdate = 110;
    r.unit.faults.eLine = fault == 1 ? 2 : 0;
    r.unit.faults.eConfirm = fault == 2 ? 1 : 0;
    const TransferOutcome o = UnitOps::firmwareUpdate(r.link, firmwareLines(), [&] { return fault != 0; });
    QCOMPARE(int(o.kind), kind);
    QVERIFY2(r.unit.rawIn().startsWith(wireStart), r.unit.rawIn().toPercentEncoding().constData());
    QCOMPARE(r.unit.rawIn().count(":HW4"), 1);
    QCOMPARE(r.unit.fwVersion, version);
    QCOMPARE(g_messages.size(), message.isEmpty() ? 0 : 1);
    QVERIFY(message.isEmpty() || g_messages[0].text.contains(message));
    QVERIFY(o.kind != TransferOutcome::LineRefused || o.detail.endsWith(message.trimmed()));
    QCOMPARE(r.cancelHidden, fault != 0); // once the flash is confirmed
    // 200 handshake + 250 ":HW4" + 250 confirmation + 3 x 250 lines + 2000 restart wait, then
    // the status of the restarted unit: 200 handshake + 400 reply.
    QVERIFY(fault != 3 || r.w.now() == 200 + 250 + 250 + 3 * 250 + 2000 + 200 + 400);
}

QTEST_MAIN(TestLink)
#include "test_link.moc"
