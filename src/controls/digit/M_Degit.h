#pragma once

#include "controls/digit/DegitFace.h"
#include "controls/digit/DegitGeometry.h"
#include "controls/digit/DegitValue.h"

#include <QImage>
#include <QList>
#include <QPair>
#include <QVariantMap>
#include <QWidget>

#include <cstdint>
#include <optional>

namespace fareboard {

class KobuRes;

// A row of segment-display digit cells showing a value right-aligned, with the unlit segments
// of every cell visible in a dim colour. The board's fares and clock and the options dialog's
// preview are made of these.
//
// Setters store, then report the change with propertyChanged(name), then do their follow-up.
// The picture is made only when a property that affects it changes; FillZero, ZeroMode and
// Shift take effect at the next redraw (callers assign Value again). Because those three are
// limited by Keta, Keta is set before them.
class M_Degit : public QWidget {
    Q_OBJECT
public:
    // Property defaults of a new control; the stored form omits a value equal to its default.
    static constexpr int32_t kDefaultBaseForeColor = 0x969696;
    static constexpr int32_t kDefaultDegitForeColor = 0x72D2F8;
    static constexpr int32_t kDefaultBackColor = 0x808080;
    static constexpr int16_t kDefaultKeta = 4;

    // The stored properties in the order they are written.
    using SavedProperties = QList<QPair<QString, QVariant>>;

    // `library` answers the settings dialog and must outlive the control. The render variant
    // is fixed for the control's life; every current host uses the modern one.
    explicit M_Degit(KobuRes& library, QWidget* parent = nullptr,
                     DegitRenderVariant variant = DegitRenderVariant::modern());

    // Colours are 0x00BBGGRR.
    int32_t BaseForeColor() const { return baseForeColor_; }
    void setBaseForeColor(int32_t color);
    int32_t DegitForeColor() const { return degitForeColor_; }
    void setDegitForeColor(int32_t color);
    int32_t BackColor() const { return backColor_; }
    void setBackColor(int32_t color);  // clears the picture to the new colour, then redraws

    int16_t FillZero() const { return fillZero_; }
    void setFillZero(int16_t digits);  // above Keta becomes Keta
    int16_t ZeroMode() const { return zeroMode_; }
    void setZeroMode(int16_t mode);  // 4 or more becomes 0; negative values apply no zero rule
    int16_t Shift() const { return shift_; }
    void setShift(int16_t cells);  // limited to 0 .. Keta - 1

    int16_t Keta() const { return keta_; }
    void setKeta(int16_t cells);  // outside 1..15 becomes 4; resizes and redraws
    int16_t DegitSize() const { return degitSize_; }
    void setDegitSize(int16_t size);  // outside 1..3 becomes 0; resizes and redraws
    int16_t DegitStyle() const { return degitStyle_; }
    void setDegitStyle(int16_t style);  // redraws

    const DegitValue& Value() const { return value_; }
    void setValue(const DegitValue& value);  // kept exactly as given; redraws

    bool UserSet() const { return userSet_; }
    void setUserSet(bool allowed);

    // The window that owns the control's dialogs.
    QWidget* hwnd() { return this; }
    DegitRenderVariant renderVariant() const { return variant_; }

    // Runs the library's digit settings dialog for this control and stores the three values it
    // returns as they are (no limits, no change report), redraws, and returns the library's
    // result: 1 when the user accepted.
    int32_t ShowSetDlg();

    // Lights every segment of every cell (mode -1) or darkens them all (any other mode),
    // regardless of the zero rules, fill and shift, which are kept as they were.
    void ResetDegit(int16_t mode);

    // Restores stored properties (missing keys take their defaults) as they are, without limits,
    // resizing or redrawing: the holder gives the size, and the first assignment that redraws
    // draws the first picture.
    void ReadProperties(const QVariantMap& stored);
    SavedProperties WriteProperties() const;

    // Keta cells of DegitSize, for layouts that place the control.
    QSize sizeHint() const override;

    // The picture the control shows; it changes only when a redraw runs.
    const QImage& surface() const;

signals:
    void propertyChanged(const QString& name);
    void DblClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Redraw();
    void resizeToCells();
    void matchSurfaceToSize();
    void clearSurface();
    void paintPending() const;

    KobuRes& library_;
    DegitRenderVariant variant_;
    int32_t baseForeColor_ = kDefaultBaseForeColor;
    int32_t degitForeColor_ = kDefaultDegitForeColor;
    int32_t backColor_ = kDefaultBackColor;
    int16_t fillZero_ = 0;
    int16_t zeroMode_ = 0;
    int16_t shift_ = 0;
    int16_t keta_ = kDefaultKeta;
    int16_t degitSize_ = 0;
    int16_t degitStyle_ = 0;
    DegitValue value_ = int16_t(0);
    bool userSet_ = true;

    // A redraw is painted when the picture is first looked at (shown, grabbed, asked for), not
    // when it is asked for: setting up a control sets several properties that each redraw, and
    // a board of 27 controls would paint each one many times before its window is even mapped.
    // What it paints is taken when the redraw is asked for, since properties that do not redraw
    // (Shift, ZeroMode, FillZero) must not show until the next redraw.
    struct PendingDraw {
        int16_t style;
        int16_t size;
        QString text;
        int keta;
        QColor back, base, lit;
    };
    mutable std::optional<PendingDraw> pending_;
    mutable QImage surface_;
    // The face in use, made again only when the style or size changes.
    mutable std::optional<DegitFace> face_;
};

}  // namespace fareboard
