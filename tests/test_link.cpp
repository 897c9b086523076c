// The device link in virtual time against the simulated unit with faults switched on:
// what the user sees (message, lamp, panel 3) and what went over the wire.
#include "TestEnv.h"

#include "core/Logging.h"
#include "core/ProgramContext.h"
#include "image/HexWriter.h"
#include "image/Image.h"
#include "link/Link.h"
#include "link/Transfer.h"
#include "link/UnitBackup.h"
#include "link/UnitOps.h"
#include "link/Waiter.h"
#include "sim/SimChannel.h"
#include "sim/SimUnit.h"
#include "core/Settings.h"
#include "link/PortResolver.h"
#include "ui/PortSettings.h"
#include "ui/ShapeLamp.h"
#include "ui/TransferDialog.h"
#include "ui/PortSettingsDialog.h"
#include "ui/MainWindow.h"
#include "ui/DeviceController.h"
#include "ui/EditorBinding.h"
#include "ui/WindowTexts.h"
#include "WindowWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "link/WireTrace.h"

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
    Rig() : Rig(gState()) {}
    explicit Rig(const ProgramContext& given) : context(given)
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

// A configuration of 512 lines with block codes and varied data, and the end record.
QStringList configLines(quint32 seed = 7)
{
    QRandomGenerator rnd(seed);
    SimUnit tmp;
    QByteArray area(8192, 0);
    for (int i = 0; i < area.size(); ++i)
        area[i] = char(rnd.bounded(256));
    for (int b = 0; b < 64; ++b)
        area[b * 128] = char(0x10 + b);
    QStringList lines;
    for (int a = 0; a < 8192; a += 16)
        lines << QString::fromLatin1(SimUnit::record(a, area.mid(a, 16)));
    lines << QStringLiteral(":00000001FF");
    return lines;
}

int countOf(const QStringList& list, const QString& s) { return int(list.count(s)); }

QString incompleteConfig(int written)
{
    return QStringLiteral("Die Konfiguration des Geräts ist jetzt unvollständig (%1 von 512 Datensätzen geschrieben) "
                          "und muss erneut geschrieben werden.")
        .arg(written);
}

// A shown text that carries a password or PIN field with its value.
bool showsSecret(const QString& text)
{
    static const QRegularExpression unmasked(QStringLiteral("P[WAN]:(?!\\*\\*\\*\\*(?:[\\s\"]|$))"));
    return text.contains(unmasked);
}
}

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

    void handshakeAndProbe();
    void silentUnitCostsFiveTimesSevenHundredMs();
    void eToEveryCrSendsEscAfterFifthSixthSeventh();
    void noiseInsteadOfAPromptIsAMissingAnswer();
    void pacingOfLines();
    void resendsKeepThePauseOfTheirKind_data();
    void resendsKeepThePauseOfTheirKind();
    void retryPolicyAfterE();
    void silenceResendsWithoutCrAndLateGreaterThanAccepts();
    void writeThenReadBackGivesTheSameImage();
    void writeRetriesRejectedLines();
    void givenUpLineLeavesTheWriteWithEsc();
    void refusedWriteModeSendsNothing();
    void unitFallingSilentDuringWrite();
    void cancelDuringWrite();
    void linkWorksInTheContextItIsGiven();
    void callersCancelTokenEndsATransfer();
    void wireTraceShowsBothDirectionsWithSecretsMasked();
    void wireTraceRecordingOfAWholeWrite();
    void portVanishingEndsTheTransfer();
    void blockReadFaults_data();
    void blockReadFaults();
    void damagedBlockOnceIsReadAgain();
    void erasedUnitIsRefused();
    void cancelDuringRead();
    void blockNumbersAndChecksums();

    // unit parameters, status, relays, firmware
    void statusDecodingAndVersionText();
    void statusCollectorIsBounded();
    void relayCommands();
    void serialWriteAndIncrementOnlyAfterAck();
    void pinAndValidityOnTheWire();
    void versionCheck();
    void unitCommandsReturnWhatBecameOfThem();
    void backupOfTheUnitBeforeAWrite();
    void backupsKeepTheNewestFiftyPerUnit();
    void lostStatusReplyIsNoVersionMismatch();
    void secretsAreMaskedOnScreen();
    void firmwareFileCheck();
    void firmwareDeclineSendsOneEsc();
    void firmwareUpdateRunsAndWaitsForRestart();
    void firmwareRefusedLineLeavesWithEsc();
    void firmwareConfirmationResentAsCr();
};

void TestLink::handshakeAndProbe()
{
    Rig r;
    r.link.handshake();
    QCOMPARE(r.lamp(), int(LinkColour::Green));
    QCOMPARE(r.unit.received, QStringList {QString()});
    QCOMPARE(r.panels.last(), QStringLiteral("\r"));
    QVERIFY(g_messages.isEmpty());

    r.link.probe();
    QCOMPARE(r.lamp(), int(LinkColour::Green));
    r.unit.faults.eToCr = true;
    r.link.probe();
    QCOMPARE(r.lamp(), int(LinkColour::Yellow));
    r.unit.faults.silent = true;
    const qint64 t0 = r.w.now();
    r.link.probe();
    QCOMPARE(r.lamp(), int(LinkColour::Red));
    QCOMPARE(r.w.now() - t0, qint64(300));
    QVERIFY(g_messages.isEmpty()); // the probe never shows a message
}

