#include "ChimeiCtl_B.h"

#include "ChimeiLayout.h"
#include "platform/OleColor.h"
#include "VerticalForm.h"
#include "extlib/ByteText.h"
#include "platform/glyphs/HostGlyphSource.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace fareboard {
namespace {

// What a window holding the control stores when nothing else was chosen.
constexpr int32_t kStoredBackColor = 8421504;  // grey 128
constexpr int32_t kStoredForeColor = 48895;    // amber
constexpr int16_t kStoredSpeed = 5;
constexpr int32_t kStoredScrollStartWait = 1500;
constexpr int16_t kStoredMode = 2;
constexpr int16_t kStoredAppearance = 1;
constexpr int16_t kStoredFontMode = 0;
constexpr bool kStoredFontBold = false;

// After a stall (a modal dialog, a suspended machine) the scroll carries on from where it was
// rather than jumping ahead by the time it missed.
constexpr double kMaxCatchUpMs = 250;

constexpr double kFallbackRefreshRate = 60;

}  // namespace

ChimeiCtl_B::ChimeiCtl_B(QWidget* parent, std::shared_ptr<GlyphSource> glyphs)
    : QWidget(parent), glyphs_(std::move(glyphs)), cell_(kCellSize, kCellSize, QImage::Format_RGB32)
{
    if (!glyphs_)
        glyphs_ = std::make_shared<HostGlyphSource>();
    strip_ = QImage(kStripWidth, kChimeiColumnHeight, QImage::Format_RGB32);
    clearStrip();
    // The window takes the strip's background from the start.
    windowBack_ = stripBack_;
    cell_.fill(Qt::white);
    resize(windowSize_);

    sinceCreation_.start();
    clock_ = [this] { return sinceCreation_.nsecsElapsed() / 1e6; };
    frameTimer_.setTimerType(Qt::PreciseTimer);
    connect(&frameTimer_, &QTimer::timeout, this, &ChimeiCtl_B::scrollFrame);
}

ChimeiCtl_B::~ChimeiCtl_B() = default;

void ChimeiCtl_B::setBackColor(int32_t value)
{
    stripBack_ = value;
    clearStrip();
    windowBack_ = stripBack_;
    update();
    emit PropertyChanged(QStringLiteral("BackColor"));
}

void ChimeiCtl_B::setForeColor(int32_t value)
{
    stripFore_ = value;
    emit PropertyChanged(QStringLiteral("ForeColor"));
}

void ChimeiCtl_B::setSpeed(int16_t value)
{
    speed_ = value;
    emit PropertyChanged(QStringLiteral("Speed"));
}

void ChimeiCtl_B::setScrollStartWait(int32_t value)
{
    scrollStartWait_ = value;
    emit PropertyChanged(QStringLiteral("ScrollStartWait"));
}

void ChimeiCtl_B::setMode(int16_t value)
{
    mode_ = value;
    emit PropertyChanged(QStringLiteral("Mode"));
}

void ChimeiCtl_B::setAppearance(int16_t value)
{
    windowStyle_ = value;
    emit PropertyChanged(QStringLiteral("Appearance"));
    // Re-applying the background is what erases the dots, as a change of style does.
    clearStrip();
    windowBack_ = stripBack_;
    windowSize_ = value != 0 ? QSize(37, 195) : QSize(35, 185);
    updateGeometry();
    update();
}

void ChimeiCtl_B::setFontMode(int16_t value)
{
    fontMode_ = value;
    emit PropertyChanged(QStringLiteral("FontMode"));
}

void ChimeiCtl_B::setFontBold(bool value)
{
    fontBold_ = value;
    emit PropertyChanged(QStringLiteral("FontBold"));
}

void ChimeiCtl_B::SetChimei(const QString& name)
{
    // Pending events run here and below, and one of them may set another name (a data step
    // clicked meanwhile). The later name wins: this call then leaves the column to it.
    const unsigned call = ++setChimeiCalls_;
    QCoreApplication::processEvents();
    if (call != setChimeiCalls_)
        return;
    // The previous name's scroll must not move the strip once it holds the new name.
    stopScroll();
    clearStrip();
    windowBack_ = stripBack_;
    if (name.isEmpty()) {
        showStripAt(0);
        update();
        return;
    }

    resizeStrip(kChimeiColumnHeight);
    stripTop_ = windowSize_.height();
    const int characters = LenB_ASCII(name) / 2;
    const ChimeiLayout layout = chimeiLayout(characters, mode_);
    resizeStrip(layout.stripHeight);
    if (!layout.scrolls)
        stripTop_ = 0;

    // One unit per byte: the units past the last character are empty and draw nothing.
    const QStringList units = chimeiUnits(name);
    for (int i = 0; i < units.size(); ++i) {
        QString unit = units.at(i);
        DrawDot16(2, layout.firstTop + i * layout.pitch, unit);
    }
    update();

    QCoreApplication::processEvents();
    if (call != setChimeiCalls_)
        return;
    stopScroll();
    if (layout.scrolls)
        startScroll();
}

void ChimeiCtl_B::DrawDot16(int x, int y, QString& character)
{
    cell_.fill(Qt::white);
    if (character.isEmpty())
        return;
    const VerticalForm form = verticalForm(character, fontMode_);
    character = form.text;
    glyphs_->drawText(cell_, form.offset, form.text, chimeiFace(form.text, fontMode_), fontBold_);

    // Only pure black is ink: a grey edge left by a smoothing font would blur the dots.
    const QRgb dot = oleColorToQColor(stripFore_).rgb();
    for (int c = 0; c < kCellSize; ++c) {
        for (int r = 0; r < kCellSize; ++r) {
            if ((cell_.pixel(c, r) & 0xFFFFFF) != 0)
                continue;
            const int sx = x + 2 * (form.transposed ? r : c);
            const int sy = y + 2 * (form.transposed ? c : r);
            if (sx >= 0 && sx < strip_.width() && sy >= 0 && sy < strip_.height())
                strip_.setPixel(sx, sy, dot);
        }
    }
}

