#include "persistence/UserIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

namespace {
QPixmap DrawUser(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);

    const QColor outline(24, 64, 112);
    painter.setPen(QPen(outline, 1.0));

    // Shoulders: a rounded body cut off by the bottom of the icon.
    QPainterPath body;
    body.moveTo(4.5, 31.5);
    body.cubicTo(4.5, 22.0, 9.5, 18.5, 16.0, 18.5);
    body.cubicTo(22.5, 18.5, 27.5, 22.0, 27.5, 31.5);
    body.closeSubpath();
    QLinearGradient bodyFill(0, 18, 0, 32);
    bodyFill.setColorAt(0.0, QColor(92, 156, 224));
    bodyFill.setColorAt(1.0, QColor(40, 96, 168));
    painter.setBrush(bodyFill);
    painter.drawPath(body);

    // Collar.
    painter.setBrush(QColor(236, 240, 246));
    QPainterPath collar;
    collar.moveTo(12.5, 19.2);
    collar.lineTo(16.0, 24.0);
    collar.lineTo(19.5, 19.2);
    collar.closeSubpath();
    painter.drawPath(collar);

    // Head.
    QRadialGradient headFill(QPointF(14.0, 8.0), 8.0);
    headFill.setColorAt(0.0, QColor(255, 226, 196));
    headFill.setColorAt(1.0, QColor(226, 172, 128));
    painter.setBrush(headFill);
    painter.setPen(QPen(QColor(150, 96, 60), 1.0));
    painter.drawEllipse(QPointF(16.0, 10.5), 6.5, 7.0);

    // Hair.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(88, 58, 36));
    QPainterPath hair;
    hair.moveTo(9.6, 9.5);
    hair.cubicTo(9.0, 3.0, 23.0, 1.5, 22.4, 9.5);
    hair.cubicTo(19.5, 6.5, 13.5, 6.0, 9.6, 9.5);
    painter.drawPath(hair);
    return pixmap;
}
} // namespace

QIcon UserIcon()
{
    QIcon icon;
    icon.addPixmap(DrawUser(32));
    icon.addPixmap(DrawUser(64));
    return icon;
}
