#pragma once
// Reading the three language tables (Beschriftung, ToolTipText, SystemNachrichten).
//
// The loaders mostly step through the rows in table order rather than looking every text
// up: they find one anchor row by its Name and take that row and the rows after it. A
// LanguageTable keeps one read connection and one recordset open for one loading pass.
// The text of a row is the column of the language (1 German .. 4 French); a row whose text
// is empty in that language gives the German text.
//
// A missing anchor or a table that ends inside a run throws LanguageTableError, which
// names the table and the key. takeNamed checks that a row stepped onto is the one expected.
#include "store/Recordset.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class LanguageTableError : public StoreError {
public:
    LanguageTableError(const QString& table, const QString& key, const QString& what)
        : StoreError(what), m_table(table), m_key(key)
    {
    }
    QString table() const { return m_table; }
    QString key() const { return m_key; }

private:
    QString m_table;
    QString m_key;
};

class LanguageTable {
public:
    // Opens table in the database at path (default: the context's database) for language
    // (default: the context's language). Throws LanguageTableError when it cannot be read.
    LanguageTable(const ProgramContext& context, const QString& table, const QString& path = QString(),
                  int language = 0);
    ~LanguageTable();
    LanguageTable(const LanguageTable&) = delete;
    LanguageTable& operator=(const LanguageTable&) = delete;

    // A short look-up without a loading pass: the texts of the rows named in names (every
    // row when names is empty) by Name, in language (0: the context's; an empty text gives
    // the German one). Only those rows are read; of a Name found twice the later row counts.
    // Throws StoreError as the store gives it (StoreBusy while another program holds the file).
    static QHash<QString, QString> texts(const ProgramContext& context, const QString& table,
                                         const QStringList& names = {}, int language = 0);

    QString table() const { return m_table; }
    int language() const { return m_language; }
    int rowCount() const { return m_rs.recordCount(); }

    // Stands on the first row (the start of the stepped runs).
    void first();
    // Moves to the first row and finds the row named key; throws when there is none.
    void anchor(const QString& key);
    // Finds the row named key searching forward from the current row; throws when there is none.
    void findNext(const QString& key);

    // The text of the current row, then one row on. what names the text in an error
    // ("row 17", a control name); the run's anchor key is named too.
    QString take(const QString& what = QString());
    // The text of the current row without moving.
    QString current(const QString& what = QString()) const;

    // Convenience: the anchor row's text, or the anchor row and count - 1 rows after it.
    QString text(const QString& key);
    QStringList run(const QString& key, int count);

    // The Name of the current row (empty past the end).
    QString currentName() const;

    // Like take, but only when the current row is the one named name: a row of another Name
    // is stepped over without its text (a null QString is returned), logged and noted in
    // wrongRows(), so no text lands under a control it does not belong to.
    QString takeNamed(const QString& name);
    const QStringList& wrongRows() const { return m_wrongRows; }

private:
    [[noreturn]] void failPastEnd(const QString& what) const;
    bool seek(const QString& key);

    // The rows (0-based) of every Name, in table order; built on the first look-up.
    QHash<QString, QList<int>> m_rowsByName;
    const ProgramContext& m_context;
    bool m_indexed = false;

    QString m_table;
    int m_language = 1;
    QString m_anchor;
    int m_taken = 0;
    QStringList m_wrongRows;
    Connection m_con;
    Recordset m_rs;
};
