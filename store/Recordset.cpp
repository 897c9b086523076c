#include "store/Recordset.h"
#include "core/Logging.h"

#include "core/ProgramContext.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <algorithm>
#include <sqlite3.h>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {
QAtomicInt g_connectionCounter;
QAtomicInteger<quint64> g_ownCommits;

// Whether this process may read or write there, with the rights its file operations use.
bool mayAccess(const QString& path, bool write)
{
#ifdef Q_OS_UNIX
    return faccessat(AT_FDCWD, QFile::encodeName(path).constData(), write ? W_OK : R_OK, AT_EACCESS) == 0;
#else
    const QFileInfo fi(path);
    return write ? fi.isWritable() : fi.isReadable();
#endif
}

QString folderOf(const QString& path) { return QFileInfo(path).absolutePath(); }

// SQLite's write-ahead log keeps two side files beside the database. A read needs them too:
// they exist while another program has the file open, or SQLite makes them in the folder.
bool logFilesReachable(const QString& path)
{
    return mayAccess(folderOf(path), true)
        || (mayAccess(path + QStringLiteral("-wal"), false) && mayAccess(path + QStringLiteral("-shm"), false));
}

QString quoteIdent(const QString& s)
{
    QString q = s;
    q.replace('"', "\"\"");
    return '"' + q + '"';
}
} // namespace

QString checkDatabaseWritable(const ProgramContext& context, const QString& path)
{
    if (mayAccess(path, true) && mayAccess(folderOf(path), true))
        return QString();
    return context
        .msgOr(
            QStringLiteral("gsMsgDatenbankSchreibgeschützt"),
            QStringLiteral("Die Datenbank %1 ist schreibgeschützt: Das Programm darf die Datei oder ihren Ordner nicht "
                           "ändern. Es wurde nichts geändert."))
        .arg(QDir::toNativeSeparators(path));
}

void throwIfInUse(const ProgramContext& context, const QSqlError& error, const QString& path)
{
    bool isNumber = false;
    const int code = error.nativeErrorCode().toInt(&isNumber) & 0xFF; // the primary code of an extended one
    if (isNumber && (code == SQLITE_BUSY || code == SQLITE_LOCKED))
        throw StoreBusy(
            context
                .msgOr(QStringLiteral("gsMsgDatenbankInVerwendung"),
                       QStringLiteral(
                           "Die Datenbank %1 wird von einem anderen Programm verwendet. Es wurde nichts geändert."))
                .arg(QDir::toNativeSeparators(path)));
}

quint64 ownCommitCount() { return g_ownCommits.loadRelaxed(); }

ReadTransaction::ReadTransaction(const ProgramContext& context, QSqlDatabase db, const QString& path) : m_db(db)
{
    // A deferred transaction: its first read fixes the moment all later reads see.
    QSqlQuery begin(m_db);
    if (begin.exec(QStringLiteral("BEGIN")))
        return;
    throwIfInUse(context, begin.lastError(), path);
    throw StoreError(context
                         .msgOr(QStringLiteral("gsMsgDatenbankLesefehler"),
                                QStringLiteral("Die Datenbank %1 kann nicht gelesen werden: %2"))
                         .arg(path, begin.lastError().text()));
}

ReadTransaction::~ReadTransaction() { QSqlQuery(m_db).exec(QStringLiteral("COMMIT")); }

Connection::~Connection() { close(); }

