#pragma once
// What the About box shows besides the language texts: the build version and the project's
// home-page and mail addresses.
#include <QString>
#include <QUrl>

namespace AboutInfo {
// "1.2.0" from the version set at build time.
QString versionText();
// caption + " " + version ("Version 1.2.0").
QString versionCaption(const QString& caption);
QUrl homepage();
QUrl mail();
// The logo object name of the language: 1 PicLogoD, 2 PicLogoE, 3 PicLogoI, 4 PicLogoF.
QString logoName(int language);
}
