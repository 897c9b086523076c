#pragma once
// Texts of the shell that the language tables do not carry (print failures, the PDF export,
// column titles the report designs leave open). A loaded system message of the same key
// wins, so the tables can take them over without a code change.
#include <QString>

namespace ShellTexts {
// key: one of the ids listed in ShellTexts.cpp; language 1..4 (else German).
QString text(const QString& key, int language);
// Same, for the current language of the program state.
QString text(const QString& key);
}
