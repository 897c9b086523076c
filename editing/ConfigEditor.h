#pragma once
// The editing rules of the main window, without widgets: recipient matrix, SMS texts,
// alarm input, power-on message and output default states. Every setter writes its change
// into the open recordset of the ConfigStore and flushes it at once; it returns true when
// the store actually changed, so the caller can keep the unsaved-changes flag honest.
// A row that cannot be found raises RowMissing and nothing is written.
#include "store/ConfigStore.h"

#include <QString>
#include <QVariant>
#include <QVector>

class RowMissing : public StoreError {
public:
    using StoreError::StoreError;
};

// What the recipient labels and enabled states show for one phone-book user.
struct RecipientUser {
    bool hasNumber = false; // a null number disables the user everywhere
    QString name; // null name: empty text, shown as the "undefined" text
    bool nameIsNull = true;
    QString number;
    bool isOperator = false;
    bool active = false; // Status other than 0
};

namespace SmsText {
constexpr int MaxLength = 63;
// The unit accepts codes 32..90 and 97..122 only.
bool isAllowed(QChar c);
// Zero-based position of the first refused character, -1 when the text is acceptable.
int firstInvalid(const QString& text);
// Characters still free, as the counter shows them.
int remaining(const QString& text);
// The two-part message shown for a refused character.
QString invalidCharacterMessage(const ProgramContext& context);
}

namespace Delay {
enum class Check { Ok, Empty, OutOfRange };
// Accepted: a whole number 1..99. Anything else (empty, 0, 100, letters) is refused.
Check check(const QString& text, int* value = nullptr);
}

class ConfigEditor {
public:
    // The six text-box families of the SMS texts.
    enum class TextBox { EingangSF, EingangFF, AusgangSF, AusgangFF, AlarmDispositiv, SMSAufstarten };

    explicit ConfigEditor(ConfigStore& store) : m_store(store) {}

    // Reads the tables again before a fill, so the widgets show what the file holds.
    // A recordset with pending edits is left as it is (nothing is dropped).
    enum class Tables { Inputs, Outputs, Texts, Alarm, PowerOn };
    void reread(Tables which);

    // ---- recipient matrix -----------------------------------------------------------------
    // index = 16 * (user - 1) + (row - 1), 0..127 / 8 * (user - 1) + (row - 1), 0..63.
    bool setInputRecipient(int index, bool on);
    bool setOutputRecipient(int index, bool on);
    // Current stored states in widget order (128 / 64 / 8 entries).
    QVector<bool> inputRecipients();
    QVector<bool> outputRecipients();
    QVector<bool> defaultStates();
    // Column of one user for the check-all / clear-all buttons (0..7 inputs, 8..15 outputs):
    // the box indices of that column, empty for an index outside 0..15.
    static QVector<int> columnBoxes(int buttonIndex);
    // The eight users in phone-book order, read fresh from the file.
    QVector<RecipientUser> users();
    bool setOperator(int userIndex, bool on);

    // ---- output default states -------------------------------------------------------------
    bool setDefaultState(int index, bool on);

    // ---- SMS texts ---------------------------------------------------------------------------
    static int boxCount(TextBox box);
    // Text of the store's context's language as stored (null shows as empty).
    QString text(TextBox box, int index);
    // Stores the text of one box in the store's context's language; an empty text stores null.
    // Throws StoreError when the text holds a refused character.
    bool setText(TextBox box, int index, const QString& text);

    // ---- alarm input and power-on message -----------------------------------------------------
    // element 2(k-1) = rising edge of input k (IN_SF bit k-1), 2(k-1)+1 = falling edge (IN_FF).
    bool setAlarmEvent(int index, bool on);
    QVector<bool> alarmEvents(bool* sfNull = nullptr, bool* ffNull = nullptr);
    bool setAlarmUser(int index, bool on);
    QVector<bool> alarmUsers();
    bool setPowerOnUser(int index, bool on);
    QVector<bool> powerOnUsers();
    QString delayText();
    // Stores a delay that passed Delay::check; throws StoreError otherwise.
    bool setDelay(const QString& text);

private:
    Recordset& findRow(Recordset& rs, const QString& table, int id);
    Recordset& smsRowFor(TextBox box, int index);
    bool writeFlag(Recordset& rs, const QString& column, int value);
    ConfigStore& m_store;
};
