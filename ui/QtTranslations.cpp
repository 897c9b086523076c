#include "ui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace QtTranslations {
bool install(int language)
{
    static QTranslator* installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    static const QLocale::Language languages[] = {QLocale::German, QLocale::English, QLocale::Italian, QLocale::French};
    if (language < 1 || language > 4 || languages[language - 1] == QLocale::English)
        return language == 2;
    auto* translator = new QTranslator;
    // qt_xx.qm gathers qtbase and the other modules the system has translations for.
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(languages[language - 1]), QStringLiteral("qt"), QStringLiteral("_"), folder)
        && !translator->load(QLocale(languages[language - 1]), QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}
} // namespace QtTranslations
