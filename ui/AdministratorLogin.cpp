#include "ui/AdministratorLogin.h"

#include "core/AccessLevel.h"
#include "ui/Dialogs.h"
#include "core/ProgramContext.h"
#include "store/TextTable.h"
#include "store/ConfigStore.h"
#include "ui/MainWindow.h"
#include "ui/ShellController.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

AdministratorLogin::AdministratorLogin(const ProgramContext& context, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmAdministrator"));
    setModal(true);
    passwordLabel = new QLabel(this);
    passwordLabel->setObjectName(QStringLiteral("lblPasswort"));
    passwordBox = new QLineEdit(this);
    passwordBox->setObjectName(QStringLiteral("txtPasswort"));
    passwordBox->setMaxLength(6);
    passwordBox->setEchoMode(QLineEdit::Password);
    passwordBox->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    passwordBox->setMinimumWidth(passwordBox->fontMetrics().horizontalAdvance(QLatin1Char('*')) * 14);
    passwordLabel->setBuddy(passwordBox);
    applyButton = new QPushButton(this);
    applyButton->setObjectName(QString::fromUtf8("cmdÜbernehmen"));
    cancelButton = new QPushButton(this);
    cancelButton->setObjectName(QStringLiteral("cmdAbbrechen"));
    // Enter in the box goes to the accept button; Enter there accepts (it is the default).
    applyButton->setAutoDefault(true);
    cancelButton->setAutoDefault(true);

    auto* form = new QFormLayout;
    form->addRow(passwordLabel, passwordBox);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(applyButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancelButton, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(applyButton, &QPushButton::clicked, this, &AdministratorLogin::apply);
    connect(cancelButton, &QPushButton::clicked, this, &AdministratorLogin::cancel);
    passwordBox->installEventFilter(this);
    startUp();
    passwordBox->setFocus();
}

void AdministratorLogin::startUp()
{
    const ProgramContext& st = m_context;
    const TextTable cap(st, st.databasePath, tbl::Beschriftung, st.language);
    const TextTable tip(st, st.databasePath, tbl::ToolTipText, st.language);
    setWindowTitle(cap.at(QStringLiteral("frmAdministrator"), 0, QStringLiteral("Administrator")));
    passwordLabel->setText(cap.at(QStringLiteral("lblPasswort"), 0, QStringLiteral("Passwort")));
    applyButton->setText(cap.at(QString::fromUtf8("cmdPasswortÜbernehmen"), 0, QString::fromUtf8("&Übernehmen")));
    cancelButton->setText(cap.at(QStringLiteral("cmdPasswortAbbrechen"), 0, QStringLiteral("&Abbrechen")));
    passwordBox->setToolTip(tip.at(QStringLiteral("txtPasswort")));
    applyButton->setToolTip(tip.at(QString::fromUtf8("cmdPasswortÜbernehmen")));
    cancelButton->setToolTip(tip.at(QStringLiteral("cmdPasswortAbbrechen")));
}

void AdministratorLogin::markBox(bool focused)
{
    QPalette pal = passwordBox->palette();
    pal.setColor(QPalette::Base, focused ? QColor(255, 255, 0) : palette().color(QPalette::Base));
    pal.setColor(QPalette::Text, focused ? QColor(0, 0, 0) : palette().color(QPalette::Text));
    passwordBox->setPalette(pal);
}

bool AdministratorLogin::eventFilter(QObject* o, QEvent* e)
{
    if (o == passwordBox) {
        if (e->type() == QEvent::FocusIn) {
            markBox(true);
            passwordBox->selectAll();
        } else if (e->type() == QEvent::FocusOut) {
            markBox(false);
        } else if (e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                applyButton->setFocus();
                return true;
            }
        }
    }
    return QDialog::eventFilter(o, e);
}

bool AdministratorLogin::passwordIsValid()
{
    if (AccessLevel::loginAccepts(passwordBox->text()))
        return true;
    const ProgramContext& st = m_context;
    Dialogs::show(this, st.msg(QStringLiteral("gsMsgPasswortNOK")), st.msg(QStringLiteral("gsFehlerEingabe")),
                  Dialogs::Icon::Critical);
    return false;
}

void AdministratorLogin::apply()
{
    if (!passwordIsValid()) {
        passwordBox->setFocus();
        passwordBox->selectAll();
        markBox(true);
        return;
    }
    emit accessLevelChosen(passwordBox->text());
    accept();
}

void AdministratorLogin::cancel() { reject(); }
