#pragma once
// The About box: title, version, five notice lines, the project's address and links, the
// logo of the language. A double click on the logo opens the administrator login.
#include <QDialog>

class ProgramContext;
class QLabel;
class QPushButton;

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(const ProgramContext& context, QWidget* parent = nullptr);
    QLabel* titleLabel = nullptr;
    QLabel* versionLabel = nullptr;
    QLabel* licenceLabel[5] = {};
    QLabel* infoLabel = nullptr;
    QLabel* mailCaption = nullptr;
    QLabel* addressLabel = nullptr;
    QLabel* homepageLabel = nullptr;
    QLabel* mailLabel = nullptr;
    QPushButton* okButton = nullptr;
    QLabel* logos[4] = {}; // PicLogoD, PicLogoE, PicLogoI, PicLogoF

    void openHomepage();
    void writeMail();
    void openAdministratorLogin();

signals:
    // The administrator login opened from the logo took a password.
    void accessLevelChosen(const QString& password);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    const ProgramContext& m_context;
    void startUp();
};
