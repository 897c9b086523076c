#pragma once
// What a core routine has to tell the user, or ask: a text with its severity and the answers
// offered. The core never shows it itself: the desktop program turns it into a message box,
// the command-line tool prints it and answers questions from its options.
#include <QString>

struct Notice {
    enum class Severity { None, Critical, Warning, Information, Question };
    enum Answer { NoAnswer = 0, Ok = 0x1, Cancel = 0x2, Yes = 0x4, No = 0x8 };

    QString key; // message key of the first text (for callers and the command line)
    QString text; // the whole text, lines joined by CR LF
    QString title;
    Severity severity = Severity::Information;
    int answers = Ok; // the answers offered (Answer bits)
    Answer defaultAnswer = NoAnswer; // NoAnswer: the first one offered

    bool isQuestion() const { return answers != Ok; }
};
