#include "ui/SplashWindow.h"

#include "core/ProgramContext.h"
#include "core/Progress.h"
#include "store/LanguageTables.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {
QPointer<QProgressBar> g_bar;
QElapsedTimer g_sincePainted;
// The bar repaints at once on each value it is given, as the start does not return to the event
// loop meanwhile; a value given less than a frame after the last one is not worth that paint.
void onProgress(int v)
{
    if (!g_bar)
        return;
    if (g_sincePainted.isValid() && g_sincePainted.elapsed() < 16 && v < LoadingProgress::Maximum)
        return;
    g_bar->setValue(v);
    g_sincePainted.start();
}
}

QString languageLogo(int language)
{
    static const char* names[4] = {"PicLogoD", "PicLogoE", "PicLogoI", "PicLogoF"};
    if (language < 1 || language > 4)
        return QString();
    return QStringLiteral(":/images/%1.png").arg(QString::fromLatin1(names[language - 1]));
}

SplashWindow::SplashWindow(const ProgramContext& context, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_context(context)
{
    setObjectName(QStringLiteral("frmLoading"));
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(18, 18, 18, 14);
    static const char* names[4] = {"PicLogoD", "PicLogoE", "PicLogoI", "PicLogoF"};
    const int lang = m_context.language;
    for (int i = 0; i < 4; ++i) {
        logos[i] = new QLabel(this);
        logos[i]->setObjectName(QString::fromLatin1(names[i]));
        // Only the logo shown is read and decoded; the other three stay hidden.
        if (lang == i + 1)
            logos[i]->setPixmap(QPixmap(languageLogo(i + 1)));
        logos[i]->setAlignment(Qt::AlignCenter);
        logos[i]->setVisible(lang == i + 1);
        lay->addWidget(logos[i]);
    }
    softwareLabel = new QLabel(this);
    softwareLabel->setObjectName(QStringLiteral("lblSoftware"));
    softwareLabel->setAlignment(Qt::AlignCenter);
    QFont f = softwareLabel->font();
    f.setPointSizeF(f.pointSizeF() * 1.4);
    f.setBold(true);
    softwareLabel->setFont(f);
    lay->addWidget(softwareLabel);
    copyrightLabel = new QLabel(QStringLiteral("Freie Software, entwickelt von ihren Mitwirkenden"), this);
    copyrightLabel->setObjectName(QStringLiteral("lblCopyright"));
    copyrightLabel->setAlignment(Qt::AlignCenter);
    lay->addWidget(copyrightLabel);
    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("VBUProgressLoading"));
    progressBar->setRange(0, LoadingProgress::Maximum);
    progressBar->setValue(0);
    progressBar->setTextVisible(false);
    lay->addWidget(progressBar);
    g_bar = progressBar;
    g_sincePainted.invalidate();
    LoadingProgress::setListener(&onProgress);

    // The program title of the chosen language.
    QString title = QStringLiteral("SMS Switch Vantor");
    try {
        // Only the two rows are read, not the whole caption table.
        const QHash<QString, QString> texts = LanguageTable::texts(
            m_context, QStringLiteral("Beschriftung"), {QStringLiteral("lblSoftware"), QStringLiteral("lblCopyright")});
        title = texts.value(QStringLiteral("lblSoftware"), title);
        const QString copyright = texts.value(QStringLiteral("lblCopyright"));
        if (!copyright.isEmpty())
            copyrightLabel->setText(copyright);
    } catch (const StoreError&) {
        // the database has been checked before; a missing caption keeps the default title
    }
    softwareLabel->setText(title);
    setMinimumWidth(420);
}

SplashWindow::~SplashWindow()
{
    if (g_bar == progressBar)
        LoadingProgress::setListener(nullptr);
}
