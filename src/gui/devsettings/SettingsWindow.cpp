#include "devsettings/SettingsWindow.h"

#include <QPointer>

#include "devsettings/SetDeviceDlg.h"
#include "settings/Settings.h"
#include "views/DeviceDlg.h"

namespace {

QString AddressText(quint32 address) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg((address >> 24) & 0xFF)
        .arg((address >> 16) & 0xFF)
        .arg((address >> 8) & 0xFF)
        .arg(address & 0xFF);
}

}  // namespace

CSetDeviceDlg* OpenDeviceSettings(CDeviceDlg* page, QWidget* owner, CSettings& settings,
                                  const QString& file) {
    QWidget* parent = page ? static_cast<QWidget*>(page) : owner;
    if (!parent)
        return nullptr;
    if (auto* open = parent->findChild<CSetDeviceDlg*>(QString(), Qt::FindDirectChildrenOnly);
        open && !open->HasEnded()) {
        open->raise();
        open->activateWindow();
        if (!file.isEmpty())
            open->LoadFile(file);
        return open;
    }

    QString address;
    CSetDeviceDlg::DeviceSource source;
    if (page) {
        const int index = page->FindDeviceIndex();
        if (index < 0 && file.isEmpty())
            return nullptr;
        if (index >= 0)
            address = AddressText(settings.DeviceAt(index).IpAddress);
        // Asked on the window's thread before every transfer; a page that is gone or left
        // the tabs allows no device operation.
        source = [guarded = QPointer<CDeviceDlg>(page)]() -> DeviceAccess {
            if (!guarded)
                return {};
            return {&guarded->Client(), guarded->PageLinkState(), guarded->FindDeviceIndex()};
        };
    }
    auto* window = new CSetDeviceDlg(parent, source, address, !file.isEmpty() || !page);
    window->setWindowFlag(Qt::Window, true);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::WindowModal);
    window->show();
    if (!file.isEmpty())
        window->LoadFile(file);
    return window;
}

void EndSettingsWindows(QWidget* root) {
    if (!root)
        return;
    for (CSetDeviceDlg* window : root->findChildren<CSetDeviceDlg*>())
        window->EndForGood();
}
