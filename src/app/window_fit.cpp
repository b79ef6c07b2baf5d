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

QPoint BesideMainWindow(const QRect &mainFrame, QSize windowFrame, const QRect &available) {
    const int w = windowFrame.width(), h = windowFrame.height();
    int x;
    if (mainFrame.right() + 1 + w <= available.right() + 1)
        x = mainFrame.right() + 1;
    else if (mainFrame.left() - w >= available.left())
        x = mainFrame.left() - w;
    else
        x = mainFrame.center().x() - w / 2; // no room beside it: the values cover the page
    const int y = mainFrame.top();
    x = std::clamp(x, available.left(), std::max(available.left(), available.right() + 1 - w));
    return {x, std::clamp(y, available.top(), std::max(available.top(), available.bottom() + 1 - h))};
}
