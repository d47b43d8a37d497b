#include "Form1.h"

#include "board/BuiltinPanel.h"

#include <QPainter>

namespace fareboard {

Form1::Form1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), panel_(makeBuiltinPanel())
{
    setObjectName(QStringLiteral("Form1"));
    setFixedSize(kClientWidth, kClientHeight);
    setMask(QRegion(rect()));
}

void Form1::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, panel_);
}

}  // namespace fareboard
