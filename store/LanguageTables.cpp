#include "store/LanguageTables.h"

#include "core/Logging.h"
#include "core/ProgramContext.h"

namespace {
// A table without the columns of the four languages (Name and the four texts).
LanguageTableError missingColumns(const ProgramContext& context, const QString& table)
{
    return LanguageTableError(
        table, QString(),
        context
            .msgOr(QStringLiteral("gsMsgSprachtabelleSpalten"),
                   QStringLiteral("Der Sprachtabelle \"%1\" fehlen die Spalten der vier Sprachen."))
            .arg(table));
}
}

LanguageTable::LanguageTable(const ProgramContext& context, const QString& table, const QString& path, int language)
    : m_context(context), m_table(table), m_language(language >= 1 && language <= 4 ? language : context.language),
      m_con(context)
{
    if (m_language < 1 || m_language > 4)
        m_language = 1;
    const QString file = path.isEmpty() ? m_context.databasePath : path;
    try {
        m_con.open(file, Connection::Read);
        m_rs.open(m_con, table);
    } catch (const StoreError& e) {
        m_con.close();
        throw LanguageTableError(table, QString(),
                                 m_context
                                     .msgOr(QStringLiteral("gsMsgSprachtabelleNichtLesbar"),
                                            QStringLiteral("Die Sprachtabelle \"%1\" kann nicht gelesen werden: %2"))
                                     .arg(table, e.message()));
    }
    if (m_rs.fieldCount() < 5)
        throw missingColumns(m_context, table);
}

QHash<QString, QString> LanguageTable::texts(const ProgramContext& context, const QString& table,
                                             const QStringList& names, int language)
{
    if (language < 1 || language > 4)
        language = context.language >= 1 && context.language <= 4 ? context.language : 1;
    QString sql
        = QStringLiteral("SELECT * FROM \"%1\"").arg(QString(table).replace(QLatin1Char('"'), QStringLiteral("\"\"")));
    if (!names.isEmpty()) {
        QStringList quoted;
        for (const QString& name : names)
            quoted << QLatin1Char('\'') + QString(name).replace(QLatin1Char('\''), QStringLiteral("''"))
                    + QLatin1Char('\'');
        sql += QStringLiteral(" WHERE \"Name\" IN (%1)").arg(quoted.join(QLatin1Char(',')));
    }
    sql += QStringLiteral(" ORDER BY rowid");
    Connection con(context);
    con.open(context.databasePath, Connection::Read);
    QHash<QString, QString> found;
    {
        Recordset rs;
        rs.open(con, sql);
        if (rs.fieldCount() < 5)
            throw missingColumns(context, table);
        if (rs.recordCount() > 0)
            for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
                QString text = rs.value(language).toString();
                if (text.isEmpty())
                    text = rs.value(1).toString();
                found.insert(rs.value(0).toString(), text);
            }
        rs.close();
    }
    con.close();
    return found;
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
    if (key.contains(QLatin1Char('\'')) || !seek(key))
        throw LanguageTableError(m_table, key,
                                 m_context
                                     .msgOr(QStringLiteral("gsMsgSprachtabelleZeileFehlt"),
                                            QStringLiteral("Die Sprachtabelle \"%1\" hat keine Zeile \"%2\"."))
                                     .arg(m_table, key));
}

// Moves to the row found by the criterion Name = 'key' from the current row on. The loaders
// look up some hundred keys in tables of some hundred rows, so the rows are indexed by Name
// once instead of being compared one by one for every key.
bool LanguageTable::seek(const QString& key)
{
    const QString criterion = QStringLiteral("Name = '%1'").arg(key);
    const int nameField = m_rs.fieldIndex(QStringLiteral("Name"));
    bool numeric = false;
    key.toDouble(&numeric);
    // A number compares numerically ("5" finds "5.0"); past the end there is nothing to find;
    // a key of several lines or a table without Name is an error: all left to the recordset.
    if (numeric || nameField < 0 || m_rs.eof() || key.contains(QLatin1Char('\n')))
        return m_rs.find(criterion);
    if (!m_indexed) {
        m_indexed = true;
        Recordset& rs = m_rs;
        const int keep = rs.absolutePosition();
        for (int row = 1; row <= rs.recordCount(); ++row) {
            rs.setAbsolutePosition(row);
            const QVariant name = rs.value(nameField);
            if (!name.isNull())
                m_rowsByName[name.toString()].append(row - 1);
        }
        if (keep > 0)
            rs.setAbsolutePosition(keep);
        else
            rs.moveFirst();
    }
    const int from = m_rs.bof() ? 0 : m_rs.absolutePosition() - 1;
    const auto it = m_rowsByName.constFind(key);
    if (it != m_rowsByName.constEnd())
        for (int row : *it)
            if (row >= from) {
                m_rs.setAbsolutePosition(row + 1);
                return true;
            }
    return m_rs.find(criterion); // not there: the recordset stands past its end, as after any failed search
}

void LanguageTable::failPastEnd(const QString& what) const
{
    const QString key = m_anchor.isEmpty() ? what : m_anchor;
    QString text;
    if (m_anchor.isEmpty())
        text
            = m_context
                  .msgOr(QStringLiteral("gsMsgSprachtabelleZuKurz"),
                         QStringLiteral("Die Sprachtabelle \"%1\" endet vor der Zeile für \"%2\" (sie hat %3 Zeilen)."))
                  .arg(m_table, what)
                  .arg(m_rs.recordCount());
    else
        text
            = m_context
                  .msgOr(
                      QStringLiteral("gsMsgSprachtabelleFolge"),
                      QStringLiteral(
                          "Die Sprachtabelle \"%1\" endet innerhalb der Zeilen ab \"%2\": Zeile %3 der Folge fehlt%4."))
                  .arg(m_table, m_anchor)
                  .arg(m_taken + 1)
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

QString LanguageTable::takeNamed(const QString& name)
{
    const QString found = currentName();
    const QString text = take(name);
    if (found == name)
        return text;
    const QString problem = m_context
                                .msgOr(QStringLiteral("gsMsgSprachtabelleFalscheZeile"),
                                       QStringLiteral("Die Sprachtabelle \"%1\" hat an der Stelle der Zeile \"%2\" "
                                                      "die Zeile \"%3\"; ihr Text wird nicht gezeigt."))
                                .arg(m_table, name, found);
    qCWarning(lcStore).noquote() << problem;
    m_wrongRows << problem;
    return QString();
}
