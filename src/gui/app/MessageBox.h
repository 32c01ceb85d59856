#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// The program's message boxes: text and caption from the language table, the icon by
// kind of message.
namespace MessageBox {
enum class Icon { Information, Warning, Error, Question };

QMessageBox::StandardButton Show(QWidget* parent, const QString& text, const QString& caption, Icon icon,
                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                 QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
QMessageBox::StandardButton ShowKeys(QWidget* parent, int textId, int captionId, Icon icon,
                                     QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                     QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
}  // namespace MessageBox
