#include "ui/SplashWindow.h"

#include "core/ProgramContext.h"
#include "core/Progress.h"
#include "store/Recordset.h"

#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {
QPointer<QProgressBar> g_bar;
void onProgress(int v)
{
    if (g_bar)
        g_bar->setValue(v);
}
}

QString languageLogo(int language)
{
    static const char* names[4] = {"PicLogoD", "PicLogoE", "PicLogoI", "PicLogoF"};
    if (language < 1 || language > 4)
        return QString();
    return QStringLiteral(":/images/%1.png").arg(QString::fromLatin1(names[language - 1]));
}

SplashWindow::SplashWindow(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmLoading"));
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(18, 18, 18, 14);
    static const char* names[4] = {"PicLogoD", "PicLogoE", "PicLogoI", "PicLogoF"};
    const int lang = gState().language;
    for (int i = 0; i < 4; ++i) {
        PicLogo[i] = new QLabel(this);
        PicLogo[i]->setObjectName(QString::fromLatin1(names[i]));
        PicLogo[i]->setPixmap(QPixmap(languageLogo(i + 1)));
        PicLogo[i]->setAlignment(Qt::AlignCenter);
        PicLogo[i]->setVisible(lang == i + 1);
        lay->addWidget(PicLogo[i]);
    }
    lblSoftware = new QLabel(this);
    lblSoftware->setObjectName(QStringLiteral("lblSoftware"));
    lblSoftware->setAlignment(Qt::AlignCenter);
    QFont f = lblSoftware->font();
    f.setPointSizeF(f.pointSizeF() * 1.4);
    f.setBold(true);
    lblSoftware->setFont(f);
    lay->addWidget(lblSoftware);
    lblCopyright = new QLabel(QStringLiteral("Freie Software, entwickelt von ihren Mitwirkenden"), this);
    lblCopyright->setObjectName(QStringLiteral("lblCopyright"));
    lblCopyright->setAlignment(Qt::AlignCenter);
    lay->addWidget(lblCopyright);
    VBUProgressLoading = new QProgressBar(this);
    VBUProgressLoading->setObjectName(QStringLiteral("VBUProgressLoading"));
    VBUProgressLoading->setRange(0, LoadingProgress::Maximum);
    VBUProgressLoading->setValue(0);
    VBUProgressLoading->setTextVisible(false);
    lay->addWidget(VBUProgressLoading);
    g_bar = VBUProgressLoading;
    LoadingProgress::setListener(&onProgress);

    // The program title of the chosen language.
    QString title = QStringLiteral("SMS Switch Vantor");
    try {
        Connection con;
        con.open(gState().databasePath, Connection::Read);
        // Only the two rows are read, not the whole caption table.
        Recordset rs;
        rs.open(
            con,
            QStringLiteral("SELECT * FROM Beschriftung WHERE Name IN ('lblSoftware', 'lblCopyright') ORDER BY rowid"));
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            QString t = rs.value(gState().language).toString();
            if (t.isEmpty())
                t = rs.value(1).toString();
            if (rs.value(0).toString() == QLatin1String("lblSoftware"))
                title = t;
            else if (!t.isEmpty())
                lblCopyright->setText(t);
        }
    } catch (const StoreError&) {
        // the database has been checked before; a missing caption keeps the default title
    }
    lblSoftware->setText(title);
    setMinimumWidth(420);
}

SplashWindow::~SplashWindow()
{
    if (g_bar == VBUProgressLoading)
        LoadingProgress::setListener(nullptr);
}
