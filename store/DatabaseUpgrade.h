#pragma once
// A user's database brought up to date with the database the program is installed with (its
// template): the program's texts are the template's, the site's configuration stays.
#include <QString>

class ProgramContext;

namespace DatabaseUpgrade {
enum class Outcome {
    Unchanged, // same schema version and texts
    Skipped, // an update is due but the database may not be written: it is read as it is
    TextsUpdated, // the text tables replaced by the template's
    Migrated, // an older schema brought to the template's version, texts replaced
    Failed, // nothing changed; *error says why (also: not this program's database, or a newer one)
};

// Whether the file at path is a configuration database of this program that it knows how to
// read: a non-empty SQLite file with the configuration tables and a schema version no newer
// than newestVersion. Looks without changing a byte (read-only, nothing made beside it).
// Empty when it is; else one sentence, in the context's language, that the file was refused
// and left unchanged.
QString checkOurs(const ProgramContext& context, const QString& path, int newestVersion);
// The parts of that check: the file's first bytes (an empty or non-SQLite file is not ours),
// and the sentence for a schema version newer than newestVersion (empty when it is not).
QString checkFileHeader(const ProgramContext& context, const QString& path);
QString checkVersion(const ProgramContext& context, const QString& path, int version, int newestVersion);

// The schema version of the databases this program reads, kept in the database as
// PRAGMA user_version (the schema SQL sets it when the database is built).
int schemaVersion();

// Brings the database at userPath up to date with the template at templatePath, in one
// transaction. The text tables (captions, tool tips, messages) become the template's; the
// configuration tables keep their rows; an older schema first runs the migration steps up to
// the template's version. The template is only read and may lie in a folder the user cannot
// write. Before anything is changed the user's file is checked with checkOurs (against the
// template's version); a database the program may not write is left as it is (Skipped). On
// failure the database is unchanged; *error is in the context's language, taken from the
// template's messages when the context has none loaded yet.
Outcome fromTemplate(const ProgramContext& context, const QString& templatePath, const QString& userPath,
                     QString* error = nullptr);
}
