#pragma once
// The help window: a browser for the shipped help pages with contents, back, forward and a
// search field. Links to other pages of the help stay in the window; web and mail links go
// to the platform's default handler.
#include <QWidget>

class ProgramContext;
class QLineEdit;
class QTextBrowser;
class QToolButton;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const ProgramContext& context, QWidget* parent = nullptr);
    void openPage(const QString& path);
    void showContents();
    void showIndex();
    void focusSearch();
    QString currentPage() const;
    QTextBrowser* browser() const { return m_browser; }
    QLineEdit* searchField() const { return m_search; }

private:
    const ProgramContext& m_context;
    void findNext();
    void retranslate();
    QTextBrowser* m_browser = nullptr;
    QLineEdit* m_search = nullptr;
    QToolButton* m_contents = nullptr;
    QToolButton* m_back = nullptr;
    QToolButton* m_forward = nullptr;
};
