// The configuration store: recordset semantics and batch updates that reach the file whole or
// not at all.
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "store/ConfigStore.h"
#include "store/LanguageTables.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// A database file of its own holding the statements' table.
QString tableFile(const QTemporaryDir& dir, const QStringList& statements)
{
    const QString path = dir.filePath(QStringLiteral("t.sqlite"));
    writeFile(path, QByteArray());
    for (const QString& s : statements)
        sqlExec(path, s);
    return path;
}
} // namespace

class TestStore : public QObject {
    Q_OBJECT
private slots:
    void findCriteria();
    void languageTableLookupsAgreeWithFind();
    void navigationBofEofAndPositions();
    void pendingEditsInvisibleUntilUpdateBatch();
    void failedBatchesLeaveTheFileUnchanged();
};

// A criterion on the texts' ID or a text from a starting row: the row found (0: none, past
// the last row; -1: not a criterion, refused). In a text a doubled quote stands for one; texts
// compare exactly; an empty value finds an empty text, never a null one.
void TestStore::findCriteria()
{
    using Row = std::tuple<int, const char*, int>;
    const QList<Row> ids
        = {{1, "ID = '5'", 5},     {1, "ID= 5", 5},      {1, "ID = '26'", 26}, {1, "\tID\t=\t'7'\t", 7},
           {1, "id = '7'", 7},     {1, "ID = 7.0", 7},   {1, "ID ='07'", 7},   {1, "ID = 3\n", 3},
           {10, "ID = 10", 10},    {10, "ID = 3", 0},    {1, "ID = 99", 0},    {1, "", -1},
           {1, "   ", -1},         {1, "= 7", -1},       {1, "ID 7", -1},      {1, "I D = 7", -1},
           {1, "ID = '7\n8'", -1}, {1, "ID = 7\nX", -1}, {1, "garbage", -1},   {1, "NoSuchColumn = 1", -1}};
    const QList<Row> texts
        = {{1, "Deutsch = 'O''Brien'", 3}, {1, "Deutsch = ''", 2},  {1, "Deutsch = 5", 4},    {1, "Deutsch = '5'", 4},
           {1, "Deutsch = abc", 5},        {1, "Deutsch='abc'", 5}, {1, "Deutsch = 'ABC'", 0}};
    TestEnv env;
    env.exec("UPDATE SMS SET Deutsch = CASE ID WHEN 2 THEN '' WHEN 3 THEN 'O''Brien' WHEN 4 THEN '5.0' "
             "WHEN 5 THEN 'abc' END");
    ConfigStore store(gState(), env.dbPath());
    Recordset& rs = store.sms;
    for (const auto& [from, criterion, found] : ids + texts) {
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

// The language tables look their keys up through an index by Name; every look-up must land
// where a search with the criterion Name = 'key' from the same row lands.
void TestStore::languageTableLookupsAgreeWithFind()
{
    QTemporaryDir dir;
    QStringList sql {"CREATE TABLE L (Name TEXT, Deutsch TEXT, Englisch TEXT, Italienisch TEXT, \"Französisch\" TEXT)"};
    const QStringList names = {"'a'", "'b'", "NULL", "'a'", "'5.0'", "''", "'c'", "'b'", "'a'"};
    for (int i = 0; i < names.size(); ++i)
        sql << QStringLiteral("INSERT INTO L VALUES (%1, 'de%2', 'en%2', '', '')").arg(names[i]).arg(i + 1);
    const QString path = tableFile(dir, sql);
    Connection con(gState());
    con.open(path, Connection::Read);
    Recordset rs;
    rs.open(con, "L");
    auto expected = [&](int from, const QString& key) { // 1-based, 0 = none
        rs.setAbsolutePosition(from);
        return rs.find(QStringLiteral("Name = '%1'").arg(key)) ? rs.absolutePosition() : 0;
    };
    LanguageTable t(gState(), "L", path, 1);
    for (int from = 1; from <= 9; ++from)
        for (const QString key : {"a", "b", "c", "5", "5.0", "", "missing"}) {
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
                QCOMPARE(t.current(), QStringLiteral("de%1").arg(want));
            }
        }
    // Anchors start from the first row whatever the current one; runs step on from there.
    t.first();
    for (int i = 0; i < 7; ++i)
        t.take();
    QCOMPARE(t.run("a", 3), QStringList({"de1", "de2", "de3"}));
    QCOMPARE(t.text("b") + t.text("5") + t.text(""), QStringLiteral("de2de5de6")); // "5" finds "5.0"; "" not NULL
    QVERIFY_THROWS_EXCEPTION(LanguageTableError, t.text("it's"));
    QCOMPARE(LanguageTable(gState(), "L", path, 2).text("c"), QStringLiteral("en7"));
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

// Edits stay in the recordset until the batch update; a requery drops them; closing flushes.
void TestStore::pendingEditsInvisibleUntilUpdateBatch()
{
    TestEnv env;
    env.exec("UPDATE SMS SET Englisch='Input 4 on' WHERE ID=7");
    const QString stored = QStringLiteral("SELECT Benutzer3 FROM \"Konfiguration_Eingänge\" WHERE ID=6");
    ConfigStore a(gState(), env.dbPath());
    a.inputs.setAbsolutePosition(6);
    a.inputs.setValue(4, 1); // Benutzer3 of row 6
    ConfigStore b(gState(), env.dbPath());
    b.inputs.setAbsolutePosition(6);
    QCOMPARE(b.inputs.value("Benutzer3").toInt() + env.queryValue(stored).toInt(), 0);
    a.inputs.updateBatch();
    QVERIFY(!a.inputs.hasPendingChanges());
    QCOMPARE(env.queryValue(stored).toInt(), 1);
    QCOMPARE(b.inputs.value("Benutzer3").toInt(), 0); // a snapshot until requery
    b.inputs.requery();
    b.inputs.setAbsolutePosition(6);
    QCOMPARE(b.inputs.value("Benutzer3").toInt(), 1);
    b.inputs.setValue("Benutzer3", 1); // equal to the stored value: no change
    QVERIFY(!b.inputs.hasPendingChanges());
    b.sms.setAbsolutePosition(7);
    b.sms.setValue(3, QStringLiteral("pending"));
    b.sms.requery();
    QVERIFY(!b.sms.hasPendingChanges());
    QCOMPARE(b.sms.absolutePosition(), 1);
    b.sms.setAbsolutePosition(7);
    b.sms.setValue(3, QVariant()); // a text emptied is null in the file
    b.outputs.setAbsolutePosition(3);
    b.outputs.setValue("DefaultState", 1);
    QCOMPARE(b.close(), QString());
    QCOMPARE(b.close(), QString()); // closing twice is harmless
    QCOMPARE(env.queryValue("SELECT DefaultState FROM \"Konfiguration_Ausgänge\" WHERE ID=3").toInt(), 1);
    QVERIFY(env.queryValue("SELECT Englisch FROM SMS WHERE ID=7").isNull());
}

// A row that cannot be written, or one deleted behind the snapshot's back, fails the whole
// batch, and updateAll is one transaction over the tables.
void TestStore::failedBatchesLeaveTheFileUnchanged()
{
    TestEnv env;
    ConfigStore store(gState(), env.dbPath());
    const QString texts = QStringLiteral("SELECT group_concat(coalesce(Deutsch, '-')) FROM SMS");
    const QVariant before = env.queryValue(texts);
    store.sms.moveFirst();
    store.sms.setValue(2, QStringLiteral("neu 1"));
    store.sms.moveNext();
    store.sms.setValue(0, QVariant()); // ID NOT NULL: this row cannot be written
    QVERIFY_THROWS_EXCEPTION(StoreError, store.sms.updateBatch());
    QVERIFY(store.sms.hasPendingChanges());
    QCOMPARE(env.queryValue(texts), before);
    store.sms.cancelBatch();
    store.sms.setAbsolutePosition(1);
    store.sms.setValue(2, QStringLiteral("x"));
    store.sms.setAbsolutePosition(26);
    store.sms.setValue(2, QStringLiteral("y"));
    env.exec("DELETE FROM SMS WHERE ID=26");
    QVERIFY_THROWS_EXCEPTION(StoreError, store.sms.updateBatch());
    QVERIFY(env.queryValue("SELECT Deutsch FROM SMS WHERE ID=1").isNull());
    store.sms.cancelBatch();

    const QString written = QStringLiteral("SELECT coalesce(Namen, '-') || (SELECT IN_SF FROM Alarm_Dispositiv) "
                                           "FROM Adressen WHERE ID=1");
    store.addresses.moveFirst();
    store.addresses.setValue("Namen", QStringLiteral("Anna"));
    store.alarmInput.setValue("IN_SF", 5);
    store.sms.setAbsolutePosition(3);
    store.sms.setValue("ID", QVariant()); // fails, after the first two tables were written
    QVERIFY_THROWS_EXCEPTION(StoreError, store.updateAll());
    QCOMPARE(env.queryValue(written).toString(), QStringLiteral("-0"));
    store.sms.setValue("ID", 3);
    store.updateAll();
    QCOMPARE(env.queryValue(written).toString(), QStringLiteral("Anna5"));
}

QTEST_MAIN(TestStore)
#include "test_store.moc"
