#pragma once
// A user's database brought up to date with the database the program is installed with (its
// template): the program's texts are the template's, the site's configuration stays.
#include <QString>

class ProgramContext;

namespace DatabaseUpgrade {
enum class Outcome {
    Unchanged, // same schema version and texts, or a database of a newer program
    TextsUpdated, // the text tables replaced by the template's
    Migrated, // an older schema brought to the template's version, texts replaced
    Failed, // nothing changed; *error says why
};

// The schema version of the databases this program reads, kept in the database as
// PRAGMA user_version (the schema SQL sets it when the database is built).
int schemaVersion();

// Brings the database at userPath up to date with the template at templatePath, in one
// transaction. The text tables (captions, tool tips, messages) become the template's; the
// configuration tables keep their rows; an older schema first runs the migration steps up to
// the template's version. The template is only read and may lie in a folder the user cannot
// write. On failure the database is unchanged; *error is in the context's language.
Outcome fromTemplate(const ProgramContext& context, const QString& templatePath, const QString& userPath,
                     QString* error = nullptr);
}
