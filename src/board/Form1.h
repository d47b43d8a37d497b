#pragma once

#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QLabel;

namespace fareboard {

class ChimeiCtl_B;
class Clock;
class GlyphSource;
class KobuRes;
class M_Degit;
struct SettingsStore;

// The fare board: a frameless window showing the panel picture, the 24 fare digits under their
// ticket-number labels, the clock and the stop-name column. The console and the options dialog
// write to its controls; the board itself only runs the clock, the dragging and the copying of
// digit settings from one fare digit to all of them.
class Form1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 487;
    static constexpr int kClientHeight = 269;
    static constexpr int kTwipsPerPixel = 15;

    Form1(KobuRes& library, Clock& clock, std::shared_ptr<GlyphSource> glyphs = {}, QWidget* parent = nullptr);
    ~Form1() override;

    M_Degit* Degit(int index) const { return degit_.at(static_cast<size_t>(index)); }
    QLabel* lblSeiriNum(int index) const { return seiriNum_.at(static_cast<size_t>(index)); }
    M_Degit* TimeDegit(int index) const { return timeDegit_.at(static_cast<size_t>(index)); }
    ChimeiCtl_B* ChimeiCtl() const { return chimei_; }
    QTimer& Timer1() { return timer1_; }

    // The panel picture behind everything, and the three pictures the backlight switch picks from.
    const QImage& Picture() const { return picture_; }
    void setPicture(const QImage& picture);
    const QImage& imgRes(int index) const { return imgRes_.at(static_cast<size_t>(index)); }
    void setImgRes(int index, const QImage& picture);

    // The console is disabled while a digit's settings dialog is open, so no fare step can run
    // underneath it; the Application connects this to the console.
    void setConsoleEnabler(std::function<void(bool)> enable) { consoleEnabler_ = std::move(enable); }

    // Text colour (0x00BBGGRR) of the ticket-number labels 1..24, as the backlight lights them.
    void setSeiriNumColour(int32_t colour);
    // The three colours of the fare and clock digits: background, unlit and lit segments.
    static void setDigitColours(M_Degit* digit, int32_t back, int32_t unlit, int32_t lit);
    void setFareAndClockColours(int32_t back, int32_t unlit, int32_t lit);

    // Clips the window to its client rectangle.
    void ShapeToClient();

    // Window place in twips, to and from the settings store.
    void GetFormInfo(SettingsStore& store) const;
    void SetFormInfo(const SettingsStore& store);
    // The window owns its region; the console's shutdown calls this and nothing is to be done.
    void DeleteRgn() {}

    // One clock tick: hours and minutes of the current time into the clock digits.
    void Timer1_Timer();
    // The time the clock shows comes from `source` while one is set (a timetable run's
    // simulated time), from the host again when it is null; the look stays the same.
    void setClockSource(const Clock* source) { clockSource_ = source; }
    // A double-click on a fare digit: its settings dialog, then the chosen zero rules for all 24.
    void Degit_DblClick(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Clock& clock_;
    const Clock* clockSource_ = nullptr;
    QImage picture_;
    std::array<QImage, 3> imgRes_;
    std::array<M_Degit*, 25> degit_{};
    std::array<QLabel*, 25> seiriNum_{};
    std::array<M_Degit*, 2> timeDegit_{};
    ChimeiCtl_B* chimei_ = nullptr;
    QTimer timer1_;
    std::function<void(bool)> consoleEnabler_;
    // Where the left button grabbed the window, from the press to the release.
    std::optional<QPoint> dragOffset_;
    QPoint pressedAt_;
    enum class Drag { Pressed, ByWindowManager, ByHand } drag_ = Drag::Pressed;
};

// Twips from pixels and back, rounded to the nearest whole twip / pixel.
int pixelsToTwips(int pixels);
int twipsToPixels(int twips);

}  // namespace fareboard
