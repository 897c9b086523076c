#include "ui/HelpWindow.h"

#include "ui/Help.h"
#include "core/ProgramContext.h"
#include "core/Resources.h"
#include "store/ShellTexts.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(const ProgramContext& context, QWidget* parent) : QWidget(parent, Qt::Window), m_context(context)
{
    setObjectName(QStringLiteral("frmHelp"));
    smsv48InitResources();
    auto* top = new QHBoxLayout;
    m_contents = new QToolButton(this);
    m_back = new QToolButton(this);
    m_forward = new QToolButton(this);
    m_contents->setObjectName(QStringLiteral("cmdHelpContents"));
    m_back->setObjectName(QStringLiteral("cmdHelpBack"));
    m_forward->setObjectName(QStringLiteral("cmdHelpForward"));
    m_contents->setIcon(QIcon(QStringLiteral(":/icons/help.svg")));
    m_back->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    m_forward->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    for (QToolButton* b : {m_contents, m_back, m_forward})
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("txtHelpSearch"));
    m_search->setClearButtonEnabled(true);
    auto* searchLabel = new QLabel(this);
    searchLabel->setObjectName(QStringLiteral("lblHelpSearch"));
    searchLabel->setBuddy(m_search);
    top->addWidget(m_contents);
    top->addWidget(m_back);
    top->addWidget(m_forward);
    top->addStretch(1);
    top->addWidget(searchLabel);
    top->addWidget(m_search, 1);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtHelp"));
    m_browser->setOpenLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_browser, 1);

    connect(m_contents, &QToolButton::clicked, this, &HelpWindow::showContents);
    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QToolButton::setEnabled);
    connect(m_search, &QLineEdit::returnPressed, this, &HelpWindow::findNext);
    // Pages of the help stay here; web and mail addresses go to the default browser / mailer.
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        const QString scheme = url.scheme();
        if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto"))
            QDesktopServices::openUrl(url);
        else
            m_browser->setSource(m_browser->source().resolved(url));
    });
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    retranslate();
    searchLabel->setText(ShellTexts::text(m_context, QStringLiteral("gsHilfeSuchen")));
    QSize size(760, 600);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    resize(size);
}

void HelpWindow::retranslate()
{
    setWindowTitle(ShellTexts::text(m_context, QStringLiteral("gsHilfeFenster"))
                   + (m_context.programName.isEmpty() ? QString() : QStringLiteral(" - ") + m_context.programName));
    m_contents->setText(ShellTexts::text(m_context, QStringLiteral("gsHilfeInhalt")));
    m_back->setText(ShellTexts::text(m_context, QStringLiteral("gsHilfeZurueck")));
    m_forward->setText(ShellTexts::text(m_context, QStringLiteral("gsHilfeVor")));
}

void HelpWindow::openPage(const QString& path)
{
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        m_browser->setHtml(QStringLiteral("<p>%1</p>")
                               .arg(ShellTexts::text(m_context, QStringLiteral("gsHilfeFehlt")).toHtmlEscaped()));
        return;
    }
    m_browser->setSource(QUrl::fromLocalFile(path));
}

void HelpWindow::showContents() { openPage(Help::pagePath(m_context, 0, m_context.language)); }

void HelpWindow::showIndex()
{
    showContents();
    m_browser->scrollToAnchor(QStringLiteral("index"));
}

void HelpWindow::focusSearch()
{
    m_search->setFocus();
    m_search->selectAll();
}

QString HelpWindow::currentPage() const { return m_browser->source().toLocalFile(); }

void HelpWindow::findNext()
{
    const QString text = m_search->text();
    if (text.isEmpty())
        return;
    if (!m_browser->find(text)) {
        QTextCursor c = m_browser->textCursor();
        c.movePosition(QTextCursor::Start);
        m_browser->setTextCursor(c);
        m_browser->find(text);
    }
}
