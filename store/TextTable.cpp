#include "store/TextTable.h"

#include "store/LanguageTables.h"

TextTable::TextTable(const ProgramContext& context, const QString& databasePath, const QString& table, int language)
{
    try {
        m_table = std::make_unique<LanguageTable>(context, table, databasePath,
                                                  (language >= 1 && language <= 4) ? language : 1);
    } catch (const StoreError&) {
        m_table.reset();
    }
}

TextTable::~TextTable() = default;

QString TextTable::at(const QString& key, int offset, const QString& fallback) const
{
    if (!m_table || offset < 0)
        return fallback;
    try {
        m_table->anchor(key);
        for (int i = 0; i < offset; ++i)
            m_table->take();
        const QString text = m_table->current();
        return text.isEmpty() ? fallback : text;
    } catch (const StoreError&) {
        return fallback;
    }
}

QString TextTable::row(int n) const
{
    if (!m_table || n < 1 || n > m_table->rowCount())
        return QString();
    try {
        m_table->first();
        for (int i = 1; i < n; ++i)
            m_table->take();
        return m_table->current();
    } catch (const StoreError&) {
        return QString();
    }
}

int TextTable::size() const { return m_table ? m_table->rowCount() : 0; }
