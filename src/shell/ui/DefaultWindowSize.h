#pragma once

#include <QRect>
#include <QSize>

// A database window's size when none is stored, from the screen's free area (`available`, without panels): most
// of a large screen, never less than the window's usual size where the screen has room for it, and on a small
// screen what fits with a margin on every side under a title bar `titleBarHeight` high; never under the window's
// minimum size.
QSize defaultWindowSize(const QRect& available, int titleBarHeight);
