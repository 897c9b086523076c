#include "image/ProfileDiff.h"

#include "core/ProgramContext.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QRegularExpression>

namespace ProfileDiff {
namespace {
    QList<int> users(std::uint8_t mask)
    {
        QList<int> out;
        for (int k = 0; k < 8; ++k)
            if (mask & (1u << k))
                out << k + 1;
        return out;
    }

    QString listText(std::uint8_t mask)
    {
        QStringList parts;
        for (int u : users(mask))
            parts << QString::number(u);
        return QLatin1Char('[') + parts.join(QStringLiteral(", ")) + QLatin1Char(']');
    }

    QString stringText(const QString& s)
    {
        if (s.isNull())
            return QStringLiteral("null");
        // A JSON string, escapes and all.
        const QByteArray doc = QJsonDocument(QJsonArray {s}).toJson(QJsonDocument::Compact);
        return QString::fromUtf8(doc.mid(1, doc.size() - 2));
    }

    QString boolText(bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); }

    // No password and four NUL characters (what a profile file holds for it) are the same.
    QString passwordOf(const ProfileData::User& u)
    {
        return u.password == QString(4, QChar(0)) ? QString() : u.password;
    }

    struct Collector {
        QList<Change> changes;
        void recipients(const QString& field, std::uint8_t a, std::uint8_t b)
        {
            if (a == b)
                return;
            Change c {field, listText(a), listText(b), users(b & ~a), users(a & ~b)};
            changes << c;
        }
        void text(const QString& field, const QString& a, const QString& b)
        {
            // A missing and an empty text are the same to the unit (a file cannot tell them apart).
            if (a == b)
                return;
            changes << Change {field, stringText(a), stringText(b), {}, {}};
        }
        void flag(const QString& field, bool a, bool b)
        {
            if (a != b)
                changes << Change {field, boolText(a), boolText(b), {}, {}};
        }
        void number(const QString& field, int a, int b)
        {
            if (a != b)
                changes << Change {field, QString::number(a), QString::number(b), {}, {}};
        }
    };
} // namespace

QList<Change> compare(const ProfileData& a, const ProfileData& b)
{
    Collector c;
    for (int i = 0; i < 16; ++i) {
        const QString f = QStringLiteral("inputs[%1].").arg(i);
        c.recipients(f + QStringLiteral("recipients"), a.inputs[i].recipients, b.inputs[i].recipients);
        c.flag(f + QStringLiteral("alarm"), a.inputs[i].alarm, b.inputs[i].alarm);
        c.text(f + QStringLiteral("text"), a.inputs[i].text, b.inputs[i].text);
    }
    for (int i = 0; i < 8; ++i) {
        const QString f = QStringLiteral("outputs[%1].").arg(i);
        c.recipients(f + QStringLiteral("recipients"), a.outputs[i].recipients, b.outputs[i].recipients);
        c.flag(f + QStringLiteral("defaultState"), a.outputs[i].defaultState, b.outputs[i].defaultState);
        c.text(f + QStringLiteral("text"), a.outputs[i].text, b.outputs[i].text);
    }
    c.recipients(QStringLiteral("alarmInput.recipients"), a.alarmInput.recipients, b.alarmInput.recipients);
    c.number(QStringLiteral("alarmInput.delay"), a.alarmInput.delay, b.alarmInput.delay);
    c.text(QStringLiteral("alarmInput.text"), a.alarmInput.text, b.alarmInput.text);
    c.recipients(QStringLiteral("powerOn.recipients"), a.powerOn.recipients, b.powerOn.recipients);
    c.text(QStringLiteral("powerOn.text"), a.powerOn.text, b.powerOn.text);
    for (int i = 0; i < 8; ++i) {
        const QString f = QStringLiteral("users[%1].").arg(i);
        c.text(f + QStringLiteral("name"), a.users[i].name, b.users[i].name);
        c.text(f + QStringLiteral("number"), a.users[i].number, b.users[i].number);
        // Passwords are named, never shown: a diff goes into mails and support tickets.
        if (passwordOf(a.users[i]) != passwordOf(b.users[i])) {
            const auto shown
                = [](const QString& p) { return p.isEmpty() ? QStringLiteral("\"\"") : QStringLiteral("\"****\""); };
            c.changes << Change {
                f + QStringLiteral("password"), shown(passwordOf(a.users[i])), shown(passwordOf(b.users[i])), {}, {}};
        }
        c.flag(f + QStringLiteral("operator"), a.users[i].op, b.users[i].op);
        c.flag(f + QStringLiteral("active"), a.users[i].active, b.users[i].active);
    }
    return c.changes;
}

