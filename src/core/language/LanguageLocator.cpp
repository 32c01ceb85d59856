#include "language/LanguageLocator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "language/Language.h"

namespace LanguageLocator {

namespace {
const QString kLanguageFileName = QStringLiteral("language.dat");

// A folder name only: no separators, nothing that walks out of the data folder.
bool IsPlainName(const QString& name) {
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
           !name.contains(u'/') && !name.contains(u'\\');
}

QString FileIn(const QString& dir, const QString& name) {
    const QString path = QDir(dir).filePath(name);
    return QFileInfo(path).isFile() ? path : QString();
}

QString Env(const char* name) {
    return QString::fromLocal8Bit(qgetenv(name));
}
}  // namespace

QString InstalledDataDir(const QString& exeDir) {
    return QDir::cleanPath(QDir(exeDir).filePath(QStringLiteral("../share/trv730")));
}

QString LanguageForLocale(const QString& localeName) {
    return localeName.startsWith(QStringLiteral("ru"), Qt::CaseInsensitive) ? QStringLiteral("ru")
                                                                            : QStringLiteral("en");
}

QString MessagesLocaleName() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = Env(name);
        if (!value.isEmpty())
            return value;
    }
    return QString();
}

QString FindLanguageFile(const QString& exeDir, const QString& requested, const QString& localeName) {
    if (exeDir.isEmpty())
        return QString();
    const QString beside = FileIn(exeDir, kLanguageFileName);
    if (!beside.isEmpty())
        return beside;

    const QDir data(InstalledDataDir(exeDir));
    if (IsPlainName(requested)) {
        const QString chosen = FileIn(data.filePath(requested), kLanguageFileName);
        if (!chosen.isEmpty())
            return chosen;
    }
    return FileIn(data.filePath(LanguageForLocale(localeName)), kLanguageFileName);
}

QString FindLanguageFile() {
    return FindLanguageFile(CLanguage::ExecutableDir(), Env("TRV730_LANGUAGE"), MessagesLocaleName());
}

QString HelpPage() {
    const CLanguage* language = CLanguage::Current();
    const QString file = language ? language->FilePath() : QString();
    const QString dir = file.isEmpty() ? CLanguage::ExecutableDir() : QFileInfo(file).absolutePath();
    return QDir(dir).filePath(QStringLiteral("help.html"));
}

}  // namespace LanguageLocator
