#pragma once
// Every file the program reads or writes by name goes through here: profiles, the transfer
// file, firmware files, JSON, PDF reports. Only regular files are read or replaced (never a
// device, a named pipe or a socket), a file is written complete or not at all, a failure says
// the system's own reason, and a name reaches the system byte for byte as it was given.
#include <QByteArray>
#include <QString>

class ProgramContext;
class QFile;

namespace FileAccess {
// A path from the bytes the system gave (a command-line argument): valid UTF-8 reads as it
// is; any other byte becomes a stand-in character, so that nativeName() gives the very same
// bytes back. (A file name need not be valid UTF-8; QString::fromLocal8Bit would turn such a
// byte into U+FFFD and the file could no longer be found.)
QString fromNative(const QByteArray& bytes);
// The bytes the system knows the path by.
QByteArray nativeName(const QString& path);

enum class Use { Read, Write };
// The one check before any file is read or replaced. Empty when the path names a regular
// file (after symbolic links), or for Write also when nothing is there yet; else one sentence
// naming the path and what it is (a folder; a device, a named pipe or a socket). The
// sentences here are in the context's language.
QString checkRegularFile(const ProgramContext& context, const QString& path, Use use);

// Opens a regular file for reading, without ever waiting on a pipe or a device. On failure
// returns false and sets *error to one sentence naming the file and the system's reason.
bool openForReading(const ProgramContext& context, QFile& file, const QString& path, QString* error);

struct WriteResult {
    enum Kind {
        Written, // the file is complete
        ReadOnly, // the file or its folder may not be written (permissions, read-only file system)
        Failed // anything else; error says why
    };
    Kind kind = Written;
    QString error; // one sentence: the file, the system's reason, and what became of the old file
    bool ok() const { return kind == Written; }
};
// Who may read a file the program makes: Shared as the user's umask says (an existing
// file keeps its permissions), Private the user alone (0600), for files that hold the phone
// book's passwords: backups, configurations read from the unit, traces.
enum class Access { Shared, Private };
// Writes data to path through a new file in the same folder that replaces the target only
// when it is complete: the target is then either the new content or exactly as it was.
// Such temporary files that a killed program left in that folder (TempPrefix in their names,
// older than a minute) are removed first.
WriteResult writeFile(const ProgramContext& context, const QString& path, const QByteArray& data,
                      Access access = Access::Shared);
// The temporary file of a write: <target>.smsv48-XXXXXX.tmp (six letters or digits).
bool isTemporaryName(const QString& fileName);
// Removes the temporary files of writes in folder that are older than a minute (the program
// was killed while writing); returns how many.
int removeStaleTemporaries(const QString& folder);
// Opens a new private file (0600; an existing regular file is emptied and made private) for
// writing as it goes, e.g. a trace. On failure returns false and sets *error to one sentence.
bool openPrivateForWriting(const ProgramContext& context, QFile& file, const QString& path, QString* error);

// The system's own words for an error number (errno).
QString systemReason(int errorNumber);
// The sentence for a write that failed with errorNumber: the file, the reason, and that the
// old file is unchanged (existed) or that no file was made.
QString writeFailure(const ProgramContext& context, const QString& path, int errorNumber, bool existed);
}
