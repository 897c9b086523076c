#pragma once
// Texts of the editor and the phone book that come from the language tables by key,
// read on demand (they are not among the messages loaded at start).
#include <QString>
#include <QStringList>

class ProgramContext;

namespace EditorTexts {
// Text of a SystemNachrichten key in the context's language; fallback when the key is missing.
QString message(const ProgramContext& context, const QString& key, const QString& fallback);
// count consecutive rows of a language table from the row whose Name is anchor, in the
// context's database and language (German where a text is empty, as everywhere); empty when
// the anchor is missing or the run too short (the callers keep their design texts).
QStringList run(const ProgramContext& context, const QString& table, const QString& anchor, int count);
}
