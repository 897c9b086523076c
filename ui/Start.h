#pragma once
#include <QString>
class ProgramContext;
class QApplication;

namespace Start {
// Prepares the program state (data root, database path, language). Returns an empty text
// when the program can start, else one message saying what is wrong.
QString prepare(ProgramContext& context);
// The whole start sequence and the event loop; returns the exit code.
// profile: a profile file to open once the window is shown (the program's argument).
int Main(ProgramContext& context, QApplication& app, const QString& profile = QString());
}
