#include "ui/TabParts.h"

#include "ui/FittedLabel.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QResizeEvent>
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
    // Given to the area while still empty: the area measures its widget when it gets it, and
    // measuring the built page then would be wasted, as its texts are not on yet.
    area->setWidget(content);
    build(content);
    // Texts, help contexts and values go on before the first layout, so that it is the final one.
    emit built();
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

namespace {
    // Wide enough for all of its 63 characters; narrower only when the window is too narrow for
    // the page, after the recipient columns have given way (headings show their number, names and
    // numbers are shortened).
    class SmsBox : public QLineEdit {
    public:
        using QLineEdit::QLineEdit;
        QSize sizeHint() const override
        {
            return {fontMetrics().averageCharWidth() * 63 + 12, QLineEdit::sizeHint().height()};
        }
    };
} // namespace

QLineEdit* smsBox(QWidget* parent, const QString& name)
{
    auto* e = named(new SmsBox(parent), name);
    e->setMaxLength(63);
    e->setMinimumWidth(e->fontMetrics().averageCharWidth() * 24);
    e->setMaximumWidth(e->sizeHint().width());
    e->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
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

namespace {
    // A row's caption that wraps onto two lines at most: as narrow as that allows, no narrower.
    class GroupLabel : public QLabel {
    public:
        using QLabel::QLabel;
        QSize minimumSizeHint() const override
        {
            const QFontMetrics fm = fontMetrics();
            const QString shown = QString(text()).remove(QRegularExpression(QStringLiteral("&(?!&)")));
            const QStringList words = shown.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            int width = fm.horizontalAdvance(shown);
            for (int split = 1; split < words.size(); ++split)
                width = qMin(width,
                             qMax(fm.horizontalAdvance(words.mid(0, split).join(QLatin1Char(' '))),
                                  fm.horizontalAdvance(words.mid(split).join(QLatin1Char(' ')))));
            width += contentsMargins().left() + contentsMargins().right() + 2 * margin() + 2;
            return {width, heightForWidth(width)};
        }

    protected:
        // The grid gives a row the height of its tallest minimum; a caption wrapped onto two
        // lines at the width it got must ask for both lines, or the second one is cut.
        void resizeEvent(QResizeEvent* event) override
        {
            QLabel::resizeEvent(event);
            const int needed = heightForWidth(width());
            if (needed > 0 && needed != minimumHeight())
                setMinimumHeight(needed);
        }
    };
} // namespace

QLabel* groupLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* l = named(new GroupLabel(text, parent), name);
    l->setWordWrap(true);
    return l;
}

QLabel* recipientNameLabel(QWidget* parent, const QString& name)
{
    return named(new FittedLabel(parent, 2, Qt::ElideRight), name);
}

QLabel* recipientNumberLabel(QWidget* parent, const QString& name)
{
    return named(new FittedLabel(parent, 1, Qt::ElideLeft), name);
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
    // The recipient headings of a matrix all alike: the whole caption while the page is wide
    // enough for that beside the SMS texts at their full width, else all in their short form
    // (the number). Left to the grid, a width just
    // short of the whole captions' would shorten some headings and not their neighbours, as the
    // grid shares the missing pixels out unevenly.
    class UniformHeadings : public QObject {
    public:
        UniformHeadings(QWidget* content, QList<FittedLabel*> headings)
            : QObject(content), m_content(content), m_headings(std::move(headings))
        {
            setObjectName(QStringLiteral("UniformHeadings"));
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
            int whole = 0;
            for (FittedLabel* l : m_headings) {
                l->setShortForm(false);
                const int frame = l->contentsMargins().left() + l->contentsMargins().right() + 2 * l->margin();
                whole = qMax(whole, l->fontMetrics().horizontalAdvance(l->text()) + frame + 2);
            }
            for (FittedLabel* l : m_headings)
                l->setMinimumWidth(whole);
            // The SMS texts' whole width comes first.
            if (m_viewport && m_viewport->width() < m_content->sizeHint().width())
                for (FittedLabel* l : m_headings) {
                    l->setMinimumWidth(0);
                    l->setShortForm(true);
                }
        }

    private:
        QWidget* m_content;
        QWidget* m_viewport = nullptr;
        QList<FittedLabel*> m_headings;
    };
} // namespace

QLabel* recipientHeading(QWidget* parent, const QString& name, const QString& text)
{
    auto* l = named(new FittedLabel(parent, 1, Qt::ElideRight), name);
    l->setText(text);
    return l;
}

void keepHeadingsUniform(QWidget* content, const QList<QLabel*>& headings)
{
    QList<FittedLabel*> fitted;
    for (QLabel* l : headings)
        if (auto* f = qobject_cast<FittedLabel*>(l))
            fitted << f;
    new UniformHeadings(content, fitted);
}

void refitHeadings(QWidget* root)
{
    for (QObject* o : root->findChildren<QObject*>(QStringLiteral("UniformHeadings")))
        if (auto* uniform = dynamic_cast<UniformHeadings*>(o))
            uniform->apply();
}

QChar accessKeyOf(const QString& text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toLower();
        ++i; // "&&" is a plain ampersand
    }
    return {};
}

namespace {
    int accessKeyPosition(const QString& text, const QSet<QChar>& taken)
    {
        const auto isFree = [&](int i) { return text[i].isLetterOrNumber() && !taken.contains(text[i].toLower()); };
        int end = int(text.size());
        while (end > 0 && text[end - 1].isSpace())
            --end;
        if (end > 0 && text[end - 1].isDigit()) {
            int start = end - 1;
            while (start > 0 && text[start - 1].isDigit())
                --start;
            for (int i = start; i < end; ++i)
                if (isFree(i))
                    return i;
        }
        for (int i = 0; i < text.size(); ++i)
            if ((i == 0 || !text[i - 1].isLetterOrNumber()) && text[i].isLetter() && isFree(i))
                return i;
        for (int i = 0; i < text.size(); ++i)
            if (text[i].isLetter() && isFree(i))
                return i;
        return -1;
    }
} // namespace

void markAccessKeys(QWidget* page, const QSet<QChar>& reserved)
{
    QSet<QChar> taken = reserved;
    QList<QLabel*> unmarked;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        QString text;
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            text = button->text();
        else if (auto* label = qobject_cast<QLabel*>(w)) {
            if (!label->buddy())
                continue;
            text = label->text();
            if (accessKeyOf(text).isNull()) {
                unmarked << label;
                continue;
            }
        }
        const QChar key = accessKeyOf(text);
        if (!key.isNull())
            taken.insert(key);
    }
    for (QLabel* label : unmarked) {
        QString text = label->text();
        const int at = accessKeyPosition(text, taken);
        if (at < 0)
            continue;
        taken.insert(text[at].toLower());
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const int shifted = at + int(QStringView(label->text()).left(at).count(QLatin1Char('&')));
        text.insert(shifted, QLatin1Char('&'));
        label->setText(text);
    }
}

void chainTabOrder(const QList<QWidget*>& widgets)
{
    for (int i = 1; i < widgets.size(); ++i)
        QWidget::setTabOrder(widgets[i - 1], widgets[i]);
}

} // namespace TabParts
