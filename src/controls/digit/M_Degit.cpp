#include "M_Degit.h"

#include "controls/digit/DegitText.h"
#include "extlib/KobuRes.h"
#include "platform/OleColor.h"

#include <QMouseEvent>
#include <QPainter>

namespace fareboard {

M_Degit::M_Degit(KobuRes& library, QWidget* parent, DegitRenderVariant variant)
    : QWidget(parent), library_(library), variant_(variant)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // The picture is opaque and covers the whole control.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A new control starts as its holder would size it by default: Keta cells of DegitSize.
    // Nothing is drawn until the first assignment that redraws; until then it shows BackColor.
    const DegitCellSize cell = degitCellSize(degitSize_);
    resize(keta_ * cell.width, cell.height);
    matchSurfaceToSize();
    clearSurface();
}

void M_Degit::setBaseForeColor(int32_t color)
{
    baseForeColor_ = color;
    emit propertyChanged(QStringLiteral("BaseForeColor"));
    Redraw();
}

void M_Degit::setDegitForeColor(int32_t color)
{
    degitForeColor_ = color;
    emit propertyChanged(QStringLiteral("DegitForeColor"));
    Redraw();
}

void M_Degit::setBackColor(int32_t color)
{
    backColor_ = color;
    clearSurface();
    emit propertyChanged(QStringLiteral("BackColor"));
    Redraw();
}

void M_Degit::setFillZero(int16_t digits)
{
    // No lower limit: a negative fill means no fill when the text is made.
    fillZero_ = digits > keta_ ? keta_ : digits;
    emit propertyChanged(QStringLiteral("FillZero"));
}

void M_Degit::setZeroMode(int16_t mode)
{
    // Negative modes stay: they show the value with no zero rule at all.
    zeroMode_ = mode >= 4 ? int16_t(0) : mode;
    emit propertyChanged(QStringLiteral("ZeroMode"));
}

void M_Degit::setShift(int16_t cells)
{
    int16_t limited = cells > keta_ - 1 ? int16_t(keta_ - 1) : cells;
    if (limited < 0)
        limited = 0;
    shift_ = limited;
    emit propertyChanged(QStringLiteral("Shift"));
}

void M_Degit::setKeta(int16_t cells)
{
    // The holder hears of the value as given; the correction follows the report.
    keta_ = cells;
    emit propertyChanged(QStringLiteral("Keta"));
    if (keta_ < 1 || keta_ > 15)
        keta_ = kDefaultKeta;
    resizeToCells();
    Redraw();
}

void M_Degit::setDegitSize(int16_t size)
{
    degitSize_ = size;
    emit propertyChanged(QStringLiteral("DegitSize"));
    if (degitSize_ < 1 || degitSize_ > 3)
        degitSize_ = 0;
    resizeToCells();
    Redraw();
}

void M_Degit::setDegitStyle(int16_t style)
{
    degitStyle_ = style;
    emit propertyChanged(QStringLiteral("DegitStyle"));
    Redraw();
}

void M_Degit::setValue(const DegitValue& value)
{
    value_ = value;
    emit propertyChanged(QStringLiteral("Value"));
    Redraw();
}

void M_Degit::setUserSet(bool allowed)
{
    userSet_ = allowed;
    emit propertyChanged(QStringLiteral("UserSet"));
}

int32_t M_Degit::ShowSetDlg()
{
    int16_t zeroMode = zeroMode_;
    int16_t shift = shift_;
    int16_t fillZero = fillZero_;
    const int32_t result = library_.Call_dlg100(hwnd(), keta_, zeroMode, shift, fillZero);
    // The dialog's answer is taken whatever the result; the board copies it to the other
    // digits only on 1.
    zeroMode_ = zeroMode;
    shift_ = shift;
    fillZero_ = fillZero;
    Redraw();
    return result;
}

void M_Degit::ResetDegit(int16_t mode)
{
    const int16_t shift = shift_;
    const int16_t zeroMode = zeroMode_;
    const int16_t fillZero = fillZero_;
    setShift(0);
    setZeroMode(0);
    setFillZero(0);
    // A string of eights, not a number: a fill or zero rule could not change it, and it stays
    // the stored value afterwards.
    setValue(mode == -1 ? QString(keta_ > 0 ? keta_ : 0, u'8') : QString());
    setShift(shift);
    setZeroMode(zeroMode);
    setFillZero(fillZero);
}

