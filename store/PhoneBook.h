#pragma once
// The phone book of the unit (table Adressen, eight users in table order) as the
// phone-book window edits it: one entry at a time, on a connection of its own. An entry
// is written when it is left; closing without saving drops the changes of the current
// entry only.
#include "store/Recordset.h"

#include <QString>
#include <functional>

struct PhoneBookEntry {
    QString name;
    QString number;
    QString password;
    bool isOperator = false;
    bool active = false;
    bool operator==(const PhoneBookEntry&) const = default;
};

class PhoneBook {
public:
    static constexpr int NameLength = 32;
    static constexpr int NumberLength = 16;
    static constexpr int PasswordLength = 4;
    // Password a cleared entry receives.
    static inline const QString ClearedPassword = QStringLiteral("7101");

    // A number starts with a digit, "*" or "+", then digits and "*" only. Empty passes
    // (the completeness rule is separate). Returns the zero-based position of the first
    // refused character, -1 when the number is acceptable.
    static int numberError(const QString& number);
    struct PasswordCheck {
        bool notNumeric = false;
        bool wrongLength = false;
        bool ok() const { return !notNumeric && !wrongLength; }
    };
    static PasswordCheck checkPassword(const QString& password);
    // A stored password made of NUL characters only is how a profile or the unit marks an
    // unused user (four zero bytes): it shows, and counts, as no password.
    static QString shownPassword(const QString& stored);

    // context: the language of the errors thrown.
    explicit PhoneBook(const ProgramContext& context) : m_con(context) {}
    ~PhoneBook();
    void open(const QString& databasePath); // throws StoreError
    // Closes the recordset without writing what is still pending.
    void close();
    bool isOpen() const { return m_rs.isOpen(); }

    int position() const { return m_rs.absolutePosition(); } // 1-based
    int count() const { return m_rs.recordCount(); }
    PhoneBookEntry current() const; // null values as empty texts

    // What leaving the current entry with these box contents does.
    enum class Leave {
        Written, // the entry (or its clearing) reached the file
        Unchanged, // the boxes show what is stored: nothing to write
        Incomplete, // changed, but the number or the password box is empty: nothing written
        Invalid, // the number or the password is not acceptable: nothing written
    };
    Leave check(const PhoneBookEntry& boxes) const;
    // Writes the entry when check() says it can be written. Throws StoreError.
    Leave leave(const PhoneBookEntry& boxes);

    // The 1-based position of another entry that holds the same number as stored, 0 when
    // none does (an empty number matches nothing).
    int otherEntryWithNumber(const QString& number) const;

    // Marks the current entry cleared (pending until the entry is left or saved).
    void clearCurrent();
    bool clearPending() const { return m_clearPending; }

    // Navigation; each returns false and does nothing when it cannot move.
    bool moveFirst();
    bool movePrevious();
    bool moveNext();
    bool moveLast();
    bool moveTo(int position);

    // True once anything of the phone book reached the file.
    bool anythingWritten() const { return m_written; }

    // Called with the user index (0..7) of an entry written as inactive.
    std::function<void(int)> onUserInactive;

private:
    PhoneBookEntry stored() const;
    Connection m_con;
    Recordset m_rs;
    bool m_clearPending = false;
    bool m_written = false;
};
