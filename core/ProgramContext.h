#pragma once
// Program-wide state shared by the windows and the command-line tool.
#include <QHash>
#include <QLocale>
#include <QString>

class ProgramContext {
public:
    QString dataRoot; // the program folder: Datenbank/, UserProfile/, Download/, help/
    QString databasePath; // full path of the configuration database
    int language = 1; // 1 German, 2 English, 3 Italian, 4 French
    bool unsavedChanges = false; // unsaved changes
    bool closing = false; // the main window is closing: running loops end
    QString programName; // title of every message box

    // Message texts loaded from the system-message table, by key (e.g. "gsMsgKeineAntwort").
    QHash<QString, QString> messages;
    // The text of a message key; the key itself when it has not been loaded.
    QString msg(const QString& key) const;
    // The text of a message key; germanFallback when the key has not been loaded or is empty,
    // so a database without the row still shows a sensible text. Placeholders %1, %2 stay
    // for the caller's arg().
    QString msgOr(const QString& key, const QString& germanFallback) const;

    // Paths below the data root.
    QString profileFolder() const; // UserProfile/
    QString defaultProfilePath() const; // UserProfile/SMSV48_Default.cfg
    QString transferFilePath() const; // Download/Config/Default.hex
    QString firmwareFolder() const; // Download/Firmware/
    QString helpFolder() const; // help/

    // Sets language from a stored value; anything outside 1..4 gives German.
    void setLanguage(const QString& stored);
    // The program's language for a locale (the first start, before one was chosen): German,
    // English, Italian or French by the locale's language, German for any other.
    static int languageOfLocale(const QLocale& locale);
    // The language both programs start in: the stored setting ([Einstellungen] Sprache),
    // else the system's (LANG, LC_ALL, LC_MESSAGES as QLocale::system() reads them), else German.
    static int startLanguage();
    // Dates and numbers as the program's language writes them.
    QLocale locale() const;
    // The same for a language number 1..4 (anything else: German).
    static QLocale localeFor(int language);
    void reset();
};

ProgramContext& gState();