void M_Degit::ReadProperties(const QVariantMap& stored)
{
    const auto i2 = [&](const char* key, int16_t fallback) {
        return int16_t(stored.value(QLatin1String(key), fallback).toInt());
    };
    const auto i4 = [&](const char* key, int32_t fallback) {
        return int32_t(stored.value(QLatin1String(key), fallback).toLongLong());
    };
    baseForeColor_ = i4("BaseForeColor", kDefaultBaseForeColor);
    degitForeColor_ = i4("DegitForeColor", kDefaultDegitForeColor);
    fillZero_ = i2("FillZero", 0);
    zeroMode_ = i2("ZeroMode", 0);
    shift_ = i2("Shift", 0);
    keta_ = i2("Keta", kDefaultKeta);
    degitSize_ = i2("DegitSize", 0);
    degitStyle_ = i2("DegitStyle", 0);
    const auto value = stored.constFind(QStringLiteral("Value"));
    value_ = value == stored.cend() ? DegitValue(int16_t(0)) : degitValueFromVariant(*value);
    userSet_ = stored.value(QStringLiteral("UserSet"), true).toBool();
    backColor_ = i4("BackColor", kDefaultBackColor);
    clearSurface();
}

M_Degit::SavedProperties M_Degit::WriteProperties() const
{
    SavedProperties saved;
    const auto write = [&](const char* key, const QVariant& value, bool isDefault) {
        if (!isDefault)
            saved.append({QLatin1String(key), value});
    };
    write("BaseForeColor", baseForeColor_, baseForeColor_ == kDefaultBaseForeColor);
    write("DegitForeColor", degitForeColor_, degitForeColor_ == kDefaultDegitForeColor);
    write("FillZero", QVariant::fromValue<short>(fillZero_), fillZero_ == 0);
    write("ZeroMode", QVariant::fromValue<short>(zeroMode_), zeroMode_ == 0);
    write("Shift", QVariant::fromValue<short>(shift_), shift_ == 0);
    write("Keta", QVariant::fromValue<short>(keta_), keta_ == kDefaultKeta);
    write("DegitSize", QVariant::fromValue<short>(degitSize_), degitSize_ == 0);
    write("DegitStyle", QVariant::fromValue<short>(degitStyle_), degitStyle_ == 0);
    // The default is the number 0; a number equal to it is left out, a text never is.
    const bool valueIsDefault =
        !std::holds_alternative<QString>(value_) && degitNumber(value_).value_or(0.0) == 0.0;
    write("Value", degitValueToVariant(value_), valueIsDefault);
    write("UserSet", userSet_, userSet_);
    write("BackColor", backColor_, backColor_ == kDefaultBackColor);
    return saved;
}

QSize M_Degit::sizeHint() const
{
    const DegitCellSize cell = degitCellSize(degitSize_);
    return {keta_ > 0 ? keta_ * cell.width : 0, cell.height};
}

const QImage& M_Degit::surface() const
{
    paintPending();
    return surface_;
}

void M_Degit::paintEvent(QPaintEvent*)
{
    paintPending();
    QPainter painter(this);
    painter.drawImage(0, 0, surface_);
}

void M_Degit::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    matchSurfaceToSize();
}

void M_Degit::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    emit DblClick();
}

void M_Degit::Redraw()
{
    matchSurfaceToSize();
    if (surface_.isNull())
        return;
    // The whole picture is painted anew, so a later redraw replaces one not yet painted.
    pending_ = PendingDraw{degitStyle_,
                           degitSize_,
                           degitDisplayText(value_, {zeroMode_, fillZero_, shift_, keta_}),
                           keta_,
                           oleColorToQColor(backColor_),
                           oleColorToQColor(baseForeColor_),
                           oleColorToQColor(degitForeColor_)};
    update();
}

void M_Degit::paintPending() const
{
    if (!pending_)
        return;
    const PendingDraw draw = std::move(*pending_);
    pending_.reset();
    const DegitCellSize cell = degitCellSize(draw.size);
    if (!face_ || face_->cell().width != cell.width || face_->cell().height != cell.height ||
        face_->familyName() != degitFontFamily(draw.style))
        face_.emplace(draw.style, draw.size, variant_);
    face_->paint(surface_, draw.text, draw.keta, draw.back, draw.base, draw.lit);
}

void M_Degit::resizeToCells()
{
    // Both callers redraw the whole picture right after; a redraw still waiting is not kept.
    pending_.reset();
    const DegitCellSize cell = degitCellSize(degitSize_);
    resize(keta_ * cell.width, cell.height);
    updateGeometry();
    matchSurfaceToSize();
}

void M_Degit::matchSurfaceToSize()
{
    // A hidden widget gets its resize event only when shown, so the surface follows size()
    // here rather than waiting for it. What was drawn stays; new area shows the background.
    const QSize wanted = size();
    if (surface_.size() == wanted)
        return;
    paintPending();  // what was asked for at the old size is what the new area keeps
    if (wanted.isEmpty()) {
        surface_ = QImage();  // a control of no cells has nothing to show
        return;
    }
    QImage resized(wanted, QImage::Format_RGB32);
    resized.fill(oleColorToQColor(backColor_));
    if (!surface_.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, surface_);
    }
    surface_ = resized;
}

void M_Degit::clearSurface()
{
    pending_.reset();  // it would be painted over at once
    if (!surface_.isNull())
        surface_.fill(oleColorToQColor(backColor_));
}

}  // namespace fareboard