void Connection::open(const QString& path, Mode mode)
{
    close();
    if (!QFileInfo(path).isFile())
        throw StoreError(m_context
                             .msgOr(QStringLiteral("gsMsgDatenbankFehlt"),
                                    QStringLiteral("Die Datenbankdatei %1 ist nicht vorhanden."))
                             .arg(path));
    if (mode == ReadWrite) {
        const QString readOnly = checkDatabaseWritable(m_context, path);
        if (!readOnly.isEmpty())
            throw StoreError(readOnly);
    }
    m_name = QStringLiteral("smsv48-%1").arg(g_connectionCounter.fetchAndAddRelaxed(1));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    // Another program's lock is waited for a short while only; the caller then says the
    // database is in use instead of the program hanging.
    QString opts = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
    if (mode == Read) {
        opts += QStringLiteral(";QSQLITE_OPEN_READONLY");
        if (!logFilesReachable(path)) {
            // A folder the program may not write (an installed or read-only program folder):
            // the file is read as one that nobody changes, which needs no side files.
            db.setDatabaseName(QString::fromUtf8(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded())
                               + QStringLiteral("?immutable=1"));
            opts += QStringLiteral(";QSQLITE_OPEN_URI");
        }
    }
    db.setConnectOptions(opts);
    if (!db.open()) {
        const QString err = db.lastError().text();
        qCDebug(lcStore).noquote() << "cannot open" << path << ":" << err;
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        m_name.clear();
        throw StoreError(m_context
                             .msgOr(QStringLiteral("gsMsgDatenbankNichtGeöffnet"),
                                    QStringLiteral("Die Datenbank %1 kann nicht geöffnet werden: %2"))
                             .arg(path, err));
    }
    m_path = path;
    m_mode = mode;
}

void Connection::close()
{
    if (m_name.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_name.clear();
}

bool Connection::isOpen() const { return !m_name.isEmpty(); }

QSqlDatabase Connection::db() const { return QSqlDatabase::database(m_name, false); }

void Recordset::open(Connection& con, const QString& source) { open(con, source, con.db()); }

void Recordset::open(Connection& con, const QString& source, const QSqlDatabase& through)
{
    close();
    if (!con.isOpen())
        throw StoreError(QStringLiteral("The connection is not open."));
    m_con = &con;
    m_source = source;
    m_table = source.trimmed().startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive) ? QString() : source;
    load(through);
    m_open = true;
}

void Recordset::load() { load(m_con->db()); }

void Recordset::load(const QSqlDatabase& db)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const QString sql = m_table.isEmpty()
        ? m_source
        : QStringLiteral("SELECT rowid AS \"__rowid\", * FROM %1 ORDER BY rowid").arg(quoteIdent(m_table));
    if (!q.exec(sql)) {
        throwIfInUse(m_con->context(), q.lastError(), m_con->path());
        throw StoreError(QStringLiteral("%1: %2").arg(m_source, q.lastError().text()));
    }
    const QSqlRecord rec = q.record();
    const int offset = m_table.isEmpty() ? 0 : 1;
    m_fields.clear();
    for (int i = offset; i < rec.count(); ++i)
        m_fields << rec.fieldName(i);
    m_rows.clear();
    while (q.next()) {
        Row r;
        if (offset)
            r.rowid = q.value(0).toLongLong();
        r.values.reserve(m_fields.size());
        for (int i = offset; i < rec.count(); ++i)
            r.values << q.value(i);
        r.dirty = QVector<bool>(m_fields.size(), false);
        m_rows << r;
    }
    m_pos = 0;
}

void Recordset::close()
{
    m_open = false;
    m_rows.clear();
    m_fields.clear();
    m_con = nullptr;
    m_pos = 0;
}

void Recordset::setAbsolutePosition(int pos)
{
    if (pos < 1 || pos > m_rows.size())
        throw StoreError(QStringLiteral("%1: position %2 is outside the recordset.").arg(m_source).arg(pos));
    m_pos = pos - 1;
}

void Recordset::moveFirst() { m_pos = 0; }
void Recordset::moveLast() { m_pos = m_rows.isEmpty() ? 0 : m_rows.size() - 1; }

void Recordset::moveNext()
{
    if (eof())
        throw StoreError(QStringLiteral("%1: move past the last row.").arg(m_source));
    ++m_pos;
}

void Recordset::movePrevious()
{
    if (bof())
        throw StoreError(QStringLiteral("%1: move before the first row.").arg(m_source));
    --m_pos;
}

namespace {
bool isBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u == ' ' || (u >= '\t' && u <= '\r');
}

