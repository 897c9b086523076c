// The configuration store: schema positions of the built file, recordset semantics,
// batch updates, and the database check at start.
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "store/ConfigStore.h"
#include "store/LanguageTables.h"

#include <QSqlQuery>
#include <QTemporaryDir>

#include <QFile>
#include <QtTest>

class TestStore : public QObject {
    Q_OBJECT
private slots:
    void schemaPositionsOfTheBuiltFile();
    void defaultRowsLinkEventsToTheirTexts();
    void findCriteria();
    void findTextValues();
    void languageTableLookupsAgreeWithFind();
    void navigationBofEofAndPositions();
    void pendingEditsInvisibleUntilUpdateBatch();
    void failedBatchLeavesFileUnchanged();
    void updateAllIsOneTransaction();
    void closeFlushesPendingEdits();
    void nullTextsAndRequery();
    void checkDatabaseNamesWhatIsWrong();
};

void TestStore::schemaPositionsOfTheBuiltFile()
{
    TestEnv env;
    QCOMPARE(checkDatabase(gState(), env.dbPath()), QString());
    ConfigStore store(gState(), env.dbPath());
    for (Recordset* rs : {&store.inputs, &store.outputs}) {
        QCOMPARE(rs->fieldName(0), QStringLiteral("ID"));
        QCOMPARE(rs->fieldName(1), QStringLiteral("I/O"));
        for (int k = 1; k <= 8; ++k)
            QCOMPARE(rs->fieldName(k + 1), QStringLiteral("Benutzer%1").arg(k));
    }
    QCOMPARE(store.outputs.fieldName(10), QStringLiteral("DefaultState"));
    for (int k = 1; k <= 8; ++k) {
        QCOMPARE(store.alarmInput.fieldName(k + 2), QStringLiteral("Benutzer%1").arg(k));
        QCOMPARE(store.powerOn.fieldName(k), QStringLiteral("Benutzer%1").arg(k));
    }
    QCOMPARE(store.sms.fieldName(0), QStringLiteral("ID"));
    QCOMPARE(store.sms.fieldName(2), QStringLiteral("Deutsch"));
    QCOMPARE(store.sms.fieldCount(), 6);
    QCOMPARE(store.inputs.recordCount(), 16);
    QCOMPARE(store.outputs.recordCount(), 8);
    QCOMPARE(store.alarmInput.recordCount(), 1);
    QCOMPARE(store.powerOn.recordCount(), 1);
    QCOMPARE(store.sms.recordCount(), 26);
    QCOMPARE(store.addresses.recordCount(), 8);
}

void TestStore::defaultRowsLinkEventsToTheirTexts()
{
    TestEnv env;
    ConfigStore store(gState(), env.dbPath());
    store.inputs.moveFirst();
    for (int n = 1; n <= 16; ++n) {
        QCOMPARE(store.inputs.value("ID").toInt(), n);
        QCOMPARE(store.inputs.value("SMSID").toInt(), n);
        store.inputs.moveNext();
    }
    QVERIFY(store.inputs.eof());
    store.outputs.moveFirst();
    for (int n = 1; n <= 8; ++n) {
        QCOMPARE(store.outputs.value("SMSID").toInt(), 16 + n);
        store.outputs.moveNext();
    }
    QCOMPARE(store.alarmInput.value("SMS").toInt(), 25);
    QCOMPARE(store.powerOn.value("SMS").toInt(), 26);
    store.sms.moveFirst();
    for (int n = 1; n <= 26; ++n) {
        QCOMPARE(store.sms.value(0).toInt(), n);
        store.sms.moveNext();
    }
    store.addresses.moveFirst();
    QVERIFY(store.addresses.value("Natel_Nummer").isNull());
    QVERIFY(store.addresses.value("Namen").isNull());
}

