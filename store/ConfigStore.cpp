#include "store/ConfigStore.h"

#include "core/ProgramContext.h"
#include "store/DatabaseUpgrade.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

ConfigStore::ConfigStore(const ProgramContext& context, const QString& databasePath, Connection::Mode mode)
    : powerOnConnection(context), alarmInputConnection(context), smsConnection(context), inputsConnection(context),
      outputsConnection(context), addressesConnection(context), m_context(context)
{
    if (!databasePath.isEmpty())
        open(databasePath, mode);
}

ConfigStore::~ConfigStore() { close(); }

void ConfigStore::open(const QString& path, Connection::Mode mode)
{
    close();
    m_path = path;
    struct Pair {
        Connection* con;
        Recordset* rs;
        const QString* table;
    };
    const Pair pairs[] = {
        {&powerOnConnection, &powerOn, &tbl::PowerOn},
        {&alarmInputConnection, &alarmInput, &tbl::AlarmDispositiv},
        {&smsConnection, &sms, &tbl::SMS},
        {&inputsConnection, &inputs, &tbl::Eingaenge},
        {&outputsConnection, &outputs, &tbl::Ausgaenge},
        {&addressesConnection, &addresses, &tbl::Adressen},
    };
    for (const Pair& p : pairs)
        p.con->open(path, mode);
    // Read once, through one connection in one transaction (as requeryAll does).
    {
        const ReadTransaction moment(m_context, smsConnection.db(), m_path);
        for (const Pair& p : pairs)
            p.rs->open(*p.con, *p.table, smsConnection.db());
    }
    acceptChanges();
}

void ConfigStore::requeryAll()
{
    // Read through one connection in one transaction: a load by another program commits
    // either before or after, never in between.
    {
        const ReadTransaction moment(m_context, smsConnection.db(), m_path);
        for (Recordset* rs : {&powerOn, &alarmInput, &sms, &inputs, &outputs, &addresses})
            rs->requery(smsConnection.db());
    }
    acceptChanges();
}

qint64 ConfigStore::dataVersion()
{
    QSqlQuery q(smsConnection.db());
    return q.exec(QStringLiteral("PRAGMA data_version")) && q.next() ? q.value(0).toLongLong() : -1;
}

bool ConfigStore::changedElsewhere()
{
    if (!isOpen())
        return false;
    const qint64 now = dataVersion();
    if (now == m_knownDataVersion)
        return false;
    if (ownCommitCount() != m_knownOwnCommits) {
        // This program wrote meanwhile (through another of its connections): its own change.
        acceptChanges();
        return false;
    }
    return true;
}

void ConfigStore::acceptChanges()
{
    m_knownDataVersion = dataVersion();
    m_knownOwnCommits = ownCommitCount();
}

QString ConfigStore::close()
{
    QString firstError;
    struct Pair {
        Connection* con;
        Recordset* rs;
    };
    const Pair pairs[] = {
        {&inputsConnection, &inputs},         {&outputsConnection, &outputs}, {&powerOnConnection, &powerOn},
        {&alarmInputConnection, &alarmInput}, {&smsConnection, &sms},         {&addressesConnection, &addresses},
    };
    for (const Pair& p : pairs) {
        if (!p.rs->isOpen())
            continue;
        try {
            p.rs->updateBatch();
        } catch (const StoreError& e) {
            if (firstError.isEmpty())
                firstError = e.message();
        }
        p.rs->close();
        p.con->close();
    }
    return firstError;
}

void ConfigStore::updateAll()
{
    Recordset* all[] = {&addresses, &alarmInput, &inputs, &outputs, &powerOn, &sms};
    bool any = false;
    for (Recordset* rs : all)
        any = any || rs->hasPendingChanges();
    if (!any)
        return;
    // All tables are written through one connection in one transaction: either the whole
    // change reaches the file or none of it.
    QSqlDatabase db = smsConnection.db();
    try {
        beginWriting(m_context, db, m_path);
        for (Recordset* rs : all)
            rs->writePending(db);
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit()) {
        const QSqlError err = db.lastError();
        db.rollback();
        throwIfInUse(m_context, err, m_path);
        throw StoreError(m_context
                             .msgOr(QStringLiteral("gsMsgDatenbankNichtSchreibbar"),
                                    QStringLiteral("Die Datenbank kann nicht geschrieben werden: %1"))
                             .arg(err.text()));
    }
    for (Recordset* rs : all)
        rs->markWritten();
    acceptChanges();
}

