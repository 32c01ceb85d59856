#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "language/Language.h"

ScopedEnv::ScopedEnv(const char* name, const QString& value) : m_name(name) {
    if (qEnvironmentVariableIsSet(name)) m_old = qgetenv(name);
    qputenv(name, value.toUtf8());
}

ScopedEnv::~ScopedEnv() {
    if (m_old)
        qputenv(m_name.constData(), *m_old);
    else
        qunsetenv(m_name.constData());
}

bool WriteFileBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray ReadFileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void UseKeyNameLanguage() {
    static CLanguage language;
    language.UseKeyNames();
    CLanguage::SetCurrent(&language);
}
