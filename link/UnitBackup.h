#pragma once
// Copies of a unit's configuration, kept before it is overwritten: the program folder's
// Backups/<serial number>/<yyyyMMdd-HHmmss>.cfg, as a profile file (the 512 records and the
// end record, CR LF), the newest Kept per unit. The command line writes one before every
// "unit write"; the desktop program can do the same with these functions.
#include "link/UnitOps.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace UnitBackup {
constexpr int Kept = 50;

// The folder name of a unit: its serial number with anything but letters, digits, '-' and
// '_' replaced by '_'; "unknown" when the unit gave none (empty, blanks, NUL or 0xFF bytes).
QString unitName(const QString& serial);
// <dataRoot>/Backups/<unitName(serial)>
QString folderFor(const QString& dataRoot, const QString& serial);
// "20261207-031900.cfg"
QString fileNameFor(const QDateTime& when);
// A configuration read from the unit as the text of a profile file.
QByteArray profileText(const UnitImage& image);
// Files the program names by the time they were made: yyyyMMdd-HHmmss<suffix>, a second one
// of the same second yyyyMMdd-HHmmss-N<suffix> (N from 2). Any other name is the user's.
bool isStampedName(const QString& fileName, const QString& suffix = QStringLiteral(".cfg"));
// The stamped files of a folder (backups: ".cfg"), oldest first by the time in their names.
QStringList list(const QString& folder, const QString& suffix = QStringLiteral(".cfg"));
// Removes all but the newest `keep` stamped files of the folder; the file at `justWritten`
// always stays and counts as one of them (a clock that was once ahead gave the others later
// names). Files of other names are never touched. Returns how many were removed.
int prune(const QString& folder, int keep = Kept, const QString& justWritten = QString(),
          const QString& suffix = QStringLiteral(".cfg"));
// Writes `text` as a new backup in `folder` (made when missing; a second backup within the
// same second gets "-2", "-3" ... before ".cfg", made readable by the user only: it holds the
// phone book's passwords), then prunes the folder (never the new backup). Returns the path,
// or an empty text and *error (the system's reason, in the context's language; nothing else changed).
QString store(const ProgramContext& context, const QString& folder, const QByteArray& text, const QDateTime& when,
              QString* error, int keep = Kept);

// The unit's serial number (parameter read of area 2); Ok with an empty text when the unit
// answered with no usable number.
UnitOutcome readSerial(Link& link, QString* serial);

struct Result {
    UnitOutcome outcome; // of the reads from the unit
    QString serial; // as the unit gave it (empty: none)
    QString path; // the backup written
    QString fileError; // the unit was read but the backup could not be written
    QByteArray text; // the configuration as read
    bool ok() const { return outcome.ok() && fileError.isEmpty(); }
};
// Reads the serial number and the whole configuration (the caller ran the version check)
// and keeps it as a backup; a failed configuration read is tried again up to `retries`
// times. Nothing is written unless the read is complete.
Result readAndStore(Link& link, const QString& dataRoot, const QDateTime& when, int retries = 0, int keep = Kept);
}