QString checkDatabase(const ProgramContext& context, const QString& path)
{
    const QFileInfo fi(path);
    if (!fi.exists())
        return context
            .msgOr(QStringLiteral("gsMsgDatenbankFehlt"), QStringLiteral("Die Datenbankdatei %1 ist nicht vorhanden."))
            .arg(path);
    if (!fi.isFile() || !fi.isReadable())
        return context
            .msgOr(QStringLiteral("gsMsgDatenbankNichtLesbar"),
                   QStringLiteral("Die Datenbankdatei %1 kann nicht gelesen werden."))
            .arg(path);
    // A file that is not this program's is refused before SQLite opens it.
    const QString notOurs = DatabaseUpgrade::checkFileHeader(context, path);
    if (!notOurs.isEmpty())
        return notOurs;
    Connection con(context);
    try {
        con.open(path, Connection::Read);
    } catch (const StoreError& e) {
        return e.message();
    }
    QSqlDatabase db = con.db();
    // A database of a newer release is not used: this program might spoil what it added.
    QSqlQuery version(db);
    if (version.exec(QStringLiteral("PRAGMA user_version")) && version.next()) {
        const QString newer
            = DatabaseUpgrade::checkVersion(context, path, version.value(0).toInt(), DatabaseUpgrade::schemaVersion());
        if (!newer.isEmpty())
            return newer;
    } else {
        // Held by another program: said once, after one wait.
        try {
            throwIfInUse(context, version.lastError(), path);
        } catch (const StoreBusy& e) {
            return e.message();
        }
    }
    struct Need {
        QString table;
        QStringList positioned;
        QStringList named;
        int rows;
    };
    QStringList users;
    for (int i = 1; i <= 8; ++i)
        users << QStringLiteral("Benutzer%1").arg(i);
    const QList<Need> needs = {
        {tbl::Eingaenge, QStringList {"ID", "I/O"} + users, {"SMSID"}, 16},
        {tbl::Ausgaenge, QStringList {"ID", "I/O"} + users + QStringList {"DefaultState"}, {"SMSID"}, 8},
        {tbl::AlarmDispositiv, QStringList {"", "", ""} + users, {"IN_SF", "IN_FF", tbl::Verzoegerungszeit, "SMS"}, 1},
        {tbl::PowerOn, QStringList {""} + users, {"SMS"}, 1},
        {tbl::SMS, {"ID", "", "Deutsch", "", "", ""}, {}, 26},
        {tbl::Adressen, {}, {"Namen", "Natel_Nummer", "Passwort", "Operator", "Status"}, 8},
        {tbl::Beschriftung, {"Name", "", "", "", ""}, {}, -1},
        {tbl::ToolTipText, {"Name", "", "", "", ""}, {}, -1},
        {tbl::SystemNachrichten, {"Name", "", "", "", ""}, {}, -1},
    };
    for (const Need& n : needs) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SELECT * FROM \"%1\" LIMIT 0").arg(n.table))) {
            try {
                throwIfInUse(context, q.lastError(), path);
            } catch (const StoreBusy& e) {
                return e.message();
            }
            const QString err = q.lastError().text();
            if (err.contains(QLatin1String("no such table")))
                return context
                    .msgOr(QStringLiteral("gsMsgDatenbankTabelleFehlt"),
                           QStringLiteral("Der Datenbank %1 fehlt die Tabelle \"%2\"."))
                    .arg(path, n.table);
            return context
                .msgOr(QStringLiteral("gsMsgDatenbankLesefehler"),
                       QStringLiteral("Die Datenbank %1 kann nicht gelesen werden: %2"))
                .arg(path, err);
        }
        const QSqlRecord rec = q.record();
        if (rec.count() < n.positioned.size())
            return context
                .msgOr(QStringLiteral("gsMsgTabelleZuWenigSpalten"),
                       QStringLiteral("Die Tabelle \"%1\" von %2 hat zu wenige Spalten."))
                .arg(n.table, path);
        for (int i = 0; i < n.positioned.size(); ++i)
            if (!n.positioned[i].isEmpty() && rec.fieldName(i) != n.positioned[i])
                return context
                    .msgOr(QStringLiteral("gsMsgTabelleSpalteAnPosition"),
                           QStringLiteral("Der Tabelle \"%1\" von %2 fehlt die Spalte \"%3\" an Position %4."))
                    .arg(n.table, path, n.positioned[i])
                    .arg(i);
        for (const QString& c : n.named)
            if (rec.indexOf(c) < 0)
                return context
                    .msgOr(QStringLiteral("gsMsgTabelleSpalteFehlt"),
                           QStringLiteral("Der Tabelle \"%1\" von %2 fehlt die Spalte \"%3\"."))
                    .arg(n.table, path, c);
        if (n.rows >= 0) {
            QSqlQuery c(db);
            if (!c.exec(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(n.table)) || !c.next())
                return context
                    .msgOr(QStringLiteral("gsMsgTabelleNichtLesbar"),
                           QStringLiteral("Die Tabelle \"%1\" von %2 kann nicht gelesen werden."))
                    .arg(n.table, path);
            if (c.value(0).toInt() != n.rows)
                return context
                    .msgOr(QStringLiteral("gsMsgTabelleZeilenzahlDatei"),
                           QStringLiteral("Die Tabelle \"%1\" von %2 hat %3 statt %4 Zeilen."))
                    .arg(n.table, path)
                    .arg(c.value(0).toInt())
                    .arg(n.rows);
        }
    }
    return QString();
}
