#include "image/ProfileJson.h"

#include "core/ProgramContext.h"
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
    const ProgramContext& context;
    QString error;
    // What is wrong with a field, in the program's language.
    QString t(const char* key, const QString& german) const { return context.msgOr(QString::fromUtf8(key), german); }
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
                return failed(where.isEmpty() ? k : where + '.' + k, t("gsJsonFehlt", QStringLiteral("fehlt")));
        for (auto it = o.begin(); it != o.end(); ++it)
            if (!allowed.contains(it.key()))
                return failed(where.isEmpty() ? it.key() : where + '.' + it.key(),
                              t("gsJsonUnbekanntesFeld", QStringLiteral("unbekanntes Feld")));
        return true;
    }
    bool boolean(const QJsonValue& v, const QString& field, bool* out)
    {
        if (!v.isBool())
            return failed(field, t("gsJsonWahrheitswert", QStringLiteral("muss true oder false sein")));
        *out = v.toBool();
        return true;
    }
    bool integer(const QJsonValue& v, const QString& field, int lo, int hi, int* out)
    {
        if (!v.isDouble() || v.toDouble() != double(qint64(v.toDouble())))
            return failed(field, t("gsJsonGanzeZahl", QStringLiteral("muss eine ganze Zahl sein")));
        const double x = v.toDouble();
        if (x < lo || x > hi)
            return failed(
                field,
                t("gsJsonAusserhalb", QStringLiteral("%1 liegt ausserhalb von %2..%3")).arg(qint64(x)).arg(lo).arg(hi));
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
                          allowNull ? t("gsJsonTextOderNull", QStringLiteral("muss ein Text oder null sein"))
                                    : t("gsJsonText", QStringLiteral("muss ein Text sein")));
        const QString s = v.toString();
        if (!Cp1252::representable(s))
            return failed(
                field,
                t("gsJsonZeichen",
                  QStringLiteral("enthält ein Zeichen, das das Gerät nicht speichern kann (nur Windows-1252)")));
        if (s.toUcs4().size() > maxLen)
            return failed(field,
                          t("gsJsonZuLang", QStringLiteral("hat %1 Zeichen, höchstens %2 haben Platz"))
                              .arg(s.toUcs4().size())
                              .arg(maxLen));
        *out = allowNull && s.isEmpty() ? QString() : (s.isNull() ? QStringLiteral("") : s);
        return true;
    }
    bool users(const QJsonValue& v, const QString& field, std::uint8_t* mask)
    {
        if (!v.isArray())
            return failed(field, t("gsJsonBenutzerliste", QStringLiteral("muss eine Liste von Benutzernummern sein")));
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
            failed(key, t("gsJsonListe", QStringLiteral("muss eine Liste von %1 Einträgen sein")).arg(n));
            return nullptr;
        }
        *store = v.toArray();
        if (store->size() != n) {
            failed(key, t("gsJsonEinträge", QStringLiteral("hat %1 Einträge statt %2")).arg(store->size()).arg(n));
            return nullptr;
        }
        for (qsizetype i = 0; i < n; ++i)
            if (!(*store)[i].isObject()) {
                failed(QStringLiteral("%1[%2]").arg(key).arg(i),
                       t("gsJsonObjekt", QStringLiteral("muss ein Objekt sein")));
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
            + ", \"password\": " + quote(u.password.section(QChar(0), 0, 0)) + ", \"operator\": " + boolean(u.op)
            + ", \"active\": " + boolean(u.active) + "}" + (i < 7 ? ",\n" : "\n");
    }
    o += "  ]\n}\n";
    return o;
}

bool fromJson(const ProgramContext& context, const QByteArray& json, ProfileData& out, QString* error)
{
    Reader r {context, QString()};
    auto done = [&](bool ok) {
        if (!ok && error)
            *error = r.error;
        return ok;
    };
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &pe);
    if (pe.error != QJsonParseError::NoError) {
        r.error = r.t("gsJsonKeinJson", QStringLiteral("kein JSON: Fehler bei Byte %1")).arg(pe.offset);
        return done(false);
    }
    if (!doc.isObject()) {
        r.error = r.t("gsJsonKeinProfil", QStringLiteral("kein Profil: das Dokument ist kein JSON-Objekt"));
        return done(false);
    }
    const QJsonObject root = doc.object();
    if (root.value("format") != QJsonValue(QStringLiteral("smsv48-profile")))
        return done(
            r.failed(QStringLiteral("format"),
                     r.t("gsJsonMussSein", QStringLiteral("muss %1 sein")).arg(QStringLiteral("\"smsv48-profile\""))));
    if (!root.value("version").isDouble() || root.value("version").toDouble() != 1.0)
        return done(r.failed(QStringLiteral("version"), r.t("gsJsonMussSein", QStringLiteral("muss %1 sein")).arg(1)));
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
        return done(
            r.failed(QStringLiteral("alarmInput"), r.t("gsJsonObjekt", QStringLiteral("muss ein Objekt sein"))));
    {
        const QJsonObject o = root.value("alarmInput").toObject();
        if (!r.keys(o, QStringLiteral("alarmInput"), {"recipients", "delay", "text"})
            || !r.users(o["recipients"], QStringLiteral("alarmInput.recipients"), &d.alarmInput.recipients)
            || !r.integer(o["delay"], QStringLiteral("alarmInput.delay"), 0, 255, &d.alarmInput.delay)
            || !r.text(o["text"], QStringLiteral("alarmInput.text"), 64, false, &d.alarmInput.text))
            return done(false);
    }
    if (!root.value("powerOn").isObject())
        return done(r.failed(QStringLiteral("powerOn"), r.t("gsJsonObjekt", QStringLiteral("muss ein Objekt sein"))));
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
            return done(r.failed(f + ".password",
                                 r.t("gsJsonPasswort", QStringLiteral("muss leer sein oder genau 4 Zeichen haben"))));
    }
    out = d;
    return done(true);
}
}
