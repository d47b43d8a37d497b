#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

#include <utility>

namespace fareboard::widgets {

// Makes a child, names it and puts it in place, for windows laid out by fixed places.
// Constructor arguments come before the parent.
template <class W, class... Args>
W* make(QWidget* parent, const QString& name, const QRect& geometry, Args&&... args)
{
    auto* widget = new W(std::forward<Args>(args)..., parent);
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

}  // namespace fareboard::widgets
