#include "ui/Help.h"

#include "core/ProgramContext.h"
#include "ui/HelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPointer>

namespace {
QPointer<HelpWindow> g_window;

// F1 anywhere: the topic of the widget under the keyboard focus (or its nearest parent
// with a context number); the contents when none carries one.
class F1Filter : public QObject {
public:
    F1Filter(const ProgramContext& program, QObject* parent) : QObject(parent), m_program(program) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!watched->isWidgetType())
            return false;
        const bool f1 = (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)
            && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1
            && static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier;
        if (!f1)
            return false;
        if (event->type() == QEvent::ShortcutOverride) {
            // F1 is also the shortcut of the help menu item (contents); the control's own
            // topic comes first, so the key press is kept for the control.
            event->accept();
            return true;
        }
        // The key press goes to the widget with the keyboard focus.
        QWidget* w = static_cast<QWidget*>(watched);
        if (g_window && w->window() == g_window)
            return false;
        Help::showContext(m_program, Help::contextOf(w));
        return true;
    }

private:
    const ProgramContext& m_program;
};
}

namespace Help {
QString languageFolder(int language)
{
    switch (language) {
    case 2: return QStringLiteral("en");
    case 3: return QStringLiteral("it");
    case 4: return QStringLiteral("fr");
    default: return QStringLiteral("de");
    }
}

QString pagePath(const ProgramContext& program, int context, int language)
{
    const QDir help(program.helpFolder());
    const QString file = context > 0 ? QStringLiteral("%1.html").arg(context) : QStringLiteral("index.html");
    for (const QString& lang : {languageFolder(language), QStringLiteral("en"), QStringLiteral("de")}) {
        const QString p = help.filePath(lang + QLatin1Char('/') + file);
        if (QFileInfo::exists(p))
            return p;
    }
    if (context > 0)
        return pagePath(program, 0, language);
    return QString();
}

int contextOf(const QWidget* w)
{
    for (; w; w = w->parentWidget()) {
        for (const char* name : {ContextProperty, LegacyContextProperty}) {
            bool ok = false;
            const int c = w->property(name).toInt(&ok);
            if (ok && c > 0)
                return c;
        }
    }
    return 0;
}

void setContext(QWidget* w, int context)
{
    if (w)
        w->setProperty(ContextProperty, context);
}

HelpWindow* window(const ProgramContext& program)
{
    if (!g_window) {
        g_window = new HelpWindow(program);
        g_window->setAttribute(Qt::WA_DeleteOnClose);
    }
    return g_window;
}

void showContext(const ProgramContext& program, int context)
{
    HelpWindow* w = window(program);
    w->openPage(pagePath(program, context, program.language));
    w->show();
    w->raise();
    w->activateWindow();
}

void closeAll()
{
    if (g_window)
        g_window->close();
}

void installF1Handler(const ProgramContext& program)
{
    static F1Filter* filter = nullptr;
    if (!filter && qApp) {
        filter = new F1Filter(program, qApp);
        qApp->installEventFilter(filter);
    }
}
}

int HelpLauncher::run(QWidget*, int command)
{
    switch (command) {
    case 0: Help::showContext(m_program, 0); return 1;
    case 1:
        Help::showContext(m_program, 0);
        Help::window(m_program)->showIndex();
        return 1;
    case 2:
        Help::showContext(m_program, 0);
        Help::window(m_program)->focusSearch();
        return 1;
    case 3: Help::closeAll(); return 0;
    default: return 0;
    }
}
