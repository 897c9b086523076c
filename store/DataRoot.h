#pragma once
#include <QString>

class ProgramContext;

namespace DataRoot {
// The program folder, found in this order: $SMSV48_HOME; the executable's folder when it
// holds Datenbank/; the per-user data folder, made ready from the installed templates in
// ../share/smsv48 beside the executable (see prepareUserFolder). Returns an empty text and
// sets *error when none can be had (a failed upgrade of the database told in the context's
// language).
QString find(const ProgramContext& context, QString* error = nullptr);
QString databasePath(const QString& root);

// Makes the per-user program folder ready from the templates: every file it lacks is copied
// (never over a user's file). When the templates differ from those it was last brought up to
// date with (a new installation), the help pages become the templates' (a page the user
// changed is first kept beside it as NAME.local) and the database's
// texts are brought up to date (DatabaseUpgrade); profiles and the configuration stay as
// they are. Returns false and sets *error when that fails; it is tried again at the next start.
bool prepareUserFolder(const ProgramContext& context, const QString& templates, const QString& user,
                       QString* error = nullptr);
}
