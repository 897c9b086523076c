#include "ui/ShapeLamp.h"

#include <QFontMetrics>
#include <QPainter>

ShapeLamp::ShapeLamp(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void ShapeLamp::setFillColor(int bgr)
{
    if (bgr == m_bgr)
        return;
    m_bgr = bgr;
    update();
}

QSize ShapeLamp::sizeHint() const
{
    const int d = fontMetrics().height() + 4;
    return {d, d};
}

QSize ShapeLamp::minimumSizeHint() const { return sizeHint(); }

void ShapeLamp::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor fill(m_bgr & 0xFF, (m_bgr >> 8) & 0xFF, (m_bgr >> 16) & 0xFF);
    const int d = qMin(width(), height()) - 2;
    const QRectF r((width() - d) / 2.0, (height() - d) / 2.0, d, d);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    p.setBrush(fill);
    p.drawEllipse(r);
}
