#pragma once

#include "ChimeiScroll.h"
#include "platform/glyphs/GlyphSource.h"

#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QPair>
#include <QString>
#include <QTimer>
#include <QVariant>
#include <QVariantMap>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

namespace fareboard {

// The stop-name column of the fare board: a name written vertically as 16 x 16 dot characters,
// one lit pixel per dot at a two-pixel pitch. Names of up to six characters stand centred in
// the column; longer ones rise through it endlessly until another name is set.
//
// Inside are a window (the visible column, which clips), a strip that carries the dots and
// moves up and down behind the window, and a 16 x 16 glyph cell in which each character is
// drawn before its black pixels become dots. The strip is a cached image: painting only copies
// it, and only setting a name, a colour or the style draws on it.
class ChimeiCtl_B : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWindowWidth = 36;
    static constexpr int kWindowHeight = 192;
    static constexpr int kStripWidth = 37;
    static constexpr int kCellSize = 16;

    // Without a glyph source the control reads the host's fonts itself; controls that live
    // together can share one source and its cache of rendered glyphs.
    explicit ChimeiCtl_B(QWidget* parent = nullptr, std::shared_ptr<GlyphSource> glyphs = {});
    ~ChimeiCtl_B() override;

    // Colours are 0x00BBGGRR. BackColor is held by the strip and given to the window; setting
    // it erases the dots.
    int32_t BackColor() const { return stripBack_; }
    void setBackColor(int32_t value);
    // Dots drawn later use it; dots already drawn keep their colour.
    int32_t ForeColor() const { return stripFore_; }
    void setForeColor(int32_t value);
    // Scroll step in 1/200 pixel per step, at 2,000 steps a second.
    int16_t Speed() const { return speed_; }
    void setSpeed(int16_t value);
    // Pause before each pass of a scrolling name, in milliseconds.
    int32_t ScrollStartWait() const { return scrollStartWait_; }
    void setScrollStartWait(int32_t value);
    // 2 sets a two-character name closer together than any other value.
    int16_t Mode() const { return mode_; }
    void setMode(int16_t value);
    // The window's style: 0 flat, otherwise three-dimensional. Setting it erases the dots and
    // resizes the window (flat 35 x 185, otherwise 37 x 195).
    int16_t Appearance() const { return windowStyle_; }
    void setAppearance(int16_t value);
    // Gothic or mincho per character: 0 gothic, 1 mincho, 2 gothic kanji and mincho kana,
    // 3 the reverse, 4 gothic full-width digits and letters and mincho for the rest.
    int16_t FontMode() const { return fontMode_; }
    void setFontMode(int16_t value);
    bool FontBold() const { return fontBold_; }
    void setFontBold(bool value);

    // Lays out and draws a name; the empty name clears the column. A name of seven or more
    // characters starts scrolling; any new name ends the scroll of the previous one at once.
    void SetChimei(const QString& name);
    // Draws one character's dots with its top-left dot at strip pixel (x, y). The long vowel
    // mark is drawn as a vertical stroke, and the stroke is written back into `character`.
    void DrawDot16(int x, int y, QString& character);
    // Repaints the column from what is drawn on the strip.
    void Refresh();

    // The stored property set of the window that holds the control: values under their
    // property names, missing ones taking the stored defaults; BackColor colours strip and
    // window, Appearance only styles the window (which keeps its size).
    void ReadProperties(const QVariantMap& stored);
    // The values to store, in their fixed order, leaving out those equal to the defaults.
    QList<QPair<QString, QVariant>> WriteProperties() const;

    // What the column shows: the window's size, the strip's image and its top inside the window.
    QSize windowSize() const { return windowSize_; }
    const QImage& strip() const { return strip_; }
    int stripTop() const { return stripTop_; }
    bool isScrolling() const { return scroll_.running(); }
    // The cell the last character was drawn in (white paper, black ink).
    const QImage& glyphCell() const { return cell_; }
    // The interval of the frame timer that drives the scroll; 0 when no scroll runs.
    int frameTimerInterval() const { return frameTimer_.isActive() ? frameTimer_.interval() : 0; }

    // The scroll takes its time from this monotonic clock, in milliseconds. Tests hand in
    // their own and call scrollFrame() instead of waiting.
    void setScrollClock(std::function<double()> nowMs);

    QSize sizeHint() const override { return windowSize_; }

public slots:
    // One frame of the scroll: moves it on by the time since the last frame.
    void scrollFrame();

signals:
    // A property changed, so the stored set of the window holding the control is out of date.
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void clearStrip();
    void resizeStrip(int height);
    void showStripAt(int top);
    void startScroll();
    void stopScroll();
    void armFrameTimer();
    ScrollInputs scrollInputs() const;

    std::shared_ptr<GlyphSource> glyphs_;
    // Names set so far; tells a SetChimei whether another one ran inside it.
    unsigned setChimeiCalls_ = 0;

    // The window.
    QSize windowSize_{kWindowWidth, kWindowHeight};
    int32_t windowBack_ = 0x404040;
    int16_t windowStyle_ = 1;

    // The strip.
    QImage strip_;
    int stripTop_ = 0;
    int32_t stripBack_ = 0x404040;
    int32_t stripFore_ = 0x80C0FF;

    // The glyph cell.
    QImage cell_;

    int16_t speed_ = 5;
    int32_t scrollStartWait_ = 1500;
    int16_t mode_ = 2;
    int16_t fontMode_ = 0;
    bool fontBold_ = false;

    ChimeiScroll scroll_;
    QTimer frameTimer_;
    QElapsedTimer sinceCreation_;
    std::function<double()> clock_;
    double lastFrameMs_ = 0;
};

}  // namespace fareboard
