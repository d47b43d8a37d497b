#pragma once

#include <QImage>
#include <QWidget>

namespace fareboard {

// The fare board: a frameless window the size of the panel picture. Its digits, labels, clock
// and stop-name column are children placed on the panel's grid.
class Form1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 487;
    static constexpr int kClientHeight = 269;

    explicit Form1(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage panel_;
};

}  // namespace fareboard
