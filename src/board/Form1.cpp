#include "Form1.h"

#include "board/BoardLayout.h"
#include "board/BuiltinPanel.h"
#include "board/SettingsStore.h"
#include "controls/digit/M_Degit.h"
#include "controls/stopname/ChimeiCtl_B.h"
#include "platform/Clock.h"
#include "platform/OleColor.h"
#include "platform/Typefaces.h"
#include "platform/WindowMove.h"
#include "platform/WindowPlacement.h"

#include <QApplication>
#include <QLabel>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <cmath>

namespace fareboard {

int pixelsToTwips(int pixels) { return pixels * Form1::kTwipsPerPixel; }
int twipsToPixels(int twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / Form1::kTwipsPerPixel));
}

Form1::Form1(KobuRes& library, Clock& clock, std::shared_ptr<GlyphSource> glyphs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), clock_(clock)
{
    setObjectName(QStringLiteral("Form1"));
    setFixedSize(kClientWidth, kClientHeight);
    // The panel picture covers the whole client area; nothing needs erasing underneath.
    setAttribute(Qt::WA_OpaquePaintEvent);

    using namespace BoardLayout;
    auto makeDegit = [&](const QString& name, const QRect& place) {
        auto* d = new M_Degit(library, this);
        d->setObjectName(name);
        d->setGeometry(place);
        return d;
    };
    degit_[0] = makeDegit(QStringLiteral("Degit(0)"), kDegit0Rect);
    for (int i = 1; i <= 24; ++i) {
        M_Degit* d = makeDegit(QStringLiteral("Degit(%1)").arg(i), degitRect(i));
        // The fare digits are three large cells in the board's own segment face.
        d->setKeta(kFareDigits);
        d->setDegitSize(2);
        d->setDegitStyle(1);
        d->setGeometry(degitRect(i));
        degit_[static_cast<size_t>(i)] = d;
        connect(d, &M_Degit::DblClick, this, [this, i] { Degit_DblClick(i); });
    }
    for (int i = 0; i < 2; ++i) {
        M_Degit* t = makeDegit(QStringLiteral("TimeDegit(%1)").arg(i), kTimeDegitRect[i]);
        t->setKeta(2);
        // A clock reads 21:05, not 21: 5; the hours keep no leading zero. Its zeros are real
        // time (0 o'clock, full hours), so no zero rule blanks them; the empty text of the
        // display-clear switch still shows dark.
        t->setZeroMode(-1);
        if (i == 1)
            t->setFillZero(2);
        t->setGeometry(kTimeDegitRect[i]);
        timeDegit_[static_cast<size_t>(i)] = t;
    }

    for (int i = 0; i <= 24; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("lblSeiriNum(%1)").arg(i));
        label->setGeometry(i == 0 ? kSeiriNum0Rect : seiriNumRect(i));
        label->setAlignment(Qt::AlignCenter);
        label->setFont(typeface(Typeface::NumC2, 9));
        label->setAttribute(Qt::WA_TranslucentBackground);
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, Qt::white);
        label->setPalette(pal);
        seiriNum_[static_cast<size_t>(i)] = label;
    }

    chimei_ = new ChimeiCtl_B(this, std::move(glyphs));
    chimei_->setObjectName(QStringLiteral("ChimeiCtl"));
    chimei_->setGeometry(kChimeiRect);

    timer1_.setObjectName(QStringLiteral("Timer1"));
    timer1_.setInterval(1000);
    connect(&timer1_, &QTimer::timeout, this, &Form1::Timer1_Timer);
    timer1_.start();

    const QImage panel = builtinPanel();
    imgRes_[0] = panel;
    picture_ = panel;
}

Form1::~Form1() = default;

void Form1::setPicture(const QImage& picture)
{
    picture_ = picture;
    update();
}

void Form1::setImgRes(int index, const QImage& picture) { imgRes_.at(static_cast<size_t>(index)) = picture; }

void Form1::setSeiriNumColour(int32_t colour)
{
    const QColor text = oleColorToQColor(colour);
    for (int i = 1; i <= 24; ++i) {
        QLabel* label = lblSeiriNum(i);
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, text);
        label->setPalette(pal);
    }
}