void TestLink::silentUnitCostsFiveTimesSevenHundredMs()
{
    Rig r;
    r.unit.faults.silent = true;
    const qint64 t0 = r.w.now();
    r.link.handshake();
    QCOMPARE(r.w.now() - t0, qint64(5 * (200 + 500)));
    QCOMPARE(r.lamp(), int(LinkColour::Red));
    QCOMPARE(r.unit.received, QStringList(5, QString()));
    QCOMPARE(messageTexts(), QStringList {QStringLiteral("gsMsgKeineAntwort\r\ngsMsgKeineAntwortHilfe")});
    QCOMPARE(g_messages[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(g_messages[0].title, QStringLiteral("SMS Switch Vantor"));
}

void TestLink::eToEveryCrSendsEscAfterFifthSixthSeventh()
{
    Rig r;
    r.unit.faults.eToCr = true;
    r.link.handshake();
    const QString esc = QStringLiteral("<ESC>");
    QCOMPARE(r.unit.received, (QStringList {"", "", "", "", "", esc, "", esc, "", esc}));
    QCOMPARE(messageTexts(), QStringList {QStringLiteral("gsMsgErrorPIC")});
    QCOMPARE(g_messages[0].icon, Dialogs::Icon::Critical);
    QVERIFY(r.link.cancelled());
    QCOMPARE(r.link.handshakeRefusals(), quint8(0));
    QCOMPARE(r.lamp(), int(LinkColour::Yellow));
}

void TestLink::noiseInsteadOfAPromptIsAMissingAnswer()
{
    Rig r;
    r.unit.faults.junkToCr = true;
    r.link.handshake();
    QCOMPARE(r.unit.received, QStringList(5, QString()));
    QCOMPARE(messageTexts(), QStringList {QStringLiteral("gsMsgKeineAntwort\r\ngsMsgKeineAntwortHilfe")});
    QCOMPARE(r.lamp(), int(LinkColour::Red));
}

void TestLink::pacingOfLines()
{
    Rig r;
    // Panel 3 shows each line, its password and PIN fields masked.
    struct Case {
        QString line;
        bool firmware;
        int pause;
        QString shown;
    };
    const QString record = QStringLiteral(":1000000010000000000000000000000000000000E0");
    const QList<Case> cases = {{":PIN PW:1234 PA:0000 PN:1111", false, 1500, ":PIN PW:**** PA:**** PN:****"},
                               {":HW3 PW:6054", false, 250, ":HW3 PW:****"},
                               {record, false, 100, record},
                               {":00000001FF", false, 100, ":00000001FF"},
                               {":SMR PW:1234", false, 100, ":SMR PW:****"},
                               {record, true, 250, record}};
    for (const Case& c : cases) {
        r.w.wait(1000); // lines of separate exchanges (no line follows another sooner than its pause)
        const qint64 t0 = r.w.now();
        if (c.firmware)
            r.link.sendFirmwareLine(c.line);
        else
            r.link.sendLine(c.line);
        QCOMPARE(r.w.now() - t0, qint64(c.pause));
        QCOMPARE(r.panels.last(), c.shown);
    }
    QVERIFY(r.unit.rawIn().startsWith(":PIN PW:1234 PA:0000 PN:1111\r:HW3 PW:6054\r"));
}

// Resends after "E" and after silence, and the line after a late answer, keep the pause of
// their kind between any two lines on the wire: 100 ms for the configuration, 250 ms for
// the firmware.
void TestLink::resendsKeepThePauseOfTheirKind_data()
{
    QTest::addColumn<int>("area");
    QTest::addColumn<int>("eFirst");
    QTest::addColumn<int>("silentFirst");
    QTest::addColumn<int>("lateMs");
    QTest::addColumn<int>("tries"); // transmissions of each data line
    QTest::newRow("configuration, E twice") << 3 << 2 << 0 << 0 << 3;
    QTest::newRow("configuration, silent once") << 3 << 0 << 1 << 0 << 2;
    QTest::newRow("configuration, silent, then E") << 3 << 2 << 1 << 0 << 3;
    QTest::newRow("configuration, silent, then late") << 3 << 0 << 1 << 20 << 2;
    QTest::newRow("firmware, E once") << 4 << 1 << 0 << 0 << 2;
    QTest::newRow("firmware, silent once") << 4 << 0 << 1 << 0 << 2;
    QTest::newRow("firmware, silent, then E") << 4 << 2 << 1 << 0 << 3;
    QTest::newRow("firmware, silent, then late") << 4 << 0 << 1 << 20 << 2;
}

void TestLink::resendsKeepThePauseOfTheirKind()
{
    QFETCH(int, area);
    QFETCH(int, eFirst);
    QFETCH(int, silentFirst);
    QFETCH(int, lateMs);
    QFETCH(int, tries);
    Rig r;
    r.unit.faults.eFirstTries = eFirst;
    r.unit.faults.silentFirstTries = silentFirst;
    r.unit.faults.lateReplyMs = lateMs;
    QStringList lines = configLines().mid(0, 20);
    lines << QStringLiteral(":00000001FF");
    const TransferOutcome o = area == 3 ? ConfigTransfer(r.link).write(lines, 3)
                                        : UnitOps::firmwareUpdate(r.link, lines, [] { return true; });
    QCOMPARE(o.kind, TransferOutcome::Ok);
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

void TestLink::retryPolicyAfterE()
{
    Rig r;
    r.link.sendChecked(QStringLiteral(":HW3 PW:6054"));
    r.unit.faults.eFirstTries = 2;
    const QString line = configLines()[0];
    r.link.sendChecked(line);
    QCOMPARE(r.link.statusCharacter(), quint8(':'));
    QCOMPARE(countOf(r.unit.received, line), 3);
    QVERIFY(r.lamps.contains(int(LinkColour::Yellow)));
    QCOMPARE(r.lamp(), int(LinkColour::Green));
    QVERIFY(g_messages.isEmpty());

    // Three rejections: given up with the message, the counter back at 0.
    r.unit.faults.eFirstTries = 3;
    const QString line2 = configLines()[1];
    r.link.sendChecked(line2);
    QCOMPARE(countOf(r.unit.received, line2), 3);
    QVERIFY(r.link.lineGivenUp());
    QCOMPARE(messageTexts(), QStringList {QStringLiteral("gsMsgZeileNichtGebrannt\r\ngsMsgKeineAntwortHilfe")});
    QCOMPARE(g_messages[0].icon, Dialogs::Icon::Critical);
}

void TestLink::silenceResendsWithoutCrAndLateGreaterThanAccepts()
{
    Rig r;
    r.link.sendChecked(QStringLiteral(":HW3 PW:6054"));
    r.unit.faults.silentFirstTries = 1;
    const QString line = configLines()[0];
    r.unit.log.clear();
    r.link.sendChecked(line);
    QCOMPARE(r.link.statusCharacter(), quint8(':'));
    // Sent once with CR, then again without it; the unit answers the complete record.
    QCOMPARE(r.unit.rawIn(), line.toLatin1() + '\r' + line.toLatin1());
    QVERIFY(r.lamps.contains(int(LinkColour::Cyan)));

    // A ">" arriving late, inside the retry wait, accepts the line: it is not sent again.
    r.unit.faults.silentFirstTries = 0;
    r.unit.faults.lateReplyMs = 300;
    r.unit.ackChar = '>';
    const QString line2 = configLines()[1];
    r.unit.log.clear();
    r.link.sendChecked(line2);
    QCOMPARE(r.link.statusCharacter(), quint8('>'));
    QCOMPARE(r.unit.rawIn(), line2.toLatin1() + '\r');
    QVERIFY(g_messages.isEmpty());
}

void TestLink::writeThenReadBackGivesTheSameImage()
{
    Rig r;
    const QStringList lines = configLines();
    ConfigTransfer t(r.link);
    const TransferOutcome w = t.write(lines, 3);
    QCOMPARE(w.kind, TransferOutcome::Ok);
    QCOMPARE(messageTexts(), QStringList {QStringLiteral("gsMsgDownloadOK")});
    QCOMPARE(g_messages[0].icon, Dialogs::Icon::Information);
    QStringList expected {QString(), QStringLiteral(":HW3 PW:6054")};
    expected += lines;
    QCOMPARE(r.unit.received, expected);
    QCOMPARE(r.progress, 513);
    // Pacing: 200 ms handshake, 250 ms for ":HW3", 100 ms for each of the 513 lines.
    QCOMPARE(r.w.now(), qint64(200 + 250 + 513 * 100));

    g_messages.clear();
    r.unit.clearLog();
    UnitImage img;
    const qint64 t0 = r.w.now();
    const TransferOutcome rd = t.read(img);
    QCOMPARE(rd.kind, TransferOutcome::Ok);
    QVERIFY(g_messages.isEmpty()); // no message after a good read
    QVERIFY(img.complete());
    QCOMPARE(img.lines(), lines);
    QCOMPARE(r.unit.received.size(), 65);
    QCOMPARE(r.unit.received[1], QStringLiteral(":HR3:0080:0000"));
    QCOMPARE(r.unit.received[64], QStringLiteral(":HR3:0080:1F80"));
    QCOMPARE(r.progress, 64);
    // Each block: 250 ms pause, then the rest of its 380 characters at 9600 baud.
    const qint64 took = r.w.now() - t0;
    QVERIFY2(took < 200 + 64 * 420, qPrintable(QString::number(took)));
}

void TestLink::writeRetriesRejectedLines()
{
    Rig r;
    r.unit.faults.eFirstTries = 2;
    const QStringList lines = configLines();
    ConfigTransfer t(r.link);
    QCOMPARE(t.write(lines, 3).kind, TransferOutcome::Ok);
    QCOMPARE(countOf(r.unit.received, lines[100]), 3);
    QCOMPARE(r.unit.area3.mid(100 * 16, 16), QByteArray::fromHex(lines[100].mid(9, 32).toLatin1()));
    QCOMPARE(messageTexts(), QStringList {QStringLiteral("gsMsgDownloadOK")});
}

// A line refused three times: the unit is left with ESC, never with the end record that
// would make it take six new and 506 old records for its configuration; the user is told so.
void TestLink::givenUpLineLeavesTheWriteWithEsc()
{
    Rig r;
    r.unit.faults.eLine = 7;
    const QByteArray old = r.unit.area3;
    const QStringList lines = configLines();
    ConfigTransfer t(r.link);
    const TransferOutcome o = t.write(lines, 3);
    QCOMPARE(o.kind, TransferOutcome::LineRefused);
    QCOMPARE(o.failedLine, 7);
    QCOMPARE(o.linesAccepted, 6);
    QStringList expected {QString(), QStringLiteral(":HW3 PW:6054")};
    expected += lines.mid(0, 6);
    expected += QStringList(3, lines[6]);
    expected << QStringLiteral("<ESC>");
    QCOMPARE(r.unit.received, expected);
    QCOMPARE(r.unit.writesClosed, 0);
    QCOMPARE(r.unit.area3.mid(6 * 16), old.mid(6 * 16));
    // One message, never gsMsgDownloadOK: the line, how much was written, write again.
    const QString refused = QStringLiteral("Zeile 7 (%1) wurde vom Gerät dreimal abgelehnt.").arg(lines[6]);
    QCOMPARE(messageTexts(),
             QStringList {QStringLiteral("gsMsgZeileNichtGebrannt\r\n") + refused + QStringLiteral("\r\n")
                          + incompleteConfig(6) + QStringLiteral("\r\ngsMsgKeineAntwortHilfe")});
    QCOMPARE(g_messages[0].icon, Dialogs::Icon::Critical);
    // The command line prints the same sentence.
    QCOMPARE(o.detail, refused + QLatin1Char(' ') + incompleteConfig(6));
}

void TestLink::refusedWriteModeSendsNothing()
{
    Rig r;
    r.unit.faults.refuseWrite = true;
    ConfigTransfer t(r.link);
    const TransferOutcome o = t.write(configLines(), 3);
    QCOMPARE(o.kind, TransferOutcome::WriteRefused);
    QCOMPARE(r.unit.received, (QStringList {"", ":HW3 PW:6054", ":HW3 PW:6054", ":HW3 PW:6054"}));
    QCOMPARE(g_messages.size(), 1);
    QVERIFY(g_messages[0].text.contains(QStringLiteral("Das Gerät hat das Schreiben abgelehnt")));
    QCOMPARE(r.link.lastMessageKey(), QStringLiteral("writeRefused"));
}

void TestLink::unitFallingSilentDuringWrite()
{
    Rig r;
    r.unit.faults.silentLine = 5;
    const QStringList lines = configLines();
    ConfigTransfer t(r.link);
    const TransferOutcome o = t.write(lines, 3);
    QCOMPARE(o.kind, TransferOutcome::NoAnswer);
    // Line 5 sent with CR, then again without it after each of the five silences.
    QCOMPARE(r.unit.rawIn().count(lines[4].toLatin1()), 6);
    QCOMPARE(r.unit.rawIn().count(lines[4].toLatin1() + '\r'), 1);
    QVERIFY(!r.unit.received.contains(lines[5]));
    // Four records written: left with ESC, not taken as complete by an end record.
    QCOMPARE(r.unit.received.last(), QStringLiteral("<ESC>"));
    QVERIFY(!r.unit.received.contains(QStringLiteral(":00000001FF")));
    QCOMPARE(r.unit.writesClosed, 0);
    // The no-answer message once, with how much reached the unit.
    QCOMPARE(messageTexts(),
             QStringList {QStringLiteral("gsMsgKeineAntwort\r\n") + incompleteConfig(4)
                          + QStringLiteral("\r\ngsMsgKeineAntwortHilfe")});
    QCOMPARE(o.detail, QStringLiteral("gsMsgKeineAntwort ") + incompleteConfig(4));
}

void TestLink::linkWorksInTheContextItIsGiven()
{
    // The program's context is closing and has no texts; the link's own context speaks English.
    gState().closing = true;
    ProgramContext english;
    english.language = 2;
    english.programName = QStringLiteral("Configurator");
    english.messages
        = {{QStringLiteral("gsMsgKeineAntwort"), QStringLiteral("The unit does not answer.")},
           {QStringLiteral("gsMsgKeineAntwortHilfe"), QStringLiteral("Check the cable.")},
           {QStringLiteral("gsMsgKonfigurationTeilweiseGeschrieben"), QStringLiteral("%1 of %2 records written.")}};
    {
        // Not stopped by the program's closing flag: the whole write reaches the unit.
        Rig r(english);
        const QStringList lines = configLines();
        const TransferOutcome o = ConfigTransfer(r.link).write(lines, 3);
        QCOMPARE(o.kind, TransferOutcome::Ok);
        QCOMPARE(r.unit.received.last(), QStringLiteral(":00000001FF"));
        QCOMPARE(r.unit.writesClosed, 1);
    }
    {
        // The unit falling silent is told in the link's language, under its program name.
        g_messages.clear();
        Rig r(english);
        r.unit.faults.silentLine = 5;
        const TransferOutcome o = ConfigTransfer(r.link).write(configLines(), 3);
        QCOMPARE(o.kind, TransferOutcome::NoAnswer);
        QCOMPARE(g_messages.size(), 1);
        QCOMPARE(g_messages[0].text,
                 QStringLiteral("The unit does not answer.\r\n4 of 512 records written.\r\nCheck the cable."));
        QCOMPARE(g_messages[0].title, QStringLiteral("Configurator"));
        QCOMPARE(o.detail, QStringLiteral("The unit does not answer. 4 of 512 records written."));
    }
    {
        // The link's own closing flag ends a write part-way: left with ESC, never the end record.
        g_messages.clear();
        gState().closing = false;
        english.closing = false;
        Rig r(english);
        r.onProgress = [&](int v) {
            if (v == 100)
                english.closing = true;
        };
        const QStringList lines = configLines();
        const TransferOutcome o = ConfigTransfer(r.link).write(lines, 3);
        QCOMPARE(o.kind, TransferOutcome::Cancelled);
        QVERIFY(!r.unit.received.contains(lines[101]));
        QVERIFY(!r.unit.received.contains(QStringLiteral(":00000001FF")));
        QCOMPARE(r.unit.writesClosed, 0);
    }
}

void TestLink::cancelDuringWrite()
{
    Rig r;
    r.onProgress = [&](int v) {
        if (v == 100)
            r.link.cancel();
    };
    const QStringList lines = configLines();
    ConfigTransfer t(r.link);
    const TransferOutcome o = t.write(lines, 3);
    QCOMPARE(o.kind, TransferOutcome::Cancelled);
    QCOMPARE(messageTexts(), QStringList {QStringLiteral("gsMsgSchreibenAbgebrochen\r\n") + incompleteConfig(99)});
    QCOMPARE(o.detail, QStringLiteral("Das Schreiben wurde abgebrochen. ") + incompleteConfig(99));
    QCOMPARE(g_messages[0].icon, Dialogs::Icon::Critical);
    QVERIFY(!r.unit.received.contains(lines[100]));
    QCOMPARE(r.unit.received.last(), QStringLiteral("<ESC>"));
    QVERIFY(!r.unit.received.contains(QStringLiteral(":00000001FF")));
    QCOMPARE(r.unit.writesClosed, 0);
    QVERIFY(!r.link.cancelled());
    // ESC goes out at least 500 ms after the cancelled line.
    double lastLine = 0, escAt = 0;
    for (const SimLogEntry& e : r.unit.log) {
        if (e.fromTool && e.data.startsWith(lines[99].toLatin1()))
            lastLine = e.t;
        if (e.fromTool && e.data == "\x1b")
            escAt = e.t;
    }
    QVERIFY2(escAt - lastLine >= 500, qPrintable(QString::number(escAt - lastLine)));

    // Cancelled before the first record: the end record closes the write mode as before.
    Rig r2;
    g_messages.clear();
    int greens = 0;
    r2.onLamp = [&](int c) {
        if (c == int(LinkColour::Green) && ++greens == 2) // the handshake, then ":HW3"
            r2.link.cancel();
    };
    QCOMPARE(ConfigTransfer(r2.link).write(lines, 3).kind, TransferOutcome::Cancelled);
    QCOMPARE(r2.unit.received, (QStringList {"", ":HW3 PW:6054", ":00000001FF"}));
    QCOMPARE(messageTexts(), QStringList {QStringLiteral("gsMsgSchreibenAbgebrochen")});
}

// A token the caller holds (the transfer window's cancel button) ends a write and a read.
void TestLink::callersCancelTokenEndsATransfer()
{
    Rig r;
    CancelToken token;
    r.link.setCancelToken(token);
    r.onProgress = [&](int v) {
        if (v == 50)
            token.cancel();
    };
    const QStringList lines = configLines();
    const TransferOutcome w = ConfigTransfer(r.link).write(lines, 3);
    QCOMPARE(w.kind, TransferOutcome::Cancelled);
    QCOMPARE(w.messageKey, QStringLiteral("gsMsgSchreibenAbgebrochen"));
    QCOMPARE(w.severity, Notice::Severity::Warning);
    QVERIFY(!r.unit.received.contains(lines[50]));
    QCOMPARE(r.unit.received.last(), QStringLiteral("<ESC>"));
    QCOMPARE(r.unit.writesClosed, 0);
    QVERIFY(!token.cancelled()); // taken back once the write has been left

    g_messages.clear();
    r.onProgress = [&](int v) {
        if (v == 10)
            token.cancel();
    };
    UnitImage img;
    const TransferOutcome rd = ConfigTransfer(r.link).read(img);
    QCOMPARE(rd.kind, TransferOutcome::Cancelled);
    QCOMPARE(rd.messageKey, QStringLiteral("gsMsgLesenAbgebrochen"));
    QVERIFY(!img.complete());
    QCOMPARE(messageTexts(), QStringList {QStringLiteral("gsMsgLesenAbgebrochen")});

    // Uncancelled, the same link writes the whole configuration.
    r.onProgress = {};
    const TransferOutcome ok = ConfigTransfer(r.link).write(lines, 3);
    QCOMPARE(ok.kind, TransferOutcome::Ok);
    QCOMPARE(ok.severity, Notice::Severity::Information);
    QCOMPARE(r.unit.writesClosed, 1);
}

namespace {
QStringList g_linkLog;
void collectLinkLog(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    if (QLatin1String(context.category) == QLatin1String("smsv48.link"))
        g_linkLog << text;
}
}

// The wire trace: every byte each way and the link's view, one line per event with the
// link's time; passwords and PINs (also the PIN record and the PIN read back) never show.
void TestLink::wireTraceShowsBothDirectionsWithSecretsMasked()
{
    QVERIFY(!lcLink().isDebugEnabled() || qEnvironmentVariableIsSet("QT_LOGGING_RULES"));
    // What QT_LOGGING_RULES shows is the same lines.
    QLoggingCategory::setFilterRules(QStringLiteral("smsv48.link.debug=true"));
    g_linkLog.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectLinkLog);
    {
        Rig r;
        r.link.handshake();
        QVERIFY(UnitOps::writePinDirect(r.link, QStringLiteral("4321")));
        QCOMPARE(UnitOps::pinFrom(UnitOps::readParameter(r.link, 0x10).reply, 0), QStringLiteral("4321"));
        // A wrong old PIN: refused three times.
        QVERIFY(!UnitOps::changePin(r.link, QStringLiteral("1234"), QStringLiteral("9876"), QStringLiteral("5555")));
        UnitOps::switchRelay(r.link, 2, true, QStringLiteral("7777"));
    }
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());

    static const QRegularExpression form(QStringLiteral("^ *(\\d+) ([<>-]) (.+)$"));
    QStringList events;
    qint64 last = -1;
    for (const QString& line : std::as_const(g_linkLog)) {
        const QRegularExpressionMatch m = form.match(line);
        QVERIFY2(m.hasMatch(), qPrintable(line));
        QVERIFY2(m.captured(1).toLongLong() >= last, qPrintable(line)); // the link's clock
        last = m.captured(1).toLongLong();
        events << m.captured(2) + QLatin1Char(' ') + m.captured(3);
    }
    const QString all = events.join(QLatin1Char('\n'));
    QVERIFY2(events.contains(QStringLiteral("> <CR>")), qPrintable(all));
    QVERIFY2(events.contains(QStringLiteral("- handshake")), qPrintable(all));
    QVERIFY2(events.contains(QStringLiteral("> :HW2 PW:****<CR>")), qPrintable(all));
    QVERIFY2(events.contains(QStringLiteral("> :10001000") + QString(34, QLatin1Char('*')) + QStringLiteral("<CR>")),
             qPrintable(all));
    QVERIFY2(events.contains(QStringLiteral("> :PIN PW:**** PA:**** PN:****<CR>")), qPrintable(all));
    // A refused PIN change is the unit's answer: sent once (a wrong PIN repeated may block the SIM).
    QCOMPARE(events.count(QStringLiteral("> :PIN PW:**** PA:**** PN:****<CR>")), 1);
    QVERIFY2(events.contains(QStringLiteral("< E")), qPrintable(all));
    QVERIFY2(events.contains(QStringLiteral("- answer E")), qPrintable(all));
    QVERIFY2(events.contains(QStringLiteral("- refused: the unit's answer, not sent again")), qPrintable(all));
    QVERIFY2(!events.contains(QStringLiteral("- refused three times: line given up")), qPrintable(all));
    QVERIFY2(events.contains(QStringLiteral("> :RS2 PW:****<CR>")), qPrintable(all));
    QVERIFY2(events.contains(QStringLiteral("- pause 250 ms")), qPrintable(all));
    // The PIN read back: its reply is there, its digits are not.
    QVERIFY2(all.contains(QStringLiteral("> :HR2 CT:0010 AD:0010<CR>")), qPrintable(all));
    for (const char* secret : {"1234", "4321", "5555", "7777", "9876", "34333231"})
        QVERIFY2(!all.contains(QLatin1String(secret)), secret);
}

// A recording collects the trace without the category being switched on by the user, and
// shows nothing on stderr then; a whole configuration write with retries stays small.
void TestLink::wireTraceRecordingOfAWholeWrite()
{
    g_linkLog.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectLinkLog);
    WireTrace::startRecording();
    QVERIFY(WireTrace::recording());
    const QStringList lines = configLines();
    {
        Rig r;
        r.unit.faults.eFirstTries = 1;
        QCOMPARE(ConfigTransfer(r.link).write(lines, 3).kind, TransferOutcome::Ok);
    }
    WireTrace::stopRecording();
    qCDebug(lcLink) << "after the recording";
    qInstallMessageHandler(previous);
    QVERIFY(!lcLink().isDebugEnabled());
    QVERIFY2(g_linkLog.isEmpty(), qPrintable(g_linkLog.join(QLatin1Char('\n')))); // not passed on

    const QByteArray trace = WireTrace::recorded();
    QVERIFY(trace.size() < 400 * 1024);
    QVERIFY(!trace.contains("after the recording"));
    const QList<QByteArray> traceLines = trace.split('\n');
    QVERIFY(traceLines.size() > 512 * 3);
    // Every record went out twice (refused once), each time with its pause.
    QCOMPARE(trace.count(QByteArray("> ") + lines[100].toLatin1() + "<CR>"), 2);
    QVERIFY(trace.contains("> :HW3 PW:****<CR>"));
    QVERIFY(trace.contains("> :00000001FF<CR>"));
    QVERIFY(trace.count("- refused: sending again, try 2") >= 512);
    QVERIFY(trace.endsWith('\n'));
}

