#include "indicators/AnchorLayout.h"

QRect AnchoredRect(const QRect& registered, const QSize& registeredClient, const QSize& currentClient, int anchors) {
    // Edges as exclusive right/bottom, the way the layout rules are written.
    int left = registered.left();
    int top = registered.top();
    int right = left + registered.width();
    int bottom = top + registered.height();
    if (anchors & kAnchorRight) right = currentClient.width() + (right - registeredClient.width());
    if (anchors & kAnchorBottom) bottom = currentClient.height() + (bottom - registeredClient.height());
    if (!(anchors & kAnchorTop)) top = bottom - registered.height();
    if (!(anchors & kAnchorLeft)) left = right - registered.width();
    return QRect(left, top, right - left, bottom - top);
}
