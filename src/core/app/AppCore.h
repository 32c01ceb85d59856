#pragma once

#include <QString>
#include <QStringList>

#include "app/InstanceChannel.h"
#include "app/SingleInstance.h"
#include "language/Language.h"
#include "settings/Settings.h"

// Where start-up shows its three fixed English messages (a message box in the program,
// a recorder in tests).
class IStartupMessages {
public:
    virtual ~IStartupMessages() = default;
    virtual void ShowStartupError(const QString& caption, const QString& text) = 0;
};

enum class StartupStatus {
    Run,                 // go on to the main window
    SecondInstance,      // another instance runs (and got the file named, if any): end silently, status 0
    SettingsUnwritable,  // settings.bin could neither be read nor written: message shown
    LanguageMissing,     // language.dat missing or unreadable: message shown
};

struct StartupPaths {
    QString lockDir;       // where the single-instance lock lives
    QString languageFile;  // language.dat (beside the executable in the program)
};

// The application object without its windows: the language table, the settings store
// and the command-line paths, brought up in start-up order. One per process.
class CAppCore {
public:
    CAppCore();
    virtual ~CAppCore();
    CAppCore(const CAppCore&) = delete;
    CAppCore& operator=(const CAppCore&) = delete;

    static CAppCore* Instance();

    CLanguage Language;
    CSettings Settings;
    QString RdfPathArg;       // an existing .RDF file named on the command line
    QString SettingsFileArg;  // an existing .TRV730 file named on the command line
    // How long a second start keeps trying to hand its file to a first one that is starting.
    static constexpr int kHandOverTimeoutMs = 5000;

    // Command line, single instance, settings store, language table, in this order.
    StartupStatus Start(const QStringList& args, const StartupPaths& paths, IStartupMessages& messages);

    const QString& GetText(int id) const { return Language.GetText(id); }
    // Saves the settings store: 1 on success, 0 on failure.
    int SaveSettings() { return Settings.Save() ? 1 : 0; }

    // Process exit status for a start-up that did not reach the main window.
    static int ExitStatus(StartupStatus status);
    // Keeps the first argument when it names an existing .RDF or .TRV730 file.
    static void ParseArguments(const QStringList& args, QString& rdfPath, QString& settingsPath);

    static StartupPaths DefaultPaths();

    // Files named on later starts arrive here while this instance runs.
    CInstanceChannel& Channel() { return m_channel; }

private:
    CSingleInstance m_instance;
    // Declared after the lock so it closes (and removes its socket) before the lock goes:
    // the next instance's socket is never removed by this one.
    CInstanceChannel m_channel;
};
