#include "core/Settings.h"

#include <QSettings>
#include <memory>

namespace {
QString g_folder;
bool g_envRead = false;

std::unique_ptr<QSettings> open()
{
    if (!g_envRead) {
        g_envRead = true;
        const QByteArray env = qgetenv("SMSV48_SETTINGS_DIR");
        if (!env.isEmpty() && g_folder.isEmpty())
            g_folder = QString::fromLocal8Bit(env);
    }
    if (!g_folder.isEmpty())
        return std::make_unique<QSettings>(g_folder + QStringLiteral("/SMS_Switch_Vantor.ini"), QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("SMS_Switch_Vantor"),
                                       QStringLiteral("SMS_Switch_Vantor"));
}

QString path(const QString& section, const QString& key) { return section + '/' + key; }
} // namespace

namespace Settings {
QString get(const QString& section, const QString& key, const QString& defaultValue)
{
    return open()->value(path(section, key), defaultValue).toString();
}

void set(const QString& section, const QString& key, const QString& value)
{
    auto s = open();
    const QString k = path(section, key);
    // Rewriting the file costs a disk flush; skip it when nothing changes.
    if (s->contains(k) && s->value(k).toString() == value)
        return;
    s->setValue(k, value);
    s->sync();
}

bool contains(const QString& section, const QString& key) { return open()->contains(path(section, key)); }

void setFolder(const QString& folder)
{
    g_envRead = true;
    g_folder = folder;
}

QString fileName() { return open()->fileName(); }
}
