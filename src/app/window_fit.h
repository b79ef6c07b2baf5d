#pragma once
// How big the main window opens and where, so that it fits the screen it opens on:
// the design size at the usual font, larger when a larger font needs more room, and
// never larger than the screen (the contents then scroll), with the title bar and the
// menu on the screen.
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

// The window's own size (frame excluded). `layoutMinimum`: what the contents need
// without cutting a caption; `frame`: the title bar and borders around it.
QSize FitWindowSize(QSize design, QSize layoutMinimum, const QRect &available, const QMargins &frame);
// The top-left corner of the frame: centred on `available`, but never above or left of it.
QPoint FitWindowFramePos(QSize size, const QRect &available, const QMargins &frame);
// Where a compare window opens: to the right of the main window when the screen has
// room for both, else to its left, else over the main window's centre; always inside
// `available`. Rects and sizes include the frames; the result is the frame's corner.
QPoint BesideMainWindow(const QRect &mainFrame, QSize windowFrame, const QRect &available);
