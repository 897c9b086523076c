#pragma once
// One language column of a text table (Beschriftung, ToolTipText or SystemNachrichten), for
// the small windows of the shell and the reports. It reads through the shared language-table
// loader, but never fails a window: a file or table that cannot be read, or a missing key,
// gives the caller's fallback (its design text).
#include <QString>
#include <QStringList>
#include <memory>

class LanguageTable;
class ProgramContext;

class TextTable {
public:
    // context: the language of the loader's own errors (which give the fallback here).
    TextTable(const ProgramContext& context, const QString& databasePath, const QString& table, int language);
    ~TextTable();
    TextTable(const TextTable&) = delete;
    TextTable& operator=(const TextTable&) = delete;
    // The text of the row `offset` rows after the first row named `key` (German where the
    // language's text is empty); `fallback` when the table does not hold it or it is empty.
    QString at(const QString& key, int offset = 0, const QString& fallback = QString()) const;
    // Row n (1-based) of the table, or an empty text.
    QString row(int n) const;
    int size() const;
    bool isEmpty() const { return size() == 0; }

private:
    std::unique_ptr<LanguageTable> m_table;
};
