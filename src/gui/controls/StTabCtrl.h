#pragma once

#include <QIcon>
#include <QTabWidget>

// The device tab strip: every tab carries one of three 8 x 8 state dots, image 0 dark
// (not connected), 1 red (connecting or reconnecting), 2 green (connected).
class CStTabCtrl : public QTabWidget {
    Q_OBJECT
public:
    static constexpr int kImageCount = 3;
    static constexpr int kImageSize = 8;

    explicit CStTabCtrl(QWidget* parent = nullptr);

    // Sets a tab's state image; an image outside 0..2 or a tab that does not exist is ignored.
    void SetTabImage(int tab, int image);
    // The tab's state image, -1 for a tab that does not exist.
    int TabImage(int tab) const;

    // The picture of a state image (crisp at every pixel ratio).
    static QIcon StateIcon(int image);

protected:
    void tabInserted(int index) override;

private:
    // The three pictures, made once: Qt caches an icon's scaled pixmaps under the icon's own
    // identity, so a new icon at every change of state fed that cache for hours.
    const QIcon& Icon(int image);
    QIcon m_icons[kImageCount];
};
