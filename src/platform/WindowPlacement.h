#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QWidget;

namespace fareboard {

// Where a window's outer frame (borders and title bar included) should stand, given the
// frame's size.
using FramePlace = std::function<QPoint(const QSize& outer)>;

// Puts the top-level window's outer frame where `place` says. A window manager frames a
// freshly shown window only a moment later; until then Qt takes a move for the client area,
// which would leave the frame a title bar higher than asked. So for a short while the place
// is applied again whenever the window is moved or its frame changes. A later call replaces
// an earlier one.
void placeOuterFrame(QWidget* window, FramePlace place);

// The outer frame at a fixed place.
void placeOuterFrame(QWidget* window, const QPoint& topLeft);

// Where the outer frame `frame` can stand so that the user can reach it: where it is, when a
// screen shows its top edge (the title bar) and at least 100 pixels of it down and across;
// else moved inside the screen it overlaps most (the first one when it overlaps none).
QPoint reachablePlace(const QRect& frame, const QList<QRect>& screens);

// The outer frame at a stored place, or inside the current screens when that place cannot be
// reached there (a window saved on a screen that is gone, or off its edge).
void placeOuterFrameWithinReach(QWidget* window, const QPoint& topLeft);

}  // namespace fareboard
