#pragma once
#include <QWidget>

class ProgramContext;
class QLabel;
class QProgressBar;

// The frameless splash window with the logo of the language and the start-up progress bar.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(const ProgramContext& context, QWidget* parent = nullptr);
    ~SplashWindow() override;
    QLabel* logos[4] = {nullptr, nullptr, nullptr, nullptr}; // PicLogoD, PicLogoE, PicLogoI, PicLogoF
    QLabel* softwareLabel = nullptr;
    QLabel* copyrightLabel = nullptr;
    QProgressBar* progressBar = nullptr;

private:
    const ProgramContext& m_context;
};

// The logo of a language (1..4) as a pixmap resource path.
QString languageLogo(int language);
