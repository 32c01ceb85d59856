#include <gtest/gtest.h>

#include "language/IniFile.h"

namespace {

QByteArray Utf16Le(const QString& s) {
    QByteArray b("\xFF\xFE", 2);
    for (QChar c : s) {
        b.append(char(c.unicode() & 0xFF));
        b.append(char(c.unicode() >> 8));
    }
    return b;
}

struct IniCase {
    const char* rule;
    QByteArray file;
    const char* section;
    const char* key;
    int buffer;
    QString expected;
};

TEST(IniFile, ReadsValuesByThePlatformRules) {
    const IniCase cases[] = {
        {"plain", "[s]\r\nk=v\r\n", "s", "k", 128, "v"},
        {"LF only", "[s]\nk=v\n", "s", "k", 128, "v"},
        {"CR only", "[s]\rk=v\r", "s", "k", 128, "v"},
        {"UTF-8 mark skipped", "\xEF\xBB\xBF[s]\nk=v", "s", "k", 128, "v"},
        {"UTF-8 text", "[s]\nk=Напряжение", "s", "k", 128, QString::fromUtf8("Напряжение")},
        {"invalid UTF-8 decodes as U+FFFD", "[s]\nk=a\xFF" "b", "s", "k", 128, QString::fromUtf16(u"a\uFFFDb")},
        {"blanks trimmed around line, key, value", " \t[ s ] \n \v k \t=\f v w \t\n", "s", "k", 128, "v w"},
        {"comment never matches", "[s]\n;k=v\n", "s", ";k", 128, ""},
        {"hash is ordinary", "[s]\n#k=v\n", "s", "#k", 128, "v"},
        {"no comment after value", "[s]\nk=v ;x\n", "s", "k", 128, "v ;x"},
        {"section without ]", "[s\nk=v\n", "s", "k", 128, "v"},
        {"split at first =", "[s]\na = b=c\n", "s", "a", 128, "b=c"},
        {"line without = never matches", "[s]\nk\n", "s", "k", 128, ""},
        {"line before first section", "k=v\n[s]\n", "s", "k", 128, ""},
        {"names without regard to case", "[LanGuage]\nLNG_X=v\n", "language", "lng_x", 128, "v"},
        {"first section occurrence only", "[s]\na=1\n[t]\n[S]\nb=2\n", "s", "b", 128, ""},
        {"first key wins", "[s]\nk=1\nK=2\n", "s", "k", 128, "1"},
        {"double quotes removed, blanks kept", "[s]\nk=\" v \"\n", "s", "k", 128, " v "},
        {"single quotes removed", "[s]\nk='v'\n", "s", "k", 128, "v"},
        {"mismatched quotes stay", "[s]\nk='v\"\n", "s", "k", 128, "'v\""},
        {"lone quote stays", "[s]\nk=\"\n", "s", "k", 128, "\""},
        {"one pair only", "[s]\nk=''x''\n", "s", "k", 128, "'x'"},
        {"empty value reads as default", "[s]\nk=\n", "s", "k", 128, ""},
        {"buffer of n returns n-1 units", "[s]\nk=abcdef\n", "s", "k", 4, "abc"},
        {"surrogate pair never split", "[s]\nk=ab\xF0\x9F\x98\x80", "s", "k", 4, "ab"},
        {"UTF-16LE with mark", Utf16Le("[s]\r\nk=Гц\r\n"), "s", "k", 128, QString::fromUtf8("Гц")},
        {"missing section", "[t]\nk=v\n", "s", "k", 128, ""},
    };
    for (const IniCase& c : cases) {
        const CIniFile ini = CIniFile::FromBytes(c.file);
        EXPECT_EQ(ini.GetString(c.section, c.key, c.buffer), c.expected) << c.rule;
    }
}

TEST(IniFile, MissingAndEmptyGiveTheDefault) {
    const CIniFile ini = CIniFile::FromBytes("[s]\nempty=\n");
    EXPECT_EQ(ini.GetString("s", "empty", 128, "dflt"), "dflt");
    EXPECT_EQ(ini.GetString("s", "absent", 128, "dflt"), "dflt");
}

TEST(IniFile, OddUtf16TailAndRandomBytesDoNotCrash) {
    QByteArray odd = Utf16Le("[s]\nk=v");
    odd.append('\x41');
    EXPECT_EQ(CIniFile::FromBytes(odd).GetString("s", "k", 128), "v");
    QByteArray noise;
    for (int i = 0; i < 4096; ++i) noise.append(char((i * 7919) & 0xFF));
    CIniFile::FromBytes(noise).GetString("s", "k", 128);
}

}  // namespace
