#include "store/ShellTexts.h"

#include "core/ProgramContext.h"
#include "store/LanguageTables.h"

#include <QHash>

namespace {
// The German text of each key, shown when the database lacks the row; the four languages
// are rows of SystemNachrichten (store/sql/41_program_messages.sql).
const QHash<QString, QString>& germanTexts()
{
    static const QHash<QString, QString> t = {
        {QStringLiteral("gsMsgKeinDrucker"),
         QStringLiteral(
             "Es ist kein Drucker eingerichtet.\nSoll der Bericht stattdessen als PDF-Datei gespeichert werden?")},
        {QStringLiteral("gsMsgDruckFehler"), QStringLiteral("Der Bericht konnte nicht gedruckt werden:")},
        {QStringLiteral("gsMsgPDFFehler"), QStringLiteral("Die PDF-Datei konnte nicht geschrieben werden:")},
        {QStringLiteral("gsMsgBerichtFehler"), QStringLiteral("Der Bericht konnte nicht erstellt werden:")},
        {QStringLiteral("gsPDFSpeichern"), QStringLiteral("Bericht als PDF speichern")},
        {QStringLiteral("gsPDFFilter"), QStringLiteral("PDF-Dateien (*.pdf)")},
        {QStringLiteral("mnuListenExportieren"), QStringLiteral("Als &PDF speichern")},
        {QStringLiteral("mnuEingängeExportieren"), QStringLiteral("&Eingänge")},
        {QStringLiteral("mnuAusgängeExportieren"), QStringLiteral("&Ausgänge")},
        {QStringLiteral("mnuAlarmDispoExportieren"), QStringLiteral("&Sequentielle Alarmierung")},
        {QStringLiteral("mnuBenutzerExportieren"), QStringLiteral("&Benutzer")},
        {QStringLiteral("Dateiname"), QStringLiteral("Dateiname")},
        {QStringLiteral("rptlblDefaultState"), QStringLiteral("Grundzustand")},
        {QStringLiteral("rptlblIO"), QStringLiteral("E/A")},
        {QStringLiteral("gsBerichtErstellt"), QStringLiteral("Erstellt am %1 um %2")},
        {QStringLiteral("gsHilfeFenster"), QStringLiteral("Hilfe")},
        {QStringLiteral("gsHilfeInhalt"), QStringLiteral("Inhalt")},
        {QStringLiteral("gsHilfeZurueck"), QStringLiteral("Zurück")},
        {QStringLiteral("gsHilfeVor"), QStringLiteral("Vor")},
        {QStringLiteral("gsHilfeSuchen"), QStringLiteral("Suchen:")},
        {QStringLiteral("gsHilfeFehlt"), QStringLiteral("Zu diesem Thema gibt es keine Hilfeseite.")},
        {QStringLiteral("lblAdresseKestrin"),
         QStringLiteral("SMSV48-Konfigurationsprogramm – ein Open-Source-Projekt")},
        {QStringLiteral("gsDemoModus"), QStringLiteral("Demo")},
    };
    return t;
}

// The rows of the keys alone (not the whole table), each in the language, or in German where
// the database lacks it.
QStringList rows(const ProgramContext& context, const QStringList& keys, int language)
{
    QHash<QString, QString> found;
    try {
        found = LanguageTable::texts(context, QStringLiteral("SystemNachrichten"), keys, language);
    } catch (const StoreError&) {
        // an unreadable table: the German texts
    }
    QStringList result;
    for (const QString& key : keys) {
        const QString text = found.value(key);
        result << (text.isEmpty() ? germanTexts().value(key, key) : text);
    }
    return result;
}
}

namespace ShellTexts {
QString text(const ProgramContext& context, const QString& key, int language)
{
    const QString german = germanTexts().value(key, key);
    if (language < 1 || language > 4)
        language = 1;
    if (context.language == language && !context.messages.isEmpty())
        return context.msgOr(key, german);
    // Another language than the context's (a report in its own language), or the messages
    // are not loaded: read the row directly.
    return rows(context, {key}, language).value(0);
}

QString text(const ProgramContext& context, const QString& key) { return text(context, key, context.language); }

QStringList texts(const ProgramContext& context, const QStringList& keys)
{
    QStringList result;
    if (!context.messages.isEmpty()) {
        for (const QString& key : keys)
            result << text(context, key);
        return result;
    }
    return rows(context, keys, context.language);
}
}
