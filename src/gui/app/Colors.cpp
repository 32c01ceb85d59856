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
    dialog->setPalette(pal);
    dialog->setAutoFillBackground(true);
}

void ApplyListBoxColors(QWidget* list) {
    const CAppCore* app = CAppCore::Instance();
    if (!app || !list) return;
    QPalette pal = list->palette();
    pal.setColor(QPalette::Base, ColorFromRef(app->Settings.ValueBackColor));
    pal.setColor(QPalette::Text, ColorFromRef(app->Settings.ValueTextColor));
    list->setPalette(pal);
}
