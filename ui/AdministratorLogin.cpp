#include "ui/AdministratorLogin.h"

#include "core/AccessLevel.h"
#include "ui/Dialogs.h"
#include "core/ProgramContext.h"
#include "core/TextTable.h"
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

AdministratorLogin::AdministratorLogin(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAdministrator"));
    setModal(true);
    lblPasswort = new QLabel(this);
    lblPasswort->setObjectName(QStringLiteral("lblPasswort"));
    txtPasswort = new QLineEdit(this);
    txtPasswort->setObjectName(QStringLiteral("txtPasswort"));
    txtPasswort->setMaxLength(6);
    txtPasswort->setEchoMode(QLineEdit::Password);
    txtPasswort->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    txtPasswort->setMinimumWidth(txtPasswort->fontMetrics().horizontalAdvance(QLatin1Char('*')) * 14);
    lblPasswort->setBuddy(txtPasswort);
    cmdUebernehmen = new QPushButton(this);
    cmdUebernehmen->setObjectName(QString::fromUtf8("cmdÜbernehmen"));
    cmdAbbrechen = new QPushButton(this);
    cmdAbbrechen->setObjectName(QStringLiteral("cmdAbbrechen"));
    // Enter in the box goes to the accept button; Enter there accepts (it is the default).
    cmdUebernehmen->setAutoDefault(true);
    cmdAbbrechen->setAutoDefault(true);

    auto* form = new QFormLayout;
    form->addRow(lblPasswort, txtPasswort);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdUebernehmen, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdAbbrechen, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdUebernehmen, &QPushButton::clicked, this, &AdministratorLogin::cmdUebernehmen_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &AdministratorLogin::cmdAbbrechen_Click);
    txtPasswort->installEventFilter(this);
    startUp();
    txtPasswort->setFocus();
}

void AdministratorLogin::startUp()
{
    const ProgramContext& st = gState();
    const TextTable cap(st.databasePath, tbl::Beschriftung, st.language);
    const TextTable tip(st.databasePath, tbl::ToolTipText, st.language);
    setWindowTitle(cap.at(QStringLiteral("frmAdministrator"), 0, QStringLiteral("Administrator")));
    lblPasswort->setText(cap.at(QStringLiteral("lblPasswort"), 0, QStringLiteral("Passwort")));
    cmdUebernehmen->setText(cap.at(QString::fromUtf8("cmdPasswortÜbernehmen"), 0, QString::fromUtf8("&Übernehmen")));
    cmdAbbrechen->setText(cap.at(QStringLiteral("cmdPasswortAbbrechen"), 0, QStringLiteral("&Abbrechen")));
    txtPasswort->setToolTip(tip.at(QStringLiteral("txtPasswort")));
    cmdUebernehmen->setToolTip(tip.at(QString::fromUtf8("cmdPasswortÜbernehmen")));
    cmdAbbrechen->setToolTip(tip.at(QStringLiteral("cmdPasswortAbbrechen")));
}

void AdministratorLogin::markBox(bool focused)
{
    QPalette pal = txtPasswort->palette();
    pal.setColor(QPalette::Base, focused ? QColor(255, 255, 0) : palette().color(QPalette::Base));
    pal.setColor(QPalette::Text, focused ? QColor(0, 0, 0) : palette().color(QPalette::Text));
    txtPasswort->setPalette(pal);
}

bool AdministratorLogin::eventFilter(QObject* o, QEvent* e)
{
    if (o == txtPasswort) {
        if (e->type() == QEvent::FocusIn) {
            markBox(true);
            txtPasswort->selectAll();
        } else if (e->type() == QEvent::FocusOut) {
            markBox(false);
        } else if (e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                cmdUebernehmen->setFocus();
                return true;
            }
        }
    }
    return QDialog::eventFilter(o, e);
}

bool AdministratorLogin::txtPasswort_Validate()
{
    if (AccessLevel::loginAccepts(txtPasswort->text()))
        return true;
    const ProgramContext& st = gState();
    Dialogs::show(this, st.msg(QStringLiteral("gsMsgPasswortNOK")), st.msg(QStringLiteral("gsFehlerEingabe")),
                  Dialogs::Icon::Critical);
    return false;
}

void AdministratorLogin::cmdUebernehmen_Click()
{
    if (!txtPasswort_Validate()) {
        txtPasswort->setFocus();
        txtPasswort->selectAll();
        markBox(true);
        return;
    }
    if (MainWindow* main = mainWindow())
        main->shell().applyAccessLevel(txtPasswort->text());
    accept();
}

void AdministratorLogin::cmdAbbrechen_Click() { reject(); }
