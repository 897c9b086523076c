#pragma once
// A client-side snapshot of a table or SELECT with pending edits, as the program's
// windows use it: move first/next/previous/last, absolute position, BOF/EOF, forward
// find with the program's criterion forms, fields by name or zero-based position, and
// edits that reach the file only on updateBatch (one transaction).
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <stdexcept>

class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString& what) : std::runtime_error(what.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// Another program holds the database longer than the program waits for it (five seconds);
// nothing was written. Trying the same operation again may succeed.
class StoreBusy : public StoreError {
public:
    using StoreError::StoreError;
};

class ProgramContext;
class QSqlError;

// How many writes this program has committed to any database so far (every connection of
// the process): a change of the database that comes with no new write of its own was made
// by another program.
quint64 ownCommitCount();

// A read transaction on db for the life of the object: every read through db in it sees the
// database at one moment, whatever other programs commit meanwhile. Throws StoreBusy or
// StoreError when it cannot be begun.
class ReadTransaction {
public:
    ReadTransaction(const ProgramContext& context, QSqlDatabase db, const QString& path);
    ~ReadTransaction();
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    QSqlDatabase m_db;
};
// The sentences below are in the context's language.
// Throws StoreBusy naming the database at path when error says another program holds it.
void throwIfInUse(const ProgramContext& context, const QSqlError& error, const QString& path);
// Starts a write transaction on db that takes the write lock at once, so that a database in
// use fails before anything is written. Throws StoreBusy or StoreError.
void beginWriting(const ProgramContext& context, QSqlDatabase& db, const QString& path);
// Empty when the program may change the database at path: the file and its folder (where
// SQLite keeps the side files of its log) are writable. Else the sentence saying that the
// database is read-only and where it is.
QString checkDatabaseWritable(const ProgramContext& context, const QString& path);

// One connection to the database file (each recordset holder opens its own). Read opens the
// file read-only, also in a folder the program may not write; ReadWrite refuses a database the
// program may not change, with the sentence saying so. A lock held by another program is
// waited for at most five seconds, then the operation throws StoreBusy.
class Connection {
public:
    enum Mode { Read = 1, ReadWrite = 3 };
    // context: the language of the errors thrown (also by the recordsets on this connection).
    explicit Connection(const ProgramContext& context) : m_context(context) {}
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    void open(const QString& path, Mode mode); // throws StoreError
    void close();
    bool isOpen() const;
    QSqlDatabase db() const;
    QString path() const { return m_path; }
    Mode mode() const { return m_mode; }
    const ProgramContext& context() const { return m_context; }

private:
    const ProgramContext& m_context;
    QString m_name;
    QString m_path;
    Mode m_mode = Read;
};

class Recordset {
public:
    Recordset() = default;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // source: a table name or a SELECT statement. Throws StoreError.
    void open(Connection& con, const QString& source);
    // The same, the rows read through `through` (another connection's read transaction).
    void open(Connection& con, const QString& source, const QSqlDatabase& through);
    void close();
    bool isOpen() const { return m_open; }
    QString source() const { return m_source; }

    int recordCount() const { return m_rows.size(); }
    bool bof() const { return m_pos < 0 || m_rows.isEmpty(); }
    bool eof() const { return m_pos >= m_rows.size() || m_rows.isEmpty(); }
    // 1-based position of the current row, -1 at BOF/EOF.
    int absolutePosition() const { return (bof() || eof()) ? -1 : m_pos + 1; }
    void setAbsolutePosition(int pos); // 1-based; throws outside 1..count

    void moveFirst();
    void moveLast();
    void moveNext(); // throws at EOF
    void movePrevious(); // throws at BOF

    // Searches forward from the current row (inclusive). Criterion forms:
    // "Col = 'text'", "Col = 'number'", "Col = number", "Col= number".
    // Numeric comparison when the field and the value are both numbers.
    // No match: the recordset stands past its last row (EOF) and false is returned.
    bool find(const QString& criterion);

    int fieldCount() const { return m_fields.size(); }
    QString fieldName(int pos) const;
    int fieldIndex(const QString& name) const; // -1 when missing
    QVariant value(int pos) const;
    QVariant value(const QString& name) const;
    void setValue(int pos, const QVariant& v);
    void setValue(const QString& name, const QVariant& v);

    bool hasPendingChanges() const;
    // Writes every pending row in one transaction; on failure nothing is written,
    // the edits stay pending and StoreError is thrown. When another program holds the
    // database, the recordset is read again instead (dropping the edits, so that the same
    // edit can simply be made again) and StoreBusy is thrown.
    void updateBatch();
    void cancelBatch();
    // Building blocks of a transaction spanning several recordsets (see ConfigStore::updateAll):
    // write the pending rows through db without transaction handling, then mark them written.
    void writePending(QSqlDatabase& db);
    void markWritten();
    // Reads the source again; pending edits are dropped. The position goes to the first row.
    void requery();
    // The same through another connection to the same file, e.g. one in a ReadTransaction
    // that several recordsets read through so that they show one moment.
    void requery(const QSqlDatabase& through);

private:
    void load();
    void load(const QSqlDatabase& db);
    void checkCurrent() const;
    int checkedIndex(const QString& name) const;

    Connection* m_con = nullptr;
    QString m_source;
    QString m_table; // empty for SELECT sources (read only)
    bool m_open = false;
    QStringList m_fields;
    struct Row {
        qint64 rowid = -1;
        QVector<QVariant> values;
        QVector<bool> dirty;
        bool changed = false;
    };
    QVector<Row> m_rows;
    int m_pos = 0;
};
