#pragma once
// What the three tab pages of the main window are built from: the page that builds its
// widgets on first use, and the small named widgets of the matrices and text lines.
#include <QList>
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
QLabel* headingLabel(QWidget* parent, const QString& name, const QString& text = QString());
enum class Boxes { None, All, Alternate };
QIcon boxesIcon(Boxes pattern);
QPixmap powerSymbol(int size, qreal devicePixelRatio);
QPushButton* iconButton(QWidget* parent, const QString& name, const QIcon& icon);
QFrame* horizontalLine(QWidget* parent);
void addBand(QGridLayout* grid, QWidget* parent, int row, int rows, int columns);
QLabel* edgeMark(QWidget* parent, const QString& text);
// Keeps the recipient headings of a matrix wrapping all alike (see TabParts.cpp).
void keepHeadingsUniform(QWidget* content, const QList<QLabel*>& headings, int narrowest);
// Chains the focus order through widgets in list order.
void chainTabOrder(const QList<QWidget*>& widgets);
} // namespace TabParts