void TestLink::portVanishingEndsTheTransfer()
{
    Rig r;
    r.unit.faults.vanishAfterLines = 50;
    ConfigTransfer t(r.link);
    const TransferOutcome o = t.write(configLines(), 3);
    QCOMPARE(o.kind, TransferOutcome::PortLost);
    QCOMPARE(g_messages.size(), 1);
    QVERIFY(g_messages[0].text.contains(QStringLiteral("Die Verbindung zum Gerät ist unterbrochen")));
    QCOMPARE(r.lamp(), int(LinkColour::Red));
    QVERIFY(r.w.now() < 10000);

    Rig r2;
    g_messages.clear();
    r2.unit.faults.vanishAfterLines = 10;
    UnitImage img;
    QCOMPARE(ConfigTransfer(r2.link).read(img).kind, TransferOutcome::PortLost);
    QVERIFY(!img.complete());
    QCOMPARE(g_messages.size(), 1);
}

void TestLink::blockReadFaults_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("block");
    QTest::newRow("checksum damaged") << int(SimFaults::Block::Damage) << 5;
    QTest::newRow("reply cut short") << int(SimFaults::Block::Cut) << 3;
    QTest::newRow("380 characters without >") << int(SimFaults::Block::NoPrompt) << 64;
    QTest::newRow("E to :HR3") << int(SimFaults::Block::Refuse) << 1;
    QTest::newRow("no reply") << int(SimFaults::Block::Silent) << 2;
}

