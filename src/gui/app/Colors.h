#pragma once

#include "controls/ColorRef.h"

class QWidget;

// The colours every dialog but the main window shares: the window background and the
// caption colour of static texts. Edit fields keep the system's colours.
void ApplySharedDialogColors(QWidget* dialog);
// List boxes of those dialogs show values: value text on the value background.
void ApplyListBoxColors(QWidget* list);
