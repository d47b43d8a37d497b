#pragma once

#include <QPushButton>

class QFontMetrics;

namespace fareboard {

// The caption as it is drawn in `width` pixels: as it stands when it fits, otherwise broken
// onto two lines at a phrase boundary or a wide space, the spaces around the break dropped.
QString captionLines(const QString& caption, const QFontMetrics& metrics, int width);

// An option button drawn as a push button, used as a page tab: it stays pushed in while its
// page is in front (its holder groups the tabs), and its caption wraps onto a second line where the button is too narrow,
// the way the captions are written (a wide space marks the intended break).
class PageButton : public QPushButton {
    Q_OBJECT
public:
    PageButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace fareboard