// Splits "Col = value" (spaces optional around "=") into the column and the value, the value
// with its surrounding spaces removed. The value is one line; false for anything else.
bool splitCriterion(const QString& criterion, QString* column, QString* value)
{
    const qsizetype n = criterion.size();
    qsizetype i = 0;
    while (i < n && isBlank(criterion[i]))
        ++i;
    const qsizetype colStart = i;
    while (i < n && criterion[i] != QLatin1Char('=') && !isBlank(criterion[i]))
        ++i;
    if (i == colStart)
        return false;
    *column = criterion.mid(colStart, i - colStart);
    while (i < n && isBlank(criterion[i]))
        ++i;
    if (i == n || criterion[i] != QLatin1Char('='))
        return false;
    ++i;
    while (i < n && isBlank(criterion[i]))
        ++i;
    qsizetype end = n;
    while (end > i && isBlank(criterion[end - 1]))
        --end;
    *value = criterion.mid(i, end - i);
    return !value->contains(QLatin1Char('\n'));
}
} // namespace

bool Recordset::find(const QString& criterion)
{
    QString column, value;
    if (!splitCriterion(criterion, &column, &value))
        throw StoreError(QStringLiteral("%1: unsupported criterion \"%2\".").arg(m_source, criterion));
    const int col = checkedIndex(column);
    if (value.size() >= 2 && value.startsWith('\'') && value.endsWith('\''))
        value = value.mid(1, value.size() - 2).replace(QLatin1String("''"), QLatin1String("'"));
    bool valueIsNumber = false;
    const double num = value.toDouble(&valueIsNumber);
    if (m_pos < 0)
        m_pos = 0;
    for (int i = m_pos; i < m_rows.size(); ++i) {
        const QVariant& v = m_rows[i].values[col];
        if (v.isNull())
            continue;
        // Numbers compare as numbers when the field is one too; anything else as text.
        bool match;
        if (valueIsNumber) {
            bool fieldIsNumber = false;
            const QString text = v.toString();
            const double f = text.toDouble(&fieldIsNumber);
            match = fieldIsNumber ? f == num : text == value;
        } else {
            match = v.toString() == value;
        }
        if (match) {
            m_pos = i;
            return true;
        }
    }
    m_pos = m_rows.size();
    return false;
}

QString Recordset::fieldName(int pos) const
{
    if (pos < 0 || pos >= m_fields.size())
        throw StoreError(QStringLiteral("%1: no field at position %2.").arg(m_source).arg(pos));
    return m_fields[pos];
}

int Recordset::fieldIndex(const QString& name) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int Recordset::checkedIndex(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw StoreError(QStringLiteral("%1: no field named \"%2\".").arg(m_source, name));
    return i;
}

void Recordset::checkCurrent() const
{
    if (!m_open)
        throw StoreError(QStringLiteral("%1: the recordset is not open.").arg(m_source));
    if (bof() || eof())
        throw StoreError(QStringLiteral("%1: there is no current row.").arg(m_source));
}

QVariant Recordset::value(int pos) const
{
    checkCurrent();
    fieldName(pos);
    return m_rows[m_pos].values[pos];
}

QVariant Recordset::value(const QString& name) const { return value(checkedIndex(name)); }

void Recordset::setValue(int pos, const QVariant& v)
{
    checkCurrent();
    fieldName(pos);
    if (m_table.isEmpty())
        throw StoreError(QStringLiteral("%1: the recordset is read only.").arg(m_source));
    Row& r = m_rows[m_pos];
    const QVariant& old = r.values[pos];
    if (old.isNull() == v.isNull() && (old.isNull() || old == v))
        return;
    r.values[pos] = v;
    r.dirty[pos] = true;
    r.changed = true;
}

void Recordset::setValue(const QString& name, const QVariant& v) { setValue(checkedIndex(name), v); }

bool Recordset::hasPendingChanges() const
{
    for (const Row& r : m_rows)
        if (r.changed)
            return true;
    return false;
}

