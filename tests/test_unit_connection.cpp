// The unit as the desktop drives it, against the built-in simulated unit in virtual time:
// one command at a time (a second one during the waits of the first is refused), a
// configuration send that carries what the window shows whatever becomes of its record file
// and, when the user asks for it, only the records the unit does not hold yet; and one
// sentence for one outcome in the desktop and in smsv48ctl.
#include "CliRun.h"
#include "Permissions.h"
#include "SimWindow.h"

#include "core/Settings.h"
#include "store/ConfigStore.h"
#include "store/ProfileStore.h"
#include "ui/ShellController.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QtTest>

using WindowWidgets::named;

namespace {
// The configuration area as the window's store builds it.
QByteArray shownArea(ConfigStore& store)
{
    Image shown;
    ProfileStore::buildImage(store, gState().language, shown);
    QByteArray area;
    for (int b = 0; b < Image::Blocks; ++b)
        for (int r = 0; r < Image::Records; ++r)
            for (int j = 0; j < 16; ++j)
                area += char(shown.dataByte(b, r, j));
    return area;
}

// A configuration file with varied data in every record, record 37 changed or not.
QByteArray configurationFile(bool changed)
{
    QRandomGenerator rnd(11);
    QByteArray area(8192, 0), text;
    for (char& c : area)
        c = char(rnd.bounded(256));
    for (int a = 0; a < 8192; a += 16) {
        if (a % 128 == 0)
            area[a] = char(0x10 + a / 128); // the block code
        text += SimUnit::record(a, changed && a == 37 * 16 ? "+41791234567abcd" : area.mid(a, 16)) + "\r\n";
    }
    return text + ":00000001FF\r\n";
}

enum class Fault { SilentDuringRelay, LineRefusedDuringWrite };

enum class Second { TabButton, ToolbarRead, ToolbarSend, Shortcut, PortMenu, Comparison };
} // namespace

class TestUnitConnection : public QObject {
    Q_OBJECT
private slots:
    void secondCommandIsRefusedWhileOneWaits_data();
    void secondCommandIsRefusedWhileOneWaits();
    void sendCarriesTheWindow_data();
    void sendCarriesTheWindow();
    void commandLineSendsOnlyTheChangedRecords();
    void oneOutcomeOneSentence_data();
    void oneOutcomeOneSentence();
};

void TestUnitConnection::secondCommandIsRefusedWhileOneWaits_data()
{
    QTest::addColumn<Second>("second");
    QTest::addColumn<int>("refusals"); // sentences said; a disabled button says none
    QTest::newRow("System tab: read PIN") << Second::TabButton << 0;
    QTest::newRow("toolbar: read") << Second::ToolbarRead << 1;
    QTest::newRow("toolbar: send") << Second::ToolbarSend << 1;
    QTest::newRow("read PIN by a shortcut") << Second::Shortcut << 1;
    QTest::newRow("port menu") << Second::PortMenu << 1;
    QTest::newRow("comparison with the unit") << Second::Comparison << 1;
}

void TestUnitConnection::secondCommandIsRefusedWhileOneWaits()
{
    QFETCH(Second, second);
    QFETCH(int, refusals);
    SimWindow win;
    win.unit().area2.replace(0, 6, "424242");
    // Silent for the first one and a half seconds: the handshake waits and tries again.
    win.unit().faults.silent = true;
    win.clock.schedule(win.clock.now() + 1500, [&] { win.unit().faults.silent = false; });
    auto* readPin = win.get<QPushButton>("cmdPinLesen");
    bool disabledMeanwhile = false;
    win.clock.schedule(win.clock.now() + 400, [&] {
        disabledMeanwhile = !readPin->isEnabled();
        switch (second) {
        case Second::TabButton: readPin->click(); break;
        case Second::ToolbarRead: win.w->shell().toolbarButtonClicked(QStringLiteral("Upload")); break;
        case Second::ToolbarSend: win.w->shell().toolbarButtonClicked(QStringLiteral("Download")); break;
        case Second::Shortcut: win.w->device().readSimPin(); break;
        case Second::PortMenu: win.w->action(MainWindow::Command::Port)->trigger(); break;
        case Second::Comparison: win.trigger("mnuVergleichen"); break;
        }
    });
    win.click("cmdLesen");
    QVERIFY(disabledMeanwhile);
    QCOMPARE(win.said(), QStringList(refusals, msg("gsMsgGeraetBeschaeftigt")));
    QCOMPARE(win.unit().received.filter(QRegularExpression(QStringLiteral("^:"))),
             QStringList {QStringLiteral(":HR2 CT:0010 AD:0000")});
    QCOMPARE(win.get<QLineEdit>("txtSerienummer")->text(), QStringLiteral("424242"));
    QVERIFY(readPin->isEnabled());
}

// The send carries what the window shows: whole when its record file cannot be written (the
// user told so after the send), or only the record the unit does not hold when the Tools
// setting asks for that (the unit's configuration read for its backup is the comparison).
void TestUnitConnection::sendCarriesTheWindow_data()
{
    QTest::addColumn<int>("readOnly"); // 1: the record file, 2: its whole folder
    QTest::addColumn<bool>("changedOnly");
    QTest::addColumn<int>("records"); // data records on the wire
    QTest::addColumn<QStringList>("said");
    const QString notWritten = QStringLiteral("gsMsgAufzeichnungNichtGeschrieben");
    QTest::newRow("record file read-only") << 1 << false << 512 << QStringList {"gsMsgDownloadOK", notWritten};
    QTest::newRow("record folder read-only") << 2 << false << 512 << QStringList {"gsMsgDownloadOK", notWritten};
    QTest::newRow("only the changed record")
        << 0 << true << 1 << QStringList {QStringLiteral("1 von 512 Datensätzen gesendet, geprüft.")};
}

