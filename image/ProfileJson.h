#pragma once
// The JSON form of a profile ("format": "smsv48-profile", "version": 1), as the
// command-line tool prints and reads it.
#include "image/ProfileData.h"

#include <QByteArray>
#include <QString>

class ProgramContext;

namespace ProfileJson {
// Keys in the documented order, recipient lists ascending, two-space indentation, UTF-8.
QByteArray toJson(const ProfileData& d);
// Reads a document. Returns false with one message naming the field (e.g.
// "inputs[3].recipients[0]: user 9 is outside 1..8") when it is not a valid profile.
// Beyond the types and ranges it refuses what a profile cannot carry: texts and names
// over 64 characters, numbers over 16, a password that is neither empty nor four
// characters, characters outside the unit's character set (Windows-1252), unknown keys.
// The message is in the context's language (the one-argument form: the program's).
bool fromJson(const ProgramContext& context, const QByteArray& json, ProfileData& d, QString* error);
}
