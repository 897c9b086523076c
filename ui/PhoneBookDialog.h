#pragma once
// The phone-book window: one of the eight user entries at a time, four navigation
// buttons, clearing, saving and closing. The rules live in store/PhoneBook.
#include "store/PhoneBook.h"

#include <QDialog>
#include <QHash>

class ProgramContext;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class PhoneBookDialog : public QDialog {
    Q_OBJECT
public:
    // Opens its own connection on the table Adressen (throws StoreError).
    explicit PhoneBookDialog(ProgramContext& context, QWidget* parent = nullptr);
    ~PhoneBookDialog() override;

    PhoneBook& book() { return m_book; }

    QLabel* userLabel = nullptr;
    QLabel* nameLabel = nullptr;
    QLabel* numberLabel = nullptr;
    QLabel* passwordLabel = nullptr;
    QLineEdit* nameBox = nullptr;
    QLineEdit* numberBox = nullptr;
    QLineEdit* passwordBox = nullptr;
    QCheckBox* operatorBox = nullptr;
    QCheckBox* activeBox = nullptr;
    QPushButton* moveButtons[4] = {nullptr, nullptr, nullptr, nullptr};
    QPushButton* clearButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* closeButton = nullptr;

    void moveTo(int index);

signals:
    // User index (0..7) was set inactive: it no longer receives the alarm input.
    void userDeactivated(int index);
    // An entry was written to the store: the configuration holds unsaved changes.
    void configurationEdited();

public:
    void clearEntry();
    void saveEntry();
    void closeBook();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    ProgramContext& m_context;
    void loadTexts();
    void showEntry();
    PhoneBookEntry boxes() const;
    // Checks the number box; shows the message and keeps the focus when it fails.
    // always: show the message even when it was shown for this text already.
    bool validateNumber(bool always);
    bool validatePassword(bool always);
    // Writes the current entry before a move or the save; false keeps the user on it.
    bool leaveEntry();
    void setFocusColour(QLineEdit* box, bool focused);
    // The boxes take at most limit characters. Text put in beyond that (pasted, dropped) is
    // cut where it went in, and the user is told what was left out; a single typed key
    // beyond the limit is refused as a full box refuses it.
    void limitLength(QLineEdit* box, int limit, QLabel* label);
    void cutToLimit(QLineEdit* box, int limit, QLabel* label, const QString& edited);
    // Asks before an entry takes a number another user already has; false keeps it open.
    bool acceptDuplicateNumber(const PhoneBookEntry& e);

    PhoneBook m_book;
    bool m_validating = false;
    bool m_closing = false;
    bool m_numberReported = false;
    bool m_passwordReported = false;
    QHash<QLineEdit*, QString> m_accepted; // each box's last text within its limit
};
