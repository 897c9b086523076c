#pragma once
// One language column of a text table (Beschriftung, ToolTipText or SystemNachrichten),
// read in table order through a read connection of its own that is closed again at once.
// The small windows of the shell and the reports take their texts through it.
#include <QString>
#include <QStringList>

class TextTable {
public:
    // Reads the table; a file or table that cannot be read leaves the table empty, so every
    // lookup gives its fallback (the design text) instead of failing the window.
    TextTable(const QString& databasePath, const QString& table, int language);
    // The text of the row `offset` rows after the first row named `key` (names compared
    // without regard to case); `fallback` when the table does not hold it or it is empty.
    QString at(const QString& key, int offset = 0, const QString& fallback = QString()) const;
    // Row n (1-based) of the table, or an empty text.
    QString row(int n) const;
    int size() const { return m_texts.size(); }
    bool isEmpty() const { return m_texts.isEmpty(); }

private:
    QStringList m_names, m_texts;
};
