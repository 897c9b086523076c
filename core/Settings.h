#pragma once
// Per-user settings under the application name "SMS_Switch_Vantor", by section and key.
// The environment variable SMSV48_SETTINGS_DIR (or Settings::setFolder, used by the tests)
// points the store at another folder.
#include <QString>

namespace Settings {
QString get(const QString& section, const QString& key, const QString& defaultValue = QString());
void set(const QString& section, const QString& key, const QString& value);
bool contains(const QString& section, const QString& key);
void setFolder(const QString& folder); // empty: the platform's per-user place
QString fileName();
}