void Form1::setDigitColours(M_Degit* digit, int32_t back, int32_t unlit, int32_t lit)
{
    digit->setBackColor(back);
    digit->setBaseForeColor(unlit);
    digit->setDegitForeColor(lit);
}

void Form1::setFareAndClockColours(int32_t back, int32_t unlit, int32_t lit)
{
    for (int i = 1; i <= 24; ++i)
        setDigitColours(Degit(i), back, unlit, lit);
    for (M_Degit* t : timeDegit_)
        setDigitColours(t, back, unlit, lit);
}

void Form1::ShapeToClient()
{
    setMask(QRegion(0, 0, kClientWidth, kClientHeight));
    update();
}

void Form1::GetFormInfo(SettingsStore& store) const
{
    store.Board.BoardLeft = pixelsToTwips(frameGeometry().x());
    store.Board.BoardTop = pixelsToTwips(frameGeometry().y());
}

void Form1::SetFormInfo(const SettingsStore& store)
{
    placeOuterFrameWithinReach(this, QPoint(twipsToPixels(store.Board.BoardLeft), twipsToPixels(store.Board.BoardTop)));
}

void Form1::Timer1_Timer()
{
    const QString now = (clockSource_ ? *clockSource_ : clock_).timeText();  // "HH:mm:ss"
    timeDegit_[0]->setValue(static_cast<int16_t>(now.mid(0, 2).toShort()));
    timeDegit_[1]->setValue(static_cast<int16_t>(now.mid(3, 2).toShort()));
}

void Form1::Degit_DblClick(int index)
{
    M_Degit* source = Degit(index);
    if (!source->UserSet())
        return;
    if (consoleEnabler_)
        consoleEnabler_(false);
    if (source->ShowSetDlg() == 1) {
        const int16_t zeroMode = source->ZeroMode();
        const int16_t shift = source->Shift();
        const int16_t fillZero = source->FillZero();
        for (int j = 1; j <= 24; ++j) {
            M_Degit* d = Degit(j);
            // The zero rules only show at the next value, so the value is assigned again.
            const DegitValue value = d->Value();
            d->setShift(shift);
            d->setFillZero(fillZero);
            d->setZeroMode(zeroMode);
            d->setValue(value);
        }
    }
    if (consoleEnabler_)
        consoleEnabler_(true);
}

void Form1::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, picture_);
}

void Form1::closeEvent(QCloseEvent* event)
{
    // The board has no close control: the program ends at the console, which asks first and
    // saves the settings. A close from the window manager (Alt+F4) would leave it running
    // without its board.
    event->ignore();
}

void Form1::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // A move the window manager took ends without a release here; this press starts afresh.
    dragOffset_.reset();
    // Presses that a digit, a label or the stop-name column passes on are theirs, not a drag:
    // the window manager's move grab would swallow the second press of a double-click.
    if (childAt(event->position().toPoint()))
        return;
    pressedAt_ = event->globalPosition().toPoint();
    dragOffset_ = pressedAt_ - frameGeometry().topLeft();
    drag_ = Drag::Pressed;
}

void Form1::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragOffset_ || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint at = event->globalPosition().toPoint();
    if (drag_ == Drag::Pressed) {
        // A click is not a move: the window manager is asked only once the held button has
        // moved the pointer, and it moves the window as if its caption were dragged. Without
        // one (a bare X server) the board follows the mouse by hand.
        if ((at - pressedAt_).manhattanLength() < QApplication::startDragDistance())
            return;
        switch (startWindowMove(windowHandle())) {
        case WindowMove::ByWindowManager:
            drag_ = Drag::ByWindowManager;
            return;
        case WindowMove::ByHand:
            drag_ = Drag::ByHand;
            break;
        case WindowMove::Over:
            dragOffset_.reset();
            return;
        }
    }
    if (drag_ == Drag::ByHand)
        move(at - *dragOffset_);
}

void Form1::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // A release seen here came before the window manager took the pointer: the move it was
    // asked for ends now, not at some later click.
    if (dragOffset_ && drag_ == Drag::ByWindowManager)
        cancelWindowMove(windowHandle());
    dragOffset_.reset();
    drag_ = Drag::Pressed;
}

}  // namespace fareboard
