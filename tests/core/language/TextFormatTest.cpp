#include <gtest/gtest.h>

#include "language/FormatTable.h"
#include "language/Language.h"
#include "language/TextFormat.h"

namespace {

TEST(TextFormat, RendersMatchingTemplates) {
    struct Case {
        QString templ;
        QString expected;
    };
    EXPECT_EQ(FormatText("%s v%d.%d", {QString("TRV-730"), 2, 4}), "TRV-730 v2.4");
    EXPECT_EQ(FormatText("FILE%.4d.RDF", {7}), "FILE0007.RDF");
    EXPECT_EQ(FormatText("%.1lf", {-1234.5}), "-1234.5");
    EXPECT_EQ(FormatText("%02u.%02u.%04u", {1u, 3u, 2000u}), "01.03.2000");
    EXPECT_EQ(FormatText("%s (%u) %.2u:%.2u:%.2u", {QString("d"), 1u, 1u, 1u, 1u}), "d (1) 01:01:01");
    EXPECT_EQ(FormatText("100%% %s", {QString::fromUtf8("Гц")}), QString::fromUtf8("100% Гц"));
    EXPECT_EQ(FormatText("[%-4s|%4s|%.2s]", {QString("ab"), QString("ab"), QString("abc")}), "[ab  |  ab|ab]");
    EXPECT_EQ(FormatText("%x %X %o", {255, 255u, 8}), "ff FF 10");
    EXPECT_EQ(FormatText("%I64d", {qint64(-5)}), "-5");
}

TEST(TextFormat, MismatchedTemplatesFallBackWithoutReadingMissingArguments) {
    struct Case {
        const char* what;
        QString templ;
        QString expected;
    } cases[] = {
        {"too many placeholders", "%s and %s", "%s and %s x"},
        {"wrong kind", "%d", "%d x"},
        {"no placeholder", "plain", "plain x"},
        {"pointer conversion", "%p", "%p x"},
        {"write-back conversion", "%n", "%n x"},
        {"star width", "%*s", "%*s x"},
        {"huge width", "%999999999s", "%999999999s x"},
        {"lone percent at end", "50%", "50% x"},
    };
    for (const Case& c : cases) {
        bool ok = true;
        EXPECT_EQ(FormatText(c.templ, {QString("x")}, &ok), c.expected) << c.what;
        EXPECT_FALSE(ok) << c.what;
    }
}

TEST(TextFormat, SignatureOfATemplate) {
    bool valid = false;
    EXPECT_EQ(PlaceholderSignature("%s %u: %s %.1lf %ld %%", &valid), "susfd");
    EXPECT_TRUE(valid);
    PlaceholderSignature("%q", &valid);
    EXPECT_FALSE(valid);
}

TEST(TextFormat, LanguageTextsAreFormattedAgainstTheFormatTable) {
    CLanguage lang;
    lang.UseKeyNames();
    CLanguage::SetCurrent(&lang);
    // A key-name text has no placeholder: the argument is appended, nothing crashes.
    bool ok = true;
    EXPECT_EQ(FormatLng(LNG_MAIN_CANT_ADD_DEVICE, {QString("Dev")}, &ok), "LNG_MAIN_CANT_ADD_DEVICE Dev");
    EXPECT_FALSE(ok);
    EXPECT_STREQ(LngFormatSignature(LNG_RDF_PTITLE), "uuuuuuuu");
    EXPECT_EQ(LngFormatSignature(LNG_MENU_FILE), nullptr);
    EXPECT_DEBUG_DEATH(FormatLng(LNG_MENU_FILE, {1}), "format table");
    CLanguage::SetCurrent(nullptr);
}

}  // namespace
