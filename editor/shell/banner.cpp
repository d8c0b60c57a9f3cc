#include "editor/shell/banner.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "dialogs/theme.h"

namespace vh::ui {

QPixmap DrawBanner() {
    QPixmap pm(300, 60);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 60);
    sky.setColorAt(0, QColor(0, 40, 20));
    sky.setColorAt(1, QColor(0, 110, 45));
    p.fillRect(pm.rect(), sky);
    // Pitch markings: halfway line and centre circle, faint.
    p.setPen(QPen(QColor(255, 255, 255, 70), 2));
    p.drawLine(230, 0, 230, 60);
    p.drawEllipse(QPointF(230, 30), 22, 22);
    // A ball.
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(262, 24), 11, 11);
    p.setBrush(Qt::black);
    QPainterPath patch;
    patch.addEllipse(QPointF(262, 24), 4, 4);
    p.drawPath(patch);

    QFont title = EditorFont(18);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0, 0, 0, 150));
    p.drawText(QRect(11, 3, 220, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("VH Editor"));
    p.setPen(kAqua);
    p.drawText(QRect(9, 1, 220, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("VH Editor"));
    p.setFont(EditorFont(7));
    p.setPen(Qt::white);
    p.drawText(QRect(10, 30, 210, 14), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("starting data of Varnholt 00-01"));
    return pm;
}

}  // namespace vh::ui
