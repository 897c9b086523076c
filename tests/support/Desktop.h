#pragma once
// The desktop program's main window as the start prepares it, modal dialogs handled by the
// test, and one language's text of a row of the language tables.
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "ui/MainWindow.h"
#include "ui/Start.h"

#include <QApplication>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

namespace Desktop {
// The main window after the start's preparation, the port standing for the simulated unit
// (null when the preparation fails).
inline std::unique_ptr<MainWindow> window(MainWindowOptions options = {})
{
    Settings::set("Ports", "COM1", "sim");
    if (!Start::prepare(gState()).isEmpty())
        return nullptr;
    return std::make_unique<MainWindow>(gState(), std::move(options));
}

// The text of the row key of a language table (Beschriftung, ToolTipText, SystemNachrichten)
// in language 1 (German) .. 4 (French), read from the database file.
inline QString tableText(const TestEnv& env, const QString& key, int language, const char* table = "Beschriftung")
{
    static const char* const columns[] = {"Deutsch", "Englisch", "Italienisch", "Französisch"};
    return env
        .queryValue(QStringLiteral("SELECT \"%1\" FROM \"%2\" WHERE Name = '%3'")
                        .arg(QString::fromUtf8(columns[language - 1]), QString::fromUtf8(table), key))
        .toString();
}

// Runs fn on the next modal dialog of type T once it is shown.
template <typename T> void onModal(std::function<void(T*)> fn)
{
    QTimer::singleShot(0, [fn] {
        T* dlg = qobject_cast<T*>(QApplication::activeModalWidget());
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<T*>(w); !dlg && d && d->isVisible())
                dlg = d;
        QVERIFY2(dlg, "expected dialog is not shown");
        fn(dlg);
    });
}
} // namespace Desktop
