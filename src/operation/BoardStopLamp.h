#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <memory>

namespace fareboard {

class GlyphSource;

// "とまります" lit on the board while a stop request is pending: the stop-name column's 16-dot
// glyphs in its colours, in a recessed window of the panel's kind. It sits below the column,
// where the board draws nothing, and is shown only while lit, so the board looks as it always
// did otherwise (also with a user's own panel picture).
class BoardStopLamp : public QWidget {
    Q_OBJECT
public:
    static constexpr QRect kPlace{13, 239, 84, 22};
    static QString text() { return QStringLiteral("とまります"); }

    BoardStopLamp(QWidget* board, std::shared_ptr<GlyphSource> glyphs);

    // Lights the lamp in the column's colours (0x00BBGGRR): its dots on its background.
    void light(int32_t backColour, int32_t dotColour);
    void putOut() { hide(); }
    const QImage& surface() const { return surface_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::shared_ptr<GlyphSource> glyphs_;
    QImage surface_;
};

}  // namespace fareboard
