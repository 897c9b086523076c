#include "image/ProfileJson.h"

#include "image/Image.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {
QByteArray quote(const QString& s)
{
    QByteArray out = "\"";
    for (char32_t cp : s.toUcs4()) {
        switch (cp) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F))
                out += QStringLiteral("\\u%1").arg(uint(cp), 4, 16, QLatin1Char('0')).toLatin1();
            else
                out += QString::fromUcs4(&cp, 1).toUtf8();
        }
    }
    return out + "\"";
}

QByteArray nullable(const QString& s) { return s.isNull() ? QByteArray("null") : quote(s); }
QByteArray boolean(bool b) { return b ? "true" : "false"; }

QByteArray recipients(std::uint8_t mask)
{
    QByteArray out = "[";
    bool first = true;
    for (int k = 0; k < 8; ++k)
        if (mask & (1 << k)) {
            out += (first ? "" : ", ") + QByteArray::number(k + 1);
            first = false;
        }
    return out + "]";
}

struct Reader {
    QString error;
    bool failed(const QString& field, const QString& what)
    {
        if (error.isEmpty())
            error = field + QStringLiteral(": ") + what;
        return false;
    }
    bool keys(const QJsonObject& o, const QString& where, const QStringList& allowed)
    {
        for (const QString& k : allowed)
            if (!o.contains(k))
                return failed(where.isEmpty() ? k : where + '.' + k, QStringLiteral("missing"));
        for (auto it = o.begin(); it != o.end(); ++it)
            if (!allowed.contains(it.key()))
                return failed(where.isEmpty() ? it.key() : where + '.' + it.key(), QStringLiteral("unknown field"));
        return true;
    }
    bool boolean(const QJsonValue& v, const QString& field, bool* out)
    {
        if (!v.isBool())
            return failed(field, QStringLiteral("must be true or false"));
        *out = v.toBool();
        return true;
    }
    bool integer(const QJsonValue& v, const QString& field, int lo, int hi, int* out)
    {
        if (!v.isDouble() || v.toDouble() != double(qint64(v.toDouble())))
            return failed(field, QStringLiteral("must be a whole number"));
        const double x = v.toDouble();
        if (x < lo || x > hi)
            return failed(field, QStringLiteral("%1 is outside %2..%3").arg(qint64(x)).arg(lo).arg(hi));
        *out = int(x);
        return true;
    }
    bool text(const QJsonValue& v, const QString& field, int maxLen, bool allowNull, QString* out)
    {
        if (allowNull && v.isNull()) {
            *out = QString();
            return true;
        }
        if (!v.isString())
            return failed(field,
                          allowNull ? QStringLiteral("must be a string or null") : QStringLiteral("must be a string"));
        const QString s = v.toString();
        if (!Cp1252::representable(s))
            return failed(field, QStringLiteral("holds a character the unit cannot store (Windows-1252 only)"));
        if (s.toUcs4().size() > maxLen)
            return failed(field,
                          QStringLiteral("has %1 characters, at most %2 fit").arg(s.toUcs4().size()).arg(maxLen));
        *out = allowNull && s.isEmpty() ? QString() : (s.isNull() ? QStringLiteral("") : s);
        return true;
    }
    bool users(const QJsonValue& v, const QString& field, std::uint8_t* mask)
    {
        if (!v.isArray())
            return failed(field, QStringLiteral("must be a list of user numbers"));
        *mask = 0;
        const QJsonArray a = v.toArray();
        for (qsizetype i = 0; i < a.size(); ++i) {
            int n = 0;
            if (!integer(a[i], QStringLiteral("%1[%2]").arg(field).arg(i), 1, 8, &n))
                return false;
            *mask |= std::uint8_t(1u << (n - 1));
        }
        return true;
    }
    const QJsonArray* list(const QJsonObject& root, const QString& key, qsizetype n, QJsonArray* store)
    {
        const QJsonValue v = root.value(key);
        if (!v.isArray()) {
            failed(key, QStringLiteral("must be a list of %1 entries").arg(n));
            return nullptr;
        }
        *store = v.toArray();
        if (store->size() != n) {
            failed(key, QStringLiteral("has %1 entries instead of %2").arg(store->size()).arg(n));
            return nullptr;
        }
        for (qsizetype i = 0; i < n; ++i)
            if (!(*store)[i].isObject()) {
                failed(QStringLiteral("%1[%2]").arg(key).arg(i), QStringLiteral("must be an object"));
                return nullptr;
            }
        return store;
    }
};
} // namespace