QString line(const Change& c)
{
    if (!c.added.isEmpty() || !c.removed.isEmpty()) {
        QStringList parts;
        for (int u : c.added)
            parts << QStringLiteral("+%1").arg(u);
        for (int u : c.removed)
            parts << QStringLiteral("-%1").arg(u);
        return c.field + QStringLiteral(": ") + parts.join(QLatin1Char(' '));
    }
    return QStringLiteral("%1: %2 -> %3").arg(c.field, c.before, c.after);
}

QJsonArray toJson(const QList<Change>& changes)
{
    QJsonArray out;
    for (const Change& c : changes) {
        const auto value = [](const QString& text) {
            const QJsonDocument d = QJsonDocument::fromJson(QByteArray("[") + text.toUtf8() + ']');
            return d.array().at(0);
        };
        out.append(QJsonObject {{QStringLiteral("field"), c.field},
                                {QStringLiteral("before"), value(c.before)},
                                {QStringLiteral("after"), value(c.after)}});
    }
    return out;
}

QString fieldLabel(const QString& field, const ProgramContext& context)
{
    static const QRegularExpression form(QStringLiteral("^(\\w+)(?:\\[(\\d+)\\])?\\.(\\w+)$"));
    const QRegularExpressionMatch m = form.match(field);
    if (!m.hasMatch())
        return field;
    const QString part = m.captured(1);
    const int index = m.captured(2).toInt();
    QString owner;
    if (part == QLatin1String("inputs"))
        owner = (index % 2 == 0
                     ? context.msgOr(QStringLiteral("gsVglEingangSF"), QStringLiteral("Eingang %1, steigende Flanke"))
                     : context.msgOr(QStringLiteral("gsVglEingangFF"), QStringLiteral("Eingang %1, fallende Flanke")))
                    .arg(index / 2 + 1);
    else if (part == QLatin1String("outputs"))
        owner = (index % 2 == 0 ? context.msgOr(QStringLiteral("gsVglAusgangEin"), QStringLiteral("Ausgang %1 ein"))
                                : context.msgOr(QStringLiteral("gsVglAusgangAus"), QStringLiteral("Ausgang %1 aus")))
                    .arg(index / 2 + 1);
    else if (part == QLatin1String("alarmInput"))
        owner = context.msgOr(QStringLiteral("gsVglAlarmeingang"), QStringLiteral("Alarmeingang"));
    else if (part == QLatin1String("powerOn"))
        owner = context.msgOr(QStringLiteral("gsVglEinschalten"), QStringLiteral("Einschaltmeldung"));
    else if (part == QLatin1String("users"))
        owner = context.msgOr(QStringLiteral("gsVglBenutzer"), QStringLiteral("Benutzer %1")).arg(index + 1);
    else
        return field;
    static const QHash<QString, QPair<const char*, const char*>> attributes {
        {QStringLiteral("recipients"), {"gsVglEmpfaenger", "Empfänger"}},
        {QStringLiteral("alarm"), {"gsVglAlarm", "löst Alarmeingang aus"}},
        {QStringLiteral("text"), {"gsVglText", "SMS-Text"}},
        {QStringLiteral("defaultState"), {"gsVglGrundzustand", "Grundzustand"}},
        {QStringLiteral("delay"), {"gsVglVerzoegerung", "Verzögerung"}},
        {QStringLiteral("name"), {"gsVglName", "Name"}},
        {QStringLiteral("number"), {"gsVglNummer", "Natel-Nummer"}},
        {QStringLiteral("password"), {"gsVglPasswort", "Passwort"}},
        {QStringLiteral("operator"), {"gsVglOperator", "Operator"}},
        {QStringLiteral("active"), {"gsVglAktiv", "Aktiv"}},
    };
    const auto a = attributes.constFind(m.captured(3));
    const QString attribute
        = a == attributes.cend() ? m.captured(3) : context.msgOr(QLatin1String(a->first), QString::fromUtf8(a->second));
    return owner + QStringLiteral(": ") + attribute;
}

QString valueLabel(const QString& value, const ProgramContext& context)
{
    if (value == QLatin1String("true"))
        return context.msgOr(QStringLiteral("gsVglJa"), QStringLiteral("ja"));
    if (value == QLatin1String("false"))
        return context.msgOr(QStringLiteral("gsVglNein"), QStringLiteral("nein"));
    if (value == QLatin1String("null") || value == QLatin1String("[]"))
        return context.msgOr(QStringLiteral("gsVglKeine"), QStringLiteral("(keine)"));
    if (value.startsWith(QLatin1Char('[')))
        return value.mid(1, value.size() - 2);
    if (value.startsWith(QLatin1Char('"'))) {
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray("[") + value.toUtf8() + "]");
        return doc.isArray() ? doc.array().at(0).toString() : value;
    }
    return value;
}
} // namespace ProfileDiff