void TestLink::blockReadFaults()
{
    QFETCH(int, fault);
    QFETCH(int, block);
    Rig r;
    r.unit.faults.blockFault = SimFaults::Block(fault);
    r.unit.faults.blockFaultBlock = block;
    UnitImage img;
    const TransferOutcome o = ConfigTransfer(r.link).read(img);
    QCOMPARE(o.kind, TransferOutcome::BlockUnreadable);
    const QString cmd
        = QStringLiteral(":HR3:0080:%1").arg(QString::number((block - 1) * 128, 16).toUpper().rightJustified(4, '0'));
    QCOMPARE(countOf(r.unit.received, cmd), 3); // three tries, then the read stops
    QCOMPARE(r.unit.received.last(), cmd);
    QVERIFY(!img.complete());
    QCOMPARE(r.progress, block - 1);
    QStringList texts = messageTexts();
    QCOMPARE(texts.last(), QStringLiteral("gsMsgZeileNichtGebrannt\r\ngsMsgKeineAntwortHilfe"));
    QCOMPARE(g_messages.last().icon, Dialogs::Icon::Exclamation);
    QVERIFY(r.w.now() < 60000);
}

void TestLink::damagedBlockOnceIsReadAgain()
{
    Rig r;
    r.unit.faults.blockFault = SimFaults::Block::Damage;
    r.unit.faults.blockFaultBlock = 5;
    r.unit.faults.blockFaultTimes = 2;
    UnitImage img;
    QCOMPARE(ConfigTransfer(r.link).read(img).kind, TransferOutcome::Ok);
    QCOMPARE(countOf(r.unit.received, QStringLiteral(":HR3:0080:0200")), 3);
    QVERIFY(img.complete());
    QVERIFY(g_messages.isEmpty());
}

