#include "ui/AboutDialog.h"

#include "core/AboutInfo.h"
#include "core/ProgramContext.h"
#include "store/ShellTexts.h"
#include "core/Resources.h"
#include "store/TextTable.h"
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

AboutDialog::AboutDialog(const ProgramContext& context, QWidget* parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmAbout"));
    smsv48InitResources();
    setModal(true);
    auto label = [this](const QString& name) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        return l;
    };
    titleLabel = label(QStringLiteral("lblTitle"));
    QFont big = titleLabel->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    titleLabel->setFont(big);
    versionLabel = label(QStringLiteral("lblVersion"));
    for (int i = 0; i < 5; ++i) {
        // One line each: the window grows to the longest notice line of the language.
        licenceLabel[i] = label(QStringLiteral("lblLizenz(%1)").arg(i));
    }
    infoLabel = label(QStringLiteral("lblInfos"));
    mailCaption = label(QStringLiteral("Label2"));
    addressLabel = label(QStringLiteral("lblAdresseKestrin"));
    homepageLabel = label(QStringLiteral("lblHomepage"));
    mailLabel = label(QStringLiteral("lblMail"));
    for (QLabel* l : {homepageLabel, mailLabel}) {
        l->setCursor(Qt::PointingHandCursor);
        l->setTextFormat(Qt::RichText);
        l->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        l->setOpenExternalLinks(false);
    }
    const char* logoNames[4] = {"PicLogoD", "PicLogoE", "PicLogoI", "PicLogoF"};
    auto* logoBox = new QVBoxLayout;
    for (int i = 0; i < 4; ++i) {
        logos[i] = label(QString::fromLatin1(logoNames[i]));
        QPixmap pm(QStringLiteral(":/images/%1.png").arg(QString::fromLatin1(logoNames[i])));
        // 220 pixels wide on the screen, drawn from the full picture on high-density screens.
        const qreal dpr = devicePixelRatioF();
        QPixmap shown = pm.scaledToWidth(qMin(pm.width(), qRound(220 * dpr)), Qt::SmoothTransformation);
        shown.setDevicePixelRatio(dpr);
        logos[i]->setPixmap(shown);
        logos[i]->hide();
        logos[i]->installEventFilter(this);
        logos[i]->setCursor(Qt::PointingHandCursor);
        logoBox->addWidget(logos[i]);
    }
    logoBox->addStretch(1);
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("cmdOK"));
    okButton->setDefault(true);

    auto* Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    auto* f1 = new QVBoxLayout(Frame1);
    for (QLabel* l : licenceLabel)
        f1->addWidget(l);
    auto* Frame2 = new QFrame(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setFrameShape(QFrame::StyledPanel);
    auto* f2 = new QGridLayout(Frame2);
    f2->addWidget(addressLabel, 0, 0, 1, 2);
    f2->addWidget(infoLabel, 1, 0);
    f2->addWidget(homepageLabel, 1, 1);
    f2->addWidget(mailCaption, 2, 0);
    f2->addWidget(mailLabel, 2, 1);
    f2->setColumnStretch(1, 1);

    auto* text = new QVBoxLayout;
    text->addWidget(titleLabel);
    text->addWidget(versionLabel);
    text->addWidget(Frame1);
    text->addWidget(Frame2);
    auto* top = new QHBoxLayout;
    top->addLayout(logoBox);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(homepageLabel, &QLabel::linkActivated, this, [this] { openHomepage(); });
    connect(mailLabel, &QLabel::linkActivated, this, [this] { writeMail(); });
    startUp();
    setMinimumWidth(560);
}

void AboutDialog::startUp()
{
    const ProgramContext& st = m_context;
    const TextTable cap(st, st.databasePath, tbl::Beschriftung, st.language);
    const QString logo = AboutInfo::logoName(st.language);
    for (QLabel* l : logos)
        l->setVisible(l->objectName() == logo);
    versionLabel->setText(
        AboutInfo::versionCaption(cap.at(QStringLiteral("lblVersion"), 0, QStringLiteral("Version"))));
    const QString program = st.programName.isEmpty() ? QStringLiteral("SMS Switch Vantor") : st.programName;
    setWindowTitle(cap.at(QStringLiteral("frmAbout"), 0, QStringLiteral("Info")) + QLatin1Char(' ') + program);
    titleLabel->setText(program);
    for (int i = 0; i < 5; ++i) {
        licenceLabel[i]->setText(cap.at(QStringLiteral("lblLizenz"), i));
        licenceLabel[i]->setVisible(!licenceLabel[i]->text().isEmpty());
    }
    addressLabel->setText(ShellTexts::text(m_context, QStringLiteral("lblAdresseKestrin")));
    infoLabel->setText(QStringLiteral("Internet:"));
    mailCaption->setText(QStringLiteral("E-Mail:"));
    const QUrl home = AboutInfo::homepage();
    const QUrl mail = AboutInfo::mail();
    homepageLabel->setText(
        QStringLiteral("<a href=\"%1\">%2</a>").arg(home.toString(), home.toString().toHtmlEscaped()));
    mailLabel->setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(mail.toString(), mail.path().toHtmlEscaped()));
}

void AboutDialog::openHomepage() { QDesktopServices::openUrl(AboutInfo::homepage()); }
void AboutDialog::writeMail() { QDesktopServices::openUrl(AboutInfo::mail()); }

void AboutDialog::openAdministratorLogin()
{
    AdministratorLogin login(m_context, this);
    connect(&login, &AdministratorLogin::accessLevelChosen, this, &AboutDialog::accessLevelChosen);
    login.exec();
}

bool AboutDialog::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::MouseButtonDblClick) {
        for (QLabel* l : logos) {
            if (o == l) {
                openAdministratorLogin();
                return true;
            }
        }
    }
    return QDialog::eventFilter(o, e);
}
