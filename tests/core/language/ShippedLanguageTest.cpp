// Checks the language files that ship with the program: what the windows and editors rely on
// from the texts, for every key, in every language.
#include <gtest/gtest.h>

#include <QDir>
#include <QSet>
#include <QStringList>
#include <map>

#include "language/FormatTable.h"
#include "language/IniFile.h"
#include "language/Language.h"
#include "language/TextFormat.h"

namespace {

const char* const kLanguages[] = {"ru", "en"};

struct Shipped {
    CLanguage texts;
    CIniFile raw;  // the values as written, before line breaks are expanded or long ones cut
    bool loaded = false;
};

const Shipped& ShippedLanguage(const std::string& code) {
    static std::map<std::string, Shipped> cache;
    auto it = cache.find(code);
    if (it != cache.end()) return it->second;
    Shipped& s = cache[code];
    const QString path = QDir(QStringLiteral(TRV730_SOURCE_DIR))
                             .filePath(QStringLiteral("lang/%1/language.dat").arg(QString::fromStdString(code)));
    s.loaded = s.texts.LoadFile(path) && s.raw.LoadFile(path);
    return s;
}

QString RawValue(const Shipped& s, int id) {
    return s.raw.GetString(QStringLiteral("language"), QString::fromLatin1(CLanguage::KeyName(id)), 1 << 20);
}

bool EndsWith(int id, const char* suffix) { return QByteArray(CLanguage::KeyName(id)).endsWith(suffix); }

// A text shown as it stands must hold nothing a formatter would take for a placeholder;
// "%%" and a percent sign that starts no valid conversion (the "%" unit) are fine.
QString FirstPlaceholder(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'%') continue;
        if (i + 1 < text.size() && text[i + 1] == u'%') {
            ++i;
            continue;
        }
        qsizetype end = text.indexOf(u'%', i + 1);
        if (end < 0) end = text.size();
        const QString piece = text.mid(i, end - i);
        bool valid = false;
        if (!PlaceholderSignature(piece, &valid).isEmpty() && valid) return piece;
    }
    return QString();
}

class ShippedLanguageTest : public ::testing::TestWithParam<const char*> {
protected:
    const Shipped& lang() const { return ShippedLanguage(GetParam()); }
    void SetUp() override { ASSERT_TRUE(lang().loaded) << "lang/" << GetParam() << "/language.dat"; }
};

TEST_P(ShippedLanguageTest, EveryKeyHasItsOwnTextWithinTheReadersLimit) {
    for (int id = 0; id < LNG_COUNT; ++id) {
        const QString name = QString::fromLatin1(CLanguage::KeyName(id));
        const QString raw = RawValue(lang(), id);
        EXPECT_FALSE(raw.isEmpty()) << name.toStdString() << " falls back to its key name";
        EXPECT_NE(lang().texts.GetText(id).toStdString(), name.toStdString());
        EXPECT_LE(raw.size(), CLanguage::kMaxTextUnits) << name.toStdString();
    }
}

TEST_P(ShippedLanguageTest, OnlyFormatTableTextsCarryPlaceholdersAndExactlyTheirOwn) {
    for (int id = 0; id < LNG_COUNT; ++id) {
        const QString& text = lang().texts.GetText(id);
        const char* signature = LngFormatSignature(id);
        if (signature) {
            bool valid = false;
            const QString found = PlaceholderSignature(text, &valid);
            EXPECT_TRUE(valid) << CLanguage::KeyName(id);
            EXPECT_EQ(found.toStdString(), signature) << CLanguage::KeyName(id);
        } else {
            EXPECT_EQ(FirstPlaceholder(text).toStdString(), "") << CLanguage::KeyName(id);
        }
    }
}

TEST_P(ShippedLanguageTest, ChoiceListsGiveEditorsDistinctUsableItems) {
    // The time editors read a typed unit as one word of at most ten characters after the number.
    const QStringList units1 = lang().texts.GetText(LNG_GLOB_TIMELIST1).split(u'|');
    const QStringList units2 = lang().texts.GetText(LNG_GLOB_TIMELIST2).split(u'|');
    EXPECT_EQ(units1.size(), 3);
    EXPECT_EQ(units2.size(), 2);
    for (const QString& unit : units1 + units2) {
        EXPECT_FALSE(unit.isEmpty());
        EXPECT_LE(unit.size(), 10) << unit.toStdString();
        EXPECT_FALSE(unit.contains(u' ')) << unit.toStdString();
    }
    // Seconds and minutes are the same words in both lists: a typed "5 min" means one thing.
    EXPECT_EQ(units1.mid(1), units2);

    // Option editors drop an item equal to an earlier one, which would shift every later index;
    // the recording-source names together form one such list.
    std::map<std::string, QStringList> lists;
    for (int id = 0; id < LNG_COUNT; ++id) {
        if (EndsWith(id, "_LIST")) lists[CLanguage::KeyName(id)] = lang().texts.GetText(id).split(u'|');
    }
    for (int id = LNG_SRC_S_NULL; id <= LNG_SRC_S_K19_V6; ++id) lists["sources"] << lang().texts.GetText(id);
    for (const auto& [name, items] : lists) {
        QSet<QString> seen;
        for (const QString& item : items) {
            EXPECT_FALSE(item.trimmed().isEmpty()) << name;
            EXPECT_LE(item.size(), 127) << name;
            EXPECT_TRUE(!seen.contains(item.toCaseFolded())) << name << ": " << item.toStdString();
            seen.insert(item.toCaseFolded());
        }
    }
}

TEST_P(ShippedLanguageTest, ThresholdNamesTakeAndLoseTheirUnitSuffixCleanly) {
    // Choosing an event source appends ", <unit>" to the threshold names and removes an earlier
    // suffix only when its comma is among the last ten characters; units must stay short enough,
    // and the names themselves must not look like they already carry a suffix.
    for (int id = LNG_DEVICE_PREFIX_V; id <= LNG_DEVICE_PREFIX_RPS; ++id)
        EXPECT_LT(lang().texts.GetText(id).size(), 8) << CLanguage::KeyName(id);
    for (int id = LNG_SETDEV_G3_TITLE; id < LNG_SETDEV_G4_TITLE; ++id) {
        if (!EndsWith(id, "VAL")) continue;
        const QString& name = lang().texts.GetText(id);
        const qsizetype comma = name.lastIndexOf(u',');
        EXPECT_TRUE(comma < 0 || name.size() - comma >= 10) << CLanguage::KeyName(id);
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedLanguageTest, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

TEST(ShippedLanguages, ListsOfferTheSameChoicesInEveryLanguage) {
    const Shipped& ru = ShippedLanguage("ru");
    const Shipped& en = ShippedLanguage("en");
    ASSERT_TRUE(ru.loaded && en.loaded);
    for (int id = 0; id < LNG_COUNT; ++id) {
        if (!EndsWith(id, "_LIST")) continue;
        EXPECT_EQ(ru.texts.GetText(id).count(u'|'), en.texts.GetText(id).count(u'|')) << CLanguage::KeyName(id);
    }
}

}  // namespace
