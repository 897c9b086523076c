#pragma once
// A label for the narrow columns of the recipient matrices. Its text wraps at spaces onto at
// most maxLines lines; what still does not fit is shortened with an ellipsis (on the left for
// phone numbers, whose last digits tell them apart). text() stays the whole text, and while it
// is shortened the tool tip shows it in full. The column may shrink to the label's minimum width,
// so that the SMS texts beside the matrix keep their width.
#include <QLabel>
#include <QStringList>

class FittedLabel : public QLabel {
    Q_OBJECT
public:
    FittedLabel(QWidget* parent, int maxLines, Qt::TextElideMode elide);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    // The lines shown at the given width of the text area, and whether the text had to be shortened.
    QStringList linesFor(int width, bool* shortened = nullptr) const;
    bool isShortened() const;
    // Short form: a numbered caption ("Empfänger 3") shows its number alone; the whole caption
    // is in the tool tip.
    void setShortForm(bool on);
    bool shortForm() const { return m_shortForm; }
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QStringList fit(int width, bool* shortened) const;
    int textWidth() const;
    int horizontalFrame() const;
    int m_maxLines;
    Qt::TextElideMode m_elide;
    bool m_shortForm = false;
    // The lines of the last width asked for: layouts ask for the same width many times over.
    struct Fitted {
        int width = -1;
        QString text;
        bool shortForm = false;
        QStringList lines;
        bool shortened = false;
    };
    mutable Fitted m_fitted;
};
