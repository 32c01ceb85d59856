#pragma once

#include <QColor>
#include <QtGlobal>

// Stored colours hold red in the low byte, then green, then blue.
inline QColor ColorFromRef(quint32 ref) { return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF)); }
inline quint32 RefFromColor(const QColor& c) {
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}
