#include "ui/AboutDialog.h"

#include "core/AboutInfo.h"
#include "core/ProgramContext.h"
#include "core/ShellTexts.h"
#include "core/Resources.h"
#include "core/TextTable.h"
#include "store/ConfigStore.h"
#include "ui/AdministratorLogin.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    smsv48InitResources();
    setModal(true);
    auto label = [this](const QString& name) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        return l;
    };
    lblTitle = label(QStringLiteral("lblTitle"));
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = label(QStringLiteral("lblVersion"));
    for (int i = 0; i < 5; ++i) {
        // One line each: the window grows to the longest notice line of the language.
        lblLizenz[i] = label(QStringLiteral("lblLizenz(%1)").arg(i));
    }
    lblInfos = label(QStringLiteral("lblInfos"));
    Label2 = label(QStringLiteral("Label2"));
    lblAdresseKestrin = label(QStringLiteral("lblAdresseKestrin"));
    lblHomepage = label(QStringLiteral("lblHomepage"));
    lblMail = label(QStringLiteral("lblMail"));
    for (QLabel* l : {lblHomepage, lblMail}) {
        l->setCursor(Qt::PointingHandCursor);
        l->setTextFormat(Qt::RichText);
        l->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        l->setOpenExternalLinks(false);
    }
    const char* logos[4] = {"PicLogoD", "PicLogoE", "PicLogoI", "PicLogoF"};
    auto* logoBox = new QVBoxLayout;
    for (int i = 0; i < 4; ++i) {
        PicLogo[i] = label(QString::fromLatin1(logos[i]));
        QPixmap pm(QStringLiteral(":/images/%1.png").arg(QString::fromLatin1(logos[i])));
        // 220 pixels wide on the screen, drawn from the full picture on high-density screens.
        const qreal dpr = devicePixelRatioF();
        QPixmap shown = pm.scaledToWidth(qMin(pm.width(), qRound(220 * dpr)), Qt::SmoothTransformation);
        shown.setDevicePixelRatio(dpr);
        PicLogo[i]->setPixmap(shown);
        PicLogo[i]->hide();
        PicLogo[i]->installEventFilter(this);
        PicLogo[i]->setCursor(Qt::PointingHandCursor);
        logoBox->addWidget(PicLogo[i]);
    }
    logoBox->addStretch(1);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    auto* Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    auto* f1 = new QVBoxLayout(Frame1);
    for (QLabel* l : lblLizenz)
        f1->addWidget(l);
    auto* Frame2 = new QFrame(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setFrameShape(QFrame::StyledPanel);
    auto* f2 = new QGridLayout(Frame2);
    f2->addWidget(lblAdresseKestrin, 0, 0, 1, 2);
    f2->addWidget(lblInfos, 1, 0);
    f2->addWidget(lblHomepage, 1, 1);
    f2->addWidget(Label2, 2, 0);
    f2->addWidget(lblMail, 2, 1);
    f2->setColumnStretch(1, 1);

    auto* text = new QVBoxLayout;
    text->addWidget(lblTitle);
    text->addWidget(lblVersion);
    text->addWidget(Frame1);
    text->addWidget(Frame2);
    auto* top = new QHBoxLayout;
    top->addLayout(logoBox);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(lblHomepage, &QLabel::linkActivated, this, [this] { lblHomepage_Click(); });
    connect(lblMail, &QLabel::linkActivated, this, [this] { lblMail_Click(); });
    startUp();
    setMinimumWidth(560);
}

void AboutDialog::startUp()
{
    const ProgramContext& st = gState();
    const TextTable cap(st.databasePath, tbl::Beschriftung, st.language);
    const QString logo = AboutInfo::logoName(st.language);
    for (QLabel* l : PicLogo)
        l->setVisible(l->objectName() == logo);
    lblVersion->setText(AboutInfo::versionCaption(cap.at(QStringLiteral("lblVersion"), 0, QStringLiteral("Version"))));
    const QString program = st.programName.isEmpty() ? QStringLiteral("SMS Switch Vantor") : st.programName;
    setWindowTitle(cap.at(QStringLiteral("frmAbout"), 0, QStringLiteral("Info")) + QLatin1Char(' ') + program);
    lblTitle->setText(program);
    for (int i = 0; i < 5; ++i) {
        lblLizenz[i]->setText(cap.at(QStringLiteral("lblLizenz"), i));
        lblLizenz[i]->setVisible(!lblLizenz[i]->text().isEmpty());
    }
    lblAdresseKestrin->setText(ShellTexts::text(QStringLiteral("lblAdresseKestrin")));
    lblInfos->setText(QStringLiteral("Internet:"));
    Label2->setText(QStringLiteral("E-Mail:"));
    const QUrl home = AboutInfo::homepage();
    const QUrl mail = AboutInfo::mail();
    lblHomepage->setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(home.toString(), home.toString().toHtmlEscaped()));
    lblMail->setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(mail.toString(), mail.path().toHtmlEscaped()));
}

void AboutDialog::lblHomepage_Click() { QDesktopServices::openUrl(AboutInfo::homepage()); }
void AboutDialog::lblMail_Click() { QDesktopServices::openUrl(AboutInfo::mail()); }

void AboutDialog::PicLogo_DblClick()
{
    AdministratorLogin login(this);
    login.exec();
}

bool AboutDialog::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::MouseButtonDblClick) {
        for (QLabel* l : PicLogo) {
            if (o == l) {
                PicLogo_DblClick();
                return true;
            }
        }
    }
    return QDialog::eventFilter(o, e);
}
