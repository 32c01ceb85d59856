#include "language/IniFile.h"

#include <QFile>
#include <QStringView>

namespace {

bool IsBlank(QChar c) {
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\v' || u == u'\f';
}

QStringView TrimBlanks(QStringView s) {
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.mid(b, e - b);
}

QStringView Unquote(QStringView v) {
    if (v.size() >= 2) {
        const QChar first = v.front();
        if ((first == u'"' || first == u'\'') && v.back() == first) return v.mid(1, v.size() - 2);
    }
    return v;
}

}  // namespace

QString CIniFile::FoldCase(const QString& name) {
    QString folded = name;
    for (QChar& c : folded) {
        if (c.unicode() >= u'A' && c.unicode() <= u'Z') c = QChar(char16_t(c.unicode() + 32));
    }
    return folded;
}

QString CIniFile::DecodeText(const QByteArray& bytes) {
    if (bytes.size() >= 2 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xFE) {
        const qsizetype units = (bytes.size() - 2) / 2;
        QString text(units, Qt::Uninitialized);
        const auto* p = reinterpret_cast<const uchar*>(bytes.constData()) + 2;
        for (qsizetype i = 0; i < units; ++i) text[i] = QChar(char16_t(p[2 * i] | (p[2 * i + 1] << 8)));
        return text;
    }
    if (bytes.size() >= 3 && uchar(bytes[0]) == 0xEF && uchar(bytes[1]) == 0xBB && uchar(bytes[2]) == 0xBF)
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    return QString::fromUtf8(bytes);
}

QString CIniFile::CutToUnits(const QString& text, int maxUnits) {
    if (maxUnits <= 0) return QString();
    if (text.size() <= maxUnits) return text;
    qsizetype n = maxUnits;
    if (text[n - 1].isHighSurrogate()) --n;
    return text.left(n);
}

CIniFile CIniFile::FromBytes(const QByteArray& bytes) {
    CIniFile ini;
    const QString text = DecodeText(bytes);
    const QStringView all(text);

    QHash<QString, QString>* current = nullptr;  // null: before any section or in a repeated one
    qsizetype pos = 0;
    const qsizetype n = all.size();
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && all[end] != u'\r' && all[end] != u'\n') ++end;
        const QStringView line = TrimBlanks(all.mid(pos, end - pos));
        pos = end;
        while (pos < n && (all[pos] == u'\r' || all[pos] == u'\n')) ++pos;

        if (line.isEmpty() || line.front() == u';') continue;
        if (line.front() == u'[') {
            qsizetype close = line.indexOf(u']');
            const QStringView name = TrimBlanks(close < 0 ? line.mid(1) : line.mid(1, close - 1));
            const QString folded = FoldCase(name.toString());
            if (ini.m_sections.contains(folded)) {
                current = nullptr;  // only the first occurrence of a section is searched
            } else {
                current = &ini.m_sections[folded];
            }
            continue;
        }
        if (!current) continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0) continue;
        const QString key = FoldCase(TrimBlanks(line.left(eq)).toString());
        if (current->contains(key)) continue;  // the first key of a name wins
        current->insert(key, Unquote(TrimBlanks(line.mid(eq + 1))).toString());
    }
    return ini;
}

bool CIniFile::LoadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    *this = FromBytes(bytes);
    return true;
}

bool CIniFile::HasSection(const QString& section) const {
    return m_sections.contains(FoldCase(section.trimmed()));
}

QString CIniFile::GetString(const QString& section, const QString& key, int bufferUnits,
                            const QString& defaultValue) const {
    const auto sec = m_sections.constFind(FoldCase(section.trimmed()));
    if (sec == m_sections.cend()) return CutToUnits(defaultValue, bufferUnits - 1);
    const auto it = sec->constFind(FoldCase(key.trimmed()));
    if (it == sec->cend() || it->isEmpty()) return CutToUnits(defaultValue, bufferUnits - 1);
    return CutToUnits(*it, bufferUnits - 1);
}
