#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// Read-only view of an INI text (language.dat, .trv730 files) that answers a lookup
// the way the desktop platform's private-profile reader does: UTF-16LE with a mark or
// UTF-8 otherwise, section and key names without regard to ASCII case, the first
// section and the first key of a name winning, one pair of matching outer quotes
// removed, values cut to the caller's buffer.
class CIniFile {
public:
    CIniFile() = default;

    // Parses the whole text; never fails (bytes that are not text decode as U+FFFD).
    static CIniFile FromBytes(const QByteArray& bytes);

    // Reads and parses a file. False when the file cannot be opened or read.
    bool LoadFile(const QString& path);

    // The value of key in section, trimmed and unquoted, cut to bufferUnits - 1 UTF-16
    // units (never inside a surrogate pair). A missing key and an empty value both give
    // the default.
    QString GetString(const QString& section, const QString& key, int bufferUnits,
                      const QString& defaultValue = QString()) const;

    bool HasSection(const QString& section) const;

    // Decodes file bytes by their byte-order mark (FF FE: UTF-16LE, EF BB BF or none: UTF-8).
    static QString DecodeText(const QByteArray& bytes);
    // Cuts text to at most maxUnits UTF-16 units without splitting a surrogate pair.
    static QString CutToUnits(const QString& text, int maxUnits);

private:
    static QString FoldCase(const QString& name);

    QHash<QString, QHash<QString, QString>> m_sections;  // folded names -> values
};
