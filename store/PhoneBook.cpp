#include "store/PhoneBook.h"

#include "store/ConfigStore.h"

#include <QSqlQuery>

namespace {
QString text(const QVariant& v) { return v.isNull() ? QString() : v.toString(); }
bool isOne(const QVariant& v) { return !v.isNull() && v.toInt() == 1; }
}

int PhoneBook::numberError(const QString& number)
{
    if (number.isEmpty())
        return -1;
    const QChar first = number.at(0);
    if (!(first.isDigit() && first.unicode() < 128) && first != '*' && first != '+')
        return 0;
    for (int i = 1; i < number.size(); ++i) {
        const QChar c = number.at(i);
        if (!((c >= '0' && c <= '9') || c == '*'))
            return i;
    }
    return -1;
}

PhoneBook::PasswordCheck PhoneBook::checkPassword(const QString& password)
{
    PasswordCheck r;
    r.notNumeric = password.isEmpty();
    for (QChar c : password)
        if (c < '0' || c > '9')
            r.notNumeric = true;
    r.wrongLength = password.size() != PasswordLength;
    return r;
}

QString PhoneBook::shownPassword(const QString& stored)
{
    for (QChar c : stored)
        if (c != QChar(0))
            return stored;
    return QString();
}

PhoneBook::~PhoneBook() { close(); }

void PhoneBook::open(const QString& databasePath)
{
    close();
    m_con.open(databasePath, Connection::ReadWrite);
    m_rs.open(m_con, tbl::Adressen);
    m_rs.moveFirst();
    m_clearPending = false;
    m_written = false;
}

void PhoneBook::close()
{
    if (m_rs.isOpen()) {
        m_rs.cancelBatch();
        m_rs.close();
    }
    m_con.close();
    m_clearPending = false;
}

PhoneBookEntry PhoneBook::stored() const
{
    PhoneBookEntry e;
    if (!m_rs.isOpen() || m_rs.bof() || m_rs.eof())
        return e;
    e.name = text(m_rs.value(QStringLiteral("Namen")));
    e.number = text(m_rs.value(QStringLiteral("Natel_Nummer")));
    e.password = shownPassword(text(m_rs.value(QStringLiteral("Passwort"))));
    e.isOperator = isOne(m_rs.value(QStringLiteral("Operator")));
    e.active = isOne(m_rs.value(QStringLiteral("Status")));
    return e;
}

PhoneBookEntry PhoneBook::current() const { return stored(); }

PhoneBook::Leave PhoneBook::check(const PhoneBookEntry& boxes) const
{
    PhoneBookEntry now = stored();
    // An empty name box keeps the stored name.
    PhoneBookEntry cmp = boxes;
    if (cmp.name.isEmpty())
        cmp.name = now.name;
    if (cmp == now)
        return m_clearPending ? Leave::Written : Leave::Unchanged;
    if (boxes.number.isEmpty() || boxes.password.isEmpty())
        return Leave::Incomplete;
    if (numberError(boxes.number) >= 0 || !checkPassword(boxes.password).ok() || boxes.number.size() > NumberLength
        || boxes.name.size() > NameLength)
        return Leave::Invalid;
    return Leave::Written;
}

PhoneBook::Leave PhoneBook::leave(const PhoneBookEntry& boxes)
{
    const Leave result = check(boxes);
    if (result != Leave::Written)
        return result;
    const int pos = position();
    if (!boxes.name.isEmpty())
        m_rs.setValue(QStringLiteral("Namen"), boxes.name);
    m_rs.setValue(QStringLiteral("Natel_Nummer"), boxes.number.isEmpty() ? QVariant() : QVariant(boxes.number));
    m_rs.setValue(QStringLiteral("Operator"), boxes.isOperator ? 1 : 0);
    m_rs.setValue(QStringLiteral("Status"), boxes.active ? 1 : 0);
    // An entry is written with a password only (see check()); an empty box never replaces
    // the stored marker of an unused user.
    if (!boxes.password.isEmpty())
        m_rs.setValue(QStringLiteral("Passwort"), boxes.password);
    const bool pending = m_rs.hasPendingChanges();
    m_rs.updateBatch();
    m_clearPending = false;
    if (pending)
        m_written = true;
    if (!boxes.active && onUserInactive)
        onUserInactive(pos - 1);
    return Leave::Written;
}

int PhoneBook::otherEntryWithNumber(const QString& number) const
{
    if (!m_rs.isOpen() || number.isEmpty())
        return 0;
    QSqlQuery q(m_con.db());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT Natel_Nummer FROM \"Adressen\" ORDER BY rowid")))
        return 0;
    const int here = position();
    for (int pos = 1; q.next(); ++pos)
        if (pos != here && !q.value(0).isNull() && q.value(0).toString() == number)
            return pos;
    return 0;
}

void PhoneBook::clearCurrent()
{
    if (!m_rs.isOpen() || m_rs.bof() || m_rs.eof())
        return;
    m_rs.setValue(QStringLiteral("Natel_Nummer"), QVariant());
    m_rs.setValue(QStringLiteral("Namen"), QVariant());
    m_rs.setValue(QStringLiteral("Passwort"), ClearedPassword);
    m_rs.setValue(QStringLiteral("Operator"), 0);
    m_rs.setValue(QStringLiteral("Status"), 0);
    m_clearPending = true;
}

bool PhoneBook::moveTo(int target)
{
    if (!m_rs.isOpen() || target < 1 || target > count() || target == position())
        return false;
    m_rs.setAbsolutePosition(target);
    m_clearPending = false;
    return true;
}

bool PhoneBook::moveFirst() { return moveTo(1); }
bool PhoneBook::movePrevious() { return position() > 1 && moveTo(position() - 1); }
bool PhoneBook::moveNext() { return position() < count() && moveTo(position() + 1); }
bool PhoneBook::moveLast() { return moveTo(count()); }
