#pragma once
// Where an MDI child's normal geometry may lie: inside the area it belongs
// to, so its title bar and buttons can always be reached. A window larger
// than the area is cut to the area's size, never below its least usable size
// (its minimum size hint, at least 240 x 160 pixels); one that still does not
// fit sits at the area's top left and the area scrolls to it.
#include <QRect>

class QMdiSubWindow;

namespace platform {

// The smallest size a child shows in the normal state.
QSize LeastNormalSize(const QMdiSubWindow& window);

// `window` moved (and cut) to lie inside an area of size `area`.
QRect FitInArea(const QRect& window, const QSize& area, const QSize& least);

// The normal geometry of a child two thirds of its area's size.
QSize NormalChildSize(const QMdiSubWindow& window, const QSize& area);

// Moves a child in the normal state into its area; does nothing while it is
// minimized or maximized, or while the area is not shown (its size is not
// known yet then).
void KeepInArea(QMdiSubWindow& window);

}  // namespace platform
