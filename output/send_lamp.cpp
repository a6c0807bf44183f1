#include "output/send_lamp.h"

#include <QPainter>

SendLamp::SendLamp(QWidget* parent) : QWidget(parent) {}

void SendLamp::setColor(const QColor& color) {
    color_ = color;
    update();
}

void SendLamp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(color_);
    painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}
