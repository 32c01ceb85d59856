#pragma once

#include <QString>

class CDeviceDlg;
class CSetDeviceDlg;
class CSettings;
class QWidget;

// Opens the settings window of a device page, or brings its open one to the front. The
// window is modal over the page's window and deletes itself when closed; the page deletes
// it before its link stops. Without a page (no device at all) it opens over owner, with no
// device. A file given is loaded into it, and the window then starts without a device.
CSetDeviceDlg* OpenDeviceSettings(CDeviceDlg* page, QWidget* owner, CSettings& settings,
                                  const QString& file = {});

// Ends every settings window below root for good (see CSetDeviceDlg::EndForGood): before a
// page's link stops, and when the program closes.
void EndSettingsWindows(QWidget* root);
