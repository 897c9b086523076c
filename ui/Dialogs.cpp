#include "ui/Dialogs.h"

#include "core/ProgramContext.h"
#include "editing/ConfigEditor.h"
#include "editing/EditorTexts.h"
#include "store/Recordset.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>

namespace {
std::function<QMessageBox::StandardButton(const Dialogs::Message&)> g_messageHandler;
std::function<QString(const Dialogs::FileRequest&)> g_fileHandler;
std::function<QString(const QString&)> g_secretHandler;
}

namespace Dialogs {
QMessageBox::StandardButton show(QWidget* parent, const Message& m)
{
    if (g_messageHandler)
        return g_messageHandler(m);
    QMessageBox box(parent);
    box.setTextFormat(Qt::PlainText); // message texts may hold & < > literally
    box.setText(m.text);
    box.setWindowTitle(m.title);
    switch (m.icon) {
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::None: break;
    }
    box.setStandardButtons(m.buttons);
    if (m.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(m.defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton show(QWidget* parent, const QString& text, const QString& title, Icon icon,
                                 QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    return show(parent, Message {text, title, icon, buttons, defaultButton});
}

Notice::Answer show(QWidget* parent, const Notice& notice)
{
    static const std::pair<Notice::Answer, QMessageBox::StandardButton> map[] = {{Notice::Ok, QMessageBox::Ok},
                                                                                 {Notice::Cancel, QMessageBox::Cancel},
                                                                                 {Notice::Yes, QMessageBox::Yes},
                                                                                 {Notice::No, QMessageBox::No}};
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    for (const auto& [answer, button] : map) {
        if (notice.answers & answer)
            buttons |= button;
        if (notice.defaultAnswer == answer)
            defaultButton = button;
    }
    Icon icon = Icon::None;
    switch (notice.severity) {
    case Notice::Severity::Critical: icon = Icon::Critical; break;
    case Notice::Severity::Warning: icon = Icon::Exclamation; break;
    case Notice::Severity::Information: icon = Icon::Information; break;
    case Notice::Severity::Question: icon = Icon::Question; break;
    case Notice::Severity::None: break;
    }
    const QMessageBox::StandardButton pressed = show(parent, notice.text, notice.title, icon, buttons, defaultButton);
    for (const auto& [answer, button] : map)
        if (pressed == button)
            return answer;
    return Notice::NoAnswer;
}

QString askFile(QWidget* parent, const FileRequest& r)
{
    if (g_fileHandler)
        return g_fileHandler(r);
    QFileDialog dlg(parent, r.title, r.folder, r.filter);
    dlg.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!r.defaultSuffix.isEmpty())
        dlg.setDefaultSuffix(r.defaultSuffix);
    if (!r.fileName.isEmpty())
        dlg.selectFile(r.fileName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    return dlg.selectedFiles().first();
}

bool askSecret(QWidget* parent, const QString& label, const QString& title, QString* text)
{
    if (g_secretHandler) {
        *text = g_secretHandler(label);
        return !text->isNull();
    }
    bool ok = false;
    *text = QInputDialog::getText(parent, title, label, QLineEdit::Password, QString(), &ok);
    return ok;
}

void showStoreError(QWidget* parent, const ProgramContext& context, const StoreError& error)
{
    QString text = error.message();
    if (dynamic_cast<const RowMissing*>(&error)) {
        const QString general = EditorTexts::message(context, QStringLiteral("gsMsgZeileFehlt"), QString());
        if (!general.isEmpty())
            text = general + QStringLiteral("\n\n") + text;
    }
    const QString title = context.programName.isEmpty() ? QStringLiteral("SMS Switch Vantor") : context.programName;
    show(parent, text, title, Icon::Critical);
}

bool retryWhileInUse(const ProgramContext& context, QWidget* parent, const std::function<void()>& work)
{
    for (;;) {
        try {
            work();
            return true;
        } catch (const StoreBusy& e) {
            const QString title
                = context.programName.isEmpty() ? QStringLiteral("SMS Switch Vantor") : context.programName;
            if (show(parent, e.message(), title, Icon::Exclamation, QMessageBox::Retry | QMessageBox::Cancel,
                     QMessageBox::Retry)
                != QMessageBox::Retry)
                return false;
        }
    }
}

void setMessageHandler(std::function<QMessageBox::StandardButton(const Message&)> h)
{
    g_messageHandler = std::move(h);
}
void setFileHandler(std::function<QString(const FileRequest&)> h) { g_fileHandler = std::move(h); }
void setSecretHandler(std::function<QString(const QString&)> h) { g_secretHandler = std::move(h); }
}
