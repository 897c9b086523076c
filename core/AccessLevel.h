#pragma once
// The three access levels of the main window and the administrator passwords.
#include <QString>

namespace AccessLevel {
enum Level { Normal, Service, Full };

// "6054" full level, "3961" service level, anything else (also the empty text) normal.
Level levelFor(const QString& password);
// The start-up password as stored in the settings ("Passwort"/"Passwort"): hexadecimal
// digits, turned into plain decimal text ("17A6" gives "6054"). An empty or unreadable
// setting gives an empty text (normal level).
QString decodeStored(const QString& stored);
// What the login window accepts: the empty text, "3961" or "6054".
bool loginAccepts(const QString& text);
}
