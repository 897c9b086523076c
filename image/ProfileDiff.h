#pragma once
// The differences between two configurations, field by field, named as in the profile's JSON
// form ("inputs[3].recipients", "users[1].number"), so a script or a support mail can point at
// the exact place. Used by "profile diff", "unit verify" and the comparison with the unit.
#include "image/ProfileData.h"

#include <QJsonArray>
#include <QList>
#include <QString>

class ProgramContext;

namespace ProfileDiff {
struct Change {
    QString field; // JSON path, indexes from 0 as in the JSON form
    QString before; // the value in the first configuration, as JSON text ("[1, 3]", "\"Tür\"", "true");
                    // a password shows as "****" (or "" when there is none)
    QString after; // the value in the second
    // Recipients only: the users added and removed (1..8).
    QList<int> added;
    QList<int> removed;
    bool operator==(const Change&) const = default;
};

// Every field that differs, in the order of the JSON form.
QList<Change> compare(const ProfileData& a, const ProfileData& b);
// One line per change: `inputs[3].recipients: +2 -5`, `users[1].number: "0791" -> "0792"`.
QString line(const Change& c);
// [{"field": ..., "before": <JSON value>, "after": <JSON value>}, ...]
QJsonArray toJson(const QList<Change>& changes);

// The field as the desktop program names it in the program's language, e.g.
// "Eingang 2, fallende Flanke: Empfänger" for inputs[3].recipients.
QString fieldLabel(const QString& field, const ProgramContext& context);
// A value (before or after) in words: recipients "1, 3" or "(none)", flags "yes"/"no",
// numbers as they are, texts without the JSON quotes and escapes.
QString valueLabel(const QString& value, const ProgramContext& context);
} // namespace ProfileDiff
