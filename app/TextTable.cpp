#include "app/TextTable.h"

#include "store/ConfigStore.h"
#include "store/Recordset.h"

TextTable::TextTable(const QString& databasePath, const QString& table, int language)
{
    const int col = (language >= 1 && language <= 4) ? language : 1;
    try {
        Connection con;
        clsDatabase::OpenConnection(con, databasePath, Connection::Read);
        Recordset rs;
        clsDatabase::OpenRecordset(rs, con, table);
        if (rs.recordCount() > 0 && col < rs.fieldCount()) {
            rs.moveFirst();
            while (!rs.eof()) {
                m_names << rs.value(0).toString();
                m_texts << rs.value(col).toString();
                rs.moveNext();
            }
        }
        rs.close();
        con.close();
    } catch (const StoreError&) {
        m_names.clear();
        m_texts.clear();
    }
}

QString TextTable::at(const QString& key, int offset, const QString& fallback) const
{
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_names[i].compare(key, Qt::CaseInsensitive) == 0) {
            const int r = i + offset;
            if (r >= 0 && r < m_texts.size() && !m_texts[r].isEmpty())
                return m_texts[r];
            break;
        }
    }
    return fallback;
}

QString TextTable::row(int n) const { return (n >= 1 && n <= m_texts.size()) ? m_texts[n - 1] : QString(); }