// A criterion on the texts' ID from a starting row: the row found (0: none, past the last
// row; -1: not a criterion, refused).
void TestStore::findCriteria()
{
    const QList<std::tuple<int, const char*, int>> rows = {{1, "ID = '5'", 5},     {1, "ID= 5", 5},
                                                           {1, "ID = '26'", 26},   {1, "ID=7", 7},
                                                           {1, "  ID = 7  ", 7},   {1, "\tID\t=\t'7'\t", 7},
                                                           {1, "id = '7'", 7},     {1, "ID = 7.0", 7},
                                                           {1, "ID ='07'", 7},     {1, "ID = 3\n", 3},
                                                           {10, "ID = 10", 10},    {10, "ID = 3", 0},
                                                           {1, "ID = 99", 0},      {1, "", -1},
                                                           {1, "   ", -1},         {1, "= 7", -1},
                                                           {1, "ID 7", -1},        {1, "I D = 7", -1},
                                                           {1, "ID = '7\n8'", -1}, {1, "ID = 7\nX", -1},
                                                           {1, "garbage", -1},     {1, "NoSuchColumn = 1", -1}};
    TestEnv env;
    ConfigStore store(gState(), env.dbPath());
    Recordset& rs = store.sms;
    for (const auto& [from, criterion, found] : rows) {
        rs.setAbsolutePosition(from);
        if (found < 0) {
            QVERIFY_THROWS_EXCEPTION(StoreError, rs.find(QString::fromUtf8(criterion)));
            continue;
        }
        QVERIFY2(rs.find(QString::fromUtf8(criterion)) == (found > 0), criterion);
        if (found > 0) {
            QCOMPARE(rs.value(0).toInt(), found);
            QCOMPARE(rs.absolutePosition(), found);
        } else {
            QVERIFY2(rs.eof(), criterion);
            QVERIFY_THROWS_EXCEPTION(StoreError, rs.value(0));
        }
    }
}

// Text values: a doubled quote stands for one, text never matches a number, an empty value
// finds an empty text but never a null one.
void TestStore::findTextValues()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.sqlite");
    {
        Connection con(gState());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        con.open(path, Connection::ReadWrite);
        QSqlQuery q(con.db());
        QVERIFY(q.exec("CREATE TABLE T (Name TEXT, Wert TEXT)"));
        QVERIFY(q.exec("INSERT INTO T VALUES (NULL, 'null'), ('', 'empty'), ('O''Brien', 'quote'), "
                       "('5.0', 'number'), ('abc', 'text')"));
    }
    Connection con(gState());
    con.open(path, Connection::Read);
    Recordset t;
    t.open(con, "T");
    const QList<QPair<const char*, const char*>> cases
        = {{"Name = 'O''Brien'", "quote"}, {"Name = ''", "empty"}, {"Name = 5", "number"},
           {"Name = '5'", "number"},       {"Name = abc", "text"}, {"Name='abc'", "text"}};
    for (const auto& [criterion, wert] : cases) {
        t.moveFirst();
        QVERIFY2(t.find(QString::fromUtf8(criterion)), criterion);
        QCOMPARE(t.value("Wert").toString(), QString::fromUtf8(wert));
    }
    t.moveFirst();
    QVERIFY(!t.find("Name = 'ABC'")); // text compares exactly
    QVERIFY(t.eof());
}

// The language tables look their keys up through an index by Name; every look-up must land
// where a search with the criterion Name = 'key' from the same row lands.
void TestStore::languageTableLookupsAgreeWithFind()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lang.sqlite");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        Connection con(gState());
        con.open(path, Connection::ReadWrite);
        QSqlQuery q(con.db());
        QVERIFY(
            q.exec("CREATE TABLE L (Name TEXT, Deutsch TEXT, Englisch TEXT, Italienisch TEXT, \"Französisch\" TEXT)"));
        const QStringList names = {"a", "b", "NULL", "a", "5.0", "", "c", "b", "a"};
        for (int i = 0; i < names.size(); ++i) {
            QSqlQuery ins(con.db());
            ins.prepare("INSERT INTO L VALUES (?, ?, ?, '', '')");
            ins.addBindValue(names[i] == "NULL" ? QVariant() : QVariant(names[i]));
            ins.addBindValue(QStringLiteral("de%1").arg(i + 1));
            ins.addBindValue(QStringLiteral("en%1").arg(i + 1));
            QVERIFY(ins.exec());
        }
    }
    // The row a search from a position finds (1-based, 0 = none), straight from the recordset.
    Connection con(gState());
    con.open(path, Connection::Read);
    Recordset rs;
    rs.open(con, "L");
    auto expected = [&](int from, const QString& key) {
        rs.setAbsolutePosition(from);
        return rs.find(QStringLiteral("Name = '%1'").arg(key)) ? rs.absolutePosition() : 0;
    };
    auto rowOf = [](LanguageTable& t) { return t.current().mid(2).toInt(); }; // "deN" -> N

    LanguageTable t(gState(), "L", path, 1);
    const QStringList keys = {"a", "b", "c", "5", "5.0", "", "missing"};
    for (int from = 1; from <= 9; ++from)
        for (const QString& key : keys) {
            const int want = expected(from, key);
            t.first();
            for (int i = 1; i < from; ++i)
                t.take();
            if (want == 0) {
                QVERIFY_THROWS_EXCEPTION(LanguageTableError, t.findNext(key));
                QCOMPARE(t.currentName(), QString()); // past the end, as after a failed search
                QVERIFY_THROWS_EXCEPTION(LanguageTableError, t.take());
            } else {
                t.findNext(key);
                QCOMPARE(rowOf(t), want);
            }
        }
    // Anchors start from the first row whatever the current one; runs step on from there.
    t.first();
    for (int i = 0; i < 7; ++i)
        t.take();
    QCOMPARE(t.run("a", 3), QStringList({"de1", "de2", "de3"}));
    QCOMPARE(t.text("b"), QStringLiteral("de2"));
    QCOMPARE(t.text("5"), QStringLiteral("de5")); // numeric key: "5" finds "5.0"
    QCOMPARE(t.text(""), QStringLiteral("de6")); // the empty name, not the null one
    QVERIFY_THROWS_EXCEPTION(LanguageTableError, t.text("it's"));
    // Another language reads its own column through the same index.
    LanguageTable en(gState(), "L", path, 2);
    QCOMPARE(en.text("c"), QStringLiteral("en7"));
}

