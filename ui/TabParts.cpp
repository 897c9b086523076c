#include "ui/TabParts.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

void TabPage::ensureBuilt()
{
    if (m_built)
        return;
    m_built = true;
    // The content scrolls when the window is smaller than the page.
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* area = new QScrollArea(this);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    auto* content = new QWidget(area);
    content->setObjectName(objectName() + QStringLiteral("_Content"));
    build(content);
    // Texts, help contexts and values go on before the first layout, so that it is the final one.
    emit built();
    area->setWidget(content);
    outer->addWidget(area);
    if (isVisible()) {
        area->show();
        outer->activate();
    }
}

void TabPage::setFocusOrder(const QList<QWidget*>& widgets)
{
    m_focusOrder = widgets;
    TabParts::chainTabOrder(widgets);
}

void TabPage::showEvent(QShowEvent* event)
{
    ensureBuilt();
    QWidget::showEvent(event);
}

namespace TabParts {

QString indexedName(const char* name, int index)
{
    return QStringLiteral("%1(%2)").arg(QString::fromUtf8(name)).arg(index);
}

// The SMS text boxes: 63 characters at most. They take the width the matrix leaves; their
// minimum is kept small so that the whole matrix fits a narrow window without scrolling.
QLineEdit* smsBox(QWidget* parent, const QString& name)
{
    auto* e = named(new QLineEdit(parent), name);
    e->setMaxLength(63);
    e->setMinimumWidth(e->fontMetrics().averageCharWidth() * 16);
    e->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return e;
}

// Counter of the characters still free beside an SMS text box.
QLabel* counterLabel(QWidget* parent, const QString& name)
{
    auto* l = named(new QLabel(QStringLiteral("63"), parent), name);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("000")));
    return l;
}

QCheckBox* matrixBox(QWidget* parent, const QString& name)
{
    auto* c = named(new QCheckBox(parent), name);
    c->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return c;
}

QLabel* headingLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* l = named(new QLabel(text, parent), name);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    l->setWordWrap(true);
    return l;
}

// Small pictures for the buttons that have no caption: a column of boxes, all ticked
// (check all), all empty (clear all), or ticked in turn (relays: on rows ticked).
QIcon boxesIcon(Boxes pattern)
{
    const int s = 32;
    QPixmap pm(s, s);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 3; ++i) {
        const QRectF box(6, 2 + i * 10, 8, 8);
        p.setPen(QPen(QColor(40, 40, 40), 1.5));
        p.setBrush(Qt::white);
        p.drawRect(box);
        const bool ticked = pattern == Boxes::All || (pattern == Boxes::Alternate && i != 1);
        if (ticked) {
            p.setPen(QPen(QColor(0, 120, 0), 2.2));
            p.drawLine(QPointF(box.left() + 1.5, box.center().y()), QPointF(box.center().x(), box.bottom() - 1.5));
            p.drawLine(QPointF(box.center().x(), box.bottom() - 1.5), QPointF(box.right() + 2, box.top() - 1));
        }
        p.setPen(QPen(QColor(90, 90, 90), 1.5));
        p.drawLine(QPointF(18, box.center().y()), QPointF(29, box.center().y()));
    }
    return QIcon(pm);
}

// The power symbol that heads the column of the output default states (the state a relay
// takes when the unit is switched on).
QPixmap powerSymbol(int size, qreal dpr)
{
    QPixmap pm(QSize(size, size) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(50, 50, 60), size / 9.0, Qt::SolidLine, Qt::RoundCap));
    const qreal m = size * 0.18;
    p.drawArc(QRectF(m, m, size - 2 * m, size - 2 * m), 120 * 16, 300 * 16);
    p.drawLine(QPointF(size / 2.0, size * 0.08), QPointF(size / 2.0, size * 0.48));
    return pm;
}

QPushButton* iconButton(QWidget* parent, const QString& name, const QIcon& icon)
{
    auto* b = named(new QPushButton(parent), name);
    b->setIcon(icon);
    const int h = b->fontMetrics().height();
    b->setIconSize(QSize(h, h));
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return b;
}

QFrame* horizontalLine(QWidget* parent)
{
    auto* f = new QFrame(parent);
    f->setFrameShape(QFrame::HLine);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

// A faint band behind every second pair of matrix lines, so that the eye can follow a
// line from its text to its boxes. Created before the line's widgets, so it lies below them.
void addBand(QGridLayout* grid, QWidget* parent, int row, int rows, int columns)
{
    auto* band = new QFrame(parent);
    band->setAutoFillBackground(true);
    QPalette pal = band->palette();
    pal.setColor(QPalette::Window, parent->palette().color(QPalette::Window).darker(106));
    band->setPalette(pal);
    grid->addWidget(band, row, 0, rows, columns);
}

QLabel* edgeMark(QWidget* parent, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

namespace {
    // The recipient headings of a matrix wrap all alike: on one line each while the page is wide
    // enough for that, else all on two lines. Left to the grid, a width just short of the one-line
    // width wraps some headings and not their neighbours, as the grid shares the missing pixels
    // out unevenly.
    class UniformHeadings : public QObject {
    public:
        UniformHeadings(QWidget* content, QList<QLabel*> headings, int narrowest)
            : QObject(content), m_content(content), m_headings(std::move(headings)), m_narrowest(narrowest)
        {
            m_viewport = content->parentWidget();
            if (m_viewport)
                m_viewport->installEventFilter(this);
        }
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Resize || e->type() == QEvent::Show)
                apply();
            return false;
        }
        void apply()
        {
            int oneLine = 0, word = m_narrowest;
            for (QLabel* l : m_headings) {
                const QFontMetrics fm = l->fontMetrics();
                const int frame = l->contentsMargins().left() + l->contentsMargins().right() + 2 * l->margin();
                oneLine = qMax(oneLine, fm.horizontalAdvance(l->text()) + frame + 2);
                for (const QString& w : l->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
                    word = qMax(word, fm.horizontalAdvance(w) + frame + 2);
            }
            for (QLabel* l : m_headings) {
                l->setMaximumWidth(QWIDGETSIZE_MAX);
                l->setMinimumWidth(oneLine);
            }
            if (m_viewport && m_viewport->width() < m_content->minimumSizeHint().width()) {
                for (QLabel* l : m_headings) {
                    l->setMinimumWidth(0);
                    l->setMaximumWidth(qMin(word, oneLine - 1));
                }
            }
        }

    private:
        QWidget* m_content;
        QWidget* m_viewport = nullptr;
        QList<QLabel*> m_headings;
        int m_narrowest;
    };
} // namespace

void keepHeadingsUniform(QWidget* content, const QList<QLabel*>& headings, int narrowest)
{
    new UniformHeadings(content, headings, narrowest);
}

void chainTabOrder(const QList<QWidget*>& widgets)
{
    for (int i = 1; i < widgets.size(); ++i)
        QWidget::setTabOrder(widgets[i - 1], widgets[i]);
}

} // namespace TabParts
