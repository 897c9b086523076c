#pragma once
#include <QString>
class QApplication;

namespace Start {
// Prepares the program state (data root, database path, language). Returns an empty text
// when the program can start, else one message saying what is wrong.
QString prepare();
// The whole start sequence and the event loop; returns the exit code.
// profile: a profile file to open once the window is shown (the program's argument).
int Main(QApplication& app, const QString& profile = QString());
}
