#include "app/FileHandoff.h"

#include <QSocketNotifier>
#include <QWidget>

#include "app/AppCore.h"
#include "app/InstanceChannel.h"
#include "app/TRV730DataAnalysisDlg.h"

CFileHandoff::CFileHandoff(CInstanceChannel& channel, CTRV730DataAnalysisDlg& window)
    : m_channel(channel), m_window(window) {
    if (!channel.IsListening())
        return;
    m_notifier = new QSocketNotifier(qintptr(channel.Descriptor()), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { OnReadable(); });
}

void CFileHandoff::OnReadable() {
    for (const QString& path : m_channel.Receive())
        Open(m_window, path);
}

void CFileHandoff::Open(CTRV730DataAnalysisDlg& window, const QString& path) {
    // The same rule as the command line: an existing file, recognised by its extension.
    QString recording;
    QString settings;
    CAppCore::ParseArguments({QString(), path}, recording, settings);
    if (!recording.isEmpty())
        window.OpenRecordingFile(recording);
    else if (!settings.isEmpty())
        window.OpenSettingsFile(settings);
}

void BringToFront(QWidget* window) {
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}
