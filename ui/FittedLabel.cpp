#include "ui/FittedLabel.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

FittedLabel::FittedLabel(QWidget* parent, int maxLines, Qt::TextElideMode elide)
    : QLabel(parent), m_maxLines(qMax(1, maxLines)), m_elide(elide)
{
    setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int FittedLabel::horizontalFrame() const
{
    const QMargins m = contentsMargins();
    return m.left() + m.right() + 2 * margin();
}

int FittedLabel::textWidth() const { return contentsRect().width() - 2 * margin(); }

QString FittedLabel::shownText() const
{
    if (!m_shortForm)
        return text();
    const QString whole = text().trimmed();
    const int space = int(whole.lastIndexOf(QLatin1Char(' ')));
    const QString last = whole.mid(space + 1);
    bool number = false;
    last.toInt(&number);
    return number ? last : whole;
}

void FittedLabel::setShortForm(bool on)
{
    if (on == m_shortForm)
        return;
    m_shortForm = on;
    updateGeometry();
    update();
}

QStringList FittedLabel::linesFor(int width, bool* shortened) const
{
    if (m_fitted.width != width || m_fitted.shortForm != m_shortForm || m_fitted.text != text()) {
        m_fitted.width = width;
        m_fitted.shortForm = m_shortForm;
        m_fitted.text = text();
        m_fitted.lines = fit(width, &m_fitted.shortened);
    }
    if (shortened)
        *shortened = m_fitted.shortened;
    return m_fitted.lines;
}

QStringList FittedLabel::fit(int width, bool* shortened) const
{
    const QFontMetrics fm = fontMetrics();
    QStringList lines;
    QString current;
    for (const QString& word : shownText().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString joined = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
        if (current.isEmpty() || fm.horizontalAdvance(joined) <= width) {
            current = joined;
        } else {
            lines << current;
            current = word;
        }
    }
    if (!current.isEmpty())
        lines << current;
    if (lines.size() > m_maxLines) {
        const QString rest = lines.mid(m_maxLines - 1).join(QLatin1Char(' '));
        lines = lines.mid(0, m_maxLines - 1);
        lines << rest;
    }
    bool cut = false;
    for (QString& line : lines)
        if (fm.horizontalAdvance(line) > width) {
            line = fm.elidedText(line, m_elide, qMax(0, width));
            cut = true;
        }
    if (shortened)
        *shortened = cut || shownText() != text();
    return lines;
}

bool FittedLabel::isShortened() const
{
    bool shortened = false;
    linesFor(textWidth(), &shortened);
    return shortened;
}

// As narrow as the minimum: the columns share the room alike (their stretch), not after the
// lengths of the names.
QSize FittedLabel::sizeHint() const
{
    const int width = minimumSizeHint().width();
    return {width, heightForWidth(width)};
}

QSize FittedLabel::minimumSizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    const int width = qMin(fm.averageCharWidth() * 4, fm.horizontalAdvance(shownText())) + horizontalFrame() + 2;
    return {width, fm.lineSpacing() + contentsMargins().top() + contentsMargins().bottom() + 2 * margin()};
}

int FittedLabel::heightForWidth(int width) const
{
    const int lines = qMax(1, int(linesFor(width - horizontalFrame()).size()));
    return lines * fontMetrics().lineSpacing() + contentsMargins().top() + contentsMargins().bottom() + 2 * margin();
}

void FittedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const QStringList lines = linesFor(area.width());
    const int lineHeight = fontMetrics().lineSpacing();
    const int blockHeight = int(lines.size()) * lineHeight;
    int top = area.top();
    if (alignment() & Qt::AlignBottom)
        top = area.bottom() + 1 - blockHeight;
    else if (alignment() & Qt::AlignVCenter)
        top = area.top() + (area.height() - blockHeight) / 2;
    const int horizontal = int(alignment() & Qt::AlignHorizontal_Mask);
    for (int i = 0; i < lines.size(); ++i) {
        const QRect lineRect(area.left(), top + i * lineHeight, area.width(), lineHeight);
        style()->drawItemText(&painter, lineRect, horizontal | Qt::AlignVCenter, palette(), isEnabled(), lines[i],
                              foregroundRole());
    }
}

bool FittedLabel::event(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_fitted.width = -1;
    if (event->type() == QEvent::ToolTip && isShortened()) {
        const QString own = toolTip();
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                           own.isEmpty() ? text() : text() + QLatin1Char('\n') + own, this);
        return true;
    }
    return QLabel::event(event);
}
