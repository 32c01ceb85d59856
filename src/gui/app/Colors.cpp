#include "app/Colors.h"

#include <QPalette>
#include <QWidget>

#include "app/AppCore.h"

void ApplySharedDialogColors(QWidget* dialog) {
    const CAppCore* app = CAppCore::Instance();
    if (!app || !dialog) return;
    const CSettings& s = app->Settings;
    QPalette pal = dialog->palette();
    pal.setColor(QPalette::Window, ColorFromRef(s.WindowBackColor));
    pal.setColor(QPalette::WindowText, ColorFromRef(s.CaptionTextColor));
    pal.setColor(QPalette::Base, ColorFromRef(s.ValueBackColor));
    pal.setColor(QPalette::Text, ColorFromRef(s.ValueTextColor));
    dialog->setPalette(pal);
    dialog->setAutoFillBackground(true);
}