void TestLink::erasedUnitIsRefused()
{
    Rig r;
    r.unit.setErased();
    UnitImage img;
    const TransferOutcome o = ConfigTransfer(r.link).read(img);
    QCOMPARE(o.kind, TransferOutcome::BadBlockCode);
    QCOMPARE(r.unit.received.size(), 2); // stops at the first block
    QCOMPARE(g_messages.size(), 1);
    QVERIFY(g_messages[0].text.contains(QStringLiteral("0xFF")));
    QVERIFY(!img.filled[0]);
}

void TestLink::cancelDuringRead()
{
    Rig r;
    r.onProgress = [&](int v) {
        if (v == 10)
            r.link.cancel();
    };
    UnitImage img;
    const TransferOutcome o = ConfigTransfer(r.link).read(img);
    QCOMPARE(o.kind, TransferOutcome::Cancelled);
    QCOMPARE(messageTexts(), QStringList {QStringLiteral("gsMsgLesenAbgebrochen")});
    QCOMPARE(g_messages[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(r.unit.received.size(), 1 + 10 + 1); // handshake, 10 blocks, handshake again
    QCOMPARE(r.unit.received.last(), QString());
    QVERIFY(!r.link.cancelled());
    QVERIFY(!img.complete());
}

void TestLink::blockNumbersAndChecksums()
{
    Rig r;
    UnitImage img;
    QByteArray area(8192, ' ');
    area[0] = char(0x4F); // block code of block 64
    QByteArray reply = SimUnit::blockReply(area, 0);
    r.link.decodeBlock(reply, img);
    QVERIFY(!r.link.retryNeeded());
    QVERIFY(img.filled[63] && !img.filled[0]);
    area[0] = char(0x10);
    r.link.decodeBlock(SimUnit::blockReply(area, 0), img);
    QVERIFY(img.filled[0]);
    reply = SimUnit::blockReply(area, 0);
    reply[2 + 45 * 7 + 12] = reply[2 + 45 * 7 + 12] == '2' ? '3' : '2'; // record 7 damaged
    UnitImage img2;
    r.link.decodeBlock(reply, img2);
    QVERIFY(r.link.retryNeeded());
    QVERIFY(!img2.filled[0]);
}

// ---- status, relays, parameters, firmware ----------------------------------------------

void TestLink::statusDecodingAndVersionText()
{
    Rig r;
    r.unit.area1[0x60] = char(0x81);
    r.unit.area1[0x62] = char(0x05);
    r.unit.fwVersion = 0x7B;
    r.unit.hwVersion = 200;
    const UnitStatus s = UnitOps::refresh(r.link);
    QVERIFY(s.ok);
    QCOMPARE(s.relays, 0x05);
    QCOMPARE(s.inputs, 0x81);
    QCOMPARE(s.fw, 123);
    QCOMPARE(r.unit.received, (QStringList {"", ":HR1 CT:0010 AD:0060"}));
    QCOMPARE(r.panels.last(), QStringLiteral(":HR1 CT:0010 AD:0060"));
    QCOMPARE(r.lamp(), int(LinkColour::Green));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Switzerland));
    QCOMPARE(UnitOps::versionText(s.fw), QLocale().toString(1.23, 'f', 2));
    QLocale::setDefault(QLocale(QLocale::German));
    QCOMPARE(UnitOps::versionText(s.fw), QStringLiteral("1,23"));
    QLocale::setDefault(QLocale::c());
    QCOMPARE(UnitOps::versionText(s.hw), QStringLiteral("2.00"));
    // An empty reply decodes as all zero.
    const UnitStatus z = UnitOps::decodeStatus(QByteArray());
    QVERIFY(!z.ok);
    QCOMPARE(z.fw + z.hw + z.relays + z.inputs, 0);
}

void TestLink::statusCollectorIsBounded()
{
    Rig r;
    r.unit.faults.statusCut = 100;
    const UnitStatus s = UnitOps::refresh(r.link);
    QVERIFY(!s.ok);
    QCOMPARE(countOf(r.unit.received, QStringLiteral(":HR1 CT:0010 AD:0060")), 1 + Link::StatusRepeats);
    QCOMPARE(r.lamp(), int(LinkColour::Yellow));
    // One partial reply, then a good one.
    Rig r2;
    r2.unit.faults.statusCut = 1;
    QVERIFY(UnitOps::refresh(r2.link).ok);
    QCOMPARE(countOf(r2.unit.received, QStringLiteral(":HR1 CT:0010 AD:0060")), 2);
    // Nothing at all: red lamp, one query.
    Rig r3;
    r3.link.handshake();
    r3.unit.faults.silent = true;
    QVERIFY(!UnitOps::queryStatus(r3.link).ok);
    QCOMPARE(r3.lamp(), int(LinkColour::Red));
}

