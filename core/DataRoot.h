#pragma once
#include <QString>

namespace DataRoot {
// The program folder, found in this order: $SMSV48_HOME; the executable's folder when it
// holds Datenbank/; the per-user data folder, seeded from the installed templates where a
// file is missing (never over a user's file). Returns an empty text and sets *error when
// none can be had.
QString find(QString* error = nullptr);
QString databasePath(const QString& root);
}
