#include "store/DatabaseUpgrade.h"

#include "core/ProgramContext.h"
#include "store/ConfigStore.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <algorithm>

namespace {
// Tables whose rows belong to the program rather than to the site: captions, tool tips and
// messages in the four languages. An upgrade replaces them with the template's.
const QStringList& textTables()
{
    static const QStringList tables = {tbl::Beschriftung, tbl::ToolTipText, tbl::SystemNachrichten};
    return tables;
}

struct Migration {
    int version; // the schema version this step leads to, from the one before
    QStringList statements; // run in order on the configuration tables
};

// The steps from each schema version to the next. The text tables need no step: they are
// recreated from the template after the steps ran. A column added to a configuration table is
// a new step here, e.g. {2, {"ALTER TABLE \"Adressen\" ADD COLUMN ... DEFAULT ..."}}, with the
// column in store/sql/00_schema.sql and its PRAGMA user_version raised to 2.
const QList<Migration>& migrations()
{
    static const QList<Migration> steps = {
        // Databases made before the version was kept carry 0 and have the tables of version 1.
        {1, {}},
    };
    return steps;
}

QString quoted(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

struct Failure {
    QString detail;
};

// One connection of its own to the user's database, with the template attached as "shipped",
// read-only and immutable: it lies in a folder the user may not write, where SQLite can neither
// make nor lock the side files of a write-ahead-logged database, and nothing changes it meanwhile.
class UpgradeSession {
public:
    UpgradeSession()
    {
        static QAtomicInt counter;
        m_name = QStringLiteral("smsv48-upgrade-%1").arg(counter.fetchAndAddRelaxed(1));
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    }
    void open(const QString& userPath, const QString& templatePath) const
    {
        QSqlDatabase db = this->db();
        db.setDatabaseName(userPath);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open())
            throw Failure {db.lastError().text()};
        QSqlQuery attach(db);
        attach.prepare(QStringLiteral("ATTACH DATABASE ? AS shipped"));
        attach.addBindValue(QUrl::fromLocalFile(templatePath).toString(QUrl::FullyEncoded)
                            + QStringLiteral("?mode=ro&immutable=1"));
        if (!attach.exec())
            throw Failure {attach.lastError().text()};
    }
    ~UpgradeSession()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            if (m_inTransaction)
                QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    UpgradeSession(const UpgradeSession&) = delete;
    UpgradeSession& operator=(const UpgradeSession&) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

    void exec(const QString& sql) const
    {
        QSqlQuery q(db());
        if (!q.exec(sql))
            throw Failure {QStringLiteral("%1: %2").arg(sql.left(80), q.lastError().text())};
    }
    // The rows of a query, each as its values.
    QList<QVariantList> rows(const QString& sql, const QVariantList& values = {}) const
    {
        QSqlQuery q(db());
        q.setForwardOnly(true);
        q.prepare(sql);
        for (const QVariant& v : values)
            q.addBindValue(v);
        if (!q.exec())
            throw Failure {QStringLiteral("%1: %2").arg(sql.left(80), q.lastError().text())};
        QList<QVariantList> result;
        const int columns = q.record().count();
        while (q.next()) {
            QVariantList row;
            for (int i = 0; i < columns; ++i)
                row << q.value(i);
            result << row;
        }
        return result;
    }
    int version(const QString& schema) const
    {
        return rows(QStringLiteral("PRAGMA %1.user_version").arg(schema)).value(0).value(0).toInt();
    }

    void begin()
    {
        exec(QStringLiteral("BEGIN IMMEDIATE"));
        m_inTransaction = true;
    }
    void commit()
    {
        exec(QStringLiteral("COMMIT"));
        m_inTransaction = false;
    }

private:
    QString m_name;
    bool m_inTransaction = false;
};

// True when a text table of the user's database differs from the template's in any row, in
// the order of the rows, or in its columns (or is missing).
bool textsDiffer(const UpgradeSession& s)
{
    for (const QString& table : textTables()) {
        const QString user = QStringLiteral("SELECT rowid, * FROM main.%1").arg(quoted(table));
        const QString shipped = QStringLiteral("SELECT rowid, * FROM shipped.%1").arg(quoted(table));
        try {
            if (!s.rows(QStringLiteral("SELECT 1 FROM (%1 EXCEPT %2) UNION ALL SELECT 1 FROM (%2 EXCEPT %1) LIMIT 1")
                            .arg(user, shipped))
                     .isEmpty())
                return true;
        } catch (const Failure&) {
            return true;
        }
    }
    return false;
}

// Drops the user's text table and makes it again as the template has it (with its indexes),
// rows and row ids included.
void replaceTextTable(const ProgramContext& context, const UpgradeSession& s, const QString& table,
                      const QString& templatePath)
{
    const QList<QVariantList> schema
        = s.rows(QStringLiteral("SELECT type, sql FROM shipped.sqlite_master WHERE tbl_name = ? AND sql IS NOT NULL "
                                "ORDER BY type <> 'table', rowid"),
                 {table});
    if (schema.isEmpty() || schema.first().value(0).toString() != QLatin1String("table"))
        throw Failure {context
                           .msgOr(QStringLiteral("gsMsgDatenbankTabelleFehlt"),
                                  QStringLiteral("Der Datenbank %1 fehlt die Tabelle \"%2\"."))
                           .arg(templatePath, table)};
    s.exec(QStringLiteral("DROP TABLE IF EXISTS main.%1").arg(quoted(table)));
    for (const QVariantList& entry : schema)
        s.exec(entry.value(1).toString()); // unqualified: made in main
    QStringList columns {QStringLiteral("rowid")};
    for (const QVariantList& column : s.rows(QStringLiteral("PRAGMA shipped.table_info(%1)").arg(quoted(table))))
        columns << quoted(column.value(1).toString());
    const QString list = columns.join(QLatin1Char(','));
    s.exec(
        QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM shipped.%1 ORDER BY rowid").arg(quoted(table), list));
}
} // namespace

namespace DatabaseUpgrade {
int schemaVersion() { return migrations().last().version; }

Outcome fromTemplate(const ProgramContext& context, const QString& templatePath, const QString& userPath,
                     QString* error)
{
    auto fail = [&](const QString& detail) {
        if (error)
            *error = context
                         .msgOr(QStringLiteral("gsMsgDatenbankNichtAktualisiert"),
                                QStringLiteral("Die Datenbank %1 kann nicht auf den Stand der mitgelieferten Vorlage "
                                               "%2 gebracht werden und bleibt unverändert: %3"))
                         .arg(userPath, templatePath, detail);
        return Outcome::Failed;
    };
    for (const QString& path : {userPath, templatePath})
        if (!QFileInfo(path).isFile()) // SQLite would make an empty database there
            return fail(context
                            .msgOr(QStringLiteral("gsMsgDatenbankFehlt"),
                                   QStringLiteral("Die Datenbankdatei %1 ist nicht vorhanden."))
                            .arg(path));
    try {
        UpgradeSession s;
        s.open(userPath, templatePath);
        const int from = s.version(QStringLiteral("main"));
        const int to = s.version(QStringLiteral("shipped"));
        if (from > to || (from == to && !textsDiffer(s)))
            return Outcome::Unchanged;
        QList<Migration> steps;
        for (int v = from + 1; v <= to; ++v) {
            const auto step = std::find_if(migrations().begin(), migrations().end(),
                                           [v](const Migration& m) { return m.version == v; });
            if (step == migrations().end())
                return fail(context
                                .msgOr(QStringLiteral("gsMsgDatenbankKeineMigration"),
                                       QStringLiteral("keine Umstellung von Version %1 auf Version %2 bekannt"))
                                .arg(from)
                                .arg(to));
            steps << *step;
        }
        s.begin();
        for (const Migration& step : steps)
            for (const QString& statement : step.statements)
                s.exec(statement);
        for (const QString& table : textTables())
            replaceTextTable(context, s, table, templatePath);
        if (from != to)
            s.exec(QStringLiteral("PRAGMA main.user_version = %1").arg(to));
        s.commit();
        return from == to ? Outcome::TextsUpdated : Outcome::Migrated;
    } catch (const Failure& f) {
        return fail(f.detail);
    }
}
}