void TestLink::relayCommands()
{
    Rig r;
    UnitStatus s = UnitOps::switchRelay(r.link, 4, true, QStringLiteral("1234"));
    QVERIFY(s.ok);
    QCOMPARE(s.relays, 0x08);
    QVERIFY(r.unit.received.contains(QStringLiteral(":RS4 PW:1234")));
    QVERIFY(r.unit.rawIn().contains(":RS4 PW:1234\r"));
    s = UnitOps::switchRelay(r.link, 4, false, QStringLiteral("1234"));
    QCOMPARE(s.relays, 0x00);
    QVERIFY(r.unit.received.contains(QStringLiteral(":RC4 PW:1234")));
    // Without an answer: nothing switched, no crash, the no-answer message.
    Rig r2;
    r2.unit.faults.silent = true;
    s = UnitOps::switchRelay(r2.link, 1, true, QStringLiteral("1234"));
    QVERIFY(!s.ok);
    QVERIFY(!r2.unit.received.contains(QStringLiteral(":RS1 PW:1234")));
    QCOMPARE(g_messages.size(), 1);
}

void TestLink::serialWriteAndIncrementOnlyAfterAck()
{
    Rig r;
    r.link.handshake();
    QVERIFY(UnitOps::writeSerial(r.link, QStringLiteral("000999")));
    QCOMPARE(r.unit.serial(), QByteArray("000999"));
    QVERIFY(r.unit.rawIn().endsWith(":00000001FF\r"));
    QCOMPARE(UnitOps::serialFrom(UnitOps::readParameter(r.link, 0).reply), QStringLiteral("000999"));
    QCOMPARE(UnitOps::nextSerial(QStringLiteral("000999")), QStringLiteral("001000"));
    // A unit that refuses the record: the write is not acknowledged.
    r.unit.faults.eLine = 1;
    r.link.handshake();
    QVERIFY(!UnitOps::writeSerial(r.link, QStringLiteral("001000")));
    QCOMPARE(r.unit.serial(), QByteArray("000999"));
    // A refused write mode: no record is sent.
    Rig r2;
    r2.unit.faults.refuseWrite = true;
    r2.link.handshake();
    QVERIFY(!UnitOps::writeSerial(r2.link, QStringLiteral("123456")));
    QVERIFY(!r2.unit.rawIn().contains(":06000000"));
}

void TestLink::pinAndValidityOnTheWire()
{
    Rig r;
    r.link.handshake();
    QVERIFY(UnitOps::writePinDirect(r.link, QStringLiteral("4321")));
    QCOMPARE(r.unit.pin(), QByteArray("4321"));
    const QByteArray reply = UnitOps::readParameter(r.link, 0x10).reply;
    QCOMPARE(UnitOps::pinFrom(reply, 0), QStringLiteral("4321"));
    QVERIFY(UnitOps::changePin(r.link, QStringLiteral("1234"), QStringLiteral("4321"), QStringLiteral("5555")));
    QCOMPARE(r.unit.pin(), QByteArray("5555"));
    QVERIFY(r.unit.received.contains(QStringLiteral(":PIN PW:1234 PA:4321 PN:5555")));
    QVERIFY(!UnitOps::changePin(r.link, QStringLiteral("1234"), QStringLiteral("0000"), QStringLiteral("1111")));
    QCOMPARE(r.unit.pin(), QByteArray("5555"));

    r.unit.clearLog();
    r.link.handshake();
    QVERIFY(UnitOps::writeValidity(r.link, 5, QStringLiteral("1234")));
    QCOMPARE(r.unit.validity(), 5);
    QCOMPARE(r.unit.received, (QStringList {"", ":HW2 PW:6054", ":0100200005DA", ":00000001FF", ":SMR PW:1234"}));
    QCOMPARE(r.unit.restarts, 1);
    ConfigTransfer(r.link).waitForRestart();
    QCOMPARE(UnitOps::validityFrom(UnitOps::readParameter(r.link, 0x20).reply), 5);
    const QStringList items = UnitOps::validityItems("h", "min", "d", "w");
    QCOMPARE(items.mid(166, 3), (QStringList {"23 h 30 min", "24 h 0 min", "2 d"}));
}

void TestLink::versionCheck()
{
    Rig r;
    r.unit.fwVersion = UnitOps::toolVersionMajor() * 100 + UnitOps::toolVersionMinor() * 10 + 3;
    QVERIFY(UnitOps::checkVersion(r.link, UnitOps::VersionLevel::Configuration));
    QVERIFY(g_messages.isEmpty());
    r.unit.fwVersion = 255;
    QVERIFY(!UnitOps::checkVersion(r.link, UnitOps::VersionLevel::Configuration));
    QCOMPARE(messageTexts(), QStringList {QStringLiteral("gsMsgVersionskonflikt")});
    QCOMPARE(g_messages[0].title, QStringLiteral("gsTitelVersionskonflikt"));
    QCOMPARE(g_messages[0].icon, Dialogs::Icon::Critical);
    // At the firmware level both versions are shown and the user decides.
    g_messages.clear();
    g_answers = {QMessageBox::No, QMessageBox::Yes};
    QVERIFY(!UnitOps::checkVersion(r.link, UnitOps::VersionLevel::Firmware));
    QVERIFY(g_messages[0].text.contains(QStringLiteral("2.55")));
    QVERIFY(UnitOps::checkVersion(r.link, UnitOps::VersionLevel::Firmware));
    // No answer: no version message on top of the no-answer message.
    Rig r2;
    r2.unit.faults.silent = true;
    g_messages.clear();
    QVERIFY(!UnitOps::checkVersion(r2.link, UnitOps::VersionLevel::Configuration));
    QCOMPARE(messageTexts(), QStringList {QStringLiteral("gsMsgKeineAntwort\r\ngsMsgKeineAntwortHilfe")});
}