void TestUnitConnection::sendCarriesTheWindow()
{
    QFETCH(int, readOnly);
    QFETCH(bool, changedOnly);
    QFETCH(int, records);
    QFETCH(QStringList, said);
    SimWindow win;
    Settings::set(QStringLiteral("Einstellungen"), QStringLiteral("Sicherung"), changedOnly ? "1" : "0");
    win.get<QAction>("mnuNurGeaenderte")->setChecked(changedOnly);
    const QString record = gState().transferFilePath();
    writeFile(record, ":00000001FF\r\n"); // what an earlier send left
    if (readOnly == 2)
        Permissions::setTreeReadOnly(QFileInfo(record).path(), true);
    else if (readOnly == 1)
        QFile::setPermissions(record, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    // The user changes the text of input 1 rising; the unit differs in one other record.
    ConfigStore& store = win.w->store();
    store.sms.setAbsolutePosition(1);
    store.sms.setValue(2, QStringLiteral("Neu 42"));
    store.sms.updateBatch();
    const QByteArray shown = shownArea(store);
    QVERIFY(shown.contains("Neu 42"));
    win.unit().area3 = QByteArray(shown).replace(37 * 16 + 4, 12, "+41791234567");
    win.unit().clearLog();
    {
        Permissions::Enforced enforced;
        if (readOnly && !enforced.active())
            QSKIP("file permissions cannot be made to apply to this process");
        win.w->shell().toolbarButtonClicked(QStringLiteral("Download"));
    }
    Permissions::setTreeReadOnly(QFileInfo(record).path(), false);
    QCOMPARE(win.unit().area3, shown);
    QCOMPARE(win.unit().received.filter(QRegularExpression(QStringLiteral("^:10"))).size(), records); // data records
    QCOMPARE(win.said().size(), said.size());
    for (int i = 0; i < said.size(); ++i) // a sentence with its file name: its words before that
        QVERIFY2(win.said()[i].startsWith(msg(qPrintable(said[i])).section(QLatin1String("%1"), 0, 0)),
                 qPrintable(win.said()[i]));
    if (readOnly)
        QCOMPARE(readAll(record), QByteArray(":00000001FF\r\n"));
}

// With the backup read as the comparison: the sentence in the run's language, the JSON
// fields, and the wire log of the built-in unit; a unit that clears its configuration when a
// write begins gets the whole configuration.
void TestUnitConnection::commandLineSendsOnlyTheChangedRecords()
{
    TestEnv env;
    const QString image = env.path(QStringLiteral("unit.cfg")), file = env.path(QStringLiteral("changed.cfg"));
    writeFile(image, configurationFile(false));
    writeFile(file, configurationFile(true));
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

void TestUnitConnection::oneOutcomeOneSentence_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("words"); // a piece of the sentence both must say
    QTest::newRow("unit silent during a relay switch") << Fault::SilentDuringRelay << "antwortet nicht";
    QTest::newRow("line 100 refused during a write") << Fault::LineRefusedDuringWrite << "Zeile 100";
}

void TestUnitConnection::oneOutcomeOneSentence()
{
    QFETCH(Fault, fault);
    QFETCH(QString, words);
    SimWindow win;
    Settings::set(QStringLiteral("Einstellungen"), QStringLiteral("Sicherung"), QStringLiteral("0"));
    QStringList args;
    QString sim;
    if (fault == Fault::SilentDuringRelay) {
        win.unit().faults.silent = true;
        named<QPushButton>(*win.w, "cmdSetOutput", 0)->click();
        args = QStringList {"relay", "1", "on"};
        sim = QStringLiteral("--silent");
    } else {
        win.unit().faults.eLine = 100;
        win.w->shell().toolbarButtonClicked(QStringLiteral("Download"));
        // smsv48ctl sends what the desktop sent: its record of the send.
        args = QStringList {"unit", "write", gState().transferFilePath(), "--no-backup", "--retries", "0"};
        sim = QStringLiteral("--e-line 100");
    }
    QCOMPARE(win.said().size(), 1);
    const QString shown = win.said().last();
    QVERIFY2(shown.contains(words), qPrintable(shown));
    const QTemporaryDir dir;
    const CliRun::Run r
        = CliRun::Unit(dir.path(), sim)
              .run(args, {}, {{"SMSV48_HOME", win.env.root()}, {"SMSV48_SETTINGS_DIR", win.env.settingsDir()}});
    // The same words: the window's sentence is the command line's, begun with a capital and
    // ended with a full stop (and for a silent unit followed by what to check).
    const QString line = shown.section(QLatin1Char('\n'), 0, 0).chopped(1).mid(1);
    QVERIFY2(r.code != 0 && r.err.contains(line.toUtf8()), r.err.constData());
}

QTEST_MAIN(TestUnitConnection)
#include "test_unit_connection.moc"
