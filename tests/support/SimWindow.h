#pragma once
// A main window on the built-in simulated unit in virtual time: SMS texts "Tür <ID>" in German
// and "Door <ID>" in English, user 1's password as given, the unit knowing the password 4711.
#include "TestEnv.h"
#include "WindowWidgets.h"

#include "core/ProgramContext.h"
#include "image/HexWriter.h"
#include "image/Image.h"
#include "link/Waiter.h"
#include "sim/SimChannel.h"
#include "ui/DeviceController.h"
#include "ui/EditorBinding.h"
#include "ui/ExtrasController.h"
#include "ui/MainWindow.h"
#include "ui/WindowTexts.h"

#include <QAction>
#include <QPushButton>
#include <memory>

// The program's sentence of a message key.
inline QString msg(const char* key) { return gState().msg(QString::fromUtf8(key)); }
// An outcome as the window says it: the command line's words as a sentence, and for a silent
// unit what to check.
inline QString told(QString words, bool silent = false)
{
    words[0] = words[0].toUpper();
    return words + QStringLiteral(".") + (silent ? QStringLiteral("\n") + msg("gsMsgKeineAntwortHilfe") : QString());
}

// The given configuration as a profile file at path.
inline void writeProfile(const ProfileData& data, const QString& path)
{
    Image image;
    HexWriter::buildImage(data, image);
    QVERIFY(HexWriter::writeProfileFile(gState(), image, path).ok());
}

struct SimWindow {
    TestEnv env;
    VirtualWaiter clock;
    MainWindowOptions options;
    std::unique_ptr<MainWindow> w;
    explicit SimWindow(const QString& password = QStringLiteral("4711"), MainWindowOptions given = {})
        : env(QStringLiteral("1")), options(std::move(given))
    {
        env.exec("UPDATE SMS SET Deutsch = 'Tür ' || ID, Englisch = 'Door ' || ID");
        env.exec(QStringLiteral("UPDATE Adressen SET Passwort = '%1' WHERE rowid = (SELECT MIN(rowid) FROM Adressen)")
                     .arg(password));
        open();
        w->texts().loadSystemMessages();
        w->extras().applyTexts();
        w->editorBinding().refresh();
        unit().area3.replace(56 * 128 + 8, 4, "4711");
        gState().unsavedChanges = false;
    }
    // A new main window on the same folders (as at the next start).
    void open()
    {
        w = std::make_unique<MainWindow>(gState(), options);
        w->device().setWaiter(&clock);
        w->device().link();
    }
    SimUnit& unit() { return static_cast<SimChannel*>(w->device().channel.get())->unit(); }
    template <typename T = QWidget> T* get(const char* name) { return WindowWidgets::named<T>(*w, name); }
    void click(const char* name) { get<QPushButton>(name)->click(); }
    void trigger(const char* name) { get<QAction>(name)->trigger(); }
    QStringList said() const { return env.said(); }
};
