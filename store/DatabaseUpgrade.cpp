#include "store/DatabaseUpgrade.h"

#include "core/Logging.h"
#include "core/ProgramContext.h"
#include "store/ConfigStore.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
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
    // A database that may not be written is opened read-only (and immutable: nothing is made
    // beside it), only to see whether an update would be due.
    void open(const QString& userPath, const QString& templatePath, bool forWriting) const
    {
        QSqlDatabase db = this->db();
        db.setDatabaseName(
            forWriting ? userPath
                       : QUrl::fromLocalFile(QFileInfo(userPath).absoluteFilePath()).toString(QUrl::FullyEncoded)
                    + QStringLiteral("?mode=ro&immutable=1"));
        db.setConnectOptions(forWriting ? QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000")
                                        : QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"));
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

// The context with the template's messages in its language, when it has none loaded yet (the
// per-user folder is made ready before the program reads its texts from it).
ProgramContext withTemplateTexts(const ProgramContext& context, const QString& templatePath)
{
    ProgramContext texts = context;
    if (!texts.messages.isEmpty())
        return texts;
    static const char* const columns[] = {"Deutsch", "Englisch", "Italienisch", "Französisch"};
    const QString name = QStringLiteral("smsv48-upgrade-texts");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(templatePath).absoluteFilePath()).toString(QUrl::FullyEncoded)
                           + QStringLiteral("?mode=ro&immutable=1"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("SELECT \"Name\", \"%1\" FROM \"SystemNachrichten\"")
                           .arg(QString::fromUtf8(columns[qBound(1, context.language, 4) - 1]))))
                while (q.next())
                    texts.messages.insert(q.value(0).toString(), q.value(1).toString());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return texts;
}

// Whether this process may write the file and its folder (where SQLite keeps its side files).
bool writable(const QString& path) { return checkDatabaseWritable(ProgramContext(), path).isEmpty(); }
} // namespace

namespace DatabaseUpgrade {
int schemaVersion() { return migrations().last().version; }

namespace {
    QString foreignFile(const ProgramContext& context, const QString& path)
    {
        return context
            .msgOr(QStringLiteral("gsMsgDatenbankFremd"),
                   QStringLiteral("Die Datei %1 ist keine Konfigurationsdatenbank dieses Programms; sie wurde nicht "
                                  "verändert."))
            .arg(QDir::toNativeSeparators(path));
    }
} // namespace

QString checkFileHeader(const ProgramContext& context, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString(); // the caller's own open says why
    // Also an empty file, which SQLite would take for a new database and fill.
    return file.read(16) == QByteArray("SQLite format 3", 16) ? QString() : foreignFile(context, path);
}

QString checkVersion(const ProgramContext& context, const QString& path, int version, int newestVersion)
{
    if (version <= newestVersion)
        return QString();
    return context
        .msgOr(QStringLiteral("gsMsgDatenbankNeuer"),
               QStringLiteral("Die Datenbank %1 stammt von einer neueren Programmversion (Version %2, dieses "
                              "Programm kennt bis Version %3); sie wurde nicht verändert."))
        .arg(QDir::toNativeSeparators(path))
        .arg(version)
        .arg(newestVersion);
}

QString checkOurs(const ProgramContext& context, const QString& path, int newestVersion)
{
    QString problem = checkFileHeader(context, path);
    if (!problem.isEmpty())
        return problem;
    // Read-only and immutable when the folder may not be written: nothing is made beside it.
    const QString name = QStringLiteral("smsv48-check-ours");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        // Without a log beside it the file holds everything and is read as it is (immutable:
        // SQLite makes no side files); with one, another program has it open or was stopped,
        // and the log's side files are already there.
        const bool logBeside = QFileInfo::exists(path + QStringLiteral("-wal"));
        db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded)
                           + (logBeside ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=ro&immutable=1")));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name IN "
                                      "('Konfiguration_Eingänge', 'Konfiguration_Ausgänge', 'Alarm_Dispositiv', "
                                      "'PowerOn', 'SMS', 'Adressen')"))
                && q.next()) {
                if (q.value(0).toInt() == 0)
                    problem = foreignFile(context, path);
                else if (q.exec(QStringLiteral("PRAGMA user_version")) && q.next())
                    problem = checkVersion(context, path, q.value(0).toInt(), newestVersion);
            }
            // Anything else (a table missing, a database in use) the caller's own checks say.
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return problem;
}

Outcome fromTemplate(const ProgramContext& programContext, const QString& templatePath, const QString& userPath,
                     QString* error)
{
    const ProgramContext context = withTemplateTexts(programContext, templatePath);
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
    const int shippedVersion = std::max(schemaVersion(), 1);
    const QString refused = checkOurs(context, userPath, shippedVersion);
    if (!refused.isEmpty()) {
        if (error)
            *error = refused;
        return Outcome::Failed;
    }
    try {
        UpgradeSession s;
        s.open(userPath, templatePath, writable(userPath));
        const int from = s.version(QStringLiteral("main"));
        const int to = s.version(QStringLiteral("shipped"));
        if (from > to)
            return fail(context
                            .msgOr(QStringLiteral("gsMsgDatenbankKeineMigration"),
                                   QStringLiteral("keine Umstellung von Version %1 auf Version %2 bekannt"))
                            .arg(from)
                            .arg(to));
        if (from == to && !textsDiffer(s))
            return Outcome::Unchanged;
        if (!writable(userPath)) {
            qCInfo(lcStore).noquote() << userPath << "may not be written: used as it is, without the update";
            return Outcome::Skipped;
        }
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
