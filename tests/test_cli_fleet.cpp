// A script's view of smsv48ctl: three simulated units written one after the other, each
// kept as a backup under its serial number first and read back afterwards.
#include "CliRun.h"
#include "TestEnv.h"

#include "image/HexWriter.h"
#include "image/Image.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>
#include <memory>

using namespace CliRun;

namespace {
QByteArray profileText(const QString& powerOnText, int recipient)
{
    ProfileData d;
    d.powerOn.text = powerOnText;
    d.powerOn.recipients = std::uint8_t(1 << (recipient - 1));
    d.users[recipient - 1].name = QStringLiteral("Techniker %1").arg(recipient);
    d.users[recipient - 1].number = QStringLiteral("+4179555000%1").arg(recipient);
    d.users[recipient - 1].active = true;
    Image img;
    HexWriter::buildImage(d, img);
    return img.hexText();
}
} // namespace

class TestCliFleet : public QObject {
    Q_OBJECT
private slots:
    void threeUnitsWrittenWithBackupAndVerify();
};

void TestCliFleet::threeUnitsWrittenWithBackupAndVerify()
{
    TestEnv env;
    QTemporaryDir dir;
    const QString site = dir.filePath(QStringLiteral("site.cfg"));
    {
        QFile f(site);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(profileText(QStringLiteral("Anlage bereit"), 5));
    }
    std::vector<std::unique_ptr<Sim>> units;
    QStringList before;
    for (int i = 1; i <= 3; ++i) {
        const QString held = dir.filePath(QStringLiteral("held%1.cfg").arg(i));
        QFile f(held);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(profileText(QStringLiteral("Einheit %1").arg(i), i));
        f.close();
        before << held;
        units.push_back(std::make_unique<Sim>(
            dir.path(), QStringList {"--image", held, "--serial", QStringLiteral("70000%1").arg(i)},
            QStringLiteral("tty-%1").arg(i)));
    }
    // As a script would: one unit after the other, the result of each as JSON.
    for (int i = 0; i < 3; ++i) {
        const Run r = ctl(units[i]->dev() + QStringList {"-q", "unit", "write", site, "--verify", "--json"});
        QVERIFY2(r.code == 0, r.err.constData());
        QVERIFY2(r.err.isEmpty(), r.err.constData());
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(o.value("verified").toBool(), true);
        QCOMPARE(o.value("serial").toString(), QStringLiteral("70000%1").arg(i + 1));
        QCOMPARE(o.value("linesAccepted").toInt(), 512);
        // The backup holds what the unit held before, byte for byte.
        const QString backup = o.value("backup").toString();
        QVERIFY2(backup.startsWith(env.path(QStringLiteral("Backups/70000%1/").arg(i + 1))), qPrintable(backup));
        QCOMPARE(readAll(backup), readAll(before[i]));
        // The backup's read came before the write on the wire.
        const QByteArray wire = units[i]->wire();
        QVERIFY(wire.indexOf(":HR3:0080:") >= 0 && wire.indexOf(":HR3:0080:") < wire.indexOf(":HW3 PW:6054"));
        QVERIFY(wire.lastIndexOf(":HR3:0080:") > wire.indexOf(":HW3 PW:6054")); // read back
    }
    const QStringList folders = QDir(env.path(QStringLiteral("Backups"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(folders, (QStringList {"700001", "700002", "700003"}));
    for (const QString& f : folders)
        QCOMPARE(QDir(env.path(QStringLiteral("Backups/") + f)).entryList(QDir::Files).size(), 1);
}

int main(int argc, char** argv)
{
    // Three whole writes at the unit's pace, each with its backup and read-back, take longer
    // than the five minutes QtTest gives a test function by default.
    qputenv("QTEST_FUNCTION_TIMEOUT", "570000");
    QApplication app(argc, argv);
    TestCliFleet test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_cli_fleet.moc"
