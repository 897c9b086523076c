#include "core/ProgramContext.h"

#include "core/Settings.h"

#include <QDir>

ProgramContext& gState()
{
    static ProgramContext s;
    return s;
}

QString ProgramContext::msg(const QString& key) const
{
    const auto it = messages.constFind(key);
    return it == messages.constEnd() ? key : it.value();
}

QString ProgramContext::msgOr(const QString& key, const QString& germanFallback) const
{
    const auto it = messages.constFind(key);
    return it == messages.constEnd() || it.value().isEmpty() ? germanFallback : it.value();
}

QString ProgramContext::profileFolder() const { return QDir(dataRoot).filePath(QStringLiteral("UserProfile")); }
QString ProgramContext::defaultProfilePath() const
{
    return QDir(dataRoot).filePath(QStringLiteral("UserProfile/SMSV48_Default.cfg"));
}
QString ProgramContext::transferFilePath() const
{
    return QDir(dataRoot).filePath(QStringLiteral("Download/Config/Default.hex"));
}
QString ProgramContext::firmwareFolder() const { return QDir(dataRoot).filePath(QStringLiteral("Download/Firmware")); }
QString ProgramContext::helpFolder() const { return QDir(dataRoot).filePath(QStringLiteral("help")); }

void ProgramContext::setLanguage(const QString& stored)
{
    bool ok = false;
    const int v = stored.trimmed().toInt(&ok);
    language = (ok && v >= 1 && v <= 4) ? v : 1;
}

int ProgramContext::languageOfLocale(const QLocale& locale)
{
    switch (locale.language()) {
    case QLocale::English: return 2;
    case QLocale::Italian: return 3;
    case QLocale::French: return 4;
    default: return 1;
    }
}

int ProgramContext::startLanguage()
{
    const QString section = QStringLiteral("Einstellungen"), key = QStringLiteral("Sprache");
    if (Settings::contains(section, key)) {
        ProgramContext stored;
        stored.setLanguage(Settings::get(section, key));
        return stored.language;
    }
    return languageOfLocale(QLocale::system());
}

void ProgramContext::reset() { *this = ProgramContext(); }

QLocale ProgramContext::locale() const { return localeFor(language); }

QLocale ProgramContext::localeFor(int language)
{
    switch (language) {
    case 2: return QLocale(QLocale::English, QLocale::UnitedKingdom);
    case 3: return QLocale(QLocale::Italian, QLocale::Italy);
    case 4: return QLocale(QLocale::French, QLocale::France);
    default: return QLocale(QLocale::German, QLocale::Germany);
    }
}
