#include "ui/ToolbarIcons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {

using Draw = std::function<void(QPainter&)>; // draws into a 32 x 32 box

class DrawnIcon : public QIconEngine {
public:
    explicit DrawnIcon(Draw d) : m_draw(std::move(d)) {}
    void paint(QPainter* p, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        p->translate(rect.topLeft());
        p->scale(rect.width() / 32.0, rect.height() / 32.0);
        if (mode == QIcon::Disabled)
            p->setOpacity(0.35);
        m_draw(*p);
        p->restore();
    }
    QIconEngine* clone() const override { return new DrawnIcon(m_draw); }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }

private:
    Draw m_draw;
};

const QColor Ink(50, 50, 60);

void page(QPainter& p)
{
    QPainterPath path;
    path.moveTo(5, 2);
    path.lineTo(19, 2);
    path.lineTo(25, 8);
    path.lineTo(25, 29);
    path.lineTo(5, 29);
    path.closeSubpath();
    p.setPen(QPen(Ink, 1.4));
    p.setBrush(Qt::white);
    p.drawPath(path);
    p.drawLine(QPointF(19, 2), QPointF(19, 8));
    p.drawLine(QPointF(19, 8), QPointF(25, 8));
    p.setPen(QPen(QColor(120, 120, 140), 1.6));
    for (int y = 12; y <= 24; y += 4)
        p.drawLine(QPointF(9, y), QPointF(21, y));
}

void printer(QPainter& p)
{
    p.setPen(QPen(Ink, 1.4));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 2, 14, 10)); // paper going in
    p.setBrush(QColor(150, 155, 165));
    p.drawRoundedRect(QRectF(2, 11, 26, 12), 2, 2); // body
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 19, 14, 10)); // paper coming out
    p.setPen(QPen(QColor(120, 120, 140), 1.4));
    p.drawLine(QPointF(11, 23), QPointF(19, 23));
    p.drawLine(QPointF(11, 26), QPointF(19, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 200, 60));
    p.drawEllipse(QRectF(23, 14, 3, 3));
}

// The badge in the lower right corner that tells the four reports apart.
void badge(QPainter& p, const QString& what)
{
    const QRectF r(17, 17, 15, 15);
    QColor fill = what == QLatin1String("Alarm") ? QColor(200, 40, 40)
        : what == QLatin1String("Relais")        ? QColor(30, 90, 190)
        : what == QLatin1String("Sequentiell")   ? QColor(220, 130, 0)
                                                 : QColor(30, 130, 60);
    p.setPen(QPen(Qt::white, 1.2));
    p.setBrush(fill);
    p.drawEllipse(r);
    const QPointF c = r.center();
    QPen white(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap);
    p.setPen(white);
    p.setBrush(Qt::NoBrush);
    if (what == QLatin1String("Alarm")) { // an input: exclamation mark
        p.drawLine(QPointF(c.x(), c.y() - 4.5), QPointF(c.x(), c.y() + 1));
        p.drawPoint(QPointF(c.x(), c.y() + 4));
    } else if (what == QLatin1String("Relais")) { // an open switch contact
        p.drawLine(QPointF(c.x() - 5, c.y() + 2), QPointF(c.x() - 2, c.y() + 2));
        p.drawLine(QPointF(c.x() - 2, c.y() + 2), QPointF(c.x() + 3, c.y() - 3));
        p.drawLine(QPointF(c.x() + 2, c.y() + 2), QPointF(c.x() + 5, c.y() + 2));
    } else if (what == QLatin1String("Sequentiell")) { // a clock: alarm after a delay
        p.setPen(QPen(Qt::white, 1.5));
        p.drawEllipse(QRectF(c.x() - 5, c.y() - 5, 10, 10));
        p.drawLine(c, QPointF(c.x(), c.y() - 3.5));
        p.drawLine(c, QPointF(c.x() + 3, c.y()));
    } else { // a user
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(c.x() - 2.2, c.y() - 5.5, 4.4, 4.4));
        p.drawChord(QRectF(c.x() - 5, c.y() - 0.5, 10, 10), 0, 180 * 16);
    }
}

void phoneBook(QPainter& p)
{
    p.setPen(QPen(Ink, 1.4));
    p.setBrush(QColor(40, 80, 150));
    p.drawRoundedRect(QRectF(5, 2, 21, 28), 2, 2);
    p.setBrush(QColor(230, 230, 235));
    p.drawRect(QRectF(5, 25, 21, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(12.5, 7, 6, 6));
    p.drawChord(QRectF(9.5, 13.5, 12, 11), 0, 180 * 16);
}

void serialPlug(QPainter& p)
{
    QPainterPath shell;
    shell.moveTo(2, 9);
    shell.lineTo(30, 9);
    shell.lineTo(26, 23);
    shell.lineTo(6, 23);
    shell.closeSubpath();
    p.setPen(QPen(Ink, 1.4));
    p.setBrush(QColor(170, 175, 185));
    p.drawPath(shell);
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    for (int i = 0; i < 5; ++i)
        p.drawEllipse(QRectF(6.5 + i * 4, 12, 2.6, 2.6));
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QRectF(8.5 + i * 4, 17, 2.6, 2.6));
}

} // namespace

namespace ToolbarIcons {
QIcon icon(const QString& key)
{
    Draw d;
    if (key.startsWith(QLatin1String("Report"))) {
        const QString what = key.mid(6);
        d = [what](QPainter& p) {
            page(p);
            badge(p, what);
        };
    } else if (key.startsWith(QLatin1String("Print"))) {
        const QString what = key.mid(5);
        d = [what](QPainter& p) {
            printer(p);
            badge(p, what);
        };
    } else if (key == QLatin1String("Telefonbuch")) {
        d = phoneBook;
    } else if (key == QLatin1String("COM")) {
        d = serialPlug;
    } else {
        return QIcon();
    }
    return QIcon(new DrawnIcon(d));
}
}
