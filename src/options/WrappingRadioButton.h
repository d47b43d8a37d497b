#pragma once

#include <QRadioButton>

namespace fareboard {

// An option button whose caption wraps within the button's width. Some options explain
// themselves in a sentence longer than the page is wide.
class WrappingRadioButton : public QRadioButton {
    Q_OBJECT
public:
    WrappingRadioButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    // The whole button takes the click, also the second line of its caption.
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

}  // namespace fareboard
