// The one mapping between the configuration store and the image, seen where it ends: the
// database file after a profile load or a read from the unit, and the image a save or a send
// builds from the store.
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "image/HexWriter.h"
#include "image/Image.h"
#include "image/ProfileReader.h"
#include "store/ConfigStore.h"
#include "store/ProfileStore.h"

#include <QtTest>
#include <functional>

namespace {
// The checksum of a block's parameter record after one of its bytes was changed.
void fixChecksum(Image& img, int block)
{
    int sum = 0;
    for (int e = 0; e < 20; ++e)
        sum += img.byte(e, 0, block);
    img.setByte(20, 0, block, std::uint8_t((0x100 - (sum & 0xFF)) & 0xFF));
}

QString smsColumn(const TestEnv& env)
{
    return env
        .queryValue("SELECT group_concat(ID || '=' || ifnull(Deutsch, '-'), ',') FROM (SELECT * FROM SMS "
                    "ORDER BY ID)")
        .toString();
}
}

class TestLayers : public QObject {
    Q_OBJECT
private slots:
    void alarmFlagByteBySource_data();
    void alarmFlagByteBySource();
    void textsFollowTheirLinksBothWays_data();
    void textsFollowTheirLinksBothWays();
};

// Input 2's rising edge (block 2, IN_SF bit 1) with a given flag byte: a profile file arms the
// alarm input only for 01, a read from the unit for any byte but 00; what is then saved or
// sent carries 01 or 00.
void TestLayers::alarmFlagByteBySource_data()
{
    QTest::addColumn<int>("flag");
    QTest::addColumn<bool>("fromProfile");
    QTest::addColumn<bool>("fromUnit");
    QTest::addRow("00") << 0x00 << false << false;
    QTest::addRow("01") << 0x01 << true << true;
    QTest::addRow("02") << 0x02 << false << true;
    QTest::addRow("FF") << 0xFF << false << true;
}

void TestLayers::alarmFlagByteBySource()
{
    QFETCH(int, flag);
    QFETCH(bool, fromProfile);
    QFETCH(bool, fromUnit);
    TestEnv env;
    Image img;
    HexWriter::buildImage(ProfileData(), img);
    img.setByte(5, 0, 2, std::uint8_t(flag));
    fixChecksum(img, 2);
    const QString path = env.path("UserProfile/flag.cfg");
    writeFile(path, img.hexText());

    struct Source {
        bool armed;
        std::function<void(ConfigStore&)> take;
    };
    const Source sources[] = {
        {fromProfile,
         [&](ConfigStore& store) {
             QString error;
             QVERIFY2(ProfileStore::loadFile(path, store, 1, &error), qPrintable(error));
         }},
        {fromUnit,
         [&](ConfigStore& store) {
             ProfileStore::storeImage(img, store, 1, ProfileReader::AlarmFlagRule::AnyNonZero);
         }},
    };
    for (const Source& source : sources) {
        env.exec("UPDATE \"Alarm_Dispositiv\" SET IN_SF=255, IN_FF=255");
        ConfigStore store(gState(), env.dbPath());
        source.take(store);
        QCOMPARE(env.queryValue("SELECT IN_SF FROM \"Alarm_Dispositiv\"").toInt(), source.armed ? 2 : 0);
        QCOMPARE(env.queryValue("SELECT IN_FF FROM \"Alarm_Dispositiv\"").toInt(), 0);
        Image sent;
        ProfileStore::buildImage(store, 1, sent);
        QCOMPARE(int(sent.dataByte(2, 0, 1)), source.armed ? 0x01 : 0x00);
    }
}

// Each event's text is found through its row's link, by the save as by the load: with two
// links exchanged the image carries the linked rows' texts, and a load puts them back there.
void TestLayers::textsFollowTheirLinksBothWays_data()
{
    QTest::addColumn<QString>("relink");
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("smsRow");
    QTest::addRow("inputs 1 and 2") << "UPDATE \"Konfiguration_Eingänge\" SET SMSID = 3 - SMSID WHERE ID <= 2" << 0
                                    << 2;
    QTest::addRow("outputs 1 and 2") << "UPDATE \"Konfiguration_Ausgänge\" SET SMSID = 35 - SMSID WHERE ID <= 2" << 32
                                     << 18;
    QTest::addRow("alarm input and power-on")
        << "UPDATE \"Alarm_Dispositiv\" SET SMS = 26; UPDATE PowerOn SET SMS = 25" << 52 << 26;
}

void TestLayers::textsFollowTheirLinksBothWays()
{
    QFETCH(QString, relink);
    QFETCH(int, block);
    QFETCH(int, smsRow);
    TestEnv env;
    for (const QString& statement : relink.split(QLatin1Char(';')))
        env.exec(statement);
    env.exec("UPDATE SMS SET Deutsch = 'Zeile ' || ID");
    const QString before = smsColumn(env);
    const QString path = env.path("UserProfile/links.cfg");
    {
        ConfigStore store(gState(), env.dbPath());
        Image img;
        ProfileStore::buildImage(store, 1, img);
        QCOMPARE(img.smsText(block + 1), QStringLiteral("Zeile %1").arg(smsRow));
        QVERIFY(HexWriter::writeProfileFile(gState(), img, path).ok());
    }
    env.exec("UPDATE SMS SET Deutsch = NULL");
    ConfigStore store(gState(), env.dbPath());
    QString error;
    QVERIFY2(ProfileStore::loadFile(path, store, 1, &error), qPrintable(error));
    QCOMPARE(smsColumn(env), before);
}

QTEST_MAIN(TestLayers)
#include "test_layers.moc"
