#pragma once
// The administrator login: a password box (at most 6 characters, shown as stars), accept and
// cancel. An accepted password sets the main window's access level; the empty password is
// accepted and sets the normal level again.
#include <QDialog>

class ProgramContext;
class QLabel;
class QLineEdit;
class QPushButton;

class AdministratorLogin : public QDialog {
    Q_OBJECT
public:
    explicit AdministratorLogin(const ProgramContext& context, QWidget* parent = nullptr);
    QLineEdit* passwordBox = nullptr;
    QLabel* passwordLabel = nullptr;
    QPushButton* applyButton = nullptr;
    QPushButton* cancelButton = nullptr;

    // Validate check of the password box: true when the text may be taken; else the refusal
    // message has been shown.
    bool passwordIsValid();
    void apply();
    void cancel();

signals:
    // A password was taken (empty: back to the normal level); whoever opened the login applies it.
    void accessLevelChosen(const QString& password);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    const ProgramContext& m_context;
    void startUp();
    void markBox(bool focused);
};
