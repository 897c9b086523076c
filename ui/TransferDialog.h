#pragma once
// The modal progress window of a transfer: what is happening (messageLabel), the progress
// bar and the cancel button (object names lblMessage, VBUProgressDownloadHexFile,
// cmdAbbrechen). It runs its job when it is shown and closes itself when the job returns.
#include "link/Link.h"

#include <QDialog>
#include <functional>

class ProgramContext;
class QLabel;
class QProgressBar;
class QPushButton;

class TransferDialog : public QDialog, public LinkSink {
    Q_OBJECT
public:
    // forward: where lamp and panel 3 go (the main window); may be null.
    TransferDialog(const ProgramContext& context, QWidget* parent, LinkSink* forward);

    // Caption from the table "Beschriftung": 'frmUpload', 'frmDownload' or 'gbWaitSystemRestart'.
    void setCaptionKey(const QString& key);
    QString caption(const QString& key) const;
    // The text of a row of a language table (Beschriftung, ToolTipText, SystemNachrichten)
    // in the current language; the key itself when the row is missing.
    static QString languageText(const ProgramContext& context, const QString& table, const QString& key);

    // Runs job once the window is shown, then closes the window.
    void setJob(std::function<void(TransferDialog&)> job) { m_job = std::move(job); }
    // Set by cancelButton; the job's link reads it through cancelToken.
    CancelToken* cancelToken = nullptr;

    QLabel* messageLabel = nullptr;
    QProgressBar* progressBar = nullptr;
    QPushButton* cancelButton = nullptr;

    // LinkSink
    void setLamp(int bgr) override;
    void setPanel3(const QString& text) override;
    Notice::Answer notify(const Notice& n) override;
    void setProgressRange(int min, int max) override;
    void setProgressValue(int value) override;
    void setMessage(const QString& text) override;
    void setCancelVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* e) override;
    void reject() override; // Esc and the close box act as cancel, never close mid-transfer

private:
    const ProgramContext& m_context;
    void cancel();
    std::function<void(TransferDialog&)> m_job;
    LinkSink* m_forward;
    bool m_started = false;
    bool m_done = false;
};
