// Sending only the changed records, in virtual time against the simulated unit: what went
// over the wire, what the unit holds afterwards and the sentence the user reads; and the
// same through smsv48ctl's built-in unit.
#include "CliRun.h"
#include "TestEnv.h"
#include "WindowWidgets.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "link/ChangedWrite.h"
#include "link/Link.h"
#include "link/Waiter.h"
#include "sim/SimChannel.h"
#include "sim/SimUnit.h"
#include "ui/DeviceController.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

namespace {
struct Rig : LinkSink {
    SimUnit unit;
    VirtualWaiter w;
    SimChannel ch {unit, &w};
    Link link {gState(), ch, w, *this};
    QList<Notice> notices;
    Rig() { ch.open(QStringLiteral("sim"), QStringLiteral("9600,N,8,1")); }
    Notice::Answer notify(const Notice& n) override
    {
        notices << n;
        return Notice::Ok;
    }
};

// The unit's configuration: block codes and varied data in every record.
QByteArray unitArea()
{
    QRandomGenerator rnd(11);
    QByteArray area(8192, 0);
    for (char& c : area)
        c = char(rnd.bounded(256));
    for (int b = 0; b < 64; ++b)
        area[b * 128] = char(0x10 + b);
    return area;
}

QStringList linesOf(const QByteArray& area)
{
    QStringList lines;
    for (int a = 0; a < 8192; a += 16)
        lines << QString::fromLatin1(SimUnit::record(a, area.mid(a, 16)));
    return lines << QStringLiteral(":00000001FF");
}

QByteArray fileText(const QByteArray& area) { return linesOf(area).join(QStringLiteral("\r\n")).toLatin1() + "\r\n"; }

// The area with the given records (0-based) changed in their last bytes, as a new phone
// number changes them.
QByteArray changed(QByteArray area, const QList<int>& records)
{
    for (const int r : records)
        area.replace(r * 16 + 4, 12, "+41791234567");
    return area;
}
}

class TestChangedSend : public QObject {
    Q_OBJECT
private slots:
    void init() { gState().reset(); }
    void changedRecordsAgainstTheUnit_data();
    void changedRecordsAgainstTheUnit();
    void commandLineSendsOnlyTheChangedRecords();
    void desktopSettingChoosesTheChangedRecords();
};

void TestChangedSend::changedRecordsAgainstTheUnit_data()
{
    QTest::addColumn<QList<int>>("records"); // changed in the file
    QTest::addColumn<int>("refusedLine"); // data line of a write the unit always refuses
    QTest::addColumn<bool>("clears"); // the unit clears its configuration when a write begins
    QTest::addColumn<int>("writes"); // ":HW3" lines on the wire
    QTest::addColumn<int>("wireRecords"); // data records on the wire (a refused one counted once)
    QTest::addColumn<int>("proofReads"); // block reads after the first write
    QTest::addColumn<bool>("esc"); // the unit does not hold the file then
    QTest::addColumn<QString>("sentence");

    // Block 4 written and read back, with one unchanged block.
    QTest::newRow("one record") << QList<int> {37} << 0 << false << 1 << 1 << 2 << false
                                << "1 von 512 Datensätzen gesendet, geprüft.";
    QTest::newRow("whole block") << QList<int> {16, 17, 18, 19, 20, 21, 22, 23} << 0 << false << 1 << 8 << 2 << false
                                 << "8 von 512 Datensätzen gesendet, geprüft.";
    QTest::newRow("nothing") << QList<int> {} << 0 << false << 0 << 0 << 0 << false
                             << "Das Gerät enthält diese Konfiguration bereits; es wurde nichts gesendet.";
    // The second record is refused three times: ESC, no end record, no whole write behind
    // the user's back, and the user told how much reached the unit.
    QTest::newRow("refused record") << QList<int> {10, 200, 300} << 2 << false << 1 << 2 << 0 << true
                                    << "Die Konfiguration des Geräts ist jetzt unvollständig (1 von 3 Datensätzen "
                                       "geschrieben) und muss erneut geschrieben werden.";
    // The clearing unit: the written block itself shows it, then the whole write and its
    // read-back (64 blocks) follow.
    const QString whole = QStringLiteral("Ganze Konfiguration gesendet, nachdem das Gerät die unveränderten Datensätze "
                                         "nicht behalten hat (Block %1 enthielt nach dem Schreiben nicht, was er "
                                         "enthalten sollte); geprüft.");
    QTest::newRow("clearing unit") << QList<int> {37} << 0 << true << 2 << 513 << 2 + 64 << false << whole;
    // A whole block written keeps its block; only the unchanged block read shows the loss.
    QTest::newRow("clearing unit, whole block")
        << QList<int> {16, 17, 18, 19, 20, 21, 22, 23} << 0 << true << 2 << 520 << 2 + 64 << false << whole;
}

