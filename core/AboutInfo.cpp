#include "core/AboutInfo.h"

#ifndef SMSV48_HOMEPAGE
#define SMSV48_HOMEPAGE "https://smsv48.example.org/"
#endif
#ifndef SMSV48_MAIL
#define SMSV48_MAIL "support@smsv48.example.org"
#endif

namespace AboutInfo {
QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(SMSV48_VERSION_MAJOR).arg(SMSV48_VERSION_MINOR).arg(SMSV48_VERSION_PATCH);
}

QString versionCaption(const QString& caption) { return caption + QLatin1Char(' ') + versionText(); }

QUrl homepage() { return QUrl(QStringLiteral(SMSV48_HOMEPAGE)); }
QUrl mail() { return QUrl(QStringLiteral("mailto:") + QStringLiteral(SMSV48_MAIL)); }

QString logoName(int language)
{
    switch (language) {
    case 1: return QStringLiteral("PicLogoD");
    case 2: return QStringLiteral("PicLogoE");
    case 3: return QStringLiteral("PicLogoI");
    case 4: return QStringLiteral("PicLogoF");
    default: return QString();
    }
}
}
