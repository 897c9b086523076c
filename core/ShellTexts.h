#pragma once
// Texts of the shell kept as SystemNachrichten rows (print failures, the PDF export, column
// titles the report designs leave open, the help window); the German text stands in when
// the database lacks a row.
#include <QString>

namespace ShellTexts {
// key: one of the ids listed in ShellTexts.cpp; language 1..4 (else German).
QString text(const QString& key, int language);
// Same, for the current language of the program state.
QString text(const QString& key);
}
