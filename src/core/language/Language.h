#pragma once

#include <QString>
#include <QStringList>

#include "language/LanguageKeys.h"

// The language table: the fixed key table and, once loaded, one text per key.
// Loaded once at start-up, read-only afterwards (any thread may read it then).
class CLanguage {
public:
    static constexpr int kKeyCount = LNG_COUNT;
    static constexpr int kMaxTextUnits = 1022;  // the reader's 1023-unit buffer with its terminator

    CLanguage() = default;

    // Loads the program's own language file (see LanguageLocator: beside the executable, else
    // the installed one of the user's language).
    bool Load();
    // Loads the given file. False when it does not exist or cannot be read; the texts are then
    // left as they were. A file without the "language" section loads, every text its key name.
    bool LoadFile(const QString& path);

    // Every text its key name, as a file with only the section line gives (tests, tools).
    void UseKeyNames();

    bool IsLoaded() const { return m_texts.size() == kKeyCount; }
    // The file the texts came from; empty before a load from a file.
    const QString& FilePath() const { return m_path; }

    // The text of a key id. An id outside 0..752, or a lookup before loading, is a
    // programming error; release builds then answer with a fixed placeholder.
    const QString& GetText(int id) const;

    static const char* KeyName(int id);  // nullptr outside 0..752
    static QString ExecutableDir();

    // The table that GetText() below reads; the application installs its own at start-up.
    static void SetCurrent(const CLanguage* language);
    static const CLanguage* Current();

private:
    QStringList m_texts;
    QString m_path;
};

// The text of a key id from the current language table.
const QString& GetText(int id);
