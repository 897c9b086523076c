#include "store/LanguageTables.h"

#include "app/ProgramState.h"

#include <QCoreApplication>

namespace {
QString tr(const char* s) { return QCoreApplication::translate("LanguageTable", s); }
}

LanguageTable::LanguageTable(const QString& table, const QString& path, int language)
    : m_table(table), m_language(language >= 1 && language <= 4 ? language : gState().giSprache)
{
    if (m_language < 1 || m_language > 4)
        m_language = 1;
    const QString file = path.isEmpty() ? gState().gsDatenbankPfad : path;
    try {
        m_con.open(file, Connection::Read);
        m_rs.open(m_con, table);
    } catch (const StoreError& e) {
        m_con.close();
        throw LanguageTableError(table, QString(),
                                 tr("The language table \"%1\" cannot be read: %2").arg(table, e.message()));
    }
    if (m_rs.fieldCount() < 5)
        throw LanguageTableError(table, QString(),
                                 tr("The language table \"%1\" lacks the columns of the four languages.").arg(table));
}

LanguageTable::~LanguageTable()
{
    m_rs.close();
    m_con.close();
}

void LanguageTable::first()
{
    m_rs.moveFirst();
    m_anchor.clear();
    m_taken = 0;
}

void LanguageTable::anchor(const QString& key)
{
    m_rs.moveFirst();
    findNext(key);
}

void LanguageTable::findNext(const QString& key)
{
    m_anchor = key;
    m_taken = 0;
    // The criterion quotes the key; a quote inside a key could not be found and is not used.
    if (key.contains(QLatin1Char('\'')) || !m_rs.find(QStringLiteral("Name = '%1'").arg(key)))
        throw LanguageTableError(m_table, key,
                                 tr("The language table \"%1\" has no row \"%2\".").arg(m_table, key));
}

void LanguageTable::failPastEnd(const QString& what) const
{
    const QString key = m_anchor.isEmpty() ? what : m_anchor;
    QString text;
    if (m_anchor.isEmpty())
        text = tr("The language table \"%1\" ends before the row for \"%2\" (it has %3 rows).")
                   .arg(m_table, what).arg(m_rs.recordCount());
    else
        text = tr("The language table \"%1\" ends inside the rows from \"%2\": row %3 of the run is missing%4.")
                   .arg(m_table, m_anchor).arg(m_taken + 1)
                   .arg(what.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(what));
    throw LanguageTableError(m_table, key, text);
}

QString LanguageTable::current(const QString& what) const
{
    if (m_rs.eof() || m_rs.bof())
        failPastEnd(what);
    const QString text = m_rs.value(m_language).toString();
    if (!text.isEmpty() || m_language == 1)
        return text;
    return m_rs.value(1).toString();
}

QString LanguageTable::take(const QString& what)
{
    const QString text = current(what);
    ++m_taken;
    m_rs.moveNext();
    return text;
}

QString LanguageTable::currentName() const
{
    if (m_rs.eof() || m_rs.bof())
        return QString();
    return m_rs.value(0).toString();
}

QString LanguageTable::text(const QString& key)
{
    anchor(key);
    return take();
}

QStringList LanguageTable::run(const QString& key, int count)
{
    anchor(key);
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << take();
    return texts;
}
