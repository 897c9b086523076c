#pragma once
// The six configuration recordsets the main window keeps open for its whole life,
// each on a connection of its own. The command-line tool and the tests use the same
// object, so everything that reads or writes the configuration works without a window.
#include "store/Recordset.h"

#include <QString>

class ConfigStore {
public:
    // mode Read: for work that only reads the configuration (saving a profile, the relay
    // password); it also works where the program may not write the database. context: the
    // language of the errors thrown.
    explicit ConfigStore(const ProgramContext& context, const QString& databasePath = QString(),
                         Connection::Mode mode = Connection::ReadWrite);
    ~ConfigStore();
    ConfigStore(const ConfigStore&) = delete;
    ConfigStore& operator=(const ConfigStore&) = delete;

    // Opens the six pairs in start order (PowerOn, Alarm_Dispositiv, SMS,
    // Konfiguration_Eingänge, Konfiguration_Ausgänge, Adressen) and reads them in one read
    // transaction, so that they hold one whole configuration even while another program
    // loads a profile into the file. Throws StoreError.
    void open(const QString& databasePath, Connection::Mode mode = Connection::ReadWrite);
    // Flushes and closes in close order (Eingänge, Ausgänge, PowerOn, Alarm_Dispositiv, SMS,
    // Adressen); a pair whose recordset is not open is skipped. Returns the first error text.
    QString close();
    bool isOpen() const { return sms.isOpen(); }
    QString databasePath() const { return m_path; }
    const ProgramContext& context() const { return m_context; }

    // Writes every pending change of all six recordsets in one transaction.
    // Throws StoreError (StoreBusy when another program holds the database); on failure
    // nothing reaches the file and the edits stay pending.
    void updateAll();

    // Reads all six recordsets again in one read transaction (pending edits are dropped).
    void requeryAll();
    // True when another program has changed the database since this store last read it or
    // acceptChanges() was called (SQLite's data version of the file, changes by this program's
    // own writes set aside).
    bool changedElsewhere();
    // Takes the database as it is now as the known state (the user chose to go on without
    // reading it again).
    void acceptChanges();

    Connection powerOnConnection, alarmInputConnection, smsConnection, inputsConnection, outputsConnection,
        addressesConnection;
    Recordset powerOn, alarmInput, sms, inputs, outputs, addresses;

private:
    qint64 dataVersion();
    const ProgramContext& m_context;
    QString m_path;
    qint64 m_knownDataVersion = -1;
    quint64 m_knownOwnCommits = 0;
};

// Checks that the file is a configuration database this program can work with: every
// table and every positioned column present, the fixed row counts. Returns an empty
// text when it is, else one sentence saying what is wrong.
QString checkDatabase(const ProgramContext& context, const QString& path);

// Table and column names, spelled as in the file.
namespace tbl {
inline const QString Eingaenge = QStringLiteral("Konfiguration_Eingänge");
inline const QString Ausgaenge = QStringLiteral("Konfiguration_Ausgänge");
inline const QString AlarmDispositiv = QStringLiteral("Alarm_Dispositiv");
inline const QString PowerOn = QStringLiteral("PowerOn");
inline const QString SMS = QStringLiteral("SMS");
inline const QString Adressen = QStringLiteral("Adressen");
inline const QString Beschriftung = QStringLiteral("Beschriftung");
inline const QString ToolTipText = QStringLiteral("ToolTipText");
inline const QString SystemNachrichten = QStringLiteral("SystemNachrichten");
inline const QString Verzoegerungszeit = QStringLiteral("Verzögerungszeit");
}