void TestChangedSend::changedRecordsAgainstTheUnit()
{
    QFETCH(QList<int>, records);
    QFETCH(int, refusedLine);
    QFETCH(bool, clears);
    QFETCH(int, writes);
    QFETCH(int, proofReads);
    QFETCH(bool, esc);
    QFETCH(QString, sentence);

    Rig rig;
    const QByteArray before = unitArea();
    rig.unit.area3 = before;
    rig.unit.faults.eLine = refusedLine;
    rig.unit.faults.clearOnWrite = clears;
    const QByteArray file = changed(before, records);
    const QStringList fileLines = linesOf(file);

    const ChangedWriteOutcome o = ChangedWrite::run(rig.link, linesOf(before), fileLines);

    const QStringList& wire = rig.unit.received;
    QCOMPARE(wire.filter(QRegularExpression(QStringLiteral("^:HW3"))).size(), writes);
    QFETCH(int, wireRecords);
    const QStringList seen = wire.filter(QRegularExpression(QStringLiteral("^:10")));
    QCOMPARE(seen.size(), esc ? wireRecords + 2 : wireRecords); // a refused line goes out three times
    const int firstWrite = int(wire.indexOf(QRegularExpression(QStringLiteral(":HW3.*"))));
    QCOMPARE((firstWrite < 0 ? QStringList() : wire.mid(firstWrite))
                 .filter(QRegularExpression(QStringLiteral("^:HR3")))
                 .size(),
             proofReads);
    QCOMPARE(wire.contains(QStringLiteral("<ESC>")), esc);
    QCOMPARE(rig.unit.writesClosed, esc ? 0 : writes);
    QStringList expected; // the changed records, in address order
    for (const int r : records)
        expected << fileLines[r];
    if (!clears && !esc)
        QCOMPARE(seen, expected);
    QCOMPARE(rig.unit.area3 == file, !esc);
    QCOMPARE(o.ok(), !esc);
    if (sentence.contains(QLatin1String("%1")))
        sentence = sentence.arg(o.reason.section(QLatin1Char(' '), 1, 1));
    // One notice: the write's own "written successfully" never stands beside the sentence.
    QCOMPARE(rig.notices.size(), 1);
    QVERIFY2(rig.notices[0].text.contains(sentence), qPrintable(rig.notices[0].text));
}

// With the backup read as the comparison: the sentence in the run's language, the JSON
// fields, and the wire log of the built-in unit; a unit that clears its configuration when a
// write begins gets the whole configuration.
void TestChangedSend::commandLineSendsOnlyTheChangedRecords()
{
    TestEnv env;
    const QString image = env.path(QStringLiteral("unit.cfg")), file = env.path(QStringLiteral("changed.cfg"));
    writeFile(image, fileText(unitArea()));
    writeFile(file, fileText(changed(unitArea(), {37})));
    for (const bool clears : {false, true}) {
        const CliRun::Unit unit(env.root(), "--image " + image + (clears ? " --clear-on-write" : ""),
                                clears ? QStringLiteral("clearing") : QStringLiteral("unit"));
        const CliRun::Run r = unit.run({"--language", "2", "unit", "write", file, "--changed-only", "--json"});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.err.contains(clears ? "smsv48ctl: Whole configuration sent after the unit did not keep the "
                                         "unchanged records (block "
                                       : "smsv48ctl: 1 of 512 records sent, verified."),
                 r.err.constData());
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(o.value("sent").toString(), clears ? "whole" : "changed");
        QCOMPARE(o.value("verified").toBool(), true);
        QVERIFY(!o.value("backup").toString().isEmpty());
        QCOMPARE(int(unit.wire().count("> :HW3")), clears ? 2 : 1);
    }
}

// The Tools setting: off, the whole configuration goes out as before; on, only the changed
// record, and the user reads which way it went.
void TestChangedSend::desktopSettingChoosesTheChangedRecords()
{
    TestEnv env;
    Settings::set(QStringLiteral("Ports"), QStringLiteral("COM1"), QStringLiteral("sim"));
    MainWindowOptions options;
    const QStringList file = linesOf(changed(unitArea(), {37}));
    options.transferLines = [&] { return file; };
    VirtualWaiter vw;
    MainWindow w(gState(), std::move(options));
    w.device().setWaiter(&vw);
    w.device().link();
    SimUnit& unit = static_cast<SimChannel*>(w.device().channel.get())->unit();
    auto* setting = w.findChild<QAction*>(QStringLiteral("mnuNurGeaenderte"));
    QVERIFY(!setting->isChecked());
    QCOMPARE(setting->text(), QStringLiteral("Nur geänderte &Datensätze senden"));
    for (const bool on : {false, true}) {
        unit.area3 = unitArea();
        unit.clearLog();
        env.messages.clear();
        setting->setChecked(on);
        WindowWidgets::named<QPushButton>(w, "cmdDownload", 0)->click();
        QCOMPARE(unit.area3, changed(unitArea(), {37}));
        QCOMPARE(unit.received.filter(QRegularExpression(QStringLiteral("^:10"))).size(), on ? 1 : 512);
        QCOMPARE(env.messages.size(), 1);
        QCOMPARE(env.messages[0].text, on ? "1 von 512 Datensätzen gesendet, geprüft." : "gsMsgDownloadOK");
    }
    QCOMPARE(Settings::get(QStringLiteral("Einstellungen"), QStringLiteral("NurGeaenderte")), QStringLiteral("1"));
}

QTEST_MAIN(TestChangedSend)
#include "test_changed_send.moc"
