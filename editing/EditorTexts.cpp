#include "editing/EditorTexts.h"

#include "core/ProgramContext.h"
#include "store/LanguageTables.h"

QStringList EditorTexts::run(const ProgramContext& context, const QString& table, const QString& anchor, int count)
{
    try {
        LanguageTable t(context, table);
        return t.run(anchor, count);
    } catch (const StoreError&) {
        return {}; // missing anchor or a table too short: the callers keep their design texts
    }
}

QString EditorTexts::message(const ProgramContext& context, const QString& key, const QString& fallback)
{
    // Loaded at start with every other message; read on demand when the context has
    // no messages (a window opened on its own).
    const QString loaded = context.msgOr(key, QString());
    if (!loaded.isEmpty())
        return loaded;
    const QStringList t = run(context, QStringLiteral("SystemNachrichten"), key, 1);
    return t.isEmpty() || t.first().isEmpty() ? fallback : t.first();
}
