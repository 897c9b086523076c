#pragma once
// Context help: HTML pages below the program folder (help/<de|en|it|fr>/<context>.html and
// index.html), the context number a widget carries (property "helpContext", looked up on
// the widget and then on its parents; "HelpContextID" counts as well), F1 anywhere in the
// program, and HelpLauncher.
#include <QString>

class ProgramContext;
class QObject;
class QWidget;
class HelpWindow;

namespace Help {
inline constexpr const char* ContextProperty = "helpContext";
// Also understood: the design's property name, as some windows set it.
inline constexpr const char* LegacyContextProperty = "HelpContextID";

// "de", "en", "it", "fr" for the language 1..4 (German for anything else).
QString languageFolder(int language);
// The page of a context number in the language; falls back to English, then German, then
// to the contents page. Context 0 is the contents page (index.html).
QString pagePath(const ProgramContext& program, int context, int language);
// The context number of the widget or of its nearest parent that carries one; 0 for none.
int contextOf(const QWidget* w);
void setContext(QWidget* w, int context);

// The one help window of the program (created on first use).
HelpWindow* window(const ProgramContext& program);
// Opens the help window at the page of the context (0: contents) and brings it forward.
void showContext(const ProgramContext& program, int context);
// Closes the help window (if open).
void closeAll();
// Installs the application-wide F1 handler (once).
void installF1Handler(const ProgramContext& program);
}

// The help commands of the main window: 0 contents, 1 index, 2 search, 3 close all help
// windows; other numbers do nothing. The result is 1 while a help window is shown by the
// command, else 0.
class HelpLauncher {
public:
    explicit HelpLauncher(const ProgramContext& program) : m_program(program) {}
    int run(QWidget* form, int command);

private:
    const ProgramContext& m_program;
};
