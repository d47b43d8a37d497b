#pragma once

#include <QPushButton>

#include <cstdint>

namespace fareboard {

// A push button that shows a colour setting as its face and holds it: the value is kept as
// given (0x00BBGGRR, or a desktop colour with the top bit set), so it goes back to the settings
// file exactly as it came.
class ColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColorButton(int32_t color, QWidget* parent = nullptr);

    int32_t BackColor() const { return color_; }
    void setBackColor(int32_t color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int32_t color_;
};

}  // namespace fareboard
