#include "app/Screenshot.h"

#include <QPainter>
#include <QPixmap>
#include <QWidget>

QImage WindowPicture(QWidget* window) {
    const QPixmap content = window->grab();
    constexpr int kCaptionHeight = 30;
    QImage image(content.width(), content.height() + kCaptionHeight, QImage::Format_RGB32);
    image.fill(QColor(0x2f, 0x3e, 0x50));
    QPainter p(&image);
    const QIcon icon = window->windowIcon();
    if (!icon.isNull()) p.drawPixmap(8, 5, icon.pixmap(20, 20));
    QFont font = window->font();
    font.setBold(true);
    font.setPixelSize(14);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(36, 0, image.width() - 44, kCaptionHeight), Qt::AlignVCenter | Qt::AlignLeft,
               window->windowTitle());
    p.drawPixmap(0, kCaptionHeight, content);
    return image;
}
