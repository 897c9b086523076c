#include "editing/ConfigEditor.h"

#include "core/ProgramContext.h"

#include <QCoreApplication>

namespace {

bool isOne(const QVariant& v) { return !v.isNull() && v.toInt() == 1; }

int intOrZero(const QVariant& v) { return v.isNull() ? 0 : v.toInt(); }

// Column position of the context's language's text in table SMS.
int languageColumn(const ProgramContext& context) { return context.language + 1; }
}

// ---- character set and counter ------------------------------------------------------------

bool SmsText::isAllowed(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 32 && u <= 90) || (u >= 97 && u <= 122);
}

int SmsText::firstInvalid(const QString& text)
{
    for (int i = 0; i < text.size(); ++i)
        if (!isAllowed(text.at(i)))
            return i;
    return -1;
}

int SmsText::remaining(const QString& text) { return qMax(0, MaxLength - int(text.size())); }

QString SmsText::invalidCharacterMessage(const ProgramContext& context)
{
    return context.msg(QStringLiteral("gsMsgFalschesZeichen")) + QStringLiteral("\n")
        + context.msg(QStringLiteral("gsMsgFalschesZeichen2"));
}

Delay::Check Delay::check(const QString& text, int* value)
{
    if (text.isEmpty())
        return Check::Empty;
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < 1 || v > 99)
        return Check::OutOfRange;
    if (value)
        *value = v;
    return Check::Ok;
}

// ---- rows ------------------------------------------------------------------------------------

Recordset& ConfigEditor::findRow(Recordset& rs, const QString& table, int id)
{
    rs.moveFirst();
    if (!rs.find(QStringLiteral("ID = '%1'").arg(id)))
        throw RowMissing(m_store.context()
                             .msgOr(QStringLiteral("gsMsgKonfigZeileFehlt"),
                                    QStringLiteral("Der Konfigurationsdatenbank fehlt die Zeile %1 in der Tabelle %2; "
                                                   "es wurde nichts geschrieben."))
                             .arg(id)
                             .arg(table));
    return rs;
}

bool ConfigEditor::writeFlag(Recordset& rs, const QString& column, int value)
{
    const QVariant old = rs.value(column);
    if (!old.isNull() && old.toInt() == value)
        return false;
    rs.setValue(column, value);
    rs.updateBatch();
    return true;
}

void ConfigEditor::reread(Tables which)
{
    auto again = [](Recordset& rs) {
        if (rs.isOpen() && !rs.hasPendingChanges())
            rs.requery();
    };
    switch (which) {
    case Tables::Inputs: again(m_store.inputs); break;
    case Tables::Outputs: again(m_store.outputs); break;
    case Tables::Alarm: again(m_store.alarmInput); break;
    case Tables::PowerOn: again(m_store.powerOn); break;
    case Tables::Texts:
        for (Recordset* rs : {&m_store.sms, &m_store.inputs, &m_store.outputs, &m_store.alarmInput, &m_store.powerOn})
            again(*rs);
        break;
    }
}

// ---- recipient matrix ------------------------------------------------------------------------

bool ConfigEditor::setInputRecipient(int index, bool on)
{
    if (index < 0 || index > 127)
        return false;
    Recordset& rs = findRow(m_store.inputs, tbl::Eingaenge, index % 16 + 1);
    return writeFlag(rs, QStringLiteral("Benutzer%1").arg(index / 16 + 1), on ? 1 : 0);
}

bool ConfigEditor::setOutputRecipient(int index, bool on)
{
    if (index < 0 || index > 63)
        return false;
    Recordset& rs = findRow(m_store.outputs, tbl::Ausgaenge, index % 8 + 1);
    return writeFlag(rs, QStringLiteral("Benutzer%1").arg(index / 8 + 1), on ? 1 : 0);
}

QVector<bool> ConfigEditor::inputRecipients()
{
    QVector<bool> states(128, false);
    Recordset& rs = m_store.inputs;
    rs.moveFirst();
    for (int r = 1; r <= 16 && !rs.eof(); ++r, rs.moveNext())
        for (int p = 2; p <= 9; ++p)
            states[16 * (p - 2) + r - 1] = isOne(rs.value(p));
    return states;
}

QVector<bool> ConfigEditor::outputRecipients()
{
    QVector<bool> states(64, false);
    Recordset& rs = m_store.outputs;
    rs.moveFirst();
    for (int r = 1; r <= 8 && !rs.eof(); ++r, rs.moveNext())
        for (int p = 2; p <= 9; ++p)
            states[8 * (p - 2) + r - 1] = isOne(rs.value(p));
    return states;
}

