#pragma once

#include <QColor>
#include <QtGlobal>

class QWidget;

// Stored colours hold red in the low byte, then green, then blue.
inline QColor ColorFromRef(quint32 ref) { return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF)); }
inline quint32 RefFromColor(const QColor& c) {
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

// The colours every dialog but the main window shares: the window background and the
// caption colour of static texts. Edit fields keep the system's colours.
void ApplySharedDialogColors(QWidget* dialog);
// List boxes of those dialogs show values: value text on the value background.
void ApplyListBoxColors(QWidget* list);
