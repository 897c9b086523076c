#pragma once
// Texts of the shell kept as SystemNachrichten rows (print failures, the PDF export, column
// titles the report designs leave open, the help window); the German text stands in when
// the database lacks a row.
#include <QString>
#include <QStringList>

class ProgramContext;

namespace ShellTexts {
// key: one of the ids listed in ShellTexts.cpp; language 1..4 (else German); the rows are
// those of the context's database.
QString text(const ProgramContext& context, const QString& key, int language);
// Same, in the context's language.
QString text(const ProgramContext& context, const QString& key);
// Several keys in the context's language, read in one pass over the table.
QStringList texts(const ProgramContext& context, const QStringList& keys);
}
