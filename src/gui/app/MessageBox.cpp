#include "app/MessageBox.h"

#include "language/Language.h"

namespace MessageBox {

namespace {
Hook& CurrentHook() {
    static Hook hook;
    return hook;
}
}  // namespace

void SetHook(Hook hook) { CurrentHook() = std::move(hook); }

QMessageBox::StandardButton Show(QWidget* parent, const QString& text, const QString& caption, Icon icon,
                                 QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    if (CurrentHook()) return CurrentHook()(Request{parent, text, caption, icon, buttons, defaultButton});
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
        case Icon::Information: box.setIcon(QMessageBox::Information); break;
        case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
        case Icon::Error: box.setIcon(QMessageBox::Critical); break;
        case Icon::Question: box.setIcon(QMessageBox::Question); break;
        case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    }
    box.setStandardButtons(buttons);
    if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton ShowKeys(QWidget* parent, int textId, int captionId, Icon icon,
                                     QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    return Show(parent, GetText(textId), GetText(captionId), icon, buttons, defaultButton);
}

}  // namespace MessageBox
