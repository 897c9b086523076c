#include "app/ShellTexts.h"

#include "app/ProgramState.h"

#include <QHash>

namespace {
struct Entry {
    const char* de;
    const char* en;
    const char* it;
    const char* fr;
};

const QHash<QString, Entry>& table()
{
    static const QHash<QString, Entry> t = {
        {QStringLiteral("gsMsgKeinDrucker"),
         {"Es ist kein Drucker eingerichtet.\nSoll der Bericht stattdessen als PDF-Datei gespeichert werden?",
          "No printer is installed.\nDo you want to save the report as a PDF file instead?",
          "Nessuna stampante installata.\nSalvare il rapporto come file PDF?",
          "Aucune imprimante n'est installée.\nVoulez-vous enregistrer le rapport en fichier PDF ?"}},
        {QStringLiteral("gsMsgDruckFehler"),
         {"Der Bericht konnte nicht gedruckt werden:", "The report could not be printed:",
          "Impossibile stampare il rapporto:", "Le rapport n'a pas pu être imprimé :"}},
        {QStringLiteral("gsMsgPDFFehler"),
         {"Die PDF-Datei konnte nicht geschrieben werden:", "The PDF file could not be written:",
          "Impossibile scrivere il file PDF:", "Le fichier PDF n'a pas pu être écrit :"}},
        {QStringLiteral("gsMsgBerichtFehler"),
         {"Der Bericht konnte nicht erstellt werden:", "The report could not be created:",
          "Impossibile creare il rapporto:", "Le rapport n'a pas pu être créé :"}},
        {QStringLiteral("gsPDFSpeichern"),
         {"Bericht als PDF speichern", "Save report as PDF", "Salva rapporto come PDF",
          "Enregistrer le rapport en PDF"}},
        {QStringLiteral("gsPDFFilter"),
         {"PDF-Dateien (*.pdf)", "PDF files (*.pdf)", "File PDF (*.pdf)", "Fichiers PDF (*.pdf)"}},
        {QStringLiteral("mnuListenExportieren"),
         {"Als &PDF speichern", "Save as &PDF", "Salva come &PDF", "Enregistrer en &PDF"}},
        {QStringLiteral("mnuEingängeExportieren"),
         {"&Eingänge", "&Inputs", "&Ingressi", "&Entrées"}},
        {QStringLiteral("mnuAusgängeExportieren"),
         {"&Ausgänge", "&Outputs", "&Uscite", "&Sorties"}},
        {QStringLiteral("mnuAlarmDispoExportieren"),
         {"&Sequentielle Alarmierung", "&Sequential alarm", "Allarme &sequenziale", "Alarme &séquentielle"}},
        {QStringLiteral("mnuBenutzerExportieren"),
         {"&Benutzer", "&Users", "&Utenti", "&Utilisateurs"}},
        {QStringLiteral("Dateiname"), {"Dateiname", "File name", "Nome file", "Nom du fichier"}},
        {QStringLiteral("rptlblDefaultState"),
         {"Grundstellung", "Default state", "Stato iniziale", "État initial"}},
        {QStringLiteral("rptlblIO"), {"E/A", "I/O", "I/O", "E/S"}},
        {QStringLiteral("gsHilfeFenster"), {"Hilfe", "Help", "Guida", "Aide"}},
        {QStringLiteral("gsHilfeInhalt"), {"Inhalt", "Contents", "Sommario", "Sommaire"}},
        {QStringLiteral("gsHilfeZurueck"), {"Zurück", "Back", "Indietro", "Précédent"}},
        {QStringLiteral("gsHilfeVor"), {"Vor", "Forward", "Avanti", "Suivant"}},
        {QStringLiteral("gsHilfeSuchen"), {"Suchen:", "Search:", "Cerca:", "Rechercher :"}},
        {QStringLiteral("gsHilfeFehlt"),
         {"Zu diesem Thema gibt es keine Hilfeseite.", "There is no help page for this topic.",
          "Non esiste una pagina di aiuto per questo argomento.", "Il n'existe pas de page d'aide pour ce sujet."}},
        {QStringLiteral("lblAdresseKestrin"),
         {"SMSV48-Konfigurationsprogramm – ein Open-Source-Projekt", "SMSV48 configuration tool – an open-source project",
          "Programma di configurazione SMSV48 – un progetto open source",
          "Outil de configuration SMSV48 – un projet open source"}},
        {QStringLiteral("gsDemoModus"), {"Demo", "Demo", "Demo", "Démo"}},
    };
    return t;
}
}

namespace ShellTexts {
QString text(const QString& key, int language)
{
    const ProgramState& st = gState();
    if (st.giSprache == language) {
        const auto it = st.messages.constFind(key);
        if (it != st.messages.constEnd() && !it.value().isEmpty())
            return it.value();
    }
    const auto e = table().constFind(key);
    if (e == table().constEnd())
        return key;
    switch (language) {
    case 2: return QString::fromUtf8(e->en);
    case 3: return QString::fromUtf8(e->it);
    case 4: return QString::fromUtf8(e->fr);
    default: return QString::fromUtf8(e->de);
    }
}

QString text(const QString& key) { return text(key, gState().giSprache); }
}
