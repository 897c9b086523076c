#pragma once
// Every message box and file dialog of the program goes through these functions, so the
// tests (and the command-line tool) can answer them without a modal loop.
#include "core/Notice.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>

class ProgramContext;
class StoreError;
class QWidget;

namespace Dialogs {
enum class Icon { None, Critical, Exclamation, Information, Question };

struct Message {
    QString text;
    QString title;
    Icon icon = Icon::None;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Shows a message box and returns the button pressed.
QMessageBox::StandardButton show(QWidget* parent, const Message& m);
QMessageBox::StandardButton show(QWidget* parent, const QString& text, const QString& title, Icon icon,
                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                 QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// A notice of the core as a message box; returns the answer chosen.
Notice::Answer show(QWidget* parent, const Notice& notice);

struct FileRequest {
    bool save = false;
    QString title;
    QString folder;
    QString fileName; // initial
    QString filter; // Qt filter text, e.g. "Config (*.cfg)"
    QString defaultSuffix; // without the dot
};
// Returns the chosen path, or an empty text when the user cancelled.
QString askFile(QWidget* parent, const FileRequest& r);

// Asks for a secret (masked input). Returns false when the user cancelled; *text holds
// what was typed.
bool askSecret(QWidget* parent, const QString& label, const QString& title, QString* text);

// The one way a failure of the configuration store reaches the user: its sentence in a
// critical box under the program's title; a row the editing rules need but the store lacks
// is introduced by the general sentence about a missing row.
void showStoreError(QWidget* parent, const ProgramContext& context, const StoreError& error);

// Runs work; while it fails because another program holds the database (StoreBusy), says so
// with Retry and Cancel and runs it again on Retry. Returns false when the user cancelled;
// any other StoreError passes to the caller.
bool retryWhileInUse(const ProgramContext& context, QWidget* parent, const std::function<void()>& work);

// Test hooks: while set, they answer instead of a window.
void setMessageHandler(std::function<QMessageBox::StandardButton(const Message&)> h);
void setFileHandler(std::function<QString(const FileRequest&)> h);
// Answers askSecret: the label asked; returns the text, or a null text for Cancel.
void setSecretHandler(std::function<QString(const QString& label)> h);
}