QVector<bool> ConfigEditor::defaultStates()
{
    QVector<bool> states(8, false);
    Recordset& rs = m_store.outputs;
    rs.moveFirst();
    for (int r = 1; r <= 8 && !rs.eof(); ++r, rs.moveNext())
        states[r - 1] = isOne(rs.value(QStringLiteral("DefaultState")));
    return states;
}

QVector<int> ConfigEditor::columnBoxes(int buttonIndex)
{
    QVector<int> boxes;
    if (buttonIndex >= 0 && buttonIndex <= 7)
        for (int k = 0; k < 16; ++k)
            boxes << 16 * buttonIndex + k;
    else if (buttonIndex >= 8 && buttonIndex <= 15)
        for (int k = 0; k < 8; ++k)
            boxes << 8 * (buttonIndex - 8) + k;
    return boxes;
}

QVector<RecipientUser> ConfigEditor::users()
{
    QVector<RecipientUser> list;
    Recordset& rs = m_store.addresses;
    rs.requery();
    rs.moveFirst();
    while (!rs.eof() && list.size() < 8) {
        RecipientUser u;
        const QVariant number = rs.value(QStringLiteral("Natel_Nummer"));
        const QVariant name = rs.value(QStringLiteral("Namen"));
        u.hasNumber = !number.isNull();
        u.number = number.toString();
        u.nameIsNull = name.isNull();
        u.name = name.toString();
        u.isOperator = isOne(rs.value(QStringLiteral("Operator")));
        u.active = intOrZero(rs.value(QStringLiteral("Status"))) != 0;
        list << u;
        rs.moveNext();
    }
    return list;
}

bool ConfigEditor::setOperator(int userIndex, bool on)
{
    Recordset& rs = m_store.addresses;
    if (userIndex < 0 || userIndex >= rs.recordCount())
        return false;
    rs.moveFirst();
    rs.setAbsolutePosition(userIndex + 1);
    return writeFlag(rs, QStringLiteral("Operator"), on ? 1 : 0);
}

bool ConfigEditor::setDefaultState(int index, bool on)
{
    if (index < 0 || index > 7)
        return false;
    Recordset& rs = findRow(m_store.outputs, tbl::Ausgaenge, index + 1);
    return writeFlag(rs, QStringLiteral("DefaultState"), on ? 1 : 0);
}

// ---- SMS texts ---------------------------------------------------------------------------------

int ConfigEditor::boxCount(TextBox box)
{
    switch (box) {
    case TextBox::EingangSF:
    case TextBox::EingangFF: return 8;
    case TextBox::AusgangSF:
    case TextBox::AusgangFF: return 4;
    default: return 1;
    }
}

Recordset& ConfigEditor::smsRowFor(TextBox box, int index)
{
    if (index < 0 || index >= boxCount(box))
        throw StoreError(
            m_store.context()
                .msgOr(QStringLiteral("gsMsgKeinTextfeld"), QStringLiteral("Es gibt kein Textfeld %1 dieser Art."))
                .arg(index));
    QVariant link;
    switch (box) {
    case TextBox::EingangSF:
    case TextBox::EingangFF: {
        const int r = 2 * index + (box == TextBox::EingangSF ? 1 : 2);
        link = findRow(m_store.inputs, tbl::Eingaenge, r).value(QStringLiteral("SMSID"));
        break;
    }
    case TextBox::AusgangSF:
    case TextBox::AusgangFF: {
        const int r = 2 * index + (box == TextBox::AusgangSF ? 1 : 2);
        link = findRow(m_store.outputs, tbl::Ausgaenge, r).value(QStringLiteral("SMSID"));
        break;
    }
    case TextBox::AlarmDispositiv:
        m_store.alarmInput.moveFirst();
        link = m_store.alarmInput.value(QStringLiteral("SMS"));
        break;
    case TextBox::SMSAufstarten:
        m_store.powerOn.moveFirst();
        link = m_store.powerOn.value(QStringLiteral("SMS"));
        break;
    }
    bool ok = false;
    const int id = link.toInt(&ok);
    if (link.isNull() || !ok)
        throw RowMissing(m_store.context().msgOr(
            QStringLiteral("gsMsgSMSVerknüpfungFehlt"),
            QStringLiteral(
                "Eine Konfigurationszeile ist mit keinem SMS-Text verknüpft; es wurde nichts geschrieben.")));
    return findRow(m_store.sms, tbl::SMS, id);
}

