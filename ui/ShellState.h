#pragma once
// The shell's part of the main window: the help object, the demonstration state and the
// test hook for the modem flash wait. Owned by the main window (QObject child).
#include "core/DemoDisplay.h"
#include "ui/Help.h"

#include <QObject>
#include <functional>

class ShellState : public QObject {
public:
    using QObject::QObject;
    HelpLauncher help;
    DemoDisplay demo;
    bool flashing = false;
    // Replaces the 100 ms wait of the modem flash (tests drive the ticks without waiting).
    std::function<void()> flashWaitHook;
};