// Each unit command returns its outcome: the kind, the message key and the sentence the
// command line prints (German stand-ins here: the test loads no message table).
void TestLink::unitCommandsReturnWhatBecameOfThem()
{
    Rig refusing;
    refusing.unit.faults.refuseWrite = true;
    refusing.link.handshake();
    UnitOutcome o = UnitOps::writeSerial(refusing.link, QStringLiteral("123456"));
    QCOMPARE(o.kind, UnitOutcome::Refused);
    QCOMPARE(o.detail, QStringLiteral("das Gerät hat die Seriennummer nicht angenommen"));
    refusing.link.handshake();
    o = UnitOps::writeValidity(refusing.link, 3, QStringLiteral("1234"));
    QCOMPARE(o.kind, UnitOutcome::Refused);
    QCOMPARE(o.messageKey, QStringLiteral("gsMsgGültigkeitAbgelehnt"));

    Rig silent;
    silent.unit.faults.silent = true;
    const UnitOps::ParameterRead p = UnitOps::readParameter(silent.link, 0x00);
    QVERIFY(p.reply.isEmpty());
    QCOMPARE(p.outcome.kind, UnitOutcome::NoAnswer);
    QCOMPARE(p.outcome.detail, QStringLiteral("das Gerät antwortet nicht"));
    QCOMPARE(UnitOps::refresh(silent.link).outcome.kind, UnitOutcome::NoAnswer);

    Rig cut;
    cut.unit.faults.statusCut = 100;
    const UnitStatus partial = UnitOps::refresh(cut.link);
    QCOMPARE(partial.outcome.kind, UnitOutcome::Incomplete);
    QCOMPARE(partial.outcome.detail, QStringLiteral("das Gerät hat keinen vollständigen Statusdatensatz gesendet"));

    Rig newer;
    newer.unit.fwVersion = 250;
    o = UnitOps::checkVersion(newer.link, UnitOps::VersionLevel::Configuration);
    QCOMPARE(o.kind, UnitOutcome::Mismatch);
    QCOMPARE(o.messageKey, QStringLiteral("gsMsgVersionskonflikt"));
    QCOMPARE(o.detail,
             QStringLiteral("die Firmware-Version 2.50 des Geräts passt nicht zu diesem Programm (%1)")
                 .arg(QLocale::c().toString(UnitOps::toolVersionValue() / 100.0, 'f', 2)));

    // A relay the unit does not switch (a password it does not know): refused, the status
    // still read.
    Rig guarded;
    guarded.unit.area3.replace(56 * 128 + 8, 4, "4711");
    const UnitStatus relay = UnitOps::switchRelay(guarded.link, 2, true, QStringLiteral("1234"));
    QVERIFY(relay.ok);
    QCOMPARE(relay.relays & 0x02, 0);
    QCOMPARE(relay.outcome.kind, UnitOutcome::Refused);
    QCOMPARE(relay.outcome.messageKey, QStringLiteral("gsMsgGeraetPasswortAbgelehnt"));
    QCOMPARE(relay.outcome.detail,
             QStringLiteral("Das Gerät hat den Befehl abgelehnt: falsches Gerätepasswort; das "
                            "Programm verwendet das Passwort von Benutzer 1 aus dem Telefonbuch."));
    QVERIFY(UnitOps::switchRelay(guarded.link, 2, true, QStringLiteral("4711")).outcome);
}

// The unit's configuration read whole and kept under its serial number, byte for byte as
// the unit holds it; a unit without a number is "unknown"; nothing is kept from a read that
// failed.
void TestLink::backupOfTheUnitBeforeAWrite()
{
    QTemporaryDir root;
    ProfileData d;
    d.powerOn.text = QStringLiteral("Strom ist da");
    d.inputs[4].recipients = 0x81;
    d.users[0].name = QStringLiteral("Hauswart");
    d.users[0].number = QStringLiteral("+41791234567");
    Image img;
    HexWriter::buildImage(d, img);
    const QString profile = root.filePath(QStringLiteral("unit.cfg"));
    QFile p(profile);
    QVERIFY(p.open(QIODevice::WriteOnly));
    p.write(img.hexText());
    p.close();
    Rig r;
    QVERIFY(r.unit.loadImage(profile));
    r.unit.area2.replace(0, 6, "204518");
    const QDateTime when(QDate(2026, 12, 7), QTime(3, 19, 5));
    const UnitBackup::Result b = UnitBackup::readAndStore(r.link, root.path(), when);
    QVERIFY2(b.ok(), qPrintable(b.outcome.detail + b.fileError));
    QCOMPARE(b.serial, QStringLiteral("204518"));
    QCOMPARE(b.path, root.filePath(QStringLiteral("Backups/204518/20261207-031905.cfg")));
    QFile f(b.path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), img.hexText());
    QVERIFY(r.unit.received.contains(QStringLiteral(":HR2 CT:0010 AD:0000")));
    // The same second again: a second file, not the first one overwritten.
    const UnitBackup::Result again = UnitBackup::readAndStore(r.link, root.path(), when);
    QCOMPARE(again.path, root.filePath(QStringLiteral("Backups/204518/20261207-031905-2.cfg")));
    QCOMPARE(UnitBackup::list(root.filePath(QStringLiteral("Backups/204518"))), (QStringList {b.path, again.path}));

    Rig blank;
    blank.unit.area2.replace(0, 6, QByteArray(6, char(0xFF)));
    const UnitBackup::Result unknown = UnitBackup::readAndStore(blank.link, root.path(), when);
    QCOMPARE(unknown.path, root.filePath(QStringLiteral("Backups/unknown/20261207-031905.cfg")));
    QCOMPARE(UnitBackup::unitName(QStringLiteral("12/4 6")), QStringLiteral("12_46"));

    Rig erased;
    erased.unit.area3.fill(char(0xFF));
    erased.unit.area2.replace(0, 6, "777777");
    const UnitBackup::Result failed = UnitBackup::readAndStore(erased.link, root.path(), when);
    QVERIFY(!failed.ok());
    QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("Backups/777777"))));
}

