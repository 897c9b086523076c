#pragma once
// The About box: title, version, five notice lines, the project's address and links, the
// logo of the language. A double click on the logo opens the administrator login.
#include <QDialog>

class QLabel;
class QPushButton;

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblLizenz[5] = {};
    QLabel* lblInfos = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblAdresseKestrin = nullptr;
    QLabel* lblHomepage = nullptr;
    QLabel* lblMail = nullptr;
    QPushButton* cmdOK = nullptr;
    QLabel* PicLogo[4] = {}; // PicLogoD, PicLogoE, PicLogoI, PicLogoF

    void lblHomepage_Click();
    void lblMail_Click();
    void PicLogo_DblClick();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void startUp();
};
