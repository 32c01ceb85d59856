#include "language/Language.h"

#include <QDir>
#include <QFileInfo>
#include <atomic>

#include "common/Check.h"
#include "language/IniFile.h"
#include "language/LanguageLocator.h"

namespace {
std::atomic<const CLanguage*> g_current{nullptr};

// Every "\n" pair becomes one line feed; the scan goes on after the line feed.
QString ExpandLineBreaks(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size() && value[i + 1] == u'n') {
            out += u'\n';
            ++i;
        } else {
            out += value[i];
        }
    }
    return out;
}
}  // namespace

QString CLanguage::ExecutableDir() {
    const QFileInfo exe(QStringLiteral("/proc/self/exe"));
    const QString target = exe.canonicalFilePath();
    if (target.isEmpty()) return QString();
    return QFileInfo(target).absolutePath();
}

bool CLanguage::Load() {
    const QString path = LanguageLocator::FindLanguageFile();
    return !path.isEmpty() && LoadFile(path);
}

bool CLanguage::LoadFile(const QString& path) {
    if (!QFileInfo(path).isFile()) return false;
    CIniFile ini;
    if (!ini.LoadFile(path)) return false;

    const QString section = QStringLiteral("language");
    QStringList texts;
    texts.reserve(kKeyCount);
    for (int id = 0; id < kKeyCount; ++id) {
        const QString key = QString::fromLatin1(kLanguageKeyNames[id]);
        const QString value = ini.GetString(section, key, kMaxTextUnits + 1);
        texts.append(value.isEmpty() ? key : ExpandLineBreaks(value));
    }
    m_texts = std::move(texts);
    m_path = QFileInfo(path).absoluteFilePath();
    return true;
}

void CLanguage::UseKeyNames() {
    QStringList texts;
    texts.reserve(kKeyCount);
    for (int id = 0; id < kKeyCount; ++id) texts.append(QString::fromLatin1(kLanguageKeyNames[id]));
    m_texts = std::move(texts);
    m_path.clear();
}

const QString& CLanguage::GetText(int id) const {
    static const QString kMissing = QStringLiteral("???");
    if (id < 0 || id >= kKeyCount) {
        TRV730_PROGRAMMING_ERROR("language text id out of range");
        return kMissing;
    }
    if (!IsLoaded()) {
        TRV730_PROGRAMMING_ERROR("language text asked for before loading");
        return kMissing;
    }
    return m_texts[id];
}

const char* CLanguage::KeyName(int id) {
    return (id >= 0 && id < kKeyCount) ? kLanguageKeyNames[id] : nullptr;
}

void CLanguage::SetCurrent(const CLanguage* language) { g_current.store(language); }
const CLanguage* CLanguage::Current() { return g_current.load(); }

const QString& GetText(int id) {
    static const CLanguage kEmpty;
    const CLanguage* lang = CLanguage::Current();
    return (lang ? *lang : kEmpty).GetText(id);
}
