#include "editor/EditorTexts.h"

#include "app/ProgramState.h"
#include "store/Recordset.h"

QStringList EditorTexts::run(const QString& table, const QString& anchor, int count)
{
    QStringList texts;
    try {
        Connection con;
        con.open(gState().gsDatenbankPfad, Connection::Read);
        Recordset rs;
        rs.open(con, table);
        rs.moveFirst();
        if (!rs.find(QStringLiteral("Name = '%1'").arg(anchor)))
            return {};
        const int col = gState().giSprache;
        for (int i = 0; i < count && !rs.eof(); ++i, rs.moveNext()) {
            const QVariant v = rs.value(col);
            texts << (v.isNull() ? QString() : v.toString());
        }
        rs.close();
    } catch (const StoreError&) {
        return {};
    }
    if (texts.size() < count)
        return {};
    return texts;
}

QString EditorTexts::message(const QString& key, const QString& fallback)
{
    // Loaded at start with every other message; read on demand when the program state has
    // no messages (a window opened on its own).
    const QString loaded = gState().msgOr(key, QString());
    if (!loaded.isEmpty())
        return loaded;
    const QStringList t = run(QStringLiteral("SystemNachrichten"), key, 1);
    return t.isEmpty() || t.first().isEmpty() ? fallback : t.first();
}
