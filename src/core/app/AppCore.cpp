#include "app/AppCore.h"

#include <QDir>
#include <QFileInfo>

#include "common/Check.h"
#include "language/LanguageLocator.h"

namespace {
CAppCore* g_instance = nullptr;
const QString kErrorCaption = QStringLiteral("ERROR");
}  // namespace

CAppCore::CAppCore() {
    if (g_instance) TRV730_PROGRAMMING_ERROR("a second application object");
    g_instance = this;
}

CAppCore::~CAppCore() {
    if (CLanguage::Current() == &Language) CLanguage::SetCurrent(nullptr);
    if (g_instance == this) g_instance = nullptr;
}

CAppCore* CAppCore::Instance() { return g_instance; }

void CAppCore::ParseArguments(const QStringList& args, QString& rdfPath, QString& settingsPath) {
    if (args.size() < 2) return;
    const QString& path = args[1];
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) return;
    // The extension is everything from the last dot of the file name on.
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0) return;
    const QString ext = name.mid(dot);
    if (ext.compare(QStringLiteral(".RDF"), Qt::CaseInsensitive) == 0)
        rdfPath = path;
    else if (ext.compare(QStringLiteral(".TRV730"), Qt::CaseInsensitive) == 0)
        settingsPath = path;
}

StartupPaths CAppCore::DefaultPaths() {
    StartupPaths paths;
    paths.lockDir = CSingleInstance::DefaultDir();
    paths.languageFile = LanguageLocator::FindLanguageFile();
    return paths;
}

int CAppCore::ExitStatus(StartupStatus status) {
    return (status == StartupStatus::Run || status == StartupStatus::SecondInstance) ? 0 : 1;
}

StartupStatus CAppCore::Start(const QStringList& args, const StartupPaths& paths, IStartupMessages& messages) {
    ParseArguments(args, RdfPathArg, SettingsFileArg);

    if (!m_instance.Acquire(paths.lockDir)) {
        const QString& file = RdfPathArg.isEmpty() ? SettingsFileArg : RdfPathArg;
        if (!file.isEmpty()) CInstanceChannel::Send(paths.lockDir, file, kHandOverTimeoutMs);
        return StartupStatus::SecondInstance;
    }
    m_channel.Listen(paths.lockDir);

    if (!Settings.Load()) {
        messages.ShowStartupError(kErrorCaption,
                                  QStringLiteral("Can not load 'settings.bin' file\nSettings reset to default."));
        Settings.SetDefaults();
        if (!Settings.Save()) {
            messages.ShowStartupError(kErrorCaption,
                                      QStringLiteral("Can not create 'settings.bin' file\nProgram terminated."));
            return StartupStatus::SettingsUnwritable;
        }
    }

    if (paths.languageFile.isEmpty() || !Language.LoadFile(paths.languageFile)) {
        messages.ShowStartupError(kErrorCaption, QStringLiteral("Can not load language file\nProgram terminated."));
        return StartupStatus::LanguageMissing;
    }
    CLanguage::SetCurrent(&Language);
    return StartupStatus::Run;
}