void TestStore::navigationBofEofAndPositions()
{
    TestEnv env;
    ConfigStore store(gState(), env.dbPath());
    Recordset& rs = store.addresses;
    rs.moveFirst();
    QCOMPARE(rs.absolutePosition(), 1);
    QVERIFY(!rs.bof() && !rs.eof());
    rs.movePrevious();
    QVERIFY(rs.bof());
    QCOMPARE(rs.absolutePosition(), -1);
    QVERIFY_THROWS_EXCEPTION(StoreError, rs.movePrevious());
    rs.moveLast();
    QCOMPARE(rs.absolutePosition(), 8);
    rs.moveNext();
    QVERIFY(rs.eof());
    QVERIFY_THROWS_EXCEPTION(StoreError, rs.moveNext());
    rs.setAbsolutePosition(3);
    QCOMPARE(rs.value("ID").toInt(), 3);
    QVERIFY_THROWS_EXCEPTION(StoreError, rs.setAbsolutePosition(9));
    QVERIFY_THROWS_EXCEPTION(StoreError, rs.value("NoSuchColumn"));
    QCOMPARE(rs.fieldIndex("natel_nummer"), rs.fieldIndex("Natel_Nummer"));
}

void TestStore::pendingEditsInvisibleUntilUpdateBatch()
{
    TestEnv env;
    ConfigStore a(gState(), env.dbPath());
    a.inputs.setAbsolutePosition(6);
    a.inputs.setValue(4, 1); // Benutzer3 of row 6
    QVERIFY(a.inputs.hasPendingChanges());
    ConfigStore b(gState(), env.dbPath());
    b.inputs.setAbsolutePosition(6);
    QCOMPARE(b.inputs.value("Benutzer3").toInt(), 0);
    QCOMPARE(env.queryValue("SELECT Benutzer3 FROM \"Konfiguration_Eingänge\" WHERE ID=6").toInt(), 0);
    a.inputs.updateBatch();
    QVERIFY(!a.inputs.hasPendingChanges());
    QCOMPARE(env.queryValue("SELECT Benutzer3 FROM \"Konfiguration_Eingänge\" WHERE ID=6").toInt(), 1);
    QCOMPARE(b.inputs.value("Benutzer3").toInt(), 0); // a snapshot until requery
    b.inputs.requery();
    b.inputs.setAbsolutePosition(6);
    QCOMPARE(b.inputs.value("Benutzer3").toInt(), 1);
    // Writing a value equal to the stored one is no change.
    b.inputs.setValue("Benutzer3", 1);
    QVERIFY(!b.inputs.hasPendingChanges());
}

void TestStore::failedBatchLeavesFileUnchanged()
{
    TestEnv env;
    ConfigStore store(gState(), env.dbPath());
    store.sms.moveFirst();
    store.sms.setValue(2, QStringLiteral("neu 1"));
    store.sms.moveNext();
    store.sms.setValue(2, QStringLiteral("neu 2"));
    store.sms.moveNext();
    store.sms.setValue(0, QVariant()); // ID NOT NULL: this row cannot be written
    QVERIFY_THROWS_EXCEPTION(StoreError, store.sms.updateBatch());
    QVERIFY(store.sms.hasPendingChanges());
    QVERIFY(env.queryValue("SELECT Deutsch FROM SMS WHERE ID=1").isNull());
    QVERIFY(env.queryValue("SELECT Deutsch FROM SMS WHERE ID=2").isNull());
    // A row deleted behind the snapshot's back fails the whole batch too.
    store.sms.cancelBatch();
    store.sms.setAbsolutePosition(1);
    store.sms.setValue(2, QStringLiteral("x"));
    store.sms.setAbsolutePosition(26);
    store.sms.setValue(2, QStringLiteral("y"));
    env.exec("DELETE FROM SMS WHERE ID=26");
    QVERIFY_THROWS_EXCEPTION(StoreError, store.sms.updateBatch());
    QVERIFY(env.queryValue("SELECT Deutsch FROM SMS WHERE ID=1").isNull());
}

