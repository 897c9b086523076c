#include "ui/TransferDialog.h"

#include "core/ProgramContext.h"
#include "ui/Dialogs.h"
#include "store/LanguageTables.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TransferDialog::TransferDialog(const ProgramContext& context, QWidget* parent, LinkSink* forward)
    : QDialog(parent), m_context(context), m_forward(forward)
{
    setObjectName(QStringLiteral("frmDownload"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* outer = new QVBoxLayout(this);
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameShape(QFrame::StyledPanel);
    auto* lay = new QVBoxLayout(frame);
    messageLabel = new QLabel(frame);
    messageLabel->setObjectName(QStringLiteral("lblMessage"));
    messageLabel->setWordWrap(true);
    messageLabel->setMinimumWidth(360);
    progressBar = new QProgressBar(frame);
    progressBar->setObjectName(QStringLiteral("VBUProgressDownloadHexFile"));
    progressBar->setRange(0, 64);
    progressBar->setValue(0);
    lay->addWidget(messageLabel);
    lay->addWidget(progressBar);
    outer->addWidget(frame);
    cancelButton = new QPushButton(this);
    cancelButton->setObjectName(QStringLiteral("cmdAbbrechen"));
    const QString cancelText = caption(QStringLiteral("cmdAbbrechen"));
    cancelButton->setText(cancelText == QLatin1String("cmdAbbrechen") ? QStringLiteral("&Abbrechen") : cancelText);
    outer->addWidget(cancelButton, 0, Qt::AlignRight);
    connect(cancelButton, &QPushButton::clicked, this, &TransferDialog::cancel);
    setLayout(outer);
}

QString TransferDialog::caption(const QString& key) const
{
    return languageText(m_context, QStringLiteral("Beschriftung"), key);
}

QString TransferDialog::languageText(const ProgramContext& context, const QString& table, const QString& key)
{
    try {
        const QString text = LanguageTable::texts(context, table, {key}).value(key);
        if (!text.isEmpty())
            return text;
    } catch (const StoreError&) {
    }
    return key;
}

void TransferDialog::setCaptionKey(const QString& key) { setWindowTitle(caption(key)); }

void TransferDialog::cancel()
{
    if (cancelToken)
        cancelToken->cancel();
}

void TransferDialog::reject()
{
    if (m_done)
        QDialog::reject();
    else if (cancelButton->isVisible())
        cancel();
}

void TransferDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (m_started)
        return;
    m_started = true;
    QTimer::singleShot(0, this, [this] {
        if (m_job)
            m_job(*this);
        m_done = true;
        accept();
    });
}

void TransferDialog::setLamp(int bgr)
{
    if (m_forward)
        m_forward->setLamp(bgr);
}

Notice::Answer TransferDialog::notify(const Notice& n) { return Dialogs::show(this, n); }

void TransferDialog::setPanel3(const QString& text)
{
    if (m_forward)
        m_forward->setPanel3(text);
}

void TransferDialog::setProgressRange(int min, int max) { progressBar->setRange(min, max); }
void TransferDialog::setProgressValue(int value) { progressBar->setValue(value); }
void TransferDialog::setMessage(const QString& text) { messageLabel->setText(text); }
void TransferDialog::setCancelVisible(bool visible) { cancelButton->setVisible(visible); }
