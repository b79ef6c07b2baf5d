#include "window_fit.h"

#include <algorithm>

QSize FitWindowSize(QSize design, QSize layoutMinimum, const QRect &available, const QMargins &frame) {
    const QSize wanted = design.expandedTo(layoutMinimum);
    const QSize room(available.width() - frame.left() - frame.right(),
                     available.height() - frame.top() - frame.bottom());
    return wanted.boundedTo(room.expandedTo(QSize(1, 1)));
}

QPoint FitWindowFramePos(QSize size, const QRect &available, const QMargins &frame) {
    const int outerW = size.width() + frame.left() + frame.right();
    const int outerH = size.height() + frame.top() + frame.bottom();
    const int x = available.left() + (available.width() - outerW) / 2;
    const int y = available.top() + (available.height() - outerH) / 2;
    return {std::max(x, available.left()), std::max(y, available.top())};
}