void TestLink::backupsKeepTheNewestFiftyPerUnit()
{
    QTemporaryDir root;
    const QString folder = UnitBackup::folderFor(root.path(), QStringLiteral("100001"));
    const QString other = UnitBackup::folderFor(root.path(), QStringLiteral("100002"));
    QString error;
    const QDateTime start(QDate(2026, 1, 1), QTime(0, 0));
    QStringList written;
    for (int i = 0; i < 52; ++i)
        written << UnitBackup::store(gState(), folder, QByteArray::number(i), start.addSecs(i * 3600), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(!UnitBackup::store(gState(), other, "other", start, &error).isEmpty());
    const QStringList kept = UnitBackup::list(folder);
    QCOMPARE(kept.size(), UnitBackup::Kept);
    QCOMPARE(kept, written.mid(2)); // the two oldest went, the newest stayed
    QVERIFY(kept.first().endsWith(QStringLiteral("/20260101-020000.cfg")));
    QFile newest(kept.last());
    QVERIFY(newest.open(QIODevice::ReadOnly));
    QCOMPARE(newest.readAll(), QByteArray("51"));
    QCOMPARE(UnitBackup::list(other).size(), 1); // another unit's backups are its own
}

namespace {
QStringList firmwareLines()
{
    return {QStringLiteral(":10000000000102030405060708090A0B0C0D0E0F78"),
            QStringLiteral(":10001000101112131415161718191A1B1C1D1E1F68"), QStringLiteral(":00000001FF")};
}
}

void TestLink::firmwareFileCheck()
{
    QString error;
    QCOMPARE(ConfigTransfer::checkHexLines(gState(), firmwareLines(), &error, false), firmwareLines());
    QStringList bad = firmwareLines();
    bad[1][20] = bad[1][20] == QLatin1Char('1') ? QLatin1Char('2') : QLatin1Char('1');
    QVERIFY(ConfigTransfer::checkHexLines(gState(), bad, &error, false).isEmpty());
    QVERIFY2(error.startsWith(QStringLiteral("Zeile 2: Prüfsummenfehler")), qPrintable(error));
    QVERIFY(ConfigTransfer::checkHexLines(gState(), firmwareLines().mid(0, 2), &error, false).isEmpty());
    QVERIFY(error.contains(QStringLiteral(":00000001FF")));
    QVERIFY(ConfigTransfer::checkHexLines(gState(), {QStringLiteral("hello")}, &error, false).isEmpty());
    QVERIFY(error.startsWith(QStringLiteral("Zeile 1")));
    // A configuration must be exactly the 512 records in address order.
    QCOMPARE(ConfigTransfer::checkHexLines(gState(), configLines(), &error, true).size(), 513);
    QStringList shortConfig = configLines();
    shortConfig.removeAt(3);
    QVERIFY(ConfigTransfer::checkHexLines(gState(), shortConfig, &error, true).isEmpty());
    QVERIFY(error.startsWith(QStringLiteral("Zeile 4")));
}

void TestLink::firmwareDeclineSendsOneEsc()
{
    Rig r;
    const TransferOutcome o = UnitOps::firmwareUpdate(r.link, firmwareLines(), [] { return false; });
    QCOMPARE(o.kind, TransferOutcome::Declined);
    QCOMPARE(r.unit.rawIn(), QByteArray("\r:HW4 PW:6054\r\x1b"));
    QVERIFY(g_messages.isEmpty());
}

void TestLink::firmwareUpdateRunsAndWaitsForRestart()
{
    Rig r;
    r.unit.fwVersionAfterUpdate = 110;
    bool cancelHidden = false;
    struct Sink : LinkSink {
        bool* hidden;
        void setCancelVisible(bool v) override
        {
            if (!v)
                *hidden = true;
        }
        Notice::Answer notify(const Notice& n) override { return Dialogs::show(nullptr, n); }
    } sink;
    sink.hidden = &cancelHidden;
    r.link.setSink(sink);
    const qint64 t0 = r.w.now();
    const TransferOutcome o = UnitOps::firmwareUpdate(r.link, firmwareLines(), [] { return true; });
    QCOMPARE(o.kind, TransferOutcome::Ok);
    QVERIFY(cancelHidden);
    QCOMPARE(r.unit.firmwareRecords, 2);
    QCOMPARE(r.unit.fwVersion, 110);
    QCOMPARE(r.unit.received,
             (QStringList {"", ":HW4 PW:6054", "", firmwareLines()[0], firmwareLines()[1], ":00000001FF", "",
                           ":HR1 CT:0010 AD:0060"}));
    QCOMPARE(messageTexts(), QStringList {QStringLiteral("gsMsgDownloadOK")});
    // 200 handshake + 250 ":HW4" + 250 confirmation + 3 x 250 lines + 2000 restart wait, then
    // the status of the restarted unit: 200 handshake + 400 reply.
    QCOMPARE(r.w.now() - t0, qint64(200 + 250 + 250 + 3 * 250 + 2000 + 200 + 400));
}

// A firmware line refused three times: ESC (the unit leaves the programming mode and does
// not restart on half a firmware), and the user learns how far the update got.
void TestLink::firmwareRefusedLineLeavesWithEsc()
{
    Rig r;
    r.unit.faults.eLine = 2;
    r.unit.fwVersionAfterUpdate = 110;
    const QStringList lines = firmwareLines();
    const TransferOutcome o = UnitOps::firmwareUpdate(r.link, lines, [] { return true; });
    QCOMPARE(o.kind, TransferOutcome::LineRefused);
    QCOMPARE(r.unit.received, (QStringList {"", ":HW4 PW:6054", "", lines[0], lines[1], lines[1], lines[1], "<ESC>"}));
    QCOMPARE(r.unit.restarts, 0);
    QCOMPARE(r.unit.fwVersion, 100);
    const QString incomplete
        = QStringLiteral("Die Aktualisierung der Firmware ist nicht abgeschlossen: 1 von 2 Zeilen wurden vom Gerät "
                         "angenommen. Wiederholen Sie die Aktualisierung, bevor Sie das Gerät ausschalten.");
    QCOMPARE(g_messages.size(), 1);
    QVERIFY2(g_messages[0].text.contains(QStringLiteral("\r\n") + incomplete + QStringLiteral("\r\n")),
             qPrintable(g_messages[0].text));
    QVERIFY(o.detail.endsWith(incomplete));
}

void TestLink::firmwareConfirmationResentAsCr()
{
    Rig r;
    r.unit.faults.eConfirm = 1; // the confirming CR is refused once
    const TransferOutcome o = UnitOps::firmwareUpdate(r.link, firmwareLines(), [] { return true; });
    QCOMPARE(o.kind, TransferOutcome::Ok);
    QCOMPARE(r.unit.rawIn().count(":HW4"), 1);
    QVERIFY(r.unit.rawIn().startsWith("\r:HW4 PW:6054\r\r\r" + firmwareLines()[0].toLatin1()));
    QCOMPARE(r.unit.firmwareRecords, 2);
}

// A status reply lost on the way is read again; only a reply that arrived can tell that
// the versions differ, and versions are shown with two decimals.
void TestLink::lostStatusReplyIsNoVersionMismatch()
{
    QLocale::setDefault(QLocale::c());
    const QString query = QStringLiteral(":HR1 CT:0010 AD:0060");
    Rig r;
    r.unit.faults.statusLost = 1;
    QVERIFY(UnitOps::checkVersion(r.link, UnitOps::VersionLevel::Configuration));
    QVERIFY(g_messages.isEmpty());
    QCOMPARE(r.unit.received, (QStringList {"", query, "", query})); // handshake again first

    // No reply to any of the three reads: the unit does not answer; no version message.
    Rig lost;
    lost.unit.faults.statusLost = 3;
    UnitStatus s;
    QVERIFY(!UnitOps::checkVersion(lost.link, UnitOps::VersionLevel::Firmware, &s));
    QVERIFY(!s.ok);
    QCOMPARE(countOf(lost.unit.received, query), 3);
    QCOMPARE(messageTexts(), QStringList {QStringLiteral("gsMsgKeineAntwort\r\ngsMsgKeineAntwortHilfe")});
    QCOMPARE(lost.lamp(), int(LinkColour::Red));

    // A mismatch read after a lost reply: both versions with two decimals.
    Rig other;
    g_messages.clear();
    other.unit.faults.statusLost = 2;
    other.unit.fwVersion = 250;
    g_answers = {QMessageBox::No};
    QVERIFY(!UnitOps::checkVersion(other.link, UnitOps::VersionLevel::Firmware));
    const QString tool = QString::number(SMSV48_VERSION_MAJOR) + QLatin1Char('.')
        + QString::number(SMSV48_VERSION_MINOR % 10) + QLatin1Char('0');
    QCOMPARE(
        messageTexts(),
        QStringList {QStringLiteral("Die Firmware-Version des Geräts weicht von der Version dieses Programms ab.\r\n"
                                    "Firmware des Geräts: 2.50; Version dieses Programms: ")
                     + tool + QStringLiteral(". Firmware trotzdem aktualisieren?")});
}

// Panel 3 and the messages show password and PIN fields as "****"; the wire carries them.
void TestLink::secretsAreMaskedOnScreen()
{
    Rig r;
    UnitOps::switchRelay(r.link, 2, true, QStringLiteral("4711"));
    r.link.handshake();
    QVERIFY(UnitOps::changePin(r.link, QStringLiteral("4711"), QStringLiteral("0000"), QStringLiteral("1234")));
    r.link.handshake();
    QVERIFY(UnitOps::writeValidity(r.link, 5, QStringLiteral("4711")));
    ConfigTransfer(r.link).waitForRestart();
    QCOMPARE(ConfigTransfer(r.link).write(configLines(), 3).kind, TransferOutcome::Ok);
    for (const char* shown :
         {":RS2 PW:****", ":PIN PW:**** PA:**** PN:****", ":HW2 PW:****", ":SMR PW:****", ":HW3 PW:****"})
        QVERIFY2(r.panels.contains(QString::fromLatin1(shown)), shown);
    for (const QString& p : r.panels)
        QVERIFY2(!showsSecret(p), qPrintable(p));
    for (const char* sent : {":RS2 PW:4711", ":PIN PW:4711 PA:0000 PN:1234", ":SMR PW:4711", ":HW3 PW:6054"})
        QVERIFY2(r.unit.received.contains(QString::fromLatin1(sent)), sent);

    // A refused write names its line, masked, in the message and for the command line.
    Rig refused;
    g_messages.clear();
    refused.unit.faults.refuseWrite = true;
    const TransferOutcome o = ConfigTransfer(refused.link).write(configLines(), 3);
    QCOMPARE(g_messages.size(), 1);
    QVERIFY2(g_messages[0].text.contains(QStringLiteral("\":HW3 PW:****\"")), qPrintable(g_messages[0].text));
    QVERIFY(o.detail.contains(QStringLiteral("\":HW3 PW:****\"")));
    QVERIFY(!showsSecret(g_messages[0].text) && !showsSecret(o.detail));
}

QTEST_MAIN(TestLink)
#include "test_link.moc"