void Recordset::updateBatch()
{
    if (!m_open || !hasPendingChanges())
        return;
    QSqlDatabase db = m_con->db();
    try {
        try {
            beginWriting(m_con->context(), db, m_con->path());
            writePending(db);
        } catch (...) {
            db.rollback();
            throw;
        }
        if (!db.commit()) {
            const QSqlError err = db.lastError();
            qCDebug(lcStore).noquote() << m_source << ": commit failed:" << err.text();
            db.rollback();
            throwIfInUse(m_con->context(), err, m_con->path());
            throw StoreError(m_con->context()
                                 .msgOr(QStringLiteral("gsMsgÄnderungenNichtGeschrieben"),
                                        QStringLiteral("%1: die Änderungen können nicht geschrieben werden: %2"))
                                 .arg(m_source, err.text()));
        }
    } catch (const StoreBusy&) {
        // Nothing was written: show the file again (on the same row), so that the same edit
        // can be made again.
        const int pos = m_pos;
        try {
            load();
            m_pos = std::clamp(pos, 0, int(m_rows.size()));
        } catch (const StoreError&) {
        }
        throw;
    }
    g_ownCommits.fetchAndAddRelaxed(1);
    markWritten();
}

void beginWriting(const ProgramContext& context, QSqlDatabase& db, const QString& path)
{
    // The write lock is taken at the start: a database in use fails here, before anything.
    QSqlQuery begin(db);
    if (begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return;
    qCDebug(lcStore).noquote() << path << ": no write transaction:" << begin.lastError().text();
    throwIfInUse(context, begin.lastError(), path);
    throw StoreError(context
                         .msgOr(QStringLiteral("gsMsgDatenbankNichtSchreibbar"),
                                QStringLiteral("Die Datenbank kann nicht geschrieben werden: %1"))
                         .arg(begin.lastError().text()));
}

void Recordset::writePending(QSqlDatabase& db)
{
    if (!m_open)
        return;
    if (m_table.isEmpty() && hasPendingChanges())
        throw StoreError(QStringLiteral("%1: the recordset is read only.").arg(m_source));
    for (const Row& r : m_rows) {
        if (!r.changed)
            continue;
        QStringList sets;
        QVector<QVariant> binds;
        for (int i = 0; i < m_fields.size(); ++i) {
            if (!r.dirty[i])
                continue;
            sets << quoteIdent(m_fields[i]) + QStringLiteral(" = ?");
            binds << r.values[i];
        }
        QSqlQuery q(db);
        q.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(quoteIdent(m_table), sets.join(", ")));
        for (const QVariant& b : binds)
            q.addBindValue(b);
        q.addBindValue(r.rowid);
        if (!q.exec() || q.numRowsAffected() != 1) {
            qCDebug(lcStore).noquote() << m_source << ": row" << r.rowid << "not written:" << q.lastError().text();
            throwIfInUse(m_con->context(), q.lastError(), m_con->path());
            const QString err = q.lastError().isValid()
                ? q.lastError().text()
                : m_con->context().msgOr(QStringLiteral("gsMsgZeileVerschwunden"),
                                         QStringLiteral("eine Zeile ist aus der Datei verschwunden"));
            throw StoreError(m_con->context()
                                 .msgOr(QStringLiteral("gsMsgÄnderungenNichtGeschrieben"),
                                        QStringLiteral("%1: die Änderungen können nicht geschrieben werden: %2"))
                                 .arg(m_source, err));
        }
    }
}

void Recordset::markWritten()
{
    for (Row& r : m_rows) {
        r.changed = false;
        r.dirty.fill(false);
    }
}

void Recordset::cancelBatch() { load(); }

void Recordset::requery()
{
    if (!m_open)
        throw StoreError(QStringLiteral("%1: the recordset is not open.").arg(m_source));
    load();
}

void Recordset::requery(const QSqlDatabase& through)
{
    if (!m_open)
        throw StoreError(QStringLiteral("%1: the recordset is not open.").arg(m_source));
    load(through);
}