QString ConfigEditor::text(TextBox box, int index)
{
    const QVariant v = smsRowFor(box, index).value(languageColumn(m_store.context()));
    return v.isNull() ? QString() : v.toString();
}

bool ConfigEditor::setText(TextBox box, int index, const QString& text)
{
    if (text.size() > SmsText::MaxLength || SmsText::firstInvalid(text) >= 0)
        throw StoreError(
            m_store.context().msgOr(QStringLiteral("gsMsgTextNichtGespeichert"),
                                    QStringLiteral("Der Text kann nicht gespeichert werden: er ist zu lang oder "
                                                   "enthält ein Zeichen, das das Gerät nicht annimmt.")));
    Recordset& rs = smsRowFor(box, index);
    const int col = languageColumn(m_store.context());
    const QVariant old = rs.value(col);
    const QVariant now = text.isEmpty() ? QVariant() : QVariant(text);
    if (old.isNull() == now.isNull() && (old.isNull() || old.toString() == text))
        return false;
    rs.setValue(col, now);
    rs.updateBatch();
    return true;
}

// ---- alarm input and power-on message -------------------------------------------------------------

bool ConfigEditor::setAlarmEvent(int index, bool on)
{
    if (index < 0 || index > 15)
        return false;
    Recordset& rs = m_store.alarmInput;
    rs.moveFirst();
    const QString column = (index % 2) ? QStringLiteral("IN_FF") : QStringLiteral("IN_SF");
    const QVariant old = rs.value(column);
    const int bit = 1 << (index / 2);
    const int mask = intOrZero(old);
    const int now = on ? (mask | bit) : (mask & (255 - bit));
    if (!old.isNull() && now == mask)
        return false;
    rs.setValue(column, now);
    rs.updateBatch();
    return true;
}

QVector<bool> ConfigEditor::alarmEvents(bool* sfNull, bool* ffNull)
{
    QVector<bool> states(16, false);
    Recordset& rs = m_store.alarmInput;
    rs.moveFirst();
    const QVariant sf = rs.value(QStringLiteral("IN_SF"));
    const QVariant ff = rs.value(QStringLiteral("IN_FF"));
    if (sfNull)
        *sfNull = sf.isNull();
    if (ffNull)
        *ffNull = ff.isNull();
    for (int k = 0; k < 8; ++k) {
        states[2 * k] = (intOrZero(sf) >> k) & 1;
        states[2 * k + 1] = (intOrZero(ff) >> k) & 1;
    }
    return states;
}

bool ConfigEditor::setAlarmUser(int index, bool on)
{
    if (index < 0 || index > 7)
        return false;
    m_store.alarmInput.moveFirst();
    return writeFlag(m_store.alarmInput, m_store.alarmInput.fieldName(index + 3), on ? 1 : 0);
}

QVector<bool> ConfigEditor::alarmUsers()
{
    QVector<bool> states(8, false);
    Recordset& rs = m_store.alarmInput;
    rs.moveFirst();
    for (int p = 3; p <= 10; ++p)
        states[p - 3] = isOne(rs.value(p));
    return states;
}

bool ConfigEditor::setPowerOnUser(int index, bool on)
{
    if (index < 0 || index > 7)
        return false;
    m_store.powerOn.moveFirst();
    return writeFlag(m_store.powerOn, m_store.powerOn.fieldName(index + 1), on ? 1 : 0);
}

QVector<bool> ConfigEditor::powerOnUsers()
{
    QVector<bool> states(8, false);
    Recordset& rs = m_store.powerOn;
    rs.moveFirst();
    for (int i = 0; i < 8; ++i) {
        // A missing value ticks the box, as the unit's default is "send".
        const QVariant v = rs.value(i + 1);
        states[i] = v.isNull() || v.toInt() != 0;
    }
    return states;
}

QString ConfigEditor::delayText()
{
    m_store.alarmInput.moveFirst();
    const QVariant v = m_store.alarmInput.value(tbl::Verzoegerungszeit);
    return v.isNull() ? QString() : QString::number(v.toInt());
}

bool ConfigEditor::setDelay(const QString& text)
{
    int value = 0;
    if (Delay::check(text, &value) != Delay::Check::Ok)
        throw StoreError(
            m_store.context().msgOr(QStringLiteral("gsMsgVerzögerungBereich"),
                                    QStringLiteral("Die Verzögerungszeit muss eine Zahl von 1 bis 99 sein.")));
    m_store.alarmInput.moveFirst();
    return writeFlag(m_store.alarmInput, tbl::Verzoegerungszeit, value);
}