namespace ProfileJson {
QByteArray toJson(const ProfileData& d)
{
    QByteArray o;
    o += "{\n  \"format\": \"smsv48-profile\",\n  \"version\": 1,\n  \"inputs\": [\n";
    for (int i = 0; i < 16; ++i) {
        const auto& e = d.inputs[i];
        o += "    {\"recipients\": " + recipients(e.recipients) + ", \"alarm\": " + boolean(e.alarm)
            + ", \"text\": " + quote(e.text) + "}" + (i < 15 ? ",\n" : "\n");
    }
    o += "  ],\n  \"outputs\": [\n";
    for (int i = 0; i < 8; ++i) {
        const auto& e = d.outputs[i];
        o += "    {\"recipients\": " + recipients(e.recipients) + ", \"defaultState\": " + boolean(e.defaultState)
            + ", \"text\": " + quote(e.text) + "}" + (i < 7 ? ",\n" : "\n");
    }
    o += "  ],\n  \"alarmInput\": {\"recipients\": " + recipients(d.alarmInput.recipients)
        + ", \"delay\": " + QByteArray::number(d.alarmInput.delay) + ", \"text\": " + quote(d.alarmInput.text) + "},\n";
    o += "  \"powerOn\": {\"recipients\": " + recipients(d.powerOn.recipients) + ", \"text\": " + quote(d.powerOn.text)
        + "},\n  \"users\": [\n";
    for (int i = 0; i < 8; ++i) {
        const auto& u = d.users[i];
        o += "    {\"name\": " + nullable(u.name) + ", \"number\": " + nullable(u.number)
            + ", \"password\": " + quote(u.password) + ", \"operator\": " + boolean(u.op)
            + ", \"active\": " + boolean(u.active) + "}" + (i < 7 ? ",\n" : "\n");
    }
    o += "  ]\n}\n";
    return o;
}

bool fromJson(const QByteArray& json, ProfileData& out, QString* error)
{
    Reader r;
    auto done = [&](bool ok) {
        if (!ok && error)
            *error = r.error;
        return ok;
    };
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &pe);
    if (pe.error != QJsonParseError::NoError) {
        r.error = QStringLiteral("not JSON: %1 at offset %2").arg(pe.errorString()).arg(pe.offset);
        return done(false);
    }
    if (!doc.isObject()) {
        r.error = QStringLiteral("not a profile: the document is not a JSON object");
        return done(false);
    }
    const QJsonObject root = doc.object();
    if (root.value("format") != QJsonValue(QStringLiteral("smsv48-profile")))
        return done(r.failed(QStringLiteral("format"), QStringLiteral("must be \"smsv48-profile\"")));
    if (!root.value("version").isDouble() || root.value("version").toDouble() != 1.0)
        return done(r.failed(QStringLiteral("version"), QStringLiteral("must be 1")));
    if (!r.keys(root, QString(), {"format", "version", "inputs", "outputs", "alarmInput", "powerOn", "users"}))
        return done(false);

    ProfileData d;
    QJsonArray a;
    if (!r.list(root, QStringLiteral("inputs"), 16, &a))
        return done(false);
    for (int i = 0; i < 16; ++i) {
        const QString f = QStringLiteral("inputs[%1]").arg(i);
        const QJsonObject o = a[i].toObject();
        if (!r.keys(o, f, {"recipients", "alarm", "text"})
            || !r.users(o["recipients"], f + ".recipients", &d.inputs[i].recipients)
            || !r.boolean(o["alarm"], f + ".alarm", &d.inputs[i].alarm)
            || !r.text(o["text"], f + ".text", 64, false, &d.inputs[i].text))
            return done(false);
    }
    if (!r.list(root, QStringLiteral("outputs"), 8, &a))
        return done(false);
    for (int i = 0; i < 8; ++i) {
        const QString f = QStringLiteral("outputs[%1]").arg(i);
        const QJsonObject o = a[i].toObject();
        if (!r.keys(o, f, {"recipients", "defaultState", "text"})
            || !r.users(o["recipients"], f + ".recipients", &d.outputs[i].recipients)
            || !r.boolean(o["defaultState"], f + ".defaultState", &d.outputs[i].defaultState)
            || !r.text(o["text"], f + ".text", 64, false, &d.outputs[i].text))
            return done(false);
    }
    if (!root.value("alarmInput").isObject())
        return done(r.failed(QStringLiteral("alarmInput"), QStringLiteral("must be an object")));
    {
        const QJsonObject o = root.value("alarmInput").toObject();
        if (!r.keys(o, QStringLiteral("alarmInput"), {"recipients", "delay", "text"})
            || !r.users(o["recipients"], QStringLiteral("alarmInput.recipients"), &d.alarmInput.recipients)
            || !r.integer(o["delay"], QStringLiteral("alarmInput.delay"), 0, 255, &d.alarmInput.delay)
            || !r.text(o["text"], QStringLiteral("alarmInput.text"), 64, false, &d.alarmInput.text))
            return done(false);
    }
    if (!root.value("powerOn").isObject())
        return done(r.failed(QStringLiteral("powerOn"), QStringLiteral("must be an object")));
    {
        const QJsonObject o = root.value("powerOn").toObject();
        if (!r.keys(o, QStringLiteral("powerOn"), {"recipients", "text"})
            || !r.users(o["recipients"], QStringLiteral("powerOn.recipients"), &d.powerOn.recipients)
            || !r.text(o["text"], QStringLiteral("powerOn.text"), 64, false, &d.powerOn.text))
            return done(false);
    }
    if (!r.list(root, QStringLiteral("users"), 8, &a))
        return done(false);
    for (int i = 0; i < 8; ++i) {
        const QString f = QStringLiteral("users[%1]").arg(i);
        const QJsonObject o = a[i].toObject();
        ProfileData::User& u = d.users[i];
        if (!r.keys(o, f, {"name", "number", "password", "operator", "active"})
            || !r.text(o["name"], f + ".name", 64, true, &u.name)
            || !r.text(o["number"], f + ".number", 16, true, &u.number)
            || !r.text(o["password"], f + ".password", 4, false, &u.password)
            || !r.boolean(o["operator"], f + ".operator", &u.op) || !r.boolean(o["active"], f + ".active", &u.active))
            return done(false);
        if (!u.password.isEmpty() && u.password.toUcs4().size() != 4)
            return done(r.failed(f + ".password", QStringLiteral("must be empty or exactly 4 characters")));
    }
    out = d;
    return done(true);
}
}
