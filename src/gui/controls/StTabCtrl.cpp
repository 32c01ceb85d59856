#include "controls/StTabCtrl.h"

#include <QTabBar>

#include "controls/ControlDrawing.h"
#include "controls/IconIds.h"

namespace {
constexpr int kImageIds[CStTabCtrl::kImageCount] = {IDI_TAB_DARK, IDI_TAB_RED, IDI_TAB_GREEN};
}  // namespace

CStTabCtrl::CStTabCtrl(QWidget* parent) : QTabWidget(parent) {
    setIconSize(QSize(kImageSize, kImageSize));
}

void CStTabCtrl::tabInserted(int index) {
    // Every new tab starts with the dark dot, like a device that is not connected.
    tabBar()->setTabData(index, 0);
    setTabIcon(index, Icon(0));
    QTabWidget::tabInserted(index);
}

void CStTabCtrl::SetTabImage(int tab, int image) {
    if (tab < 0 || tab >= count() || image < 0 || image >= kImageCount) return;
    if (tabBar()->tabData(tab).isValid() && tabBar()->tabData(tab).toInt() == image) return;
    tabBar()->setTabData(tab, image);
    setTabIcon(tab, Icon(image));
}

const QIcon& CStTabCtrl::Icon(int image) {
    if (m_icons[image].isNull()) m_icons[image] = StateIcon(image);
    return m_icons[image];
}

int CStTabCtrl::TabImage(int tab) const {
    if (tab < 0 || tab >= count()) return -1;
    const QVariant v = tabBar()->tabData(tab);
    return v.isValid() ? v.toInt() : 0;
}

QIcon CStTabCtrl::StateIcon(int image) {
    QIcon icon;
    if (image < 0 || image >= kImageCount) return icon;
    const QString path = IconPath(kImageIds[image]);
    for (qreal dpr : {1.0, 2.0, 3.0})
        icon.addPixmap(ControlDrawing::SvgPixmap(path, QSize(kImageSize, kImageSize), dpr));
    return icon;
}
