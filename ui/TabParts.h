#pragma once
// What the three tab pages of the main window are built from: the page that builds its
// widgets on first use, and the small named widgets of the matrices and text lines.
#include <QList>
#include <QSet>
#include <QString>
#include <QWidget>

class QCheckBox;
class QFrame;
class QGridLayout;
class QIcon;
class QLabel;
class QLineEdit;
class QPixmap;
class QPushButton;

// A tab page whose widgets are built the first time the page is shown or one of its
// accessors is called (ensureBuilt). Whoever fills or labels the page's widgets either
// works through the accessors or follows built().
class TabPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    // Builds the widgets now unless they exist; emits built() once, after building.
    void ensureBuilt();
    bool isBuilt() const { return m_built; }
    // The page's widgets in Tab order (empty until built).
    const QList<QWidget*>& focusOrder() const { return m_focusOrder; }

signals:
    void built();

protected:
    // Builds the page's widgets into content (the scrolled area of the page).
    virtual void build(QWidget* content) = 0;
    void showEvent(QShowEvent* event) override;
    // Chains the focus order through widgets in list order and keeps the list.
    void setFocusOrder(const QList<QWidget*>& widgets);

private:
    bool m_built = false;
    QList<QWidget*> m_focusOrder;
};

namespace TabParts {
// "ChkEmpOP", 37 -> "ChkEmpOP(37)": the object names of the control arrays.
QString indexedName(const char* name, int index);

template <typename W> W* named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

QLineEdit* smsBox(QWidget* parent, const QString& name);
QLabel* counterLabel(QWidget* parent, const QString& name);
QCheckBox* matrixBox(QWidget* parent, const QString& name);
// The caption of a text line that has no number (alarm input, power-on): two lines at most.
QLabel* groupLabel(QWidget* parent, const QString& name, const QString& text);
QLabel* headingLabel(QWidget* parent, const QString& name, const QString& text = QString());
// A user's name (up to two lines) and phone number above a matrix column, shortened when the
// column is narrow.
QLabel* recipientNameLabel(QWidget* parent, const QString& name);
QLabel* recipientNumberLabel(QWidget* parent, const QString& name);
enum class Boxes { None, All, Alternate };
QIcon boxesIcon(Boxes pattern);
QPixmap powerSymbol(int size, qreal devicePixelRatio);
QPushButton* iconButton(QWidget* parent, const QString& name, const QIcon& icon);
QFrame* horizontalLine(QWidget* parent);
void addBand(QGridLayout* grid, QWidget* parent, int row, int rows, int columns);
QLabel* edgeMark(QWidget* parent, const QString& text);
// A recipient column's numbered heading ("Empfänger 3"), shown as its number alone when the
// page is narrow; keepHeadingsUniform keeps all headings of a matrix in the same form.
QLabel* recipientHeading(QWidget* parent, const QString& name, const QString& text);
void keepHeadingsUniform(QWidget* content, const QList<QLabel*>& headings);
// Fits the headings of every matrix under root again (after their captions changed, as at a
// language switch), as a resize would.
void refitHeadings(QWidget* root);
// The access key marked in a caption ("E&xtras" -> 'x', lower case), or a null QChar.
QChar accessKeyOf(const QString& text);
// Gives every label of the page that has a buddy an access key that neither the reserved keys
// (the menu bar's) nor another control of the page uses: the number a label ends with
// ("Eingang 3" -> Alt+3), else the first free letter that starts a word, else any free letter.
// A label that has a key keeps it.
void markAccessKeys(QWidget* page, const QSet<QChar>& reserved);
// Chains the focus order through widgets in list order.
void chainTabOrder(const QList<QWidget*>& widgets);
} // namespace TabParts
