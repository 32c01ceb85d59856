#pragma once

#include <QImage>

class QWidget;

// A picture of a top-level window as the user sees it: a caption bar with the window's
// icon and title above its contents. Without a window manager (a screenshot run under
// xvfb) nobody else draws that bar.
QImage WindowPicture(QWidget* window);
