#pragma once

#include <QRect>
#include <QSize>

// Anchor flags of a laid-out control: which window edges it keeps its distance to.
enum AnchorFlags : int {
    kAnchorTop = 1,
    kAnchorLeft = 2,
    kAnchorRight = 4,
    kAnchorBottom = 8,
};

// Where a control registered at `registered` inside a client area of `registeredClient`
// goes when the client area becomes `currentClient`. Anchored to the right or bottom it
// keeps its distance to that edge; anchored to both opposite edges it stretches; anchored
// to neither it keeps its size and place.
QRect AnchoredRect(const QRect& registered, const QSize& registeredClient, const QSize& currentClient, int anchors);
