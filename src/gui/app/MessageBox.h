#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

// The program's message boxes: text and caption from the language table, the icon by
// kind of message.
namespace MessageBox {
enum class Icon { Information, Warning, Error, Question, None };

struct Request {
    QWidget* parent;
    QString text;
    QString caption;
    Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};
// Replaces every message box by a call (tests record what would have been shown and
// answer it); an empty hook restores the real boxes.
using Hook = std::function<QMessageBox::StandardButton(const Request&)>;
void SetHook(Hook hook);

QMessageBox::StandardButton Show(QWidget* parent, const QString& text, const QString& caption, Icon icon,
                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                 QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
QMessageBox::StandardButton ShowKeys(QWidget* parent, int textId, int captionId, Icon icon,
                                     QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                     QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
}  // namespace MessageBox