void ChimeiCtl_B::Refresh() { update(); }

void ChimeiCtl_B::ReadProperties(const QVariantMap& stored)
{
    stripBack_ = stored.value(QStringLiteral("BackColor"), kStoredBackColor).toInt();
    clearStrip();
    windowBack_ = stripBack_;
    stripFore_ = stored.value(QStringLiteral("ForeColor"), kStoredForeColor).toInt();
    speed_ = static_cast<int16_t>(stored.value(QStringLiteral("Speed"), kStoredSpeed).toInt());
    scrollStartWait_ = stored.value(QStringLiteral("ScrollStartWait"), kStoredScrollStartWait).toInt();
    mode_ = static_cast<int16_t>(stored.value(QStringLiteral("Mode"), kStoredMode).toInt());
    windowStyle_ = static_cast<int16_t>(stored.value(QStringLiteral("Appearance"), kStoredAppearance).toInt());
    fontMode_ = static_cast<int16_t>(stored.value(QStringLiteral("FontMode"), kStoredFontMode).toInt());
    fontBold_ = stored.value(QStringLiteral("FontBold"), kStoredFontBold).toBool();
    update();
}

QList<QPair<QString, QVariant>> ChimeiCtl_B::WriteProperties() const
{
    QList<QPair<QString, QVariant>> out;
    auto put = [&out](const char* key, const QVariant& value, const QVariant& stored) {
        if (value != stored)
            out.append({QString::fromLatin1(key), value});
    };
    put("BackColor", stripBack_, kStoredBackColor);
    put("ForeColor", stripFore_, kStoredForeColor);
    put("Speed", int(speed_), int(kStoredSpeed));
    put("ScrollStartWait", scrollStartWait_, kStoredScrollStartWait);
    put("Mode", int(mode_), int(kStoredMode));
    put("Appearance", int(windowStyle_), int(kStoredAppearance));
    put("FontMode", int(fontMode_), int(kStoredFontMode));
    put("FontBold", fontBold_, kStoredFontBold);
    return out;
}

void ChimeiCtl_B::setScrollClock(std::function<double()> nowMs)
{
    clock_ = std::move(nowMs);
    lastFrameMs_ = clock_();
}

void ChimeiCtl_B::scrollFrame()
{
    if (!scroll_.running()) {
        frameTimer_.stop();
        return;
    }
    const double now = clock_();
    const double ms = std::clamp(now - lastFrameMs_, 0.0, scroll_.waitLeftMs() + kMaxCatchUpMs);
    lastFrameMs_ = now;

    // Speed and the wait are read anew at every frame, so the console's sliders act at once.
    const ChimeiScroll::Advance a = scroll_.advance(ms, scrollInputs());
    if (a.startWaitEnded) {
        // A scroll at speed 0 would never move; the correction goes through the setter so the
        // stored settings learn of it.
        if (speed_ == 0)
            setSpeed(1);
        scroll_.advance(a.unusedMs, scrollInputs());
    }
    showStripAt(scroll_.top());
    armFrameTimer();
}

void ChimeiCtl_B::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect window(QPoint(0, 0), windowSize_);
    p.setClipRect(window & event->rect());
    p.fillRect(window, oleColorToQColor(windowBack_));
    p.drawImage(QPoint(0, stripTop_), strip_);
}

void ChimeiCtl_B::clearStrip() { strip_.fill(oleColorToQColor(stripBack_)); }

void ChimeiCtl_B::resizeStrip(int height)
{
    if (height == strip_.height())
        return;
    // The strip keeps what is drawn on it; new rows get its background.
    QImage grown(kStripWidth, height, QImage::Format_RGB32);
    if (grown.isNull())
        return;  // a name too long to hold in memory: draw what fits on the old strip
    grown.fill(oleColorToQColor(stripBack_));
    QPainter p(&grown);
    p.drawImage(QPoint(0, 0), strip_);
    p.end();
    strip_ = std::move(grown);
}

void ChimeiCtl_B::showStripAt(int top)
{
    if (top == stripTop_)
        return;
    stripTop_ = top;
    update(QRect(QPoint(0, 0), windowSize_));
}

void ChimeiCtl_B::startScroll()
{
    scroll_.start(windowSize_.height(), scrollStartWait_);
    showStripAt(scroll_.top());
    update();
    lastFrameMs_ = clock_();
    armFrameTimer();
}

void ChimeiCtl_B::stopScroll()
{
    scroll_.stop();
    frameTimer_.stop();
}

void ChimeiCtl_B::armFrameTimer()
{
    if (!scroll_.running()) {
        frameTimer_.stop();
        return;
    }
    int interval;
    if (scroll_.waiting()) {
        // Nothing moves during a wait: sleep through it instead of ticking at the frame rate.
        interval = std::max(1, static_cast<int>(std::ceil(scroll_.waitLeftMs())));
    } else {
        const QScreen* s = screen();
        const double rate = s && s->refreshRate() > 1 ? s->refreshRate() : kFallbackRefreshRate;
        interval = std::max(1, static_cast<int>(std::lround(1000.0 / rate)));
    }
    if (!frameTimer_.isActive() || frameTimer_.interval() != interval)
        frameTimer_.start(interval);
}

ScrollInputs ChimeiCtl_B::scrollInputs() const
{
    return {speed_, scrollStartWait_, windowSize_.height(), strip_.height()};
}

}  // namespace fareboard