void TestStore::updateAllIsOneTransaction()
{
    TestEnv env;
    ConfigStore store(gState(), env.dbPath());
    store.addresses.moveFirst();
    store.addresses.setValue("Namen", QStringLiteral("Anna"));
    store.alarmInput.moveFirst();
    store.alarmInput.setValue("IN_SF", 5);
    store.sms.moveLast();
    store.sms.setValue("ID", QVariant()); // fails, after the first two tables were written
    QVERIFY_THROWS_EXCEPTION(StoreError, store.updateAll());
    QVERIFY(env.queryValue("SELECT Namen FROM Adressen WHERE ID=1").isNull());
    QCOMPARE(env.queryValue("SELECT IN_SF FROM Alarm_Dispositiv").toInt(), 0);
    store.sms.setValue("ID", 26);
    store.updateAll();
    QCOMPARE(env.queryValue("SELECT Namen FROM Adressen WHERE ID=1").toString(), QStringLiteral("Anna"));
    QCOMPARE(env.queryValue("SELECT IN_SF FROM Alarm_Dispositiv").toInt(), 5);
    QVERIFY(!store.addresses.hasPendingChanges());
}

void TestStore::closeFlushesPendingEdits()
{
    TestEnv env;
    {
        ConfigStore store(gState(), env.dbPath());
        store.outputs.setAbsolutePosition(3);
        store.outputs.setValue("DefaultState", 1);
        store.powerOn.setValue(1, 1);
        QCOMPARE(store.close(), QString());
        QVERIFY(!store.isOpen());
        QCOMPARE(store.close(), QString()); // closing twice is harmless
    }
    QCOMPARE(env.queryValue("SELECT DefaultState FROM \"Konfiguration_Ausgänge\" WHERE ID=3").toInt(), 1);
    QCOMPARE(env.queryValue("SELECT Benutzer1 FROM PowerOn").toInt(), 1);
}

void TestStore::nullTextsAndRequery()
{
    TestEnv env;
    ConfigStore store(gState(), env.dbPath());
    store.sms.moveFirst();
    store.sms.find("ID = 7");
    store.sms.setValue(3, QStringLiteral("Input 4 on")); // language 2 column
    store.sms.updateBatch();
    QCOMPARE(env.queryValue("SELECT Englisch FROM SMS WHERE ID=7").toString(), QStringLiteral("Input 4 on"));
    store.sms.setValue(3, QVariant());
    store.sms.updateBatch();
    QVERIFY(env.queryValue("SELECT Englisch FROM SMS WHERE ID=7").isNull());
    store.sms.setValue(3, QStringLiteral("pending"));
    store.sms.requery(); // drops pending edits
    QVERIFY(!store.sms.hasPendingChanges());
    QCOMPARE(store.sms.absolutePosition(), 1);
}

void TestStore::checkDatabaseNamesWhatIsWrong()
{
    TestEnv env;
    QVERIFY(checkDatabase(gState(), env.path("Datenbank/missing.sqlite")).contains("ist nicht vorhanden"));
    env.exec("ALTER TABLE PowerOn RENAME TO PowerOff");
    QVERIFY(checkDatabase(gState(), env.dbPath()).contains("\"PowerOn\""));
    env.exec("ALTER TABLE PowerOff RENAME TO PowerOn");
    QCOMPARE(checkDatabase(gState(), env.dbPath()), QString());
    env.exec("ALTER TABLE Adressen RENAME COLUMN Status TO Zustand");
    const QString why = checkDatabase(gState(), env.dbPath());
    QVERIFY2(why.contains("Status") && why.contains("Adressen"), qPrintable(why));
    // A damaged file: not a database at all.
    QFile f(env.dbPath());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QByteArray(4096, 'x'));
    f.close();
    QVERIFY(!checkDatabase(gState(), env.dbPath()).isEmpty());
    QCOMPARE(QFile(env.dbPath()).size(), 4096); // never replaced
}

QTEST_MAIN(TestStore)
#include "test_store.moc"
