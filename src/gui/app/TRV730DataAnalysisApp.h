#pragma once

#include <QBrush>
#include <QStringList>

#include "app/AppCore.h"

class QApplication;

// The application object: the core's start-up plus the windows. One per process.
class CTRV730DataAnalysisApp : public CAppCore {
public:
    CTRV730DataAnalysisApp() = default;

    static CTRV730DataAnalysisApp* Instance() { return static_cast<CTRV730DataAnalysisApp*>(CAppCore::Instance()); }

    // Runs the program and returns its exit status. screenshotPath, when set, saves a
    // picture of the main window once it has painted and ends the program.
    int Run(const QStringList& args, const QString& screenshotPath);

    // The background of every dialog, from WindowBackColor, made once at start-up.
    QBrush BackgroundBrush;
};
