#include "Form1.h"

#include <QPainter>

namespace fareboard {

Form1::Form1(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Form1"));
    setFixedSize(kClientWidth, kClientHeight);
    setMask(QRegion(rect()));
}

void Form1::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(24, 24, 26));
}

}  // namespace fareboard
