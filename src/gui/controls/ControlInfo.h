#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

// One control laid out by CCtrlResize: its number, its anchors (AnchorFlags) and its
// rectangle in the window's client coordinates when the layout was fixed.
struct CControlInfo {
    int id = 0;
    int anchors = 0;
    QRect rect;
    QPointer<QWidget> control;
};
